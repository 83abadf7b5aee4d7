#include "ui/StaticLink.h"

#include "framework/MessageBox.h"
#include "framework/MessageMap.h"
#include "ui/ShellCalls.h"

bool StaticLink::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    static const MessageMapEntry<StaticLink> kMap[] = {
        {WM_REFLECT_CTLCOLOR, &StaticLink::CtlColor},
        {WM_REFLECT_COMMAND, &StaticLink::OnClicked, 0, STN_CLICKED},
    };
    return DispatchMessageMap(this, kMap, message, wParam, lParam, lResult) ||
           CStatic::OnWndMsg(message, wParam, lParam, lResult);
}

HBRUSH StaticLink::CtlColor(HDC hDC) {
    // Without SS_NOTIFY the control would not report clicks.
    LONG lStyle = GetWindowLongA(m_hWnd, GWL_STYLE);
    if (!(lStyle & SS_NOTIFY))
        SetWindowLongA(m_hWnd, GWL_STYLE, lStyle | SS_NOTIFY);

    // Only text statics are drawn as links. The type is SS_TYPEMASK's part of the style:
    // flags such as SS_NOPREFIX share the low byte but do not change the type.
    if ((lStyle & SS_TYPEMASK) > SS_RIGHT)
        return nullptr;

    if (!m_font.Get()) {
        HFONT hControlFont = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
        // A control without a font of its own draws with the system font.
        if (!hControlFont)
            hControlFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        LOGFONTA lf{};
        if (GetObjectA(hControlFont, sizeof lf, &lf) > 0) {
            lf.lfUnderline = TRUE;
            m_font.Reset(CreateFontIndirectA(&lf));
        }
    }
    if (m_font.Get())
        SelectObject(hDC, m_font.Get());
    SetTextColor(hDC, m_bVisited ? m_crVisited : m_crUnvisited);
    SetBkMode(hDC, TRANSPARENT);
    // The dialog's background shows through.
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void StaticLink::OnClicked() {
    if (m_strUrl.empty())
        m_strUrl = GetWindowText();
    if (reinterpret_cast<INT_PTR>(ShellOpen(m_strUrl.c_str())) <= 32) {
        SoundBeep(0);
        return;
    }
    m_bVisited = 1;
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

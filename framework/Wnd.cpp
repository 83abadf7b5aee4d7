#include "framework/Wnd.h"

#include <commctrl.h>

namespace {
const char kObjectProperty[] = "PsZuPdf.CWnd";
const UINT_PTR kSubclassId = 1;
} // namespace

CWnd::~CWnd() {
    if (m_bSubclassed && IsWindow(m_hWnd))
        Unsubclass();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return hWnd ? static_cast<CWnd*>(GetPropA(hWnd, kObjectProperty)) : nullptr;
}

bool CWnd::SubclassWindow(HWND hWnd) {
    if (!hWnd || m_bSubclassed ||
        !SetWindowSubclass(hWnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hWnd = hWnd;
    m_bSubclassed = true;
    SetPropA(hWnd, kObjectProperty, this);
    return true;
}

bool CWnd::SubclassDlgItem(int nID, const CWnd& parent) {
    return SubclassWindow(parent.GetDlgItem(nID));
}

void CWnd::Unsubclass() {
    RemovePropA(m_hWnd, kObjectProperty);
    RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
    m_bSubclassed = false;
}

std::string CWnd::GetWindowText() const {
    int n = ::GetWindowTextLengthA(m_hWnd);
    std::string strText(static_cast<size_t>(n) + 1, '\0');
    n = ::GetWindowTextA(m_hWnd, &strText[0], n + 1);
    strText.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return strText;
}

std::string CWnd::GetDlgItemText(int nID) const {
    HWND hItem = GetDlgItem(nID);
    int n = ::GetWindowTextLengthA(hItem);
    std::string strText(static_cast<size_t>(n) + 1, '\0');
    n = ::GetWindowTextA(hItem, &strText[0], n + 1);
    strText.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return strText;
}

void CWnd::WinHelp(DWORD_PTR, UINT) {}

bool CWnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT CWnd::Default() {
    const MSG& msg = *m_pCurrentMessage;
    return DefSubclassProc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR dwRefData) {
    CWnd* pWnd = reinterpret_cast<CWnd*>(dwRefData);
    MSG msg{hWnd, message, wParam, lParam, 0, {0, 0}};
    const MSG* pPrevious = pWnd->m_pCurrentMessage;
    pWnd->m_pCurrentMessage = &msg;
    LRESULT lResult = 0;
    bool bHandled = pWnd->OnWndMsg(message, wParam, lParam, lResult);
    pWnd->m_pCurrentMessage = pPrevious;
    if (message == WM_NCDESTROY) {
        pWnd->Unsubclass();
        pWnd->m_hWnd = nullptr;
    }
    return bHandled ? lResult : DefSubclassProc(hWnd, message, wParam, lParam);
}

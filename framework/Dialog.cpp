#include "framework/Dialog.h"

#include "framework/ResourceString.h"
#include "framework/WinApp.h"

CDialog::CDialog(UINT nIDTemplate, HWND hParentWnd)
    : m_nIDTemplate(nIDTemplate), m_hParentWnd(hParentWnd) {}

CDialog::~CDialog() {
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
}

HWND CDialog::DefaultOwner() const {
    CWnd* pMainWnd = AfxGetMainWnd();
    if (!pMainWnd || pMainWnd == this || !IsWindow(pMainWnd->m_hWnd))
        return nullptr;
    return GetLastActivePopup(GetAncestor(pMainWnd->m_hWnd, GA_ROOT));
}

INT_PTR CDialog::DoModal() {
    HWND hOwner = m_hParentWnd ? m_hParentWnd : DefaultOwner();
    bool bEnableOwner = hOwner && IsWindowEnabled(hOwner);
    if (bEnableOwner)
        EnableWindow(hOwner, FALSE);

    m_nModalResult = -1;
    m_bInModalLoop = true;
    HWND hDlg = CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hOwner,
                                   DialogProc, reinterpret_cast<LPARAM>(this));
    if (hDlg) {
        // A modal dialog shows itself once initialised, whether or not its template is
        // visible; one that was hidden is centred over its owner first.
        if (m_bInModalLoop && !IsWindowVisible(hDlg)) {
            if (hOwner)
                PlaceOverOwner(hDlg, hOwner);
            ShowWindow(hDlg, SW_SHOWNORMAL);
        }
        RunModalLoop();
    }
    m_bInModalLoop = false;

    // Give the owner back its input before this window goes, so activation returns to it.
    if (bEnableOwner)
        EnableWindow(hOwner, TRUE);
    if (hOwner && m_hWnd && GetActiveWindow() == m_hWnd)
        SetActiveWindow(hOwner);
    if (m_hWnd)
        DestroyWindow(m_hWnd);
    return m_nModalResult;
}

void CDialog::PlaceOverOwner(HWND hDlg, HWND hOwner) {
    RECT rcDlg, rcOwner;
    if (!GetWindowRect(hDlg, &rcDlg) || !GetWindowRect(hOwner, &rcOwner))
        return;
    int cx = rcDlg.right - rcDlg.left;
    int cy = rcDlg.bottom - rcDlg.top;
    int x = (rcOwner.left + rcOwner.right - cx) / 2;
    int y = (rcOwner.top + rcOwner.bottom - cy) / 2;
    // Wine 8 never brings to the screen an owned window that lies wholly inside its
    // owner's rectangle (it stays black); moved down by caption heights it shows.
    int nStep = GetSystemMetrics(SM_CYCAPTION);
    while (nStep > 0 && x >= rcOwner.left && x + cx <= rcOwner.right && y >= rcOwner.top &&
           y + cy <= rcOwner.bottom)
        y += nStep;
    SetWindowPos(hDlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::RunModalLoop() {
    MSG msg;
    while (m_bInModalLoop) {
        BOOL bResult = GetMessageA(&msg, nullptr, 0, 0);
        if (bResult == 0) {
            // Leave WM_QUIT for whoever runs the loop outside this dialog.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (bResult == -1)
            break;
        if (PreTranslateHelpKey(msg))
            continue;
        if (!m_hWnd || !IsDialogMessageA(m_hWnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bInModalLoop = false;
    // The request may come from a message sent by another thread while the loop waits
    // in GetMessage; a posted message wakes it.
    if (m_hWnd)
        PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

bool CDialog::UpdateData(bool bSaveAndValidate) {
    CDataExchange dx(*this, bSaveAndValidate);
    DoDataExchange(dx);
    return true;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::RouteCommand(WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    // A control's notification goes to the control's own object first.
    if (CWnd* pControl = FromHandlePermanent(reinterpret_cast<HWND>(lParam))) {
        if (pControl->OnWndMsg(WM_REFLECT_COMMAND, wParam, lParam, lResult))
            return true;
    }
    UINT nID = LOWORD(wParam);
    bool bCommand = lParam == 0 || HIWORD(wParam) == BN_CLICKED;
    if (!bCommand)
        return false;
    if (nID == IDOK) {
        OnOK();
        return true;
    }
    if (nID == IDCANCEL) {
        OnCancel();
        return true;
    }
    // What the dialog does not handle goes on to the application's command table.
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID);
}

bool CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (message) {
    case WM_INITDIALOG:
        lResult = OnInitDialog();
        return true;
    case WM_COMMAND:
        return RouteCommand(wParam, lParam, lResult);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        if (CWnd* pControl = FromHandlePermanent(reinterpret_cast<HWND>(lParam)))
            return pControl->OnWndMsg(WM_REFLECT_CTLCOLOR, wParam, lParam, lResult);
        return false;
    default:
        return false;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* pDialog;
    if (message == WM_INITDIALOG) {
        pDialog = reinterpret_cast<CDialog*>(lParam);
        pDialog->m_hWnd = hDlg;
        SetWindowLongPtrA(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pDialog));
    } else {
        pDialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hDlg, DWLP_USER));
    }
    if (!pDialog)
        return FALSE;

    LRESULT lResult = 0;
    bool bHandled = pDialog->OnWndMsg(message, wParam, lParam, lResult);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hDlg, DWLP_USER, 0);
        pDialog->m_hWnd = nullptr;
        pDialog->m_bInModalLoop = false;
    }
    if (!bHandled)
        return FALSE;
    switch (message) {
    // These return their result directly instead of through DWLP_MSGRESULT.
    case WM_INITDIALOG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX:
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return static_cast<INT_PTR>(lResult);
    default:
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, lResult);
        return TRUE;
    }
}

bool PreTranslateHelpKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_F1)
        return false;
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return true; // F1 with a modifier does nothing
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd && pMainWnd->m_hWnd)
        SendMessageA(pMainWnd->m_hWnd, WM_COMMAND, ID_HELP, 0);
    return true;
}

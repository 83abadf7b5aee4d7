#include "ui/ProgressDialog.h"

#include "engine/JobControl.h"
#include "framework/MessageBox.h"
#include "framework/MessageMap.h"
#include "framework/ResourceString.h"
#include "framework/SystemMessage.h"
#include "framework/ThreadCalls.h"
#include "res/resource.h"
#include "ui/AboutDialog.h"
#include "ui/JobButtons.h"

ProgressDialog::ProgressDialog() : JobDialog(IDD_PROGRESS) {}

bool ProgressDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    static const MessageMapEntry<ProgressDialog> kMap[] = {
        {WM_SYSCOMMAND, &ProgressDialog::OnSysCommand},
        {WM_PAINT, &ProgressDialog::OnPaint},
        {WM_QUERYDRAGICON, &ProgressDialog::OnQueryDragIcon},
        {WM_COMMAND, &ProgressDialog::OnCancelButton, IDC_PROGRESS_CANCEL},
    };
    return DispatchMessageMap(this, kMap, message, wParam, lParam, lResult) ||
           JobDialog::OnWndMsg(message, wParam, lParam, lResult);
}

void ProgressDialog::DoDataExchange(CDataExchange& dx) {
    dx.Text(IDC_DESTINATION, m_strDestination);
    dx.Text(IDC_SOURCE, m_strSource);
}

BOOL ProgressDialog::OnInitDialog() {
    JobDialog::OnInitDialog();

    if (HMENU hSystemMenu = SystemMenu()) {
        std::string strAbout = LoadResourceString(IDS_ABOUT_MENU);
        if (!strAbout.empty()) {
            AppendMenuA(hSystemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(hSystemMenu, MF_STRING, IDM_SYS_ABOUT, strAbout.c_str());
        }
    }
    m_job.m_pszInputPath = m_strSource.c_str();
    m_job.m_pszOutputName = m_strDestination.c_str();
    m_job.m_hDoneSemaphore = nullptr;
    // The dialog outlives the worker's use of m_job: the worker's last act closes it.
    const UniqueHandle worker = StartThread(SpoolWorker, &m_job);
    if (!worker.IsValid()) {
        // No job will end this dialog: it ends here, and it may.
        const std::string strError = SystemErrorText(GetLastError(), 255);
        g_bJobFinished = true;
        ShowMessageBox(nullptr, strError, LoadResourceString(IDS_CAPTION),
                       MB_TASKMODAL | MB_ICONERROR);
        EndDialog(IDCANCEL);
    }
    return TRUE;
}

HMENU ProgressDialog::SystemMenu() {
    HMENU hSystemMenu = GetSystemMenu(m_hWnd, FALSE);
    if (hSystemMenu)
        return hSystemMenu;
    // Wine makes a system menu only for windows with WS_SYSMENU, which this one lacks (it
    // has no system-menu box). Made while the style is set for a moment, the menu stays.
    LONG nStyle = GetWindowLongA(m_hWnd, GWL_STYLE);
    SetWindowLongA(m_hWnd, GWL_STYLE, nStyle | WS_SYSMENU);
    hSystemMenu = GetSystemMenu(m_hWnd, FALSE);
    SetWindowLongA(m_hWnd, GWL_STYLE, nStyle);
    return hSystemMenu;
}

void ProgressDialog::OnCancel() {
    if (g_bJobFinished)
        EndDialog(IDCANCEL);
}

// Called for system-menu and system-key commands; the About entry opens the About box.
bool ProgressDialog::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) != IDM_SYS_ABOUT)
        return false;
    OnAppAbout();
    return true;
}

// Called to paint; draws the program icon centred while the window is minimised.
bool ProgressDialog::OnPaint() {
    if (!IsIconic(m_hWnd))
        return false;
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    int x = (rc.right - rc.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rc.bottom - rc.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(hdc, x, y, m_hIcon);
    EndPaint(m_hWnd, &ps);
    return true;
}

HCURSOR ProgressDialog::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void ProgressDialog::OnCancelButton() {
    OnCancelJob(*this);
}

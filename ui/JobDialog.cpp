#include "ui/JobDialog.h"

#include "engine/JobControl.h"
#include "framework/MessageMap.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "ui/CenterWindowWin.h"
#include "ui/Help.h"
#include "ui/JobButtons.h"

JobDialog::JobDialog(UINT nIDTemplate)
    : CDialog(nIDTemplate),
      m_hIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MAINFRAME))) {}

bool JobDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    static const MessageMapEntry<JobDialog> kMap[] = {
        {WM_COMMAND, &JobDialog::OnPause, IDC_PAUSE},
        {WM_DESTROY, &JobDialog::OnDestroy},
    };
    return DispatchMessageMap(this, kMap, message, wParam, lParam, lResult) ||
           CDialog::OnWndMsg(message, wParam, lParam, lResult);
}

void JobDialog::WinHelp(DWORD_PTR, UINT) {
    OnHelpCommand();
}

BOOL JobDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    CenterWindowOnScreen(m_hWnd);
    ShowWindow(m_hWnd, SW_SHOWNORMAL);

    m_progress.Attach(GetDlgItem(IDC_PROGRESS));
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);

    g_bJobFinished = false;
    g_bPauseRequested = false;
    g_bCancelRequested = false;
    g_pProgressOwner = this;
    g_pProgressBar = &m_progress;
    return TRUE;
}

void JobDialog::OnDestroy() {
    // Left set, they would point at a window and a bar that are gone.
    CWnd* pOwner = this;
    g_pProgressOwner.compare_exchange_strong(pOwner, nullptr);
    CProgressCtrl* pBar = &m_progress;
    g_pProgressBar.compare_exchange_strong(pBar, nullptr);
}

void JobDialog::OnPause() {
    OnPauseJob(*this);
}

// JobDialog: what the two windows that run conversions share. The program icon, the place
// on the screen, the progress bar, the job state they reset and publish for the spool
// worker and withdraw when they go, the Pause button, and help at the active window's topic.
#pragma once

#include "framework/Dialog.h"
#include "framework/Static.h"

class JobDialog : public CDialog {
public:
    // Any help request opens the help at the active window's topic.
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

protected:
    explicit JobDialog(UINT nIDTemplate);

    // After the data exchange: sets the icon, centres and shows the window, puts the bar
    // (control IDC_PROGRESS) at 0 of 0 to 100, clears the job-control requests and makes
    // this window and its bar the ones the spool worker reports to.
    BOOL OnInitDialog() override;
    // Called when the window goes: the spool worker no longer reaches it or its bar.
    virtual void OnDestroy();

    CProgressCtrl m_progress;
    HICON m_hIcon;

private:
    void OnPause();
};

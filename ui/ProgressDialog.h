// ProgressDialog: the window of the single-file run mode. Starts the spool worker for
// the one file and closes itself when the job has ended.
#pragma once

#include "engine/SpoolWorker.h"
#include "ui/JobDialog.h"

#include <string>

class ProgressDialog : public JobDialog {
public:
    ProgressDialog();

    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

    std::string m_strSource;      // the input path (control 129)
    std::string m_strDestination; // the output name (control 130)

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    // Enter does not close the dialog.
    void OnOK() override {}
    // Escape, Alt+F4 and the worker's WM_CLOSE arrive here; only the last one closes. A
    // worker that cannot be started is told at once, and the dialog ends.
    void OnCancel() override;

private:
    HMENU SystemMenu();
    bool OnSysCommand(UINT nID, LPARAM lParam);
    bool OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnCancelButton();

    SpoolJob m_job{};
};

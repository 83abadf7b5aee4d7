// ConverterDialog: the window of the main-window run mode. Takes files by drag and drop
// or File > Open and converts them one after the other on a batch thread.
#pragma once

#include "framework/Dialog.h"
#include "framework/Handle.h"
#include "framework/Static.h"

#include <shellapi.h>

class ConverterDialog : public CDialog {
public:
    ConverterDialog();

    // Any help request opens the help at the active window's topic.
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

    // Starts a batch thread unless one is running; false when none was started.
    bool StartBatch(LPTHREAD_START_ROUTINE pfnBatch, void* pParam);
    bool IsBatchRunning() const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnDropFiles(HDROP hDrop);
    void OnPause();
    void OnCancelBatch();
    void OnDestroy();
    void CancelBatchAndWait();

    CProgressCtrl m_progress;
    HICON m_hIcon;
    UniqueHandle m_batchThread;
};

// ConverterDialog: the window of the main-window run mode. Takes files by drag and drop
// or File > Open and converts them one after the other on a batch thread.
#pragma once

#include "framework/Handle.h"
#include "ui/JobDialog.h"

#include <shellapi.h>

class ConverterDialog : public JobDialog {
public:
    ConverterDialog();

    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

    // Starts a batch thread unless one is running; false when none was started (a thread
    // that could not be made has been reported).
    bool StartBatch(LPTHREAD_START_ROUTINE pfnBatch, void* pParam);
    bool IsBatchRunning() const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnDropFiles(HDROP hDrop);
    void OnCancelBatch();
    // Also closes a help window this program opened.
    void OnDestroy() override;
    void CancelBatchAndWait();

    UniqueHandle m_batchThread;
};

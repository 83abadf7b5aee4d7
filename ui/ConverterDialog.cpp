#include "ui/ConverterDialog.h"

#include "app/ConverterApp.h"
#include "engine/BatchDrivers.h"
#include "engine/JobControl.h"
#include "framework/MessageBox.h"
#include "framework/MessageMap.h"
#include "framework/ResourceString.h"
#include "framework/SystemMessage.h"
#include "framework/ThreadCalls.h"
#include "res/resource.h"
#include "ui/Help.h"
#include "ui/JobButtons.h"

#include <string>
#include <utility>

ConverterDialog::ConverterDialog() : JobDialog(IDD_CONVERTER) {}

bool ConverterDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    static const MessageMapEntry<ConverterDialog> kMap[] = {
        {WM_COMMAND, &ConverterDialog::OnCancelBatch, IDC_CANCEL_BATCH},
        {WM_DROPFILES, &ConverterDialog::OnDropFiles},
    };
    return DispatchMessageMap(this, kMap, message, wParam, lParam, lResult) ||
           JobDialog::OnWndMsg(message, wParam, lParam, lResult);
}

BOOL ConverterDialog::OnInitDialog() {
    JobDialog::OnInitDialog();
    SetWindowContextHelpId(m_hWnd, 1);
    g_szOpenFileName[0] = '\0';
    DragAcceptFiles(m_hWnd, TRUE);
    return TRUE;
}

bool ConverterDialog::StartBatch(LPTHREAD_START_ROUTINE pfnBatch, void* pParam) {
    if (IsBatchRunning())
        return false;
    g_bBatchRunning = true;
    UniqueHandle thread = StartThread(pfnBatch, pParam);
    if (!thread.IsValid()) {
        // The drop or the choice would be lost without a word.
        const std::string strError = SystemErrorText(GetLastError(), 255);
        g_bBatchRunning = false;
        ShowMessageBox(nullptr, strError, LoadResourceString(IDS_CAPTION),
                       MB_TASKMODAL | MB_ICONERROR);
        return false;
    }
    m_batchThread = std::move(thread);
    return true;
}

bool ConverterDialog::IsBatchRunning() const {
    return g_bBatchRunning;
}

// Called when files are dropped on the window.
void ConverterDialog::OnDropFiles(HDROP hDrop) {
    DropHandle drop(hDrop);
    // A drop that slips in before the running batch has switched drops off is ignored.
    if (IsBatchRunning())
        return;
    GetConverterApp().LoadSettings();
    // The batch thread finishes the drop once it has started.
    if (StartBatch(ConvertDroppedFiles, drop.Get()))
        (void)drop.Release();
}

void ConverterDialog::OnCancelBatch() {
    OnCancelJob(*this);
}

// "Fertig" is off while a batch runs, but the close box and Escape are not: the batch is
// cancelled and its job ended in the spooler before the window goes.
void ConverterDialog::OnOK() {
    CancelBatchAndWait();
    CDialog::OnOK();
}

void ConverterDialog::OnCancel() {
    CancelBatchAndWait();
    CDialog::OnCancel();
}

void ConverterDialog::CancelBatchAndWait() {
    if (!m_batchThread.IsValid() || WaitForSingleObject(m_batchThread.Get(), 0) != WAIT_TIMEOUT)
        return;
    g_bCancelRequested = true;
    // The batch and its worker send messages to this window while they finish.
    HANDLE hThread = m_batchThread.Get();
    while (MsgWaitForMultipleObjects(1, &hThread, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void ConverterDialog::OnDestroy() {
    ShowHelp(0, HELP_QUIT);
    JobDialog::OnDestroy();
}

#include "ui/ConverterDialog.h"

#include "app/ConverterApp.h"
#include "engine/BatchDrivers.h"
#include "engine/JobControl.h"
#include "framework/MessageMap.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "ui/CenterWindow.h"
#include "ui/Help.h"
#include "ui/JobButtons.h"

ConverterDialog::ConverterDialog()
    : CDialog(IDD_CONVERTER),
      m_hIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MAINFRAME))) {}

bool ConverterDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    static const MessageMapEntry<ConverterDialog> kMap[] = {
        {WM_COMMAND, &ConverterDialog::OnCancelBatch, IDC_CANCEL_BATCH},
        {WM_COMMAND, &ConverterDialog::OnPause, IDC_PAUSE},
        {WM_DROPFILES, &ConverterDialog::OnDropFiles},
        {WM_DESTROY, &ConverterDialog::OnDestroy},
    };
    return DispatchMessageMap(this, kMap, message, wParam, lParam, lResult) ||
           CDialog::OnWndMsg(message, wParam, lParam, lResult);
}

void ConverterDialog::WinHelp(DWORD_PTR, UINT) {
    OnHelpCommand();
}

BOOL ConverterDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    SetWindowContextHelpId(m_hWnd, 1);
    CenterWindowOnScreen(m_hWnd);
    ShowWindow(m_hWnd, SW_SHOWNORMAL);
    g_szOpenFileName[0] = '\0';
    DragAcceptFiles(m_hWnd, TRUE);
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

bool ConverterDialog::StartBatch(LPTHREAD_START_ROUTINE pfnBatch, void* pParam) {
    if (IsBatchRunning())
        return false;
    g_bBatchRunning = true;
    m_batchThread = UniqueHandle(CreateThread(nullptr, 0, pfnBatch, pParam, 0, nullptr));
    if (!m_batchThread.IsValid())
        g_bBatchRunning = false;
    return m_batchThread.IsValid();
}

bool ConverterDialog::IsBatchRunning() const {
    return g_bBatchRunning;
}

// Called when files are dropped on the window.
void ConverterDialog::OnDropFiles(HDROP hDrop) {
    // A drop that slips in before the running batch has switched drops off is ignored.
    if (IsBatchRunning()) {
        DragFinish(hDrop);
        return;
    }
    GetConverterApp().LoadSettings();
    if (!StartBatch(ConvertDroppedFiles, hDrop))
        DragFinish(hDrop);
}

void ConverterDialog::OnPause() {
    OnPauseJob(*this);
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

// Called when the window goes: closes a help window this program opened.
void ConverterDialog::OnDestroy() {
    ShowHelp(0, HELP_QUIT);
}

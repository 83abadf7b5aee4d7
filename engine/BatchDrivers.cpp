#include "engine/BatchDrivers.h"

#include "app/OutputNameWin.h"
#include "engine/JobControl.h"
#include "engine/PrinterDiscoveryWin.h"
#include "engine/Spooler.h"
#include "engine/SpoolWorker.h"
#include "framework/Handle.h"
#include "framework/MessageBox.h"
#include "framework/MessageText.h"
#include "framework/ResourceString.h"
#include "framework/SystemMessage.h"
#include "framework/ThreadCalls.h"
#include "framework/Wnd.h"
#include "res/resource.h"

#include <shellapi.h>

#include <string>

char g_szOpenFileName[256];
std::atomic<bool> g_bBatchRunning{false};

namespace {

constexpr UINT kBoxFlags = MB_TASKMODAL | MB_ICONERROR;

// The converter window as the batch thread reaches it: only through sent messages.
class BatchWindow {
public:
    BatchWindow() : m_hWnd(static_cast<CWnd*>(g_pProgressOwner)->m_hWnd) {}

    void SetText(int nID, const std::string& strText) {
        SendDlgItemMessageA(m_hWnd, nID, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str()));
    }
    void SetNumber(int nID, int n) { SetText(nID, std::to_string(n)); }

    // Running: Fertig off, Pause and Abbrechen on, no drops, and no second batch from
    // the menu while this one shares the job state.
    void EnterRunning() { SetRunning(true); }

    void EnterIdle() {
        SetNumber(IDC_REMAINING, 0);
        SetNumber(IDC_PROCESSED, 0);
        SetText(IDC_INPUT_NAME, "");
        SetText(IDC_OUTPUT_NAME, "");
        g_bBatchRunning = false;
        SetRunning(false);
    }

    void AcceptDrops(bool bAccept) { DragAcceptFiles(m_hWnd, bAccept); }

private:
    void SetRunning(bool bRunning) {
        if (bRunning)
            AcceptDrops(false);
        EnableWindow(GetDlgItem(m_hWnd, IDOK), !bRunning);
        EnableWindow(GetDlgItem(m_hWnd, IDC_PAUSE), bRunning);
        EnableWindow(GetDlgItem(m_hWnd, IDC_CANCEL_BATCH), bRunning);
        if (HMENU hMenu = GetMenu(m_hWnd)) {
            UINT nState = MF_BYCOMMAND | (bRunning ? MF_GRAYED : MF_ENABLED);
            EnableMenuItem(hMenu, IDM_FILE_OPEN, nState);
            EnableMenuItem(hMenu, IDM_CONFIGURE, nState);
            DrawMenuBar(m_hWnd);
        }
        if (!bRunning)
            AcceptDrops(true);
    }

    HWND m_hWnd;
};

void ShowError(const std::string& strText) {
    ShowMessageBox(nullptr, strText, LoadResourceString(IDS_CAPTION), kBoxFlags);
}

// Names the output, shows both names and runs one job to its end. A file whose output
// name would not fit is skipped after telling the user. False when the batch cannot go
// on: the job could not be started (no semaphore or no worker thread), and the user has
// been told why.
bool ConvertOneFile(BatchWindow& window, const std::string& strInput) {
    std::optional<std::string> optOutput = MakeOutputName(strInput, NamingForm::Batch, nullptr);
    if (!optOutput) {
        ShowError(InsertArgument(LoadResourceString(IDS_OUTPUT_NAME_TOO_LONG), strInput));
        return true;
    }
    window.SetText(IDC_INPUT_NAME, strInput);
    window.SetText(IDC_OUTPUT_NAME, *optOutput);

    // Without a semaphore the worker would close the window instead, and the wait below
    // would not wait for it.
    const UniqueHandle done = CreateDoneSemaphore();
    if (!done.IsValid()) {
        ShowError(SystemErrorText(GetLastError(), 255));
        return false;
    }
    SpoolJob job{strInput.c_str(), optOutput->c_str(), done.Get()};
    const UniqueHandle worker = StartThread(SpoolWorker, &job);
    if (!worker.IsValid()) {
        ShowError(SystemErrorText(GetLastError(), 255));
        return false;
    }
    WaitForSingleObject(done.Get(), INFINITE);
    return true;
}

// Ends the batch for the window however the thread ends, also before it went Running.
struct BatchEnd {
    ~BatchEnd() { g_bBatchRunning = false; }
};

UINT DroppedFileCount(HDROP hDrop) {
    return DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
}

std::string DroppedFilePath(HDROP hDrop, UINT i) {
    UINT n = DragQueryFileA(hDrop, i, nullptr, 0);
    std::string strPath(n + 1, '\0');
    n = DragQueryFileA(hDrop, i, &strPath[0], n + 1);
    strPath.resize(n);
    return strPath;
}

} // namespace

DWORD WINAPI ConvertDroppedFiles(LPVOID pParam) {
    BatchEnd end;
    // Released however the batch ends.
    DropHandle drop(static_cast<HDROP>(pParam));
    g_bCancelRequested = false;
    // The status is tested once; each file has the printer opened for it afresh.
    if (!OpenReadyPrinter(false).IsValid())
        return 0;

    BatchWindow window;
    window.EnterRunning();
    DWORD nResult = 1;
    UINT nFiles = DroppedFileCount(drop.Get());
    for (UINT i = 0; i < nFiles; ++i) {
        const PrinterHandle printer = OpenConverterPrinter();
        if (!printer.IsValid()) {
            ShowError(SystemErrorText(GetLastError(), 255));
            window.EnterIdle();
            return 0;
        }
        if (g_bCancelRequested)
            break;
        window.SetNumber(IDC_REMAINING, static_cast<int>(nFiles - i));
        window.SetNumber(IDC_PROCESSED, static_cast<int>(i));
        const JobPrinterView jobPrinter(printer);
        if (!ConvertOneFile(window, DroppedFilePath(drop.Get(), i))) {
            nResult = 0;
            break;
        }
    }
    window.EnterIdle();
    return nResult;
}

DWORD WINAPI ConvertOpenedFile(LPVOID pParam) {
    BatchEnd end;
    const std::string strInput = static_cast<const char*>(pParam);
    g_bCancelRequested = false;
    PrinterHandle printer = OpenReadyPrinter(false);
    if (!printer.IsValid())
        return 0;

    BatchWindow window;
    window.EnterRunning();
    window.SetNumber(IDC_REMAINING, 1);
    window.SetNumber(IDC_PROCESSED, 0);
    DWORD nResult;
    {
        const JobPrinterView jobPrinter(printer);
        nResult = ConvertOneFile(window, strInput) ? 1 : 0;
    }
    // Closed before the window says the batch is over.
    printer.Close();
    window.EnterIdle();
    return nResult;
}

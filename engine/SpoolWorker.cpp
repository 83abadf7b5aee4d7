#include "engine/SpoolWorker.h"

#include "app/ConverterApp.h"
#include "engine/InputClassificationWin.h"
#include "engine/JobControl.h"
#include "engine/JobTicket.h"
#include "engine/PrinterDiscoveryWin.h"
#include "engine/Spooler.h"
#include "engine/SpoolerTurn.h"
#include "engine/TicketFlags.h"
#include "engine/TransferProgress.h"
#include "framework/Handle.h"
#include "framework/MessageBox.h"
#include "framework/MessageText.h"
#include "framework/ResourceString.h"
#include "framework/Static.h"
#include "framework/SystemMessage.h"
#include "res/resource.h"

#include <algorithm>
#include <optional>
#include <string>

namespace {

constexpr DWORD PAUSE_POLL_MS = 100;

void WaitWhilePaused() {
    if (!g_bPauseRequested || g_bCancelRequested)
        return;
    g_bJobHeld = true;
    while (g_bPauseRequested && !g_bCancelRequested)
        Sleep(PAUSE_POLL_MS);
    g_bJobHeld = false;
}

void SetProgress(int nPercent) {
    CProgressCtrl* pBar = g_pProgressBar;
    if (!pBar)
        return;
    pBar->SetPos(nPercent);
    InvalidateRect(pBar->m_hWnd, nullptr, FALSE);
}

// One job from ticket to signal. Members hold what the steps share.
class SpoolRun {
public:
    explicit SpoolRun(const SpoolJob& job) : m_job(job) {}

    void Run() {
        g_bCancelRequested = false;
        SendFile();
        g_bJobFinished = true;
        if (m_bReachedSpooler)
            SetProgress(0);
        Signal();
    }

private:
    void SendFile() {
        ConverterApp& app = GetConverterApp();
        const std::string strTicket =
            BuildJobTicket(m_job.m_pszOutputName, app.m_strActiveConfiguration,
                           ComputeTicketFlags(app.SaveRequest.Get(),
                                              static_cast<uint32_t>(app.General.Get()), app));
        m_strCaption = LoadResourceString(IDS_CAPTION);

        VirtualBlock buffer(static_cast<unsigned char*>(
            VirtualAlloc(nullptr, TRANSFER_BLOCK_SIZE, MEM_COMMIT, PAGE_READWRITE)));
        if (!buffer.IsValid()) {
            ShowMessageBox(nullptr, LoadResourceString(IDS_NO_MEMORY), m_strCaption,
                           MB_TOPMOST | MB_ICONERROR);
            return;
        }

        UniqueHandle file(CreateFileA(m_job.m_pszInputPath, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid()) {
            ReportUnreadableInput(GetLastError());
            return;
        }

        InputLayout layout =
            ClassifyInputFile(file.Get(), m_job.m_pszInputPath, app.m_bQSet != 0, buffer.Get());
        if (layout.eAction == InputAction::EndJob)
            return;

        // Sent from anywhere else, the job would carry the bytes before its PostScript (a PJL
        // or DOS EPS header): a file that cannot be read from there is one that cannot be
        // read, and nothing of it is sent.
        if (!SeekInputFile(file.Get(), layout.nStartOffset)) {
            ReportUnreadableInput(GetLastError());
            return;
        }

        Spooler& spooler = TheSpooler();
        DOC_INFO_1A docInfo{const_cast<char*>(strTicket.c_str()), nullptr,
                            const_cast<char*>("RAW")};
        // Given back before any message box: another program's job need not wait for it.
        std::optional<SpoolerTurn> turn(std::in_place);
        if (!turn->Taken())
            return; // cancelled while another program's document was in the spooler
        m_bReachedSpooler = true;
        if (spooler.StartDocPrinterA(g_hPrinter, 1, reinterpret_cast<LPBYTE>(&docInfo)) == 0) {
            // No document was started, so none is ended either.
            FailSend(GetLastError());
            turn.reset();
            ReportSendFailure();
            return;
        }
        // No data goes into a page that was not started, and data after a framing line that
        // did not go out whole would be read without it.
        const bool bPageStarted = spooler.StartPagePrinter(g_hPrinter) != FALSE;
        DWORD dwStartError = bPageStarted ? ERROR_SUCCESS : GetLastError();
        if (bPageStarted && layout.bEpsWrapping)
            dwStartError = WriteLine(EpsPrefixLine, EPS_PREFIX_LINE_LENGTH);
        if (!bPageStarted || dwStartError != ERROR_SUCCESS)
            FailSend(dwStartError);
        else
            Transfer(file.Get(), buffer.Get(), layout.nByteCount);
        file.Close();

        if (!g_bCancelRequested) {
            const DWORD dwTrailerError =
                WriteLine(ShowPageTrailerLine, SHOW_PAGE_TRAILER_LINE_LENGTH);
            if (dwTrailerError != ERROR_SUCCESS)
                NoteSendFailure(dwTrailerError);
        }
        buffer.Close();
        if (bPageStarted && !spooler.EndPagePrinter(g_hPrinter))
            NoteSendFailure(GetLastError());
        if (!spooler.EndDocPrinter(g_hPrinter))
            NoteSendFailure(GetLastError());
        turn.reset();
        if (m_dwSendError != 0)
            ReportSendFailure();
    }

    // One framing line in one write: ERROR_SUCCESS when it went out whole, else why not.
    DWORD WriteLine(const char* pszLine, DWORD cbLine) {
        DWORD dwWritten = 0;
        if (!TheSpooler().WritePrinter(g_hPrinter, const_cast<char*>(pszLine), cbLine,
                                       &dwWritten)) {
            const DWORD dwError = GetLastError();
            return dwError != ERROR_SUCCESS ? dwError : ERROR_WRITE_FAULT;
        }
        return dwWritten == cbLine ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
    }

    void Transfer(HANDLE hFile, unsigned char* pBuffer, uint64_t nByteCount) {
        uint64_t nSent = 0;
        for (;;) {
            WaitWhilePaused();
            DWORD nBlock =
                static_cast<DWORD>(std::min<uint64_t>(nByteCount - nSent, TRANSFER_BLOCK_SIZE));
            DWORD nRead = 0;
            if (!ReadFile(hFile, pBuffer, nBlock, &nRead, nullptr) || nRead == 0)
                return;
            if (g_bCancelRequested)
                return;
            for (DWORD nDone = 0; nDone < nRead;) {
                if (g_bCancelRequested)
                    return;
                WaitWhilePaused();
                DWORD dwWritten = 0;
                const BOOL bCalled = TheSpooler().WritePrinter(g_hPrinter, pBuffer + nDone,
                                                               nRead - nDone, &dwWritten);
                // A write that moves nothing would be repeated for ever: it fails too.
                const bool bWritten = bCalled && dwWritten != 0;
                if (!bWritten)
                    FailSend(bCalled ? ERROR_WRITE_FAULT : GetLastError());
                nSent += dwWritten;
                ShowPercent(ProgressPercent(nSent, nByteCount));
                if (!bWritten)
                    return;
                nDone += dwWritten;
            }
            if (g_bCancelRequested)
                return;
        }
    }

    // Setting the bar is a round trip to the window's thread, which under Wine cost more
    // than the whole transfer: a 256 MB file has 16384 blocks, the bar 101 positions.
    void ShowPercent(int nPercent) {
        if (nPercent == m_nShownPercent)
            return;
        m_nShownPercent = nPercent;
        SetProgress(nPercent);
    }

    // Remembers the first failure's error. A write that reported success but moved too
    // little has none of its own: ERROR_WRITE_FAULT stands for it, as for a failed call
    // that set none.
    void NoteSendFailure(DWORD dwError) {
        if (m_dwSendError == 0)
            m_dwSendError = dwError != ERROR_SUCCESS ? dwError : ERROR_WRITE_FAULT;
    }

    // A job whose data did not reach the spooler ends: nothing more is written, and a
    // batch ends with it, as on a cancel.
    void FailSend(DWORD dwError) {
        NoteSendFailure(dwError);
        g_bCancelRequested = true;
    }

    // The input cannot be opened or read from where its data starts: nothing is sent.
    void ReportUnreadableInput(DWORD dwError) {
        ShowMessageBox(
            nullptr,
            InsertArgument(LoadResourceString(IDS_CANNOT_OPEN_INPUT), m_job.m_pszInputPath) +
                SystemErrorText(dwError, 1024),
            m_strCaption, MB_TOPMOST | MB_TASKMODAL | MB_ICONERROR);
    }

    // A job that did not reach the printer whole must not look like a success.
    void ReportSendFailure() {
        ShowMessageBox(nullptr,
                       InsertArgument(LoadResourceString(IDS_SEND_FAILED), m_job.m_pszInputPath) +
                           SystemErrorText(m_dwSendError, 1024),
                       m_strCaption, MB_TASKMODAL | MB_ICONERROR);
    }

    void Signal() {
        if (m_job.m_hDoneSemaphore) {
            ReleaseSemaphore(m_job.m_hDoneSemaphore, 1, nullptr);
        } else if (CWnd* pOwner = g_pProgressOwner) {
            SendMessageA(pOwner->m_hWnd, WM_CLOSE, 0, 0);
        }
    }

    const SpoolJob& m_job;
    std::string m_strCaption;
    bool m_bReachedSpooler = false;
    int m_nShownPercent = -1;
    DWORD m_dwSendError = 0;
};

} // namespace

DWORD WINAPI SpoolWorker(LPVOID pJob) {
    SpoolRun(*static_cast<SpoolJob*>(pJob)).Run();
    return 0;
}

// FakeSpooler: a stand-in print spooler for tests; FakeSpoolerInstaller puts it in place.
// It lists any printers with any status, records every call with its arguments and the
// bytes written, and fails, short-writes or holds back chosen WritePrinter calls. All
// members are safe to call from several threads.
#pragma once

#include "Waiting.h"
#include "engine/Spooler.h"
#include "framework/Handle.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct FakePrinter {
    std::optional<std::string> optName; // null fields are listed as null pointers
    std::optional<std::string> optPort;
    std::optional<std::string> optDriver;
    DWORD dwStatus = 0;
    DWORD dwGetPrinterError = 0; // non-zero: GetPrinterA fails with it
    bool bOnlyReadFails = false; // the size query of GetPrinterA still succeeds
};

enum class SpoolerFunction {
    EnumPrinters,
    OpenPrinter,
    GetPrinter,
    ClosePrinter,
    StartDocPrinter,
    StartPagePrinter,
    WritePrinter,
    EndPagePrinter,
    EndDocPrinter,
};

// One call as the fake saw it. Fields a function does not take stay at their defaults.
struct SpoolerCall {
    explicit SpoolerCall(SpoolerFunction eCalled) : eFunction(eCalled) {}

    SpoolerFunction eFunction;
    HANDLE hPrinter = nullptr;             // OpenPrinterA: the handle handed out
    std::optional<std::string> optName;    // EnumPrintersA name, OpenPrinterA printer name
    DWORD dwFlags = 0;                     // EnumPrintersA
    DWORD dwLevel = 0;                     // EnumPrintersA, GetPrinterA, StartDocPrinterA
    DWORD cbBuf = 0;                       // EnumPrintersA, GetPrinterA, WritePrinter
    bool bBufferNull = false;              // EnumPrintersA, GetPrinterA, WritePrinter
    bool bDefaultsNull = false;            // OpenPrinterA
    std::optional<std::string> optDocName; // StartDocPrinterA: DOC_INFO_1 fields
    std::optional<std::string> optOutputFile;
    std::optional<std::string> optDatatype;
    std::string strBytes; // WritePrinter: the bytes offered
    DWORD dwResult = 0;   // the BOOL, or the job id of StartDocPrinterA
    DWORD dwError = 0;    // the last error set on failure
    DWORD dwWritten = 0;  // WritePrinter: bytes reported written
    DWORD cbNeeded = 0;   // EnumPrintersA, GetPrinterA
};

// A document as the spooler would have received it on one handle.
struct FakeDocument {
    HANDLE hPrinter = nullptr;
    std::optional<std::string> optDocName;
    std::optional<std::string> optOutputFile;
    std::optional<std::string> optDatatype;
    std::string strBytes; // what the writes accepted
    int nPagesStarted = 0;
    int nPagesEnded = 0;
    bool bEnded = false;
};

class FakeSpooler final : public Spooler {
public:
    // A test that blocks a write must let the writing thread end before the fake goes.
    FakeSpooler();
    ~FakeSpooler() override = default;
    FakeSpooler(const FakeSpooler&) = delete;
    FakeSpooler& operator=(const FakeSpooler&) = delete;

    // Set-up, in the spooler's listing order.
    void AddPrinter(const FakePrinter& printer);
    void SetStatus(const std::string& strName, DWORD dwStatus);
    // Every EnumPrintersA call fails with dwError; with nCall, only that call (0-based).
    void FailEnumPrinters(DWORD dwError, std::optional<size_t> optCall = std::nullopt);
    // Every OpenPrinterA call fails with dwError (0: opens work again).
    void FailOpenPrinter(DWORD dwError);
    // Every StartDocPrinterA call fails with dwError (0: works again).
    void FailStartDoc(DWORD dwError);
    // Every EndDocPrinter call fails with dwError after ending the document, as Wine's does
    // for a queue that rejects jobs (0: works again).
    void FailEndDoc(DWORD dwError);
    // Every StartPagePrinter (EndPagePrinter) call fails with dwError (0: works again).
    void FailStartPage(DWORD dwError);
    void FailEndPage(DWORD dwError);
    // The WritePrinter call nCall (0-based over all handles) fails with dwError.
    void FailWrite(size_t nCall, DWORD dwError);
    // The WritePrinter call nCall accepts only cbAccepted bytes (at most the bytes offered).
    void ShortWrite(size_t nCall, DWORD cbAccepted);
    // The WritePrinter call nCall waits, inside the call, until ReleaseWrite.
    void BlockWrite(size_t nCall);
    // Waits until a call chosen with BlockWrite has entered its wait; false on time-out.
    bool WaitForBlockedWrite(DWORD dwTimeoutMs = kWaitMs);
    // Lets one waiting write go on.
    void ReleaseWrite();
    // Lets every held write go on, and holds none from now on: a test that failed half-way
    // must not leave a thread waiting in the fake.
    void ReleaseAllWrites();

    // What happened.
    std::vector<SpoolerCall> Calls() const;
    std::vector<SpoolerCall> Calls(SpoolerFunction eFunction) const;
    std::vector<FakeDocument> Documents() const;
    size_t OpenHandleCount() const;

    BOOL EnumPrintersA(DWORD dwFlags, LPSTR pszName, DWORD dwLevel, LPBYTE pPrinterEnum,
                       DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned) override;
    BOOL OpenPrinterA(LPSTR pszPrinterName, LPHANDLE phPrinter,
                      LPPRINTER_DEFAULTSA pDefault) override;
    BOOL GetPrinterA(HANDLE hPrinter, DWORD dwLevel, LPBYTE pPrinter, DWORD cbBuf,
                     LPDWORD pcbNeeded) override;
    BOOL ClosePrinter(HANDLE hPrinter) override;
    DWORD StartDocPrinterA(HANDLE hPrinter, DWORD dwLevel, LPBYTE pDocInfo) override;
    BOOL StartPagePrinter(HANDLE hPrinter) override;
    BOOL WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten) override;
    BOOL EndPagePrinter(HANDLE hPrinter) override;
    BOOL EndDocPrinter(HANDLE hPrinter) override;

private:
    struct OpenHandle {
        size_t nPrinter;
        std::optional<size_t> optDocument; // index into m_documents while a document runs
    };

    // Records the call, leaves the lock and then sets the last error (only on failure, as
    // the spooler does), so nothing in between can overwrite it.
    DWORD Finish(std::unique_lock<std::mutex>& lock, SpoolerCall& call, DWORD dwResult,
                 DWORD dwError);
    OpenHandle* FindHandle(HANDLE hPrinter);
    DWORD RecordSize(const FakePrinter& printer) const;
    void WriteRecords(const std::vector<const FakePrinter*>& printers, BYTE* pBuffer) const;

    mutable std::mutex m_mutex;
    std::vector<FakePrinter> m_printers;
    std::map<HANDLE, OpenHandle> m_handles;
    std::vector<FakeDocument> m_documents;
    std::vector<SpoolerCall> m_calls;
    std::optional<size_t> m_optEnumFailCall;
    DWORD m_dwEnumError = 0;
    DWORD m_dwOpenError = 0;
    DWORD m_dwStartDocError = 0;
    DWORD m_dwEndDocError = 0;
    DWORD m_dwStartPageError = 0;
    DWORD m_dwEndPageError = 0;
    std::map<size_t, DWORD> m_writeErrors;
    std::map<size_t, DWORD> m_shortWrites;
    std::set<size_t> m_blockedWrites;
    size_t m_nEnumCalls = 0;
    size_t m_nWriteCalls = 0;
    uintptr_t m_nNextHandle = 0x4000;
    DWORD m_nNextJobId = 1;
    UniqueHandle m_hWriteEntered; // auto-reset: a held write has begun waiting
    UniqueHandle m_hWriteRelease; // auto-reset: one held write may go on
    UniqueHandle m_hAllReleased;  // manual-reset: no write is held any more
};

// Puts a fake in place of winspool for one scope and then restores the previous spooler.
class FakeSpoolerInstaller {
public:
    explicit FakeSpoolerInstaller(FakeSpooler& fake) : m_pPrevious(&TheSpooler()) {
        SetSpooler(&fake);
    }
    ~FakeSpoolerInstaller() { SetSpooler(m_pPrevious); }
    FakeSpoolerInstaller(const FakeSpoolerInstaller&) = delete;
    FakeSpoolerInstaller& operator=(const FakeSpoolerInstaller&) = delete;

private:
    Spooler* m_pPrevious;
};

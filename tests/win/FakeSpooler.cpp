#include "tests/win/FakeSpooler.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

// Texts a level-2 record carries besides name, port and driver, as a local queue has them.
constexpr const char SHARE_NAME[] = "";
constexpr const char PRINT_PROCESSOR[] = "winprint";
constexpr const char DATATYPE[] = "RAW";

std::optional<std::string> CopyText(const char* psz) {
    if (!psz)
        return std::nullopt;
    return std::string(psz);
}

DWORD TextSize(const std::optional<std::string>& optText) {
    return optText ? static_cast<DWORD>(optText->size() + 1) : 0;
}

// Copies a text to pNext and returns where it went; pNext moves past it.
char* PackText(const char* psz, size_t cb, BYTE*& pNext) {
    char* pszPlace = reinterpret_cast<char*>(pNext);
    std::memcpy(pszPlace, psz, cb);
    pNext += cb;
    return pszPlace;
}

char* PackText(const std::optional<std::string>& optText, BYTE*& pNext) {
    return optText ? PackText(optText->c_str(), optText->size() + 1, pNext) : nullptr;
}

} // namespace

FakeSpooler::FakeSpooler()
    : m_hWriteEntered(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_hWriteRelease(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_hAllReleased(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

void FakeSpooler::AddPrinter(const FakePrinter& printer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_printers.push_back(printer);
}

void FakeSpooler::SetStatus(const std::string& strName, DWORD dwStatus) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (FakePrinter& printer : m_printers) {
        if (printer.optName == strName)
            printer.dwStatus = dwStatus;
    }
}

void FakeSpooler::FailEnumPrinters(DWORD dwError, std::optional<size_t> optCall) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dwEnumError = dwError;
    m_optEnumFailCall = optCall;
}

void FakeSpooler::FailOpenPrinter(DWORD dwError) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dwOpenError = dwError;
}

void FakeSpooler::FailStartDoc(DWORD dwError) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dwStartDocError = dwError;
}

void FakeSpooler::FailEndDoc(DWORD dwError) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dwEndDocError = dwError;
}

void FakeSpooler::FailStartPage(DWORD dwError) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dwStartPageError = dwError;
}

void FakeSpooler::FailEndPage(DWORD dwError) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dwEndPageError = dwError;
}

void FakeSpooler::FailWrite(size_t nCall, DWORD dwError) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_writeErrors[nCall] = dwError;
}

void FakeSpooler::ShortWrite(size_t nCall, DWORD cbAccepted) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_shortWrites[nCall] = cbAccepted;
}

void FakeSpooler::BlockWrite(size_t nCall) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_blockedWrites.insert(nCall);
}

bool FakeSpooler::WaitForBlockedWrite(DWORD dwTimeoutMs) {
    WaitNote note("a held WritePrinter call to begin");
    return WaitForSingleObject(m_hWriteEntered.Get(), dwTimeoutMs) == WAIT_OBJECT_0;
}

void FakeSpooler::ReleaseWrite() {
    SetEvent(m_hWriteRelease.Get());
}

void FakeSpooler::ReleaseAllWrites() {
    SetEvent(m_hAllReleased.Get());
}

std::vector<SpoolerCall> FakeSpooler::Calls() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
}

std::vector<SpoolerCall> FakeSpooler::Calls(SpoolerFunction eFunction) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<SpoolerCall> calls;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(calls),
                 [eFunction](const SpoolerCall& call) { return call.eFunction == eFunction; });
    return calls;
}

std::vector<FakeDocument> FakeSpooler::Documents() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_documents;
}

size_t FakeSpooler::OpenHandleCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_handles.size();
}

DWORD FakeSpooler::Finish(std::unique_lock<std::mutex>& lock, SpoolerCall& call, DWORD dwResult,
                          DWORD dwError) {
    call.dwResult = dwResult;
    call.dwError = dwError;
    m_calls.push_back(call);
    lock.unlock();
    if (dwError != 0)
        SetLastError(dwError);
    return dwResult;
}

FakeSpooler::OpenHandle* FakeSpooler::FindHandle(HANDLE hPrinter) {
    auto it = m_handles.find(hPrinter);
    return it == m_handles.end() ? nullptr : &it->second;
}

DWORD FakeSpooler::RecordSize(const FakePrinter& printer) const {
    return static_cast<DWORD>(sizeof(PRINTER_INFO_2A) + TextSize(printer.optName) +
                              TextSize(printer.optPort) + TextSize(printer.optDriver) +
                              sizeof SHARE_NAME + sizeof PRINT_PROCESSOR + sizeof DATATYPE);
}

// The records first, then their texts, all inside the caller's buffer: the caller frees one
// block and every pointer in it stays valid until then.
void FakeSpooler::WriteRecords(const std::vector<const FakePrinter*>& printers,
                               BYTE* pBuffer) const {
    auto* pInfo = reinterpret_cast<PRINTER_INFO_2A*>(pBuffer);
    BYTE* pNext = pBuffer + printers.size() * sizeof(PRINTER_INFO_2A);
    for (const FakePrinter* pPrinter : printers) {
        PRINTER_INFO_2A info{};
        info.pPrinterName = PackText(pPrinter->optName, pNext);
        info.pShareName = PackText(SHARE_NAME, sizeof SHARE_NAME, pNext);
        info.pPortName = PackText(pPrinter->optPort, pNext);
        info.pDriverName = PackText(pPrinter->optDriver, pNext);
        info.pPrintProcessor = PackText(PRINT_PROCESSOR, sizeof PRINT_PROCESSOR, pNext);
        info.pDatatype = PackText(DATATYPE, sizeof DATATYPE, pNext);
        info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        info.Status = pPrinter->dwStatus;
        std::memcpy(pInfo++, &info, sizeof info);
    }
}

BOOL FakeSpooler::EnumPrintersA(DWORD dwFlags, LPSTR pszName, DWORD dwLevel, LPBYTE pPrinterEnum,
                                DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned) {
    std::unique_lock<std::mutex> lock(m_mutex);
    SpoolerCall call{SpoolerFunction::EnumPrinters};
    call.optName = CopyText(pszName);
    call.dwFlags = dwFlags;
    call.dwLevel = dwLevel;
    call.cbBuf = cbBuf;
    call.bBufferNull = pPrinterEnum == nullptr;
    size_t nCall = m_nEnumCalls++;

    if (!pcbNeeded || !pcReturned)
        return Finish(lock, call, FALSE, ERROR_INVALID_PARAMETER);
    *pcbNeeded = 0;
    *pcReturned = 0;
    if (m_dwEnumError != 0 && (!m_optEnumFailCall || *m_optEnumFailCall == nCall))
        return Finish(lock, call, FALSE, m_dwEnumError);
    if (dwLevel != 2)
        return Finish(lock, call, FALSE, ERROR_INVALID_LEVEL);

    std::vector<const FakePrinter*> listed;
    DWORD cbNeeded = 0;
    if (dwFlags & PRINTER_ENUM_LOCAL) {
        for (const FakePrinter& printer : m_printers) {
            listed.push_back(&printer);
            cbNeeded += RecordSize(printer);
        }
    }
    *pcbNeeded = cbNeeded;
    call.cbNeeded = cbNeeded;
    if (cbNeeded > 0 && (!pPrinterEnum || cbBuf < cbNeeded))
        return Finish(lock, call, FALSE, ERROR_INSUFFICIENT_BUFFER);
    if (cbNeeded > 0)
        WriteRecords(listed, pPrinterEnum);
    *pcReturned = static_cast<DWORD>(listed.size());
    return Finish(lock, call, TRUE, 0);
}

BOOL FakeSpooler::OpenPrinterA(LPSTR pszPrinterName, LPHANDLE phPrinter,
                               LPPRINTER_DEFAULTSA pDefault) {
    std::unique_lock<std::mutex> lock(m_mutex);
    SpoolerCall call{SpoolerFunction::OpenPrinter};
    call.optName = CopyText(pszPrinterName);
    call.bDefaultsNull = pDefault == nullptr;

    if (!phPrinter)
        return Finish(lock, call, FALSE, ERROR_INVALID_PARAMETER);
    if (m_dwOpenError != 0)
        return Finish(lock, call, FALSE, m_dwOpenError);
    auto it = std::find_if(m_printers.begin(), m_printers.end(), [&](const FakePrinter& p) {
        return pszPrinterName && p.optName == std::string(pszPrinterName);
    });
    if (it == m_printers.end())
        return Finish(lock, call, FALSE, ERROR_INVALID_PRINTER_NAME);

    HANDLE hPrinter = reinterpret_cast<HANDLE>(m_nNextHandle);
    m_nNextHandle += 4;
    m_handles[hPrinter] = OpenHandle{static_cast<size_t>(it - m_printers.begin()), {}};
    *phPrinter = hPrinter;
    call.hPrinter = hPrinter;
    return Finish(lock, call, TRUE, 0);
}

BOOL FakeSpooler::GetPrinterA(HANDLE hPrinter, DWORD dwLevel, LPBYTE pPrinter, DWORD cbBuf,
                              LPDWORD pcbNeeded) {
    std::unique_lock<std::mutex> lock(m_mutex);
    SpoolerCall call{SpoolerFunction::GetPrinter};
    call.hPrinter = hPrinter;
    call.dwLevel = dwLevel;
    call.cbBuf = cbBuf;
    call.bBufferNull = pPrinter == nullptr;

    OpenHandle* pHandle = FindHandle(hPrinter);
    if (!pHandle)
        return Finish(lock, call, FALSE, ERROR_INVALID_HANDLE);
    if (!pcbNeeded)
        return Finish(lock, call, FALSE, ERROR_INVALID_PARAMETER);
    if (dwLevel != 2)
        return Finish(lock, call, FALSE, ERROR_INVALID_LEVEL);
    const FakePrinter& printer = m_printers[pHandle->nPrinter];
    DWORD cbNeeded = RecordSize(printer);
    *pcbNeeded = cbNeeded;
    call.cbNeeded = cbNeeded;
    bool bFits = pPrinter && cbBuf >= cbNeeded;
    if (printer.dwGetPrinterError != 0 && (bFits || !printer.bOnlyReadFails))
        return Finish(lock, call, FALSE, printer.dwGetPrinterError);
    if (!bFits)
        return Finish(lock, call, FALSE, ERROR_INSUFFICIENT_BUFFER);
    WriteRecords({&printer}, pPrinter);
    return Finish(lock, call, TRUE, 0);
}

BOOL FakeSpooler::ClosePrinter(HANDLE hPrinter) {
    std::unique_lock<std::mutex> lock(m_mutex);
    SpoolerCall call{SpoolerFunction::ClosePrinter};
    call.hPrinter = hPrinter;
    if (m_handles.erase(hPrinter) == 0)
        return Finish(lock, call, FALSE, ERROR_INVALID_HANDLE);
    return Finish(lock, call, TRUE, 0);
}

DWORD FakeSpooler::StartDocPrinterA(HANDLE hPrinter, DWORD dwLevel, LPBYTE pDocInfo) {
    std::unique_lock<std::mutex> lock(m_mutex);
    SpoolerCall call{SpoolerFunction::StartDocPrinter};
    call.hPrinter = hPrinter;
    call.dwLevel = dwLevel;
    const auto* pInfo = reinterpret_cast<const DOC_INFO_1A*>(pDocInfo);
    if (pInfo && dwLevel == 1) {
        call.optDocName = CopyText(pInfo->pDocName);
        call.optOutputFile = CopyText(pInfo->pOutputFile);
        call.optDatatype = CopyText(pInfo->pDatatype);
    }

    OpenHandle* pHandle = FindHandle(hPrinter);
    if (!pHandle)
        return Finish(lock, call, 0, ERROR_INVALID_HANDLE);
    if (dwLevel != 1)
        return Finish(lock, call, 0, ERROR_INVALID_LEVEL);
    if (!pInfo)
        return Finish(lock, call, 0, ERROR_INVALID_PARAMETER);
    if (pHandle->optDocument)
        return Finish(lock, call, 0, ERROR_INVALID_PRINTER_STATE);
    if (m_dwStartDocError != 0)
        return Finish(lock, call, 0, m_dwStartDocError);

    FakeDocument document;
    document.hPrinter = hPrinter;
    document.optDocName = call.optDocName;
    document.optOutputFile = call.optOutputFile;
    document.optDatatype = call.optDatatype;
    pHandle->optDocument = m_documents.size();
    m_documents.push_back(document);
    return Finish(lock, call, m_nNextJobId++, 0);
}

BOOL FakeSpooler::StartPagePrinter(HANDLE hPrinter) {
    std::unique_lock<std::mutex> lock(m_mutex);
    SpoolerCall call{SpoolerFunction::StartPagePrinter};
    call.hPrinter = hPrinter;
    OpenHandle* pHandle = FindHandle(hPrinter);
    if (!pHandle)
        return Finish(lock, call, FALSE, ERROR_INVALID_HANDLE);
    if (!pHandle->optDocument)
        return Finish(lock, call, FALSE, ERROR_SPL_NO_STARTDOC);
    if (m_dwStartPageError != 0)
        return Finish(lock, call, FALSE, m_dwStartPageError);
    ++m_documents[*pHandle->optDocument].nPagesStarted;
    return Finish(lock, call, TRUE, 0);
}

BOOL FakeSpooler::WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten) {
    std::unique_lock<std::mutex> lock(m_mutex);
    size_t nCall = m_nWriteCalls++;
    if (m_blockedWrites.erase(nCall) != 0) {
        // Wait outside the lock so the test can look at the calls so far meanwhile.
        lock.unlock();
        SetEvent(m_hWriteEntered.Get());
        HANDLE releases[] = {m_hWriteRelease.Get(), m_hAllReleased.Get()};
        WaitForMultipleObjects(2, releases, FALSE, INFINITE);
        lock.lock();
    }

    SpoolerCall call{SpoolerFunction::WritePrinter};
    call.hPrinter = hPrinter;
    call.cbBuf = cbBuf;
    call.bBufferNull = pBuf == nullptr;
    if (pBuf)
        call.strBytes.assign(static_cast<const char*>(pBuf), cbBuf);

    if (!pcWritten)
        return Finish(lock, call, FALSE, ERROR_INVALID_PARAMETER);
    *pcWritten = 0;
    OpenHandle* pHandle = FindHandle(hPrinter);
    if (!pHandle)
        return Finish(lock, call, FALSE, ERROR_INVALID_HANDLE);
    if (!pHandle->optDocument)
        return Finish(lock, call, FALSE, ERROR_SPL_NO_STARTDOC);
    if (!pBuf && cbBuf > 0)
        return Finish(lock, call, FALSE, ERROR_INVALID_PARAMETER);
    auto itError = m_writeErrors.find(nCall);
    if (itError != m_writeErrors.end())
        return Finish(lock, call, FALSE, itError->second);

    DWORD cbAccepted = cbBuf;
    auto itShort = m_shortWrites.find(nCall);
    if (itShort != m_shortWrites.end())
        cbAccepted = std::min(cbBuf, itShort->second);
    m_documents[*pHandle->optDocument].strBytes.append(call.strBytes, 0, cbAccepted);
    *pcWritten = cbAccepted;
    call.dwWritten = cbAccepted;
    return Finish(lock, call, TRUE, 0);
}

BOOL FakeSpooler::EndPagePrinter(HANDLE hPrinter) {
    std::unique_lock<std::mutex> lock(m_mutex);
    SpoolerCall call{SpoolerFunction::EndPagePrinter};
    call.hPrinter = hPrinter;
    OpenHandle* pHandle = FindHandle(hPrinter);
    if (!pHandle)
        return Finish(lock, call, FALSE, ERROR_INVALID_HANDLE);
    if (!pHandle->optDocument)
        return Finish(lock, call, FALSE, ERROR_SPL_NO_STARTDOC);
    if (m_dwEndPageError != 0)
        return Finish(lock, call, FALSE, m_dwEndPageError);
    ++m_documents[*pHandle->optDocument].nPagesEnded;
    return Finish(lock, call, TRUE, 0);
}

BOOL FakeSpooler::EndDocPrinter(HANDLE hPrinter) {
    std::unique_lock<std::mutex> lock(m_mutex);
    SpoolerCall call{SpoolerFunction::EndDocPrinter};
    call.hPrinter = hPrinter;
    OpenHandle* pHandle = FindHandle(hPrinter);
    if (!pHandle)
        return Finish(lock, call, FALSE, ERROR_INVALID_HANDLE);
    if (!pHandle->optDocument)
        return Finish(lock, call, FALSE, ERROR_SPL_NO_STARTDOC);
    m_documents[*pHandle->optDocument].bEnded = true;
    pHandle->optDocument.reset();
    if (m_dwEndDocError != 0)
        return Finish(lock, call, FALSE, m_dwEndDocError);
    return Finish(lock, call, TRUE, 0);
}

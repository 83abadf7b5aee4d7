#include "engine/PrinterDiscoveryWin.h"

#include "config/RegistryPaths.h"
#include "engine/PrinterDiscovery.h"
#include "framework/Handle.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "framework/SystemMessage.h"
#include "res/resource.h"

#include <cstring>
#include <utility>
#include <vector>

char g_szPrinterName[256];
HANDLE g_hPrinter;

namespace {

constexpr DWORD PORT_NAME_SIZE = 256;

// True when the text and its terminator fit a buffer of cbBuffer bytes.
bool Fits(const char* pszText, size_t cbBuffer) {
    return pszText && std::strlen(pszText) < cbBuffer;
}

PrinterRecord ToRecord(const PRINTER_INFO_2A& info) {
    return {info.pPrinterName, info.pPortName, info.pDriverName, info.Status};
}

} // namespace

BOOL ReadPortName(char* pszBuffer) {
    pszBuffer[0] = '\0';
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, 0, KEY_QUERY_VALUE, key.Receive()) ==
        ERROR_SUCCESS) {
        DWORD dwType = 0;
        DWORD cbData = PORT_NAME_SIZE;
        LONG lResult = RegQueryValueExA(key.Get(), "PortName", nullptr, &dwType,
                                        reinterpret_cast<BYTE*>(pszBuffer), &cbData);
        if (lResult != ERROR_SUCCESS || dwType != REG_SZ)
            pszBuffer[0] = '\0';
        else if (cbData < PORT_NAME_SIZE)
            pszBuffer[cbData] = '\0';
        else if (!std::memchr(pszBuffer, '\0', PORT_NAME_SIZE))
            pszBuffer[0] = '\0'; // stored without terminator and too long for the buffer
    }
    if (pszBuffer[0] != '\0')
        return TRUE;
    if (!Fits(DEFAULT_PORT_NAME, PORT_NAME_SIZE))
        return FALSE;
    std::strcpy(pszBuffer, DEFAULT_PORT_NAME);
    return TRUE;
}

void FindConverterPrinter() {
    char szPortName[PORT_NAME_SIZE];
    const char* pszPortName = ReadPortName(szPortName) ? szPortName : nullptr;

    Spooler& spooler = TheSpooler();
    DWORD cbNeeded = 0;
    DWORD nReturned = 0;
    if (!spooler.EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &cbNeeded, &nReturned) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return;

    HeapBlock buffer(cbNeeded);
    if (!buffer.Get())
        return;
    nReturned = 0;
    if (!spooler.EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.Get(), buffer.Size(),
                               &cbNeeded, &nReturned) ||
        nReturned == 0)
        return;

    // Never walk past the buffer, whatever count comes back.
    DWORD nRecords = nReturned;
    if (nRecords > buffer.Size() / sizeof(PRINTER_INFO_2A))
        nRecords = buffer.Size() / sizeof(PRINTER_INFO_2A);
    const auto* pInfo = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.Get());
    std::vector<PrinterRecord> records;
    records.reserve(nRecords);
    for (DWORD i = 0; i < nRecords; ++i)
        records.push_back(ToRecord(pInfo[i]));

    size_t nStart = 0;
    while (nStart < records.size()) {
        int nFound =
            FindConverterRecord(records.data() + nStart, records.size() - nStart, pszPortName);
        if (nFound < 0)
            return;
        const char* pszName = records[nStart + nFound].pszPrinterName;
        if (Fits(pszName, sizeof g_szPrinterName) && pszName[0] != '\0') {
            std::strcpy(g_szPrinterName, pszName);
            return;
        }
        nStart += static_cast<size_t>(nFound) + 1;
    }
}

bool SetPrinterName(const std::string& strName) {
    if (strName.size() >= sizeof g_szPrinterName)
        return false;
    std::memcpy(g_szPrinterName, strName.c_str(), strName.size() + 1);
    return true;
}

PrinterHandle OpenConverterPrinter() {
    HANDLE hPrinter = nullptr;
    if (!TheSpooler().OpenPrinterA(g_szPrinterName, &hPrinter, nullptr))
        return PrinterHandle();
    return PrinterHandle(hPrinter);
}

PrinterCheck CheckPrinterReady() {
    PrinterCheck check{PrinterCheck::OpenFailed, 0, {}, OpenConverterPrinter()};
    if (!check.printer.IsValid()) {
        check.strErrorText = SystemErrorText(GetLastError(), 255);
        return check;
    }

    Spooler& spooler = TheSpooler();
    check.eOutcome = PrinterCheck::NotReady;
    check.nMessageId = IDS_PRINTER_ERROR; // until the status is read
    DWORD cbNeeded = 0;
    if (!spooler.GetPrinterA(check.printer.Get(), 2, nullptr, 0, &cbNeeded) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return check;
    if (cbNeeded < sizeof(PRINTER_INFO_2A))
        return check;
    HeapBlock record(cbNeeded);
    if (!record.Get() ||
        !spooler.GetPrinterA(check.printer.Get(), 2, record.Get(), record.Size(), &cbNeeded))
        return check;

    DWORD dwStatus = reinterpret_cast<const PRINTER_INFO_2A*>(record.Get())->Status;
    int nMessageId = PrinterStatusMessage(dwStatus);
    check.eOutcome = nMessageId == 0 ? PrinterCheck::Ready : PrinterCheck::NotReady;
    check.nMessageId = static_cast<UINT>(nMessageId);
    return check;
}

PrinterHandle OpenReadyPrinter(bool bTopmostNotice) {
    PrinterCheck check = CheckPrinterReady();
    if (check.eOutcome == PrinterCheck::Ready)
        return std::move(check.printer);
    const UINT nFlags = MB_TASKMODAL | MB_ICONERROR;
    if (check.eOutcome == PrinterCheck::OpenFailed) {
        ShowMessageBox(nullptr, check.strErrorText, LoadResourceString(IDS_CAPTION), nFlags);
    } else {
        check.printer.Close();
        ShowMessageBox(nullptr, LoadResourceString(check.nMessageId),
                       LoadResourceString(IDS_CAPTION),
                       bTopmostNotice ? nFlags | MB_TOPMOST : nFlags);
    }
    return PrinterHandle();
}

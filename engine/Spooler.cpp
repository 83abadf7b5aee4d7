#include "engine/Spooler.h"

namespace {

// Passes every call straight to winspool.
class WinSpooler final : public Spooler {
public:
    BOOL EnumPrintersA(DWORD dwFlags, LPSTR pszName, DWORD dwLevel, LPBYTE pPrinterEnum,
                       DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned) override {
        return ::EnumPrintersA(dwFlags, pszName, dwLevel, pPrinterEnum, cbBuf, pcbNeeded,
                               pcReturned);
    }
    BOOL OpenPrinterA(LPSTR pszPrinterName, LPHANDLE phPrinter,
                      LPPRINTER_DEFAULTSA pDefault) override {
        return ::OpenPrinterA(pszPrinterName, phPrinter, pDefault);
    }
    BOOL GetPrinterA(HANDLE hPrinter, DWORD dwLevel, LPBYTE pPrinter, DWORD cbBuf,
                     LPDWORD pcbNeeded) override {
        return ::GetPrinterA(hPrinter, dwLevel, pPrinter, cbBuf, pcbNeeded);
    }
    BOOL ClosePrinter(HANDLE hPrinter) override { return ::ClosePrinter(hPrinter); }
    DWORD StartDocPrinterA(HANDLE hPrinter, DWORD dwLevel, LPBYTE pDocInfo) override {
        return ::StartDocPrinterA(hPrinter, dwLevel, pDocInfo);
    }
    BOOL StartPagePrinter(HANDLE hPrinter) override { return ::StartPagePrinter(hPrinter); }
    BOOL WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten) override {
        return ::WritePrinter(hPrinter, pBuf, cbBuf, pcWritten);
    }
    BOOL EndPagePrinter(HANDLE hPrinter) override { return ::EndPagePrinter(hPrinter); }
    BOOL EndDocPrinter(HANDLE hPrinter) override { return ::EndDocPrinter(hPrinter); }
};

WinSpooler g_winSpooler;
Spooler* g_pSpooler = &g_winSpooler;

} // namespace

Spooler& TheSpooler() {
    return *g_pSpooler;
}

void SetSpooler(Spooler* pSpooler) {
    g_pSpooler = pSpooler ? pSpooler : &g_winSpooler;
}

void ClosePrinterHandle(HANDLE hPrinter) {
    g_pSpooler->ClosePrinter(hPrinter);
}

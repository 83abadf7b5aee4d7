// The print spooler seam: the winspool calls the program makes, behind one interface so
// tests can stand in any printers, statuses and write behaviour.
#pragma once

#include "framework/Handle.h"

#include <windows.h>
#include <winspool.h>

class Spooler {
public:
    virtual ~Spooler() = default;

    virtual BOOL EnumPrintersA(DWORD dwFlags, LPSTR pszName, DWORD dwLevel, LPBYTE pPrinterEnum,
                               DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned) = 0;
    virtual BOOL OpenPrinterA(LPSTR pszPrinterName, LPHANDLE phPrinter,
                              LPPRINTER_DEFAULTSA pDefault) = 0;
    virtual BOOL GetPrinterA(HANDLE hPrinter, DWORD dwLevel, LPBYTE pPrinter, DWORD cbBuf,
                             LPDWORD pcbNeeded) = 0;
    virtual BOOL ClosePrinter(HANDLE hPrinter) = 0;
    virtual DWORD StartDocPrinterA(HANDLE hPrinter, DWORD dwLevel, LPBYTE pDocInfo) = 0;
    virtual BOOL StartPagePrinter(HANDLE hPrinter) = 0;
    virtual BOOL WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten) = 0;
    virtual BOOL EndPagePrinter(HANDLE hPrinter) = 0;
    virtual BOOL EndDocPrinter(HANDLE hPrinter) = 0;
};

// The spooler in use: winspool itself unless a test installed another.
Spooler& TheSpooler();

// Installs a stand-in (null restores winspool). The caller keeps ownership.
void SetSpooler(Spooler* pSpooler);

// ClosePrinter through the spooler in use.
void ClosePrinterHandle(HANDLE hPrinter);

// An open printer, owned by whoever opened it.
using PrinterHandle = UniqueResource<HANDLE, &ClosePrinterHandle>;

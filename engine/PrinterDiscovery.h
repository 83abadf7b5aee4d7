// Finding the converter queue among the local printers, and opening it for a job once the
// spooler reports it ready. Every spooler call goes through TheSpooler().
#pragma once

#include <windows.h>

#include <string>

// Name of the converter queue; empty when none was found. Set once during start-up.
extern char g_szPrinterName[256];

// The converter queue opened for the job under way; one job at a time.
extern HANDLE g_hPrinter;

// Fills the 256-byte buffer with the configured port name ("PortName" under the
// Configuration key, REG_SZ only) or the default port. Shows no message.
BOOL ReadPortName(char* pszBuffer);

// Fills g_szPrinterName with the name of the first local printer that uses the
// converter's driver or the configured port, or leaves it empty. A printer whose name
// does not fit g_szPrinterName could not be opened by its name and is passed over.
void FindConverterPrinter();

// Takes a printer named on the command line. A name longer than 255 characters would
// have to be cut short, so it is refused: false, and g_szPrinterName stays as it was.
bool SetPrinterName(const std::string& strName);

// Closes g_hPrinter (when open) and forgets it.
void CloseConverterPrinter();

struct PrinterCheck {
    enum Outcome { OpenFailed, NotReady, Ready };

    Outcome eOutcome;
    UINT nMessageId;          // NotReady: string 15, 16 or 17
    std::string strErrorText; // OpenFailed: the system's text for the OpenPrinterA error
};

// Opens g_szPrinterName into g_hPrinter and tests its status. On OpenFailed g_hPrinter
// is null. On NotReady and Ready the handle is open and the caller closes it with
// ClosePrinter when it is done (at once on NotReady). A status record that cannot be
// read counts as not ready with string 17.
PrinterCheck CheckPrinterReady();

// Finding the converter queue among the local printers, and opening it for a job once the
// spooler reports it ready. Every spooler call goes through TheSpooler(). The Win32 side of
// PrinterDiscovery.h, which matches the records and maps the status.
#pragma once

#include "engine/Spooler.h"

#include <windows.h>

#include <string>

// Name of the converter queue; empty when none was found. Set once during start-up.
extern char g_szPrinterName[256];

// The converter queue opened for the job under way, one job at a time; null between jobs.
// Only a view: whoever started the job owns the handle (JobPrinterView).
extern HANDLE g_hPrinter;

// Shows an open printer as g_hPrinter while the object lives.
class JobPrinterView {
public:
    explicit JobPrinterView(const PrinterHandle& printer) { g_hPrinter = printer.Get(); }
    ~JobPrinterView() { g_hPrinter = nullptr; }
    JobPrinterView(const JobPrinterView&) = delete;
    JobPrinterView& operator=(const JobPrinterView&) = delete;
};

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

// Opens g_szPrinterName; an invalid handle when it does not open (GetLastError says why).
PrinterHandle OpenConverterPrinter();

struct PrinterCheck {
    enum Outcome { OpenFailed, NotReady, Ready };

    Outcome eOutcome;
    UINT nMessageId;          // NotReady: string 15, 16 or 17
    std::string strErrorText; // OpenFailed: the system's text for the OpenPrinterA error
    PrinterHandle printer;    // NotReady and Ready: the open printer
};

// Opens g_szPrinterName and tests its status. A status record that cannot be read counts
// as not ready with string 17.
PrinterCheck CheckPrinterReady();

// The printer check of a job's starter: the open printer when it is ready. Otherwise an
// invalid handle, and the user has been told why in a box with caption 13: the system's
// text when the printer did not open; else string 15, 16 or 17, after the printer was
// closed again, in a topmost box when bTopmostNotice.
PrinterHandle OpenReadyPrinter(bool bTopmostNotice);

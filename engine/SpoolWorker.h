// SpoolWorker: the thread that sends one input file as a raw print job to the converter
// queue, with progress, Pause and Cancel, and tells its starter when the job has ended.
#pragma once

#include <windows.h>

// Handed to the worker by its starter, who keeps it alive until it has been signalled.
struct SpoolJob {
    const char* m_pszInputPath;
    const char* m_pszOutputName; // goes into the job ticket
    HANDLE m_hDoneSemaphore;     // null: WM_CLOSE to g_pProgressOwner instead
};

// Thread procedure; pJob is a SpoolJob*. g_hPrinter must be open, and g_pProgressOwner
// and g_pProgressBar set. Always returns 0.
DWORD WINAPI SpoolWorker(LPVOID pJob);

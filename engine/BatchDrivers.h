// The batch threads of the converter window: dropped files and the File > Open choice,
// converted one after the other, each by one spool worker.
#pragma once

#include <windows.h>

#include <atomic>

// Receives the File > Open choice; the input path of the Open batch while it runs.
extern char g_szOpenFileName[256];

// Set by the window when it starts a batch thread, cleared by the thread once the window
// is back to Idle: from then on the next batch may start.
extern std::atomic<bool> g_bBatchRunning;

// Thread procedure; pParam is the HDROP of WM_DROPFILES, released when the batch ends.
// Returns 1 when the batch ran, 0 when it stopped on a failure: the printer, or a job that
// could not be started.
DWORD WINAPI ConvertDroppedFiles(LPVOID pParam);

// Thread procedure; pParam is the input path (g_szOpenFileName). Returns as above.
DWORD WINAPI ConvertOpenedFile(LPVOID pParam);

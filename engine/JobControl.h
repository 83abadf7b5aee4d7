// The state one job shares between the window that runs it and the spool worker: the
// Pause and Cancel requests, the end of the job, and where progress goes.
#pragma once

#include <atomic>

class CWnd;
class CProgressCtrl;

// Written by one thread and polled by another without locks, hence atomics.
extern std::atomic<bool> g_bPauseRequested;
extern std::atomic<bool> g_bCancelRequested;
extern std::atomic<bool> g_bJobFinished;
// Set by the spool worker while it holds its job for a pause, before its next read or
// write, or while it waits for another program's document to leave the spooler: nothing
// reaches the spooler meanwhile.
extern std::atomic<bool> g_bJobHeld;

// The window that runs conversions (receives WM_CLOSE in single-file mode) and its
// progress bar (0 to 100). Set by the window's initialisation.
extern std::atomic<CWnd*> g_pProgressOwner;
extern std::atomic<CProgressCtrl*> g_pProgressBar;

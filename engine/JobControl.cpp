#include "engine/JobControl.h"

std::atomic<bool> g_bPauseRequested{false};
std::atomic<bool> g_bCancelRequested{false};
std::atomic<bool> g_bJobFinished{false};
std::atomic<bool> g_bJobHeld{false};
std::atomic<CWnd*> g_pProgressOwner{nullptr};
std::atomic<CProgressCtrl*> g_pProgressBar{nullptr};

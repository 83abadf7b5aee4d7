#include "ui/JobButtons.h"

#include "engine/JobControl.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "framework/Wnd.h"
#include "res/resource.h"

void OnPauseJob(CWnd& window) {
    bool bPaused = !g_bPauseRequested;
    g_bPauseRequested = bPaused;
    window.SetDlgItemText(IDC_PAUSE, LoadResourceString(bPaused ? IDS_RESUME : IDS_PAUSE));
}

void OnCancelJob(CWnd& window) {
    bool bWasPaused = g_bPauseRequested;
    g_bPauseRequested = true;
    SoundBeep(MB_ICONEXCLAMATION);
    if (ShowMessageBox(window.m_hWnd, LoadResourceString(IDS_CANCEL_QUESTION),
                       LoadResourceString(IDS_CANCEL_CAPTION),
                       MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
        g_bCancelRequested = true;
    g_bPauseRequested = bWasPaused;
}

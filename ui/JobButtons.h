// The Pause and Cancel buttons of the windows that run conversions.
#pragma once

class CWnd;

// Toggles the pause request and shows "&Weiter" or "&Pause" on the window's button 1006.
void OnPauseJob(CWnd& window);

// Holds the transfer while it asks whether to cancel; a Yes requests the cancel. The pause
// state is what it was before.
void OnCancelJob(CWnd& window);

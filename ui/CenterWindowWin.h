// Centring the program's windows on the primary screen: the Win32 side of CenterWindow.h.
#pragma once

#include <windows.h>

// Moves the window so it is centred on the primary screen, keeping its size and Z order
// and without activating it.
void CenterWindowOnScreen(HWND hWnd);

// Waiting, from a test's helper thread, for a dialog of the program to be on screen.
#pragma once

#include <windows.h>

// The visible dialog with this caption, or null when none came up within 10 s.
inline HWND WaitForWindow(const char* pszCaption) {
    for (int i = 0; i < 400; ++i, Sleep(25)) {
        HWND hWnd = FindWindowA("#32770", pszCaption);
        if (hWnd && IsWindowVisible(hWnd))
            return hWnd;
    }
    return nullptr;
}

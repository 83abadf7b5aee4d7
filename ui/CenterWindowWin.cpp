#include "ui/CenterWindowWin.h"

#include "ui/CenterWindow.h"

void CenterWindowOnScreen(HWND hWnd) {
    RECT rc;
    if (!GetWindowRect(hWnd, &rc))
        return;
    ScreenPoint origin =
        CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                       rc.right - rc.left, rc.bottom - rc.top);
    SetWindowPos(hWnd, nullptr, origin.x, origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// QuillonSetup.dll: the custom action that ends the session program QuillonMonitor.exe
// before the package removes it, as the session's end would: its hidden window is told to
// close. Run immediate, in the installing user's session, where the window is.
#include <windows.h>
#include <msi.h>

extern "C" __declspec(dllexport) UINT __stdcall StopMonitor(MSIHANDLE) {
    HWND hWnd = FindWindowW(L"VeltraneQuillonSitzung", nullptr);
    if (!hWnd)
        return ERROR_SUCCESS;
    PostMessageW(hWnd, WM_CLOSE, 0, 0);
    // A dialog the program shows keeps it a moment; the removal goes on after 10 s anyway.
    for (int i = 0; i < 100 && IsWindow(hWnd); ++i)
        Sleep(100);
    return ERROR_SUCCESS;
}

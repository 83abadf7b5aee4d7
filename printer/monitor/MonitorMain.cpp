// QuillonMonitor.exe, the printer product's program in the user's session. The printer
// side (a CUPS backend, outside Windows) cannot show anything: it leaves questions and
// messages in the session folder, and this program asks the user where to save a PDF and
// tells of failed conversions. It has no window of its own until it has something to show,
// and one instance runs per Wine prefix and user (the folder's lock); a second one ends at
// once.
//   QuillonMonitor.exe [FOLDER]   FOLDER: another session folder than the prefix's own
#include "printer/monitor/SessionFolder.h"
#include "printer/monitor/SessionMonitor.h"

#include <windows.h>
#include <shellapi.h>

namespace {

const wchar_t WINDOW_CLASS[] = L"VeltraneQuillonSitzung";

// Called for the hidden window's messages: it is there to be told to close (at the
// session's end, or by an installer).
LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_ENDSESSION:
        if (wParam)
            DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
}

HWND CreateHiddenWindow(HINSTANCE hInstance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = hInstance;
    windowClass.lpszClassName = WINDOW_CLASS;
    if (!RegisterClassW(&windowClass))
        return nullptr;
    return CreateWindowExW(0, WINDOW_CLASS, L"Veltrane Quillon", WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, hInstance, nullptr);
}

std::wstring FolderFromCommandLine() {
    int nArgs = 0;
    LPWSTR* ppszArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    std::wstring strFolder = ppszArgs && nArgs > 1 ? ppszArgs[1] : SessionFolder::DefaultPath();
    LocalFree(ppszArgs);
    return strFolder;
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    SessionFolder folder(FolderFromCommandLine());
    if (!folder.Lock())
        return 0;
    const HWND hWnd = CreateHiddenWindow(hInstance);
    if (!hWnd)
        return 1;
    // Looked at when the folder changes, and every second besides: a change noticed while
    // a dialog was open is not lost.
    const HANDLE hChange =
        FindFirstChangeNotificationW(folder.Path().c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    SessionMonitor monitor(folder, hWnd);
    for (;;) {
        monitor.HandlePending();
        const DWORD dwWoken =
            hChange == INVALID_HANDLE_VALUE
                ? MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT)
                : MsgWaitForMultipleObjects(1, &hChange, FALSE, 1000, QS_ALLINPUT);
        if (dwWoken == WAIT_OBJECT_0 && hChange != INVALID_HANDLE_VALUE)
            FindNextChangeNotification(hChange);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                if (hChange != INVALID_HANDLE_VALUE)
                    FindCloseChangeNotification(hChange);
                return 0;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// Shows one dialog template of a program without running any of the program's code, so
// its layout can be looked at or photographed, with the common controls the program's own
// manifest asks for:
//   ShowDialog <module.exe> <dialog id> [seconds]
// The dialog stays up, modeless and with its texts as the template holds them, for the
// given number of seconds (5 by default), or until it is cancelled (Escape, the close box,
// or a command IDCANCEL sent to it); then the tool ends with exit code 0.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The module, mapped for its resources only.
class DataModule {
public:
    explicit DataModule(const char* pszPath)
        : m_hModule(LoadLibraryExA(pszPath, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~DataModule() {
        if (m_hModule)
            FreeLibrary(m_hModule);
    }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    HMODULE Get() const { return m_hModule; }

private:
    HMODULE m_hModule;
};

// The program's manifest made active for this thread, so its dialogs get the controls
// the program gets; nothing when the program has no manifest.
class ProgramManifest {
public:
    explicit ProgramManifest(const char* pszPath) {
        ACTCTXA context{};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = pszPath;
        context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        m_hContext = CreateActCtxA(&context);
        if (m_hContext != INVALID_HANDLE_VALUE && !ActivateActCtx(m_hContext, &m_nCookie)) {
            ReleaseActCtx(m_hContext);
            m_hContext = INVALID_HANDLE_VALUE;
        }
    }
    ~ProgramManifest() {
        if (m_hContext == INVALID_HANDLE_VALUE)
            return;
        DeactivateActCtx(0, m_nCookie);
        ReleaseActCtx(m_hContext);
    }
    ProgramManifest(const ProgramManifest&) = delete;
    ProgramManifest& operator=(const ProgramManifest&) = delete;

private:
    HANDLE m_hContext = INVALID_HANDLE_VALUE;
    ULONG_PTR m_nCookie = 0;
};

class DialogWindow {
public:
    explicit DialogWindow(HWND hWnd) : m_hWnd(hWnd) {}
    ~DialogWindow() {
        if (m_hWnd)
            DestroyWindow(m_hWnd);
    }
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

// Buttons do nothing but cancel: the dialog is only on show. WM_INITDIALOG returns TRUE
// so the system gives the first control the focus, as for the real dialog.
INT_PTR CALLBACK ShowDialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        PostQuitMessage(0);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

bool ParseNumber(const char* pszText, unsigned long& value) {
    char* pEnd = nullptr;
    value = std::strtoul(pszText, &pEnd, 10);
    return *pszText != '\0' && *pEnd == '\0';
}

void CenterOnWorkArea(HWND hWnd) {
    RECT rcWork{}, rcWindow{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    GetWindowRect(hWnd, &rcWindow);
    int x = (rcWork.left + rcWork.right - (rcWindow.right - rcWindow.left)) / 2;
    int y = (rcWork.top + rcWork.bottom - (rcWindow.bottom - rcWindow.top)) / 2;
    SetWindowPos(hWnd, nullptr, x > 0 ? x : 0, y > 0 ? y : 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

int main(int argc, char** argv) {
    unsigned long nDialogId = 0;
    unsigned long nSeconds = 5;
    if (argc < 3 || argc > 4 || !ParseNumber(argv[2], nDialogId) || nDialogId == 0 ||
        nDialogId > 0xFFFF ||
        (argc == 4 && (!ParseNumber(argv[3], nSeconds) || nSeconds > 86400))) {
        std::fprintf(stderr, "usage: ShowDialog <module.exe> <dialog id> [seconds]\n");
        return 2;
    }

    DataModule module(argv[1]);
    if (!module.Get()) {
        std::fprintf(stderr, "ShowDialog: cannot load %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }

    ProgramManifest manifest(argv[1]);
    // The templates use the progress bar class, which lives in the common controls.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    DialogWindow dialog(CreateDialogParamA(
        module.Get(), MAKEINTRESOURCEA(static_cast<WORD>(nDialogId)), nullptr, ShowDialogProc, 0));
    if (!dialog.Get()) {
        std::fprintf(stderr, "ShowDialog: cannot create dialog %lu (error %lu)\n", nDialogId,
                     GetLastError());
        return 1;
    }
    CenterOnWorkArea(dialog.Get());
    ShowWindow(dialog.Get(), SW_SHOWNORMAL);
    SetForegroundWindow(dialog.Get()); // an active title bar, as the user sees it
    UpdateWindow(dialog.Get());
    std::printf("ShowDialog: dialog %lu shown\n", nDialogId);
    std::fflush(stdout);

    UINT_PTR nTimer = SetTimer(nullptr, 0, static_cast<UINT>(nSeconds * 1000), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == nTimer)
            break;
        if (!IsDialogMessageA(dialog.Get(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    KillTimer(nullptr, nTimer);
    return 0;
}

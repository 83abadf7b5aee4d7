#include "ui/ShellCalls.h"

#include <shellapi.h>

#include <utility>

namespace {
ShellOpenHook g_shellOpenHook;
WinHelpHook g_winHelpHook;
LoadAppletLibraryHook g_loadAppletLibraryHook;
} // namespace

HINSTANCE ShellOpen(const char* pszFile) {
    if (g_shellOpenHook)
        return g_shellOpenHook(pszFile);
    return ShellExecuteA(nullptr, "open", pszFile, nullptr, nullptr, SW_SHOWNORMAL);
}

BOOL CallWinHelp(HWND hWnd, const char* pszHelpFile, UINT uCommand, ULONG_PTR dwData) {
    if (g_winHelpHook)
        return g_winHelpHook(hWnd, pszHelpFile, uCommand, dwData);
    return WinHelpA(hWnd, pszHelpFile, uCommand, dwData);
}

HMODULE LoadAppletLibrary(const char* pszName) {
    if (g_loadAppletLibraryHook)
        return g_loadAppletLibraryHook(pszName);
    return LoadLibraryA(pszName);
}

ShellOpenHook SetShellOpenHook(ShellOpenHook hook) {
    std::swap(g_shellOpenHook, hook);
    return hook;
}

WinHelpHook SetWinHelpHook(WinHelpHook hook) {
    std::swap(g_winHelpHook, hook);
    return hook;
}

LoadAppletLibraryHook SetLoadAppletLibraryHook(LoadAppletLibraryHook hook) {
    std::swap(g_loadAppletLibraryHook, hook);
    return hook;
}

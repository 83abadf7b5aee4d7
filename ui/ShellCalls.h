// The shell, help and applet calls, each through a hook tests can replace.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

// ShellExecuteA(no owner, "open", pszFile, no parameters, no directory, SW_SHOWNORMAL).
// Above 32 on success.
HINSTANCE ShellOpen(const char* pszFile);

// WinHelpA as it is.
BOOL CallWinHelp(HWND hWnd, const char* pszHelpFile, UINT uCommand, ULONG_PTR dwData);

// LoadLibraryA of the printer product's applet.
HMODULE LoadAppletLibrary(const char* pszName);

// Replacements for tests; an empty function means the real call. Each setter returns
// the hook it replaced.
using ShellOpenHook = std::function<HINSTANCE(const char* pszFile)>;
using WinHelpHook =
    std::function<BOOL(HWND hWnd, const char* pszHelpFile, UINT uCommand, ULONG_PTR dwData)>;
using LoadAppletLibraryHook = std::function<HMODULE(const char* pszName)>;
ShellOpenHook SetShellOpenHook(ShellOpenHook hook);
WinHelpHook SetWinHelpHook(WinHelpHook hook);
LoadAppletLibraryHook SetLoadAppletLibraryHook(LoadAppletLibraryHook hook);

// Installs a hook for the life of the scope and puts back the one it replaced.
template <class Hook, Hook (*Install)(Hook)> class ScopedHook {
public:
    explicit ScopedHook(Hook hook) : m_previous(Install(std::move(hook))) {}
    ~ScopedHook() { Install(std::move(m_previous)); }
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;

private:
    Hook m_previous;
};

using ScopedShellOpen = ScopedHook<ShellOpenHook, SetShellOpenHook>;
using ScopedWinHelp = ScopedHook<WinHelpHook, SetWinHelpHook>;
using ScopedLoadAppletLibrary = ScopedHook<LoadAppletLibraryHook, SetLoadAppletLibraryHook>;

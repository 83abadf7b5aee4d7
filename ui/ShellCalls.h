// The shell, help and applet calls, each through a hook tests can replace.
#pragma once

#include "framework/ScopedHook.h"

#include <windows.h>

#include <functional>

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

using ScopedShellOpen = ScopedHook<ShellOpenHook, SetShellOpenHook>;
using ScopedWinHelp = ScopedHook<WinHelpHook, SetWinHelpHook>;
using ScopedLoadAppletLibrary = ScopedHook<LoadAppletLibraryHook, SetLoadAppletLibraryHook>;

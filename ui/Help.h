// Help: the product's help file in its installation folder, opened by context id.
#pragma once

#include <windows.h>

// WinHelp on "<Install>\Quillon.hlp" with the main window, uCommand and dwData. Does
// nothing when Install is missing (after the registry report), empty of data, or too
// long for the path.
void ShowHelp(ULONG_PTR dwData, UINT uCommand);

// The help command: the active window's context help id, or 1 when it has none.
void OnHelpCommand();

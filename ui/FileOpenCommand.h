// "&Datei" > "Ö&ffnen...": the common open-file dialog, behind a hook so tests can answer it,
// and the batch it starts.
#pragma once

#include "framework/ScopedHook.h"

#include <windows.h>
#include <commdlg.h>

#include <functional>

// GetOpenFileNameA, or the test's stand-in.
BOOL ShowOpenFileDialog(OPENFILENAMEA& ofn);

using OpenFileDialogHook = std::function<BOOL(OPENFILENAMEA& ofn)>;
OpenFileDialogHook SetOpenFileDialogHook(OpenFileDialogHook hook);
using ScopedOpenFileDialog = ScopedHook<OpenFileDialogHook, SetOpenFileDialogHook>;

// "&Datei" > "Ö&ffnen...": asks for one PostScript file for the converter window and
// starts its batch; nothing happens when the user cancels.
void OnFileOpen();

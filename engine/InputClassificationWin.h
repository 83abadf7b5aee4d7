// Classifying an opened input file: reads its probe, size and tail for ClassifyInput and
// shows the questions and notices that go with it: the Win32 side of InputClassification.h.
#pragma once

#include "engine/InputClassification.h"
#include "framework/ScopedHook.h"

#include <windows.h>

#include <cstdint>
#include <functional>

// Classifies the file open in hFile (read access; its position is undefined afterwards).
// pszInputPath fills the %1 of messages 110 and 111, which bQuiet (switch Q) suppresses.
// pTransferBuffer is the worker's TRANSFER_BLOCK_SIZE-byte buffer, borrowed for the tail of
// PJL input. A size that cannot be read counts as 0.
InputLayout ClassifyInputFile(HANDLE hFile, const char* pszInputPath, bool bQuiet,
                              unsigned char* pTransferBuffer);

// Positions the file at nOffset from its beginning, where the data to send starts. False,
// with GetLastError() saying why, when it cannot.
[[nodiscard]] bool SeekInputFile(HANDLE hFile, uint64_t nOffset);

// A replacement of that positioning for tests, which cannot make it fail on a real file
// (an empty function: the real call). The setter returns the hook it replaced.
using SeekInputFileHook = std::function<bool(HANDLE hFile, uint64_t nOffset)>;
SeekInputFileHook SetSeekInputFileHook(SeekInputFileHook hook);
using ScopedSeekInputFile = ScopedHook<SeekInputFileHook, SetSeekInputFileHook>;

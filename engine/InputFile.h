// Classifying an opened input file: reads its probe, size and tail for ClassifyInput and
// shows the questions and notices that go with it.
#pragma once

#include "engine/InputClassification.h"

#include <windows.h>

// Classifies the file open in hFile (read access; its position is undefined afterwards).
// pszInputPath fills the %1 of messages 110 and 111, which bQuiet (switch Q) suppresses.
// pTransferBuffer is the worker's TRANSFER_BLOCK_SIZE-byte buffer, borrowed for the tail of
// PJL input. A size that cannot be read counts as 0.
InputLayout ClassifyInputFile(HANDLE hFile, const char* pszInputPath, bool bQuiet,
                              unsigned char* pTransferBuffer);

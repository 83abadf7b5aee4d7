// What an input file is and which of its bytes are PostScript: the header probe tests,
// the DOS EPS section, the PJL wrapper at both ends; the lines that frame the data are in
// JobFraming.h.
#pragma once

#include "engine/JobFraming.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

// How many bytes from the start of a file decide what it is.
constexpr size_t HEADER_PROBE_SIZE = 1024;

// The spool worker's read and write block, which the PJL trailer scan borrows.
constexpr size_t TRANSFER_BLOCK_SIZE = 16384;

enum class InputAction {
    Send,  // send nByteCount bytes from nStartOffset
    EndJob // PDF input or the user declined: nothing is sent
};

struct InputLayout {
    InputAction eAction;
    uint64_t nStartOffset;
    uint64_t nByteCount; // never reaches past the end of the file
    bool bEpsWrapping;   // EpsPrefixLine goes before the data
};

// Reads the last nCount bytes of the input (nCount <= TRANSFER_BLOCK_SIZE) into pBuffer and
// returns how many it got; 0 when the read fails.
using TailReader = std::function<size_t(unsigned char* pBuffer, size_t nCount)>;

// Shows message 111 for the input; true when the user answers Yes.
using AskUser = std::function<bool()>;

// Shows message 110 for the input.
using TellUser = std::function<void()>;

// Decides from the probe (the first nProbeBytes bytes of the file; only the first
// HEADER_PROBE_SIZE of them count, and no terminator is needed) what is sent.
// pTransferBuffer (TRANSFER_BLOCK_SIZE bytes) receives the file's tail for PJL input; its
// contents are undefined afterwards. With bQuiet nothing is asked or told: PDF input is
// refused and input without PostScript is sent whole. A missing askUser counts as No.
InputLayout ClassifyInput(const unsigned char* pProbe, size_t nProbeBytes, uint64_t nFileSize,
                          unsigned char* pTransferBuffer, const TailReader& readTail, bool bQuiet,
                          const AskUser& askUser, const TellUser& tellUser);

// First position in pBuffer[0, nLength) where the NUL-terminated needle occurs; NUL bytes
// in the buffer are ordinary bytes. None for a null or empty needle, a null buffer, or a
// buffer shorter than the needle.
std::optional<size_t> FindBytes(const unsigned char* pBuffer, size_t nLength,
                                const char* pszNeedle);

struct LineBreak {
    size_t nOffset;   // where the CR or LF stands
    size_t nDistance; // from it to the position searched from (at least 1)
};

// The nearest CR or LF before nPosition in pData. The byte at pData[0] is never examined,
// so a line break there is not found.
std::optional<LineBreak> FindPreviousLineBreak(const unsigned char* pData, size_t nPosition);

// How many bytes at the end of the file belong to the PJL job around the PostScript that
// starts at nStart: the trailing lines that are empty or begin with the Universal Exit
// Language sequence or "@PJL", found in the last TRANSFER_BLOCK_SIZE bytes at most (never
// before nStart). 0 when there are none or the tail cannot be read.
uint64_t MeasurePjlTrailer(const TailReader& readTail, unsigned char* pTransferBuffer,
                           uint64_t nFileSize, uint64_t nStart);

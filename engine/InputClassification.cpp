#include "engine/InputClassification.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char POSTSCRIPT_MAGIC[] = "%!PS";
constexpr char PDF_MAGIC[] = "%PDF-";
constexpr char EPS_MARK[] = "EPSF-";
constexpr char PJL_COMMAND[] = "@PJL";

// Universal Exit Language: ESC "%-12345X".
constexpr unsigned char UEL[] = {0x1B, '%', '-', '1', '2', '3', '4', '5', 'X'};
constexpr size_t UEL_LENGTH = sizeof UEL;

constexpr unsigned char DOS_EPS_MAGIC[] = {0xC5, 0xD0, 0xD3, 0xC6};
// Magic, then the PostScript section's offset and length.
constexpr size_t DOS_EPS_HEADER_READ = 12;

bool StartsWith(const unsigned char* pData, size_t nLength, const void* pPrefix,
                size_t nPrefixLength) {
    return nLength >= nPrefixLength && std::memcmp(pData, pPrefix, nPrefixLength) == 0;
}

bool StartsWithText(const unsigned char* pData, size_t nLength, const char* pszPrefix) {
    return StartsWith(pData, nLength, pszPrefix, std::strlen(pszPrefix));
}

// Whether the needle occurs in the probe read as text from nFrom up to the next NUL byte.
bool TextContains(const unsigned char* pProbe, size_t nFrom, size_t nLength,
                  const char* pszNeedle) {
    const unsigned char* pText = pProbe + nFrom;
    const void* pNul = std::memchr(pText, '\0', nLength - nFrom);
    size_t nTextLength = pNul ? static_cast<size_t>(static_cast<const unsigned char*>(pNul) - pText)
                              : nLength - nFrom;
    return FindBytes(pText, nTextLength, pszNeedle).has_value();
}

uint32_t ReadLittleEndian32(const unsigned char* pData) {
    return static_cast<uint32_t>(pData[0]) | static_cast<uint32_t>(pData[1]) << 8 |
           static_cast<uint32_t>(pData[2]) << 16 | static_cast<uint32_t>(pData[3]) << 24;
}

// Bytes a DOS EPS trailer or an end-of-file marker may leave after the last line end.
bool IsTrailingFiller(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == 0x1A;
}

// Whether the line that follows the break at q (and ends before p) belongs to the PJL
// wrapper: empty, or beginning with the UEL sequence or "@PJL".
bool IsPjlWrapperLine(const unsigned char* pRegion, size_t q, size_t nDistance) {
    const unsigned char* pLine = pRegion + q + 1;
    return nDistance <= 1 ||
           (nDistance >= UEL_LENGTH + 1 && StartsWith(pLine, UEL_LENGTH, UEL, UEL_LENGTH)) ||
           (nDistance >= 5 && StartsWithText(pLine, 4, PJL_COMMAND));
}

InputLayout Send(uint64_t nStartOffset, uint64_t nByteCount, bool bEpsWrapping) {
    return {InputAction::Send, nStartOffset, nByteCount, bEpsWrapping};
}

InputLayout EndJob() {
    return {InputAction::EndJob, 0, 0, false};
}

// What remains of the file from nStart on; a probe that saw more than the size reported
// (a file that grew meanwhile) must not make the count wrap.
uint64_t BytesFrom(uint64_t nFileSize, uint64_t nStart) {
    return nStart < nFileSize ? nFileSize - nStart : 0;
}

InputLayout NotPostScript(uint64_t nFileSize, bool bQuiet, const AskUser& askUser) {
    if (!bQuiet && !(askUser && askUser()))
        return EndJob();
    return Send(0, nFileSize, false);
}

} // namespace

std::optional<size_t> FindBytes(const unsigned char* pBuffer, size_t nLength,
                                const char* pszNeedle) {
    if (!pszNeedle || !pBuffer)
        return std::nullopt;
    const size_t nNeedle = std::strlen(pszNeedle);
    if (nNeedle == 0 || nLength < nNeedle)
        return std::nullopt;
    const unsigned char cFirst = static_cast<unsigned char>(pszNeedle[0]);
    size_t nPosition = 0;
    while (nLength - nPosition >= nNeedle) {
        const void* pHit =
            std::memchr(pBuffer + nPosition, cFirst, nLength - nPosition - nNeedle + 1);
        if (!pHit)
            return std::nullopt;
        nPosition = static_cast<size_t>(static_cast<const unsigned char*>(pHit) - pBuffer);
        if (std::memcmp(pBuffer + nPosition, pszNeedle, nNeedle) == 0)
            return nPosition;
        ++nPosition;
    }
    return std::nullopt;
}

std::optional<LineBreak> FindPreviousLineBreak(const unsigned char* pData, size_t nPosition) {
    for (size_t i = nPosition; i > 1;) {
        --i;
        if (pData[i] == '\r' || pData[i] == '\n')
            return LineBreak{i, nPosition - i};
    }
    return std::nullopt;
}

uint64_t MeasurePjlTrailer(const TailReader& readTail, unsigned char* pTransferBuffer,
                           uint64_t nFileSize, uint64_t nStart) {
    if (!readTail || !pTransferBuffer || nStart >= nFileSize)
        return 0;
    const size_t nWanted =
        static_cast<size_t>(std::min<uint64_t>(TRANSFER_BLOCK_SIZE, nFileSize - nStart));
    // A reader that claims more than was asked for cannot have put it into the buffer.
    const size_t nRegion = std::min(readTail(pTransferBuffer, nWanted), nWanted);
    const unsigned char* pRegion = pTransferBuffer;

    std::optional<size_t> nTrailerStart;
    size_t p = nRegion;
    while (p > 0) {
        while (p > 0 && IsTrailingFiller(pRegion[p - 1]))
            --p;
        std::optional<LineBreak> lineBreak = FindPreviousLineBreak(pRegion, p);
        if (!lineBreak || !IsPjlWrapperLine(pRegion, lineBreak->nOffset, lineBreak->nDistance))
            break;
        nTrailerStart = lineBreak->nOffset + 1;
        p = lineBreak->nOffset;
    }
    return nTrailerStart ? nRegion - *nTrailerStart : 0;
}

InputLayout ClassifyInput(const unsigned char* pProbe, size_t nProbeBytes, uint64_t nFileSize,
                          unsigned char* pTransferBuffer, const TailReader& readTail, bool bQuiet,
                          const AskUser& askUser, const TellUser& tellUser) {
    const size_t n = pProbe ? std::min(nProbeBytes, HEADER_PROBE_SIZE) : 0;

    if (StartsWithText(pProbe, n, POSTSCRIPT_MAGIC))
        return Send(0, nFileSize, TextContains(pProbe, 0, n, EPS_MARK));

    if (n > 0 && TextContains(pProbe, 0, n, PDF_MAGIC)) {
        if (!bQuiet && tellUser)
            tellUser();
        return EndJob();
    }

    if (StartsWith(pProbe, n, DOS_EPS_MAGIC, sizeof DOS_EPS_MAGIC)) {
        // Too short to hold the section's offset and length: there is no section.
        if (n < DOS_EPS_HEADER_READ)
            return NotPostScript(nFileSize, bQuiet, askUser);
        const uint64_t nOffset = ReadLittleEndian32(pProbe + 4);
        const uint64_t nLength = ReadLittleEndian32(pProbe + 8);
        // A section that reaches past the end is sent as far as it exists.
        return Send(nOffset, std::min(nLength, BytesFrom(nFileSize, nOffset)), true);
    }

    const bool bPjl = StartsWith(pProbe, n, UEL, UEL_LENGTH) &&
                      StartsWithText(pProbe + UEL_LENGTH, n - UEL_LENGTH, PJL_COMMAND);
    if (std::optional<size_t> k = FindBytes(pProbe, n, POSTSCRIPT_MAGIC)) {
        const bool bEps = TextContains(pProbe, *k, n, EPS_MARK);
        uint64_t nCount = BytesFrom(nFileSize, *k);
        if (bPjl)
            nCount -= MeasurePjlTrailer(readTail, pTransferBuffer, nFileSize, *k);
        return Send(*k, nCount, bEps);
    }
    return NotPostScript(nFileSize, bQuiet, askUser);
}

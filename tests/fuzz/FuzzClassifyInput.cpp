// The input is a whole file; its last byte also picks quiet (bit 0), the answer to the
// question (bit 1) and whether the tail read fails (bit 2). Checks that a layout never
// reaches past the end of the file and that the tail reader is asked only for what exists.
#include "engine/InputClassification.h"
#include "FuzzCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The file is the fuzzer's data; the reader hands out its last bytes.
struct TailCalls {
    const uint8_t* pFile;
    uint64_t nSize;
    bool bFails;
    unsigned char* pBuffer;
    std::vector<size_t> requests;

    size_t Read(unsigned char* pTarget, size_t nCount) {
        requests.push_back(nCount);
        Check(pTarget == pBuffer);
        Check(nCount <= TRANSFER_BLOCK_SIZE && nCount <= nSize);
        if (bFails)
            return 0;
        std::memcpy(pTarget, pFile + nSize - nCount, nCount);
        return nCount;
    }
};

bool IsPjl(const uint8_t* pData, size_t nSize) {
    static const char PREFIX[] = "\x1b%-12345X@PJL";
    return nSize >= 13 && std::memcmp(pData, PREFIX, 13) == 0;
}

void FuzzClassify(const uint8_t* pData, size_t nSize, uint8_t nFlags) {
    const bool bQuiet = nFlags & 1;
    const bool bYes = nFlags & 2;
    // An exact-size copy, without terminator, so a read past the probe is caught.
    const size_t n = std::min(nSize, HEADER_PROBE_SIZE);
    std::vector<unsigned char> probe(pData, pData + n);
    std::vector<unsigned char> buffer(TRANSFER_BLOCK_SIZE);
    TailCalls tail{pData, nSize, (nFlags & 4) != 0, buffer.data(), {}};
    int nAsked = 0;
    int nTold = 0;

    InputLayout layout = ClassifyInput(
        probe.data(), n, nSize, buffer.data(),
        [&](unsigned char* pTarget, size_t nCount) { return tail.Read(pTarget, nCount); }, bQuiet,
        [&] {
            ++nAsked;
            return bYes;
        },
        [&] { ++nTold; });

    Check(nAsked + nTold <= 1);
    Check(!bQuiet || nAsked + nTold == 0);
    Check(tail.requests.size() <= 1);
    Check(tail.requests.empty() || IsPjl(pData, nSize));
    if (layout.eAction == InputAction::EndJob) {
        Check(nTold == 1 || (nAsked == 1 && !bYes) || bQuiet);
        Check(layout.nByteCount == 0);
        return;
    }
    Check(nTold == 0);
    Check(nAsked == 0 || bYes);
    // Only a DOS EPS offset may point past the end, and then nothing is sent.
    if (layout.nStartOffset > nSize)
        Check(layout.nByteCount == 0);
    else
        Check(layout.nByteCount <= nSize - layout.nStartOffset);
    if (!tail.requests.empty()) {
        Check(layout.nStartOffset < nSize);
        Check(tail.requests[0] ==
              std::min<uint64_t>(TRANSFER_BLOCK_SIZE, nSize - layout.nStartOffset));
    }
}

void FuzzTrailer(const uint8_t* pData, size_t nSize, uint8_t nFlags) {
    const uint64_t nStart = nFlags % (nSize + 2);
    std::vector<unsigned char> buffer(TRANSFER_BLOCK_SIZE);
    TailCalls tail{pData, nSize, false, buffer.data(), {}};
    const uint64_t nTrailer = MeasurePjlTrailer(
        [&](unsigned char* pTarget, size_t nCount) { return tail.Read(pTarget, nCount); },
        buffer.data(), nSize, nStart);
    if (nStart >= nSize) {
        Check(nTrailer == 0 && tail.requests.empty());
        return;
    }
    Check(tail.requests.size() == 1);
    Check(tail.requests[0] == std::min<uint64_t>(TRANSFER_BLOCK_SIZE, nSize - nStart));
    // A line break at the region's first byte is never examined, so the earliest possible
    // trailer start is the region's third byte.
    Check(nTrailer == 0 || nTrailer + 2 <= tail.requests[0]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    const uint8_t nFlags = nSize ? pData[nSize - 1] : 0;
    FuzzClassify(pData, nSize, nFlags);
    FuzzTrailer(pData, nSize, nFlags);
    return 0;
}

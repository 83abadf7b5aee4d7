#include "engine/TransferProgress.h"

int ProgressPercent(uint64_t nSent, uint64_t nCount) {
    return static_cast<int>(static_cast<double>(nSent) / static_cast<double>(nCount) * 100.0);
}

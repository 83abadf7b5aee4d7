// The progress of a transfer in percent.
#pragma once

#include <cstdint>

// nSent / nCount * 100 in double precision, truncated towards zero. nCount must not be 0.
int ProgressPercent(uint64_t nSent, uint64_t nCount);

// What a fuzz target expects of what it fuzzes: a broken expectation ends the run, so
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdlib>

inline void Check(bool bCondition) {
    if (!bCondition)
        std::abort();
}

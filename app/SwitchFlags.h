// The program's own command-line switch flags, each 0 or 1.
#pragma once

#include <cstdint>

struct SwitchFlags {
    uint8_t m_bEValue = 0;
    uint8_t m_bESet = 0;
    uint8_t m_bVSet = 0;
    uint8_t m_bDSet = 0;
    uint8_t m_bDValue = 0;
    uint8_t m_bVValue = 0;
    uint8_t m_bQSet = 0;
    uint8_t m_bUValue = 0;
    uint8_t m_bUSet = 0;
};

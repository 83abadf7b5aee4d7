// The bits of a configuration's General value that the program reads or forces.
#pragma once

#include <cstdint>

constexpr uint32_t GENERAL_USE_OUTPUT_PATH = 0x00001000; // output files go into OutputPath
constexpr uint32_t GENERAL_SWITCH_E = 0x08000000;        // forced by /E; ticket flag 8
constexpr uint32_t GENERAL_SWITCH_V = 0x40000000;        // forced by /V; ticket flag 2
constexpr uint32_t GENERAL_OVERWRITE = 0x80000000;       // replace existing output files

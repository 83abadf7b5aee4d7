#include "engine/TicketFlags.h"

#include "engine/JobTicket.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

namespace {

SwitchFlags NoSwitches() {
    return SwitchFlags{};
}

SwitchFlags USwitch(bool bValue) {
    SwitchFlags switches;
    switches.m_bUSet = 1;
    switches.m_bUValue = bValue ? 1 : 0;
    return switches;
}

struct FlagCase {
    const char* pszName;
    int32_t nSaveRequest;
    uint32_t dwGeneral;
    SwitchFlags switches;
    uint32_t nExpected;
};

const FlagCase FLAG_CASES[] = {
    {"SaveRequest 1", 1, 0, NoSwitches(), 1},
    {"SaveRequest 2 is not 1", 2, 0, NoSwitches(), 0},
    {"SaveRequest -1 is not 1", -1, 0, NoSwitches(), 0},
    {"SaveRequest 0x10001 is not 1", 0x10001, 0, NoSwitches(), 0},
    {"U1 overrides bit 31", 0, 0x80000000, USwitch(false), 0},
    {"no U, bit 31", 0, 0x80000000, NoSwitches(), 4},
    {"U0 without bit 31", 0, 0, USwitch(true), 4},
    {"U0 with bit 31", 0, 0x80000000, USwitch(true), 4},
    {"bit 30", 0, 0x40000000, NoSwitches(), 2},
    {"bit 27", 0, 0x08000000, NoSwitches(), 8},
    {"every General bit, SaveRequest 1, no U", 1, 0xFFFFFFFF, NoSwitches(), 15},
    {"every bit but the three", 0, 0x37FFFFFF, NoSwitches(), 0},
    {"U value without U set is ignored", 0, 0,
     [] {
         SwitchFlags s;
         s.m_bUValue = 1;
         return s;
     }(),
     0},
};

TEST(ComputeTicketFlagsTest, EdgeCases) {
    for (const FlagCase& c : FLAG_CASES)
        EXPECT_EQ(ComputeTicketFlags(c.nSaveRequest, c.dwGeneral, c.switches), c.nExpected)
            << c.pszName;
}

enum class USwitchState { NotGiven, GivenTrue, GivenFalse };

// Every combination of the inputs that matter, with noise in the bits that do not; the
// expectation is written from the booleans the case was made of, not from dwGeneral.
TEST(ComputeTicketFlagsTest, EveryCombination) {
    const int32_t saveRequests[] = {0, 1, 2, -1, INT32_MIN, INT32_MAX};
    const uint32_t noises[] = {0, 0x00001000, 0x37FFFFFF, 0x00000001, 0x10000000, 0x20000000};
    const USwitchState uStates[] = {USwitchState::NotGiven, USwitchState::GivenTrue,
                                    USwitchState::GivenFalse};
    std::set<uint32_t> seen;
    for (int32_t nSaveRequest : saveRequests)
        for (int nBits = 0; nBits < 8; ++nBits)
            for (uint32_t dwNoise : noises)
                for (USwitchState uState : uStates)
                    for (int nOtherSwitches = 0; nOtherSwitches < 2; ++nOtherSwitches) {
                        const bool b27 = nBits & 1, b30 = nBits & 2, b31 = nBits & 4;
                        const uint32_t dwGeneral = dwNoise | (b27 ? 0x08000000u : 0u) |
                                                   (b30 ? 0x40000000u : 0u) |
                                                   (b31 ? 0x80000000u : 0u);
                        SwitchFlags switches;
                        if (uState != USwitchState::NotGiven) {
                            switches.m_bUSet = 1;
                            switches.m_bUValue = uState == USwitchState::GivenTrue;
                        }
                        if (nOtherSwitches) {
                            // D, E, V and Q reach the flags only through the settings.
                            switches.m_bDSet = switches.m_bDValue = 1;
                            switches.m_bESet = switches.m_bVSet = switches.m_bQSet = 1;
                        }
                        const bool bOverwrite = uState == USwitchState::NotGiven
                                                    ? b31
                                                    : uState == USwitchState::GivenTrue;
                        const uint32_t nExpected = (nSaveRequest == 1 ? 1u : 0u) + (b30 ? 2u : 0u) +
                                                   (bOverwrite ? 4u : 0u) + (b27 ? 8u : 0u);
                        const uint32_t nFlags =
                            ComputeTicketFlags(nSaveRequest, dwGeneral, switches);
                        ASSERT_EQ(nFlags, nExpected)
                            << "SaveRequest " << nSaveRequest << " General " << std::hex
                            << dwGeneral << " U " << static_cast<int>(uState);
                        const std::string strTicket = BuildJobTicket("o", "c", nFlags);
                        ASSERT_EQ(strTicket, "~JS~ d=o c=c f=" + std::to_string(nExpected));
                        seen.insert(nFlags);
                    }
    EXPECT_EQ(seen.size(), 16u);
}

} // namespace

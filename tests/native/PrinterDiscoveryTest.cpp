#include "engine/PrinterDiscovery.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct MatchCase {
    const char* pszName;
    std::vector<PrinterRecord> records;
    const char* pszPortName;
    int nExpected;
};

const char* const PORT = DEFAULT_PORT_NAME;

const MatchCase MATCH_CASES[] = {
    {"no printers", {}, PORT, -1},
    {"driver match",
     {{"Laser", "LPT1:", "HP LaserJet", 0}, {"PDF", "FILE:", "Veltrane Quillon", 0}},
     PORT,
     1},
    {"two converter drivers: first wins whatever its port",
     {{"Other", "LPT1:", "HP", 0},
      {"First", "LPT2:", "Veltrane Quillon", 0},
      {"Second", "VeltraneQuillonPort", "Veltrane Quillon", 0}},
     PORT,
     1},
    {"port match with another driver",
     {{"Laser", "LPT1:", "HP LaserJet", 0}, {"Renamed", "VeltraneQuillonPort", "Generic", 0}},
     PORT,
     1},
    {"port match before a later driver match",
     {{"ByPort", "VeltraneQuillonPort", "Generic", 0},
      {"ByDriver", "LPT1:", "Veltrane Quillon", 0}},
     PORT,
     0},
    {"custom port name",
     {{"A", "VeltraneQuillonPort", "X", 0}, {"B", "MyPort", "X", 0}},
     "MyPort",
     1},
    {"several ports listed do not match",
     {{"Multi", "VeltraneQuillonPort,LPT1:", "Generic", 0}},
     PORT,
     -1},
    {"port is a prefix of the record's", {{"P", "VeltraneQuillonPort2", "Generic", 0}}, PORT, -1},
    {"driver with trailing blank", {{"D", "LPT1:", "Veltrane Quillon ", 0}}, PORT, -1},
    {"driver differs in case", {{"D", "LPT1:", "veltrane quillon", 0}}, PORT, -1},
    {"port differs in case", {{"P", "veltranequillonport", "Generic", 0}}, PORT, -1},
    {"null driver and port never match", {{"N", nullptr, nullptr, 0}}, PORT, -1},
    {"null driver, matching port", {{"N", "VeltraneQuillonPort", nullptr, 0}}, PORT, 0},
    {"null port, matching driver", {{"N", nullptr, "Veltrane Quillon", 0}}, PORT, 0},
    {"null search port matches no null port", {{"N", nullptr, "Generic", 0}}, nullptr, -1},
    {"empty search port matches an empty port only",
     {{"A", nullptr, "Generic", 0}, {"B", "", "Generic", 0}},
     "",
     1},
};

void PrintTo(const MatchCase& c, std::ostream* pOut) {
    *pOut << c.pszName;
}

class PrinterMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(PrinterMatchTest, FindsFirstMatchingRecord) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(c.nExpected, FindConverterRecord(c.records.data(), c.records.size(), c.pszPortName))
        << c.pszName;
}

INSTANTIATE_TEST_SUITE_P(Cases, PrinterMatchTest, ::testing::ValuesIn(MATCH_CASES));

struct StatusCase {
    uint32_t nStatus;
    int nExpected;
};

TEST(PrinterStatusTest, MapsExactValues) {
    const StatusCase cases[] = {
        {0, 0}, {1, 16}, {4, 15}, {1 + 2, 17}, {2, 17}, {1 + 4, 17}, {0x400, 17}, {0x80000000u, 17},
    };
    for (const StatusCase& c : cases)
        EXPECT_EQ(c.nExpected, PrinterStatusMessage(c.nStatus)) << "status " << c.nStatus;
}

} // namespace

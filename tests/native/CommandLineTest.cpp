#include "app/ConverterCommandLineInfo.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct Expected {
    CCommandLineInfo::ShellCommand nShellCommand;
    std::string strFileName;
    std::string strPrinterName;
    // Switch flags, as the string "DSet DValue ESet EValue QSet USet UValue VSet VValue".
    std::string strFlags;
};

struct Case {
    std::vector<std::string> args;
    Expected expected;
};

std::string FlagString(const SwitchFlags& f) {
    std::string s;
    for (uint8_t b : {f.m_bDSet, f.m_bDValue, f.m_bESet, f.m_bEValue, f.m_bQSet, f.m_bUSet,
                      f.m_bUValue, f.m_bVSet, f.m_bVValue})
        s += static_cast<char>('0' + b);
    return s;
}

constexpr auto New = CCommandLineInfo::FileNew;
constexpr auto Open = CCommandLineInfo::FileOpen;
constexpr auto Print = CCommandLineInfo::FilePrint;
constexpr auto PrintTo = CCommandLineInfo::FilePrintTo;

const Case kCases[] = {
    {{}, {New, "", "", "000000000"}},
    {{"datei.ps"}, {Open, "datei.ps", "", "000000000"}},
    {{"/D1", "datei.ps"}, {Open, "datei.ps", "", "110000000"}},
    // The last argument is the program's own switch: no end-of-line step, no file mode.
    {{"datei.ps", "/D1"}, {New, "datei.ps", "", "110000000"}},
    {{"datei.ps", "/x"}, {Open, "datei.ps", "", "000000000"}},
    {{"datei.ps", "/"}, {Open, "datei.ps", "", "000000000"}},
    {{"/p", "datei.ps"}, {Print, "datei.ps", "", "000000000"}},
    {{"datei.ps", "/p"}, {Print, "datei.ps", "", "000000000"}},
    {{"/P", "datei.ps"}, {Open, "datei.ps", "", "000000000"}},
    {{"/PT", "datei.ps", "Drucker"}, {Open, "datei.ps", "", "000000000"}},
    {{"/pt", "datei.ps", "Drucker", "Treiber", "Anschluss"},
     {PrintTo, "datei.ps", "Drucker", "000000000"}},
    {{"-pt", "datei.ps", "Drucker"}, {PrintTo, "datei.ps", "Drucker", "000000000"}},
    {{"a.ps", "b.ps"}, {Open, "a.ps", "", "000000000"}},
    {{"Bericht vom Mai.ps"}, {Open, "Bericht vom Mai.ps", "", "000000000"}},
    {{"/Quiet", "datei.ps"}, {Open, "datei.ps", "", "000010000"}},
    {{"/Quiet"}, {New, "", "", "000010000"}},
    // Standard words whose first letters belong to the program's switches.
    {{"/Embedding"}, {New, "", "", "001000000"}},
    {{"/Unregister"}, {New, "", "", "000001100"}},
    {{"/dde"}, {New, "", "", "100000000"}},
    {{"/d1"}, {New, "", "", "110000000"}},
    {{"-D1"}, {New, "", "", "110000000"}},
    {{"/D"}, {New, "", "", "100000000"}},
    {{"/Dx"}, {New, "", "", "100000000"}},
    {{"/D-1"}, {New, "", "", "110000000"}},
    {{"/D 7"}, {New, "", "", "110000000"}},
    {{"/D2abc"}, {New, "", "", "110000000"}},
    {{"/D000"}, {New, "", "", "100000000"}},
    {{"/D99999999999999999999"}, {New, "", "", "110000000"}},
    {{"/D1", "/D0"}, {New, "", "", "100000000"}},
    {{"/D0", "/D1"}, {New, "", "", "110000000"}},
    {{"/E1"}, {New, "", "", "001100000"}},
    {{"/e0"}, {New, "", "", "001000000"}},
    {{"/U"}, {New, "", "", "000001100"}},
    {{"/U0"}, {New, "", "", "000001100"}},
    {{"/U1"}, {New, "", "", "000001000"}},
    {{"/u-3"}, {New, "", "", "000001000"}},
    {{"/V"}, {New, "", "", "000000011"}},
    {{"/Vx"}, {New, "", "", "000000010"}},
    {{"/V0"}, {New, "", "", "000000010"}},
    {{"/v5"}, {New, "", "", "000000011"}},
    {{"/Automation", "datei.ps"}, {Open, "datei.ps", "", "000000000"}},
};

TEST(CommandLine, ParsesEachExample) {
    for (const Case& c : kCases) {
        std::string strActive = "Registry";
        ConverterCommandLineInfo info(strActive, [](const std::string&) { return true; });
        ParseCommandLineArguments(info, c.args);
        std::string context = "args:";
        for (const auto& a : c.args)
            context += " [" + a + "]";
        SCOPED_TRACE(context);
        EXPECT_EQ(info.m_nShellCommand, c.expected.nShellCommand);
        EXPECT_EQ(info.m_strFileName, c.expected.strFileName);
        EXPECT_EQ(info.m_strPrinterName, c.expected.strPrinterName);
        EXPECT_EQ(FlagString(info), c.expected.strFlags);
        EXPECT_EQ(strActive, "Registry");
    }
}

TEST(CommandLine, PrintToFillsPrinterDriverAndPortThenIgnoresTheRest) {
    std::string strActive;
    ConverterCommandLineInfo info(strActive, [](const std::string&) { return false; });
    ParseCommandLineArguments(info, {"/pt", "datei.ps", "Drucker", "Treiber", "Anschluss", "x"});
    EXPECT_EQ(info.m_strPrinterName, "Drucker");
    EXPECT_EQ(info.m_strDriverName, "Treiber");
    EXPECT_EQ(info.m_strPortName, "Anschluss");
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FilePrintTo);
}

TEST(CommandLine, AutomationWordInAnyCaseSetsRunAutomated) {
    for (const char* word : {"/Automation", "/automation", "-AUTOMATION"}) {
        std::string strActive;
        ConverterCommandLineInfo info(strActive, [](const std::string&) { return false; });
        ParseCommandLineArguments(info, {word});
        EXPECT_TRUE(info.m_bRunAutomated) << word;
    }
}

struct ConfigurationCase {
    std::vector<std::string> args;
    std::string strExpectedActive;
    std::vector<std::string> expectedLookups;
};

TEST(CommandLine, ConfigurationSwitchNeedsAnExistingKey) {
    const std::set<std::string> existing = {
        "SOFTWARE\\VeltraneSystems\\Quillon\\Configurations\\Office Print",
        "SOFTWARE\\VeltraneSystems\\Quillon\\Configurations\\A",
        "SOFTWARE\\VeltraneSystems\\Quillon\\Configurations\\B",
    };
    const std::string base = "SOFTWARE\\VeltraneSystems\\Quillon\\Configurations\\";
    const ConfigurationCase cases[] = {
        {{"/COffice Print"}, "Office Print", {base + "Office Print"}},
        {{"-cA", "datei.ps"}, "A", {base + "A"}},
        {{"/CMissing"}, "Registry", {base + "Missing"}},
        {{"/C"}, "Registry", {}},
        {{"/CA", "/CB"}, "B", {base + "A", base + "B"}},
        {{"/CA", "/CMissing"}, "A", {base + "A", base + "Missing"}},
        // Exactly as typed: the registry may not care about case, the name does.
        {{"/Ca"}, "Registry", {base + "a"}},
    };
    for (const ConfigurationCase& c : cases) {
        std::string strActive = "Registry";
        std::vector<std::string> lookups;
        ConverterCommandLineInfo info(strActive, [&](const std::string& strPath) {
            lookups.push_back(strPath);
            return existing.count(strPath) > 0;
        });
        ParseCommandLineArguments(info, c.args);
        EXPECT_EQ(strActive, c.strExpectedActive) << c.args[0];
        EXPECT_EQ(lookups, c.expectedLookups) << c.args[0];
    }
}

TEST(CommandLine, ConfigurationSwitchAloneKeepsMainWindowMode) {
    std::string strActive;
    ConverterCommandLineInfo info(strActive, [](const std::string&) { return true; });
    ParseCommandLineArguments(info, {"/CStandard"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_EQ(strActive, "Standard");
}

} // namespace

// The job's PDF settings as the backend reads them from a prefix's system.reg: Wine's file
// format, the choice of key, the checks of every value, hostile content, and what
// Ghostscript is asked for.
#include "printer/backend/JobConfiguration.h"
#include "printer/backend/PdfSwitches.h"
#include "printer/backend/WineRegistry.h"

#include "BackendTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

const std::string HEADER =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";
const std::string QUILLON = "[Software\\\\VeltraneSystems\\\\Quillon\\\\";

// A key as Wine writes it, with the given value lines.
std::string Key(const std::string& strPath, const std::string& strValues) {
    return "\n" + QUILLON + strPath + "] 1796743520\n#time=1dd872856368212\n" + strValues;
}

// Every value of a configuration, as the seeding writes "Office Print".
const std::string OFFICE_VALUES = "\"Colour\"=dword:00000001\n"
                                  "\"ColourResolution\"=dword:00000096\n"
                                  "\"EmbedFonts\"=\"\"\n"
                                  "\"Fonts\"=dword:00000000\n"
                                  "\"General\"=dword:80001000\n"
                                  "\"Grey\"=dword:00000001\n"
                                  "\"GreyResolution\"=dword:00000096\n"
                                  "\"Monochrome\"=dword:00000001\n"
                                  "\"MonoResolution\"=dword:0000012c\n"
                                  "\"NeverEmbedFonts\"=\"\"\n"
                                  "\"OutputPath\"=\"C:\\\\users\\\\Public\\\\Documents\\\\PDF\"\n"
                                  "\"Reporting\"=dword:00000000\n"
                                  "\"Resolution\"=dword:00000000\n";

// The Configuration key with "Standard"'s values but fonts never embedded, so a test can
// tell it from the defaults.
const std::string CONFIGURATION_VALUES = "\"Colour\"=dword:00000001\n"
                                         "\"ColourResolution\"=dword:00000000\n"
                                         "\"EmbedFonts\"=\"\"\n"
                                         "\"Fonts\"=dword:00000002\n"
                                         "\"Grey\"=dword:00000001\n"
                                         "\"GreyResolution\"=dword:00000000\n"
                                         "\"Monochrome\"=dword:00000001\n"
                                         "\"MonoResolution\"=dword:00000000\n"
                                         "\"NeverEmbedFonts\"=\"\"\n"
                                         "\"Resolution\"=dword:00000000\n";

// A prefix's file: an unrelated key of Wine's own, the Configuration key and "Office
// Print" with its values and strExtra at its end.
std::string File(const std::string& strExtra = "", const std::string& strOffice = OFFICE_VALUES) {
    return HEADER +
           "\n[Software\\\\Wine\\\\Drives] 1796743029\n#time=1dd87284ed4c4b2\n"
           "\"a:\"=\"floppy\"\n@=\"\\x00e4\\\"\"\n" +
           Key("Configuration", CONFIGURATION_VALUES) + Key("Configurations", "") +
           Key("Configurations\\\\Office Print", strOffice + strExtra) + "\n";
}

// The settings a file gives for "Office Print" with one value replaced.
PdfSettings Office(uint32_t PdfSettings::*pMember = nullptr, uint32_t nValue = 0) {
    PdfSettings settings = OfficePrintPdfSettings();
    if (pMember)
        settings.*pMember = nValue;
    return settings;
}

PdfSettings WithLists(std::vector<std::string> embed, std::vector<std::string> never) {
    PdfSettings settings = OfficePrintPdfSettings();
    settings.EmbedFonts = std::move(embed);
    settings.NeverEmbedFonts = std::move(never);
    return settings;
}

PdfSettings ConfigurationKeySettings() {
    PdfSettings settings;
    settings.Fonts = 2;
    return settings;
}

// "Office Print"'s values with the line of value strName replaced by strLine.
std::string OfficeWith(const std::string& strName, const std::string& strLine) {
    std::string strValues = OFFICE_VALUES;
    const size_t nAt = strValues.find("\"" + strName + "\"=");
    strValues.replace(nAt, strValues.find('\n', nAt) - nAt, strLine);
    return strValues;
}

struct SelectCase {
    const char* pszName;
    std::string strFile;
    std::string strConfiguration;
    PdfSettings expected;
    std::string strWarning; // empty: no warning; else a part of the only warning
};

const std::string LONG_NAMES = [] {
    std::string strNames;
    for (int i = 0; i <= 100; ++i)
        strNames += "Font" + std::to_string(i) + ";";
    return strNames;
}();

const SelectCase SELECT_CASES[] = {
    // What Wine writes
    {"a configuration as seeded", File(), "Office Print", Office(), ""},
    {"names ignore case", File(), "OFFICE print", Office(), ""},
    {"value names ignore case", File("\"COLOUR\"=dword:00000002\n"), "Office Print",
     Office(&PdfSettings::Colour, 2), ""},
    {"no configuration named: the Configuration key", File(), "", ConfigurationKeySettings(), ""},
    {"lists as text",
     File("", OfficeWith("EmbedFonts", "\"EmbedFonts\"=\"Palatino-Roman; Courier;;\"")),
     "Office Print", WithLists({"Palatino-Roman", "Courier"}, {}), ""},
    {"lists as a multi-string",
     File("",
          OfficeWith("NeverEmbedFonts", "\"NeverEmbedFonts\"=str(7):\"Times-Roman\\0Symbol\\0\"")),
     "Office Print", WithLists({}, {"Times-Roman", "Symbol"}), ""},
    {"a value given twice counts as given last", File("\"MonoResolution\"=dword:00000258\n"),
     "Office Print", Office(&PdfSettings::MonoResolution, 600), ""},
    {"umlauts and brackets escaped in a key's name",
     HEADER + Key("Configurations\\\\B\\x00fcro \\[2\\]", OFFICE_VALUES), "B\xC3\xBCro [2]",
     Office(), ""},
    {"an umlaut in another case", HEADER + Key("Configurations\\\\\\x00dcBER", OFFICE_VALUES),
     "\xC3\xBC"
     "ber",
     Office(), ""},
    {"hex data over several lines and other values' kinds",
     File("\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
          "  17,18,19\n\"Other\"=hex(7):41,00,00,00,00,00\n\"Path\"=str(2):\"%TEMP%\"\n"
          "\"Tab\\t\\101\"=\"\\a\\e\\x\\x41\\061\"\n"),
     "Office Print", Office(), ""},
    {"line ends CR LF",
     [] {
         std::string strFile = File();
         for (size_t i = 0; (i = strFile.find('\n', i)) != std::string::npos; i += 2)
             strFile.insert(i, "\r");
         return strFile;
     }(),
     "Office Print", Office(), ""},

    // Missing configurations
    {"no such configuration: the Configuration key", File(), "Gibt es nicht",
     ConfigurationKeySettings(), "no configuration \"Gibt es nicht\""},
    {"a name with a backslash names no configuration", File(), "Configurations\\Office Print",
     ConfigurationKeySettings(), "no configuration"},
    {"a name that only begins like one", File(), "Office", ConfigurationKeySettings(),
     "no configuration \"Office\""},
    {"a key below the configuration is not it",
     HEADER + Key("Configurations\\\\Office Print\\\\Office Print", OFFICE_VALUES),
     "Office Print\\Office Print", PdfSettings(), "and no Configuration key"},
    {"no Configuration key either", HEADER + Key("Debug", ""), "", PdfSettings(),
     "no Configuration key"},

    // Values of the wrong kind or out of range: that value's "Standard" setting
    {"a value missing", File("", OfficeWith("Colour", "")), "Office Print", Office(),
     "Colour is missing; 1 is used"},
    {"a DWORD as text", File("\"Fonts\"=\"1\"\n"), "Office Print", Office(),
     "Fonts is not a DWORD of 4 bytes (type 1, 4 bytes); 0 is used"},
    {"a DWORD of eight bytes", File("\"Fonts\"=hex(4):01,00,00,00,00,00,00,00\n"), "Office Print",
     Office(), "Fonts is not a DWORD"},
    {"a DWORD of three bytes", File("\"Grey\"=hex(4):02,00,00\n"), "Office Print", Office(),
     "Grey is not a DWORD"},
    {"a DWORD in four bytes of another type", File("\"Grey\"=hex(5):00,00,00,02\n"), "Office Print",
     Office(), "Grey is not a DWORD"},
    {"a DWORD written as hex(4) is one", File("\"Grey\"=hex(4):02,00,00,00\n"), "Office Print",
     Office(&PdfSettings::Grey, 2), ""},
    {"a choice too large", File("\"Monochrome\"=dword:00000003\n"), "Office Print", Office(),
     "Monochrome 3 is not from 0 to 2; 1 is used"},
    {"the largest number", File("\"Colour\"=dword:ffffffff\n"), "Office Print", Office(),
     "Colour 4294967295 is not from 0 to 2"},
    {"a resolution too low", File("\"Resolution\"=dword:00000047\n"), "Office Print", Office(),
     "Resolution 71 is neither 0 nor from 72 to 4000; 0 is used"},
    {"the lowest resolution", File("\"Resolution\"=dword:00000048\n"), "Office Print",
     Office(&PdfSettings::Resolution, 72), ""},
    {"a resolution too high", File("\"ColourResolution\"=dword:00000fa1\n"), "Office Print",
     Office(&PdfSettings::ColourResolution, 0), "ColourResolution 4001 is neither"},
    {"the highest image resolution", File("\"MonoResolution\"=dword:00000fa0\n"), "Office Print",
     Office(&PdfSettings::MonoResolution, 4000), ""},
    {"an image resolution of 8", File("\"GreyResolution\"=dword:00000008\n"), "Office Print",
     Office(&PdfSettings::GreyResolution, 0), "GreyResolution 8 is neither 0 nor from 9"},

    // Hostile font lists: no names at all
    {"PostScript code in a font name", File("\"NeverEmbedFonts\"=\"Times] {(x) print} exec [\"\n"),
     "Office Print", Office(),
     "NeverEmbedFonts names \"Times] {(x) print} exec [\", which is not a plain PostScript"},
    {"a font name in parentheses", File("\"EmbedFonts\"=\"(Courier)\"\n"), "Office Print", Office(),
     "EmbedFonts names \"(Courier)\""},
    {"a font name with a slash", File("\"EmbedFonts\"=\"/Courier\"\n"), "Office Print", Office(),
     "\"/Courier\", which is not"},
    {"a font name with a percent sign", File("\"EmbedFonts\"=\"A%B\"\n"), "Office Print", Office(),
     "\"A%B\", which is not"},
    {"a font name with a blank inside", File("\"EmbedFonts\"=\"Times Roman\"\n"), "Office Print",
     Office(), "\"Times Roman\", which is not"},
    {"a font name with a line break", File("\"EmbedFonts\"=\"A\\nB\"\n"), "Office Print", Office(),
     "EmbedFonts names"},
    {"a font name with an umlaut", File("\"EmbedFonts\"=\"B\\x00fcro\"\n"), "Office Print",
     Office(), "EmbedFonts holds characters other than ASCII"},
    {"a font name of 128 characters", File("\"EmbedFonts\"=\"" + std::string(128, 'F') + "\"\n"),
     "Office Print", Office(), "which is not a plain"},
    {"a font name of 127 characters", File("\"EmbedFonts\"=\"" + std::string(127, 'F') + "\"\n"),
     "Office Print", WithLists({std::string(127, 'F')}, {}), ""},
    {"101 font names", File("\"EmbedFonts\"=\"" + LONG_NAMES + "\"\n"), "Office Print", Office(),
     "EmbedFonts holds more than 100 names"},
    {"a huge list", File("\"NeverEmbedFonts\"=\"" + std::string(100000, 'x') + "\"\n"),
     "Office Print", Office(), "NeverEmbedFonts is longer than"},
    {"a list as a DWORD", File("\"NeverEmbedFonts\"=dword:00000001\n"), "Office Print", Office(),
     "NeverEmbedFonts is neither text"},
    {"a list as binary", File("\"NeverEmbedFonts\"=hex:41,00,00,00\n"), "Office Print", Office(),
     "NeverEmbedFonts is neither text"},
    {"a list of an odd number of bytes", File("\"NeverEmbedFonts\"=hex(1):41,00,00\n"),
     "Office Print", Office(), "NeverEmbedFonts is not UTF-16 text"},
    {"a huge string elsewhere in the key", File("\"Note\"=\"" + std::string(1000000, 'n') + "\"\n"),
     "Office Print", Office(), ""},

    // Files that are not as Wine writes them: no configuration is trusted
    {"cut short in a line", File().substr(0, File().find("\"Grey\"=dword:0000") + 12),
     "Office Print", PdfSettings(), "cut short"},
    {"cut short in a continued hex value", HEADER + Key("Configuration", "\"Blob\"=hex:00,01,\\\n"),
     "", PdfSettings(), "continued past the end of the file"},
    {"not a registry file", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\n", "Office Print",
     PdfSettings(), "line 1: not \"WINE REGISTRY Version 2\""},
    {"empty", "", "Office Print", PdfSettings(), "the file is empty"},
    {"a value outside any key", HEADER + "\"Colour\"=dword:00000002\n", "", PdfSettings(),
     "line 5: a value before the first key"},
    {"a line of something else", File("Colour=2\n"), "Office Print", PdfSettings(),
     "neither key, value, option nor comment"},
    {"a key not closed", File("[Software\\\\Other\n"), "Office Print", PdfSettings(),
     "malformed key"},
    {"text after a key", File("[Software\\\\Other] 12 x\n"), "Office Print", PdfSettings(),
     "malformed key"},
    {"a text not closed", File("\"Note\"=\"abc\n"), "Office Print", PdfSettings(),
     "malformed text"},
    {"text after a text", File("\"Note\"=\"abc\" x\n"), "Office Print", PdfSettings(),
     "malformed text"},
    {"a dword of nine digits", File("\"Colour\"=dword:000000002\n"), "Office Print", PdfSettings(),
     "malformed dword"},
    {"a dword of letters", File("\"Colour\"=dword:0000000g\n"), "Office Print", PdfSettings(),
     "malformed dword"},
    {"a negative dword", File("\"Colour\"=dword:-0000001\n"), "Office Print", PdfSettings(),
     "malformed dword"},
    {"an unknown kind of data", File("\"Colour\"=qword:00000002\n"), "Office Print", PdfSettings(),
     "unknown kind of value data"},
    {"one hex digit", File("\"Blob\"=hex:0\n"), "Office Print", PdfSettings(),
     "malformed hex data"},
    {"a value name without =", File("\"Colour\" dword:00000002\n"), "Office Print", PdfSettings(),
     "without \"=\""},
    {"an escape at the end of a line", File("\"Note\"=\"abc\\\n"), "Office Print", PdfSettings(),
     "malformed text"},
    {"a byte Wine writes escaped", File("\"Note\"=\"\xC3\xA4\"\n"), "Office Print", PdfSettings(),
     "only escaped"},
    {"a zero byte", File("\"Note\"=\"a" + std::string(1, '\0') + "\"\n"), "Office Print",
     PdfSettings(), "only escaped"},
};

class SelectPdfSettingsTest : public testing::TestWithParam<SelectCase> {};

TEST_P(SelectPdfSettingsTest, GivesTheSettingsAndSaysWhatFellBack) {
    const SelectCase& c = GetParam();
    const JobPdfSettings pdf = SelectPdfSettings(c.strFile, "", c.strConfiguration);
    EXPECT_TRUE(pdf.settings == c.expected);
    if (c.strWarning.empty()) {
        EXPECT_TRUE(pdf.warnings.empty()) << pdf.warnings.front();
        return;
    }
    // One warning each: a fallback is said once, not once for every value.
    ASSERT_EQ(pdf.warnings.size(), 1u);
    EXPECT_NE(pdf.warnings[0].find(c.strWarning), std::string::npos) << pdf.warnings[0];
    // However long the offending content, the line stays short.
    EXPECT_LT(pdf.warnings[0].size(), 300u);
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectPdfSettingsTest, testing::ValuesIn(SELECT_CASES), CaseName());

TEST(SelectPdfSettingsTest, AFileThatCannotBeReadGivesTheDefaults) {
    const JobPdfSettings pdf = SelectPdfSettings("", "/p/system.reg: No such file", "Standard");
    EXPECT_TRUE(pdf.settings == PdfSettings());
    ASSERT_EQ(pdf.warnings.size(), 1u);
    EXPECT_EQ(pdf.warnings[0], "Cannot read the configurations: /p/system.reg: No such file; "
                               "converting with Ghostscript's defaults.");
}

TEST(SelectPdfSettingsTest, EveryValueMissingIsSaidSeparately) {
    const JobPdfSettings pdf =
        SelectPdfSettings(HEADER + Key("Configurations\\\\Leer", ""), "", "Leer");
    EXPECT_TRUE(pdf.settings == PdfSettings());
    EXPECT_EQ(pdf.warnings.size(), std::size(kPdfNumbers) + std::size(kPdfFontLists));
    EXPECT_EQ(pdf.warnings[0], "In configuration \"Leer\", Fonts is missing; 0 is used.");
}

// ---------------------------------------------------------------------------------------
// Reading the file of a prefix

class LoadJobPdfSettingsTest : public testing::Test {
protected:
    void SetUp() override { m_strPrefix = m_dir.MakePrefix(); }
    std::string RegistryFile() const { return m_strPrefix + "/system.reg"; }

    BackendTestDir m_dir;
    std::string m_strPrefix;
};

TEST_F(LoadJobPdfSettingsTest, ReadsThePrefixFile) {
    BackendTestDir::WriteFile(RegistryFile(), File());
    const JobPdfSettings pdf = LoadJobPdfSettings(m_strPrefix, "Office Print");
    EXPECT_TRUE(pdf.settings == OfficePrintPdfSettings());
    EXPECT_TRUE(pdf.warnings.empty());
}

TEST_F(LoadJobPdfSettingsTest, MissingFileFifoAndGiganticFileGiveTheDefaults) {
    JobPdfSettings pdf = LoadJobPdfSettings(m_strPrefix, "Office Print");
    ASSERT_EQ(pdf.warnings.size(), 1u);
    EXPECT_NE(pdf.warnings[0].find("system.reg: No such file"), std::string::npos);

    // A FIFO must not hold the job up.
    ASSERT_EQ(mkfifo(RegistryFile().c_str(), 0600), 0);
    pdf = LoadJobPdfSettings(m_strPrefix, "Office Print");
    ASSERT_EQ(pdf.warnings.size(), 1u);
    EXPECT_NE(pdf.warnings[0].find("not a regular file"), std::string::npos);
    unlink(RegistryFile().c_str());

    // One byte beyond the bound, as a sparse file: never read.
    BackendTestDir::WriteFile(RegistryFile(), File());
    ASSERT_EQ(truncate(RegistryFile().c_str(), kMaxRegistryFileBytes + 1), 0);
    pdf = LoadJobPdfSettings(m_strPrefix, "Office Print");
    EXPECT_TRUE(pdf.settings == PdfSettings());
    ASSERT_EQ(pdf.warnings.size(), 1u);
    EXPECT_NE(pdf.warnings[0].find("larger than 64 MiB"), std::string::npos);
}

// ---------------------------------------------------------------------------------------
// What Ghostscript is asked for

struct SwitchCase {
    const char* pszName;
    PdfSettings settings;
    std::vector<std::string> switches;
};

PdfSettings With(uint32_t PdfSettings::*pMember, uint32_t nValue) {
    PdfSettings settings;
    settings.*pMember = nValue;
    return settings;
}

const std::vector<std::string> OFFICE_SWITCHES = {
    "-dDownsampleColorImages=true",        "-dColorImageResolution=150",
    "-dColorImageDownsampleType=/Bicubic", "-dDownsampleGrayImages=true",
    "-dGrayImageResolution=150",           "-dGrayImageDownsampleType=/Bicubic",
    "-dDownsampleMonoImages=true",         "-dMonoImageResolution=300"};

const SwitchCase SWITCH_CASES[] = {
    {"Standard asks for nothing", PdfSettings(), {}},
    {"Office Print", OfficePrintPdfSettings(), OFFICE_SWITCHES},
    {"resolution", With(&PdfSettings::Resolution, 300), {"-r300"}},
    {"lossless colour",
     With(&PdfSettings::Colour, 0),
     {"-dAutoFilterColorImages=false", "-dColorImageFilter=/FlateEncode"}},
    {"JPEG grey",
     With(&PdfSettings::Grey, 2),
     {"-dAutoFilterGrayImages=false", "-dGrayImageFilter=/DCTEncode"}},
    {"monochrome Flate", With(&PdfSettings::Monochrome, 0), {"-dMonoImageFilter=/FlateEncode"}},
    {"monochrome run length",
     With(&PdfSettings::Monochrome, 2),
     {"-dMonoImageFilter=/RunLengthEncode"}},
    {"whole fonts", With(&PdfSettings::Fonts, 1), {"-dSubsetFonts=false"}},
    {"no fonts but the listed", With(&PdfSettings::Fonts, 2), {"-dEmbedAllFonts=false"}},
    {"font lists", WithLists({"Palatino-Roman", "Courier"}, {"Times-Roman"}),
     [] {
         std::vector<std::string> switches = OFFICE_SWITCHES;
         switches.push_back("-sQuillonAlwaysEmbed=Palatino-Roman Courier");
         switches.push_back("-sQuillonNeverEmbed=Times-Roman");
         return switches;
     }()},
    {"values not allowed ask for nothing",
     [] {
         PdfSettings settings = With(&PdfSettings::Resolution, 50);
         settings.Colour = 3;
         settings.Fonts = 7;
         settings.MonoResolution = 5000;
         return settings;
     }(),
     {}},
    {"names not plain are left out",
     [] {
         PdfSettings settings;
         settings.NeverEmbedFonts = {"A B", "] {(x) print} exec [", "Symbol", "(x)"};
         settings.EmbedFonts = {"/Courier"};
         return settings;
     }(),
     {"-sQuillonNeverEmbed=Symbol"}},
};

class PdfSwitchesTest : public testing::TestWithParam<SwitchCase> {};

TEST_P(PdfSwitchesTest, AsksGhostscriptForTheSettings) {
    EXPECT_EQ(PdfSwitches(GetParam().settings), GetParam().switches);
}

INSTANTIATE_TEST_SUITE_P(Cases, PdfSwitchesTest, testing::ValuesIn(SWITCH_CASES), CaseName());

} // namespace

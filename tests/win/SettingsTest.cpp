#include "config/Settings.h"

#include "MessageBoxRecorder.h"
#include "RegistryTestUtil.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

using namespace regtest;

namespace {

const std::string kConfigurationKey = "SOFTWARE\\VeltraneSystems\\Quillon\\Configuration";
const std::string kConfigurationsKey = "SOFTWARE\\VeltraneSystems\\Quillon\\Configurations";
const char kTestConfiguration[] = "PsZuPdfTest B\xFCro";
const char kOtherTestConfiguration[] = "PsZuPdfTest Other";

const std::string kNamedKey = kConfigurationsKey + "\\" + kTestConfiguration;
const std::string kOtherNamedKey = kConfigurationsKey + "\\" + kOtherTestConfiguration;

// The values LoadSettings reads from the settings key, in their reading order.
const char* const kDwordNames[] = {
    "Reporting",  "General",          "Fonts",          "Colour",        "Grey", "Monochrome",
    "Resolution", "ColourResolution", "GreyResolution", "MonoResolution"};
const char* const kBlockNames[] = {"EmbedFonts", "NeverEmbedFonts", "OutputPath"};

SettingCell ConversionSettings::*const kDwordCells[] = {
    &ConversionSettings::Reporting,      &ConversionSettings::General,
    &ConversionSettings::Fonts,          &ConversionSettings::Colour,
    &ConversionSettings::Grey,           &ConversionSettings::Monochrome,
    &ConversionSettings::Resolution,     &ConversionSettings::ColourResolution,
    &ConversionSettings::GreyResolution, &ConversionSettings::MonoResolution};

// One configuration's values; the DWORDs are derived from a base so each key differs.
struct StoredConfiguration {
    uint32_t dwBase;
    Bytes embedFonts;
    Bytes neverEmbedFonts;
    std::string strOutputPath;

    uint32_t Dword(size_t i) const { return dwBase + static_cast<uint32_t>(i); }
};

const StoredConfiguration kNamed{
    0x80001000, {'A', 'r', 'i', 'a', 'l', 0, 'S', 0, 0}, {0x10, 0x00, 0xFF}, "C:\\Ausgabe\\PDF"};
const StoredConfiguration kDefault{0x00000100, {'T', 0, 0}, {}, "D:\\Standard"};

void Store(const std::string& strKeyPath, const StoredConfiguration& configuration) {
    for (size_t i = 0; i < std::size(kDwordNames); ++i)
        ASSERT_TRUE(
            SetDword(HKEY_LOCAL_MACHINE, strKeyPath, kDwordNames[i], configuration.Dword(i)));
    ASSERT_TRUE(SetRaw(HKEY_LOCAL_MACHINE, strKeyPath, "EmbedFonts", REG_MULTI_SZ,
                       configuration.embedFonts));
    ASSERT_TRUE(SetRaw(HKEY_LOCAL_MACHINE, strKeyPath, "NeverEmbedFonts", REG_BINARY,
                       configuration.neverEmbedFonts));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, strKeyPath, "OutputPath", configuration.strOutputPath));
}

Bytes BlockBytes(const ValueBlock& block, int nSize) {
    return Bytes(block.get(), block.get() + nSize);
}

void ExpectLoaded(const ConversionSettings& settings, const StoredConfiguration& configuration) {
    for (size_t i = 0; i < std::size(kDwordCells); ++i) {
        SCOPED_TRACE(kDwordNames[i]);
        EXPECT_EQ(static_cast<int32_t>(configuration.Dword(i)), (settings.*kDwordCells[i]).Get());
    }
    ASSERT_EQ(static_cast<int>(configuration.embedFonts.size()), settings.m_nEmbedFontsSize);
    ASSERT_TRUE(settings.EmbedFonts);
    EXPECT_EQ(configuration.embedFonts,
              BlockBytes(settings.EmbedFonts, settings.m_nEmbedFontsSize));
    ASSERT_EQ(static_cast<int>(configuration.neverEmbedFonts.size()),
              settings.m_nNeverEmbedFontsSize);
    ASSERT_TRUE(settings.NeverEmbedFonts);
    EXPECT_EQ(configuration.neverEmbedFonts,
              BlockBytes(settings.NeverEmbedFonts, settings.m_nNeverEmbedFontsSize));
    ASSERT_TRUE(settings.OutputPath);
    EXPECT_EQ(configuration.strOutputPath, std::string(settings.OutputPath.get()));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, settings.m_hSettingsRoot);
}

// Settings as the application holds them before a load: cells allocated and holding
// something, blocks present, so a load that leaves anything untouched shows.
ConversionSettings PreparedSettings() {
    ConversionSettings settings;
    settings.SaveRequest.Allocate();
    settings.SaveRequest.Set(77);
    for (SettingCell ConversionSettings::*pCell : kDwordCells) {
        (settings.*pCell).Allocate();
        (settings.*pCell).Set(77);
    }
    settings.EmbedFonts.reset(new char[2]{'o', 0});
    settings.m_nEmbedFontsSize = 1;
    settings.NeverEmbedFonts.reset(new char[2]{'o', 0});
    settings.m_nNeverEmbedFontsSize = 1;
    settings.OutputPath.reset(new char[2]{'o', 0});
    settings.m_hSettingsRoot = HKEY_CURRENT_USER;
    return settings;
}

std::vector<std::string> BoxTexts(MessageBoxRecorder& recorder) {
    std::vector<std::string> texts;
    for (const MessageBoxRequest& box : recorder.Boxes()) {
        EXPECT_EQ(kReportCaption, box.strCaption);
        EXPECT_EQ(kReportFlags, box.nType);
        texts.push_back(box.strText);
    }
    return texts;
}

std::string MissingValueText(const std::string& strKeyPath, const char* pszValueName) {
    return ReportText(ERROR_FILE_NOT_FOUND,
                      SizeStep("HKEY_LOCAL_MACHINE\\" + strKeyPath + "\\" + pszValueName));
}

std::string MissingKeyText(const std::string& strKeyPath) {
    return ReportText(ERROR_FILE_NOT_FOUND, OpenStep("HKEY_LOCAL_MACHINE\\" + strKeyPath));
}

// The tests work on the product's keys in a scratch tree that starts empty.
class SettingsTest : public ::testing::Test {
protected:
    static void RemoveTestKeys() {
        DeleteTree(HKEY_LOCAL_MACHINE, kConfigurationKey);
        DeleteTree(HKEY_LOCAL_MACHINE, kNamedKey);
        DeleteTree(HKEY_LOCAL_MACHINE, kOtherNamedKey);
    }

    ScratchLocalMachine m_scratch;
};

TEST(ConfigurationKeyPathTest, NamesTheSettingsKey) {
    EXPECT_EQ("SOFTWARE\\VeltraneSystems\\Quillon\\Configuration", ConfigurationKeyPath(""));
    EXPECT_EQ("SOFTWARE\\VeltraneSystems\\Quillon\\Configurations\\B\xFCro 2",
              ConfigurationKeyPath("B\xFCro 2"));
    EXPECT_EQ("SOFTWARE\\VeltraneSystems\\Quillon\\Configurations\\Configuration",
              ConfigurationKeyPath("Configuration"));
}

TEST_F(SettingsTest, ReadsTheNamedConfigurationAndSaveRequestFromTheConfigurationKey) {
    Store(kNamedKey, kNamed);
    Store(kConfigurationKey, kDefault);
    Store(kOtherNamedKey, kDefault);
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "SaveRequest", 1));
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kNamedKey, "SaveRequest", 0));

    ConversionSettings settings = PreparedSettings();
    LoadSettings(settings, SwitchFlags{}, kTestConfiguration);

    ExpectLoaded(settings, kNamed);
    EXPECT_EQ(1, settings.SaveRequest.Get());
}

TEST_F(SettingsTest, ReadsTheConfigurationKeyWhenNoConfigurationIsNamed) {
    Store(kConfigurationKey, kDefault);
    Store(kNamedKey, kNamed);
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "SaveRequest", 2));

    ConversionSettings settings = PreparedSettings();
    LoadSettings(settings, SwitchFlags{}, "");

    ExpectLoaded(settings, kDefault);
    EXPECT_EQ(2, settings.SaveRequest.Get());
}

TEST_F(SettingsTest, ReportsMissingValuesInReadingOrder) {
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, kConfigurationKey));
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, kNamedKey));

    ConversionSettings settings = PreparedSettings();
    MessageBoxRecorder recorder;
    LoadSettings(settings, SwitchFlags{}, kTestConfiguration);

    std::vector<std::string> expected = {MissingValueText(kConfigurationKey, "SaveRequest")};
    for (const char* pszName : kDwordNames)
        expected.push_back(MissingValueText(kNamedKey, pszName));
    for (const char* pszName : kBlockNames)
        expected.push_back(MissingValueText(kNamedKey, pszName));
    EXPECT_EQ(expected, BoxTexts(recorder));
    EXPECT_EQ(std::vector<UINT>(expected.size(), MB_ICONHAND), recorder.Beeps());

    EXPECT_EQ(0, settings.SaveRequest.Get());
    for (SettingCell ConversionSettings::*pCell : kDwordCells)
        EXPECT_EQ(0, (settings.*pCell).Get());
    EXPECT_FALSE(settings.EmbedFonts);
    EXPECT_FALSE(settings.NeverEmbedFonts);
    EXPECT_FALSE(settings.OutputPath);
    EXPECT_EQ(-1, settings.m_nEmbedFontsSize);
    EXPECT_EQ(-1, settings.m_nNeverEmbedFontsSize);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, settings.m_hSettingsRoot);
}

TEST_F(SettingsTest, MissingConfigurationKeyIsReportedOncePerValue) {
    struct Case {
        const char* pszLabel;
        bool bConfigurationKeyHasSaveRequest;
        size_t nSaveRequestReports;
    };
    const Case kCases[] = {
        {"Configuration key missing too", false, 1},
        {"Configuration key present", true, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pszLabel);
        RemoveTestKeys();
        if (c.bConfigurationKeyHasSaveRequest) {
            ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "SaveRequest", 1));
        }

        ConversionSettings settings = PreparedSettings();
        MessageBoxRecorder recorder;
        LoadSettings(settings, SwitchFlags{}, kTestConfiguration);

        std::vector<std::string> expected(c.nSaveRequestReports, MissingKeyText(kConfigurationKey));
        expected.insert(expected.end(), 13, MissingKeyText(kNamedKey));
        EXPECT_EQ(expected, BoxTexts(recorder));
        EXPECT_EQ(c.bConfigurationKeyHasSaveRequest ? 1 : 0, settings.SaveRequest.Get());
        for (SettingCell ConversionSettings::*pCell : kDwordCells)
            EXPECT_EQ(0, (settings.*pCell).Get());
        EXPECT_FALSE(settings.EmbedFonts);
        EXPECT_FALSE(settings.NeverEmbedFonts);
        EXPECT_FALSE(settings.OutputPath);
        EXPECT_EQ(-1, settings.m_nEmbedFontsSize);
        EXPECT_EQ(-1, settings.m_nNeverEmbedFontsSize);
    }
}

TEST_F(SettingsTest, SingleMissingValueGivesOneReportNamingIt) {
    std::vector<const char*> names(std::begin(kDwordNames), std::end(kDwordNames));
    names.insert(names.end(), std::begin(kBlockNames), std::end(kBlockNames));
    for (const char* pszMissing : names) {
        SCOPED_TRACE(pszMissing);
        Store(kNamedKey, kNamed);
        ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "SaveRequest", 1));
        DeleteValue(HKEY_LOCAL_MACHINE, kNamedKey, pszMissing);

        ConversionSettings settings = PreparedSettings();
        MessageBoxRecorder recorder;
        LoadSettings(settings, SwitchFlags{}, kTestConfiguration);

        EXPECT_EQ(std::vector<std::string>{MissingValueText(kNamedKey, pszMissing)},
                  BoxTexts(recorder));
        EXPECT_EQ(1, settings.SaveRequest.Get());
        for (size_t i = 0; i < std::size(kDwordNames); ++i) {
            bool bMissing = std::string(kDwordNames[i]) == pszMissing;
            EXPECT_EQ(bMissing ? 0 : static_cast<int32_t>(kNamed.Dword(i)),
                      (settings.*kDwordCells[i]).Get())
                << kDwordNames[i];
        }
        EXPECT_EQ(std::string("EmbedFonts") != pszMissing, static_cast<bool>(settings.EmbedFonts));
        EXPECT_EQ(std::string("NeverEmbedFonts") != pszMissing,
                  static_cast<bool>(settings.NeverEmbedFonts));
        EXPECT_EQ(std::string("OutputPath") != pszMissing, static_cast<bool>(settings.OutputPath));
    }
}

TEST_F(SettingsTest, MissingSaveRequestIsReportedFirst) {
    Store(kNamedKey, kNamed);
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, kConfigurationKey));

    ConversionSettings settings = PreparedSettings();
    MessageBoxRecorder recorder;
    LoadSettings(settings, SwitchFlags{}, kTestConfiguration);

    EXPECT_EQ(std::vector<std::string>{MissingValueText(kConfigurationKey, "SaveRequest")},
              BoxTexts(recorder));
    EXPECT_EQ(0, settings.SaveRequest.Get());
    ExpectLoaded(settings, kNamed);
}

TEST_F(SettingsTest, DSwitchReplacesSaveRequestWithoutReadingIt) {
    struct Case {
        uint8_t bDSet;
        uint8_t bDValue;
        bool bStored;
        uint32_t dwStored;
        int32_t nExpected;
        size_t nReports;
    };
    const Case kCases[] = {
        {1, 0, true, 0, 1, 0},  {1, 1, true, 1, 0, 0}, {1, 0, false, 0, 1, 0},
        {1, 1, false, 0, 0, 0}, {0, 0, true, 7, 7, 0}, {0, 1, true, 1, 1, 0},
        {0, 0, false, 0, 0, 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "D set " << int(c.bDSet) << ", value "
                                          << int(c.bDValue) << ", stored " << c.bStored);
        RemoveTestKeys();
        Store(kConfigurationKey, kDefault);
        if (c.bStored) {
            ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "SaveRequest", c.dwStored));
        }
        SwitchFlags switches;
        switches.m_bDSet = c.bDSet;
        switches.m_bDValue = c.bDValue;

        ConversionSettings settings = PreparedSettings();
        MessageBoxRecorder recorder;
        LoadSettings(settings, switches, "");

        EXPECT_EQ(c.nExpected, settings.SaveRequest.Get());
        EXPECT_EQ(c.nReports, recorder.Boxes().size());
        ExpectLoaded(settings, kDefault);
    }
}

TEST_F(SettingsTest, EAndVSwitchesSetOrClearTheirGeneralBits) {
    struct Case {
        uint32_t dwStored;
        uint8_t bESet, bEValue, bVSet, bVValue;
        uint32_t dwExpected;
    };
    const Case kCases[] = {
        {0x00001001, 0, 0, 0, 0, 0x00001001}, {0x48001001, 0, 0, 0, 0, 0x48001001},
        {0x00001001, 1, 1, 0, 0, 0x08001001}, {0x48001001, 1, 0, 0, 0, 0x40001001},
        {0x00001001, 0, 0, 1, 1, 0x40001001}, {0x48001001, 0, 0, 1, 0, 0x08001001},
        {0x00000000, 1, 1, 1, 1, 0x48000000}, {0xFFFFFFFF, 1, 0, 1, 0, 0xB7FFFFFF},
        {0x80000000, 1, 1, 1, 0, 0x88000000}, {0x40000000, 0, 1, 1, 1, 0x40000000},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message()
                     << std::hex << c.dwStored << " E " << int(c.bESet) << int(c.bEValue) << " V "
                     << int(c.bVSet) << int(c.bVValue));
        RemoveTestKeys();
        Store(kConfigurationKey, kDefault);
        ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "SaveRequest", 0));
        ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "General", c.dwStored));
        SwitchFlags switches;
        switches.m_bESet = c.bESet;
        switches.m_bEValue = c.bEValue;
        switches.m_bVSet = c.bVSet;
        switches.m_bVValue = c.bVValue;

        ConversionSettings settings = PreparedSettings();
        LoadSettings(settings, switches, "");

        EXPECT_EQ(c.dwExpected, static_cast<uint32_t>(settings.General.Get()));
        EXPECT_EQ(static_cast<int32_t>(kDefault.Dword(0)), settings.Reporting.Get());
    }
}

TEST_F(SettingsTest, ReloadReplacesBlocksAndValues) {
    Store(kNamedKey, kNamed);
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "SaveRequest", 1));
    ConversionSettings settings = PreparedSettings();
    LoadSettings(settings, SwitchFlags{}, kTestConfiguration);
    ExpectLoaded(settings, kNamed);

    // Between two batches the applet changes the configuration.
    const std::string strNewPath = "E:\\Ein viel l\xE4ngerer Ausgabeordner\\PDF-Dateien";
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kNamedKey, "OutputPath", strNewPath));
    ASSERT_TRUE(SetRaw(HKEY_LOCAL_MACHINE, kNamedKey, "NeverEmbedFonts", REG_BINARY, {}));
    DeleteValue(HKEY_LOCAL_MACHINE, kNamedKey, "EmbedFonts");
    DeleteValue(HKEY_LOCAL_MACHINE, kNamedKey, "Grey");
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kNamedKey, "General", 0x1000));

    MessageBoxRecorder recorder;
    LoadSettings(settings, SwitchFlags{}, kTestConfiguration);

    EXPECT_EQ((std::vector<std::string>{MissingValueText(kNamedKey, "Grey"),
                                        MissingValueText(kNamedKey, "EmbedFonts")}),
              BoxTexts(recorder));
    ASSERT_TRUE(settings.OutputPath);
    EXPECT_EQ(strNewPath, std::string(settings.OutputPath.get()));
    EXPECT_FALSE(settings.EmbedFonts);
    EXPECT_EQ(-1, settings.m_nEmbedFontsSize);
    ASSERT_TRUE(settings.NeverEmbedFonts);
    EXPECT_EQ(0, settings.m_nNeverEmbedFontsSize);
    EXPECT_EQ('\0', settings.NeverEmbedFonts[0]);
    EXPECT_EQ(0, settings.Grey.Get());
    EXPECT_EQ(0x1000, settings.General.Get());
}

TEST_F(SettingsTest, ChangingTheConfigurationNameBetweenLoadsSwitchesKeys) {
    Store(kNamedKey, kNamed);
    Store(kOtherNamedKey, kDefault);
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "SaveRequest", 0));

    ConversionSettings settings = PreparedSettings();
    LoadSettings(settings, SwitchFlags{}, kTestConfiguration);
    ExpectLoaded(settings, kNamed);
    LoadSettings(settings, SwitchFlags{}, kOtherTestConfiguration);
    ExpectLoaded(settings, kDefault);
}

} // namespace

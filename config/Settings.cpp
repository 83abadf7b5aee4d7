#include "config/Settings.h"

#include "config/RegistryPaths.h"

namespace {

struct DwordSetting {
    const char* pszName;
    SettingCell ConversionSettings::*pCell;
};

// The order in which the values are read, and so the order of their error reports.
const DwordSetting kDwordSettings[] = {
    {"Reporting", &ConversionSettings::Reporting},
    {"General", &ConversionSettings::General},
    {"Fonts", &ConversionSettings::Fonts},
    {"Colour", &ConversionSettings::Colour},
    {"Grey", &ConversionSettings::Grey},
    {"Monochrome", &ConversionSettings::Monochrome},
    {"Resolution", &ConversionSettings::Resolution},
    {"ColourResolution", &ConversionSettings::ColourResolution},
    {"GreyResolution", &ConversionSettings::GreyResolution},
    {"MonoResolution", &ConversionSettings::MonoResolution},
};

int32_t AsCell(uint32_t dwValue) {
    return static_cast<int32_t>(dwValue);
}

void ApplyGeneralBit(SettingCell& general, uint32_t dwBit, bool bSet) {
    uint32_t dwGeneral = static_cast<uint32_t>(general.Get());
    general.Set(AsCell(bSet ? dwGeneral | dwBit : dwGeneral & ~dwBit));
}

} // namespace

std::string ConfigurationKeyPath(const std::string& strActiveConfiguration) {
    if (strActiveConfiguration.empty())
        return CONFIGURATION_KEY;
    return CONFIGURATIONS_KEY "\\" + strActiveConfiguration;
}

void LoadSettings(ConversionSettings& settings, const SwitchFlags& switches,
                  const std::string& strActiveConfiguration) {
    const std::string strKeyPath = ConfigurationKeyPath(strActiveConfiguration);
    const char* pszKeyPath = strKeyPath.c_str();
    settings.m_hSettingsRoot = HKEY_LOCAL_MACHINE;
    HKEY hRoot = settings.m_hSettingsRoot;

    // The prompt choice is not per configuration: it always lives in the Configuration key.
    if (switches.m_bDSet)
        settings.SaveRequest.Set(switches.m_bDValue == 0 ? 1 : 0);
    else
        settings.SaveRequest.Set(
            AsCell(ReadRegistryDword(hRoot, "SaveRequest", CONFIGURATION_KEY, false)));

    for (const DwordSetting& setting : kDwordSettings)
        (settings.*setting.pCell)
            .Set(AsCell(ReadRegistryDword(hRoot, setting.pszName, pszKeyPath, false)));

    settings.EmbedFonts.reset();
    settings.m_nEmbedFontsSize =
        ReadRegistryValue(hRoot, "EmbedFonts", pszKeyPath, settings.EmbedFonts, false);
    settings.NeverEmbedFonts.reset();
    settings.m_nNeverEmbedFontsSize =
        ReadRegistryValue(hRoot, "NeverEmbedFonts", pszKeyPath, settings.NeverEmbedFonts, false);
    settings.OutputPath.reset();
    // The folder is the block itself (none when the read failed); its size is not kept.
    (void)ReadRegistryValue(hRoot, "OutputPath", pszKeyPath, settings.OutputPath, false);

    if (switches.m_bESet)
        ApplyGeneralBit(settings.General, GENERAL_SWITCH_E, switches.m_bEValue == 1);
    if (switches.m_bVSet)
        ApplyGeneralBit(settings.General, GENERAL_SWITCH_V, switches.m_bVValue == 1);
}

// ConversionSettings: the settings of the configuration in use, owned by the application.
#pragma once

#include "config/GeneralBits.h"
#include "config/Registry.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

// One signed 32-bit setting in a heap cell of its own. Worker threads read it while the
// user-interface thread may rewrite it, so a read sees the old or the new value whole.
class SettingCell {
public:
    void Allocate() { m_pCell = std::make_unique<std::atomic<int32_t>>(0); }
    void Free() { m_pCell.reset(); }
    bool IsAllocated() const { return m_pCell != nullptr; }
    int32_t Get() const { return m_pCell->load(); }
    void Set(int32_t nValue) { m_pCell->store(nValue); }

private:
    std::unique_ptr<std::atomic<int32_t>> m_pCell;
};

struct ConversionSettings {
    SettingCell SaveRequest;
    SettingCell Reporting;
    SettingCell General;
    SettingCell Colour;
    SettingCell Grey;
    SettingCell Monochrome;
    SettingCell Fonts;
    SettingCell Resolution;
    SettingCell ColourResolution;
    SettingCell GreyResolution;
    SettingCell MonoResolution;
    int32_t m_nEmbedFontsSize = -1;
    int32_t m_nNeverEmbedFontsSize = -1;
    ValueBlock EmbedFonts;
    ValueBlock NeverEmbedFonts;
    ValueBlock OutputPath;
    HKEY m_hSettingsRoot = nullptr;

    // The eleven cells, in the order they are allocated.
    std::array<SettingCell*, 11> Cells() {
        return {&SaveRequest,   &Reporting, &General,    &Colour,           &Grey,
                &Monochrome,    &Fonts,     &Resolution, &ColourResolution, &GreyResolution,
                &MonoResolution};
    }
};

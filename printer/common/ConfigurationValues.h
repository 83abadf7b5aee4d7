// Every value of one of the printer product's configurations, as the converter and the
// printer side read them, and the values the product ships with. The applet's new
// configurations and the seeding (the package's and printer/seed-registry's) take them
// from here.
#pragma once

#include "printer/common/PdfSettings.h"

#include <cstdint>
#include <string>
#include <vector>

// The product's key below HKEY_LOCAL_MACHINE.
constexpr char kProductKey[] = "SOFTWARE\\VeltraneSystems\\Quillon";

// The bits of General the applet edits: output files go into OutputPath; an existing file
// may be replaced.
constexpr uint32_t kGeneralUseOutputPath = 0x00001000;
constexpr uint32_t kGeneralOverwrite = 0x80000000;

// Default-constructed: a new configuration, "Standard" and the Configuration key, which
// serves as the settings when no configuration is named: the PDF beside its input, never
// over an existing file, Ghostscript's own output.
struct ConfigurationValues {
    uint32_t Reporting = 0;
    uint32_t General = 0;
    PdfSettings pdf;
    std::string OutputPath;
};

// "Office Print": into strFolder, replacing what is there, small PDFs.
ConfigurationValues OfficePrintValues(const std::string& strFolder);

// One value as the registry gets it: a DWORD, or a text (REG_SZ).
struct NamedValue {
    const char* pszName;
    bool bText;
    uint32_t dwValue;
    std::string strText;
};

// All of them, in the order the converter reads them; the font lists as texts.
std::vector<NamedValue> RegistryValuesOf(const ConfigurationValues& values);

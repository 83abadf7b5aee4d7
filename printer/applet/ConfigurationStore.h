// The printer product's configurations in the registry, as the applet reads and changes
// them: the subkeys of Configurations, ActiveConfiguration, and a configuration's values.
// Every call opens what it needs and closes it again; failures come back as Win32 codes.
#pragma once

#include "printer/common/PdfSettings.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The values of one configuration that the dialog edits.
struct EditableValues {
    uint32_t dwGeneral = 0;
    std::string strOutputPath;
    PdfSettings pdf;
};

enum class CreateOutcome { Created, AlreadyExists, Failed };

// The configurations in the registry's enumeration order; none when the key is missing.
[[nodiscard]] LONG ListConfigurations(std::vector<std::string>& names);

// The value ActiveConfiguration; empty when it is missing or unreadable.
std::string ReadActiveConfiguration();
[[nodiscard]] LONG WriteActiveConfiguration(const std::string& strName);
// Removes ActiveConfiguration, so the converter falls back to the Configuration key.
[[nodiscard]] LONG ClearActiveConfiguration();

// Creates the configuration with every default value, or nothing at all: a name the
// registry already holds (in any letter case) is left alone, and a half-written new key
// is removed again.
CreateOutcome CreateConfiguration(const std::string& strName, LONG& nError);

// Removes the configuration's key with everything in it.
[[nodiscard]] LONG DeleteConfiguration(const std::string& strName);

// General and OutputPath of a configuration, a missing value reading as 0 or empty, and
// its PDF settings as the printer side takes them (ReadPdfSettings).
EditableValues ReadEditableValues(const std::string& strName);

// Sets the two edited bits of the General value the registry holds now (keeping all
// others), OutputPath, and each PDF setting that differs from what pdfBefore holds.
[[nodiscard]] LONG WriteEditableValues(const std::string& strName, bool bUseOutputPath,
                                       bool bOverwrite, const std::string& strOutputPath,
                                       const PdfSettings& pdf, const PdfSettings& pdfBefore);

// Whether two configuration names name the same registry key, which ignores letter case.
bool SameConfigurationName(const std::string& strA, const std::string& strB);

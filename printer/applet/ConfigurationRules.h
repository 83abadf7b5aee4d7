// The applet's rules for configurations, free of Win32: accepted names, output folders
// and PDF settings, and how the dialog's two check boxes change General.
#pragma once

#include "printer/common/ConfigurationValues.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Registry key names hold at most 255 characters; the converter lists no longer ones.
constexpr std::size_t kMaxConfigurationName = 255;
// A folder must leave room in a MAX_PATH path for a backslash and at least an 8.3 name.
constexpr std::size_t kMaxOutputPath = 246;

enum class NameProblem { None, Empty, Backslash, ControlCharacter, TooLong };
enum class PathProblem { None, Missing, NotAbsolute, ParentComponent, TooLong };

// The text without the blanks and tabs around it.
std::string TrimBlanks(const std::string& strText);

// Whether a (trimmed) name can become a registry key below Configurations. Whether it is
// taken already is for the registry to say, which compares names as it stores them.
NameProblem CheckConfigurationName(const std::string& strName);

// Whether a (trimmed) output folder will be accepted by the printer side: only checked
// when output files go into it.
PathProblem CheckOutputPath(const std::string& strPath, bool bUseOutputPath);

// A number typed for a setting: decimal digits (blanks around them ignored) giving a value
// the setting allows; nullopt otherwise.
std::optional<uint32_t> ParseSettingNumber(const std::string& strText, const PdfNumber& number);

// General with the two edited bits (kGeneralUseOutputPath, kGeneralOverwrite) set as
// chosen and all others unchanged.
uint32_t ApplyGeneralChoices(uint32_t dwGeneral, bool bUseOutputPath, bool bOverwrite);

// Replaces "%1" and "%2" in one pass, so a name that itself holds "%2" stays as it is.
std::string FillIn(const std::string& strTemplate, const std::string& str1,
                   const std::string& str2 = std::string());

// Doubles every "&" so a button or group caption shows it instead of underlining.
std::string EscapeAmpersands(const std::string& strText);

// The output path of a job ticket, a Windows path, taken apart for the Unix side, and the
// Wine prefix named by the queue's device URI.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct WindowsPath {
    char cDrive = 0;                     // lower-case letter
    std::vector<std::string> components; // folders, then the file name; never empty
};

// Splits "X:\folder\...\name". Refused (nullopt, reason in strError): anything but a
// drive letter, a colon and a backslash at the start; an empty component (doubled or
// trailing separator); "." or ".." or a component that Windows would shorten (trailing
// dot or blank); control characters and the characters Windows forbids in names. A
// slash separates components as on Windows.
[[nodiscard]] std::optional<WindowsPath> SplitWindowsPath(std::string_view path,
                                                          std::string& strError);

// The queue's device URI "quillon:/abs/path" (or "quillon:///abs/path"), percent-encoding
// decoded, gives the absolute path of the Wine prefix. nullopt, reason in strError, for
// another scheme, a host part, a relative path or a broken escape.
[[nodiscard]] std::optional<std::string> PrefixFromDeviceUri(std::string_view uri,
                                                             std::string& strError);

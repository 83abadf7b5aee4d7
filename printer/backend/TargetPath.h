// Where a job's output goes on the Unix side: the Windows path followed through the Wine
// prefix's drive mapping, with names matched without regard to case as Wine does.
#pragma once

#include "printer/backend/WindowsPath.h"

#include <optional>
#include <string>
#include <string_view>

struct TargetPath {
    std::string strDirectory; // Unix path of the existing folder
    std::string strName;      // the file's name in it (an existing entry's own spelling)
    bool bExists = false;     // an entry of that name is there already
};

// The name folded for comparison without regard to case: ASCII letters and the letters
// of the program's code page (Latin-1 and Š, Œ, Ž, Ÿ) in their UTF-8 form become lower
// case; every other byte stays.
std::string FoldCase(std::string_view name);

// Follows <prefix>/dosdevices/<drive>: and the folders of the path; each must exist. A
// component that is not there as spelt is looked up without regard to case. nullopt,
// reason in strError, for a drive the prefix does not map or a missing folder.
std::optional<TargetPath> ResolveTarget(const std::string& strPrefix, const WindowsPath& path,
                                        std::string& strError);

// Where a job's output goes on the Unix side: the Windows path followed through the Wine
// prefix's drive mapping, with names matched without regard to case as Wine does, and
// without following any other user's links (FolderWalk).
#pragma once

#include "printer/backend/FolderWalk.h"
#include "printer/backend/UniqueFd.h"
#include "printer/backend/WindowsPath.h"

#include <optional>
#include <set>
#include <string>
#include <string_view>

struct TargetPath {
    UniqueFd folder;          // the existing folder (an O_PATH descriptor)
    std::string strDirectory; // its path as followed, for messages
    std::string strName;      // the file's name in it (an existing entry's own spelling)
    bool bExists = false;     // an entry of that name is there already
};

// The name folded for comparison without regard to case: ASCII letters and the letters
// of the program's code page (Latin-1 and Š, Œ, Ž, Ÿ) in their UTF-8 form become lower
// case; every other byte stays.
std::string FoldCase(std::string_view name);

// The entry of the folder nDirFd that is called strName, spelt as given or else in
// another case; of several such entries the first in byte order, so the choice does not
// depend on the order of the listing.
[[nodiscard]] std::optional<std::string> FindEntry(int nDirFd, const std::string& strName);

// Every entry name of the folder nDirFd, folded (FoldCase).
std::set<std::string> FoldedEntryNames(int nDirFd);

// Opens the drive mapping ("dosdevices", a folder of its own, no link) of the Wine prefix
// strPrefix, reached with walk, when the user with id uid may write through it
// (CheckPrefix); an invalid descriptor, reason in strError, otherwise.
[[nodiscard]] UniqueFd OpenDriveMapping(const std::string& strPrefix, uid_t uid, FolderWalk& walk,
                                        std::string& strError);

// Follows the drive link <drive>: in the mapping nDosdevicesFd (whose path, for messages,
// is strDosdevices) and the folders of the path; each must exist. A component that is not
// there as spelt is looked up without regard to case. nullopt, reason in strError, for a
// drive the prefix does not map, a missing folder, or a link walk does not follow.
[[nodiscard]] std::optional<TargetPath> ResolveTarget(int nDosdevicesFd,
                                                      const std::string& strDosdevices,
                                                      const WindowsPath& path, FolderWalk& walk,
                                                      std::string& strError);

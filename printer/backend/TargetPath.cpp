#include "printer/backend/TargetPath.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace {

struct DirCloser {
    void operator()(DIR* pDir) const { closedir(pDir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool IsDirectory(const std::string& strPath) {
    struct stat info {};
    return stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool EntryExists(const std::string& strPath) {
    struct stat info {};
    return lstat(strPath.c_str(), &info) == 0;
}

// The entry of the folder that is called strName, spelt as given or else in another case;
// of several such entries the first in byte order, so the choice does not depend on the
// order of the listing.
std::optional<std::string> FindEntry(const std::string& strDirectory, const std::string& strName) {
    if (EntryExists(strDirectory + "/" + strName))
        return strName;
    DirHandle dir(opendir(strDirectory.c_str()));
    if (!dir)
        return std::nullopt;
    const std::string strWanted = FoldCase(strName);
    std::optional<std::string> found;
    while (const dirent* pEntry = readdir(dir.get())) {
        const std::string strEntry = pEntry->d_name;
        if (strEntry == "." || strEntry == "..")
            continue;
        if (FoldCase(strEntry) == strWanted && (!found || strEntry < *found))
            found = strEntry;
    }
    return found;
}

} // namespace

std::string FoldCase(std::string_view name) {
    std::string strFolded(name);
    for (size_t i = 0; i < strFolded.size(); ++i) {
        auto b = static_cast<unsigned char>(strFolded[i]);
        if (b >= 'A' && b <= 'Z') {
            strFolded[i] = static_cast<char>(b + 0x20);
            continue;
        }
        if (i + 1 >= strFolded.size())
            break;
        const auto next = static_cast<unsigned char>(strFolded[i + 1]);
        if (b == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97) {
            // À to Þ, except the multiplication sign.
            strFolded[i + 1] = static_cast<char>(next + 0x20);
        } else if (b == 0xC5 && (next == 0x92 || next == 0xA0 || next == 0xBD)) {
            // Œ, Š, Ž: the lower case follows directly.
            strFolded[i + 1] = static_cast<char>(next + 1);
        } else if (b == 0xC5 && next == 0xB8) {
            // Ÿ folds to ÿ, which is in Latin-1.
            strFolded[i] = static_cast<char>(0xC3);
            strFolded[i + 1] = static_cast<char>(0xBF);
        }
        if (b >= 0xC0)
            ++i; // the second byte of a two-byte sequence has been dealt with
    }
    return strFolded;
}

std::optional<TargetPath> ResolveTarget(const std::string& strPrefix, const WindowsPath& path,
                                        std::string& strError) {
    const std::string strDrive = std::string(1, path.cDrive) + ":";
    std::string strDirectory = strPrefix + "/dosdevices/" + strDrive;
    if (!IsDirectory(strDirectory)) {
        strError = "drive " + strDrive + " is not mapped in the Wine prefix";
        return std::nullopt;
    }
    std::string strShown = strDrive;
    for (size_t i = 0; i + 1 < path.components.size(); ++i) {
        strShown += "\\" + path.components[i];
        const std::optional<std::string> entry = FindEntry(strDirectory, path.components[i]);
        if (!entry || !IsDirectory(strDirectory + "/" + *entry)) {
            strError = "the output folder " + strShown + " does not exist";
            return std::nullopt;
        }
        strDirectory += "/" + *entry;
    }
    TargetPath target;
    target.strDirectory = strDirectory;
    const std::string& strName = path.components.back();
    const std::optional<std::string> entry = FindEntry(strDirectory, strName);
    target.bExists = entry.has_value();
    target.strName = entry ? *entry : strName;
    return target;
}

#include "printer/backend/TargetPath.h"

#include "printer/backend/JobOwner.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace {

struct DirCloser {
    void operator()(DIR* pDir) const { closedir(pDir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// The folder's entries, "." and ".." left out, handed to visit one by one.
template <class Visit> bool ForEachEntry(int nDirFd, Visit visit) {
    UniqueFd listing = OpenForListing(nDirFd);
    if (!listing)
        return false;
    DirHandle dir(fdopendir(listing.Get()));
    if (!dir)
        return false;
    (void)listing.Release(); // the listing owns it now
    while (const dirent* pEntry = readdir(dir.get())) {
        const std::string strEntry = pEntry->d_name;
        if (strEntry != "." && strEntry != "..")
            visit(strEntry);
    }
    return true;
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

std::optional<std::string> FindEntry(int nDirFd, const std::string& strName) {
    struct stat info {};
    if (fstatat(nDirFd, strName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        return strName;
    const std::string strWanted = FoldCase(strName);
    std::optional<std::string> found;
    ForEachEntry(nDirFd, [&](const std::string& strEntry) {
        if (FoldCase(strEntry) == strWanted && (!found || strEntry < *found))
            found = strEntry;
    });
    return found;
}

std::set<std::string> FoldedEntryNames(int nDirFd) {
    std::set<std::string> names;
    ForEachEntry(nDirFd, [&](const std::string& strEntry) { names.insert(FoldCase(strEntry)); });
    return names;
}

UniqueFd OpenDriveMapping(const std::string& strPrefix, uid_t uid, FolderWalk& walk,
                          std::string& strError) {
    UniqueFd prefix = walk.Open(strPrefix, strError);
    if (!prefix) {
        strError = "the queue's Wine prefix cannot be opened: " + strError;
        return prefix;
    }
    struct stat prefixInfo {};
    struct stat mappingInfo {};
    UniqueFd mapping(openat(prefix.Get(), "dosdevices", O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (fstat(prefix.Get(), &prefixInfo) != 0 || !mapping ||
        fstat(mapping.Get(), &mappingInfo) != 0 || !S_ISDIR(mappingInfo.st_mode)) {
        strError = "the queue's Wine prefix has no folder dosdevices";
        return UniqueFd();
    }
    const PrefixFacts facts{prefixInfo.st_uid, prefixInfo.st_mode, mappingInfo.st_uid,
                            mappingInfo.st_mode};
    if (!CheckPrefix(uid, facts, strError))
        return UniqueFd();
    return mapping;
}

std::optional<TargetPath> ResolveTarget(int nDosdevicesFd, const std::string& strDosdevices,
                                        const WindowsPath& path, FolderWalk& walk,
                                        std::string& strError) {
    const std::string strDrive = std::string(1, path.cDrive) + ":";
    std::string strWhy;
    UniqueFd folder = walk.Step(nDosdevicesFd, strDrive, strWhy);
    if (!folder) {
        strError = "drive " + strDrive + " is not mapped in the Wine prefix (" + strWhy + ")";
        return std::nullopt;
    }
    std::string strDirectory = strDosdevices + "/" + strDrive;
    std::string strShown = strDrive;
    for (size_t i = 0; i + 1 < path.components.size(); ++i) {
        strShown += "\\" + path.components[i];
        const std::optional<std::string> entry = FindEntry(folder.Get(), path.components[i]);
        if (!entry) {
            strError = "the output folder " + strShown + " does not exist";
            return std::nullopt;
        }
        folder = walk.Step(folder.Get(), *entry, strWhy);
        if (!folder) {
            strError = "the output folder " + strShown + " cannot be used: " + strWhy;
            return std::nullopt;
        }
        strDirectory += "/" + *entry;
    }
    TargetPath target;
    const std::string& strName = path.components.back();
    const std::optional<std::string> entry = FindEntry(folder.Get(), strName);
    target.folder = std::move(folder);
    target.strDirectory = strDirectory;
    target.bExists = entry.has_value();
    target.strName = entry ? *entry : strName;
    return target;
}

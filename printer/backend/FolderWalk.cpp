#include "printer/backend/FolderWalk.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr int PATH_FLAGS = O_PATH | O_CLOEXEC;

std::string ErrnoText(const std::string& strName) {
    return "\"" + strName + "\": " + std::strerror(errno);
}

std::vector<std::string> Components(const std::string& strPath) {
    std::vector<std::string> components;
    size_t nStart = 0;
    while (nStart <= strPath.size()) {
        const size_t nEnd = std::min(strPath.find('/', nStart), strPath.size());
        if (nEnd > nStart)
            components.push_back(strPath.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return components;
}

} // namespace

UniqueFd FolderWalk::Open(const std::string& strPath, std::string& strError) {
    if (strPath.empty() || strPath[0] != '/') {
        strError = "\"" + strPath + "\" is not an absolute path";
        return UniqueFd();
    }
    return Walk(-1, strPath, strError);
}

UniqueFd FolderWalk::Walk(int nStartFd, const std::string& strPath, std::string& strError) {
    UniqueFd folder(strPath[0] == '/' ? open("/", PATH_FLAGS | O_DIRECTORY)
                                      : openat(nStartFd, ".", PATH_FLAGS | O_DIRECTORY));
    if (!folder) {
        strError = ErrnoText(strPath);
        return folder;
    }
    for (const std::string& strName : Components(strPath)) {
        folder = Step(folder.Get(), strName, strError);
        if (!folder)
            break;
    }
    return folder;
}

UniqueFd FolderWalk::Step(int nDirFd, const std::string& strName, std::string& strError) {
    if (strName == "." || strName == "..") {
        UniqueFd folder(openat(nDirFd, strName.c_str(), PATH_FLAGS | O_DIRECTORY));
        if (!folder)
            strError = ErrnoText(strName);
        return folder;
    }
    // O_NOFOLLOW with O_PATH opens a link itself, so it can be looked at before anything
    // follows it.
    UniqueFd entry(openat(nDirFd, strName.c_str(), PATH_FLAGS | O_NOFOLLOW));
    struct stat info {};
    if (!entry || fstat(entry.Get(), &info) != 0) {
        strError = ErrnoText(strName);
        return UniqueFd();
    }
    if (S_ISDIR(info.st_mode))
        return entry;
    if (!S_ISLNK(info.st_mode)) {
        strError = "\"" + strName + "\" is not a folder";
        return UniqueFd();
    }
    if (info.st_uid != 0 && info.st_uid != m_trustedUid) {
        strError = "\"" + strName + "\" is a link of another user (uid " +
                   std::to_string(info.st_uid) + "), which is not followed";
        return UniqueFd();
    }
    if (--m_nLinksLeft < 0) {
        strError = "\"" + strName + "\": too many levels of links";
        return UniqueFd();
    }
    std::string strTarget(4096, '\0');
    const ssize_t nLength = readlinkat(entry.Get(), "", strTarget.data(), strTarget.size());
    if (nLength <= 0 || static_cast<size_t>(nLength) >= strTarget.size()) {
        strError = ErrnoText(strName);
        return UniqueFd();
    }
    strTarget.resize(static_cast<size_t>(nLength));
    // A relative link is taken from the folder that holds it.
    return Walk(nDirFd, strTarget, strError);
}

UniqueFd OpenForListing(int nPathFd) {
    return UniqueFd(openat(nPathFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

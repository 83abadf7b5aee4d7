#include "printer/backend/JobFolder.h"

#include "printer/backend/UniqueFd.h"
#include "printer/backend/WriteAll.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>

namespace {

// One piece of the copy: in the kernel where it can, else through a buffer. The number of
// bytes copied, 0 at the end, -1 on failure.
ssize_t CopyPiece(int nFrom, int nTo, bool& bInKernel) {
    constexpr size_t PIECE = 1 << 20;
    if (bInKernel) {
        const ssize_t nCopied = copy_file_range(nFrom, nullptr, nTo, nullptr, PIECE, 0);
        // Pipes, and file systems or kernels without it, take the buffer.
        if (nCopied >= 0 || (errno != EINVAL && errno != EXDEV && errno != ENOSYS &&
                             errno != EOPNOTSUPP && errno != EBADF))
            return nCopied;
        bInKernel = false;
    }
    char buffer[1 << 16];
    const ssize_t nRead = read(nFrom, buffer, sizeof buffer);
    if (nRead > 0 && !WriteAll(nTo, buffer, static_cast<size_t>(nRead)))
        return -1;
    return nRead;
}

// Leftover job folders are looked for by this name.
constexpr std::string_view FOLDER_PREFIX = "quillon-job-";
// Folders within folders deeper than this are not counted: a job that nests so deep
// is stopped by the count of entries long before.
constexpr int MAX_DEPTH = 64;

// A folder opened for reading, without following a link in its place.
UniqueFd OpenFolder(int nDirFd, const std::string& strName) {
    return UniqueFd(
        openat(nDirFd, strName.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Removes the folders of earlier jobs of this user that no backend holds: one killed
// outright cannot remove its own. A folder being made right now is not held yet either;
// its maker notices and makes another.
void RemoveLeftovers(const std::string& strBase) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(strBase, error), end; !error && it != end;
         it.increment(error)) {
        const std::string strName = it->path().filename().string();
        if (strName.rfind(FOLDER_PREFIX, 0) != 0)
            continue;
        struct stat info {};
        const UniqueFd folder = OpenFolder(AT_FDCWD, it->path().string());
        if (!folder || fstat(folder.Get(), &info) != 0 || info.st_uid != geteuid())
            continue;
        if (flock(folder.Get(), LOCK_EX | LOCK_NB) == 0)
            std::filesystem::remove_all(it->path(), error);
        error.clear();
    }
}

void AddUsage(int nDirFd, FolderUsage& usage, size_t nMaxEntries, int nDepth) {
    UniqueFd listing(openat(nDirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* pDir = listing ? fdopendir(listing.Get()) : nullptr;
    if (!pDir)
        return;
    (void)listing.Release();
    while (const dirent* pEntry = readdir(pDir)) {
        const std::string strName = pEntry->d_name;
        if (strName == "." || strName == "..")
            continue;
        if (++usage.nEntries > nMaxEntries) {
            usage.bComplete = false;
            break;
        }
        struct stat info {};
        if (fstatat(dirfd(pDir), strName.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        usage.nBytes += static_cast<uint64_t>(info.st_blocks) * 512;
        if (S_ISDIR(info.st_mode) && nDepth < MAX_DEPTH) {
            const UniqueFd sub = OpenFolder(dirfd(pDir), strName);
            if (sub)
                AddUsage(sub.Get(), usage, nMaxEntries, nDepth + 1);
        }
        if (!usage.bComplete)
            break;
    }
    closedir(pDir);
}

} // namespace

std::optional<JobFolder> JobFolder::Create(std::string& strError) {
    const char* pszTemp = std::getenv("TMPDIR");
    std::string strBase = pszTemp && *pszTemp ? pszTemp : "/tmp";
    if (access(strBase.c_str(), W_OK | X_OK) != 0)
        strBase = "/tmp";
    RemoveLeftovers(strBase);
    // A later job's clean-up may find the folder between its making and its locking, take
    // it for a leftover and remove it: then the next folder serves.
    for (int nTry = 0; nTry < 10; ++nTry) {
        std::string strPath = strBase + "/" + std::string(FOLDER_PREFIX) + "XXXXXX";
        if (!mkdtemp(strPath.data())) {
            strError = "cannot create the job's temporary folder in " + strBase + ": " +
                       std::strerror(errno);
            return std::nullopt;
        }
        UniqueFd lock = OpenFolder(AT_FDCWD, strPath);
        struct stat held {};
        struct stat named {};
        if (lock && flock(lock.Get(), LOCK_EX) == 0 && fstat(lock.Get(), &held) == 0 &&
            lstat(strPath.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev)
            return JobFolder(strPath, std::move(lock));
    }
    strError = "cannot hold a temporary folder of the job in " + strBase;
    return std::nullopt;
}

JobFolder::JobFolder(std::string strPath, UniqueFd lock)
    : m_strPath(std::move(strPath)), m_lock(std::move(lock)) {}

JobFolder::JobFolder(JobFolder&& other) noexcept
    : m_strPath(std::exchange(other.m_strPath, "")), m_lock(std::move(other.m_lock)) {}

JobFolder::~JobFolder() {
    if (m_strPath.empty())
        return;
    // Symbolic links are removed, never followed.
    std::error_code error;
    std::filesystem::remove_all(m_strPath, error);
}

FolderUsage MeasureFolder(int nDirFd, size_t nMaxEntries) {
    FolderUsage usage;
    AddUsage(nDirFd, usage, nMaxEntries, 0);
    return usage;
}

bool CancelRequested(int nCancelFd) {
    if (nCancelFd < 0)
        return false;
    pollfd cancel{nCancelFd, POLLIN, 0};
    return poll(&cancel, 1, 0) > 0;
}

bool CopyJob(int nFd, const std::string& strPath, int nCancelFd, std::string& strError) {
    const UniqueFd to(open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!to) {
        strError = "cannot copy the job: " + std::string(std::strerror(errno));
        return false;
    }
    bool bInKernel = true;
    for (;;) {
        if (CancelRequested(nCancelFd)) {
            strError = "the job was cancelled";
            return false;
        }
        const ssize_t nCopied = CopyPiece(nFd, to.Get(), bInKernel);
        if (nCopied == 0)
            return true;
        if (nCopied < 0 && errno != EINTR) {
            strError = "cannot copy the job: " + std::string(std::strerror(errno));
            return false;
        }
    }
}

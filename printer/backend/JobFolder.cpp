#include "printer/backend/JobFolder.h"

#include "printer/backend/UniqueFd.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

namespace {

bool IsCancelled(int nCancelFd) {
    if (nCancelFd < 0)
        return false;
    pollfd cancel{nCancelFd, POLLIN, 0};
    return poll(&cancel, 1, 0) > 0;
}

bool WriteAll(int nFd, const char* pData, size_t nSize) {
    while (nSize > 0) {
        const ssize_t nWritten = write(nFd, pData, nSize);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
            return false;
        pData += nWritten;
        nSize -= static_cast<size_t>(nWritten);
    }
    return true;
}

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

} // namespace

std::optional<JobFolder> JobFolder::Create(std::string& strError) {
    const char* pszTemp = std::getenv("TMPDIR");
    std::string strBase = pszTemp && *pszTemp ? pszTemp : "/tmp";
    if (access(strBase.c_str(), W_OK | X_OK) != 0)
        strBase = "/tmp";
    std::string strPath = strBase + "/quillon-job-XXXXXX";
    if (!mkdtemp(strPath.data())) {
        strError =
            "cannot create the job's temporary folder in " + strBase + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return JobFolder(strPath);
}

JobFolder::JobFolder(JobFolder&& other) noexcept : m_strPath(std::exchange(other.m_strPath, "")) {}

JobFolder::~JobFolder() {
    if (m_strPath.empty())
        return;
    // Symbolic links are removed, never followed.
    std::error_code error;
    std::filesystem::remove_all(m_strPath, error);
}

bool CopyJob(int nFd, const std::string& strPath, int nCancelFd, std::string& strError) {
    const UniqueFd to(open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!to) {
        strError = "cannot copy the job: " + std::string(std::strerror(errno));
        return false;
    }
    bool bInKernel = true;
    for (;;) {
        if (IsCancelled(nCancelFd)) {
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

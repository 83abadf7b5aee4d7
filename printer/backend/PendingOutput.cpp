#include "printer/backend/PendingOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr const char* TEMP_TEMPLATE = ".quillon-XXXXXX";

std::string ErrnoText() {
    return std::strerror(errno);
}

// Renames without replacing: in one step where the file system can, else by a hard link,
// which fails just the same when the name is taken.
bool RenameNoReplace(const std::string& strFrom, const std::string& strTo) {
    if (renameat2(AT_FDCWD, strFrom.c_str(), AT_FDCWD, strTo.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (link(strFrom.c_str(), strTo.c_str()) != 0)
        return false;
    unlink(strFrom.c_str());
    return true;
}

} // namespace

PendingOutput::PendingOutput(std::string strDirectory, std::string strTempName, int nFd)
    : m_strDirectory(std::move(strDirectory)), m_strTempName(std::move(strTempName)), m_nFd(nFd) {}

PendingOutput::PendingOutput(PendingOutput&& other) noexcept
    : m_strDirectory(std::move(other.m_strDirectory)),
      m_strTempName(std::move(other.m_strTempName)), m_nFd(std::exchange(other.m_nFd, -1)),
      m_bCommitted(std::exchange(other.m_bCommitted, true)) {}

PendingOutput& PendingOutput::operator=(PendingOutput&& other) noexcept {
    if (this != &other) {
        Discard();
        m_strDirectory = std::move(other.m_strDirectory);
        m_strTempName = std::move(other.m_strTempName);
        m_nFd = std::exchange(other.m_nFd, -1);
        m_bCommitted = std::exchange(other.m_bCommitted, true);
    }
    return *this;
}

PendingOutput::~PendingOutput() {
    Discard();
}

void PendingOutput::Discard() {
    if (m_nFd >= 0) {
        close(m_nFd);
        m_nFd = -1;
    }
    if (!m_bCommitted) {
        unlink(TempPath().c_str());
        m_bCommitted = true;
    }
}

std::optional<PendingOutput> PendingOutput::Create(const std::string& strDirectory,
                                                   std::string& strError) {
    std::string strPath = strDirectory + "/" + TEMP_TEMPLATE;
    const int nFd = mkostemp(strPath.data(), O_CLOEXEC);
    if (nFd < 0) {
        strError = "cannot create a file in the output folder: " + ErrnoText();
        return std::nullopt;
    }
    // mkostemp makes the file private; the PDF gets the permissions any new file would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(nFd, 0666 & ~mask);
    return PendingOutput(strDirectory, strPath.substr(strDirectory.size() + 1), nFd);
}

bool PendingOutput::HoldsPdf() const {
    char header[5] = {};
    return pread(m_nFd, header, sizeof header, 0) == sizeof header &&
           std::memcmp(header, "%PDF-", sizeof header) == 0;
}

bool PendingOutput::Commit(const std::string& strName, bool bOverwrite, std::string& strError) {
    if (m_nFd < 0 || m_bCommitted) {
        strError = "the output file was already given away";
        return false;
    }
    if (fsync(m_nFd) != 0) {
        strError = "cannot write the output file: " + ErrnoText();
        return false;
    }
    const std::string strTarget = m_strDirectory + "/" + strName;
    const bool bRenamed = bOverwrite ? rename(TempPath().c_str(), strTarget.c_str()) == 0
                                     : RenameNoReplace(TempPath(), strTarget);
    if (!bRenamed) {
        strError = errno == EEXIST ? std::string("the output file exists and the job does not "
                                                 "allow replacing it")
                                   : "cannot give the output file its name: " + ErrnoText();
        return false;
    }
    m_bCommitted = true;
    close(m_nFd);
    m_nFd = -1;
    return true;
}

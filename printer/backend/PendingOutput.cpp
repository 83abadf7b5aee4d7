#include "printer/backend/PendingOutput.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

// Gives the unnamed file open as nFd the path strTo; fails with EEXIST when it is taken.
bool LinkUnnamed(int nFd, const std::string& strTo) {
    const std::string strSelf = "/proc/self/fd/" + std::to_string(nFd);
    return linkat(AT_FDCWD, strSelf.c_str(), AT_FDCWD, strTo.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// A file that exists only while the caller holds it; the permissions follow the umask.
int CreateUnnamed(const std::string& strDirectory) {
    return open(strDirectory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
}

// The same for file systems without unnamed files: a hidden name beside the target.
int CreateNamed(const std::string& strDirectory, std::string& strName) {
    std::string strPath = strDirectory + "/" + TEMP_TEMPLATE;
    const int nFd = mkostemp(strPath.data(), O_CLOEXEC);
    if (nFd < 0)
        return -1;
    // mkostemp makes the file private; the PDF gets the permissions any new file would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(nFd, 0666 & ~mask);
    strName = strPath.substr(strDirectory.size() + 1);
    return nFd;
}

} // namespace

PendingOutput::PendingOutput(std::string strDirectory, std::string strTempName, UniqueFd fd)
    : m_strDirectory(std::move(strDirectory)), m_strTempName(std::move(strTempName)),
      m_fd(std::move(fd)) {}

PendingOutput::PendingOutput(PendingOutput&& other) noexcept
    : m_strDirectory(std::move(other.m_strDirectory)),
      m_strTempName(std::move(other.m_strTempName)), m_fd(std::move(other.m_fd)),
      m_bCommitted(std::exchange(other.m_bCommitted, true)) {}

PendingOutput& PendingOutput::operator=(PendingOutput&& other) noexcept {
    if (this != &other) {
        Discard();
        m_strDirectory = std::move(other.m_strDirectory);
        m_strTempName = std::move(other.m_strTempName);
        m_fd = std::move(other.m_fd);
        m_bCommitted = std::exchange(other.m_bCommitted, true);
    }
    return *this;
}

PendingOutput::~PendingOutput() {
    Discard();
}

void PendingOutput::Discard() {
    m_fd.Reset();
    if (!m_bCommitted && IsNamed())
        unlink((m_strDirectory + "/" + m_strTempName).c_str());
    m_bCommitted = true;
}

std::optional<PendingOutput> PendingOutput::Create(const std::string& strDirectory,
                                                   std::string& strError) {
    std::string strTempName;
    int nFd = CreateUnnamed(strDirectory);
    // EOPNOTSUPP: the file system has no unnamed files; EISDIR: the kernel does not know them.
    if (nFd < 0 && (errno == EOPNOTSUPP || errno == EISDIR))
        nFd = CreateNamed(strDirectory, strTempName);
    if (nFd < 0) {
        strError = "cannot create a file in the output folder: " + ErrnoText();
        return std::nullopt;
    }
    return PendingOutput(strDirectory, strTempName, UniqueFd(nFd));
}

bool PendingOutput::NameUnnamed() {
    static const char LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int nTry = 0; nTry < 100; ++nTry) {
        unsigned char random[6];
        if (getrandom(random, sizeof random, 0) != sizeof random)
            return false;
        std::string strName = TEMP_TEMPLATE;
        for (size_t i = 0; i < sizeof random; ++i)
            strName[strName.size() - sizeof random + i] = LETTERS[random[i] % (sizeof LETTERS - 1)];
        if (LinkUnnamed(m_fd.Get(), m_strDirectory + "/" + strName)) {
            m_strTempName = strName;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool PendingOutput::FailCommit(std::string& strError) {
    strError = errno == EEXIST
                   ? std::string("the output file exists and the job does not allow replacing it")
                   : "cannot give the output file its name: " + ErrnoText();
    return false;
}

bool PendingOutput::HoldsPdf() const {
    char header[5] = {};
    return pread(m_fd.Get(), header, sizeof header, 0) == sizeof header &&
           std::memcmp(header, "%PDF-", sizeof header) == 0;
}

bool PendingOutput::Commit(const std::string& strName, bool bOverwrite, std::string& strError) {
    if (!m_fd || m_bCommitted) {
        strError = "the output file was already given away";
        return false;
    }
    if (fsync(m_fd.Get()) != 0) {
        strError = "cannot write the output file: " + ErrnoText();
        return false;
    }
    const std::string strTarget = m_strDirectory + "/" + strName;
    if (!IsNamed() && !bOverwrite) {
        if (!LinkUnnamed(m_fd.Get(), strTarget))
            return FailCommit(strError);
    } else {
        // Replacing takes a name first: rename is the one step that replaces.
        if (!IsNamed() && !NameUnnamed())
            return FailCommit(strError);
        const std::string strTemp = m_strDirectory + "/" + m_strTempName;
        const bool bRenamed = bOverwrite ? rename(strTemp.c_str(), strTarget.c_str()) == 0
                                         : RenameNoReplace(strTemp, strTarget);
        if (!bRenamed)
            return FailCommit(strError);
    }
    m_bCommitted = true;
    m_fd.Reset();
    return true;
}

#include "printer/backend/PendingOutput.h"

#include "printer/backend/NumberedName.h"
#include "printer/backend/TargetPath.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>
#include <utility>

namespace {

constexpr std::string_view TEMP_PREFIX = ".quillon-";

std::string ErrnoText() {
    return std::strerror(errno);
}

// A hidden name that no other file is likely to have; empty when no randomness is to be
// had.
std::string RandomTempName() {
    static const char LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char random[6];
    if (getrandom(random, sizeof random, 0) != sizeof random)
        return {};
    std::string strName(TEMP_PREFIX);
    for (unsigned char c : random)
        strName.push_back(LETTERS[c % (sizeof LETTERS - 1)]);
    return strName;
}

// A file that exists only while the caller holds it.
int CreateUnnamed(int nDirFd) {
    return openat(nDirFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
}

// The same for file systems without unnamed files: a hidden name in the folder.
int CreateNamed(int nDirFd, std::string& strName) {
    for (int nTry = 0; nTry < 100; ++nTry) {
        strName = RandomTempName();
        if (strName.empty())
            return -1;
        const int nFd = openat(nDirFd, strName.c_str(),
                               O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (nFd >= 0 || errno != EEXIST)
            return nFd;
    }
    return -1;
}

// What the last bytes of a PDF hold: "startxref", the offset, "%%EOF" and at most some
// white space.
bool EndsLikePdf(std::string_view tail) {
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r' || tail.back() == ' '))
        tail.remove_suffix(1);
    constexpr std::string_view END = "%%EOF";
    if (tail.size() < END.size() || tail.substr(tail.size() - END.size()) != END)
        return false;
    return tail.find("startxref") != std::string_view::npos;
}

// Jobs that name files in one folder take turns, so that the look for a free name (in any
// case, as Wine looks) and the naming are one step among them: two jobs finishing at once
// would else give names that differ only in case. The turn is a lock on the folder, which
// anyone who may read the folder could hold: after a while the naming goes on without it
// (then two names may differ only in case; none is ever given twice).
class FolderTurn {
public:
    explicit FolderTurn(int nDirFd)
        : m_folder(openat(nDirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        constexpr std::chrono::seconds WAIT{5};
        const auto deadline = std::chrono::steady_clock::now() + WAIT;
        while (m_folder && flock(m_folder.Get(), LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) ||
                std::chrono::steady_clock::now() >= deadline)
                m_folder.Reset();
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

private:
    UniqueFd m_folder; // closing it ends the turn
};

} // namespace

PendingOutput::PendingOutput(UniqueFd folder, std::string strTempName, UniqueFd fd)
    : m_folder(std::move(folder)), m_strTempName(std::move(strTempName)), m_fd(std::move(fd)) {}

PendingOutput::PendingOutput(PendingOutput&& other) noexcept
    : m_folder(std::move(other.m_folder)), m_strTempName(std::move(other.m_strTempName)),
      m_fd(std::move(other.m_fd)), m_bPublished(std::exchange(other.m_bPublished, true)) {}

PendingOutput& PendingOutput::operator=(PendingOutput&& other) noexcept {
    if (this != &other) {
        Discard();
        m_folder = std::move(other.m_folder);
        m_strTempName = std::move(other.m_strTempName);
        m_fd = std::move(other.m_fd);
        m_bPublished = std::exchange(other.m_bPublished, true);
    }
    return *this;
}

PendingOutput::~PendingOutput() {
    Discard();
}

void PendingOutput::Discard() {
    m_fd.Reset();
    if (!m_bPublished && IsNamed())
        unlinkat(m_folder.Get(), m_strTempName.c_str(), 0);
    m_bPublished = true;
}

std::optional<PendingOutput> PendingOutput::Create(int nDirFd, std::string& strError) {
    UniqueFd folder(fcntl(nDirFd, F_DUPFD_CLOEXEC, 3));
    if (!folder) {
        strError = "cannot hold the output folder: " + ErrnoText();
        return std::nullopt;
    }
    std::string strTempName;
    int nFd = CreateUnnamed(folder.Get());
    // EOPNOTSUPP: the file system has no unnamed files; EISDIR: the kernel does not know them.
    if (nFd < 0 && (errno == EOPNOTSUPP || errno == EISDIR))
        nFd = CreateNamed(folder.Get(), strTempName);
    if (nFd < 0) {
        strError = "cannot create a file in the output folder: " + ErrnoText();
        return std::nullopt;
    }
    return PendingOutput(std::move(folder), strTempName, UniqueFd(nFd));
}

bool PendingOutput::HoldsWholePdf() const {
    char header[5] = {};
    if (pread(m_fd.Get(), header, sizeof header, 0) != sizeof header ||
        std::memcmp(header, "%PDF-", sizeof header) != 0)
        return false;
    struct stat info {};
    if (fstat(m_fd.Get(), &info) != 0)
        return false;
    char tail[1024];
    const off_t nStart = info.st_size > off_t{sizeof tail} ? info.st_size - off_t{sizeof tail} : 0;
    const ssize_t nRead = pread(m_fd.Get(), tail, sizeof tail, nStart);
    return nRead > 0 && EndsLikePdf(std::string_view(tail, static_cast<size_t>(nRead)));
}

bool PendingOutput::NameUnnamed() {
    const std::string strSelf = "/proc/self/fd/" + std::to_string(m_fd.Get());
    for (int nTry = 0; nTry < 100; ++nTry) {
        const std::string strName = RandomTempName();
        if (strName.empty())
            return false;
        if (linkat(AT_FDCWD, strSelf.c_str(), m_folder.Get(), strName.c_str(), AT_SYMLINK_FOLLOW) ==
            0) {
            m_strTempName = strName;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool PendingOutput::NameNoReplace(const std::string& strName) {
    const int nDir = m_folder.Get();
    if (!IsNamed()) {
        const std::string strSelf = "/proc/self/fd/" + std::to_string(m_fd.Get());
        return linkat(AT_FDCWD, strSelf.c_str(), nDir, strName.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
    if (renameat2(nDir, m_strTempName.c_str(), nDir, strName.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // Without the one-step rename a hard link fails just the same when the name is taken.
    if (linkat(nDir, m_strTempName.c_str(), nDir, strName.c_str(), 0) != 0)
        return false;
    unlinkat(nDir, m_strTempName.c_str(), 0);
    return true;
}

bool PendingOutput::NameReplacing(const std::string& strName) {
    // Replacing takes a name first: rename is the one step that replaces.
    if (!IsNamed() && !NameUnnamed())
        return false;
    return renameat(m_folder.Get(), m_strTempName.c_str(), m_folder.Get(), strName.c_str()) == 0;
}

std::optional<std::string> PendingOutput::Publish(const std::string& strName, bool bReplace,
                                                  unsigned nNumberedNames, std::string& strError) {
    if (!m_fd || m_bPublished) {
        strError = "the file was already given away";
        return std::nullopt;
    }
    if (fsync(m_fd.Get()) != 0) {
        strError = "cannot write the file: " + ErrnoText();
        return std::nullopt;
    }
    const FolderTurn turn(m_folder.Get());
    const std::optional<std::string> existing = FindEntry(m_folder.Get(), strName);
    if (bReplace ? NameReplacing(existing.value_or(strName)) : !existing && NameNoReplace(strName))
        return Published(bReplace ? existing.value_or(strName) : strName);
    // A name that is there (or was taken meanwhile), or a folder in the way, which cannot
    // be replaced: a numbered name then.
    const bool bTaken =
        (existing && !bReplace) || errno == EEXIST || errno == EISDIR || errno == ENOTEMPTY;
    if (!bTaken) {
        strError = "cannot give the file its name: " + ErrnoText();
        return std::nullopt;
    }
    const std::set<std::string> taken = FoldedEntryNames(m_folder.Get());
    for (unsigned nNumber = 0; nNumber < nNumberedNames; ++nNumber) {
        const std::string strNumbered = NumberedName(strName, nNumber);
        if (taken.count(FoldCase(strNumbered)) != 0)
            continue;
        if (NameNoReplace(strNumbered))
            return Published(strNumbered);
        if (errno != EEXIST) {
            strError = "cannot give the file the name " + strNumbered + ": " + ErrnoText();
            return std::nullopt;
        }
    }
    m_bOutOfNames = true;
    strError = nNumberedNames == 0
                   ? strName + " is taken"
                   : strName + " and the numbered names up to " +
                         NumberedName(strName, nNumberedNames - 1) + " are all taken";
    return std::nullopt;
}

std::string PendingOutput::Published(const std::string& strName) {
    m_bPublished = true;
    m_fd.Reset();
    return strName;
}

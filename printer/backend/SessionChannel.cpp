#include "printer/backend/SessionChannel.h"

#include "printer/backend/PendingOutput.h"
#include "printer/backend/TargetPath.h"
#include "printer/backend/WriteAll.h"
#include "printer/session/SessionProtocol.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

std::optional<SessionChannel> SessionChannel::Open(int nDosdevicesFd, uid_t uid, FolderWalk& walk,
                                                   std::string& strWhy) {
    const WindowsPath lockPath{'c',
                               {"ProgramData", "Veltrane Quillon", "Sitzung", SESSION_LOCK_FILE}};
    std::string strError;
    std::optional<TargetPath> lock =
        ResolveTarget(nDosdevicesFd, "dosdevices", lockPath, walk, strError);
    if (!lock) {
        strWhy = "no session program has run in the prefix: " + strError;
        return std::nullopt;
    }
    struct stat folder {};
    if (fstat(lock->folder.Get(), &folder) != 0 || folder.st_uid != uid) {
        strWhy = "the session folder is not the job's user's";
        return std::nullopt;
    }
    if ((folder.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        strWhy = "the session folder may be changed by other users";
        return std::nullopt;
    }
    // The session program makes its folder as Wine makes any, open to others' reading.
    if ((folder.st_mode & 077) != 0) {
        const UniqueFd listing = OpenForListing(lock->folder.Get());
        if (!listing || fchmod(listing.Get(), folder.st_mode & 0700) != 0) {
            strWhy =
                std::string("the session folder cannot be made private: ") + std::strerror(errno);
            return std::nullopt;
        }
    }
    UniqueFd lockFile(openat(lock->folder.Get(), lock->strName.c_str(),
                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!lockFile || fstat(lockFile.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        strWhy = "no session program has run in the prefix";
        return std::nullopt;
    }
    SessionChannel channel(std::move(lock->folder), std::move(lockFile), uid);
    if (!channel.SessionRuns()) {
        strWhy = "no session program runs in the prefix";
        return std::nullopt;
    }
    return channel;
}

bool SessionChannel::SessionRuns() const {
    // Wine turns the session program's lock into a lock of the Unix file, held by its
    // server; a probe for a whole-file lock finds it.
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    return fcntl(m_lock.Get(), F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

bool SessionChannel::Put(const std::string& strName, const std::string& strText,
                         std::string& strError) {
    std::optional<PendingOutput> file = PendingOutput::Create(m_folder.Get(), strError);
    if (!file)
        return false;
    if (!WriteAll(file->Fd(), strText.data(), strText.size())) {
        strError = std::string("cannot write: ") + std::strerror(errno);
        return false;
    }
    return file->Publish(strName, false, 0, strError).has_value();
}

SessionChannel::Read SessionChannel::Take(const std::string& strName, std::string& strText,
                                          std::string& strError) const {
    const UniqueFd file(
        openat(m_folder.Get(), strName.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file && errno == ENOENT)
        return Read::Missing;
    struct stat info {};
    if (!file || fstat(file.Get(), &info) != 0) {
        strError = std::string("cannot be opened: ") + std::strerror(errno);
        return Read::Refused;
    }
    if (!S_ISREG(info.st_mode) || info.st_uid != m_uid) {
        strError = "is not a file of the job's user";
        return Read::Refused;
    }
    strText.assign(SESSION_FILE_MAX_BYTES + 1, '\0');
    size_t nRead = 0;
    while (nRead < strText.size()) {
        const ssize_t n = read(file.Get(), strText.data() + nRead, strText.size() - nRead);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            strError = std::string("cannot be read: ") + std::strerror(errno);
            return Read::Refused;
        }
        if (n == 0)
            break;
        nRead += static_cast<size_t>(n);
    }
    if (nRead > SESSION_FILE_MAX_BYTES) {
        strError = "is longer than " + std::to_string(SESSION_FILE_MAX_BYTES) + " bytes";
        return Read::Refused;
    }
    strText.resize(nRead);
    return Read::Taken;
}

void SessionChannel::Remove(const std::string& strName) const {
    unlinkat(m_folder.Get(), strName.c_str(), 0);
}

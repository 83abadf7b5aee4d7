// The printer side's end of the channel to the session program (printer/session): the
// folder in the Wine prefix where questions, answers and messages lie, reached as the job's
// user through the prefix's drive C, never through another user's link. Every file read
// from it is hostile: only regular files of the job's user, at most a bounded size.
#pragma once

#include "printer/backend/FolderWalk.h"
#include "printer/backend/UniqueFd.h"

#include <sys/types.h>

#include <optional>
#include <string>

class SessionChannel {
public:
    // The folder C:\ProgramData\Veltrane Quillon\Sitzung of the prefix whose drive mapping
    // is nDosdevicesFd, when a session program holds it. nullopt, why in strWhy, when none
    // does: no such folder, a folder that is not the user's (uid) or that others may
    // change (they could answer in the user's name), or no session program holding the
    // lock. The folder is made private to the user: questions name the user's files.
    static std::optional<SessionChannel> Open(int nDosdevicesFd, uid_t uid, FolderWalk& walk,
                                              std::string& strWhy);

    // True while the session program holds its lock.
    bool SessionRuns() const;

    // Writes strText as the file strName, which appears whole or not at all and never
    // replaces a file. false, reason in strError, when it cannot.
    bool Put(const std::string& strName, const std::string& strText, std::string& strError);

    enum class Read { Missing, Taken, Refused };
    // The text of the file strName: Missing when there is none; Refused (why in strError)
    // for anything but a regular file of the user's of at most limit bytes.
    Read Take(const std::string& strName, std::string& strText, std::string& strError) const;

    void Remove(const std::string& strName) const;

private:
    SessionChannel(UniqueFd folder, UniqueFd lock, uid_t uid)
        : m_folder(std::move(folder)), m_lock(std::move(lock)), m_uid(uid) {}

    UniqueFd m_folder;
    UniqueFd m_lock;
    uid_t m_uid;
};

// Whose jobs the backend takes: the owner of the queue's Wine prefix, and no one else.
// The job's user is the one CUPS authenticated (the queue's policy demands it); the
// prefix's drives say where that user's files are, so another user's job, or a system
// account's, must never be mapped through them.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

// The user ids of ordinary accounts.
struct UidRange {
    uid_t min = 1000;
    uid_t max = 60000;
};

// UID_MIN and UID_MAX from a login.defs file; the defaults where a value is missing.
UidRange ReadUidRange(const std::string& strLoginDefs);

struct JobUser {
    std::string strName;
    uid_t uid = 0;
};

// Why the user's job may not write through a prefix whose folder and drive folder
// (dosdevices) belong to the given owners; nullopt when it may. Root may use only a
// prefix that root owns; system accounts none.
std::optional<std::string> RefuseJobUser(const JobUser& user, uid_t prefixOwner,
                                         uid_t dosdevicesOwner, const UidRange& ordinary);

// The same for a user by name and a prefix by path, as the system has them.
std::optional<std::string> CheckJobUser(const std::string& strUser, const std::string& strPrefix);

// Whose jobs the backend takes: the owner of the queue's Wine prefix, and no one else.
// The job's user must be the one CUPS authenticated (the queue's policy demands it, and
// CUPS says whom it proved); the prefix's drives say where that user's files are, so
// another user's job, or a system account's, must never be mapped through them.
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

// What CUPS proved about the client that sent the job: AUTH_USERNAME and AUTH_UID of the
// backend's environment (nullopt when unset). A local ordinary user gets both; root, who
// authenticates by CUPS's own certificate, only the name; a job whose user was merely
// claimed (sent through a class under CUPS's default policy, or moved in from another
// queue) neither.
struct ProvenIdentity {
    std::optional<std::string> strUsername;
    std::optional<std::string> strUid;
};

// Whether the job's user may print here at all (false, reason in strError): system
// accounts never, and nobody whom CUPS did not prove to be that very user.
[[nodiscard]] bool CheckJobUser(const JobUser& user, const ProvenIdentity& proven,
                                const UidRange& ordinary, std::string& strError);

// The owners and modes of a Wine prefix's folder and of its drive mapping (dosdevices).
struct PrefixFacts {
    uid_t prefixOwner = 0;
    mode_t prefixMode = 0;
    uid_t mappingOwner = 0;
    mode_t mappingMode = 0;
};

// Whether the job of the user with id uid may write through that prefix (false, reason in
// strError): the user owns both (root only a prefix that root owns), and no one else can
// change either (a folder that group or others may write would let them add a drive).
[[nodiscard]] bool CheckPrefix(uid_t uid, const PrefixFacts& facts, std::string& strError);

// The job's user as the system knows it; nullopt, reason in strError, when unknown.
[[nodiscard]] std::optional<JobUser> LookUpJobUser(const std::string& strUser,
                                                   std::string& strError);

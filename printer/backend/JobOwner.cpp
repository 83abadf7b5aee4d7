#include "printer/backend/JobOwner.h"

#include <pwd.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

UidRange ReadUidRange(const std::string& strLoginDefs) {
    UidRange range;
    std::ifstream file(strLoginDefs);
    std::string strLine;
    while (std::getline(file, strLine)) {
        std::istringstream words(strLine);
        std::string strKey;
        unsigned long nValue = 0;
        if (!(words >> strKey >> nValue))
            continue;
        if (strKey == "UID_MIN")
            range.min = static_cast<uid_t>(nValue);
        else if (strKey == "UID_MAX")
            range.max = static_cast<uid_t>(nValue);
    }
    return range;
}

std::optional<std::string> RefuseJobUser(const JobUser& user, const ProvenIdentity& proven,
                                         const UidRange& ordinary) {
    if (user.uid != 0 && (user.uid < ordinary.min || user.uid > ordinary.max))
        return std::string("the job's user is a system account");
    const std::string strUid = std::to_string(user.uid);
    const bool bNameProven = proven.strUsername && *proven.strUsername == user.strName;
    // Root's own jobs carry no AUTH_UID (root authenticates by certificate); a user's do.
    const bool bUidProven = proven.strUid ? *proven.strUid == strUid : user.uid == 0;
    if (!bNameProven || !bUidProven)
        return std::string("CUPS did not authenticate the job's user as that user (a job "
                           "sent through another queue or class, or moved in)");
    return std::nullopt;
}

std::optional<std::string> RefusePrefix(uid_t uid, const PrefixFacts& facts) {
    if (facts.prefixOwner != uid || facts.mappingOwner != uid)
        return std::string(uid == 0 ? "root's jobs are taken only for a Wine prefix that root owns"
                                    : "the job's user does not own the queue's Wine prefix");
    if (((facts.prefixMode | facts.mappingMode) & (S_IWGRP | S_IWOTH)) != 0)
        return std::string("the Wine prefix or its drive mapping may be changed by other users");
    return std::nullopt;
}

std::optional<JobUser> LookUpJobUser(const std::string& strUser, std::string& strError) {
    const passwd* pUser = strUser.empty() ? nullptr : getpwnam(strUser.c_str());
    if (!pUser) {
        strError = "the job's user is unknown";
        return std::nullopt;
    }
    return JobUser{pUser->pw_name, pUser->pw_uid};
}

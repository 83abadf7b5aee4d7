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

bool CheckJobUser(const JobUser& user, const ProvenIdentity& proven, const UidRange& ordinary,
                  std::string& strError) {
    if (user.uid != 0 && (user.uid < ordinary.min || user.uid > ordinary.max)) {
        strError = "the job's user is a system account";
        return false;
    }
    const std::string strUid = std::to_string(user.uid);
    const bool bNameProven = proven.strUsername && *proven.strUsername == user.strName;
    // Root's own jobs carry no AUTH_UID (root authenticates by certificate); a user's do.
    const bool bUidProven = proven.strUid ? *proven.strUid == strUid : user.uid == 0;
    if (!bNameProven || !bUidProven) {
        strError = "CUPS did not authenticate the job's user as that user (a job sent through "
                   "another queue or class, or moved in)";
        return false;
    }
    return true;
}

bool CheckPrefix(uid_t uid, const PrefixFacts& facts, std::string& strError) {
    if (facts.prefixOwner != uid || facts.mappingOwner != uid) {
        strError = uid == 0 ? "root's jobs are taken only for a Wine prefix that root owns"
                            : "the job's user does not own the queue's Wine prefix";
        return false;
    }
    if (((facts.prefixMode | facts.mappingMode) & (S_IWGRP | S_IWOTH)) != 0) {
        strError = "the Wine prefix or its drive mapping may be changed by other users";
        return false;
    }
    return true;
}

std::optional<JobUser> LookUpJobUser(const std::string& strUser, std::string& strError) {
    const passwd* pUser = strUser.empty() ? nullptr : getpwnam(strUser.c_str());
    if (!pUser) {
        strError = "the job's user is unknown";
        return std::nullopt;
    }
    return JobUser{pUser->pw_name, pUser->pw_uid};
}

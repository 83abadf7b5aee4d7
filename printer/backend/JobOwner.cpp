#include "printer/backend/JobOwner.h"

#include <pwd.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
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

std::optional<std::string> RefuseJobUser(const JobUser& user, uid_t prefixOwner,
                                         uid_t dosdevicesOwner, const UidRange& ordinary) {
    const bool bOwnsPrefix = prefixOwner == user.uid && dosdevicesOwner == user.uid;
    if (user.uid == 0) {
        if (bOwnsPrefix)
            return std::nullopt;
        return std::string("root's jobs are taken only for a Wine prefix that root owns");
    }
    if (user.uid < ordinary.min || user.uid > ordinary.max)
        return "the job's user \"" + user.strName + "\" is a system account";
    if (!bOwnsPrefix)
        return "the job's user \"" + user.strName + "\" does not own the queue's Wine prefix";
    return std::nullopt;
}

std::optional<std::string> CheckJobUser(const std::string& strUser, const std::string& strPrefix) {
    const passwd* pUser = strUser.empty() ? nullptr : getpwnam(strUser.c_str());
    if (!pUser)
        return "the job's user \"" + strUser + "\" is unknown";
    const JobUser user{pUser->pw_name, pUser->pw_uid};
    struct stat prefix {};
    struct stat dosdevices {};
    if (stat(strPrefix.c_str(), &prefix) != 0 ||
        stat((strPrefix + "/dosdevices").c_str(), &dosdevices) != 0)
        return "the queue's Wine prefix " + strPrefix + " cannot be read: " + std::strerror(errno);
    return RefuseJobUser(user, prefix.st_uid, dosdevices.st_uid, ReadUidRange("/etc/login.defs"));
}

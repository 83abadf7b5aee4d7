#include "printer/backend/SubmittingUser.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

bool BecomeSubmittingUser(const std::string& strUser, std::string& strError) {
    const passwd* pUser = strUser.empty() ? nullptr : getpwnam(strUser.c_str());
    if (!pUser) {
        strError = "the job's user \"" + strUser + "\" is unknown";
        return false;
    }
    const uid_t uid = pUser->pw_uid;
    const gid_t gid = pUser->pw_gid;
    if (geteuid() != 0) {
        if (geteuid() == uid)
            return true;
        strError = "the backend does not run as root and so cannot act as user " + strUser;
        return false;
    }
    // CUPS starts the backend with the group lp; the files get the user's own group.
    if (initgroups(pUser->pw_name, gid) != 0 || setgid(gid) != 0) {
        strError = "cannot switch to the groups of user " + strUser + ": " + std::strerror(errno);
        return false;
    }
    if (uid == 0)
        return true;
    if (setuid(uid) != 0) {
        strError = "cannot switch to user " + strUser + ": " + std::strerror(errno);
        return false;
    }
    // The switch must be for good: a way back to root would leave the job's files exposed.
    if (getuid() != uid || geteuid() != uid || setuid(0) == 0) {
        strError = "the switch to user " + strUser + " did not hold";
        return false;
    }
    return true;
}

// Reaching folders by path as a job may: a symbolic link is followed only when root or
// the job's own user owns it. A link another user planted (a folder of theirs turned into
// a link to a place only root may write) never leads a job elsewhere; root's jobs follow
// only root's links.
#pragma once

#include "printer/backend/UniqueFd.h"

#include <sys/types.h>

#include <string>

class FolderWalk {
public:
    explicit FolderWalk(uid_t trustedUid) : m_trustedUid(trustedUid) {}

    // The folder at the absolute path strPath; an invalid descriptor, reason in strError,
    // when it is not there, is no folder, or is reached only through another user's link.
    // The descriptor is an O_PATH one: good for the *at calls, not for reading.
    [[nodiscard]] UniqueFd Open(const std::string& strPath, std::string& strError);
    // The folder that the entry strName (one name, no slash) of the folder nDirFd leads to.
    [[nodiscard]] UniqueFd Step(int nDirFd, const std::string& strName, std::string& strError);

private:
    UniqueFd Walk(int nStartFd, const std::string& strPath, std::string& strError);

    uid_t m_trustedUid;
    int m_nLinksLeft = 40; // as many as the kernel follows in one lookup
};

// The folder nPathFd (an O_PATH descriptor) opened for reading its entries; invalid on
// failure.
[[nodiscard]] UniqueFd OpenForListing(int nPathFd);

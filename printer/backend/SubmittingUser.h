// The backend writes files as the user who submitted the job, never as root on someone
// else's behalf.
#pragma once

#include <string>

// Run as root: switches group list, group and user to strUser's for good (root stays
// root, with root's groups). Run as another user: only that same user is accepted. false, reason in
// strError, for an unknown user or a failed switch.
[[nodiscard]] bool BecomeSubmittingUser(const std::string& strUser, std::string& strError);

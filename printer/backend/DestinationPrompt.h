// Where a job's PDF goes when its ticket leaves that to the printer product (flag 1
// clear): the session program asks the user with "Speichern unter". Without a session
// program, or without an answer in time, the suggestion (the ticket's name with ".pdf")
// stays; an answer the printer side cannot use is refused like a ticket it cannot use,
// and the suggestion stays too.
#pragma once

#include "printer/backend/FolderWalk.h"
#include "printer/backend/JobLimits.h"
#include "printer/backend/TargetPath.h"
#include "printer/backend/WindowsPath.h"

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// Where the PDF goes: the folder and name on the Unix side, the Windows path the user
// knows, and whether an existing file there is replaced.
struct Destination {
    TargetPath target;
    WindowsPath path;
    bool bReplace = false;
};

// "C:\folder\name" of a path.
std::string WindowsPathText(const WindowsPath& path);

// The prefix as the job may reach it.
struct PrefixAccess {
    int nDosdevicesFd = -1;
    std::string strDosdevices; // for messages
    uid_t uid = 0;
    FolderWalk* pWalk = nullptr;
};

// For a job whose ticket has flag 1 clear: asks the session program of the prefix where
// the PDF for strJobKey goes, suggesting destination, waiting at most limits.saveQuestion
// (or until nCancelFd is readable), and says in CUPS's log what became of the question.
// destination becomes the user's choice, replacing only when the user said so; it stays
// the suggestion when nobody answered in time, or when the answer could not be used
// (bChoiceRefused then). The backend's exit code when the job ends here: cancelled by the
// user, or by CUPS while it waited.
std::optional<int> SettleDestination(const PrefixAccess& prefix, const std::string& strJobKey,
                                     Destination& destination, const JobLimits& limits,
                                     int nCancelFd, bool& bChoiceRefused);

// After a refused choice: tells the session program where the PDF went instead (strWritten,
// the name it got in the suggestion's folder).
void TellChoiceRefused(const PrefixAccess& prefix, const std::string& strJobKey,
                       const Destination& destination, const std::string& strWritten);

// Tells the session program of the prefix, if one runs, the lines for strJobKey; nothing
// when none runs.
void TellSession(const PrefixAccess& prefix, const std::string& strJobKey,
                 const std::vector<std::string>& lines);

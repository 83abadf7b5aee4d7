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

#include <string>

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

enum class PromptResult {
    Suggestion,    // nobody answered: the suggestion stays (strNote says why)
    Chosen,        // the user chose: destination is the user's choice
    Refused,       // the answer could not be used: the suggestion stays (strNote says why)
    UserCancelled, // the user cancelled: nothing is written
    JobCancelled,  // CUPS cancelled the job while it waited
};

// Asks the session program of the prefix where the PDF for strJobKey goes, suggesting
// destination, and waits at most limits.saveQuestion (or until nCancelFd is readable).
// On Chosen, destination becomes the user's choice: replaced only when the user said so.
PromptResult PromptForDestination(const PrefixAccess& prefix, const std::string& strJobKey,
                                  Destination& destination, const JobLimits& limits, int nCancelFd,
                                  std::string& strNote);

// Tells the session program of the prefix, if one runs, the lines for strJobKey; nothing
// when none runs.
void TellSession(const PrefixAccess& prefix, const std::string& strJobKey,
                 const std::vector<std::string>& lines);

#include "printer/backend/BackendJob.h"

#include "printer/backend/BackendLog.h"
#include "printer/backend/Ghostscript.h"
#include "printer/backend/JobConfiguration.h"
#include "printer/backend/JobFolder.h"
#include "printer/backend/JobName.h"
#include "printer/backend/JobOwner.h"
#include "printer/backend/PendingOutput.h"
#include "printer/backend/SubmittingUser.h"
#include "printer/backend/TargetPath.h"
#include "printer/backend/TicketCheck.h"
#include "printer/backend/UniqueFd.h"
#include "printer/backend/WindowsPath.h"

#include <cups/backend.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

int Fail(const std::string& strReason) {
    LogError(strReason);
    return CUPS_BACKEND_FAILED;
}

} // namespace

int RunBackendJob(const BackendJob& job, int nCancelFd) {
    std::string strError;
    // Whose job it is comes first: a stranger's job is refused before its content is read.
    const std::optional<std::string> prefix = PrefixFromDeviceUri(job.strDeviceUri, strError);
    if (!prefix)
        return Fail("Queue misconfigured: " + strError + ": " + job.strDeviceUri);
    if (const std::optional<std::string> refusal = CheckJobUser(job.strUser, *prefix))
        return Fail("Job refused: " + *refusal + ".");
    const std::optional<std::string> name = SelectJobName(job.strTitle, job.strOptions, strError);
    if (!name)
        return Fail("Job refused: " + strError + ".");
    const std::optional<JobTicketFields> ticket = AcceptJobTicket(*name, strError);
    if (!ticket)
        return Fail("Job refused: " + strError + ": " + *name);
    const std::optional<WindowsPath> path = SplitWindowsPath(ticket->strOutputName, strError);
    if (!path)
        return Fail("Job refused: " + strError + ": " + ticket->strOutputName);
    LogDebug("configuration \"" + ticket->strConfiguration + "\", flags " +
             std::to_string(ticket->nFlags));

    // The spooled job file belongs to the scheduler: it is opened before the switch.
    const UniqueFd input(job.strInputFile.empty()
                             ? fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3)
                             : open(job.strInputFile.c_str(), O_RDONLY | O_CLOEXEC));
    if (!input)
        return Fail("Cannot open the job file: " + std::string(std::strerror(errno)));
    if (!BecomeSubmittingUser(job.strUser, strError))
        return Fail("Job refused: " + strError + ".");

    const std::optional<TargetPath> target = ResolveTarget(*prefix, *path, strError);
    if (!target)
        return Fail("Job refused: " + strError + ".");
    const bool bOverwrite = (ticket->nFlags & TICKET_FLAG_OVERWRITE) != 0;
    if (target->bExists && !bOverwrite)
        return Fail("Job refused: " + ticket->strOutputName +
                    " exists and the job does not allow replacing it.");

    if (access(job.strPrelude.c_str(), R_OK) != 0)
        return Fail("Backend incomplete: cannot read " + job.strPrelude + ".");
    const std::optional<JobFolder> folder = JobFolder::Create(strError);
    if (!folder)
        return Fail("Conversion failed: " + strError + ".");
    // Ghostscript reads a file by its path more than twice as fast as from standard
    // input. The scheduler's file is not open to the job's user: then a copy serves.
    std::string strJob = job.strInputFile;
    if (strJob.empty() || access(strJob.c_str(), R_OK) != 0) {
        strJob = folder->Path() + "/job";
        if (!CopyJob(input.Get(), strJob, nCancelFd, strError))
            return Fail("Conversion failed: " + strError + ".");
    }
    std::optional<PendingOutput> output = PendingOutput::Create(target->strDirectory, strError);
    if (!output)
        return Fail("Cannot write " + ticket->strOutputName + ": " + strError + ".");
    // Read as the job's user: the prefix is that user's.
    const std::vector<std::string> pdfSwitches = JobPdfSwitches(*prefix, ticket->strConfiguration);
    LogInfo("Converting to " + ticket->strOutputName);
    const GhostscriptRun run = RunGhostscript(job.strPrelude, strJob, folder->Path(), output->Fd(),
                                              job.limits, nCancelFd, pdfSwitches);
    for (const std::string& strLine : run.log)
        if (!strLine.empty())
            LogDebug("gs: " + strLine);
    if (!run.bSucceeded)
        return Fail("Conversion failed: " + run.strFailure + ".");
    if (!output->HoldsPdf())
        return Fail("Conversion failed: Ghostscript wrote no PDF file.");
    if (!output->Commit(target->strName, bOverwrite, strError))
        return Fail("Cannot write " + ticket->strOutputName + ": " + strError + ".");
    // The folder's real path, without the prefix's drive links, is what a user looks for.
    std::string strFolder = target->strDirectory;
    if (char* pszReal = realpath(strFolder.c_str(), nullptr)) {
        strFolder = pszReal;
        std::free(pszReal);
    }
    LogInfo("Wrote " + strFolder + "/" + target->strName);
    return CUPS_BACKEND_OK;
}

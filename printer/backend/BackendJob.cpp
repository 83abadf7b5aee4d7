#include "printer/backend/BackendJob.h"

#include "printer/backend/BackendLog.h"
#include "printer/backend/Ghostscript.h"
#include "printer/backend/JobName.h"
#include "printer/backend/PendingOutput.h"
#include "printer/backend/SubmittingUser.h"
#include "printer/backend/TargetPath.h"
#include "printer/backend/TicketCheck.h"
#include "printer/backend/WindowsPath.h"

#include <cups/backend.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

int Fail(const std::string& strReason) {
    LogError(strReason);
    return CUPS_BACKEND_FAILED;
}

// The scheduler's temporary folder is not open to every user; Ghostscript's own
// temporary files then go to the system's.
void UseWritableTempFolder() {
    const char* pszTemp = std::getenv("TMPDIR");
    if (pszTemp && access(pszTemp, W_OK | X_OK) != 0)
        setenv("TMPDIR", "/tmp", 1);
}

void ForwardGhostscriptLog(const std::string& strLog) {
    std::istringstream lines(strLog);
    std::string strLine;
    while (std::getline(lines, strLine)) {
        if (!strLine.empty())
            LogDebug("gs: " + strLine);
    }
}

// Holds the job file open for Ghostscript's standard input.
class JobInput {
public:
    explicit JobInput(const std::string& strPath)
        : m_nFd(strPath.empty() ? STDIN_FILENO : open(strPath.c_str(), O_RDONLY | O_CLOEXEC)),
          m_bOwned(!strPath.empty()) {}
    JobInput(const JobInput&) = delete;
    JobInput& operator=(const JobInput&) = delete;
    ~JobInput() {
        if (m_bOwned && m_nFd >= 0)
            close(m_nFd);
    }
    int Fd() const { return m_nFd; }

private:
    int m_nFd;
    bool m_bOwned;
};

} // namespace

int RunBackendJob(const BackendJob& job, const volatile std::sig_atomic_t* pCancel) {
    std::string strError;
    const std::optional<std::string> name = SelectJobName(job.strTitle, job.strOptions, strError);
    if (!name)
        return Fail("Job refused: " + strError + ".");
    const std::optional<JobTicketFields> ticket = AcceptJobTicket(*name, strError);
    if (!ticket)
        return Fail("Job refused: " + strError + ": " + *name);
    const std::optional<WindowsPath> path = SplitWindowsPath(ticket->strOutputName, strError);
    if (!path)
        return Fail("Job refused: " + strError + ": " + ticket->strOutputName);
    const std::optional<std::string> prefix = PrefixFromDeviceUri(job.strDeviceUri, strError);
    if (!prefix)
        return Fail("Queue misconfigured: " + strError + ": " + job.strDeviceUri);
    LogDebug("configuration \"" + ticket->strConfiguration + "\", flags " +
             std::to_string(ticket->nFlags));

    // The spooled job file belongs to the scheduler: it is opened before the switch.
    JobInput input(job.strInputFile);
    if (input.Fd() < 0)
        return Fail("Cannot open the job file: " + std::string(std::strerror(errno)));
    if (!BecomeSubmittingUser(job.strUser, strError))
        return Fail("Job refused: " + strError + ".");
    UseWritableTempFolder();

    const std::optional<TargetPath> target = ResolveTarget(*prefix, *path, strError);
    if (!target)
        return Fail("Job refused: " + strError + ".");
    const bool bOverwrite = (ticket->nFlags & TICKET_FLAG_OVERWRITE) != 0;
    if (target->bExists && !bOverwrite)
        return Fail("Job refused: " + ticket->strOutputName +
                    " exists and the job does not allow replacing it.");

    if (access(job.strPrelude.c_str(), R_OK) != 0)
        return Fail("Backend incomplete: cannot read " + job.strPrelude + ".");
    std::optional<PendingOutput> output = PendingOutput::Create(target->strDirectory, strError);
    if (!output)
        return Fail(strError);
    LogInfo("Converting to " + ticket->strOutputName);
    const GhostscriptRun run = RunGhostscript(job.strPrelude, target->strDirectory,
                                              output->TempName(), input.Fd(), pCancel);
    ForwardGhostscriptLog(run.strLog);
    if (!run.bSucceeded)
        return Fail("Conversion failed: " + run.strFailure);
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

#include "printer/backend/BackendJob.h"

#include "printer/backend/BackendLog.h"
#include "printer/backend/DestinationPrompt.h"
#include "printer/backend/FailureReport.h"
#include "printer/backend/FolderWalk.h"
#include "printer/backend/Ghostscript.h"
#include "printer/backend/JobConfiguration.h"
#include "printer/backend/JobFolder.h"
#include "printer/backend/JobName.h"
#include "printer/backend/PendingOutput.h"
#include "printer/backend/SubmittingUser.h"
#include "printer/backend/TargetPath.h"
#include "printer/backend/TicketCheck.h"
#include "printer/backend/UniqueFd.h"
#include "printer/backend/WindowsPath.h"

#include "engine/JobFraming.h"
#include "printer/session/SessionProtocol.h"

#include <cups/backend.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <variant>

namespace {

// Refusals come before the target is trusted: they go to CUPS only, the details where
// only administrators read them.
int Refuse(const std::string& strWhy, const std::string& strDetail) {
    LogDebug(strDetail);
    LogError("Job refused: " + strWhy + ".");
    return CUPS_BACKEND_FAILED;
}

// The beginning of a name from the job, for a log line.
std::string Excerpt(const std::string& strName) {
    constexpr size_t MAX_BYTES = 160;
    return strName.size() <= MAX_BYTES ? strName : strName.substr(0, MAX_BYTES) + "...";
}

// With flag 1 clear the program left the extension off, for the printer product to ask
// the user where to save: the name with ".pdf" is what the user is offered, and where the
// PDF goes when nobody answers.
void GivePdfName(WindowsPath& path, uint32_t nFlags) {
    if ((nFlags & TICKET_FLAG_NO_PROMPT) == 0)
        path.components.back() += ".pdf";
}

// A conversion that failed once its target was known, with what Ghostscript said.
struct Failed {
    JobFailure failure;
    std::vector<std::string> interpreter;
};

// The name the PDF got, or why there is none.
using Outcome = std::variant<std::string, Failed>;

Failed Failure(FailureKind kind, std::string strReason, std::string strDetail = {}) {
    return Failed{JobFailure{kind, std::move(strReason), std::move(strDetail)}, {}};
}

// The real path of an open folder, as a user looks for it (no drive links).
std::string RealPath(int nDirFd) {
    std::string strPath(4096, '\0');
    const std::string strSelf = "/proc/self/fd/" + std::to_string(nDirFd);
    const ssize_t nLength = readlink(strSelf.c_str(), strPath.data(), strPath.size());
    strPath.resize(nLength > 0 ? static_cast<size_t>(nLength) : 0);
    return strPath;
}

// Whether the job ends with the program's closing line, which every job it did not cut
// short ends with (after a cancel or a failed write the program sends what it had and
// ends the job without it). nullopt when the job is no file that can be read from its end.
std::optional<bool> EndsWhole(int nFd) {
    struct stat info {};
    if (fstat(nFd, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    if (info.st_size < static_cast<off_t>(SHOW_PAGE_TRAILER_LINE_LENGTH))
        return false;
    char tail[SHOW_PAGE_TRAILER_LINE_LENGTH];
    return pread(nFd, tail, sizeof tail, info.st_size - static_cast<off_t>(sizeof tail)) ==
               static_cast<ssize_t>(sizeof tail) &&
           std::memcmp(tail, ShowPageTrailerLine, sizeof tail) == 0;
}

constexpr const char* CUT_SHORT =
    "the program cut the job short (a cancel, or data it could not send whole)";

// Why the job's folder has gone too far, if it has.
std::optional<std::string> FolderTooFull(const JobFolder& folder, const JobLimits& limits) {
    const FolderUsage usage = folder.Usage(limits.nMaxFolderEntries);
    if (!usage.bComplete)
        return "more than " + std::to_string(limits.nMaxFolderEntries) +
               " entries in the job's temporary folder";
    if (usage.nBytes > limits.nMaxFolderBytes)
        return "the job's temporary folder holds more than " +
               std::to_string(limits.nMaxFolderBytes >> 20) + " MiB";
    return std::nullopt;
}

// With the target known: the job's PDF in the target's folder, under the target's name or
// a numbered one.
Outcome Convert(const BackendJob& job, int nInputFd, const TargetPath& target, bool bReplace,
                const std::vector<std::string>& pdfSwitches, int nCancelFd) {
    const JobLimits& limits = job.limits;
    std::string strError;
    if (access(job.strPrelude.c_str(), R_OK) != 0)
        return Failure(FailureKind::Internal, "the backend is incomplete",
                       "cannot read " + job.strPrelude);
    const std::optional<JobFolder> folder = JobFolder::Create(strError);
    if (!folder)
        return Failure(FailureKind::Internal, "the job has no temporary folder", strError);
    // Ghostscript reads a file by its path more than twice as fast as from standard
    // input. The scheduler's file is not open to the job's user: then a copy serves.
    std::string strJob = job.strInputFile;
    if (strJob.empty() || access(strJob.c_str(), R_OK) != 0) {
        struct stat input {};
        if (fstat(nInputFd, &input) == 0 && S_ISREG(input.st_mode) &&
            static_cast<uint64_t>(input.st_size) > limits.nMaxFolderBytes)
            return Failure(FailureKind::FolderTooLarge,
                           "the job is larger than its temporary folder may grow");
        strJob = folder->Path() + "/job";
        if (!CopyJob(nInputFd, strJob, nCancelFd, strError))
            return CancelRequested(nCancelFd)
                       ? Failure(FailureKind::Cancelled, "the job was cancelled")
                       : Failure(FailureKind::Internal, "the job could not be copied", strError);
        // A job on standard input is seen whole only now.
        const UniqueFd copy(open(strJob.c_str(), O_RDONLY | O_CLOEXEC));
        if (!copy || EndsWhole(copy.Get()) != true)
            return Failure(FailureKind::CutShort, CUT_SHORT);
    }
    std::optional<PendingOutput> output = PendingOutput::Create(target.folder.Get(), strError);
    if (!output)
        return Failure(FailureKind::WriteError, "the PDF cannot be created in its folder",
                       strError);
    LogInfo("Converting the job");
    LogDebug("Converting to " + target.strDirectory + "/" + target.strName);
    const GhostscriptRun run =
        RunGhostscript(job.strPrelude, strJob, folder->Path(), output->Fd(), limits, nCancelFd,
                       pdfSwitches, [&]() { return FolderTooFull(*folder, limits); });
    for (const std::string& strLine : run.log)
        if (!strLine.empty())
            LogDebug("gs: " + strLine);
    if (run.failure)
        return Failed{*run.failure, run.log};
    if (!output->HoldsWholePdf())
        return Failed{{FailureKind::NoPdf, "Ghostscript wrote no whole PDF file", {}}, run.log};
    std::optional<std::string> name =
        output->Publish(target.strName, bReplace, limits.nNumberedNames, strError);
    if (!name)
        return output->RanOutOfNames()
                   ? Failure(FailureKind::NameTaken,
                             "the PDF's name and its numbered names are all taken", strError)
                   : Failure(FailureKind::WriteError, "the PDF could not be given its name",
                             strError);
    return *name;
}

// The key that names the job's files in the session program's folder.
std::string NewJobKey(const std::string& strJobId) {
    unsigned char random[8] = {};
    if (getrandom(random, sizeof random, 0) != sizeof random)
        throw std::runtime_error("no random bytes for the job's key");
    return MakeJobKey(strJobId, random);
}

// The job failed once its target was known: the user finds a report beside it, and the
// session program, if one runs, says so.
// The program cut the job short: it has told its user already (a failed write), or the
// user cancelled. Half a document under the PDF's name would pass for the whole: nothing
// is written, and the job ends as cancelled.
int EndCutShort() {
    LogError(std::string("Not converted: ") + CUT_SHORT + ".");
    return CUPS_BACKEND_CANCEL;
}

int ReportFailure(const BackendJob& job, const PrefixAccess& access, const std::string& strJobKey,
                  const Destination& destination, const Failed& failed) {
    const std::string strTarget = WindowsPathText(destination.path);
    const TargetPath& target = destination.target;
    const JobFailure& failure = failed.failure;
    LogDebug("Conversion failed: " + failure.strReason + ": " + failure.strDetail);
    // A cancel is the user's own wish, or an administrator's: nothing to explain.
    if (failure.kind == FailureKind::Cancelled) {
        LogError("Conversion failed: " + failure.strReason + ".");
        return CUPS_BACKEND_FAILED;
    }
    if (failure.kind == FailureKind::CutShort)
        return EndCutShort();
    ReportFacts facts;
    facts.strTarget = strTarget;
    facts.strJobId = job.strJobId;
    facts.when = std::time(nullptr);
    facts.failure = failure;
    facts.interpreter = failed.interpreter;
    std::string strError;
    const std::optional<std::string> report = WriteFailureReport(
        target.folder.Get(), target.strName, FailureReportText(facts, job.limits),
        job.limits.nNumberedNames, strError);
    WindowsPath reportPath = destination.path;
    if (report) {
        reportPath.components.back() = *report;
        LogDebug("Report written to " + RealPath(target.folder.Get()) + "/" + *report);
        LogError("Conversion failed: " + failure.strReason + "; the report is " + *report + ".");
    } else {
        LogDebug("No report: " + strError);
        LogError("Conversion failed: " + failure.strReason + "; no report could be written.");
    }
    TellSession(access, strJobKey,
                FailureMessageLines(facts, report ? WindowsPathText(reportPath) : "", job.limits));
    return CUPS_BACKEND_FAILED;
}

} // namespace

int RunBackendJob(const BackendJob& job, int nCancelFd) {
    std::string strError;
    const std::optional<std::string> prefix = PrefixFromDeviceUri(job.strDeviceUri, strError);
    if (!prefix) {
        LogDebug("Device URI: " + job.strDeviceUri);
        LogError("Queue misconfigured: " + strError + ".");
        return CUPS_BACKEND_FAILED;
    }
    // Whose job it is comes first: a stranger's job is refused before its content is read.
    const std::optional<JobUser> user = LookUpJobUser(job.strUser, strError);
    if (!user)
        return Refuse(strError, "Job user: " + Excerpt(job.strUser));
    if (!CheckJobUser(*user, job.proven, ReadUidRange("/etc/login.defs"), strError))
        return Refuse(strError, "Job user " + user->strName + " (uid " + std::to_string(user->uid) +
                                    "), authenticated as " +
                                    Excerpt(job.proven.strUsername.value_or("nobody")) + ", uid " +
                                    Excerpt(job.proven.strUid.value_or("none")));
    const std::optional<std::string> name = SelectJobName(job.strTitle, job.strOptions, strError);
    if (!name)
        return Refuse(strError, "Title: " + Excerpt(job.strTitle));
    const std::optional<JobTicketFields> ticket = AcceptJobTicket(*name, strError);
    if (!ticket)
        return Refuse(strError, "Document name: " + Excerpt(*name));
    std::optional<WindowsPath> path = SplitWindowsPath(ticket->strOutputName, strError);
    if (!path)
        return Refuse(strError, "Output path: " + Excerpt(ticket->strOutputName));
    LogDebug("Output \"" + ticket->strOutputName + "\", configuration \"" +
             ticket->strConfiguration + "\", flags " + std::to_string(ticket->nFlags));
    GivePdfName(*path, ticket->nFlags);

    // The spooled job file belongs to the scheduler: it is opened before the switch.
    const UniqueFd input(job.strInputFile.empty()
                             ? fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3)
                             : open(job.strInputFile.c_str(), O_RDONLY | O_CLOEXEC));
    if (!input) {
        LogError(std::string("Cannot open the job file: ") + std::strerror(errno) + ".");
        return CUPS_BACKEND_FAILED;
    }
    if (EndsWhole(input.Get()) == false)
        return EndCutShort();
    if (!BecomeSubmittingUser(job.strUser, strError))
        return Refuse(strError, "Job user: " + user->strName);

    // From here on only links of the job's user (or root's) are followed.
    FolderWalk walk(user->uid);
    const UniqueFd mapping = OpenDriveMapping(*prefix, user->uid, walk, strError);
    if (!mapping)
        return Refuse(strError, "Wine prefix: " + *prefix);
    std::optional<TargetPath> target =
        ResolveTarget(mapping.Get(), *prefix + "/dosdevices", *path, walk, strError);
    if (!target)
        return Refuse("the output path cannot be used",
                      strError + ": " + Excerpt(ticket->strOutputName));

    const PrefixAccess access{mapping.Get(), *prefix + "/dosdevices", user->uid, &walk};
    const std::string strJobKey = NewJobKey(job.strJobId);
    Destination destination{std::move(*target), *path,
                            (ticket->nFlags & TICKET_FLAG_OVERWRITE) != 0};
    bool bChoiceRefused = false;
    if ((ticket->nFlags & TICKET_FLAG_NO_PROMPT) == 0)
        if (const std::optional<int> nEnded = SettleDestination(
                access, strJobKey, destination, job.limits, nCancelFd, bChoiceRefused))
            return *nEnded;

    // Read as the job's user: the prefix is that user's.
    const std::vector<std::string> pdfSwitches = JobPdfSwitches(*prefix, ticket->strConfiguration);
    const TargetPath& chosen = destination.target;
    const Outcome outcome =
        Convert(job, input.Get(), chosen, destination.bReplace, pdfSwitches, nCancelFd);
    if (const Failed* pFailed = std::get_if<Failed>(&outcome))
        return ReportFailure(job, access, strJobKey, destination, *pFailed);
    const std::string& strWritten = std::get<std::string>(outcome);
    LogDebug("Wrote " + RealPath(chosen.folder.Get()) + "/" + strWritten);
    if (bChoiceRefused)
        TellChoiceRefused(access, strJobKey, destination, strWritten);
    // A warning is what CUPS keeps as the job's message once the job has ended.
    LogWarning("Wrote " + strWritten +
               (strWritten == chosen.strName ? "" : ": " + chosen.strName + " exists"));
    return CUPS_BACKEND_OK;
}

#include "printer/backend/Ghostscript.h"

#include "printer/backend/SupervisedChild.h"
#include "printer/backend/UniqueFd.h"

#include <fcntl.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

std::string Seconds(std::chrono::milliseconds duration) {
    return std::to_string((duration.count() + 999) / 1000);
}

std::string Mebibytes(uint64_t nBytes) {
    return std::to_string(nBytes >> 20) + " MiB";
}

JobFailure Failure(FailureKind kind, std::string strReason, std::string strDetail = {}) {
    return JobFailure{kind, std::move(strReason), std::move(strDetail)};
}

// What an exit code other than 0 means: Ghostscript names the PostScript error, or that
// memory ran out.
JobFailure ExitFailure(int nCode, const BoundedLog& log, const JobLimits& limits) {
    if (nCode == 127)
        return Failure(FailureKind::Internal, "Ghostscript (gs) could not be started");
    std::string strLine = log.FirstLineStartingWith("Error:");
    if (strLine.find("VMerror") != std::string::npos)
        return Failure(FailureKind::OutOfMemory,
                       "Ghostscript ran out of its " + Mebibytes(limits.nMaxMemoryBytes) +
                           " of memory",
                       strLine);
    if (strLine.empty())
        strLine = log.LastLine();
    return Failure(FailureKind::Interpreter,
                   "the document has a PostScript error (Ghostscript's exit code " +
                       std::to_string(nCode) + ")",
                   strLine.empty() ? "Ghostscript gave no message" : strLine);
}

JobFailure SignalFailure(int nSignal, const JobLimits& limits) {
    switch (nSignal) {
    case SIGXCPU:
        return Failure(FailureKind::CpuLimit, "Ghostscript used up its " +
                                                  std::to_string(limits.nCpuSeconds) +
                                                  " seconds of processor time");
    case SIGXFSZ:
        return Failure(FailureKind::FileTooLarge,
                       "Ghostscript wrote a file larger than " + Mebibytes(limits.nMaxFileBytes));
    case SIGKILL:
        // The hard limit of processor time kills; so does the kernel when memory is short.
        return Failure(FailureKind::Crashed, "Ghostscript was killed (signal 9)");
    default:
        return Failure(FailureKind::Crashed,
                       "Ghostscript crashed (signal " + std::to_string(nSignal) +
                           "); its memory is bounded to " + Mebibytes(limits.nMaxMemoryBytes));
    }
}

} // namespace

std::vector<std::string> GhostscriptArguments(const std::string& strPrelude,
                                              const std::string& strJob,
                                              const std::vector<std::string>& pdfSwitches) {
    // -dNOSAFER only until the prelude's end, where it calls .setsafe: safe mode from the
    // start together with WRITESYSTEMDICT makes Ghostscript warn in every job's log.
    std::vector<std::string> arguments = {
        "gs",        "-q",      "-dNOSAFER",         "-dWRITESYSTEMDICT", "-dBATCH",
        "-dNOPAUSE", "-dNOEPS", "-sDEVICE=pdfwrite", "-sstdout=%stderr",  "-sOutputFile=-"};
    arguments.insert(arguments.end(), pdfSwitches.begin(), pdfSwitches.end());
    arguments.push_back(strPrelude);
    arguments.push_back(strJob);
    return arguments;
}

std::vector<std::string> GhostscriptEnvironment(const std::string& strPath,
                                                const std::string& strFolder) {
    return {"PATH=" + strPath, "HOME=" + strFolder, "TMPDIR=" + strFolder, "LC_ALL=C"};
}

GhostscriptRun RunGhostscript(const std::string& strPrelude, const std::string& strJob,
                              const std::string& strFolder, int nOutputFd, const JobLimits& limits,
                              int nCancelFd, const std::vector<std::string>& pdfSwitches,
                              std::function<std::optional<std::string>()> watch) {
    GhostscriptRun run;
    const UniqueFd nothing(open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!nothing) {
        run.failure = Failure(FailureKind::Internal, "Ghostscript could not be run",
                              std::string("cannot open /dev/null: ") + std::strerror(errno));
        return run;
    }
    // The programs are looked for where the backend looks for them; CUPS sets that path.
    const char* pszPath = std::getenv("PATH");
    ChildSpec spec;
    spec.arguments = GhostscriptArguments(strPrelude, strJob, pdfSwitches);
    spec.environment = GhostscriptEnvironment(pszPath ? pszPath : "/usr/bin:/bin", strFolder);
    spec.strDirectory = strFolder;
    spec.nStdin = nothing.Get();
    spec.nStdout = nOutputFd;
    spec.watch = std::move(watch);
    BoundedLog log(limits.nLogHeadLines, limits.nLogTailLines, limits.nLogLineBytes, "ERROR:");
    const ChildEnd end = RunSupervised(spec, limits, nCancelFd, log);
    run.log = log.Lines();
    switch (end.kind) {
    case ChildEnd::Kind::NotStarted:
        run.failure = Failure(FailureKind::Internal, "Ghostscript could not be run", end.strError);
        break;
    case ChildEnd::Kind::Cancelled:
        run.failure = Failure(FailureKind::Cancelled, "the job was cancelled");
        break;
    case ChildEnd::Kind::TimedOut:
        run.failure = Failure(FailureKind::TimedOut, "Ghostscript did not finish within " +
                                                         Seconds(limits.wallClock) + " seconds");
        break;
    case ChildEnd::Kind::Stopped:
        run.failure = Failure(FailureKind::FolderTooLarge,
                              "the job's temporary files went past their bound", end.strError);
        break;
    case ChildEnd::Kind::Exited:
        // Ghostscript reports a failed write of its output as "... ERROR: ..." and may
        // still end with exit code 0 (a full disk when the PDF is closed).
        if (!log.FirstWatchedLine().empty())
            run.failure =
                Failure(FailureKind::WriteError, "Ghostscript could not write the PDF whole",
                        log.FirstWatchedLine());
        else if (end.nCode != 0)
            run.failure = ExitFailure(end.nCode, log, limits);
        break;
    case ChildEnd::Kind::Signalled:
        run.failure = SignalFailure(end.nCode, limits);
        break;
    }
    return run;
}

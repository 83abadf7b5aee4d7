#include "printer/backend/Ghostscript.h"

#include "printer/backend/SupervisedChild.h"
#include "printer/backend/UniqueFd.h"

#include <fcntl.h>

#include <cerrno>
#include <csignal>
#include <cstring>

extern char** environ;

namespace {

// The backend's environment, with the job's folder as the only temporary folder: under
// safe mode Ghostscript lets a job write there and nowhere else.
std::vector<std::string> GhostscriptEnvironment(const std::string& strFolder) {
    std::vector<std::string> environment;
    for (char** ppVariable = environ; *ppVariable; ++ppVariable) {
        const std::string strVariable = *ppVariable;
        const std::string strName = strVariable.substr(0, strVariable.find('='));
        if (strName != "TMPDIR" && strName != "TEMP" && strName != "TMP")
            environment.push_back(strVariable);
    }
    environment.push_back("TMPDIR=" + strFolder);
    return environment;
}

std::string Seconds(std::chrono::milliseconds duration) {
    return std::to_string((duration.count() + 999) / 1000);
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

GhostscriptRun RunGhostscript(const std::string& strPrelude, const std::string& strJob,
                              const std::string& strFolder, int nOutputFd, const JobLimits& limits,
                              int nCancelFd, const std::vector<std::string>& pdfSwitches) {
    GhostscriptRun run;
    const UniqueFd nothing(open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!nothing) {
        run.strFailure = std::string("cannot open /dev/null: ") + std::strerror(errno);
        return run;
    }
    ChildSpec spec;
    spec.arguments = GhostscriptArguments(strPrelude, strJob, pdfSwitches);
    spec.environment = GhostscriptEnvironment(strFolder);
    spec.strDirectory = strFolder;
    spec.nStdin = nothing.Get();
    spec.nStdout = nOutputFd;
    BoundedLog log(limits.nLogHeadLines, limits.nLogTailLines, limits.nLogLineBytes);
    const ChildEnd end = RunSupervised(spec, limits, nCancelFd, log);
    run.log = log.Lines();
    switch (end.kind) {
    case ChildEnd::Kind::NotStarted:
        run.strFailure = end.strError;
        break;
    case ChildEnd::Kind::Cancelled:
        run.strFailure = "the job was cancelled";
        break;
    case ChildEnd::Kind::TimedOut:
        run.strFailure =
            "Ghostscript did not finish within " + Seconds(limits.wallClock) + " seconds";
        break;
    case ChildEnd::Kind::Exited:
        if (end.nCode == 0) {
            run.bSucceeded = true;
        } else if (end.nCode == 127) {
            run.strFailure = "Ghostscript (gs) could not be started";
        } else {
            std::string strLine = log.FirstLineStartingWith("Error:");
            if (strLine.empty())
                strLine = log.LastLine();
            run.strFailure = "Ghostscript failed (exit code " + std::to_string(end.nCode) +
                             "): " + (strLine.empty() ? "no message" : strLine);
        }
        break;
    case ChildEnd::Kind::Signalled:
        run.strFailure = end.nCode == SIGXCPU
                             ? "Ghostscript used up its " + std::to_string(limits.nCpuSeconds) +
                                   " seconds of processor time"
                             : "Ghostscript was killed by signal " + std::to_string(end.nCode);
        break;
    }
    return run;
}

// The CUPS backend of the converter queue: turns each raw job into the PDF file its job
// ticket names. The queue's device URI "quillon:<Wine prefix>" says whose drives the
// ticket's Windows paths refer to.
//   quillon job-id user title copies options [file]
#include "printer/backend/BackendJob.h"
#include "printer/backend/BackendLog.h"
#include "printer/backend/UniqueFd.h"

#include <cups/backend.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

namespace {

// Written to when CUPS cancels the job; the conversion watches the other end.
int g_nCancelWriteFd = -1;

extern "C" void OnTerminate(int) {
    const int nSavedErrno = errno;
    const ssize_t nIgnored = write(g_nCancelWriteFd, "x", 1);
    (void)nIgnored;
    errno = nSavedErrno;
}

// The prelude is installed beside the backend.
std::string PreludeBesideExecutable() {
    std::string strPath(4096, '\0');
    const ssize_t nLength = readlink("/proc/self/exe", strPath.data(), strPath.size() - 1);
    if (nLength <= 0)
        return "quillon-prelude.ps";
    strPath.resize(static_cast<size_t>(nLength));
    return strPath.substr(0, strPath.rfind('/') + 1) + "quillon-prelude.ps";
}

std::optional<std::string> EnvironmentValue(const char* pszName) {
    const char* pszValue = std::getenv(pszName);
    return pszValue ? std::optional<std::string>(pszValue) : std::nullopt;
}

int RunJob(int argc, char* argv[]) {
    // CUPS cancels a job with SIGTERM: the handler only makes the cancel pipe readable,
    // which the conversion watches.
    int cancelPipe[2];
    if (pipe2(cancelPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        LogError("Cannot make a pipe for cancelling.");
        return CUPS_BACKEND_FAILED;
    }
    const UniqueFd cancelRead(cancelPipe[0]);
    // The handler may write to it until the process ends: never closed.
    g_nCancelWriteFd = cancelPipe[1];
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    BackendJob job;
    job.strJobId = argv[1];
    job.strUser = argv[2];
    job.strTitle = argv[3];
    job.strOptions = argv[5];
    job.strInputFile = argc == 7 ? argv[6] : "";
    const char* pszUri = std::getenv("DEVICE_URI");
    job.strDeviceUri = pszUri ? pszUri : "";
    job.proven.strUsername = EnvironmentValue("AUTH_USERNAME");
    job.proven.strUid = EnvironmentValue("AUTH_UID");
    job.strPrelude = PreludeBesideExecutable();
    return RunBackendJob(job, cancelRead.Get());
}

// A job that failed or was refused ends for good. Through a class CUPS ignores the queue's
// error policy and hands such a job at once to the next member, which fails it the same
// way, without end: there the job is cancelled at the printer instead.
int FinalStatus(int nStatus) {
    return nStatus == CUPS_BACKEND_FAILED && std::getenv("CLASS") ? CUPS_BACKEND_CANCEL : nStatus;
}

} // namespace

int main(int argc, char* argv[]) {
    // Run without arguments CUPS asks for devices to offer; this backend has none: each
    // queue's URI names its Wine prefix.
    if (argc == 1)
        return CUPS_BACKEND_OK;
    if (argc != 6 && argc != 7) {
        std::fprintf(stderr, "Usage: %s job-id user title copies options [file]\n", argv[0]);
        return CUPS_BACKEND_FAILED;
    }
    // Whatever goes wrong, the job fails cleanly: the objects that hold its files and its
    // Ghostscript clean up as the exception passes.
    try {
        return FinalStatus(RunJob(argc, argv));
    } catch (const std::exception& error) {
        LogError(std::string("Backend failed: ") + error.what() + ".");
    } catch (...) {
        LogError("Backend failed.");
    }
    return FinalStatus(CUPS_BACKEND_FAILED);
}

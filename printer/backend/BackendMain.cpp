// The CUPS backend of the converter queue: turns each raw job into the PDF file its job
// ticket names. The queue's device URI "quillon:<Wine prefix>" says whose drives the
// ticket's Windows paths refer to.
//   quillon job-id user title copies options [file]
#include "printer/backend/BackendJob.h"

#include <cups/backend.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

volatile std::sig_atomic_t g_bCancelled = 0;

extern "C" void OnTerminate(int) {
    g_bCancelled = 1;
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
    // CUPS cancels a job with SIGTERM; the conversion is then stopped and cleaned up. No
    // SA_RESTART, so the wait for Ghostscript is interrupted.
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    BackendJob job;
    job.strUser = argv[2];
    job.strTitle = argv[3];
    job.strOptions = argv[5];
    job.strInputFile = argc == 7 ? argv[6] : "";
    const char* pszUri = std::getenv("DEVICE_URI");
    job.strDeviceUri = pszUri ? pszUri : "";
    job.strPrelude = PreludeBesideExecutable();
    return RunBackendJob(job, &g_bCancelled);
}

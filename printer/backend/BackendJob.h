// One print job through the backend: ticket, output path, Ghostscript, the PDF in place.
#pragma once

#include <csignal>
#include <string>

// What CUPS hands the backend for one job.
struct BackendJob {
    std::string strUser;      // the submitting user (argv[2])
    std::string strTitle;     // the job title (argv[3])
    std::string strOptions;   // the job options (argv[5])
    std::string strInputFile; // the job file (argv[6]); empty: standard input
    std::string strDeviceUri; // the queue's device URI, naming the Wine prefix
    std::string strPrelude;   // the PostScript prelude for Ghostscript
};

// Converts the job and returns the backend's exit code: CUPS_BACKEND_OK when the PDF is
// in place, CUPS_BACKEND_FAILED (with an "ERROR:" line) when the job was refused or
// failed; then no file of the job is left behind. A set *pCancel stops the conversion.
int RunBackendJob(const BackendJob& job, const volatile std::sig_atomic_t* pCancel);

// One print job through the backend: ticket, output path, Ghostscript, the PDF in place,
// or a report beside it that says why there is none.
#pragma once

#include "printer/backend/JobLimits.h"
#include "printer/backend/JobOwner.h"

#include <string>

// What CUPS hands the backend for one job.
struct BackendJob {
    std::string strJobId;     // the job's number (argv[1])
    std::string strUser;      // the submitting user (argv[2])
    std::string strTitle;     // the job title (argv[3])
    std::string strOptions;   // the job options (argv[5])
    std::string strInputFile; // the job file (argv[6]); empty: standard input
    std::string strDeviceUri; // the queue's device URI, naming the Wine prefix
    ProvenIdentity proven;    // whom CUPS authenticated
    std::string strPrelude;   // the PostScript prelude for Ghostscript
    JobLimits limits;
};

// Converts the job and returns the backend's exit code: CUPS_BACKEND_OK when the PDF is
// in place, CUPS_BACKEND_FAILED (with an "ERROR:" line) when the job was refused or
// failed; then no file of the job is left behind but, when the job failed after its
// target was known, a report beside the target. When nCancelFd (if not -1) becomes
// readable, the conversion stops.
int RunBackendJob(const BackendJob& job, int nCancelFd);

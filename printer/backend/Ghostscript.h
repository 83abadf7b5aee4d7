// Ghostscript's pdfwrite device as the printer side's interpreter, run on one job.
#pragma once

#include "printer/backend/JobLimits.h"

#include <string>
#include <vector>

// The command line: the prelude that defines the interpreter's private dictionary (and so
// needs to write systemdict once) and then switches safe mode on, then the job file.
// Ghostscript's own EPS handling is off: the job's framing lines do that part. The PDF
// goes to standard output; what the job prints goes to standard error, with Ghostscript's
// messages. The job's configuration adds pdfSwitches (PdfSwitches) before the prelude.
std::vector<std::string> GhostscriptArguments(const std::string& strPrelude,
                                              const std::string& strJob,
                                              const std::vector<std::string>& pdfSwitches = {});

struct GhostscriptRun {
    bool bSucceeded = false;      // exit code 0
    std::string strFailure;       // why it did not succeed
    std::vector<std::string> log; // what Ghostscript printed, its first and last lines
};

// Runs Ghostscript on the job file strJob with strFolder, the job's own folder, as its
// working directory and temporary folder, writing the PDF to nOutputFd. Bounded by
// limits; when nCancelFd (if not -1) becomes readable, the run is ended.
GhostscriptRun RunGhostscript(const std::string& strPrelude, const std::string& strJob,
                              const std::string& strFolder, int nOutputFd, const JobLimits& limits,
                              int nCancelFd, const std::vector<std::string>& pdfSwitches = {});

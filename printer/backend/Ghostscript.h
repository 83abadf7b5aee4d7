// Ghostscript's pdfwrite device as the printer side's interpreter, run on one job.
#pragma once

#include "printer/backend/JobFailure.h"
#include "printer/backend/JobLimits.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The command line: the prelude that defines the interpreter's private dictionary (and so
// needs to write systemdict once) and then switches safe mode on, then the job file.
// Ghostscript's own EPS handling is off: the job's framing lines do that part. The PDF
// goes to standard output; what the job prints goes to standard error, with Ghostscript's
// messages. The job's configuration adds pdfSwitches (PdfSwitches) before the prelude.
// Nothing read before the job may hold a comment beginning "%%" or "%!":
// Ghostscript's comment parser would take it for the document's start and no longer pass
// the job's header (its orientation, title and creator) to pdfwrite.
std::vector<std::string> GhostscriptArguments(const std::string& strPrelude,
                                              const std::string& strJob,
                                              const std::vector<std::string>& pdfSwitches = {});

// Ghostscript's whole environment: the search path for programs, the job's folder as
// home and as the only temporary folder (under safe mode a job may write there and
// nowhere else), and messages in English. Nothing else of the scheduler's reaches it.
std::vector<std::string> GhostscriptEnvironment(const std::string& strPath,
                                                const std::string& strFolder);

struct GhostscriptRun {
    std::optional<JobFailure> failure; // none: Ghostscript ended well
    std::vector<std::string> log;      // what Ghostscript printed, its first and last lines
};

// Runs Ghostscript on the job file strJob with strFolder, the job's own folder, as its
// working directory and temporary folder, writing the PDF to nOutputFd. Bounded by
// limits; watch (if set) is asked every limits.folderCheckInterval whether the job has
// gone too far. When nCancelFd (if not -1) becomes readable, the run is ended.
GhostscriptRun RunGhostscript(const std::string& strPrelude, const std::string& strJob,
                              const std::string& strFolder, int nOutputFd, const JobLimits& limits,
                              int nCancelFd, const std::vector<std::string>& pdfSwitches = {},
                              std::function<std::optional<std::string>()> watch = {});

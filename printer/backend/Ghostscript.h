// Ghostscript's pdfwrite device as the printer side's interpreter, run on one job.
#pragma once

#include <csignal>
#include <string>
#include <vector>

// The command line: safe mode, the prelude that defines the interpreter's private
// dictionary (and so needs to write systemdict once), then the job from standard input.
// Ghostscript's own EPS handling is off: the job's framing lines do that part. strOutput
// is a plain file name in the working directory, so no character of a folder's name can
// be read as one of Ghostscript's %-formats.
std::vector<std::string> GhostscriptArguments(const std::string& strPrelude,
                                              const std::string& strOutput);

struct GhostscriptRun {
    bool bSucceeded = false; // exit code 0
    bool bCancelled = false; // stopped because the job was cancelled
    std::string strFailure;  // why it did not succeed
    std::string strLog;      // everything Ghostscript printed
};

// Runs Ghostscript in strDirectory with nInputFd as its standard input, writing
// strOutput there. While it runs, a set *pCancel ends it.
GhostscriptRun RunGhostscript(const std::string& strPrelude, const std::string& strDirectory,
                              const std::string& strOutput, int nInputFd,
                              const volatile std::sig_atomic_t* pCancel);

// The first line of the log that reports a PostScript error, or the last line.
std::string GhostscriptErrorLine(const std::string& strLog);

// The report a failed conversion leaves where its PDF would have gone, for the user who
// looks for the PDF: in German, like the program, with what failed in plain words and
// what the interpreter said.
#pragma once

#include "printer/backend/JobFailure.h"
#include "printer/backend/JobLimits.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

struct ReportFacts {
    std::string strTarget;                // the PDF's path as the job ticket named it
    std::string strJobId;                 // CUPS's job number
    std::time_t when = 0;                 // when the job failed
    JobFailure failure;                   // what failed
    std::vector<std::string> interpreter; // Ghostscript's lines, as kept
};

// The report's name for the target strName: the name with the extension ".log" in place
// of its own (bericht.pdf gives bericht.log, README gives README.log).
std::string ReportName(const std::string& strName);

// The report's text: UTF-8 with a byte order mark and CR LF line ends, as Windows editors
// read it. Every text from the job passes Printable (backslashes kept); of the interpreter's lines
// at most limits.nReportLines, the first and the last half of them.
std::string FailureReportText(const ReportFacts& facts, const JobLimits& limits);

// What the session program tells the user of the failure: the PDF that was not made, what
// failed in plain words, and where the report lies (strReport, a Windows path; empty when
// none could be written). One paragraph a line.
std::vector<std::string> FailureMessageLines(const ReportFacts& facts, const std::string& strReport,
                                             const JobLimits& limits);

// Writes the report into the folder nDirFd as ReportName(strTargetName), numbered like a
// PDF when that name is taken, never replacing a file. The name used; nullopt, reason in
// strError, when it could not be written.
std::optional<std::string> WriteFailureReport(int nDirFd, const std::string& strTargetName,
                                              const std::string& strText, unsigned nNumberedNames,
                                              std::string& strError);

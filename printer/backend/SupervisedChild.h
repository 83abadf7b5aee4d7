// A child process run within a job's limits: in a process group of its own, killed with
// the backend, with nothing open but its standard streams, and ended (SIGTERM, then
// SIGKILL) when the job is cancelled or runs out of time.
#pragma once

#include "printer/backend/BoundedLog.h"
#include "printer/backend/JobLimits.h"

#include <string>
#include <vector>

struct ChildSpec {
    std::vector<std::string> arguments;   // arguments[0] is looked up on PATH
    std::vector<std::string> environment; // the child's whole environment
    std::string strDirectory;             // its working directory
    int nStdin = -1;                      // its standard input and output
    int nStdout = -1;
};

struct ChildEnd {
    enum class Kind { NotStarted, Exited, Signalled, Cancelled, TimedOut };
    Kind kind = Kind::NotStarted;
    int nCode = 0;        // Exited: the exit code; Signalled: the signal
    std::string strError; // NotStarted: why
};

// Runs the child to its end, reading its standard error into log. nCancelFd, when not -1,
// becomes readable when the job is cancelled. Whatever else the child started in its
// process group is killed when it ends, and gone when this returns: the calling process
// becomes the subreaper of its descendants for that.
ChildEnd RunSupervised(const ChildSpec& spec, const JobLimits& limits, int nCancelFd,
                       BoundedLog& log);

// A child process run within a job's limits: in a process group of its own, killed with
// the backend, with nothing open but its standard streams, without a way to gain rights
// (no set-user-id program it starts takes effect), bounded in processor time, file size
// and memory, and ended (SIGTERM, then SIGKILL) when the job is cancelled, runs out of
// time or a watch of its own says it has gone too far.
#pragma once

#include "printer/backend/BoundedLog.h"
#include "printer/backend/JobLimits.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct ChildSpec {
    std::vector<std::string> arguments;   // arguments[0] is looked up on PATH
    std::vector<std::string> environment; // the child's whole environment
    std::string strDirectory;             // its working directory
    int nStdin = -1;                      // its standard input and output
    int nStdout = -1;
    // Called every limits.folderCheckInterval while the child runs: a reason stops it.
    std::function<std::optional<std::string>()> watch;
};

struct ChildEnd {
    // NotStarted: no child ran. Unwatched: the child could not be watched any more (it is
    // killed). Unkillable: it did not end even when killed, and is left to init.
    enum class Kind {
        NotStarted,
        Exited,
        Signalled,
        Cancelled,
        TimedOut,
        Stopped,
        Unwatched,
        Unkillable
    };
    Kind kind = Kind::NotStarted;
    int nCode = 0;        // Exited: the exit code; Signalled: the signal
    std::string strError; // NotStarted, Unwatched, Unkillable: why; Stopped: the watch's reason
};

// Runs the child to its end, reading its standard error into log. nCancelFd, when not -1,
// becomes readable when the job is cancelled. Whatever else the child started in its
// process group is killed when it ends, and gone when this returns: the calling process
// becomes the subreaper of its descendants for that.
[[nodiscard]] ChildEnd RunSupervised(const ChildSpec& spec, const JobLimits& limits, int nCancelFd,
                                     BoundedLog& log);

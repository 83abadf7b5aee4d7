// How far one job may go: every bound the backend sets on a job, in one place.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cstddef>

struct JobLimits {
    // Far more than any real document takes; a job that loops ends here.
    std::chrono::milliseconds wallClock{std::chrono::minutes(10)};
    rlim_t nCpuSeconds = 600;
    // Between SIGTERM and SIGKILL, for Ghostscript to end by itself.
    std::chrono::milliseconds grace{std::chrono::seconds(3)};
    // What of Ghostscript's output is kept and passed on to CUPS: the first and the last
    // lines, each cut to a length.
    size_t nLogHeadLines = 100;
    size_t nLogTailLines = 100;
    size_t nLogLineBytes = 400;
};

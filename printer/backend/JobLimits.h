// How far one job may go: every bound the backend sets on a job, in one place.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cstddef>
#include <cstdint>

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
    // Disk and memory, each far beyond what a real document needs (an 87-page manual:
    // a 0.4 MB PDF and 27 MB of memory; a raster image: 24 MB): a job that only grows
    // ends here instead of filling the disk or the memory.
    // The largest file Ghostscript may write: the PDF, or any file in the job's folder.
    uint64_t nMaxFileBytes = uint64_t{2} << 30;
    // The job's folder as a whole (the copy of the job, Ghostscript's scratch files), and
    // how many entries it may hold; looked at this often while Ghostscript runs.
    uint64_t nMaxFolderBytes = uint64_t{4} << 30;
    size_t nMaxFolderEntries = 10000;
    std::chrono::milliseconds folderCheckInterval{100};
    // Ghostscript's address space.
    uint64_t nMaxMemoryBytes = uint64_t{1} << 30;
    // When the PDF's name is taken, how many numbered names are tried before the job
    // fails: name0 up to name9999.
    unsigned nNumberedNames = 10000;
    // Ghostscript's lines in a failure report beside the target.
    size_t nReportLines = 60;
    // How long a job whose ticket leaves the destination to the printer product waits for
    // the user's answer to "Speichern unter" before its PDF goes to the suggested name.
    std::chrono::milliseconds saveQuestion{std::chrono::minutes(5)};
};

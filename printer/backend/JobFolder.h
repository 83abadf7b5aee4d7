// A job's own temporary folder: Ghostscript's working directory and its only temporary
// folder, so that the job can write nowhere else and leaves no scratch files behind.
#pragma once

#include "printer/backend/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// How much a folder holds, counted up to a bound.
struct FolderUsage {
    uint64_t nBytes = 0;   // disk space of its files, in every subfolder
    size_t nEntries = 0;   // files, folders and links in it
    bool bComplete = true; // false: the count stopped at the bound of entries
};

// What the folder nDirFd holds now, counting at most nMaxEntries entries; links are not
// followed.
FolderUsage MeasureFolder(int nDirFd, size_t nMaxEntries);

class JobFolder {
public:
    // Creates a private folder, owned by the user the backend now acts as, under TMPDIR
    // when that user may write there, else under /tmp. Folders of earlier jobs of the same
    // user that no backend holds any more (one was killed outright) are removed first.
    [[nodiscard]] static std::optional<JobFolder> Create(std::string& strError);

    JobFolder(const JobFolder&) = delete;
    JobFolder& operator=(const JobFolder&) = delete;
    JobFolder(JobFolder&& other) noexcept;
    JobFolder& operator=(JobFolder&&) = delete;
    // Removes the folder with everything in it.
    ~JobFolder();

    const std::string& Path() const { return m_strPath; }
    // What the folder holds now (MeasureFolder).
    FolderUsage Usage(size_t nMaxEntries) const { return MeasureFolder(m_lock.Get(), nMaxEntries); }

private:
    JobFolder(std::string strPath, UniqueFd lock);

    std::string m_strPath;
    // The folder itself, locked while the job runs: a folder nobody locks is left over.
    UniqueFd m_lock;
};

// True when nCancelFd (if not -1) is readable: the job has been cancelled.
bool CancelRequested(int nCancelFd);

// Copies the job from nFd (a file or a pipe, from where it stands) into the new file
// strPath. false, reason in strError, when it cannot, or when nCancelFd (if not -1)
// becomes readable meanwhile.
[[nodiscard]] bool CopyJob(int nFd, const std::string& strPath, int nCancelFd,
                           std::string& strError);

// A job's own temporary folder: Ghostscript's working directory and its only temporary
// folder, so that the job can write nowhere else and leaves no scratch files behind.
#pragma once

#include <optional>
#include <string>

class JobFolder {
public:
    // Creates a private folder, owned by the user the backend now acts as, under TMPDIR
    // when that user may write there, else under /tmp.
    static std::optional<JobFolder> Create(std::string& strError);

    JobFolder(const JobFolder&) = delete;
    JobFolder& operator=(const JobFolder&) = delete;
    JobFolder(JobFolder&& other) noexcept;
    JobFolder& operator=(JobFolder&&) = delete;
    // Removes the folder with everything in it.
    ~JobFolder();

    const std::string& Path() const { return m_strPath; }

private:
    explicit JobFolder(std::string strPath) : m_strPath(std::move(strPath)) {}

    std::string m_strPath;
};

// Copies the job from nFd (a file or a pipe, from where it stands) into the new file
// strPath. false, reason in strError, when it cannot, or when nCancelFd (if not -1)
// becomes readable meanwhile.
[[nodiscard]] bool CopyJob(int nFd, const std::string& strPath, int nCancelFd,
                           std::string& strError);

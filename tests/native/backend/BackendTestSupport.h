// Helpers of the backend's tests: BackendTestDir, a scratch folder with a fake Wine
// prefix; CaseName, test names from the cases' descriptions; FailureText, all a run's
// failure says; CurrentUser, the name the tests run as; TestJob, a job of that user.
#pragma once

#include "engine/JobFraming.h"
#include "printer/backend/BackendJob.h"
#include "printer/backend/Ghostscript.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

// A scratch folder, removed with everything in it; and a fake Wine prefix inside it whose
// drive C: leads to drive_c, as Wine lays one out.
class BackendTestDir {
public:
    BackendTestDir() {
        std::string strTemplate = (std::filesystem::temp_directory_path() / "bktest-XXXXXX");
        if (mkdtemp(strTemplate.data()))
            m_path = strTemplate;
    }
    BackendTestDir(const BackendTestDir&) = delete;
    BackendTestDir& operator=(const BackendTestDir&) = delete;
    ~BackendTestDir() {
        std::error_code error;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, error);
    }

    const std::filesystem::path& Path() const { return m_path; }

    // <dir>/prefix with dosdevices/c: -> ../drive_c; returns the prefix.
    std::string MakePrefix() const {
        const std::filesystem::path prefix = m_path / "prefix";
        std::filesystem::create_directories(prefix / "dosdevices");
        std::filesystem::create_directories(prefix / "drive_c");
        std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
        return prefix.string();
    }

    static void WriteFile(const std::filesystem::path& path, const std::string& strContent) {
        std::ofstream out(path, std::ios::binary);
        out << strContent;
    }

    static std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // The names in a folder.
    static std::set<std::string> List(const std::filesystem::path& path) {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path m_path;
};

// Names parameterised tests after the case's pszName, letters and digits only.
struct CaseName {
    template <class Case> std::string operator()(const testing::TestParamInfo<Case>& param) const {
        std::string strName = param.param.pszName;
        for (char& c : strName)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return strName;
    }
};

// The reason and the details of a failed run, empty for a run that ended well.
inline std::string FailureText(const GhostscriptRun& run) {
    return run.failure ? run.failure->strReason + ": " + run.failure->strDetail : std::string();
}

// A job as the program sends it: the data, then the closing line every job ends with that
// the program did not cut short.
inline std::string SentJob(const std::string& strData) {
    return strData + ShowPageTrailerLine;
}

// The user the tests run as, by name, as CUPS names a job's user.
inline std::string CurrentUser() {
    const passwd* pUser = getpwuid(geteuid());
    return pUser ? pUser->pw_name : "";
}

// A job of the current user, proven as CUPS proves a local user's job, into the prefix.
inline BackendJob TestJob(const std::string& strPrefix, const std::string& strInputFile,
                          const std::string& strTitle) {
    BackendJob job;
    job.strJobId = "42";
    job.strUser = CurrentUser();
    job.proven.strUsername = job.strUser;
    if (geteuid() != 0)
        job.proven.strUid = std::to_string(geteuid());
    job.strTitle = strTitle;
    job.strInputFile = strInputFile;
    job.strDeviceUri = "quillon:" + strPrefix;
    job.strPrelude = BACKEND_TEST_PRELUDE;
    return job;
}

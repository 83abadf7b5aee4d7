// The PDF under construction: a file in the target's folder that gets the target's name
// only when it is complete, so no half-written file ever carries that name. Where the
// file system allows, the file has no name at all until then, so nothing is left behind
// even when the backend is killed outright.
#pragma once

#include "printer/backend/UniqueFd.h"

#include <optional>
#include <string>

class PendingOutput {
public:
    // Creates the empty file, with the permissions any new file would get, in the folder.
    static std::optional<PendingOutput> Create(const std::string& strDirectory,
                                               std::string& strError);

    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    PendingOutput(PendingOutput&& other) noexcept;
    PendingOutput& operator=(PendingOutput&& other) noexcept;
    // Removes the file unless it was committed.
    ~PendingOutput();

    // Where the PDF is written.
    int Fd() const { return m_fd.Get(); }
    // True when the file has a name of its own until committed (the file system cannot
    // make a file without one).
    bool IsNamed() const { return !m_strTempName.empty(); }

    // True when the file begins like a PDF file.
    bool HoldsPdf() const;

    // Gives the file the name strName in the folder. Without bOverwrite an existing entry
    // of that name is never replaced (checked and named in one step); then, or on any
    // other failure, the result is false with the reason in strError and the file stays
    // to be removed.
    [[nodiscard]] bool Commit(const std::string& strName, bool bOverwrite, std::string& strError);

private:
    PendingOutput(std::string strDirectory, std::string strTempName, UniqueFd fd);
    void Discard();
    // Links the unnamed file under a fresh hidden name beside the target.
    bool NameUnnamed();
    // The reason for errno's failure, for Commit.
    static bool FailCommit(std::string& strError);

    std::string m_strDirectory;
    std::string m_strTempName; // empty: the file has no name
    UniqueFd m_fd;
    bool m_bCommitted = false;
};

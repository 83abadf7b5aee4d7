// The PDF under construction: a temporary file beside the target that becomes the target
// only when it is complete, so no half-written file ever carries the target's name.
#pragma once

#include <optional>
#include <string>

class PendingOutput {
public:
    // Creates an empty temporary file, readable as the umask allows, in the folder.
    static std::optional<PendingOutput> Create(const std::string& strDirectory,
                                               std::string& strError);

    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    PendingOutput(PendingOutput&& other) noexcept;
    PendingOutput& operator=(PendingOutput&& other) noexcept;
    // Removes the temporary file unless it was committed.
    ~PendingOutput();

    // The temporary file's name within the folder.
    const std::string& TempName() const { return m_strTempName; }
    std::string TempPath() const { return m_strDirectory + "/" + m_strTempName; }

    // True when the temporary file begins like a PDF file.
    bool HoldsPdf() const;

    // Gives the temporary file the name strName in the folder. Without bOverwrite an
    // existing entry of that name is never replaced (checked and renamed in one step);
    // then, or on any other failure, the result is false with the reason in strError and
    // the temporary file stays to be removed.
    [[nodiscard]] bool Commit(const std::string& strName, bool bOverwrite, std::string& strError);

private:
    PendingOutput(std::string strDirectory, std::string strTempName, int nFd);
    void Discard();

    std::string m_strDirectory;
    std::string m_strTempName;
    int m_nFd = -1;
    bool m_bCommitted = false;
};

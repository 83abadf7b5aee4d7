// A file under construction (the PDF, or a failure report) in the folder where it is to
// appear: it gets its name only when it is complete, so no half-written file ever carries
// that name. Where the file system allows, it has no name at all until then, so nothing is
// left behind even when the backend is killed outright.
#pragma once

#include "printer/backend/UniqueFd.h"

#include <optional>
#include <string>

class PendingOutput {
public:
    // Creates the empty file in the folder nDirFd (any descriptor of it, O_PATH will do).
    // Its permissions are 0666 less the umask: under CUPS, whose umask is 077, 0600.
    [[nodiscard]] static std::optional<PendingOutput> Create(int nDirFd, std::string& strError);

    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    PendingOutput(PendingOutput&& other) noexcept;
    PendingOutput& operator=(PendingOutput&& other) noexcept;
    // Removes the file unless it was published.
    ~PendingOutput();

    // Where the content is written.
    int Fd() const { return m_fd.Get(); }
    // True when the file has a name of its own until published (the file system cannot
    // make a file without one).
    bool IsNamed() const { return !m_strTempName.empty(); }

    // True when the file holds a whole PDF: it begins like one, and it ends like one, with
    // the pointer to its cross-reference section and the end-of-file mark. A PDF cut short
    // (a full disk, a killed writer) has neither.
    [[nodiscard]] bool HoldsWholePdf() const;

    // Makes the content durable and gives the file a name in its folder: strName itself
    // when no entry is called so (in any case), or when bReplace and the entry is a file;
    // else the first free numbered name (NumberedName with 0, 1, ... up to
    // nNumberedNames - 1). A numbered name never replaces anything, and no other job can
    // take a name between the look and the naming (the naming itself fails on a taken
    // name). The name given; nullopt, reason in strError, when none could be given.
    [[nodiscard]] std::optional<std::string> Publish(const std::string& strName, bool bReplace,
                                                     unsigned nNumberedNames,
                                                     std::string& strError);
    // After a failed Publish: true when it failed because every name was taken.
    bool RanOutOfNames() const { return m_bOutOfNames; }

private:
    PendingOutput(UniqueFd folder, std::string strTempName, UniqueFd fd);
    void Discard();
    // Links the unnamed file under a fresh hidden name in the folder.
    bool NameUnnamed();
    // Names the file strName unless that name is taken (errno EEXIST then).
    bool NameNoReplace(const std::string& strName);
    // Names the file strName, replacing a file of that name.
    bool NameReplacing(const std::string& strName);
    // Marks the file as given away under strName, and returns that.
    std::string Published(const std::string& strName);

    UniqueFd m_folder;
    std::string m_strTempName; // empty: the file has no name
    UniqueFd m_fd;
    bool m_bPublished = false;
    bool m_bOutOfNames = false;
};

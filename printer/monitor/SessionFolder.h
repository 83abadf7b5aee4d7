// The session program's folder in the Wine prefix, as the program sees it: the files of
// the channel to the printer side (printer/session), and the lock that tells the printer
// side the program runs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class SessionFolder {
public:
    // The folder below the common application data ("C:\ProgramData").
    static std::wstring DefaultPath();

    // Makes the folder (and the folders above it) when missing.
    explicit SessionFolder(std::wstring strPath);
    SessionFolder(const SessionFolder&) = delete;
    SessionFolder& operator=(const SessionFolder&) = delete;
    ~SessionFolder();

    const std::wstring& Path() const { return m_strPath; }

    // Locks the folder's lock file for as long as the program runs; false when another
    // instance holds it (or the file cannot be had).
    bool Lock();

    // The names (UTF-8) of the files in the folder.
    std::vector<std::string> Names() const;
    bool Exists(const std::string& strName) const;
    // The file's text, at most limit bytes; nullopt when it is not there or longer.
    std::optional<std::string> Read(const std::string& strName, size_t nLimit) const;
    // Writes the file whole under a passing name first, so the printer side never reads
    // half of it.
    bool Write(const std::string& strName, const std::string& strText) const;
    void Remove(const std::string& strName) const;

private:
    std::wstring File(const std::string& strName) const;

    std::wstring m_strPath;
    HANDLE m_hLock = INVALID_HANDLE_VALUE;
};

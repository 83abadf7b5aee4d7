#include "printer/monitor/SessionFolder.h"

#include "printer/monitor/Wide.h"
#include "printer/session/SessionProtocol.h"

#include <shlobj.h>

namespace {

// The name a file has while it is written: hidden from the printer side, which reads
// only names of its own format.
constexpr char WRITING_PREFIX[] = ".schreibt-";

void MakeFolders(const std::wstring& strPath) {
    for (size_t nEnd = strPath.find(L'\\', 3); nEnd != std::wstring::npos;
         nEnd = strPath.find(L'\\', nEnd + 1))
        CreateDirectoryW(strPath.substr(0, nEnd).c_str(), nullptr);
    CreateDirectoryW(strPath.c_str(), nullptr);
}

} // namespace

std::wstring SessionFolder::DefaultPath() {
    wchar_t szData[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, szData)))
        return L"C:\\ProgramData\\" + Widen(SESSION_FOLDER);
    return std::wstring(szData) + L"\\" + Widen(SESSION_FOLDER);
}

SessionFolder::SessionFolder(std::wstring strPath) : m_strPath(std::move(strPath)) {
    MakeFolders(m_strPath);
    // What a writer left half-written when it ended early.
    for (const std::string& strName : Names())
        if (strName.rfind(WRITING_PREFIX, 0) == 0)
            Remove(strName);
}

SessionFolder::~SessionFolder() {
    if (m_hLock != INVALID_HANDLE_VALUE)
        CloseHandle(m_hLock);
}

bool SessionFolder::Lock() {
    m_hLock = CreateFileW(File(SESSION_LOCK_FILE).c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hLock == INVALID_HANDLE_VALUE)
        return false;
    // Wine holds the lock as a lock of the Unix file, which the printer side can see.
    OVERLAPPED where{};
    return LockFileEx(m_hLock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                      &where) != FALSE;
}

std::vector<std::string> SessionFolder::Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE hFind = FindFirstFileW((m_strPath + L"\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(Narrow(found.cFileName));
    } while (FindNextFileW(hFind, &found));
    FindClose(hFind);
    return names;
}

bool SessionFolder::Exists(const std::string& strName) const {
    return GetFileAttributesW(File(strName).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> SessionFolder::Read(const std::string& strName, size_t nLimit) const {
    const HANDLE hFile = CreateFileW(File(strName).c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string strText(nLimit + 1, '\0');
    DWORD dwRead = 0;
    const BOOL bRead =
        ReadFile(hFile, strText.data(), static_cast<DWORD>(strText.size()), &dwRead, nullptr);
    CloseHandle(hFile);
    if (!bRead || dwRead > nLimit)
        return std::nullopt;
    strText.resize(dwRead);
    return strText;
}

bool SessionFolder::Write(const std::string& strName, const std::string& strText) const {
    const std::wstring strPassing = File(WRITING_PREFIX + strName);
    const HANDLE hFile = CreateFileW(strPassing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD dwWritten = 0;
    const BOOL bWritten =
        WriteFile(hFile, strText.data(), static_cast<DWORD>(strText.size()), &dwWritten, nullptr);
    CloseHandle(hFile);
    if (!bWritten || dwWritten != strText.size() ||
        !MoveFileExW(strPassing.c_str(), File(strName).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(strPassing.c_str());
        return false;
    }
    return true;
}

void SessionFolder::Remove(const std::string& strName) const {
    DeleteFileW(File(strName).c_str());
}

std::wstring SessionFolder::File(const std::string& strName) const {
    return m_strPath + L"\\" + Widen(strName);
}

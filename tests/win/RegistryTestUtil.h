// Direct registry access for tests: raw writes and reads that do not go through the
// layer under test, the expected report texts, scratch-key removal, and a scratch key in
// place of HKEY_LOCAL_MACHINE.
#pragma once

#include "framework/Handle.h"
#include "framework/SystemMessage.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace regtest {

using Bytes = std::vector<unsigned char>;

// Creates the key path as needed and sets one value; true on success.
inline bool SetRaw(HKEY hRoot, const std::string& strKeyPath, const char* pszValueName,
                   DWORD dwType, const Bytes& data) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(hRoot, strKeyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG nError =
        RegSetValueExA(hKey, pszValueName, 0, dwType, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(hKey);
    return nError == ERROR_SUCCESS;
}

inline bool SetDword(HKEY hRoot, const std::string& strKeyPath, const char* pszValueName,
                     uint32_t dwValue) {
    return SetRaw(hRoot, strKeyPath, pszValueName, REG_DWORD,
                  {static_cast<unsigned char>(dwValue), static_cast<unsigned char>(dwValue >> 8),
                   static_cast<unsigned char>(dwValue >> 16),
                   static_cast<unsigned char>(dwValue >> 24)});
}

inline bool SetText(HKEY hRoot, const std::string& strKeyPath, const char* pszValueName,
                    const std::string& strText) {
    Bytes data(strText.begin(), strText.end());
    data.push_back(0);
    return SetRaw(hRoot, strKeyPath, pszValueName, REG_SZ, data);
}

inline bool CreateKey(HKEY hRoot, const std::string& strKeyPath) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(hRoot, strKeyPath.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

inline bool KeyExists(HKEY hRoot, const std::string& strKeyPath) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(hRoot, strKeyPath.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

inline void DeleteValue(HKEY hRoot, const std::string& strKeyPath, const char* pszValueName) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(hRoot, strKeyPath.c_str(), 0, KEY_SET_VALUE, &hKey) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(hKey, pszValueName);
    RegCloseKey(hKey);
}

// Removes a key with everything below it; a missing key is fine.
inline void DeleteTree(HKEY hRoot, const std::string& strKeyPath) {
    RegDeleteTreeA(hRoot, strKeyPath.c_str());
    RegDeleteKeyA(hRoot, strKeyPath.c_str());
}

// While the object lives, HKEY_LOCAL_MACHINE of this process is an empty scratch key
// under HKEY_CURRENT_USER (RegOverridePredefKey): the program, the applet it loads and the
// test itself read and write the product tree there, whatever thread they run on. The
// prefix's own product tree, which the program uses outside the tests, stays as it is.
class ScratchLocalMachine {
public:
    ScratchLocalMachine() {
        DeleteTree(HKEY_CURRENT_USER, kKeyPath);
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            m_key.Receive(), nullptr) != ERROR_SUCCESS ||
            RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_key.Get()) != ERROR_SUCCESS) {
            // The tests would otherwise delete the real product tree.
            std::fprintf(stderr, "cannot put a scratch key in place of HKEY_LOCAL_MACHINE\n");
            std::abort();
        }
    }
    ~ScratchLocalMachine() {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        m_key.Close();
        DeleteTree(HKEY_CURRENT_USER, kKeyPath);
        RegDeleteKeyA(HKEY_CURRENT_USER, kParentPath); // only when nothing else is left in it
    }
    ScratchLocalMachine(const ScratchLocalMachine&) = delete;
    ScratchLocalMachine& operator=(const ScratchLocalMachine&) = delete;

private:
    static constexpr char kParentPath[] = "Software\\PsZuPdfTest";
    static constexpr char kKeyPath[] = "Software\\PsZuPdfTest\\LocalMachine";
    RegistryKey m_key;
};

struct RawValue {
    LONG nError = ERROR_SUCCESS;
    DWORD dwType = REG_NONE;
    Bytes data;
};

inline RawValue GetRaw(HKEY hRoot, const std::string& strKeyPath, const char* pszValueName) {
    RawValue value;
    HKEY hKey = nullptr;
    value.nError = RegOpenKeyExA(hRoot, strKeyPath.c_str(), 0, KEY_QUERY_VALUE, &hKey);
    if (value.nError != ERROR_SUCCESS)
        return value;
    DWORD cb = 0;
    value.nError = RegQueryValueExA(hKey, pszValueName, nullptr, &value.dwType, nullptr, &cb);
    if (value.nError == ERROR_SUCCESS) {
        value.data.resize(cb);
        value.nError =
            RegQueryValueExA(hKey, pszValueName, nullptr, &value.dwType, value.data.data(), &cb);
        value.data.resize(cb);
    }
    RegCloseKey(hKey);
    return value;
}

// The step texts of the report as the German string table holds them (code page 1252).
inline std::string OpenStep(const std::string& strPath) {
    return "'" + strPath +
           "' wird ge\xF6"
           "ffnet";
}
inline std::string SizeStep(const std::string& strPath) {
    return "Gr\xF6\xDF"
           "e von '" +
           strPath + "' wird angefragt";
}
inline std::string QueryStep(const std::string& strPath) {
    return "'" + strPath + "' wird abgefragt";
}
inline std::string CreateStep(const std::string& strPath) {
    return "'" + strPath +
           "' wird zum Schreiben ge\xF6"
           "ffnet";
}
inline std::string WriteStep(const std::string& strPath) {
    return "Schreiben an '" + strPath + "'";
}

// The whole text of a report: the system's text for the code, a line feed, the step.
inline std::string ReportText(DWORD dwError, const std::string& strStep) {
    return SystemErrorText(dwError, 255) + "\n" + strStep;
}

constexpr char kReportCaption[] = "Systemsteuerungsfehler";
constexpr UINT kReportFlags = 0x2010; // MB_OK | MB_ICONHAND | MB_TASKMODAL

} // namespace regtest

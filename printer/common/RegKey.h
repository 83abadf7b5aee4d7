// RegKey: an open registry key of the printer product's Windows programs, closed on every
// path out of its scope.
#pragma once

#include <windows.h>

#include <utility>

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : m_hKey(std::exchange(other.m_hKey, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Close();
            m_hKey = std::exchange(other.m_hKey, nullptr);
        }
        return *this;
    }

    [[nodiscard]] LONG Open(HKEY hParent, const char* pszPath, REGSAM samDesired) {
        Close();
        return RegOpenKeyExA(hParent, pszPath, 0, samDesired, &m_hKey);
    }
    // Creates what is missing along the path; pdwDisposition tells whether it was new.
    [[nodiscard]] LONG Create(HKEY hParent, const char* pszPath, REGSAM samDesired,
                              DWORD* pdwDisposition = nullptr) {
        Close();
        char szClass[] = "";
        return RegCreateKeyExA(hParent, pszPath, 0, szClass, REG_OPTION_NON_VOLATILE, samDesired,
                               nullptr, &m_hKey, pdwDisposition);
    }
    // Takes over a key opened otherwise.
    void Adopt(HKEY hKey) {
        Close();
        m_hKey = hKey;
    }
    HKEY Get() const { return m_hKey; }

    void Close() {
        if (m_hKey != nullptr) {
            RegCloseKey(m_hKey);
            m_hKey = nullptr;
        }
    }

private:
    HKEY m_hKey = nullptr;
};

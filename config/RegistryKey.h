// RegistryKey: an open registry key handle that is closed on every path out of its scope.
#pragma once

#include <windows.h>

#include <utility>

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&& other) noexcept : m_hKey(std::exchange(other.m_hKey, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) {
            Close();
            m_hKey = std::exchange(other.m_hKey, nullptr);
        }
        return *this;
    }

    // For the Reg* calls that hand out a new key; closes any key held before.
    HKEY* Receive() {
        Close();
        return &m_hKey;
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

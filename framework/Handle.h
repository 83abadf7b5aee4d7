// UniqueHandle: owns a kernel handle (file, semaphore, thread, event) and closes it.
#pragma once

#include <windows.h>

#include <utility>

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE hHandle) : m_hHandle(hHandle) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_hHandle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_hHandle = other.Release();
        }
        return *this;
    }

    // CreateFile reports failure with INVALID_HANDLE_VALUE, the others with null.
    bool IsValid() const { return m_hHandle != nullptr && m_hHandle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_hHandle; }
    HANDLE Release() { return std::exchange(m_hHandle, nullptr); }
    void Close() {
        if (IsValid())
            CloseHandle(m_hHandle);
        m_hHandle = nullptr;
    }

private:
    HANDLE m_hHandle = nullptr;
};

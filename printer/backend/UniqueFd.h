// A file descriptor that is closed when its owner goes.
#pragma once

#include <unistd.h>

#include <utility>

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int nFd) : m_nFd(nFd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : m_nFd(std::exchange(other.m_nFd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_nFd, -1));
        return *this;
    }
    ~UniqueFd() { Reset(); }

    int Get() const { return m_nFd; }
    explicit operator bool() const { return m_nFd >= 0; }
    // Gives the descriptor up without closing it.
    [[nodiscard]] int Release() { return std::exchange(m_nFd, -1); }
    void Reset(int nFd = -1) {
        if (m_nFd >= 0)
            close(m_nFd);
        m_nFd = nFd;
    }

private:
    int m_nFd = -1;
};

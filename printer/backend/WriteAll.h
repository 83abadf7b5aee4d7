// Writing a whole buffer to a descriptor, however many pieces the kernel takes it in.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>

// False, with errno, when a write fails or moves nothing.
inline bool WriteAll(int nFd, const char* pData, size_t nSize) {
    while (nSize > 0) {
        const ssize_t nWritten = write(nFd, pData, nSize);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
            return false;
        pData += nWritten;
        nSize -= static_cast<size_t>(nWritten);
    }
    return true;
}

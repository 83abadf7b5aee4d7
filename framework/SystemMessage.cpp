#include "framework/SystemMessage.h"

#include <vector>

std::string SystemErrorText(DWORD dwError, DWORD nMaxChars) {
    std::vector<char> buffer(nMaxChars + 1, '\0');
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, dwError, 0, buffer.data(),
                             nMaxChars, nullptr);
    return std::string(buffer.data(), n);
}

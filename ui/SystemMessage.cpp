#include "ui/SystemMessage.h"

#include <vector>

std::string SystemErrorText(DWORD dwError, DWORD nMaxChars) {
    std::vector<char> buffer(nMaxChars + 1, '\0');
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, dwError, 0, buffer.data(),
                             nMaxChars, nullptr);
    return std::string(buffer.data(), n);
}

std::string FormatWithInsert(const std::string& strPattern, const std::string& strInsert) {
    DWORD_PTR args[] = {reinterpret_cast<DWORD_PTR>(strInsert.c_str())};
    char* pszResult = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                 FORMAT_MESSAGE_ARGUMENT_ARRAY,
                             strPattern.c_str(), 0, 0, reinterpret_cast<LPSTR>(&pszResult), 0,
                             reinterpret_cast<va_list*>(args));
    std::string strResult = pszResult ? std::string(pszResult, n) : std::string();
    LocalFree(pszResult);
    return strResult;
}

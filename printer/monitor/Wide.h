// UTF-8, as the channel's files hold text, and UTF-16, as the wide Win32 calls take it:
// every character of a path passes both ways unchanged, which no ANSI code page allows.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring Widen(const std::string& strText) {
    const int nLength = MultiByteToWideChar(CP_UTF8, 0, strText.data(),
                                            static_cast<int>(strText.size()), nullptr, 0);
    std::wstring strWide(static_cast<size_t>(nLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                        strWide.data(), nLength);
    return strWide;
}

inline std::string Narrow(const std::wstring& strWide) {
    const int nLength = WideCharToMultiByte(
        CP_UTF8, 0, strWide.data(), static_cast<int>(strWide.size()), nullptr, 0, nullptr, nullptr);
    std::string strText(static_cast<size_t>(nLength), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strWide.data(), static_cast<int>(strWide.size()),
                        strText.data(), nLength, nullptr, nullptr);
    return strText;
}

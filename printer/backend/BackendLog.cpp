#include "printer/backend/BackendLog.h"

#include <cstdio>

namespace {

void Log(const char* pszKind, const std::string& strMessage) {
    const std::string strLine = std::string(pszKind) + ": " + Printable(strMessage) + "\n";
    std::fwrite(strLine.data(), 1, strLine.size(), stderr);
    std::fflush(stderr);
}

} // namespace

std::string Printable(std::string_view text) {
    static const char HEX[] = "0123456789ABCDEF";
    std::string strResult;
    strResult.reserve(text.size());
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            strResult += "\\x";
            strResult.push_back(HEX[b >> 4]);
            strResult.push_back(HEX[b & 0x0F]);
        } else {
            strResult.push_back(c);
        }
    }
    return strResult;
}

void LogError(const std::string& strMessage) {
    Log("ERROR", strMessage);
}

void LogInfo(const std::string& strMessage) {
    Log("INFO", strMessage);
}

void LogDebug(const std::string& strMessage) {
    Log("DEBUG", strMessage);
}

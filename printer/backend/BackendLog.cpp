#include "printer/backend/BackendLog.h"

#include "printer/backend/Utf8.h"

#include <cstdio>

namespace {

const char HEX[] = "0123456789ABCDEF";

void Log(const char* pszKind, const std::string& strMessage) {
    const std::string strLine = std::string(pszKind) + ": " + Printable(strMessage) + "\n";
    std::fwrite(strLine.data(), 1, strLine.size(), stderr);
    std::fflush(stderr);
}

bool MustEscape(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x061C || code == 0x200E ||
           code == 0x200F || (code >= 0x2028 && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069);
}

} // namespace

std::string Printable(std::string_view text) {
    std::string strResult;
    strResult.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const std::optional<Utf8Char> c = DecodeUtf8(text, i);
        if (!c || (c->nBytes == 1 && MustEscape(c->code))) {
            const auto b = static_cast<unsigned char>(text[i++]);
            strResult += {'\\', 'x', HEX[b >> 4], HEX[b & 0x0F]};
            continue;
        }
        if (MustEscape(c->code)) {
            strResult += "\\u";
            for (int nShift = 12; nShift >= 0; nShift -= 4)
                strResult.push_back(HEX[(c->code >> nShift) & 0x0F]);
        } else {
            strResult.append(text.substr(i, c->nBytes));
        }
        i += c->nBytes;
    }
    return strResult;
}

void LogError(const std::string& strMessage) {
    Log("ERROR", strMessage);
}

void LogWarning(const std::string& strMessage) {
    Log("WARNING", strMessage);
}

void LogInfo(const std::string& strMessage) {
    Log("INFO", strMessage);
}

void LogDebug(const std::string& strMessage) {
    Log("DEBUG", strMessage);
}

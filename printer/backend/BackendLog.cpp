#include "printer/backend/BackendLog.h"

#include "printer/backend/Utf8.h"
#include "printer/backend/WriteAll.h"

#include <unistd.h>

namespace {

const char HEX[] = "0123456789ABCDEF";
constexpr std::string_view CUT_MARK = " [cut]";

// Characters that control a terminal, break a line, reorder the text or show nothing.
bool MustEscape(char32_t code) {
    return code < 0x20 || code == 0x7F || (code >= 0x80 && code <= 0x9F) || code == 0x00AD ||
           code == 0x061C || code == 0x180E || (code >= 0x200B && code <= 0x200F) ||
           (code >= 0x2028 && code <= 0x202E) || (code >= 0x2060 && code <= 0x206F) ||
           (code >= 0xFE00 && code <= 0xFE0F) || code == 0xFEFF ||
           (code >= 0xFFF9 && code <= 0xFFFB) || (code >= 0xE0000 && code <= 0xE007F) ||
           (code >= 0xE0100 && code <= 0xE01EF);
}

std::string Hex(char32_t code, int nDigits) {
    std::string strDigits;
    for (int nShift = 4 * (nDigits - 1); nShift >= 0; nShift -= 4)
        strDigits.push_back(HEX[(code >> nShift) & 0x0F]);
    return strDigits;
}

// The text in printable pieces: each piece one character or one escape.
template <class Sink>
void ForEachPrintablePiece(std::string_view text, bool bKeepBackslash, Sink sink) {
    for (size_t i = 0; i < text.size();) {
        const std::optional<Utf8Char> c = DecodeUtf8(text, i);
        if (!c || (c->nBytes == 1 && MustEscape(c->code))) {
            sink("\\x" + Hex(static_cast<unsigned char>(text[i++]), 2));
            continue;
        }
        if (c->code == '\\' && !bKeepBackslash)
            sink("\\\\");
        else if (!MustEscape(c->code))
            sink(std::string(text.substr(i, c->nBytes)));
        else if (c->code <= 0xFFFF)
            sink("\\u" + Hex(c->code, 4));
        else
            sink("\\U" + Hex(c->code, 8));
        i += c->nBytes;
    }
}

// Standard error is CUPS's; a line that cannot go there has nowhere else to go.
void WriteToCups(const std::string& strText) {
    (void)WriteAll(STDERR_FILENO, strText.data(), strText.size());
}

// The message and the empty status after it go out in one write, so cupsd handles both in
// one go and no reader of the queue's status ever sees the message.
void LogKeptOnTheJob(std::string_view kind, const std::string& strMessage) {
    WriteToCups(CupsLine(kind, strMessage) + CupsLine("INFO", ""));
}

} // namespace

std::string Printable(std::string_view text, bool bKeepBackslash) {
    std::string strResult;
    strResult.reserve(text.size());
    ForEachPrintablePiece(text, bKeepBackslash,
                          [&](const std::string& strPiece) { strResult += strPiece; });
    return strResult;
}

std::string CupsLine(std::string_view kind, std::string_view message) {
    std::string strLine = std::string(kind) + ": ";
    const size_t nRoom = CUPS_LINE_BYTES - CUT_MARK.size();
    bool bCut = false;
    ForEachPrintablePiece(message, false, [&](const std::string& strPiece) {
        if (bCut || strLine.size() + strPiece.size() > nRoom) {
            bCut = true;
            return;
        }
        strLine += strPiece;
    });
    if (bCut)
        strLine += CUT_MARK;
    return strLine + "\n";
}

void LogError(const std::string& strMessage) {
    LogKeptOnTheJob("ERROR", strMessage);
}

void LogWarning(const std::string& strMessage) {
    LogKeptOnTheJob("WARNING", strMessage);
}

void LogInfo(const std::string& strMessage) {
    WriteToCups(CupsLine("INFO", strMessage));
}

void LogDebug(const std::string& strMessage) {
    WriteToCups(CupsLine("DEBUG", strMessage));
}

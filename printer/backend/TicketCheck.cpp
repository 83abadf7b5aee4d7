#include "printer/backend/TicketCheck.h"

namespace {

// The number of bytes of a UTF-8 sequence that starts with this byte, 0 when no sequence
// starts with it.
size_t SequenceLength(unsigned char c) {
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return 2;
    if (c >= 0xE0 && c <= 0xEF)
        return 3;
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    return 0;
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

std::optional<size_t> CountUtf8ExtraBytes(std::string_view text) {
    size_t nExtra = 0;
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t nLength = SequenceLength(c);
        if (nLength == 0 || i + nLength > text.size())
            return std::nullopt;
        for (size_t k = 1; k < nLength; ++k) {
            if (!IsContinuation(static_cast<unsigned char>(text[i + k])))
                return std::nullopt;
        }
        const auto c1 = nLength > 1 ? static_cast<unsigned char>(text[i + 1]) : 0;
        // Overlong three- and four-byte forms, UTF-16 surrogates and values past U+10FFFF.
        if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 > 0x9F) || (c == 0xF0 && c1 < 0x90) ||
            (c == 0xF4 && c1 > 0x8F))
            return std::nullopt;
        // Above U+FFFF a character takes two UTF-16 units.
        nExtra += nLength == 4 ? 2 : nLength - 1;
        i += nLength;
    }
    return nExtra;
}

std::optional<JobTicketFields> AcceptJobTicket(std::string_view name, std::string& strError) {
    const std::optional<size_t> nExtra = CountUtf8ExtraBytes(name);
    if (!nExtra) {
        strError = "the document name is not valid UTF-8 (damaged on the way)";
        return std::nullopt;
    }
    if (*nExtra >= DAMAGED_NAME_EXTRA_BYTES) {
        strError = "the document name has too many non-ASCII characters to have passed "
                   "Wine's conversion intact (at most 3 umlauts; a euro sign or typographic "
                   "quote counts twice)";
        return std::nullopt;
    }
    std::optional<JobTicketFields> fields = ParseJobTicket(name);
    if (!fields) {
        strError = "the document name is not a well-formed job ticket";
        return std::nullopt;
    }
    if (fields->nFlags > MAX_TICKET_FLAGS) {
        strError = "the job ticket's flags number " + std::to_string(fields->nFlags) +
                   " is out of range (0 to 15)";
        return std::nullopt;
    }
    return fields;
}

#include "printer/backend/TicketCheck.h"

#include "printer/backend/Utf8.h"

std::optional<size_t> CountUtf8ExtraBytes(std::string_view text) {
    size_t nExtra = 0;
    for (size_t i = 0; i < text.size();) {
        const std::optional<Utf8Char> c = DecodeUtf8(text, i);
        if (!c)
            return std::nullopt;
        // Above U+FFFF a character takes two UTF-16 units.
        nExtra += c->nBytes == 4 ? 2 : c->nBytes - 1;
        i += c->nBytes;
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

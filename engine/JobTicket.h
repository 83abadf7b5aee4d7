// The job ticket: the print job's document name that carries one conversion's options to
// the printer side, "~JS~" followed by the items d (output name), c (configuration) and
// f (flags). Building it and reading it back are both here, on plain values, so the two
// sides agree and the printer side needs nothing else of the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The bits of the flags item.
constexpr uint32_t TICKET_FLAG_NO_PROMPT = 1;  // SaveRequest is exactly 1: ask no destination
constexpr uint32_t TICKET_FLAG_GENERAL_30 = 2; // General bit 30, forced by switch V
constexpr uint32_t TICKET_FLAG_OVERWRITE = 4;  // an existing output file may be replaced
constexpr uint32_t TICKET_FLAG_GENERAL_27 = 8; // General bit 27, forced by switch E
// The program sends these four bits; a larger number is not one of its tickets.
constexpr uint32_t MAX_TICKET_FLAGS = 15;

// One item: a space, the key, "=" and the value. A value that holds a blank or a double
// quote is put in double quotes with its own double quotes doubled; every other byte is
// copied as it is. strValue must hold no NUL byte (the ticket travels as a C string).
std::string FormatTicketItem(const char* pszKey, const std::string& strValue);

// An item whose value is nNumber in unsigned decimal.
std::string FormatTicketNumber(const char* pszKey, uint32_t nNumber);

// The whole ticket, with nothing after the flags number.
std::string BuildJobTicket(const std::string& strOutputName, const std::string& strConfiguration,
                           uint32_t nFlags);

// What the printer side reads from a ticket.
struct JobTicketFields {
    std::string strOutputName;
    std::string strConfiguration;
    uint32_t nFlags = 0;

    bool operator==(const JobTicketFields& other) const {
        return strOutputName == other.strOutputName && strConfiguration == other.strConfiguration &&
               nFlags == other.nFlags;
    }
    bool operator!=(const JobTicketFields& other) const { return !(*this == other); }
};

// Reads a ticket back, strictly: exactly the form BuildJobTicket writes (a value may also
// be quoted when it need not be). A ticket that is cut short, has anything after the flags
// number, holds a NUL byte, a stray or unterminated quote, a missing, repeated or misplaced
// item, or a flags number that is not plain decimal within 32 bits gives nullopt: the
// spooler may hand over a damaged document name, and no path may be taken from one.
std::optional<JobTicketFields> ParseJobTicket(std::string_view ticket);

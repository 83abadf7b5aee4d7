// Acceptance of a job ticket on the printer side: the document name arrives as UTF-8
// (Wine converts it from the program's code page), and a damaged one must never steer a
// write.
#pragma once

#include "engine/JobTicket.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Wine 8 converts the document name into a buffer that has room for only three bytes more
// than the name has UTF-16 units. A longer conversion is cut short and left without its
// terminator, so stray heap bytes follow it; they may even complete it to a ticket that
// looks whole. Every such name has at least this many extra bytes when it arrives.
constexpr size_t DAMAGED_NAME_EXTRA_BYTES = 4;

// How many bytes the UTF-8 text has beyond its number of UTF-16 units: 1 for each
// character from U+0080 to U+07FF, 2 from U+0800 on (4 bytes, 2 units above U+FFFF).
// nullopt when the text is not well-formed UTF-8 (overlong forms, surrogates, stray
// continuation bytes, a sequence cut short).
[[nodiscard]] std::optional<size_t> CountUtf8ExtraBytes(std::string_view text);

// The ticket's fields when the name is exactly one well-formed ticket that Wine passed
// on intact and whose flags number is one the program sends; otherwise nullopt with the
// reason in strError.
[[nodiscard]] std::optional<JobTicketFields> AcceptJobTicket(std::string_view name,
                                                             std::string& strError);

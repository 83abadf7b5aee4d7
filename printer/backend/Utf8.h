// Reading UTF-8 as the backend receives it: names and logs that may be damaged or hostile.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

struct Utf8Char {
    char32_t code = 0;
    size_t nBytes = 0;
};

// The character that starts at text[i]; nullopt when no well-formed one does (overlong
// forms, surrogates, values past U+10FFFF, stray continuation bytes, a sequence cut
// short).
std::optional<Utf8Char> DecodeUtf8(std::string_view text, size_t i);

#include "printer/backend/Utf8.h"

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

} // namespace

std::optional<Utf8Char> DecodeUtf8(std::string_view text, size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const size_t nLength = SequenceLength(c);
    if (nLength == 0 || i + nLength > text.size())
        return std::nullopt;
    if (nLength == 1)
        return Utf8Char{c, 1};
    char32_t code = c & (0x7F >> nLength);
    for (size_t k = 1; k < nLength; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong three- and four-byte forms, UTF-16 surrogates and values past U+10FFFF.
    if ((nLength == 3 && code < 0x800) || (code >= 0xD800 && code <= 0xDFFF) ||
        (nLength == 4 && (code < 0x10000 || code > 0x10FFFF)))
        return std::nullopt;
    return Utf8Char{code, nLength};
}

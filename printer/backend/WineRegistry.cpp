#include "printer/backend/WineRegistry.h"

#include "printer/backend/TargetPath.h"

namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

bool IsPrintable(char c) {
    return c >= 0x20 && c <= 0x7E;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// UTF-16 as UTF-8; a unit of a surrogate pair that is not whole becomes U+FFFD.
std::string ToUtf8(const std::u16string& units) {
    std::string strText;
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t code = units[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            strText += static_cast<char>(code);
        } else if (code < 0x800) {
            strText += static_cast<char>(0xC0 | (code >> 6));
            strText += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            strText += static_cast<char>(0xE0 | (code >> 12));
            strText += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            strText += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            strText += static_cast<char>(0xF0 | (code >> 18));
            strText += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            strText += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            strText += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return strText;
}

// The data of a text as the registry holds it: UTF-16 little-endian and its terminator.
std::string TextData(const std::u16string& units) {
    std::string bytes;
    for (char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes + std::string(2, '\0');
}

// The lines of the file one after the other, each without its line end.
class Lines {
public:
    explicit Lines(std::string_view text) : m_text(text) {}

    // The next line; false at the end of the file.
    bool Next(std::string_view& line, std::string& strError) {
        if (m_text.empty())
            return false;
        ++m_nLine;
        const size_t nEnd = m_text.find('\n');
        if (nEnd == std::string_view::npos) {
            strError = "the file is cut short in the middle of a line";
            return false;
        }
        line = m_text.substr(0, nEnd);
        m_text.remove_prefix(nEnd + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        for (char c : line)
            if (!IsPrintable(c)) {
                strError = "a character that Wine writes only escaped";
                return false;
            }
        return true;
    }

    int Number() const { return m_nLine; }

private:
    std::string_view m_text;
    int m_nLine = 0;
};

// An escaped name or text from line[i] up to the unescaped cEnd, which i is left after;
// nullopt when cEnd does not come.
std::optional<std::u16string> ParseEscaped(std::string_view line, size_t& i, char cEnd) {
    std::u16string units;
    while (i < line.size() && line[i] != cEnd) {
        if (line[i] != '\\') {
            units += static_cast<char16_t>(line[i++]);
            continue;
        }
        if (++i == line.size())
            return std::nullopt;
        const char c = line[i++];
        const std::string_view controls = "a\ab\be\x1b"
                                          "f\fn\nr\rt\tv\v";
        if (const size_t nAt = controls.find(c); nAt != std::string_view::npos && nAt % 2 == 0) {
            units += static_cast<char16_t>(controls[nAt + 1]);
        } else if (c == 'x') {
            // Up to four hex digits; none at all stands for the letter itself.
            unsigned nUnit = 0;
            int nDigits = 0;
            for (; nDigits < 4 && i < line.size() && HexDigit(line[i]) >= 0; ++nDigits)
                nUnit = nUnit * 16 + static_cast<unsigned>(HexDigit(line[i++]));
            units += nDigits == 0 ? u'x' : static_cast<char16_t>(nUnit);
        } else if (c >= '0' && c <= '7') {
            unsigned nUnit = static_cast<unsigned>(c - '0');
            for (int n = 1; n < 3 && i < line.size() && line[i] >= '0' && line[i] <= '7'; ++n)
                nUnit = nUnit * 8 + static_cast<unsigned>(line[i++] - '0');
            units += static_cast<char16_t>(nUnit);
        } else {
            units += static_cast<char16_t>(c);
        }
    }
    if (i == line.size())
        return std::nullopt;
    ++i;
    return units;
}

// The bytes of hex data, from line[i] on and across the lines it continues on.
bool ParseHex(std::string_view line, size_t i, Lines& lines, std::string& bytes,
              std::string& strError) {
    if (i == line.size())
        return true;
    for (;;) {
        if (i + 2 > line.size() || HexDigit(line[i]) < 0 || HexDigit(line[i + 1]) < 0) {
            strError = "malformed hex data";
            return false;
        }
        bytes += static_cast<char>(HexDigit(line[i]) * 16 + HexDigit(line[i + 1]));
        i += 2;
        if (i == line.size())
            return true;
        if (line[i++] != ',') {
            strError = "malformed hex data";
            return false;
        }
        if (i + 1 == line.size() && line[i] == '\\') {
            if (!lines.Next(line, strError)) {
                if (strError.empty())
                    strError = "hex data continued past the end of the file";
                return false;
            }
            i = 0;
            while (i < line.size() && IsSpace(line[i]))
                ++i;
        }
    }
}

// One value line: its name (folded) and data, which only a wanted key (bKeep) needs. False,
// reason in strError, when it is not one as Wine writes it.
bool ParseValue(std::string_view line, Lines& lines, bool bKeep, std::string& strName,
                RegistryData& data, std::string& strError) {
    size_t i = 1;
    std::u16string name;
    if (line[0] == '"') {
        const std::optional<std::u16string> parsed = ParseEscaped(line, i, '"');
        if (!parsed) {
            strError = "malformed value name";
            return false;
        }
        name = *parsed;
    }
    if (bKeep)
        strName = FoldCase(ToUtf8(name));
    while (i < line.size() && IsSpace(line[i]))
        ++i;
    if (i == line.size() || line[i++] != '=') {
        strError = "a value name without \"=\"";
        return false;
    }
    while (i < line.size() && IsSpace(line[i]))
        ++i;
    const std::string_view rest = line.substr(i);
    struct TextType {
        std::string_view tag;
        uint32_t nType;
    };
    for (const TextType& type : {TextType{"\"", kRegSz}, TextType{"str:\"", kRegSz},
                                 TextType{"str(2):\"", 2}, TextType{"str(7):\"", kRegMultiSz}}) {
        if (rest.substr(0, type.tag.size()) != type.tag)
            continue;
        size_t nAt = i + type.tag.size();
        const std::optional<std::u16string> text = ParseEscaped(line, nAt, '"');
        if (!text || nAt != line.size()) {
            strError = "malformed text";
            return false;
        }
        data.nType = type.nType;
        if (bKeep)
            data.bytes = TextData(*text);
        return true;
    }
    if (rest.substr(0, 6) == "dword:") {
        if (rest.size() != 14) {
            strError = "malformed dword";
            return false;
        }
        uint32_t nValue = 0;
        for (char c : rest.substr(6)) {
            if (HexDigit(c) < 0) {
                strError = "malformed dword";
                return false;
            }
            nValue = nValue * 16 + static_cast<uint32_t>(HexDigit(c));
        }
        data.nType = kRegDword;
        data.bytes.clear();
        for (int n = 0; n < 4; ++n, nValue >>= 8)
            data.bytes += static_cast<char>(nValue & 0xFF);
        return true;
    }
    data.bytes.clear();
    if (rest.substr(0, 4) == "hex:") {
        data.nType = 3; // REG_BINARY
        return ParseHex(line, i + 4, lines, data.bytes, strError);
    }
    if (rest.substr(0, 4) == "hex(") {
        size_t nAt = 4;
        uint32_t nType = 0;
        for (; nAt < rest.size() && nAt < 12 && HexDigit(rest[nAt]) >= 0; ++nAt)
            nType = nType * 16 + static_cast<uint32_t>(HexDigit(rest[nAt]));
        if (nAt == 4 || rest.substr(nAt, 2) != "):") {
            strError = "malformed value type";
            return false;
        }
        data.nType = nType;
        return ParseHex(line, i + nAt + 2, lines, data.bytes, strError);
    }
    strError = "unknown kind of value data";
    return false;
}

// The key of a key line, folded; false when it is not one as Wine writes it.
bool ParseKey(std::string_view line, std::string& strPath) {
    size_t i = 1;
    const std::optional<std::u16string> path = ParseEscaped(line, i, ']');
    if (!path)
        return false;
    // The time of the key's last change may follow.
    if (i < line.size()) {
        if (line[i] != ' ' || i + 1 == line.size())
            return false;
        for (char c : line.substr(i + 1))
            if (c < '0' || c > '9')
                return false;
    }
    strPath = FoldCase(ToUtf8(*path));
    return true;
}

} // namespace

std::optional<std::vector<WineRegistryKey>>
ReadWineRegistryKeys(std::string_view text, const std::vector<std::string>& keyPaths,
                     std::string& strError) {
    std::vector<WineRegistryKey> keys(keyPaths.size());
    std::vector<std::string> wanted;
    for (const std::string& strPath : keyPaths)
        wanted.push_back(FoldCase(strPath));

    Lines lines(text);
    std::string_view line;
    std::string strProblem;
    const auto fail = [&](const std::string& strWhat) {
        strError = "line " + std::to_string(lines.Number()) + ": " + strWhat;
        return std::nullopt;
    };
    if (text.empty()) {
        strError = "the file is empty";
        return std::nullopt;
    }
    if (!lines.Next(line, strProblem) || line != kHeader)
        return fail(strProblem.empty() ? "not \"" + std::string(kHeader) + "\"" : strProblem);
    bool bInKey = false;
    WineRegistryKey* pKey = nullptr;
    while (lines.Next(line, strProblem)) {
        while (!line.empty() && IsSpace(line.front()))
            line.remove_prefix(1);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            std::string strPath;
            if (!ParseKey(line, strPath))
                return fail("malformed key");
            bInKey = true;
            pKey = nullptr;
            for (size_t i = 0; i < wanted.size(); ++i)
                if (wanted[i] == strPath) {
                    pKey = &keys[i];
                    pKey->bFound = true;
                }
            continue;
        }
        if (line[0] != '"' && line[0] != '@')
            return fail("neither key, value, option nor comment");
        if (!bInKey)
            return fail("a value before the first key");
        std::string strName;
        RegistryData data;
        if (!ParseValue(line, lines, pKey != nullptr, strName, data, strProblem))
            return fail(strProblem);
        // As in Wine, a value given twice holds what it was given last.
        if (pKey)
            pKey->values[strName] = std::move(data);
    }
    if (!strProblem.empty())
        return fail(strProblem);
    return keys;
}

#include "printer/common/PdfSettings.h"

#include <algorithm>

namespace {

// A list's text longer than this is not read at all: every allowed list is far shorter.
constexpr std::size_t kMaxFontListText = kMaxFontNames * (kMaxFontName + 3);

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A name as a warning shows it: cut short, so a hostile one cannot flood the log.
std::string Quoted(std::string_view name) {
    constexpr std::size_t kShown = 60;
    std::string strQuoted = "\"" + std::string(name.substr(0, kShown));
    return strQuoted + (name.size() > kShown ? "...\"" : "\"");
}

std::string Describe(const RegistryData& data) {
    return "type " + std::to_string(data.nType) + ", " + std::to_string(data.bytes.size()) +
           " bytes";
}

// The UTF-16 text of a REG_SZ or REG_MULTI_SZ value as a list's text: the strings of a
// multi-string separated by ";". nullopt, reason in strProblem, for anything else.
std::optional<std::string> ListText(const RegistryData& data, std::string& strProblem) {
    if (data.nType != kRegSz && data.nType != kRegMultiSz) {
        strProblem =
            "is neither text (REG_SZ) nor a multi-string (REG_MULTI_SZ) (" + Describe(data) + ")";
        return std::nullopt;
    }
    if (data.bytes.size() % 2 != 0) {
        strProblem = "is not UTF-16 text (" + Describe(data) + ")";
        return std::nullopt;
    }
    if (data.bytes.size() / 2 > kMaxFontListText + 2) {
        strProblem = "is longer than " + std::to_string(kMaxFontListText) + " characters";
        return std::nullopt;
    }
    std::string strText;
    for (std::size_t i = 0; i < data.bytes.size(); i += 2) {
        const unsigned nUnit = static_cast<unsigned char>(data.bytes[i]) |
                               static_cast<unsigned>(static_cast<unsigned char>(data.bytes[i + 1]))
                                   << 8;
        if (nUnit == 0) {
            // A text ends at its first zero; a multi-string's strings are separated by one.
            if (data.nType == kRegSz)
                break;
            strText += ';';
        } else if (nUnit >= 0x80) {
            strProblem = "holds characters other than ASCII";
            return std::nullopt;
        } else {
            strText += static_cast<char>(nUnit);
        }
    }
    return strText;
}

} // namespace

bool PdfSettings::operator==(const PdfSettings& other) const {
    for (const PdfNumber& number : kPdfNumbers)
        if (this->*number.pMember != other.*number.pMember)
            return false;
    return EmbedFonts == other.EmbedFonts && NeverEmbedFonts == other.NeverEmbedFonts;
}

PdfSettings OfficePrintPdfSettings() {
    PdfSettings settings;
    settings.ColourResolution = 150;
    settings.GreyResolution = 150;
    settings.MonoResolution = 300;
    return settings;
}

bool IsPlainFontName(std::string_view name) {
    if (name.empty() || name.size() > kMaxFontName)
        return false;
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b >= 0x7F ||
            std::string_view("()<>[]{}/%;").find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

std::optional<std::vector<std::string>> ParseFontList(std::string_view text,
                                                      std::string& strBadName) {
    std::vector<std::string> names;
    while (!text.empty()) {
        const std::size_t nEnd = std::min(text.find(';'), text.size());
        std::string_view name = text.substr(0, nEnd);
        text.remove_prefix(std::min(nEnd + 1, text.size()));
        while (!name.empty() && IsBlank(name.front()))
            name.remove_prefix(1);
        while (!name.empty() && IsBlank(name.back()))
            name.remove_suffix(1);
        if (name.empty())
            continue;
        if (!IsPlainFontName(name)) {
            strBadName = name;
            return std::nullopt;
        }
        if (names.size() == kMaxFontNames) {
            strBadName.clear();
            return std::nullopt;
        }
        names.emplace_back(name);
    }
    return names;
}

std::string JoinFontList(const std::vector<std::string>& names) {
    std::string strText;
    for (const std::string& strName : names)
        strText += (strText.empty() ? "" : ";") + strName;
    return strText;
}

PdfSettings ReadPdfSettings(const RegistryLookup& lookup, std::vector<std::string>& warnings) {
    PdfSettings settings;
    for (const PdfNumber& number : kPdfNumbers) {
        uint32_t& nSetting = settings.*number.pMember;
        const std::string strDefault = "; " + std::to_string(nSetting) + " is used";
        const std::optional<RegistryData> data = lookup(number.pszName);
        if (!data) {
            warnings.push_back(std::string(number.pszName) + " is missing" + strDefault);
            continue;
        }
        if (data->nType != kRegDword || data->bytes.size() != 4) {
            warnings.push_back(std::string(number.pszName) + " is not a DWORD of 4 bytes (" +
                               Describe(*data) + ")" + strDefault);
            continue;
        }
        uint32_t nValue = 0;
        for (int i = 3; i >= 0; --i)
            nValue =
                nValue << 8 | static_cast<unsigned char>(data->bytes[static_cast<std::size_t>(i)]);
        if (!IsAllowed(number, nValue)) {
            const std::string strRange =
                std::to_string(number.nMin) + " to " + std::to_string(number.nMax);
            warnings.push_back(std::string(number.pszName) + " " + std::to_string(nValue) +
                               (number.nMin == 0 ? " is not from " : " is neither 0 nor from ") +
                               strRange + strDefault);
            continue;
        }
        nSetting = nValue;
    }
    for (const PdfFontList& list : kPdfFontLists) {
        const std::string strDefault = "; no names are used";
        const std::optional<RegistryData> data = lookup(list.pszName);
        if (!data) {
            warnings.push_back(std::string(list.pszName) + " is missing" + strDefault);
            continue;
        }
        std::string strProblem;
        std::optional<std::vector<std::string>> names;
        if (const std::optional<std::string> text = ListText(*data, strProblem)) {
            std::string strBadName;
            names = ParseFontList(*text, strBadName);
            strProblem =
                strBadName.empty()
                    ? "holds more than " + std::to_string(kMaxFontNames) + " names"
                    : "names " + Quoted(strBadName) + ", which is not a plain PostScript font name";
        }
        if (!names) {
            warnings.push_back(std::string(list.pszName) + " " + strProblem + strDefault);
            continue;
        }
        settings.*list.pMember = std::move(*names);
    }
    return settings;
}

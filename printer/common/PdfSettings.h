// The PDF settings of one of the printer product's configurations: the registry values
// that shape the PDF, what each may hold, and how the registry's data become settings.
// The applet, the seeding and the CUPS backend share them; what each setting asks of
// Ghostscript is the backend's PdfSwitches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Default-constructed: "Standard", exactly Ghostscript's own output.
struct PdfSettings {
    uint32_t Fonts = 0;            // 0 subsets, 1 whole fonts, 2 none but EmbedFonts
    uint32_t Colour = 1;           // 0 lossless, 1 automatic, 2 JPEG
    uint32_t Grey = 1;             // as Colour
    uint32_t Monochrome = 1;       // 0 Flate, 1 CCITT Group 4, 2 run length
    uint32_t Resolution = 0;       // dpi pdfwrite works at; 0 Ghostscript's own
    uint32_t ColourResolution = 0; // dpi colour images are reduced to; 0 never
    uint32_t GreyResolution = 0;   // the same for grey images
    uint32_t MonoResolution = 0;   // the same for monochrome images
    std::vector<std::string> EmbedFonts;
    std::vector<std::string> NeverEmbedFonts;

    bool operator==(const PdfSettings& other) const;
};

// "Office Print": small PDFs for the office. Colour and grey images above 150 dpi and
// monochrome ones above 300 dpi are reduced; everything else as "Standard".
PdfSettings OfficePrintPdfSettings();

// A number of PdfSettings: its registry value, its member and what it may hold: 0, or a
// value from nMin to nMax.
struct PdfNumber {
    const char* pszName;
    uint32_t PdfSettings::*pMember;
    uint32_t nMin;
    uint32_t nMax;
};

inline constexpr PdfNumber kPdfNumbers[] = {
    {"Fonts", &PdfSettings::Fonts, 0, 2},
    {"Colour", &PdfSettings::Colour, 0, 2},
    {"Grey", &PdfSettings::Grey, 0, 2},
    {"Monochrome", &PdfSettings::Monochrome, 0, 2},
    {"Resolution", &PdfSettings::Resolution, 72, 4000},
    {"ColourResolution", &PdfSettings::ColourResolution, 9, 4000},
    {"GreyResolution", &PdfSettings::GreyResolution, 9, 4000},
    {"MonoResolution", &PdfSettings::MonoResolution, 9, 4000},
};

inline bool IsAllowed(const PdfNumber& number, uint32_t nValue) {
    return nValue == 0 || (nValue >= number.nMin && nValue <= number.nMax);
}

// A list of font names of PdfSettings and its registry value.
struct PdfFontList {
    const char* pszName;
    std::vector<std::string> PdfSettings::*pMember;
};

inline const PdfFontList kPdfFontLists[] = {
    {"EmbedFonts", &PdfSettings::EmbedFonts},
    {"NeverEmbedFonts", &PdfSettings::NeverEmbedFonts},
};

// How long a font name and a list may be.
constexpr std::size_t kMaxFontName = 127;
constexpr std::size_t kMaxFontNames = 100;

// Whether the name is a plain PostScript name: 1 to kMaxFontName printable ASCII
// characters, none of them a PostScript delimiter ( ) < > [ ] { } / %, nor the list's
// separator ";".
bool IsPlainFontName(std::string_view name);

// The names of a list as the applet writes it: separated by ";", blanks and tabs around
// each ignored, empty entries skipped. nullopt when a name is not plain (it goes to
// strBadName) or there are more than kMaxFontNames (strBadName empty).
std::optional<std::vector<std::string>> ParseFontList(std::string_view text,
                                                      std::string& strBadName);

// The list as the applet writes it.
std::string JoinFontList(const std::vector<std::string>& names);

// Registry value types, as Windows numbers them.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

// One value's data as the registry holds it: texts in UTF-16, little-endian, with their
// terminating zeros.
struct RegistryData {
    uint32_t nType = 0;
    std::string bytes;
};

// The data of the value of the given name in a configuration's key; nullopt when there
// is no such value.
using RegistryLookup = std::function<std::optional<RegistryData>(const char* pszName)>;

// The settings that a configuration's values give. A value that is missing, of another
// type or not allowed gives its "Standard" setting, and a line in warnings that says so.
// DWORDs must be REG_DWORD of four bytes; font lists REG_SZ (names separated by ";") or
// REG_MULTI_SZ (one or more names each).
PdfSettings ReadPdfSettings(const RegistryLookup& lookup, std::vector<std::string>& warnings);

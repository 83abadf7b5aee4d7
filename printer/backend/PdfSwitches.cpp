#include "printer/backend/PdfSwitches.h"

namespace {

// Colour or grey images: their compression and the resolution they are reduced to.
void ImageSwitches(const std::string& strKind, uint32_t nCompression, uint32_t nResolution,
                   std::vector<std::string>& switches) {
    if (nCompression == 0 || nCompression == 2) {
        switches.push_back("-dAutoFilter" + strKind + "Images=false");
        switches.push_back("-d" + strKind +
                           "ImageFilter=" + (nCompression == 0 ? "/FlateEncode" : "/DCTEncode"));
    }
    if (nResolution != 0) {
        switches.push_back("-dDownsample" + strKind + "Images=true");
        switches.push_back("-d" + strKind + "ImageResolution=" + std::to_string(nResolution));
        switches.push_back("-d" + strKind + "ImageDownsampleType=/Bicubic");
    }
}

void FontListSwitch(const char* pszSwitch, const std::vector<std::string>& names,
                    std::vector<std::string>& switches) {
    std::string strNames;
    for (const std::string& strName : names)
        if (IsPlainFontName(strName))
            strNames += (strNames.empty() ? "" : " ") + strName;
    if (!strNames.empty())
        switches.push_back(std::string("-s") + pszSwitch + "=" + strNames);
}

} // namespace

std::vector<std::string> PdfSwitches(const PdfSettings& settings) {
    // Anything not allowed counts as its "Standard" value, which asks for nothing.
    PdfSettings s = settings;
    for (const PdfNumber& number : kPdfNumbers)
        if (!IsAllowed(number, settings.*number.pMember))
            s.*number.pMember = PdfSettings().*number.pMember;

    std::vector<std::string> switches;
    if (s.Resolution != 0)
        switches.push_back("-r" + std::to_string(s.Resolution));
    ImageSwitches("Color", s.Colour, s.ColourResolution, switches);
    ImageSwitches("Gray", s.Grey, s.GreyResolution, switches);
    if (s.Monochrome == 0 || s.Monochrome == 2)
        switches.push_back(std::string("-dMonoImageFilter=") +
                           (s.Monochrome == 0 ? "/FlateEncode" : "/RunLengthEncode"));
    if (s.MonoResolution != 0) {
        switches.push_back("-dDownsampleMonoImages=true");
        switches.push_back("-dMonoImageResolution=" + std::to_string(s.MonoResolution));
    }
    if (s.Fonts == 1)
        switches.push_back("-dSubsetFonts=false");
    else if (s.Fonts == 2)
        switches.push_back("-dEmbedAllFonts=false");
    FontListSwitch("QuillonAlwaysEmbed", s.EmbedFonts, switches);
    FontListSwitch("QuillonNeverEmbed", s.NeverEmbedFonts, switches);
    return switches;
}

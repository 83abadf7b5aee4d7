// What a configuration's PDF settings ask of Ghostscript's pdfwrite: its command-line
// switches. The README's table of the settings says the same in words.
#pragma once

#include "printer/common/PdfSettings.h"

#include <string>
#include <vector>

// The switches, to go before the prelude and the job. Settings at their "Standard" values
// give none, so "Standard" is exactly Ghostscript's own output:
//   Resolution n            -rn
//   ColourResolution n      -dDownsampleColorImages=true -dColorImageResolution=n
//                           -dColorImageDownsampleType=/Bicubic (GreyResolution: Gray...)
//   MonoResolution n        -dDownsampleMonoImages=true -dMonoImageResolution=n
//   Colour 0 / 2            -dAutoFilterColorImages=false -dColorImageFilter=/FlateEncode
//                           or /DCTEncode (Grey: Gray...)
//   Monochrome 0 / 2        -dMonoImageFilter=/FlateEncode or /RunLengthEncode
//   Fonts 1 / 2             -dSubsetFonts=false or -dEmbedAllFonts=false
//   EmbedFonts names        -sQuillonAlwaysEmbed=names, separated by blanks
//   NeverEmbedFonts names   -sQuillonNeverEmbed=names, separated by blanks
// The prelude adds the names of the last two to pdfwrite's AlwaysEmbed and NeverEmbed:
// they only ever become PostScript names, never code. A value that is not allowed, or a
// name that is not plain, gives no switch.
std::vector<std::string> PdfSwitches(const PdfSettings& settings);

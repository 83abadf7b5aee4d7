// Reads fuzzed bytes as a prefix's system.reg, as the backend does for each job: whatever
// the file holds, the settings are ones the printer side allows.
#include "printer/backend/JobConfiguration.h"
#include "printer/backend/PdfSwitches.h"
#include "FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    FuzzedDataProvider provider(pData, nSize);
    const std::string strConfiguration = provider.ConsumeRandomLengthString(40);
    const std::string strFile = provider.ConsumeRemainingBytesAsString();
    const JobPdfSettings pdf = SelectPdfSettings(strFile, "", strConfiguration);
    for (const PdfNumber& number : kPdfNumbers)
        Check(IsAllowed(number, pdf.settings.*number.pMember));
    for (const PdfFontList& list : kPdfFontLists)
        for (const std::string& strName : pdf.settings.*list.pMember)
            Check(IsPlainFontName(strName));
    // A warning for each value at most, and one for the fallback.
    Check(pdf.warnings.size() <= std::size(kPdfNumbers) + std::size(kPdfFontLists) + 1);
    // Every name reaches Ghostscript.
    const std::vector<std::string> switches = PdfSwitches(pdf.settings);
    for (const std::string& strSwitch : switches)
        Check(strSwitch.find('\0') == std::string::npos);
    return 0;
}

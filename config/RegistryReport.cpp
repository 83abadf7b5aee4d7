#include "config/RegistryReport.h"

namespace {

// An empty part is left out like a missing one, so the text never holds two backslashes
// in a row.
void AppendPart(std::string& strText, const char* pszPart) {
    if (pszPart == nullptr || *pszPart == '\0')
        return;
    if (!strText.empty())
        strText += '\\';
    strText += pszPart;
}

} // namespace

std::string RegistryPathText(const char* pszRootName, const char* pszKeyPath,
                             const char* pszValueName) {
    std::string strText = pszRootName != nullptr ? pszRootName : "";
    AppendPart(strText, pszKeyPath);
    AppendPart(strText, pszValueName);
    return strText;
}

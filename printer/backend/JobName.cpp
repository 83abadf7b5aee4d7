#include "printer/backend/JobName.h"

#include <cups/cups.h>

std::optional<std::string> FindJobOption(const std::string& strOptions, const char* pszName) {
    cups_option_t* pOptions = nullptr;
    const int nOptions = cupsParseOptions(strOptions.c_str(), 0, &pOptions);
    std::optional<std::string> value;
    if (const char* pszValue = cupsGetOption(pszName, nOptions, pOptions))
        value = pszValue;
    cupsFreeOptions(nOptions, pOptions);
    return value;
}

std::optional<std::string> SelectJobName(const std::string& strTitle, const std::string& strOptions,
                                         std::string& strError) {
    std::optional<std::string> supplied = FindJobOption(strOptions, "document-name-supplied");
    if (!supplied)
        return strTitle;
    if (strTitle != UNTITLED_JOB && strTitle != *supplied) {
        strError = "the job title and the supplied document name differ";
        return std::nullopt;
    }
    return supplied;
}

#include "printer/common/ConfigurationValues.h"

ConfigurationValues OfficePrintValues(const std::string& strFolder) {
    ConfigurationValues values;
    values.General = kGeneralOverwrite | kGeneralUseOutputPath;
    values.pdf = OfficePrintPdfSettings();
    values.OutputPath = strFolder;
    return values;
}

std::vector<NamedValue> RegistryValuesOf(const ConfigurationValues& values) {
    std::vector<NamedValue> named = {{"Reporting", false, values.Reporting, ""},
                                     {"General", false, values.General, ""}};
    for (const PdfNumber& number : kPdfNumbers)
        named.push_back({number.pszName, false, values.pdf.*number.pMember, ""});
    for (const PdfFontList& list : kPdfFontLists)
        named.push_back({list.pszName, true, 0, JoinFontList(values.pdf.*list.pMember)});
    named.push_back({"OutputPath", true, 0, values.OutputPath});
    return named;
}

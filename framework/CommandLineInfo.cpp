#include "framework/CommandLineInfo.h"

#include <cstring>

namespace {

bool EqualsIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a + 32) : *a;
        char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b + 32) : *b;
        if (ca != cb)
            return false;
    }
    return *a == *b;
}

} // namespace

void CCommandLineInfo::ParseParam(const char* pszParam, bool bFlag, bool bLast) {
    if (bFlag)
        ParseParamFlag(pszParam);
    else
        ParseParamNotFlag(pszParam);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(const char* pszParam) {
    // Shell verbs are case-sensitive; the OLE word is not.
    if (std::strcmp(pszParam, "pt") == 0)
        m_nShellCommand = FilePrintTo;
    else if (std::strcmp(pszParam, "p") == 0)
        m_nShellCommand = FilePrint;
    else if (EqualsIgnoringCase(pszParam, "Automation"))
        m_bRunAutomated = true;
}

void CCommandLineInfo::ParseParamNotFlag(const char* pszParam) {
    if (m_strFileName.empty())
        m_strFileName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.empty())
        m_strPrinterName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.empty())
        m_strDriverName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.empty())
        m_strPortName = pszParam;
}

void CCommandLineInfo::ParseLast(bool bLast) {
    if (bLast && m_nShellCommand == FileNew && !m_strFileName.empty())
        m_nShellCommand = FileOpen;
}

void ParseCommandLineArguments(CCommandLineInfo& info, const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const char* pszParam = args[i].c_str();
        bool bFlag = pszParam[0] == '/' || pszParam[0] == '-';
        if (bFlag)
            ++pszParam;
        info.ParseParam(pszParam, bFlag, i + 1 == args.size());
    }
}

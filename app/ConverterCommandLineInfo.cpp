#include "app/ConverterCommandLineInfo.h"

#include "config/RegistryPaths.h"

#include <utility>

namespace {

// Whether a switch value reads as a non-zero number the way atoi reads it: leading
// white space, an optional sign, then digits up to the first other character. Only
// zero versus non-zero matters, so no value can overflow.
bool IsNonZeroNumber(const char* psz) {
    while (*psz == ' ' || (*psz >= '\t' && *psz <= '\r'))
        ++psz;
    if (*psz == '+' || *psz == '-')
        ++psz;
    for (; *psz >= '0' && *psz <= '9'; ++psz) {
        if (*psz != '0')
            return true;
    }
    return false;
}

} // namespace

ConverterCommandLineInfo::ConverterCommandLineInfo(std::string& strActiveConfiguration,
                                                   KeyExists keyExists)
    : m_strActiveConfiguration(strActiveConfiguration), m_keyExists(std::move(keyExists)) {}

void ConverterCommandLineInfo::ParseParam(const char* pszParam, bool bFlag, bool bLast) {
    if (!bFlag) {
        CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
        return;
    }
    const char* pszValue = pszParam[0] ? pszParam + 1 : pszParam;
    switch (pszParam[0]) {
    case 'C':
    case 'c':
        if (*pszValue && m_keyExists(std::string(CONFIGURATIONS_KEY "\\") + pszValue))
            m_strActiveConfiguration = pszValue;
        return;
    case 'D':
    case 'd':
        m_bDSet = 1;
        m_bDValue = IsNonZeroNumber(pszValue) ? 1 : 0;
        return;
    case 'E':
    case 'e':
        m_bESet = 1;
        m_bEValue = IsNonZeroNumber(pszValue) ? 1 : 0;
        return;
    case 'Q':
    case 'q':
        m_bQSet = 1;
        return;
    case 'U':
    case 'u':
        m_bUSet = 1;
        m_bUValue = IsNonZeroNumber(pszValue) ? 0 : 1;
        return;
    case 'V':
    case 'v':
        m_bVSet = 1;
        m_bVValue = (*pszValue == '\0' || IsNonZeroNumber(pszValue)) ? 1 : 0;
        return;
    default:
        CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
    }
}

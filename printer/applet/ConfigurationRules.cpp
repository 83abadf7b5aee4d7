#include "ConfigurationRules.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Drive-letter paths ("C:\...") and UNC paths ("\\server\share...") are absolute;
// "C:x", "\x" and "x" depend on the current drive or folder of whoever reads them.
bool IsAbsoluteWindowsPath(const std::string& strPath) {
    if (strPath.size() >= 3 && strPath[1] == ':' && IsSeparator(strPath[2])) {
        char c = strPath[0];
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    }
    return strPath.size() >= 3 && IsSeparator(strPath[0]) && IsSeparator(strPath[1]) &&
           !IsSeparator(strPath[2]);
}

bool HasParentComponent(const std::string& strPath) {
    std::size_t nStart = 0;
    while (nStart <= strPath.size()) {
        std::size_t nEnd = nStart;
        while (nEnd < strPath.size() && !IsSeparator(strPath[nEnd]))
            ++nEnd;
        if (strPath.compare(nStart, nEnd - nStart, "..") == 0)
            return true;
        nStart = nEnd + 1;
    }
    return false;
}

} // namespace

std::string TrimBlanks(const std::string& strText) {
    std::size_t nBegin = 0;
    std::size_t nEnd = strText.size();
    while (nBegin < nEnd && IsBlank(strText[nBegin]))
        ++nBegin;
    while (nEnd > nBegin && IsBlank(strText[nEnd - 1]))
        --nEnd;
    return strText.substr(nBegin, nEnd - nBegin);
}

NameProblem CheckConfigurationName(const std::string& strName) {
    if (strName.empty())
        return NameProblem::Empty;
    if (strName.size() > kMaxConfigurationName)
        return NameProblem::TooLong;
    for (char c : strName) {
        if (c == '\\')
            return NameProblem::Backslash;
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return NameProblem::ControlCharacter;
    }
    return NameProblem::None;
}

PathProblem CheckOutputPath(const std::string& strPath, bool bUseOutputPath) {
    if (!bUseOutputPath)
        return PathProblem::None;
    if (strPath.empty())
        return PathProblem::Missing;
    if (!IsAbsoluteWindowsPath(strPath))
        return PathProblem::NotAbsolute;
    if (HasParentComponent(strPath))
        return PathProblem::ParentComponent;
    if (strPath.size() > kMaxOutputPath)
        return PathProblem::TooLong;
    return PathProblem::None;
}

std::optional<uint32_t> ParseSettingNumber(const std::string& strText, const PdfNumber& number) {
    const std::string strDigits = TrimBlanks(strText);
    // Ten digits may already overflow 32 bits; no allowed value has that many.
    if (strDigits.empty() || strDigits.size() > 9)
        return std::nullopt;
    uint32_t nValue = 0;
    for (char c : strDigits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        nValue = nValue * 10 + static_cast<uint32_t>(c - '0');
    }
    if (!IsAllowed(number, nValue))
        return std::nullopt;
    return nValue;
}

uint32_t ApplyGeneralChoices(uint32_t dwGeneral, bool bUseOutputPath, bool bOverwrite) {
    dwGeneral &= ~(kGeneralUseOutputPath | kGeneralOverwrite);
    if (bUseOutputPath)
        dwGeneral |= kGeneralUseOutputPath;
    if (bOverwrite)
        dwGeneral |= kGeneralOverwrite;
    return dwGeneral;
}

std::string FillIn(const std::string& strTemplate, const std::string& str1,
                   const std::string& str2) {
    std::string strResult;
    for (std::size_t i = 0; i < strTemplate.size(); ++i) {
        if (strTemplate[i] == '%' && i + 1 < strTemplate.size() &&
            (strTemplate[i + 1] == '1' || strTemplate[i + 1] == '2')) {
            strResult += strTemplate[i + 1] == '1' ? str1 : str2;
            ++i;
        } else {
            strResult += strTemplate[i];
        }
    }
    return strResult;
}

std::string EscapeAmpersands(const std::string& strText) {
    std::string strResult;
    for (char c : strText) {
        strResult += c;
        if (c == '&')
            strResult += '&';
    }
    return strResult;
}

#include "app/OutputName.h"

#include "config/GeneralBits.h"

#include <string>

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

char FoldAsciiCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equality as _stricmp sees it in the C locale: only ASCII letters fold.
bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i]))
            return false;
    }
    return true;
}

// Drive and directory of a path, the part that a long name is appended to.
std::string DirectoryPrefix(const PathParts& parts) {
    return MakePath(parts.strDrive, parts.strDir, "", "");
}

// Removes the extension of the last component only. StripExtension knows only "\", so an
// output directory written with "/" (D:/pdf.dir/README) would otherwise lose part of the
// directory instead of nothing.
void StripLastExtension(std::string& strPath) {
    const std::size_t nSlash = strPath.find_last_of('/');
    if (nSlash == std::string::npos) {
        StripExtension(strPath);
        return;
    }
    std::string strTail = strPath.substr(nSlash + 1);
    StripExtension(strTail);
    strPath.replace(nSlash + 1, std::string::npos, strTail);
}

} // namespace

PathParts SplitPath(const std::string& strPath) {
    PathParts parts;
    std::size_t nStart = 0;
    if (strPath.size() >= 2 && strPath[1] == ':') {
        parts.strDrive = strPath.substr(0, 2);
        nStart = 2;
    }
    std::size_t nNameStart = nStart;
    for (std::size_t i = nStart; i < strPath.size(); ++i) {
        if (IsSeparator(strPath[i]))
            nNameStart = i + 1;
    }
    parts.strDir = strPath.substr(nStart, nNameStart - nStart);
    const std::size_t nDot = strPath.find_last_of('.');
    const std::size_t nExtStart =
        (nDot != std::string::npos && nDot >= nNameStart) ? nDot : strPath.size();
    parts.strName = strPath.substr(nNameStart, nExtStart - nNameStart);
    parts.strExt = strPath.substr(nExtStart);
    return parts;
}

std::string MakePath(const std::string& strDrive, const std::string& strDir,
                     const std::string& strName, const std::string& strExt) {
    std::string strPath;
    if (!strDrive.empty()) {
        strPath += strDrive[0];
        strPath += ':';
    }
    if (!strDir.empty()) {
        strPath += strDir;
        if (!IsSeparator(strDir.back()))
            strPath += '\\';
    }
    strPath += strName;
    if (!strExt.empty()) {
        if (strExt[0] != '.')
            strPath += '.';
        strPath += strExt;
    }
    return strPath;
}

void StripExtension(std::string& strPath) {
    for (std::size_t i = strPath.size(); i-- > 0;) {
        if (strPath[i] == '\\')
            return;
        if (strPath[i] == '.') {
            strPath.erase(i);
            return;
        }
    }
}

bool IsOverwriteAllowed(NamingForm eForm, uint32_t dwGeneral, bool bUSet, bool bUValue) {
    const bool bOverwriteBit = (dwGeneral & GENERAL_OVERWRITE) != 0;
    if (eForm == NamingForm::SingleFile)
        return bUSet ? bUValue : bOverwriteBit;
    return bOverwriteBit || (bUSet && bUValue);
}

std::string LongNameSearchPattern(const std::string& strPath) {
    const PathParts parts = SplitPath(strPath);
    return MakePath(parts.strDrive, parts.strDir, "*", "*");
}

void UseLongFileName(std::string& strPath, const std::vector<DirectoryEntry>& entries) {
    const PathParts parts = SplitPath(strPath);
    const std::string strWanted = parts.strName + parts.strExt;
    // A path that names a directory ("C:\docs\") has no last component to replace; the
    // empty short name of an entry that is short already must not match it either.
    if (strWanted.empty())
        return;
    for (const DirectoryEntry& entry : entries) {
        if (EqualsIgnoringAsciiCase(entry.strLongName, strWanted) ||
            EqualsIgnoringAsciiCase(entry.strShortName, strWanted)) {
            strPath = DirectoryPrefix(parts) + entry.strLongName;
            return;
        }
    }
}

std::optional<std::string> MakeOutputName(const std::string& strInputPath, NamingForm eForm,
                                          const NamingSettings& settings,
                                          const FileExistsFunction& fileExists,
                                          const LongNameFunction& useLongFileName,
                                          std::string* pstrLongInputPath) {
    // The long form and the move into the output directory are the same for every
    // number, so the name without number and extension is made once.
    std::string strInput = strInputPath;
    if (eForm == NamingForm::SingleFile)
        useLongFileName(strInput);
    if (pstrLongInputPath)
        *pstrLongInputPath = strInput;

    std::string strStem = strInput;
    if (settings.dwGeneral & GENERAL_USE_OUTPUT_PATH) {
        const PathParts parts = SplitPath(strStem);
        strStem = MakePath("", settings.optOutputPath.value_or(""), parts.strName, parts.strExt);
    }
    StripLastExtension(strStem);

    const char* pszExtension = settings.nSaveRequest == 1 ? ".pdf" : "";
    const bool bOverwrite =
        IsOverwriteAllowed(eForm, settings.dwGeneral, settings.bUSet, settings.bUValue);

    for (long long nCounter = -1;; ++nCounter) {
        std::string strCandidate = strStem;
        if (nCounter >= 0)
            strCandidate += std::to_string(nCounter);
        strCandidate += pszExtension;
        // Numbers only grow, so once a name is too long every later one is too.
        if (strCandidate.size() > MAX_OUTPUT_NAME)
            return std::nullopt;
        if (bOverwrite || !fileExists(strCandidate))
            return strCandidate;
    }
}

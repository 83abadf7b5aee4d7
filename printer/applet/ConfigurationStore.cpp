#include "ConfigurationStore.h"

#include "ConfigurationRules.h"

#include "printer/common/ConfigurationValues.h"
#include "printer/common/RegKey.h"

namespace {

const std::string kConfigurationsKey = std::string(kProductKey) + "\\Configurations";
const char kActiveValue[] = "ActiveConfiguration";

// Opens a configuration's key below Configurations rather than by its full path: Wine's
// Reg*A calls fail on paths longer than 260 characters, which a 255-character name makes.
LONG OpenConfiguration(RegKey& key, const std::string& strName, REGSAM samDesired) {
    RegKey parent;
    LONG nError =
        parent.Open(HKEY_LOCAL_MACHINE, kConfigurationsKey.c_str(), KEY_ENUMERATE_SUB_KEYS);
    if (nError != ERROR_SUCCESS)
        return nError;
    return key.Open(parent.Get(), strName.c_str(), samDesired);
}

LONG SetDword(HKEY hKey, const char* pszName, uint32_t dwValue) {
    DWORD dwData = dwValue;
    return RegSetValueExA(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwData),
                          sizeof dwData);
}

LONG SetText(HKEY hKey, const char* pszName, const std::string& strValue) {
    return RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.c_str()),
                          static_cast<DWORD>(strValue.size() + 1));
}

// The value's bytes, or false when it is missing or cannot be read.
bool QueryBytes(HKEY hKey, const char* pszName, std::string& strData) {
    DWORD cb = 0;
    if (RegQueryValueExA(hKey, pszName, nullptr, nullptr, nullptr, &cb) != ERROR_SUCCESS)
        return false;
    strData.assign(cb, '\0');
    if (cb == 0)
        return true;
    if (RegQueryValueExA(hKey, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(&strData[0]),
                         &cb) != ERROR_SUCCESS)
        return false;
    strData.resize(cb);
    return true;
}

// The first four bytes little-endian, as the converter reads a DWORD; 0 when missing.
uint32_t QueryDword(HKEY hKey, const char* pszName) {
    std::string strData;
    if (!QueryBytes(hKey, pszName, strData))
        return 0;
    uint32_t dwValue = 0;
    for (std::size_t i = 0; i < 4 && i < strData.size(); ++i)
        dwValue |= static_cast<uint32_t>(static_cast<unsigned char>(strData[i])) << (8 * i);
    return dwValue;
}

// The text up to its first zero byte; empty when missing.
std::string QueryText(HKEY hKey, const char* pszName) {
    std::string strData;
    if (!QueryBytes(hKey, pszName, strData))
        return std::string();
    return strData.substr(0, strData.find('\0'));
}

std::wstring Widen(const std::string& strText) {
    int nChars = MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()),
                                     nullptr, 0);
    std::wstring strWide(static_cast<std::size_t>(nChars), L'\0');
    if (nChars > 0)
        MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()),
                            &strWide[0], nChars);
    return strWide;
}

// The data of a value as the registry holds it, texts in UTF-16 as they are stored.
std::optional<RegistryData> QueryData(HKEY hKey, const char* pszName) {
    const std::wstring strName(pszName, pszName + std::char_traits<char>::length(pszName));
    DWORD dwType = 0;
    DWORD cb = 0;
    if (RegQueryValueExW(hKey, strName.c_str(), nullptr, &dwType, nullptr, &cb) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryData data;
    data.nType = dwType;
    data.bytes.assign(cb, '\0');
    if (cb > 0 && RegQueryValueExW(hKey, strName.c_str(), nullptr, &dwType,
                                   reinterpret_cast<BYTE*>(&data.bytes[0]), &cb) != ERROR_SUCCESS)
        return std::nullopt;
    data.bytes.resize(cb);
    return data;
}

LONG WriteDefaults(HKEY hKey) {
    for (const NamedValue& value : RegistryValuesOf(ConfigurationValues())) {
        LONG nError = value.bText ? SetText(hKey, value.pszName, value.strText)
                                  : SetDword(hKey, value.pszName, value.dwValue);
        if (nError != ERROR_SUCCESS)
            return nError;
    }
    return ERROR_SUCCESS;
}

LONG WriteChangedPdfSettings(HKEY hKey, const PdfSettings& pdf, const PdfSettings& pdfBefore) {
    for (const PdfNumber& number : kPdfNumbers) {
        if (pdf.*number.pMember == pdfBefore.*number.pMember)
            continue;
        LONG nError = SetDword(hKey, number.pszName, pdf.*number.pMember);
        if (nError != ERROR_SUCCESS)
            return nError;
    }
    for (const PdfFontList& list : kPdfFontLists) {
        if (pdf.*list.pMember == pdfBefore.*list.pMember)
            continue;
        LONG nError = SetText(hKey, list.pszName, JoinFontList(pdf.*list.pMember));
        if (nError != ERROR_SUCCESS)
            return nError;
    }
    return ERROR_SUCCESS;
}

} // namespace

LONG ListConfigurations(std::vector<std::string>& names) {
    names.clear();
    RegKey key;
    LONG nError = key.Open(HKEY_LOCAL_MACHINE, kConfigurationsKey.c_str(), KEY_READ);
    if (nError == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (nError != ERROR_SUCCESS)
        return nError;
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szName[256];
        DWORD cchName = sizeof szName;
        nError =
            RegEnumKeyExA(key.Get(), dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (nError == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (nError != ERROR_SUCCESS)
            return nError;
        names.emplace_back(szName, cchName);
    }
}

std::string ReadActiveConfiguration() {
    RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kConfigurationsKey.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return std::string();
    return QueryText(key.Get(), kActiveValue);
}

LONG WriteActiveConfiguration(const std::string& strName) {
    RegKey key;
    LONG nError = key.Create(HKEY_LOCAL_MACHINE, kConfigurationsKey.c_str(), KEY_SET_VALUE);
    if (nError != ERROR_SUCCESS)
        return nError;
    return SetText(key.Get(), kActiveValue, strName);
}

LONG ClearActiveConfiguration() {
    RegKey key;
    LONG nError = key.Open(HKEY_LOCAL_MACHINE, kConfigurationsKey.c_str(), KEY_SET_VALUE);
    if (nError == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (nError != ERROR_SUCCESS)
        return nError;
    nError = RegDeleteValueA(key.Get(), kActiveValue);
    return nError == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : nError;
}

CreateOutcome CreateConfiguration(const std::string& strName, LONG& nError) {
    RegKey parent;
    nError =
        parent.Create(HKEY_LOCAL_MACHINE, kConfigurationsKey.c_str(), KEY_CREATE_SUB_KEY | DELETE);
    if (nError != ERROR_SUCCESS)
        return CreateOutcome::Failed;
    RegKey key;
    DWORD dwDisposition = 0;
    nError = key.Create(parent.Get(), strName.c_str(), KEY_SET_VALUE, &dwDisposition);
    if (nError != ERROR_SUCCESS)
        return CreateOutcome::Failed;
    // The registry matches names without regard to letter case, so this also catches
    // "standard" when "Standard" exists.
    if (dwDisposition == REG_OPENED_EXISTING_KEY)
        return CreateOutcome::AlreadyExists;
    nError = WriteDefaults(key.Get());
    if (nError == ERROR_SUCCESS)
        return CreateOutcome::Created;
    key.Close();
    RegDeleteKeyA(parent.Get(), strName.c_str());
    return CreateOutcome::Failed;
}

LONG DeleteConfiguration(const std::string& strName) {
    // An empty name would make RegDeleteTreeA empty Configurations itself.
    if (strName.empty())
        return ERROR_INVALID_PARAMETER;
    RegKey parent;
    LONG nError =
        parent.Open(HKEY_LOCAL_MACHINE, kConfigurationsKey.c_str(), KEY_READ | KEY_WRITE | DELETE);
    if (nError != ERROR_SUCCESS)
        return nError;
    return RegDeleteTreeA(parent.Get(), strName.c_str());
}

EditableValues ReadEditableValues(const std::string& strName) {
    EditableValues values;
    RegKey key;
    if (OpenConfiguration(key, strName, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return values;
    values.dwGeneral = QueryDword(key.Get(), "General");
    values.strOutputPath = QueryText(key.Get(), "OutputPath");
    // The applet has nothing to say about values the printer side would not take: it
    // shows what the printer side makes of them.
    std::vector<std::string> ignored;
    values.pdf = ReadPdfSettings(
        [&key](const char* pszName) { return QueryData(key.Get(), pszName); }, ignored);
    return values;
}

LONG WriteEditableValues(const std::string& strName, bool bUseOutputPath, bool bOverwrite,
                         const std::string& strOutputPath, const PdfSettings& pdf,
                         const PdfSettings& pdfBefore) {
    RegKey key;
    // Open, not create: a configuration deleted meanwhile is not brought back half-filled.
    LONG nError = OpenConfiguration(key, strName, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (nError != ERROR_SUCCESS)
        return nError;
    uint32_t dwGeneral =
        ApplyGeneralChoices(QueryDword(key.Get(), "General"), bUseOutputPath, bOverwrite);
    nError = SetDword(key.Get(), "General", dwGeneral);
    if (nError == ERROR_SUCCESS)
        nError = SetText(key.Get(), "OutputPath", strOutputPath);
    if (nError == ERROR_SUCCESS)
        nError = WriteChangedPdfSettings(key.Get(), pdf, pdfBefore);
    return nError;
}

bool SameConfigurationName(const std::string& strA, const std::string& strB) {
    std::wstring strWideA = Widen(strA);
    std::wstring strWideB = Widen(strB);
    return CompareStringOrdinal(strWideA.c_str(), static_cast<int>(strWideA.size()),
                                strWideB.c_str(), static_cast<int>(strWideB.size()),
                                TRUE) == CSTR_EQUAL;
}

#include "printer/setup/FreshDefaults.h"

#include "printer/common/ConfigurationValues.h"
#include "printer/common/RegKey.h"

#include <shlobj.h>

#include <cstdint>

namespace {

const std::string kConfigurationsKey = std::string(kProductKey) + "\\Configurations";
const char kStandard[] = "Standard";
const char kOfficePrint[] = "Office Print";

// A folder below one of the system's, or false when the system cannot name it.
bool ShellFolder(int nFolder, const char* pszBelow, std::string& strPath, SeedFailure& failure) {
    char szPath[MAX_PATH] = "";
    HRESULT hr = SHGetFolderPathA(nullptr, nFolder, nullptr, SHGFP_TYPE_CURRENT, szPath);
    if (FAILED(hr)) {
        failure.strWhere = std::string("SHGetFolderPath (...\\") + pszBelow + ")";
        failure.nError = HRESULT_CODE(hr);
        return false;
    }
    strPath = std::string(szPath) + "\\" + pszBelow;
    return true;
}

bool KeyExists(const std::string& strPath) {
    RegKey key;
    return key.Open(HKEY_LOCAL_MACHINE, strPath.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

// Whether Configurations has at least one subkey; a missing key has none.
bool AnyConfigurationExists() {
    RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kConfigurationsKey.c_str(), KEY_ENUMERATE_SUB_KEYS) !=
        ERROR_SUCCESS)
        return false;
    char szName[256];
    DWORD cchName = sizeof szName;
    return RegEnumKeyExA(key.Get(), 0, szName, &cchName, nullptr, nullptr, nullptr, nullptr) !=
           ERROR_NO_MORE_ITEMS;
}

enum class Seeded { Kept, Written, Failed };

// Writes values below the product key that are not there yet, and records the first
// failure.
class Seeder {
public:
    explicit Seeder(SeedFailure& failure) : m_failure(failure) {}

    int Written() const { return m_nWritten; }

    bool Dword(const std::string& strKey, const char* pszName, uint32_t dwValue) {
        DWORD dwData = dwValue;
        return SetIfMissing(strKey, pszName, REG_DWORD, &dwData, sizeof dwData) != Seeded::Failed;
    }
    bool Text(const std::string& strKey, const char* pszName, const std::string& strValue) {
        return SetText(strKey, pszName, strValue) != Seeded::Failed;
    }

    // Every value the converter and the printer side read from a settings key. The
    // folder of an OutputPath written here is created, so the configuration works at once.
    bool Settings(const std::string& strKey, const ConfigurationValues& values) {
        for (const NamedValue& value : RegistryValuesOf(values)) {
            if (!value.bText) {
                if (!Dword(strKey, value.pszName, value.dwValue))
                    return false;
                continue;
            }
            Seeded result = SetText(strKey, value.pszName, value.strText);
            if (result == Seeded::Failed)
                return false;
            if (result == Seeded::Written && value.pszName == std::string("OutputPath") &&
                !value.strText.empty())
                CreateDirectoryA(value.strText.c_str(), nullptr);
        }
        return true;
    }

private:
    Seeded SetText(const std::string& strKey, const char* pszName, const std::string& strValue) {
        return SetIfMissing(strKey, pszName, REG_SZ, strValue.c_str(),
                            static_cast<DWORD>(strValue.size() + 1));
    }

    Seeded SetIfMissing(const std::string& strKey, const char* pszName, DWORD dwType,
                        const void* pData, DWORD cbData) {
        std::string strPath = std::string(kProductKey) + "\\" + strKey;
        RegKey key;
        LONG nError =
            key.Create(HKEY_LOCAL_MACHINE, strPath.c_str(), KEY_QUERY_VALUE | KEY_SET_VALUE);
        if (nError == ERROR_SUCCESS) {
            nError = RegQueryValueExA(key.Get(), pszName, nullptr, nullptr, nullptr, nullptr);
            if (nError == ERROR_SUCCESS)
                return Seeded::Kept;
            if (nError == ERROR_FILE_NOT_FOUND)
                nError = RegSetValueExA(key.Get(), pszName, 0, dwType,
                                        static_cast<const BYTE*>(pData), cbData);
        }
        if (nError != ERROR_SUCCESS) {
            m_failure.strWhere = strPath + "\\" + pszName;
            m_failure.nError = nError;
            return Seeded::Failed;
        }
        ++m_nWritten;
        return Seeded::Written;
    }

    SeedFailure& m_failure;
    int m_nWritten = 0;
};

} // namespace

bool SeedFreshDefaults(SeedFailure& failure, int& nWritten) {
    std::string strInstallFolder;
    std::string strOfficeFolder;
    if (!ShellFolder(CSIDL_PROGRAM_FILES, "Veltrane Quillon", strInstallFolder, failure) ||
        !ShellFolder(CSIDL_COMMON_DOCUMENTS, "PDF", strOfficeFolder, failure))
        return false;
    Seeder seed(failure);
    const std::string strStandardKey = std::string("Configurations\\") + kStandard;
    const std::string strOfficeKey = std::string("Configurations\\") + kOfficePrint;

    if (!seed.Dword("Configuration", "SaveRequest", 1) ||
        !seed.Text("Configuration", "Install", strInstallFolder) ||
        !seed.Text("Configuration", "PortName", "VeltraneQuillonPort") ||
        !seed.Settings("Configuration", ConfigurationValues()))
        return false;

    // Sample configurations only for a product without any: a user who deleted them does
    // not get them back with an upgrade or a repair.
    bool bFresh = !AnyConfigurationExists();
    bool bStandard = bFresh || KeyExists(std::string(kProductKey) + "\\" + strStandardKey);
    bool bOffice = bFresh || KeyExists(std::string(kProductKey) + "\\" + strOfficeKey);
    if (bStandard && !seed.Settings(strStandardKey, ConfigurationValues()))
        return false;
    if (bOffice && !seed.Settings(strOfficeKey, OfficePrintValues(strOfficeFolder)))
        return false;
    if (bStandard && !seed.Text("Configurations", "ActiveConfiguration", kStandard))
        return false;

    const bool bSeeded =
        seed.Dword("Debug", "BuildTime", 1234) && seed.Text("Debug", "KernelBuild", "5.01");
    nWritten = seed.Written();
    return bSeeded;
}

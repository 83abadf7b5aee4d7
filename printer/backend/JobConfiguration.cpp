#include "printer/backend/JobConfiguration.h"

#include "printer/backend/BackendLog.h"
#include "printer/backend/PdfSwitches.h"
#include "printer/backend/TargetPath.h"
#include "printer/backend/UniqueFd.h"
#include "printer/backend/WineRegistry.h"
#include "printer/common/ConfigurationValues.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// system.reg holds HKEY_LOCAL_MACHINE: its key paths begin below it.
const std::string kConfigurationKey = std::string(kProductKey) + "\\Configuration";
const std::string kConfigurationsKey = std::string(kProductKey) + "\\Configurations";

const char kDefaults[] = "converting with Ghostscript's defaults";

// The whole file, or false with the reason. Opened so that a FIFO or device put in its
// place cannot hold the job up, and read only when it is a regular file of a sane size.
bool ReadRegistryFile(const std::string& strPath, std::string& strText, std::string& strError) {
    const UniqueFd file(open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!file || fstat(file.Get(), &info) != 0) {
        strError = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        strError = "not a regular file";
        return false;
    }
    if (static_cast<unsigned long long>(info.st_size) > kMaxRegistryFileBytes) {
        strError = "larger than " + std::to_string(kMaxRegistryFileBytes >> 20) + " MiB";
        return false;
    }
    // The file may grow while it is read: never more than the bound is kept.
    strText.clear();
    strText.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(file.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            strError = std::strerror(errno);
            return false;
        }
        if (n == 0)
            return true;
        if (strText.size() + static_cast<size_t>(n) > kMaxRegistryFileBytes) {
            strError = "larger than " + std::to_string(kMaxRegistryFileBytes >> 20) + " MiB";
            return false;
        }
        strText.append(buffer, static_cast<size_t>(n));
    }
}

} // namespace

JobPdfSettings SelectPdfSettings(std::string_view registryText, const std::string& strFileProblem,
                                 const std::string& strConfiguration) {
    JobPdfSettings result;
    if (!strFileProblem.empty()) {
        result.warnings.push_back("Cannot read the configurations: " + strFileProblem + "; " +
                                  kDefaults + ".");
        return result;
    }
    // A key's name holds no backslash: such a configuration cannot exist.
    const bool bNamed = !strConfiguration.empty();
    const std::string strNamedKey = bNamed && strConfiguration.find('\\') == std::string::npos
                                        ? kConfigurationsKey + "\\" + strConfiguration
                                        : kConfigurationKey;
    std::string strError;
    std::optional<std::vector<WineRegistryKey>> keys =
        ReadWineRegistryKeys(registryText, {strNamedKey, kConfigurationKey}, strError);
    if (!keys) {
        result.warnings.push_back("The prefix's system.reg is not a registry file as Wine writes "
                                  "it (" +
                                  strError + "); " + kDefaults + ".");
        return result;
    }
    const WineRegistryKey& named = (*keys)[0];
    const WineRegistryKey& fallback = (*keys)[1];
    const bool bNamedFound = bNamed && strNamedKey != kConfigurationKey && named.bFound;
    if (bNamed && !bNamedFound) {
        result.warnings.push_back(
            "There is no configuration \"" + strConfiguration + "\"" +
            (fallback.bFound ? "; the values of the Configuration key are used."
                             : " and no Configuration key; " + std::string(kDefaults) + "."));
    } else if (!bNamed && !fallback.bFound) {
        result.warnings.push_back(std::string("There is no Configuration key; ") + kDefaults + ".");
    }
    const WineRegistryKey* pKey = bNamedFound ? &named : &fallback;
    if (!pKey->bFound)
        return result;
    const std::string strSource =
        bNamedFound ? "configuration \"" + strConfiguration + "\"" : "the Configuration key";
    std::vector<std::string> problems;
    result.settings = ReadPdfSettings(
        [pKey](const char* pszName) -> std::optional<RegistryData> {
            const auto it = pKey->values.find(FoldCase(pszName));
            if (it == pKey->values.end())
                return std::nullopt;
            return it->second;
        },
        problems);
    for (const std::string& strProblem : problems)
        result.warnings.push_back("In " + strSource + ", " + strProblem + ".");
    return result;
}

JobPdfSettings LoadJobPdfSettings(const std::string& strPrefix,
                                  const std::string& strConfiguration) {
    const std::string strPath = strPrefix + "/system.reg";
    std::string strText;
    std::string strError;
    if (!ReadRegistryFile(strPath, strText, strError))
        return SelectPdfSettings("", strPath + ": " + strError, strConfiguration);
    return SelectPdfSettings(strText, std::string(), strConfiguration);
}

std::vector<std::string> JobPdfSwitches(const std::string& strPrefix,
                                        const std::string& strConfiguration) {
    const JobPdfSettings pdf = LoadJobPdfSettings(strPrefix, strConfiguration);
    for (const std::string& strWarning : pdf.warnings)
        LogWarning(strWarning);
    return PdfSwitches(pdf.settings);
}

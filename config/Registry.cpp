#include "config/Registry.h"

#include "config/RegistryReportWin.h"
#include "framework/Handle.h"
#include "res/resource.h"

#include <climits>
#include <new>

int ReadRegistryValue(HKEY hRoot, const char* pszValueName, const char* pszKeyPath,
                      ValueBlock& block, bool bSilent) {
    block.reset();

    RegistryKey key;
    LONG nError = RegOpenKeyExA(hRoot, pszKeyPath, 0, KEY_QUERY_VALUE, key.Receive());
    if (nError != ERROR_SUCCESS) {
        if (!bSilent)
            ReportRegistryError(IDS_REG_OPEN, nError, hRoot, pszKeyPath, nullptr);
        return -1;
    }

    DWORD cbData = 0;
    nError = RegQueryValueExA(key.Get(), pszValueName, nullptr, nullptr, nullptr, &cbData);
    if (nError != ERROR_SUCCESS) {
        if (!bSilent)
            ReportRegistryError(IDS_REG_SIZE, nError, hRoot, pszKeyPath, pszValueName);
        return -1;
    }

    // The count must fit the int result. A block that cannot be had is a failed read,
    // reported like a failed data query, and nothing is written.
    if (cbData < static_cast<DWORD>(INT_MAX))
        block.reset(new (std::nothrow) char[static_cast<size_t>(cbData) + 1]());
    if (!block) {
        key.Close();
        if (!bSilent)
            ReportRegistryError(IDS_REG_QUERY, ERROR_NOT_ENOUGH_MEMORY, hRoot, pszKeyPath,
                                pszValueName);
        return -1;
    }

    nError = RegQueryValueExA(key.Get(), pszValueName, nullptr, nullptr,
                              reinterpret_cast<BYTE*>(block.get()), &cbData);
    key.Close();
    if (nError != ERROR_SUCCESS) {
        if (!bSilent)
            ReportRegistryError(IDS_REG_QUERY, nError, hRoot, pszKeyPath, pszValueName);
        block.reset();
        return -1;
    }
    return static_cast<int>(cbData);
}

uint32_t ReadRegistryDword(HKEY hRoot, const char* pszValueName, const char* pszKeyPath,
                           bool bSilent) {
    ValueBlock block;
    int nSize = ReadRegistryValue(hRoot, pszValueName, pszKeyPath, block, bSilent);
    if (nSize < 0)
        return 0;
    // The block holds only N + 1 bytes; data bytes beyond N count as zero.
    uint32_t dwValue = 0;
    for (int i = 0; i < 4 && i < nSize; ++i)
        dwValue |= static_cast<uint32_t>(static_cast<unsigned char>(block[i])) << (8 * i);
    return dwValue;
}

std::string ReadRegistryString(HKEY hRoot, const char* pszValueName, const char* pszKeyPath,
                               bool bSilent) {
    ValueBlock block;
    if (ReadRegistryValue(hRoot, pszValueName, pszKeyPath, block, bSilent) < 0)
        return std::string();
    return std::string(block.get());
}

int WriteRegistryValue(HKEY hRoot, const char* pszValueName, const char* pszKeyPath,
                       const void* pData, DWORD dwType, DWORD cbData, bool bSilent) {
    RegistryKey key;
    DWORD dwDisposition = 0;
    char szClass[] = "";
    LONG nError = RegCreateKeyExA(hRoot, pszKeyPath, 0, szClass, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE, nullptr, key.Receive(), &dwDisposition);
    if (nError != ERROR_SUCCESS) {
        if (!bSilent)
            ReportRegistryError(IDS_REG_CREATE, nError, hRoot, pszKeyPath, nullptr);
        return -1;
    }

    nError =
        RegSetValueExA(key.Get(), pszValueName, 0, dwType, static_cast<const BYTE*>(pData), cbData);
    key.Close();
    if (nError != ERROR_SUCCESS) {
        if (!bSilent)
            ReportRegistryError(IDS_REG_WRITE, nError, hRoot, pszKeyPath, pszValueName);
        return -1;
    }
    return 0;
}

int WriteRegistryDword(HKEY hRoot, const char* pszValueName, const char* pszKeyPath,
                       uint32_t dwValue, bool bSilent) {
    const BYTE data[4] = {static_cast<BYTE>(dwValue), static_cast<BYTE>(dwValue >> 8),
                          static_cast<BYTE>(dwValue >> 16), static_cast<BYTE>(dwValue >> 24)};
    return WriteRegistryValue(hRoot, pszValueName, pszKeyPath, data, REG_DWORD, sizeof data,
                              bSilent);
}

bool RegistryKeyExists(const char* pszKeyPath) {
    RegistryKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKeyPath, 0, KEY_READ, key.Receive()) ==
           ERROR_SUCCESS;
}

// Single registry values by root, value name and key path; failures are reported (unless
// silent) through ReportRegistryError.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

// A value's bytes with a zero byte appended; owned by whoever holds it.
using ValueBlock = std::unique_ptr<char[]>;

// Reads the raw bytes of a value of any type. Returns the byte count N (block of N + 1
// bytes, zero-filled beyond the data) or -1 with no block.
[[nodiscard]] int ReadRegistryValue(HKEY hRoot, const char* pszValueName, const char* pszKeyPath,
                                    ValueBlock& block, bool bSilent);

// The first four data bytes, little-endian (missing bytes count as zero); 0 on failure.
[[nodiscard]] uint32_t ReadRegistryDword(HKEY hRoot, const char* pszValueName,
                                         const char* pszKeyPath, bool bSilent);

// The data up to its first zero byte; empty on failure.
[[nodiscard]] std::string ReadRegistryString(HKEY hRoot, const char* pszValueName,
                                             const char* pszKeyPath, bool bSilent);

// Creates the whole key path as needed. 0 on success, -1 on failure.
[[nodiscard]] int WriteRegistryValue(HKEY hRoot, const char* pszValueName, const char* pszKeyPath,
                                     const void* pData, DWORD dwType, DWORD cbData, bool bSilent);
[[nodiscard]] int WriteRegistryDword(HKEY hRoot, const char* pszValueName, const char* pszKeyPath,
                                     uint32_t dwValue, bool bSilent);

// True when the key opens for reading under HKEY_LOCAL_MACHINE; never reports.
[[nodiscard]] bool RegistryKeyExists(const char* pszKeyPath);

#include "config/RegistryReport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* pszRootName;
    const char* pszKeyPath;
    const char* pszValueName;
    std::string strExpected;
};

const Case kCases[] = {
    // A named root with key and value: every part joined by one backslash.
    {"HKEY_LOCAL_MACHINE", "SOFTWARE\\VeltraneSystems\\Quillon\\Configuration", "SaveRequest",
     "HKEY_LOCAL_MACHINE\\SOFTWARE\\VeltraneSystems\\Quillon\\Configuration\\SaveRequest"},
    // A failed key open names the key only.
    {"HKEY_LOCAL_MACHINE", "SOFTWARE\\VeltraneSystems\\Quillon\\Configuration", nullptr,
     "HKEY_LOCAL_MACHINE\\SOFTWARE\\VeltraneSystems\\Quillon\\Configuration"},
    {"HKEY_CURRENT_USER", "Software\\A", "B", "HKEY_CURRENT_USER\\Software\\A\\B"},
    // A root without a name: the text begins directly with the key path.
    {"", "SOFTWARE\\A", "B", "SOFTWARE\\A\\B"},
    {nullptr, "SOFTWARE\\A", "B", "SOFTWARE\\A\\B"},
    {"", "SOFTWARE\\A", nullptr, "SOFTWARE\\A"},
    // No key path: the value name follows the root, or stands alone.
    {"HKEY_LOCAL_MACHINE", nullptr, "V", "HKEY_LOCAL_MACHINE\\V"},
    {"", nullptr, "V", "V"},
    {"HKEY_CURRENT_USER", nullptr, nullptr, "HKEY_CURRENT_USER"},
    {"", nullptr, nullptr, ""},
    // Empty parts are left out, so no two backslashes ever stand together.
    {"", "", "V", "V"},
    {"HKEY_LOCAL_MACHINE", "", "V", "HKEY_LOCAL_MACHINE\\V"},
    {"HKEY_LOCAL_MACHINE", "K", "", "HKEY_LOCAL_MACHINE\\K"},
};

TEST(RegistryPathTextTest, JoinsPartsWithSingleBackslashes) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.pszRootName ? c.pszRootName : "(null)") + " | " +
                     (c.pszKeyPath ? c.pszKeyPath : "(null)") + " | " +
                     (c.pszValueName ? c.pszValueName : "(null)"));
        EXPECT_EQ(c.strExpected, RegistryPathText(c.pszRootName, c.pszKeyPath, c.pszValueName));
    }
}

} // namespace

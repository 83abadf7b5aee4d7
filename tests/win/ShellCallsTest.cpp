// The shell, help and applet hooks themselves: scopes nest and put back what they replaced.
#include "ui/ShellCalls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ShellCalls, ScopesNestAndRestoreTheRealCall) {
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(hKernel, nullptr);
    std::vector<std::string> outerNames, innerNames;
    {
        ScopedLoadAppletLibrary outer([&](const char* pszName) {
            outerNames.push_back(pszName);
            return static_cast<HMODULE>(nullptr);
        });
        {
            ScopedLoadAppletLibrary inner([&](const char* pszName) {
                innerNames.push_back(pszName);
                return hKernel;
            });
            EXPECT_EQ(LoadAppletLibrary("Quillon.cpl"), hKernel);
        }
        EXPECT_EQ(LoadAppletLibrary("Other.cpl"), nullptr);
    }
    EXPECT_EQ(outerNames, std::vector<std::string>{"Other.cpl"});
    EXPECT_EQ(innerNames, std::vector<std::string>{"Quillon.cpl"});
    // The real LoadLibraryA again: it finds the loaded module.
    HMODULE hLoaded = LoadAppletLibrary("kernel32.dll");
    EXPECT_EQ(hLoaded, hKernel);
    if (hLoaded)
        FreeLibrary(hLoaded);
}

} // namespace

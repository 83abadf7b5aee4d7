// The printer product's registry changes on disk at once: the Wine server writes the
// machine's hive to the prefix's system.reg when asked, not half a minute later.
#include "RegistryTestUtil.h"

#include "printer/common/RegistryOnDisk.h"

#include <gtest/gtest.h>

#include <string>

using namespace regtest;

namespace {

const char kProbeKey[] = "SOFTWARE\\PsZuPdfTestOnDisk";

// The prefix's system.reg as it is on disk now.
std::string MachineHiveFile() {
    wchar_t szPrefix[1024] = L"";
    const DWORD cch = GetEnvironmentVariableW(L"WINECONFIGDIR", szPrefix, 1024);
    std::wstring strPath(szPrefix, cch);
    if (strPath.rfind(L"\\??\\", 0) == 0)
        strPath = L"\\\\?\\" + strPath.substr(4);
    strPath += L"\\system.reg";
    UniqueHandle file(CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    std::string strText;
    char buffer[65536];
    DWORD cbRead = 0;
    while (file.IsValid() && ReadFile(file.Get(), buffer, sizeof buffer, &cbRead, nullptr) &&
           cbRead > 0)
        strText.append(buffer, cbRead);
    return strText;
}

TEST(RegistryOnDiskTest, WritesTheMachinesHiveNotWhatTheProcessCallsSo) {
    ASSERT_NE(GetEnvironmentVariableW(L"WINECONFIGDIR", nullptr, 0), 0u) << "not under Wine";
    // A value no earlier save can have written.
    const std::string strProbe = "Probe " + std::to_string(GetTickCount());
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kProbeKey, "Probe", strProbe));
    LONG nError = ERROR_SUCCESS;
    {
        // The applet runs in the converter, whose tests put a key of their own in place of
        // HKEY_LOCAL_MACHINE: still the machine's hive must go to disk.
        ScratchLocalMachine scratch;
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kProbeKey, "Probe", "scratch"));
        nError = WriteMachineRegistryToDisk();
    }
    const std::string strFile = MachineHiveFile();
    DeleteTree(HKEY_LOCAL_MACHINE, kProbeKey);

    EXPECT_EQ(ERROR_SUCCESS, nError);
    EXPECT_EQ(0u, strFile.rfind("WINE REGISTRY Version 2\n;; All keys relative to "
                                "REGISTRY\\\\Machine\n",
                                0));
    EXPECT_NE(std::string::npos, strFile.find("[Software\\\\PsZuPdfTestOnDisk]"))
        << "the probe's key is not there";
    EXPECT_NE(std::string::npos, strFile.find("\"Probe\"=\"" + strProbe + "\"\n"));
    // The key made to have the server save again is gone.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VeltraneQuillonSaving"));
}

} // namespace

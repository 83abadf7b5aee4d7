// QuillonSetup.dll: the custom action that the package runs after it has written its own
// registry values, to seed the printer product's registry tree (FreshDefaults.h). It is
// run deferred, as the installing service, so it may write to HKEY_LOCAL_MACHINE.
#include "printer/setup/FreshDefaults.h"

#include "printer/common/RegistryOnDisk.h"

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>

namespace {

// Puts one line into the installation's log (msiexec /l*v).
void LogLine(MSIHANDLE hInstall, const std::string& strLine) {
    MSIHANDLE hRecord = MsiCreateRecord(1);
    if (hRecord == 0)
        return;
    MsiRecordSetStringA(hRecord, 0, strLine.c_str());
    MsiProcessMessage(hInstall, INSTALLMESSAGE_INFO, hRecord);
    MsiCloseHandle(hRecord);
}

std::string SystemText(LONG nError) {
    char szText[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(nError), 0, szText, sizeof szText, nullptr);
    return szText;
}

} // namespace

// A failure makes the installation fail and roll back, with the value and the reason in
// the log: a product whose registry tree is incomplete reports errors at every start.
extern "C" __declspec(dllexport) UINT __stdcall SeedDefaults(MSIHANDLE hInstall) {
    SeedFailure failure;
    int nWritten = 0;
    if (!SeedFreshDefaults(failure, nWritten)) {
        LogLine(hInstall, "Veltrane Quillon: Grundeinstellungen nicht angelegt, " +
                              failure.strWhere + ": " + SystemText(failure.nError));
        return ERROR_INSTALL_FAILURE;
    }
    // The values are in the registry either way; at worst the printer side sees them
    // when Wine next writes its files.
    if (LONG nError = WriteMachineRegistryToDisk(); nError != ERROR_SUCCESS)
        LogLine(hInstall,
                "Veltrane Quillon: Registrierung nicht sofort gespeichert: " + SystemText(nError));
    return ERROR_SUCCESS;
}

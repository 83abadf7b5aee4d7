// QuillonSetup.dll: the custom action that the package runs after it has written its own
// registry values, to seed the printer product's registry tree (FreshDefaults.h). It is
// run deferred, as the installing service, so it may write to HKEY_LOCAL_MACHINE.
#include "printer/setup/FreshDefaults.h"

#include "printer/common/RegistryOnDisk.h"
#include "printer/common/SystemText.h"

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>

namespace {

// A record of the installer's, closed on every way out.
class MsiRecord {
public:
    explicit MsiRecord(MSIHANDLE hRecord) : m_hRecord(hRecord) {}
    ~MsiRecord() {
        if (m_hRecord != 0)
            MsiCloseHandle(m_hRecord);
    }
    MsiRecord(const MsiRecord&) = delete;
    MsiRecord& operator=(const MsiRecord&) = delete;
    MSIHANDLE Get() const { return m_hRecord; }

private:
    MSIHANDLE m_hRecord;
};

// Puts one line into the installation's log (msiexec /l*v).
void LogLine(MSIHANDLE hInstall, const std::string& strLine) {
    const MsiRecord record(MsiCreateRecord(1));
    if (record.Get() == 0)
        return;
    MsiRecordSetStringA(record.Get(), 0, strLine.c_str());
    MsiProcessMessage(hInstall, INSTALLMESSAGE_INFO, record.Get());
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

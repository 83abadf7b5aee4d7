#include "printer/common/RegistryOnDisk.h"

#include "printer/common/RegKey.h"

#include <winternl.h>

#include <string>

// ntdll has it; the headers of mingw-w64 do not declare it.
extern "C" NTSTATUS NTAPI NtOpenKey(PHANDLE phKey, ACCESS_MASK access,
                                    POBJECT_ATTRIBUTES pAttributes);

namespace {

// The machine's hive itself. HKEY_LOCAL_MACHINE will not do: a process may have put
// another key in its place (RegOverridePredefKey, as the tests do), and the hive written to
// system.reg must be the machine's, whatever this process calls HKEY_LOCAL_MACHINE.
LONG OpenMachineHive(RegKey& machine) {
    wchar_t szName[] = L"\\Registry\\Machine";
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, szName);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    HANDLE hKey = nullptr;
    const NTSTATUS nStatus = NtOpenKey(&hKey, KEY_READ | KEY_CREATE_SUB_KEY, &attributes);
    if (nStatus != 0)
        return static_cast<LONG>(RtlNtStatusToDosError(nStatus));
    machine.Adopt(static_cast<HKEY>(hKey));
    return ERROR_SUCCESS;
}

std::wstring EnvironmentVariable(const wchar_t* pszName) {
    DWORD cch = GetEnvironmentVariableW(pszName, nullptr, 0);
    if (cch == 0)
        return std::wstring();
    std::wstring strValue(cch, L'\0');
    cch = GetEnvironmentVariableW(pszName, &strValue[0], cch);
    strValue.resize(cch);
    return strValue;
}

// RegSaveKey needs the backup privilege. It is enabled for this thread alone, through an
// impersonation token of the thread's own, so the process that hosts the applet keeps its
// privileges as they were.
LONG SaveWithBackupPrivilege(HKEY hKey, const std::wstring& strFile) {
    if (!ImpersonateSelf(SecurityImpersonation))
        return static_cast<LONG>(GetLastError());
    LONG nError = ERROR_SUCCESS;
    HANDLE hToken = nullptr;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_ADJUST_PRIVILEGES, TRUE, &hToken) ||
        !LookupPrivilegeValueW(nullptr, L"SeBackupPrivilege", &privileges.Privileges[0].Luid) ||
        !AdjustTokenPrivileges(hToken, FALSE, &privileges, 0, nullptr, nullptr) ||
        GetLastError() == ERROR_NOT_ALL_ASSIGNED)
        nError = static_cast<LONG>(GetLastError());
    else
        nError = RegSaveKeyW(hKey, strFile.c_str(), nullptr);
    if (hToken != nullptr)
        CloseHandle(hToken);
    RevertToSelf();
    return nError;
}

} // namespace

LONG WriteMachineRegistryToDisk() {
    // Wine names the prefix in this variable, as an NT path ("\??\Z:\home\...").
    std::wstring strPrefix = EnvironmentVariable(L"WINECONFIGDIR");
    if (strPrefix.empty())
        return ERROR_SUCCESS;
    if (strPrefix.rfind(L"\\??\\", 0) == 0)
        strPrefix = L"\\\\?\\" + strPrefix.substr(4);
    RegKey machine;
    LONG nError = OpenMachineHive(machine);
    if (nError != ERROR_SUCCESS)
        return nError;
    // Wine's RegSaveKey has the server write the whole hive, in the format of its own
    // saves, to a new file beside the target and then renames it over the target: the
    // printer side reads either the old file or the new one, never half of one.
    nError = SaveWithBackupPrivilege(machine.Get(), strPrefix + L"\\system.reg");
    if (nError != ERROR_SUCCESS)
        return nError;
    // Should the server's own save have run between writing that file and the rename,
    // the file may miss a change another program made meanwhile, and the server, which
    // thinks it saved, would not save again. A key made and removed marks the hive
    // changed, so the server's next save writes it whole once more.
    const char kScratch[] = "SOFTWARE\\VeltraneQuillonSaving";
    RegKey scratch;
    nError = scratch.Create(machine.Get(), kScratch, KEY_QUERY_VALUE);
    scratch.Close();
    if (nError == ERROR_SUCCESS)
        nError = RegDeleteKeyA(machine.Get(), kScratch);
    return nError;
}

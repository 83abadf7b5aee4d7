#include "ui/Help.h"

#include "config/Registry.h"
#include "config/RegistryPaths.h"
#include "framework/WinApp.h"
#include "ui/ShellCalls.h"

#include <cstdio>

void ShowHelp(ULONG_PTR dwData, UINT uCommand) {
    ValueBlock install;
    if (ReadRegistryValue(HKEY_LOCAL_MACHINE, "Install", CONFIGURATION_KEY, install, false) <= 0)
        return;
    char szPath[512];
    int nLength = snprintf(szPath, sizeof szPath, "%s\\Quillon.hlp", install.get());
    install.reset();
    // A path cut to fit the buffer would name another file; no help is better.
    if (nLength < 0 || static_cast<size_t>(nLength) >= sizeof szPath)
        return;
    CWnd* pMainWnd = AfxGetMainWnd();
    CallWinHelp(pMainWnd ? pMainWnd->m_hWnd : nullptr, szPath, uCommand, dwData);
}

void OnHelpCommand() {
    DWORD dwContextId = GetWindowContextHelpId(GetActiveWindow());
    if (dwContextId == 0)
        dwContextId = 1;
    ShowHelp(dwContextId, HELP_CONTEXT);
}

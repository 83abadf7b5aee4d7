// The control-panel entry point of Quillon.cpl: one applet, which opens the
// configurations dialog when it is started.
#include "AppletResource.h"
#include "ConfigurationsDialog.h"

#include <windows.h>
#include <cpl.h>

namespace {

HINSTANCE g_hAppletInstance = nullptr;

void DescribeApplet(CPLINFO& info) {
    info.idIcon = IDI_APPLET;
    info.idName = IDS_APPLET_NAME;
    info.idInfo = IDS_APPLET_INFO;
    info.lData = 0;
}

// Only the ANSI form is filled, as its dwSize says; a caller that wants the wide one
// falls back to CPL_INQUIRE.
void DescribeApplet(NEWCPLINFOA& info) {
    ZeroMemory(&info, sizeof info);
    info.dwSize = sizeof info;
    info.hIcon = LoadIconA(g_hAppletInstance, MAKEINTRESOURCEA(IDI_APPLET));
    LoadStringA(g_hAppletInstance, IDS_APPLET_NAME, info.szName, sizeof info.szName);
    LoadStringA(g_hAppletInstance, IDS_APPLET_INFO, info.szInfo, sizeof info.szInfo);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_hAppletInstance = hInstance;
        DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) LONG CALLBACK
    CPlApplet(HWND hwndCPl, UINT uMsg, LPARAM lParam1, LPARAM lParam2) {
    switch (uMsg) {
    case CPL_INIT:
        return TRUE;
    case CPL_GETCOUNT:
        return 1;
    case CPL_INQUIRE:
        if (lParam1 != 0 || lParam2 == 0)
            return 1;
        DescribeApplet(*reinterpret_cast<CPLINFO*>(lParam2));
        return 0;
    case CPL_NEWINQUIRE:
        if (lParam1 != 0 || lParam2 == 0)
            return 1;
        DescribeApplet(*reinterpret_cast<NEWCPLINFOA*>(lParam2));
        return 0;
    case CPL_DBLCLK: {
        // Returns only when the user has closed the dialog: the caller lists the
        // configurations again right afterwards.
        if (lParam1 != 0)
            return 1;
        ConfigurationsDialog dialog(g_hAppletInstance);
        return dialog.DoModal(hwndCPl) == -1 ? 1 : 0;
    }
    case CPL_SELECT:
    case CPL_STOP:
    case CPL_EXIT:
        return 0;
    default:
        // CPL_STARTWPARMS and anything newer: not handled, so a control panel falls back
        // to CPL_DBLCLK.
        return 0;
    }
}

#include "ui/AboutDialog.h"

#include "config/Registry.h"
#include "config/RegistryPaths.h"
#include "framework/MessageMap.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "ui/LocalisedTextWin.h"

#include <cstdio>

AboutDialog::AboutDialog(HWND hParentWnd) : CDialog(IDD_ABOUT, hParentWnd) {}

bool AboutDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    static const MessageMapEntry<AboutDialog> kMap[] = {
        {WM_SETCURSOR, &AboutDialog::OnSetCursor},
    };
    return DispatchMessageMap(this, kMap, message, wParam, lParam, lResult) ||
           CDialog::OnWndMsg(message, wParam, lParam, lResult);
}

void AboutDialog::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    dx.Check(IDC_DEBUG_MODE, m_bDebugMode);
}

BOOL AboutDialog::OnInitDialog() {
    m_bDebugMode = ReadRegistryDword(HKEY_LOCAL_MACHINE, "Reporting", CONFIGURATION_KEY, false) & 1;
    CDialog::OnInitDialog();
    SetWindowContextHelpId(m_hWnd, 46);
    m_hLinkCursor = LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_LINKHAND));
    m_link.SubclassDlgItem(IDC_WEB_LINK, *this);

    ExpandWindowText(m_hWnd);
    ExpandWindowText(GetDlgItem(IDC_VERSION_LINE));
    ExpandWindowText(GetDlgItem(IDC_SUPPORT_NOTE));
    ExpandWindowText(GetDlgItem(IDC_DEBUG_MODE));

    SetDlgItemText(IDC_WEB_LINK, kMakerWebAddress);

    // Loaded texts live in rotating slots: the first is copied before the next load.
    std::string strWarning = LoadExpandedString(IDS_LEGAL_WARNING_1);
    strWarning += LoadExpandedString(IDS_LEGAL_WARNING_2);
    SetDlgItemText(IDC_LEGAL_WARNING, strWarning);

    std::string strVersion = VersionLine();
    if (!strVersion.empty())
        SetDlgItemText(IDC_VERSION_LINE, strVersion);
    return TRUE;
}

// "<product> V.2.00 (<BuildTime>)  Kernel-Version <KernelBuild>"; the build time only
// when it is not 0, the kernel build empty when missing.
std::string AboutDialog::VersionLine() const {
    std::string strLine = LoadExpandedString(IDS_VERSION_PREFIX);
    strLine += kProgramVersion;
    uint32_t dwBuildTime = ReadRegistryDword(HKEY_LOCAL_MACHINE, "BuildTime", DEBUG_KEY, true);
    if (dwBuildTime != 0) {
        char szBuildTime[32];
        snprintf(szBuildTime, sizeof szBuildTime, " (%lu)",
                 static_cast<unsigned long>(dwBuildTime));
        strLine += szBuildTime;
    }
    strLine += LoadExpandedString(IDS_KERNEL_VERSION);
    strLine += ReadRegistryString(HKEY_LOCAL_MACHINE, "KernelBuild", DEBUG_KEY, true);
    return strLine;
}

void AboutDialog::OnOK() {
    if (!UpdateData(true))
        return;
    uint32_t dwReporting =
        ReadRegistryDword(HKEY_LOCAL_MACHINE, "Reporting", CONFIGURATION_KEY, true);
    if (m_bDebugMode)
        dwReporting |= 1;
    else
        dwReporting &= ~uint32_t{1};
    // The debugging mode is written silently: the box closes whether or not it was stored.
    (void)WriteRegistryDword(HKEY_LOCAL_MACHINE, "Reporting", CONFIGURATION_KEY, dwReporting, true);
    EndDialog(IDOK);
}

BOOL AboutDialog::OnSetCursor(HWND hWnd, UINT, UINT) {
    if (hWnd && hWnd == GetDlgItem(IDC_WEB_LINK) && m_hLinkCursor) {
        SetCursor(m_hLinkCursor);
        return TRUE;
    }
    return FALSE;
}

void OnAppAbout() {
    AboutDialog dlg;
    dlg.DoModal();
}

#include "config/ConfigureDialog.h"

#include "app/ConverterApp.h"
#include "config/Registry.h"
#include "config/RegistryPaths.h"
#include "framework/Handle.h"
#include "framework/MessageMap.h"
#include "res/resource.h"
#include "ui/LocalisedTextWin.h"
#include "ui/ShellCalls.h"

#include <cpl.h>

namespace {

// The help topic of this dialog.
constexpr DWORD kConfigureHelpContext = 47;

// Subkey names of up to 255 characters fit, with the terminator.
constexpr DWORD kNameBufferSize = 256;

} // namespace

ConfigureDialog::ConfigureDialog(HWND hParentWnd) : CDialog(IDD_CONFIGURE, hParentWnd) {}

bool ConfigureDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    static const MessageMapEntry<ConfigureDialog> kMap[] = {
        {WM_COMMAND, &ConfigureDialog::OnEditConfigurations, IDC_EDIT_CONFIGURATIONS, BN_CLICKED},
    };
    return DispatchMessageMap(this, kMap, message, wParam, lParam, lResult) ||
           CDialog::OnWndMsg(message, wParam, lParam, lResult);
}

void ConfigureDialog::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    dx.Control(IDC_CONFIGURATIONS, m_configurations);
    dx.Radio(IDC_PROMPT_ALWAYS, m_nPromptChoice);
}

BOOL ConfigureDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowContextHelpId(m_hWnd, kConfigureHelpContext);
    FillConfigurationList(m_configurations.m_hWnd, GetConverterApp().m_strActiveConfiguration);
    ExpandWindowText(m_hWnd);
    ExpandWindowText(GetDlgItem(IDC_CONFIGURE_INTRO));
    return TRUE;
}

void ConfigureDialog::OnOK() {
    int nSelection = m_configurations.GetCurSel();
    GetConverterApp().m_strActiveConfiguration =
        nSelection == CB_ERR ? std::string() : m_configurations.GetLBText(nSelection);
    CDialog::OnOK();
}

void ConfigureDialog::OnEditConfigurations() {
    LoadedLibrary applet(LoadAppletLibrary("Quillon.cpl"));
    if (applet.Get() == nullptr)
        return;
    // Through void*: GetProcAddress's FARPROC and the entry point's type differ.
    auto pfnApplet = reinterpret_cast<APPLET_PROC>(
        reinterpret_cast<void*>(GetProcAddress(applet.Get(), "CPlApplet")));
    if (pfnApplet == nullptr)
        return;

    // The applet's answers do not matter: its window is shown either way.
    pfnApplet(m_hWnd, CPL_INIT, 0, 0);
    // Returns only when the user has finished editing in the applet's window.
    pfnApplet(m_hWnd, CPL_DBLCLK, 0, 0);
    pfnApplet(m_hWnd, CPL_EXIT, 0, 0);

    std::string strActive =
        ReadRegistryString(HKEY_LOCAL_MACHINE, "ActiveConfiguration", CONFIGURATIONS_KEY, true);
    FillConfigurationList(m_configurations.m_hWnd, strActive);
}

void FillConfigurationList(HWND hCombo, const std::string& strPreferred) {
    SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);

    RegistryKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CONFIGURATIONS_KEY, 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS)
        return;

    // The list is not sorted, so an entry's index is its place in the enumeration.
    LRESULT nSelection = -1;
    char szName[kNameBufferSize];
    for (DWORD dwIndex = 0;; ++dwIndex) {
        DWORD cchName = kNameBufferSize;
        if (RegEnumKeyExA(key.Get(), dwIndex, szName, &cchName, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        std::string strName(szName, cchName);
        if (!strPreferred.empty() && strName == strPreferred)
            nSelection = static_cast<LRESULT>(dwIndex);
        SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strName.c_str()));
    }
    key.Close();

    if (nSelection == -1)
        nSelection = 0;
    SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nSelection), 0);
}

void OnConfigure() {
    ConverterApp& app = GetConverterApp();
    ConfigureDialog dialog;
    dialog.m_nPromptChoice = app.SaveRequest.Get();
    if (dialog.DoModal() != IDOK)
        return;
    app.SaveRequest.Set(dialog.m_nPromptChoice);
    // -1 (no button checked) is stored as 4294967295. A failed write has been reported by
    // the registry layer; the choice still holds for the rest of the run.
    (void)WriteRegistryDword(app.m_hSettingsRoot, "SaveRequest", CONFIGURATION_KEY,
                             static_cast<uint32_t>(dialog.m_nPromptChoice), false);
}

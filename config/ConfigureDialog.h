// ConfigureDialog: picks the configuration used for the rest of the run and the
// destination prompt, and starts the printer product's applet to edit the configurations.
#pragma once

#include "framework/Dialog.h"
#include "framework/Static.h"

#include <string>

class ConfigureDialog : public CDialog {
public:
    // Without a parent the main window owns the dialog.
    explicit ConfigureDialog(HWND hParentWnd = nullptr);
    ~ConfigureDialog() override = default;

    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

    // The checked button of the destination group: 0 always ask (1012), 1 never ask
    // (1013), -1 none.
    int m_nPromptChoice = -1;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    // Takes the selected entry as the configuration in use, then stores the prompt choice.
    void OnOK() override;

private:
    // Called when "Konfigurationen bearbeiten..." is clicked: runs the applet, then lists
    // the configurations afresh with the one it made active selected.
    void OnEditConfigurations();

    CComboBox m_configurations;
};

// Lists the subkeys of the Configurations key in the combo box, in registry order, and
// selects the one named exactly strPreferred, or else the first. A missing key leaves the
// list empty; a name too long for 255 characters ends the list.
void FillConfigurationList(HWND hCombo, const std::string& strPreferred);

// The command "&Einstellungen" > "&Konfigurieren...": runs the dialog and, after OK,
// keeps and stores the prompt choice as SaveRequest.
void OnConfigure();

// ConfigurationsDialog: the applet's window. It lists the configurations, creates,
// deletes and activates them at once, and edits the output and PDF settings of each,
// which are saved with OK and dropped with Abbrechen.
#pragma once

#include "ConfigurationStore.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

class ConfigurationsDialog {
public:
    explicit ConfigurationsDialog(HINSTANCE hInstance) : m_hInstance(hInstance) {}
    ConfigurationsDialog(const ConfigurationsDialog&) = delete;
    ConfigurationsDialog& operator=(const ConfigurationsDialog&) = delete;

    // Runs the dialog modally with the given owner; IDOK, IDCANCEL, or -1 when the
    // dialog could not be created.
    INT_PTR DoModal(HWND hwndOwner);

private:
    // The dialog's choices for one configuration, and what the registry held when the
    // configuration was first shown, so OK writes only what the user changed.
    struct Choices {
        EditableValues original;
        bool bUseOutputPath = false;
        bool bOverwrite = false;
        std::string strOutputPath;
        // What the PDF controls show, by control id: the fields' texts, the lists' choices.
        std::map<int, std::string> pdfTexts;
        std::map<int, int> pdfChoices;
    };

    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int nID, int nCode);
    // Called when the user selects another configuration in the list.
    void OnSelectionChange();
    // Called by "&Anlegen" (or Enter in the name field).
    void OnCreate();
    // Called by "&Löschen...".
    void OnDelete();
    // Called by "Als &aktiv festlegen".
    void OnActivate();
    // Called when "Ausgabedateien in folgenden Ordner schreiben" is clicked.
    void OnUseOutputPathClicked();
    void OnOK();

    // The PDF settings the controls of a configuration give, or false when one of them
    // does not hold an allowed value: the message is shown and the control focused.
    bool PdfFromChoices(const std::string& strName, const Choices& choices, PdfSettings& pdf);
    // Has Wine write the changes to disk at once, for the printer side.
    void WriteToDisk() const;

    void Reload(const std::string& strSelect);
    void Select(int nIndex);
    void StashShown();
    void ShowSelected();
    void EnableControls();
    int SelectedIndex() const;
    int ActiveIndex() const;
    std::string ItemText(int nID) const;
    std::string LoadText(UINT nID) const;
    int ShowMessage(const std::string& strText, UINT uType) const;
    void ShowFailure(UINT nTemplate, const std::string& strName, LONG nError) const;

    HINSTANCE m_hInstance;
    HWND m_hDlg = nullptr;
    std::vector<std::string> m_names;
    std::string m_strActive;
    std::string m_strShown;
    bool m_bShowing = false;
    std::map<std::string, Choices> m_choices;
};

// AboutDialog: the About box with version line, legal warning, web link and the
// debugging-mode check box.
#pragma once

#include "framework/Dialog.h"
#include "ui/StaticLink.h"

#include <string>

// The program's version as the About box shows it.
constexpr char kProgramVersion[] = "2.00";
// The maker's web address, the About box's link.
constexpr char kMakerWebAddress[] = "www.veltrane.example";

class AboutDialog : public CDialog {
public:
    explicit AboutDialog(HWND hParentWnd = nullptr);

    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

    int m_bDebugMode = 0; // check box 1124: bit 0 of Reporting
    StaticLink m_link;
    HCURSOR m_hLinkCursor = nullptr;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    // Stores the debugging mode in bit 0 of Reporting and closes the box.
    void OnOK() override;

private:
    // Called for WM_SETCURSOR: the pointing hand over the link. FALSE: default handling.
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    std::string VersionLine() const;
};

// The About command (menu and system menu): the box, modal and without parent.
void OnAppAbout();

// The About box run modally for real with a scenario that works it from inside its own
// modal loop.
#pragma once

#include "res/resource.h"
#include "ui/AboutDialog.h"

#include <functional>
#include <utility>

constexpr UINT WM_RUN_SCENARIO = WM_APP + 7;

// Runs a scenario from inside the box's own modal loop, right after its initialisation.
class DrivenAboutDialog : public AboutDialog {
public:
    explicit DrivenAboutDialog(std::function<void(DrivenAboutDialog&)> scenario)
        : m_scenario(std::move(scenario)) {}

    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        if (message == WM_RUN_SCENARIO) {
            m_scenario(*this);
            return true;
        }
        return AboutDialog::OnWndMsg(message, wParam, lParam, lResult);
    }

    HWND Item(int nID) const { return GetDlgItem(nID); }
    bool IsTicked() const {
        return SendMessageA(GetDlgItem(IDC_DEBUG_MODE), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void ClickOK() { SendMessageA(GetDlgItem(IDOK), BM_CLICK, 0, 0); }
    void PressEscape() { PostMessageA(GetDlgItem(IDC_DEBUG_MODE), WM_KEYDOWN, VK_ESCAPE, 0); }

protected:
    BOOL OnInitDialog() override {
        BOOL bResult = AboutDialog::OnInitDialog();
        PostMessageA(m_hWnd, WM_RUN_SCENARIO, 0, 0);
        return bResult;
    }

private:
    std::function<void(DrivenAboutDialog&)> m_scenario;
};

inline INT_PTR RunAbout(std::function<void(DrivenAboutDialog&)> scenario) {
    DrivenAboutDialog dlg(std::move(scenario));
    return dlg.DoModal();
}

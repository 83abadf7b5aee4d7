// The framework stand-in driven for real: modal dialogs from templates, message maps,
// data exchange, reflection to controls, command routing to the application and F1.
#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "framework/Static.h"
#include "framework/WinApp.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr UINT WM_RUN_SCENARIO = WM_APP + 1;

// Records the commands the dialogs route to it.
class RecordingApp : public CWinApp {
public:
    bool OnCmdMsg(UINT nID) override {
        static const CommandEntry<RecordingApp> kCommands[] = {
            {IDM_CONFIGURE, &RecordingApp::OnConfigure},
            {ID_HELP, &CWinApp::OnHelp},
        };
        m_commands.push_back(nID);
        return DispatchCommand(this, kCommands, nID);
    }
    void OnConfigure() { ++m_nConfigureCalls; }

    std::vector<UINT> m_commands;
    int m_nConfigureCalls = 0;
};

// A static control that takes the colouring and clicks its parent reflects to it.
class ReflectingStatic : public CStatic {
public:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        static const MessageMapEntry<ReflectingStatic> kMap[] = {
            {WM_REFLECT_CTLCOLOR, &ReflectingStatic::CtlColor},
            {WM_REFLECT_COMMAND, &ReflectingStatic::OnClicked, 0, STN_CLICKED},
        };
        return DispatchMessageMap(this, kMap, message, wParam, lParam, lResult) ||
               CStatic::OnWndMsg(message, wParam, lParam, lResult);
    }
    HBRUSH CtlColor(HDC) {
        ++m_nColourings;
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    void OnClicked() { ++m_nClicks; }

    int m_nColourings = 0;
    int m_nClicks = 0;
};

// Runs a scenario from inside its own modal loop, then records what happened.
class ScenarioDialog : public CDialog {
public:
    ScenarioDialog(UINT nIDTemplate, std::function<void(ScenarioDialog&)> scenario)
        : CDialog(nIDTemplate), m_scenario(std::move(scenario)) {}

    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        static const MessageMapEntry<ScenarioDialog> kMap[] = {
            {WM_COMMAND, &ScenarioDialog::OnEditConfigurations, IDC_EDIT_CONFIGURATIONS},
            {WM_RUN_SCENARIO, &ScenarioDialog::OnRunScenario},
            {WM_QUERYDRAGICON, &ScenarioDialog::OnQueryDragIcon},
        };
        return DispatchMessageMap(this, kMap, message, wParam, lParam, lResult) ||
               CDialog::OnWndMsg(message, wParam, lParam, lResult);
    }
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override { m_helpRequests.push_back({dwData, nCmd}); }

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_bInitialised = true;
        PostMessageA(m_hWnd, WM_RUN_SCENARIO, 0, 0);
        return TRUE;
    }
    void DoDataExchange(CDataExchange& dx) override {
        if (GetDlgItem(IDC_PROMPT_ALWAYS))
            dx.Radio(IDC_PROMPT_ALWAYS, m_nPromptChoice);
        if (GetDlgItem(IDC_DEBUG_MODE))
            dx.Check(IDC_DEBUG_MODE, m_bDebugMode);
        if (GetDlgItem(IDC_WEB_LINK))
            dx.Control(IDC_WEB_LINK, m_link);
        ++m_nExchanges;
    }
    void OnCancel() override {
        ++m_nCancels;
        CDialog::OnCancel();
    }

    void OnEditConfigurations() { ++m_nEditClicks; }
    void OnRunScenario() { m_scenario(*this); }
    HCURSOR OnQueryDragIcon() { return LoadCursor(nullptr, IDC_ARROW); }

    bool IsChecked(int nID) const {
        return SendMessageA(GetDlgItem(nID), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    std::function<void(ScenarioDialog&)> m_scenario;
    bool m_bInitialised = false;
    int m_nPromptChoice = -1;
    int m_bDebugMode = 0;
    int m_nExchanges = 0;
    int m_nEditClicks = 0;
    int m_nCancels = 0;
    ReflectingStatic m_link;
    std::vector<std::pair<DWORD_PTR, UINT>> m_helpRequests;
};

void Command(ScenarioDialog& dlg, UINT nID) {
    SendMessageA(dlg.m_hWnd, WM_COMMAND, nID, 0);
}

TEST(Framework, ModalDialogExchangesDataAndDispatchesItsMap) {
    RecordingApp app;
    bool bRadioLoaded = false;
    ScenarioDialog dlg(IDD_CONFIGURE, [&](ScenarioDialog& d) {
        bRadioLoaded = d.IsChecked(IDC_PROMPT_NEVER) && !d.IsChecked(IDC_PROMPT_ALWAYS);
        SendMessageA(d.GetDlgItem(IDC_PROMPT_ALWAYS), BM_CLICK, 0, 0);
        SendMessageA(d.GetDlgItem(IDC_EDIT_CONFIGURATIONS), BM_CLICK, 0, 0);
        PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    });
    dlg.m_nPromptChoice = 1;

    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.m_bInitialised);
    EXPECT_TRUE(bRadioLoaded);
    EXPECT_EQ(dlg.m_nEditClicks, 1);
    EXPECT_EQ(dlg.m_nPromptChoice, 0); // saved by OK's data exchange
    EXPECT_EQ(dlg.m_nExchanges, 2);
    EXPECT_EQ(dlg.m_hWnd, nullptr); // the window is gone after DoModal
    // The radio click is no command of the dialog's, so it goes on to the application;
    // the click the dialog's map handles does not.
    EXPECT_EQ(app.m_commands, (std::vector<UINT>{IDC_PROMPT_ALWAYS}));
}

TEST(Framework, RadioGroupWithNoneCheckedSavesMinusOne) {
    RecordingApp app;
    ScenarioDialog dlg(IDD_CONFIGURE, [](ScenarioDialog& d) {
        d.m_nPromptChoice = 0;
        d.UpdateData(true);
        d.EndDialog(IDOK);
    });
    dlg.m_nPromptChoice = 7; // no button has this index, so none is checked
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nPromptChoice, -1);
}

TEST(Framework, CheckBoxExchangeBothWays) {
    RecordingApp app;
    bool bTickedOnLoad = false;
    ScenarioDialog dlg(IDD_ABOUT, [&](ScenarioDialog& d) {
        bTickedOnLoad = d.IsChecked(IDC_DEBUG_MODE);
        SendMessageA(d.GetDlgItem(IDC_DEBUG_MODE), BM_CLICK, 0, 0);
        PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    });
    dlg.m_bDebugMode = 1;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(bTickedOnLoad);
    EXPECT_EQ(dlg.m_bDebugMode, 0);
}

TEST(Framework, EscapeAndCloseEndWithCancel) {
    RecordingApp app;
    for (UINT message : {WM_KEYDOWN, WM_CLOSE}) {
        ScenarioDialog dlg(IDD_CONFIGURE, [message](ScenarioDialog& d) {
            if (message == WM_KEYDOWN)
                PostMessageA(d.GetDlgItem(IDC_CONFIGURATIONS), WM_KEYDOWN, VK_ESCAPE, 0);
            else
                PostMessageA(d.m_hWnd, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << message;
        EXPECT_EQ(dlg.m_nCancels, 1) << message;
        EXPECT_EQ(dlg.m_nExchanges, 1) << message; // Cancel does not save
    }
}

TEST(Framework, UnhandledCommandsReachTheApplication) {
    RecordingApp app;
    ScenarioDialog dlg(IDD_CONFIGURE, [](ScenarioDialog& d) {
        Command(d, IDM_CONFIGURE);
        Command(d, IDM_FILE_OPEN);
        // A control notification other than a click is not a command.
        SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_CONFIGURATIONS, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(d.GetDlgItem(IDC_CONFIGURATIONS)));
        // A command the dialog handles itself does not go on.
        Command(d, IDC_EDIT_CONFIGURATIONS);
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(app.m_commands, (std::vector<UINT>{IDM_CONFIGURE, IDM_FILE_OPEN}));
    EXPECT_EQ(app.m_nConfigureCalls, 1);
    EXPECT_EQ(dlg.m_nEditClicks, 1);
}

TEST(Framework, F1ReachesHelpOfTheMainWindowThroughTheApplication) {
    RecordingApp app;
    ScenarioDialog dlg(IDD_CONFIGURE, [](ScenarioDialog& d) {
        SetWindowContextHelpId(d.m_hWnd, 47);
        SetActiveWindow(d.m_hWnd);
        PostMessageA(d.GetDlgItem(IDC_CONFIGURATIONS), WM_KEYDOWN, VK_F1, 0);
        PostMessageA(d.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    app.m_pMainWnd = &dlg;
    dlg.DoModal();
    app.m_pMainWnd = nullptr;
    EXPECT_EQ(app.m_commands, (std::vector<UINT>{ID_HELP}));
    ASSERT_EQ(dlg.m_helpRequests.size(), 1u);
    EXPECT_EQ(dlg.m_helpRequests[0].first, 47u);
    EXPECT_EQ(dlg.m_helpRequests[0].second, static_cast<UINT>(HELP_CONTEXT));
}

TEST(Framework, EndDialogFromAMessageSentByAnotherThreadEndsTheLoop) {
    RecordingApp app;
    std::thread worker;
    ScenarioDialog dlg(IDD_CONFIGURE, [&](ScenarioDialog& d) {
        HWND hDlg = d.m_hWnd;
        // A message sent from another thread is handled only inside the loop's GetMessage,
        // which then goes on waiting for a posted one unless EndDialog wakes it.
        worker = std::thread([hDlg] { SendMessageA(hDlg, WM_CLOSE, 0, 0); });
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    worker.join();
}

TEST(Framework, DialogWithoutParentIsOwnedByTheMainWindowWhichItDisables) {
    RecordingApp app;
    HWND hOwnerSeen = nullptr;
    bool bMainDisabled = false;
    bool bMainEnabledAfter = false;
    ScenarioDialog main(IDD_CONVERTER, [&](ScenarioDialog& m) {
        ScenarioDialog inner(IDD_ABOUT, [&](ScenarioDialog& i) {
            hOwnerSeen = GetWindow(i.m_hWnd, GW_OWNER);
            bMainDisabled = !IsWindowEnabled(m.m_hWnd);
            i.EndDialog(IDOK);
        });
        inner.DoModal();
        bMainEnabledAfter = IsWindowEnabled(m.m_hWnd) != FALSE;
        m.EndDialog(IDOK);
    });
    app.m_pMainWnd = &main;
    main.DoModal();
    app.m_pMainWnd = nullptr;
    EXPECT_NE(hOwnerSeen, nullptr);
    EXPECT_TRUE(bMainDisabled);
    EXPECT_TRUE(bMainEnabledAfter);
}

TEST(Framework, ParentReflectsColouringAndClicksToTheSubclassedControl) {
    RecordingApp app;
    int nClicksSeen = 0;
    int nColouringsSeen = 0;
    ScenarioDialog dlg(IDD_ABOUT, [&](ScenarioDialog& d) {
        HWND hLink = d.GetDlgItem(IDC_WEB_LINK);
        ShowWindow(d.m_hWnd, SW_SHOWNA);
        RedrawWindow(hLink, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_WEB_LINK, STN_CLICKED),
                     reinterpret_cast<LPARAM>(hLink));
        nClicksSeen = d.m_link.m_nClicks;
        nColouringsSeen = d.m_link.m_nColourings;
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(nClicksSeen, 1);
    EXPECT_GE(nColouringsSeen, 1);
    EXPECT_TRUE(app.m_commands.empty()); // the click was the control's, not a command
}

TEST(Framework, HandlerResultsComeBackToTheSender) {
    RecordingApp app;
    LRESULT lIcon = 0;
    ScenarioDialog dlg(IDD_CONFIGURE, [&](ScenarioDialog& d) {
        lIcon = SendMessageA(d.m_hWnd, WM_QUERYDRAGICON, 0, 0);
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(lIcon, reinterpret_cast<LRESULT>(LoadCursor(nullptr, IDC_ARROW)));
}

} // namespace

namespace {

TEST(Framework, HiddenDialogIsCentredOverItsOwnerAndNotWhollyInsideIt) {
    RecordingApp app;
    RECT rcOwner{}, rcInner{};
    ScenarioDialog main(IDD_CONVERTER, [&](ScenarioDialog& m) {
        ShowWindow(m.m_hWnd, SW_SHOWNA);
        GetWindowRect(m.m_hWnd, &rcOwner);
        ScenarioDialog inner(IDD_CONFIGURE, [&](ScenarioDialog& i) {
            GetWindowRect(i.m_hWnd, &rcInner);
            i.EndDialog(IDOK);
        });
        inner.DoModal();
        m.EndDialog(IDOK);
    });
    app.m_pMainWnd = &main;
    main.DoModal();
    app.m_pMainWnd = nullptr;
    ASSERT_LT(rcInner.right - rcInner.left, rcOwner.right - rcOwner.left);
    EXPECT_LE(std::abs((rcInner.left + rcInner.right) - (rcOwner.left + rcOwner.right)), 1);
    // Wholly inside its owner, Wine would leave it black on the screen.
    bool bInside = rcInner.left >= rcOwner.left && rcInner.right <= rcOwner.right &&
                   rcInner.top >= rcOwner.top && rcInner.bottom <= rcOwner.bottom;
    EXPECT_FALSE(bInside);
    EXPECT_GE(rcInner.top, rcOwner.top);
}

} // namespace

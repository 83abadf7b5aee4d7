// Help: the path from the Install value, the WinHelp call (hooked), the context id of the
// active window.
#include "ui/Help.h"

#include "MessageBoxRecorder.h"
#include "RegistryTestUtil.h"
#include "framework/WinApp.h"
#include "ui/AboutDialog.h"
#include "ui/ShellCalls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace regtest;

namespace {

const std::string kConfigurationKey = "SOFTWARE\\VeltraneSystems\\Quillon\\Configuration";

struct HelpCall {
    HWND hWnd;
    std::string strFile;
    UINT uCommand;
    ULONG_PTR dwData;

    bool operator==(const HelpCall& other) const {
        return hWnd == other.hWnd && strFile == other.strFile && uCommand == other.uCommand &&
               dwData == other.dwData;
    }
};

std::ostream& operator<<(std::ostream& os, const HelpCall& call) {
    return os << "{" << call.hWnd << ", \"" << call.strFile << "\", " << call.uCommand << ", "
              << call.dwData << "}";
}

// A top-level window of this thread; destroyed with the object.
class TestWindow {
public:
    TestWindow()
        : m_hWnd(CreateWindowExA(0, "STATIC", "Hilfetest", WS_POPUP, 10, 10, 100, 50, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~TestWindow() { DestroyWindow(m_hWnd); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND m_hWnd;
};

class HelpTest : public ::testing::Test {
protected:
    HelpTest()
        : m_hook([this](HWND hWnd, const char* pszFile, UINT uCommand, ULONG_PTR dwData) {
              m_calls.push_back({hWnd, pszFile, uCommand, dwData});
              return TRUE;
          }) {}

    ScratchLocalMachine m_scratch;
    ScopedWinHelp m_hook;
    std::vector<HelpCall> m_calls;
};

TEST_F(HelpTest, PathIsInstallFolderAndHelpFileName) {
    const struct {
        Bytes install;
        DWORD dwType;
        std::string strPath;
    } cases[] = {
        {{'C', ':', '\\', 'Q', 0}, REG_SZ, "C:\\Q\\Quillon.hlp"},
        // An empty text with its terminator is passed on unchanged.
        {{0}, REG_SZ, "\\Quillon.hlp"},
        // The path ends at the first zero byte; a value without one is terminated anyway.
        {{'D', ':', '\\', 'A', 0, 'x', 'y', 0}, REG_MULTI_SZ, "D:\\A\\Quillon.hlp"},
        {{'E', ':', '\\', 'B'}, REG_BINARY, "E:\\B\\Quillon.hlp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strPath);
        ASSERT_TRUE(SetRaw(HKEY_LOCAL_MACHINE, kConfigurationKey, "Install", c.dwType, c.install));
        m_calls.clear();
        ShowHelp(46, HELP_CONTEXT);
        EXPECT_EQ(m_calls, (std::vector<HelpCall>{{nullptr, c.strPath, HELP_CONTEXT, 46}}));
    }
}

TEST_F(HelpTest, GoesToTheMainWindowWithCommandAndData) {
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kConfigurationKey, "Install",
                        "C:\\Programme\\Veltrane Quillon"));
    TestWindow window;
    CWinApp app;
    CWnd mainWnd;
    mainWnd.Attach(window.m_hWnd);
    app.m_pMainWnd = &mainWnd;
    ShowHelp(47, HELP_CONTEXT);
    ShowHelp(0, HELP_QUIT);
    app.m_pMainWnd = nullptr;
    const std::string strPath = "C:\\Programme\\Veltrane Quillon\\Quillon.hlp";
    EXPECT_EQ(m_calls, (std::vector<HelpCall>{{window.m_hWnd, strPath, HELP_CONTEXT, 47},
                                              {window.m_hWnd, strPath, HELP_QUIT, 0}}));
}

TEST_F(HelpTest, MissingInstallIsReportedAndOpensNothing) {
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, kConfigurationKey));
    DeleteValue(HKEY_LOCAL_MACHINE, kConfigurationKey, "Install");
    MessageBoxRecorder recorder;
    ShowHelp(0, HELP_QUIT);
    EXPECT_TRUE(m_calls.empty());
    std::vector<MessageBoxRequest> boxes = recorder.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText,
              ReportText(ERROR_FILE_NOT_FOUND,
                         SizeStep("HKEY_LOCAL_MACHINE\\" + kConfigurationKey + "\\Install")));
    EXPECT_EQ(boxes[0].strCaption, kReportCaption);
}

TEST_F(HelpTest, InstallWithoutDataOpensNothingSilently) {
    ASSERT_TRUE(SetRaw(HKEY_LOCAL_MACHINE, kConfigurationKey, "Install", REG_SZ, {}));
    ShowHelp(1, HELP_CONTEXT); // the test's main fails any message box
    EXPECT_TRUE(m_calls.empty());
}

TEST_F(HelpTest, PathMustFitWithoutCutting) {
    const std::string strHelpFile = "\\Quillon.hlp";
    // 511 characters and the terminator fill the 512-byte path exactly.
    const std::string strLongest = "C:\\" + std::string(511 - strHelpFile.size() - 3, 'a');
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kConfigurationKey, "Install", strLongest));
    ShowHelp(1, HELP_CONTEXT);
    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_calls[0].strFile, strLongest + strHelpFile);
    EXPECT_EQ(m_calls[0].strFile.size(), 511u);

    m_calls.clear();
    for (size_t nExtra : {1, 2000}) {
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kConfigurationKey, "Install",
                            strLongest + std::string(nExtra, 'b')));
        ShowHelp(1, HELP_CONTEXT);
    }
    EXPECT_TRUE(m_calls.empty());
}

TEST_F(HelpTest, HelpCommandUsesTheActiveWindowsContextIdOrOne) {
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kConfigurationKey, "Install", "C:\\Q"));
    TestWindow withId, withoutId;
    SetWindowContextHelpId(withId.m_hWnd, 47);
    SetActiveWindow(withId.m_hWnd);
    ASSERT_EQ(GetActiveWindow(), withId.m_hWnd);
    OnHelpCommand();
    SetActiveWindow(withoutId.m_hWnd);
    ASSERT_EQ(GetActiveWindow(), withoutId.m_hWnd);
    OnHelpCommand();
    EXPECT_EQ(m_calls, (std::vector<HelpCall>{{nullptr, "C:\\Q\\Quillon.hlp", HELP_CONTEXT, 47},
                                              {nullptr, "C:\\Q\\Quillon.hlp", HELP_CONTEXT, 1}}));
}

// The About box sets its own context id, so help asked for while it is active opens 46.
class HelpFromAbout : public AboutDialog {
protected:
    BOOL OnInitDialog() override {
        BOOL bResult = AboutDialog::OnInitDialog();
        SetActiveWindow(m_hWnd);
        OnHelpCommand();
        EndDialog(IDCANCEL);
        return bResult;
    }
};

TEST_F(HelpTest, HelpCommandInTheAboutBoxOpensItsTopic) {
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "Reporting", 0));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kConfigurationKey, "Install", "C:\\Q"));
    HelpFromAbout dlg;
    dlg.DoModal();
    EXPECT_EQ(m_calls, (std::vector<HelpCall>{{nullptr, "C:\\Q\\Quillon.hlp", HELP_CONTEXT, 46}}));
}

} // namespace

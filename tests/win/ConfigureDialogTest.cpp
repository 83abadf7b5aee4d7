// The configuration selection dialog run for real through the Configure command: the list
// of configurations and its selection, the destination prompt, OK and the ways of
// cancelling, its texts, and the control-panel applet it starts (a test applet exported
// from this program, and the real Quillon.cpl).
#include "config/ConfigureDialog.h"
#include "Waiting.h"

#include "MessageBoxRecorder.h"
#include "RegistryTestUtil.h"

#include "app/ConverterApp.h"
#include "config/RegistryPaths.h"
#include "res/resource.h"
#include "ui/ShellCalls.h"

#include <cpl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace regtest;

namespace {

const char kCaption[] = "Veltrane Quillon konfigurieren";
const std::string kConfigurations = CONFIGURATIONS_KEY;

// One call of the test applet, with the number of list entries the dialog showed then.
struct AppletCall {
    HWND hWnd;
    UINT uMsg;
    LPARAM lParam1;
    LPARAM lParam2;
    LRESULT nEntries;
};

// What the test applet records and what it does when it is started.
struct TestApplet {
    std::mutex mutex;
    std::vector<AppletCall> calls;
    std::string strCreate;                // a configuration it creates
    std::optional<std::string> optActive; // ActiveConfiguration it leaves; none: deleted
};
TestApplet g_applet;

std::string KeyOf(const std::string& strName) {
    return kConfigurations + "\\" + strName;
}

// Creates the configurations below the Configurations key, by relative name: Wine cannot
// take a whole path that long in one call.
void CreateConfigurations(const std::vector<std::string>& names) {
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, kConfigurations));
    HKEY hParent = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kConfigurations.c_str(), 0,
                                           KEY_CREATE_SUB_KEY, &hParent));
    for (const std::string& strName : names) {
        HKEY hKey = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(hParent, strName.c_str(), 0, nullptr, 0, KEY_READ,
                                                 nullptr, &hKey, nullptr))
            << strName.size();
        if (hKey)
            RegCloseKey(hKey);
    }
    RegCloseKey(hParent);
}

std::optional<uint32_t> RegistryDword(const std::string& strKey, const char* pszName) {
    RawValue raw = GetRaw(HKEY_LOCAL_MACHINE, strKey, pszName);
    if (raw.nError != ERROR_SUCCESS)
        return std::nullopt;
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), raw.dwType);
    EXPECT_EQ(4u, raw.data.size());
    uint32_t dwValue = 0;
    for (size_t i = 0; i < raw.data.size() && i < 4; ++i)
        dwValue |= static_cast<uint32_t>(raw.data[i]) << (8 * i);
    return dwValue;
}

std::string RegistryText(const std::string& strKey, const char* pszName) {
    RawValue raw = GetRaw(HKEY_LOCAL_MACHINE, strKey, pszName);
    std::string strText(raw.data.begin(), raw.data.end());
    return strText.substr(0, strText.find('\0'));
}

std::string WindowText(HWND hWnd) {
    char szText[1024] = "";
    GetWindowTextA(hWnd, szText, sizeof szText);
    return szText;
}

std::vector<std::string> Entries(HWND hDlg) {
    HWND hCombo = GetDlgItem(hDlg, IDC_CONFIGURATIONS);
    std::vector<std::string> entries;
    LRESULT nCount = SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < nCount; ++i) {
        std::vector<char> buffer(static_cast<size_t>(SendMessageA(hCombo, CB_GETLBTEXTLEN, i, 0)) +
                                 1);
        SendMessageA(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        entries.emplace_back(buffer.data());
    }
    return entries;
}

LRESULT Selection(HWND hDlg) {
    return SendDlgItemMessageA(hDlg, IDC_CONFIGURATIONS, CB_GETCURSEL, 0, 0);
}

void Select(HWND hDlg, LRESULT nIndex) {
    ASSERT_EQ(nIndex, SendDlgItemMessageA(hDlg, IDC_CONFIGURATIONS, CB_SETCURSEL, nIndex, 0));
}

void Select(HWND hDlg, const std::string& strName) {
    std::vector<std::string> entries = Entries(hDlg);
    auto it = std::find(entries.begin(), entries.end(), strName);
    ASSERT_NE(entries.end(), it) << strName;
    Select(hDlg, it - entries.begin());
}

bool IsChecked(HWND hDlg, int nID) {
    return SendDlgItemMessageA(hDlg, nID, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND hDlg, int nID) {
    SendMessageA(GetDlgItem(hDlg, nID), BM_CLICK, 0, 0);
}

// Ends whatever a driver left open, so a failed check cannot leave a modal loop running.
void CloseLeftovers(HWND hDlg, const char* pszAppletCaption = nullptr) {
    for (DWORD dwStart = GetTickCount(); IsWindow(hDlg) && GetTickCount() - dwStart < kWaitMs;
         Sleep(25)) {
        if (pszAppletCaption) {
            if (HWND hApplet = FindWindowA("#32770", pszAppletCaption))
                PostMessageA(hApplet, WM_COMMAND, IDCANCEL, 0);
        }
        PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
    }
}

const std::vector<std::string> kThree = {"A", "Standard", "Z"};

class ConfigureDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_app.SaveRequest.Allocate();
        m_app.SaveRequest.Set(0);
        m_app.m_hSettingsRoot = HKEY_LOCAL_MACHINE;
        std::lock_guard<std::mutex> lock(g_applet.mutex);
        g_applet.calls.clear();
        g_applet.strCreate.clear();
        g_applet.optActive.reset();
    }
    // Runs the Configure command on this thread while the driver works the dialog from
    // another one.
    void Configure(const std::function<void(HWND)>& driver,
                   const char* pszAppletCaption = nullptr) {
        std::thread thread([&] {
            HWND hDlg = WaitForWindow(kCaption);
            if (hDlg == nullptr) {
                ADD_FAILURE() << "the dialog did not appear";
                return;
            }
            driver(hDlg);
            CloseLeftovers(hDlg, pszAppletCaption);
        });
        OnConfigure();
        thread.join();
    }

    // The entries and the selected index shown when the dialog opens; closed with Cancel.
    std::pair<std::vector<std::string>, LRESULT> Shown() {
        std::vector<std::string> entries;
        LRESULT nSelection = -2;
        Configure([&](HWND hDlg) {
            entries = Entries(hDlg);
            nSelection = Selection(hDlg);
            Click(hDlg, IDCANCEL);
        });
        return {entries, nSelection};
    }

    ScratchLocalMachine m_scratch;
    ConverterApp m_app;
};

} // namespace

// The test applet, found by GetProcAddress in this program's own module.
extern "C" __declspec(dllexport) LONG CALLBACK
    CPlApplet(HWND hwndCPl, UINT uMsg, LPARAM lParam1, LPARAM lParam2) {
    LRESULT nEntries = SendDlgItemMessageA(hwndCPl, IDC_CONFIGURATIONS, CB_GETCOUNT, 0, 0);
    std::lock_guard<std::mutex> lock(g_applet.mutex);
    g_applet.calls.push_back({hwndCPl, uMsg, lParam1, lParam2, nEntries});
    if (uMsg == CPL_DBLCLK) {
        if (!g_applet.strCreate.empty())
            CreateKey(HKEY_LOCAL_MACHINE, KeyOf(g_applet.strCreate));
        if (g_applet.optActive)
            SetText(HKEY_LOCAL_MACHINE, kConfigurations, "ActiveConfiguration",
                    *g_applet.optActive);
        else
            DeleteValue(HKEY_LOCAL_MACHINE, kConfigurations, "ActiveConfiguration");
    }
    // Failure for CPL_INIT: the dialog goes on all the same.
    return uMsg == CPL_INIT ? 0 : 1;
}

namespace {

// This program stands in for Quillon.cpl; loaded by path so each FreeLibrary has its load.
HMODULE LoadThisProgram(const char* pszName, std::string& strAskedFor) {
    strAskedFor = pszName;
    char szPath[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, szPath, sizeof szPath);
    return LoadLibraryA(szPath);
}

struct SelectionCase {
    const char* pszInUse;
    LRESULT nSelected;
};

TEST_F(ConfigureDialogTest, ListsTheConfigurationsAndSelectsTheOneInUseByExactName) {
    CreateConfigurations({"Z", "Standard", "A"});
    const SelectionCase cases[] = {
        {"Standard", 1}, // by name, at its place in the enumeration
        {"standard", 0}, // letter case counts
        {"", 0},         // none in use
        {"Fehlt", 0},    // no such configuration
        {"Z", 2},        // the last one
    };
    for (const SelectionCase& c : cases) {
        SCOPED_TRACE(c.pszInUse);
        m_app.m_strActiveConfiguration = c.pszInUse;
        auto [entries, nSelection] = Shown();
        EXPECT_EQ(kThree, entries);
        EXPECT_EQ(c.nSelected, nSelection);
    }
}

TEST_F(ConfigureDialogTest, WithoutConfigurationsTheListIsEmptyAndOkClearsTheName) {
    const bool bKeyExists[] = {false, true};
    for (bool bKey : bKeyExists) {
        SCOPED_TRACE(bKey);
        DeleteTree(HKEY_LOCAL_MACHINE, PRODUCT_KEY);
        if (bKey) {
            ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kConfigurations, "ActiveConfiguration", "A"));
        }
        m_app.m_strActiveConfiguration = "A";
        size_t nEntries = 99;
        LRESULT nSelection = -2;
        Configure([&](HWND hDlg) {
            nEntries = Entries(hDlg).size();
            nSelection = Selection(hDlg);
            Click(hDlg, IDOK);
        });
        EXPECT_EQ(0u, nEntries);
        EXPECT_EQ(CB_ERR, nSelection);
        EXPECT_EQ("", m_app.m_strActiveConfiguration);
    }
}

struct OkCase {
    std::string strInUse;
    std::string strChoose; // empty: the selection the dialog made
    std::string strTaken;
};

TEST_F(ConfigureDialogTest, OkTakesTheSelectedEntryAsTheConfigurationInUseOnly) {
    const std::string strLong(255, 'L');
    const std::string strUmlaut = "B\xFCro";
    CreateConfigurations({"A", strUmlaut, "Standard", "Z", strLong});
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kConfigurations, "ActiveConfiguration", "Standard"));
    const OkCase cases[] = {
        {"", "", "A"},                // the first entry, selected on opening
        {"Standard", "", "Standard"}, // the one in use, selected on opening
        {"Standard", "Z", "Z"},       // another one chosen
        {"A", strUmlaut, strUmlaut},  // the name's bytes as they are
        {"A", strLong, strLong},      // the whole name, not a buffer's worth
    };
    for (const OkCase& c : cases) {
        SCOPED_TRACE(c.strTaken);
        m_app.m_strActiveConfiguration = c.strInUse;
        Configure([&](HWND hDlg) {
            if (!c.strChoose.empty())
                Select(hDlg, c.strChoose);
            Click(hDlg, IDOK);
        });
        EXPECT_EQ(c.strTaken, m_app.m_strActiveConfiguration);
        EXPECT_EQ("Standard", RegistryText(kConfigurations, "ActiveConfiguration"));
    }
}

struct PromptCase {
    int32_t nSaveRequest;
    bool bAlwaysChecked;
    bool bNeverChecked;
    int nClick; // 0: no click
    int32_t nAfter;
    uint32_t dwStored;
};

TEST_F(ConfigureDialogTest, OkKeepsAndStoresTheDestinationPrompt) {
    const PromptCase cases[] = {
        {1, false, true, IDC_PROMPT_ALWAYS, 0, 0},
        {0, true, false, IDC_PROMPT_NEVER, 1, 1},
        {1, false, true, 0, 1, 1},
        {2, false, false, 0, -1, 4294967295u},
        {-1, false, false, IDC_PROMPT_NEVER, 1, 1},
    };
    for (const PromptCase& c : cases) {
        SCOPED_TRACE(c.nSaveRequest);
        ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, "SaveRequest", 7));
        m_app.SaveRequest.Set(c.nSaveRequest);
        bool bAlways = !c.bAlwaysChecked, bNever = !c.bNeverChecked;
        Configure([&](HWND hDlg) {
            bAlways = IsChecked(hDlg, IDC_PROMPT_ALWAYS);
            bNever = IsChecked(hDlg, IDC_PROMPT_NEVER);
            if (c.nClick)
                Click(hDlg, c.nClick);
            Click(hDlg, IDOK);
        });
        EXPECT_EQ(c.bAlwaysChecked, bAlways);
        EXPECT_EQ(c.bNeverChecked, bNever);
        EXPECT_EQ(c.nAfter, m_app.SaveRequest.Get());
        EXPECT_EQ(c.dwStored, RegistryDword(CONFIGURATION_KEY, "SaveRequest"));
    }
}

TEST_F(ConfigureDialogTest, AFailedWriteIsReportedAndTheChoiceStaysInMemory) {
    MessageBoxRecorder boxes;
    // No registry key has this handle, so the key cannot be opened for writing.
    m_app.m_hSettingsRoot = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFF0001));
    m_app.SaveRequest.Set(0);
    Configure([](HWND hDlg) {
        Click(hDlg, IDC_PROMPT_NEVER);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(1, m_app.SaveRequest.Get());
    std::vector<MessageBoxRequest> reports = boxes.Boxes();
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ(kReportCaption, reports[0].strCaption);
    EXPECT_EQ(ReportText(ERROR_INVALID_HANDLE, CreateStep(CONFIGURATION_KEY)), reports[0].strText);
}

TEST_F(ConfigureDialogTest, CancellingChangesNothing) {
    CreateConfigurations(kThree);
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kConfigurations, "ActiveConfiguration", "Standard"));
    const std::vector<std::function<void(HWND)>> ways = {
        [](HWND hDlg) { Click(hDlg, IDCANCEL); },
        [](HWND hDlg) { PostMessageA(GetDlgItem(hDlg, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND hDlg) { SendMessageA(hDlg, WM_CLOSE, 0, 0); },
    };
    for (size_t i = 0; i < ways.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, "SaveRequest", 1));
        m_app.SaveRequest.Set(1);
        m_app.m_strActiveConfiguration = "Standard";
        Configure([&](HWND hDlg) {
            Select(hDlg, 2);
            Click(hDlg, IDC_PROMPT_ALWAYS);
            ways[i](hDlg);
            EXPECT_SOON(!IsWindow(hDlg));
        });
        EXPECT_EQ("Standard", m_app.m_strActiveConfiguration);
        EXPECT_EQ(1, m_app.SaveRequest.Get());
        EXPECT_EQ(1u, RegistryDword(CONFIGURATION_KEY, "SaveRequest"));
        EXPECT_EQ("Standard", RegistryText(kConfigurations, "ActiveConfiguration"));
    }
}

TEST_F(ConfigureDialogTest, ShowsTheProductNameHelpTopicAndFocusOnTheList) {
    CreateConfigurations(kThree);
    std::string strIntro;
    DWORD dwHelpId = 0;
    HWND hFocus = nullptr, hCombo = nullptr;
    Configure([&](HWND hDlg) {
        strIntro = WindowText(GetDlgItem(hDlg, IDC_CONFIGURE_INTRO));
        dwHelpId = GetWindowContextHelpId(hDlg);
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &info);
        hFocus = info.hwndFocus;
        hCombo = GetDlgItem(hDlg, IDC_CONFIGURATIONS);
        Click(hDlg, IDCANCEL);
    });
    // The caption was found as "Veltrane Quillon konfigurieren".
    EXPECT_EQ("&W\xE4hlen Sie die Konfiguration, die Veltrane Quillon zum Generieren von "
              "PDF-Dateien verwenden soll:",
              strIntro);
    EXPECT_EQ(47u, dwHelpId);
    EXPECT_EQ(hCombo, hFocus);
}

TEST_F(ConfigureDialogTest, ANameTooLongForTheBufferEndsTheList) {
    // Enumerated in this order: A, the 255 b, the 256 n, z.
    const std::string strFits(255, 'b');
    CreateConfigurations({"A", strFits, std::string(256, 'n'), "z"});
    m_app.m_strActiveConfiguration = "z";
    auto [entries, nSelection] = Shown();
    EXPECT_EQ((std::vector<std::string>{"A", strFits}), entries);
    EXPECT_EQ(0, nSelection);
}

struct AppletCase {
    std::string strCreate;
    std::optional<std::string> optActive;
    std::vector<std::string> entries;
    LRESULT nSelected;
};

TEST_F(ConfigureDialogTest, EditingRunsTheAppletAndSelectsTheConfigurationItMadeActive) {
    const AppletCase cases[] = {
        {"Neu", std::string("Neu"), {"A", "Neu", "Standard", "Z"}, 1},
        {"", std::string("A"), kThree, 0},
        {"", std::string("Standard"), kThree, 1},
        {"", std::nullopt, kThree, 0},
    };
    for (const AppletCase& c : cases) {
        SCOPED_TRACE(c.nSelected);
        DeleteTree(HKEY_LOCAL_MACHINE, PRODUCT_KEY);
        CreateConfigurations(kThree);
        ASSERT_TRUE(
            SetText(HKEY_LOCAL_MACHINE, kConfigurations, "ActiveConfiguration", "Standard"));
        {
            std::lock_guard<std::mutex> lock(g_applet.mutex);
            g_applet.calls.clear();
            g_applet.strCreate = c.strCreate;
            g_applet.optActive = c.optActive;
        }
        std::string strAskedFor;
        ScopedLoadAppletLibrary hook(
            [&](const char* pszName) { return LoadThisProgram(pszName, strAskedFor); });
        m_app.m_strActiveConfiguration = "Standard";

        HWND hShown = nullptr;
        std::vector<std::string> entries;
        LRESULT nSelection = -2;
        Configure([&](HWND hDlg) {
            hShown = hDlg;
            Select(hDlg, 2); // not kept
            Click(hDlg, IDC_EDIT_CONFIGURATIONS);
            entries = Entries(hDlg);
            nSelection = Selection(hDlg);
            Click(hDlg, IDOK);
        });

        EXPECT_EQ("Quillon.cpl", strAskedFor);
        std::vector<AppletCall> calls;
        {
            std::lock_guard<std::mutex> lock(g_applet.mutex);
            calls = g_applet.calls;
        }
        ASSERT_EQ(3u, calls.size());
        const UINT messages[] = {CPL_INIT, CPL_DBLCLK, CPL_EXIT};
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(hShown, calls[i].hWnd);
            EXPECT_EQ(messages[i], calls[i].uMsg);
            EXPECT_EQ(0, calls[i].lParam1);
            EXPECT_EQ(0, calls[i].lParam2);
            // The list is rebuilt only after the applet has finished.
            EXPECT_EQ(3, calls[i].nEntries);
        }
        EXPECT_EQ(c.entries, entries);
        EXPECT_EQ(c.nSelected, nSelection);
        EXPECT_EQ(c.entries[static_cast<size_t>(c.nSelected)], m_app.m_strActiveConfiguration);
    }
}

TEST_F(ConfigureDialogTest, EditingDoesNothingWithoutTheAppletOrItsEntryPoint) {
    CreateConfigurations(kThree);
    ASSERT_EQ(nullptr, GetModuleHandleA("lz32.dll"));
    const std::vector<std::function<HMODULE()>> loaders = {
        [] { return static_cast<HMODULE>(nullptr); },
        // A library without "CPlApplet"; nothing else in this program loads it.
        [] { return LoadLibraryA("lz32.dll"); },
    };
    for (size_t i = 0; i < loaders.size(); ++i) {
        SCOPED_TRACE(i);
        ScopedLoadAppletLibrary hook([&](const char*) { return loaders[i](); });
        m_app.m_strActiveConfiguration = "Standard";
        std::vector<std::string> entries;
        LRESULT nSelection = -2;
        Configure([&](HWND hDlg) {
            Select(hDlg, 2);
            Click(hDlg, IDC_EDIT_CONFIGURATIONS);
            entries = Entries(hDlg);
            nSelection = Selection(hDlg);
            Click(hDlg, IDCANCEL);
        });
        EXPECT_EQ(kThree, entries);
        EXPECT_EQ(2, nSelection);
        EXPECT_EQ(nullptr, GetModuleHandleA("lz32.dll")); // released again
        std::lock_guard<std::mutex> lock(g_applet.mutex);
        EXPECT_TRUE(g_applet.calls.empty());
    }
}

// The real applet beside this program: the configuration activated in its window is the
// one selected afterwards, and the applet is unloaded again.
TEST_F(ConfigureDialogTest, TheRealAppletsActivationIsSelectedAfterwards) {
    const char kAppletCaption[] = "Veltrane Quillon \x96 Konfigurationen";
    const int kAppletList = 1001, kAppletActivate = 1002;
    {
        HMODULE hApplet = LoadLibraryA("Quillon.cpl");
        if (hApplet == nullptr)
            GTEST_SKIP() << "Quillon.cpl is not beside the tests";
        FreeLibrary(hApplet);
    }
    ASSERT_EQ(nullptr, GetModuleHandleA("Quillon.cpl"));
    CreateConfigurations(kThree);
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, "SaveRequest", 0));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kConfigurations, "ActiveConfiguration", "Standard"));
    m_app.m_strActiveConfiguration = "Standard";

    bool bAppletShown = false;
    std::string strSelected;
    Configure(
        [&](HWND hDlg) {
            PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_EDIT_CONFIGURATIONS, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDC_EDIT_CONFIGURATIONS)));
            HWND hApplet = WaitForWindow(kAppletCaption);
            bAppletShown = hApplet != nullptr;
            if (!hApplet)
                return;
            // The applet lists the names in registry order; make Z active and close it.
            HWND hList = GetDlgItem(hApplet, kAppletList);
            SendMessageA(hList, LB_SETCURSEL, 2, 0);
            SendMessageA(hApplet, WM_COMMAND, MAKEWPARAM(kAppletList, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(hList));
            Click(hApplet, kAppletActivate);
            PostMessageA(hApplet, WM_COMMAND, IDCANCEL, 0);
            EXPECT_SOON(!IsWindow(hApplet));
            // Answered once the dialog has rebuilt its list.
            SendMessageA(hDlg, WM_NULL, 0, 0);
            std::vector<std::string> entries = Entries(hDlg);
            LRESULT nIndex = Selection(hDlg);
            if (nIndex >= 0 && static_cast<size_t>(nIndex) < entries.size())
                strSelected = entries[static_cast<size_t>(nIndex)];
            Click(hDlg, IDOK);
        },
        kAppletCaption);
    EXPECT_TRUE(bAppletShown);
    EXPECT_EQ("Z", RegistryText(kConfigurations, "ActiveConfiguration"));
    EXPECT_EQ("Z", strSelected);
    EXPECT_EQ("Z", m_app.m_strActiveConfiguration);
    EXPECT_EQ(nullptr, GetModuleHandleA("Quillon.cpl"));
}

} // namespace

// The printer product's applet Quillon.cpl, loaded and entered as the converter does it,
// with its dialog driven from a helper thread: configurations are created, activated,
// edited and deleted in the registry; bad names and folders are refused without a write;
// Abbrechen drops edited settings.
#include "Waiting.h"
#include "MessageBoxRecorder.h"
#include "RegistryTestUtil.h"

#include "config/RegistryPaths.h"
#include "config/Settings.h"
#include "printer/applet/AppletResource.h"

#include <cpl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace regtest;

namespace {

const char kDialogCaption[] = "Veltrane Quillon \x96 Konfigurationen";
const char kBoxCaption[] = "Veltrane Quillon";
const std::string kConfigurations = CONFIGURATIONS_KEY;
const char kActiveMark[] = "  (aktiv)";
// The text control of a message box.
const int kBoxTextId = 0xFFFF;

std::string KeyOf(const std::string& strName) {
    return kConfigurations + "\\" + strName;
}

std::string WindowText(HWND hWnd) {
    int nLength = GetWindowTextLengthA(hWnd);
    std::string strText(static_cast<size_t>(nLength) + 1, '\0');
    strText.resize(static_cast<size_t>(GetWindowTextA(hWnd, &strText[0], nLength + 1)));
    return strText;
}

std::string ItemText(HWND hDlg, int nID) {
    return WindowText(GetDlgItem(hDlg, nID));
}

void SetItemText(HWND hDlg, int nID, const std::string& strText) {
    SendMessageA(GetDlgItem(hDlg, nID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str()));
}

// A click that shows no message box: returns when the dialog has handled it.
void Click(HWND hDlg, int nID) {
    SendMessageA(GetDlgItem(hDlg, nID), BM_CLICK, 0, 0);
}

bool IsChecked(HWND hDlg, int nID) {
    return SendMessageA(GetDlgItem(hDlg, nID), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetCheck(HWND hDlg, int nID, bool bChecked) {
    if (IsChecked(hDlg, nID) != bChecked)
        Click(hDlg, nID);
}

// A click that shows a message box. The click is posted, since the dialog's thread stays
// in the box until it is answered; the box's text is returned ("" when none came).
std::string ClickAndAnswer(HWND hDlg, int nID, int nAnswer) {
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nID)));
    HWND hBox = WaitForWindow(kBoxCaption);
    if (hBox == nullptr)
        return std::string();
    std::string strText = ItemText(hBox, kBoxTextId);
    SendMessageA(GetDlgItem(hBox, nAnswer), BM_CLICK, 0, 0);
    EXPECT_SOON(!IsWindow(hBox));
    // Handled once the dialog's thread takes sent messages again.
    SendMessageA(hDlg, WM_NULL, 0, 0);
    return strText;
}

int ComboChoice(HWND hDlg, int nID) {
    return static_cast<int>(SendDlgItemMessageA(hDlg, nID, CB_GETCURSEL, 0, 0));
}

void SetComboChoice(HWND hDlg, int nID, int nChoice) {
    SendDlgItemMessageA(hDlg, nID, CB_SETCURSEL, static_cast<WPARAM>(nChoice), 0);
}

std::vector<std::string> ListEntries(HWND hDlg) {
    HWND hList = GetDlgItem(hDlg, IDC_CONFIG_LIST);
    std::vector<std::string> entries;
    LRESULT nCount = SendMessageA(hList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < nCount; ++i) {
        std::string strEntry(static_cast<size_t>(SendMessageA(hList, LB_GETTEXTLEN, i, 0)), '\0');
        SendMessageA(hList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&strEntry[0]));
        entries.push_back(strEntry);
    }
    return entries;
}

std::string SelectedEntry(HWND hDlg) {
    LRESULT nIndex = SendDlgItemMessageA(hDlg, IDC_CONFIG_LIST, LB_GETCURSEL, 0, 0);
    std::vector<std::string> entries = ListEntries(hDlg);
    return nIndex >= 0 && static_cast<size_t>(nIndex) < entries.size()
               ? entries[static_cast<size_t>(nIndex)]
               : std::string();
}

// Selects a configuration as a user's click in the list does.
void SelectEntry(HWND hDlg, const std::string& strName) {
    std::vector<std::string> entries = ListEntries(hDlg);
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == strName || entries[i] == strName + kActiveMark) {
            HWND hList = GetDlgItem(hDlg, IDC_CONFIG_LIST);
            SendMessageA(hList, LB_SETCURSEL, i, 0);
            SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_CONFIG_LIST, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(hList));
            return;
        }
    ADD_FAILURE() << "no list entry " << strName;
}

std::vector<std::string> Subkeys(const std::string& strKeyPath) {
    std::vector<std::string> names;
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKeyPath.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return names;
    char szName[300];
    DWORD cch = sizeof szName;
    for (DWORD i = 0;
         RegEnumKeyExA(hKey, i, szName, &cch, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, cch = sizeof szName)
        names.emplace_back(szName, cch);
    RegCloseKey(hKey);
    return names;
}

uint32_t DwordOf(const RawValue& raw) {
    uint32_t dwValue = 0;
    for (size_t i = 0; i < 4 && i < raw.data.size(); ++i)
        dwValue |= static_cast<uint32_t>(raw.data[i]) << (8 * i);
    return dwValue;
}

uint32_t GetDword(const std::string& strKey, const char* pszName) {
    return DwordOf(GetRaw(HKEY_LOCAL_MACHINE, strKey, pszName));
}

std::string GetText(const std::string& strKey, const char* pszName) {
    RawValue raw = GetRaw(HKEY_LOCAL_MACHINE, strKey, pszName);
    std::string strText(raw.data.begin(), raw.data.end());
    return strText.substr(0, strText.find('\0'));
}

bool ValueExists(const std::string& strKey, const char* pszName) {
    return GetRaw(HKEY_LOCAL_MACHINE, strKey, pszName).nError == ERROR_SUCCESS;
}

// The applet module as the converter's configure dialog loads it: by its bare name.
class LoadedApplet {
public:
    LoadedApplet() : m_hModule(LoadLibraryA("Quillon.cpl")) {
        if (m_hModule)
            // Through void*: FARPROC and the entry's type differ, as with any GetProcAddress.
            m_pfnApplet = reinterpret_cast<APPLET_PROC>(
                reinterpret_cast<void*>(GetProcAddress(m_hModule, "CPlApplet")));
    }
    ~LoadedApplet() {
        if (m_hModule)
            FreeLibrary(m_hModule);
    }
    LoadedApplet(const LoadedApplet&) = delete;
    LoadedApplet& operator=(const LoadedApplet&) = delete;

    HMODULE Module() const { return m_hModule; }
    APPLET_PROC Entry() const { return m_pfnApplet; }

private:
    HMODULE m_hModule;
    APPLET_PROC m_pfnApplet = nullptr;
};

// Ends whatever the driver left open, so a failed check cannot leave the applet hanging.
void CloseLeftovers(HWND hDlg) {
    for (DWORD dwStart = GetTickCount(); IsWindow(hDlg) && GetTickCount() - dwStart < kWaitMs;
         Sleep(25)) {
        if (HWND hBox = FindWindowA("#32770", kBoxCaption)) {
            for (int nButton : {IDNO, IDOK, IDCANCEL})
                if (HWND hButton = GetDlgItem(hBox, nButton)) {
                    PostMessageA(hButton, BM_CLICK, 0, 0);
                    break;
                }
            continue;
        }
        PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
    }
}

class AppletTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_applet.Module(), nullptr) << "Quillon.cpl not found beside the tests";
        ASSERT_NE(m_applet.Entry(), nullptr);
        ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, "SaveRequest", 1));
    }
    // A configuration holding only the two values the dialog edits and one it does not.
    static void Seed(const std::string& strName, uint32_t dwGeneral,
                     const std::string& strOutputPath = std::string()) {
        ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, KeyOf(strName), "General", dwGeneral));
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, KeyOf(strName), "OutputPath", strOutputPath));
        ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, KeyOf(strName), "Resolution", 1200));
    }
    static void SetActive(const std::string& strName) {
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kConfigurations, "ActiveConfiguration", strName));
    }

    // Enters the applet as the converter does (CPL_DBLCLK for applet 0 on this thread)
    // while the driver works the dialog from another thread. The dialog's result of the
    // call is returned; the driver sees the dialog's window.
    LONG RunApplet(const std::function<void(HWND)>& driver, HWND hwndOwner = nullptr) {
        std::thread thread([&] {
            HWND hDlg = WaitForWindow(kDialogCaption);
            if (hDlg == nullptr) {
                ADD_FAILURE() << "the applet's dialog did not appear";
                return;
            }
            driver(hDlg);
            CloseLeftovers(hDlg);
        });
        LONG nResult = m_applet.Entry()(hwndOwner, CPL_DBLCLK, 0, 0);
        thread.join();
        return nResult;
    }

    ScratchLocalMachine m_scratch;
    LoadedApplet m_applet;
};

TEST_F(AppletTest, AnswersTheControlPanelMessages) {
    APPLET_PROC pfnApplet = m_applet.Entry();
    EXPECT_NE(0, pfnApplet(nullptr, CPL_INIT, 0, 0));
    EXPECT_EQ(1, pfnApplet(nullptr, CPL_GETCOUNT, 0, 0));

    CPLINFO info{};
    EXPECT_EQ(0, pfnApplet(nullptr, CPL_INQUIRE, 0, reinterpret_cast<LPARAM>(&info)));
    char szName[64] = "";
    LoadStringA(m_applet.Module(), static_cast<UINT>(info.idName), szName, sizeof szName);
    EXPECT_STREQ("Veltrane Quillon", szName);
    EXPECT_NE(nullptr, LoadIconA(m_applet.Module(), MAKEINTRESOURCEA(info.idIcon)));

    NEWCPLINFOA newInfo{};
    EXPECT_EQ(0, pfnApplet(nullptr, CPL_NEWINQUIRE, 0, reinterpret_cast<LPARAM>(&newInfo)));
    EXPECT_EQ(sizeof newInfo, newInfo.dwSize);
    EXPECT_STREQ("Veltrane Quillon", newInfo.szName);

    // There is no second applet: nothing is shown for it.
    EXPECT_NE(0, pfnApplet(nullptr, CPL_DBLCLK, 1, 0));
    EXPECT_EQ(nullptr, FindWindowA("#32770", kDialogCaption));
    EXPECT_EQ(0, pfnApplet(nullptr, CPL_STOP, 0, 0));
    EXPECT_EQ(0, pfnApplet(nullptr, CPL_EXIT, 0, 0));
}

TEST_F(AppletTest, ShowsTheConfigurationsModallyOverItsOwnerAndMarksTheActiveOne) {
    Seed("Standard", 0);
    Seed("Office Print", 0x80001000, "C:\\PDF");
    SetActive("Office Print");
    HWND hOwner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(hOwner, nullptr);

    std::vector<std::string> entries;
    std::string strSelected, strActive, strPath;
    bool bOwned = false, bOwnerDisabled = false, bUse = false, bOverwrite = false;
    LONG nResult = RunApplet(
        [&](HWND hDlg) {
            bOwned = GetWindow(hDlg, GW_OWNER) == hOwner;
            bOwnerDisabled = !IsWindowEnabled(hOwner);
            entries = ListEntries(hDlg);
            strSelected = SelectedEntry(hDlg);
            strActive = ItemText(hDlg, IDC_ACTIVE_NAME);
            bUse = IsChecked(hDlg, IDC_USE_OUTPUT_PATH);
            bOverwrite = IsChecked(hDlg, IDC_OVERWRITE);
            strPath = ItemText(hDlg, IDC_OUTPUT_PATH);
            Click(hDlg, IDOK);
        },
        hOwner);
    DestroyWindow(hOwner);

    EXPECT_EQ(0, nResult);
    EXPECT_TRUE(bOwned);
    EXPECT_TRUE(bOwnerDisabled);
    std::vector<std::string> expected;
    for (const std::string& strName : Subkeys(kConfigurations))
        expected.push_back(strName == "Office Print" ? strName + kActiveMark : strName);
    EXPECT_EQ(expected, entries);
    EXPECT_EQ("Office Print" + std::string(kActiveMark), strSelected);
    EXPECT_EQ("Office Print", strActive);
    EXPECT_TRUE(bUse);
    EXPECT_TRUE(bOverwrite);
    EXPECT_EQ("C:\\PDF", strPath);
    // OK without edits writes nothing.
    EXPECT_FALSE(ValueExists(KeyOf("Standard"), "Colour"));
    EXPECT_EQ(0x80001000u, GetDword(KeyOf("Office Print"), "General"));
}

TEST_F(AppletTest, CreatesAConfigurationThatTheConverterLoadsWithoutAReport) {
    Seed("Standard", 0);
    SetActive("Standard");
    const std::string strName = "B\xFCro 2. Stock";

    std::vector<std::string> entries;
    std::string strSelected, strNameField;
    RunApplet([&](HWND hDlg) {
        // Blanks around the name are dropped; blanks inside it are kept.
        SetItemText(hDlg, IDC_NEW_NAME, "  " + strName + " ");
        Click(hDlg, IDC_CREATE);
        entries = ListEntries(hDlg);
        strSelected = SelectedEntry(hDlg);
        strNameField = ItemText(hDlg, IDC_NEW_NAME);
        Click(hDlg, IDCANCEL);
    });

    // Created at once, so Abbrechen keeps it; it is selected, not made active.
    EXPECT_NE(std::find(entries.begin(), entries.end(), strName), entries.end());
    EXPECT_EQ(strName, strSelected);
    EXPECT_EQ("", strNameField);
    EXPECT_EQ("Standard", GetText(kConfigurations, "ActiveConfiguration"));
    const std::string strKey = KeyOf(strName);
    for (const char* pszName :
         {"Reporting", "General", "Fonts", "Colour", "Grey", "Monochrome", "Resolution",
          "ColourResolution", "GreyResolution", "MonoResolution"}) {
        RawValue raw = GetRaw(HKEY_LOCAL_MACHINE, strKey, pszName);
        EXPECT_EQ(ERROR_SUCCESS, raw.nError) << pszName;
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), raw.dwType) << pszName;
        EXPECT_EQ(4u, raw.data.size()) << pszName;
    }
    for (const char* pszName : {"EmbedFonts", "NeverEmbedFonts", "OutputPath"}) {
        RawValue raw = GetRaw(HKEY_LOCAL_MACHINE, strKey, pszName);
        EXPECT_EQ(ERROR_SUCCESS, raw.nError) << pszName;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), raw.dwType) << pszName;
    }
    // A new configuration writes beside its input, never over an existing file, and gives
    // Ghostscript's own PDF.
    EXPECT_EQ(0u, GetDword(strKey, "General"));
    EXPECT_EQ("", GetText(strKey, "OutputPath"));
    for (const char* pszName :
         {"Fonts", "Resolution", "ColourResolution", "GreyResolution", "MonoResolution"})
        EXPECT_EQ(0u, GetDword(strKey, pszName)) << pszName;
    for (const char* pszName : {"Colour", "Grey", "Monochrome"})
        EXPECT_EQ(1u, GetDword(strKey, pszName)) << pszName;
    EXPECT_EQ("", GetText(strKey, "EmbedFonts"));
    EXPECT_EQ("", GetText(strKey, "NeverEmbedFonts"));

    ConversionSettings settings;
    for (SettingCell* pCell :
         {&settings.SaveRequest, &settings.Reporting, &settings.General, &settings.Colour,
          &settings.Grey, &settings.Monochrome, &settings.Fonts, &settings.Resolution,
          &settings.ColourResolution, &settings.GreyResolution, &settings.MonoResolution})
        pCell->Allocate();
    MessageBoxRecorder recorder;
    LoadSettings(settings, SwitchFlags{}, strName);
    EXPECT_TRUE(recorder.Boxes().empty());
    EXPECT_NE(nullptr, settings.OutputPath.get());
    EXPECT_NE(-1, settings.m_nEmbedFontsSize);
    EXPECT_NE(-1, settings.m_nNeverEmbedFontsSize);
}

struct RefusedName {
    const char* pszLabel;
    std::string strTyped;
    std::string strMessage;
};

TEST_F(AppletTest, RefusesBadAndTakenNamesWithoutWritingAnything) {
    Seed("Standard", 0x12345678, "C:\\alt");
    SetActive("Standard");
    const std::vector<RefusedName> cases = {
        {"empty", "", "Bitte geben Sie einen Namen f\xFCr die neue Konfiguration ein."},
        {"blanks only", "   ", "Bitte geben Sie einen Namen f\xFCr die neue Konfiguration ein."},
        {"backslash", "B\xFCro\\PDF",
         "Der Name \x84"
         "B\xFCro\\PDF\x93 enth\xE4lt einen umgekehrten Schr\xE4gstrich (\\). Bitte w\xE4hlen "
         "Sie einen Namen ohne dieses Zeichen."},
        {"256 characters", std::string(256, 'x'),
         "Der Name ist zu lang. Ein Konfigurationsname darf h\xF6"
         "chstens 255 Zeichen lang sein."},
        {"tab inside", "A\tB",
         "Der Name enth\xE4lt Steuerzeichen. Bitte verwenden Sie nur druckbare Zeichen."},
        {"taken", "Standard",
         "Eine Konfiguration namens \x84Standard\x93 gibt es bereits. Bitte w\xE4hlen Sie einen "
         "anderen Namen."},
        {"taken in other letter case", "STANDARD",
         "Eine Konfiguration namens \x84STANDARD\x93 gibt es bereits. Bitte w\xE4hlen Sie einen "
         "anderen Namen."},
    };

    std::vector<std::string> messages;
    bool bStillOpen = true;
    RunApplet([&](HWND hDlg) {
        for (const RefusedName& refused : cases) {
            SetItemText(hDlg, IDC_NEW_NAME, refused.strTyped);
            messages.push_back(ClickAndAnswer(hDlg, IDC_CREATE, IDOK));
        }
        bStillOpen = IsWindowVisible(hDlg) != FALSE;
        Click(hDlg, IDOK);
    });

    ASSERT_EQ(cases.size(), messages.size());
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(cases[i].strMessage, messages[i]) << cases[i].pszLabel;
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(std::vector<std::string>{"Standard"}, Subkeys(kConfigurations));
    // The taken name's key was opened, but nothing was added or changed in it.
    EXPECT_EQ(0x12345678u, GetDword(KeyOf("Standard"), "General"));
    EXPECT_EQ("C:\\alt", GetText(KeyOf("Standard"), "OutputPath"));
    EXPECT_FALSE(ValueExists(KeyOf("Standard"), "Colour"));
}

// Wine's Reg*A calls fail on key paths over 260 characters, so such a configuration is
// read below Configurations, as the applet itself does.
RawValue GetRawBelowConfigurations(const std::string& strName, const char* pszValueName) {
    RawValue value;
    HKEY hParent = nullptr;
    value.nError =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, kConfigurations.c_str(), 0, KEY_READ, &hParent);
    if (value.nError != ERROR_SUCCESS)
        return value;
    HKEY hKey = nullptr;
    value.nError = RegOpenKeyExA(hParent, strName.c_str(), 0, KEY_QUERY_VALUE, &hKey);
    RegCloseKey(hParent);
    if (value.nError != ERROR_SUCCESS)
        return value;
    DWORD cb = 0;
    value.nError = RegQueryValueExA(hKey, pszValueName, nullptr, &value.dwType, nullptr, &cb);
    value.data.resize(cb);
    if (value.nError == ERROR_SUCCESS && cb > 0)
        value.nError =
            RegQueryValueExA(hKey, pszValueName, nullptr, &value.dwType, value.data.data(), &cb);
    RegCloseKey(hKey);
    return value;
}

TEST_F(AppletTest, AcceptsAndEditsANameOfExactly255Characters) {
    const std::string strName = std::string(254, 'n') + "\xE4";
    RunApplet([&](HWND hDlg) {
        SetItemText(hDlg, IDC_NEW_NAME, strName);
        Click(hDlg, IDC_CREATE);
        SetCheck(hDlg, IDC_OVERWRITE, true);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(std::vector<std::string>{strName}, Subkeys(kConfigurations));
    EXPECT_EQ(ERROR_SUCCESS, GetRawBelowConfigurations(strName, "MonoResolution").nError);
    EXPECT_EQ(0x80000000u, DwordOf(GetRawBelowConfigurations(strName, "General")));
}

TEST_F(AppletTest, MakesTheSelectedConfigurationActiveAtOnce) {
    Seed("A", 0);
    Seed("B", 0);
    SetActive("A");

    std::string strActiveWhileOpen, strActiveLabel, strSelected;
    bool bActivateEnabled = true;
    RunApplet([&](HWND hDlg) {
        SelectEntry(hDlg, "B");
        Click(hDlg, IDC_ACTIVATE);
        strActiveWhileOpen = GetText(kConfigurations, "ActiveConfiguration");
        strActiveLabel = ItemText(hDlg, IDC_ACTIVE_NAME);
        strSelected = SelectedEntry(hDlg);
        bActivateEnabled = IsWindowEnabled(GetDlgItem(hDlg, IDC_ACTIVATE)) != FALSE;
        Click(hDlg, IDCANCEL);
    });

    EXPECT_EQ("B", strActiveWhileOpen);
    EXPECT_EQ("B", strActiveLabel);
    EXPECT_EQ("B" + std::string(kActiveMark), strSelected);
    EXPECT_FALSE(bActivateEnabled);
    EXPECT_EQ("B", GetText(kConfigurations, "ActiveConfiguration"));
}

struct BitCase {
    uint32_t dwBefore;
    bool bUseOutputPath;
    bool bOverwrite;
    uint32_t dwAfter;
};

TEST_F(AppletTest, OkChangesOnlyTheTwoEditedBitsOfGeneralAndStoresTheFolder) {
    const BitCase cases[] = {
        {0x00000005, true, true, 0x80001005},   {0xFFFFFFFF, false, false, 0x7FFFEFFF},
        {0xC0001000, false, true, 0xC0000000},  {0x08000000, true, false, 0x08001000},
        {0x80000000, false, false, 0x00000000},
    };
    const std::string strFolder = "C:\\PDF Ausgabe\\B\xFCro";
    for (const BitCase& bits : cases) {
        DeleteTree(HKEY_LOCAL_MACHINE, kConfigurations);
        Seed("Standard", bits.dwBefore, "C:\\alt");
        bool bShownUse = false, bShownOverwrite = false, bPathEnabled = false;
        RunApplet([&](HWND hDlg) {
            bShownUse = IsChecked(hDlg, IDC_USE_OUTPUT_PATH);
            bShownOverwrite = IsChecked(hDlg, IDC_OVERWRITE);
            SetCheck(hDlg, IDC_USE_OUTPUT_PATH, bits.bUseOutputPath);
            SetCheck(hDlg, IDC_OVERWRITE, bits.bOverwrite);
            bPathEnabled = IsWindowEnabled(GetDlgItem(hDlg, IDC_OUTPUT_PATH)) != FALSE;
            SetItemText(hDlg, IDC_OUTPUT_PATH, strFolder);
            Click(hDlg, IDOK);
        });
        EXPECT_EQ((bits.dwBefore & 0x1000) != 0, bShownUse) << std::hex << bits.dwBefore;
        EXPECT_EQ((bits.dwBefore & 0x80000000) != 0, bShownOverwrite) << std::hex << bits.dwBefore;
        EXPECT_EQ(bits.bUseOutputPath, bPathEnabled);
        RawValue general = GetRaw(HKEY_LOCAL_MACHINE, KeyOf("Standard"), "General");
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), general.dwType);
        EXPECT_EQ(bits.dwAfter, DwordOf(general)) << std::hex << bits.dwBefore;
        EXPECT_EQ(strFolder, GetText(KeyOf("Standard"), "OutputPath"));
        EXPECT_EQ(1200u, GetDword(KeyOf("Standard"), "Resolution"));
    }
}

TEST_F(AppletTest, KeepsTheEditsOfSeveralConfigurationsUntilOk) {
    Seed("A", 0x00000001, "C:\\a");
    Seed("B", 0x00000002, "C:\\b");
    SetActive("A");

    bool bShownAgain = false;
    std::string strShownAgainPath;
    uint32_t dwBeforeOk = 0;
    RunApplet([&](HWND hDlg) {
        SelectEntry(hDlg, "A");
        SetCheck(hDlg, IDC_OVERWRITE, true);
        SetItemText(hDlg, IDC_OUTPUT_PATH, "C:\\neu a");
        SelectEntry(hDlg, "B");
        SetCheck(hDlg, IDC_USE_OUTPUT_PATH, true);
        SetItemText(hDlg, IDC_OUTPUT_PATH, "\\\\server\\pdf\\b");
        SelectEntry(hDlg, "A");
        bShownAgain = IsChecked(hDlg, IDC_OVERWRITE);
        strShownAgainPath = ItemText(hDlg, IDC_OUTPUT_PATH);
        dwBeforeOk = GetDword(KeyOf("A"), "General");
        Click(hDlg, IDOK);
    });

    EXPECT_TRUE(bShownAgain);
    EXPECT_EQ("C:\\neu a", strShownAgainPath);
    EXPECT_EQ(0x00000001u, dwBeforeOk);
    EXPECT_EQ(0x80000001u, GetDword(KeyOf("A"), "General"));
    EXPECT_EQ("C:\\neu a", GetText(KeyOf("A"), "OutputPath"));
    EXPECT_EQ(0x00001002u, GetDword(KeyOf("B"), "General"));
    EXPECT_EQ("\\\\server\\pdf\\b", GetText(KeyOf("B"), "OutputPath"));
}

TEST_F(AppletTest, AbbrechenDropsEditedSettings) {
    Seed("A", 0x00000005, "C:\\a");
    Seed("B", 0x80001000, "C:\\b");
    SetActive("A");

    LONG nResult = RunApplet([&](HWND hDlg) {
        SelectEntry(hDlg, "A");
        SetCheck(hDlg, IDC_USE_OUTPUT_PATH, true);
        SetCheck(hDlg, IDC_OVERWRITE, true);
        SetItemText(hDlg, IDC_OUTPUT_PATH, "C:\\neu");
        SelectEntry(hDlg, "B");
        SetCheck(hDlg, IDC_OVERWRITE, false);
        Click(hDlg, IDCANCEL);
    });

    EXPECT_EQ(0, nResult);
    EXPECT_EQ(0x00000005u, GetDword(KeyOf("A"), "General"));
    EXPECT_EQ("C:\\a", GetText(KeyOf("A"), "OutputPath"));
    EXPECT_EQ(0x80001000u, GetDword(KeyOf("B"), "General"));
    EXPECT_EQ("C:\\b", GetText(KeyOf("B"), "OutputPath"));
}

struct RefusedFolder {
    std::string strFolder;
    std::string strMessage;
};

TEST_F(AppletTest, OkRefusesAnOutputFolderThePrinterCannotUseAndWritesNothing) {
    Seed("A", 0x00000000, "C:\\a");
    Seed("B", 0x00001000, "C:\\b");
    SetActive("A");
    const std::string strLong = "C:\\" + std::string(244, 'd'); // 247 characters
    const std::vector<RefusedFolder> cases = {
        {"", "Bitte geben Sie f\xFCr \x84"
             "A\x93 den Ordner an, in den die Ausgabedateien "
             "geschrieben werden sollen."},
        {"   ", "Bitte geben Sie f\xFCr \x84"
                "A\x93 den Ordner an, in den die Ausgabedateien "
                "geschrieben werden sollen."},
        {"PDF\\Ausgabe", "Der Ausgabeordner von \x84"
                         "A\x93 muss ein vollst\xE4ndiger Pfad sein, "
                         "zum Beispiel C:\\PDF oder \\\\Server\\Freigabe\\PDF."},
        {"C:Ausgabe", "Der Ausgabeordner von \x84"
                      "A\x93 muss ein vollst\xE4ndiger Pfad sein, "
                      "zum Beispiel C:\\PDF oder \\\\Server\\Freigabe\\PDF."},
        {"C:\\PDF\\..\\Windows", "Der Ausgabeordner von \x84"
                                 "A\x93 darf keine Bestandteile "
                                 "\x84..\x93 enthalten."},
        {strLong, "Der Ausgabeordner von \x84"
                  "A\x93 ist zu lang. Er darf h\xF6"
                  "chstens 246 Zeichen lang sein."},
    };

    std::vector<std::string> messages;
    std::string strSelectedAfterRefusal;
    RunApplet([&](HWND hDlg) {
        SelectEntry(hDlg, "A");
        SetCheck(hDlg, IDC_USE_OUTPUT_PATH, true);
        SetCheck(hDlg, IDC_OVERWRITE, true);
        for (const RefusedFolder& refused : cases) {
            SetItemText(hDlg, IDC_OUTPUT_PATH, refused.strFolder);
            // The refusal also comes while another configuration is on display, and brings
            // the one at fault back.
            SelectEntry(hDlg, "B");
            messages.push_back(ClickAndAnswer(hDlg, IDOK, IDOK));
        }
        strSelectedAfterRefusal = SelectedEntry(hDlg);
        Click(hDlg, IDCANCEL);
    });

    ASSERT_EQ(cases.size(), messages.size());
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(cases[i].strMessage, messages[i]) << "folder " << cases[i].strFolder;
    EXPECT_EQ("A" + std::string(kActiveMark), strSelectedAfterRefusal);
    EXPECT_EQ(0u, GetDword(KeyOf("A"), "General"));
    EXPECT_EQ("C:\\a", GetText(KeyOf("A"), "OutputPath"));

    // One character shorter is taken.
    RunApplet([&](HWND hDlg) {
        SetCheck(hDlg, IDC_USE_OUTPUT_PATH, true);
        SetItemText(hDlg, IDC_OUTPUT_PATH, strLong.substr(0, 246));
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(0x1000u, GetDword(KeyOf("A"), "General"));
    EXPECT_EQ(strLong.substr(0, 246), GetText(KeyOf("A"), "OutputPath"));
}

// The PDF settings as the printer side takes them: a value it would not take shows as the
// setting it uses instead. OK writes what was changed, and only that.
TEST_F(AppletTest, ShowsAndSavesThePdfSettings) {
    Seed("A", 0);
    const std::string strKey = KeyOf("A");
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, strKey, "ColourResolution", 300));
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, strKey, "GreyResolution", 5));
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, strKey, "Colour", 2));
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, strKey, "Monochrome", 0));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, strKey, "Fonts", "1"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, strKey, "EmbedFonts", "Palatino-Roman; Courier"));
    ASSERT_TRUE(SetRaw(HKEY_LOCAL_MACHINE, strKey, "NeverEmbedFonts", REG_MULTI_SZ,
                       {'S', 'y', 'm', 'b', 'o', 'l', 0, 0}));
    SetActive("A");

    std::vector<std::string> shown;
    std::vector<int> choices;
    std::vector<std::string> compressions;
    RunApplet([&](HWND hDlg) {
        for (int nID : {IDC_COLOUR_RESOLUTION, IDC_GREY_RESOLUTION, IDC_MONO_RESOLUTION,
                        IDC_EMBED_FONTS, IDC_NEVER_EMBED_FONTS})
            shown.push_back(ItemText(hDlg, nID));
        for (int nID :
             {IDC_COLOUR_COMPRESSION, IDC_GREY_COMPRESSION, IDC_MONO_COMPRESSION, IDC_FONTS})
            choices.push_back(ComboChoice(hDlg, nID));
        for (int nID : {IDC_COLOUR_COMPRESSION, IDC_MONO_COMPRESSION, IDC_FONTS})
            for (int i = 0; i < 3; ++i) {
                HWND hCombo = GetDlgItem(hDlg, nID);
                std::string strEntry(
                    static_cast<size_t>(SendMessageA(hCombo, CB_GETLBTEXTLEN, i, 0)), '\0');
                SendMessageA(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&strEntry[0]));
                compressions.push_back(strEntry);
            }
        SetItemText(hDlg, IDC_MONO_RESOLUTION, " 600 ");
        SetComboChoice(hDlg, IDC_GREY_COMPRESSION, 0);
        SetComboChoice(hDlg, IDC_FONTS, 2);
        SetItemText(hDlg, IDC_NEVER_EMBED_FONTS, "Symbol;;ZapfDingbats ");
        Click(hDlg, IDOK);
    });

    EXPECT_EQ((std::vector<std::string>{"300", "0", "0", "Palatino-Roman;Courier", "Symbol"}),
              shown);
    EXPECT_EQ((std::vector<int>{2, 1, 0, 0}), choices);
    EXPECT_EQ(
        (std::vector<std::string>{"Verlustfrei", "Automatisch", "JPEG", "ZIP (Flate)",
                                  "CCITT Gruppe 4", "Laufl\xE4nge", "Als Teilmengen einbetten",
                                  "Vollst\xE4ndig einbetten", "Nur \x84Immer einbetten\x93"}),
        compressions);
    EXPECT_EQ(600u, GetDword(strKey, "MonoResolution"));
    EXPECT_EQ(0u, GetDword(strKey, "Grey"));
    RawValue fonts = GetRaw(HKEY_LOCAL_MACHINE, strKey, "Fonts");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), fonts.dwType);
    EXPECT_EQ(2u, DwordOf(fonts));
    RawValue never = GetRaw(HKEY_LOCAL_MACHINE, strKey, "NeverEmbedFonts");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), never.dwType);
    EXPECT_EQ("Symbol;ZapfDingbats", GetText(strKey, "NeverEmbedFonts"));
    // What was not changed stays as it was, even a value the printer side would not take.
    EXPECT_EQ(5u, GetDword(strKey, "GreyResolution"));
    EXPECT_EQ("Palatino-Roman; Courier", GetText(strKey, "EmbedFonts"));
    EXPECT_EQ(1200u, GetDword(strKey, "Resolution"));
    EXPECT_EQ(300u, GetDword(strKey, "ColourResolution"));
}

struct RefusedPdf {
    int nID;
    std::string strTyped;
    std::string strMessage;
};

TEST_F(AppletTest, OkRefusesPdfSettingsThePrinterWouldNotTakeAndWritesNothing) {
    Seed("A", 0);
    Seed("B", 0);
    SetActive("A");
    const std::vector<RefusedPdf> cases = {
        {IDC_COLOUR_RESOLUTION, "8",
         "Die Aufl\xF6sung der Farbbilder von \x84"
         "A\x93 muss 0 oder eine ganze Zahl von 9 bis 4000 sein."},
        {IDC_GREY_RESOLUTION, "4001",
         "Die Aufl\xF6sung der Graustufenbilder von \x84"
         "A\x93 muss 0 oder eine ganze Zahl von 9 bis 4000 sein."},
        {IDC_MONO_RESOLUTION, "",
         "Die Aufl\xF6sung der Schwarzwei\xDF"
         "bilder von \x84"
         "A\x93 muss 0 oder eine ganze Zahl von 9 bis 4000 sein."},
        {IDC_MONO_RESOLUTION, "99999999999",
         "Die Aufl\xF6sung der Schwarzwei\xDF"
         "bilder von \x84"
         "A\x93 muss 0 oder eine ganze Zahl von 9 bis 4000 sein."},
        {IDC_EMBED_FONTS, "Courier; Times Roman",
         "\x84Times Roman\x93 unter \x84Immer einbetten\x93 von \x84"
         "A\x93 ist kein PostScript-Schriftname: Namen bestehen aus h\xF6"
         "chstens 127 Zeichen ohne Leerzeichen, Umlaute und ( ) < > [ ] { } / %."},
        {IDC_NEVER_EMBED_FONTS, "] {(x) print} exec [",
         "\x84] {(x) print} exec [\x93 unter \x84Nie einbetten\x93 von \x84"
         "A\x93 ist kein PostScript-Schriftname: Namen bestehen aus h\xF6"
         "chstens 127 Zeichen ohne Leerzeichen, Umlaute und ( ) < > [ ] { } / %."},
        {IDC_NEVER_EMBED_FONTS, "B\xFCro",
         "\x84"
         "B\xFCro\x93 unter \x84Nie einbetten\x93 von \x84"
         "A\x93 ist kein PostScript-Schriftname: Namen bestehen aus h\xF6"
         "chstens 127 Zeichen ohne Leerzeichen, Umlaute und ( ) < > [ ] { } / %."},
        {IDC_EMBED_FONTS,
         [] {
             std::string strNames;
             for (int i = 0; i <= 100; ++i)
                 strNames += "F" + std::to_string(i) + ";";
             return strNames;
         }(),
         "Eine Schriftliste von \x84"
         "A\x93 enth\xE4lt mehr als 100 Namen."},
    };

    std::vector<std::string> messages;
    RunApplet([&](HWND hDlg) {
        for (const RefusedPdf& refused : cases) {
            SelectEntry(hDlg, "A");
            SetItemText(hDlg, refused.nID, refused.strTyped);
            // The refusal also comes while another configuration is on display, and brings
            // the one at fault back.
            SelectEntry(hDlg, "B");
            messages.push_back(ClickAndAnswer(hDlg, IDOK, IDOK));
            SetItemText(
                hDlg, refused.nID,
                refused.nID == IDC_EMBED_FONTS || refused.nID == IDC_NEVER_EMBED_FONTS ? "" : "0");
        }
        Click(hDlg, IDCANCEL);
    });

    ASSERT_EQ(cases.size(), messages.size());
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(cases[i].strMessage, messages[i]) << "typed " << cases[i].strTyped;
    for (const char* pszName :
         {"ColourResolution", "GreyResolution", "MonoResolution", "EmbedFonts", "NeverEmbedFonts"})
        EXPECT_FALSE(ValueExists(KeyOf("A"), pszName)) << pszName;
}

TEST_F(AppletTest, DeletesOnlyAfterConfirmationAndPassesTheActiveRoleOn) {
    Seed("A", 0);
    Seed("B", 0);
    Seed("C", 0);
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, KeyOf("C") + "\\Extra"));
    SetActive("B");

    std::string strDeclined, strConfirmed, strActiveQuestion, strLastQuestion;
    bool bKeptAfterNo = false, bGoneAtOnce = false, bDeleteEnabledAtEnd = true;
    std::string strActiveAfterB;
    std::vector<std::string> entriesAtEnd{"not read"};
    RunApplet([&](HWND hDlg) {
        SelectEntry(hDlg, "C");
        strDeclined = ClickAndAnswer(hDlg, IDC_DELETE, IDNO);
        bKeptAfterNo = KeyExists(HKEY_LOCAL_MACHINE, KeyOf("C"));
        SelectEntry(hDlg, "C");
        strConfirmed = ClickAndAnswer(hDlg, IDC_DELETE, IDYES);
        bGoneAtOnce = !KeyExists(HKEY_LOCAL_MACHINE, KeyOf("C"));

        SelectEntry(hDlg, "B");
        strActiveQuestion = ClickAndAnswer(hDlg, IDC_DELETE, IDYES);
        strActiveAfterB = GetText(kConfigurations, "ActiveConfiguration");

        SelectEntry(hDlg, "A");
        strLastQuestion = ClickAndAnswer(hDlg, IDC_DELETE, IDYES);
        entriesAtEnd = ListEntries(hDlg);
        bDeleteEnabledAtEnd = IsWindowEnabled(GetDlgItem(hDlg, IDC_DELETE)) != FALSE;
        Click(hDlg, IDCANCEL);
    });

    EXPECT_EQ("Soll die Konfiguration \x84"
              "C\x93 gel\xF6scht werden?",
              strDeclined);
    EXPECT_TRUE(bKeptAfterNo);
    EXPECT_EQ(strDeclined, strConfirmed);
    EXPECT_TRUE(bGoneAtOnce);
    EXPECT_EQ("\x84"
              "B\x93 ist die aktive Konfiguration. Nach dem L\xF6schen wird \x84"
              "A\x93 "
              "aktiv.\n\nSoll die Konfiguration \x84"
              "B\x93 gel\xF6scht werden?",
              strActiveQuestion);
    EXPECT_EQ("A", strActiveAfterB);
    EXPECT_EQ("\x84"
              "A\x93 ist die aktive und einzige Konfiguration. Nach dem L\xF6schen ist "
              "keine Konfiguration aktiv.\n\nSoll die Konfiguration \x84"
              "A\x93 gel\xF6scht "
              "werden?",
              strLastQuestion);
    EXPECT_TRUE(entriesAtEnd.empty());
    EXPECT_FALSE(bDeleteEnabledAtEnd);
    EXPECT_TRUE(Subkeys(kConfigurations).empty());
    EXPECT_FALSE(ValueExists(kConfigurations, "ActiveConfiguration"));
}

TEST_F(AppletTest, StartsWithoutAnyProductKeyAndCreatesThePath) {
    DeleteTree(HKEY_LOCAL_MACHINE, PRODUCT_KEY);
    std::vector<std::string> entriesBefore{"not read"};
    std::string strActiveLabel;
    bool bSettingsEnabled = true;
    RunApplet([&](HWND hDlg) {
        entriesBefore = ListEntries(hDlg);
        strActiveLabel = ItemText(hDlg, IDC_ACTIVE_NAME);
        bSettingsEnabled = IsWindowEnabled(GetDlgItem(hDlg, IDC_USE_OUTPUT_PATH)) != FALSE;
        SetItemText(hDlg, IDC_NEW_NAME, "Erste");
        Click(hDlg, IDC_CREATE);
        Click(hDlg, IDOK);
    });
    EXPECT_TRUE(entriesBefore.empty());
    EXPECT_EQ("(keine)", strActiveLabel);
    EXPECT_FALSE(bSettingsEnabled);
    EXPECT_EQ(std::vector<std::string>{"Erste"}, Subkeys(kConfigurations));
    EXPECT_FALSE(ValueExists(kConfigurations, "ActiveConfiguration"));
}

TEST_F(AppletTest, EnterInTheNameFieldCreatesInsteadOfClosing) {
    bool bOpenAfterEnter = false;
    RunApplet([&](HWND hDlg) {
        HWND hName = GetDlgItem(hDlg, IDC_NEW_NAME);
        SetItemText(hDlg, IDC_NEW_NAME, "Per Eingabetaste");
        SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hName), TRUE);
        PostMessageA(hName, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_SOON(KeyExists(HKEY_LOCAL_MACHINE, KeyOf("Per Eingabetaste")));
        SendMessageA(hDlg, WM_NULL, 0, 0);
        bOpenAfterEnter = IsWindowVisible(hDlg) != FALSE;
        Click(hDlg, IDOK);
    });
    EXPECT_TRUE(bOpenAfterEnter);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, KeyOf("Per Eingabetaste")));
}

} // namespace

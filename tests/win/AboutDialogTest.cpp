// The About box run modally for real: registry bit, version line, texts and cursor.
#include "ui/AboutDialog.h"

#include "DrivenAboutDialog.h"
#include "DrivenWindow.h"
#include "MessageBoxRecorder.h"
#include "RegistryTestUtil.h"
#include "framework/ResourceString.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace regtest;

namespace {

const std::string kConfigurationKey = "SOFTWARE\\VeltraneSystems\\Quillon\\Configuration";
const std::string kDebugKey = "SOFTWARE\\VeltraneSystems\\Quillon\\Debug";

// The product keys are those of a scratch tree that starts empty.
class AboutDialogTest : public ::testing::Test {
protected:
    static std::optional<uint32_t> Reporting() {
        RawValue raw = GetRaw(HKEY_LOCAL_MACHINE, kConfigurationKey, "Reporting");
        if (raw.nError != ERROR_SUCCESS)
            return std::nullopt;
        EXPECT_EQ(raw.dwType, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(raw.data.size(), 4u);
        uint32_t dw = 0;
        for (size_t i = raw.data.size(); i-- > 0;)
            dw = (dw << 8) | raw.data[i];
        return dw;
    }

    ScratchLocalMachine m_scratch;
};

enum class Close { OK, Escape };

struct DebugModeCase {
    uint32_t dwBefore; // Reporting before the box opens; the check box is clicked once
    Close eClose;
    bool bTickedOnOpen;
    std::optional<uint32_t> optAfter;
};

TEST_F(AboutDialogTest, DebugModeIsBitZeroOfReporting) {
    const DebugModeCase cases[] = {
        {6, Close::OK, false, 7},
        {7, Close::OK, true, 6},
        {0xF0000001, Close::OK, true, 0xF0000000},
        {0xFFFFFFFE, Close::OK, false, 0xFFFFFFFF},
        {6, Close::Escape, false, 6},
    };
    for (const DebugModeCase& c : cases) {
        SCOPED_TRACE(c.dwBefore);
        ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "Reporting", c.dwBefore));
        bool bTickedOnOpen = !c.bTickedOnOpen;
        INT_PTR nResult = RunAbout([&](DrivenAboutDialog& d) {
            bTickedOnOpen = d.IsTicked();
            SendMessageA(d.Item(IDC_DEBUG_MODE), BM_CLICK, 0, 0);
            if (c.eClose == Close::OK)
                d.ClickOK();
            else
                d.PressEscape();
        });
        EXPECT_EQ(nResult, c.eClose == Close::OK ? IDOK : IDCANCEL);
        EXPECT_EQ(bTickedOnOpen, c.bTickedOnOpen);
        EXPECT_EQ(Reporting(), c.optAfter);
    }
}

TEST_F(AboutDialogTest, MissingReportingIsReportedAndOpensUnticked) {
    const std::string strValuePath = "HKEY_LOCAL_MACHINE\\" + kConfigurationKey + "\\Reporting";
    const struct {
        bool bClickCheckBox;
        Close eClose;
        std::optional<uint32_t> optAfter;
    } cases[] = {
        {true, Close::Escape, std::nullopt},
        {true, Close::OK, 1},
        {false, Close::OK, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "click " << c.bClickCheckBox << " OK " << (c.eClose == Close::OK));
        ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, kConfigurationKey));
        DeleteValue(HKEY_LOCAL_MACHINE, kConfigurationKey, "Reporting");
        MessageBoxRecorder recorder;
        bool bTickedOnOpen = true;
        size_t nBoxesBeforeOpen = 99;
        RunAbout([&](DrivenAboutDialog& d) {
            nBoxesBeforeOpen = recorder.Boxes().size();
            bTickedOnOpen = d.IsTicked();
            if (c.bClickCheckBox)
                SendMessageA(d.Item(IDC_DEBUG_MODE), BM_CLICK, 0, 0);
            if (c.eClose == Close::OK)
                d.ClickOK();
            else
                d.PressEscape();
        });
        EXPECT_EQ(nBoxesBeforeOpen, 1u);
        EXPECT_FALSE(bTickedOnOpen);
        // OK's own read is silent: still the one box.
        std::vector<MessageBoxRequest> boxes = recorder.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].strText, ReportText(ERROR_FILE_NOT_FOUND, SizeStep(strValuePath)));
        EXPECT_EQ(boxes[0].strCaption, kReportCaption);
        EXPECT_EQ(boxes[0].nType, kReportFlags);
        EXPECT_EQ(Reporting(), c.optAfter);
    }
}

struct VersionCase {
    std::optional<uint32_t> optBuildTime;
    std::optional<std::string> optKernelBuild;
    const char* pszExpected;
};

TEST_F(AboutDialogTest, VersionLine) {
    const VersionCase cases[] = {
        {1234, "5.01", "Veltrane Quillon V.2.00 (1234)  Kernel-Version 5.01"},
        {std::nullopt, std::nullopt, "Veltrane Quillon V.2.00  Kernel-Version "},
        {0, "5.01", "Veltrane Quillon V.2.00  Kernel-Version 5.01"},
        {4294967295u, std::nullopt, "Veltrane Quillon V.2.00 (4294967295)  Kernel-Version "},
    };
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "Reporting", 0));
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.pszExpected);
        // Each case starts without the Debug key; a missing key is as silent as a missing value.
        DeleteTree(HKEY_LOCAL_MACHINE, kDebugKey);
        if (c.optBuildTime) {
            ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kDebugKey, "BuildTime", *c.optBuildTime));
        }
        if (c.optKernelBuild) {
            ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kDebugKey, "KernelBuild", *c.optKernelBuild));
        }
        std::string strLine;
        RunAbout([&](DrivenAboutDialog& d) {
            strLine = d.GetDlgItemText(IDC_VERSION_LINE);
            d.PressEscape();
        });
        EXPECT_EQ(strLine, c.pszExpected);
    }
}

TEST_F(AboutDialogTest, TextsAreExpandedAndFilledIn) {
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "Reporting", 0));
    std::string strCaption, strSupport, strDebug, strWarning, strLink, strMaker;
    DWORD dwContextId = 0;
    RunAbout([&](DrivenAboutDialog& d) {
        strCaption = d.GetWindowText();
        strSupport = d.GetDlgItemText(IDC_SUPPORT_NOTE);
        strDebug = d.GetDlgItemText(IDC_DEBUG_MODE);
        strWarning = d.GetDlgItemText(IDC_LEGAL_WARNING);
        strLink = d.GetDlgItemText(IDC_WEB_LINK);
        strMaker = d.GetDlgItemText(IDC_MAKER_NOTICE);
        dwContextId = GetWindowContextHelpId(d.m_hWnd);
        d.PressEscape();
    });
    EXPECT_EQ(strCaption, "Info zu Veltrane Quillon");
    EXPECT_EQ(strSupport, "Antworten auf h\xE4ufige Fragen zu Veltrane Quillon und aktuelle "
                          "Versionen finden Sie auf unserer Website:");
    EXPECT_EQ(strDebug,
              "&Debugging-Modus - Nur auf Anweisung von VeltraneSystems-Support verwenden");
    // The two strings follow each other without a separator.
    EXPECT_EQ(strWarning,
              LoadResourceString(IDS_LEGAL_WARNING_1) + LoadResourceString(IDS_LEGAL_WARNING_2));
    EXPECT_EQ(strWarning, "  ");
    EXPECT_EQ(strLink, "www.veltrane.example");
    EXPECT_EQ(strMaker, "Copyright \xA9 1998-2001 VeltraneSystems. Alle Rechte vorbehalten.");
    EXPECT_EQ(dwContextId, 46u);
}

TEST_F(AboutDialogTest, PointingHandOnlyOverTheLink) {
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "Reporting", 0));
    const HCURSOR hArrow = LoadCursor(nullptr, IDC_ARROW);
    const HCURSOR hHand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINKHAND));
    ASSERT_NE(hHand, nullptr);
    ASSERT_NE(hHand, hArrow);
    HCURSOR hLoaded = nullptr, hOverLink = nullptr, hOverCheckBox = nullptr, hOverDialog = nullptr,
            hWithoutCursor = nullptr;
    LRESULT lOverLink = 0;
    RunAbout([&](DrivenAboutDialog& d) {
        hLoaded = d.m_hLinkCursor;
        auto CursorOver = [&](HWND hWnd, LRESULT* plResult = nullptr) {
            SetCursor(hArrow);
            LRESULT lResult = SendMessageA(d.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd),
                                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            if (plResult)
                *plResult = lResult;
            return GetCursor();
        };
        hOverLink = CursorOver(d.Item(IDC_WEB_LINK), &lOverLink);
        // From the hand back to the arrow, through the dialog's default processing.
        SetCursor(hHand);
        SendMessageA(d.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(d.Item(IDC_DEBUG_MODE)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        hOverCheckBox = GetCursor();
        SetCursor(hHand);
        SendMessageA(d.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(d.m_hWnd),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        hOverDialog = GetCursor();
        d.m_hLinkCursor = nullptr;
        hWithoutCursor = CursorOver(d.Item(IDC_WEB_LINK));
        d.PressEscape();
    });
    EXPECT_EQ(hLoaded, hHand);
    EXPECT_EQ(hOverLink, hHand);
    EXPECT_EQ(lOverLink, TRUE);
    EXPECT_EQ(hOverCheckBox, hArrow);
    EXPECT_EQ(hOverDialog, hArrow);
    EXPECT_EQ(hWithoutCursor, hArrow);
}

TEST_F(AboutDialogTest, AboutCommandRunsTheBoxModally) {
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, kConfigurationKey, "Reporting", 6));
    HWND hFound = nullptr;
    RunDriven(
        "Info zu Veltrane Quillon",
        [] {
            OnAppAbout();
            return true;
        },
        [&](HWND hWnd) {
            hFound = hWnd;
            EXPECT_EQ(GetWindow(hWnd, GW_OWNER), nullptr);
            SendMessageA(GetDlgItem(hWnd, IDC_DEBUG_MODE), BM_CLICK, 0, 0);
            PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
        });
    ASSERT_NE(hFound, nullptr);
    EXPECT_FALSE(IsWindow(hFound));
    EXPECT_EQ(Reporting(), 7u);
}

} // namespace

// A StaticLink as the About box holds one: its colouring and its clicks.
#include "ui/StaticLink.h"

#include "DrivenAboutDialog.h"
#include "MessageBoxRecorder.h"
#include "RegistryTestUtil.h"
#include "config/RegistryPaths.h"
#include "res/resource.h"
#include "ui/ShellCalls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace regtest;

namespace {

// What a WM_CTLCOLORSTATIC for the link leaves in a device context.
struct Colouring {
    LRESULT lBrush = 0;
    COLORREF crText = CLR_INVALID;
    int nBkMode = 0;
    HFONT hFont = nullptr;
    LOGFONTA lf{};
};

Colouring ColourLink(DrivenAboutDialog& d) {
    Colouring result;
    HDC hDC = CreateCompatibleDC(nullptr);
    result.lBrush = SendMessageA(d.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                 reinterpret_cast<LPARAM>(d.Item(IDC_WEB_LINK)));
    result.crText = GetTextColor(hDC);
    result.nBkMode = GetBkMode(hDC);
    result.hFont = static_cast<HFONT>(GetCurrentObject(hDC, OBJ_FONT));
    GetObjectA(result.hFont, sizeof result.lf, &result.lf);
    DeleteDC(hDC);
    return result;
}

void ClickLink(DrivenAboutDialog& d) {
    SendMessageA(d.Item(IDC_WEB_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(d.Item(IDC_WEB_LINK), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

// The box reads Reporting when it opens; a missing value would be reported.
class StaticLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, "Reporting", 0));
    }

    ScratchLocalMachine m_scratch;
};

TEST_F(StaticLinkTest, ColouredUnderlinedAndTransparent) {
    Colouring first, second;
    LOGFONTA lfControl{};
    RunAbout([&](DrivenAboutDialog& d) {
        first = ColourLink(d);
        second = ColourLink(d);
        HFONT hControlFont =
            reinterpret_cast<HFONT>(SendMessageA(d.Item(IDC_WEB_LINK), WM_GETFONT, 0, 0));
        GetObjectA(hControlFont, sizeof lfControl, &lfControl);
        d.PressEscape();
    });
    EXPECT_EQ(first.lBrush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(first.crText, RGB(0, 0, 255));
    EXPECT_EQ(first.nBkMode, TRANSPARENT);
    EXPECT_TRUE(first.lf.lfUnderline);
    // A copy of the control's own font, made once.
    EXPECT_FALSE(lfControl.lfUnderline);
    EXPECT_EQ(first.lf.lfHeight, lfControl.lfHeight);
    EXPECT_STREQ(first.lf.lfFaceName, lfControl.lfFaceName);
    EXPECT_EQ(second.hFont, first.hFont);
}

struct ClickCase {
    INT_PTR nShellResult;
    bool bVisited;
};

struct ClickOutcome {
    std::vector<std::string> opened;
    int bVisited = -1;
    bool bRedrawPending = false;
    COLORREF crText = CLR_INVALID;
    std::vector<UINT> beeps;
};

TEST_F(StaticLinkTest, ClickOpensTheAddressAndTurnsPurpleOnlyOnSuccess) {
    const ClickCase cases[] = {
        {42, true}, {33, true}, {32, false}, {SE_ERR_FNF, false}, {0, false}};
    MessageBoxRecorder recorder;
    INT_PTR nShellResult = 0;
    std::vector<std::string> opened;
    ScopedShellOpen hook([&](const char* pszFile) {
        opened.push_back(pszFile);
        return reinterpret_cast<HINSTANCE>(nShellResult);
    });
    std::vector<ClickOutcome> outcomes;
    // One visible box for all cases: only a visible window collects a region to redraw,
    // and each visible window costs seconds under Wine without a window manager.
    RunAbout([&](DrivenAboutDialog& d) {
        HWND hLink = d.Item(IDC_WEB_LINK);
        ShowWindow(d.m_hWnd, SW_SHOWNA);
        for (const ClickCase& c : cases) {
            nShellResult = c.nShellResult;
            opened.clear();
            d.m_link.m_bVisited = 0;
            UpdateWindow(d.m_hWnd);
            size_t nBeepsBefore = recorder.Beeps().size();
            ClickLink(d);
            ClickOutcome outcome;
            outcome.opened = opened;
            outcome.bVisited = d.m_link.m_bVisited;
            outcome.bRedrawPending = GetUpdateRect(hLink, nullptr, FALSE) != FALSE;
            outcome.crText = ColourLink(d).crText;
            std::vector<UINT> beeps = recorder.Beeps();
            outcome.beeps.assign(beeps.begin() + nBeepsBefore, beeps.end());
            outcomes.push_back(outcome);
        }
        d.PressEscape();
    });
    ASSERT_EQ(outcomes.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const ClickCase& c = cases[i];
        const ClickOutcome& outcome = outcomes[i];
        SCOPED_TRACE(c.nShellResult);
        EXPECT_EQ(outcome.opened, (std::vector<std::string>{"www.veltrane.example"}));
        EXPECT_EQ(outcome.bVisited, c.bVisited ? 1 : 0);
        EXPECT_EQ(outcome.bRedrawPending, c.bVisited);
        EXPECT_EQ(outcome.crText, c.bVisited ? RGB(128, 0, 128) : RGB(0, 0, 255));
        EXPECT_EQ(outcome.beeps, c.bVisited ? std::vector<UINT>{} : std::vector<UINT>{0});
    }
    EXPECT_TRUE(recorder.Boxes().empty());
}

TEST_F(StaticLinkTest, AddressIsTheTextAtTheFirstClick) {
    std::vector<std::string> opened;
    ScopedShellOpen hook([&](const char* pszFile) {
        opened.push_back(pszFile);
        return reinterpret_cast<HINSTANCE>(42);
    });
    RunAbout([&](DrivenAboutDialog& d) {
        SetWindowTextA(d.Item(IDC_WEB_LINK), "http://first.example/");
        ClickLink(d);
        SetWindowTextA(d.Item(IDC_WEB_LINK), "http://second.example/");
        ClickLink(d);
        d.PressEscape();
    });
    EXPECT_EQ(opened, (std::vector<std::string>{"http://first.example/", "http://first.example/"}));
}

TEST_F(StaticLinkTest, ColouringAddsNotifySoClicksArrive) {
    int nOpened = 0;
    ScopedShellOpen hook([&](const char*) {
        ++nOpened;
        return reinterpret_cast<HINSTANCE>(42);
    });
    int nOpenedBeforeColouring = -1;
    LONG lStyleAfter = 0;
    RunAbout([&](DrivenAboutDialog& d) {
        HWND hLink = d.Item(IDC_WEB_LINK);
        SetWindowLongA(hLink, GWL_STYLE, GetWindowLongA(hLink, GWL_STYLE) & ~SS_NOTIFY);
        ClickLink(d);
        nOpenedBeforeColouring = nOpened;
        ColourLink(d);
        lStyleAfter = GetWindowLongA(hLink, GWL_STYLE);
        ClickLink(d);
        d.PressEscape();
    });
    EXPECT_EQ(nOpenedBeforeColouring, 0);
    EXPECT_TRUE(lStyleAfter & SS_NOTIFY);
    EXPECT_EQ(nOpened, 1);
}

TEST_F(StaticLinkTest, OnlyTextStaticsAreColoured) {
    const struct {
        LONG lType;
        bool bColoured;
    } cases[] = {
        {SS_LEFT, true},
        {SS_CENTER, true},
        {SS_RIGHT, true},
        {SS_LEFT | SS_NOPREFIX, true},
        {SS_ICON, false},
        {SS_BLACKRECT, false},
        {SS_LEFTNOWORDWRAP, false},
    };
    std::vector<Colouring> colourings;
    RunAbout([&](DrivenAboutDialog& d) {
        HWND hLink = d.Item(IDC_WEB_LINK);
        const LONG lOriginal = GetWindowLongA(hLink, GWL_STYLE);
        for (const auto& c : cases) {
            SetWindowLongA(hLink, GWL_STYLE, (lOriginal & ~(SS_TYPEMASK | SS_NOPREFIX)) | c.lType);
            colourings.push_back(ColourLink(d));
        }
        SetWindowLongA(hLink, GWL_STYLE, lOriginal);
        d.PressEscape();
    });
    ASSERT_EQ(colourings.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].lType);
        EXPECT_EQ(colourings[i].lBrush == reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)),
                  cases[i].bColoured);
        EXPECT_EQ(colourings[i].crText == RGB(0, 0, 255), cases[i].bColoured);
    }
}

} // namespace

// Resource strings and window texts with their placeholders expanded, for real.
#include "res/resource.h"
#include "ui/LocalisedTextWin.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LocalisedText, LoadsAndExpandsStrings) {
    EXPECT_STREQ(LoadExpandedString(IDS_NO_PRINTER),
                 "Drucker f\xFCr Veltrane Quillon nicht gefunden.  Abbruch.");
    EXPECT_STREQ(LoadExpandedString(IDS_VERSION_PREFIX), "Veltrane Quillon V.");
    // Strings without placeholders come back as the resources hold them.
    EXPECT_STREQ(LoadExpandedString(IDS_CAPTION), "PostScript zu PDF");
}

TEST(LocalisedText, MissingStringIsEmpty) {
    const char* psz = LoadExpandedString(IDS_CAPTION);
    ASSERT_STRNE(psz, "");
    EXPECT_STREQ(LoadExpandedString(9999), "");
}

TEST(LocalisedText, FourSlotsRotate) {
    const char* apsz[5];
    const UINT ids[5] = {IDS_CAPTION, IDS_NO_PRINTER, IDS_VERSION_PREFIX, IDS_PAUSE, IDS_RESUME};
    for (int i = 0; i < 5; ++i)
        apsz[i] = LoadExpandedString(ids[i]);
    // The first four are distinct buffers, still holding their own texts.
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            EXPECT_NE(apsz[i], apsz[j]);
    EXPECT_STREQ(apsz[1], "Drucker f\xFCr Veltrane Quillon nicht gefunden.  Abbruch.");
    EXPECT_STREQ(apsz[3], "&Pause");
    // The fifth reuses the first slot and overwrites its text.
    EXPECT_EQ(apsz[4], apsz[0]);
    EXPECT_STREQ(apsz[0], "&Weiter");
}

class WindowTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_hWnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_hWnd, nullptr);
    }
    void TearDown() override { DestroyWindow(m_hWnd); }
    std::string Expand(const std::string& strText) {
        SetWindowTextA(m_hWnd, strText.c_str());
        ExpandWindowText(m_hWnd);
        char szText[4096] = "";
        GetWindowTextA(m_hWnd, szText, sizeof szText);
        return szText;
    }
    HWND m_hWnd = nullptr;
};

TEST_F(WindowTextTest, ExpandsTheWindowsText) {
    EXPECT_EQ(Expand("Info zu $PR$"), "Info zu Veltrane Quillon");
    EXPECT_EQ(Expand("&Debugging-Modus - Nur auf Anweisung von $SN$-Support verwenden"),
              "&Debugging-Modus - Nur auf Anweisung von VeltraneSystems-Support verwenden");
    EXPECT_EQ(Expand("ohne Platzhalter \xFC"), "ohne Platzhalter \xFC");
}

TEST_F(WindowTextTest, LongTextIsCutTo1023BytesAndStillExpandedWhereItFits) {
    std::string strLong = "$SN$" + std::string(1500, 'x');
    std::string strResult = Expand(strLong);
    // 1023 bytes are read; the expansion does not fit in 1024 and is skipped.
    EXPECT_EQ(strResult, strLong.substr(0, 1023));
    std::string strFits = "$SN$" + std::string(1000, 'y');
    EXPECT_EQ(Expand(strFits), "VeltraneSystems" + std::string(1000, 'y'));
}

// A control missing from a template comes as a null window: no call is made on it, so
// the last error is left as it was.
TEST(LocalisedText, NullWindowIsIgnored) {
    SetLastError(ERROR_SUCCESS);
    ExpandWindowText(nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

} // namespace

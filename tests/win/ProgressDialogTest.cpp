// The single-file progress dialog driven for real while the fake spooler holds the job:
// it closes only when the job has ended, Pause and Abbrechen act on the job, and its
// system menu reaches the About box.
#include "DrivenWindow.h"
#include "FakeSpooler.h"
#include "MessageBoxRecorder.h"
#include "RegistryTestUtil.h"
#include "Waiting.h"

#include "app/ConverterApp.h"
#include "config/RegistryPaths.h"
#include "engine/JobControl.h"
#include "engine/PrinterDiscoveryWin.h"
#include "framework/SystemMessage.h"
#include "framework/ThreadCalls.h"
#include "res/resource.h"
#include "ui/ProgressDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

const char kCaption[] = "PostScript zu PDF";

std::string ItemText(HWND hDlg, int nID) {
    char szText[512] = "";
    GetDlgItemTextA(hDlg, nID, szText, sizeof szText);
    return szText;
}

class ProgressDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (SettingCell* pCell : {&m_app.SaveRequest, &m_app.General})
            pCell->Allocate();
        m_app.SaveRequest.Set(1);
        m_app.General.Set(0);
        regtest::SetDword(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, "Reporting", 0);

        FakePrinter printer;
        printer.optName = "Quillon";
        printer.optDriver = "Veltrane Quillon";
        m_fake.AddPrinter(printer);
        char szName[] = "Quillon";
        ASSERT_TRUE(TheSpooler().OpenPrinterA(szName, &g_hPrinter, nullptr));

        char szTemp[MAX_PATH];
        GetTempPathA(sizeof szTemp, szTemp);
        m_strInput = std::string(szTemp) + "PsZuPdfProgress.ps";
        m_strData = "%!PS\n" + std::string(40000, 'x');
        HANDLE hFile = CreateFileA(m_strInput.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD dwWritten = 0;
        WriteFile(hFile, m_strData.data(), static_cast<DWORD>(m_strData.size()), &dwWritten,
                  nullptr);
        CloseHandle(hFile);
        m_fake.BlockWrite(0);
    }

    void TearDown() override {
        TheSpooler().ClosePrinter(g_hPrinter);
        g_hPrinter = nullptr;
        DeleteFileA(m_strInput.c_str());
        g_bPauseRequested = false;
        g_bCancelRequested = false;
    }

    // Runs the dialog on this thread while the driver acts on it from another one, with
    // the first write of the job held until the driver releases it. After the driver every
    // held write is let go: the dialog closes when the job ends.
    INT_PTR Run(const std::function<void(HWND)>& driver) {
        ProgressDialog dialog;
        dialog.m_strSource = m_strInput;
        dialog.m_strDestination = "C:\\out\\PsZuPdfProgress.pdf";
        m_app.m_pMainWnd = &dialog;
        INT_PTR nResult = RunDriven(
            kCaption, [&] { return dialog.DoModal(); },
            [&](HWND hDlg) {
                ASSERT_TRUE(m_fake.WaitForBlockedWrite());
                driver(hDlg);
            },
            [this](HWND hDlg) {
                m_fake.ReleaseAllWrites();
                EndAfterDriver(hDlg);
            });
        m_app.m_pMainWnd = nullptr;
        return nResult;
    }

    // Waits until the dialog's thread has handled every message posted to it before: it
    // handles posted messages in order, and this one moves the bar where nothing else does.
    static ::testing::AssertionResult PostedMessagesHandled(HWND hDlg) {
        HWND hBar = GetDlgItem(hDlg, IDC_PROGRESS);
        PostMessageA(hBar, PBM_SETPOS, 57, 0);
        return EventuallyEqual(
            "the bar's position", [&] { return SendMessageA(hBar, PBM_GETPOS, 0, 0); },
            LRESULT{57});
    }

    bool IsOpen(HWND hDlg) { return IsWindow(hDlg) && IsWindowVisible(hDlg); }

    regtest::ScratchLocalMachine m_scratch;
    ConverterApp m_app;
    FakeSpooler m_fake;
    FakeSpoolerInstaller m_installer{m_fake};
    MessageBoxRecorder m_boxes;
    std::string m_strInput, m_strData;
};

TEST_F(ProgressDialogTest, ClosesByItselfWhenTheJobEndsAndNotBefore) {
    std::string strSource, strDestination;
    INT_PTR nResult = Run([&](HWND hDlg) {
        strSource = ItemText(hDlg, IDC_SOURCE);
        strDestination = ItemText(hDlg, IDC_DESTINATION);
        HWND hPause = GetDlgItem(hDlg, IDC_PAUSE);
        SendMessageA(hPause, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(hPause, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(hPause, WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
        SendMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); // Alt+F4
        SendMessageA(hDlg, WM_CLOSE, 0, 0);
        EXPECT_TRUE(PostedMessagesHandled(hDlg));
        EXPECT_TRUE(IsOpen(hDlg));
        EXPECT_FALSE(g_bJobFinished);
        m_fake.ReleaseWrite();
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(strSource, m_strInput);
    EXPECT_EQ(strDestination, "C:\\out\\PsZuPdfProgress.pdf");
    ASSERT_EQ(m_fake.Documents().size(), 1u);
    EXPECT_EQ(m_fake.Documents()[0].strBytes,
              m_strData + "\nsystemdict /BrisolDict get /DoneShowPage get not {showpage} if\n");
    EXPECT_TRUE(m_boxes.Boxes().empty());
    // Nothing points at the dialog once it is gone.
    EXPECT_EQ(g_pProgressOwner.load(), nullptr);
    EXPECT_EQ(g_pProgressBar.load(), nullptr);
}

TEST_F(ProgressDialogTest, WorkerThatCannotStartIsToldAndTheDialogEnds) {
    ScopedStartThread noThread([](LPTHREAD_START_ROUTINE, void*) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return HANDLE{nullptr};
    });
    ProgressDialog dialog;
    dialog.m_strSource = m_strInput;
    dialog.m_strDestination = "C:\\out\\PsZuPdfProgress.pdf";
    m_app.m_pMainWnd = &dialog;
    INT_PTR nResult = RunEndingByItself(
        "the dialog to end", [&] { return dialog.DoModal(); },
        [] {
            // As if the job had ended: the dialog takes a close then.
            g_bJobFinished = true;
            if (HWND hDlg = FindWindowA("#32770", kCaption))
                PostMessageA(hDlg, WM_CLOSE, 0, 0);
        });
    m_app.m_pMainWnd = nullptr;
    EXPECT_EQ(nResult, IDCANCEL);
    std::vector<MessageBoxRequest> boxes = m_boxes.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText, SystemErrorText(ERROR_NOT_ENOUGH_MEMORY, 255));
    EXPECT_EQ(boxes[0].strCaption, kCaption);
    EXPECT_EQ(boxes[0].nType, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_TRUE(m_fake.Calls(SpoolerFunction::StartDocPrinter).empty());
    EXPECT_EQ(g_pProgressOwner.load(), nullptr);
}

TEST_F(ProgressDialogTest, PauseTwiceRestoresTheCaption) {
    std::string strPaused, strResumed;
    bool bPausedFlag = false;
    Run([&](HWND hDlg) {
        HWND hPause = GetDlgItem(hDlg, IDC_PAUSE);
        SendMessageA(hPause, BM_CLICK, 0, 0);
        strPaused = ItemText(hDlg, IDC_PAUSE);
        bPausedFlag = g_bPauseRequested;
        SendMessageA(hPause, BM_CLICK, 0, 0);
        strResumed = ItemText(hDlg, IDC_PAUSE);
        m_fake.ReleaseWrite();
    });
    EXPECT_EQ(strPaused, "&Weiter");
    EXPECT_TRUE(bPausedFlag);
    EXPECT_EQ(strResumed, "&Pause");
    EXPECT_FALSE(g_bPauseRequested);
}

TEST_F(ProgressDialogTest, CancelAnsweredNoKeepsThePauseAndYesStopsTheJob) {
    bool bStillPaused = false;
    std::string strCaptionAfterNo;
    m_boxes.Answer({IDNO, IDYES});
    INT_PTR nResult = Run([&](HWND hDlg) {
        SendMessageA(GetDlgItem(hDlg, IDC_PAUSE), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(hDlg, IDC_PROGRESS_CANCEL), BM_CLICK, 0, 0);
        bStillPaused = g_bPauseRequested && !g_bCancelRequested;
        strCaptionAfterNo = ItemText(hDlg, IDC_PAUSE);
        SendMessageA(GetDlgItem(hDlg, IDC_PROGRESS_CANCEL), BM_CLICK, 0, 0);
        m_fake.ReleaseWrite();
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_TRUE(bStillPaused);
    EXPECT_EQ(strCaptionAfterNo, "&Weiter");

    std::vector<MessageBoxRequest> boxes = m_boxes.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].strText,
              "Sind Sie sicher, da\xDF Sie den Ausdruck dieses Dokument abbrechen wollen?");
    EXPECT_EQ(boxes[0].strCaption, "Abbruch best\xE4tigen");
    EXPECT_EQ(boxes[0].nType, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_NE(boxes[0].hOwner, nullptr);
    EXPECT_EQ(m_boxes.Beeps(), (std::vector<UINT>{MB_ICONEXCLAMATION, MB_ICONEXCLAMATION}));
    // Only the block that was being written reached the spooler, without the trailer.
    ASSERT_EQ(m_fake.Documents().size(), 1u);
    EXPECT_EQ(m_fake.Documents()[0].strBytes, m_strData.substr(0, 16384));
    EXPECT_TRUE(m_fake.Documents()[0].bEnded);
}

TEST_F(ProgressDialogTest, SystemMenuEndsWithTheAboutEntryWhichOpensWhileConverting) {
    int nCount = 0;
    UINT nLastId = 0, nSeparatorType = 0;
    std::string strLast;
    INT_PTR nResult = Run([&](HWND hDlg) {
        HMENU hMenu = GetSystemMenu(hDlg, FALSE);
        nCount = GetMenuItemCount(hMenu);
        nLastId = GetMenuItemID(hMenu, nCount - 1);
        char szText[128] = "";
        GetMenuStringA(hMenu, nCount - 1, szText, sizeof szText, MF_BYPOSITION);
        strLast = szText;
        nSeparatorType = GetMenuState(hMenu, nCount - 2, MF_BYPOSITION);
        PostMessageA(hDlg, WM_SYSCOMMAND, IDM_SYS_ABOUT, 0);
        HWND hAbout = WaitForWindow("Info zu Veltrane Quillon");
        ASSERT_NE(hAbout, nullptr);
        // The job goes on and ends while the About box is open.
        m_fake.ReleaseWrite();
        EXPECT_SOON(g_bJobFinished);
        PostMessageA(hAbout, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_GE(nCount, 2);
    EXPECT_EQ(nLastId, static_cast<UINT>(IDM_SYS_ABOUT));
    EXPECT_EQ(strLast, "&Info zu Inkport...");
    EXPECT_TRUE(nSeparatorType & MF_SEPARATOR);
    ASSERT_EQ(m_fake.Documents().size(), 1u);
    EXPECT_TRUE(m_fake.Documents()[0].bEnded);
}

} // namespace

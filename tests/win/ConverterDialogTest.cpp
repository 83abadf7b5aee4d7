// The converter window driven for real: dropped files and File > Open batches against the
// fake spooler, with the window's counters, buttons and menu checked while a job is held.
#include "DrivenWindow.h"
#include "FakeSpooler.h"
#include "MessageBoxRecorder.h"
#include "RegistryTestUtil.h"
#include "Waiting.h"

#include "app/ConverterApp.h"
#include "config/RegistryPaths.h"
#include "engine/BatchDrivers.h"
#include "engine/JobControl.h"
#include "engine/PrinterDiscoveryWin.h"
#include "engine/SpoolWorker.h"
#include "framework/Handle.h"
#include "framework/SystemMessage.h"
#include "framework/ThreadCalls.h"
#include "res/resource.h"
#include "ui/ConverterDialog.h"
#include "ui/FileOpenCommand.h"
#include "ui/ShellCalls.h"

#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

const char kWindowCaption[] = "PostScript-zu-PDF-Konverter";
const std::string kTrailer = "\nsystemdict /BrisolDict get /DoneShowPage get not {showpage} if\n";

std::string ItemText(HWND hWnd, int nID) {
    char szText[512] = "";
    GetDlgItemTextA(hWnd, nID, szText, sizeof szText);
    return szText;
}

bool Enabled(HWND hWnd, int nID) {
    return IsWindowEnabled(GetDlgItem(hWnd, nID)) != FALSE;
}

bool MenuEnabled(HWND hWnd, UINT nID) {
    return !(GetMenuState(GetMenu(hWnd), nID, MF_BYCOMMAND) & MF_GRAYED);
}

// A drop handle as the shell makes it: DROPFILES and the NUL-separated names.
HDROP MakeDrop(const std::vector<std::string>& paths) {
    size_t nBytes = sizeof(DROPFILES) + 1;
    for (const std::string& strPath : paths)
        nBytes += strPath.size() + 1;
    HGLOBAL hGlobal = GlobalAlloc(GHND, nBytes);
    auto* pDrop = static_cast<DROPFILES*>(GlobalLock(hGlobal));
    pDrop->pFiles = sizeof(DROPFILES);
    char* p = reinterpret_cast<char*>(pDrop + 1);
    for (const std::string& strPath : paths) {
        std::memcpy(p, strPath.c_str(), strPath.size() + 1);
        p += strPath.size() + 1;
    }
    GlobalUnlock(hGlobal);
    return static_cast<HDROP>(hGlobal);
}

class ConverterDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* pszName :
             {"SaveRequest", "Reporting", "General", "Fonts", "Colour", "Grey", "Monochrome",
              "Resolution", "ColourResolution", "GreyResolution", "MonoResolution"})
            regtest::SetDword(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, pszName, 0);
        regtest::SetDword(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, "SaveRequest", 1);
        for (const char* pszName : {"EmbedFonts", "NeverEmbedFonts", "OutputPath"})
            regtest::SetText(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, pszName, "");
        regtest::SetText(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, "Install", "C:\\Quillon");
        for (SettingCell* pCell :
             {&m_app.SaveRequest, &m_app.Reporting, &m_app.General, &m_app.Colour, &m_app.Grey,
              &m_app.Monochrome, &m_app.Fonts, &m_app.Resolution, &m_app.ColourResolution,
              &m_app.GreyResolution, &m_app.MonoResolution})
            pCell->Allocate();
        m_app.LoadSettings(); // as start-up does before any window runs

        FakePrinter printer;
        printer.optName = "Quillon";
        printer.optDriver = "Veltrane Quillon";
        m_fake.AddPrinter(printer);
        std::strcpy(g_szPrinterName, "Quillon");

        char szTemp[MAX_PATH];
        GetTempPathA(sizeof szTemp, szTemp);
        m_strDir = std::string(szTemp) + "PsZuPdfWindowTest";
        CreateDirectoryA(m_strDir.c_str(), nullptr);
        for (const char* pszName : {"eins", "zwei", "drei"})
            m_inputs.push_back(MakeFile(pszName));
    }

    void TearDown() override {
        for (const std::string& strPath : m_inputs)
            DeleteFileA(strPath.c_str());
        RemoveDirectoryA((m_strDir + "\\ordner.ps").c_str());
        RemoveDirectoryA(m_strDir.c_str());
        g_szPrinterName[0] = '\0';
        g_bPauseRequested = false;
        g_bCancelRequested = false;
    }

    std::string MakeFile(const std::string& strName) {
        std::string strPath = m_strDir + "\\" + strName + ".ps";
        std::string strData = "%!PS\n% " + strName + "\n";
        HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD dwWritten = 0;
        WriteFile(hFile, strData.data(), static_cast<DWORD>(strData.size()), &dwWritten, nullptr);
        CloseHandle(hFile);
        return strPath;
    }

    // Runs the window on this thread while the driver acts from another one. Held writes
    // are let go after the driver, so a batch left running can end with the window.
    INT_PTR Run(const std::function<void(HWND)>& driver) {
        ConverterDialog dialog;
        m_app.m_pMainWnd = &dialog;
        INT_PTR nResult = RunDriven(
            kWindowCaption, [&] { return dialog.DoModal(); }, driver,
            [this](HWND hWnd) {
                m_fake.ReleaseAllWrites();
                EndAfterDriver(hWnd);
            });
        m_app.m_pMainWnd = nullptr;
        return nResult;
    }

    // Idle after a batch: before the first one the counters are empty, not "0".
    static bool IsIdle(HWND hWnd) {
        return Enabled(hWnd, IDOK) && !Enabled(hWnd, IDC_PAUSE) &&
               !Enabled(hWnd, IDC_CANCEL_BATCH) && ItemText(hWnd, IDC_PROCESSED) == "0" &&
               ItemText(hWnd, IDC_REMAINING) == "0";
    }

    // Waits for the end of a batch; a failure names each part of the idle state missing.
    static ::testing::AssertionResult BecomesIdle(HWND hWnd) {
        if (WaitUntil("the window to be idle after a batch", [&] { return IsIdle(hWnd); }))
            return ::testing::AssertionSuccess();
        ::testing::AssertionResult failure = ::testing::AssertionFailure();
        failure << "not idle after " << kWaitMs / 1000 << " s:";
        if (!Enabled(hWnd, IDOK))
            failure << " Fertig is off;";
        if (Enabled(hWnd, IDC_PAUSE))
            failure << " Pause is on;";
        if (Enabled(hWnd, IDC_CANCEL_BATCH))
            failure << " Abbrechen is on;";
        failure << " processed \"" << ItemText(hWnd, IDC_PROCESSED) << "\", remaining \""
                << ItemText(hWnd, IDC_REMAINING) << "\"";
        return failure;
    }

    static void Click(HWND hWnd, int nID) { SendMessageA(GetDlgItem(hWnd, nID), BM_CLICK, 0, 0); }

    std::vector<std::string> TicketNames() {
        std::vector<std::string> names;
        for (const FakeDocument& doc : m_fake.Documents())
            names.push_back(doc.optDocName.value_or(""));
        return names;
    }

    std::string Ticket(const std::string& strName) {
        return "~JS~ d=" + m_strDir + "\\" + strName + ".pdf c= f=1";
    }

    // Three files dropped, of which the first job cannot be started: the user is told once
    // with the system's text for dwError, the batch ends there, the window is idle and can
    // be closed, and no printer is left open.
    void ExpectBatchEndsAtItsFirstJob(DWORD dwError) {
        INT_PTR nResult = Run([&](HWND hWnd) {
            PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(m_inputs)), 0);
            EXPECT_SOON(!m_boxes.Boxes().empty());
            EXPECT_TRUE(BecomesIdle(hWnd));
            PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(nResult, IDOK);
        std::vector<MessageBoxRequest> boxes = m_boxes.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].strText, SystemErrorText(dwError, 255));
        EXPECT_EQ(boxes[0].strCaption, "PostScript zu PDF");
        EXPECT_EQ(boxes[0].nType, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
        EXPECT_TRUE(m_fake.Documents().empty());
        EXPECT_EQ(m_fake.OpenHandleCount(), 0u);
    }

    regtest::ScratchLocalMachine m_scratch;
    ConverterApp m_app;
    FakeSpooler m_fake;
    FakeSpoolerInstaller m_installer{m_fake};
    MessageBoxRecorder m_boxes;
    ScopedWinHelp m_winHelp{[](HWND, const char*, UINT, ULONG_PTR) { return TRUE; }};
    std::string m_strDir;
    std::vector<std::string> m_inputs;
};

TEST_F(ConverterDialogTest, ThreeDroppedFilesConvertInOrderWithCountersAndButtons) {
    m_fake.BlockWrite(2); // the first write of the second file
    INT_PTR nResult = Run([&](HWND hWnd) {
        EXPECT_SOON(Enabled(hWnd, IDOK));
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_PROCESSED), "");
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(m_inputs)), 0);
        ASSERT_TRUE(m_fake.WaitForBlockedWrite());
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_PROCESSED), "1");
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_REMAINING), "2");
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_INPUT_NAME), m_inputs[1]);
        EXPECT_SOON(!Enabled(hWnd, IDOK));
        EXPECT_SOON(Enabled(hWnd, IDC_PAUSE));
        EXPECT_SOON(Enabled(hWnd, IDC_CANCEL_BATCH));
        EXPECT_SOON(!MenuEnabled(hWnd, IDM_FILE_OPEN));
        EXPECT_SOON(!MenuEnabled(hWnd, IDM_CONFIGURE));
        m_fake.ReleaseWrite();
        EXPECT_TRUE(BecomesIdle(hWnd));
        EXPECT_SOON(MenuEnabled(hWnd, IDM_FILE_OPEN));
        EXPECT_SOON(MenuEnabled(hWnd, IDM_CONFIGURE));
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_INPUT_NAME), "");
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_OUTPUT_NAME), "");
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(TicketNames(),
              (std::vector<std::string>{Ticket("eins"), Ticket("zwei"), Ticket("drei")}));
    EXPECT_EQ(m_fake.OpenHandleCount(), 0u);
    EXPECT_TRUE(m_boxes.Boxes().empty());
    // Nothing points at the window once it is gone.
    EXPECT_EQ(g_pProgressOwner.load(), nullptr);
    EXPECT_EQ(g_pProgressBar.load(), nullptr);
}

TEST_F(ConverterDialogTest, CancelDuringTheSecondFileStopsTheBatch) {
    m_fake.BlockWrite(2);
    m_boxes.Answer({IDYES});
    Run([&](HWND hWnd) {
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(m_inputs)), 0);
        ASSERT_TRUE(m_fake.WaitForBlockedWrite());
        Click(hWnd, IDC_CANCEL_BATCH);
        m_fake.ReleaseWrite();
        EXPECT_TRUE(BecomesIdle(hWnd));
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    std::vector<FakeDocument> docs = m_fake.Documents();
    ASSERT_EQ(docs.size(), 2u); // the third file is not converted
    EXPECT_EQ(docs[0].strBytes, "%!PS\n% eins\n" + kTrailer);
    EXPECT_EQ(docs[1].strBytes, "%!PS\n% zwei\n"); // no trailer line
    EXPECT_TRUE(docs[1].bEnded);
}

TEST_F(ConverterDialogTest, BatchCancelledWhilePausedLeavesTheNextBatchPaused) {
    m_fake.BlockWrite(0);
    m_boxes.Answer({IDYES});
    Run([&](HWND hWnd) {
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({m_inputs[0]})), 0);
        ASSERT_TRUE(m_fake.WaitForBlockedWrite());
        Click(hWnd, IDC_PAUSE);
        Click(hWnd, IDC_CANCEL_BATCH);
        m_fake.ReleaseWrite();
        ASSERT_TRUE(BecomesIdle(hWnd));
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_PAUSE), "&Weiter");
        // The next batch holds its job before the first read until Weiter.
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({m_inputs[1]})), 0);
        ASSERT_SOON(g_bJobHeld);
        std::vector<FakeDocument> docs = m_fake.Documents();
        ASSERT_EQ(docs.size(), 2u);
        EXPECT_EQ(docs[1].strBytes, "");
        Click(hWnd, IDC_PAUSE);
        EXPECT_TRUE(BecomesIdle(hWnd));
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    ASSERT_EQ(m_fake.Documents().size(), 2u);
    EXPECT_EQ(m_fake.Documents()[1].strBytes, "%!PS\n% zwei\n" + kTrailer);
}

TEST_F(ConverterDialogTest, PausedPrinterShowsMessage16AndLeavesTheWindowAlone) {
    m_fake.SetStatus("Quillon", PRINTER_STATUS_PAUSED);
    Run([&](HWND hWnd) {
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(m_inputs)), 0);
        EXPECT_SOON(!m_boxes.Boxes().empty());
        EXPECT_SOON(!g_bBatchRunning); // the batch has ended
        EXPECT_SOON(Enabled(hWnd, IDOK));
        EXPECT_SOON(!Enabled(hWnd, IDC_PAUSE));
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_PROCESSED), "");
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].strText.substr(0, 40), "Der Drucker wurde pausiert und ist daher");
    EXPECT_EQ(m_boxes.Boxes()[0].nType, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_TRUE(m_fake.Documents().empty());
    EXPECT_EQ(m_fake.OpenHandleCount(), 0u);
}

TEST_F(ConverterDialogTest, FolderOrLockedFileInADropIsReportedAndTheBatchGoesOn) {
    std::string strFolder = m_strDir + "\\ordner.ps";
    CreateDirectoryA(strFolder.c_str(), nullptr);
    std::string strLocked = MakeFile("gesperrt");
    m_inputs.push_back(strLocked);
    HANDLE hLock = CreateFileA(strLocked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hLock, INVALID_HANDLE_VALUE);
    Run([&](HWND hWnd) {
        PostMessageA(hWnd, WM_DROPFILES,
                     reinterpret_cast<WPARAM>(MakeDrop({strFolder, strLocked, m_inputs[2]})), 0);
        EXPECT_TRUE(BecomesIdle(hWnd));
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    CloseHandle(hLock);
    ASSERT_EQ(m_boxes.Boxes().size(), 2u);
    EXPECT_EQ(m_boxes.Boxes()[0].strText.rfind("Eingabedatei " + strFolder + " konnte", 0), 0u);
    EXPECT_EQ(m_boxes.Boxes()[1].strText.rfind("Eingabedatei " + strLocked + " konnte", 0), 0u);
    EXPECT_EQ(TicketNames(), (std::vector<std::string>{Ticket("drei")}));
}

TEST_F(ConverterDialogTest, PrinterThatFailsToOpenForALaterFileSkipsTheRest) {
    m_fake.BlockWrite(0);
    Run([&](HWND hWnd) {
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(m_inputs)), 0);
        ASSERT_TRUE(m_fake.WaitForBlockedWrite());
        m_fake.FailOpenPrinter(ERROR_INVALID_PRINTER_NAME); // from the second file on
        m_fake.ReleaseWrite();
        EXPECT_SOON(!m_boxes.Boxes().empty());
        EXPECT_TRUE(BecomesIdle(hWnd));
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(TicketNames(), (std::vector<std::string>{Ticket("eins")}));
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].strText, SystemErrorText(ERROR_INVALID_PRINTER_NAME, 255));
    EXPECT_EQ(m_boxes.Boxes()[0].strCaption, "PostScript zu PDF");
    EXPECT_EQ(m_fake.OpenHandleCount(), 0u);
}

TEST_F(ConverterDialogTest, SemaphoreThatCannotBeMadeIsToldOnceAndEndsTheBatch) {
    ScopedCreateDoneSemaphore noSemaphore([] {
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return HANDLE{nullptr};
    });
    ExpectBatchEndsAtItsFirstJob(ERROR_NO_SYSTEM_RESOURCES);
}

TEST_F(ConverterDialogTest, WorkerThatCannotStartIsToldOnceAndEndsTheBatch) {
    // A named semaphore: whether the batch closed it shows in whether it can still be opened.
    const std::string strName = "PsZuPdfTestDone" + std::to_string(GetCurrentProcessId());
    ScopedCreateDoneSemaphore namedSemaphore(
        [&] { return CreateSemaphoreA(nullptr, 0, 1, strName.c_str()); });
    ScopedStartThread noWorker([](LPTHREAD_START_ROUTINE pfnThread, void* pParam) -> HANDLE {
        if (pfnThread != SpoolWorker)
            return CreateThread(nullptr, 0, pfnThread, pParam, 0, nullptr);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    });
    ExpectBatchEndsAtItsFirstJob(ERROR_NOT_ENOUGH_MEMORY);
    const UniqueHandle leftOver(OpenSemaphoreA(SYNCHRONIZE, FALSE, strName.c_str()));
    EXPECT_FALSE(leftOver.IsValid()) << "the job's semaphore was left open";
}

TEST_F(ConverterDialogTest, BatchThreadThatCannotStartIsToldAndTheWindowStaysIdle) {
    ScopedStartThread noThread([](LPTHREAD_START_ROUTINE, void*) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return HANDLE{nullptr};
    });
    INT_PTR nResult = Run([&](HWND hWnd) {
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(m_inputs)), 0);
        EXPECT_SOON(!m_boxes.Boxes().empty());
        EXPECT_FALSE(g_bBatchRunning);
        EXPECT_TRUE(Enabled(hWnd, IDOK));
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(nResult, IDOK);
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].strText, SystemErrorText(ERROR_NOT_ENOUGH_MEMORY, 255));
    EXPECT_EQ(m_boxes.Boxes()[0].strCaption, "PostScript zu PDF");
    EXPECT_TRUE(m_fake.Calls().empty());
}

TEST_F(ConverterDialogTest, JobThePrinterDoesNotStartIsToldOnceAndEndsTheBatch) {
    m_fake.FailStartDoc(ERROR_ACCESS_DENIED);
    Run([&](HWND hWnd) {
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(m_inputs)), 0);
        EXPECT_SOON(!m_boxes.Boxes().empty());
        EXPECT_TRUE(BecomesIdle(hWnd));
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].strText.rfind("Die Datei " + m_inputs[0] + " konnte", 0), 0u);
    EXPECT_EQ(m_fake.Calls(SpoolerFunction::StartDocPrinter).size(), 1u);
    EXPECT_TRUE(m_fake.Calls(SpoolerFunction::WritePrinter).empty());
    EXPECT_EQ(m_fake.OpenHandleCount(), 0u);
}

TEST_F(ConverterDialogTest, CancelAnsweredNoWhilePausedStaysPaused) {
    m_fake.BlockWrite(0);
    m_boxes.Answer({IDNO});
    Run([&](HWND hWnd) {
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({m_inputs[0]})), 0);
        ASSERT_TRUE(m_fake.WaitForBlockedWrite());
        Click(hWnd, IDC_PAUSE);
        Click(hWnd, IDC_CANCEL_BATCH);
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_PAUSE), "&Weiter");
        m_fake.ReleaseWrite();
        // The write in progress finished; the job is held before its next read.
        ASSERT_SOON(g_bJobHeld);
        EXPECT_EQ(m_fake.Documents()[0].strBytes, "%!PS\n% eins\n");
        EXPECT_SOON(!IsIdle(hWnd));
        Click(hWnd, IDC_PAUSE);
        EXPECT_TRUE(BecomesIdle(hWnd));
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    ASSERT_EQ(m_fake.Documents().size(), 1u);
    EXPECT_EQ(m_fake.Documents()[0].strBytes, "%!PS\n% eins\n" + kTrailer);
    EXPECT_EQ(m_boxes.Boxes().size(), 1u); // the question only
}

TEST_F(ConverterDialogTest, FileOpenOffersPostScriptFirstAndConvertsTheChoice) {
    std::vector<OPENFILENAMEA> shown;
    std::string strFilter, strTitle;
    int nAnswer = 0;
    ScopedOpenFileDialog dialog([&](OPENFILENAMEA& ofn) {
        shown.push_back(ofn);
        // The texts live only while the dialog is up.
        strFilter.assign(ofn.lpstrFilter, 70);
        strTitle = ofn.lpstrTitle;
        if (nAnswer++ == 0)
            return FALSE; // the user cancels the first time
        std::strcpy(ofn.lpstrFile, m_inputs[0].c_str());
        return TRUE;
    });
    m_fake.BlockWrite(0);
    Run([&](HWND hWnd) {
        SendMessageA(hWnd, WM_COMMAND, IDM_FILE_OPEN, 0);
        // Cancelled: no batch started (that happens on the window's thread), still idle.
        EXPECT_FALSE(g_bBatchRunning);
        EXPECT_SOON(Enabled(hWnd, IDOK));
        PostMessageA(hWnd, WM_COMMAND, IDM_FILE_OPEN, 0);
        ASSERT_TRUE(m_fake.WaitForBlockedWrite());
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_PROCESSED), "0");
        EXPECT_SOON_EQ(ItemText(hWnd, IDC_REMAINING), "1");
        m_fake.ReleaseWrite();
        EXPECT_TRUE(BecomesIdle(hWnd));
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(m_fake.Calls(SpoolerFunction::StartDocPrinter).size(), 1u);
    const OPENFILENAMEA& ofn = shown[0];
    EXPECT_EQ(ofn.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_NE(ofn.hwndOwner, nullptr);
    EXPECT_EQ(ofn.nFilterIndex, 1u);
    EXPECT_EQ(ofn.nMaxFile, 254u);
    EXPECT_EQ(ofn.nMaxFileTitle, 254u);
    EXPECT_EQ(strTitle, "PostScript-Datei \xF6"
                        "ffnen");
    EXPECT_EQ(ofn.Flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES));
    EXPECT_EQ(strFilter.substr(0, 56),
              std::string("PostScript-Datei\0*.ps\0EPS-Datei\0*.eps\0Alle Dateien\0*.*\0\0", 56));
    EXPECT_EQ(TicketNames(), (std::vector<std::string>{Ticket("eins")}));
}

TEST_F(ConverterDialogTest, ClosingDuringABatchCancelsItAndEndsTheJobFirst) {
    m_fake.BlockWrite(0);
    INT_PTR nResult = Run([&](HWND hWnd) {
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(m_inputs)), 0);
        ASSERT_TRUE(m_fake.WaitForBlockedWrite());
        PostMessageA(hWnd, WM_CLOSE, 0, 0);
        // The window has taken the close, cancelled the batch and waits for its end.
        ASSERT_SOON(g_bCancelRequested);
        EXPECT_TRUE(IsWindow(hWnd));
        m_fake.ReleaseWrite();
    });
    EXPECT_EQ(nResult, IDCANCEL);
    ASSERT_EQ(m_fake.Documents().size(), 1u);
    EXPECT_TRUE(m_fake.Documents()[0].bEnded);
    EXPECT_EQ(m_fake.OpenHandleCount(), 0u);
}

} // namespace

namespace {

TEST_F(ConverterDialogTest, ConfigurationChosenInTheMenuGoesIntoTheNextBatchsTicket) {
    const std::string strOffice = CONFIGURATIONS_KEY "\\Office Print";
    for (const char* pszName :
         {"Reporting", "General", "Fonts", "Colour", "Grey", "Monochrome", "Resolution",
          "ColourResolution", "GreyResolution", "MonoResolution"})
        regtest::SetDword(HKEY_LOCAL_MACHINE, strOffice, pszName, 0);
    for (const char* pszName : {"EmbedFonts", "NeverEmbedFonts", "OutputPath"})
        regtest::SetText(HKEY_LOCAL_MACHINE, strOffice, pszName, "");
    regtest::CreateKey(HKEY_LOCAL_MACHINE, CONFIGURATIONS_KEY "\\Standard");
    regtest::SetText(HKEY_LOCAL_MACHINE, CONFIGURATIONS_KEY, "ActiveConfiguration", "Standard");
    m_app.m_strActiveConfiguration = "Standard";

    Run([&](HWND hWnd) {
        PostMessageA(hWnd, WM_COMMAND, IDM_CONFIGURE, 0);
        HWND hConfigure = WaitForWindow("Veltrane Quillon konfigurieren");
        ASSERT_NE(hConfigure, nullptr);
        HWND hList = GetDlgItem(hConfigure, IDC_CONFIGURATIONS);
        SendMessageA(hList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>("Office Print"));
        SendMessageA(hConfigure, WM_COMMAND, IDOK, 0);
        EXPECT_SOON(!IsWindow(hConfigure));
        PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({m_inputs[0]})), 0);
        EXPECT_TRUE(BecomesIdle(hWnd));
        PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(TicketNames(), (std::vector<std::string>{"~JS~ d=" + m_strDir +
                                                       "\\eins.pdf c=\"Office Print\" f=1"}));
    EXPECT_EQ(regtest::GetRaw(HKEY_LOCAL_MACHINE, CONFIGURATIONS_KEY, "ActiveConfiguration").data,
              regtest::Bytes({'S', 't', 'a', 'n', 'd', 'a', 'r', 'd', 0}));
    for (const MessageBoxRequest& box : m_boxes.Boxes())
        ADD_FAILURE() << box.strCaption << ": " << box.strText;
}

} // namespace

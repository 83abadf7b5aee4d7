// The spool worker against the fake spooler: the exact calls and bytes the spooler gets
// for each kind of input and each way a job can go, and the one signal at its end.
#include "FakeSpooler.h"
#include "MessageBoxRecorder.h"
#include "Waiting.h"

#include "app/ConverterApp.h"
#include "engine/InputClassification.h"
#include "engine/InputClassificationWin.h"
#include "engine/JobControl.h"
#include "engine/PrinterDiscoveryWin.h"
#include "engine/SpoolWorker.h"
#include "engine/SpoolerTurn.h"
#include "framework/Static.h"
#include "framework/SystemMessage.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using F = SpoolerFunction;

const std::string kPrefix = EpsPrefixLine;
const std::string kTrailer = ShowPageTrailerLine;
const char kTicket[] = "~JS~ d=C:\\out\\x.pdf c=Standard f=1";

std::string Repeat(size_t n, char c = 'x') {
    return std::string(n, c);
}

std::string Le32(uint32_t n) {
    return {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
            static_cast<char>(n >> 24)};
}

// The text of the send-failure message for the job's input and this error.
std::string SendFailedText(const std::string& strInput, DWORD dwError) {
    return "Die Datei " + strInput +
           " konnte nicht vollst\xE4ndig an den Drucker gesendet werden.\n\n" +
           SystemErrorText(dwError, 1024);
}

class SpoolWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (SettingCell* pCell : {&m_app.SaveRequest, &m_app.General})
            pCell->Allocate();
        m_app.SaveRequest.Set(1);
        m_app.General.Set(0);
        m_app.m_strActiveConfiguration = "Standard";

        FakePrinter printer;
        printer.optName = "Quillon";
        printer.optDriver = "Veltrane Quillon";
        printer.optPort = "VeltraneQuillonPort";
        m_fake.AddPrinter(printer);
        char szName[] = "Quillon";
        ASSERT_TRUE(TheSpooler().OpenPrinterA(szName, &g_hPrinter, nullptr));

        m_hBar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_POPUP, 0, 0, 100, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_hBar, nullptr);
        SetWindowSubclass(m_hBar, RecordPosition, 1, reinterpret_cast<DWORD_PTR>(this));
        m_bar.Attach(m_hBar);
        g_pProgressBar = &m_bar;
        g_pProgressOwner = nullptr;
        g_bPauseRequested = false;
        g_bCancelRequested = false;
        g_bJobFinished = false;
        m_hDone = CreateSemaphoreA(nullptr, 0, 1, nullptr);

        char szTemp[MAX_PATH];
        GetTempPathA(sizeof szTemp, szTemp);
        m_strDir = std::string(szTemp) + "PsZuPdfWorkerTest";
        CreateDirectoryA(m_strDir.c_str(), nullptr);
    }

    void TearDown() override {
        if (m_worker.joinable()) {
            // A test that stopped half-way leaves the worker paused or in a held write.
            g_bPauseRequested = false;
            m_fake.ReleaseAllWrites();
            WaitUntil("the worker to end", [this] { return m_bWorkerDone.load(); });
            m_worker.join();
        }
        RemoveWindowSubclass(m_hBar, RecordPosition, 1);
        DestroyWindow(m_hBar);
        g_pProgressBar = nullptr;
        TheSpooler().ClosePrinter(g_hPrinter);
        g_hPrinter = nullptr;
        CloseHandle(m_hDone);
        for (const std::string& strFile : m_files)
            DeleteFileA(strFile.c_str());
        RemoveDirectoryA(m_strDir.c_str());
        g_bPauseRequested = false;
        g_bCancelRequested = false;
    }

    static LRESULT CALLBACK RecordPosition(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR dwRef) {
        if (message == PBM_SETPOS)
            reinterpret_cast<SpoolWorkerTest*>(dwRef)->m_positions.push_back(
                static_cast<int>(wParam));
        return DefSubclassProc(hWnd, message, wParam, lParam);
    }

    std::string MakeFile(const std::string& strName, const std::string& strBytes) {
        std::string strPath = m_strDir + "\\" + strName;
        HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD dwWritten = 0;
        WriteFile(hFile, strBytes.data(), static_cast<DWORD>(strBytes.size()), &dwWritten, nullptr);
        CloseHandle(hFile);
        m_files.push_back(strPath);
        return strPath;
    }

    // Runs one job to its end on this thread.
    void Run(const std::string& strPath) {
        m_strInput = strPath;
        SpoolJob job{m_strInput.c_str(), "C:\\out\\x.pdf", m_hDone};
        SpoolWorker(&job);
    }

    // Starts one job on a thread of its own; the test pumps messages while it waits.
    void Start(const std::string& strPath) {
        m_strInput = strPath;
        m_job = SpoolJob{m_strInput.c_str(), "C:\\out\\x.pdf", m_hDone};
        m_worker = std::thread([this] {
            SpoolWorker(&m_job);
            m_bWorkerDone = true;
        });
    }

    // The worker still resets the bar after it has set g_bJobFinished, so wait for the
    // thread itself, running the bar's messages meanwhile.
    void Finish() {
        ASSERT_SOON(m_bWorkerDone);
        m_worker.join();
    }

    size_t WriteCount() { return m_fake.Calls(F::WritePrinter).size(); }

    std::vector<F> Sequence() {
        std::vector<F> sequence;
        for (const SpoolerCall& call : m_fake.Calls())
            if (call.eFunction != F::OpenPrinter)
                sequence.push_back(call.eFunction);
        return sequence;
    }

    std::vector<std::string> Writes() {
        std::vector<std::string> writes;
        for (const SpoolerCall& call : m_fake.Calls(F::WritePrinter))
            writes.push_back(call.strBytes);
        return writes;
    }

    // The starter was told exactly once that the job had ended.
    bool SignalledOnce() {
        return WaitForSingleObject(m_hDone, 0) == WAIT_OBJECT_0 &&
               WaitForSingleObject(m_hDone, 0) == WAIT_TIMEOUT && g_bJobFinished;
    }

    void ExpectDocumentOf(const std::vector<std::string>& writes) {
        EXPECT_EQ(Writes(), writes);
        std::vector<SpoolerCall> starts = m_fake.Calls(F::StartDocPrinter);
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0].dwLevel, 1u);
        EXPECT_EQ(starts[0].optDocName, std::optional<std::string>(kTicket));
        EXPECT_EQ(starts[0].optOutputFile, std::nullopt);
        EXPECT_EQ(starts[0].optDatatype, std::optional<std::string>("RAW"));
        std::vector<F> expected = {F::StartDocPrinter, F::StartPagePrinter};
        expected.insert(expected.end(), writes.size(), F::WritePrinter);
        expected.insert(expected.end(), {F::EndPagePrinter, F::EndDocPrinter});
        EXPECT_EQ(Sequence(), expected);
        EXPECT_TRUE(SignalledOnce());
    }

    ConverterApp m_app;
    FakeSpooler m_fake;
    FakeSpoolerInstaller m_installer{m_fake};
    MessageBoxRecorder m_boxes;
    HWND m_hBar = nullptr;
    CProgressCtrl m_bar;
    std::vector<int> m_positions;
    HANDLE m_hDone = nullptr;
    std::string m_strDir, m_strInput;
    std::vector<std::string> m_files;
    SpoolJob m_job{};
    std::thread m_worker;
    std::atomic<bool> m_bWorkerDone{false};
};

TEST_F(SpoolWorkerTest, PlainPostScriptIsSentWithTheTrailer) {
    std::string strData = "%!PS-Adobe-3.0\n/Helvetica findfont 12 scalefont setfont\nshowpage\n";
    Run(MakeFile("plain.ps", strData));
    ExpectDocumentOf({strData, kTrailer});
    EXPECT_EQ(m_positions, (std::vector<int>{100, 0}));
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(SpoolWorkerTest, EpsGetsThePrefixLineInOneWrite) {
    std::string strData = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 200 100\n";
    Run(MakeFile("bild.eps", strData));
    ExpectDocumentOf({kPrefix, strData, kTrailer});
}

TEST_F(SpoolWorkerTest, DosEpsSendsOnlyItsSection) {
    std::string strSection = "%!PS-Adobe-3.0\nnewpath\n";
    std::string strHeader =
        "\xC5\xD0\xD3\xC6" + Le32(30) + Le32(static_cast<uint32_t>(strSection.size()));
    strHeader += Repeat(30 - strHeader.size(), '\0');
    Run(MakeFile("dos.eps", strHeader + strSection + "TIFF preview bytes"));
    ExpectDocumentOf({kPrefix, strSection, kTrailer});
}

TEST_F(SpoolWorkerTest, PjlWrapperIsCutAtBothEnds) {
    std::string strUel = "\x1B%-12345X";
    std::string strPs = "%!PS-Adobe-3.0\nshowpage\n%%EOF\r";
    Run(MakeFile("job.prn", strUel + "@PJL ENTER LANGUAGE=POSTSCRIPT\r\n" + strPs + "\n" + strUel +
                                "@PJL EOJ\r\n" + strUel));
    ExpectDocumentOf({strPs, kTrailer});
}

TEST_F(SpoolWorkerTest, ZeroByteCountSendsOnlyTheFramingAndNeverMovesTheBar) {
    std::string strHeader = "\xC5\xD0\xD3\xC6" + Le32(12) + Le32(0);
    Run(MakeFile("leer.eps", strHeader + "%!PS"));
    ExpectDocumentOf({kPrefix, kTrailer});
    EXPECT_EQ(m_positions, (std::vector<int>{0})); // only the reset at the end
}

TEST_F(SpoolWorkerTest, ExactlyOneBlockIsOneWrite) {
    std::string strData = "%!PS\n" + Repeat(16384 - 5);
    Run(MakeFile("block.ps", strData));
    ExpectDocumentOf({strData, kTrailer});
}

TEST_F(SpoolWorkerTest, LargerFilesGoInBlocksWithProgress) {
    std::string strData = "%!PS\n" + Repeat(40000 - 5);
    Run(MakeFile("gross.ps", strData));
    ExpectDocumentOf(
        {strData.substr(0, 16384), strData.substr(16384, 16384), strData.substr(32768), kTrailer});
    EXPECT_EQ(m_positions, (std::vector<int>{40, 81, 100, 0}));
}

// 256 blocks of 16384 bytes: every block moves the bar by 100/256, so each percentage
// from 0 to 100 is shown once, never twice in a row.
TEST_F(SpoolWorkerTest, TheBarIsSetOnlyWhenThePercentageChanges) {
    std::string strData = "%!PS\n" + Repeat(256 * 16384 - 5);
    Run(MakeFile("viele.ps", strData));
    std::vector<int> expected;
    for (int n = 0; n <= 100; ++n)
        expected.push_back(n);
    expected.push_back(0);
    EXPECT_EQ(m_positions, expected);
    EXPECT_EQ(m_fake.Documents()[0].strBytes, strData + kTrailer);
}

TEST_F(SpoolWorkerTest, PartialWritesAreContinued) {
    std::string strData = "%!PS\n" + Repeat(3000);
    m_fake.ShortWrite(0, 1000);
    m_fake.ShortWrite(1, 500);
    Run(MakeFile("teil.ps", strData));
    ExpectDocumentOf({strData, strData.substr(1000), strData.substr(1500), kTrailer});
    EXPECT_EQ(m_fake.Documents()[0].strBytes, strData + kTrailer);
}

TEST_F(SpoolWorkerTest, WriteFailureEndsTheJobWithoutTrailerAndTellsTheUser) {
    std::string strData = "%!PS\n" + Repeat(40000);
    m_fake.FailWrite(1, ERROR_NOT_ENOUGH_MEMORY);
    Run(MakeFile("fehler.ps", strData));
    ExpectDocumentOf({strData.substr(0, 16384), strData.substr(16384, 16384)});
    EXPECT_TRUE(g_bCancelRequested);
    std::vector<MessageBoxRequest> boxes = m_boxes.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText, SendFailedText(m_strInput, ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(boxes[0].strCaption, "PostScript zu PDF");
    EXPECT_EQ(boxes[0].nType, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
}

TEST_F(SpoolWorkerTest, WriteThatMovesNothingCountsAsAFailure) {
    std::string strData = "%!PS\n" + Repeat(100);
    m_fake.ShortWrite(0, 0);
    Run(MakeFile("nichts.ps", strData));
    ExpectDocumentOf({strData});
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    // The write reported success: no error of its own, whatever an earlier call left.
    EXPECT_EQ(m_boxes.Boxes()[0].strText, SendFailedText(m_strInput, ERROR_WRITE_FAULT));
}

TEST_F(SpoolWorkerTest, EndDocFailureIsReported) {
    m_fake.FailEndDoc(ERROR_INVALID_HANDLE);
    std::string strData = "%!PS\nshowpage\n";
    Run(MakeFile("ende.ps", strData));
    ExpectDocumentOf({strData, kTrailer});
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_NE(m_boxes.Boxes()[0].strText.find(SystemErrorText(ERROR_INVALID_HANDLE, 1024)),
              std::string::npos);
}

TEST_F(SpoolWorkerTest, StartDocFailureEndsTheJobThereAndTellsTheUser) {
    m_fake.FailStartDoc(ERROR_ACCESS_DENIED);
    Run(MakeFile("start.ps", "%!PS\nshowpage\n"));
    // Nothing is written and no page or document ended when none was started.
    EXPECT_EQ(Sequence(), (std::vector<F>{F::StartDocPrinter}));
    EXPECT_TRUE(g_bCancelRequested);
    EXPECT_TRUE(SignalledOnce());
    std::vector<MessageBoxRequest> boxes = m_boxes.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText, SendFailedText(m_strInput, ERROR_ACCESS_DENIED));
    EXPECT_EQ(boxes[0].strCaption, "PostScript zu PDF");
    EXPECT_EQ(boxes[0].nType, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
}

struct PrefixFailureCase {
    const char* pszName;
    std::optional<DWORD> optFailWith; // the write fails with this error
    DWORD cbAccepted;                 // otherwise it takes only these bytes
    DWORD dwReported;                 // the error the message shows
};

const PrefixFailureCase PREFIX_FAILURE_CASES[] = {
    {"fails", ERROR_NOT_ENOUGH_MEMORY, 0, ERROR_NOT_ENOUGH_MEMORY},
    {"takes_part", std::nullopt, 10, ERROR_WRITE_FAULT},
    {"takes_nothing", std::nullopt, 0, ERROR_WRITE_FAULT},
};

class EpsPrefixFailureTest : public SpoolWorkerTest,
                             public ::testing::WithParamInterface<PrefixFailureCase> {};

// The framing line goes out whole or the job ends like any failed write: no data follows
// it, the document is ended, and the user is told once.
TEST_P(EpsPrefixFailureTest, EndsTheJobAndTellsTheUser) {
    const PrefixFailureCase& c = GetParam();
    if (c.optFailWith)
        m_fake.FailWrite(0, *c.optFailWith);
    else
        m_fake.ShortWrite(0, c.cbAccepted);
    Run(MakeFile("rahmen.eps", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 200 100\n"));
    ExpectDocumentOf({kPrefix});
    ASSERT_EQ(m_fake.Documents().size(), 1u);
    EXPECT_EQ(m_fake.Documents()[0].strBytes, kPrefix.substr(0, c.cbAccepted));
    EXPECT_TRUE(m_fake.Documents()[0].bEnded);
    EXPECT_TRUE(g_bCancelRequested);
    std::vector<MessageBoxRequest> boxes = m_boxes.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText, SendFailedText(m_strInput, c.dwReported));
}

INSTANTIATE_TEST_SUITE_P(Cases, EpsPrefixFailureTest, ::testing::ValuesIn(PREFIX_FAILURE_CASES),
                         [](const ::testing::TestParamInfo<PrefixFailureCase>& paramInfo) {
                             return std::string(paramInfo.param.pszName);
                         });

TEST_F(SpoolWorkerTest, InputThatDoesNotOpenIsReportedEvenWhenQuiet) {
    m_app.m_bQSet = 1;
    std::string strMissing = m_strDir + "\\fehlt.ps";
    Run(strMissing);
    EXPECT_TRUE(Sequence().empty());
    std::vector<MessageBoxRequest> boxes = m_boxes.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText, "Eingabedatei " + strMissing +
                                    " konnte nicht ge\xF6"
                                    "ffnet werden.\n\n" +
                                    SystemErrorText(ERROR_FILE_NOT_FOUND, 1024));
    EXPECT_EQ(boxes[0].nType, static_cast<UINT>(MB_TOPMOST | MB_TASKMODAL | MB_ICONERROR));
    EXPECT_TRUE(SignalledOnce());
}

// A file that cannot be read from where its PostScript starts sends nothing: sent from
// anywhere else, the job would carry the PJL header before it.
TEST_F(SpoolWorkerTest, InputThatCannotBeReadFromItsStartSendsNothing) {
    ScopedSeekInputFile failing([](HANDLE, uint64_t) {
        SetLastError(ERROR_SEEK);
        return false;
    });
    const std::string strUel = "\x1B%-12345X";
    Run(MakeFile("kopf.prn",
                 strUel + "@PJL ENTER LANGUAGE=POSTSCRIPT\r\n%!PS\nshowpage\n" + strUel));
    EXPECT_TRUE(Sequence().empty());
    std::vector<MessageBoxRequest> boxes = m_boxes.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText, "Eingabedatei " + m_strInput +
                                    " konnte nicht ge\xF6"
                                    "ffnet werden.\n\n" +
                                    SystemErrorText(ERROR_SEEK, 1024));
    EXPECT_TRUE(SignalledOnce());
}

// A page the spooler does not start gets no data; the document is ended and the user told.
TEST_F(SpoolWorkerTest, PageTheSpoolerDoesNotStartGetsNoData) {
    m_fake.FailStartPage(ERROR_OUTOFMEMORY);
    Run(MakeFile("seite.ps", "%!PS\nshowpage\n"));
    EXPECT_EQ(Sequence(),
              (std::vector<F>{F::StartDocPrinter, F::StartPagePrinter, F::EndDocPrinter}));
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].strText, SendFailedText(m_strInput, ERROR_OUTOFMEMORY));
    EXPECT_TRUE(SignalledOnce());
}

// A page the spooler does not end leaves the job incomplete: told like a failed end.
TEST_F(SpoolWorkerTest, PageTheSpoolerDoesNotEndIsReported) {
    m_fake.FailEndPage(ERROR_OUTOFMEMORY);
    const std::string strData = "%!PS\nshowpage\n";
    Run(MakeFile("seite.ps", strData));
    ExpectDocumentOf({strData, kTrailer});
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].strText, SendFailedText(m_strInput, ERROR_OUTOFMEMORY));
}

TEST_F(SpoolWorkerTest, PdfInputReachesNoSpoolerCallAtAll) {
    Run(MakeFile("schon.pdf", "%PDF-1.4\n%%EOF\n"));
    EXPECT_TRUE(Sequence().empty());
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].wLanguage, 0x0809);
    EXPECT_TRUE(SignalledOnce());
    EXPECT_TRUE(m_positions.empty());
}

TEST_F(SpoolWorkerTest, NotPostScriptAnsweredNoSendsNothingAndYesSendsAll) {
    m_boxes.Answer({IDNO});
    Run(MakeFile("text.txt", "Hallo"));
    EXPECT_TRUE(Sequence().empty());
    EXPECT_TRUE(SignalledOnce());

    m_boxes.Answer({IDYES});
    g_bJobFinished = false;
    Run(m_strInput);
    ExpectDocumentOf({"Hallo", kTrailer});
}

TEST_F(SpoolWorkerTest, PauseBeforeTheFirstReadHoldsTheJobUntilResumed) {
    std::string strData = "%!PS\nshowpage\n";
    g_bPauseRequested = true;
    Start(MakeFile("pause.ps", strData));
    ASSERT_SOON(g_bJobHeld);
    EXPECT_EQ(Sequence(), (std::vector<F>{F::StartDocPrinter, F::StartPagePrinter}));
    g_bPauseRequested = false;
    Finish();
    ExpectDocumentOf({strData, kTrailer});
    EXPECT_FALSE(g_bJobHeld);
}

// Another program's document in the spooler holds the job before anything of it reaches
// the spooler (under Wine the two would share a spool file); a cancel meanwhile ends it
// with nothing sent.
TEST_F(SpoolWorkerTest, WaitsWhileAnotherProgramsDocumentIsInTheSpooler) {
    UniqueHandle other(CreateMutexA(nullptr, TRUE, SPOOLER_TURN_MUTEX));
    ASSERT_TRUE(other.IsValid());
    const std::string strData = "%!PS\nshowpage\n";
    Start(MakeFile("warten.ps", strData));
    ASSERT_SOON(g_bJobHeld);
    EXPECT_TRUE(Sequence().empty());
    ReleaseMutex(other.Get());
    Finish();
    ExpectDocumentOf({strData, kTrailer});
}

TEST_F(SpoolWorkerTest, CancelWhileAnotherProgramsDocumentIsInTheSpoolerSendsNothing) {
    UniqueHandle other(CreateMutexA(nullptr, TRUE, SPOOLER_TURN_MUTEX));
    ASSERT_TRUE(other.IsValid());
    Start(MakeFile("warten.ps", "%!PS\nshowpage\n"));
    ASSERT_SOON(g_bJobHeld);
    g_bCancelRequested = true;
    Finish();
    ReleaseMutex(other.Get());
    EXPECT_TRUE(Sequence().empty());
    EXPECT_TRUE(SignalledOnce());
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(SpoolWorkerTest, CancelWhilePausedBeforeAReadSendsNoMoreData) {
    std::string strData = "%!PS\n" + Repeat(20000);
    m_fake.BlockWrite(0);
    Start(MakeFile("abbruch.ps", strData));
    ASSERT_TRUE(m_fake.WaitForBlockedWrite());
    g_bPauseRequested = true; // pressed while the first block was being written
    m_fake.ReleaseWrite();
    ASSERT_SOON(g_bJobHeld); // now waiting before the second read
    EXPECT_EQ(WriteCount(), 1u);
    g_bCancelRequested = true; // Yes to the question; pause stays set
    Finish();
    ExpectDocumentOf({strData.substr(0, 16384)});
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(SpoolWorkerTest, CancelWhilePausedBeforeAWriteLetsThatWriteHappen) {
    std::string strData = "%!PS\n" + Repeat(20000);
    m_fake.ShortWrite(0, 100);
    m_fake.BlockWrite(0);
    Start(MakeFile("abbruch2.ps", strData));
    ASSERT_TRUE(m_fake.WaitForBlockedWrite());
    g_bPauseRequested = true;
    m_fake.ReleaseWrite();
    // The first write took 100 bytes; the worker now waits before writing the rest.
    ASSERT_SOON(g_bJobHeld);
    EXPECT_EQ(WriteCount(), 1u);
    g_bCancelRequested = true;
    Finish();
    ExpectDocumentOf({strData.substr(0, 16384), strData.substr(100, 16384 - 100)});
}

} // namespace

#include "printer/backend/BackendJob.h"
#include "printer/backend/UniqueFd.h"

#include "BackendPdf.h"
#include "BackendTestSupport.h"

#include <cups/backend.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

namespace {

const std::string ONE_PAGE = SentJob(
    "%!PS\n/Helvetica findfont 20 scalefont setfont 72 700 moveto (Auftrag) show showpage\n");

class BackendJobTest : public testing::Test {
protected:
    void SetUp() override {
        m_strPrefix = m_dir.MakePrefix();
        m_drive = m_dir.Path() / "prefix" / "drive_c";
        std::filesystem::create_directories(m_drive / "Out");
        m_strJobFile = (m_dir.Path() / "job").string();
        BackendTestDir::WriteFile(m_strJobFile, ONE_PAGE);
    }

    BackendJob Job(const std::string& strTitle, const std::string& strOptions = "") const {
        BackendJob job = TestJob(m_strPrefix, m_strJobFile, strTitle);
        job.strOptions = strOptions;
        return job;
    }

    BackendTestDir m_dir;
    std::string m_strPrefix;
    std::filesystem::path m_drive;
    std::string m_strJobFile;
};

// ---------------------------------------------------------------------------------------
// Jobs that convert

TEST_F(BackendJobTest, WritesThePdfWhereTheTicketSays) {
    if (!HaveCommand("gs") || !HaveCommand("pdfinfo"))
        GTEST_SKIP() << "Ghostscript or pdfinfo missing";
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=\"c:\\out\\Mein Bericht.pdf\" c=Standard f=1"), -1),
              CUPS_BACKEND_OK);
    EXPECT_EQ(BackendTestDir::List(m_drive / "Out"), std::set<std::string>{"Mein Bericht.pdf"});
    EXPECT_EQ(PdfInfo((m_drive / "Out" / "Mein Bericht.pdf").string())["Pages"], "1");
    EXPECT_NE(PdfText((m_drive / "Out" / "Mein Bericht.pdf").string()).find("Auftrag"),
              std::string::npos);
}

TEST_F(BackendJobTest, LongNameComesFromTheSuppliedOption) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    const std::string strName = std::string(200, 'L') + ".pdf";
    const std::string strOptions =
        "job-uuid=urn:uuid:1 document-name-supplied=~JS~\\ d=C:\\\\Out\\\\" + strName +
        "\\ c=\\ f=1";
    EXPECT_EQ(RunBackendJob(Job("Untitled", strOptions), -1), CUPS_BACKEND_OK);
    EXPECT_EQ(BackendTestDir::List(m_drive / "Out"), std::set<std::string>{strName});
}

// A taken name is never lost and never replaced without flag 4: the job takes the next
// free numbered name, as the program's own naming would.
TEST_F(BackendJobTest, TakenNameGetsTheNextFreeOne) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    const auto out = m_drive / "Out";
    BackendTestDir::WriteFile(out / "bericht.pdf", "old");
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\bericht.pdf c= f=1"), -1), CUPS_BACKEND_OK);
    // Another spelling names the same file, as on Windows; its numbered names follow the
    // spelling of the file that is there.
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\OUT\\Bericht.PDF c= f=1"), -1), CUPS_BACKEND_OK);
    EXPECT_EQ(BackendTestDir::List(out),
              (std::set<std::string>{"bericht.pdf", "bericht0.pdf", "bericht1.pdf"}));
    EXPECT_EQ(BackendTestDir::ReadFile(out / "bericht.pdf"), "old");

    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\OUT\\Bericht.PDF c= f=5"), -1), CUPS_BACKEND_OK);
    EXPECT_EQ(BackendTestDir::List(out).size(), 3u);
    for (const char* pszName : {"bericht.pdf", "bericht0.pdf", "bericht1.pdf"})
        EXPECT_EQ(BackendTestDir::ReadFile(out / pszName).substr(0, 5), "%PDF-") << pszName;
}

// The configuration the ticket names comes from the prefix's system.reg; one that is not
// there gives the Configuration key's settings, and the log says so.
TEST_F(BackendJobTest, TheTicketsConfigurationShapesThePdf) {
    if (!HaveCommand("gs") || !HaveCommand("pdffonts"))
        GTEST_SKIP() << "Ghostscript or pdffonts missing";
    BackendTestDir::WriteFile(m_strJobFile,
                              SentJob("%!PS\n/NimbusSans-Regular findfont 20 scalefont "
                                      "setfont 72 700 moveto (Auftrag) show showpage\n"));
    BackendTestDir::WriteFile(
        m_strPrefix + "/system.reg",
        "WINE REGISTRY Version 2\n\n[Software\\\\VeltraneSystems\\\\Quillon\\\\Configuration] 1\n"
        "\"Fonts\"=dword:00000000\n"
        "\n[Software\\\\VeltraneSystems\\\\Quillon\\\\Configurations\\\\Ohne Schriften] 1\n"
        "\"Fonts\"=dword:00000002\n");
    const auto embedded = [&](const char* pszPdf) {
        return PdfFontsEmbedded((m_drive / "Out" / pszPdf).string())["NimbusSans-Regular"];
    };

    testing::internal::CaptureStderr();
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\ohne.pdf c=\"Ohne Schriften\" f=1"), -1),
              CUPS_BACKEND_OK);
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\fehlt.pdf c=Fehlt f=1"), -1), CUPS_BACKEND_OK);
    const std::string strLog = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(embedded("ohne.pdf"));
    EXPECT_TRUE(embedded("fehlt.pdf"));
    EXPECT_NE(strLog.find("WARNING: There is no configuration \"Fehlt\"; the values of the "
                          "Configuration key are used.\n"),
              std::string::npos)
        << strLog;
    // The values a key lacks are said too, one line each; none about the Fonts both have.
    EXPECT_NE(strLog.find("WARNING: In configuration \"Ohne Schriften\", Colour is missing; 1 "
                          "is used.\n"),
              std::string::npos);
    EXPECT_NE(strLog.find("WARNING: In the Configuration key, Colour is missing"),
              std::string::npos);
    EXPECT_EQ(strLog.find(", Fonts is missing"), std::string::npos);
}

// Flag 1 clear: the program leaves the extension to the printer product, which asks
// nobody here: the PDF gets ".pdf", numbered when that is taken.
TEST_F(BackendJobTest, NameWithoutExtensionGetsPdf) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    const auto out = m_drive / "Out";
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\abbildung c= f=0"), -1), CUPS_BACKEND_OK);
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\abbildung c= f=4"), -1), CUPS_BACKEND_OK);
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\abbildung c= f=0"), -1), CUPS_BACKEND_OK);
    EXPECT_EQ(BackendTestDir::List(out),
              (std::set<std::string>{"abbildung.pdf", "abbildung0.pdf"}));
}

// A conversion that fails once the target is known leaves no PDF, and a report beside
// where it would have gone, the job's user's own.
TEST_F(BackendJobTest, FailedConversionLeavesOnlyItsReport) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    const auto out = m_drive / "Out";
    BackendTestDir::WriteFile(out / "kaputt.log", "a report of before");
    BackendTestDir::WriteFile(m_strJobFile, SentJob("%!PS\nshowpage\ngibtsnicht\n"));
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\kaputt.pdf c= f=5"), -1), CUPS_BACKEND_FAILED);
    EXPECT_EQ(BackendTestDir::List(out), (std::set<std::string>{"kaputt.log", "kaputt0.log"}));
    EXPECT_EQ(BackendTestDir::ReadFile(out / "kaputt.log"), "a report of before");
    const std::string strReport = BackendTestDir::ReadFile(out / "kaputt0.log");
    for (const char* pszPart : {"C:\\Out\\kaputt.pdf", "Druckauftrag:  42", "PostScript-Fehler",
                                "Error: /undefined in gibtsnicht"})
        EXPECT_NE(strReport.find(pszPart), std::string::npos) << pszPart << "\n" << strReport;
    struct stat info {};
    ASSERT_EQ(stat((out / "kaputt0.log").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, geteuid());
}

// Refused before the target is trusted: CUPS's log only, nothing beside the target.
TEST_F(BackendJobTest, RefusedJobWritesNoReport) {
    for (const char* pszTicket : {"~JS~ d=C:\\Out\\a.pdf c= f=16", "~JS~ d=C:\\Out\\a.pdf c= f=1 x",
                                  "~JS~ d=C:\\Fehlt\\a.pdf c= f=1"})
        EXPECT_EQ(RunBackendJob(Job(pszTicket), -1), CUPS_BACKEND_FAILED) << pszTicket;
    BackendJob forged = Job("~JS~ d=C:\\Out\\a.pdf c= f=1");
    forged.proven = ProvenIdentity{};
    EXPECT_EQ(RunBackendJob(forged, -1), CUPS_BACKEND_FAILED);
    EXPECT_TRUE(BackendTestDir::List(m_drive / "Out").empty());
}

// Jobs that would fill the disk or the memory end at their bound, with a report that says
// so, and leave nothing else: not in the output folder, not in the temporary one.
struct BombCase {
    const char* pszName;
    std::string strJob;
    void (*limit)(JobLimits&);
    const char* pszReported; // in the report's reason
};

const BombCase BOMB_CASES[] = {
    {"PDF past the file bound",
     "%!PS\n/row 600 string def 1 1 40 { pop gsave 72 72 translate 400 400 scale "
     "200 200 8 [200 0 0 200 0 0] { 0 1 599 { row exch rand 255 and put } for row } "
     "false 3 colorimage grestore showpage } for\n",
     [](JobLimits& limits) { limits.nMaxFileBytes = 1 << 20; }, "größer als 1 MiB"},
    {"scratch files past the folder bound",
     "%!PS\n{ (q) (w) .tempfile exch pop /f exch def "
     "1 1 2000 { pop f 256 string writestring } for } loop\n",
     [](JobLimits& limits) {
         limits.nMaxFileBytes = 1 << 20;
         limits.nMaxFolderBytes = 4 << 20;
     },
     "größer als 4 MiB"},
    {"memory past its bound",
     "%!PS\n/a 65535 array def 0 1 65534 { a exch 65535 string put } for\n",
     [](JobLimits& limits) { limits.nMaxMemoryBytes = 256 << 20; }, "mehr als 256 MiB"},
};

class BackendBombTest : public BackendJobTest, public testing::WithParamInterface<BombCase> {};

TEST_P(BackendBombTest, EndsAtItsBound) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    const BombCase& c = GetParam();
    BackendTestDir::WriteFile(m_strJobFile, SentJob(c.strJob));
    const auto temp = m_dir.Path() / "tmp";
    std::filesystem::create_directories(temp);
    setenv("TMPDIR", temp.c_str(), 1);
    BackendJob job = Job("~JS~ d=C:\\Out\\bombe.pdf c= f=1");
    // The job's copy in its own folder, as for every ordinary user's job.
    job.strInputFile.clear();
    const UniqueFd input(open(m_strJobFile.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(input);
    const int nSavedStdin = dup(STDIN_FILENO);
    dup2(input.Get(), STDIN_FILENO);
    c.limit(job.limits);
    const int nResult = RunBackendJob(job, -1);
    dup2(nSavedStdin, STDIN_FILENO);
    close(nSavedStdin);
    unsetenv("TMPDIR");
    EXPECT_EQ(nResult, CUPS_BACKEND_FAILED);
    EXPECT_EQ(BackendTestDir::List(m_drive / "Out"), std::set<std::string>{"bombe.log"});
    const std::string strReport = BackendTestDir::ReadFile(m_drive / "Out" / "bombe.log");
    EXPECT_NE(strReport.find(c.pszReported), std::string::npos) << strReport;
    EXPECT_TRUE(BackendTestDir::List(temp).empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, BackendBombTest, testing::ValuesIn(BOMB_CASES), CaseName());

// A job the program cut short (a cancel, a failed write: no closing line) would give half a
// document under the PDF's name: nothing is written, on a file as on standard input.
TEST_F(BackendJobTest, JobCutShortByTheProgramWritesNothing) {
    const std::string strHalf = ONE_PAGE.substr(0, ONE_PAGE.size() - 20);
    BackendTestDir::WriteFile(m_strJobFile, strHalf);
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\halb.pdf c= f=1"), -1), CUPS_BACKEND_CANCEL);
    BackendJob fromStdin = Job("~JS~ d=C:\\Out\\halb.pdf c= f=1");
    fromStdin.strInputFile.clear();
    const UniqueFd input(open(m_strJobFile.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(input);
    const int nSavedStdin = dup(STDIN_FILENO);
    dup2(input.Get(), STDIN_FILENO);
    const int nResult = RunBackendJob(fromStdin, -1);
    dup2(nSavedStdin, STDIN_FILENO);
    close(nSavedStdin);
    EXPECT_EQ(nResult, CUPS_BACKEND_CANCEL);
    EXPECT_TRUE(BackendTestDir::List(m_drive / "Out").empty());
}

// An incomplete installation fails every job before Ghostscript runs; the user learns why.
TEST_F(BackendJobTest, MissingPreludeFailsWithAReport) {
    BackendJob job = Job("~JS~ d=C:\\Out\\a.pdf c= f=1");
    job.strPrelude = (m_dir.Path() / "fehlt.ps").string();
    EXPECT_EQ(RunBackendJob(job, -1), CUPS_BACKEND_FAILED);
    EXPECT_EQ(BackendTestDir::List(m_drive / "Out"), std::set<std::string>{"a.log"});
}

} // namespace

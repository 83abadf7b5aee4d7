#include "printer/backend/BackendJob.h"

#include "BackendPdf.h"
#include "BackendTestSupport.h"

#include <cups/backend.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <set>
#include <string>

namespace {

const std::string ONE_PAGE =
    "%!PS\n/Helvetica findfont 20 scalefont setfont 72 700 moveto (Auftrag) show showpage\n"
    "\nsystemdict /BrisolDict get /DoneShowPage get not {showpage} if\n";

std::string CurrentUser() {
    const passwd* pUser = getpwuid(geteuid());
    return pUser ? pUser->pw_name : "";
}

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
        BackendJob job;
        job.strUser = CurrentUser();
        job.strTitle = strTitle;
        job.strOptions = strOptions;
        job.strInputFile = m_strJobFile;
        job.strDeviceUri = "quillon:" + m_strPrefix;
        job.strPrelude = BACKEND_TEST_PRELUDE;
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

TEST_F(BackendJobTest, OverwritesOnlyWithFlagFour) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    const auto target = m_drive / "Out" / "bericht.pdf";
    BackendTestDir::WriteFile(target, "old");
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\bericht.pdf c= f=1"), -1), CUPS_BACKEND_FAILED);
    EXPECT_EQ(BackendTestDir::ReadFile(target), "old");
    // Another spelling names the same file, as on Windows.
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\OUT\\Bericht.PDF c= f=1"), -1), CUPS_BACKEND_FAILED);
    EXPECT_EQ(BackendTestDir::List(m_drive / "Out"), std::set<std::string>{"bericht.pdf"});

    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\OUT\\Bericht.PDF c= f=5"), -1), CUPS_BACKEND_OK);
    EXPECT_EQ(BackendTestDir::List(m_drive / "Out"), std::set<std::string>{"bericht.pdf"});
    EXPECT_EQ(BackendTestDir::ReadFile(target).substr(0, 5), "%PDF-");
}

// The configuration the ticket names comes from the prefix's system.reg; one that is not
// there gives the Configuration key's settings, and the log says so.
TEST_F(BackendJobTest, TheTicketsConfigurationShapesThePdf) {
    if (!HaveCommand("gs") || !HaveCommand("pdffonts"))
        GTEST_SKIP() << "Ghostscript or pdffonts missing";
    BackendTestDir::WriteFile(m_strJobFile, "%!PS\n/NimbusSans-Regular findfont 20 scalefont "
                                            "setfont 72 700 moveto (Auftrag) show showpage\n");
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

TEST_F(BackendJobTest, FailedConversionLeavesNoFile) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    BackendTestDir::WriteFile(m_strJobFile, "Kein PostScript\n");
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\kaputt.pdf c= f=1"), -1), CUPS_BACKEND_FAILED);
    EXPECT_TRUE(BackendTestDir::List(m_drive / "Out").empty());
}

TEST_F(BackendJobTest, MissingPreludeFailsBeforeWriting) {
    BackendJob job = Job("~JS~ d=C:\\Out\\a.pdf c= f=1");
    job.strPrelude = (m_dir.Path() / "fehlt.ps").string();
    EXPECT_EQ(RunBackendJob(job, -1), CUPS_BACKEND_FAILED);
    EXPECT_TRUE(BackendTestDir::List(m_drive / "Out").empty());
}

} // namespace

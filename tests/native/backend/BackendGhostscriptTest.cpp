#include "printer/backend/Ghostscript.h"

#include "printer/backend/UniqueFd.h"

#include "BackendPdf.h"
#include "BackendTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

namespace {

// The program's framing lines, byte for byte.
const std::string EPS_PREFIX =
    "systemdict /BrisolDict get begin /TrimToBBox true def /PDFCrop false def end\n";
const std::string TRAILER = "\nsystemdict /BrisolDict get /DoneShowPage get not {showpage} if\n";

const std::string FONT = "/Helvetica findfont 20 scalefont setfont\n";
const std::string ONE_PAGE = "%!PS\n" + FONT + "72 700 moveto (Hallo Welt) show showpage\n";
const std::string BOX_EPS = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 200 100\n"
                            "%%EndComments\n" +
                            FONT + "10 40 moveto (Kasten) show\n%%EOF\n";

struct PreludeCase {
    const char* pszName;
    std::string strJob;
    bool bSucceeds;
    std::string strPages;          // pdfinfo's page count
    std::string strPageSize;       // pdfinfo's page size, when it matters
    std::string strText;           // a text the PDF must hold
    std::string strRotation = "0"; // pdfinfo's rotation of the first page
};

// A landscape page as a PostScript program sets one: a portrait page with everything
// turned by 90 degrees.
const std::string LANDSCAPE_PAGE =
    FONT + "90 rotate 72 -100 moveto (Quer gestellte Zeile mit Text) show "
           "72 -140 moveto (Noch eine quer gestellte Zeile) show showpage\n";

// An EPS file with the given header comments, showing "Fein" and no showpage.
std::string EpsWithHeader(const std::string& strHeader, const std::string& strTrailer = "") {
    return EPS_PREFIX + "%!PS-Adobe-3.0 EPSF-3.0\n" + strHeader + "%%EndComments\n" + FONT +
           "20 40 moveto (Fein) show\n" + strTrailer + TRAILER;
}

// Ghostscript run on strJob as the backend runs it, with the PDF in dir/out.pdf.
GhostscriptRun Convert(const BackendTestDir& dir, const std::string& strJob,
                       const std::vector<std::string>& pdfSwitches = {}) {
    BackendTestDir::WriteFile(dir.Path() / "job", strJob);
    const UniqueFd output(
        open((dir.Path() / "out.pdf").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!output)
        return {};
    return RunGhostscript(BACKEND_TEST_PRELUDE, (dir.Path() / "job").string(), dir.Path().string(),
                          output.Get(), JobLimits{}, -1, pdfSwitches);
}

const PreludeCase PRELUDE_CASES[] = {
    {"one page, no extra page from the trailer", ONE_PAGE + TRAILER, true, "1", "", "Hallo Welt"},
    {"EPS without showpage: one page of the box", EPS_PREFIX + BOX_EPS + TRAILER, true, "1",
     "200 x 100 pts", "Kasten"},
    {"EPS box off the origin, with showpage",
     EPS_PREFIX + "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 100 200 300 300\n%%EndComments\n" +
         FONT + "110 240 moveto (Versetzt) show showpage\n" + TRAILER,
     true, "1", "200 x 100 pts", "Versetzt"},
    {"three pages",
     "%!PS\n" + FONT + "1 1 3 { 72 700 moveto (Seite ) show 3 string cvs show showpage } for\n" +
         TRAILER,
     true, "3", "", "Seite 3"},
    {"page inside save and restore",
     "%!PS\nsave\n" + FONT + "72 700 moveto (Gerettet) show showpage\nrestore\n" + TRAILER, true,
     "1", "", "Gerettet"},
    {"nothing but the trailer: one blank page", TRAILER, true, "1", "", ""},
    {"only the first bounding box counts",
     EPS_PREFIX +
         "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 200 100\n%%BoundingBox: 0 0 50 "
         "50\n%%EndComments\n" +
         FONT + "10 40 moveto (Erste) show\n" + TRAILER,
     true, "1", "200 x 100 pts", "Erste"},
    {"not EPS: a bounding box does not crop",
     "%!PS-Adobe-3.0\n%%BoundingBox: 0 0 200 100\n%%EndComments\n" + FONT +
         "72 700 moveto (Ganz) show showpage\n" + TRAILER,
     true, "1", "", "Ganz"},
    {"bounding box at the end: no crop",
     EPS_PREFIX + "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: (atend)\n%%EndComments\n" + FONT +
         "72 700 moveto (Spaet) show\n%%Trailer\n%%BoundingBox: 0 0 200 100\n" + TRAILER,
     true, "1", "", "Spaet"},
    {"high-resolution box wins, whichever comes first",
     EpsWithHeader("%%HiResBoundingBox: 10.5 20.25 161 100.5\n%%BoundingBox: 10 20 161 101\n"),
     true, "1", "150.5 x 80.25 pts", "Fein"},
    {"high-resolution box at the end: the whole-point box",
     EpsWithHeader("%%BoundingBox: 0 0 200 100\n%%HiResBoundingBox: (atend)\n",
                   "%%Trailer\n%%HiResBoundingBox: 0 0 150.5 80.25\n"),
     true, "1", "200 x 100 pts", "Fein"},
    {"a box of fewer than four values is passed over",
     EpsWithHeader("%%BoundingBox: 0 0 150\n%%BoundingBox: 0 0 200 100\n"), true, "1",
     "200 x 100 pts", "Fein"},
    {"a box that cannot be a page leaves the whole-point box",
     EpsWithHeader("%%BoundingBox: 0 0 200 100\n%%HiResBoundingBox: 0 0 150.5 a\n"), true, "1",
     "200 x 100 pts", "Fein"},
    {"landscape page is turned upright", "%!PS\n" + LANDSCAPE_PAGE + TRAILER, true, "1", "",
     "Quer gestellte", "90"},
    {"the job's declared orientation counts",
     "%!PS-Adobe-3.0\n%%Orientation: Portrait\n%%EndComments\n" + LANDSCAPE_PAGE + TRAILER, true,
     "1", "", "Quer gestellte"},
    {"not PostScript", "Dies ist kein PostScript.\n" + TRAILER, false, "", "", ""},
    {"the job cannot change systemdict", "%!PS\nsystemdict /showpage {} put\n" + TRAILER, false, "",
     "", ""},
};

class PreludeTest : public testing::TestWithParam<PreludeCase> {};

TEST_P(PreludeTest, PagesAsTheFramingLinesSay) {
    if (!HaveCommand("gs") || !HaveCommand("pdfinfo"))
        GTEST_SKIP() << "Ghostscript or pdfinfo missing";
    const PreludeCase& c = GetParam();
    BackendTestDir dir;
    const GhostscriptRun run = Convert(dir, c.strJob);
    ASSERT_EQ(!run.failure, c.bSucceeds) << FailureText(run);
    // Safe mode is switched on without Ghostscript's warning about it in every log.
    for (const std::string& strLine : run.log)
        EXPECT_EQ(strLine.find("WARNING"), std::string::npos) << strLine;
    if (!c.bSucceeds) {
        EXPECT_NE(FailureText(run).find("Error:"), std::string::npos) << FailureText(run);
        return;
    }
    const std::string strPdf = (dir.Path() / "out.pdf").string();
    const auto info = PdfInfo(strPdf);
    EXPECT_EQ(info.count("Pages") ? info.at("Pages") : "", c.strPages);
    const std::string strSize = info.count("Page size") ? info.at("Page size") : "";
    if (!c.strPageSize.empty())
        EXPECT_EQ(strSize, c.strPageSize);
    else
        EXPECT_EQ(strSize.find("200 x 100"), std::string::npos) << strSize;
    EXPECT_NE(PdfText(strPdf).find(c.strText), std::string::npos);
    EXPECT_EQ(info.count("Page rot") ? info.at("Page rot") : "", c.strRotation);
}

INSTANTIATE_TEST_SUITE_P(Cases, PreludeTest, testing::ValuesIn(PRELUDE_CASES), CaseName());

// With PDFCrop the page keeps its size and the PDF's crop box shows the bounding box.
TEST(PreludeCropBoxTest, PdfCropSetsTheCropBox) {
    if (!HaveCommand("gs") || !HaveCommand("pdfinfo"))
        GTEST_SKIP() << "Ghostscript or pdfinfo missing";
    BackendTestDir dir;
    const GhostscriptRun run =
        Convert(dir, "systemdict /BrisolDict get begin /TrimToBBox true def /PDFCrop true def end\n"
                     "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 100 200 300 300\n%%EndComments\n" +
                         FONT + "110 240 moveto (Beschnitten) show\n" + TRAILER);
    ASSERT_FALSE(run.failure) << FailureText(run);
    const auto info = PdfInfo((dir.Path() / "out.pdf").string());
    ASSERT_TRUE(info.count("CropBox") && info.count("MediaBox"));
    EXPECT_EQ(info.at("CropBox"), "100.00   200.00   300.00   300.00");
    EXPECT_NE(info.at("MediaBox"), info.at("CropBox"));
}

// The configuration's font lists reach pdfwrite as names and nothing else: a list that
// holds PostScript code runs none of it.
TEST(PreludeFontListTest, NamesOnlyEverBecomeNames) {
    if (!HaveCommand("gs") || !HaveCommand("pdffonts"))
        GTEST_SKIP() << "Ghostscript or pdffonts missing";
    const std::string strJob = "%!PS\n/URWGothic-Book findfont 20 scalefont setfont 72 700 moveto "
                               "(Gothic) show\n/NimbusSans-Regular findfont 20 scalefont setfont "
                               "72 600 moveto (Nimbus) show showpage\n" +
                               TRAILER;
    BackendTestDir dir;
    GhostscriptRun run = Convert(dir, strJob);
    ASSERT_FALSE(run.failure) << FailureText(run);
    const std::string strPdf = (dir.Path() / "out.pdf").string();
    EXPECT_EQ(
        PdfFontsEmbedded(strPdf),
        (std::map<std::string, bool>{{"URWGothic-Book", true}, {"NimbusSans-Regular", true}}));

    run = Convert(dir, strJob,
                  {"-sQuillonNeverEmbed=] {(GEKAPERT) print} exec [ URWGothic-Book (x) /y"});
    ASSERT_FALSE(run.failure) << FailureText(run);
    for (const std::string& strLine : run.log)
        EXPECT_EQ(strLine.find("GEKAPERT"), std::string::npos) << strLine;
    EXPECT_EQ(
        PdfFontsEmbedded(strPdf),
        (std::map<std::string, bool>{{"URWGothic-Book", false}, {"NimbusSans-Regular", true}}));

    // With no font embedded but those always embedded.
    run =
        Convert(dir, strJob, {"-dEmbedAllFonts=false", "-sQuillonAlwaysEmbed=NimbusSans-Regular"});
    ASSERT_FALSE(run.failure) << FailureText(run);
    EXPECT_EQ(
        PdfFontsEmbedded(strPdf),
        (std::map<std::string, bool>{{"URWGothic-Book", false}, {"NimbusSans-Regular", true}}));
}

// Safe mode lets a job write into its own folder (Ghostscript's temporary folder) and
// nowhere else: not into the shared /tmp.
TEST(PreludeSafetyTest, JobWritesOnlyIntoItsOwnFolder) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    BackendTestDir dir;
    const std::string strWrite = " (w) file dup (x) writestring closefile\n";
    const GhostscriptRun own =
        Convert(dir, "%!PS\n(" + (dir.Path() / "eigen").string() + ")" + strWrite + TRAILER);
    EXPECT_FALSE(own.failure) << FailureText(own);
    EXPECT_EQ(BackendTestDir::ReadFile(dir.Path() / "eigen"), "x");

    const std::string strShared = "/tmp/quillon-probe-" + std::to_string(getpid());
    const GhostscriptRun shared = Convert(dir, "%!PS\n(" + strShared + ")" + strWrite + TRAILER);
    EXPECT_TRUE(shared.failure);
    EXPECT_NE(FailureText(shared).find("invalidfileaccess"), std::string::npos)
        << FailureText(shared);
    EXPECT_FALSE(std::filesystem::exists(strShared));
    std::filesystem::remove(strShared);
}

} // namespace

#include "app/OutputName.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kUseOutputPath = 0x00001000;
constexpr uint32_t kOverwrite = 0x80000000;

// A file system of existing paths and directory listings that records every query.
struct FakeFileSystem {
    std::set<std::string> existing;
    std::map<std::string, std::vector<DirectoryEntry>> listings; // by search pattern
    std::vector<std::string> tested;
    int nLongNameCalls = 0;

    FileExistsFunction Exists() {
        return [this](const std::string& strPath) {
            tested.push_back(strPath);
            return existing.count(strPath) != 0;
        };
    }
    LongNameFunction LongName() {
        return [this](std::string& strPath) {
            ++nLongNameCalls;
            auto it = listings.find(LongNameSearchPattern(strPath));
            if (it != listings.end())
                UseLongFileName(strPath, it->second);
        };
    }
};

NamingSettings Settings(int32_t nSaveRequest, uint32_t dwGeneral = 0,
                        std::optional<std::string> optOutputPath = std::nullopt, bool bUSet = false,
                        bool bUValue = false) {
    NamingSettings settings;
    settings.nSaveRequest = nSaveRequest;
    settings.dwGeneral = dwGeneral;
    settings.optOutputPath = std::move(optOutputPath);
    settings.bUSet = bUSet;
    settings.bUValue = bUValue;
    return settings;
}

const std::string kBericht = "C:\\docs\\bericht.ps";
const std::string kPdf = "C:\\docs\\bericht.pdf";
const std::string kLongDir(200, 'v');
constexpr NamingForm kSingle = NamingForm::SingleFile;
constexpr NamingForm kBatch = NamingForm::Batch;

struct NamingCase {
    const char* pszName;
    NamingForm eForm;
    NamingSettings settings;
    std::set<std::string> existing;
    std::optional<std::string> optExpected;
    size_t nTests; // existence tests made: the taken names, then the answer
    std::string strInput = kBericht;
};

std::vector<NamingCase> NamingCases() {
    const std::nullopt_t none = std::nullopt;
    return {
        {"free name", kBatch, Settings(1), {}, kPdf, 1},
        {"taken name gets number 0", kBatch, Settings(1), {kPdf}, "C:\\docs\\bericht0.pdf", 2},
        {"numbers count on",
         kSingle,
         Settings(1),
         {kPdf, "C:\\docs\\bericht0.pdf", "C:\\docs\\bericht1.pdf"},
         "C:\\docs\\bericht2.pdf",
         4},
        {"SaveRequest 0: no extension", kBatch, Settings(0), {kPdf}, "C:\\docs\\bericht", 1},
        {"SaveRequest 0: numbers without extension",
         kBatch,
         Settings(0),
         {"C:\\docs\\bericht", "C:\\docs\\bericht0"},
         "C:\\docs\\bericht1",
         3},
        {"SaveRequest 2 is not 1",
         kBatch,
         Settings(2),
         {"C:\\docs\\bericht"},
         "C:\\docs\\bericht0",
         2},
        {"SaveRequest -1 is not 1", kBatch, Settings(-1), {}, "C:\\docs\\bericht", 1},
        {"input without extension",
         kBatch,
         Settings(1),
         {},
         "C:\\docs\\README.pdf",
         1,
         "C:\\docs\\README"},
        {"only the last extension goes",
         kBatch,
         Settings(1),
         {},
         "C:\\a\\b.c.pdf",
         1,
         "C:\\a\\b.c.ps"},
        {"a dot in the directory stays",
         kBatch,
         Settings(1),
         {},
         "C:\\a.x\\readme.pdf",
         1,
         "C:\\a.x\\readme"},
        {"output folder",
         kBatch,
         Settings(1, kUseOutputPath, "D:\\out"),
         {},
         "D:\\out\\bericht.pdf",
         1},
        {"output folder with backslash",
         kBatch,
         Settings(1, kUseOutputPath, "D:\\out\\"),
         {},
         "D:\\out\\bericht.pdf",
         1},
        {"output folder with slashes",
         kBatch,
         Settings(1, kUseOutputPath, "D:/out/"),
         {},
         "D:/out/bericht.pdf",
         1},
        {"output folder with a slash, none at the end",
         kBatch,
         Settings(1, kUseOutputPath, "D:/out"),
         {},
         "D:/out\\bericht.pdf",
         1},
        {"a dotted output folder with slashes keeps its name",
         kBatch,
         Settings(1, kUseOutputPath, "D:/pdf.dir/"),
         {},
         "D:/pdf.dir/README.pdf",
         1,
         "C:\\docs\\README"},
        {"output folder: numbering there",
         kBatch,
         Settings(1, kUseOutputPath, "D:\\out"),
         {"D:\\out\\bericht.pdf", kPdf},
         "D:\\out\\bericht0.pdf",
         2},
        {"output folder absent", kBatch, Settings(1, kUseOutputPath), {}, "bericht.pdf", 1},
        {"output folder empty", kBatch, Settings(1, kUseOutputPath, ""), {}, "bericht.pdf", 1},
        {"output folder ignored without the bit", kBatch, Settings(1, 0, "D:\\out"), {}, kPdf, 1},
        {"output folder: a long input directory does not matter",
         kBatch,
         Settings(1, kUseOutputPath, "D:\\out"),
         {},
         "D:\\out\\bericht.pdf",
         1,
         "C:\\" + kLongDir + "\\" + kLongDir + "\\bericht.ps"},
        {"bit 31 overwrites (batch)", kBatch, Settings(1, kOverwrite), {kPdf}, kPdf, 0},
        {"bit 31 overwrites (single file)", kSingle, Settings(1, kOverwrite), {kPdf}, kPdf, 0},
        {"/U1 with bit 31: single file numbers",
         kSingle,
         Settings(1, kOverwrite, none, true, false),
         {kPdf},
         "C:\\docs\\bericht0.pdf",
         2},
        {"/U1 with bit 31: batch overwrites",
         kBatch,
         Settings(1, kOverwrite, none, true, false),
         {kPdf},
         kPdf,
         0},
        {"/U0 overwrites (single file)",
         kSingle,
         Settings(1, 0, none, true, true),
         {kPdf},
         kPdf,
         0},
        {"/U0 overwrites (batch)", kBatch, Settings(1, 0, none, true, true), {kPdf}, kPdf, 0},
    };
}

TEST(OutputName, MakeOutputNameCases) {
    for (const NamingCase& c : NamingCases()) {
        SCOPED_TRACE(c.pszName);
        FakeFileSystem fs;
        fs.existing = c.existing;
        std::string strLongInput = "unset";
        EXPECT_EQ(MakeOutputName(c.strInput, c.eForm, c.settings, fs.Exists(), fs.LongName(),
                                 &strLongInput),
                  c.optExpected);
        EXPECT_EQ(strLongInput, c.strInput);
        ASSERT_EQ(fs.tested.size(), c.nTests);
        if (c.nTests == 0)
            continue;
        EXPECT_EQ(fs.tested.back(), c.optExpected);
        for (size_t i = 0; i + 1 < fs.tested.size(); ++i)
            EXPECT_TRUE(c.existing.count(fs.tested[i])) << fs.tested[i];
    }
}

TEST(OutputName, NumberingTestsEachNameInTurn) {
    FakeFileSystem fs;
    fs.existing = {"C:\\docs\\bericht", "C:\\docs\\bericht0", "C:\\docs\\bericht.pdf"};
    EXPECT_EQ(MakeOutputName(kBericht, kBatch, Settings(0), fs.Exists(), fs.LongName(), nullptr),
              "C:\\docs\\bericht1");
    EXPECT_EQ(fs.tested, (std::vector<std::string>{"C:\\docs\\bericht", "C:\\docs\\bericht0",
                                                   "C:\\docs\\bericht1"}));
}

TEST(OutputName, SingleFileFormUsesTheLongName) {
    FakeFileSystem fs;
    fs.listings["C:\\DOCS\\*.*"] = {{".", ""}, {"..", ""}, {"Bericht vom Mai.ps", "BERICH~1.PS"}};
    std::string strLongInput;
    EXPECT_EQ(MakeOutputName("C:\\DOCS\\BERICH~1.PS", NamingForm::SingleFile, Settings(1),
                             fs.Exists(), fs.LongName(), &strLongInput),
              "C:\\DOCS\\Bericht vom Mai.pdf");
    EXPECT_EQ(strLongInput, "C:\\DOCS\\Bericht vom Mai.ps");
    EXPECT_EQ(fs.tested, std::vector<std::string>{"C:\\DOCS\\Bericht vom Mai.pdf"});
}

TEST(OutputName, BatchFormKeepsTheGivenName) {
    FakeFileSystem fs;
    fs.listings["C:\\DOCS\\*.*"] = {{"Bericht vom Mai.ps", "BERICH~1.PS"}};
    std::string strInput;
    EXPECT_EQ(MakeOutputName("C:\\DOCS\\BERICH~1.PS", NamingForm::Batch, Settings(1), fs.Exists(),
                             fs.LongName(), &strInput),
              "C:\\DOCS\\BERICH~1.pdf");
    EXPECT_EQ(fs.nLongNameCalls, 0);
    EXPECT_EQ(strInput, "C:\\DOCS\\BERICH~1.PS");
}

TEST(OutputName, NamesBeyondThePathLimitFail) {
    // "C:\" + stem + ".pdf": a stem of 252 characters gives exactly 259.
    const std::string strStem252 = "C:\\" + std::string(252, 'a');
    const std::string strStem251 = "C:\\" + std::string(251, 'a');
    const std::string strStem253 = "C:\\" + std::string(253, 'a');
    struct LimitCase {
        const char* pszName;
        std::string strInput;
        uint32_t dwGeneral;
        std::set<std::string> existing;
        std::optional<std::string> optExpected;
    };
    std::set<std::string> taken251 = {strStem251 + ".pdf"};
    for (int i = 0; i <= 9; ++i)
        taken251.insert(strStem251 + std::to_string(i) + ".pdf");
    const LimitCase cases[] = {
        {"259 characters fit", strStem252 + ".ps", 0, {}, strStem252 + ".pdf"},
        {"260 characters do not", strStem253 + ".ps", 0, {}, std::nullopt},
        {"260 characters with overwriting", strStem253 + ".ps", kOverwrite, {}, std::nullopt},
        {"number 0 would pass the limit",
         strStem252 + ".ps",
         0,
         {strStem252 + ".pdf"},
         std::nullopt},
        {"number 9 fits",
         strStem251 + ".ps",
         0,
         {strStem251 + ".pdf", strStem251 + "0.pdf", strStem251 + "1.pdf", strStem251 + "2.pdf",
          strStem251 + "3.pdf", strStem251 + "4.pdf", strStem251 + "5.pdf", strStem251 + "6.pdf",
          strStem251 + "7.pdf", strStem251 + "8.pdf"},
         strStem251 + "9.pdf"},
        {"number 10 would pass the limit", strStem251 + ".ps", 0, taken251, std::nullopt},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        FakeFileSystem fs;
        fs.existing = c.existing;
        const std::optional<std::string> optName =
            MakeOutputName(c.strInput, NamingForm::Batch, Settings(1, c.dwGeneral), fs.Exists(),
                           fs.LongName(), nullptr);
        EXPECT_EQ(optName, c.optExpected);
        for (const std::string& strTested : fs.tested)
            EXPECT_LE(strTested.size(), MAX_OUTPUT_NAME);
    }
}

TEST(OutputName, OverwriteRule) {
    struct RuleCase {
        NamingForm eForm;
        uint32_t dwGeneral;
        bool bUSet;
        bool bUValue;
        bool bExpected;
    };
    const NamingForm S = NamingForm::SingleFile;
    const NamingForm B = NamingForm::Batch;
    const RuleCase cases[] = {
        {S, 0, false, false, false},
        {S, kOverwrite, false, false, true},
        {S, 0, true, true, true},
        {S, kOverwrite, true, true, true},
        {S, 0, true, false, false},
        {S, kOverwrite, true, false, false},
        {S, 0x7FFFFFFF, false, false, false},
        {B, 0, false, false, false},
        {B, kOverwrite, false, false, true},
        {B, 0, true, true, true},
        {B, kOverwrite, true, true, true},
        {B, 0, true, false, false},
        {B, kOverwrite, true, false, true},
        {B, 0x7FFFFFFF, false, false, false},
        // A stray value byte without the switch counts for nothing.
        {S, kOverwrite, false, true, true},
        {B, 0, false, true, false},
    };
    for (const RuleCase& c : cases) {
        EXPECT_EQ(IsOverwriteAllowed(c.eForm, c.dwGeneral, c.bUSet, c.bUValue), c.bExpected)
            << (c.eForm == S ? "single" : "batch") << " General " << std::hex << c.dwGeneral
            << " U set " << c.bUSet << " U value " << c.bUValue;
    }
}

TEST(OutputName, StripExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\a\\b.c.ps", "C:\\a\\b.c"},
        {"C:\\a.x\\readme", "C:\\a.x\\readme"},
        {"C:\\a\\datei.", "C:\\a\\datei"},
        {"", ""},
        {".ps", ""},
        {"a/b.c", "a/b"},
        // Only the backslash stops the scan.
        {"D:/pdf.dir/README", "D:/pdf"},
        {"C:\\docs\\", "C:\\docs\\"},
        {"bericht", "bericht"},
        {"a..b", "a."},
    };
    for (const auto& c : cases) {
        std::string strPath = c.first;
        StripExtension(strPath);
        EXPECT_EQ(strPath, c.second) << c.first;
    }
}

// Expected parts as the C runtime's _splitpath gives them (the Windows tests compare).
TEST(OutputName, SplitPath) {
    struct SplitCase {
        const char* pszPath;
        const char* pszDrive;
        const char* pszDir;
        const char* pszName;
        const char* pszExt;
    };
    const SplitCase cases[] = {
        {"C:\\docs\\bericht.ps", "C:", "\\docs\\", "bericht", ".ps"},
        {"C:\\docs\\README", "C:", "\\docs\\", "README", ""},
        {"C:", "C:", "", "", ""},
        {"C:x.ps", "C:", "", "x", ".ps"},
        {"1:x", "1:", "", "x", ""},
        {":x", "", "", ":x", ""},
        {"\\\\srv\\share\\a.b.c", "", "\\\\srv\\share\\", "a.b", ".c"},
        {"a/b.c", "", "a/", "b", ".c"},
        {"a/b.c/", "", "a/b.c/", "", ""},
        {".ps", "", "", "", ".ps"},
        {"..", "", "", ".", "."},
        {"datei.", "", "", "datei", "."},
        {"C:\\a.x\\readme", "C:", "\\a.x\\", "readme", ""},
        {"", "", "", "", ""},
        {"C:\\a\\b\\c:d.e", "C:", "\\a\\b\\", "c:d", ".e"},
    };
    for (const SplitCase& c : cases) {
        const PathParts parts = SplitPath(c.pszPath);
        EXPECT_EQ(parts.strDrive, c.pszDrive) << c.pszPath;
        EXPECT_EQ(parts.strDir, c.pszDir) << c.pszPath;
        EXPECT_EQ(parts.strName, c.pszName) << c.pszPath;
        EXPECT_EQ(parts.strExt, c.pszExt) << c.pszPath;
    }
}

TEST(OutputName, MakePath) {
    struct MakeCase {
        const char* pszDrive;
        const char* pszDir;
        const char* pszName;
        const char* pszExt;
        const char* pszExpected;
    };
    const MakeCase cases[] = {
        {"C:", "\\docs", "b", ".ps", "C:\\docs\\b.ps"},
        {"C", "x/", "b", "ps", "C:x/b.ps"},
        {"", "", "b", "", "b"},
        {"CDE", "a", "", "e", "C:a\\.e"},
        {"", "a\\", "", "", "a\\"},
        {"", "", "", "..x", "..x"},
        {"", "", "*", "*", "*.*"},
        {"x", "", "", "", "x:"},
        {"", "D:\\out", "bericht", ".ps", "D:\\out\\bericht.ps"},
    };
    for (const MakeCase& c : cases)
        EXPECT_EQ(MakePath(c.pszDrive, c.pszDir, c.pszName, c.pszExt), c.pszExpected)
            << c.pszDrive << "|" << c.pszDir << "|" << c.pszName << "|" << c.pszExt;
}

TEST(OutputName, LongNameSearchPattern) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\docs\\bericht.ps", "C:\\docs\\*.*"},
        {"bericht.ps", "*.*"},
        {"C:x.ps", "C:*.*"},
        {"\\\\srv\\share\\a", "\\\\srv\\share\\*.*"},
        {"C:/docs/a", "C:/docs/*.*"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LongNameSearchPattern(c.first), c.second) << c.first;
}

TEST(OutputName, UseLongFileName) {
    const DirectoryEntry kMai = {"Bericht vom Mai.ps", "BERICH~1.PS"};
    const DirectoryEntry kJuni = {"Bericht vom Juni.ps", "BERICH~2.PS"};
    struct LongCase {
        const char* pszName;
        const char* pszPath;
        std::vector<DirectoryEntry> entries;
        const char* pszExpected;
    };
    const LongCase cases[] = {
        {"short name", "C:\\DOCS\\BERICH~1.PS", {kJuni, kMai}, "C:\\DOCS\\Bericht vom Mai.ps"},
        {"short name in other case",
         "C:\\docs\\berich~2.ps",
         {kMai, kJuni},
         "C:\\docs\\Bericht vom Juni.ps"},
        {"long name in other case",
         "C:\\docs\\BERICHT VOM MAI.PS",
         {kJuni, kMai},
         "C:\\docs\\Bericht vom Mai.ps"},
        {"first match wins",
         "C:\\d\\X.PS",
         {{"first.ps", "X.PS"}, {"x.ps", ""}},
         "C:\\d\\first.ps"},
        {"no match", "C:\\d\\other.ps", {kMai, kJuni}, "C:\\d\\other.ps"},
        {"empty listing", "C:\\d\\BERICH~1.PS", {}, "C:\\d\\BERICH~1.PS"},
        {"directory components stay short",
         "C:\\LANGER~1\\BERICH~1.PS",
         {kMai},
         "C:\\LANGER~1\\Bericht vom Mai.ps"},
        {"drive-relative", "C:BERICH~1.PS", {kMai}, "C:Bericht vom Mai.ps"},
        {"forward slashes", "C:/docs/berich~1.ps", {kMai}, "C:/docs/Bericht vom Mai.ps"},
        {"no directory", "BERICH~1.PS", {kMai}, "Bericht vom Mai.ps"},
        // Entries whose long name is short already have an empty short name.
        {"a directory path matches nothing", "C:\\docs\\", {{"a.ps", ""}}, "C:\\docs\\"},
        {"only ASCII letters fold", "C:\\d\\\xE4.ps", {{"\xC4.ps", ""}}, "C:\\d\\\xE4.ps"},
        {"a prefix is no match", "C:\\d\\Bericht", {kMai}, "C:\\d\\Bericht"},
    };
    for (const LongCase& c : cases) {
        std::string strPath = c.pszPath;
        UseLongFileName(strPath, c.entries);
        EXPECT_EQ(strPath, c.pszExpected) << c.pszName;
    }
}

} // namespace

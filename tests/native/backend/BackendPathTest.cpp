#include "printer/backend/TargetPath.h"
#include "printer/backend/WindowsPath.h"

#include "BackendTestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------
// Splitting the ticket's Windows path

struct SplitCase {
    const char* pszName;
    std::string strPath;
    bool bAccepted;
    char cDrive;
    std::vector<std::string> components;
};

const SplitCase SPLIT_CASES[] = {
    {"file in a folder", "C:\\Out\\report.pdf", true, 'c', {"Out", "report.pdf"}},
    {"file at the root, drive in lower case", "z:\\a.pdf", true, 'z', {"a.pdf"}},
    {"blanks and umlauts",
     "C:\\Ordner mit Leerzeichen\\Gr\xC3\xBC\xC3\x9F"
     "e.pdf",
     true,
     'c',
     {"Ordner mit Leerzeichen", "Gr\xC3\xBC\xC3\x9F"
                                "e.pdf"}},
    {"slash separates as on Windows", "C:\\Out/sub\\a.pdf", true, 'c', {"Out", "sub", "a.pdf"}},
    {"name without extension", "C:\\Out\\report", true, 'c', {"Out", "report"}},
    {"relative", "Out\\report.pdf", false, 0, {}},
    {"drive-relative", "C:report.pdf", false, 0, {}},
    {"root of the current drive", "\\Out\\report.pdf", false, 0, {}},
    {"UNC path", "\\\\server\\share\\a.pdf", false, 0, {}},
    {"Unix path", "/etc/passwd", false, 0, {}},
    {"drive with slash", "C:/Out/a.pdf", false, 0, {}},
    {"no drive letter", "1:\\a.pdf", false, 0, {}},
    {"dot-dot", "C:\\Out\\..\\..\\etc\\passwd", false, 0, {}},
    {"dot-dot behind a slash", "C:\\Out/../x.pdf", false, 0, {}},
    {"dot", "C:\\Out\\.\\a.pdf", false, 0, {}},
    {"dot-dot as file name", "C:\\Out\\..", false, 0, {}},
    {"trailing dot on a folder", "C:\\Out.\\a.pdf", false, 0, {}},
    {"trailing blank on a folder", "C:\\Out \\a.pdf", false, 0, {}},
    {"three dots", "C:\\...\\a.pdf", false, 0, {}},
    {"doubled separator", "C:\\Out\\\\a.pdf", false, 0, {}},
    {"trailing separator", "C:\\Out\\", false, 0, {}},
    {"drive root alone", "C:\\", false, 0, {}},
    {"alternate data stream", "C:\\Out\\a.pdf:stream", false, 0, {}},
    {"line feed", "C:\\Out\\a\n.pdf", false, 0, {}},
    {"wildcard", "C:\\Out\\*.pdf", false, 0, {}},
};

class SplitWindowsPathTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitWindowsPathTest, SplitsOrRefuses) {
    const SplitCase& c = GetParam();
    std::string strError;
    const std::optional<WindowsPath> path = SplitWindowsPath(c.strPath, strError);
    ASSERT_EQ(path.has_value(), c.bAccepted) << strError;
    if (c.bAccepted) {
        EXPECT_EQ(path->cDrive, c.cDrive);
        EXPECT_EQ(path->components, c.components);
    } else {
        EXPECT_FALSE(strError.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitWindowsPathTest, testing::ValuesIn(SPLIT_CASES), CaseName());

// ---------------------------------------------------------------------------------------
// The prefix from the device URI

struct UriCase {
    const char* pszName;
    std::string strUri;
    std::optional<std::string> expected;
};

const UriCase URI_CASES[] = {
    {"plain", "quillon:/home/u/.wine", "/home/u/.wine"},
    {"empty host", "quillon:///home/u/.wine", "/home/u/.wine"},
    {"escaped blank and umlaut", "quillon:/home/u/Wine%20Pr%C3%A4fix",
     "/home/u/Wine Pr\xC3\xA4"
     "fix"},
    {"other scheme", "file:/home/u/.wine", std::nullopt},
    {"host", "quillon://server/home/u/.wine", std::nullopt},
    {"relative", "quillon:home/u/.wine", std::nullopt},
    {"empty", "quillon:", std::nullopt},
    {"broken escape", "quillon:/home/%2", std::nullopt},
    {"escape that is no hex", "quillon:/home/%zz", std::nullopt},
    {"escaped NUL", "quillon:/home/%00x", std::nullopt},
};

class PrefixFromDeviceUriTest : public testing::TestWithParam<UriCase> {};

TEST_P(PrefixFromDeviceUriTest, DecodesOrRefuses) {
    std::string strError;
    EXPECT_EQ(PrefixFromDeviceUri(GetParam().strUri, strError), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrefixFromDeviceUriTest, testing::ValuesIn(URI_CASES), CaseName());

// ---------------------------------------------------------------------------------------
// Case folding

TEST(FoldCaseTest, FoldsTheCodePagesLetters) {
    const std::pair<std::string, std::string> cases[] = {
        {"Bericht.PDF", "bericht.pdf"},
        {"\xC3\x84\xC3\x96\xC3\x9C", "\xC3\xA4\xC3\xB6\xC3\xBC"}, // ÄÖÜ
        {"\xC3\x9F", "\xC3\x9F"},                                 // ß has no upper case here
        {"\xC3\x97", "\xC3\x97"},                                 // × is no letter
        {"\xC5\xA0\xC5\x92\xC5\xBD", "\xC5\xA1\xC5\x93\xC5\xBE"}, // ŠŒŽ
        {"\xC5\xB8", "\xC3\xBF"},                                 // Ÿ
        {"\xE2\x82\xAC", "\xE2\x82\xAC"},                         // €
    };
    for (const auto& [strIn, strOut] : cases)
        EXPECT_EQ(FoldCase(strIn), strOut) << strIn;
}

// ---------------------------------------------------------------------------------------
// Following the drive mapping

class ResolveTargetTest : public testing::Test {
protected:
    void SetUp() override {
        m_strPrefix = m_dir.MakePrefix();
        std::filesystem::create_directories(m_dir.Path() / "prefix" / "drive_c" / "Ausgabe" /
                                            "\xC3\x9C"
                                            "bersicht");
        BackendTestDir::WriteFile(m_dir.Path() / "prefix" / "drive_c" / "Ausgabe" / "Alt.pdf",
                                  "old");
        BackendTestDir::WriteFile(m_dir.Path() / "prefix" / "drive_c" / "Datei", "file");
    }

    std::optional<TargetPath> Resolve(const std::string& strWindowsPath, std::string& strError,
                                      uid_t trusted = geteuid()) {
        const std::optional<WindowsPath> path = SplitWindowsPath(strWindowsPath, strError);
        EXPECT_TRUE(path) << strError;
        if (!path)
            return std::nullopt;
        FolderWalk walk(trusted);
        const UniqueFd mapping = OpenDriveMapping(m_strPrefix, geteuid(), walk, strError);
        EXPECT_TRUE(mapping) << strError;
        return mapping ? ResolveTarget(mapping.Get(), m_strPrefix + "/dosdevices", *path, walk,
                                       strError)
                       : std::nullopt;
    }

    std::filesystem::path Drive() const { return m_dir.Path() / "prefix" / "drive_c"; }

    BackendTestDir m_dir;
    std::string m_strPrefix;
};

TEST_F(ResolveTargetTest, FollowsTheDriveLinkAndMatchesCase) {
    struct Case {
        std::string strWindowsPath;
        std::string strDirectoryTail; // below the drive link
        std::string strName;
        bool bExists;
    };
    const Case cases[] = {
        {"C:\\Ausgabe\\neu.pdf", "/Ausgabe", "neu.pdf", false},
        {"C:\\ausgabe\\Neu.pdf", "/Ausgabe", "Neu.pdf", false},
        {"C:\\AUSGABE\\alt.PDF", "/Ausgabe", "Alt.pdf", true},
        {"c:\\Ausgabe\\Alt.pdf", "/Ausgabe", "Alt.pdf", true},
        {"C:\\Ausgabe\\\xC3\xBC"
         "BERSICHT\\x.pdf",
         "/Ausgabe/\xC3\x9C"
         "bersicht",
         "x.pdf", false},
        {"C:\\top.pdf", "", "top.pdf", false},
    };
    for (const Case& c : cases) {
        std::string strError;
        const std::optional<TargetPath> target = Resolve(c.strWindowsPath, strError);
        ASSERT_TRUE(target) << c.strWindowsPath << ": " << strError;
        EXPECT_EQ(target->strDirectory, m_strPrefix + "/dosdevices/c:" + c.strDirectoryTail)
            << c.strWindowsPath;
        EXPECT_EQ(target->strName, c.strName) << c.strWindowsPath;
        EXPECT_EQ(target->bExists, c.bExists) << c.strWindowsPath;
    }
}

TEST_F(ResolveTargetTest, RefusesWhatIsNotThere) {
    const char* const paths[] = {
        "D:\\a.pdf",        // drive not mapped
        "C:\\Fehlt\\a.pdf", // folder missing
        "C:\\Datei\\a.pdf", // a file where a folder should be
        "C:\\Ausgabe\\Fehlt\\a.pdf",
    };
    for (const char* pszPath : paths) {
        std::string strError;
        EXPECT_FALSE(Resolve(pszPath, strError)) << pszPath;
        EXPECT_FALSE(strError.empty()) << pszPath;
    }
}

// Links on the way are followed when the job's user (or root) made them, so a folder may
// be a link to another; a link of another user's never is, nor a loop, nor a link to a file.
TEST_F(ResolveTargetTest, FollowsOnlyTrustedLinks) {
    std::filesystem::create_directories(m_dir.Path() / "woanders");
    std::filesystem::create_directory_symlink("../../woanders", Drive() / "Verweis");
    std::filesystem::create_directory_symlink("Schleife2", Drive() / "Schleife1");
    std::filesystem::create_directory_symlink("Schleife1", Drive() / "Schleife2");
    std::filesystem::create_symlink("Datei", Drive() / "AufDatei");
    std::string strError;
    const std::optional<TargetPath> target = Resolve("C:\\verweis\\x.pdf", strError);
    ASSERT_TRUE(target) << strError;
    EXPECT_EQ(target->strName, "x.pdf");
    for (const char* pszPath : {"C:\\Schleife1\\x.pdf", "C:\\AufDatei\\x.pdf"}) {
        EXPECT_FALSE(Resolve(pszPath, strError)) << pszPath;
        EXPECT_FALSE(strError.empty()) << pszPath;
    }
    // The same link made by another user: refused, for root's walk too. (Without root the
    // link cannot be given away: then the walk is told to trust someone else instead.)
    uid_t owner = geteuid();
    if (owner == 0) {
        owner = 4242;
        ASSERT_EQ(lchown((Drive() / "Verweis").c_str(), owner, owner), 0);
    }
    const uid_t stranger = owner == geteuid() ? owner + 1 : geteuid();
    EXPECT_FALSE(Resolve("C:\\Verweis\\x.pdf", strError, stranger));
    EXPECT_NE(strError.find("another user (uid " + std::to_string(owner)), std::string::npos)
        << strError;
}

TEST_F(ResolveTargetTest, DanglingDriveLinkIsNotMapped) {
    std::filesystem::create_directory_symlink("../nowhere",
                                              m_dir.Path() / "prefix" / "dosdevices" / "e:");
    std::string strError;
    EXPECT_FALSE(Resolve("E:\\a.pdf", strError));
    EXPECT_NE(strError.find("e:"), std::string::npos) << strError;
}

} // namespace

// Output naming on a real (Wine) file system with a real application object, and the path
// splitting and joining compared with the C runtime's own _splitpath and _makepath.
#include "app/ConverterApp.h"
#include "app/OutputNameWin.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int32_t kUseOutputPath = 0x00001000;
constexpr int32_t kOverwrite = static_cast<int32_t>(0x80000000u);

// Deletes a directory with everything in it; a leftover from an aborted run included.
void RemoveTree(const std::string& strDir) {
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strDir + "\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::string strName = data.cFileName;
            if (strName == "." || strName == "..")
                continue;
            const std::string strPath = strDir + "\\" + strName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(strPath);
            else
                DeleteFileA(strPath.c_str());
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryA(strDir.c_str());
}

class OutputNameWinTest : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemp[MAX_PATH];
        GetTempPathA(sizeof szTemp, szTemp);
        m_strDir = std::string(szTemp) + "PsZuPdfOutputNameTest";
        RemoveTree(m_strDir);
        MakeDirectory(m_strDir);
        m_app.General.Allocate();
        m_app.SaveRequest.Allocate();
        m_app.SaveRequest.Set(1);
    }

    void TearDown() override { RemoveTree(m_strDir); }

    std::string Path(const std::string& strName) const { return m_strDir + "\\" + strName; }

    void MakeFile(const std::string& strPath) {
        HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(hFile, INVALID_HANDLE_VALUE) << strPath;
        CloseHandle(hFile);
    }

    void MakeDirectory(const std::string& strPath) {
        ASSERT_TRUE(CreateDirectoryA(strPath.c_str(), nullptr)) << strPath;
    }

    void SetOutputPath(const char* pszText) {
        m_app.OutputPath.reset(new char[std::strlen(pszText) + 1]);
        std::strcpy(m_app.OutputPath.get(), pszText);
    }

    static std::string ShortPath(const std::string& strPath) {
        char szShort[MAX_PATH];
        DWORD nLength = GetShortPathNameA(strPath.c_str(), szShort, sizeof szShort);
        return (nLength > 0 && nLength < sizeof szShort) ? szShort : "";
    }

    ConverterApp m_app;
    std::string m_strDir;
};

TEST_F(OutputNameWinTest, FileExistsForFilesAndDirectories) {
    MakeFile(Path("datei.ps"));
    MakeDirectory(Path("ordner"));
    EXPECT_TRUE(FileExists(Path("datei.ps")));
    EXPECT_TRUE(FileExists(Path("DATEI.PS")));
    EXPECT_TRUE(FileExists(Path("ordner")));
    EXPECT_FALSE(FileExists(Path("fehlt.ps")));
    EXPECT_FALSE(FileExists(Path("fehlt\\datei.ps")));
}

TEST_F(OutputNameWinTest, TakenNamesAreNumbered) {
    const std::string strInput = Path("bericht.ps");
    MakeFile(strInput);
    EXPECT_EQ(MakeOutputName(strInput, NamingForm::Batch, nullptr), Path("bericht.pdf"));
    MakeFile(Path("bericht.pdf"));
    EXPECT_EQ(MakeOutputName(strInput, NamingForm::Batch, nullptr), Path("bericht0.pdf"));
    MakeFile(Path("bericht0.pdf"));
    EXPECT_EQ(MakeOutputName(strInput, NamingForm::SingleFile, nullptr), Path("bericht1.pdf"));
}

TEST_F(OutputNameWinTest, ADirectoryTakesTheName) {
    m_app.SaveRequest.Set(0);
    MakeDirectory(Path("bericht"));
    EXPECT_EQ(MakeOutputName(Path("bericht.ps"), NamingForm::Batch, nullptr), Path("bericht0"));
}

TEST_F(OutputNameWinTest, OverwritingTakesTheTakenName) {
    MakeFile(Path("bericht.pdf"));
    m_app.General.Set(kOverwrite);
    EXPECT_EQ(MakeOutputName(Path("bericht.ps"), NamingForm::Batch, nullptr), Path("bericht.pdf"));
    // /U1: the single-file form seeks a free name although the bit is set.
    m_app.m_bUSet = 1;
    m_app.m_bUValue = 0;
    EXPECT_EQ(MakeOutputName(Path("bericht.ps"), NamingForm::SingleFile, nullptr),
              Path("bericht0.pdf"));
    EXPECT_EQ(MakeOutputName(Path("bericht.ps"), NamingForm::Batch, nullptr), Path("bericht.pdf"));
}

TEST_F(OutputNameWinTest, OutputFolder) {
    const std::string strOut = Path("ausgabe");
    MakeDirectory(strOut);
    MakeFile(strOut + "\\bericht.pdf");
    const std::string strInput = "C:\\irgendwo\\bericht.ps";
    m_app.General.Set(kUseOutputPath);
    SetOutputPath(strOut.c_str());
    EXPECT_EQ(MakeOutputName(strInput, NamingForm::Batch, nullptr), strOut + "\\bericht0.pdf");
    SetOutputPath((strOut + "\\").c_str());
    EXPECT_EQ(MakeOutputName(strInput, NamingForm::Batch, nullptr), strOut + "\\bericht0.pdf");
    // Both bits: plain names in the folder, even where they are taken.
    m_app.General.Set(kUseOutputPath | kOverwrite);
    EXPECT_EQ(MakeOutputName(strInput, NamingForm::Batch, nullptr), strOut + "\\bericht.pdf");
    m_app.OutputPath.reset();
    EXPECT_EQ(MakeOutputName(strInput, NamingForm::Batch, nullptr), "bericht.pdf");
}

TEST_F(OutputNameWinTest, SettingsAreReadAtTheMomentOfNaming) {
    const std::string strInput = Path("bericht.ps");
    std::string strUsed;
    EXPECT_EQ(MakeOutputName(strInput, NamingForm::Batch, &strUsed), Path("bericht.pdf"));
    EXPECT_EQ(strUsed, strInput);
    m_app.SaveRequest.Set(2);
    EXPECT_EQ(MakeOutputName(strInput, NamingForm::Batch, nullptr), Path("bericht"));
    m_app.SaveRequest.Set(1);
    m_app.General.Set(kUseOutputPath);
    SetOutputPath("D:\\out");
    EXPECT_EQ(MakeOutputName(strInput, NamingForm::Batch, nullptr), "D:\\out\\bericht.pdf");
}

TEST_F(OutputNameWinTest, NamesBeyondThePathLimitAreRefused) {
    // The directory plus "\" plus the stem plus ".pdf" make 259 characters, then 260.
    const size_t nStem = MAX_OUTPUT_NAME - m_strDir.size() - 1 - 4;
    EXPECT_EQ(MakeOutputName(Path(std::string(nStem, 'a') + ".ps"), NamingForm::Batch, nullptr),
              Path(std::string(nStem, 'a') + ".pdf"));
    EXPECT_EQ(MakeOutputName(Path(std::string(nStem + 1, 'a') + ".ps"), NamingForm::Batch, nullptr),
              std::nullopt);
}

TEST_F(OutputNameWinTest, SingleFileFormTurnsAShortNameLong) {
    const std::string strFolder = Path("Langer Ordner");
    MakeDirectory(strFolder);
    const std::string strLong = strFolder + "\\Bericht vom Mai.ps";
    MakeFile(strLong);
    const std::string strShort = ShortPath(strLong);
    ASSERT_FALSE(strShort.empty());
    const std::string strShortFolder = strShort.substr(0, strShort.find_last_of('\\') + 1);
    ASSERT_NE(strShort, strShortFolder + "Bericht vom Mai.ps") << "no short name made";
    ASSERT_NE(strShortFolder, strFolder + "\\") << "no short folder name made";

    std::string strUsed;
    EXPECT_EQ(MakeOutputName(strShort, NamingForm::SingleFile, &strUsed),
              strShortFolder + "Bericht vom Mai.pdf");
    // Only the last component turns long; the folder stays as given.
    EXPECT_EQ(strUsed, strShortFolder + "Bericht vom Mai.ps");

    EXPECT_EQ(MakeOutputName(strShort, NamingForm::Batch, &strUsed),
              strShort.substr(0, strShort.find_last_of('.')) + ".pdf");
    EXPECT_EQ(strUsed, strShort);
}

TEST_F(OutputNameWinTest, UseLongFileNameLeavesOtherPathsAlone) {
    MakeFile(Path("Bericht vom Mai.ps"));
    const std::string cases[] = {
        Path("fehlt.ps"),               // no entry matches
        Path("fehlt\\BERICH~1.PS"),     // the directory cannot be listed
        Path("Bericht vom Mai.ps.bak"), // a longer name is no match
    };
    for (const std::string& strCase : cases) {
        std::string strPath = strCase;
        UseLongFileName(strPath);
        EXPECT_EQ(strPath, strCase);
    }
    std::string strUpper = Path("BERICHT VOM MAI.PS");
    UseLongFileName(strUpper);
    EXPECT_EQ(strUpper, Path("Bericht vom Mai.ps"));
}

// Paths within the C runtime's limits of 255 characters per part.
const char* const kSplitPaths[] = {
    "C:\\docs\\bericht.ps",
    "C:\\docs\\README",
    "C:",
    "C:\\",
    "C:x.ps",
    "1:x",
    ":x",
    " :x",
    "\\\\srv\\share\\a.b.c",
    "a/b.c",
    "a/b.c/",
    "dir.x\\",
    ".ps",
    ".",
    "..",
    "a..b",
    "datei.",
    "C:\\a.x\\readme",
    "",
    "x:",
    "/",
    "C:/a/b/.c",
    "C:\\a\\b\\c:d.e",
    "a:b:c.d",
    "C:\\DOCS\\BERICH~1.PS",
    "C:\\Dokumente\\Bericht vom Mai.ps",
    "\xC4rger\\\xFC"
    "ber.\xE4ps",
};

TEST(OutputNameRuntime, SplitPathAgreesWithTheCRuntime) {
    for (const char* pszPath : kSplitPaths) {
        char szDrive[_MAX_DRIVE], szDir[_MAX_DIR], szName[_MAX_FNAME], szExt[_MAX_EXT];
        _splitpath(pszPath, szDrive, szDir, szName, szExt);
        const PathParts parts = SplitPath(pszPath);
        EXPECT_EQ(parts.strDrive, szDrive) << pszPath;
        EXPECT_EQ(parts.strDir, szDir) << pszPath;
        EXPECT_EQ(parts.strName, szName) << pszPath;
        EXPECT_EQ(parts.strExt, szExt) << pszPath;

        // Splitting and joining again, as the output folder and the search pattern do.
        char szJoined[MAX_PATH * 2];
        _makepath(szJoined, szDrive, szDir, szName, szExt);
        EXPECT_EQ(MakePath(parts.strDrive, parts.strDir, parts.strName, parts.strExt), szJoined)
            << pszPath;
        _makepath(szJoined, szDrive, szDir, "*", "*");
        EXPECT_EQ(LongNameSearchPattern(pszPath), szJoined) << pszPath;
    }
}

TEST(OutputNameRuntime, MakePathAgreesWithTheCRuntime) {
    struct Parts {
        const char* pszDrive;
        const char* pszDir;
        const char* pszName;
        const char* pszExt;
    };
    const Parts cases[] = {
        {"C:", "\\docs", "b", ".ps"},
        {"C", "x/", "b", "ps"},
        {"", "", "b", ""},
        {"CDE", "a", "", "e"},
        {"", "a\\", "", ""},
        {"", "", "", ".x"},
        {"", "", "", "..x"},
        {":", "a", "b", "c"},
        {"", "", "*", "*"},
        {"x", "", "", ""},
        {"", "D:\\out", "b", ".ps"},
        {"", "D:/out/", "b", ".ps"},
        {"", "D:/out", "b", ".ps"},
        {"", "", "", ""},
        {"", ".", ".", "."},
    };
    for (const Parts& c : cases) {
        char szJoined[MAX_PATH];
        _makepath(szJoined, c.pszDrive, c.pszDir, c.pszName, c.pszExt);
        EXPECT_EQ(MakePath(c.pszDrive, c.pszDir, c.pszName, c.pszExt), szJoined)
            << c.pszDrive << "|" << c.pszDir << "|" << c.pszName << "|" << c.pszExt;
    }
}

} // namespace

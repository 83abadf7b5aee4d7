#include "printer/backend/NumberedName.h"
#include "printer/backend/PendingOutput.h"
#include "printer/backend/TargetPath.h"

#include "BackendTestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

// Fills the file as Ghostscript does, through the descriptor it is handed.
void FillPending(const PendingOutput& output, const std::string& strContent) {
    ASSERT_EQ(pwrite(output.Fd(), strContent.data(), strContent.size(), 0),
              static_cast<ssize_t>(strContent.size()));
}

UniqueFd OpenFolder(const std::filesystem::path& path) {
    return UniqueFd(open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

const std::string WHOLE_PDF = "%PDF-1.7\n1 0 obj\n<<>>\nendobj\nstartxref\n9\n%%EOF\n";

TEST(NumberedNameTest, NumbersBeforeTheExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"bericht.pdf", "bericht7.pdf"},
        {"README", "README7"},
        {"a.b.pdf", "a.b7.pdf"},
        {".pdf", "7.pdf"},
        {"Gr\xC3\xB6\xC3\x9F"
         "e.log",
         "Gr\xC3\xB6\xC3\x9F"
         "e7.log"},
    };
    for (const auto& [pszName, pszNumbered] : cases)
        EXPECT_EQ(NumberedName(pszName, 7), pszNumbered) << pszName;
}

// ---------------------------------------------------------------------------------------
// Naming: the asked-for name, the replaced one, or the first free numbered one

struct PublishCase {
    const char* pszName;
    std::vector<std::string> existing; // files there before; a name ending in "/" a folder
    bool bReplace;
    const char* pszExpected; // the name given; nullptr: none (out of names, 3 tried)
};

const PublishCase PUBLISH_CASES[] = {
    {"free name", {}, false, "bericht.pdf"},
    {"free name, replacing allowed", {}, true, "bericht.pdf"},
    {"taken name numbered", {"bericht.pdf"}, false, "bericht0.pdf"},
    {"numbered names taken too", {"bericht.pdf", "bericht0.pdf"}, false, "bericht1.pdf"},
    {"taken in another case", {"BERICHT.PDF", "Bericht0.pdf"}, false, "bericht1.pdf"},
    {"replaced when allowed", {"bericht.pdf"}, true, "bericht.pdf"},
    {"replaced in its own spelling", {"Bericht.PDF"}, true, "Bericht.PDF"},
    {"folder in the way is numbered around", {"bericht.pdf/"}, true, "bericht0.pdf"},
    {"no extension", {"bericht.pdf", "bericht.pdf0"}, false, "bericht0.pdf"},
    {"out of names",
     {"bericht.pdf", "bericht0.pdf", "bericht1.pdf", "bericht2.pdf"},
     false,
     nullptr},
};

class PublishTest : public testing::TestWithParam<PublishCase> {};

TEST_P(PublishTest, NamesWithoutLosingAnything) {
    const PublishCase& c = GetParam();
    BackendTestDir dir;
    for (const std::string& strName : c.existing) {
        if (strName.back() == '/')
            std::filesystem::create_directory(dir.Path() / strName.substr(0, strName.size() - 1));
        else
            BackendTestDir::WriteFile(dir.Path() / strName, "old " + strName);
    }
    std::string strError;
    std::optional<std::string> name;
    bool bOutOfNames = false;
    {
        const UniqueFd folder = OpenFolder(dir.Path());
        std::optional<PendingOutput> output = PendingOutput::Create(folder.Get(), strError);
        ASSERT_TRUE(output) << strError;
        FillPending(*output, WHOLE_PDF);
        name = output->Publish("bericht.pdf", c.bReplace, 3, strError);
        bOutOfNames = output->RanOutOfNames();
    }
    std::set<std::string> expected;
    for (const std::string& strName : c.existing)
        expected.insert(strName.back() == '/' ? strName.substr(0, strName.size() - 1) : strName);
    if (!c.pszExpected) {
        EXPECT_FALSE(name) << *name;
        EXPECT_TRUE(bOutOfNames) << strError;
    } else {
        ASSERT_TRUE(name) << strError;
        EXPECT_EQ(*name, c.pszExpected);
        expected.insert(c.pszExpected);
        EXPECT_EQ(BackendTestDir::ReadFile(dir.Path() / *name), WHOLE_PDF);
    }
    // Nothing else: the temporary file never stays, and every other file is unchanged.
    EXPECT_EQ(BackendTestDir::List(dir.Path()), expected);
    for (const std::string& strName : c.existing) {
        if (strName.back() != '/' && (!name || strName != *name)) {
            EXPECT_EQ(BackendTestDir::ReadFile(dir.Path() / strName), "old " + strName);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PublishTest, testing::ValuesIn(PUBLISH_CASES), CaseName());

// Jobs of one name finishing at once, the name spelt in two ways (a.ps and A.eps both
// give a PDF of one name to Wine): each finds its own name, none replaces another's, and
// no two names differ only in case. Repeated, for the window between the look and the
// naming is short.
TEST(PublishTest, JobsRacingForOneNameAllArrive) {
    for (int nRound = 0; nRound < 20; ++nRound) {
        BackendTestDir dir;
        const UniqueFd folder = OpenFolder(dir.Path());
        constexpr int JOBS = 16;
        std::vector<std::optional<std::string>> names(JOBS);
        std::vector<std::string> errors(JOBS);
        std::vector<std::thread> threads;
        for (int nJob = 0; nJob < JOBS; ++nJob)
            threads.emplace_back([&, nJob] {
                std::optional<PendingOutput> output =
                    PendingOutput::Create(folder.Get(), errors[nJob]);
                if (!output)
                    return;
                const std::string strContent = WHOLE_PDF + std::to_string(nJob);
                if (pwrite(output->Fd(), strContent.data(), strContent.size(), 0) > 0)
                    names[nJob] = output->Publish(nJob % 2 ? "Bericht.pdf" : "bericht.pdf", false,
                                                  100, errors[nJob]);
            });
        for (std::thread& thread : threads)
            thread.join();
        std::set<std::string> given;
        for (int nJob = 0; nJob < JOBS; ++nJob) {
            ASSERT_TRUE(names[nJob]) << errors[nJob];
            given.insert(*names[nJob]);
            EXPECT_EQ(BackendTestDir::ReadFile(dir.Path() / *names[nJob]),
                      WHOLE_PDF + std::to_string(nJob));
        }
        EXPECT_EQ(given.size(), size_t{JOBS});
        EXPECT_EQ(BackendTestDir::List(dir.Path()), given);
        EXPECT_EQ(FoldedEntryNames(folder.Get()).size(), size_t{JOBS}) << "round " << nRound;
    }
}

TEST(PendingOutputTest, UnpublishedFileIsRemoved) {
    BackendTestDir dir;
    std::string strError;
    {
        const UniqueFd folder = OpenFolder(dir.Path());
        std::optional<PendingOutput> output = PendingOutput::Create(folder.Get(), strError);
        ASSERT_TRUE(output) << strError;
        FillPending(*output, "%PDF-1.7 half");
        // Where the file system allows, the file has no name until it is published.
        EXPECT_EQ(BackendTestDir::List(dir.Path()).size(), output->IsNamed() ? 1u : 0u);
    }
    EXPECT_TRUE(BackendTestDir::List(dir.Path()).empty());
}

TEST(PendingOutputTest, RecognisesOnlyWholePdfFiles) {
    const std::pair<std::string, bool> cases[] = {
        {"", false},
        {"%PDF", false},
        {"%!PS-Adobe-3.0\n%%EOF\n", false},
        {"%PDF-1.7\n1 0 obj\n<<>>\nendobj\n", false}, // cut short: a full disk
        {"%PDF-1.7\n1 0 obj\nstartxref\n9\n", false}, // cut before the end mark
        {WHOLE_PDF, true},
        {"%PDF-1.7\nstartxref\n9\n%%EOF", true},         // no line feed at the end
        {"%PDF-1.7\nstartxref\n9\n%%EOF\r\n  \n", true}, // white space after it
        {"%PDF-1.7\n" + std::string(5000, 'x') + "\nstartxref\n9\n%%EOF\n", true},
    };
    BackendTestDir dir;
    const UniqueFd folder = OpenFolder(dir.Path());
    for (const auto& [strContent, bWhole] : cases) {
        std::string strError;
        std::optional<PendingOutput> output = PendingOutput::Create(folder.Get(), strError);
        ASSERT_TRUE(output) << strError;
        FillPending(*output, strContent);
        EXPECT_EQ(output->HoldsWholePdf(), bWhole) << strContent.substr(0, 40);
    }
}

} // namespace

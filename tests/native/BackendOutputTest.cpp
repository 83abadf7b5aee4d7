#include "printer/backend/PendingOutput.h"

#include "BackendTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <set>
#include <string>

namespace {

// Fills the file as Ghostscript does, through the descriptor it is handed.
void FillPending(const PendingOutput& output, const std::string& strContent) {
    ASSERT_EQ(pwrite(output.Fd(), strContent.data(), strContent.size(), 0),
              static_cast<ssize_t>(strContent.size()));
}

struct OverwriteCase {
    const char* pszName;
    bool bTargetExists;
    bool bOverwrite;
    bool bCommitted;
};

const OverwriteCase OVERWRITE_CASES[] = {
    {"new file", false, false, true},
    {"new file, overwrite allowed", false, true, true},
    {"existing file is kept", true, false, false},
    {"existing file is replaced", true, true, true},
};

class OverwriteRuleTest : public testing::TestWithParam<OverwriteCase> {};

TEST_P(OverwriteRuleTest, ReplacesOnlyWhenAllowed) {
    const OverwriteCase& c = GetParam();
    BackendTestDir dir;
    const auto target = dir.Path() / "bericht.pdf";
    if (c.bTargetExists)
        BackendTestDir::WriteFile(target, "old");
    std::string strError;
    {
        std::optional<PendingOutput> output = PendingOutput::Create(dir.Path(), strError);
        ASSERT_TRUE(output) << strError;
        FillPending(*output, "%PDF-1.7 new");
        EXPECT_TRUE(output->HoldsPdf());
        EXPECT_EQ(output->Commit("bericht.pdf", c.bOverwrite, strError), c.bCommitted) << strError;
    }
    // Afterwards only the target is there: the temporary file never stays.
    EXPECT_EQ(BackendTestDir::List(dir.Path()), std::set<std::string>{"bericht.pdf"});
    EXPECT_EQ(BackendTestDir::ReadFile(target), c.bCommitted ? "%PDF-1.7 new" : "old");
}

INSTANTIATE_TEST_SUITE_P(Cases, OverwriteRuleTest, testing::ValuesIn(OVERWRITE_CASES));

TEST(PendingOutputTest, UncommittedFileIsRemoved) {
    BackendTestDir dir;
    std::string strError;
    {
        std::optional<PendingOutput> output = PendingOutput::Create(dir.Path(), strError);
        ASSERT_TRUE(output) << strError;
        FillPending(*output, "%PDF-1.7 half");
        // Where the file system allows, the file has no name until it is committed.
        EXPECT_EQ(BackendTestDir::List(dir.Path()).size(), output->IsNamed() ? 1u : 0u);
    }
    EXPECT_TRUE(BackendTestDir::List(dir.Path()).empty());
}

TEST(PendingOutputTest, RecognisesOnlyPdfContent) {
    BackendTestDir dir;
    std::string strError;
    for (const std::string& strContent :
         {std::string(), std::string("%PDF"), std::string("%!PS")}) {
        std::optional<PendingOutput> output = PendingOutput::Create(dir.Path(), strError);
        ASSERT_TRUE(output) << strError;
        FillPending(*output, strContent);
        EXPECT_FALSE(output->HoldsPdf()) << strContent;
    }
}

TEST(PendingOutputTest, ExistingFolderInTheWayIsNotReplaced) {
    BackendTestDir dir;
    std::filesystem::create_directory(dir.Path() / "x.pdf");
    std::string strError;
    std::optional<PendingOutput> output = PendingOutput::Create(dir.Path(), strError);
    ASSERT_TRUE(output) << strError;
    FillPending(*output, "%PDF-1.7");
    EXPECT_FALSE(output->Commit("x.pdf", true, strError));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "x.pdf"));
}

} // namespace

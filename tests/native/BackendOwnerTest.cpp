#include "printer/backend/JobOwner.h"

#include "BackendTestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

constexpr uid_t ROOT = 0;
constexpr uid_t ANNA = 1000;
constexpr uid_t BERND = 1001;

struct OwnerCase {
    const char* pszName;
    JobUser user;
    uid_t prefixOwner;
    uid_t dosdevicesOwner;
    const char* pszRefusal; // a part of the reason; nullptr: the job is taken
};

const OwnerCase OWNER_CASES[] = {
    {"owner of the prefix", {"anna", ANNA}, ANNA, ANNA, nullptr},
    {"another user's prefix", {"bernd", BERND}, ANNA, ANNA, "does not own"},
    {"drives owned by another user", {"anna", ANNA}, ANNA, BERND, "does not own"},
    {"root with root's prefix", {"root", ROOT}, ROOT, ROOT, nullptr},
    {"root with a user's prefix", {"root", ROOT}, ANNA, ANNA, "root's jobs"},
    {"root with a user's drives", {"root", ROOT}, ROOT, ANNA, "root's jobs"},
    {"system account owning the prefix", {"daemon", 1}, 1, 1, "system account"},
    {"system account, root's prefix", {"lp", 7}, ROOT, ROOT, "system account"},
    {"nobody", {"nobody", 65534}, 65534, 65534, "system account"},
    {"first ordinary id", {"erste", 1000}, 1000, 1000, nullptr},
    {"last system id", {"dienst", 999}, 999, 999, "system account"},
    {"last ordinary id", {"letzte", 60000}, 60000, 60000, nullptr},
    {"beyond the ordinary ids", {"ueber", 60001}, 60001, 60001, "system account"},
};

class JobOwnerTest : public testing::TestWithParam<OwnerCase> {};

TEST_P(JobOwnerTest, TakesJobsOnlyFromThePrefixOwner) {
    const OwnerCase& c = GetParam();
    const std::optional<std::string> refusal =
        RefuseJobUser(c.user, c.prefixOwner, c.dosdevicesOwner, UidRange{1000, 60000});
    if (!c.pszRefusal) {
        EXPECT_FALSE(refusal) << *refusal;
        return;
    }
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find(c.pszRefusal), std::string::npos) << *refusal;
}

INSTANTIATE_TEST_SUITE_P(Cases, JobOwnerTest, testing::ValuesIn(OWNER_CASES), CaseName());

TEST(UidRangeTest, ReadsLoginDefs) {
    BackendTestDir dir;
    const auto defs = dir.Path() / "login.defs";
    BackendTestDir::WriteFile(defs, "# UID_MIN 5\nMAIL_DIR /var/mail\nUID_MIN\t\t 2000\n"
                                    "UID_MAX 3000\nSYS_UID_MAX 1999\n");
    const UidRange range = ReadUidRange(defs.string());
    EXPECT_EQ(range.min, 2000u);
    EXPECT_EQ(range.max, 3000u);
    // Without the file the usual values serve.
    const UidRange fallback = ReadUidRange((dir.Path() / "fehlt").string());
    EXPECT_EQ(fallback.min, 1000u);
    EXPECT_EQ(fallback.max, 60000u);
}

} // namespace

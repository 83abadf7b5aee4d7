#include "printer/backend/JobOwner.h"

#include "BackendTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>

namespace {

constexpr uid_t ROOT = 0;
constexpr uid_t ANNA = 1000;
constexpr uid_t BERND = 1001;

// What CUPS passes for a local ordinary user's job, for root's own, and for a job whose
// user was only claimed.
const ProvenIdentity ANNA_PROVEN{"anna", "1000"};
const ProvenIdentity ROOT_PROVEN{"root", std::nullopt};
const ProvenIdentity NOT_PROVEN{std::nullopt, std::nullopt};

// A check's outcome as a case expects it: taken (pszRefusal null) or refused with a reason
// that holds pszRefusal.
void ExpectRefusal(bool bTaken, const std::string& strError, const char* pszRefusal) {
    EXPECT_EQ(bTaken, pszRefusal == nullptr) << strError;
    if (pszRefusal) {
        EXPECT_NE(strError.find(pszRefusal), std::string::npos) << strError;
    }
}

struct UserCase {
    const char* pszName;
    JobUser user;
    ProvenIdentity proven;
    const char* pszRefusal; // a part of the reason; nullptr: the user may print
};

const UserCase USER_CASES[] = {
    {"ordinary user, proven", {"anna", ANNA}, ANNA_PROVEN, nullptr},
    {"root, proven by certificate", {"root", ROOT}, ROOT_PROVEN, nullptr},
    {"root, proven with its id", {"root", ROOT}, {"root", "0"}, nullptr},
    {"claimed, not proven", {"anna", ANNA}, NOT_PROVEN, "did not authenticate"},
    {"root claimed, not proven", {"root", ROOT}, NOT_PROVEN, "did not authenticate"},
    {"proven as someone else", {"anna", ANNA}, {"bernd", "1001"}, "did not authenticate"},
    {"name proven, id missing", {"anna", ANNA}, {"anna", std::nullopt}, "did not authenticate"},
    {"name proven, another id", {"anna", ANNA}, {"anna", "1001"}, "did not authenticate"},
    {"root's name, a user's id", {"root", ROOT}, {"root", "1000"}, "did not authenticate"},
    {"system account", {"daemon", 1}, {"daemon", "1"}, "system account"},
    {"nobody", {"nobody", 65534}, {"nobody", "65534"}, "system account"},
    {"first ordinary id", {"erste", 1000}, {"erste", "1000"}, nullptr},
    {"last system id", {"dienst", 999}, {"dienst", "999"}, "system account"},
    {"last ordinary id", {"letzte", 60000}, {"letzte", "60000"}, nullptr},
    {"beyond the ordinary ids", {"ueber", 60001}, {"ueber", "60001"}, "system account"},
};

class JobUserTest : public testing::TestWithParam<UserCase> {};

TEST_P(JobUserTest, TakesOnlyProvenOrdinaryUsers) {
    const UserCase& c = GetParam();
    std::string strError;
    const bool bTaken = CheckJobUser(c.user, c.proven, UidRange{1000, 60000}, strError);
    ExpectRefusal(bTaken, strError, c.pszRefusal);
}

INSTANTIATE_TEST_SUITE_P(Cases, JobUserTest, testing::ValuesIn(USER_CASES), CaseName());

struct PrefixCase {
    const char* pszName;
    uid_t uid;
    PrefixFacts facts;
    const char* pszRefusal;
};

constexpr mode_t PRIVATE = S_IFDIR | 0755;

const PrefixCase PREFIX_CASES[] = {
    {"owner of both", ANNA, {ANNA, PRIVATE, ANNA, PRIVATE}, nullptr},
    {"another user's prefix", BERND, {ANNA, PRIVATE, ANNA, PRIVATE}, "does not own"},
    {"drives owned by another user", ANNA, {ANNA, PRIVATE, BERND, PRIVATE}, "does not own"},
    {"root with root's prefix", ROOT, {ROOT, PRIVATE, ROOT, PRIVATE}, nullptr},
    {"root with a user's prefix", ROOT, {ANNA, PRIVATE, ANNA, PRIVATE}, "root's jobs"},
    {"root with a user's drives", ROOT, {ROOT, PRIVATE, ANNA, PRIVATE}, "root's jobs"},
    {"drives writable by the group", ANNA, {ANNA, PRIVATE, ANNA, S_IFDIR | 0775}, "other users"},
    {"drives writable by all", ROOT, {ROOT, PRIVATE, ROOT, S_IFDIR | 0777}, "other users"},
    {"prefix writable by all", ANNA, {ANNA, S_IFDIR | 0757, ANNA, PRIVATE}, "other users"},
    {"private modes", ANNA, {ANNA, S_IFDIR | 0700, ANNA, S_IFDIR | 0700}, nullptr},
};

class PrefixOwnerTest : public testing::TestWithParam<PrefixCase> {};

TEST_P(PrefixOwnerTest, WritesOnlyThroughTheUsersOwnPrefix) {
    const PrefixCase& c = GetParam();
    std::string strError;
    const bool bTaken = CheckPrefix(c.uid, c.facts, strError);
    ExpectRefusal(bTaken, strError, c.pszRefusal);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrefixOwnerTest, testing::ValuesIn(PREFIX_CASES), CaseName());

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

#include "printer/backend/TicketCheck.h"

#include "BackendTestSupport.h"
#include "engine/TicketFlags.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// ---------------------------------------------------------------------------------------
// Extra bytes of UTF-8 over UTF-16

struct ExtraCase {
    const char* pszName;
    std::string strText;
    std::optional<size_t> nExpected;
};

const ExtraCase EXTRA_CASES[] = {
    {"ASCII", "C:\\Out\\a b.pdf", 0},
    {"empty", "", 0},
    {"three umlauts",
     "Gr\xC3\xB6\xC3\x9F"
     "e \xC3\xA4",
     3},
    {"four umlauts", "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4", 4},
    {"euro sign counts twice", "\xE2\x82\xAC", 2},
    {"euro sign and umlaut", "\xE2\x82\xAC\xC3\xA4", 3},
    {"two euro signs", "\xE2\x82\xAC\xE2\x82\xAC", 4},
    {"typographic quotes",
     "\xE2\x80\x9E"
     "a\xE2\x80\x9C",
     4},
    {"beyond U+FFFF: two UTF-16 units", "\xF0\x9F\x98\x80", 2},
    {"stray continuation byte", "a\x80", std::nullopt},
    {"cut-off sequence", "a\xC3", std::nullopt},
    {"CP1252 byte as such",
     "Gr\xF6\xDF"
     "e",
     std::nullopt},
    {"overlong slash", "\xC0\xAF", std::nullopt},
    {"overlong three-byte form", "\xE0\x80\xAF", std::nullopt},
    {"UTF-16 surrogate", "\xED\xA0\x80", std::nullopt},
    {"beyond U+10FFFF", "\xF4\x90\x80\x80", std::nullopt},
    {"lead byte without continuation",
     "\xE2\x82"
     "a",
     std::nullopt},
};

class Utf8ExtraBytesTest : public testing::TestWithParam<ExtraCase> {};

TEST_P(Utf8ExtraBytesTest, CountsOrRejects) {
    EXPECT_EQ(CountUtf8ExtraBytes(GetParam().strText), GetParam().nExpected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Utf8ExtraBytesTest, testing::ValuesIn(EXTRA_CASES), CaseName());

// ---------------------------------------------------------------------------------------
// Acceptance

struct AcceptCase {
    const char* pszName;
    std::string strTicket;
    bool bAccepted;
    std::string strOutputName; // when accepted
    uint32_t nFlags;           // when accepted
};

const AcceptCase ACCEPT_CASES[] = {
    {"plain", "~JS~ d=C:\\Out\\report.pdf c=Standard f=1", true, "C:\\Out\\report.pdf", 1},
    {"quoted with blanks", "~JS~ d=\"C:\\My Files\\report\" c=\"Office Print\" f=14", true,
     "C:\\My Files\\report", 14},
    {"three umlauts arrive intact",
     "~JS~ d=\"C:\\Ordner mit Leerzeichen\\Gr\xC3\xBC\xC3\x9F"
     "e \xC3\xA4.pdf\" c= f=5",
     true,
     "C:\\Ordner mit Leerzeichen\\Gr\xC3\xBC\xC3\x9F"
     "e \xC3\xA4.pdf",
     5},
    {"highest flags", "~JS~ d=C:\\a.pdf c= f=15", true, "C:\\a.pdf", 15},
    // What Wine 8 makes of a name with four umlauts: whole, then a stray heap byte.
    {"four umlauts with a stray byte",
     "~JS~ d=Z:\\in\\\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4.pdf c= f=1n", false, "", 0},
    // ... or with a stray digit, which would read as another flags number.
    {"four umlauts with a stray digit",
     "~JS~ d=Z:\\in\\\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4.pdf c= f=15", false, "", 0},
    // Heap bytes may even complete a cut name exactly; the name is still not trusted.
    {"five umlauts looking whole",
     "~JS~ d=Z:\\in\\Gr\xC3\xB6\xC3\x9F"
     "en\xC3\xA4nderungs\xC3\xBC"
     "bersicht.pdf c= f=1",
     false, "", 0},
    {"three euro signs cut short", "~JS~ d=Z:\\in\\\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC.pdf c= f",
     false, "", 0},
    {"two euro signs", "~JS~ d=Z:\\in\\\xE2\x82\xAC\xE2\x82\xAC.pdf c= f=1", false, "", 0},
    {"heap byte that is no UTF-8", "~JS~ d=C:\\a.pdf c= f=1\xB0", false, "", 0},
    {"cut short in the flags item", "~JS~ d=C:\\a.pdf c= f=", false, "", 0},
    {"cut short before the flags item", "~JS~ d=C:\\a.pdf c=Standard", false, "", 0},
    {"cut short inside a quoted name", "~JS~ d=\"C:\\My Files\\re", false, "", 0},
    {"trailing blank", "~JS~ d=C:\\a.pdf c= f=1 ", false, "", 0},
    {"trailing line end", "~JS~ d=C:\\a.pdf c= f=1\n", false, "", 0},
    {"flags 16", "~JS~ d=C:\\a.pdf c= f=16", false, "", 0},
    {"flags at 32 bits", "~JS~ d=C:\\a.pdf c= f=4294967295", false, "", 0},
    {"flags with a sign", "~JS~ d=C:\\a.pdf c= f=+1", false, "", 0},
    {"not a ticket", "Untitled", false, "", 0},
    {"items out of order", "~JS~ c= d=C:\\a.pdf f=1", false, "", 0},
};

class AcceptJobTicketTest : public testing::TestWithParam<AcceptCase> {};

TEST_P(AcceptJobTicketTest, AcceptsOnlyIntactTickets) {
    const AcceptCase& c = GetParam();
    std::string strError;
    const std::optional<JobTicketFields> fields = AcceptJobTicket(c.strTicket, strError);
    ASSERT_EQ(fields.has_value(), c.bAccepted) << strError;
    if (c.bAccepted) {
        EXPECT_EQ(fields->strOutputName, c.strOutputName);
        EXPECT_EQ(fields->nFlags, c.nFlags);
    } else {
        EXPECT_FALSE(strError.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AcceptJobTicketTest, testing::ValuesIn(ACCEPT_CASES), CaseName());

// Every ticket the program can build from names Wine passes intact is accepted as built.
TEST(AcceptJobTicketTest, AcceptsWhatTheProgramBuildsWithinTheLimit) {
    const std::string names[] = {"C:\\a.pdf", "Z:\\tmp\\x y\\\"q\".pdf",
                                 "C:\\\xC3\xA4\xC3\xB6\xC3\xBC.pdf",
                                 "C:\\" + std::string(240, 'n') + ".pdf"};
    for (const std::string& strName : names) {
        for (uint32_t dwGeneral : {0u, 0x80000000u, 0xFFFFFFFFu}) {
            const std::string strTicket =
                BuildJobTicket(strName, "Konfig \"A\"", ComputeTicketFlags(1, dwGeneral, {}));
            std::string strError;
            const std::optional<JobTicketFields> fields = AcceptJobTicket(strTicket, strError);
            ASSERT_TRUE(fields) << strTicket << ": " << strError;
            EXPECT_EQ(fields->strOutputName, strName);
            EXPECT_EQ(fields->strConfiguration, "Konfig \"A\"");
            EXPECT_EQ(fields->nFlags, ComputeTicketFlags(1, dwGeneral, SwitchFlags{}));
        }
    }
}

} // namespace

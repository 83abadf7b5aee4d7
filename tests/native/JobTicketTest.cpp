#include "engine/JobTicket.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

// Lets failures show the fields instead of raw bytes.
static void PrintTo(const JobTicketFields& fields, std::ostream* pOut) {
    *pOut << "{d=" << testing::PrintToString(fields.strOutputName)
          << " c=" << testing::PrintToString(fields.strConfiguration) << " f=" << fields.nFlags
          << "}";
}

namespace {

// ---------------------------------------------------------------------------------------
// Building

struct TicketCase {
    const char* pszName;
    std::string strOutputName;
    std::string strConfiguration;
    uint32_t nFlags;
    std::string strExpected;
};

const TicketCase TICKET_CASES[] = {
    {"plain names, no prompt", "C:\\Out\\report.pdf", "Standard", 1,
     "~JS~ d=C:\\Out\\report.pdf c=Standard f=1"},
    {"blanks in both names", "C:\\My Files\\report", "Office Print", 14,
     "~JS~ d=\"C:\\My Files\\report\" c=\"Office Print\" f=14"},
    {"empty names", "", "", 0, "~JS~ d= c= f=0"},
    {"empty configuration", "C:\\a.pdf", "", 5, "~JS~ d=C:\\a.pdf c= f=5"},
    {"single blank name", " ", "x", 0, "~JS~ d=\" \" c=x f=0"},
    {"every flag", "o", "c", 15, "~JS~ d=o c=c f=15"},
    {"a number no program ticket holds", "o", "c", 4294967295u, "~JS~ d=o c=c f=4294967295"},
};

class BuildJobTicketTest : public testing::TestWithParam<TicketCase> {};

TEST_P(BuildJobTicketTest, BytesAreExact) {
    const TicketCase& c = GetParam();
    const std::string strTicket = BuildJobTicket(c.strOutputName, c.strConfiguration, c.nFlags);
    EXPECT_EQ(strTicket, c.strExpected) << c.pszName;
}

TEST_P(BuildJobTicketTest, ParsesBackToItsInputs) {
    const TicketCase& c = GetParam();
    const std::optional<JobTicketFields> fields = ParseJobTicket(c.strExpected);
    ASSERT_TRUE(fields.has_value()) << c.pszName;
    EXPECT_EQ(fields->strOutputName, c.strOutputName);
    EXPECT_EQ(fields->strConfiguration, c.strConfiguration);
    EXPECT_EQ(fields->nFlags, c.nFlags);
}

INSTANTIATE_TEST_SUITE_P(Cases, BuildJobTicketTest, testing::ValuesIn(TICKET_CASES),
                         [](const testing::TestParamInfo<TicketCase>& paramInfo) {
                             return "Case" + std::to_string(paramInfo.index);
                         });

struct ItemCase {
    const char* pszKey;
    std::string strValue;
    std::string strExpected;
};

const ItemCase ITEM_CASES[] = {
    {"c", "a\"b x\"y", " c=\"a\"\"b x\"\"y\""},
    {"d", "a\"b", " d=\"a\"\"b\""},
    {"d", "\"", " d=\"\"\"\""},
    {"d", "\"\"", " d=\"\"\"\"\"\""},
    {"d", "ab\"", " d=\"ab\"\"\""},
    {"d", "   ", " d=\"   \""},
    {"d", " ", " d=\" \""},
    {"d", " lead", " d=\" lead\""},
    {"d", "trail ", " d=\"trail \""},
    {"d", "", " d="},
    {"c", "", " c="},
    {"d", "a\tb", " d=a\tb"},
    {"d", "a=b", " d=a=b"},
    {"d", "~JS~", " d=~JS~"},
    {"d", "C:\\x\\y.pdf", " d=C:\\x\\y.pdf"},
    {"d", "\x80\xA0\xC4\xE4\xFF", " d=\x80\xA0\xC4\xE4\xFF"},
    {"d", "\r\n\v\f", " d=\r\n\v\f"},
    {"d", "\xE4 \xFC", " d=\"\xE4 \xFC\""},
    {"c", "'single'", " c='single'"},
};

TEST(FormatTicketItemTest, QuotesOnlyForBlankOrDoubleQuote) {
    for (const ItemCase& c : ITEM_CASES)
        EXPECT_EQ(FormatTicketItem(c.pszKey, c.strValue), c.strExpected)
            << "value " << testing::PrintToString(c.strValue);
}

TEST(FormatTicketItemTest, SevenCharacterNameGivesElevenAfterEquals) {
    const std::string strItem = FormatTicketItem("c", "a\"b x\"y");
    const size_t nEquals = strItem.find('=');
    ASSERT_EQ(nEquals, 2u);
    EXPECT_EQ(strItem.size() - nEquals - 1, 11u);
}

TEST(FormatTicketNumberTest, PlainUnsignedDecimal) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, " f=0"}, {1, " f=1"}, {10, " f=10"}, {15, " f=15"}, {4294967295u, " f=4294967295"}};
    for (const auto& [nNumber, pszExpected] : cases)
        EXPECT_EQ(FormatTicketNumber("f", nNumber), pszExpected);
}

// ---------------------------------------------------------------------------------------
// Round trip

class RandomInputs {
public:
    explicit RandomInputs(uint32_t nSeed) : m_random(nSeed) {}

    // Length 0 to 300, bytes 1 to 255, half of them from the bytes that matter to quoting
    // and reading, sometimes with text that looks like the ticket's own structure.
    std::string Value() {
        static const char SPECIAL[] = {'"', ' ', '\t', '=', '~', '\\'};
        static const char* const FRAGMENTS[] = {" c=", " f=1", "~JS~", "\"\"", "\" ", " d=\""};
        std::string strValue;
        const size_t nLength = Pick(0, 300);
        while (strValue.size() < nLength) {
            switch (Pick(0, 9)) {
            case 0:
            case 1:
            case 2:
                strValue += SPECIAL[Pick(0, sizeof(SPECIAL) - 1)];
                break;
            case 3:
            case 4:
                strValue += static_cast<char>(Pick(0x80, 0xFF));
                break;
            case 5:
                strValue += FRAGMENTS[Pick(0, 5)];
                break;
            default:
                strValue += static_cast<char>(Pick(1, 255));
                break;
            }
        }
        strValue.resize(nLength);
        return strValue;
    }

    // Mostly the numbers the program sends, sometimes any.
    uint32_t Flags() {
        return Pick(0, 3) ? static_cast<uint32_t>(Pick(0, 15)) : static_cast<uint32_t>(m_random());
    }

    size_t Pick(size_t nLow, size_t nHigh) {
        return std::uniform_int_distribution<size_t>(nLow, nHigh)(m_random);
    }

private:
    std::mt19937 m_random;
};

TEST(ParseJobTicketTest, RoundTripOfRandomInputs) {
    RandomInputs inputs(20240517);
    for (int i = 0; i < 20000; ++i) {
        JobTicketFields expected;
        expected.strOutputName = inputs.Value();
        expected.strConfiguration = inputs.Value();
        expected.nFlags = inputs.Flags();

        const std::string strTicket =
            BuildJobTicket(expected.strOutputName, expected.strConfiguration, expected.nFlags);
        ASSERT_EQ(strTicket.compare(0, 7, "~JS~ d="), 0);
        ASSERT_TRUE(strTicket.back() >= '0' && strTicket.back() <= '9');
        ASSERT_EQ(ParseJobTicket(strTicket), std::optional<JobTicketFields>(expected))
            << "ticket " << testing::PrintToString(strTicket);
    }
}

// ---------------------------------------------------------------------------------------
// Reading what the builder never writes

struct AcceptCase {
    std::string strTicket;
    JobTicketFields expected;
};

const AcceptCase ACCEPT_CASES[] = {
    {"~JS~ d= c= f=0", {"", "", 0}},
    {"~JS~ d=\"\" c=\"\" f=0", {"", "", 0}},
    {"~JS~ d=\"abc\" c=x f=4294967295", {"abc", "x", 4294967295u}},
    {"~JS~ d=\"\"\"\" c=\"a \"\"b\"\"\" f=15", {"\"", "a \"b\"", 15}},
    {"~JS~ d=a=b c=~ f=7", {"a=b", "~", 7}},
    {"~JS~ d=\"x c=y\" c=z f=1", {"x c=y", "z", 1}},
    {"~JS~ d=\" f=1\" c=\" d=\" f=10", {" f=1", " d=", 10}},
    {"~JS~ d=~JS~ c=\t f=3", {"~JS~", "\t", 3}},
};

TEST(ParseJobTicketTest, AcceptsWellFormedTickets) {
    for (const AcceptCase& c : ACCEPT_CASES) {
        const std::optional<JobTicketFields> fields = ParseJobTicket(c.strTicket);
        ASSERT_TRUE(fields.has_value()) << testing::PrintToString(c.strTicket);
        EXPECT_EQ(*fields, c.expected) << testing::PrintToString(c.strTicket);
        // Written again by the builder's item rules, the fields read back unchanged.
        const std::string strRebuilt = "~JS~" + FormatTicketItem("d", fields->strOutputName) +
                                       FormatTicketItem("c", fields->strConfiguration) +
                                       FormatTicketNumber("f", fields->nFlags);
        EXPECT_EQ(ParseJobTicket(strRebuilt), fields);
    }
}

const std::string REFUSED_TICKETS[] = {
    "",
    "~JS~",
    "~JS",
    "~js~ d=a c=b f=1",
    " ~JS~ d=a c=b f=1",
    "~JS~d=a c=b f=1",
    "~JS~\td=a c=b f=1",
    "~JS~  d=a c=b f=1",
    "~JS~ d=a  c=b f=1",
    // Something after the flags number.
    "~JS~ d=a c=b f=1 ",
    "~JS~ d=a c=b f=1\n",
    "~JS~ d=a c=b f=1\r\n",
    "~JS~ d=a c=b f=1x",
    "~JS~ d=a c=b f=1\xC3\xA4",
    "~JS~ d=a c=b f=1 f=1",
    "~JS~ d=a c=b f=1 2",
    std::string("~JS~ d=a c=b f=1\0", 17),
    // Flags that are not plain decimal within 32 bits.
    "~JS~ d=a c=b f=",
    "~JS~ d=a c=b f=01",
    "~JS~ d=a c=b f=00",
    "~JS~ d=a c=b f=-1",
    "~JS~ d=a c=b f=+1",
    "~JS~ d=a c=b f= 1",
    "~JS~ d=a c=b f=\"1\"",
    "~JS~ d=a c=b f=0x1",
    "~JS~ d=a c=b f=4294967296",
    "~JS~ d=a c=b f=99999999999999999999",
    // Items missing, misplaced, repeated or misspelt.
    "~JS~ d=a c=b",
    "~JS~ d=a f=1",
    "~JS~ c=b f=1",
    "~JS~ c=b d=a f=1",
    "~JS~ d=a f=1 c=b",
    "~JS~ f=1 c=b d=a",
    "~JS~ d=a d=a c=b f=1",
    "~JS~ d=a c=b c=b f=1",
    "~JS~ D=a c=b f=1",
    "~JS~ d:a c=b f=1",
    "~JS~ d=a x=y c=b f=1",
    // Quotes that do not balance or stand where no value begins.
    "~JS~ d=a\"b c=b f=1",
    "~JS~ d=ab\" c=b f=1",
    "~JS~ d=\"a b c=b f=1",
    "~JS~ d=\"a b\"x c=b f=1",
    "~JS~ d=\"a\"b\" c=b f=1",
    "~JS~ d=\"a\"\" c=b f=1",
    "~JS~ d=a c=\"b f=1",
    "~JS~ d=a c=b\" f=1",
    "~JS~ d=a c=\"\"\" f=1",
    // NUL bytes inside.
    std::string("~JS~ d=a\0b c=b f=1", 18),
    std::string("~JS~ d=\"a\0 b\" c=b f=1", 21),
    std::string("\0~JS~ d=a c=b f=1", 17),
};

TEST(ParseJobTicketTest, RefusesMalformedTickets) {
    for (const std::string& strTicket : REFUSED_TICKETS)
        EXPECT_EQ(ParseJobTicket(strTicket), std::nullopt) << testing::PrintToString(strTicket);
}

std::vector<std::string> SampleTickets() {
    std::vector<std::string> tickets;
    for (const TicketCase& c : TICKET_CASES)
        tickets.push_back(c.strExpected);
    tickets.push_back(
        BuildJobTicket("C:\\Ausgabe\\\xC4rger \xFC\"ber \xDF.pdf", "B\xFCro \"neu\"", 15));
    tickets.push_back(BuildJobTicket("\"", " ", 14));
    return tickets;
}

// A ticket cut anywhere either no longer reads or reads as something else, never as the
// ticket it came from.
TEST(ParseJobTicketTest, NoProperPrefixReadsAsTheWhole) {
    std::vector<std::string> tickets = SampleTickets();
    RandomInputs inputs(7);
    for (int i = 0; i < 200; ++i)
        tickets.push_back(BuildJobTicket(inputs.Value(), inputs.Value(), inputs.Flags()));
    for (const std::string& strTicket : tickets) {
        const std::optional<JobTicketFields> whole = ParseJobTicket(strTicket);
        ASSERT_TRUE(whole.has_value()) << testing::PrintToString(strTicket);
        for (size_t nLength = 0; nLength < strTicket.size(); ++nLength) {
            const std::string strPrefix = strTicket.substr(0, nLength);
            const std::optional<JobTicketFields> part = ParseJobTicket(strPrefix);
            ASSERT_NE(part, whole) << testing::PrintToString(strPrefix);
        }
    }
}

// The spooler may hand over a document name with stray bytes after its end. Anything that
// does not continue the flags number is refused; digits that do continue it give another
// number or none.
TEST(ParseJobTicketTest, RefusesBytesAppended) {
    const std::string suffixes[] = {" ",     "\n",         "\r\n", "x",  "\xC3\xA4\xC3", "\"",
                                    " d=a",  " f=1",       "=",    "~",  "\x80\xFF",     "\t",
                                    "1",     "5",          "0",    "99", "00000000000",  "1 ",
                                    "7\xE4", "9999999999", "1\"",  "2x3"};
    for (const std::string& strTicket : SampleTickets()) {
        const std::optional<JobTicketFields> whole = ParseJobTicket(strTicket);
        ASSERT_TRUE(whole.has_value());
        for (const std::string& strSuffix : suffixes) {
            const std::string strDamaged = strTicket + strSuffix;
            const std::optional<JobTicketFields> damaged = ParseJobTicket(strDamaged);
            if (strSuffix.find_first_not_of("0123456789") != std::string::npos)
                EXPECT_EQ(damaged, std::nullopt) << testing::PrintToString(strDamaged);
            else
                EXPECT_NE(damaged, whole) << testing::PrintToString(strDamaged);
        }
        for (char c : {'\0', '\x01', '\xFF'})
            EXPECT_EQ(ParseJobTicket(strTicket + c), std::nullopt);
    }
}

} // namespace

#include "printer/backend/BackendLog.h"
#include "printer/backend/BoundedLog.h"

#include "BackendTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------
// Lines safe to print

struct PrintableCase {
    const char* pszName;
    std::string strText;
    std::string strExpected;
};

const PrintableCase PRINTABLE_CASES[] = {
    {"plain text and umlauts stay",
     "Gr\xC3\xB6\xC3\x9F"
     "e a b.pdf",
     "Gr\xC3\xB6\xC3\x9F"
     "e a b.pdf"},
    {"backslash doubled, so no text passes for an escape", "C:\\a\\x41", "C:\\\\a\\\\x41"},
    {"line feed and carriage return", "a\nERROR: b\r", "a\\x0AERROR: b\\x0D"},
    {"escape and delete", "\x1B[2J\x7F", "\\x1B[2J\\x7F"},
    {"8-bit CSI from a non-UTF-8 name",
     "a\x9B"
     "2J",
     "a\\x9B2J"},
    {"CP1252 umlaut is not UTF-8",
     "Gr\xF6\xDF"
     "e",
     "Gr\\xF6\\xDF"
     "e"},
    {"C1 control as a character",
     "a\xC2\x9B"
     "2J",
     "a\\u009B2J"},
    {"next line",
     "a\xC2\x85"
     "b",
     "a\\u0085b"},
    {"line separator",
     "a\xE2\x80\xA8"
     "b",
     "a\\u2028b"},
    {"paragraph separator",
     "a\xE2\x80\xA9"
     "b",
     "a\\u2029b"},
    {"right-to-left override",
     "a\xE2\x80\xAE"
     "fdp.exe",
     "a\\u202Efdp.exe"},
    {"right-to-left isolate",
     "\xE2\x81\xA7"
     "x",
     "\\u2067x"},
    {"right-to-left mark",
     "\xE2\x80\x8F"
     "x",
     "\\u200Fx"},
    {"Arabic letter mark",
     "\xD8\x9C"
     "x",
     "\\u061Cx"},
    {"soft hyphen",
     "a\xC2\xAD"
     "b",
     "a\\u00ADb"},
    {"zero width space and joiner",
     "a\xE2\x80\x8B\xE2\x80\x8D"
     "b",
     "a\\u200B\\u200Db"},
    {"word joiner",
     "a\xE2\x81\xA0"
     "b",
     "a\\u2060b"},
    {"byte order mark",
     "\xEF\xBB\xBF"
     "x",
     "\\uFEFFx"},
    {"variation selector", "a\xEF\xB8\x8F", "a\\uFE0F"},
    {"tag character", "a\xF3\xA0\x81\x81", "a\\U000E0041"},
    {"variation selector supplement", "a\xF3\xA0\x84\x80", "a\\U000E0100"},
    {"euro sign and emoji stay", "\xE2\x82\xAC \xF0\x9F\x98\x80", "\xE2\x82\xAC \xF0\x9F\x98\x80"},
    {"sequence cut short", "a\xE2\x82", "a\\xE2\\x82"},
    {"overlong slash", "\xC0\xAF", "\\xC0\\xAF"},
    {"UTF-16 surrogate", "\xED\xA0\x80", "\\xED\\xA0\\x80"},
};

class PrintableTest : public testing::TestWithParam<PrintableCase> {};

TEST_P(PrintableTest, EscapesWhatCouldMisleadAReader) {
    EXPECT_EQ(Printable(GetParam().strText), GetParam().strExpected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintableTest, testing::ValuesIn(PRINTABLE_CASES), CaseName());

// A line for CUPS is cut, after escaping, to what cupsd reads as one line: never inside
// an escape or a character, and never with a second line feed.
TEST(CupsLineTest, CutsLongMessagesWhole) {
    struct Case {
        std::string strMessage;
        size_t nPiece; // the bytes of each escape or character the message turns into
    };
    const Case cases[] = {
        {std::string(5000, 'x'), 1},
        {std::string(1967, 'y') + "\nSTATE: +paused", 1},
        {std::string(600, '\n'), 4},                                    // each byte an escape
        {"a" + std::string(300, '\xC3') + std::string(300, '\xBC'), 4}, // broken UTF-8
        {std::string(700, '\\'), 2},                                    // doubled
    };
    for (const Case& c : cases) {
        const std::string strLine = CupsLine("ERROR", c.strMessage);
        ASSERT_LE(strLine.size(), CUPS_LINE_BYTES + 1);
        EXPECT_EQ(strLine.find('\n'), strLine.size() - 1);
        ASSERT_EQ(strLine.rfind("ERROR: ", 0), 0u);
        std::string strBody = strLine.substr(7, strLine.size() - 8);
        ASSERT_GE(strBody.size(), 6u);
        ASSERT_EQ(strBody.substr(strBody.size() - 6), " [cut]");
        strBody.resize(strBody.size() - 6);
        const std::string strWhole = Printable(c.strMessage);
        EXPECT_EQ(strWhole.compare(0, strBody.size(), strBody), 0);
        // Whole pieces only: the first byte may stand alone, the rest come in pieces.
        EXPECT_EQ((strBody.size() - (c.nPiece == 4 && c.strMessage[0] == 'a' ? 1 : 0)) % c.nPiece,
                  0u)
            << strBody.size();
    }
    EXPECT_EQ(CupsLine("INFO", "kurz"), "INFO: kurz\n");
}

// ---------------------------------------------------------------------------------------
// Output kept within bounds: 2 head lines, 2 tail lines, 5 bytes a line

struct BoundedCase {
    const char* pszName;
    std::vector<std::string> pieces;
    std::vector<std::string> expected;
};

const BoundedCase BOUNDED_CASES[] = {
    {"nothing", {}, {}},
    {"few lines kept whole", {"a\nb\nc\n"}, {"a", "b", "c"}},
    {"last line without line feed", {"a\nb"}, {"a", "b"}},
    {"lines split across pieces", {"ab", "c\nd", "e\n"}, {"abc", "de"}},
    {"long lines cut", {"0123456789\nabcdefgh\n"}, {"01234", "abcde"}},
    {"long line cut across pieces", {"012", "345", "678\nx\n"}, {"01234", "x"}},
    {"middle left out", {"1\n2\n3\n4\n5\n6\n7\n"}, {"1", "2", "[3 lines left out]", "6", "7"}},
    {"carriage returns dropped", {"a\r\nb\r\n"}, {"a", "b"}},
};

class BoundedLogTest : public testing::TestWithParam<BoundedCase> {};

TEST_P(BoundedLogTest, KeepsHeadAndTail) {
    BoundedLog log(2, 2, 5);
    for (const std::string& strPiece : GetParam().pieces)
        log.Append(strPiece);
    log.Finish();
    EXPECT_EQ(log.Lines(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BoundedLogTest, testing::ValuesIn(BOUNDED_CASES), CaseName());

TEST(BoundedLogTest, FindsTheErrorLineInHeadOrTail) {
    BoundedLog log(1, 2, 80);
    log.Append("GPL Ghostscript\nnoise\nnoise\nError: /undefined in foo\nOperand stack:\n");
    log.Finish();
    EXPECT_EQ(log.FirstLineStartingWith("Error:"), "Error: /undefined in foo");
    EXPECT_EQ(log.FirstLineStartingWith("Warnung"), "");
    EXPECT_EQ(log.LastLine(), "Operand stack:");
}

} // namespace

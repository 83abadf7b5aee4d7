// The files of the channel between the printer side and the session program: what each
// side writes reads back the same, and the parsers take nothing but the exact format.
#include "printer/session/SessionProtocol.h"

#include "BackendTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string KEY = "42-0123456789abcdef";

TEST(SessionProtocolTest, JobKeys) {
    const unsigned char random[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef};
    EXPECT_EQ(MakeJobKey("42", random), KEY);
    // Anything but a job number of CUPS's stands for job 0.
    EXPECT_EQ(MakeJobKey("4/2", random), "0-0123456789abcdef");
    EXPECT_EQ(MakeJobKey("12345678901", random), "0-0123456789abcdef");
    EXPECT_TRUE(IsJobKey(KEY));
    for (const char* pszKey : {"", "-0123456789abcdef", "42-0123456789ABCDEF", "42-0123456789abcde",
                               "42-0123456789abcdef0", "4x-0123456789abcdef", "42_0123456789abcdef",
                               "12345678901-0123456789abcdef", "42-../456789abcdef"})
        EXPECT_FALSE(IsJobKey(pszKey)) << pszKey;
    EXPECT_EQ(JobKeyOf(KEY + ".antwort", ANSWER_SUFFIX), KEY);
    EXPECT_EQ(JobKeyOf(KEY + ".frage", ANSWER_SUFFIX), std::nullopt);
    EXPECT_EQ(JobKeyOf(".antwort", ANSWER_SUFFIX), std::nullopt);
    EXPECT_EQ(JobKeyOf("x" + KEY + ".antwort", ANSWER_SUFFIX), std::nullopt);
}

TEST(SessionProtocolTest, WhatIsWrittenReadsBack) {
    std::string strError;
    const SaveQuestion question{KEY, "C:\\Daten\\Größe ü.pdf", 1733673600};
    const std::optional<SaveQuestion> readQuestion =
        ParseQuestion(FormatQuestion(question), strError);
    ASSERT_TRUE(readQuestion) << strError;
    EXPECT_EQ(readQuestion->strSuggestion, question.strSuggestion);
    EXPECT_EQ(readQuestion->nDeadline, question.nDeadline);

    for (const SaveAnswer& answer :
         {SaveAnswer{KEY, "C:\\Anders\\neu.pdf", true}, SaveAnswer{KEY, "D:\\a b.pdf", false},
          SaveAnswer{KEY, "", false}}) {
        const std::optional<SaveAnswer> read = ParseAnswer(FormatAnswer(answer), strError);
        ASSERT_TRUE(read) << strError;
        EXPECT_EQ(read->strJob, KEY);
        EXPECT_EQ(read->strTarget, answer.strTarget);
        EXPECT_EQ(read->bReplace, answer.bReplace);
        EXPECT_EQ(read->Cancelled(), answer.strTarget.empty());
    }

    const SessionMessage message{KEY, {"Erste Zeile „zitiert“.", "Zweite"}};
    const std::optional<SessionMessage> readMessage =
        ParseSessionMessage(FormatSessionMessage(message), strError);
    ASSERT_TRUE(readMessage) << strError;
    EXPECT_EQ(readMessage->lines, message.lines);
}

struct MalformedCase {
    const char* pszName;
    std::string strText;
    const char* pszReason;
};

const std::string HEAD = "Veltrane Quillon: Antwort\n";
const std::string JOB = "Auftrag: " + KEY + "\n";

const MalformedCase MALFORMED_ANSWERS[] = {
    {"empty", "", "line feed"},
    {"no final line feed", HEAD + JOB + "Ziel: -", "line feed"},
    {"CR LF line ends", "Veltrane Quillon: Antwort\r\n", "control character"},
    {"NUL in the path", HEAD + JOB + std::string("Ziel: C:\\a\0b.pdf\nErsetzen: ja\n", 30),
     "control character"},
    {"other head", "Veltrane Quillon: Frage\n" + JOB + "Ziel: -\n", "does not begin"},
    {"no job", HEAD + "Ziel: -\n", "Auftrag"},
    {"malformed job key", HEAD + "Auftrag: 42\nZiel: -\n", "job key"},
    {"keys in another order", HEAD + "Ziel: -\n" + JOB, "Auftrag"},
    {"no target", HEAD + JOB, "Ziel"},
    {"empty target", HEAD + JOB + "Ziel: \nErsetzen: ja\n", "Ziel"},
    {"no word on replacing", HEAD + JOB + "Ziel: C:\\a.pdf\n", "Ersetzen"},
    {"neither yes nor no", HEAD + JOB + "Ziel: C:\\a.pdf\nErsetzen: vielleicht\n", "neither"},
    {"a line too many", HEAD + JOB + "Ziel: -\nZiel: C:\\a.pdf\n", "more lines"},
    {"an empty line after", HEAD + JOB + "Ziel: -\n\n", "more lines"},
    {"longer than the bound",
     HEAD + JOB + "Ziel: C:\\" + std::string(4096, 'a') + "\nErsetzen: ja\n", "longer than 4096"},
};

class MalformedAnswerTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedAnswerTest, IsRefused) {
    std::string strError;
    EXPECT_FALSE(ParseAnswer(GetParam().strText, strError));
    EXPECT_NE(strError.find(GetParam().pszReason), std::string::npos) << strError;
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedAnswerTest, testing::ValuesIn(MALFORMED_ANSWERS),
                         CaseName());

TEST(SessionProtocolTest, MalformedQuestionsAndMessages) {
    std::string strError;
    const std::string strQuestion =
        "Veltrane Quillon: Speichern unter\n" + JOB + "Vorschlag: C:\\a.pdf\nFrist: ";
    EXPECT_TRUE(ParseQuestion(strQuestion + "1733673600\n", strError)) << strError;
    for (const char* pszDeadline : {"-5\n", "12x\n", "0123\n", "9999999999999999999\n", "\n"})
        EXPECT_FALSE(ParseQuestion(strQuestion + pszDeadline, strError)) << pszDeadline;
    const std::string strMessage = "Veltrane Quillon: Meldung\n" + JOB;
    EXPECT_FALSE(ParseSessionMessage(strMessage, strError));
    EXPECT_NE(strError.find("no text"), std::string::npos) << strError;
    EXPECT_FALSE(ParseSessionMessage(strMessage + "Text: a\nZiel: b\n", strError));
}

} // namespace

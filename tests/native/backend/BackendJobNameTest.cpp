#include "printer/backend/JobName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// ---------------------------------------------------------------------------------------
// Option decoding, as CUPS writes the options of a job

struct OptionCase {
    const char* pszName;
    std::string strOptions;
    std::optional<std::string> expected;
};

const OptionCase OPTION_CASES[] = {
    {"escaped blanks, quotes and backslashes",
     "number-up=1 document-name-supplied=~JS~\\ d=\\\"Z:\\\\tmp\\\\Ordner\\ mit\\ "
     "Leerzeichen\\\\a.pdf\\\"\\ c=\\ f=1 job-uuid=urn:uuid:1",
     "~JS~ d=\"Z:\\tmp\\Ordner mit Leerzeichen\\a.pdf\" c= f=1"},
    {"UTF-8 bytes pass unchanged", "document-name-supplied=~JS~\\ d=C:\\\\\xC3\xA4.pdf\\ c=\\ f=1",
     "~JS~ d=C:\\\xC3\xA4.pdf c= f=1"},
    {"quoted value", "document-name-supplied='~JS~ d=C:\\\\a.pdf c= f=0'",
     "~JS~ d=C:\\a.pdf c= f=0"},
    {"option last, other options first", "a=1 b=2 document-name-supplied=x", "x"},
    {"absent", "finishings=3 number-up=1", std::nullopt},
    {"empty options", "", std::nullopt},
};

class FindJobOptionTest : public testing::TestWithParam<OptionCase> {};

TEST_P(FindJobOptionTest, DecodesAsCupsEncodes) {
    EXPECT_EQ(FindJobOption(GetParam().strOptions, "document-name-supplied"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindJobOptionTest, testing::ValuesIn(OPTION_CASES));

// ---------------------------------------------------------------------------------------
// Title or supplied name

struct NameCase {
    const char* pszName;
    std::string strTitle;
    std::string strOptions;
    std::optional<std::string> expected;
};

const std::string LONG_TICKET = "~JS~ d=C:\\" + std::string(250, 'n') + ".pdf c= f=1";

std::string Escaped(const std::string& strValue) {
    std::string strResult;
    for (char c : strValue) {
        if (c == ' ' || c == '\\' || c == '"' || c == '\'')
            strResult.push_back('\\');
        strResult.push_back(c);
    }
    return strResult;
}

const NameCase NAME_CASES[] = {
    {"title alone", "~JS~ d=C:\\a.pdf c= f=1", "number-up=1", "~JS~ d=C:\\a.pdf c= f=1"},
    {"title and the same supplied name", "~JS~ d=C:\\a.pdf c= f=1",
     "document-name-supplied=~JS~\\ d=C:\\\\a.pdf\\ c=\\ f=1", "~JS~ d=C:\\a.pdf c= f=1"},
    {"long name: Untitled and the supplied name", "Untitled",
     "document-name-supplied=" + Escaped(LONG_TICKET), LONG_TICKET},
    {"title and supplied name differ", "~JS~ d=C:\\a.pdf c= f=1",
     "document-name-supplied=~JS~\\ d=C:\\\\b.pdf\\ c=\\ f=1", std::nullopt},
    {"Untitled without a supplied name", "Untitled", "", "Untitled"},
};

class SelectJobNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(SelectJobNameTest, PicksTheWholeName) {
    std::string strError;
    const std::optional<std::string> name =
        SelectJobName(GetParam().strTitle, GetParam().strOptions, strError);
    EXPECT_EQ(name, GetParam().expected);
    EXPECT_EQ(strError.empty(), name.has_value());
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectJobNameTest, testing::ValuesIn(NAME_CASES));

} // namespace

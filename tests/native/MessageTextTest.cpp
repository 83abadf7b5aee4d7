#include "framework/MessageText.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* pszPattern;
    const char* pszArgument;
    const char* pszExpected;
};

TEST(MessageText, InsertsTheArgumentLiterally) {
    const Case cases[] = {
        {"Eingabedatei %1 konnte nicht ge\xF6"
         "ffnet werden.\n\n",
         "C:\\a b\\datei.ps",
         "Eingabedatei C:\\a b\\datei.ps konnte nicht ge\xF6"
         "ffnet werden.\n\n"},
        {"%1 scheint keine PostScript-Datei zu sein.\n\nWollen Sie fortfahren?", "x.eps",
         "x.eps scheint keine PostScript-Datei zu sein.\n\nWollen Sie fortfahren?"},
        // The argument is not scanned again: a path holding "%1" or "%2" stays as it is.
        {"Datei %1!", "C:\\100%1%2.ps", "Datei C:\\100%1%2.ps!"},
        {"%1%1", "ab", "abab"},
        {"ohne", "x", "ohne"},
        {"%2 und %", "x", "%2 und %"},
        {"%1", "", ""},
        {"", "x", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InsertArgument(c.pszPattern, c.pszArgument), c.pszExpected) << c.pszPattern;
}

} // namespace

#include "ui/LocalisedText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Expand(const std::string& strText, size_t nCapacity = 512) {
    std::vector<char> buffer(nCapacity, '\x7F');
    std::copy(strText.begin(), strText.end(), buffer.begin());
    buffer[strText.size()] = '\0';
    char* pszResult = ExpandPlaceholders(buffer.data(), nCapacity);
    EXPECT_EQ(pszResult, buffer.data());
    return std::string(buffer.data());
}

struct Case {
    const char* pszText;
    const char* pszExpected;
};

TEST(Placeholders, ReplacesEveryKnownPlaceholder) {
    const Case cases[] = {
        {"Info zu $PR$", "Info zu Veltrane Quillon"},
        {"$PR$ konfigurieren", "Veltrane Quillon konfigurieren"},
        {"$PR$ und $PR$", "Veltrane Quillon und Veltrane Quillon"},
        {"$PR$$PN$", "Veltrane QuillonVeltraneQuillonPort"},
        {"$PN$$PR$", "VeltraneQuillonPortVeltrane Quillon"},
        {"von $SN$-Support", "von VeltraneSystems-Support"},
        {"$COMPANY$ / $PRODUCT$", "VeltraneSystems / Veltrane Quillon"},
        {"Mail: $SUPPORTEMAIL$", "Mail: support@veltrane.example"},
        {"Drucker für $PR$ nicht gefunden.  Abbruch.",
         "Drucker für Veltrane Quillon nicht gefunden.  Abbruch."},
        // Not placeholders: lower case, missing closing "$", a lone "$".
        {"$pr$ $PR $PR", "$pr$ $PR $PR"},
        {"$", "$"},
        {"", ""},
        {"ohne Platzhalter", "ohne Platzhalter"},
        // "$PRODUCT$" does not contain "$PR$", so row 1 leaves it to row 5.
        {"$PRODUCT$", "Veltrane Quillon"},
        // A "$" left over from one placeholder does not join the next text into another.
        {"$$PR$$", "$Veltrane Quillon$"},
        {"$P$PR$R$", "$PVeltrane QuillonR$"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Expand(c.pszText), c.pszExpected) << c.pszText;
}

TEST(Placeholders, ReplacementThatWouldNotFitIsSkippedWhileLaterOnesFit) {
    // 500 bytes: "$PR$" would grow the text to 512 bytes, which with the terminator
    // does not fit a 512-byte slot; "$SN$" grows it to 511, which does.
    std::string strText = "$PR$ " + std::string(491, 'x') + "$SN$";
    ASSERT_EQ(strText.size(), 500u);
    std::string strResult = Expand(strText);
    EXPECT_EQ(strResult, "$PR$ " + std::string(491, 'x') + "VeltraneSystems");
    EXPECT_EQ(strResult.size(), 511u);
}

TEST(Placeholders, FitRuleCountsTheTerminator) {
    // "$PR$" adds 12 bytes. A text of t bytes fits when t + 12 < capacity.
    for (size_t nCapacity : {17u, 20u, 64u}) {
        std::string strFits = "$PR$" + std::string(nCapacity - 17, 'a');
        std::string strTooLong = strFits + "a";
        EXPECT_EQ(Expand(strFits, nCapacity), PRODUCT_NAME + std::string(nCapacity - 17, 'a'))
            << nCapacity;
        EXPECT_EQ(Expand(strTooLong, nCapacity), strTooLong) << nCapacity;
    }
}

TEST(Placeholders, StopsReplacingWhenTheBufferIsFull) {
    // Three "$PR$" in 40 bytes: the first fits (24 bytes), the second (36) too, the third
    // would need 48 and stays.
    EXPECT_EQ(Expand("$PR$$PR$$PR$", 40), "Veltrane QuillonVeltrane Quillon$PR$");
}

TEST(Placeholders, DoesNotWritePastTheTerminatorOrTheCapacity) {
    std::vector<char> buffer(64, '\x7F');
    const char text[] = "a $PN$ b";
    std::copy(std::begin(text), std::end(text), buffer.begin());
    ExpandPlaceholders(buffer.data(), 30);
    EXPECT_STREQ(buffer.data(), "a VeltraneQuillonPort b");
    for (size_t i = 24; i < buffer.size(); ++i)
        EXPECT_EQ(buffer[i], '\x7F') << "byte " << i;
}

} // namespace

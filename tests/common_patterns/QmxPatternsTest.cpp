#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "common/QmxUtil.h"

namespace {

TEST(QmxPatterns, ExpandPatternCodes)
{
    EXPECT_EQ(ExpandPatternCodes("^?^a^C^l^M^q"), "\x12\x11\x10\x0F\x0B\x13");
    EXPECT_EQ(ExpandPatternCodes("^^"), "^");
    EXPECT_EQ(ExpandPatternCodes("a^"), "a");
    EXPECT_EQ(ExpandPatternCodes("^x^-^D"), "x-D");  // replacement letters mean nothing here
}

TEST(QmxPatterns, FindPattern)
{
    const struct {
        const char* pattern;
        const char* text;
        bool caseSensitive;
        const char* found;
    } rows[] = {
        {"^C^C-^C^C^C", "ul. Długa 5, 80-123 Gdańsk", false, "80-123"},
        {"^M^L", "abC def", false, ""},
        {"^M^L", "aBcd", false, "Bc"},
        {"^m^l", "aBcd", true, "Bc"},
        {"^M", "abcłŻ", false, "Ż"},
        {"^L", "12-ą", false, "ą"},
        {"^Q", "Łódź-Bałuty", false, "-"},
        {"^A^A", "-ż1", false, "ż1"},
        {"^?b", "xabab", false, "ab"},
        {"ŁÓDŹ", "w łódź", false, "łódź"},
        {"ŁÓDŹ", "w łódź", true, ""},
        {"^^x", "a^xb", false, "^x"},
        {"ab^", "cab", false, "ab"},
        {"^x", "axb", false, "x"},
        {"", "abc", false, ""},
        {"a", "", false, ""},
        {"abcd", "abc", false, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.pattern << " in " << r.text << " cs " << r.caseSensitive);
        EXPECT_EQ(FindPattern(r.pattern, r.text, r.caseSensitive), r.found);
    }
}

struct ReplaceRow {
    const char* search;
    const char* replacement;
    const char* text;
    bool caseSensitive;
    const char* iText;
    const char* nText;
    const char* expected;
};

void CheckPatternReplace(const ReplaceRow& r)
{
    SCOPED_TRACE(testing::Message() << r.search << " -> " << r.replacement << " in " << r.text << " cs "
                                    << r.caseSensitive);
    std::string text = r.text;
    std::string result = "?";
    PatternReplace(r.search, r.replacement, text, r.caseSensitive, r.iText, r.nText, result);
    EXPECT_EQ(text, r.expected);
    EXPECT_EQ(result, r.expected);
}

TEST(QmxPatterns, PatternReplace)
{
    const ReplaceRow rows[] = {
        {"yy", "yyyy", "dd-MM-yy", false, "", "", "dd-MM-yyyy"},
        {"yy", "yyyy", "dd-MM-rr", false, "", "", "dd-MM-rr"},
        {"a", "^^x", "bab", false, "", "", "b^xb"},
        {"x", "^I-^N", "1x2", false, "A", "B", "1A-B2"},
        {"x", "^i-^n", "1X2", false, "A", "B", "1A-B2"},
        {"x", "^R^S", "axb", false, "", "", "a\x1F\x16" "b"},  // left as the control characters
        // A plain search text is replaced once when it still occurs afterwards.
        {"ab", "X", "abab", false, "", "", "Xab"},
        {"ab", "X", "ab-AB", true, "", "", "X-AB"},
        {"ab", "X", "AB-AB", true, "", "", "AB-AB"},
        // A text that is the search text becomes the replacement as written.
        {"AB", "x", "ab", false, "", "", "x"},
        {"a", "^I", "a", false, "Z", "", "^I"},
        // With class codes every match is replaced, the search starting over.
        {"^C", "#", "a1b22c", false, "", "", "a#b##c"},
        {"^C^C", "1", "123", false, "", "", "1"},
        {"^L^C", "99", "ba1", false, "", "", "999"},
        {"a^C", "5a", "a111", false, "", "", "555a"},
        // The replacement matching its own pattern is not replaced again.
        {"^C", "7", "a1b2", false, "", "", "a7b7"},
        {"^C", "12", "5", false, "", "", "12"},
        {"^L", "xy", "a-b", false, "", "", "xy-xy"},
        {"", "x", "abc", false, "", "", "abc"},
        {"a", "x", "", false, "", "", ""},
    };
    for (const auto& r : rows)
        CheckPatternReplace(r);
}

TDateTime FixedNow()
{
    return EncodeDate(2021, 3, 5) + EncodeTime(13, 45, 0, 0);
}

TEST(QmxPatterns, DatesAndRandomLetters)
{
    // Formats of our own, so that only the choice of format is tested here.
    const TFormatSettings saved = FormatSettings();
    FormatSettings().ShortDateFormat = "d.mm.yyyy";
    FormatSettings().LongDateFormat = "yyyy mm dd";
    TClock previous = SetClock(FixedNow);
    const ReplaceRow rows[] = {
        {"dziś", "^K", "Dziś jest dziś.", false, "", "", "5.03.2021 jest dziś."},
        {"^Cx", "^D", "data: 1x", false, "", "", "data: 2021 03 05"},
        {"^Cx", "^d/^k", "1x2x", false, "", "", "2021 03 05/5.03.20212021 03 05/5.03.2021"},
    };
    for (const auto& r : rows)
        CheckPatternReplace(r);
    SetClock(previous);
    FormatSettings() = saved;

    // Character 27 gives a random capital letter; the same letters serve
    // every match of one replacement.
    RandSeed = 12345;
    std::string text = "1 2 3";
    std::string result;
    PatternReplace("^C", "\x1B\x1B", text, false, "", "", result);
    ASSERT_EQ(text.size(), 8u);
    EXPECT_TRUE(text[0] >= 'A' && text[0] <= 'Z' && text[1] >= 'A' && text[1] <= 'Z') << text;
    EXPECT_EQ(text, text.substr(0, 2) + " " + text.substr(0, 2) + " " + text.substr(0, 2));
}

TEST(QmxPatterns, ReplaceAllWithPatterns)
{
    const struct {
        const char* search;
        const char* replacement;
        const char* text;
        const char* expected;
    } rows[] = {
        {";", "|", "a;b;c;d", "a|b|c|d"},
        {"ŁÓDŹ", "x", "łódź-Łódź", "x-x"},
        {"x", "x", "xXx", "xXx"},
        {"^C", "#", "a1b2", "a#b#"},
        {"^C", "^^", "1a2", "^a^"},
        {"ab", "^^", "ab-ab-AB", "^-^-^"},
        // A replacement holding the search text is not searched again.
        {"x", "xx^^", "axa", "axx^a"},
        {"x", "^Ix", "xx", "xx"},
        {"x", "^^x", "x", "^^x"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.search << " -> " << r.replacement << " in " << r.text);
        std::string s = r.text;
        ReplaceAllWithPatterns(r.search, r.replacement, s);
        EXPECT_EQ(s, r.expected);
    }
}

} // namespace

// The grid's free routines, one table per routine.
#include <gtest/gtest.h>

#include "grid/AdvUtil.h"

namespace {

struct NumberCase {
    const char* text;
    int kind;
};

} // namespace

TEST(AdvUtil, TextNumberKindWithCommaDecimalsAndBlankThousands)
{
    const NumberCase cases[] = {
        {"123", 0}, {"-5", 0},      {"3,14", 1}, {"1999-12-31", 2}, {"abc", 2}, {"", 0},
        {"1.234,5", 1}, {"1,2,3", 2}, {"12 345", 2}, {"1.2.3", 1},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(TextNumberKind(c.text, ' ', ','), c.kind) << '"' << c.text << '"';
}

TEST(AdvUtil, TextNumberKindThousandSpacing)
{
    // Comma thousands, point decimals: a separator needs three places after
    // the one before, so never at position 1 or 2.
    const NumberCase cases[] = {
        {"1,234.5", 1}, {"12,345,678", 1}, {"12,3,4", 2}, {",123", 2}, {"1,2", 1}, {"1.2.3", 2},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(TextNumberKind(c.text, ',', '.'), c.kind) << '"' << c.text << '"';
}

TEST(AdvUtil, TextNumberKindInThePolishLocale)
{
    // Non-breaking blank thousands never belong to a number.
    EXPECT_EQ(TextNumberKind("12,5"), 1);
    EXPECT_EQ(TextNumberKind("12\xA0" "345"), 2);
    EXPECT_EQ(TextNumberKind("12a"), 2);
}

TEST(AdvUtil, TextRoutines)
{
    EXPECT_EQ(UnescapeLineBreaks("a\\nb\\\\n"), "a\rb\\\r");
    std::string s = "tajne";
    FillChars(s, '*');
    EXPECT_EQ(s, "*****");
    EXPECT_EQ(CollapseDoubled('"', "\"\"\""), "\"");
    EXPECT_EQ(CollapseDoubled('"', "a\"\"b\"c"), "a\"b\"c");
    EXPECT_EQ(CollapseDoubled('"', ""), "");
    s = "a\r\nb\rc";
    QuoteMultiLine(s);
    EXPECT_EQ(s, "\"a\nb\rc\"");
    s = "a\nb\r\nc";
    LFToCRLF(s);
    EXPECT_EQ(s, "a\r\nb\r\r\nc");
    s = "a~b~";
    TildeToCRLF(s);
    EXPECT_EQ(s, "a\r\nb\r\n");
    EXPECT_EQ(UpperASCII("abzęZ1"), "ABZęZ1");
    EXPECT_EQ(LineCount("a\rb\rc", true), 3);
    EXPECT_EQ(LineCount("a\rb\rc", false), 1);
    std::string oem = "\xA5";  // "ą" in code page 852
    OemToAnsiText(oem);
    EXPECT_EQ(oem, "ą");
}

TEST(AdvUtil, TakeLine)
{
    struct {
        const char* text;
        bool keepRest;
        const char* line;
        const char* rest;
    } cases[] = {
        {"one\r\ntwo", true, "one", "two"}, {"one\r\ntwo", false, "one", ""}, {"one\rtwo", true, "one", "two"},
        {"one", true, "one", ""},           {"\r\n\r\nx", true, "", "\r\nx"},
    };
    for (const auto& c : cases) {
        std::string s = c.text, line;
        TakeLine(s, c.keepRest, line);
        EXPECT_EQ(line, c.line) << c.text;
        EXPECT_EQ(s, c.rest) << c.text;
    }
}

TEST(AdvUtil, SingleCharacters)
{
    struct {
        const char* text;
        int first;
        int count;
    } cases[] = {
        {"ab\"cd", 3, 1}, {"\"ab", 0, 0}, {"a\"\"b\"", 5, 1}, {"ab\"", 3, 1}, {"a\"b\"c", 2, 2}, {"", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindSingle('"', c.text), c.first) << c.text;
        EXPECT_EQ(CountSingle('"', c.text), c.count) << c.text;
    }
}

TEST(AdvUtil, MatchFilter)
{
    struct {
        const char* condition;
        const char* value;
        bool match;
    } cases[] = {
        {">10", "12", true},
        {">10", "9", false},
        {">=10", "10", true},
        {">10", "10", false},
        {"<=5", "5", true},
        {">5 & <10", "7", true},
        {">5 & <10", "12", false},
        {"<5 | >10", "12", true},
        {"<5 | >10", "7", false},
        {"<5 ^ >10", "3", true},
        {"A*", "Abc", true},
        {"A*", "bAc", false},
        {"?b", "ab", true},
        {"?b", "b", false},
        {"!A*", "Abc", false},
        {"!A*", "xyz", true},
        {"*c", "abc", true},
        {"a**c", "abbc", true},
        {"a*c*e", "abcde", true},
        {"abc", "abcd", false},
        {"abc", "ABC", false},
        {">m", "n", true},    // texts byte by byte
        {">10", "9a", true},  // "9a" is no number: "10" < "9a"
        {"> 1.5", "2", true},
        // A long operand compares whole: no field limit cuts it.
        {">abcdefghijklmnopqrstuvwxyz0123", "abcdefghijklmnopqrstuvwxyz0124", true},
        {">abcdefghijklmnopqrstuvwxyz0123", "abcdefghijklmnopqrstuvwxyz0122", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchFilter(c.condition, c.value), c.match) << '"' << c.condition << "\" on \"" << c.value << '"';
}

TEST(AdvUtil, NextSeriesDate)
{
    struct {
        int dy, dm, dd;
        double step;
        TDateTime from, next;
    } cases[] = {
        {0, 1, 0, 31, EncodeDate(2026, 12, 15), EncodeDate(2027, 1, 15)},
        {0, -1, 0, -31, EncodeDate(2027, 1, 15), EncodeDate(2026, 12, 15)},
        {0, 0, 7, 7, EncodeDate(2026, 2, 25), EncodeDate(2026, 3, 4)},
        {1, 0, 0, 365, EncodeDate(2024, 2, 28), EncodeDate(2025, 2, 28)},
        {0, 1, 1, 32, EncodeDate(2026, 1, 1), EncodeDate(2026, 2, 2)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NextSeriesDate(c.dy, c.dm, c.dd, c.step, c.from), c.next)
            << c.dy << " " << c.dm << " " << c.dd << " from " << DateToStr(c.from);
    EXPECT_THROW(NextSeriesDate(1, 0, 0, 366, EncodeDate(2024, 2, 29)), EConvertError);
    EXPECT_THROW(NextSeriesDate(0, 1, 0, 31, EncodeDate(2026, 1, 31)), EConvertError);
}

TEST(AdvUtil, DrawTransparentPaintsTheCornerColourInTheBackColour)
{
    TBitmap glyph(4, 4, pf24bit);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph.Canvas()->SetPixels(2, 2, clBlue);
    TBitmap target(10, 10, pf24bit);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 10, 10));
    DrawTransparent(target.Canvas(), &glyph, clYellow, TPoint{3, 3});
    EXPECT_EQ(target.Canvas()->Pixels(3, 3), clYellow);
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clBlue);
    EXPECT_EQ(target.Canvas()->Pixels(2, 2), clWhite);
    EXPECT_EQ(target.Canvas()->Pixels(7, 7), clWhite);
}

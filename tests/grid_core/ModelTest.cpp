// The grid's model without a window: comparisons by sort style in the Polish
// locale, the cell Enter advances to, hidden-row indexes and row flags.
#include <gtest/gtest.h>

#include "grid/AdvModel.h"

namespace {

const char* StyleName(TSortStyle s)
{
    static const char* names[] = {"stDetect",    "stText",          "stNumber",          "stShortDate",
                                  "stTextUpper", "stTextExact",     "stDateDMY",         "stDateMDY",
                                  "stCustom",    "stNumberGrouped", "stLocaleText",      "stLocaleTextNoCase",
                                  "stRowCompare", "stMarkupText"};
    return s <= stMarkupText ? names[s] : "beyond";
}

} // namespace

TEST(AdvModel, CompareTextsByStyleInThePolishLocale)
{
    TCompareSettings pl = TCompareSettings::Locale();
    ASSERT_EQ(pl.DecimalSeparator, ',');
    ASSERT_EQ(pl.ThousandSeparator, '\xA0');
    struct {
        TSortStyle style;
        const char* a;
        const char* b;
        int result;
    } cases[] = {
        {stNumber, "9", "10", -1},
        {stNumber, "100", "10", 1},
        {stText, "9", "10", 1},
        {stText, "10", "100", -1},
        {stNumber, "", "0", 0},        // an empty cell is 0
        {stNumber, "", "-1", 1},
        {stNumber, "abc", "5", 0},     // no number: equal to everything
        {stNumber, "5", "abc", 0},
        {stNumber, "2,5", "2,25", 1},  // the locale's decimal comma
        {stNumber, "1e3", "999", 1},
        {stNumber, " 7", "8", -1},     // leading blanks are skipped
        {stNumber, "7 ", "8", 0},      // trailing ones are not
        {stNumberGrouped, "1\xA0" "000", "999", 1},
        {stNumber, "1\xA0" "000", "999", 0},
        {stShortDate, "5.01.2026", "25.12.2025", 1},
        {stShortDate, "5.01.2026 10:00", "5.01.2026 9:00", 1},
        {stShortDate, "nie data", "1.01.1900", -1},  // no date reads as 0
        {stDateDMY, "31.12.05", "1.1.06", -1},
        {stDateMDY, "12-31-99", "1-1-00", -1},
        {stDateDMY, "32.1.05", "0", 0},  // a day the calendar lacks reads as 0
        {stTextUpper, "abc", "ABC", 0},
        {stTextUpper, "ąbc", "ĄBC", 1},  // only a-z fold
        {stTextExact, "a", "B", 1},
        {stLocaleText, "a", "B", -1},  // by the alphabet
        {stText, "a", "B", 1},         // byte by byte
        {stLocaleTextNoCase, "Łódź", "łÓDŹ", 0},
        {stLocaleText, "Łódź", "łódź", 1},
        {stMarkupText, "a", "b", -1},
        {static_cast<TSortStyle>(14), "a", "b", 1},  // beyond the styles: A is greater
        {stDetect, "10", "9", 1},                   // a number
        {stDetect, "1/2", "1/10", 0},               // a date that reads as none
        {stDetect, "a/b", "a/c", -1},               // letters around the slash: text
        {stDetect, "/12", "/2", -1},                // a slash first: text
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareTexts(c.style, c.a, c.b, pl), c.result)
            << StyleName(c.style) << " \"" << c.a << "\" \"" << c.b << '"';
}

TEST(AdvModel, DetectChoosesByTheFirstText)
{
    struct {
        const char* text;
        TSortStyle style;
    } cases[] = {
        {"123", stNumber}, {"3,14", stNumber}, {"", stNumber},       {"12/5/2026", stShortDate},
        {"1/x", stText},   {"x/1", stText},    {"/1", stText},      {"1/", stText},
        {"abc", stText},   {"1-2-3", stText},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DetectSortStyle(c.text, '\xA0', ','), c.style) << c.text;
}

TEST(AdvModel, NumbersLosePrefixSuffixAndGroups)
{
    TCompareSettings s = TCompareSettings::Locale();
    s.Prefix = "zł ";
    s.Suffix = " szt.";
    double v = 0;
    EXPECT_TRUE(ReadSortNumber("zł 12,5 szt.", false, s, v));
    EXPECT_EQ(v, 12.5);
    EXPECT_TRUE(ReadSortNumber("1\xA0" "234\xA0" "567,5", true, s, v));
    EXPECT_EQ(v, 1234567.5);
    EXPECT_FALSE(ReadSortNumber("1\xA0" "234", false, s, v));
}

TEST(AdvModel, AdvanceTarget)
{
    // 4 columns (1 fixed, 1 fixed on the right), 6 rows (1 fixed, 1 footer).
    TAdvanceFrame f;
    f.ColCount = 4;
    f.RowCount = 6;
    f.FixedCols = 1;
    f.FixedRows = 1;
    f.FixedRightCols = 1;
    f.FixedFooters = 1;
    struct {
        bool topBottom, insert, forward;
        int col, row;
        int toCol, toRow;
        bool grow;
    } cases[] = {
        {false, false, true, 1, 1, 2, 1, false},
        {false, false, true, 2, 1, 1, 2, false},   // last column before the right fixed one
        {false, false, true, 2, 4, 1, 1, false},   // last data row: wrap to the first cell
        {false, true, true, 2, 4, 1, 5, true},     // or a new row
        {false, false, false, 2, 3, 1, 3, false},
        {false, false, false, 1, 3, 2, 2, false},  // back to the last column of the row above
        {false, false, false, 1, 1, 1, 1, false},  // the first cell stays
        {true, false, true, 1, 1, 1, 2, false},
        {true, false, true, 1, 4, 2, 1, false},    // last data row: next column, first row
        {true, false, true, 2, 4, 1, 1, false},    // last cell: wrap
        {true, true, true, 2, 4, 3, 1, true},      // or a new column
        {true, false, false, 2, 1, 1, 4, false},
        {true, false, false, 1, 1, 1, 1, false},
    };
    for (const auto& c : cases) {
        f.TopBottom = c.topBottom;
        f.Insert = c.insert;
        const TAdvanceStep s = AdvanceTarget(f, c.col, c.row, c.forward);
        const std::string row = std::string(c.topBottom ? "top-bottom" : "left-right") +
                                (c.insert ? " insert" : "") + (c.forward ? " forward" : " back") + " from " +
                                std::to_string(c.col) + "," + std::to_string(c.row);
        EXPECT_EQ(s.Col, c.toCol) << row;
        EXPECT_EQ(s.Row, c.toRow) << row;
        EXPECT_EQ(s.GrowRow || s.GrowCol, c.grow) << row;
        EXPECT_EQ(s.GrowRow, c.grow && !c.topBottom) << row;
    }
}

TEST(AdvModel, HiddenRowIndexes)
{
    const std::vector<int> hidden = {3, 4, 8};
    struct {
        int real, display;
    } cases[] = {{0, 0}, {2, 2}, {5, 3}, {7, 5}, {9, 6}, {20, 17}};
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayRowOf(hidden, c.real), c.display) << "real " << c.real;
        EXPECT_EQ(RealRowOf(hidden, c.display), c.real) << "displayed " << c.display;
    }
    EXPECT_EQ(DisplayRowOf(hidden, 3), 3);  // where the hidden row would go back
    EXPECT_EQ(RealRowOf({}, 4), 4);
}

TEST(AdvModel, RowFlagsGrowOnDemand)
{
    TRowFlags flags;
    EXPECT_FALSE(flags.Get(10));
    EXPECT_EQ(flags.Count(), 11);
    flags.Set(3, true);
    flags.Set(5, true);
    flags.Exchange(3, 4);
    EXPECT_FALSE(flags.Get(3));
    EXPECT_TRUE(flags.Get(4));
    flags.Remove(4);
    EXPECT_TRUE(flags.Get(4));  // row 5 moved up
    EXPECT_FALSE(flags.Get(3));
}

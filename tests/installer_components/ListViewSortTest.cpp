// The list view's comparisons as a table: style, affixes, texts and the
// sign that results, with the Polish settings of the test runs.
#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "installer/advlistvsort.h"

namespace {

struct Format {
    TSortStyle style;
    std::string prefix, suffix;
    void Get(TObject*, int, TSortStyle& s, std::string& p, std::string& x)
    {
        s = style;
        p = prefix;
        x = suffix;
    }
    void Custom(TObject*, int, const std::string& a, const std::string& b, int& res)
    {
        res = static_cast<int>(a.size()) - static_cast<int>(b.size());
    }
};

int Sign(int v)
{
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

TEST(ListViewSort, ComparisonsByStyle)
{
    GetFormatSettings();
    ASSERT_EQ(FormatSettings().DecimalSeparator, ',');
    const std::string th(1, FormatSettings().ThousandSeparator);
    using S = TSortStyle;
    struct Row {
        S style;
        const char* prefix;
        const char* suffix;
        std::string a, b;
        int expected;
    } rows[] = {
        {S::stText, "", "", "abc", "abd", -1},
        {S::stText, "", "", "b", "B", 1},
        {S::stTextExact, "", "", "x", "x", 0},
        {S::stTextUpper, "", "", "abc", "ABC", 0},
        {S::stTextUpper, "", "", "ą", "Ą", 1},  // only a to z change case
        {S::stNumber, "", "", "10", "9", 1},
        {S::stNumber, "", "", "2,5", "2,45", 1},
        {S::stNumber, "zł ", "", "zł 10", "zł 9", 1},
        {S::stNumber, "", " kB", "100 kB", "20 kB", 1},
        {S::stNumber, "", "", "", "3", -1},
        {S::stNumber, "", "", "abc", "3", 0},
        {S::stNumber, "", "", "1" + th + "000", "999", 0},
        {S::stNumberGrouped, "", "", "1" + th + "000" + th + "000", "999" + th + "999", 1},
        {S::stDateDMY, "", "", "01-02-2000", "02-01-2000", 1},
        {S::stDateMDY, "", "", "01-02-2000", "02-01-2000", -1},
        {S::stDateDMY, "", "", "bzdura", "01-01-1990", -1},
        {S::stDateDMY, "", "", "31-02-2000", "01-01-1900", -1},  // raises inside: date 0
        {S::stShortDate, "", "", "2.01.2000", "1.02.2000", -1},
        {S::stShortDate, "", "", "nie data", "nie data", 0},
        {S::stDetect, "", "", "a", "b", 1},
        {S::stCustom, "", "", "aaa", "b", 1},
        {static_cast<S>(42), "", "", "a", "b", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(static_cast<int>(r.style)) + " " + r.a + " | " + r.b);
        Format f{r.style, r.prefix, r.suffix};
        EXPECT_EQ(Sign(CompareCells(nullptr, 0, r.a, r.b, TFormatEvent(&f, &Format::Get),
                                    TCustomCompareEvent(&f, &Format::Custom))),
                  r.expected);
    }
}

TEST(ListViewSort, DefaultsWithoutHandlers)
{
    // No format handler: plain text; stCustom without a handler: 1.
    EXPECT_EQ(CompareCells(nullptr, 0, "b", "a", TFormatEvent(), TCustomCompareEvent()), 1);
    Format custom{TSortStyle::stCustom, "", ""};
    EXPECT_EQ(CompareCells(nullptr, 0, "a", "bbbb", TFormatEvent(&custom, &Format::Get), TCustomCompareEvent()), 1);
}

} // namespace

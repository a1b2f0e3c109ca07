// Date-time values, the replaceable clock and date-time formatting.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>

#include "classlib/SysUtils.h"

namespace {

TEST(SysDate, EncodeKnownDays)
{
    const struct {
        int y, m, d;
        double expected;
    } rows[] = {
        {1899, 12, 30, 0},      {1899, 12, 31, 1},      {1900, 1, 1, 2},        {1900, 3, 1, 61},
        {1999, 12, 8, 36502},   {2000, 1, 1, 36526},    {2000, 2, 29, 36585},   {2000, 3, 1, 36586},
        {1899, 12, 29, -1},     {1, 1, 1, -693593},     {9999, 12, 31, 2958465},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.y << "-" << r.m << "-" << r.d);
        EXPECT_EQ(EncodeDate(r.y, r.m, r.d), r.expected);
        int y, m, d;
        DecodeDate(r.expected, y, m, d);
        EXPECT_EQ(y, r.y);
        EXPECT_EQ(m, r.m);
        EXPECT_EQ(d, r.d);
    }
}

TEST(SysDate, InvalidDatesAndTimes)
{
    const struct {
        int y, m, d;
    } dates[] = {{1900, 2, 29}, {2001, 2, 29}, {2100, 2, 29}, {2000, 13, 1}, {2000, 0, 1},
                 {2000, 4, 31}, {2000, 1, 0},  {0, 1, 1},     {10000, 1, 1}, {-5, 1, 1}};
    for (const auto& r : dates) {
        SCOPED_TRACE(testing::Message() << r.y << "-" << r.m << "-" << r.d);
        TDateTime v = 123;
        EXPECT_FALSE(TryEncodeDate(r.y, r.m, r.d, v));
        EXPECT_EQ(v, 123);
        EXPECT_THROW(EncodeDate(r.y, r.m, r.d), EConvertError);
    }
    const struct {
        int h, n, s, ms;
    } times[] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
    for (const auto& r : times) {
        SCOPED_TRACE(testing::Message() << r.h << ":" << r.n << ":" << r.s << "." << r.ms);
        TDateTime v;
        EXPECT_FALSE(TryEncodeTime(r.h, r.n, r.s, r.ms, v));
        EXPECT_THROW(EncodeTime(r.h, r.n, r.s, r.ms), EConvertError);
    }
}

TEST(SysDate, LeapYears)
{
    const struct {
        int year;
        bool leap;
    } rows[] = {{1996, true}, {1999, false}, {2000, true}, {1900, false}, {2100, false}, {2400, true}, {2024, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.year);
        EXPECT_EQ(IsLeapYear(r.year), r.leap);
        TDateTime v;
        EXPECT_EQ(TryEncodeDate(r.year, 2, 29, v), r.leap);
        EXPECT_EQ(EncodeDate(r.year + 1, 1, 1) - EncodeDate(r.year, 1, 1), r.leap ? 366 : 365);
    }
}

TEST(SysDate, RoundTripOverTheWholeRange)
{
    const double first = EncodeDate(1, 1, 1), last = EncodeDate(9999, 12, 31);
    for (double day = first; day <= last; day += 997) {
        int y, m, d;
        DecodeDate(day, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), day) << y << "-" << m << "-" << d;
    }
    // Every day of one leap year, in order.
    int expectedMonth = 1, expectedDay = 1;
    for (double day = EncodeDate(2000, 1, 1); day < EncodeDate(2001, 1, 1); ++day) {
        int y, m, d;
        DecodeDate(day + 0.75, y, m, d);
        ASSERT_EQ(y, 2000);
        ASSERT_EQ(m, expectedMonth);
        ASSERT_EQ(d, expectedDay);
        TDateTime next;
        if (TryEncodeDate(2000, m, d + 1, next)) {
            ++expectedDay;
        } else {
            ++expectedMonth;
            expectedDay = 1;
        }
    }
}

TEST(SysDate, TimeOfDay)
{
    const struct {
        double value;
        int h, n, s, ms;
    } rows[] = {
        {0.5, 12, 0, 0, 0},
        {36502.25, 6, 0, 0, 0},
        {EncodeTime(14, 5, 9, 7), 14, 5, 9, 7},
        {EncodeTime(23, 59, 59, 999), 23, 59, 59, 999},
        {-1.25, 6, 0, 0, 0},  // before day 0 the fraction counts from midnight too
        {36502.9999999999, 0, 0, 0, 0},  // within half a millisecond of midnight
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.value);
        int h, n, s, ms;
        DecodeTime(r.value, h, n, s, ms);
        EXPECT_EQ(h, r.h);
        EXPECT_EQ(n, r.n);
        EXPECT_EQ(s, r.s);
        EXPECT_EQ(ms, r.ms);
    }
    // The rounding carries into the date as well.
    int y, m, d;
    DecodeDate(36502.9999999999, y, m, d);
    EXPECT_EQ(d, 9);
    DecodeDate(-1.25, y, m, d);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(y, 1899);
}

TEST(SysDate, DayOfWeekFromSunday)
{
    EXPECT_EQ(DayOfWeek(EncodeDate(1999, 12, 8)), 4);   // Wednesday
    EXPECT_EQ(DayOfWeek(0), 7);                         // 30.12.1899, Saturday
    EXPECT_EQ(DayOfWeek(1), 1);                         // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 25)), 2);  // Monday, before day 0
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 2, 29) + 0.99), 5);
}

TDateTime FixedNow()
{
    return EncodeDate(1999, 12, 8) + EncodeTime(14, 5, 9, 0);
}

TEST(SysDate, ReplaceableClock)
{
    TClock previous = SetClock(FixedNow);
    EXPECT_EQ(Now(), FixedNow());
    EXPECT_EQ(Date(), EncodeDate(1999, 12, 8));
    EXPECT_NEAR(Time(), EncodeTime(14, 5, 9, 0), 1e-9);  // the day's digits cost precision
    EXPECT_EQ(SetClock(previous), &FixedNow);

    // Back on the system's clock: the local time of this moment.
    SYSTEMTIME st;
    GetLocalTime(&st);
    TDateTime system = EncodeDate(st.wYear, st.wMonth, st.wDay) + EncodeTime(st.wHour, st.wMinute, st.wSecond, 0);
    EXPECT_NEAR(Now(), system, 5.0 / 86400);
    SetClock(nullptr);
    EXPECT_NEAR(Now(), system, 5.0 / 86400);
}

// Polish settings pinned, so that the rows do not depend on what a machine's
// locale says beyond what the programs rely on.
class SysFormatDateTime : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = FormatSettings();
        TFormatSettings& fs = FormatSettings();
        fs.DateSeparator = '.';
        fs.TimeSeparator = ':';
        fs.ShortDateFormat = "dd.MM.yyyy";
        fs.LongDateFormat = "d MMMM yyyy";
        fs.ShortTimeFormat = "hh:mm";
        fs.LongTimeFormat = "hh:mm:ss";
        fs.TimeAMString = "AM";
        fs.TimePMString = "PM";
        fs.LongMonthNames[11] = "grudzień";
        fs.ShortMonthNames[11] = "gru";
        fs.LongDayNames[3] = "środa";
        fs.ShortDayNames[3] = "śr";
    }
    void TearDown() override { FormatSettings() = saved_; }

    TFormatSettings saved_;
};

TEST_F(SysFormatDateTime, Codes)
{
    const TDateTime t = EncodeDate(1999, 12, 8) + EncodeTime(14, 5, 9, 7);
    const struct {
        const char* format;
        const char* expected;
    } rows[] = {
        {"dd-mm-yyyy hh:mm:ss", "08-12-1999 14:05:09"},  // the log line
        {"d.m.yy", "8.12.99"},
        {"D.M.YYYY", "8.12.1999"},
        {"d mmm yyyy", "8 gru 1999"},
        {"d mmmm yyyy", "8 grudzień 1999"},
        {"d mmmmmm", "8 grudzień"},
        {"ddd, dddd", "śr, środa"},
        {"ddddd", "08.12.1999"},
        {"dddddd", "8 grudzień 1999"},
        {"yyyymmdd_hhnnss", "19991208_140509"},
        {"yyy", "1999"},
        {"y", "99"},
        // m and mm right after an hour code are minutes, whatever stands between.
        {"hh:mm", "14:05"},
        {"h:m", "14:5"},
        {"h mm", "14 05"},
        {"hh 'godz.' mm", "14 godz. 05"},
        {"hh x mm", "14 x 12"},  // another letter in between: the month again
        {"mm hh", "12 14"},
        {"hh:nn:ss.zzz", "14:05:09.007"},
        {"h:n:s.z", "14:5:9.7"},
        {"hhh", "14"},
        // "/" and ":" are the locale's separators, other punctuation is literal.
        {"yyyy/mm/dd", "1999.12.08"},
        {"dd-mm-yyyy", "08-12-1999"},
        {"t", "14:05"},
        {"tt", "14:05:09"},
        {"c", "08.12.1999 14:05:09"},
        {"", "08.12.1999 14:05:09"},
        // 12-hour clock when an am/pm code follows.
        {"h:mm am/pm", "2:05 pm"},
        {"h:mm AM/PM", "2:05 PM"},
        {"h:mm a/p", "2:05 p"},
        {"hh:mm ampm", "02:05 PM"},
        {"h:mm 'am/pm' hh", "14:05 am/pm 14"},
        {"h hh am/pm", "14 02 pm"},
        // Literals.
        {"\"d\"d", "d8"},
        {"'yyyy' yyyy", "yyyy 1999"},
        {"\"niezamknięte", "niezamknięte"},
        {"łóż", "łóż"},
        {"dd#mm`", "08#12`"},
        {"bxq", "bxq"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.format);
        EXPECT_EQ(FormatDateTime(r.format, t), r.expected);
    }
}

TEST_F(SysFormatDateTime, SeparatorsFollowTheSettings)
{
    const TDateTime t = EncodeDate(2005, 3, 4) + EncodeTime(9, 7, 0, 0);
    FormatSettings().DateSeparator = '-';
    FormatSettings().TimeSeparator = '.';
    EXPECT_EQ(FormatDateTime("d/m/yy h:nn", t), "4-3-05 9.07");
    EXPECT_EQ(FormatDateTime("dd-mm-yyyy hh:mm:ss", t), "04-03-2005 09.07.00");
}

TEST_F(SysFormatDateTime, MidnightAndTwelveHourEdges)
{
    const TDateTime day = EncodeDate(2000, 2, 29);
    EXPECT_EQ(DateTimeToStr(day), "29.02.2000");
    EXPECT_EQ(DateTimeToStr(day + EncodeTime(0, 0, 1, 0)), "29.02.2000 00:00:01");
    EXPECT_EQ(DateToStr(day + 0.5), "29.02.2000");
    EXPECT_EQ(TimeToStr(day + 0.5), "12:00:00");
    EXPECT_EQ(FormatDateTime("h:mm am/pm", day + EncodeTime(0, 30, 0, 0)), "12:30 am");
    EXPECT_EQ(FormatDateTime("h:mm am/pm", day + EncodeTime(12, 30, 0, 0)), "12:30 pm");
    EXPECT_EQ(FormatDateTime("hh:nn:ss", day + 0.9999999999), "00:00:00");
    EXPECT_EQ(FormatDateTime("dd", day + 0.9999999999), "01");
}

TEST_F(SysFormatDateTime, FormatsThatNameThemselvesEnd)
{
    FormatSettings().ShortDateFormat = "ddddd";
    FormatSettings().LongTimeFormat = "tt";
    EXPECT_EQ(FormatDateTime("ddddd", 0), "");
    EXPECT_EQ(FormatDateTime("x tt x", 0), "x  x");
}

TEST_F(SysFormatDateTime, UsesTheClock)
{
    TClock previous = SetClock(FixedNow);
    EXPECT_EQ(FormatDateTime("dd-mm-yyyy hh:mm:ss", Now()), "08-12-1999 14:05:09");
    SetClock(previous);
}

TEST_F(SysFormatDateTime, ReadingDatesAndTimes)
{
    TClock previous = SetClock(FixedNow);  // this year is 1999
    const TDateTime day = EncodeDate(1999, 12, 8);
    const double none = -99999;
    const struct {
        const char* text;
        double expected;  // none: no date-time
    } rows[] = {
        {"08.12.1999", day},
        {" 8 . 12 . 1999 ", day},
        {"8.12.99", day},
        {"1.1.49", EncodeDate(1949, 1, 1)},  // within 50 years of this year
        {"1.1.48", EncodeDate(2048, 1, 1)},
        {"1.1.0005", EncodeDate(5, 1, 1)},   // four digits are the year as written
        {"24.12", EncodeDate(1999, 12, 24)},
        {"08.12.1999 14:05", day + EncodeTime(14, 5, 0, 0)},
        {"08.12.1999 14:05:09.500", day + EncodeTime(14, 5, 9, 500)},
        {"14:05", EncodeTime(14, 5, 0, 0)},
        {"2:05 pm", EncodeTime(14, 5, 0, 0)},
        {"2:05 PM", EncodeTime(14, 5, 0, 0)},
        {"12:30 am", EncodeTime(0, 30, 0, 0)},
        {"12:30 p", EncodeTime(12, 30, 0, 0)},
        {"29.12.1899 06:00", -1.25},
        {"29.02", none},  // 1999 is no leap year
        {"13:00 pm", none},
        {"0:30 am", none},
        {"31.04.2000", none},
        {"08/12/1999", none},
        {"", none},
        {"abc", none},
        {"08.12.1999 x", none},
        {"08.12.1999 14", none},
        {"25:00", none},
        {"14:60", none},
        {"1.2.3.4", none},
        {"14", none},
        {"08.12.", none},
        {"1234567890.1.1", none},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        TDateTime v = 0;
        bool ok = TryStrToDateTime(r.text, v);
        EXPECT_EQ(ok, r.expected != none);
        if (ok) {
            EXPECT_NEAR(v, r.expected, 1e-9);
            EXPECT_NEAR(StrToDateTime(r.text), r.expected, 1e-9);
        } else {
            EXPECT_THROW(StrToDateTime(r.text), EConvertError);
        }
    }
    TDateTime v;
    EXPECT_TRUE(TryStrToDate("8.12.1999", v));
    EXPECT_EQ(v, day);
    EXPECT_FALSE(TryStrToDate("8.12.1999 14:05", v));
    EXPECT_FALSE(TryStrToDate("14:05", v));
    EXPECT_EQ(StrToTime("14:05:09"), EncodeTime(14, 5, 9, 0));
    EXPECT_THROW(StrToTime("8.12.1999"), EConvertError);
    EXPECT_THROW(StrToDate("14:05"), EConvertError);

    // The order of the fields follows the short date format.
    FormatSettings().ShortDateFormat = "M/d/yyyy";
    FormatSettings().DateSeparator = '/';
    EXPECT_EQ(StrToDate("12/8/1999"), day);
    EXPECT_EQ(StrToDate("12/24"), EncodeDate(1999, 12, 24));
    FormatSettings().ShortDateFormat = "'r.' yyyy-MM-dd";
    FormatSettings().DateSeparator = '-';
    EXPECT_EQ(StrToDate("1999-12-08"), day);
    SetClock(previous);
}

TEST(SysDate, TextReadsBackInThePolishLocale)
{
    GetFormatSettings();
    for (TDateTime t : {EncodeDate(1999, 12, 8) + EncodeTime(14, 5, 9, 0), EncodeDate(2000, 2, 29),
                        EncodeDate(1901, 1, 1) + EncodeTime(0, 0, 1, 0)}) {
        SCOPED_TRACE(DateTimeToStr(t));
        EXPECT_NEAR(StrToDateTime(DateTimeToStr(t)), t, 1e-9);
        EXPECT_EQ(StrToDate(DateToStr(t)), std::trunc(t));
        EXPECT_NEAR(StrToTime(TimeToStr(t)), t - std::trunc(t), 1e-9);
    }
}

} // namespace

#include "common/QmxUtil.h"

#include <climits>
#include <iomanip>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"

namespace {

// The moment the fixed clock shows; each test sets it.
TDateTime fixedNow = 0;

TDateTime FixedClock()
{
    return fixedNow;
}

// The clock fixed and the locale's settings restored after each test.
class QmxTexts : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = FormatSettings();
        previous_ = SetClock(FixedClock);
        fixedNow = EncodeDate(2000, 6, 15) + EncodeTime(14, 30, 0, 0);
    }
    void TearDown() override
    {
        SetClock(previous_);
        FormatSettings() = saved_;
    }

private:
    TFormatSettings saved_;
    TClock previous_ = nullptr;
};

TEST_F(QmxTexts, RoundHalfUp)
{
    const struct {
        double x;
        std::int64_t expected;
    } rows[] = {
        {2.5, 3},   {-2.5, -2}, {2.4, 2},   {3.5, 4},    {0.5, 1},   {-0.5, 0},  {-1.5, -1},
        {2.6, 3},   {-2.6, -3}, {-2.4, -2}, {0, 0},      {7, 7},     {-7, -7},   {0.49999999999999994, 0},
        {4503599627370495.5, 4503599627370496}, {-4503599627370495.5, -4503599627370495},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << r.x);
        EXPECT_EQ(RoundHalfUp(r.x), r.expected);
    }
    EXPECT_THROW(RoundHalfUp(1e19), EIntOverflow);
    EXPECT_THROW(RoundHalfUp(-1e300), EIntOverflow);
}

TEST_F(QmxTexts, RelativeDateTextByDayDifference)
{
    const TDateTime today = Date();
    const struct {
        int days;
        const char* expected;
    } rows[] = {
        {0, "dzisiaj"},
        {1, "jutro"},
        {2, "pojutrze"},
        {3, "za 3 dni"},
        {4, "za 4 dni"},
        {5, "za 5 dni"},
        {7, "za tydzień"},
        {12, "za 12 dni"},
        {14, "za dwa tygodnie"},
        {21, "za trzy tygodnie"},
        {22, "za 22 dni"},
        {25, "za 25 dni"},
        {28, "za cztery tygodnie"},
        {29, "za 29 dni"},
        {30, "za miesiąc"},
        {31, "za miesiąc"},
        {32, "za 32 dni"},
        {59, "za 59 dni"},
        {60, "za 1 miesięcy "},
        {61, "za 1 miesięcy "},
        {62, "za 2 miesięcy "},
        {155, "za 5 miesięcy "},
        {372, "za 12 miesięcy "},
        {-1, "wczoraj"},
        {-2, "przedwczoraj"},
        {-3, "3 dni temu"},
        {-4, "4 dni temu"},
        {-5, "prawie tydzień temu"},
        {-6, "prawie tydzień temu"},
        {-7, "tydzień temu"},
        {-8, "ponad tydzień temu"},
        {-10, "ponad tydzień temu"},
        {-11, "prawie dwa tygodnie temu"},
        {-13, "prawie dwa tygodnie temu"},
        {-14, "dwa tygodnie temu"},
        {-15, "ponad dwa tygodnie temu"},
        {-17, "ponad dwa tygodnie temu"},
        {-18, "prawie trzy tygodnie temu"},
        {-20, "prawie trzy tygodnie temu"},
        {-21, "trzy tygodnie temu"},
        {-22, "22 dni temu"},
        {-25, "25 dni temu"},
        {-27, "27 dni temu"},
        {-28, "cztery tygodnie temu"},
        {-29, "ponad cztery tygodnie temu"},
        {-30, "miesiąc temu"},
        {-31, "miesiąc temu"},
        {-32, "32 dni temu"},
        {-59, "59 dni temu"},
        {-60, "1 miesięcy temu"},
        {-62, "2 miesięcy temu"},
        {-400, "12 miesięcy temu"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.days);
        EXPECT_EQ(RelativeDateText(today + r.days), r.expected);
        // The time of day of the date does not count.
        EXPECT_EQ(RelativeDateText(today + r.days + 0.99), r.expected);
    }
    EXPECT_EQ(RelativeDateText(0), "-");
}

TEST_F(QmxTexts, RelativeDateTextComparesWholeDays)
{
    const TDateTime day = EncodeDate(2000, 6, 15);
    const struct {
        TDateTime now;
        TDateTime date;
        const char* expected;
    } rows[] = {
        {day + EncodeTime(0, 0, 0, 0), day - 1 + EncodeTime(23, 59, 59, 0), "wczoraj"},
        {day + EncodeTime(23, 59, 59, 0), day - 1, "wczoraj"},
        {day + EncodeTime(23, 59, 59, 0), day + 1, "jutro"},
        {day + EncodeTime(0, 0, 1, 0), day + EncodeTime(23, 0, 0, 0), "dzisiaj"},
        {day + EncodeTime(12, 0, 0, 0), day - 3 + EncodeTime(18, 0, 0, 0), "3 dni temu"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "now " << DateTimeToStr(r.now) << ", date " << DateTimeToStr(r.date));
        fixedNow = r.now;
        EXPECT_EQ(RelativeDateText(r.date), r.expected);
    }
}

TEST_F(QmxTexts, FormatDateTimeEx)
{
    const TDateTime when = EncodeDate(1999, 12, 8) + EncodeTime(14, 5, 9, 0);
    const TFormatSettings& fs = FormatSettings();
    const struct {
        const char* format;
        TDateTime value;
        std::string expected;
    } rows[] = {
        {"d mmmmm yyyy, hh:mm", when, "8 grudnia 1999, 14:05"},
        {"dd.%r.yyyy", when, "08.xii.1999"},
        {"dd.%R.yyyy", when, "08.XII.1999"},
        {"%r %R %r", when, "xii XII %r"},  // the first "%r" only
        {"dddd, d mmmmm yyyy, h:mm", when, fs.LongDayNames[3] + ", 8 grudnia 1999, 14:05"},
        {"d mmmmm yyyy (dddd)", EncodeDate(2001, 9, 3), "3 września 2001 (" + fs.LongDayNames[1] + ")"},
        {"mmmmm", EncodeDate(2000, 1, 31), "stycznia"},
        {"mmmmm", EncodeDate(2000, 10, 1), "października"},
        {"%R", EncodeDate(2000, 4, 1), "IV"},
        {"mmmmm mmmmm", when, "grudnia " + fs.LongMonthNames[11]},
        {"#mmmmm# `yy", when, "\"grudnia\" '99"},
        {"MMMMM", when, fs.LongMonthNames[11]},  // the codes are lower case
        {"d mmmmm", 0, "-"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.format);
        EXPECT_EQ(FormatDateTimeEx(r.format, r.value), r.expected);
    }
}

TEST_F(QmxTexts, FormatDateTimeExByteLimits)
{
    const TDateTime when = EncodeDate(1999, 12, 8);
    // An empty literal "" gives no output, so a code can stand far to the
    // right while the result stays short.
    std::string empty254;
    for (int i = 0; i < 127; ++i)
        empty254 += "\"\"";
    const struct {
        std::string format;
        bool raises;
        const char* what;
    } rows[] = {
        {empty254 + "mmmmm", false, "mmmmm at 255"},
        {empty254 + "-mmmmm", true, "mmmmm at 256"},
        {empty254 + "%r", false, "%r at 255"},
        {empty254 + "-%r", true, "%r at 256"},
        {empty254 + "%R", false, "%R at 255"},
        {empty254 + "-%R", true, "%R at 256"},
        {"mmmmm" + empty254 + "%R", true, "%R pushed to 263 by the month name"},
        {std::string(248, '-') + "mmmmm", false, "result of 255"},
        {std::string(249, '-') + "mmmmm", true, "result of 256"},
        {std::string(300, '-'), true, "long result without codes"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        if (r.raises)
            EXPECT_THROW(FormatDateTimeEx(r.format, when), ERangeError);
        else
            EXPECT_NO_THROW(FormatDateTimeEx(r.format, when));
    }
    EXPECT_EQ(FormatDateTimeEx(empty254 + "%R", when), "XII");
    EXPECT_EQ(FormatDateTimeEx(std::string(248, '-') + "mmmmm", when), std::string(248, '-') + "grudnia");
}

TEST_F(QmxTexts, SizeToText)
{
    FormatSettings().DecimalSeparator = ',';
    const struct {
        std::int64_t bytes;
        const char* words;
        const char* units;
    } rows[] = {
        {0, "0 bajtów", "0 B"},
        {1, "1 bajtów", "1 B"},
        {1024, "1024 bajtów", "1024 B"},
        {1025, "1,0 kilobajtów", "1,0 kB"},
        {1280, "1,3 kilobajtów", "1,3 kB"},  // an exact half goes up
        {1048576, "1024,0 kilobajtów", "1024,0 kB"},
        {1048577, "1,0 megabajtów", "1,0 MB"},
        {5 * 1048576 / 2, "2,5 megabajtów", "2,5 MB"},
        {1073741824, "1024,0 megabajtów", "1024,0 MB"},
        {1073741825, "1,0 gigabajtów", "1,0 GB"},
        {INT_MAX, "2,0 gigabajtów", "2,0 GB"},
        // Files of 2 GB and more keep their size.
        {3LL * 1073741824, "3,0 gigabajtów", "3,0 GB"},
        {5LL * 1073741824 + 1073741824 / 2, "5,5 gigabajtów", "5,5 GB"},
        {0xFFFFFFFFLL, "4,0 gigabajtów", "4,0 GB"},
        {-1, "-1 bajtów", "-1 B"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.bytes);
        EXPECT_EQ(SizeToText(r.bytes, true), r.words);
        EXPECT_EQ(SizeToText(r.bytes, false), r.units);
    }
    FormatSettings().DecimalSeparator = '.';
    EXPECT_EQ(SizeToText(1536, false), "1.5 kB");
}

// Reads a Roman numeral back, for checking every value.
int FromRoman(const std::string& s)
{
    auto value = [](char c) {
        switch (c) {
        case 'I': return 1;
        case 'V': return 5;
        case 'X': return 10;
        case 'L': return 50;
        case 'C': return 100;
        case 'D': return 500;
        case 'M': return 1000;
        default: return -100000;
        }
    };
    int total = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        int v = value(s[i]);
        total += i + 1 < s.size() && value(s[i + 1]) > v ? -v : v;
    }
    return total;
}

TEST_F(QmxTexts, IntToRoman)
{
    const struct {
        int n;
        const char* expected;
    } rows[] = {
        {0, "0"},       {-5, "-5"},       {1, "I"},         {2, "II"},          {4, "IV"},
        {5, "V"},       {9, "IX"},        {12, "XII"},      {14, "XIV"},        {22, "XXII"},
        {25, "XXV"},    {40, "XL"},       {49, "XLIX"},     {90, "XC"},         {99, "XCIX"},
        {400, "CD"},    {444, "CDXLIV"},  {900, "CM"},      {1999, "MCMXCIX"},  {2000, "MM"},
        {3888, "MMMDCCCLXXXVIII"},        {3998, "MMMCMXCVIII"},                {3999, "3999"},
        {INT_MIN, "-2147483648"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.n);
        EXPECT_EQ(IntToRoman(r.n), r.expected);
    }
    // Every numeral reads back as its number and is the shortest usual form.
    for (int n = 1; n <= 3998; ++n) {
        const std::string roman = IntToRoman(n);
        ASSERT_EQ(FromRoman(roman), n) << roman;
        ASSERT_EQ(roman.find("IIII"), std::string::npos) << roman;
        ASSERT_EQ(roman.find("XXXX"), std::string::npos) << roman;
        ASSERT_EQ(roman.find("CCCC"), std::string::npos) << roman;
    }
}

TEST_F(QmxTexts, ParseLastModified)
{
    const TDateTime date = EncodeDate(1999, 12, 8);
    const TDateTime time = EncodeTime(14, 5, 9, 0);
    const struct {
        std::string line;
        TDateTime expected;
    } rows[] = {
        {"Last-Modified: Wed, 08 Dec 1999 14:05:09 GMT", date + time},
        {"LAST-MODIFIED: WED, 08 DEC 1999 14:05:09 GMT", date + time},
        {"last-modified:Wed,08 Dec 1999 14:05:09 GMT", date + time},
        {"Last-Modified: Sun, 29 Feb 2004 23:59:59 GMT", EncodeDate(2004, 2, 29) + EncodeTime(23, 59, 59, 0)},
        {"Last-Modified: 1999 Dec 08 14:05:09 GMT", date + time},  // any order
        {"Last-Modified: Wed, 08 Dec 1999 14:xx:09 GMT", date + EncodeTime(14, 0, 9, 0)},
        // Without "GMT" the time is the last field and is never looked at.
        {"Last-Modified: Wed, 08 Dec 1999 14:05:09", date},
        {"Last-Modified: Wed, 08 Dec 1999 25:00:00 GMT", date},  // invalid time
        {"Last-Modified: Wed, 08 Dec 1998 14:05:09 GMT", 0},     // years before 1999
        {"Last-Modified: Wed, 31 Feb 2000 14:05:09 GMT", 0},     // invalid date
        {"Last-Modified: Wed, 08 1999 14:05:09 GMT", 0},         // no month
        {"Last-Modified: Wed, Dec 1999 14:05:09 GMT", 0},        // no day
        {"Last-Modified: Wed, 08 Dec 10000 14:05:09 GMT", 0},
        {"Last-Modified: Wednesday, 08-Dec-99 14:05:09 GMT", 0},
        {"Last-Modified: Wed Dec  8 14:05:09 1999", 0},  // the year is the last field
        {"Last-Modified:", 0},
        {"", 0},
        {"Last-Modified: " + std::string(300, 'x') + " Wed, 08 Dec 1999 14:05:09 GMT", 0},
        {"Last-Modified:" + std::string(300, ' ') + "Wed, 08 Dec 1999 14:05:09 GMT", date + time},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.line);
        TDateTime got = -1;
        EXPECT_NO_THROW(got = ParseLastModified(r.line));
        EXPECT_NEAR(got, r.expected, 1e-9) << DateTimeToStr(got);
    }
}

} // namespace

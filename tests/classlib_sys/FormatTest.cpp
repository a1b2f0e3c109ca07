// Formatted text and number conversions, in the Polish locale the tests run in.
#include <gtest/gtest.h>

#include <cmath>

#include "classlib/SysUtils.h"

namespace {

TEST(SysFormat, PolishLocaleSettings)
{
    GetFormatSettings();
    const TFormatSettings& fs = FormatSettings();
    EXPECT_EQ(fs.DecimalSeparator, ',');
    EXPECT_EQ(fs.ThousandSeparator, '\xA0');
    EXPECT_EQ(fs.DateSeparator, '.');
    EXPECT_EQ(fs.TimeSeparator, ':');
    EXPECT_EQ(fs.ShortDateFormat, "d.MM.yyyy");
    EXPECT_EQ(fs.LongMonthNames[0], "styczeń");
    EXPECT_EQ(fs.LongMonthNames[11], "grudzień");
    EXPECT_EQ(fs.LongDayNames[0], "niedziela");
    EXPECT_EQ(fs.LongDayNames[3], "środa");
    EXPECT_EQ(fs.LongDayNames[6], "sobota");
    EXPECT_FALSE(fs.ShortMonthNames[0].empty());
    EXPECT_FALSE(fs.ShortDayNames[0].empty());
    // A 24-hour clock: no am/pm marker in the time formats.
    EXPECT_EQ(fs.LongTimeFormat.find("AMPM"), std::string::npos) << fs.LongTimeFormat;
    EXPECT_EQ(fs.LongTimeFormat.substr(fs.LongTimeFormat.size() - 6), ":mm:ss") << fs.LongTimeFormat;
}

TEST(SysFormat, SettingsCanBeChangedAndReadAgain)
{
    FormatSettings().DecimalSeparator = '#';
    FormatSettings().ShortDateFormat = "x";
    EXPECT_EQ(Format("%.1f", 1.5), "1#5");
    GetFormatSettings();
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(FormatSettings().ShortDateFormat, "d.MM.yyyy");
}

TEST(SysFormat, Codes)
{
    const struct {
        const char* fmt;
        std::initializer_list<FormatArg> args;
        const char* expected;
    } rows[] = {
        {"abc", {}, "abc"},
        {"%d", {5}, "5"},
        {"%d", {-42}, "-42"},
        {"%5d|", {42}, "   42|"},
        {"%-5d|", {42}, "42   |"},
        {"%.3d", {7}, "007"},
        {"%.03d", {7}, "007"},
        {"%.03d", {1234}, "1234"},
        {"%.2d", {-5}, "-05"},
        {"%6.3d|", {-5}, "  -005|"},
        {"%2.2d %s %4.4d %2.2d:%2.2d:%2.2d", {8, "Dec", 1999, 14, 5, 9}, "08 Dec 1999 14:05:09"},
        {"%d", {1LL << 40}, "1099511627776"},
        {"%u", {-1}, "4294967295"},
        {"%x", {255}, "ff"},
        {"%X", {255}, "FF"},
        {"%.4x%.4x", {0x415, 0x4e2}, "041504e2"},
        {"%x", {-1}, "ffffffff"},
        {"%x", {-1LL}, "ffffffffffffffff"},
        {"($%x)", {0x80004005u}, "($80004005)"},
        {"%s", {"tekst"}, "tekst"},
        {"%s", {std::string("Łódź")}, "Łódź"},
        {"%s", {'c'}, "c"},
        {"%s", {static_cast<const char*>(nullptr)}, ""},
        {"%5s|", {"ab"}, "   ab|"},
        {"%-5s|", {"ab"}, "ab   |"},
        {"%.2s", {"abcdef"}, "ab"},
        {"%1s", {"abcdef"}, "abcdef"},
        {"%%", {}, "%"},
        {"%d%%", {50}, "50%"},
        {"%s: %s | %s | %s", {"Brennik", "Tytuł", "Wiadomość", ""}, "Brennik: Tytuł | Wiadomość | "},
        {"Błąd systemowy nr %d: %s", {5, "ERROR_ACCESS_DENIED"}, "Błąd systemowy nr 5: ERROR_ACCESS_DENIED"},
        {"%s", {"a", "unused"}, "a"},
        // Fixed-point: the locale's comma, exact halves away from zero.
        {"%f", {2.0}, "2,00"},
        {"%f", {2}, "2,00"},
        {"%.1f", {1025 / 1024.0}, "1,0"},
        {"%.1f", {1048576 / 1024.0}, "1024,0"},
        {"%.1f", {1.25}, "1,3"},
        {"%.1f", {-1.25}, "-1,3"},
        {"%.2f", {0.125}, "0,13"},
        {"%.2f", {1.005}, "1,00"},  // 1.005 is a little below in binary
        {"%.0f", {0.5}, "1"},
        {"%.0f", {2.5}, "3"},
        {"%.1f", {9.96}, "10,0"},
        {"%.2f", {-0.001}, "0,00"},
        {"%.3f kB z %.3f kB", {1.5, 2000 / 1000.0}, "1,500 kB z 2,000 kB"},
        {"%.3f", {123456789.0}, "123456789,000"},
        {"%.2f", {1e-10}, "0,00"},
        {"%8.2f|", {3.14159}, "    3,14|"},
        {"%-8.2f|", {3.14159}, "3,14    |"},
        {"%.1f", {1e20}, "100000000000000000000,0"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.fmt);
        EXPECT_EQ(Format(r.fmt, r.args), r.expected);
    }
}

TEST(SysFormat, VariadicForm)
{
    EXPECT_EQ(Format("%s (%s) %s", "a", std::string("b"), "c"), "a (b) c");
    EXPECT_EQ(Format("(%dx%d)", 1024, 768), "(1024x768)");
    unsigned char byte = 200;
    short small = -3;
    unsigned long code = 1339;
    EXPECT_EQ(Format("%d %d %d %.1f", byte, small, code, 0.25f), "200 -3 1339 0,3");
    EXPECT_EQ(Format("tylko tekst"), "tylko tekst");
}

TEST(SysFormat, BadFormatsRaise)
{
    const struct {
        const char* fmt;
        std::initializer_list<FormatArg> args;
    } rows[] = {
        {"%d", {"x"}},       {"%d", {1.5}},   {"%x", {"x"}},  {"%s", {5}},  {"%s", {1.5}},
        {"%f", {"1,5"}},     {"%d", {}},      {"%d %d", {1}}, {"%q", {1}},  {"%", {1}},
        {"%5", {1}},         {"%.", {1}},     {"%-", {1}},    {"%*d", {1, 2}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.fmt);
        EXPECT_THROW(Format(r.fmt, r.args), EConvertError);
    }
}

TEST(SysNumbers, IntegerText)
{
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(IntToStr(1LL << 40), "1099511627776");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x041504E2, 8), "041504E2");
    EXPECT_EQ(IntToHex(0x1234, 2), "1234");
    EXPECT_EQ(IntToHex(static_cast<std::uint32_t>(-1), 4), "FFFFFFFF");
    EXPECT_EQ(IntToHex(0, 0), "0");
}

TEST(SysNumbers, TextToInteger)
{
    const int none = -999;
    const struct {
        const char* text;
        int expected;  // none: not an integer
    } rows[] = {
        {"123", 123},
        {"-5", -5},
        {"+7", 7},
        {"  12", 12},
        {"08", 8},
        {"0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$FF", 255},
        {"x10", 16},
        {"-0x10", -16},
        {"0xFFFFFFFF", -1},
        {"0x7fffffff", 2147483647},
        {"12 ", none},
        {"", none},
        {" ", none},
        {"-", none},
        {"0x", none},
        {"$", none},
        {"abc", none},
        {"1.5", none},
        {"1,5", none},
        {"12a", none},
        {"0x1G", none},
        {"2147483648", none},
        {"-2147483649", none},
        {"0x100000000", none},
        {"99999999999999999999", none},
        {"1 2", none},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        int value = 0;
        EXPECT_EQ(TryStrToInt(r.text, value), r.expected != none);
        EXPECT_EQ(StrToIntDef(r.text, none), r.expected);
        if (r.expected != none) {
            EXPECT_EQ(value, r.expected);
            EXPECT_EQ(StrToInt(r.text), r.expected);
        } else {
            EXPECT_THROW(StrToInt(r.text), EConvertError);
        }
    }
}

TEST(SysNumbers, FloatText)
{
    const struct {
        double value;
        const char* expected;
    } rows[] = {
        {0.0, "0"},
        {1.5, "1,5"},
        {-2.25, "-2,25"},
        {100.0, "100"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {2.0 / 3, "0,666666666666667"},
        {0.0001, "0,0001"},
        {0.00001, "0,00001"},
        {0.000001, "1E-6"},
        {1.5e-7, "1,5E-7"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1,23456789012346E15"},
        {1e20, "1E20"},
        {-1e20, "-1E20"},
        {999999999999999.9, "1E15"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.expected);
        EXPECT_EQ(FloatToStr(r.value), r.expected);
    }
    EXPECT_EQ(FloatToStrG(1.0 / 3, 7), "0,3333333");
    EXPECT_EQ(FloatToStrG(3.14159265358979, 18), "3,14159265358979");
    EXPECT_EQ(FloatToStrG(12345678.0, 7), "1,234568E7");
    EXPECT_EQ(FloatToStrG(2.5, 1), "3");
}

TEST(SysNumbers, TextToFloat)
{
    const struct {
        const char* text;
        bool ok;
        double expected;
    } rows[] = {
        {"1,5", true, 1.5},
        {" -2,25 ", true, -2.25},
        {"+3", true, 3},
        {"12", true, 12},
        {"1,5E3", true, 1500},
        {"1e-2", true, 0.01},
        {"2,5e+1", true, 25},
        {",5", true, 0.5},
        {"5,", true, 5},
        {"1.5", false, 0},  // the point is not the Polish decimal separator
        {",", false, 0},
        {"", false, 0},
        {"  ", false, 0},
        {"1,2,3", false, 0},
        {"1E", false, 0},
        {"1E+", false, 0},
        {"1 000", false, 0},
        {"abc", false, 0},
        {"1e999", false, 0},
        {"--1", false, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        double value = -1;
        EXPECT_EQ(TryStrToFloat(r.text, value), r.ok);
        if (r.ok) {
            EXPECT_DOUBLE_EQ(value, r.expected);
            EXPECT_DOUBLE_EQ(StrToFloat(r.text), r.expected);
        } else {
            EXPECT_THROW(StrToFloat(r.text), EConvertError);
        }
    }
    // What FloatToStr writes reads back.
    for (double v : {1.0 / 3, -1234.5678, 1.5e-7, 6.02e23}) {
        SCOPED_TRACE(v);
        EXPECT_NEAR(StrToFloat(FloatToStr(v)), v, std::fabs(v) * 1e-14);
    }
}

} // namespace

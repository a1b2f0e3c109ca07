// Date, size and numeral texts of the common utility unit.
#include "common/QmxUtil.h"

#include <cmath>

#include "classlib/SysUtils.h"

namespace {

const char* const GenitiveMonths[12] = {
    "stycznia", "lutego", "marca", "kwietnia", "maja", "czerwca",
    "lipca", "sierpnia", "września", "października", "listopada", "grudnia",
};

// A whole number of a floating-point value; beyond the 64-bit range there is
// no such integer.
std::int64_t ToInt64(double x)
{
    if (!(std::fabs(x) < 9.2e18))
        throw EIntOverflow();
    return static_cast<std::int64_t>(x);
}

// 1-based position of sub in s, 0 when absent; kept in a byte, as the
// format's code positions always were.
int BytePos(const std::string& sub, const std::string& s)
{
    auto at = s.find(sub);
    if (at == std::string::npos)
        return 0;
    if (at + 1 > 255)
        throw ERangeError();
    return static_cast<int>(at) + 1;
}

// Replaces the first code of the format by a literal for the formatter.
void ReplaceFirstCode(std::string& fmt, const std::string& code, const std::string& text)
{
    int p = BytePos(code, fmt);
    if (p != 0)
        fmt.replace(p - 1, code.size(), '"' + text + '"');
}

const char* RelativeWord(std::int64_t d)
{
    switch (d) {
    case 0: return "dzisiaj";
    case 1: return "jutro";
    case 2: return "pojutrze";
    case 7: return "za tydzień";
    case 14: return "za dwa tygodnie";
    case 21: return "za trzy tygodnie";
    case 28: return "za cztery tygodnie";
    case 30:
    case 31: return "za miesiąc";
    case -1: return "wczoraj";
    case -2: return "przedwczoraj";
    case -5:
    case -6: return "prawie tydzień temu";
    case -7: return "tydzień temu";
    case -8:
    case -9:
    case -10: return "ponad tydzień temu";
    case -11:
    case -12:
    case -13: return "prawie dwa tygodnie temu";
    case -14: return "dwa tygodnie temu";
    case -15:
    case -16:
    case -17: return "ponad dwa tygodnie temu";
    case -18:
    case -19:
    case -20: return "prawie trzy tygodnie temu";
    case -21: return "trzy tygodnie temu";
    case -28: return "cztery tygodnie temu";
    case -29: return "ponad cztery tygodnie temu";
    case -30:
    case -31: return "miesiąc temu";
    default: return nullptr;
    }
}

int MonthNumber(const std::string& field)
{
    static const char* const names[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
    for (int i = 0; i < 12; ++i)
        if (field == names[i])
            return i + 1;
    return 0;
}

TDateTime ParseLastModifiedFields(std::string text)
{
    text = AnsiLowerCase(text);
    for (const char* noise : {"last-modified:", "last-modified", "GMT", ",", "  "})
        ReplaceAllNoCase(noise, " ", text);

    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    // The text after the last blank is never looked at: a header line's
    // removed "GMT" leaves a blank behind the time.
    const int n = CountChar(' ', text);
    for (int i = 1; i <= n; ++i) {
        if (i > 255)
            throw ERangeError();  // the field number is a byte
        const std::string field = NthField(' ', static_cast<std::uint8_t>(i), text);
        const int value = StrToIntDef(field, 0);
        if (int m = MonthNumber(field)) {
            month = m;
        } else if (value >= 1 && value <= 31) {
            day = value;
        } else if (value >= 1999) {
            year = value;
        } else if (CountChar(':', field) == 2) {
            hour = StrToIntDef(NthField(':', 1, field), 0);
            minute = StrToIntDef(NthField(':', 2, field), 0);
            second = StrToIntDef(NthField(':', 3, field), 0);
        }
    }
    if (year == 0 || month == 0 || day == 0)
        return 0;
    TDateTime date, time;
    if (!TryEncodeDate(year, month, day, date))
        return 0;
    if (TryEncodeTime(hour, minute, second, 0, time))
        date += time;
    return date;
}

} // namespace

std::int64_t RoundHalfUp(double X)
{
    // The fraction X - trunc(X) is exact; rounding by adding 0.5 is not
    // (0.49999999999999994 + 0.5 gives 1).
    const double whole = std::trunc(X);
    const double fraction = std::fabs(X - whole);
    if (fraction == 0.5)
        return ToInt64(std::floor(X) + 1);
    if (fraction < 0.5)
        return ToInt64(whole);
    return ToInt64(X < 0 ? whole - 1 : whole + 1);
}

std::string RelativeDateText(double DateValue)
{
    if (DateValue == 0)
        return "-";
    const std::int64_t d = ToInt64(std::trunc(DateValue)) - ToInt64(std::trunc(Now()));
    if (const char* word = RelativeWord(d))
        return word;
    // Months of 31 days, counted only from two 30-day months on.
    if (d < 0)
        return d / 30 <= -2 ? Format("%d miesięcy temu", -(d / 31)) : Format("%d dni temu", -d);
    return d / 30 >= 2 ? Format("za %d miesięcy ", d / 31) : Format("za %d dni", d);
}

std::string FormatDateTimeEx(const std::string& Fmt, double DateTime)
{
    if (DateTime == 0)
        return "-";
    int year, month, day;
    DecodeDate(DateTime, year, month, day);
    std::string fmt = Fmt;
    ReplaceFirstCode(fmt, "mmmmm", GenitiveMonths[month - 1]);
    const std::string roman = IntToRoman(month);
    ReplaceFirstCode(fmt, "%r", AnsiLowerCase(roman));
    ReplaceFirstCode(fmt, "%R", roman);

    std::string result = FormatDateTime(fmt, DateTime);
    if (result.size() > 255)
        throw ERangeError();
    // "#" and "`" stand for the quotes that the formatter itself takes as
    // literal-text brackets.
    for (char& c : result) {
        if (c == '#')
            c = '"';
        else if (c == '`')
            c = '\'';
    }
    return result;
}

std::string SizeToText(std::int64_t Bytes, bool Words)
{
    const double bytes = static_cast<double>(Bytes);
    if (Bytes > 1073741824)
        return Format(Words ? "%.1f gigabajtów" : "%.1f GB", bytes / 1073741824.0);
    if (Bytes > 1048576)
        return Format(Words ? "%.1f megabajtów" : "%.1f MB", bytes / 1048576.0);
    if (Bytes > 1024)
        return Format(Words ? "%.1f kilobajtów" : "%.1f kB", bytes / 1024.0);
    return Format(Words ? "%d bajtów" : "%d B", static_cast<long long>(Bytes));
}

std::string IntToRoman(int N)
{
    if (N < 1 || N > 3998)
        return IntToStr(N);
    struct Step {
        int value;
        const char* digits;
    };
    // Per decade: the one largest combination that fits, then the plain
    // repeated letter for what is left of it.
    static const Step hundreds[] = {{900, "CM"}, {800, "DCCC"}, {700, "DCC"}, {600, "DC"}, {500, "D"}, {400, "CD"}};
    static const Step tens[] = {{90, "XC"}, {80, "LXXX"}, {70, "LXX"}, {60, "LX"}, {50, "L"}, {40, "XL"}};
    static const char* const units[10] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};

    std::string s;
    for (; N >= 1000; N -= 1000)
        s += 'M';
    for (const Step& step : hundreds)
        if (N >= step.value) {
            s += step.digits;
            N -= step.value;
            break;
        }
    for (; N >= 100; N -= 100)
        s += 'C';
    for (const Step& step : tens)
        if (N >= step.value) {
            s += step.digits;
            N -= step.value;
            break;
        }
    for (; N >= 10; N -= 10)
        s += 'X';
    return s + units[N];
}

double ParseLastModified(const std::string& Line)
{
    try {
        return ParseLastModifiedFields(Line);
    } catch (const Exception&) {
        // A line too long for the byte-sized field routines is unreadable.
        return 0;
    }
}

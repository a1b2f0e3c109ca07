// Date-time values, the clock and date-time formatting of the run-time unit.
#include "classlib/SysUtils.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

namespace {

const long long MSecsPerDay = 86400000;

// Days from 1 January 1970 of a date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, int m, int d)
{
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d)
{
    z += 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// 30 December 1899, day 0 of the date-time values.
const long long DayZero = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// The day and the milliseconds of the day, rounded to the millisecond with
// the carry into the day.
struct DayAndTime {
    long long day;
    long long msec;
};

DayAndTime Split(TDateTime value)
{
    double whole = std::trunc(value);
    long long msec = std::llround(std::fabs(value - whole) * MSecsPerDay);
    auto day = static_cast<long long>(whole);
    if (msec >= MSecsPerDay) {
        msec -= MSecsPerDay;
        day += value < 0 ? -1 : 1;
    }
    return {day, msec};
}

TDateTime SystemClock()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return EncodeDate(st.wYear, st.wMonth, st.wDay) + EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

TClock currentClock = SystemClock;

} // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    value = static_cast<double>(DaysFromCivil(year, month, day) - DayZero);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime value;
    if (!TryEncodeDate(year, month, day, value))
        throw EConvertError(Format("Invalid date: year %d, month %d, day %d", year, month, day));
    return value;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        return false;
    value = static_cast<double>(((hour * 60LL + min) * 60 + sec) * 1000 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime value;
    if (!TryEncodeTime(hour, min, sec, msec, value))
        throw EConvertError(Format("Invalid time: %d:%d:%d.%d", hour, min, sec, msec));
    return value;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    CivilFromDays(Split(value).day + DayZero, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec)
{
    long long ms = Split(value).msec;
    msec = static_cast<int>(ms % 1000);
    ms /= 1000;
    sec = static_cast<int>(ms % 60);
    ms /= 60;
    min = static_cast<int>(ms % 60);
    hour = static_cast<int>(ms / 60);
}

int DayOfWeek(TDateTime value)
{
    // Day 0 was a Saturday.
    long long d = (Split(value).day + 6) % 7;
    return static_cast<int>(d < 0 ? d + 7 : d) + 1;
}

TClock SetClock(TClock clock)
{
    TClock previous = currentClock;
    currentClock = clock ? clock : SystemClock;
    return previous;
}

TDateTime Now()
{
    return currentClock();
}

TDateTime Date()
{
    return std::trunc(Now());
}

TDateTime Time()
{
    TDateTime now = Now();
    return now - std::trunc(now);
}

// ---------------------------------------------------------------------------
// Formatting.

namespace {

class DateTimeFormatter {
public:
    explicit DateTimeFormatter(TDateTime value)
    {
        DecodeDate(value, year_, month_, day_);
        DecodeTime(value, hour_, min_, sec_, msec_);
        dayOfWeek_ = DayOfWeek(value);
    }

    void Append(const std::string& fmt, int depth)
    {
        const TFormatSettings& fs = FormatSettings();
        char lastToken = 0;
        size_t i = 0;
        while (i < fmt.size()) {
            char c = fmt[i];
            char token = Upper(c);
            if (token >= 'A' && token <= 'Z') {
                if (token == 'M' && lastToken == 'H')
                    token = 'N';
                lastToken = token;
            }
            switch (token) {
            case 'Y': {
                int n = Count(fmt, i);
                AppendNumber(n <= 2 ? year_ % 100 : year_, n <= 2 ? 2 : 4);
                break;
            }
            case 'M': {
                int n = Count(fmt, i);
                if (n <= 2)
                    AppendNumber(month_, n);
                else
                    out_ += n == 3 ? fs.ShortMonthNames[month_ - 1] : fs.LongMonthNames[month_ - 1];
                break;
            }
            case 'D': {
                int n = Count(fmt, i);
                if (n <= 2)
                    AppendNumber(day_, n);
                else if (n == 3)
                    out_ += fs.ShortDayNames[dayOfWeek_ - 1];
                else if (n == 4)
                    out_ += fs.LongDayNames[dayOfWeek_ - 1];
                else
                    Nested(n == 5 ? fs.ShortDateFormat : fs.LongDateFormat, depth);
                break;
            }
            case 'H': {
                int n = Count(fmt, i);
                int h = hour_;
                if (twelveHour_ || MarkerFollows(fmt, i))
                    h = h == 0 ? 12 : h > 12 ? h - 12 : h;
                AppendNumber(h, n > 2 ? 2 : n);
                break;
            }
            case 'N':
                AppendNumber(min_, Count(fmt, i) > 1 ? 2 : 1);
                break;
            case 'S':
                AppendNumber(sec_, Count(fmt, i) > 1 ? 2 : 1);
                break;
            case 'Z':
                AppendNumber(msec_, Count(fmt, i) > 1 ? 3 : 1);
                break;
            case 'T':
                Nested(Count(fmt, i) == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, depth);
                break;
            case 'C':
                Count(fmt, i);
                Nested(fs.ShortDateFormat, depth);
                if (hour_ != 0 || min_ != 0 || sec_ != 0 || msec_ != 0) {
                    out_ += ' ';
                    Nested(fs.LongTimeFormat, depth);
                }
                break;
            case 'A':
                if (int n = Marker(fmt, i)) {
                    twelveHour_ = true;
                    bool pm = hour_ >= 12;
                    if (n == 5)
                        out_.append(fmt, i + (pm ? 3 : 0), 2);
                    else if (n == 3)
                        out_ += fmt[i + (pm ? 2 : 0)];
                    else
                        out_ += pm ? fs.TimePMString : fs.TimeAMString;
                    i += n;
                } else {
                    out_ += fmt[i++];
                }
                break;
            case '"':
            case '\'': {
                size_t end = fmt.find(c, i + 1);
                if (end == std::string::npos)
                    end = fmt.size();
                out_.append(fmt, i + 1, end - i - 1);
                i = end + 1;
                break;
            }
            case '/':
                out_ += fs.DateSeparator;
                ++i;
                break;
            case ':':
                out_ += fs.TimeSeparator;
                ++i;
                break;
            default:
                out_ += c;
                ++i;
            }
        }
    }

    std::string Result() { return std::move(out_); }

private:
    static char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

    // The length of the run of the letter at i (either case); moves i past it.
    static int Count(const std::string& fmt, size_t& i)
    {
        char letter = Upper(fmt[i]);
        size_t start = i;
        while (i < fmt.size() && Upper(fmt[i]) == letter)
            ++i;
        return static_cast<int>(i - start);
    }

    static bool StartsNoCase(const std::string& fmt, size_t i, const char* word)
    {
        for (; *word; ++word, ++i)
            if (i >= fmt.size() || Upper(fmt[i]) != Upper(*word))
                return false;
        return true;
    }

    // The length of an am/pm code at i ("am/pm", "a/p", "ampm"), else 0.
    static int Marker(const std::string& fmt, size_t i)
    {
        if (StartsNoCase(fmt, i, "am/pm"))
            return 5;
        if (StartsNoCase(fmt, i, "a/p"))
            return 3;
        if (StartsNoCase(fmt, i, "ampm"))
            return 4;
        return 0;
    }

    // Whether an am/pm code follows an hour code before the next hour code.
    static bool MarkerFollows(const std::string& fmt, size_t i)
    {
        char quote = 0;
        for (; i < fmt.size(); ++i) {
            char c = fmt[i];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (Upper(c) == 'A') {
                return Marker(fmt, i) != 0;
            } else if (Upper(c) == 'H') {
                return false;
            }
        }
        return false;
    }

    void AppendNumber(int value, int digits)
    {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%0*d", digits, value);
        out_ += buffer;
    }

    // The locale's formats may name one another; two levels are enough and
    // stop a format that names itself.
    void Nested(const std::string& fmt, int depth)
    {
        if (depth < 2)
            Append(fmt, depth + 1);
    }

    int year_, month_, day_, hour_, min_, sec_, msec_, dayOfWeek_;
    bool twelveHour_ = false;
    std::string out_;
};

} // namespace

std::string FormatDateTime(const std::string& format, TDateTime value)
{
    DateTimeFormatter f(value);
    f.Append(format.empty() ? "c" : format, 0);
    return f.Result();
}

std::string DateToStr(TDateTime value)
{
    return FormatDateTime("ddddd", value);
}

std::string TimeToStr(TDateTime value)
{
    return FormatDateTime("tt", value);
}

std::string DateTimeToStr(TDateTime value)
{
    return FormatDateTime("c", value);
}

// ---------------------------------------------------------------------------
// Reading dates and times.

namespace {

class Scanner {
public:
    explicit Scanner(const std::string& s) : s_(s) {}

    void Blanks()
    {
        while (i_ < s_.size() && s_[i_] == ' ')
            ++i_;
    }
    bool AtEnd()
    {
        Blanks();
        return i_ == s_.size();
    }
    bool Char(char c)
    {
        Blanks();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    // Up to 9 digits; digits tells how many there were.
    bool Number(int& value, int& digits)
    {
        Blanks();
        value = 0;
        digits = 0;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') {
            if (++digits > 9)
                return false;
            value = value * 10 + (s_[i_++] - '0');
        }
        return digits > 0;
    }
    bool Number(int& value)
    {
        int digits;
        return Number(value, digits);
    }
    // A word in any letter case (through the locale, for Polish letters).
    bool Word(const std::string& word)
    {
        Blanks();
        if (word.empty() || s_.size() - i_ < word.size() ||
            AnsiUpperCase(s_.substr(i_, word.size())) != AnsiUpperCase(word))
            return false;
        i_ += word.size();
        return true;
    }
    size_t Pos() const { return i_; }
    void SetPos(size_t i) { i_ = i; }

private:
    const std::string& s_;
    size_t i_ = 0;
};

// The order of day, month and year in the short date format: "DMY", "MDY" or "YMD".
std::string DateOrder()
{
    std::string order;
    const std::string& f = FormatSettings().ShortDateFormat;
    char quote = 0;
    for (char c : f) {
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            continue;
        }
        char u = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        if ((u == 'D' || u == 'M' || u == 'Y') && order.find(u) == std::string::npos)
            order += u;
    }
    return order == "MDY" || order == "YMD" ? order : "DMY";
}

bool ScanDate(Scanner& sc, TDateTime& value)
{
    const char sep = FormatSettings().DateSeparator;
    int n[3], digits[3], count = 0;
    if (!sc.Number(n[0], digits[0]) || !sc.Char(sep) || !sc.Number(n[1], digits[1]))
        return false;
    count = 2;
    if (sc.Char(sep)) {
        if (!sc.Number(n[2], digits[2]))
            return false;
        count = 3;
    }
    int currentYear, m, d;
    DecodeDate(Date(), currentYear, m, d);
    std::string order = DateOrder();
    int year = currentYear, month, day, yearDigits = 4;
    if (count == 2) {
        // Day and month, in the format's order, of this year.
        bool monthFirst = order[0] == 'M' || order[0] == 'Y';
        month = monthFirst ? n[0] : n[1];
        day = monthFirst ? n[1] : n[0];
    } else {
        int yi = static_cast<int>(order.find('Y')), mi = static_cast<int>(order.find('M')),
            di = static_cast<int>(order.find('D'));
        year = n[yi];
        yearDigits = digits[yi];
        month = n[mi];
        day = n[di];
    }
    if (yearDigits <= 2) {
        int pivot = currentYear - 50;
        year += pivot - pivot % 100;
        if (year < pivot)
            year += 100;
    }
    return TryEncodeDate(year, month, day, value);
}

bool ScanTime(Scanner& sc, TDateTime& value)
{
    const TFormatSettings& fs = FormatSettings();
    int hour, min, sec = 0, msec = 0;
    if (!sc.Number(hour) || !sc.Char(fs.TimeSeparator) || !sc.Number(min))
        return false;
    if (sc.Char(fs.TimeSeparator)) {
        if (!sc.Number(sec))
            return false;
        if (sc.Char('.') && !sc.Number(msec))
            return false;
    }
    int marker = 0;  // 1 am, 2 pm
    if (sc.Word(fs.TimeAMString) || sc.Word("am") || sc.Word("a"))
        marker = 1;
    else if (sc.Word(fs.TimePMString) || sc.Word("pm") || sc.Word("p"))
        marker = 2;
    if (marker) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (marker == 2 ? 12 : 0);
    }
    return TryEncodeTime(hour, min, sec, msec, value);
}

} // namespace

bool TryStrToDate(const std::string& s, TDateTime& value)
{
    Scanner sc(s);
    TDateTime v;
    if (!ScanDate(sc, v) || !sc.AtEnd())
        return false;
    value = v;
    return true;
}

bool TryStrToTime(const std::string& s, TDateTime& value)
{
    Scanner sc(s);
    TDateTime v;
    if (!ScanTime(sc, v) || !sc.AtEnd())
        return false;
    value = v;
    return true;
}

bool TryStrToDateTime(const std::string& s, TDateTime& value)
{
    Scanner sc(s);
    TDateTime date, time = 0;
    if (ScanDate(sc, date)) {
        if (!sc.AtEnd() && (!ScanTime(sc, time) || !sc.AtEnd()))
            return false;
        // Before day 0 the time still runs forward from midnight.
        value = date < 0 ? date - time : date + time;
        return true;
    }
    sc.SetPos(0);
    if (!ScanTime(sc, time) || !sc.AtEnd())
        return false;
    value = time;
    return true;
}

TDateTime StrToDate(const std::string& s)
{
    TDateTime v;
    if (!TryStrToDate(s, v))
        throw EConvertError("'" + s + "' is not a date");
    return v;
}

TDateTime StrToTime(const std::string& s)
{
    TDateTime v;
    if (!TryStrToTime(s, v))
        throw EConvertError("'" + s + "' is not a time");
    return v;
}

TDateTime StrToDateTime(const std::string& s)
{
    TDateTime v;
    if (!TryStrToDateTime(s, v))
        throw EConvertError("'" + s + "' is not a date and time");
    return v;
}

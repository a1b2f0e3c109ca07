#include "classlib/SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ---------------------------------------------------------------------------
// Errors and case.

std::string SysErrorMessage(unsigned long errorCode)
{
    char* buffer = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, errorCode, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (buffer) {
        text.assign(buffer, n);
        LocalFree(buffer);
    }
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

void RaiseLastOSError()
{
    RaiseLastOSError(GetLastError());
}

void RaiseLastOSError(unsigned long errorCode)
{
    if (errorCode == 0)
        throw EOSError("A system call failed without an error code", 0);
    throw EOSError(Format("System error %d: %s", errorCode, SysErrorMessage(errorCode)), errorCode);
}

std::string AnsiUpperCase(std::string s)
{
    if (!s.empty())
        CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::string AnsiLowerCase(std::string s)
{
    if (!s.empty())
        CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

int AnsiCompareText(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

std::string TrimBlanksAndTabs(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

std::wstring AnsiToWide(const std::string& text)
{
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string WideToAnsi(const wchar_t* text, size_t length)
{
    if (!text || length == 0)
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), narrow.data(), n, nullptr, nullptr);
    return narrow;
}

// ---------------------------------------------------------------------------
// Format settings.

namespace {

std::string LocaleText(LCTYPE type, const char* fallback)
{
    char buffer[256];
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    if (n <= 1)
        return fallback;
    return std::string(buffer, n - 1);
}

char LocaleChar(LCTYPE type, char fallback)
{
    std::string s = LocaleText(type, "");
    return s.empty() ? fallback : s[0];
}

void ReadLocale(TFormatSettings& fs)
{
    fs.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, '.');
    fs.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, ',');
    fs.DateSeparator = LocaleChar(LOCALE_SDATE, '/');
    fs.TimeSeparator = LocaleChar(LOCALE_STIME, ':');
    fs.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy");
    fs.LongDateFormat = LocaleText(LOCALE_SLONGDATE, "dddd, MMMM d, yyyy");
    fs.TimeAMString = LocaleText(LOCALE_S1159, "am");
    fs.TimePMString = LocaleText(LOCALE_S2359, "pm");

    // The system's own time pictures use "tt" for the am/pm marker, which
    // means the time format here; build ours from the clock settings instead.
    bool clock24 = LocaleText(LOCALE_ITIME, "0") == "1";
    std::string hour = LocaleText(LOCALE_ITLZERO, "0") == "1" ? "hh" : "h";
    std::string marker;
    bool markerFirst = false;
    if (!clock24) {
        marker = "AMPM";
        markerFirst = LocaleText(LOCALE_ITIMEMARKPOSN, "0") == "1";
    }
    auto withMarker = [&](const std::string& t) {
        if (marker.empty())
            return t;
        return markerFirst ? marker + " " + t : t + " " + marker;
    };
    fs.ShortTimeFormat = withMarker(hour + ":mm");
    fs.LongTimeFormat = withMarker(hour + ":mm:ss");

    for (int i = 0; i < 12; ++i) {
        fs.ShortMonthNames[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i, "");
        fs.LongMonthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + i, "");
    }
    // The system counts days from Monday, the day names here from Sunday.
    for (int i = 0; i < 7; ++i) {
        int systemDay = (i + 6) % 7;
        fs.ShortDayNames[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + systemDay, "");
        fs.LongDayNames[i] = LocaleText(LOCALE_SDAYNAME1 + systemDay, "");
    }
}

} // namespace

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = [] {
        TFormatSettings fs;
        ReadLocale(fs);
        return fs;
    }();
    return settings;
}

void GetFormatSettings()
{
    ReadLocale(FormatSettings());
}

// ---------------------------------------------------------------------------
// Numbers.

namespace {

// Decimal digits of |value| rounded to `decimals` places after the point,
// exact halves away from zero. Gives the digits (no leading zeros but at
// least one before the point) and how many of them stand before the point.
struct DecimalDigits {
    std::string digits;  // significant digits, most significant first
    int pointPos = 0;    // digits before the decimal point (may be <= 0)
};

// The 17 significant digits that name a double exactly enough to round it.
DecimalDigits ExactDigits(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.16e", std::fabs(value));
    DecimalDigits d;
    d.digits.push_back(buffer[0]);
    d.digits.append(buffer + 2, 16);
    d.pointPos = std::atoi(buffer + 19) + 1;
    return d;
}

// Rounds to `keep` significant digits (keep <= 0: to nothing or one unit).
void RoundDigits(DecimalDigits& d, int keep)
{
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.assign(1, '0');
        return;
    }
    bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9')
            d.digits[i--] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        }
    }
    if (d.digits.empty())
        d.digits.assign(1, '0');
}

bool AllZero(const std::string& s)
{
    return s.find_first_not_of('0') == std::string::npos;
}

std::string FixedText(double value, int decimals, char separator)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    DecimalDigits d = ExactDigits(value);
    if (value == 0)
        d = DecimalDigits{"0", 1};
    RoundDigits(d, d.pointPos + decimals);
    auto digitAt = [&](int i) { return i >= 0 && i < static_cast<int>(d.digits.size()) ? d.digits[i] : '0'; };
    std::string intPart, fracPart;
    for (int i = 0; i < d.pointPos; ++i)
        intPart.push_back(digitAt(i));
    if (intPart.empty())
        intPart.assign(1, '0');
    for (int i = 0; i < decimals; ++i)
        fracPart.push_back(digitAt(d.pointPos + i));
    std::string text;
    if (value < 0 && !(AllZero(intPart) && AllZero(fracPart)))
        text = "-";
    text += intPart;
    if (decimals > 0)
        text += separator + fracPart;
    return text;
}

std::string GeneralText(double value, int precision, char separator)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    DecimalDigits d = ExactDigits(value);
    RoundDigits(d, precision);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    std::string text = value < 0 ? "-" : "";
    int n = static_cast<int>(d.digits.size());
    if (d.pointPos > precision || d.pointPos < -4) {
        text += d.digits[0];
        if (n > 1) {
            text += separator;
            text.append(d.digits, 1);
        }
        text += 'E';
        text += std::to_string(d.pointPos - 1);
    } else if (d.pointPos <= 0) {
        text += "0";
        text += separator;
        text += std::string(-d.pointPos, '0') + d.digits;
    } else {
        for (int i = 0; i < d.pointPos; ++i)
            text += i < n ? d.digits[i] : '0';
        if (n > d.pointPos)
            text += separator + d.digits.substr(d.pointPos);
    }
    return text;
}

[[noreturn]] void BadFormat(const std::string& fmt)
{
    throw EConvertError("Format '" + fmt + "' is invalid or does not fit its argument");
}

std::string Pad(std::string text, int width, bool left)
{
    if (static_cast<int>(text.size()) < width) {
        std::string blanks(width - text.size(), ' ');
        text = left ? text + blanks : blanks + text;
    }
    return text;
}

// Digits of an integer with at least `precision` of them (sign not counted).
std::string IntegerText(const FormatArg& arg, char type, int precision)
{
    unsigned long long magnitude;
    bool negative = false;
    long long v = arg.Int();
    if (type == 'd') {
        negative = v < 0;
        magnitude = negative ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    } else {
        magnitude = static_cast<unsigned long long>(v);
        if (!arg.Wide())
            magnitude &= 0xFFFFFFFFULL;
    }
    char buffer[32];
    const char* spec = type == 'x' ? "%llx" : type == 'X' ? "%llX" : "%llu";
    std::snprintf(buffer, sizeof buffer, spec, magnitude);
    std::string digits = buffer;
    if (precision >= 0 && static_cast<int>(digits.size()) < precision)
        digits.insert(0, precision - digits.size(), '0');
    return negative ? "-" + digits : digits;
}

} // namespace

std::string Format(const std::string& fmt, std::initializer_list<FormatArg> args)
{
    std::string out;
    auto next = args.begin();
    size_t i = 0;
    while (i < fmt.size()) {
        char c = fmt[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i < fmt.size() && fmt[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        bool left = false;
        if (i < fmt.size() && fmt[i] == '-') {
            left = true;
            ++i;
        }
        int width = 0;
        while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
            width = width * 10 + (fmt[i++] - '0');
            if (width > 100000)
                BadFormat(fmt);
        }
        int precision = -1;
        if (i < fmt.size() && fmt[i] == '.') {
            ++i;
            precision = 0;
            while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
                precision = precision * 10 + (fmt[i++] - '0');
                if (precision > 100000)
                    BadFormat(fmt);
            }
        }
        if (i >= fmt.size() || next == args.end())
            BadFormat(fmt);
        char type = fmt[i++];
        if (type != 'x' && type != 'X')
            type = static_cast<char>(type | 0x20);
        const FormatArg& arg = *next++;
        std::string text;
        switch (type) {
        case 'd':
        case 'u':
        case 'x':
        case 'X':
            if (arg.kind() != FormatArg::Kind::Integer)
                BadFormat(fmt);
            text = IntegerText(arg, type, precision);
            break;
        case 's':
            if (arg.kind() != FormatArg::Kind::Text)
                BadFormat(fmt);
            text = precision >= 0 ? arg.Text().substr(0, precision) : arg.Text();
            break;
        case 'f': {
            double v;
            if (arg.kind() == FormatArg::Kind::Float)
                v = arg.Float();
            else if (arg.kind() == FormatArg::Kind::Integer)
                v = static_cast<double>(arg.Int());
            else
                BadFormat(fmt);
            text = FixedText(v, precision < 0 ? 2 : std::min(precision, 18), FormatSettings().DecimalSeparator);
            break;
        }
        default:
            BadFormat(fmt);
        }
        out += Pad(std::move(text), width, left);
    }
    return out;
}

std::string IntToStr(long long value)
{
    return std::to_string(value);
}

std::string IntToHex(std::uint32_t value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
    std::string s = buffer;
    if (static_cast<int>(s.size()) < digits)
        s.insert(0, digits - s.size(), '0');
    return s;
}

bool TryStrToInt(const std::string& s, int& value)
{
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    unsigned long long magnitude = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFULL)
            return false;
    }
    if (base == 16) {
        // Hexadecimal digits are the 32 bits themselves: FFFFFFFF is -1.
        auto bits = static_cast<std::uint32_t>(magnitude);
        if (negative)
            bits = 0u - bits;
        value = static_cast<int>(bits);
        return true;
    }
    if (magnitude > (negative ? 2147483648ULL : 2147483647ULL))
        return false;
    long long v = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    value = static_cast<int>(v);
    return true;
}

int StrToInt(const std::string& s)
{
    int value;
    if (!TryStrToInt(s, value))
        throw EConvertError("'" + s + "' is not an integer");
    return value;
}

int StrToIntDef(const std::string& s, int defaultValue)
{
    int value;
    return TryStrToInt(s, value) ? value : defaultValue;
}

std::string FloatToStr(double value)
{
    return GeneralText(value, 15, FormatSettings().DecimalSeparator);
}

std::string FloatToStrG(double value, int precision)
{
    if (precision < 1)
        precision = 1;
    if (precision > 18)
        precision = 18;
    return GeneralText(value, precision, FormatSettings().DecimalSeparator);
}

bool TryStrToFloat(const std::string& s, double& value)
{
    size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    // Checked here, then handed to the locale-free reader with a "." point.
    std::string plain;
    size_t i = b;
    bool negative = false;
    if (i < e && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int digits = 0;
    bool point = false;
    char separator = FormatSettings().DecimalSeparator;
    for (; i < e; ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            plain += c;
            ++digits;
        } else if (c == separator && !point) {
            plain += '.';
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (i < e && (s[i] == 'e' || s[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < e && (s[i] == '+' || s[i] == '-'))
            plain += s[i++];
        int expDigits = 0;
        while (i < e && s[i] >= '0' && s[i] <= '9') {
            plain += s[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != e)
        return false;
    double v;
    auto result = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size())
        return false;
    value = negative ? -v : v;
    return true;
}

double StrToFloat(const std::string& s)
{
    double value;
    if (!TryStrToFloat(s, value))
        throw EConvertError("'" + s + "' is not a floating-point number");
    return value;
}

#include "grid/AdvUtil.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The whole text as a number with "." as the decimal point, no blanks.
bool WholeNumber(const std::string& s, double& value)
{
    return !s.empty() && s[0] != ' ' && TextToFloat(s, value);
}

// Byte by byte over at most 255 characters: below 0, 0 or above 0.
int CompareBytes(const std::string& a, const std::string& b)
{
    const size_t n = std::min<size_t>(255, std::max(a.size(), b.size()));
    for (size_t i = 0; i < n; ++i) {
        const int ca = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        const int cb = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        if (ca != cb)
            return ca - cb;
    }
    return 0;
}

// The operand of the first Op in Condition: after Op, an "=" right after it
// (Inclusive) and blanks, up to a blank, "&", "|" or the end. The condition's
// language held it in a field of 20 characters; here it has no limit, so a
// long text compares whole.
std::string Operand(const std::string& condition, char op, bool& inclusive)
{
    size_t i = condition.find(op) + 1;
    inclusive = i < condition.size() && condition[i] == '=';
    if (inclusive)
        ++i;
    while (i < condition.size() && condition[i] == ' ')
        ++i;
    const size_t end = condition.find_first_of(" &|", i);
    return condition.substr(i, end == std::string::npos ? std::string::npos : end - i);
}

// Value against the operand: the sign of Value - operand, as numbers when
// both are, else byte by byte.
int CompareOperand(const std::string& value, const std::string& operand)
{
    double v = 0, o = 0;
    if (WholeNumber(value, v) && WholeNumber(operand, o))
        return v > o ? 1 : v < o ? -1 : 0;
    return -CompareBytes(operand, value);
}

bool MatchPattern(const std::string& pattern, const std::string& value)
{
    bool negate = false;
    bool ok = true;
    size_t i = 0, j = 0;
    while (ok && !(i >= pattern.size() && j >= value.size())) {
        const char c = i < pattern.size() ? pattern[i] : '\0';
        if (c == '!') {
            negate = true;
            ++i;
        } else if (c == '*') {
            while (i < pattern.size() && pattern[i] == '*')
                ++i;
            const std::string rest = pattern.substr(i);
            // The rest against the end of the value, then longer tails.
            bool found = false;
            for (size_t k = value.size() + 1; k-- > j;)
                if (MatchFilter(rest, value.substr(k))) {
                    found = true;
                    break;
                }
            ok = found;
            break;
        } else if (c == '?') {
            if (j < value.size()) {
                ++i;
                ++j;
            } else {
                ok = false;
            }
        } else if (j < value.size() && c == value[j]) {
            ++i;
            ++j;
        } else {
            ok = false;
        }
    }
    return negate ? !ok : ok;
}

} // namespace

bool TextToFloat(const std::string& S, double& Value)
{
    size_t i = 0;
    const size_t n = S.size();
    while (i < n && S[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (S[i] == '+' || S[i] == '-'))
        negative = S[i++] == '-';
    // Up to 19 significant digits in an integer, the rest as a power of ten.
    unsigned long long mantissa = 0;
    int digits = 0, scale = 0;
    bool any = false;
    for (; i < n && IsDigit(S[i]); ++i) {
        any = true;
        if (digits < 19) {
            mantissa = mantissa * 10 + static_cast<unsigned>(S[i] - '0');
            if (mantissa)
                ++digits;
        } else {
            ++scale;
        }
    }
    if (i < n && S[i] == '.') {
        for (++i; i < n && IsDigit(S[i]); ++i) {
            any = true;
            if (digits < 19) {
                mantissa = mantissa * 10 + static_cast<unsigned>(S[i] - '0');
                if (mantissa)
                    ++digits;
                --scale;
            }
        }
    }
    if (!any)
        return false;
    if (i < n && (S[i] == 'e' || S[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (S[i] == '+' || S[i] == '-'))
            negativeExponent = S[i++] == '-';
        if (i == n || !IsDigit(S[i]))
            return false;
        int exponent = 0;
        for (; i < n && IsDigit(S[i]); ++i)
            exponent = std::min(exponent * 10 + (S[i] - '0'), 10000);
        scale += negativeExponent ? -exponent : exponent;
    }
    if (i != n)
        return false;
    double v = static_cast<double>(mantissa);
    if (scale > 0)
        v *= std::pow(10.0, scale);
    else if (scale < 0)
        v /= std::pow(10.0, -scale);
    Value = negative ? -v : v;
    return true;
}

int TextNumberKind(const std::string& S, char T, char D)
{
    bool whole = true;
    bool decimal = true;
    int lastT = -1;
    int ds = 0;
    int minus = 0;
    for (int i = 1; i <= static_cast<int>(S.size()); ++i) {
        const char c = S[i - 1];
        if (!IsDigit(c) && c != '-')
            whole = false;
        if (!IsDigit(c) && c != ',' && c != '-' && c != '.')
            decimal = false;
        if (c == T) {
            if (i - lastT < 3)
                decimal = false;
            lastT = i;
        }
        if (c == D)
            ++ds;
        if (c == '-')
            ++minus;
    }
    if (minus > 1 || ds > 1)
        return 2;
    return whole ? 0 : decimal ? 1 : 2;
}

int TextNumberKind(const std::string& S)
{
    const TFormatSettings& fs = FormatSettings();
    return TextNumberKind(S, fs.ThousandSeparator, fs.DecimalSeparator);
}

std::string UnescapeLineBreaks(const std::string& S)
{
    std::string r;
    r.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == '\\' && i + 1 < S.size() && S[i + 1] == 'n') {
            r += '\r';
            ++i;
        } else {
            r += S[i];
        }
    }
    return r;
}

void FillChars(std::string& S, char Ch)
{
    S.assign(S.size(), Ch);
}

void OemToAnsiText(std::string& S)
{
    if (!S.empty())
        OemToCharBuffA(S.c_str(), S.data(), static_cast<DWORD>(S.size()));
}

std::string CollapseDoubled(char Ch, const std::string& S)
{
    std::string r;
    for (size_t i = 0; i < S.size(); ++i)
        if (i == 0 || !(S[i] == Ch && S[i - 1] == Ch))
            r += S[i];
    return r;
}

void QuoteMultiLine(std::string& S)
{
    std::string r = "\"";
    for (size_t i = 0; i < S.size(); ++i)
        if (!(S[i] == '\r' && i + 1 < S.size() && S[i + 1] == '\n'))
            r += S[i];
    S = r + "\"";
}

void LFToCRLF(std::string& S)
{
    std::string r;
    for (char c : S) {
        if (c == '\n')
            r += '\r';
        r += c;
    }
    S = r;
}

void TildeToCRLF(std::string& S)
{
    std::string r;
    for (char c : S)
        r += c == '~' ? std::string("\r\n") : std::string(1, c);
    S = r;
}

std::string UpperASCII(const std::string& S)
{
    std::string r = S;
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return r;
}

void TakeLine(std::string& S, bool KeepRest, std::string& Line)
{
    const size_t cr = S.find('\r');
    if (cr == std::string::npos) {
        Line = S;
        S.clear();
        return;
    }
    Line = S.substr(0, cr);
    size_t rest = cr + 1;
    if (rest < S.size() && S[rest] == '\n')
        ++rest;
    S = KeepRest ? S.substr(rest) : std::string();
}

int LineCount(const std::string& S, bool Multiline)
{
    if (!Multiline)
        return 1;
    int n = 1;
    for (char c : S)
        if (c == '\r')
            ++n;
    return n;
}

int FindSingle(char Ch, const std::string& S)
{
    const int n = static_cast<int>(S.size());
    for (int i = 1; i <= n; ++i) {
        if (S[i - 1] != Ch)
            continue;
        if (i == n)
            return i;
        if (i > 1 && S[i] != Ch && S[i - 2] != Ch)
            return i;
    }
    return 0;
}

int CountSingle(char Ch, const std::string& S)
{
    std::string rest = S;
    int count = 0;
    for (int at = FindSingle(Ch, rest); at > 0; at = FindSingle(Ch, rest)) {
        ++count;
        rest.erase(0, at);
    }
    return count;
}

bool MatchFilter(const std::string& Condition, const std::string& Value)
{
    bool greaterOk = true, lessOk = true, hasGreater = false, hasLess = false;
    const bool gt = Condition.find('>') != std::string::npos;
    const bool lt = Condition.find('<') != std::string::npos;
    bool inclusive = false;
    if (gt) {
        const int c = CompareOperand(Value, Operand(Condition, '>', inclusive));
        greaterOk = inclusive ? c >= 0 : c > 0;
        hasGreater = true;
    }
    if (lt) {
        const int c = CompareOperand(Value, Operand(Condition, '<', inclusive));
        lessOk = inclusive ? c <= 0 : c < 0;
        hasLess = true;
    }
    if (Condition.find('!') != std::string::npos) {
        if (!gt)
            hasGreater = true;
        if (!lt)
            hasLess = true;
    }
    if (Condition.find('^') != std::string::npos && (hasGreater || hasLess))
        return greaterOk || lessOk;
    if (Condition.find('&') != std::string::npos && hasGreater && hasLess)
        return greaterOk && lessOk;
    if ((gt && greaterOk) || (lt && lessOk))
        return true;
    return MatchPattern(Condition, Value);
}

TDateTime NextSeriesDate(int dYears, int dMonths, int dDays, TDateTime Step, TDateTime Date)
{
    int year = 0, month = 0, day = 0;
    if (dYears == 0 && dMonths == 0 && dDays != 0)
        return Date + dDays;
    DecodeDate(Date, year, month, day);
    const double time = Date - static_cast<long long>(Date);
    if (dYears != 0 && dMonths == 0 && dDays == 0)
        return EncodeDate(year + dYears, month, day) + time;
    if (dMonths != 0 && dYears == 0 && dDays == 0) {
        month += dMonths;
        if (month <= 0) {
            month += 12;
            --year;
        } else if (month > 12) {
            month -= 12;
            ++year;
        }
        return EncodeDate(year, month, day) + time;
    }
    return Date + Step;
}

void DrawTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BackColor, TPoint Origin)
{
    TBitmap copy(Bitmap->Width(), Bitmap->Height());
    const TRect all = Rect(0, 0, Bitmap->Width(), Bitmap->Height());
    copy.Canvas()->Brush()->SetColor(BackColor);
    copy.Canvas()->FillRect(all);
    copy.Canvas()->BrushCopy(all, Bitmap, all, Bitmap->Canvas()->Pixels(0, 0));
    Canvas->Draw(Origin.x, Origin.y, &copy);
}

namespace {

void SystemBeep()
{
    MessageBeep(MB_OK);
}

TGridBeeper gridBeeper = &SystemBeep;

} // namespace

TGridBeeper SetGridBeeper(TGridBeeper beeper)
{
    const TGridBeeper old = gridBeeper;
    gridBeeper = beeper ? beeper : &SystemBeep;
    return old;
}

void GridBeep()
{
    gridBeeper();
}

int EditTextRoom(TFont* Font)
{
    const int m = FontTextHeight(Font->Handle());
    return m + std::min(m, FontTextHeight(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)))) / 4;
}

#include "grid/AdvModel.h"

#include <windows.h>

#include <algorithm>

#include "common/GridInc.h"
#include "grid/AdvUtil.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int Sign(double d)
{
    return d > 0 ? 1 : d < 0 ? -1 : 0;
}

int CompareBytes(const std::string& a, const std::string& b)
{
    const int c = a.compare(b);
    return c > 0 ? 1 : c < 0 ? -1 : 0;
}

void RemoveFirst(std::string& s, const std::string& part)
{
    if (part.empty())
        return;
    const size_t at = s.find(part);
    if (at != std::string::npos)
        s.erase(at, part.size());
}

// A date in the short date format, a time perhaps after it; 0 otherwise.
TDateTime ReadShortDate(const std::string& s)
{
    TDateTime value = 0;
    if (TryStrToDateTime(s, value))
        return value;
    return 0;
}

TDateTime ReadDate(const std::string& s, bool dayFirst)
{
    try {
        return dayFirst ? ParseDateDMY(s) : ParseDateMDY(s);
    } catch (const Exception&) {
        return 0;
    }
}

int LocaleCompare(const std::string& a, const std::string& b, bool ignoreCase)
{
    const int r = CompareStringA(LOCALE_USER_DEFAULT, ignoreCase ? NORM_IGNORECASE : 0, a.data(),
                                 static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
    return r == CSTR_GREATER_THAN ? 1 : r == CSTR_LESS_THAN ? -1 : 0;
}

} // namespace

TCompareSettings TCompareSettings::Locale()
{
    TCompareSettings s;
    s.ThousandSeparator = FormatSettings().ThousandSeparator;
    s.DecimalSeparator = FormatSettings().DecimalSeparator;
    return s;
}

TSortStyle DetectSortStyle(const std::string& a, char thousandSeparator, char decimalSeparator)
{
    if (TextNumberKind(a, thousandSeparator, decimalSeparator) < 2)
        return stNumber;
    const size_t slash = a.find('/');
    if (slash != std::string::npos && slash >= 1 && slash + 1 < a.size() && IsDigit(a[slash - 1]) &&
        IsDigit(a[slash + 1]))
        return stShortDate;
    return stText;
}

bool ReadSortNumber(std::string text, bool grouped, const TCompareSettings& settings, double& value)
{
    RemoveFirst(text, settings.Suffix);
    RemoveFirst(text, settings.Prefix);
    if (grouped)
        text.erase(std::remove(text.begin(), text.end(), settings.ThousandSeparator), text.end());
    if (settings.DecimalSeparator != '.') {
        const size_t at = text.find(settings.DecimalSeparator);
        if (at != std::string::npos)
            text[at] = '.';
    }
    return TextToFloat(text, value);
}

int CompareTexts(TSortStyle style, const std::string& a, const std::string& b, const TCompareSettings& settings)
{
    switch (style) {
    case stText:
    case stTextExact:
    case stMarkupText:
        return CompareBytes(a, b);
    case stTextUpper:
        return CompareBytes(UpperASCII(a), UpperASCII(b));
    case stNumber:
    case stNumberGrouped: {
        const bool grouped = style == stNumberGrouped;
        double x = 0, y = 0;
        bool okA = ReadSortNumber(a, grouped, settings, x);
        bool okB = ReadSortNumber(b, grouped, settings, y);
        // An empty cell is 0.
        if (!okA && a.empty()) {
            x = 0;
            okA = true;
        }
        if (!okB && b.empty()) {
            y = 0;
            okB = true;
        }
        if (!okA || !okB)
            return 0;
        return Sign(x - y);
    }
    case stShortDate:
        return Sign(ReadShortDate(a) - ReadShortDate(b));
    case stDateDMY:
    case stDateMDY:
        return Sign(ReadDate(a, style == stDateDMY) - ReadDate(b, style == stDateDMY));
    case stLocaleText:
    case stLocaleTextNoCase:
        return LocaleCompare(a, b, style == stLocaleTextNoCase);
    case stDetect:
        return CompareTexts(DetectSortStyle(a, settings.ThousandSeparator, settings.DecimalSeparator), a, b, settings);
    case stCustom:
    case stRowCompare:
        return 0;
    }
    return 1;
}

TAdvanceStep AdvanceTarget(const TAdvanceFrame& f, int col, int row, bool forward)
{
    const int lastCol = f.ColCount - f.FixedRightCols - 1;  // last column before the right fixed ones
    const int lastRow = f.RowCount - f.FixedFooters - 1;    // last data row
    TAdvanceStep s{col, row};
    if (forward && !f.TopBottom) {
        if (col == lastCol) {
            if (row != lastRow) {
                s = {f.FixedCols, row + 1};
            } else if (f.Insert) {
                s = {f.FixedCols, row + 1};
                s.GrowRow = true;
            } else {
                s = {f.FixedCols, f.FixedRows};
            }
        } else {
            s = {col + 1, row};
        }
    } else if (forward) {
        if (row == lastRow) {
            if (col != lastCol) {
                s = {col + 1, f.FixedRows};
            } else if (f.Insert) {
                s = {col + 1, f.FixedRows};
                s.GrowCol = true;
            } else {
                s = {f.FixedCols, f.FixedRows};
            }
        } else {
            s = {col, row + 1};
        }
    } else if (!f.TopBottom) {
        if (col > f.FixedCols)
            s = {col - 1, row};
        else if (row > f.FixedRows)
            s = {lastCol, row - 1};
    } else {
        if (row > f.FixedRows)
            s = {col, row - 1};
        else if (col > f.FixedCols)
            s = {col - 1, lastRow};
    }
    return s;
}

int DisplayRowOf(const std::vector<int>& hidden, int realRow)
{
    return realRow - static_cast<int>(std::lower_bound(hidden.begin(), hidden.end(), realRow) - hidden.begin());
}

int RealRowOf(const std::vector<int>& hidden, int displayRow)
{
    // The (displayRow + 1)-th real index that is not hidden.
    int real = displayRow;
    for (int h : hidden) {
        if (h <= real)
            ++real;
        else
            break;
    }
    return real;
}

std::vector<int> MoveHiddenRows(const std::vector<int>& hidden, const std::function<int(int)>& NewGap)
{
    // Hidden row k has k hidden rows before it, so its gap is its index - k.
    const size_t n = hidden.size();
    std::vector<int> gap(n);
    for (size_t k = 0; k < n; ++k)
        gap[k] = NewGap(hidden[k] - static_cast<int>(k));
    std::vector<size_t> order(n);
    for (size_t k = 0; k < n; ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return gap[a] < gap[b]; });
    std::vector<int> moved(n);
    for (size_t j = 0; j < n; ++j)
        moved[order[j]] = gap[order[j]] + static_cast<int>(j);
    return moved;
}

int MovedIndex(int Index, int From, int To)
{
    if (Index == From)
        return To;
    if (From < To && Index > From && Index <= To)
        return Index - 1;
    if (To < From && Index >= To && Index < From)
        return Index + 1;
    return Index;
}

int IndexAfterRemoval(int Index, int At, int Count)
{
    if (Index >= At + Count)
        return Index - Count;
    return Index >= At ? -1 : Index;
}

void TRowFlags::Grow(int row)
{
    if (row >= static_cast<int>(flags_.size()))
        flags_.resize(row + 1, false);
}

bool TRowFlags::Get(int row)
{
    if (row < 0)
        return false;
    Grow(row);
    return flags_[row];
}

void TRowFlags::Set(int row, bool value)
{
    if (row < 0)
        return;
    Grow(row);
    flags_[row] = value;
}

void TRowFlags::Remove(int row)
{
    if (row >= 0 && row < static_cast<int>(flags_.size()))
        flags_.erase(flags_.begin() + row);
}

void TRowFlags::Exchange(int a, int b)
{
    Grow(std::max(a, b));
    const bool t = flags_[a];
    flags_[a] = flags_[b];
    flags_[b] = t;
}

#include "installer/advlistvsort.h"

#include <cstdlib>
#include <algorithm>
#include <cctype>
#include <cstring>

#include "classlib/SysUtils.h"
#include "common/GridInc.h"

namespace {

void EraseFirst(std::string& s, const std::string& part)
{
    if (part.empty())
        return;
    const size_t at = s.find(part);
    if (at != std::string::npos)
        s.erase(at, part.size());
}

template <class T>
int Sign(T a, T b)
{
    return a > b ? 1 : (a < b ? -1 : 0);
}

int CompareBytes(const std::string& a, const std::string& b)
{
    const int c = a.compare(b);
    return c > 0 ? 1 : (c < 0 ? -1 : 0);
}

std::string UpperAZ(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

} // namespace

bool CellNumber(const std::string& text, const std::string& prefix, const std::string& suffix, bool grouped,
                double& value)
{
    std::string s = text;
    EraseFirst(s, suffix);
    EraseFirst(s, prefix);
    const TFormatSettings& fs = FormatSettings();
    if (grouped)
        s.erase(std::remove(s.begin(), s.end(), fs.ThousandSeparator), s.end());
    if (fs.DecimalSeparator != '.') {
        const size_t at = s.find(fs.DecimalSeparator);
        if (at != std::string::npos)
            s[at] = '.';
    }
    if (s.empty()) {
        value = 0;
        return true;
    }
    // A number as a whole, no blank before or after it.
    if (std::isspace(static_cast<unsigned char>(s[0])))
        return false;
    char* end = nullptr;
    value = std::strtod(s.c_str(), &end);
    return end && *end == '\0' && end != s.c_str();
}

double CellDate(TSortStyle style, const std::string& text)
{
    try {
        switch (style) {
        case TSortStyle::stShortDate: {
            TDateTime value = 0;
            return TryStrToDateTime(text, value) ? value : 0;
        }
        case TSortStyle::stDateDMY:
            return ParseDateDMY(text);
        case TSortStyle::stDateMDY:
            return ParseDateMDY(text);
        default:
            return 0;
        }
    } catch (const EConvertError&) {
        // A day the calendar does not have sorts as no date.
        return 0;
    }
}

int CompareCells(TObject* sender, int column, const std::string& text1, const std::string& text2,
                 const TFormatEvent& getFormat, const TCustomCompareEvent& customCompare)
{
    TSortStyle style = TSortStyle::stText;
    std::string prefix, suffix;
    getFormat(sender, column, style, prefix, suffix);
    switch (style) {
    case TSortStyle::stText:
    case TSortStyle::stTextExact:
        return CompareBytes(text1, text2);
    case TSortStyle::stTextUpper:
        return CompareBytes(UpperAZ(text1), UpperAZ(text2));
    case TSortStyle::stNumber:
    case TSortStyle::stNumberGrouped: {
        const bool grouped = style == TSortStyle::stNumberGrouped;
        double a = 0, b = 0;
        if (!CellNumber(text1, prefix, suffix, grouped, a) || !CellNumber(text2, prefix, suffix, grouped, b))
            return 0;
        return Sign(a, b);
    }
    case TSortStyle::stShortDate:
    case TSortStyle::stDateDMY:
    case TSortStyle::stDateMDY:
        return Sign(CellDate(style, text1), CellDate(style, text2));
    case TSortStyle::stCustom: {
        int result = 1;
        customCompare(sender, column, text1, text2, result);
        return result;
    }
    default:
        // stDetect chooses nothing by itself.
        return 1;
    }
}

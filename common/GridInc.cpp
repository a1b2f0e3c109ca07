#include "common/GridInc.h"

#include <windows.h>

#include <climits>
#include <vector>

#include "classlib/SysUtils.h"

namespace {

// A whole number from the start of the text: leading blanks and a sign, then
// the digits up to the first other character; 0 when there are none.
// Beyond the range of int it stays at the limit, which no date field allows.
int LeadingNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value <= INT_MAX)
            value = value * 10 + (text[i] - '0');
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(negative ? -value : value);
}

// The first "-", else the first "/", else the first ".".
std::string::size_type FindSeparator(const std::string& text)
{
    for (char separator : {'-', '/', '.'}) {
        const std::string::size_type at = text.find(separator);
        if (at != std::string::npos)
            return at;
    }
    return std::string::npos;
}

TDateTime ParseDate(const std::string& text, bool monthFirst)
{
    const std::string::size_type first = FindSeparator(text);
    if (first == std::string::npos)
        return 0;
    const std::string rest = text.substr(first + 1);
    const std::string::size_type second = FindSeparator(rest);
    if (second == std::string::npos)
        return 0;
    const int field1 = LeadingNumber(text.substr(0, first));
    const int field2 = LeadingNumber(rest.substr(0, second));
    // The year is kept in 16 bits, and every year gets its century added.
    const unsigned year16 = static_cast<std::uint16_t>(LeadingNumber(rest.substr(second + 1)));
    const int year = static_cast<int>(year16) + (year16 <= 25 ? 2000 : 1900);
    return monthFirst ? EncodeDate(year, field1, field2) : EncodeDate(year, field2, field1);
}

}  // namespace

std::int32_t GetFileVersionMS(const std::string& FileName)
{
    DWORD handle = 0;
    // A device name is no file: reading it could block for good.
    const DWORD size = IsDeviceName(FileName) ? 0 : GetFileVersionInfoSizeA(FileName.c_str(), &handle);
    if (size == 0)
        return -1;
    std::vector<char> data(size, 0);
    void* root = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(FileName.c_str(), handle, size, data.data()) ||
        !VerQueryValueA(data.data(), "\\", &root, &length) || !root || length < sizeof(VS_FIXEDFILEINFO))
        return -1;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(root);
    if (info->dwSignature != VS_FFI_SIGNATURE)
        return -1;
    return static_cast<std::int32_t>(info->dwFileVersionMS);
}

TDateTime ParseDateMDY(const std::string& Text)
{
    return ParseDate(Text, true);
}

TDateTime ParseDateDMY(const std::string& Text)
{
    return ParseDate(Text, false);
}

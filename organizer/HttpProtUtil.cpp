// The HTTP unit's routines: URLs, line encodings, dates, positions.
#include "organizer/HttpProt.h"

#include <algorithm>
#include <cmath>

namespace {

bool StartsWithNoCase(const std::string& s, const char* prefix)
{
    const size_t n = std::char_traits<char>::length(prefix);
    return s.size() >= n && AnsiLowerCase(s.substr(0, n)) == prefix;
}

} // namespace

void ParseURL(const std::string& url, std::string& proto, std::string& user, std::string& password, std::string& host,
              std::string& port, std::string& path)
{
    proto.clear();
    user.clear();
    password.clear();
    host.clear();
    port.clear();
    path.clear();
    if (url.empty())
        return;

    std::string rest;
    const size_t scheme = url.find("://");
    if (scheme != std::string::npos) {
        proto = url.substr(0, scheme);
        rest = url.substr(scheme + 3);
    } else if (url[0] == '/') {
        proto = "http";
        if (url.size() < 2 || url[1] != '/') {
            path = url;
            return;
        }
        rest = url.substr(1);
    } else if (StartsWithNoCase(url, "http:")) {
        proto = "http";
        if (url.size() < 7 || url[6] != '/') {
            path = url.substr(5);
            return;
        }
        rest = url.substr(6);
    } else if (StartsWithNoCase(url, "mailto:")) {
        proto = "mailto";
        rest = url.substr(url.find(':') + 1);
    } else {
        rest = url;
    }

    const size_t slash = rest.find('/');
    std::string authority = rest;
    if (slash != std::string::npos) {
        path = rest.substr(slash);
        authority = rest.substr(0, slash);
    }

    const size_t colon = authority.rfind(':');
    const size_t at = authority.rfind('@');
    if (colon == std::string::npos && at == std::string::npos) {
        host = authority;
        return;
    }
    if (colon != std::string::npos && (at == std::string::npos || colon > at)) {
        port = authority.substr(colon + 1);
        const size_t hostStart = at == std::string::npos ? 0 : at + 1;
        host = authority.substr(hostStart, colon - hostStart);
        if (at == std::string::npos)
            return;
    } else {
        host = authority.substr(at + 1);
    }
    const std::string credentials = authority.substr(0, at);
    const size_t split = credentials.find(':');
    if (split == std::string::npos) {
        user = credentials;
    } else {
        user = credentials.substr(0, split);
        password = credentials.substr(split + 1);
    }
}

std::string EncodeLine(int mode, const std::string& data)
{
    static const char base64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    // The uuencode alphabet: the 64 characters from the blank on.
    auto symbol = [mode](unsigned v) { return mode == 0 ? static_cast<char>(' ' + (v & 63)) : base64[v & 63]; };
    std::string out;
    if (mode == 0)
        out += symbol(static_cast<unsigned>(data.size()));
    for (size_t i = 0; i < data.size(); i += 3) {
        const size_t n = std::min<size_t>(3, data.size() - i);
        unsigned group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < n ? static_cast<unsigned char>(data[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k) {
            const unsigned v = (group >> (18 - 6 * k)) & 63;
            // Base64 pads a short last group with "="; uuencode encodes the
            // zero bytes.
            out += (mode != 0 && k > n) ? '=' : symbol(v);
        }
    }
    return out;
}

std::string RFC1123Date(TDateTime value)
{
    static const char days[] = "MonTueWedThuFriSatSun";
    static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    int year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    // Day 2 (1 January 1900) was a Monday; earlier days count back to it.
    const long long whole = static_cast<long long>(std::floor(value)) - 2;
    const int weekday = static_cast<int>(((whole % 7) + 7) % 7);
    return std::string(days + 3 * weekday, 3) + ", " +
           Format("%2.2d %s %4.4d %2.2d:%2.2d:%2.2d", day, std::string(months + 3 * (month - 1), 3), year, hour, minute,
                  second);
}

int PosN(const std::string& sub, const std::string& s, int n)
{
    if (sub.empty() || n == 0)
        return 0;
    if (n < 0) {
        const size_t at = s.rfind(sub);
        return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
    }
    size_t from = 0;
    for (;;) {
        const size_t at = s.find(sub, from);
        if (at == std::string::npos)
            return 0;
        if (--n == 0)
            return static_cast<int>(at) + 1;
        from = at + 1;
    }
}

// Pattern find and replace of the common utility unit.
#include <windows.h>

#include <cstring>

#include "classlib/SysUtils.h"
#include "common/QmxUtil.h"

namespace {

// Class codes of a search pattern's code string.
constexpr char cUpper = 11, cAlpha = 15, cDigit = 16, cAlnum = 17, cAny = 18, cNonAlnum = 19;
// Codes of a replacement's code string.
constexpr char cLongDate = 23, cShortDate = 24, cIText = 25, cNText = 26, cRandomLetter = 27;

constexpr std::size_t none = std::string::npos;

// "^" + letter to code; any other character after "^" stands for itself.
std::string ExpandCodes(const std::string& s, const char* letters, const char* codes)
{
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '^') {
            r += s[i];
            continue;
        }
        if (++i == s.size())
            break;
        const char c = s[i];
        const char up = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        const char* at = up ? std::strchr(letters, up) : nullptr;
        r += at ? codes[at - letters] : c;
    }
    return r;
}

char UpperChar(char c)
{
    static const struct Table {
        unsigned char upper[256];
        Table()
        {
            for (int i = 0; i < 256; ++i)
                upper[i] = static_cast<unsigned char>(i);
            CharUpperBuffA(reinterpret_cast<char*>(upper), 256);
        }
    } table;
    return static_cast<char>(table.upper[static_cast<unsigned char>(c)]);
}

// Start of the first match of the code string p at or after from; none when
// there is none.
std::size_t FindCodes(const std::string& p, const std::string& text, bool caseSensitive, std::size_t from)
{
    if (p.empty() || text.size() < p.size())
        return none;
    for (std::size_t s = from; s + p.size() <= text.size(); ++s) {
        std::size_t k = 0;
        while (k < p.size() && MatchPatternChar(text[s + k], p[k], caseSensitive))
            ++k;
        if (k == p.size())
            return s;
    }
    return none;
}

// What a run of replacements remembers: where the search may start and the
// text the last replacement inserted. A match lying wholly inside that text
// is the replacement matching its own pattern: replacing it again would never
// end, so the search goes on after it.
struct ReplaceState {
    std::size_t from = 0;
    std::size_t insertedStart = none;
    std::size_t insertedEnd = none;
};

std::size_t NextMatch(const std::string& p, const std::string& text, bool caseSensitive, ReplaceState& st)
{
    for (;;) {
        const std::size_t at = FindCodes(p, text, caseSensitive, st.from);
        if (at == none || st.insertedStart == none || at < st.insertedStart || at + p.size() > st.insertedEnd)
            return at;
        st.from = st.insertedEnd;
    }
}

// The replacement's codes turned into their texts, once per replacement run.
std::string ExpandReplacement(const std::string& r, const std::string& iText, const std::string& nText)
{
    std::string out;
    for (char c : r) {
        switch (c) {
        case cLongDate: out += FormatDateTime("dddddd", Date()); break;
        case cShortDate: out += FormatDateTime("ddddd", Date()); break;
        case cIText: out += iText; break;
        case cNText: out += nText; break;
        case cRandomLetter: out += static_cast<char>('A' + Random(26)); break;
        default: out += c; break;
        }
    }
    return out;
}

bool Contains(const std::string& text, const std::string& sub)
{
    return !sub.empty() && text.find(sub) != none;
}

void Replace(const std::string& search, const std::string& replacement, std::string& text, bool caseSensitive,
             const std::string& iText, const std::string& nText, ReplaceState& st)
{
    if (text.empty())
        return;
    if (text == search || (!caseSensitive && AnsiLowerCase(text) == AnsiLowerCase(search))) {
        text = replacement;
        st = ReplaceState{0, 0, text.size()};
        return;
    }
    std::string r = ExpandCodes(replacement, "DKINRS", "\x17\x18\x19\x1A\x1F\x16");
    bool expanded = false;
    const std::string p = ExpandPatternCodes(search);
    const std::string lowerSearch = AnsiLowerCase(search);
    for (std::size_t at = NextMatch(p, text, caseSensitive, st); at != none; at = NextMatch(p, text, caseSensitive, st)) {
        // The same dates and random letters serve every match of the run.
        if (!expanded) {
            r = ExpandReplacement(r, iText, nText);
            expanded = true;
        }
        text = text.substr(0, at) + r + text.substr(at + p.size());
        st.insertedStart = at;
        st.insertedEnd = at + r.size();
        // A plain search text is thus replaced once when it still occurs.
        if (caseSensitive && Contains(text, search))
            break;
        if (Contains(AnsiLowerCase(text), lowerSearch))
            break;
    }
}

} // namespace

std::string ExpandPatternCodes(const std::string& Pattern)
{
    return ExpandCodes(Pattern, "?ACLMQ", "\x12\x11\x10\x0F\x0B\x13");
}

bool MatchPatternChar(char Ch, char Code, bool CaseSensitive)
{
    switch (Code) {
    case cAny: return true;
    case cAlnum: return IsCharAlphaNumericA(Ch);
    case cDigit: return Ch >= '0' && Ch <= '9';
    case cAlpha: return IsCharAlphaA(Ch);
    case cUpper: return IsCharAlphaA(Ch) && UpperChar(Ch) == Ch;
    case cNonAlnum: return !IsCharAlphaNumericA(Ch);
    default: return CaseSensitive ? Ch == Code : UpperChar(Ch) == UpperChar(Code);
    }
}

std::string FindPattern(const std::string& Pattern, const std::string& Text, bool CaseSensitive)
{
    const std::string p = ExpandPatternCodes(Pattern);
    const std::size_t at = FindCodes(p, Text, CaseSensitive, 0);
    return at == none ? std::string() : Text.substr(at, p.size());
}

void PatternReplace(const std::string& Search, const std::string& Replacement, std::string& Text, bool CaseSensitive,
                    const std::string& IText, const std::string& NText, std::string& Result)
{
    ReplaceState st;
    Replace(Search, Replacement, Text, CaseSensitive, IText, NText, st);
    Result = Text;
}

void ReplaceAllWithPatterns(const std::string& Search, const std::string& Replacement, std::string& S)
{
    if (Search == Replacement)
        return;
    if (Search.find('^') == none && Replacement.find('^') == none) {
        ReplaceAllNoCase(Search, Replacement, S);
        return;
    }
    // The state carries over from one replacement to the next, so that a
    // replacement holding the search text is not searched again either.
    ReplaceState st;
    const std::string p = ExpandPatternCodes(Search);
    while (NextMatch(p, S, false, st) != none)
        Replace(Search, Replacement, S, false, "", "", st);
}

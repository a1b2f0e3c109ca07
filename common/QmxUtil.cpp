#include "common/QmxUtil.h"

#include <windows.h>

#include "classlib/SysUtils.h"

namespace {

// Pos of the class library: 1-based, 0 when absent or when sub is empty.
int Pos(const std::string& sub, const std::string& s)
{
    if (sub.empty())
        return 0;
    auto at = s.find(sub);
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

int PosChar(char ch, const std::string& s)
{
    auto at = s.find(ch);
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

// A position that must fit the byte it is kept in.
int BytePosition(int p)
{
    if (p > 255)
        throw ERangeError();
    return p;
}

} // namespace

std::string GetProgramFolder()
{
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    auto slash = folder.rfind('\\');
    folder.erase(slash == std::string::npos ? 0 : slash + 1);
    folder = AnsiLowerCase(folder);
    AddBackslash(folder);
    return folder;
}

void AddBackslash(std::string& s)
{
    if (s.empty() || s.back() != '\\')
        s += '\\';
}

std::string PCharToString(const char* p)
{
    return p ? std::string(p) : std::string();
}

int CountChar(char ch, const std::string& s)
{
    int n = 0;
    for (char c : s)
        if (c == ch)
            ++n;
    return n;
}

std::string KeyPart(const std::string& s)
{
    // The counter is a byte: it overflows when the first 255 characters hold
    // no separator.
    std::size_t i = 0;
    while (i < s.size() && s[i] != ';' && s[i] != '=') {
        if (i == 254)
            throw EIntOverflow();
        ++i;
    }
    return s.substr(0, i);
}

std::string ValuePart(const std::string& s)
{
    int p = PosChar('=', s);
    if (p == 0)
        p = PosChar(';', s);
    return p == 0 ? std::string() : s.substr(p);
}

std::string NthPart(std::uint8_t n, const std::string& s)
{
    std::string rest = s;
    for (int i = 1; i < n; ++i)
        rest = ValuePart(rest);
    return KeyPart(rest);
}

std::string NthField(char delim, std::uint8_t n, const std::string& s)
{
    if (n == 0 || CountChar(delim, s) < n - 1)
        return std::string();
    std::string rest = s;
    for (int i = 1; i < n && !rest.empty(); ++i)
        rest.erase(0, BytePosition(PosChar(delim, rest)));
    int p = BytePosition(PosChar(delim, rest));
    if (p != 0)
        rest.erase(p - 1);
    return rest;
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return AnsiLowerCase(a) == AnsiLowerCase(b);
}

int PosNoCase(const std::string& sub, const std::string& s)
{
    return BytePosition(Pos(AnsiUpperCase(sub), AnsiUpperCase(s)));
}

bool ContainsNoCase(const std::string& sub, const std::string& s)
{
    return PosNoCase(sub, s) != 0;
}

void ReplaceAllNoCase(const std::string& oldText, const std::string& newText, std::string& s)
{
    if (oldText == newText)
        return;
    const std::string upperOld = AnsiUpperCase(oldText);
    const int oldLen = static_cast<int>(oldText.size());
    const int newLen = static_cast<int>(newText.size());
    int p = Pos(upperOld, AnsiUpperCase(s));
    while (p != 0) {
        s.replace(p - 1, oldLen, newText);
        // Each pass searches from the start, so matches a replacement creates
        // are replaced too; a match that does not lie beyond the inserted text
        // ends the loop.
        int q = Pos(upperOld, AnsiUpperCase(s));
        if (q <= p + newLen - oldLen)
            break;
        p = q;
    }
}

void TrimChar(std::string& s, char ch)
{
    auto first = s.find_first_not_of(ch);
    if (first == std::string::npos) {
        s.clear();
        return;
    }
    s.erase(s.find_last_not_of(ch) + 1);
    s.erase(0, first);
}

void TrimBlanks(std::string& s)
{
    TrimChar(s, ' ');
}

void KeepLettersOnly(std::string& s)
{
    std::string letters;
    for (char c : s)
        if (IsCharAlphaA(c))
            letters += c;
    s = letters;
}

bool IsNotAlphaNumeric(char ch)
{
    return !IsCharAlphaNumericA(ch);
}

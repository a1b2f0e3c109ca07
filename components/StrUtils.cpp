#include "components/StrUtils.h"

TCharSet::TCharSet(const char* chars)
{
    for (; chars && *chars; ++chars)
        bits_.set(static_cast<unsigned char>(*chars));
}

TCharSet::TCharSet(std::initializer_list<char> chars)
{
    for (char c : chars)
        bits_.set(static_cast<unsigned char>(c));
}

std::string ReplaceAll(const std::string& S, const std::string& Find, const std::string& Replacement)
{
    if (Find.empty())
        return S;
    std::string result;
    std::size_t from = 0;
    for (std::size_t at; (at = S.find(Find, from)) != std::string::npos; from = at + Find.size()) {
        result.append(S, from, at - from);
        result += Replacement;
    }
    result.append(S, from, std::string::npos);
    return result;
}

int CountWords(const std::string& S, const TCharSet& Delims)
{
    int count = 0;
    bool inWord = false;
    for (char c : S) {
        bool delim = Delims.Contains(c);
        if (!delim && !inWord)
            ++count;
        inWord = !delim;
    }
    return count;
}

int WordStart(int N, const std::string& S, const TCharSet& Delims)
{
    int count = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < S.size(); ++i) {
        bool delim = Delims.Contains(S[i]);
        if (!delim && !inWord && ++count == N)
            return static_cast<int>(i) + 1;
        inWord = !delim;
    }
    return 0;
}

std::string NthWord(int N, const std::string& S, const TCharSet& Delims)
{
    int start = WordStart(N, S, Delims);
    if (start == 0)
        return std::string();
    std::size_t end = start - 1;
    while (end < S.size() && !Delims.Contains(S[end]))
        ++end;
    return S.substr(start - 1, end - (start - 1));
}

std::string NextSubstr(const std::string& S, int& Pos, const TCharSet& Delims)
{
    int length = static_cast<int>(S.size());
    int start = Pos < 1 ? 1 : Pos;
    int i = start;
    while (i <= length && !Delims.Contains(S[i - 1]))
        ++i;
    std::string result = i > start ? S.substr(start - 1, i - start) : std::string();
    Pos = i <= length ? i + 1 : length + 1;
    return result;
}

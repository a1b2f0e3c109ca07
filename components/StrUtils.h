// Replacing, counting and extracting delimited words. A word is a maximal run
// of characters that are not delimiters; positions are 1-based.
#pragma once

#include <bitset>
#include <initializer_list>
#include <string>

// A set of 8-bit characters: the delimiters of the word routines.
class TCharSet {
public:
    TCharSet() = default;
    // The characters of a text: TCharSet(" ,").
    TCharSet(const char* chars);
    TCharSet(std::initializer_list<char> chars);
    bool Contains(char c) const { return bits_[static_cast<unsigned char>(c)]; }

private:
    std::bitset<256> bits_;
};

// Every occurrence of Find in S, found left to right and case-sensitively,
// replaced by Replacement; the search goes on after the inserted text. An
// empty Find changes nothing.
std::string ReplaceAll(const std::string& S, const std::string& Find, const std::string& Replacement);
int CountWords(const std::string& S, const TCharSet& Delims);
// Position of the first character of word N; 0 when N is 0 or S has fewer
// than N words.
int WordStart(int N, const std::string& S, const TCharSet& Delims);
// Word N; empty when there is none.
std::string NthWord(int N, const std::string& S, const TCharSet& Delims);
// The text from Pos up to the next delimiter (not included); Pos then moves
// past that delimiter, or to Length(S) + 1 at the end. A delimiter right at
// Pos gives an empty text.
std::string NextSubstr(const std::string& S, int& Pos, const TCharSet& Delims);

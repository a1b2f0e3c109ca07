// The common utility unit: program folder, field routines on text lines,
// case-insensitive string routines through the Windows locale, trims and
// character classes.
//
// Texts are CP1250 bytes. Positions are 1-based, 0 means "not found". Several
// routines keep positions and counters in one byte, as the maker's routines
// always did: they serve short lines (names, paths, INI lines) and raise
// ERangeError or EIntOverflow beyond that.
#pragma once

#include <cstdint>
#include <string>

// Folder of the running program, lower case, with a trailing backslash.
std::string GetProgramFolder();

void AddBackslash(std::string& s);
std::string PCharToString(const char* p);
int CountChar(char ch, const std::string& s);

// "key=value;more" lines: the text before the first ";" or "=", the text
// after the first "=" (else after the first ";"), and the N-th part.
std::string KeyPart(const std::string& s);
std::string ValuePart(const std::string& s);
std::string NthPart(std::uint8_t n, const std::string& s);

// The N-th field (1-based) of s split at delim.
std::string NthField(char delim, std::uint8_t n, const std::string& s);

bool EqualNoCase(const std::string& a, const std::string& b);
int PosNoCase(const std::string& sub, const std::string& s);
bool ContainsNoCase(const std::string& sub, const std::string& s);
void ReplaceAllNoCase(const std::string& oldText, const std::string& newText, std::string& s);

void TrimChar(std::string& s, char ch);
void TrimBlanks(std::string& s);
void KeepLettersOnly(std::string& s);
bool IsNotAlphaNumeric(char ch);

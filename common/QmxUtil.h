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

// ---------------------------------------------------------------------------
// Pattern find and replace (QmxPatterns.cpp).
//
// In a search pattern "^" followed by one of these letters (in either case)
// matches a class of characters: "?" any, "A" a letter or digit, "C" a digit
// 0-9, "L" a letter, "M" an upper-case letter, "Q" anything but a letter or
// digit. In a replacement "^D" inserts today's long date, "^K" the short date,
// "^I" and "^N" the caller's texts; "^R" and "^S" stand as the control
// characters 31 and 22, and a character 27 written in the replacement becomes
// a random capital letter. "^" before any other character stands for that
// character; a final "^" is dropped.

// The code string of a search pattern: literal characters and class codes.
std::string ExpandPatternCodes(const std::string& Pattern);
// Whether Ch matches one character of a code string.
bool MatchPatternChar(char Ch, char Code, bool CaseSensitive);
// The first substring of Text that matches Pattern; empty when none does.
std::string FindPattern(const std::string& Pattern, const std::string& Text, bool CaseSensitive);
// Replaces matches of Search in Text; Result receives the final Text. A plain
// search text is replaced once; a pattern with "^" codes at every match, each
// search starting again at the beginning of the text. A match lying wholly in
// the text just inserted is not replaced again (the search goes on after it),
// so a replacement that matches its own pattern ends.
void PatternReplace(const std::string& Search, const std::string& Replacement, std::string& Text, bool CaseSensitive,
                    const std::string& IText, const std::string& NText, std::string& Result);
// Replaces every match, not case-sensitive: through patterns when either text
// holds "^", else through ReplaceAllNoCase.
void ReplaceAllWithPatterns(const std::string& Search, const std::string& Replacement, std::string& S);

// ---------------------------------------------------------------------------
// File copies and backup copies (QmxFiles.cpp).

// Moves Source to Target, deleting Target first. False when Source does not
// exist (Target is then left alone) or when the move failed.
bool MoveFileReplacing(const std::string& Source, const std::string& Target);
// The file's size in bytes; -1 when it cannot be opened for reading and
// writing (missing, read-only or locked by another program).
std::int64_t GetFileSizeBytes(const std::string& FileName);
// Copies Source to Target through the LZ library, expanding a file that its
// compression made. The size written, or a negative LZ error code (-7 also
// for an empty name or a path of 128 characters or more), or minus the open
// error of a file that could not be opened (-2: not found).
int LZCopyFile(const std::string& Source, const std::string& Target);
// Copies FileName to "Kopia " + its name in the same folder, replacing an
// older copy. The copy's path; empty when FileName does not exist or the old
// copy cannot be deleted. Raises "Błąd biblioteki LZ %d" when the copy fails
// or has no bytes.
std::string MakeBackupCopy(const std::string& FileName);

// ---------------------------------------------------------------------------
// Date, size and numeral texts (QmxTexts.cpp). Date-time values are the class
// library's TDateTime (days since 30 December 1899); 0 stands for no date.

// X rounded to an integer, exact halves upwards: 2.5 gives 3, -2.5 gives -2.
// EIntOverflow beyond the 64-bit range.
std::int64_t RoundHalfUp(double X);
// The date in words relative to today (the class library's clock, so a test
// can fix it): "dzisiaj", "wczoraj", "za tydzień", "%d dni temu",
// "za %d miesięcy " and so on; "-" for 0.
std::string RelativeDateText(double DateValue);
// FormatDateTime with three more codes, each replaced at its first
// occurrence only: "mmmmm" the month's name in the genitive, "%r" and "%R"
// the month as a lower- or upper-case Roman numeral. In the result "#" becomes
// a double quote and "`" an apostrophe. "-" for 0. A code starting after
// position 255 or a result longer than 255 characters raises ERangeError.
std::string FormatDateTimeEx(const std::string& Fmt, double DateTime);
// The size in bytes, kilobytes, megabytes or gigabytes (one decimal, the
// locale's separator), with unit words ("kilobajtów") or short units ("kB").
// Sizes of 2 GB and more are files of today's disks too: 64 bits.
std::string SizeToText(std::int64_t Bytes, bool Words);
// The Roman numeral of N from 1 to 3998, otherwise N in decimal digits.
std::string IntToRoman(int N);
// The date-time of an HTTP "Last-Modified" header line ("Last-Modified: Wed,
// 08 Dec 1999 14:05:09 GMT"); 0 when it cannot be read, years before 1999
// included. Never raises.
double ParseLastModified(const std::string& Line);

// ---------------------------------------------------------------------------
// Start-up and shutdown of the unit (QmxStartup.cpp). A program starts the
// forms unit, the font unit (QmxFonts.h) and then this one, in this order:
//
//     StartUnit(InitFormsUnit, DoneFormsUnit);
//     StartUnit(AddStartupFonts, RemoveStartupFonts);
//     StartUnit(InitCommonUnit, DoneCommonUnit);
//
// The maker's cursors come with the common library as resources (drawn by
// QmxCursors.py when the library is built) and are loaded into the screen's
// cursor table under fixed numbers (resource names in brackets): 3 (HAND),
// 4 (ITEM), 111-120 (CRD_01-CRD_10), 121-130 (PAP_01-PAP_10), 131-140
// (HP01-HP10), 141-149 (KELN01-KELN09), 150 (DRAGSONG), 151 (DRAGSONGS),
// 159 (GLOSNIK), 161 (HELP), 171 (MONITOR), 181 (SAVE), 191 (READ) and
// 211-220 (DUPEK01-DUPEK10). A number whose cursor is missing shows the arrow.

#include <bitset>

// Read from QMX.INI [common] Katalog in the Windows folder, at most 78
// characters; empty without one.
extern std::string CommonCatalog;
// The application's title, filled by GetAppTitleBuffer.
extern std::string AppTitleBuffer;
// The Windows folder with a trailing backslash.
extern std::string WindowsFolder;
// Every code that is neither a letter nor a digit (code 0 aside); the codes
// from 128 up as the locale sees them once the unit has started.
extern std::bitset<256> NonAlphaNumericSet;

// Asks before a second copy of the same program file runs (halting unless
// the user agrees), shows the hourglass, makes the date formats show
// four-digit years, reads the catalog, records the program's path under
// QmxPathsKey with its product name, and loads the maker's cursors.
void InitCommonUnit();
// Deletes the running-copy atom, unless the program halted at the question
// (the atom is then the other copy's).
void DoneCommonUnit();
// Gives the application's hidden window a caption style.
void AddCaptionToAppWindow();
// Copies the application's title into AppTitleBuffer and returns it.
const char* GetAppTitleBuffer();
// Reads CommonCatalog.
void ReadCommonCatalog();

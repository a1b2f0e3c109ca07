// Unit AdvUtil: the free routines that only the grid uses. Numbers in cell
// texts, line breaks and quotes for the clipboard and CSV files, the row
// filter's condition language, the step of a pasted date series, and drawing
// a bitmap with a transparent colour. Texts are code page 1250 bytes.
#pragma once

#include <string>

#include "classlib/Graphics.h"
#include "classlib/SysUtils.h"

// 0 a whole number, 1 a decimal number, 2 not a number. A thousand separator
// must stand at least three places after the one before it (so never first);
// a text with more than one "-" or more than one decimal separator is no
// number; the empty text is a whole number. The characters allowed besides
// digits are "-" (whole) and "," "-" "." (decimal), so a blank or a
// non-breaking blank as thousand separator is never part of a number.
int TextNumberKind(const std::string& S, char ThousandSeparator, char DecimalSeparator);
// With the locale's separators.
int TextNumberKind(const std::string& S);

// The whole text as a floating-point number in the standard form: blanks
// first, an optional sign, digits with "." as the decimal point, an optional
// exponent, nothing after. Independent of the C library's locale.
bool TextToFloat(const std::string& S, double& Value);

// Every backslash followed by "n" becomes one CR.
std::string UnescapeLineBreaks(const std::string& S);
// Every character of S becomes Ch.
void FillChars(std::string& S, char Ch);
// From the OEM code page to the ANSI one.
void OemToAnsiText(std::string& S);
// S without every Ch that directly follows a Ch (the first character stays).
std::string CollapseDoubled(char Ch, const std::string& S);
// Drops the CR of every CR LF, then puts S in double quotes.
void QuoteMultiLine(std::string& S);
// Every LF becomes CR LF (an existing CR LF becomes CR CR LF).
void LFToCRLF(std::string& S);
// Every "~" becomes CR LF.
void TildeToCRLF(std::string& S);
// a-z to A-Z, nothing else.
std::string UpperASCII(const std::string& S);
// Line := S up to its first CR (all of S without one). With a CR, S loses
// the line, the CR and one LF right after it, and keeps the rest only when
// KeepRest; otherwise, and without a CR, S becomes empty.
void TakeLine(std::string& S, bool KeepRest, std::string& Line);
// 1 unless Multiline; then 1 + the number of CRs.
int LineCount(const std::string& S, bool Multiline);
// The 1-based position of the first single Ch (0 for none): one at the last
// position, or one not first whose neighbours are not Ch.
int FindSingle(char Ch, const std::string& S);
// How many single Ch S holds, counting each one found and cutting S after it.
int CountSingle(char Ch, const std::string& S);
// Whether Value satisfies the filter condition: comparisons ">", ">=", "<",
// "<=" (numbers when both sides are, else texts byte by byte), combined by
// "&" (both), "^" (either), "!" (negation), or else a pattern where "*"
// matches any run, "?" any one character and "!" inverts the result.
bool MatchFilter(const std::string& Condition, const std::string& Value);

// The next date of a series from Date, given the year, month and day
// differences between the series' first two dates and their full difference
// Step. A day the resulting month lacks raises EConvertError.
TDateTime NextSeriesDate(int dYears, int dMonths, int dDays, TDateTime Step, TDateTime Date);

// Draws Bitmap with its top left at Origin, its pixels of the colour of its
// pixel (0, 0) in BackColor.
void DrawTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BackColor, TPoint Origin);

// The beep of a refused character in the grid and its controls; a test may
// put a counter in its place. SetGridBeeper(nullptr) restores the system's
// beep and gives the one it replaced.
using TGridBeeper = void (*)();
TGridBeeper SetGridBeeper(TGridBeeper beeper);
void GridBeep();

// The room an edit's text needs in a font: its text height M plus the
// smaller of M and the system font's text height, div 4.
int EditTextRoom(TFont* Font);

// Puts a setting back when it goes, on every way out.
template <class T>
class TRestore {
public:
    explicit TRestore(T& value) : value_(value), saved_(value) {}
    ~TRestore() { value_ = saved_; }
    TRestore(const TRestore&) = delete;
    TRestore& operator=(const TRestore&) = delete;

private:
    T& value_;
    T saved_;
};

// A text shown as a link: it holds a web address ("://") or a mail one.
inline bool IsURLText(const std::string& text)
{
    return text.find("://") != std::string::npos || text.find("mailto:") != std::string::npos;
}

// Run-time unit of the class library: the errors it raises, formatted text,
// number and date-time conversions with the locale's settings, the clock,
// file names, the command line and the random generator.
//
// Texts are CP1250 bytes and go through the A functions of Windows.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>

// Base of every error the programs raise; carries a message for the user.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A value outside its range: positions and counters kept in a byte.
class ERangeError : public Exception {
public:
    ERangeError() : Exception("Range check error") {}
};

// Integer arithmetic that overflowed its type.
class EIntOverflow : public Exception {
public:
    EIntOverflow() : Exception("Integer overflow") {}
};

// A file that could not be created, opened, written or closed; ErrorCode is
// the system's error code.
class EInOutError : public Exception {
public:
    explicit EInOutError(unsigned long errorCode)
        : Exception("I/O error " + std::to_string(errorCode)), ErrorCode(errorCode) {}
    unsigned long ErrorCode;
};

// A text that is not what it should convert to (a number, a date), or an
// object that cannot be assigned to another.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list, or a duplicate a sorted list refuses.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// Streams: reading past the end, a write that failed, a file that could not
// be opened or created.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// A failed assertion: the text, and in brackets the unit it failed in.
class EAssertionFailed : public Exception {
public:
    EAssertionFailed(const std::string& text, const std::string& unit) : Exception(text + " (" + unit + ")") {}
};

// A failed system call; ErrorCode is its GetLastError code.
class EOSError : public Exception {
public:
    EOSError(std::string message, unsigned long errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    unsigned long ErrorCode;
};

// The system's message text for an error code, without the trailing line
// end and full stop; empty when the system has none.
std::string SysErrorMessage(unsigned long errorCode);
// Raises EOSError for the calling thread's last error (GetLastError), or for
// the given code.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(unsigned long errorCode);

// Upper- and lower-case forms through the Windows locale (Polish letters fold
// like ASCII ones).
std::string AnsiUpperCase(std::string s);
std::string AnsiLowerCase(std::string s);
// The order of the Windows locale, letter case ignored, as the system sorts
// and compares names: below, at or above 0.
int AnsiCompareText(const std::string& a, const std::string& b);
// The text without the blanks and tabs around it.
std::string TrimBlanksAndTabs(const std::string& text);

// A text of the program's code page in UTF-16, and back (length characters
// of a UTF-16 text, which need not end in a zero).
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const wchar_t* text, size_t length);

// ---------------------------------------------------------------------------
// The locale's format settings.

struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::string ShortDateFormat;
    std::string LongDateFormat;
    std::string ShortTimeFormat;
    std::string LongTimeFormat;
    std::string TimeAMString;
    std::string TimePMString;
    std::string ShortMonthNames[12];  // [0] is January
    std::string LongMonthNames[12];
    std::string ShortDayNames[7];  // [0] is Sunday
    std::string LongDayNames[7];
};

// The settings every conversion uses. Read from the user's locale on first
// use; the programs may change them (four-digit years) and re-read them.
TFormatSettings& FormatSettings();
// Reads the user's locale (GetLocaleInfoA) into FormatSettings() again.
void GetFormatSettings();

// ---------------------------------------------------------------------------
// Formatted text.

// One argument of Format: an integer, a floating-point number or a text.
class FormatArg {
public:
    enum class Kind { Integer, Float, Text };
    FormatArg(int v) : kind_(Kind::Integer), int_(v) {}
    FormatArg(unsigned v) : kind_(Kind::Integer), int_(v) {}
    FormatArg(long v) : kind_(Kind::Integer), int_(v) {}
    FormatArg(unsigned long v) : kind_(Kind::Integer), int_(static_cast<long long>(v)) {}
    FormatArg(long long v) : kind_(Kind::Integer), int_(v), wide_(true) {}
    FormatArg(unsigned long long v) : kind_(Kind::Integer), int_(static_cast<long long>(v)), wide_(true) {}
    FormatArg(double v) : kind_(Kind::Float), float_(v) {}
    FormatArg(char c) : kind_(Kind::Text), text_(1, c) {}
    FormatArg(const char* s) : kind_(Kind::Text), text_(s ? s : "") {}
    FormatArg(std::string s) : kind_(Kind::Text), text_(std::move(s)) {}

    Kind kind() const { return kind_; }
    long long Int() const { return int_; }
    // A 64-bit integer; a 32-bit one shows as 32 bits in %x and %u.
    bool Wide() const { return wide_; }
    double Float() const { return float_; }
    const std::string& Text() const { return text_; }

private:
    Kind kind_;
    long long int_ = 0;
    bool wide_ = false;
    double float_ = 0;
    std::string text_;
};

// Formats args into fmt. Each "%" starts a code: "%" ["-"] [width] ["." precision]
// type, or "%%" for a percent sign. Types:
//   d  decimal integer; the precision is the least number of digits (zero-padded)
//   u  unsigned decimal integer, likewise
//   x  hexadecimal integer in lower-case digits (X: upper-case), likewise
//   s  text; the precision is the most characters taken
//   f  fixed-point number with precision decimals (default 2), the locale's
//      decimal separator, exact halves rounded away from zero; takes integers too
// The width pads with blanks on the left ("-": on the right). A code that is
// malformed, has no argument left or does not fit its argument raises
// EConvertError. Either Format("%d: %s", 5, "x") or Format("%d: %s", {5, "x"}).
std::string Format(const std::string& fmt, std::initializer_list<FormatArg> args);
template <class... Args>
std::string Format(const std::string& fmt, const Args&... args)
{
    return Format(fmt, std::initializer_list<FormatArg>{FormatArg(args)...});
}

// ---------------------------------------------------------------------------
// Numbers and text.

std::string IntToStr(long long value);
// Upper-case hexadecimal digits, at least `digits` of them.
std::string IntToHex(std::uint32_t value, int digits);
// A decimal integer with an optional sign; "$", "0x" or "x" before the digits
// makes them hexadecimal (up to FFFFFFFF, read as 32 bits). Leading blanks
// are skipped; anything else, or a value outside the 32-bit range, is not an
// integer: StrToInt raises EConvertError, StrToIntDef gives the default.
int StrToInt(const std::string& s);
int StrToIntDef(const std::string& s, int defaultValue);
bool TryStrToInt(const std::string& s, int& value);

// General format with 15 significant digits and the locale's decimal
// separator: fixed-point without trailing zeros, or scientific ("1,5E-7")
// for values below 0.00001 or with more than 15 integer digits.
std::string FloatToStr(double value);
// The same with another number of significant digits (1 to 18).
std::string FloatToStrG(double value, int precision);
// Blanks at either end, an optional sign, digits with at most one locale
// decimal separator, an optional exponent ("E", sign, digits). StrToFloat
// raises EConvertError for any other text.
double StrToFloat(const std::string& s);
bool TryStrToFloat(const std::string& s, double& value);

// ---------------------------------------------------------------------------
// Date and time: days since 30 December 1899, the time of day as the fraction.

using TDateTime = double;

bool IsLeapYear(int year);
// Years 1 to 9999; an invalid date raises EConvertError (Try...: false).
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
// Hours 0-23, minutes and seconds 0-59, milliseconds 0-999.
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value);
// Taken to the nearest millisecond first, so a value a hair before midnight
// decodes as the next day at 0:00. Before 30 December 1899 the day is the
// whole part towards zero and the time the fraction's absolute value.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
// 1 for Sunday to 7 for Saturday.
int DayOfWeek(TDateTime value);

// The clock behind Now, Date and Time: the system's local time unless a test
// put another in its place. SetClock(nullptr) restores the system clock;
// SetClock gives back the one it replaced.
using TClock = TDateTime (*)();
TClock SetClock(TClock clock);
TDateTime Now();
TDateTime Date();  // today at midnight
TDateTime Time();  // the time of day only

// Formats with these codes (letters in any case, except as noted):
//   d dd       day without / with a leading zero
//   ddd dddd   short / long day name;  ddddd  short date;  dddddd  long date
//   m mm       month without / with a leading zero; right after an hour code
//              (h, hh, with only non-letters between) m and mm are minutes
//   mmm mmmm   short / long month name
//   yy yyyy    two-digit / four-digit year
//   h hh       hour (12-hour clock when an am/pm code follows before the next h)
//   n nn       minute;  s ss  second;  z zzz  millisecond
//   t tt       short / long time format;  c  short date and long time
//   am/pm a/p  "am"/"pm" or "a"/"p" in the case written; ampm: the locale's texts
//   /          the locale's date separator;  :  the locale's time separator
//   "..." '...'  literal text
// Any other character stands for itself. An empty format is "c".
std::string FormatDateTime(const std::string& format, TDateTime value);
std::string DateToStr(TDateTime value);      // short date
std::string TimeToStr(TDateTime value);      // long time
std::string DateTimeToStr(TDateTime value);  // short date and, unless midnight, long time

// Reading dates and times back, blanks allowed around the parts:
//   a date is two or three numbers joined by the locale's date separator, in
//   the order of the short date format; two numbers are day and month of the
//   current year (from the clock); a year of one or two digits lies within
//   50 years of the current year;
//   a time is hour and minute, optionally seconds and ".milliseconds", joined
//   by the locale's time separator, optionally followed by an am/pm text (the
//   locale's, or am/pm/a/p) for a 12-hour clock;
//   a date-time is a date, a date followed by a time, or a time alone.
// StrTo... raise EConvertError for any other text.
bool TryStrToDate(const std::string& s, TDateTime& value);
bool TryStrToTime(const std::string& s, TDateTime& value);
bool TryStrToDateTime(const std::string& s, TDateTime& value);
TDateTime StrToDate(const std::string& s);
TDateTime StrToTime(const std::string& s);
TDateTime StrToDateTime(const std::string& s);

// ---------------------------------------------------------------------------
// File names, files and folders.

// The part up to and including the last "\" or ":" (the folder with its
// backslash), and the rest (the name).
std::string ExtractFilePath(const std::string& fileName);
std::string ExtractFileName(const std::string& fileName);
// The folder without its trailing backslash, unless it is a root ("c:\").
std::string ExtractFileDir(const std::string& fileName);
// From the name's last "." on ("." included); empty when the name has none.
std::string ExtractFileExt(const std::string& fileName);
// The name with its extension replaced by ext (or ext appended).
std::string ChangeFileExt(const std::string& fileName, const std::string& ext);
// The full path of fileName against the current folder.
std::string ExpandFileName(const std::string& fileName);

// Whether fileName names a device rather than a file: its last element is a
// reserved device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1 to COM9,
// LPT1 to LPT9, in any letter case, with any extension or trailing blanks
// or colon), or it is in the device namespace ("\\.\"). The system finds
// such a name in every folder, and opening it reaches the device, which may
// block for good: callers treat it as a missing file.
bool IsDeviceName(const std::string& fileName);
// A file, not a folder; a device name is none.
bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& dirName);   // a folder
// Creates the folder and every missing folder above it; true when it exists
// afterwards (false for an empty name).
bool ForceDirectories(const std::string& dirName);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& dirName);

// The last modification time of a file in local time as a DOS date-time
// (date in the high word, time in the low word, 2-second steps); -1 when the
// file does not exist or is a device name.
int FileAge(const std::string& fileName);
// A DOS date-time as a date-time; EConvertError when it is no valid date.
TDateTime FileDateToDateTime(int fileDate);

// ---------------------------------------------------------------------------
// The command line.

// Number of arguments after the program name.
int ParamCount();
// Argument `index` of the command line: blanks and tabs separate arguments,
// double quotes group blanks into one and are dropped, backslashes are plain
// characters (folder names end in them). ParamStr(0) is the full path of the
// program file; an index out of range gives the empty text.
std::string ParamStr(int index);

// ---------------------------------------------------------------------------
// Random numbers: a linear congruential generator over RandSeed, so a fixed
// seed gives a fixed sequence.

extern std::uint32_t RandSeed;
// Seeds the generator from the clock.
void Randomize();
// A number from 0 to range - 1 (0 when range <= 0).
int Random(int range);

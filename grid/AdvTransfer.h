// The grid's text formats without a window: the plain clipboard text (one
// line per row, cells separated by TAB) and the lines of a CSV file.
//
// Lines end at CR LF or at a lone CR; a bare LF stays inside its line, where
// it stands for a line break inside a cell. A line break at the very end
// ends the text: no empty line follows it. A text ends at its first zero
// byte, as a block from another program may carry bytes after it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

class TLineReader {
public:
    explicit TLineReader(std::string_view text);
    // The next line without its line break; false at the end.
    bool Next(std::string_view& line);

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// The number of lines of a text and the most fields (split at Sep) that one
// of them has.
void MeasureLines(std::string_view text, char Sep, int& Lines, int& Fields);
// The fields of a line split at every Sep (one field for a line without it).
void SplitAt(std::string_view line, char Sep, std::vector<std::string_view>& fields);

// The number of Sep in a CSV line outside double-quoted fields.
int CountSeparators(std::string_view line, char Sep);
// The field separator of a CSV file, from its first line and, when the file
// has one, its second: of ",", ";", "#", TAB and "|", in that order, the one
// that both lines hold equally often and more often than any before it (a
// one-line file: its own count decides); 0 when none does.
char DetectCSVSeparator(std::string_view first, std::string_view second, bool hasSecond);
// The fields of a CSV line. A field that starts with a double quote is
// enclosed: a doubled quote inside stands for one, the first single quote
// closes it (what follows up to the next separator is dropped), and a field
// that never closes takes the rest of the line. Other fields run to the
// next separator, quotes and all. Nothing follows a separator at the end.
// Sep 0 (none found): the whole line is one field.
void SplitCSVLine(std::string_view line, char Sep, std::vector<std::string>& fields);

// A worksheet's cell address ("$B$7" or "B7"): column from 1 (A = 1,
// Z = 26, AA = 27) and row from 1; false when it does not read.
bool ParseCellAddress(std::string_view address, int& Col, int& Row);
// A range address ("$A$1:$D$20"), or a single cell taken as a range of one
// cell; false when it does not read.
bool ParseRangeAddress(std::string_view address, int& Col1, int& Row1, int& Col2, int& Row2);
// The column letters of a column from 1: A to Z, then AA, AB and so on.
std::string ColumnName(int Col);

// The lines of an open file, read a block at a time, ending as above. A
// failed read raises EInOutError with the system's error code.
class TFileLineReader {
public:
    explicit TFileLineReader(HANDLE file) : file_(file) {}
    bool Next(std::string& line);
    // Back to the file's start.
    void Rewind();

    // How blocks are read (ReadFile's arguments and result); a test may put
    // one in place that fails part-way, as a disk or a lock would. Gives the
    // one it replaced; nullptr restores ReadFile.
    using TBlockReader = BOOL (*)(HANDLE file, void* buffer, DWORD size, DWORD* read);
    static TBlockReader SetBlockReader(TBlockReader reader);

private:
    bool Fill();

    static constexpr DWORD BlockSize = 64 * 1024;
    HANDLE file_;
    std::string buffer_;
    size_t pos_ = 0;
};

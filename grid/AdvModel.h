// The parts of the grid that need no window: the comparison of two cell
// texts by sort style, the cell that Enter advances to, the hidden-row index
// mapping and the row-selection flags. The grid (AdvGrid.h) feeds them its
// cells and settings; the tests drive them as tables.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/SysUtils.h"

// Sort styles of a column, as OnGetFormat may set them.
enum TSortStyle {
    stDetect,
    stText,
    stNumber,
    stShortDate,
    stTextUpper,
    stTextExact,
    stDateDMY,
    stDateMDY,
    stCustom,
    stNumberGrouped,
    stLocaleText,
    stLocaleTextNoCase,
    stRowCompare,
    stMarkupText
};

// What a comparison of texts needs besides the texts.
struct TCompareSettings {
    std::string Prefix, Suffix;  // taken off numbers before they are read
    char ThousandSeparator = ',';
    char DecimalSeparator = '.';
    // The locale's, as the system sets them.
    static TCompareSettings Locale();
};

// The style stDetect chooses for a text: a number gives stNumber, a digit,
// "/" and digit (the "/" neither first nor last) stShortDate, else stText.
TSortStyle DetectSortStyle(const std::string& a, char thousandSeparator, char decimalSeparator);

// 1 when A is greater, -1 when B is, 0 when equal, by one of the styles that
// compare texts alone (all but stDetect, stCustom and stRowCompare; markup is
// expected already taken off for stMarkupText). A style above stMarkupText
// makes A the greater. A number or date that cannot be read counts as 0 (a
// number only when its text is empty; otherwise the cells are equal).
int CompareTexts(TSortStyle style, const std::string& a, const std::string& b, const TCompareSettings& settings);

// Reads a number as the numeric styles do: prefix and suffix dropped, for
// stNumberGrouped the thousand separators too, the decimal separator made a
// point, then the whole text as a floating-point number.
bool ReadSortNumber(std::string text, bool grouped, const TCompareSettings& settings, double& value);

// The grid's counts and Enter settings, for AdvanceTarget.
struct TAdvanceFrame {
    int ColCount = 0, RowCount = 0;
    int FixedCols = 0, FixedRows = 0, FixedRightCols = 0, FixedFooters = 0;
    bool TopBottom = false;  // adTopBottom, else adLeftRight
    bool Insert = false;     // AdvanceInsert
};

// The cell after (or before) (col, row) for Enter. Grow tells that the step
// adds a row (left-right) or a column (top-bottom) first, as AdvanceInsert
// does at the last data cell.
struct TAdvanceStep {
    int Col = 0, Row = 0;
    bool GrowRow = false, GrowCol = false;
};
TAdvanceStep AdvanceTarget(const TAdvanceFrame& frame, int col, int row, bool forward);

// Hidden rows by real index (the index counted with every hidden row in
// place), kept ascending.
int DisplayRowOf(const std::vector<int>& hidden, int realRow);
int RealRowOf(const std::vector<int>& hidden, int displayRow);

// A hidden row belongs with the shown row above it: it lies in a gap, gap g
// following the first g shown rows (gap 0 before them all). When shown rows
// are inserted, removed or moved, NewGap gives each gap's gap afterwards;
// hidden rows that come to one gap keep their order. Gives the real indexes
// afterwards, in the order of the ascending `hidden`.
std::vector<int> MoveHiddenRows(const std::vector<int>& hidden, const std::function<int(int)>& NewGap);

// Where the row or column at Index goes when the one at From moves to To:
// those between move by one to make room.
int MovedIndex(int Index, int From, int To);
// Where the row or column at Index goes when Count of them are removed at
// At; -1 when it is one of them (or was -1).
int IndexAfterRemoval(int Index, int At, int Count);

// Flags by row, cleared until set; reading or writing past the end grows
// the list.
class TRowFlags {
public:
    bool Get(int row);
    void Set(int row, bool value);
    void Remove(int row);
    void Exchange(int a, int b);
    int Count() const { return static_cast<int>(flags_.size()); }

private:
    void Grow(int row);
    std::vector<bool> flags_;
};

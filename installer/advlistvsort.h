// The comparisons of the extended list view's sort, without windows: two
// cell texts of one column compared by the column's sort style.
#pragma once

#include <string>

#include "classlib/Classes.h"
#include "classlib/Events.h"

// The style of one column's comparison. Scoped: the grid's sort styles have
// the same member names.
enum class TSortStyle {
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
};
enum TSortDirection { sdAscending, sdDescending };

// (Sender, ACol, AStyle, aPrefix, aSuffix): the style of a data column.
using TFormatEvent = TEvent<TObject*, int, TSortStyle&, std::string&, std::string&>;
// (Sender, ACol, str1, str2, res) for stCustom.
using TCustomCompareEvent = TEvent<TObject*, int, const std::string&, const std::string&, int&>;

// A cell text as a number for stNumber (grouped: stNumberGrouped): the first
// suffix and then the first prefix taken out (when not empty), with grouped
// every thousands separator of the system settings, the system's decimal
// separator read as "."; an empty text is 0. False when what remains is no
// number.
bool CellNumber(const std::string& text, const std::string& prefix, const std::string& suffix, bool grouped,
                double& value);
// A cell text as a date for the date styles; 0 when it is none.
double CellDate(TSortStyle style, const std::string& text);

// One comparison of a sort, before the direction: the style and the
// affixes asked from getFormat (stText and none when it sets nothing), then
// the texts compared by it: -1, 0 or 1 (any other result of a custom
// handler passes through).
int CompareCells(TObject* sender, int column, const std::string& text1, const std::string& text2,
                 const TFormatEvent& getFormat, const TCustomCompareEvent& customCompare);

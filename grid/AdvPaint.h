// The painter of one grid cell on a canvas and the geometry it uses: what a
// cell shows comes in as a TCellPaint (text, colours already on the canvas,
// placement settings), pixels go out. No grid and no window is needed.
#pragma once

#include <functional>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"

// The settings of the text placement, as the grid's properties give them.
struct TCellPaint {
    TRect Rect{};
    std::string Text;  // as shown: display text, password characters
    TAlignment Alignment = taLeftJustify;
    int VAlign = 1;  // 0 centre, 1 top, 2 bottom (TVAlignment)
    bool WordWrap = false;
    bool Multiline = false;
    bool EnhTextSize = false;
    bool URLShow = false;
    bool URLFull = false;
    bool SortHeader = false;  // the header of the sort column with its mark shown
    bool DrawText = true;     // false for cell objects that replace the text
    // A cell object beside, over or under the text: its size and positions
    // (0 none, 3 before / under the text, 4 after / over it).
    int ObjectWidth = 0, ObjectHeight = 0;
    int ObjectHPos = 0, ObjectVPos = 0;
};

// The format flags of the text drawing: alignment, no prefix, tabs, and the
// vertical placement; word breaks with WordWrap, else one line unless
// Multiline.
UINT CellTextFlags(TAlignment alignment, int vAlign, bool wordWrap, bool multiline);

// The rectangle the text goes into, and the room a one-line text has.
TRect CellTextRect(const TCellPaint& paint, int& room);

// A one-line text as it fits the room: the link's scheme taken off when
// links show without it, then with EnhTextSize characters cut from the end
// with "..." after what is left, until it fits (nothing when not even one
// character does). Width measures a text in the cell's font.
std::string ShortenLine(const std::string& text, int room, bool urlShow, bool urlFull, bool enhTextSize,
                        const std::function<int(const std::string&)>& width);

// Fills the cell with the canvas brush and draws its text with the canvas
// font; gives the width of the line drawn (0 for several lines).
int PaintPlainCell(TCanvas* canvas, const TCellPaint& paint);

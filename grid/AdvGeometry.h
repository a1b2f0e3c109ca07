// Where the grid's cell painting puts things: sizes and settings in,
// rectangles and points out. No canvas, no window.
#pragma once

#include <vector>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"

// The left of a cell object by its horizontal position (0 left, 1 right,
// 2 centre, 3 before the text, 4 after it); textWidth is the cell's text
// width plus 3.
int ObjectLeft(const TRect& r, int position, int width, int textWidth, TAlignment alignment);
// The top of a cell object by its vertical position (0 top, 1 bottom,
// 2 centre, 3 under the text, 4 over it); lineHeight is the height of a line
// of the cell's font.
int ObjectTop(const TRect& r, int position, int height, int lineHeight);
// The left of a check box (kind 4 with its text, kind 5 alone), which goes by
// the cell's alignment; never left of r.left + 1.
int CheckBoxLeft(const TRect& r, int kind, int width, int textWidth, TAlignment alignment);
// A square of side size centred in a rectangle (halves towards zero).
TRect CenteredSquare(const TRect& place, int size);

// One item of a radio group: the circle's top-left and where its text goes.
struct TRadioItemPlace {
    TPoint Circle;
    TPoint Text;
};
// The items of a radio group in a cell: laid out across (each item after the
// text widths of those before it) or down (lines of lineHeight). Without an
// item list (texts empty, count items) the circles of a column are centred.
std::vector<TRadioItemPlace> RadioLayout(const TRect& r, bool across, const std::vector<int>& textWidths, int count,
                                         int lineHeight);

// The 8 x 8 box of a node cell.
TRect NodeBox(const TRect& r);

// Where the sort mark of a plain header goes: x from the cell's alignment and
// the width of its drawn line, y from the vertical alignment (0 centre,
// 1 top, 2 bottom).
TPoint SortMarkPoint(const TRect& cell, TAlignment alignment, int vAlign, int lineWidth);
// The same after an HTML text of width drawnWidth drawn into r (moved in).
TPoint HtmlSortMarkPoint(const TRect& r, int vAlign, int drawnWidth);

// A copy of a piece of the background bitmap onto the canvas.
struct TBitmapPiece {
    TRect Dest;
    TRect Source;
};
// The tiles that cover a cell, the first of each row of tiles starting at
// (xo, yo) inside the bitmap, so that the tiling runs on from the cells
// before it.
std::vector<TBitmapPiece> TilePieces(const TRect& cell, int xo, int yo, int bitmapWidth, int bitmapHeight);
// Where a tile starts inside the bitmap for a cell lying after before pixels
// of data cells.
int TileOffset(int before, int tileSize);
// The part of a bitmap placed at (left, top) that falls inside a cell; false
// when they do not meet.
bool FixedPiece(const TRect& cell, int left, int top, int bitmapWidth, int bitmapHeight, TBitmapPiece& piece);

// The rectangle, in twips, a rich-text cell is formatted into: the device
// rectangle with a margin of margin device pixels at its left and top,
// converted at ppiX / ppiY pixels per inch; each quotient rounded.
TRect RichTextRangeTwips(const TRect& deviceRect, int ppiX, int ppiY, int margin);

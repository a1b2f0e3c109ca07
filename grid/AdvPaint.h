// The painter of one grid cell on a canvas and the geometry it uses: what a
// cell shows comes in as a TCellPaint (text, colours already on the canvas,
// placement settings), pixels go out. No grid and no window is needed.
#pragma once

#include <functional>
#include <string>
#include <vector>

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
    bool Fill = true;         // the cell filled with the brush first
    // A cell object beside, over or under the text: its size and positions
    // (0 none, 3 before / under the text, 4 after / over it).
    int ObjectWidth = 0, ObjectHeight = 0;
    int ObjectHPos = 0, ObjectVPos = 0;
    bool NeedWidth = false;  // a sort mark or an object goes after the text
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
// When shownWidth is given it receives the width of the result (measured only
// when the shortening did not measure it already). Fit, when given, tells how
// many leading characters of a text fit an extent, so that a long text is cut
// in a few measures instead of one per character; the result is the same.
std::string ShortenLine(const std::string& text, int room, bool urlShow, bool urlFull, bool enhTextSize,
                        const std::function<int(const std::string&)>& width, int* shownWidth = nullptr,
                        const std::function<int(const std::string&, int)>& fit = nullptr);

// Fills the cell with the canvas brush (unless Fill is off) and draws its
// text with the canvas font; gives the width of the line drawn when
// NeedWidth is set (0 for several lines, and when not asked for).
int PaintPlainCell(TCanvas* canvas, const TCellPaint& paint);

// The sort mark centred at (x, y): a triangle in white and grey, pointing up
// (ascending) or down, or the glyph when it holds a picture (drawn
// transparently, its top-left at (x - 4, y - 4)).
void PaintSortMark(TCanvas* canvas, int x, int y, bool descending, TBitmap* glyph);

// The sides of a cell that a frame or border names.
struct TCellSides {
    bool Left = false, Right = false, Top = false, Bottom = false;
};

// The selection frame: black lines 2 wide just inside the sides named.
void PaintSelectionFrame(TCanvas* canvas, const TRect& r, TCellSides sides);

// Cell borders in the canvas pen, inside the cell so that grid lines drawn
// later do not cover them: the rectangle shrunk by half the pen width, then
// the left, right, top and bottom lines named.
void PaintCellBorders(TCanvas* canvas, TRect r, TCellSides sides);

// The edges of a fixed cell: raised inner edges on the sides named (Ctl3D),
// else black lines one pixel outside the cell.
void PaintFixedEdges(TCanvas* canvas, const TRect& r, bool ctl3D, bool vertical, bool horizontal);

// A standard check-box square of 15 x 15 centred in place.
void PaintCheckBox(TCanvas* canvas, const TRect& place, bool ticked);
// A standard radio-button circle of 10 x 10 at (x, y).
void PaintRadioButton(TCanvas* canvas, int x, int y, bool selected);

// A node cell's look; the brush colour is the node colour.
struct TNodePaint {
    int Type = 0;  // TNodeType: 0 flat, 1 raised, 2 glyphs
    TColor Color = 0;
    TColor NodeColor = 0;
    bool Contracted = false;
    TBitmap* ExpandGlyph = nullptr;
    TBitmap* ContractGlyph = nullptr;
    TColor GridColor = 0;  // the glyphs' transparent colour
};
void PaintNode(TCanvas* canvas, const TRect& r, const TNodePaint& node);

// Text at (x, y) turned by angle degrees, clipped to r, in the canvas font.
void PaintRotatedText(TCanvas* canvas, int x, int y, int angle, const std::string& text, const TRect& r);

// The pieces of a background bitmap copied onto the canvas.
struct TBitmapPiece;
void PaintBitmapPieces(TCanvas* canvas, TBitmap* bitmap, const std::vector<TBitmapPiece>& pieces);

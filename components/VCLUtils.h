// Drawing and window routines: what lies behind a windowless control,
// disabled-look bitmaps, a checker brush, rectangle sizes, message removal,
// window centring, text shortening and the active-window test.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/Graphics.h"

class TControl;
class TCustomImageList;

// Paints onto Canvas what lies behind the windowless Control: its parent's
// background and picture, then the parent's windowless controls that come
// before it and overlap it. Nothing for a control without a parent.
void PaintParentBackground(TControl* Control, TCanvas* Canvas);

// A new bitmap of the source's size with the embossed "disabled" look: the
// pixels of OutlineColor drawn in ShadowColor (and, with DrawHighlight, once
// more in HighlightColor one pixel down and right, below them) on BackColor.
// The caller owns it.
TBitmap* MakeDisabledBitmap(TBitmap* Source, TColor OutlineColor, TColor BackColor, TColor HighlightColor,
                            TColor ShadowColor, bool DrawHighlight);
// The same on clBtnFace, in clBtnHighlight and clBtnShadow.
TBitmap* MakeDisabledGlyph(TBitmap* Source, TColor OutlineColor);
// Draws image Index of Images in the disabled look at (X, Y): its opaque
// pixels in GrayColor, with DrawHighlight also in HighlightColor one pixel
// down and right, below them.
void DrawImageDisabled(TCustomImageList* Images, TCanvas* Canvas, int X, int Y, int Index, TColor HighlightColor,
                       TColor GrayColor, bool DrawHighlight);
// A new 8 x 8 bitmap of Color1 in which every pixel whose column and row have
// the same parity is Color2. The caller owns it.
TBitmap* MakeCheckerBrushBitmap(TColor Color1, TColor Color2);

inline int RectWidth(const TRect& R)
{
    return R.right - R.left;
}
inline int RectHeight(const TRect& R)
{
    return R.bottom - R.top;
}

// Removes one waiting message Msg of Window from the thread's queue; a quit
// request removed on the way is posted again.
void DropPendingMessage(HWND Window, UINT Msg);
// Moves R into the screen: its right (bottom) edge to the screen's when it
// lies beyond, then its left (top) edge to 0 when it lies before.
void KeepRectOnScreen(TRect& R);
// Moves the window, without sizing, activating or changing its Z order, to
// the middle of the screen; a window larger than the screen goes to 0 on that
// axis.
void CenterWindowOnScreen(HWND Window);
// Text when it fits into MaxWidth on the canvas; otherwise ever fewer of its
// first characters followed by "...", down to "..." alone.
std::string ShortenToWidth(const std::string& Text, TCanvas* Canvas, int MaxWidth);
// The active window is one of the calling thread's windows.
bool OwnsActiveWindow();

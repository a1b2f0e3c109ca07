// Drawing a rich edit's contents into a rectangle of another device context,
// for controls that show rich text in their cells (list views, grids) through
// a hidden rich edit of their own.
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"

// Draws the whole text of the rich edit window into rect (logical units of
// dc) as a page of its own: the format-range request of the rich edit, with
// the text moved in by 2 pixels (at 96 dots per inch) from the top left.
// Where the rich edit formats nothing for a text that is not empty (Wine 8
// answers the request with 0 and draws nothing), the rich edit is sized to
// the rectangle, given background as its background colour and asked to
// print its client area into dc at the rectangle, clipped to it. Gives
// false when the second way was taken.
bool DrawRichEditText(HWND richEdit, HDC dc, const TRect& rect, TColor background);

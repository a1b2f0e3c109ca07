// Drawing shared by the railway elements of unit Upunkt; private to the unit.
#pragma once

#include <string>

#include "common/Upunkt.h"

namespace upunkt {

// A line from one point to another, both ends drawn.
void Line(TCanvas* canvas, TPoint from, TPoint to);
// A route between two points in the state's style: one line while switched
// off; otherwise two lines, one pixel above and one below the two-pixel
// route (beside it, for a steep route), and for a set or occupied route also
// the route itself, one pixel shorter at each end.
void DrawRoute(TCanvas* canvas, TPoint from, TPoint to, tStan stan, TColor color);
// Text centred in r in the canvas's font, inverting what lies under its
// letters; an ellipsis when it is too long.
void DrawInvertedText(TCanvas* canvas, const TRect& r, const std::string& text);
// An element's name in Tahoma 7, black, with its top left at a point
// relative to the element, on the parent: not clipped to the element.
void DrawNameOutside(TCanvas* canvas, TPoint at, const std::string& name);

} // namespace upunkt

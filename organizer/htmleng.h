// The organizer's own HTML renderer: the mini-markup of the common renderer
// without strike-through, subscript and superscript, without image alignment
// and scaling, and with images inside anchors never hit. The organizer's
// list boxes (qmxHTMlistbox) draw with it; the colour routines are the
// common renderer's.
#pragma once

#include <string>

#include "common/HtmlDraw.h"

// The set of the markup this renderer understands.
THtmlFeatures BasicHtmlFeatures();

// DrawHtmlText without stretching or scaling, over BasicHtmlFeatures.
bool DrawHtmlTextBasic(TCanvas* Canvas, const std::string& Html, const TRect& Rect, TCustomImageList* Images, int X,
                       int Y, bool HitTest, bool MeasureOnly, TColor URLColor, std::string& Anchor,
                       std::string& PlainText, int& XSize, int& YSize);

// DrawShellIcon without stretching: the icon in its own size at (X, Y).
void DrawShellIconBasic(TCanvas* Canvas, int X, int Y, const std::string& Source, bool Large, bool Draw,
                        TSize& Size);

#include "organizer/htmleng.h"

THtmlFeatures BasicHtmlFeatures()
{
    THtmlFeatures f;
    f.ScriptTags = false;
    f.ImageAlign = false;
    f.ImageScale = false;
    f.ImageAnchors = false;
    // Every "idx:" image takes the list's size, whatever its number.
    f.ImageIndexChecked = false;
    return f;
}

bool DrawHtmlTextBasic(TCanvas* Canvas, const std::string& Html, const TRect& Rect, TCustomImageList* Images, int X,
                       int Y, bool HitTest, bool MeasureOnly, TColor URLColor, std::string& Anchor,
                       std::string& PlainText, int& XSize, int& YSize)
{
    static const THtmlFeatures features = BasicHtmlFeatures();
    return DrawHtmlTextWith(features, Canvas, Html, Rect, Images, X, Y, HitTest, MeasureOnly, false, 1.0, URLColor,
                            Anchor, PlainText, XSize, YSize);
}

void DrawShellIconBasic(TCanvas* Canvas, int X, int Y, const std::string& Source, bool Large, bool Draw, TSize& Size)
{
    DrawShellIcon(Canvas, X, Y, Source, Large, Draw, false, 1.0, Size);
}

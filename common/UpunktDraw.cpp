#include "common/UpunktDraw.h"

#include <cstdlib>

namespace upunkt {

void Line(TCanvas* canvas, TPoint from, TPoint to)
{
    canvas->MoveTo(from.x, from.y);
    canvas->LineTo(to.x, to.y);
    // LineTo leaves the last pixel out.
    canvas->SetPixels(to.x, to.y, canvas->Pen()->Color());
}

namespace {

TPoint Shift(TPoint p, TPoint d, int times)
{
    return Point(p.x + d.x * times, p.y + d.y * times);
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace

void DrawRoute(TCanvas* canvas, TPoint from, TPoint to, tStan stan, TColor color)
{
    TPen* pen = canvas->Pen();
    pen->SetStyle(psSolid);
    pen->SetWidth(LineWidth);
    pen->SetColor(color);
    if (stan == nieaktywny) {
        Line(canvas, from, to);
        return;
    }
    const bool flat = std::abs(to.x - from.x) >= std::abs(to.y - from.y);
    const TPoint across = flat ? Point(0, 1) : Point(1, 0);
    const TPoint along = flat ? Point(Sign(to.x - from.x), 0) : Point(0, Sign(to.y - from.y));
    Line(canvas, Shift(from, across, -1), Shift(to, across, -1));
    Line(canvas, Shift(from, across, 2), Shift(to, across, 2));
    if (stan == utwierdzony || stan == zajety)
        for (int i = 0; i < 2; ++i)
            Line(canvas, Shift(Shift(from, across, i), along, 1), Shift(Shift(to, across, i), along, -1));
}

void DrawInvertedText(TCanvas* canvas, const TRect& r, const std::string& text)
{
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (text.empty() || w <= 0 || h <= 0)
        return;
    HDC dc = canvas->Handle();
    // The letters in black on white in a monochrome mask; where the mask is
    // black the target is inverted (target XOR NOT mask).
    TMemoryDC mask(dc);
    TGdiObject<HBITMAP> bitmap(CreateBitmap(w, h, 1, 1, nullptr));
    TSelectObject selectBitmap(mask.Get(), bitmap.Get());
    TSelectObject selectFont(mask.Get(), canvas->Font()->Handle());
    PatBlt(mask.Get(), 0, 0, w, h, WHITENESS);
    SetTextColor(mask.Get(), RGB(0, 0, 0));
    SetBkMode(mask.Get(), TRANSPARENT);
    RECT box{0, 0, w, h};
    DrawTextA(mask.Get(), text.c_str(), static_cast<int>(text.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    // A monochrome source reaches a colour target as text colour (0) and
    // background colour (1).
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, r.left, r.top, w, h, mask.Get(), 0, 0, 0x00990066);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

void DrawNameOutside(TCanvas* canvas, TPoint at, const std::string& name)
{
    if (name.empty())
        return;
    TFont* font = canvas->Font();
    font->SetName("Tahoma");
    font->SetSize(7);
    font->SetStyle({});
    font->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsClear);
    HDC dc = canvas->Handle();
    // The element's painting is clipped to its bounds; the name lies beyond.
    TGdiObject<HRGN> saved(CreateRectRgn(0, 0, 0, 0));
    const bool clipped = GetClipRgn(dc, saved.Get()) == 1;
    SelectClipRgn(dc, nullptr);
    canvas->TextOut(at.x, at.y, name);
    SelectClipRgn(dc, clipped ? saved.Get() : nullptr);
}

} // namespace upunkt

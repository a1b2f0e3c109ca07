#include "grid/AdvGeometry.h"

#include <algorithm>
#include <cmath>

int ObjectLeft(const TRect& r, int position, int w, int textWidth, TAlignment alignment)
{
    switch (position) {
    case 1:
        return r.right - 1 - w;
    case 2:
        return w < r.right - r.left ? r.left + (r.right - r.left - w) / 2 : r.left + 1;
    case 3:
        if (alignment == taLeftJustify)
            return r.left + 1;
        return std::max(static_cast<int>(r.right) - textWidth - w, static_cast<int>(r.left) + 1);
    case 4:
        return alignment == taRightJustify ? r.right - 1 - w : r.left + textWidth;
    default:
        return r.left + 1;
    }
}

int ObjectTop(const TRect& r, int position, int h, int lineHeight)
{
    switch (position) {
    case 1:
        return r.bottom - 1 - h;
    case 2:
        return h < r.bottom - r.top ? r.top + (r.bottom - r.top - h) / 2 : r.top + 1;
    case 3:
        return r.top + lineHeight + 1;
    default:
        return r.top + 1;
    }
}

int CheckBoxLeft(const TRect& r, int kind, int w, int textWidth, TAlignment alignment)
{
    int x = r.left + 1;
    if (alignment == taRightJustify)
        x = kind == 5 ? r.right - w : r.right - textWidth - w;
    else if (alignment == taCenter)
        x = kind == 5 ? r.left + (r.right - w - r.left) / 2 : r.left + (r.right - textWidth - r.left) / 2 - w;
    return std::max(x, static_cast<int>(r.left) + 1);
}

TRect CenteredSquare(const TRect& place, int size)
{
    const int left = place.left + (place.right - place.left - size) / 2;
    const int top = place.top + (place.bottom - place.top - size) / 2;
    return Rect(left, top, left + size, top + size);
}

std::vector<TRadioItemPlace> RadioLayout(const TRect& r, bool across, const std::vector<int>& textWidths, int count,
                                         int lineHeight)
{
    std::vector<TRadioItemPlace> places;
    int before = 0;
    for (int i = 1; i <= count; ++i) {
        TRadioItemPlace p{};
        if (across) {
            p.Circle = Point(r.left + before + 12 * i - 10, r.top + (r.bottom - r.top - 10) / 2);
            p.Text = Point(p.Circle.x + 10, p.Circle.y - 2);
            if (i - 1 < static_cast<int>(textWidths.size()))
                before += textWidths[i - 1];
        } else {
            const int x = textWidths.empty() ? r.left + (r.right - r.left - 10) / 2 : r.left + 2;
            p.Circle = Point(x, r.top + (i - 1) * lineHeight + 2);
            p.Text = Point(r.left + lineHeight + 2, r.top + (i - 1) * lineHeight);
        }
        places.push_back(p);
    }
    return places;
}

TRect NodeBox(const TRect& r)
{
    const int top = r.top + (r.bottom - r.top - 8) / 2;
    return Rect(r.left + 2, top, r.left + 10, top + 8);
}

namespace {

int MarkY(int top, int bottom, int vAlign)
{
    return vAlign == 0 ? top + (bottom - top) / 2 : vAlign == 2 ? bottom - 8 : top + 8;
}

} // namespace

TPoint SortMarkPoint(const TRect& cell, TAlignment alignment, int vAlign, int lineWidth)
{
    const int x = alignment == taRightJustify ? cell.right - lineWidth - 14
                  : alignment == taCenter     ? cell.left + 8
                                              : cell.left + lineWidth + 10;
    return Point(x, MarkY(cell.top, cell.bottom, vAlign));
}

TPoint HtmlSortMarkPoint(const TRect& r, int vAlign, int drawnWidth)
{
    return Point(r.left + drawnWidth + 8, MarkY(r.top, r.bottom, vAlign));
}

int TileOffset(int before, int tileSize)
{
    return tileSize > 0 ? before % tileSize : 0;
}

std::vector<TBitmapPiece> TilePieces(const TRect& cell, int xo, int yo, int bw, int bh)
{
    std::vector<TBitmapPiece> pieces;
    if (bw <= 0 || bh <= 0)
        return pieces;
    int sy = yo;
    for (int y = cell.top; y < cell.bottom; y += bh - sy, sy = 0) {
        const int h = std::min(bh - sy, static_cast<int>(cell.bottom) - y);
        int sx = xo;
        for (int x = cell.left; x < cell.right; x += bw - sx, sx = 0) {
            const int w = std::min(bw - sx, static_cast<int>(cell.right) - x);
            pieces.push_back({Rect(x, y, x + w, y + h), Rect(sx, sy, sx + w, sy + h)});
        }
    }
    return pieces;
}

bool FixedPiece(const TRect& cell, int left, int top, int bw, int bh, TBitmapPiece& piece)
{
    const TRect placed = Rect(left, top, left + bw, top + bh);
    TRect meet{};
    if (!IntersectRect(&meet, &placed, &cell))
        return false;
    piece.Dest = meet;
    piece.Source = Rect(meet.left - left, meet.top - top, meet.right - left, meet.bottom - top);
    return true;
}

TRect RichTextRangeTwips(const TRect& r, int ppiX, int ppiY, int m)
{
    auto twips = [](int pixels, int ppi) { return static_cast<int>(std::lround(pixels * 1440.0 / ppi)); };
    const int left = twips(r.left + m, ppiX);
    const int top = twips(r.top + m, ppiY);
    return Rect(left, top, left + twips(r.right - r.left - m, ppiX), top + twips(r.bottom - r.top - m, ppiY));
}

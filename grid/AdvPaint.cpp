#include "grid/AdvPaint.h"

#include "grid/AdvUtil.h"

UINT CellTextFlags(TAlignment alignment, int vAlign, bool wordWrap, bool multiline)
{
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
    flags |= alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
    flags |= vAlign == 0 ? DT_VCENTER : vAlign == 2 ? DT_BOTTOM : DT_TOP;
    if (wordWrap)
        flags |= DT_WORDBREAK | DT_EDITCONTROL;
    else if (!multiline)
        flags |= DT_SINGLELINE;
    return flags;
}

TRect CellTextRect(const TCellPaint& p, int& room)
{
    TRect r = p.Rect;
    r.right -= 2;
    r.left += 2;
    if (p.SortHeader && p.Alignment == taCenter)
        r.left += 10;
    const bool before = p.ObjectHPos == 3, after = p.ObjectHPos == 4;
    if (p.Alignment == taRightJustify) {
        if (after)
            r.right -= p.ObjectWidth;
        if (before)
            r.left += p.ObjectWidth;
    } else {
        if (before)
            r.left += p.ObjectWidth;
        if (after)
            r.right -= p.ObjectWidth;
    }
    if (p.ObjectVPos == 4)
        r.top += p.ObjectHeight;
    if (p.ObjectVPos == 3)
        r.bottom -= p.ObjectHeight;
    r.top += 2;
    room = r.right - r.left;
    if (p.SortHeader)
        room -= 14;
    return r;
}

std::string ShortenLine(const std::string& text, int room, bool urlShow, bool urlFull, bool enhTextSize,
                        const std::function<int(const std::string&)>& width)
{
    std::string s = text;
    if (urlShow && !urlFull) {
        size_t at = s.find("://");
        if (at != std::string::npos)
            s.erase(0, at + 3);
        at = s.find("mailto:");
        if (at != std::string::npos)
            s.erase(0, at + 7);
    }
    if (enhTextSize && width(s) > room) {
        while (!s.empty() && width(s + "...") > room)
            s.pop_back();
        if (!s.empty())
            s += "...";
    }
    return s;
}

int PaintPlainCell(TCanvas* canvas, const TCellPaint& p)
{
    canvas->FillRect(p.Rect);
    if (!p.DrawText)
        return 0;
    int room = 0;
    TRect r = CellTextRect(p, room);
    const UINT flags = CellTextFlags(p.Alignment, p.VAlign, p.WordWrap, p.Multiline);
    HDC dc = canvas->TextHandle();
    SetBkMode(dc, TRANSPARENT);
    if (LineCount(p.Text, p.Multiline) == 1) {
        const std::string line = ShortenLine(p.Text, room, p.URLShow, p.URLFull, p.EnhTextSize,
                                             [canvas](const std::string& s) { return canvas->TextWidth(s); });
        DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &r, flags);
        return canvas->TextWidth(line);
    }
    DrawTextA(dc, p.Text.c_str(), static_cast<int>(p.Text.size()), &r, flags);
    return 0;
}

#include "grid/AdvPaint.h"

#include <algorithm>

#include "grid/AdvGeometry.h"
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
                        const std::function<int(const std::string&)>& width, int* shownWidth,
                        const std::function<int(const std::string&, int)>& fit)
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
    int w = -1;
    if (enhTextSize && (w = width(s)) > room) {
        if (fit) {
            // Start from the characters that fit beside "...", then settle
            // on the longest that does, as the removal one by one would.
            size_t m = std::min(s.size(), static_cast<size_t>(std::max(0, fit(s, room - width("...")))) + 1);
            while (m < s.size() && width(s.substr(0, m + 1) + "...") <= room)
                ++m;
            s.resize(m);
        }
        w = 0;
        while (!s.empty() && (w = width(s + "...")) > room)
            s.pop_back();
        if (!s.empty())
            s += "...";
        else
            w = 0;
    }
    if (shownWidth)
        *shownWidth = w >= 0 ? w : width(s);
    return s;
}

int PaintPlainCell(TCanvas* canvas, const TCellPaint& p)
{
    if (p.Fill)
        canvas->FillRect(p.Rect);
    if (!p.DrawText)
        return 0;
    int room = 0;
    TRect r = CellTextRect(p, room);
    const UINT flags = CellTextFlags(p.Alignment, p.VAlign, p.WordWrap, p.Multiline);
    HDC dc = canvas->TextHandle();
    SetBkMode(dc, TRANSPARENT);
    if (LineCount(p.Text, p.Multiline) == 1) {
        const bool placed = p.Alignment != taLeftJustify;
        int width = 0;
        const std::string line =
            ShortenLine(p.Text, room, p.URLShow, p.URLFull, p.EnhTextSize,
                        [canvas](const std::string& s) { return canvas->TextWidth(s); },
                        p.NeedWidth || placed ? &width : nullptr, [dc](const std::string& s, int extent) {
                            int n = 0;
                            SIZE size{};
                            GetTextExtentExPointA(dc, s.data(), static_cast<int>(s.size()), std::max(0, extent), &n,
                                                  nullptr, &size);
                            return n;
                        });
        // One line at the top without tabs or line breaks needs none of the
        // text drawing's layout: a clipped output where the alignment puts
        // it (the same pixels, at a fraction of the cost in a large grid).
        const bool plainLine = line.find_first_of("\t\r\n") == std::string::npos;
        if ((flags & DT_SINGLELINE) && !(flags & (DT_VCENTER | DT_BOTTOM)) && plainLine) {
            const int x = p.Alignment == taRightJustify ? r.right - width
                          : p.Alignment == taCenter     ? (r.left + r.right - width) / 2
                                                        : r.left;
            ExtTextOutA(dc, x, r.top, ETO_CLIPPED, &r, line.data(), static_cast<UINT>(line.size()), nullptr);
        } else {
            DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &r, flags);
        }
        return p.NeedWidth ? width : 0;
    }
    DrawTextA(dc, p.Text.c_str(), static_cast<int>(p.Text.size()), &r, flags);
    return 0;
}

namespace {

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2)
{
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

} // namespace

void PaintSortMark(TCanvas* canvas, int x, int y, bool descending, TBitmap* glyph)
{
    if (glyph && !glyph->Empty()) {
        const bool was = glyph->Transparent();
        glyph->SetTransparent(true);
        canvas->Draw(x - 4, y - 4, glyph);
        glyph->SetTransparent(was);
        return;
    }
    TPen* pen = canvas->Pen();
    pen->SetWidth(1);
    pen->SetColor(clWhite);
    if (descending) {
        Line(canvas, x + 4, y - 4, x, y + 4);
        pen->SetColor(clGray);
        canvas->LineTo(x - 4, y - 4);
        canvas->LineTo(x + 4, y - 4);
    } else {
        Line(canvas, x - 4, y + 4, x + 4, y + 4);
        canvas->LineTo(x, y - 4);
        pen->SetColor(clGray);
        canvas->LineTo(x - 4, y + 4);
    }
    pen->SetColor(clBlack);
}

void PaintSelectionFrame(TCanvas* canvas, const TRect& r, TCellSides s)
{
    TPen* pen = canvas->Pen();
    pen->SetColor(clBlack);
    pen->SetWidth(2);
    if (s.Left)
        Line(canvas, r.left + 1, r.bottom - 1, r.left + 1, r.top + 1);
    if (s.Right)
        Line(canvas, r.right - 1, r.bottom - 1, r.right - 1, r.top + 1);
    if (s.Top)
        Line(canvas, r.left + 1, r.top + 1, r.right - 1, r.top + 1);
    if (s.Bottom)
        Line(canvas, r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1);
    pen->SetWidth(1);
}

void PaintCellBorders(TCanvas* canvas, TRect r, TCellSides s)
{
    const int half = canvas->Pen()->Width() / 2;
    InflateRect(&r, -half, -half);
    const int right = r.right - 1, bottom = r.bottom - 1;
    if (s.Left)
        Line(canvas, r.left, r.top, r.left, r.bottom);
    if (s.Right)
        Line(canvas, right, r.top, right, r.bottom);
    if (s.Top)
        Line(canvas, r.left, r.top, r.right, r.top);
    if (s.Bottom)
        Line(canvas, r.left, bottom, r.right, bottom);
}

void PaintFixedEdges(TCanvas* canvas, const TRect& r, bool ctl3D, bool vertical, bool horizontal)
{
    if (ctl3D) {
        const UINT sides = (vertical ? BF_LEFT | BF_RIGHT : 0) | (horizontal ? BF_TOP | BF_BOTTOM : 0);
        if (sides) {
            RECT edge = r;
            DrawEdge(canvas->Handle(), &edge, BDR_RAISEDINNER, sides);
        }
        return;
    }
    TPen* pen = canvas->Pen();
    pen->SetColor(clBlack);
    pen->SetWidth(1);
    if (horizontal) {
        Line(canvas, r.left - 1, r.top - 1, r.right + 1, r.top - 1);
        Line(canvas, r.left - 1, r.bottom + 1, r.right + 1, r.bottom + 1);
    }
    if (vertical) {
        Line(canvas, r.left - 1, r.top - 1, r.left - 1, r.bottom + 1);
        Line(canvas, r.right + 1, r.top - 1, r.right + 1, r.bottom + 1);
    }
}

void PaintCheckBox(TCanvas* canvas, const TRect& place, bool ticked)
{
    RECT box = CenteredSquare(place, 15);
    DrawFrameControl(canvas->Handle(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | (ticked ? DFCS_CHECKED : 0));
}

void PaintRadioButton(TCanvas* canvas, int x, int y, bool selected)
{
    RECT circle = Rect(x, y, x + 10, y + 10);
    DrawFrameControl(canvas->Handle(), &circle, DFC_BUTTON, DFCS_BUTTONRADIO | (selected ? DFCS_CHECKED : 0));
}

void PaintNode(TCanvas* canvas, const TRect& r, const TNodePaint& n)
{
    canvas->Brush()->SetColor(n.Color);
    if (n.Type == 1) {
        canvas->FillRect(r);
        TPen* pen = canvas->Pen();
        pen->SetWidth(1);
        pen->SetColor(clWhite);
        Line(canvas, r.left, r.bottom - 1, r.left, r.top);
        canvas->LineTo(r.right - 1, r.top);
        pen->SetColor(clGray);
        canvas->LineTo(r.right - 1, r.bottom - 1);
        canvas->LineTo(r.left, r.bottom - 1);
    }
    if (n.Type == 2 && n.ExpandGlyph && !n.ExpandGlyph->Empty() && n.ContractGlyph && !n.ContractGlyph->Empty()) {
        DrawTransparent(canvas, n.Contracted ? n.ContractGlyph : n.ExpandGlyph, n.GridColor, Point(r.left, r.top));
        return;
    }
    const TRect box = NodeBox(r);
    if (n.Type == 0) {
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(n.NodeColor);
        canvas->Rectangle(box.left - 1, box.top - 1, box.right + 1, box.bottom + 1);
        Line(canvas, box.left + 1, box.top + 3, box.left + 6, box.top + 3);
        if (n.Contracted)
            Line(canvas, box.left + 3, box.top + 1, box.left + 3, box.top + 6);
        return;
    }
    RECT edge = box;
    DrawEdge(canvas->Handle(), &edge, n.Contracted ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT);
}

void PaintRotatedText(TCanvas* canvas, int x, int y, int angle, const std::string& text, const TRect& r)
{
    HDC dc = canvas->TextHandle();
    LOGFONTA lf{};
    GetObjectA(canvas->Font()->Handle(), sizeof lf, &lf);
    lf.lfEscapement = lf.lfOrientation = angle * 10;
    TGdiObject<HFONT> rotated(CreateFontIndirectA(&lf));
    const HGDIOBJ old = SelectObject(dc, rotated.Get());
    const UINT align = SetTextAlign(dc, TA_TOP | TA_LEFT);
    SetBkMode(dc, TRANSPARENT);
    const RECT clip = r;
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, text.data(), static_cast<UINT>(text.size()), nullptr);
    SetTextAlign(dc, align);
    SelectObject(dc, old);
}

void PaintBitmapPieces(TCanvas* canvas, TBitmap* bitmap, const std::vector<TBitmapPiece>& pieces)
{
    for (const TBitmapPiece& p : pieces)
        canvas->CopyRect(p.Dest, bitmap->Canvas(), p.Source);
}

// Painting of the grid's cells as plain text, and the measuring and plain
// text of a cell that sizing and sorting use.
#include "grid/AdvGrid.h"

#include <richedit.h>

#include <algorithm>
#include <cmath>

#include "classlib/RichEdit.h"
#include "classlib/Streams.h"
#include "common/HtmlDraw.h"
#include "grid/AdvGeometry.h"
#include "grid/AdvPaint.h"
#include "grid/AdvUtil.h"

namespace {

void HLine(TCanvas* c, int x1, int x2, int y)
{
    c->MoveTo(x1, y);
    c->LineTo(x2, y);
}

void VLine(TCanvas* c, int x, int y1, int y2)
{
    c->MoveTo(x, y1);
    c->LineTo(x, y2);
}

// Whether any pixel of a 24-bit bitmap differs from its background.
bool HasInk(TBitmap& bitmap, TColor background)
{
    const COLORREF back = ColorToRGB(background);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bitmap.Width();
    info.bmiHeader.biHeight = -bitmap.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(bitmap.Width()) * bitmap.Height());
    HBITMAP handle = bitmap.Handle();
    bitmap.Dormant();
    TMemoryDC dc;
    GetDIBits(dc.Get(), handle, 0, bitmap.Height(), pixels.data(), &info, DIB_RGB_COLORS);
    const DWORD want = (GetRValue(back) << 16) | (GetGValue(back) << 8) | GetBValue(back);
    return std::any_of(pixels.begin(), pixels.end(), [want](DWORD p) { return (p & 0xFFFFFF) != want; });
}

} // namespace

void TAdvStringGrid::Paint()
{
    tileSpan_[0] = tileSpan_[1] = TSpanMemo{};
    TStringGrid::Paint();
    TCanvas* c = Canvas();
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(1);
    const bool horz = Options() & goFixedHorzLine, vert = Options() & goFixedVertLine;
    // Cells out of view would draw outside the client area: only the rows
    // and columns that show are walked.
    const int lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
    const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
    auto cellLines = [&](const TRect& r) {
        if (horz)
            HLine(c, r.left, r.right, r.bottom);
        if (vert) {
            VLine(c, r.right, r.top, r.bottom);
            VLine(c, r.left - 1, r.top, r.bottom);
        }
    };
    if (OnIsFixedCell) {
        for (int row = std::max(TopRow(), FixedRows()); row <= std::min(lastRow, RowCount() - fixedFooters_ - 1); ++row)
            for (int col = std::max(LeftCol(), FixedCols()); col <= std::min(lastCol, ColCount() - fixedRightCols_ - 1);
                 ++col) {
                const TRect r = CellRect(col, row);
                if (!IsRectEmpty(&r) && IsFixedCell(col, row))
                    cellLines(r);
            }
    }
    auto rowRange = [&](auto each) {
        for (int row = 0; row < FixedRows(); ++row)
            each(row);
        for (int row = TopRow(); row <= lastRow; ++row)
            each(row);
    };
    if (fixedRightCols_ > 0 && fixedRightCols_ < ColCount())
        rowRange([&](int row) {
            for (int col = ColCount() - fixedRightCols_; col < ColCount(); ++col) {
                const TRect r = CellRect(col, row);
                if (!IsRectEmpty(&r))
                    cellLines(r);
            }
        });
    if (fixedFooters_ > 0 && fixedFooters_ < RowCount()) {
        int gridRight = 0;
        for (int col = 0; col <= lastCol; ++col) {
            const TRect r = CellRect(col, FixedRows() > 0 ? 0 : TopRow());
            if (!IsRectEmpty(&r))
                gridRight = std::max(gridRight, static_cast<int>(r.right));
        }
        for (int row = RowCount() - fixedFooters_; row < RowCount(); ++row) {
            TRect any{};
            for (int col = 0; col <= lastCol && IsRectEmpty(&any); ++col)
                any = CellRect(col, row);
            if (IsRectEmpty(&any))
                continue;
            if (horz) {
                HLine(c, 0, gridRight, any.top - 1);
                HLine(c, 0, gridRight, any.bottom);
            }
            if (vert)
                for (int col = 0; col <= lastCol; ++col) {
                    const TRect r = CellRect(col, row);
                    if (!IsRectEmpty(&r))
                        VLine(c, r.right, r.top, r.bottom);
                }
        }
    }
}

void TAdvStringGrid::FillCellPaint(int col, int row, TRect rect, TGridDrawState state, TCellPaint& p)
{
    p.Rect = rect;
    std::string text = Cells(col, row);
    if (!text.empty() && text[0] == '=')
        text = GetDisplayText(col, row);
    if (IsPasswordCell(col, row))
        FillChars(text, passwordChar_[0]);
    p.Text = text;
    p.Alignment = GetCellAlignment(col, row);
    p.VAlign = vAlignment_;
    p.WordWrap = wordWrap_;
    p.Multiline = multilinecells_;
    p.EnhTextSize = enhTextSize_;
    p.URLShow = urlShow_;
    p.URLFull = urlFull_;
    p.SortHeader = row == 0 && sortShow_ && col == sortColumn_;
    (void)state;
    if (const TCellGraphic* g = GetCellGraphic(col, row)) {
        const int kind = g->Kind;
        p.DrawText = kind != 5 && kind != 6 && kind != 7 && kind != 9;
        const TSize size = kind == 4 || kind == 5 ? TSize{16, 0} : GetCellGraphicSize(col, row);
        p.ObjectWidth = size.cx;
        p.ObjectHeight = size.cy;
        p.ObjectHPos = g->HorizontalPosition;
        p.ObjectVPos = g->VerticalPosition;
    }
}

bool TAdvStringGrid::InFlaggedRow(int col, int row)
{
    return (Options() & goRowSelect) && col >= FixedCols() && rowFlags_.Get(row);
}

bool TAdvStringGrid::ShowsSortMark(int col, int row)
{
    return sortShow_ && col == sortColumn_ && row == 0 && FixedRows() > 0 && (col + 1 > FixedCols() || sortFixedCols_);
}

void TAdvStringGrid::DrawSortMarkAt(TPoint at)
{
    const bool down = sortDirection_ == sdDescending;
    TBitmap* glyph = down ? sortDownGlyph_.get() : sortUpGlyph_.get();
    PaintSortMark(Canvas(), at.x, at.y, down, glyph);
    if (!glyph->Empty())
        SetBkColor(Canvas()->Handle(), ColorToRGB(FixedColor()));
}

void TAdvStringGrid::DrawCell(int col, int row, TRect rect, TGridDrawState state)
{
    col = RealCol(col);
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(col < FixedCols() || row < FixedRows() ? fixedFont_.get() : Font());
    const bool fixed = IsFixedCell(col, row);
    if (fixed) {
        canvas->Brush()->SetColor(FixedColor());
        state = gdFixed;
    }
    OnGetCellColor(this, row, col, state, canvas->Brush(), canvas->Font());
    if ((state & gdSelected) && !(state & gdFocused) && selectionColor_ == clNone)
        canvas->Brush()->SetColor(clHighlight);
    if (zoom_ != 0)
        canvas->Font()->SetSize(canvas->Font()->Size() + zoom_);
    TDrawnText drawn;
    if (DefaultDrawing())
        DrawCellContent(col, row, rect, state, drawn);
    if (OnGetCellBorder) {
        TPen saved;
        saved.Assign(canvas->Pen());
        TCellBorders borders = 0;
        OnGetCellBorder(this, row, col, canvas->Pen(), borders);
        PaintCellBorders(canvas, rect,
                         {(borders & cbLeft) != 0, (borders & cbRight) != 0, (borders & cbTop) != 0,
                          (borders & cbBottom) != 0});
        canvas->Pen()->Assign(&saved);
    }
    // IsFixedCell counts the right fixed columns too.
    if (fixed)
        PaintFixedEdges(canvas, rect, Ctl3D(), Options() & goFixedVertLine, Options() & goFixedHorzLine);
    if (GetCellGraphic(col, row))
        DrawCellObject(col, row, rect, state, drawn);
    // The platform's cell event last.
    TCustomGrid::DrawCell(col, row, rect, state);
}

void TAdvStringGrid::DrawCellContent(int col, int row, TRect& rect, TGridDrawState state, TDrawnText& drawn)
{
    TCanvas* canvas = Canvas();
    // The current cell of whole-row selection is part of its row: one row,
    // one pair of colours.
    if (((state & gdSelected) || InFlaggedRow(col, row)) &&
        (!(state & gdFocused) || (Options() & (goDrawFocusSelected | goRowSelect)))) {
        if (selectionColor_ != clNone)
            canvas->Brush()->SetColor(selectionColor_);
        if (selectionTextColor_ != clNone)
            canvas->Font()->SetColor(selectionTextColor_);
    }
    TCellPaint paint;
    FillCellPaint(col, row, rect, state, paint);
    const std::string& text = paint.Text;
    if (text.find("</") != std::string::npos) {
        canvas->FillRect(rect);
        rect.left += 2;
        rect.top += 2;
        std::string anchor, plain;
        int w = 0, h = 0;
        DrawHtmlText(canvas, text, rect, gridImages_, 0, 0, false, false, false, 1.0, urlColor_, anchor, plain, w, h);
        if (ShowsSortMark(col, row))
            DrawSortMarkAt(HtmlSortMarkPoint(rect, vAlignment_, w));
        return;
    }
    if (text.compare(0, 2, "{\\") == 0) {
        canvas->Pen()->SetColor(canvas->Brush()->Color());
        if (!((state & gdSelected) && !(state & gdFocused) && selectionColor_ == clNone))
            canvas->Rectangle(rect);
        canvas->Brush()->SetStyle(bsClear);
        DrawRichTextCell(col, row, rect, canvas);
        canvas->Brush()->SetStyle(bsSolid);
        return;
    }
    // Separate rows: a row shows as selected by its flag, except while a
    // click without Ctrl is still choosing the rows.
    if (col >= FixedCols() && row >= FixedRows() && mouseActions_->DisjunctRowSelect && !clickSelecting_ &&
        !rowFlags_.Get(row)) {
        canvas->Brush()->SetColor(Color());
        canvas->Font()->SetColor(Font()->Color());
        OnGetCellColor(this, row, col, state, canvas->Brush(), canvas->Font());
    }
    TBitmap* back = backGround_->Bitmap();
    if (back->Empty() || (state & (gdFixed | gdSelected)))
        canvas->FillRect(rect);
    else
        DrawBackGroundIn(col, row, rect);
    paint.Fill = false;
    if (!paint.DrawText)
        return;
    if (selectionRectangle_ && IsInSelection(col, row)) {
        const TGridRect s = Selection();
        PaintSelectionFrame(canvas, rect, {col == s.Left, col == s.Right, row == s.Top, row == s.Bottom});
    }
    if (urlShow_ && IsURLText(text)) {
        canvas->Font()->SetStyle(canvas->Font()->Style() + fsUnderline);
        canvas->Font()->SetColor(urlColor_);
    }
    paint.NeedWidth = ShowsSortMark(col, row) || GetCellGraphic(col, row);
    drawn.Width = PaintPlainCell(canvas, paint);
    if (GetCellGraphic(col, row))
        drawn.LineHeight = canvas->TextHeight("hg");
    if (ShowsSortMark(col, row))
        DrawSortMarkAt(SortMarkPoint(rect, paint.Alignment, vAlignment_, drawn.Width));
}

void TAdvStringGrid::DrawBackGroundIn(int col, int row, const TRect& rect)
{
    TBitmap* bitmap = backGround_->Bitmap();
    if (backGround_->Display() == bdFixed) {
        TBitmapPiece piece;
        if (FixedPiece(rect, backGround_->Left(), backGround_->Top(), bitmap->Width(), bitmap->Height(), piece))
            PaintBitmapPieces(Canvas(), bitmap, {piece});
        return;
    }
    const int xo = TileOffset(DataSpanBefore(true, col), bitmap->Width());
    const int yo = TileOffset(DataSpanBefore(false, row), bitmap->Height());
    PaintBitmapPieces(Canvas(), bitmap, TilePieces(rect, xo, yo, bitmap->Width(), bitmap->Height()));
}

int TAdvStringGrid::DataSpanBefore(bool horizontal, int index)
{
    const auto size = [&](int i) { return horizontal ? ColWidths(i) : RowHeights(i); };
    const int fixed = horizontal ? FixedCols() : FixedRows();
    const int first = horizontal ? LeftCol() : TopRow();
    int from = fixed, span = 0;
    if (index >= first && first >= fixed) {
        TSpanMemo& memo = tileSpan_[horizontal ? 0 : 1];
        if (memo.Index != first) {
            memo.Index = first;
            memo.Span = 0;
            for (int i = fixed; i < first; ++i)
                memo.Span += size(i);
        }
        from = first;
        span = memo.Span;
    }
    for (int i = from; i < index; ++i)
        span += size(i);
    return span;
}

void TAdvStringGrid::DrawCellObject(int col, int row, const TRect& r, TGridDrawState state, const TDrawnText& drawn)
{
    TCellGraphic* g = GetCellGraphic(col, row);
    TCanvas* canvas = Canvas();
    const int kind = g->Kind;
    const TAlignment alignment = GetCellAlignment(col, row);
    const int imageW = gridImages_ ? gridImages_->Width() : 0;
    const int imageH = gridImages_ ? gridImages_->Height() : 0;
    const TSize size = CellObjectSize(*g);
    const int textWidth = drawn.Width + 3;
    int x = ObjectLeft(r, g->HorizontalPosition, size.cx, textWidth, alignment);
    const int y = ObjectTop(r, g->VerticalPosition, size.cy, drawn.LineHeight);
    if (kind == 4 || kind == 5)
        x = CheckBoxLeft(r, kind, size.cx, textWidth, alignment);
    auto image = [&](int index, int ix, int iy) {
        if (gridImages_ && index >= 0 && index < gridImages_->Count())
            gridImages_->Draw(canvas, ix, iy, index);
    };
    switch (kind) {
    case 0:
        if (auto* bitmap = dynamic_cast<TBitmap*>(g->Object); bitmap && !bitmap->Empty()) {
            if (!g->Transparent) {
                canvas->Draw(x, y, bitmap);
                break;
            }
            const bool selected = (state & gdSelected) || InFlaggedRow(col, row);
            const TColor back = selected && !(state & gdFocused) && selectionColor_ != clNone
                                    ? selectionColor_
                                    : canvas->Brush()->Color();
            DrawTransparent(canvas, bitmap, back, Point(x, y));
        }
        break;
    case 1:
        if (g->Graphic)
            canvas->Draw(x, y, g->Graphic);
        break;
    case 12:
        if (auto* picture = dynamic_cast<TPicture*>(g->Object); picture && picture->Graphic())
            canvas->Draw(x, y, picture->Graphic());
        break;
    case 3:
        image(g->Number, x, y);
        break;
    case 4:
    case 5: {
        const bool ticked = kind == 5 ? Cells(col, row) == checkTrue_ : g->State;
        PaintCheckBox(canvas, Bounds(x, y, size.cx, size.cy), ticked);
        break;
    }
    case 6: {
        const std::string text = Cells(col, row);
        TRect place = r;
        PlaceRotatedText(place, g->Count, alignment, text);
        PaintRotatedText(canvas, place.left, place.top, g->Count, text, r);
        break;
    }
    case 7: {
        // A text that is no integer shows no image; the other cells still
        // paint.
        int value = 0;
        try {
            value = GetCellInt(col, row);
        } catch (const EAdvGridError&) {
            break;
        }
        image(value + g->Number, x, y);
        break;
    }
    case 8: {
        TNodePaint node;
        node.Type = cellNode_->NodeType();
        node.Color = cellNode_->Color;
        node.NodeColor = cellNode_->NodeColor;
        node.Contracted = g->State;
        node.ExpandGlyph = cellNode_->ExpandGlyph();
        node.ContractGlyph = cellNode_->ContractGlyph();
        node.GridColor = Color();
        PaintNode(canvas, r, node);
        break;
    }
    case 9: {
        auto* items = dynamic_cast<TStrings*>(g->Object);
        const std::string text = Cells(col, row);
        std::vector<int> widths;
        if (items)
            for (int i = 0; i < std::min(items->Count(), static_cast<int>(g->Count)); ++i)
                widths.push_back(canvas->TextWidth(items->Strings(i)));
        const auto places = RadioLayout(r, g->State, widths, g->Count, canvas->TextHeight("gh"));
        canvas->Brush()->SetStyle(bsClear);
        for (int i = 0; i < static_cast<int>(places.size()); ++i) {
            const bool named = i < static_cast<int>(widths.size());
            const bool selected =
                g->Number == -1 ? named && items->Strings(i) == text : g->Number == i;
            PaintRadioButton(canvas, places[i].Circle.x, places[i].Circle.y, selected);
            if (named)
                canvas->TextOut(places[i].Text.x, places[i].Text.y, items->Strings(i));
        }
        canvas->Brush()->SetStyle(bsSolid);
        break;
    }
    case 11:
        if (TIndexList* list = GetCellImageList(col, row)) {
            int ix = x, iy = y;
            for (int index : list->Indexes) {
                image(index, ix, iy);
                if (g->State)
                    ix += imageW;
                else
                    iy += imageH;
            }
        }
        break;
    default:
        break;
    }
}

void TAdvStringGrid::DrawRichTextCell(int ACol, int ARow, TRect Rect, TCanvas* Canvas)
{
    LoadRichText(ACol, ARow, richEdit_);
    HDC dc = Canvas->Handle();
    const bool current = ACol == Col() && ARow == Row() && GetFocus() == Handle();
    if (IsInSelection(ACol, ARow) && !current && !selectionRTFKeep_ && GetMapMode(dc) == MM_TEXT) {
        richEdit_->SetSelStart(0);
        richEdit_->SetSelLength(255);
        richEdit_->SelAttributes()->SetColor(selectionTextColor_);
    }
    const int ppiX = GetDeviceCaps(dc, LOGPIXELSX), ppiY = GetDeviceCaps(dc, LOGPIXELSY);
    POINT corners[2] = {{Rect.left, Rect.top}, {Rect.right, Rect.bottom}};
    LPtoDP(dc, corners, 2);
    POINT two[2] = {{0, 0}, {2, 0}};
    LPtoDP(dc, two, 2);
    const int margin = static_cast<int>(std::lround(ppiX * double(two[1].x - two[0].x) / 96.0));
    const TRect device = ::Rect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
    FORMATRANGE range{};
    range.hdc = dc;
    range.hdcTarget = dc;
    range.rc = RichTextRangeTwips(device, ppiX, ppiY, margin);
    range.rcPage = range.rc;
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    const int oldMode = SetMapMode(dc, MM_TEXT);
    const LRESULT formatted = SendMessageA(richEdit_->Handle(), EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    SendMessageA(richEdit_->Handle(), EM_FORMATRANGE, FALSE, 0);
    SetMapMode(dc, oldMode);
    if (formatted <= 0 && GetWindowTextLengthA(richEdit_->Handle()) > 0)
        DrawRichTextFallback(ACol, ARow, Rect, Canvas);
}

void TAdvStringGrid::DrawRichTextFallback(int col, int row, const TRect& rect, TCanvas* canvas)
{
    // Where the rich edit renders nothing through its format range it still
    // prints its client area: sized to the text rectangle, in the cell's
    // background, into a bitmap that goes onto the canvas when it shows
    // anything; otherwise the plain text in the cell's font.
    const TRect text = ::Rect(rect.left + 2, rect.top + 2, rect.right, rect.bottom);
    const int w = text.right - text.left, h = text.bottom - text.top;
    if (w <= 0 || h <= 0)
        return;
    const TColor back = canvas->Brush()->Color();
    HWND edit = richEdit_->Handle();
    SetWindowPos(edit, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOMOVE);
    SendMessageA(edit, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(back)));
    TBitmap printed(w, h, pf24bit);
    printed.Canvas()->Brush()->SetColor(back);
    printed.Canvas()->FillRect(::Rect(0, 0, w, h));
    SendMessageA(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.Canvas()->Handle()), PRF_CLIENT);
    if (HasInk(printed, back)) {
        canvas->CopyRect(text, printed.Canvas(), ::Rect(0, 0, w, h));
        return;
    }
    std::string plain = GetCellPlainText(col, row);
    if (plain.compare(0, 2, "{\\") == 0)
        plain = RichPlainText(col, row);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(text, text.left, text.top, plain);
}

void TAdvStringGrid::GetCellTextSize(int ACol, int ARow, int& Width, int& Height)
{
    // Measured in the font the cell is painted with, zoom and event included.
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    ChooseCellFont(ACol, ARow, canvas);
    std::string text = Cells(ACol, ARow);
    if (text.find("</") != std::string::npos) {
        std::string anchor, plain;
        DrawHtmlText(canvas, text, Rect(0, 0, 65535, 65535), gridImages_, 0, 0, false, true, false, 1.0, urlColor_,
                     anchor, plain, Width, Height);
        return;
    }
    if (text.compare(0, 2, "{\\") == 0) {
        LoadRichText(ACol, ARow, richEdit_);
        text = richEdit_->Lines()->Text();
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
    }
    Width = 0;
    int lines = 0;
    std::string rest = text;
    const bool multi = multilinecells_;
    do {
        std::string line;
        TakeLine(rest, multi, line);
        Width = std::max(Width, canvas->TextWidth(line));
        ++lines;
    } while (multi && !rest.empty());
    Height = canvas->TextHeight("gh") * lines;
}

std::string TAdvStringGrid::GetCellPlainText(int ACol, int ARow)
{
    TBitmap scratch(1, 1);
    std::string anchor, plain;
    int w = 0, h = 0;
    DrawHtmlText(scratch.Canvas(), Cells(ACol, ARow), ClientRect(), nullptr, 0, 0, true, true, false, 1.0, urlColor_,
                 anchor, plain, w, h);
    return plain;
}

void TAdvStringGrid::LoadRichText(int ACol, int ARow, TRichEdit* RichEdit)
{
    const std::string text = Cells(ACol, ARow);
    if (text.empty()) {
        RichEdit->Clear();
        return;
    }
    TMemoryStream stream;
    stream.Write(text.data(), static_cast<int>(text.size()));
    stream.SetPosition(0);
    RichEdit->Lines()->LoadFromStream(stream);
}

void TAdvStringGrid::InvalidateGridRect(const TGridRect& r)
{
    if (!HandleAllocated())
        return;
    TRect a = CellRect(r.Left, r.Top);
    const TRect b = CellRect(r.Right, r.Bottom);
    UnionRect(&a, &a, &b);
    InvalidateRect(Handle(), &a, FALSE);
}

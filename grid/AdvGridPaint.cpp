// Painting of the grid's cells as plain text, and the measuring and plain
// text of a cell that sizing and sorting use.
#include "grid/AdvGrid.h"

#include "classlib/RichEdit.h"
#include "classlib/Streams.h"
#include "common/HtmlDraw.h"
#include "grid/AdvPaint.h"
#include "grid/AdvUtil.h"

void TAdvStringGrid::Paint()
{
    TStringGrid::Paint();
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

void TAdvStringGrid::DrawCell(int col, int row, TRect rect, TGridDrawState state)
{
    col = RealCol(col);
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(col < FixedCols() || row < FixedRows() ? fixedFont_.get() : Font());
    if (IsFixedCell(col, row)) {
        canvas->Brush()->SetColor(FixedColor());
        state = gdFixed;
    }
    OnGetCellColor(this, row, col, state, canvas->Brush(), canvas->Font());
    if ((state & gdSelected) && !(state & gdFocused) && selectionColor_ == clNone)
        canvas->Brush()->SetColor(clHighlight);
    if (zoom_ != 0)
        canvas->Font()->SetSize(canvas->Font()->Size() + zoom_);
    if (!DefaultDrawing()) {
        TStringGrid::DrawCell(col, row, rect, state);
        return;
    }
    const bool flagged =
        (Options() & goRowSelect) && col >= FixedCols() && mouseActions_->DisjunctRowSelect && rowFlags_.Get(row);
    if (((state & gdSelected) || flagged) && (!(state & gdFocused) || (Options() & goDrawFocusSelected))) {
        if (selectionColor_ != clNone)
            canvas->Brush()->SetColor(selectionColor_);
        if (selectionTextColor_ != clNone)
            canvas->Font()->SetColor(selectionTextColor_);
    }
    TCellPaint paint;
    FillCellPaint(col, row, rect, state, paint);
    if (col >= FixedCols() && row >= FixedRows() && mouseActions_->DisjunctRowSelect && !rowFlags_.Get(row)) {
        canvas->Brush()->SetColor(Color());
        canvas->Font()->SetColor(Font()->Color());
        OnGetCellColor(this, row, col, state, canvas->Brush(), canvas->Font());
    }
    PaintPlainCell(canvas, paint);
    // The platform's own cell event (OnDrawCell) last.
    TCustomGrid::DrawCell(col, row, rect, state);
}

void TAdvStringGrid::GetCellTextSize(int ACol, int ARow, int& Width, int& Height)
{
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    canvas->Font()->Assign(ACol < FixedCols() || ARow < FixedRows() ? fixedFont_.get() : Font());
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

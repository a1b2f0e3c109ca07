// Sorting by a column with per-column styles, row and column insertion,
// removal, clearing and exchange, and sizing columns and rows to their
// contents.
#include "grid/AdvGrid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "classlib/RichEdit.h"
#include "common/HtmlDraw.h"
#include "grid/AdvUtil.h"

// ---------------------------------------------------------------------------
// Comparing

int TAdvStringGrid::CompareCells(int Col, int RowA, int RowB)
{
    TSortStyle style = sortAutoFormat_ ? stDetect : stText;
    TCompareSettings settings;
    settings.ThousandSeparator = FormatSettings().ThousandSeparator;
    settings.DecimalSeparator = FormatSettings().DecimalSeparator;
    // Asked at every comparison: the handler may answer by anything it likes.
    OnGetFormat(this, Col, style, settings.Prefix, settings.Suffix);
    const std::string& a = CellText(Col, RowA);
    const std::string& b = CellText(Col, RowB);
    if (style == stDetect)
        style = DetectSortStyle(a, settings.ThousandSeparator, settings.DecimalSeparator);
    int res = 0;
    switch (style) {
    case stCustom:
        OnCustomCompare(this, a, b, res);
        return res;
    case stRowCompare:
        OnRawCompare(this, Col, RowA, RowB, res);
        return res;
    case stMarkupText:
        return CompareTexts(style, GetCellPlainText(Col, RowA), GetCellPlainText(Col, RowB), settings);
    default:
        return CompareTexts(style, a, b, settings);
    }
}

int TAdvStringGrid::CompareRows(int Col, int RowA, int RowB)
{
    for (;;) {
        const int res = CompareCells(Col, RowA, RowB);
        if (res != 0 || !sortFull_ || Col > ColCount() - 2)
            return res;
        ++Col;
    }
}

// ---------------------------------------------------------------------------
// Sorting

void TAdvStringGrid::SwapRows(int Row1, int Row2)
{
    ExchangeRows(Row1, Row2);
    if (RowHeights(Row1) != RowHeights(Row2)) {
        const int h = RowHeights(Row1);
        SetRowHeights(Row1, RowHeights(Row2));
        SetRowHeights(Row2, h);
    }
    if (mouseActions_->DisjunctRowSelect)
        rowFlags_.Exchange(Row1, Row2);
    if (sortCurrentRow_ == Row1)
        sortCurrentRow_ = Row2;
    else if (sortCurrentRow_ == Row2)
        sortCurrentRow_ = Row1;
    if (!sortOrder_.empty()) {
        std::swap(sortOrder_[Row1], sortOrder_[Row2]);
        return;
    }
    std::vector<int> newRow(RowCount());
    std::iota(newRow.begin(), newRow.end(), 0);
    std::swap(newRow[Row1], newRow[Row2]);
    RowsReordered(newRow);
}

void TAdvStringGrid::QuickSortRows(int Col, int Left, int Right)
{
    const int factor = sortDirection_ == sdAscending ? 1 : -1;
    // The pivot lives in the second-to-last row, a spare row of the sort.
    const int pivot = RowCount() - 2;
    while (Left < Right) {
        const int middle = (Left + Right) / 2;
        // Texts and object references: a row comparison sees the pivot as
        // the row it copies. The references are only borrowed.
        for (int col = 0; col < ColCount(); ++col) {
            StoreCellText(col, pivot, CellText(col, middle));
            SetObjects(col, pivot, Objects(col, middle));
        }
        int i = Left, j = Right;
        do {
            // The bounds keep a column whose texts compare in no consistent
            // order (stDetect on mixed texts) from running out of the rows.
            while (i <= Right && CompareRows(Col, pivot, i) == factor)
                ++i;
            while (j >= Left && CompareRows(Col, j, pivot) == factor)
                --j;
            if (i <= j) {
                if (i != j)
                    SwapRows(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        // A handler that calls the pivot greater or smaller than every row
        // (one that looks at something the pivot's copy lacks) leaves one
        // part empty and the other whole: the row at its edge counts as
        // placed, so that each pass makes the range smaller.
        if (i == Left)
            ++i;
        if (j == Right)
            --j;
        // The smaller part by recursion, the larger by the loop: the depth
        // stays logarithmic whatever the data.
        if (j - Left < Right - i) {
            if (j > Left)
                QuickSortRows(Col, Left, j);
            Left = i;
        } else {
            if (i < Right)
                QuickSortRows(Col, i, Right);
            Right = j;
        }
    }
}

void TAdvStringGrid::ForgetPivotObjects()
{
    // The pivot's objects belong to the row it copied: clearing the spare
    // rows must not free them.
    const int pivot = RowCount() - 2;
    for (int col = 0; col < ColCount(); ++col)
        SetObjects(col, pivot, nullptr);
}

void TAdvStringGrid::SetRowQuietly(int row)
{
    if (row >= 0 && row < RowCount() && row != Row())
        MoveCurrent(Col(), row, true, true);
}

int TAdvStringGrid::SortLastColumn() const
{
    return ColCount() - 1;
}

void TAdvStringGrid::SortWith(bool groups)
{
    BeginUpdate();
    const int rows = RowCount();
    const int lastWidth = ColWidths(ColCount() - 1);
    const int current = Row();
    bool spares = false;
    // Which row each row came from, so that the hidden rows and the edit
    // cell follow theirs.
    sortOrder_.resize(rows + 3);
    std::iota(sortOrder_.begin(), sortOrder_.end(), 0);
    auto reordered = [&] {
        std::vector<int> newRow(rows);
        for (int r = 0; r < rows; ++r)
            newRow[sortOrder_[r]] = r;
        sortOrder_.clear();
        RowsReordered(newRow);
    };
    try {
        SetRowCount(rows + 3);
        spares = true;
        sortCurrentRow_ = current;
        if (navigation_->MoveRowOnSort)
            MoveCurrent(Col(), rows, true, false);
        if (!groups) {
            QuickSortRows(sortColumn_, FixedRows(), rows - fixedFooters_ - 1);
        } else {
            // Each run of rows below a node row, up to the next node row.
            int row = 1;
            while (row < rows && IsNodeRow(row)) {
                const int first = row + 1;
                int last = first;
                while (last < rows && !IsNodeRow(last))
                    ++last;
                if (last - 1 > first)
                    QuickSortRows(sortColumn_, first, last - 1);
                row = last;
            }
        }
    } catch (...) {
        // A comparison that raised: the grid goes back to its own size, the
        // rows as far as they were sorted.
        if (spares) {
            ForgetPivotObjects();
            ClearRows(rows, 3);
            SetRowCount(rows);
        }
        SetColWidths(ColCount() - 1, lastWidth);
        if (sortCurrentRow_ >= 0 && sortCurrentRow_ < rows)
            SetRowQuietly(sortCurrentRow_);
        sortCurrentRow_ = -1;
        reordered();
        EndUpdate();
        throw;
    }
    ForgetPivotObjects();
    ClearRows(rows + 1, 2);
    const int follow = sortCurrentRow_;
    sortCurrentRow_ = -1;
    SetRowCount(rows);
    SetRowQuietly(follow);
    reordered();
    SetColWidths(ColCount() - 1, lastWidth);
    EndUpdate();
}

void TAdvStringGrid::SortRows()
{
    SortWith(false);
}

void TAdvStringGrid::SortRowGroups()
{
    SortWith(true);
}

// ---------------------------------------------------------------------------
// Rows and columns

void TAdvStringGrid::InsertRows(int Index, int Count)
{
    if (Count <= 0)
        return;
    const int lastWidth = ColWidths(ColCount() - 1);
    for (int i = 0; i < Count; ++i)
        InsertRow(Index);
    ClearRows(Index, Count);
    SetColWidths(ColCount() - 1, lastWidth);
    // The new rows come before the row that was at Index, after the hidden
    // rows above it.
    HiddenRowsFollow([&](int gap) { return gap <= Index ? gap : gap + Count; });
    if (editRow_ >= Index)
        editRow_ += Count;
    SettleEditCell();
}

void TAdvStringGrid::RemoveRows(int Index, int Count)
{
    if (Count <= 0)
        return;
    const int lastWidth = ColWidths(ColCount() - 1);
    BeginUpdate();
    const int current = Row();
    const int top = TopRow();
    int removed = 0;
    // The hidden rows of removed rows stay in their place among the others;
    // an edit cell removed is gone.
    auto follow = [&] {
        HiddenRowsFollow([&](int gap) { return gap - std::clamp(gap - Index, 0, removed); });
        editRow_ = IndexAfterRemoval(editRow_, Index, removed);
    };
    try {
        for (; removed < Count; ++removed) {
            DeleteRow(Index);
            if (mouseActions_->DisjunctRowSelect)
                rowFlags_.Remove(Index);
        }
        follow();
        // Otherwise the class library moved the current row up, without a
        // click.
        if (current < RowCount()) {
            SetRowQuietly(current);
            SetTopRow(top);
        }
        SettleEditCell();
    } catch (...) {
        if (removed < Count)
            follow();
        EndUpdate();
        throw;
    }
    SetColWidths(ColCount() - 1, lastWidth);
    EndUpdate();
}

void TAdvStringGrid::InsertCols(int Index, int Count)
{
    if (Count <= 0)
        return;
    for (int i = 0; i < Count; ++i)
        InsertColumn(Index);
    ClearCols(Index, Count);
    HiddenCellsFollow([&](TStrings* cells) {
        for (int i = 0; i < Count && Index <= cells->Count(); ++i)
            cells->InsertObject(Index, "", nullptr);
    });
    if (editCol_ >= Index)
        editCol_ += Count;
    SettleEditCell();
}

void TAdvStringGrid::RemoveCols(int Index, int Count)
{
    if (Count <= 0)
        return;
    ClearCols(Index, Count);
    for (int i = 0; i < Count; ++i)
        DeleteColumn(Index);
    // The hidden rows' cells go as the shown ones: cleared, then taken out.
    HiddenCellsFollow([&](TStrings* cells) { CutHiddenCells(cells, Index, Count); });
    editCol_ = IndexAfterRemoval(editCol_, Index, Count);
    SettleEditCell();
}

void TAdvStringGrid::ClearCellRange(int FromCol, int FromRow, int ToCol, int ToRow)
{
    if (ToRow < FromRow || ToCol < FromCol)
        return;
    bool cleared = false;
    for (int row = std::max(FromRow, 0); row <= ToRow && row < RowCount(); ++row)
        for (int col = std::max(FromCol, 0); col <= ToCol && col < ColCount(); ++col) {
            if (!CellText(col, row).empty()) {
                StoreCellText(col, row, "");
                cleared = true;
            }
            if (enableGraphics_)
                if (auto* graphic = dynamic_cast<TCellGraphic*>(Objects(col, row))) {
                    SetObjects(col, row, nullptr);
                    delete graphic;
                    cleared = true;
                }
        }
    // One repaint for the block, and the editor shows what its cell holds now.
    if (cleared && !IsDestroying()) {
        Invalidate();
        InvalidateEditor();
    }
}

void TAdvStringGrid::ClearRows(int Row, int Count)
{
    if (RowCount() > 0 && ColCount() > 0 && Count > 0)
        ClearCellRange(0, Row, ColCount() - 1, Row + Count - 1);
}

void TAdvStringGrid::ClearCols(int Col, int Count)
{
    if (Count > 0)
        ClearCellRange(Col, 0, Col + Count - 1, RowCount() - 1);
}

void TAdvStringGrid::ClearAll()
{
    ClearCellRange(0, 0, ColCount() - 1, RowCount() - 1);
    // Hidden rows too: shown again, they come back empty.
    for (int i = 0; i < hiddenRows_->Count(); ++i)
        CutHiddenCells(static_cast<TGridItem*>(hiddenRows_->Items(i))->Items(), 0);
}

bool TAdvStringGrid::IsInSelection(int Col, int Row)
{
    const TGridRect s = Selection();
    return Col >= s.Left && Col <= s.Right && Row >= s.Top && Row <= s.Bottom;
}

void TAdvStringGrid::InvalidateSelection()
{
    if (!HandleAllocated())
        return;
    const TGridRect s = Selection();
    TRect a = CellRect(s.Left, s.Top);
    const TRect b = CellRect(s.Right, s.Bottom);
    UnionRect(&a, &a, &b);
    InvalidateRect(Handle(), &a, FALSE);
}

// ---------------------------------------------------------------------------
// Sizing

void TAdvStringGrid::ChooseCellFont(int col, int row, TCanvas* canvas)
{
    const bool fixed = col < FixedCols() || row < FixedRows();
    canvas->Font()->Assign(fixed ? fixedFont_.get() : Font());
    OnGetCellColor(this, row, col, 0, canvas->Brush(), canvas->Font());
    if (zoom_ != 0)
        canvas->Font()->SetSize(canvas->Font()->Size() + zoom_);
}

void TAdvStringGrid::FitColumn(int Col, bool OnlyGrow)
{
    int widest = 0;
    for (int row = 0; row < RowCount(); ++row) {
        int w = 0, h = 0;
        GetCellTextSize(Col, row, w, h);
        if (enableGraphics_)
            w += GetCellGraphicSize(Col, row).cx;
        widest = std::max(widest, w);
    }
    const int width = widest + 4;
    if (!OnlyGrow || width > ColWidths(Col))
        SetColWidths(Col, width);
}

void TAdvStringGrid::FitAllColumns(bool WithFixed, int Extra)
{
    if (WithFixed)
        for (int col = 0; col < FixedCols(); ++col) {
            FitColumn(col);
            if (Extra != 0)
                SetColWidths(col, ColWidths(col) + Extra);
        }
    for (int col = FixedCols(); col < ColCount(); ++col) {
        FitColumn(col);
        if (Extra != 0)
            SetColWidths(col, ColWidths(col) + Extra);
    }
}

void TAdvStringGrid::FitRowHeight(int Row)
{
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    int height = DefaultRowHeight();
    for (int col = 0; col < ColCount(); ++col) {
        ChooseCellFont(col, Row, canvas);
        std::string text = Cells(col, Row);
        if (text.find("{\\") != std::string::npos) {
            LoadRichText(col, Row, richEdit_);
            text = richEdit_->Lines()->Text();
        }
        RECT r{0, 0, std::max(0, ColWidths(col) - 4), 0};
        UINT flags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
        const TAlignment alignment = GetCellAlignment(col, Row);
        flags |= alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
        DrawTextA(canvas->TextHandle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
        int need = r.bottom - r.top;
        if (enableGraphics_)
            need = std::max<int>(need, GetCellGraphicSize(col, Row).cy);
        if (need + 2 > height)
            height = need + 4;
    }
    SetRowHeights(Row, height);
}

void TAdvStringGrid::SetRowLines(int Row, int Lines, int Base)
{
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    canvas->Font()->Assign(Font());
    const int h = canvas->TextHeight("gh");
    SetRowHeights(Row, Base + Lines * (h + h / 4));
}

int TAdvStringGrid::RowLineCount(int Row)
{
    if (ColCount() == 0 || !multilinecells_)
        return 1;
    int lines = 1;
    for (int col = 0; col < ColCount(); ++col)
        lines = std::max(lines, LineCount(Cells(col, Row), true));
    return lines;
}

void TAdvStringGrid::PlaceRotatedText(TRect& R, int Angle, TAlignment Alignment, const std::string& Text)
{
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    canvas->Font()->Assign(Font());
    const int W = canvas->TextWidth(Text);
    const int H = canvas->TextHeight(Text);
    R.right -= 2;
    R.bottom -= 2;
    const double t = Angle * 3.14159265358979323846 / 180.0;
    const int a = std::abs(static_cast<int>(std::cos(t) * H));
    const int b = std::abs(static_cast<int>(std::sin(t) * W));
    const int c = std::abs(static_cast<int>(std::sin(t) * H));
    const int d = std::abs(static_cast<int>(std::cos(t) * W));
    const int quarter = Angle <= 90 ? 1 : Angle <= 180 ? 2 : Angle <= 270 ? 3 : 4;
    const int w = R.right - R.left;
    const int h = R.bottom - R.top;
    // A text larger than its cell is centred by halving a negative room too.
    auto half = [](int v) { return v / 2; };
    int left = R.left, top = R.top;
    switch (Alignment) {
    case taLeftJustify:
        left = quarter == 1 ? R.left : quarter == 2 ? R.left + d : quarter == 3 ? R.left + c + d : R.left + c;
        break;
    case taRightJustify:
        left = quarter == 1 ? R.right - d - c : quarter == 2 ? R.right - c : quarter == 3 ? R.right : R.right - d;
        break;
    case taCenter:
        left = quarter == 1   ? R.left + half(w - c - d)
               : quarter == 2 ? R.right - half(w + c - d)
               : quarter == 3 ? R.right - half(w - c - d)
                              : R.left + half(w + c - d);
        break;
    }
    switch (vAlignment_) {
    case vtaTop:
        top = quarter == 1 ? R.top + b : quarter == 2 ? R.top + b + a : quarter == 3 ? R.top + a : R.top;
        break;
    case vtaBottom:
        top = quarter == 1 ? R.bottom - a : quarter == 2 ? R.bottom : quarter == 3 ? R.bottom - b : R.bottom - a - b;
        break;
    case vtaCenter:
        top = quarter == 1   ? R.top + half(h - a - b) + b
              : quarter == 2 ? R.top + half(h - a - b) + a + b
              : quarter == 3 ? R.top + half(h - a - b) + a
                             : R.top + half(h - a - b);
        break;
    }
    R.left = left + 2;
    R.top = top + 2;
}

void TAdvStringGrid::PasteDone(TGridCoord, TGridRect) {}

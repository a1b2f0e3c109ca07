#include "classlib/Grids.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "classlib/Forms.h"
#include "classlib/Lists.h"
#include "classlib/TypInfo.h"

namespace {

constexpr int ScrollRange = 127;
// How near a column's or row's edge the mouse sizes it.
constexpr int SizingSlack = 3;
// The timer that scrolls while a row or column is dragged beyond the view.
constexpr UINT_PTR MoveTimerId = 1;
constexpr UINT MoveTimerInterval = 60;

[[noreturn]] void InvalidGridOperation(const char* text)
{
    throw EInvalidGridOperation(text);
}

bool Contains(const TGridRect& r, int col, int row)
{
    return col >= r.Left && col <= r.Right && row >= r.Top && row <= r.Bottom;
}

} // namespace

// ---------------------------------------------------------------------------
// TCustomGrid: geometry

struct TCustomGrid::TAxis {
    int count, fixed, first, lineWidth, extent;
    const std::vector<int>* sizes;
};

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(csCaptureMouse | csOpaque | csDoubleClicks);
    SetBounds(Left(), Top(), 320, 120);
    SetParentColor(false);  // keeps its window colour whatever the parent has
    SetTabStop(true);
    ChangeSize(5, 5);
    fixedCols_ = 1;
    fixedRows_ = 1;
    current_ = anchor_ = topLeft_ = {1, 1};
}

TCustomGrid::~TCustomGrid()
{
    Destroying();
}

void TCustomGrid::Axis(bool horizontal, TAxis& a)
{
    if (horizontal) {
        a.count = colCount_;
        a.fixed = fixedCols_;
        a.first = topLeft_.X;
        a.lineWidth = (options_ & (goFixedVertLine | goVertLine)) ? gridLineWidth_ : 0;
        a.extent = ClientWidth();
        a.sizes = &colWidths_;
    } else {
        a.count = rowCount_;
        a.fixed = fixedRows_;
        a.first = topLeft_.Y;
        a.lineWidth = (options_ & (goFixedHorzLine | goHorzLine)) ? gridLineWidth_ : 0;
        a.extent = ClientHeight();
        a.sizes = &rowHeights_;
    }
}

// The left (top) edge of a column (row) in client coordinates; -1 when it is
// scrolled out of view on the near side.
int TCustomGrid::LinePos(bool horizontal, int index)
{
    TAxis a;
    Axis(horizontal, a);
    int pos = 0;
    for (int i = 0; i < std::min(index, a.fixed); ++i)
        pos += (*a.sizes)[i] + a.lineWidth;
    if (index < a.fixed)
        return pos;
    if (index < a.first)
        return -1;
    for (int i = a.first; i < index; ++i)
        pos += (*a.sizes)[i] + a.lineWidth;
    return pos;
}

// The last column (row) from the first scrolled one that shows whole; one
// before the first when none does.
int TCustomGrid::LastFullyVisible(bool horizontal)
{
    TAxis a;
    Axis(horizontal, a);
    int pos = LinePos(horizontal, a.first);
    int last = a.first - 1;
    for (int i = a.first; i < a.count; ++i) {
        pos += (*a.sizes)[i];
        if (pos > a.extent)
            break;
        last = i;
        pos += a.lineWidth;
    }
    return last;
}

// The largest first scrolled column (row) that still fills the view.
int TCustomGrid::MaxTopLeft(bool horizontal)
{
    TAxis a;
    Axis(horizontal, a);
    int room = a.extent;
    for (int i = 0; i < a.fixed; ++i)
        room -= (*a.sizes)[i] + a.lineWidth;
    int first = a.count;
    int used = 0;
    while (first > a.fixed) {
        const int size = (*a.sizes)[first - 1];
        if (used + size > room && first < a.count)
            break;
        used += size + a.lineWidth;
        --first;
    }
    return std::max(first, a.fixed);
}

// The room the fixed columns (rows) take, their lines included.
int TCustomGrid::FixedExtent(bool horizontal)
{
    TAxis a;
    Axis(horizontal, a);
    int extent = 0;
    for (int i = 0; i < a.fixed; ++i)
        extent += (*a.sizes)[i] + a.lineWidth;
    return extent;
}

int TCustomGrid::VisibleColCount()
{
    if (colCount_ <= fixedCols_)
        return 0;
    return std::max(1, LastFullyVisible(true) - topLeft_.X + 1);
}

int TCustomGrid::VisibleRowCount()
{
    if (rowCount_ <= fixedRows_)
        return 0;
    return std::max(1, LastFullyVisible(false) - topLeft_.Y + 1);
}

TRect TCustomGrid::CellRect(int col, int row)
{
    TRect empty{0, 0, 0, 0};
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        return empty;
    const int left = LinePos(true, col);
    const int top = LinePos(false, row);
    if (left < 0 || top < 0 || left >= ClientWidth() || top >= ClientHeight())
        return empty;
    return TRect{left, top, left + colWidths_[col], top + rowHeights_[row]};
}

int TCustomGrid::IndexAt(bool horizontal, int at)
{
    TAxis a;
    Axis(horizontal, a);
    for (int i = 0; i < a.count; ++i) {
        if (i >= a.fixed && i < a.first)
            continue;
        const int pos = LinePos(horizontal, i);
        if (pos > at)
            break;
        if (at < pos + (*a.sizes)[i] + a.lineWidth)
            return i;
    }
    return -1;
}

TGridCoord TCustomGrid::MouseCoord(int x, int y)
{
    TGridCoord cell{-1, -1};
    if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight())
        return cell;
    cell = {IndexAt(true, x), IndexAt(false, y)};
    if (cell.X < 0 || cell.Y < 0)
        cell = {-1, -1};
    return cell;
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row)
{
    const TGridCoord cell = MouseCoord(x, y);
    col = cell.X;
    row = cell.Y;
}

// ---------------------------------------------------------------------------
// Sizes and counts

void TCustomGrid::ChangeSize(int colCount, int rowCount)
{
    const int oldCols = colCount_;
    const int oldRows = rowCount_;
    colCount_ = colCount;
    rowCount_ = rowCount;
    colWidths_.resize(colCount, defaultColWidth_);
    rowHeights_.resize(rowCount, defaultRowHeight_);
    // A cell that is gone is current no more; the last one that is takes over.
    current_.X = std::min(current_.X, colCount - 1);
    current_.Y = std::min(current_.Y, rowCount - 1);
    anchor_.X = std::min(anchor_.X, colCount - 1);
    anchor_.Y = std::min(anchor_.Y, rowCount - 1);
    SizeChanged(oldCols, oldRows);
    if (handle_) {
        UpdateScrollRange();
        Invalidate();
        UpdateEdit();
    }
}

void TCustomGrid::SetColCount(int value)
{
    value = std::max(value, 1);
    if (value == colCount_)
        return;
    if (value <= fixedCols_)
        fixedCols_ = value - 1;
    ChangeSize(value, rowCount_);
}

void TCustomGrid::SetRowCount(int value)
{
    value = std::max(value, 1);
    if (value == rowCount_)
        return;
    if (value <= fixedRows_)
        fixedRows_ = value - 1;
    ChangeSize(colCount_, value);
}

// New fixed counts start the view, and the current cell, at the first cell
// that is not fixed.
void TCustomGrid::Initialize()
{
    topLeft_ = {fixedCols_, fixedRows_};
    current_ = anchor_ = topLeft_;
}

void TCustomGrid::SetFixedCols(int value)
{
    if (value == fixedCols_)
        return;
    if (value < 0)
        InvalidGridOperation("Grid index out of range");
    if (value >= colCount_)
        InvalidGridOperation("Fixed column count must be less than column count");
    fixedCols_ = value;
    Initialize();
    if (handle_) {
        UpdateScrollRange();
        Invalidate();
        UpdateEdit();
    }
}

void TCustomGrid::SetFixedRows(int value)
{
    if (value == fixedRows_)
        return;
    if (value < 0)
        InvalidGridOperation("Grid index out of range");
    if (value >= rowCount_)
        InvalidGridOperation("Fixed row count must be less than row count");
    fixedRows_ = value;
    Initialize();
    if (handle_) {
        UpdateScrollRange();
        Invalidate();
        UpdateEdit();
    }
}

void TCustomGrid::SetDefaultColWidth(int value)
{
    defaultColWidth_ = value;
    std::fill(colWidths_.begin(), colWidths_.end(), value);
    ColWidthsChanged();
    if (handle_) {
        UpdateScrollRange();
        Invalidate();
        UpdateEdit();
    }
}

void TCustomGrid::SetDefaultRowHeight(int value)
{
    defaultRowHeight_ = value;
    std::fill(rowHeights_.begin(), rowHeights_.end(), value);
    RowHeightsChanged();
    if (handle_) {
        UpdateScrollRange();
        Invalidate();
        UpdateEdit();
    }
}

int TCustomGrid::ColWidths(int index) const
{
    return index >= 0 && index < colCount_ ? colWidths_[index] : defaultColWidth_;
}

void TCustomGrid::SetColWidths(int index, int value)
{
    if (index < 0 || index >= colCount_)
        InvalidGridOperation("Grid index out of range");
    if (colWidths_[index] == value)
        return;
    colWidths_[index] = value;
    ColWidthsChanged();
    if (handle_) {
        UpdateScrollRange();
        Invalidate();
        UpdateEdit();
    }
}

int TCustomGrid::RowHeights(int index) const
{
    return index >= 0 && index < rowCount_ ? rowHeights_[index] : defaultRowHeight_;
}

void TCustomGrid::SetRowHeights(int index, int value)
{
    if (index < 0 || index >= rowCount_)
        InvalidGridOperation("Grid index out of range");
    if (rowHeights_[index] == value)
        return;
    rowHeights_[index] = value;
    RowHeightsChanged();
    if (handle_) {
        UpdateScrollRange();
        Invalidate();
        UpdateEdit();
    }
}

void TCustomGrid::SetGridLineWidth(int value)
{
    gridLineWidth_ = std::max(value, 0);
    if (handle_) {
        UpdateScrollRange();
        Invalidate();
        UpdateEdit();
    }
}

void TCustomGrid::SetOptions(TGridOptions value)
{
    // A selected row has no single cell to edit.
    if (value & goRowSelect)
        value &= ~goAlwaysShowEditor;
    if (value == options_)
        return;
    options_ = value;
    if (!editorMode_) {
        if (value & goAlwaysShowEditor)
            ShowEditor();
        else
            HideEditor();
    } else if (!(value & goEditing) || (value & goRowSelect)) {
        HideEditor();
    }
    if (value & goRowSelect)
        MoveCurrent(current_.X, current_.Y, true, false);
    if (handle_) {
        UpdateScrollRange();
        Invalidate();
        UpdateEdit();
    }
}

void TCustomGrid::SetFixedColor(TColor value)
{
    fixedColor_ = value;
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle value)
{
    if (value == scrollBars_)
        return;
    scrollBars_ = value;
    RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomGrid::SetCtl3D(bool value)
{
    if (value == ctl3D_)
        return;
    ctl3D_ = value;
    RecreateWnd();
}

void TCustomGrid::MoveColumn(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex)
        return;
    if (fromIndex < 0 || toIndex < 0 || fromIndex >= colCount_ || toIndex >= colCount_)
        InvalidGridOperation("Grid index out of range");
    const int width = colWidths_[fromIndex];
    colWidths_.erase(colWidths_.begin() + fromIndex);
    colWidths_.insert(colWidths_.begin() + toIndex, width);
    ColumnMoved(fromIndex, toIndex);
    Invalidate();
    UpdateEdit();
}

void TCustomGrid::MoveRow(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex)
        return;
    if (fromIndex < 0 || toIndex < 0 || fromIndex >= rowCount_ || toIndex >= rowCount_)
        InvalidGridOperation("Grid index out of range");
    const int height = rowHeights_[fromIndex];
    rowHeights_.erase(rowHeights_.begin() + fromIndex);
    rowHeights_.insert(rowHeights_.begin() + toIndex, height);
    RowMoved(fromIndex, toIndex);
    Invalidate();
    UpdateEdit();
}

void TCustomGrid::DeleteRow(int index)
{
    if (index < 0 || index >= rowCount_)
        InvalidGridOperation("Grid index out of range");
    if (rowCount_ - 1 <= fixedRows_)
        fixedRows_ = std::max(0, rowCount_ - 2);
    rowHeights_.erase(rowHeights_.begin() + index);
    rowHeights_.push_back(defaultRowHeight_);
    ChangeSize(colCount_, rowCount_ - 1);
}

void TCustomGrid::DeleteColumn(int index)
{
    if (index < 0 || index >= colCount_)
        InvalidGridOperation("Grid index out of range");
    if (colCount_ - 1 <= fixedCols_)
        fixedCols_ = std::max(0, colCount_ - 2);
    colWidths_.erase(colWidths_.begin() + index);
    colWidths_.push_back(defaultColWidth_);
    ChangeSize(colCount_ - 1, rowCount_);
}

void TCustomGrid::InsertRow(int index)
{
    if (index < 0 || index > rowCount_)
        InvalidGridOperation("Grid index out of range");
    rowHeights_.insert(rowHeights_.begin() + index, defaultRowHeight_);
    ChangeSize(colCount_, rowCount_ + 1);
}

void TCustomGrid::InsertColumn(int index)
{
    if (index < 0 || index > colCount_)
        InvalidGridOperation("Grid index out of range");
    colWidths_.insert(colWidths_.begin() + index, defaultColWidth_);
    ChangeSize(colCount_ + 1, rowCount_);
}

// The hooks: the change is made already.
void TCustomGrid::ColWidthsChanged() {}
void TCustomGrid::RowHeightsChanged() {}
void TCustomGrid::SizeChanged(int, int) {}
void TCustomGrid::TopLeftChanged()
{
    OnTopLeftChanged(this);
}
void TCustomGrid::ColumnMoved(int fromIndex, int toIndex)
{
    OnColumnMoved(this, fromIndex, toIndex);
}
void TCustomGrid::RowMoved(int fromIndex, int toIndex)
{
    OnRowMoved(this, fromIndex, toIndex);
}

// ---------------------------------------------------------------------------
// Current cell, selection, scrolling

TGridRect TCustomGrid::Selection() const
{
    TGridRect r;
    r.Left = std::min(anchor_.X, current_.X);
    r.Right = std::max(anchor_.X, current_.X);
    r.Top = std::min(anchor_.Y, current_.Y);
    r.Bottom = std::max(anchor_.Y, current_.Y);
    if (options_ & goRowSelect) {
        r.Left = fixedCols_;
        r.Right = colCount_ - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& value)
{
    const TGridRect old = Selection();
    anchor_ = {value.Left, value.Top};
    current_ = {value.Right, value.Bottom};
    SelectionMoved(old);
}

bool TCustomGrid::SelectCell(int col, int row)
{
    bool can = true;
    OnSelectCell(this, col, row, can);
    return can;
}

bool TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor, bool show)
{
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        InvalidGridOperation("Grid index out of range");
    if (!SelectCell(col, row))
        return false;
    const TGridRect old = Selection();
    current_ = {col, row};
    if (moveAnchor || !(options_ & goRangeSelect))
        anchor_ = current_;
    if (options_ & goRowSelect)
        anchor_.X = current_.X;
    if (show)
        ClampInView(current_);
    SelectionMoved(old);
    return true;
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor)
{
    if (!MoveCurrent(col, row, moveAnchor, true))
        return;
    UpdateEdit();
    Click();
}

void TCustomGrid::SetCol(int value)
{
    if (value != current_.X)
        FocusCell(value, current_.Y, true);
}

void TCustomGrid::SetRow(int value)
{
    if (value != current_.Y)
        FocusCell(current_.X, value, true);
}

void TCustomGrid::SelectionMoved(const TGridRect& old)
{
    if (!handle_)
        return;
    InvalidateRange(old);
    InvalidateRange(Selection());
}

// The client span of the columns (rows) from..to that show; false when
// none does.
bool TCustomGrid::VisibleSpan(bool horizontal, int from, int to, int& low, int& high)
{
    TAxis a;
    Axis(horizontal, a);
    low = a.extent;
    high = 0;
    for (int i = std::max(from, 0); i <= std::min(to, a.count - 1); ++i) {
        const int pos = LinePos(horizontal, i);
        if (pos < 0)
            continue;  // scrolled away before the view
        if (pos >= a.extent) {
            if (i >= a.fixed)
                break;  // and all after it
            continue;
        }
        low = std::min(low, pos);
        high = std::max(high, pos + (*a.sizes)[i]);
    }
    return low < high;
}

void TCustomGrid::InvalidateRange(const TGridRect& range)
{
    if (!handle_)
        return;
    int left, right, top, bottom;
    if (!VisibleSpan(true, range.Left, range.Right, left, right) ||
        !VisibleSpan(false, range.Top, range.Bottom, top, bottom))
        return;
    RECT area{left, top, right, bottom};
    // With the lines around it, where a focus frame or selection may show.
    InflateRect(&area, gridLineWidth_ + 1, gridLineWidth_ + 1);
    InvalidateRect(handle_, &area, FALSE);
}

void TCustomGrid::InvalidateCell(int col, int row)
{
    InvalidateRange(TGridRect{col, row, col, row});
}

void TCustomGrid::InvalidateRow(int row)
{
    InvalidateRange(TGridRect{0, row, colCount_ - 1, row});
}

void TCustomGrid::InvalidateCol(int col)
{
    InvalidateRange(TGridRect{col, 0, col, rowCount_ - 1});
}

void TCustomGrid::ClampInView(TGridCoord cell)
{
    // The first scrolled column (row) from which the cell shows whole, not
    // before the present one; the cell itself when it cannot show whole.
    // Counted back from the cell, so a far cell costs no more than a near one.
    auto firstFor = [this](bool horizontal, int index, int first) {
        TAxis a;
        Axis(horizontal, a);
        if (index < a.fixed)
            return first;
        if (index < first)
            return index;
        const int room = a.extent - FixedExtent(horizontal);
        int from = index;
        int used = (*a.sizes)[index];
        while (from - 1 >= first && used + a.lineWidth + (*a.sizes)[from - 1] <= room) {
            used += a.lineWidth + (*a.sizes)[from - 1];
            --from;
        }
        return from;
    };
    MoveTopLeft(firstFor(true, cell.X, topLeft_.X), firstFor(false, cell.Y, topLeft_.Y));
}

void TCustomGrid::MoveTopLeft(int col, int row)
{
    col = std::max(fixedCols_, std::min(col, std::max(MaxTopLeft(true), fixedCols_)));
    row = std::max(fixedRows_, std::min(row, std::max(MaxTopLeft(false), fixedRows_)));
    if (col == topLeft_.X && row == topLeft_.Y)
        return;
    topLeft_ = {col, row};
    if (handle_) {
        UpdateScrollRange();
        Invalidate();
        UpdateEdit();
    }
    TopLeftChanged();
}

void TCustomGrid::SetLeftCol(int value)
{
    MoveTopLeft(value, topLeft_.Y);
}

void TCustomGrid::SetTopRow(int value)
{
    MoveTopLeft(topLeft_.X, value);
}

void TCustomGrid::UpdateScrollRange()
{
    if (!handle_ || updatingScrollBars_)
        return;
    updatingScrollBars_ = true;
    // Showing one bar takes room from the other direction: twice settles it.
    for (int pass = 0; pass < 2; ++pass) {
        for (bool horizontal : {true, false}) {
            const int bar = horizontal ? SB_HORZ : SB_VERT;
            const bool allowed = scrollBars_ == ssBoth || scrollBars_ == (horizontal ? ssHorizontal : ssVertical);
            const int fixed = horizontal ? fixedCols_ : fixedRows_;
            const int first = horizontal ? topLeft_.X : topLeft_.Y;
            const int max = std::max(MaxTopLeft(horizontal), first);
            // The bar is set, shown or hidden only when that changes: each
            // of these calls redraws the frame, and a scroll by a line comes
            // through here while the thumb mostly stays where it is.
            const bool shown = (GetWindowLongA(handle_, GWL_STYLE) & (horizontal ? WS_HSCROLL : WS_VSCROLL)) != 0;
            if (allowed && max > fixed) {
                SCROLLINFO info{};
                info.cbSize = sizeof info;
                info.fMask = SIF_RANGE | SIF_POS;
                SCROLLINFO now = info;
                GetScrollInfo(handle_, bar, &now);
                info.nMax = ScrollRange;
                info.nPos = ScrollBarPosition(horizontal);
                if (now.nMin != 0 || now.nMax != info.nMax || now.nPos != info.nPos)
                    SetScrollInfo(handle_, bar, &info, TRUE);
                if (!shown)
                    ShowScrollBar(handle_, bar, TRUE);
            } else if (shown) {
                ShowScrollBar(handle_, bar, FALSE);
            }
        }
    }
    updatingScrollBars_ = false;
    // A larger view may show everything from an earlier first cell.
    const int maxCol = std::max(MaxTopLeft(true), fixedCols_);
    const int maxRow = std::max(MaxTopLeft(false), fixedRows_);
    if (topLeft_.X > maxCol || topLeft_.Y > maxRow)
        MoveTopLeft(std::min(topLeft_.X, maxCol), std::min(topLeft_.Y, maxRow));
}

int TCustomGrid::ScrollBarPosition(bool horizontal)
{
    const int fixed = horizontal ? fixedCols_ : fixedRows_;
    const int first = horizontal ? topLeft_.X : topLeft_.Y;
    const int max = std::max(MaxTopLeft(horizontal), first);
    return max > fixed ? MulDiv(first - fixed, ScrollRange, max - fixed) : 0;
}

void TCustomGrid::ScrollMessage(bool horizontal, int code, int thumb)
{
    const int fixed = horizontal ? fixedCols_ : fixedRows_;
    const int first = horizontal ? topLeft_.X : topLeft_.Y;
    const int max = std::max(MaxTopLeft(horizontal), fixed);
    const int page = std::max(1, horizontal ? VisibleColCount() : VisibleRowCount());
    int target = first;
    switch (code) {
    case SB_LINEUP:
        target = first - 1;
        break;
    case SB_LINEDOWN:
        target = first + 1;
        break;
    case SB_PAGEUP:
        target = first - page;
        break;
    case SB_PAGEDOWN:
        target = first + page;
        break;
    case SB_TOP:
        target = fixed;
        break;
    case SB_BOTTOM:
        target = max;
        break;
    case SB_THUMBTRACK:
        if (!(options_ & goThumbTracking))
            return;
        [[fallthrough]];
    case SB_THUMBPOSITION:
        target = fixed + MulDiv(thumb, max - fixed, ScrollRange);
        break;
    default:
        return;
    }
    target = std::max(fixed, std::min(target, max));
    if (horizontal)
        MoveTopLeft(target, topLeft_.Y);
    else
        MoveTopLeft(topLeft_.X, target);
}

void TCustomGrid::Resize()
{
    TCustomControl::Resize();
    UpdateScrollRange();
}

// ---------------------------------------------------------------------------
// Editor

bool TCustomGrid::GridFocused() const
{
    if (!handle_)
        return false;
    HWND focus = GetFocus();
    return focus == handle_ || (inplaceEdit_ && inplaceEdit_->handle_ && focus == inplaceEdit_->handle_);
}

bool TCustomGrid::CanEditShow()
{
    return (options_ & (goRowSelect | goEditing)) == goEditing && editorMode_ && handle_ && !IsLoading() &&
           ((options_ & goAlwaysShowEditor) || GridFocused());
}

TInplaceEdit* TCustomGrid::CreateEditor()
{
    return new TInplaceEdit(this);
}

std::string TCustomGrid::GetEditText(int col, int row)
{
    std::string value;
    OnGetEditText(this, col, row, value);
    return value;
}

void TCustomGrid::SetEditText(int col, int row, const std::string& value)
{
    OnSetEditText(this, col, row, value);
}

void TCustomGrid::UpdateEdit()
{
    if (!CanEditShow())
        return;
    if (!inplaceEdit_) {
        inplaceEdit_ = CreateEditor();
        inplaceEdit_->grid_ = this;
        inplaceEdit_->SetParent(this);
    }
    if (inplaceCol_ != current_.X || inplaceRow_ != current_.Y) {
        inplaceCol_ = current_.X;
        inplaceRow_ = current_.Y;
        inplaceEdit_->UpdateContents();
        inplaceEdit_->SelectAll();
    }
    const TRect rect = CellRect(current_.X, current_.Y);
    if (rect.right <= rect.left) {
        // The current cell is scrolled away: so is its editor.
        if (inplaceEdit_->Focused())
            ::SetFocus(handle_);
        inplaceEdit_->SetVisible(false);
        return;
    }
    inplaceEdit_->MoveTo(rect);
    if (GetFocus() == handle_)
        ::SetFocus(inplaceEdit_->Handle());
}

void TCustomGrid::InvalidateEditor()
{
    if (inplaceEdit_ && inplaceCol_ >= 0)
        inplaceEdit_->UpdateContents();
}

void TCustomGrid::ShowEditor()
{
    editorMode_ = true;
    UpdateEdit();
}

void TCustomGrid::HideEditor()
{
    editorMode_ = false;
    if (!inplaceEdit_)
        return;
    inplaceCol_ = inplaceRow_ = -1;
    if (inplaceEdit_->Visible()) {
        if (inplaceEdit_->Focused())
            ::SetFocus(handle_);
        inplaceEdit_->SetVisible(false);
    }
}

void TCustomGrid::SetEditorMode(bool value)
{
    if (value)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::EditorLostFocus(HWND to)
{
    // The focus left the grid and its editor: the editor shows again when it
    // comes back.
    if (to != handle_ && inplaceEdit_) {
        inplaceCol_ = inplaceRow_ = -1;
        inplaceEdit_->SetVisible(false);
        InvalidateRange(Selection());
    }
}

// ---------------------------------------------------------------------------
// Painting

void TCustomGrid::Paint()
{
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(client);

    TAxis cols, rows;
    Axis(true, cols);
    Axis(false, rows);
    const bool focused = GetFocus() == handle_;
    const TGridRect sel = Selection();
    // The fixed lines, then those from the first scrolled one while they
    // start inside the client area: a grid of many rows walks only what shows.
    auto visible = [](const TAxis& a, int extent, std::vector<int>& lines) {
        int pos = 0;
        for (int i = 0; i < a.fixed && i < a.count; ++i) {
            if (pos < extent)
                lines.push_back(i);
            pos += (*a.sizes)[i] + a.lineWidth;
        }
        for (int i = std::max(a.first, a.fixed); i < a.count && pos < extent; ++i) {
            lines.push_back(i);
            pos += (*a.sizes)[i] + a.lineWidth;
        }
    };
    std::vector<int> visibleCols, visibleRows;
    visible(cols, client.right, visibleCols);
    visible(rows, client.bottom, visibleRows);

    for (int r : visibleRows) {
        for (int c : visibleCols) {
            const TRect rect = CellRect(c, r);
            TGridDrawState state = 0;
            const bool fixed = c < fixedCols_ || r < fixedRows_;
            if (fixed) {
                state |= gdFixed;
            } else {
                if (focused && c == current_.X && r == current_.Y)
                    state |= gdFocused;
                if (Contains(sel, c, r))
                    state |= gdSelected;
            }
            canvas->Font()->SetColor(Font()->Color());
            // The current cell of a focused grid shows as selected only when
            // asked to, or as part of its row: otherwise it is where the user
            // types, in the grid's own colours with the focus frame.
            if (fixed) {
                canvas->Brush()->SetColor(fixedColor_);
            } else if ((state & gdSelected) &&
                       ((options_ & (goDrawFocusSelected | goRowSelect)) || !(state & gdFocused))) {
                canvas->Brush()->SetColor(clHighlight);
                canvas->Font()->SetColor(clHighlightText);
            } else {
                canvas->Brush()->SetColor(Color());
            }
            if (defaultDrawing_)
                canvas->FillRect(rect);
            DrawCell(c, r, rect, state);
            if (defaultDrawing_ && fixed && ctl3D_ &&
                (options_ & (goFixedVertLine | goFixedHorzLine)) == (goFixedVertLine | goFixedHorzLine)) {
                RECT edge = rect;
                DrawEdge(canvas->Handle(), &edge, BDR_RAISEDINNER, BF_RECT);
            }
            if (defaultDrawing_ && (state & gdFocused) && !(options_ & goRowSelect))
                canvas->DrawFocusRect(rect);
        }
    }

    // Grid lines: the gap after each cell, black beside fixed cells.
    auto fillLine = [&](const TRect& r, TColor color) {
        canvas->Brush()->SetColor(color);
        canvas->FillRect(r);
    };
    if (!visibleCols.empty() && !visibleRows.empty()) {
        const int gridRight = LinePos(true, visibleCols.back()) + colWidths_[visibleCols.back()] + cols.lineWidth;
        const int gridBottom = LinePos(false, visibleRows.back()) + rowHeights_[visibleRows.back()] + rows.lineWidth;
        const int fixedRight = FixedExtent(true);
        const int fixedBottom = FixedExtent(false);
        if (cols.lineWidth > 0)
            for (int c : visibleCols) {
                const int x = LinePos(true, c) + colWidths_[c];
                const bool fixedCol = c < fixedCols_;
                if (options_ & goFixedVertLine)
                    fillLine(TRect{x, 0, x + cols.lineWidth, fixedRows_ > 0 ? fixedBottom : 0}, clBlack);
                if (options_ & (fixedCol ? goFixedVertLine : goVertLine))
                    fillLine(TRect{x, fixedBottom, x + cols.lineWidth, gridBottom}, fixedCol ? clBlack : clSilver);
            }
        if (rows.lineWidth > 0)
            for (int r : visibleRows) {
                const int y = LinePos(false, r) + rowHeights_[r];
                const bool fixedRow = r < fixedRows_;
                if (options_ & goFixedHorzLine)
                    fillLine(TRect{0, y, fixedCols_ > 0 ? fixedRight : 0, y + rows.lineWidth}, clBlack);
                if (options_ & (fixedRow ? goFixedHorzLine : goHorzLine))
                    fillLine(TRect{fixedRight, y, gridRight, y + rows.lineWidth}, fixedRow ? clBlack : clSilver);
            }
    }
    if (gridState_ == gsColMoving || gridState_ == gsRowMoving) {
        const TRect mark = MoveMarkRect();
        if (mark.right > mark.left)
            fillLine(mark, clBlack);
    }
}

void TCustomGrid::DrawCell(int col, int row, TRect rect, TGridDrawState state)
{
    OnDrawCell(this, col, row, rect, state);
}

// ---------------------------------------------------------------------------
// Keyboard and mouse

void TCustomGrid::TabTo(bool forward)
{
    TGridCoord next = current_;
    if (forward) {
        if (++next.X >= colCount_) {
            next.X = fixedCols_;
            if (++next.Y >= rowCount_)
                next.Y = fixedRows_;
        }
    } else {
        if (--next.X < fixedCols_) {
            next.X = colCount_ - 1;
            if (--next.Y < fixedRows_)
                next.Y = rowCount_ - 1;
        }
    }
    if (next.X != current_.X || next.Y != current_.Y)
        FocusCell(next.X, next.Y, true);
}

void TCustomGrid::KeyDown(WORD& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == 0)
        return;
    const bool ctrl = (shift & ssCtrl) != 0;
    const bool rowSelect = (options_ & goRowSelect) != 0;
    TGridCoord next = current_;
    TGridCoord top = topLeft_;
    const int page = std::max(1, VisibleRowCount());
    switch (key) {
    case VK_UP:
        --next.Y;
        break;
    case VK_DOWN:
        ++next.Y;
        break;
    case VK_LEFT:
        if (rowSelect) {
            SetLeftCol(topLeft_.X - 1);
            return;
        }
        --next.X;
        break;
    case VK_RIGHT:
        if (rowSelect) {
            SetLeftCol(topLeft_.X + 1);
            return;
        }
        ++next.X;
        break;
    case VK_PRIOR:
        next.Y -= page;
        top.Y -= page;
        break;
    case VK_NEXT:
        next.Y += page;
        top.Y += page;
        break;
    case VK_HOME:
        if (ctrl || rowSelect)
            next.Y = fixedRows_;
        else
            next.X = fixedCols_;
        break;
    case VK_END:
        if (ctrl || rowSelect)
            next.Y = rowCount_ - 1;
        else
            next.X = colCount_ - 1;
        break;
    case VK_TAB:
        if ((options_ & goTabs) && !(shift & ssAlt) && !rowSelect) {
            TabTo(!(shift & ssShift));
            key = 0;
        }
        return;
    case VK_F2:
        if (options_ & goEditing)
            ShowEditor();
        return;
    default:
        return;
    }
    next.X = std::max(fixedCols_, std::min(next.X, colCount_ - 1));
    next.Y = std::max(fixedRows_, std::min(next.Y, rowCount_ - 1));
    if (top.Y != topLeft_.Y)
        MoveTopLeft(topLeft_.X, top.Y);
    if (next.X != current_.X || next.Y != current_.Y) {
        const bool extend = (shift & ssShift) && (options_ & goRangeSelect);
        FocusCell(next.X, next.Y, !extend);
    }
    key = 0;
}

void TCustomGrid::KeyPress(char& key)
{
    TCustomControl::KeyPress(key);
    if (key == 0 || (options_ & goAlwaysShowEditor) || !(options_ & goEditing))
        return;
    if (key == '\r') {
        // Enter opens the editor and closes it again.
        SetEditorMode(!editorMode_);
        key = 0;
    } else if (key == '\x1B' && editorMode_) {
        HideEditor();
        key = 0;
    }
}

bool TCustomGrid::SizingBorder(int x, int y, TGridState& state, int& index, int& pos)
{
    const int fixedBottom = fixedRows_ > 0 ? LinePos(false, fixedRows_ - 1) + rowHeights_[fixedRows_ - 1] : 0;
    const int fixedRight = fixedCols_ > 0 ? LinePos(true, fixedCols_ - 1) + colWidths_[fixedCols_ - 1] : 0;
    if ((options_ & goColSizing) && y < fixedBottom) {
        for (int c = 0; c < colCount_; ++c) {
            const int left = LinePos(true, c);
            if (left < 0 || left >= ClientWidth())
                continue;
            const int edge = left + colWidths_[c];
            if (std::abs(x - edge) <= SizingSlack) {
                state = gsColSizing;
                index = c;
                pos = edge;
                return true;
            }
        }
    }
    if ((options_ & goRowSizing) && x < fixedRight) {
        for (int r = 0; r < rowCount_; ++r) {
            const int top = LinePos(false, r);
            if (top < 0 || top >= ClientHeight())
                continue;
            const int edge = top + rowHeights_[r];
            if (std::abs(y - edge) <= SizingSlack) {
                state = gsRowSizing;
                index = r;
                pos = edge;
                return true;
            }
        }
    }
    return false;
}

namespace {

// The line that follows the mouse while a column or row is sized, drawn by
// inverting (a second call takes it away).
void InvertSizingLine(HWND wnd, bool column, int pos)
{
    HDC dc = GetDC(wnd);
    RECT r;
    GetClientRect(wnd, &r);
    if (column)
        PatBlt(dc, pos, 0, 1, r.bottom, DSTINVERT);
    else
        PatBlt(dc, 0, pos, r.right, 1, DSTINVERT);
    ReleaseDC(wnd, dc);
}

} // namespace

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && !GridFocused() && CanFocus())
        ::SetFocus(handle_);
    if (button == mbLeft) {
        if (shift & ssDouble) {
            DblClick();
        } else {
            TGridState state;
            int index, pos;
            if (SizingBorder(x, y, state, index, pos)) {
                gridState_ = state;
                sizingIndex_ = index;
                sizingPos_ = pos;
                sizingOffset_ = (state == gsColSizing ? x : y) - pos;
                InvertSizingLine(handle_, state == gsColSizing, pos);
            } else {
                const TGridCoord cell = MouseCoord(x, y);
                if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) {
                    const bool same = cell.X == current_.X && cell.Y == current_.Y;
                    if (same && (options_ & goEditing) && !(shift & ssShift)) {
                        // A click on the current cell opens its editor.
                        ShowEditor();
                    } else {
                        if (!same) {
                            if (editorMode_ && !(options_ & goAlwaysShowEditor))
                                HideEditor();
                            const bool extend = (shift & ssShift) && (options_ & goRangeSelect);
                            FocusCell(cell.X, cell.Y, !extend);
                        }
                        if (options_ & (goRangeSelect | goRowSelect))
                            gridState_ = gsSelecting;
                    }
                } else if ((options_ & goColMoving) && cell.X >= fixedCols_ && cell.Y < fixedRows_) {
                    BeginMove(gsColMoving, cell.X, x, y);
                } else if ((options_ & goRowMoving) && cell.Y >= fixedRows_ && cell.X >= 0 && cell.X < fixedCols_) {
                    BeginMove(gsRowMoving, cell.Y, x, y);
                }
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y)
{
    switch (gridState_) {
    case gsSelecting:
        if (shift & ssLeft) {
            const TGridCoord cell = MouseCoord(x, y);
            if (cell.X >= fixedCols_ && cell.Y >= fixedRows_ && (cell.X != current_.X || cell.Y != current_.Y))
                MoveCurrent(cell.X, cell.Y, false, true);
        }
        break;
    case gsColSizing:
    case gsRowSizing: {
        const bool column = gridState_ == gsColSizing;
        const int start = LinePos(column, sizingIndex_);
        const int pos = std::max(start, (column ? x : y) - sizingOffset_);
        if (pos != sizingPos_) {
            InvertSizingLine(handle_, column, sizingPos_);
            sizingPos_ = pos;
            InvertSizingLine(handle_, column, sizingPos_);
        }
        break;
    }
    case gsColMoving:
    case gsRowMoving:
        FollowMove(x, y);
        break;
    default:
        break;
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && (gridState_ == gsColSizing || gridState_ == gsRowSizing)) {
        const bool column = gridState_ == gsColSizing;
        InvertSizingLine(handle_, column, sizingPos_);
        const int size = sizingPos_ - LinePos(column, sizingIndex_);
        const int index = sizingIndex_;
        ResetGridState();
        if (column)
            SetColWidths(index, size);
        else
            SetRowHeights(index, size);
    } else if (button == mbLeft && (gridState_ == gsColMoving || gridState_ == gsRowMoving)) {
        FollowMove(x, y);
        const bool column = gridState_ == gsColMoving;
        const int from = moveFrom_, to = moveTo_;
        ResetGridState();
        if (from != to) {
            if (column)
                MoveColumn(from, to);
            else
                MoveRow(from, to);
        }
    } else if (button == mbLeft) {
        ResetGridState();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::ResetGridState()
{
    if (gridState_ == gsColMoving || gridState_ == gsRowMoving) {
        if (handle_)
            KillTimer(handle_, MoveTimerId);
        SetMoveTarget(moveFrom_);  // takes the mark away
        moveFrom_ = moveTo_ = -1;
    }
    gridState_ = gsNormal;
    sizingIndex_ = -1;
}

// ---------------------------------------------------------------------------
// Moving rows and columns with the mouse: a press on a fixed cell of a
// column (row) picks it up, the mark shows where it would go, the release
// moves it there.

void TCustomGrid::BeginMove(TGridState state, int index, int x, int y)
{
    gridState_ = state;
    moveFrom_ = moveTo_ = index;
    moveMouse_ = Point(x, y);
    if (handle_)
        SetTimer(handle_, MoveTimerId, MoveTimerInterval, nullptr);
    if (Screen)
        ::SetCursor(Screen->Cursors(crDrag));
}

void TCustomGrid::FollowMove(int x, int y)
{
    moveMouse_ = Point(x, y);
    const bool column = gridState_ == gsColMoving;
    const int extent = column ? ClientWidth() : ClientHeight();
    const int at = std::max(0, std::min(column ? x : y, extent - 1));
    const int index = IndexAt(column, at);
    if (index >= (column ? fixedCols_ : fixedRows_))
        SetMoveTarget(index);
}

// Beyond the view the dragged column (row) scrolls the grid one step a tick.
void TCustomGrid::MoveTimer()
{
    const bool column = gridState_ == gsColMoving;
    TAxis a;
    Axis(column, a);
    const int at = column ? moveMouse_.x : moveMouse_.y;
    if (at < FixedExtent(column) && a.first > a.fixed) {
        if (column)
            SetLeftCol(a.first - 1);
        else
            SetTopRow(a.first - 1);
        SetMoveTarget(column ? topLeft_.X : topLeft_.Y);
    } else if (at >= a.extent && LastFullyVisible(column) < a.count - 1) {
        if (column)
            SetLeftCol(a.first + 1);
        else
            SetTopRow(a.first + 1);
        SetMoveTarget(std::max(LastFullyVisible(column), a.fixed));
    }
}

void TCustomGrid::SetMoveTarget(int index)
{
    if (index == moveTo_)
        return;
    if (handle_) {
        RECT old = MoveMarkRect();
        InvalidateRect(handle_, &old, FALSE);
    }
    moveTo_ = index;
    if (handle_) {
        RECT now = MoveMarkRect();
        InvalidateRect(handle_, &now, FALSE);
    }
}

// A line of 2 pixels on the side of the target where the moved column
// (row) would land; empty while it stays where it is.
TRect TCustomGrid::MoveMarkRect()
{
    TRect none{0, 0, 0, 0};
    if (!moveMarkShown_ || moveFrom_ < 0 || moveTo_ < 0 || moveFrom_ == moveTo_)
        return none;
    const bool column = gridState_ == gsColMoving;
    const int pos = LinePos(column, moveTo_);
    if (pos < 0)
        return none;
    const int edge = moveTo_ > moveFrom_ ? pos + (column ? colWidths_[moveTo_] : rowHeights_[moveTo_]) : pos;
    if (column)
        return TRect{edge - 1, 0, edge + 1, ClientHeight()};
    return TRect{0, edge - 1, ClientWidth(), edge + 1};
}

// ---------------------------------------------------------------------------
// Window

void TCustomGrid::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    // The editor is a child that the grid's painting must leave alone.
    p.Style |= WS_CLIPCHILDREN;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        p.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
        p.Style |= WS_HSCROLL;
    if (borderStyle_ == bsSingle) {
        if (ctl3D_)
            p.ExStyle |= WS_EX_CLIENTEDGE;
        else
            p.Style |= WS_BORDER;
    }
    p.WindowClass.style = CS_DBLCLKS;
}

void TCustomGrid::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollRange();
}

void TCustomGrid::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS;
        if (!(options_ & goRowSelect) && (options_ & goTabs))
            m.Result |= DLGC_WANTTAB;
        if (options_ & goEditing)
            m.Result |= DLGC_WANTCHARS;
        return;
    case WM_ERASEBKGND:
        m.Result = 1;  // Paint covers everything
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (!m.LParam) {
            ScrollMessage(m.Msg == WM_HSCROLL, LOWORD(m.WParam), static_cast<short>(HIWORD(m.WParam)));
            return;
        }
        break;
    case WM_CHAR: {
        // A character typed on the grid starts editing with that character.
        const auto ch = static_cast<unsigned char>(m.WParam);
        if ((options_ & goEditing) && (ch == '\b' || ch >= ' ')) {
            ShowEditor();
            if (inplaceEdit_ && inplaceEdit_->Visible()) {
                PostMessageA(inplaceEdit_->Handle(), WM_CHAR, m.WParam, m.LParam);
                return;
            }
        }
        break;
    }
    case WM_SETFOCUS:
        if (inplaceEdit_ && inplaceEdit_->handle_ && reinterpret_cast<HWND>(m.WParam) == inplaceEdit_->handle_) {
            // Back from the editor: still inside the grid.
            DefaultHandler(m);
            return;
        }
        TCustomControl::Dispatch(m);
        InvalidateRange(Selection());
        UpdateEdit();
        return;
    case WM_KILLFOCUS:
        DefaultHandler(m);
        InvalidateRange(Selection());
        if (inplaceEdit_ && (!inplaceEdit_->handle_ || reinterpret_cast<HWND>(m.WParam) != inplaceEdit_->handle_)) {
            inplaceCol_ = inplaceRow_ = -1;
            inplaceEdit_->SetVisible(false);
        }
        return;
    case WM_SETCURSOR:
        if (LOWORD(m.LParam) == HTCLIENT && (gridState_ == gsColMoving || gridState_ == gsRowMoving) && Screen) {
            ::SetCursor(Screen->Cursors(crDrag));
            m.Result = TRUE;
            return;
        }
        if (LOWORD(m.LParam) == HTCLIENT && gridState_ == gsNormal) {
            POINT p;
            GetCursorPos(&p);
            ::ScreenToClient(handle_, &p);
            TGridState state;
            int index, pos;
            if (SizingBorder(p.x, p.y, state, index, pos)) {
                ::SetCursor(LoadCursorA(nullptr, state == gsColSizing ? IDC_SIZEWE : IDC_SIZENS));
                m.Result = TRUE;
                return;
            }
        }
        break;
    case WM_MOUSEWHEEL: {
        const int delta = GET_WHEEL_DELTA_WPARAM(m.WParam);
        if (delta < 0 && current_.Y < rowCount_ - 1)
            SetRow(current_.Y + 1);
        else if (delta > 0 && current_.Y > fixedRows_)
            SetRow(current_.Y - 1);
        m.Result = 0;
        return;
    }
    case WM_TIMER:
        if (m.WParam == MoveTimerId) {
            if (gridState_ == gsColMoving || gridState_ == gsRowMoving)
                MoveTimer();
            else if (handle_)
                KillTimer(handle_, MoveTimerId);
            m.Result = 0;
            return;
        }
        break;
    case WM_CANCELMODE:
        if (gridState_ == gsColSizing || gridState_ == gsRowSizing)
            InvertSizingLine(handle_, gridState_ == gsColSizing, sizingPos_);
        ResetGridState();
        break;
    }
    TCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// The test probe's state

bool TCustomGrid::ProbeState(TStrings& lines, bool change)
{
    if (!change) {
        lines.Add("Col=" + std::to_string(Col()));
        lines.Add("Row=" + std::to_string(Row()));
        return true;
    }
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string key = lines.Names(i);
        if (key != "Col" && key != "Row")
            return false;
        const std::string line = lines.Strings(i);
        const int value = StrToInt(line.substr(line.find('=') + 1));
        if (key == "Col")
            ClickCell(value, Row());
        else
            ClickCell(Col(), value);
    }
    return true;
}

void TCustomGrid::ClickCell(int col, int row)
{
    const std::string cell = std::to_string(col) + "," + std::to_string(row);
    // Fixed cells and cells outside cannot become current with the mouse.
    if (col < fixedCols_ || row < fixedRows_ || col >= colCount_ || row >= rowCount_)
        throw EInvalidGridOperation(Name() + " has no cell " + cell + " to choose");
    if (col != current_.X || row != current_.Y)
        FocusCell(col, row, true);
    if (col != current_.X || row != current_.Y)
        throw EInvalidGridOperation(Name() + " refused the cell " + cell);
}

const TClassInfo* TCustomGrid::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomGrid::StaticClass()
{
    static const TClassInfo info(
        "TCustomGrid", &TCustomControl::StaticClass(), nullptr,
        {
            PublishInteger<&TCustomGrid::ColCount, &TCustomGrid::SetColCount>("ColCount"),
            PublishInteger<&TCustomGrid::RowCount, &TCustomGrid::SetRowCount>("RowCount"),
            PublishInteger<&TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols>("FixedCols"),
            PublishInteger<&TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows>("FixedRows"),
            PublishInteger<&TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth>("DefaultColWidth"),
            PublishInteger<&TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight>("DefaultRowHeight"),
            PublishInteger<&TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth>("GridLineWidth"),
            PublishSet<&TCustomGrid::Options, &TCustomGrid::SetOptions>(
                "Options", {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
                            "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
                            "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"}),
            PublishColor<&TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor>("FixedColor"),
            PublishBoolean<&TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing>("DefaultDrawing"),
            PublishEnum<&TCustomGrid::ScrollBars, &TCustomGrid::SetScrollBars>(
                "ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}),
            PublishEnum<&TCustomGrid::BorderStyle, &TCustomGrid::SetBorderStyle>("BorderStyle",
                                                                                 {"bsNone", "bsSingle"}),
            PublishBoolean<&TCustomGrid::Ctl3D, &TCustomGrid::SetCtl3D>("Ctl3D"),
            PublishEvent<&TCustomGrid::OnDrawCell>("OnDrawCell"),
            PublishEvent<&TCustomGrid::OnSelectCell>("OnSelectCell"),
            PublishEvent<&TCustomGrid::OnGetEditText>("OnGetEditText"),
            PublishEvent<&TCustomGrid::OnSetEditText>("OnSetEditText"),
            PublishEvent<&TCustomGrid::OnTopLeftChanged>("OnTopLeftChanged"),
            PublishEvent<&TCustomGrid::OnColumnMoved>("OnColumnMoved"),
            PublishEvent<&TCustomGrid::OnRowMoved>("OnRowMoved"),
        });
    return info;
}


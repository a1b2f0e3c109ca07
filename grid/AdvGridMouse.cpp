// The grid's mouse input, hints and cursors: clicks on cells, nodes, radio
// groups, check boxes and links; whole rows, columns or the grid selected
// from the fixed cells; separate rows flagged (DisjunctRowSelect); all
// columns sized at once and a column fitted by a double click on its border;
// rows and columns moved with a dragged header copy and arrows
// (EnhRowColMove); sorting by a header click; the cell hint; hovering.
#include "grid/AdvGrid.h"
#include "grid/AdvUtil.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "classlib/Forms.h"
#include "common/HtmlDraw.h"
#include "grid/AdvGridEditors.h"
#include "grid/AdvObj.h"

namespace {

constexpr UINT_PTR HoverTimerId = 111;
constexpr UINT HoverInterval = 1000;
// The platform's timer of a row or column move.
constexpr UINT_PTR MoveTimerId = 1;

// The grid's cursors, loaded at construction under these numbers.
constexpr TCursor LinkCursor = 8009;
constexpr TCursor RowSelectCursor = 8010;
constexpr TCursor ColSelectCursor = 8011;
constexpr TCursor AllSelectCursor = 8012;

// A press or release this near a header cell's edge sizes, not sorts.
constexpr int BorderSlack = 3;

void ShellOpen(const std::string& anchor)
{
    // Nothing is reported when the shell cannot open it.
    ShellExecuteA(Application ? Application->Handle() : nullptr, "open", anchor.c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

TAdvStringGrid::TLinkOpener linkOpener = &ShellOpen;

bool Has(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

bool Moving(TGridState state)
{
    return state == gsColMoving || state == gsRowMoving;
}

// Unlocks the grid's window on every way out of a handler; a second unlock
// does nothing.
class TUpdateUnlock {
public:
    explicit TUpdateUnlock(std::function<void()> unlock) : unlock_(std::move(unlock)) {}
    ~TUpdateUnlock() { unlock_(); }
    TUpdateUnlock(const TUpdateUnlock&) = delete;
    TUpdateUnlock& operator=(const TUpdateUnlock&) = delete;

private:
    std::function<void()> unlock_;
};

} // namespace

TAdvStringGrid::TLinkOpener TAdvStringGrid::SetLinkOpener(TLinkOpener opener)
{
    const TLinkOpener old = linkOpener;
    linkOpener = opener ? opener : &ShellOpen;
    return old;
}

bool TAdvStringGrid::IsOpenableLink(const std::string& anchor)
{
    return IsWebOrMailLink(anchor);
}

// ---------------------------------------------------------------------------
// Messages

bool TAdvStringGrid::MouseMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam != HoverTimerId)
            return false;
        HoverTick();
        m.Result = 0;
        return true;
    case CM_HINTSHOW:
        if (auto* info = reinterpret_cast<THintInfo*>(m.LParam); info && info->HintControl == this) {
            HintShow(*info);
            m.Result = 0;
            return true;
        }
        return false;
    case CM_CURSORCHANGED:
        TStringGrid::Dispatch(m);
        if (!settingCursor_)
            normalCursor_ = Cursor();
        return true;
    }
    return false;
}

void TAdvStringGrid::MouseWindowCreated()
{
    if (hovering_)
        SetTimer(Handle(), HoverTimerId, HoverInterval, nullptr);
}

void TAdvStringGrid::SetHovering(bool v)
{
    hovering_ = v;
    if (!HandleAllocated())
        return;
    if (v)
        SetTimer(Handle(), HoverTimerId, HoverInterval, nullptr);
    else
        KillTimer(Handle(), HoverTimerId);
}

void TAdvStringGrid::LockWindowUpdates()
{
    if (updatesLocked_ || !HandleAllocated())
        return;
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    updatesLocked_ = true;
}

void TAdvStringGrid::UnlockWindowUpdates()
{
    if (!updatesLocked_)
        return;
    updatesLocked_ = false;
    if (!HandleAllocated())
        return;
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    // What was painted while locked never reached the screen.
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TAdvStringGrid::SetGridCursor(TCursor cursor)
{
    settingCursor_ = true;
    SetCursor(cursor);
    settingCursor_ = false;
}

void TAdvStringGrid::PlacePendingCaret(HWND inside, HWND edit)
{
    POINT p;
    if (!caretPending_ || !inside || !edit || !GetCursorPos(&p))
        return;
    RECT r;
    GetWindowRect(inside, &r);
    if (!PtInRect(&r, p))
        return;
    ::ScreenToClient(edit, &p);
    const LRESULT at = SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(p.x, p.y));
    if (at != -1)
        SendMessageA(edit, EM_SETSEL, LOWORD(at), LOWORD(at));
    caretPending_ = false;
}

std::string TAdvStringGrid::AnchorAt(int col, int row, int x, int y, bool linkTexts)
{
    const std::string text = Cells(col, row);
    if (!Has(text, "</")) {
        if (linkTexts && IsURLText(text))
            return text;
        return {};
    }
    TRect r = CellRect(col, row);
    OffsetRect(&r, 2, 2);
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    ChooseCellFont(col, row, canvas);
    std::string anchor, plain;
    int xs = 0, ys = 0;
    if (!DrawHtmlText(canvas, text, r, gridImages_, x, y, true, false, false, 1.0, urlColor_, anchor, plain, xs,
                      ys))
        return {};
    return anchor;
}

// ---------------------------------------------------------------------------
// Presses

void TAdvStringGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft)
        LeftPress(shift, x, y);
    else if (button == mbRight)
        RightPress(shift, x, y);
    else
        TStringGrid::MouseDown(button, shift, x, y);
}

void TAdvStringGrid::LeftPress(TShiftState shift, int x, int y)
{
    int pc = -1, pr = -1;
    MouseToCell(x, y, pc, pr);
    const bool inCells = pc >= 0 && pr >= 0 && pc < ColCount() && pr < RowCount();
    searchText_.clear();
    prevMoveCell_ = {-1, -1};
    moved_ = sizeChanged_ = false;
    clickSelecting_ = ctrlOnSelected_ = false;
    pressPoint_ = Point(x, y);

    if (enhRowColMove_ && ((pc >= 0 && pc < FixedCols()) || (pr >= 0 && pr < FixedRows())))
        LockWindowUpdates();
    TUpdateUnlock unlock([this] { UnlockWindowUpdates(); });
    if (mouseActions_->CaretPositioning)
        caretPending_ = true;

    // Near a border the sizing cell is the one left of (above) it.
    if (pr == 0)
        MouseToCell(x - 4, y, sizingCell_.X, sizingCell_.Y);
    else if (pc != 0)
        MouseToCell(x, y, sizingCell_.X, sizingCell_.Y);
    else
        MouseToCell(x, y - 4, sizingCell_.X, sizingCell_.Y);

    if (inCells) {
        if (IsFixedCell(pc, pr))
            return;
        if (pr >= FixedRows() && pc == 0 && IsNodeRow(pr)) {
            SetRow(pr);
            const int real = RealRow(pr);
            const TCellGraphic* node = GetCellGraphic(0, pr);
            if (node && node->State) {
                ExpandNode(real);
                OnExpandNode(this, pr, real);
            } else {
                ContractNode(real);
                OnContractNode(this, pr, real);
            }
            return;
        }
        if (pr >= FixedRows() && pc >= FixedCols() && IsRadioCell(pc, pr)) {
            const TRect r = CellRect(pc, pr);
            RadioClick(pc, pr, y - r.top, x - r.left);
            return;
        }
        if (TryStartOleDrag(pc, pr, x, y))
            return;
    } else {
        TStringGrid::MouseDown(mbLeft, shift, x, y);
        return;
    }

    {
        const TRect s = CellRect(sizingCell_.X, sizingCell_.Y);
        sizeOffsetX_ = x - s.right;
        sizeOffsetY_ = y - s.bottom;
    }

    if (mouseActions_->DisjunctRowSelect && pr >= FixedRows()) {
        if (!(shift & ssCtrl)) {
            clickSelecting_ = true;
            ClearRowSelection();
        } else if (IsRowSelected(pr)) {
            ctrlOnSelected_ = true;
        }
    }

    if (urlShow_) {
        const std::string anchor = AnchorAt(pc, pr, x, y, true);
        if (!anchor.empty()) {
            bool autoHandle = true;
            OnAnchorClick(this, pr, pc, anchor, autoHandle);
            if (autoHandle && IsOpenableLink(anchor))
                linkOpener(anchor);
            return;
        }
    }

    movingIndex_ = -1;

    if (Options() & goRangeSelect) {
        const TMouseActions& a = *mouseActions_;
        bool selected = false;
        if (pc < FixedCols() && pr < FixedRows()) {
            if (a.AllSelect && Cursor() == AllSelectCursor) {
                SetSelection(TGridRect{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1});
                selected = true;
            }
        } else if (pc < FixedCols() && pr >= FixedRows()) {
            if (a.RowSelect && Cursor() == RowSelectCursor) {
                SetSelection(TGridRect{FixedCols(), pr, ColCount() - 1, pr});
                selected = true;
            }
        } else if (pr < FixedRows() && pc >= FixedCols()) {
            if (a.ColSelect && Cursor() == ColSelectCursor) {
                SetSelection(TGridRect{pc, FixedRows(), pc, RowCount() - 1});
                selected = true;
            }
        }
        if (selected)
            DoExit();
    }

    const TRect cell = CellRect(pc, pr);
    if (pr < FixedRows() && pc >= FixedCols())
        movingIndex_ = pc;
    else if (pc < FixedCols() && pr >= FixedRows())
        movingIndex_ = pr;
    moveOffset_ = Point(x - cell.left, y - cell.top);

    bool allowed = (Options() & goEditing) != 0;
    if (OnCanEditCell) {
        allowed = true;
        OnCanEditCell(this, pr, pc, allowed);
    }
    const bool dataCell = pc >= FixedCols() && pr >= FixedRows();
    if (dataCell && allowed) {
        ToggleCheckBox(pc, pr, true);
        if (OnCheckBoxClick) {
            bool state = false;
            GetCheckBoxState(pc, pr, state);
            OnCheckBoxClick(this, pc, pr, state);
        }
    }

    // With EnhRowColMove the arrows and the header copy show the move.
    SetMoveMarkShown(!enhRowColMove_);
    TStringGrid::MouseDown(mbLeft, shift, x, y);
    UnlockWindowUpdates();

    OnClickCell(this, pr, pc);

    if (x > cell.left + 3 && x < cell.right - 3 && dataCell && allowed && mouseActions_->DirectEdit)
        ShowEditor();
}

void TAdvStringGrid::RightPress(TShiftState shift, int x, int y)
{
    TStringGrid::MouseDown(mbRight, shift, x, y);
    int pc = -1, pr = -1;
    MouseToCell(x, y, pc, pr);
    OnRightClickCell(this, pr, pc);
    if (pc < 0 || pr < 0 || !urlShow_ || !urlEdit_)
        return;
    const std::string text = Cells(pc, pr);
    if (IsURLText(text)) {
        SetCol(pc);
        SetRow(pr);
        ShowEditor();
    }
}

void TAdvStringGrid::RadioClick(int ACol, int ARow, int Y, int X)
{
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    // The texts are measured in the cell's font.
    ChooseCellFont(ACol, ARow, canvas);
    SetCol(ACol);
    SetRow(ARow);
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    auto* items = g ? dynamic_cast<TStrings*>(g->Object) : nullptr;
    if (!g || !items)
        return;
    const int count = std::min<int>(g->Count, items->Count());
    int chosen = -1;
    int sum = 0;
    for (int i = 1; i <= count && chosen < 0; ++i) {
        const int before = sum;
        sum += g->State ? canvas->TextWidth(items->Strings(i - 1)) + 12 : 12;
        const int at = g->State ? X : Y;
        if (sum > at && before <= at)
            chosen = i;
    }
    if (chosen < 0)
        return;
    if (g->Number == -1)
        SetCells(ACol, ARow, items->Strings(chosen - 1));
    else
        g->Number = chosen - 1;
    SetCells(ACol, ARow, Cells(ACol, ARow));
    InvalidateCell(ACol, ARow);
    OnRadioClick(this, ACol, ARow, chosen - 1);
}

// ---------------------------------------------------------------------------
// Releases

void TAdvStringGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft)
        LeftRelease(shift, x, y);
    else
        TStringGrid::MouseUp(button, shift, x, y);
}

void TAdvStringGrid::LeftRelease(TShiftState shift, int x, int y)
{
    int pc = -1, pr = -1;
    MouseToCell(x, y, pc, pr);
    for (TArrowWindow* arrow : arrows_)
        arrow->SetVisible(false);

    if (mouseActions_->DisjunctRowSelect && pr >= FixedRows()) {
        SelectRowsInSelection();
        if (ctrlOnSelected_)
            SelectRow(pr, false);
    }
    clickSelecting_ = ctrlOnSelected_ = false;

    if (enhRowColMove_ && (pr == 0 || pc == 0))
        LockWindowUpdates();
    TUpdateUnlock unlock([this] { UnlockWindowUpdates(); });

    if (enhRowColMove_ && Moving(GridState()) && Screen && Screen->Cursor() == crDrag) {
        Screen->SetCursor(crDefault);
        dragButton_->SetVisible(false);
        dragButton_->SetEnabled(false);
        const bool column = GridState() == gsColMoving;
        if (column && movingIndex_ >= 0 && pc >= FixedCols() && movingIndex_ != pc) {
            ColumnMoved(movingIndex_, pc);
            Invalidate();
        } else if (!column && movingIndex_ >= 0 && pr >= FixedRows() && movingIndex_ != pr) {
            RowMoved(movingIndex_, pr);
            Invalidate();
        }
        // The platform's move ends here: its release moves nothing again.
        ResetGridState();
    }

    TStringGrid::MouseUp(mbLeft, shift, x, y);
    UnlockWindowUpdates();
    if (userSized_)
        EndColumnSize();  // the last width was set already while moving

    const bool moveOrSize = moved_ || sizeChanged_;
    moved_ = sizeChanged_ = false;
    if (moveOrSize)
        return;
    HeaderClickSort(pc, pr, x);
}

void TAdvStringGrid::HeaderClickSort(int pc, int pr, int x)
{
    if (pc < FixedCols() && !sortFixedCols_)
        return;
    const int col = RealCol(pc);
    bool allowed = true;
    if (borderDblClick_) {
        borderDblClick_ = false;
        return;
    }
    if (pr == 0 && (Options() & goColSizing)) {
        const TRect r = CellRect(pc, pr);
        if (std::abs(x - r.left) <= BorderSlack || std::abs(x - r.right) <= BorderSlack)
            return;
    }
    const bool sortable = pr == 0 && FixedRows() > 0 && sortShow_;
    if (sortable && RowCount() > 2)
        OnCanSort(this, col, allowed);
    int pressCol = -1, pressRow = -1;
    MouseToCell(pressPoint_.x, pressPoint_.y, pressCol, pressRow);
    if (!sortable || pressRow != 0 || RowCount() < 3 || !allowed)
        return;
    if (col != sortColumn_) {
        sortDirection_ = sdAscending;
        SetSortColumn(col);
    } else {
        sortDirection_ = sortDirection_ == sdAscending ? sdDescending : sdAscending;
    }
    // With node rows each group sorts under its own node: a sort of all rows
    // would carry the nodes away from their rows.
    bool nodes = false;
    for (int row = 0; row < RowCount() && !nodes; ++row)
        nodes = IsNodeRow(row);
    const DWORD started = GetTickCount();
    if (nodes)
        SortRowGroups();
    else
        SortRows();
    sortTime_ = GetTickCount() - started;
    OnClickSort(this, sortColumn_);
}

void TAdvStringGrid::DblClick()
{
    int pc = -1, pr = -1;
    MouseToCell(pressPoint_.x, pressPoint_.y, pc, pr);
    if (pr == 0 && pc >= 0 && (Options() & goColSizing)) {
        const TRect r = CellRect(pc, pr);
        const int x = pressPoint_.x;
        if (std::abs(x - r.left) <= BorderSlack) {
            if (pc - 1 >= FixedCols())
                FitColumn(pc - 1);
            borderDblClick_ = true;
            return;
        }
        if (std::abs(x - r.right) <= BorderSlack) {
            if (pc >= FixedCols())
                FitColumn(pc);
            borderDblClick_ = true;
            return;
        }
    }
    TStringGrid::DblClick();
    OnDblClickCell(this, pr, pc);
}

// ---------------------------------------------------------------------------
// Moves

void TAdvStringGrid::MouseMove(TShiftState shift, int x, int y)
{
    int pc = -1, pr = -1;
    MouseToCell(x, y, pc, pr);
    TCursor cursor = normalCursor_;

    if (GridState() == gsColSizing) {
        userSized_ = true;
        if (sizingCell_.X == FixedCols() && mouseActions_->AllColumnSize) {
            const TRect first = CellRect(sizingCell_.X, 0);
            if (first.right > first.left) {
                const int width = std::max(0, x - static_cast<int>(first.left) - sizeOffsetX_);
                const TRestore<bool> sizingBefore(allColumnSizing_);
                allColumnSizing_ = true;
                for (int c = FixedCols(); c < ColCount(); ++c)
                    SetColWidths(c, width);
            }
        }
    }
    if (Moving(GridState()) && enhRowColMove_ && (x != pressPoint_.x || y != pressPoint_.y))
        FollowEnhancedMove(x, y, pc, pr);

    const TMouseActions& a = *mouseActions_;
    if (pc >= 0 && pr >= 0) {
        if (pr < FixedRows() && pc < FixedCols()) {
            if (a.AllSelect)
                cursor = AllSelectCursor;
        } else if (pr < FixedRows()) {
            if (a.ColSelect)
                cursor = ColSelectCursor;
        } else if (pc < FixedCols()) {
            if (a.RowSelect)
                cursor = RowSelectCursor;
        }
        if (cursor == normalCursor_) {
            const std::string text = Cells(pc, pr);
            if (Has(text, "</") ? !AnchorAt(pc, pr, x, y, false).empty()
                                : urlShow_ && IsURLText(text))
                cursor = LinkCursor;
        }
    }
    SetGridCursor(cursor);

    if (hintCell_.X != -1 && (hintCell_.X != pc || hintCell_.Y != pr)) {
        if (Application)
            Application->CancelHint();
        hintCell_ = {-1, -1};
    }

    if (GridState() == gsSelecting && selectionRectangle_) {
        const TGridRect s = Selection();
        if (s.Left != lastSelection_.Left || s.Top != lastSelection_.Top || s.Right != lastSelection_.Right ||
            s.Bottom != lastSelection_.Bottom) {
            InvalidateSelection();
            lastSelection_ = s;
        }
    }

    if (enhRowColMove_ && Moving(GridState())) {
        LockWindowUpdates();
        TUpdateUnlock unlock([this] { UnlockWindowUpdates(); });
        TStringGrid::MouseMove(shift, x, y);
        UnlockWindowUpdates();
        Update();
        return;
    }
    TStringGrid::MouseMove(shift, x, y);
}

void TAdvStringGrid::FollowEnhancedMove(int x, int y, int pc, int pr)
{
    UnlockWindowUpdates();
    const bool column = GridState() == gsColMoving;
    if (movingIndex_ >= 0) {
        if (column) {
            dragButton_->SetCaption(Cells(movingIndex_, 0));
            dragButton_->SetBounds(x - moveOffset_.x, y - moveOffset_.y, ColWidths(movingIndex_), RowHeights(0));
        } else {
            dragButton_->SetCaption(Cells(0, movingIndex_));
            dragButton_->SetBounds(x - moveOffset_.x, y - moveOffset_.y, ColWidths(0), RowHeights(movingIndex_));
        }
    }
    PlaceMoveArrows();
    prevMoveCell_ = {pc, pr};

    // Beyond the view the grid follows the drag one step at a time.
    if (column) {
        const TRect fixedEdge = FixedCols() > 0 ? CellRect(FixedCols() - 1, 0) : TRect{0, 0, 0, 0};
        if (x < fixedEdge.right && LeftCol() > FixedCols()) {
            SetLeftCol(LeftCol() - 1);
            Repaint();
        } else if (x > Width() && LeftCol() + VisibleColCount() < ColCount()) {
            SetLeftCol(LeftCol() + 1);
            Repaint();
        }
    } else {
        const TRect fixedEdge = FixedRows() > 0 ? CellRect(0, FixedRows() - 1) : TRect{0, 0, 0, 0};
        if (y < fixedEdge.bottom && TopRow() > FixedRows()) {
            SetTopRow(TopRow() - 1);
            Repaint();
        } else if (y > Height() && TopRow() + VisibleRowCount() < RowCount()) {
            SetTopRow(TopRow() + 1);
            Repaint();
        }
    }
    dragButton_->SetEnabled(true);
    dragButton_->SetVisible(true);
    dragButton_->BringToFront();
    if (Screen)
        Screen->SetCursor(crDrag);
}

// The arrows mark where the moved column (row) would land: at the cell the
// pointer was over at the previous move.
void TAdvStringGrid::PlaceMoveArrows()
{
    const bool column = GridState() == gsColMoving;
    auto place = [this](TArrowWindow* arrow, int x, int y, bool show) {
        const TPoint p = ClientToScreen(Point(x, y));
        arrow->SetBounds(p.x, p.y, 11, 11);
        arrow->SetVisible(show);
    };
    if (column && prevMoveCell_.X >= FixedCols()) {
        const int c = prevMoveCell_.X;
        const bool visible = c >= LeftCol() && c < LeftCol() + VisibleColCount();
        const TRect r = CellRect(c, 0);
        place(arrows_[0], r.left - 5, r.bottom, visible);
        place(arrows_[1], r.left - 5, r.top - 8, visible);
    } else if (!column && prevMoveCell_.Y >= FixedRows()) {
        const int row = prevMoveCell_.Y;
        const bool visible = row >= TopRow() && row < TopRow() + VisibleRowCount();
        const TRect r = CellRect(0, row);
        place(arrows_[2], r.left - 10, r.bottom - 5, visible);
        place(arrows_[3], r.right, r.bottom - 5, visible);
    }
}

// ---------------------------------------------------------------------------
// Size changes

void TAdvStringGrid::ColumnSized()
{
    sizeChanged_ = true;
    // AllColumnSize sets the widths while the mouse moves: the user's sizing
    // goes on.
    if (allColumnSizing_)
        return;
    if (userSized_)
        EndColumnSize();
    bool state = false;
    if (GetCheckBoxState(Col(), Row(), state))
        HideEditor();
}

void TAdvStringGrid::EndColumnSize()
{
    const int col = sizingCell_.X;
    userSized_ = false;
    sizingCell_ = {-1, -1};
    OnEndColumnSize(this, col);
}

void TAdvStringGrid::RowHeightsChanged()
{
    TStringGrid::RowHeightsChanged();
    bool state = false;
    if (GetCheckBoxState(Col(), Row(), state))
        HideEditor();
}

// ---------------------------------------------------------------------------
// Hints and hovering

void TAdvStringGrid::HintShow(THintInfo& info)
{
    info.HintColor = hintColor_;
    int pc = -1, pr = -1;
    MouseToCell(info.CursorPos.x, info.CursorPos.y, pc, pr);
    std::string hint = info.HintStr;
    OnGridHint(this, pr, pc, hint);
    hintCell_ = {pc, pr};
    const TRect r = CellRect(pc, pr);
    TPoint pos = Point(r.left, r.bottom + 6);
    if (hintShowCells_ && pc >= FixedCols() && pr >= FixedRows() && pc < ColCount() - fixedRightCols_ &&
        pr < RowCount() - fixedFooters_) {
        pos.y = r.top;
        hint = Cells(pc, pr);
    }
    info.HintStr = hint;
    info.HintPos = ClientToScreen(pos);
}

void TAdvStringGrid::HoverTick()
{
    POINT p;
    if (!HandleAllocated() || !GetCursorPos(&p))
        return;
    ::ScreenToClient(Handle(), &p);
    const TRect client = ClientRect();
    if (!PtInRect(&client, p))
        return;
    int pc = -1, pr = -1;
    MouseToCell(p.x, p.y, pc, pr);
    if (pc < FixedCols() || pr < FixedRows())
        return;
    SetRow(pr);
    SetCol(pc);
}

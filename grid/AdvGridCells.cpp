// What the grid knows about one cell: fixedness, editability, alignment,
// integer values, cell objects; hidden rows, nodes and the row filter; the
// row-selection flags; headers; the test before the current cell moves and
// the choice of the editor.
#include "grid/AdvGrid.h"

#include <algorithm>
#include <climits>

#include "grid/AdvUtil.h"

namespace {

bool IsTextEditorKind(TEditorType kind)
{
    return kind == etText || (kind >= etDigits && kind <= etPassword) || kind == etLowerCase || kind == etUpperCase;
}

// A decimal integer with an optional sign and nothing else.
bool DecimalInt(const std::string& s, int& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';
    if (i == s.size())
        return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        v = v * 10 + (s[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    v = negative ? -v : v;
    if (v > INT_MAX || v < INT_MIN)
        return false;
    value = static_cast<int>(v);
    return true;
}

// Counts a nesting for the life of the object.
class TNesting {
public:
    explicit TNesting(int& depth) : depth_(depth) { ++depth_; }
    ~TNesting() { --depth_; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

private:
    int& depth_;
};

} // namespace

// ---------------------------------------------------------------------------
// Cell tests and values

bool TAdvStringGrid::IsFixedCell(int ACol, int ARow)
{
    if (ARow >= RowCount() - fixedFooters_ || ACol >= ColCount() - fixedRightCols_)
        return true;
    bool isfixed = false;
    OnIsFixedCell(this, ARow, ACol, isfixed);
    return isfixed;
}

bool TAdvStringGrid::CanEditCell(int ACol, int ARow)
{
    if (!OnCanEditCell && !OnIsFixedCell)
        return true;
    bool canedit = true;
    bool isfixed = false;
    OnCanEditCell(this, ARow, ACol, canedit);
    OnIsFixedCell(this, ARow, ACol, isfixed);
    return canedit && !isfixed;
}

bool TAdvStringGrid::IsPasswordCell(int ACol, int ARow)
{
    bool ispassword = false;
    OnIsPasswordCell(this, ARow, ACol, ispassword);
    return ispassword;
}

TAlignment TAdvStringGrid::GetCellAlignment(int ACol, int ARow)
{
    TAlignment alignment = taLeftJustify;
    if (autoNumAlign_ && TextNumberKind(Cells(ACol, ARow)) < 2)
        alignment = taRightJustify;
    OnGetAlignment(this, ARow, ACol, alignment);
    return alignment;
}

int TAdvStringGrid::GetCellInt(int ACol, int ARow)
{
    const std::string text = Cells(ACol, ARow);
    int value = 0;
    if (text.empty())
        return 0;
    if (!DecimalInt(text, value))
        throw EAdvGridError("Cell does not contain integer value");
    return value;
}

void TAdvStringGrid::SetCellInt(int ACol, int ARow, int Value)
{
    SetCells(ACol, ARow, std::to_string(Value));
}

std::string TAdvStringGrid::GetDisplayText(int ACol, int ARow)
{
    return Cells(ACol, ARow);
}

// ---------------------------------------------------------------------------
// Cell objects

TCellGraphic* TAdvStringGrid::GetCellGraphic(int ACol, int ARow)
{
    if (!enableGraphics_)
        return nullptr;
    return dynamic_cast<TCellGraphic*>(Objects(ACol, ARow));
}

int TAdvStringGrid::GetCellGraphicKind(int ACol, int ARow)
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g ? g->Kind : 10;
}

TIndexList* TAdvStringGrid::GetCellImageList(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->Kind == 11 ? dynamic_cast<TIndexList*>(g->Object) : nullptr;
}

TSize TAdvStringGrid::CellObjectSize(const TCellGraphic& object) const
{
    const TCellGraphic* g = &object;
    const int imageW = gridImages_ ? gridImages_->Width() : 0;
    const int imageH = gridImages_ ? gridImages_->Height() : 0;
    TSize size{0, 0};
    switch (g->Kind) {
    case 0:
        if (auto* bitmap = dynamic_cast<TBitmap*>(g->Object))
            size = {bitmap->Width(), bitmap->Height()};
        break;
    case 1:
        if (g->Graphic)
            size = {g->Graphic->Width(), g->Graphic->Height()};
        break;
    case 3:
    case 7:
        size = {imageW, imageH};
        break;
    case 4:
    case 5:
        size = {15, 15};
        break;
    case 11:
        if (auto* list = dynamic_cast<TIndexList*>(g->Object)) {
            const int n = static_cast<int>(list->Indexes.size());
            size = g->State ? TSize{n * imageW, imageH} : TSize{imageW, n * imageH};
        }
        break;
    case 12:
        if (auto* picture = dynamic_cast<TPicture*>(g->Object))
            size = {picture->Width(), picture->Height()};
        break;
    default:
        break;
    }
    return size;
}

TSize TAdvStringGrid::GetCellGraphicSize(int ACol, int ARow)
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return TSize{0, 0};
    TSize size = CellObjectSize(*g);
    // Kinds 0, 1 and 3 take room across only beside the text.
    if ((g->Kind == 0 || g->Kind == 1 || g->Kind == 3) && !Cells(ACol, ARow).empty() &&
        g->HorizontalPosition != 3 && g->HorizontalPosition != 4)
        size.cx = 0;
    return size;
}

bool TAdvStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State)
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || !Kind4or5(g->Kind))
        return false;
    State = g->Kind == 4 ? g->State : Cells(ACol, ARow) == checkTrue_;
    return true;
}

bool TAdvStringGrid::ToggleCheckBox(int ACol, int ARow, bool AskEvent)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || !Kind4or5(g->Kind))
        return false;
    if (AskEvent && OnCanEditCell) {
        bool canedit = true;
        OnCanEditCell(this, ARow, ACol, canedit);
        if (!canedit)
            return false;
    }
    if (g->Kind == 4)
        g->State = !g->State;
    else
        SetCells(ACol, ARow, Cells(ACol, ARow) == checkTrue_ ? checkFalse_ : checkTrue_);
    InvalidateCell(ACol, ARow);
    if (HandleAllocated())
        UpdateWindow(Handle());
    return true;
}

// ---------------------------------------------------------------------------
// Hidden rows and nodes

std::vector<int> TAdvStringGrid::HiddenIndexes() const
{
    std::vector<int> hidden;
    hidden.reserve(hiddenRows_->Count());
    for (int i = 0; i < hiddenRows_->Count(); ++i)
        hidden.push_back(static_cast<TGridItem*>(hiddenRows_->Items(i))->Idx);
    std::sort(hidden.begin(), hidden.end());
    return hidden;
}

TGridItem* TAdvStringGrid::HiddenItem(int realRow) const
{
    for (int i = 0; i < hiddenRows_->Count(); ++i) {
        auto* item = static_cast<TGridItem*>(hiddenRows_->Items(i));
        if (item->Idx == realRow)
            return item;
    }
    return nullptr;
}

int TAdvStringGrid::NumHiddenRows() const
{
    return hiddenRows_->Count();
}

int TAdvStringGrid::DisplayRow(int ARow)
{
    return DisplayRowOf(HiddenIndexes(), ARow);
}

int TAdvStringGrid::RealRow(int ARow)
{
    return RealRowOf(HiddenIndexes(), ARow);
}

bool TAdvStringGrid::IsRowHidden(int ARow)
{
    return HiddenItem(ARow) != nullptr;
}

void TAdvStringGrid::StoreRow(int displayRow, int realRow)
{
    auto* item = static_cast<TGridItem*>(hiddenRows_->Add());
    item->Idx = realRow;
    for (int col = 0; col < ColCount(); ++col)
        item->Items()->AddObject(Cells(col, displayRow), Objects(col, displayRow));
}

void TAdvStringGrid::RestoreRow(TGridItem* item, int displayRow)
{
    for (int col = 0; col < ColCount() && col < item->Items()->Count(); ++col) {
        SetCells(col, displayRow, item->Items()->Strings(col));
        SetObjects(col, displayRow, item->Items()->Objects(col));
    }
    delete item;
}

void TAdvStringGrid::HiddenRowsFollow(const std::function<int(int)>& newGap)
{
    if (hidingRows_ > 0 || hiddenRows_->Count() == 0)
        return;
    std::vector<TGridItem*> items;
    for (int i = 0; i < hiddenRows_->Count(); ++i)
        items.push_back(static_cast<TGridItem*>(hiddenRows_->Items(i)));
    std::sort(items.begin(), items.end(), [](const TGridItem* a, const TGridItem* b) { return a->Idx < b->Idx; });
    std::vector<int> hidden;
    for (const TGridItem* item : items)
        hidden.push_back(item->Idx);
    const std::vector<int> moved = MoveHiddenRows(hidden, newGap);
    for (size_t k = 0; k < items.size(); ++k)
        items[k]->Idx = moved[k];
}

void TAdvStringGrid::HiddenCellsFollow(const std::function<void(TStrings*)>& change)
{
    for (int i = 0; i < hiddenRows_->Count(); ++i)
        change(static_cast<TGridItem*>(hiddenRows_->Items(i))->Items());
}

void TAdvStringGrid::CutHiddenCells(TStrings* cells, int fromCol, int count)
{
    for (int i = 0; i < count && fromCol < cells->Count(); ++i) {
        if (enableGraphics_)
            delete dynamic_cast<TCellGraphic*>(cells->Objects(fromCol));
        cells->Delete(fromCol);
    }
}

void TAdvStringGrid::CellsCut(const std::vector<TObject*>& objects)
{
    if (enableGraphics_)
        for (TObject* object : objects)
            delete dynamic_cast<TCellGraphic*>(object);
    // A hidden row stays with the shown row above it: those after the last
    // row kept stay, those of the rows cut off go. Hidden rows in real order
    // lie in gaps that never go down.
    const std::vector<int> hidden = HiddenIndexes();
    int firstCut = -1;
    for (size_t k = 0; k < hidden.size() && firstCut < 0; ++k)
        if (hidden[k] - static_cast<int>(k) > RowCount())
            firstCut = hidden[k];
    for (int i = hiddenRows_->Count() - 1; i >= 0; --i) {
        auto* item = static_cast<TGridItem*>(hiddenRows_->Items(i));
        const bool gone = firstCut >= 0 && item->Idx >= firstCut;
        CutHiddenCells(item->Items(), gone ? 0 : ColCount());
        if (gone)
            delete item;
    }
    if (editCol_ >= ColCount() || editRow_ >= RowCount()) {
        editCol_ = editRow_ = -1;
        SettleEditCell();
    }
}

void TAdvStringGrid::RowsReordered(const std::vector<int>& newRow)
{
    const int rows = static_cast<int>(newRow.size());
    HiddenRowsFollow([&](int gap) { return gap == 0 || gap > rows ? gap : newRow[gap - 1] + 1; });
    if (editRow_ >= 0 && editRow_ < rows)
        editRow_ = newRow[editRow_];
    SettleEditCell();
}

void TAdvStringGrid::HideRow(int ARow)
{
    if (IsRowHidden(ARow))
        return;
    {
        TNesting hiding(hidingRows_);
        const int displayed = DisplayRow(ARow);
        StoreRow(displayed, ARow);
        RemoveRows(displayed, 1);
    }
    SettleEditCell();
}

void TAdvStringGrid::HideRows(int FromRow, int ToRow)
{
    if (ToRow < FromRow || IsRowHidden(FromRow))
        return;
    HideShownRows(FromRow, ToRow);
}

void TAdvStringGrid::HideShownRows(int FromRow, int ToRow)
{
    {
        TNesting hiding(hidingRows_);
        // Each run of shown rows is stored under its real indexes and removed
        // at once; a row stored already stays as it was stored.
        for (int r = FromRow; r <= ToRow;) {
            if (IsRowHidden(r)) {
                ++r;
                continue;
            }
            int last = r;
            while (last < ToRow && !IsRowHidden(last + 1))
                ++last;
            const int displayed = DisplayRow(r);
            for (int i = r; i <= last; ++i)
                StoreRow(displayed + (i - r), i);
            RemoveRows(displayed, last - r + 1);
            r = last + 1;
        }
    }
    SettleEditCell();
}

void TAdvStringGrid::ShowRow(int ARow)
{
    TGridItem* item = HiddenItem(ARow);
    if (!item)
        return;
    {
        TNesting showing(hidingRows_);
        const int displayed = DisplayRow(ARow);
        InsertRows(displayed, 1);
        RestoreRow(item, displayed);
    }
    // Settled with the row's texts back: the new row was no edit.
    SettleEditCell();
}

void TAdvStringGrid::ShowRows(int FromRow, int ToRow)
{
    if (!IsRowHidden(FromRow))
        return;
    // Each hidden row of the range goes back to its own place, in order, so
    // rows shown in between (a range that is not one block) stay as they are.
    for (int r : HiddenIndexes())
        if (r >= FromRow && r <= ToRow)
            ShowRow(r);
}

void TAdvStringGrid::ShowAllRows()
{
    while (hiddenRows_->Count() > 0)
        ShowRow(static_cast<TGridItem*>(hiddenRows_->Items(0))->Idx);
}

bool TAdvStringGrid::IsNodeRow(int DisplayedRow)
{
    return GetCellGraphicKind(0, DisplayedRow) == 8;
}

// Where a node's rows end (the displayed row after them): the next node row
// (or the end) for span 0 or less, else the row span rows down.
int TAdvStringGrid::NodeEnd(int displayRow, int span)
{
    if (span > 0)
        return displayRow + span;
    int e = displayRow + 1;
    while (e < RowCount() && !IsNodeRow(e))
        ++e;
    return e;
}

// The last real row a node covers. A span counts real rows, shown or not, so
// that a node holding a contracted node still covers the same rows; a node
// without a span reaches to the next node row that shows.
int TAdvStringGrid::NodeLastRow(int realRow, int span)
{
    if (span > 0)
        return std::min(realRow + span - 1, RowCount() + NumHiddenRows() - 1);
    return RealRow(NodeEnd(DisplayRow(realRow), 0)) - 1;
}

void TAdvStringGrid::ContractNode(int ARow)
{
    if (IsRowHidden(ARow))
        return;
    const int d = DisplayRow(ARow);
    TCellGraphic* node = GetCellGraphic(0, d);
    if (!node || node->Kind != 8)
        return;
    node->State = true;
    // Exactly the covered rows that show; rows a contracted node inside
    // already keeps stay where they are stored.
    HideShownRows(ARow + 1, NodeLastRow(ARow, node->Number));
    InvalidateCell(0, DisplayRow(ARow));
}

void TAdvStringGrid::ExpandNode(int ARow)
{
    if (IsRowHidden(ARow))
        return;
    const int d = DisplayRow(ARow);
    TCellGraphic* node = GetCellGraphic(0, d);
    if (!node || node->Kind != 8)
        return;
    node->State = false;
    // Every covered row comes back in its place, except the rows of a node
    // inside that is still contracted.
    const int last = NodeLastRow(ARow, node->Number);
    for (int r = ARow + 1; r <= last; ++r) {
        ShowRow(r);
        const TCellGraphic* inner = GetCellGraphic(0, DisplayRow(r));
        if (inner && inner->Kind == 8 && inner->State)
            r = std::max(r, NodeLastRow(r, inner->Number));
    }
    InvalidateCell(0, d);
}

// ---------------------------------------------------------------------------
// Row-selection flags

void TAdvStringGrid::RepaintRowLine(int row)
{
    if (!HandleAllocated())
        return;
    const TRect cell = CellRect(0, row);
    if (cell.bottom <= cell.top)
        return;
    RECT strip{cell.left, cell.top, Width(), cell.bottom};
    InvalidateRect(Handle(), &strip, TRUE);
}

bool TAdvStringGrid::IsRowSelected(int ARow)
{
    if (ARow < 0 || ARow >= RowCount())
        throw EAdvGridError("Invalid row accessed");
    return rowFlags_.Get(ARow);
}

void TAdvStringGrid::SelectRow(int ARow, bool State)
{
    if (ARow < 0 || ARow >= RowCount())
        throw EAdvGridError("Invalid row accessed");
    if (rowFlags_.Get(ARow) == State)
        return;
    rowFlags_.Set(ARow, State);
    RepaintRowLine(ARow);
}

void TAdvStringGrid::ClearRowSelection()
{
    for (int row = 0; row < rowFlags_.Count(); ++row)
        if (rowFlags_.Get(row)) {
            rowFlags_.Set(row, false);
            RepaintRowLine(row);
        }
}

void TAdvStringGrid::SelectRowsInSelection()
{
    const TGridRect sel = Selection();
    if (sel.Top < 0 || sel.Bottom < 0 || sel.Top > sel.Bottom)
        return;
    for (int row = sel.Top; row <= sel.Bottom; ++row)
        if (!rowFlags_.Get(row)) {
            rowFlags_.Set(row, true);
            RepaintRowLine(row);
        }
}

// ---------------------------------------------------------------------------
// Headers and filter

void TAdvStringGrid::SetColumnHeaders(TStrings* v)
{
    const TNotifyEvent saved = columnHeaders_->OnChange;
    columnHeaders_->OnChange.Clear();
    columnHeaders_->Assign(v);
    columnHeaders_->OnChange = saved;
    if (FixedRows() > 0)
        for (int col = 0; col < ColCount(); ++col)
            SetCells(col, 0, "");
    ApplyColumnHeaders();
}

void TAdvStringGrid::SetRowHeaders(TStrings* v)
{
    // Column 0 is emptied first only in a form designer, which this is not.
    const TNotifyEvent saved = rowHeaders_->OnChange;
    rowHeaders_->OnChange.Clear();
    rowHeaders_->Assign(v);
    rowHeaders_->OnChange = saved;
    ApplyRowHeaders();
}

void TAdvStringGrid::HeadersChanged(TObject* sender)
{
    if (sender == columnHeaders_.get())
        ApplyColumnHeaders();
    else
        ApplyRowHeaders();
}

void TAdvStringGrid::ApplyColumnHeaders()
{
    if (FixedRows() <= 0)
        return;
    for (int i = 0; i < columnHeaders_->Count() && i < ColCount(); ++i)
        SetCells(i, 0, UnescapeLineBreaks(columnHeaders_->Strings(i)));
}

void TAdvStringGrid::ApplyRowHeaders()
{
    if (FixedCols() <= 0)
        return;
    for (int i = 0; i < rowHeaders_->Count() && i < RowCount(); ++i)
        SetCells(0, i, UnescapeLineBreaks(rowHeaders_->Strings(i)));
}

void TAdvStringGrid::SetFilterActive(bool v)
{
    if (v == filterActive_)
        return;
    filterActive_ = v;
    if (v)
        ApplyFilter();
    else
        ShowAllRows();
}

void TAdvStringGrid::ApplyFilter()
{
    // Data rows only: the footers stay below them, shown.
    int row = FixedRows();
    while (row < RowCount() - fixedFooters_) {
        if (RowMatchesFilter(row))
            ++row;
        else
            HideRow(RealRow(row));
    }
}

bool TAdvStringGrid::RowMatchesFilter(int ARow)
{
    for (int i = 0; i < filter_->Count(); ++i) {
        const TFilterData* condition = filter_->Items(i);
        if (!MatchFilter(condition->Condition, Cells(condition->Column, ARow)))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// The current cell and the editor's choice

bool TAdvStringGrid::SelectCell(int col, int row)
{
    bool allow = true;
    if (row != Row())
        OnRowChanging(this, Row(), row, allow);
    if (col != Col())
        OnColChanging(this, Col(), col, allow);
    if (row != Row() || col != Col())
        OnCellChanging(this, Row(), Col(), row, col, allow);
    if (!allow || IsFixedCell(col, row) || !TStringGrid::SelectCell(col, row))
        return false;
    // Only a move that goes ahead takes the new cell's text (for Esc) and
    // its editability.
    cancelText_ = Cells(col, row);
    if (OnCanEditCell && !IsToggleCell(col, row)) {
        bool canedit = true;
        OnCanEditCell(this, row, col, canedit);
        SetOptions(canedit ? Options() | goEditing : Options() & ~goEditing);
    }
    return true;
}

bool TAdvStringGrid::CanEditShow()
{
    bool result = TStringGrid::CanEditShow();
    if (result && !controlShowing_ && IsToggleCell(Col(), Row()))
        result = false;
    if (!result || controlShowing_ || !OnGetEditorType)
        return result;
    cancelText_ = Cells(Col(), Row());
    editorType_ = etText;
    OnGetEditorType(this, Col(), Row(), editorType_);
    if (IsTextEditorKind(editorType_)) {
        // A password editor is a window of its own kind.
        if (TAdvInplaceEdit* editor = AdvEditor(); editor && editor->HandleAllocated() &&
                                                   editor->password_ != (editorType_ == etPassword))
            editor->RecreateWnd();
        return result;
    }
    try {
        ShowCellControl(Col(), Row());
    } catch (...) {
        // Nothing opened: the grid leaves the editing mode rather than try
        // again (and fail again) at every move and scroll.
        HideEditor();
        throw;
    }
    return false;
}

void TAdvStringGrid::CancelCellEdit()
{
    SetCells(Col(), Row(), cancelText_);
    // Written again so that the cell and its editor show it.
    SetCells(Col(), Row(), Cells(Col(), Row()));
}

std::string TAdvStringGrid::GetEditText(int col, int row)
{
    const bool right = GetCellAlignment(RealCol(col), row) == taRightJustify;
    if (TAdvInplaceEdit* editor = AdvEditor(); editor && editor->valign() != right)
        editor->Setvalign(right);
    return TStringGrid::GetEditText(RealCol(col), row);
}

void TAdvStringGrid::SetEditText(int col, int row, const std::string& value)
{
    TStringGrid::SetEditText(RealCol(col), row, value);
}

void TAdvStringGrid::TopLeftChanged()
{
    TStringGrid::TopLeftChanged();
    ScrollExtentChanged(false);
    if (controlShowing_ && editorType_ != etText) {
        HideCellControl(Col(), Row());
        HideEditor();
    }
}

void TAdvStringGrid::ColumnMoved(int fromIndex, int toIndex)
{
    TStringGrid::ColumnMoved(fromIndex, toIndex);
    if (enhRowColMove_) {
        const int w = ColWidths(fromIndex);
        SetColWidths(fromIndex, ColWidths(toIndex));
        SetColWidths(toIndex, w);
        moved_ = true;
    }
    if (fromIndex == sortColumn_)
        sortColumn_ = toIndex;
    HiddenCellsFollow([&](TStrings* cells) {
        if (fromIndex < cells->Count() && toIndex < cells->Count())
            cells->Move(fromIndex, toIndex);
    });
    editCol_ = MovedIndex(editCol_, fromIndex, toIndex);
    SettleEditCell();
}

void TAdvStringGrid::RowMoved(int fromIndex, int toIndex)
{
    TStringGrid::RowMoved(fromIndex, toIndex);
    if (enhRowColMove_) {
        const int h = RowHeights(fromIndex);
        SetRowHeights(fromIndex, RowHeights(toIndex));
        SetRowHeights(toIndex, h);
        moved_ = true;
    }
    std::vector<int> newRow(RowCount());
    for (int r = 0; r < RowCount(); ++r)
        newRow[r] = MovedIndex(r, fromIndex, toIndex);
    RowsReordered(newRow);
}

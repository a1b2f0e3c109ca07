// The grid of texts (TStringGrid of Grids.h) and the unit's start.
#include "classlib/Grids.h"

#include <cstdio>

#include "classlib/Lists.h"
#include "classlib/TypInfo.h"

namespace {

// "Cells[2,5]" gives col 2 and row 5.
bool CellKey(const std::string& key, int& col, int& row)
{
    int end = 0;
    return std::sscanf(key.c_str(), "Cells[%d,%d]%n", &col, &row, &end) == 2 && end == static_cast<int>(key.size());
}

} // namespace

// ---------------------------------------------------------------------------
// TStringGrid

TStringGrid::TStringGrid(TComponent* owner) : TCustomGrid(owner)
{
    SizeChanged(0, 0);
}

const TClassInfo* TStringGrid::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TStringGrid::StaticClass()
{
    static const TClassInfo info("TStringGrid", &TCustomGrid::StaticClass(), &NewComponent<TStringGrid>);
    return info;
}

bool TStringGrid::ProbeState(TStrings& lines, bool change)
{
    if (!change) {
        TCustomGrid::ProbeState(lines, false);
        for (int row = 0; row < RowCount(); ++row)
            for (int col = 0; col < ColCount(); ++col)
                lines.Add("Cells[" + std::to_string(col) + "," + std::to_string(row) + "]=" + cells_[row][col].text);
        return true;
    }
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = lines.Strings(i);
        int col = 0, row = 0;
        if (!CellKey(lines.Names(i), col, row)) {
            TStringList other;
            other.Add(line);
            if (!TCustomGrid::ProbeState(other, true))
                return false;
            continue;
        }
        if ((Options() & (goEditing | goRowSelect)) != goEditing)
            throw EInvalidGridOperation(Name() + " takes no typing");
        ClickCell(col, row);
        SetEditText(col, row, line.substr(line.find('=') + 1));
        // The editor open on the cell shows what was typed, the caret after it.
        if (InplaceCol() == col && InplaceRow() == row) {
            InvalidateEditor();
            InplaceEditor()->Deselect();
        }
    }
    return true;
}

void TStringGrid::SizeChanged(int oldColCount, int oldRowCount)
{
    // A row or column deleted or inserted is in the cells already; what lies
    // beyond the new counts is cut off.
    const size_t rows = RowCount(), cols = ColCount();
    bool cut = false;
    std::vector<TObject*> objects;
    for (size_t r = 0; r < cells_.size(); ++r)
        for (size_t c = r < rows ? cols : 0; c < cells_[r].size(); ++c) {
            cut = true;
            if (cells_[r][c].object)
                objects.push_back(cells_[r][c].object);
        }
    cells_.resize(rows);
    for (auto& row : cells_)
        row.resize(cols);
    if (cut)
        CellsCut(objects);
    TCustomGrid::SizeChanged(oldColCount, oldRowCount);
}

void TStringGrid::CellsCut(const std::vector<TObject*>&) {}

TStringGrid::TCell& TStringGrid::CellAt(int col, int row)
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        ListIndexError(col < 0 || col >= ColCount() ? col : row);
    return cells_[row][col];
}

std::string TStringGrid::Cells(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return std::string();
    return cells_[row][col].text;
}

void TStringGrid::SetCells(int col, int row, const std::string& value)
{
    CellAt(col, row).text = value;
    InvalidateCell(col, row);
    // The editor shows the new text unless the text came from it.
    if (editUpdate_ == 0 && InplaceCol() == col && InplaceRow() == row)
        InvalidateEditor();
}

TObject* TStringGrid::Objects(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return nullptr;
    return cells_[row][col].object;
}

void TStringGrid::SetObjects(int col, int row, TObject* value)
{
    CellAt(col, row).object = value;
}

void TStringGrid::DrawCell(int col, int row, TRect rect, TGridDrawState state)
{
    if (DefaultDrawing())
        Canvas()->TextRect(rect, rect.left + 2, rect.top + 2, Cells(col, row));
    TCustomGrid::DrawCell(col, row, rect, state);
}

std::string TStringGrid::GetEditText(int col, int row)
{
    std::string value = Cells(col, row);
    OnGetEditText(this, col, row, value);
    return value;
}

void TStringGrid::SetEditText(int col, int row, const std::string& value)
{
    ++editUpdate_;
    try {
        if (Cells(col, row) != value)
            SetCells(col, row, value);
    } catch (...) {
        --editUpdate_;
        throw;
    }
    --editUpdate_;
    TCustomGrid::SetEditText(col, row, value);
}

void TStringGrid::ColumnMoved(int fromIndex, int toIndex)
{
    for (auto& row : cells_) {
        TCell cell = row[fromIndex];
        row.erase(row.begin() + fromIndex);
        row.insert(row.begin() + toIndex, cell);
    }
    TCustomGrid::ColumnMoved(fromIndex, toIndex);
}

void TStringGrid::RowMoved(int fromIndex, int toIndex)
{
    std::vector<TCell> row = std::move(cells_[fromIndex]);
    cells_.erase(cells_.begin() + fromIndex);
    cells_.insert(cells_.begin() + toIndex, std::move(row));
    TCustomGrid::RowMoved(fromIndex, toIndex);
}

void TStringGrid::DeleteRow(int index)
{
    if (index >= 0 && index < RowCount())
        cells_.erase(cells_.begin() + index);
    TCustomGrid::DeleteRow(index);
}

void TStringGrid::DeleteColumn(int index)
{
    if (index >= 0 && index < ColCount())
        for (auto& row : cells_)
            row.erase(row.begin() + index);
    TCustomGrid::DeleteColumn(index);
}

void TStringGrid::InsertRow(int index)
{
    if (index >= 0 && index <= RowCount())
        cells_.insert(cells_.begin() + index, std::vector<TCell>(ColCount()));
    TCustomGrid::InsertRow(index);
}

void TStringGrid::InsertColumn(int index)
{
    if (index >= 0 && index <= ColCount())
        for (auto& row : cells_)
            row.insert(row.begin() + index, TCell());
    TCustomGrid::InsertColumn(index);
}

void InitGridsUnit()
{
    RegisterComponentClass(TStringGrid::StaticClass());
}

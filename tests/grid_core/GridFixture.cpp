#include "GridFixture.h"

TAdvStringGrid* MakeGrid(int cols, int rows, const std::vector<std::vector<std::string>>& texts)
{
    auto* grid = new TAdvStringGrid(TestForm());
    grid->SetBounds(10, 10, 400, 300);
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    for (int r = 0; r < static_cast<int>(texts.size()) && r < rows; ++r)
        for (int c = 0; c < static_cast<int>(texts[r].size()) && c < cols; ++c)
            grid->SetCells(c, r, texts[r][c]);
    grid->SetParent(TestForm());
    return grid;
}

std::string ColumnText(TAdvStringGrid* grid, int col, int from, int to)
{
    std::string s;
    for (int r = from; r <= to; ++r) {
        if (r > from)
            s += '|';
        s += grid->Cells(col, r);
    }
    return s;
}

void PutNode(TAdvStringGrid* grid, int row, int span)
{
    auto* g = new TCellGraphic;
    g->Kind = 8;
    g->Number = span;
    grid->SetObjects(0, row, g);
}

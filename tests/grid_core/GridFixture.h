// What the grid tests share: a grid on the shared test form, filled from a
// table, and a recorder of the grid's events.
#pragma once

#include <string>
#include <vector>

#include "grid/AdvGrid.h"
#include "tests/classlib_listgrid/TestForm.h"

// A grid of cols x rows on the test form, its cells from texts (row by row;
// missing ones stay empty).
TAdvStringGrid* MakeGrid(int cols, int rows, const std::vector<std::vector<std::string>>& texts = {});
// The texts of one column, rows from..to, joined by "|".
std::string ColumnText(TAdvStringGrid* grid, int col, int from, int to);
// A node of the span in column 0 of the row.
void PutNode(TAdvStringGrid* grid, int row, int span);

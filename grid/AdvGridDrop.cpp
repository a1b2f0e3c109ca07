// OLE drag and drop of the grid: its drop target and the start of a drag.
#include "grid/AdvGrid.h"

bool TAdvStringGrid::TryStartOleDrag(int col, int row, int x, int y)
{
    (void)col, (void)row, (void)x, (void)y;
    return false;
}

void TAdvStringGrid::DropWindowCreated() {}

void TAdvStringGrid::DropWindowDestroying() {}

// Scrolling, the mouse wheel, zoom and panning of the grid.
#include "grid/AdvGrid.h"

bool TAdvStringGrid::ScrollMessage(TMessage& m)
{
    (void)m;
    return false;
}

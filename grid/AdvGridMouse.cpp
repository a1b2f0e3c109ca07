// The grid's mouse input, hints and cursors.
#include "grid/AdvGrid.h"

bool TAdvStringGrid::MouseMessage(TMessage& m)
{
    (void)m;
    return false;
}

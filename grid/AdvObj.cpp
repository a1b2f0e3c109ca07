#include "grid/AdvObj.h"

namespace {

// The outline of each arrow, 7 points.
constexpr POINT ArrowShapes[4][7] = {
    {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}},  // up
    {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}},   // down
    {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}},  // right
    {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}},  // left
};

} // namespace

TArrowWindow::TArrowWindow(TComponent* grid, int direction) : TPanel(grid), direction_(direction & 3) {}

void TArrowWindow::CreateParams(TCreateParams& p)
{
    TPanel::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = 0;
}

void TArrowWindow::CreateWnd()
{
    TPanel::CreateWnd();
    // Only the arrow shows; the window owns the region from here on.
    HRGN region = CreatePolygonRgn(ArrowShapes[direction_], 7, WINDING);
    if (region && !SetWindowRgn(Handle(), region, TRUE))
        DeleteObject(region);
}

void TArrowWindow::Loaded()
{
    TPanel::Loaded();
    SetColor(clLime);
}

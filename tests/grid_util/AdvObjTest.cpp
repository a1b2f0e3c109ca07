// The move arrows: each window's region is the arrow of its direction.
#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "grid/AdvObj.h"

namespace {

// The region's points as rows of '#' (inside) and '.' over a 12 x 12 box.
std::string Shape(HWND wnd)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(wnd, region);
    std::string rows;
    for (int y = 0; y < 12 && kind != ERROR; ++y) {
        for (int x = 0; x < 12; ++x)
            rows += PtInRegion(region, x, y) ? '#' : '.';
        rows += '\n';
    }
    DeleteObject(region);
    return rows;
}

} // namespace

TEST(AdvObj, ArrowWindowsAreShapedByTheirDirection)
{
    InitFormsUnit();
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 200, 200);
    struct {
        int direction;
        TPoint inside[2];
        TPoint outside[2];
    } cases[] = {
        {0, {{5, 1}, {5, 8}}, {{1, 8}, {9, 8}}},  // up: the tip on top, the stem below
        {1, {{5, 7}, {5, 1}}, {{1, 1}, {8, 1}}},  // down
        {2, {{7, 5}, {1, 5}}, {{1, 1}, {1, 8}}},  // right
        {3, {{1, 5}, {7, 5}}, {{7, 1}, {7, 8}}},  // left
    };
    for (const auto& c : cases) {
        auto* arrow = new TArrowWindow(form, c.direction);
        arrow->SetParent(form);
        arrow->SetBounds(0, 0, 12, 12);
        const std::string shape = Shape(arrow->Handle());
        SCOPED_TRACE("direction " + std::to_string(c.direction) + "\n" + shape);
        ASSERT_FALSE(shape.empty());
        const LONG style = GetWindowLongA(arrow->Handle(), GWL_STYLE);
        EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_CHILD), WS_POPUP | WS_BORDER);
        for (const TPoint& p : c.inside)
            EXPECT_EQ(shape[p.y * 13 + p.x], '#') << p.x << "," << p.y;
        for (const TPoint& p : c.outside)
            EXPECT_EQ(shape[p.y * 13 + p.x], '.') << p.x << "," << p.y;
    }
    // Pointing right: the outline runs from x 0 to x 8, the tip at (8, 5);
    // the region leaves out its right edge, as GDI regions do.
    auto* right = new TArrowWindow(form, 2);
    right->SetParent(form);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(right->Handle(), region), ERROR);
    RECT box{};
    GetRgnBox(region, &box);
    DeleteObject(region);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 8);
    delete form;
}

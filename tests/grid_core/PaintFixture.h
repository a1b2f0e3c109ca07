// What the painting tests share: a grid that draws its whole client area
// into a bitmap as its window would, and pixel counts.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "grid/AdvGrid.h"
#include "tests/classlib_listgrid/TestForm.h"

class TPaintGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    std::unique_ptr<TBitmap> Picture()
    {
        auto picture = std::make_unique<TBitmap>(ClientWidth(), ClientHeight(), pf24bit);
        PaintWindow(picture->Canvas()->Handle());
        picture->Canvas()->Refresh();
        return picture;
    }
};

// Pixels of a rectangle that differ between two bitmaps.
inline int Differences(TBitmap* a, TBitmap* b, const TRect& r)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += a->Canvas()->Pixels(x, y) != b->Canvas()->Pixels(x, y);
    return n;
}

// Pixels of a rectangle that are not the colour.
inline int Ink(TBitmap* a, const TRect& r, TColor background)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += a->Canvas()->Pixels(x, y) != background;
    return n;
}

inline TColor Sys(int index)
{
    return static_cast<TColor>(GetSysColor(index));
}

// A grid of 3 x 4 cells of 90 x 30 on the shared test form, its window made.
class PaintGridTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestForm();
        grid = new TPaintGrid(TestForm());
        grid->SetBounds(10, 10, 300, 150);
        grid->SetColCount(3);
        grid->SetRowCount(4);
        grid->SetDefaultColWidth(90);
        grid->SetDefaultRowHeight(30);
        grid->SetParent(TestForm());
        grid->HandleNeeded();
    }
    void TearDown() override { delete grid; }
    TPaintGrid* grid = nullptr;
};

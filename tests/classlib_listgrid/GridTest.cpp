// Contracts of the string grid as the personal-data grid uses it: cells and
// counts, fixed cells, widths and rectangles, the drawing loop, the current
// cell moved by keys, Tab and the mouse, the editor that is always shown and
// writes into its cell at every keystroke, and scrolling into view.
#include <gtest/gtest.h>

#include <memory>

#include "TestForm.h"
#include "classlib/Grids.h"
#include "classlib/TypInfo.h"

namespace {

// What the grid told through its events.
struct Recorder {
    struct Drawn {
        int col, row;
        TRect rect;
        TGridDrawState state;
    };
    std::vector<Drawn> drawn;
    int clicks = 0, topLeftChanges = 0;
    TGridCoord refused{-1, -1};

    void DrawCell(TObject*, int col, int row, TRect rect, TGridDrawState state)
    {
        drawn.push_back({col, row, rect, state});
    }
    void SelectCell(TObject*, int col, int row, bool& can) { can = !(col == refused.X && row == refused.Y); }
    void Click(TObject*) { ++clicks; }
    void TopLeftChanged(TObject*) { ++topLeftChanges; }
};

bool SameRect(const TRect& a, const TRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string RectText(const TRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

class Grid : public testing::Test {
protected:
    void SetUp() override { TestForm(); }
    void TearDown() override { delete grid; }
    template <class T>
    T* Place(T* g)
    {
        grid = g;
        grid->SetBounds(10, 10, 320, 120);
        grid->SetParent(TestForm());
        return g;
    }
    TStringGrid* grid = nullptr;
    Recorder rec;
};

TEST_F(Grid, PersonalDataLayoutCellsAndRectangles)
{
    TDataGrid* g = Place(new TDataGrid(TestForm()));
    EXPECT_EQ(g->ColCount(), 2);
    EXPECT_EQ(g->RowCount(), 15);
    EXPECT_EQ(g->FixedCols(), 1);
    EXPECT_EQ(g->FixedRows(), 0);
    EXPECT_EQ(g->ColWidths(0), 80);
    EXPECT_EQ(g->ColWidths(1), 224);
    EXPECT_EQ(g->RowHeights(14), 17);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 0);
    EXPECT_EQ(g->Cells(0, 11), "Numer konta");
    EXPECT_EQ(g->Cells(0, 14), "");
    // The border takes 2 pixels a side; only the vertical scroll bar shows.
    ASSERT_EQ(g->ClientHeight(), 116);
    EXPECT_EQ(g->VisibleRowCount(), 6);

    const struct {
        int col, row;
        TRect rect;
    } rows[] = {
        {0, 0, {0, 0, 80, 17}},     {1, 0, {81, 0, 305, 17}},      {1, 3, {81, 54, 305, 71}},
        {0, 6, {0, 108, 80, 125}},  {1, 7, {0, 0, 0, 0}},          {2, 0, {0, 0, 0, 0}},
        {-1, 0, {0, 0, 0, 0}},      {1, 15, {0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.col << "," << row.row);
        EXPECT_EQ(RectText(g->CellRect(row.col, row.row)), RectText(row.rect));
    }
    const int right = g->ClientWidth() - 1;  // left of the scroll bar
    const struct {
        int x, y, col, row;
    } points[] = {{5, 5, 0, 0}, {100, 20, 1, 1}, {right, 115, 1, 6}, {80, 17, 0, 0}, {-1, 5, -1, -1}, {5, 116, -1, -1}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        const TGridCoord cell = g->MouseCoord(p.x, p.y);
        EXPECT_EQ(cell.X, p.col);
        EXPECT_EQ(cell.Y, p.row);
    }

    g->SetCells(1, 14, "wiersz bez etykiety");
    EXPECT_EQ(g->Cells(1, 14), "wiersz bez etykiety");
    g->SetObjects(1, 2, g);
    EXPECT_EQ(g->Objects(1, 2), g);
    EXPECT_EQ(g->Cells(2, 0), "");
    EXPECT_EQ(g->Objects(5, 5), nullptr);
    EXPECT_THROW(g->SetCells(2, 0, "x"), EListError);
    EXPECT_THROW(g->SetCells(0, 15, "x"), EListError);
    EXPECT_THROW(g->SetFixedCols(2), EInvalidGridOperation);
    EXPECT_THROW(g->SetColWidths(2, 10), EInvalidGridOperation);
    EXPECT_THROW(g->SetCol(2), EInvalidGridOperation);

    // More rows keep the cells; fewer drop them.
    g->SetRowCount(16);
    EXPECT_EQ(g->Cells(1, 14), "wiersz bez etykiety");
    EXPECT_EQ(g->RowHeights(15), 17);
    g->SetRowCount(14);
    EXPECT_EQ(g->Cells(1, 14), "");
    EXPECT_EQ(g->Cells(0, 13), "Regon");
}

TEST_F(Grid, TheDrawingLoopDrawsEveryVisibleCellOnce)
{
    TDataGrid* g = Place(new TDataGrid(TestForm()));
    g->SetFixedColor(clYellow);
    g->OnDrawCell = TDrawCellEvent(&rec, &Recorder::DrawCell);
    for (int top : {0, 5}) {
        SCOPED_TRACE(top);
        g->SetTopRow(top);
        EXPECT_EQ(g->TopRow(), top);
        rec.drawn.clear();
        g->Repaint();
        int expected = 0;
        for (int row = 0; row < g->RowCount(); ++row)
            for (int col = 0; col < g->ColCount(); ++col) {
                const TRect rect = g->CellRect(col, row);
                if (rect.right <= rect.left)
                    continue;
                ++expected;
                auto it = std::find_if(rec.drawn.begin(), rec.drawn.end(),
                                       [&](const Recorder::Drawn& d) { return d.col == col && d.row == row; });
                ASSERT_NE(it, rec.drawn.end()) << col << "," << row;
                EXPECT_TRUE(SameRect(it->rect, rect)) << col << "," << row;
                TGridDrawState state = col == 0 ? TGridDrawState(gdFixed) : 0u;
                if (col == g->Col() && row == g->Row())
                    state |= gdSelected;
                EXPECT_EQ(it->state, state) << col << "," << row;
            }
        EXPECT_EQ(static_cast<int>(rec.drawn.size()), expected);
    }
    EXPECT_EQ(rec.drawn.front().row, 5);  // the first row shown after scrolling

}

TEST_F(Grid, InvalidatingCellsCoversWhatShowsOfThem)
{
    TStringGrid* g = Place(new TStringGrid(TestForm()));
    g->SetRowCount(20);
    g->SetTopRow(10);
    const int last = g->TopRow() + g->VisibleRowCount() - 1;
    auto dirty = [g] {
        RECT r{0, 0, 0, 0};
        GetUpdateRect(g->Handle(), &r, FALSE);
        return r;
    };
    auto inside = [](const RECT& outer, const TRect& inner) {
        return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
               inner.bottom <= outer.bottom;
    };
    UpdateWindow(g->Handle());
    g->InvalidateCol(2);  // its fixed cell shows, then rows from the top row on
    EXPECT_TRUE(inside(dirty(), g->CellRect(2, 0)));
    EXPECT_TRUE(inside(dirty(), g->CellRect(2, last)));
    EXPECT_FALSE(inside(dirty(), g->CellRect(3, last)));
    UpdateWindow(g->Handle());
    g->InvalidateRow(5);  // scrolled away
    RECT none;
    EXPECT_FALSE(GetUpdateRect(g->Handle(), &none, FALSE));
    g->InvalidateCell(1, last);
    EXPECT_TRUE(inside(dirty(), g->CellRect(1, last)));
}

struct KeyRow {
    const char* name;
    int col, row;  // start
    WORD key;
    TShiftState shift;
    int endCol, endRow;
};

TEST_F(Grid, KeysAndTabMoveTheCurrentCell)
{
    TStringGrid* g = Place(new TStringGrid(TestForm()));
    g->SetColCount(5);
    g->SetRowCount(8);
    g->SetOptions(g->Options() | goTabs);
    g->OnSelectCell = TSelectCellEvent(&rec, &Recorder::SelectCell);
    g->OnClick = TNotifyEvent(&rec, &Recorder::Click);
    const KeyRow rows[] = {
        {"right", 1, 1, VK_RIGHT, 0, 2, 1},
        {"down", 1, 1, VK_DOWN, 0, 1, 2},
        {"left stops at the fixed column", 1, 1, VK_LEFT, 0, 1, 1},
        {"up stops at the fixed row", 3, 1, VK_UP, 0, 3, 1},
        {"end", 2, 3, VK_END, 0, 4, 3},
        {"home", 3, 3, VK_HOME, 0, 1, 3},
        {"ctrl+end", 2, 2, VK_END, ssCtrl, 2, 7},
        {"ctrl+home", 2, 6, VK_HOME, ssCtrl, 2, 1},
        {"tab", 2, 2, VK_TAB, 0, 3, 2},
        {"tab from the last column", 4, 2, VK_TAB, 0, 1, 3},
        {"tab from the last cell wraps", 4, 7, VK_TAB, 0, 1, 1},
        {"shift+tab from the first column", 1, 3, VK_TAB, ssShift, 4, 2},
        {"page down", 1, 1, VK_NEXT, 0, 1, 1 + g->VisibleRowCount()},
        {"a refused cell keeps the current one", 2, 4, VK_RIGHT, 0, 2, 4},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.name);
        rec.refused = {-1, -1};
        g->SetCol(row.col);
        g->SetRow(row.row);
        ASSERT_EQ(g->Col(), row.col);
        ASSERT_EQ(g->Row(), row.row);
        if (std::string(row.name).find("refused") != std::string::npos)
            rec.refused = {3, 4};
        rec.clicks = 0;
        PressKey(row.key, row.shift, g->Handle());
        EXPECT_EQ(g->Col(), row.endCol);
        EXPECT_EQ(g->Row(), row.endRow);
        const bool moved = row.endCol != row.col || row.endRow != row.row;
        EXPECT_EQ(rec.clicks, moved ? 1 : 0);
        // The current cell is the selection and shows.
        const TGridRect sel = g->Selection();
        EXPECT_TRUE(sel.Left == row.endCol && sel.Right == row.endCol && sel.Top == row.endRow &&
                    sel.Bottom == row.endRow);
        EXPECT_GT(g->CellRect(g->Col(), g->Row()).right, 0);
    }

    // Shift with an arrow widens the selection from the anchor.
    g->SetCol(1);
    g->SetRow(1);
    PressKey(VK_RIGHT, ssShift, g->Handle());
    PressKey(VK_DOWN, ssShift, g->Handle());
    const TGridRect sel = g->Selection();
    EXPECT_EQ(RectText(TRect{sel.Left, sel.Top, sel.Right, sel.Bottom}), "1,1,2,2");
}

TEST_F(Grid, TheCurrentCellScrollsIntoView)
{
    TDataGrid* g = Place(new TDataGrid(TestForm()));
    g->OnTopLeftChanged = TNotifyEvent(&rec, &Recorder::TopLeftChanged);
    int low = -1, high = -1;
    GetScrollRange(g->Handle(), SB_VERT, &low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 127);

    g->SetRow(14);
    EXPECT_EQ(g->TopRow(), 9);  // the last six rows show whole
    EXPECT_EQ(GetScrollPos(g->Handle(), SB_VERT), 127);
    EXPECT_EQ(g->CellRect(1, 14).bottom, 107);
    g->SetRow(3);
    EXPECT_EQ(g->TopRow(), 3);
    g->SetRow(0);
    EXPECT_EQ(g->TopRow(), 0);
    EXPECT_EQ(GetScrollPos(g->Handle(), SB_VERT), 0);
    EXPECT_EQ(rec.topLeftChanges, 3);

    // The scroll bar moves the view, not the current cell.
    const struct {
        const char* name;
        int code, pos, top;
    } scrolls[] = {
        {"line down", SB_LINEDOWN, 0, 1},  {"page down", SB_PAGEDOWN, 0, 7},  {"line up", SB_LINEUP, 0, 6},
        {"bottom", SB_BOTTOM, 0, 9},       {"top", SB_TOP, 0, 0},             {"thumb", SB_THUMBPOSITION, 64, 5},
        {"thumb track", SB_THUMBTRACK, 127, 9}, {"beyond the end", SB_PAGEDOWN, 0, 9},
    };
    for (const auto& s : scrolls) {
        SCOPED_TRACE(s.name);
        SendMessageA(g->Handle(), WM_VSCROLL, MAKEWPARAM(s.code, s.pos), 0);
        EXPECT_EQ(g->TopRow(), s.top);
        EXPECT_EQ(g->Row(), 0);
    }
    EXPECT_EQ(GetScrollPos(g->Handle(), SB_VERT), 127);
}

TEST_F(Grid, TheMouseChoosesCellsAndSizesColumns)
{
    TStringGrid* g = Place(new TStringGrid(TestForm()));
    g->SetOptions(g->Options() | goColSizing);
    g->OnClick = TNotifyEvent(&rec, &Recorder::Click);
    const TRect cell = g->CellRect(3, 2);
    const int x = (cell.left + cell.right) / 2, y = (cell.top + cell.bottom) / 2;
    PostMessageA(g->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(g->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpMessages(50);
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(rec.clicks, 1);

    // Dragging a column's edge in the fixed row sizes the column.
    const int edge = g->CellRect(1, 0).right;
    PostMessageA(g->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge, 5));
    PostMessageA(g->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge + 10, 5));
    PostMessageA(g->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge + 20, 5));
    PostMessageA(g->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(edge + 20, 5));
    PumpMessages(50);
    EXPECT_EQ(g->ColWidths(1), 84);
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(rec.clicks, 1);
}

TEST_F(Grid, SettingsAreReadByName)
{
    const TClassInfo* info = GetComponentClass("TStringGrid");
    ASSERT_NE(info, nullptr);
    std::unique_ptr<TComponent> made(info->CreateComponent(nullptr));
    auto* g = dynamic_cast<TStringGrid*>(made.get());
    ASSERT_NE(g, nullptr);
    const struct {
        const char* name;
        const char* text;
    } settings[] = {
        {"RowCount", "16"},
        {"ColCount", "2"},
        {"FixedRows", "0"},
        {"DefaultRowHeight", "15"},
        {"Options", "[goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing, goTabs, "
                    "goAlwaysShowEditor, goThumbTracking]"},
        {"ScrollBars", "ssVertical"},
        {"FixedColor", "clBtnFace"},
    };
    for (const auto& s : settings) {
        SCOPED_TRACE(s.name);
        SetPropText(g, FindPropInfo(g, s.name), s.text);
    }
    EXPECT_EQ(g->RowCount(), 16);
    EXPECT_EQ(g->RowHeights(15), 15);
    EXPECT_EQ(g->Options(), TGridOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goEditing |
                                         goTabs | goAlwaysShowEditor | goThumbTracking));
    EXPECT_TRUE(g->EditorMode());
    EXPECT_EQ(g->ScrollBars(), ssVertical);
    EXPECT_EQ(GetPropText(g, FindPropInfo(g, "Options")),
              "[goFixedVertLine,goFixedHorzLine,goVertLine,goHorzLine,goEditing,goTabs,goAlwaysShowEditor,"
              "goThumbTracking]");
}

} // namespace

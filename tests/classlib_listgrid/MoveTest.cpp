// Rows and columns moved with the mouse: a press on a fixed cell picks a
// column (row) up, the release puts it down with its cells and size, timer 1
// scrolls while the mouse is beyond the view. Messages are sent, not posted,
// so that no real tick of the move timer comes between them.
#include <gtest/gtest.h>

#include <memory>

#include "TestForm.h"
#include "classlib/Graphics.h"
#include "classlib/Grids.h"

namespace {

// Lets a test read and reset the mouse state as a derived grid does.
class TProbeGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    using TCustomGrid::GridState;
    using TCustomGrid::ResetGridState;
    using TCustomGrid::SetMoveMarkShown;
    // The client area as Paint draws it.
    std::unique_ptr<TBitmap> Picture()
    {
        auto picture = std::make_unique<TBitmap>(ClientWidth(), ClientHeight(), pf24bit);
        PaintWindow(picture->Canvas()->Handle());
        return picture;
    }
};

struct Moves {
    std::vector<std::string> seen;
    void Col(TObject*, int from, int to) { seen.push_back("col " + std::to_string(from) + ">" + std::to_string(to)); }
    void Row(TObject*, int from, int to) { seen.push_back("row " + std::to_string(from) + ">" + std::to_string(to)); }
};

class Move : public testing::Test {
protected:
    void SetUp() override
    {
        TestForm();
        grid = new TProbeGrid(TestForm());
        grid->SetBounds(10, 10, 320, 120);
        grid->SetColCount(6);
        grid->SetRowCount(6);
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 6; ++r)
                grid->SetCells(c, r, std::string(1, static_cast<char>('A' + c)) + std::to_string(r));
        grid->SetParent(TestForm());
        grid->OnColumnMoved = TMovedEvent(&moves, &Moves::Col);
        grid->OnRowMoved = TMovedEvent(&moves, &Moves::Row);
    }
    void TearDown() override { delete grid; }

    void Send(UINT msg, WPARAM keys, int x, int y) { SendMessageA(grid->Handle(), msg, keys, MAKELPARAM(x, y)); }
    TPoint Middle(int col, int row)
    {
        const TRect r = grid->CellRect(col, row);
        return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // Press at one cell, move to another and release there.
    void Drag(TPoint from, TPoint to)
    {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, from.x, from.y);
        Send(WM_MOUSEMOVE, MK_LBUTTON, to.x, to.y);
        Send(WM_LBUTTONUP, 0, to.x, to.y);
    }
    std::string RowText(int row)
    {
        std::string s;
        for (int c = 0; c < grid->ColCount(); ++c)
            s += grid->Cells(c, row) + (c + 1 < grid->ColCount() ? " " : "");
        return s;
    }
    std::string ColText(int col)
    {
        std::string s;
        for (int r = 0; r < grid->RowCount(); ++r)
            s += grid->Cells(col, r) + (r + 1 < grid->RowCount() ? " " : "");
        return s;
    }

    TProbeGrid* grid = nullptr;
    Moves moves;
};

TEST_F(Move, AHeaderDraggedMovesItsColumnWithCellsAndWidth)
{
    grid->SetOptions(grid->Options() | goColMoving);
    grid->SetColWidths(1, 40);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Middle(1, 0).x, Middle(1, 0).y);
    EXPECT_EQ(grid->GridState(), gsColMoving);
    Send(WM_MOUSEMOVE, MK_LBUTTON, Middle(3, 0).x, 60);  // anywhere down the column
    Send(WM_LBUTTONUP, 0, Middle(3, 0).x, 60);
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(RowText(0), "A0 C0 D0 B0 E0 F0");
    EXPECT_EQ(RowText(4), "A4 C4 D4 B4 E4 F4");
    EXPECT_EQ(grid->ColWidths(3), 40);
    EXPECT_EQ(grid->ColWidths(1), 64);
    ASSERT_EQ(moves.seen.size(), 1u);
    EXPECT_EQ(moves.seen[0], "col 1>3");
    // The current cell is not what a press on a header changes.
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(Move, ARowDraggedByItsFixedCellMovesWithItsHeight)
{
    grid->SetOptions(grid->Options() | goRowMoving);
    grid->SetRowHeights(3, 30);
    Drag(Middle(0, 3), Middle(2, 1));
    EXPECT_EQ(ColText(0), "A0 A3 A1 A2 A4 A5");
    EXPECT_EQ(ColText(5), "F0 F3 F1 F2 F4 F5");
    EXPECT_EQ(grid->RowHeights(1), 30);
    ASSERT_EQ(moves.seen.size(), 1u);
    EXPECT_EQ(moves.seen[0], "row 3>1");
}

TEST_F(Move, OnlyTheEnabledDirectionAndOnlyFixedCellsPickUp)
{
    const struct {
        const char* what;
        TGridOptions options;
        TPoint from, to;
    } cases[] = {
        {"header without goColMoving", goRowMoving, Middle(1, 0), Middle(3, 0)},
        {"fixed column without goRowMoving", goColMoving, Middle(0, 2), Middle(0, 4)},
        {"data cell", goColMoving | goRowMoving, Middle(2, 2), Middle(4, 2)},
        {"top-left corner", goColMoving | goRowMoving, Middle(0, 0), Middle(3, 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetOptions((grid->Options() & ~(goColMoving | goRowMoving)) | c.options);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, c.from.x, c.from.y);
        EXPECT_NE(grid->GridState(), gsColMoving);
        EXPECT_NE(grid->GridState(), gsRowMoving);
        Send(WM_MOUSEMOVE, MK_LBUTTON, c.to.x, c.to.y);
        Send(WM_LBUTTONUP, 0, c.to.x, c.to.y);
        EXPECT_EQ(RowText(0), "A0 B0 C0 D0 E0 F0");
        EXPECT_EQ(ColText(0), "A0 A1 A2 A3 A4 A5");
        EXPECT_TRUE(moves.seen.empty());
    }
}

TEST_F(Move, AReleaseOverTheFixedColumnsOrTheSamePlaceMovesNothing)
{
    grid->SetOptions(grid->Options() | goColMoving);
    Drag(Middle(2, 0), Middle(0, 0));
    Drag(Middle(2, 0), Middle(2, 0));
    EXPECT_EQ(RowText(0), "A0 B0 C0 D0 E0 F0");
    EXPECT_TRUE(moves.seen.empty());
}

TEST_F(Move, ALineMarksWhereTheColumnWouldLand)
{
    grid->SetOptions(grid->Options() | goColMoving);
    // Data cells white, so the black mark stands out below the header.
    const int y = Middle(3, 2).y;
    const int right = grid->CellRect(3, 0).right;
    for (bool shown : {true, false}) {
        SCOPED_TRACE(shown ? "shown" : "turned off");
        grid->SetMoveMarkShown(shown);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, Middle(1, 0).x, Middle(1, 0).y);
        EXPECT_NE(grid->Picture()->Canvas()->Pixels(right, y), clBlack);  // nothing moved yet
        Send(WM_MOUSEMOVE, MK_LBUTTON, Middle(3, 0).x, Middle(3, 0).y);
        // Right of the target, since the column comes from the left.
        EXPECT_EQ(grid->Picture()->Canvas()->Pixels(right, y) == clBlack, shown);
        EXPECT_EQ(grid->Picture()->Canvas()->Pixels(right - 1, y) == clBlack, shown);
        grid->ResetGridState();
        EXPECT_NE(grid->Picture()->Canvas()->Pixels(right, y), clBlack);
        Send(WM_LBUTTONUP, 0, Middle(3, 0).x, Middle(3, 0).y);
    }
}

TEST_F(Move, AResetOrACancelledModeDropsTheMove)
{
    grid->SetOptions(grid->Options() | goColMoving);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Middle(1, 0).x, Middle(1, 0).y);
    Send(WM_MOUSEMOVE, MK_LBUTTON, Middle(3, 0).x, Middle(3, 0).y);
    grid->ResetGridState();
    Send(WM_LBUTTONUP, 0, Middle(3, 0).x, Middle(3, 0).y);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, Middle(1, 0).x, Middle(1, 0).y);
    Send(WM_MOUSEMOVE, MK_LBUTTON, Middle(3, 0).x, Middle(3, 0).y);
    SendMessageA(grid->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_EQ(grid->GridState(), gsNormal);
    Send(WM_LBUTTONUP, 0, Middle(3, 0).x, Middle(3, 0).y);
    EXPECT_EQ(RowText(0), "A0 B0 C0 D0 E0 F0");
    EXPECT_TRUE(moves.seen.empty());
}

TEST_F(Move, TheMoveTimerScrollsWhileTheMouseIsBeyondTheView)
{
    grid->SetOptions(grid->Options() | goColMoving);
    grid->SetColCount(20);
    const int right = grid->ClientWidth() + 15;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Middle(1, 0).x, Middle(1, 0).y);
    Send(WM_MOUSEMOVE, MK_LBUTTON, right, 5);
    const int lastBefore = grid->LeftCol() + grid->VisibleColCount() - 1;
    SendMessageA(grid->Handle(), WM_TIMER, 1, 0);
    SendMessageA(grid->Handle(), WM_TIMER, 1, 0);
    EXPECT_EQ(grid->LeftCol(), 3);
    const int last = grid->LeftCol() + grid->VisibleColCount() - 1;
    EXPECT_EQ(last, lastBefore + 2);
    // Back over the fixed column it scrolls the other way.
    Send(WM_MOUSEMOVE, MK_LBUTTON, 5, 5);
    SendMessageA(grid->Handle(), WM_TIMER, 1, 0);
    EXPECT_EQ(grid->LeftCol(), 2);
    Send(WM_MOUSEMOVE, MK_LBUTTON, right, 5);
    SendMessageA(grid->Handle(), WM_TIMER, 1, 0);
    Send(WM_LBUTTONUP, 0, right, 5);
    // Put down on the column at the view's right edge.
    const int edgeCol = grid->MouseCoord(grid->ClientWidth() - 1, 5).X;
    ASSERT_EQ(moves.seen.size(), 1u);
    EXPECT_EQ(moves.seen[0], "col 1>" + std::to_string(edgeCol));
    // A tick after the move scrolls nothing.
    const int left = grid->LeftCol();
    SendMessageA(grid->Handle(), WM_TIMER, 1, 0);
    EXPECT_EQ(grid->LeftCol(), left);
}

} // namespace

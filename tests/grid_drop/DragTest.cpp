// One real drag in the process: from a press on a cell edge of grid A, in
// the system's modal drag loop, the mouse moved over grid B and the button
// let go there. The input goes in as the hardware's would (SendInput), so
// the program runs alone: the pointer is the display's.
#include <windows.h>

#include <gtest/gtest.h>

#include "grid/AdvGridDrop.h"
#include "tests/grid_core/GridFixture.h"

namespace {

POINT ScreenPoint(TAdvStringGrid* grid, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(grid->Handle(), &p);
    return p;
}

void Mouse(DWORD flags, POINT at)
{
    SetCursorPos(at.x, at.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// A drag that never ends is cancelled, as Escape does.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD)
{
    PostMessageA(GetCapture(), WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST(OleDrag, FromOneGridToAnother)
{
    StartAdvGridOle();
    TestForm();
    auto* a = new TAdvStringGrid(TestForm());
    a->SetBounds(10, 10, 300, 200);
    a->SetParent(TestForm());
    a->SetColCount(3);
    a->SetRowCount(3);
    a->SetOleDropSource(true);
    a->SetCells(1, 1, "Ala");
    auto* b = MakeGrid(3, 3);
    b->SetBounds(320, 10, 300, 200);
    b->SetOleDropTarget(true);
    SetForegroundWindow(TestForm()->Handle());
    PumpMessages(50);

    const TRect from = a->CellRect(1, 1), to = b->CellRect(2, 2);
    const POINT edge = ScreenPoint(a, from.left, (from.top + from.bottom) / 2);
    const POINT over = ScreenPoint(b, (to.left + to.right) / 2, (to.top + to.bottom) / 2);
    ASSERT_EQ(WindowFromPoint(edge), a->Handle());
    ASSERT_EQ(WindowFromPoint(over), b->Handle());

    // The press on the edge of grid A's current cell starts the drag in the
    // grid's own press handling; the moves and the release wait in the
    // queue for the drag loop.
    const UINT_PTR timer = SetTimer(nullptr, 0, 10000, &GiveUp);
    Mouse(MOUSEEVENTF_LEFTDOWN, edge);
    Mouse(MOUSEEVENTF_MOVE, ScreenPoint(a, from.left + 20, from.top + 5));
    Mouse(MOUSEEVENTF_MOVE, over);
    Mouse(MOUSEEVENTF_MOVE, POINT{over.x + 1, over.y});
    Mouse(MOUSEEVENTF_LEFTUP, POINT{over.x + 1, over.y});
    PumpUntil([&] { return b->Cells(2, 2) == "Ala"; });
    KillTimer(nullptr, timer);
    PumpMessages(50);

    EXPECT_EQ(b->Cells(2, 2), "Ala");
    EXPECT_EQ(a->Cells(1, 1), "Ala") << "the source keeps its text";
    delete a;
    delete b;
}

} // namespace

// What the grid reads from the real mouse pointer: hovering (timer 111 asks
// where the pointer rests) and the caret put under a press when an editor
// gets the focus. The pointer is placed with SetCursorPos, so these run alone.
#include <windows.h>

#include <gtest/gtest.h>

#include "GridFixture.h"
#include "grid/AdvGridEditors.h"

namespace {

struct ComboEditor {
    void Kind(TObject*, int, int, TEditorType& kind) { kind = etComboEdit; }
};

class Pointer : public testing::Test {
protected:
    void SetUp() override { TestForm(); }
    void TearDown() override { delete grid; }
    TPoint Screen(TPoint client) { return grid->ClientToScreen(client); }
    void PointAt(TPoint client)
    {
        const TPoint p = Screen(client);
        SetCursorPos(p.x, p.y);
        PumpMessages(10);
    }
    TPoint Middle(int col, int row)
    {
        const TRect r = grid->CellRect(col, row);
        return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void Press(TPoint at)
    {
        PointAt(at);
        PostMessageA(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageA(grid->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        PumpMessages(50);
    }
    TAdvStringGrid* grid = nullptr;
};

TEST_F(Pointer, HoveringMakesTheDataCellUnderARestingPointerCurrent)
{
    grid = MakeGrid(5, 6);
    grid->SetHovering(true);
    const struct {
        const char* what;
        TPoint at;
        int col, row;
    } cases[] = {
        {"data cell", Middle(3, 4), 3, 4},
        {"fixed row", Middle(2, 0), 3, 4},
        {"fixed column", Middle(0, 2), 3, 4},
        {"outside the grid", Point(-20, 40), 3, 4},
        {"another data cell", Middle(2, 1), 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PointAt(c.at);
        PostMessageA(grid->Handle(), WM_TIMER, 111, 0);
        PumpMessages(20);
        EXPECT_EQ(grid->Col(), c.col);
        EXPECT_EQ(grid->Row(), c.row);
    }
}

TEST_F(Pointer, APressPutsTheEditorsCaretUnderThePointer)
{
    for (bool positioning : {true, false}) {
        SCOPED_TRACE(positioning ? "CaretPositioning" : "without");
        grid = MakeGrid(3, 3);
        grid->SetColWidths(1, 200);
        grid->SetCells(1, 1, "abcdefghij");
        grid->SetOptions(grid->Options() | goEditing);
        grid->MouseActions()->CaretPositioning = positioning;
        FocusWindow(grid->Handle());
        const TRect r = grid->CellRect(1, 1);
        Press(Point(r.left + (r.right - r.left) / 5, (r.top + r.bottom) / 2));
        TInplaceEdit* editor = grid->InplaceEditor();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->Visible());
        DWORD start = 0, end = 0;
        SendMessageA(editor->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (positioning) {
            EXPECT_EQ(start, end);
            EXPECT_GT(start, 0u);
            EXPECT_LT(start, 10u);
        } else {
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, 10u);
        }
        delete grid;
        grid = nullptr;
    }
}

TEST_F(Pointer, TheComboEditorTakesTheCaretUnderThePressToo)
{
    grid = MakeGrid(3, 3);
    ComboEditor kinds;
    grid->SetColWidths(1, 200);
    grid->SetCells(1, 1, "abcdefghij");
    grid->SetOptions(grid->Options() | goEditing);
    grid->OnGetEditorType = TGetEditorTypeEvent(&kinds, &ComboEditor::Kind);
    grid->MouseActions()->CaretPositioning = true;
    FocusWindow(grid->Handle());
    const TRect r = grid->CellRect(1, 1);
    Press(Point(r.left + (r.right - r.left) / 5, (r.top + r.bottom) / 2));
    TGridCombo* combo = grid->ComboEditor();
    ASSERT_TRUE(combo->Visible());
    ASSERT_NE(combo->EditHandle(), nullptr);
    PumpMessages(30);
    DWORD start = 0, end = 0;
    SendMessageA(combo->EditHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end);
    EXPECT_GT(start, 0u);
    EXPECT_LT(start, 10u);
}

} // namespace

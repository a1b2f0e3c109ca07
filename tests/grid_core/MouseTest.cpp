// The grid's mouse input by mouse messages sent to the grid (the position in
// each message, never the real pointer; sent, so that no move the window
// system makes up from the real pointer comes between them): clicks on cells, links, nodes, radio groups and
// check boxes, header-click sorting, sizing all columns, fitting a column by
// a double click, separate row flags, whole selections and the cursors,
// hints, and rows and columns moved with a dragged header.
#include <windows.h>

#include <gtest/gtest.h>

#include "GridFixture.h"
#include "classlib/Forms.h"
#include "grid/AdvGridEditors.h"
#include "grid/AdvObj.h"
#include "PaintFixture.h"

namespace {

std::vector<std::string> opened;

std::string CellName(int col, int row)
{
    char name[32];
    snprintf(name, sizeof name, "c%dr%d", col, row);
    return name;
}

void RecordOpen(const std::string& anchor)
{
    opened.push_back(anchor);
}

// What the grid told through its events.
struct Events {
    std::vector<std::string> log;
    bool autoHandle = true;
    int fixedRow = -1, fixedCol = -1;
    int paints = 0;
    void Add(const std::string& s) { log.push_back(s); }
    void ClickCell(TObject*, int row, int col) { Add("click " + std::to_string(col) + "," + std::to_string(row)); }
    void DblClickCell(TObject*, int row, int col) { Add("dbl " + std::to_string(col) + "," + std::to_string(row)); }
    void RightClickCell(TObject*, int row, int col) { Add("right " + std::to_string(col) + "," + std::to_string(row)); }
    void Anchor(TObject*, int row, int col, const std::string& anchor, bool& handle)
    {
        Add("anchor " + std::to_string(col) + "," + std::to_string(row) + " " + anchor);
        handle = autoHandle;
    }
    void IsFixed(TObject*, int row, int col, bool& isfixed) { isfixed = row == fixedRow && col == fixedCol; }
    void ClickSort(TObject*, int col) { Add("sorted " + std::to_string(col)); }
    void EndColumnSize(TObject*, int col) { Add("sized " + std::to_string(col)); }
    void Expand(TObject*, int row, int real) { Add("expand " + std::to_string(row) + "," + std::to_string(real)); }
    void Contract(TObject*, int row, int real) { Add("contract " + std::to_string(row) + "," + std::to_string(real)); }
    void Radio(TObject*, int col, int row, int idx)
    {
        Add("radio " + std::to_string(col) + "," + std::to_string(row) + " " + std::to_string(idx));
    }
    void CheckBox(TObject*, int col, int row, bool state)
    {
        Add("check " + std::to_string(col) + "," + std::to_string(row) + (state ? " on" : " off"));
    }
    void Hint(TObject*, int row, int col, std::string& hint)
    {
        hint += " @" + std::to_string(col) + "," + std::to_string(row);
    }
    void Drawn(TObject*, int, int, TRect, TGridDrawState) { ++paints; }
};

class Mouse : public testing::Test {
protected:
    void SetUp() override
    {
        TestForm();
        opened.clear();
        oldOpener = TAdvStringGrid::SetLinkOpener(&RecordOpen);
    }
    void TearDown() override
    {
        delete grid;
        TAdvStringGrid::SetLinkOpener(oldOpener);
    }

    // Texts "c<col>r<row>" in every cell.
    void Make(int cols, int rows)
    {
        grid = MakeGrid(cols, rows);
        for (int c = 0; c < cols; ++c)
            for (int r = 0; r < rows; ++r)
                grid->SetCells(c, r, CellName(c, r));
    }
    void Send(UINT msg, WPARAM keys, TPoint p) { SendMessageA(grid->Handle(), msg, keys, MAKELPARAM(p.x, p.y)); }
    void Click(TPoint p, WPARAM keys = 0)
    {
        Send(WM_MOUSEMOVE, keys, p);
        Send(WM_LBUTTONDOWN, keys | MK_LBUTTON, p);
        Send(WM_LBUTTONUP, keys, p);
        PumpMessages(20);
    }
    void DoubleClick(TPoint p)
    {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, p);
        Send(WM_LBUTTONUP, 0, p);
        Send(WM_LBUTTONDBLCLK, MK_LBUTTON, p);
        Send(WM_LBUTTONUP, 0, p);
        PumpMessages(20);
    }
    void Drag(TPoint from, TPoint to)
    {
        Send(WM_MOUSEMOVE, 0, from);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, from);
        Send(WM_MOUSEMOVE, MK_LBUTTON, Point((from.x + to.x) / 2, (from.y + to.y) / 2));
        Send(WM_MOUSEMOVE, MK_LBUTTON, to);
        Send(WM_LBUTTONUP, 0, to);
        PumpMessages(30);
    }
    TPoint Middle(int col, int row)
    {
        const TRect r = grid->CellRect(col, row);
        return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // Window updates are on (WM_SETREDRAW off takes WS_VISIBLE away).
    bool Redrawing() { return (GetWindowLongA(grid->Handle(), GWL_STYLE) & WS_VISIBLE) != 0; }

    TAdvStringGrid* grid = nullptr;
    Events ev;
    TAdvStringGrid::TLinkOpener oldOpener = nullptr;
};

TEST_F(Mouse, AClickMovesTheCurrentCellButNotOntoACellDeclaredFixed)
{
    Make(5, 6);
    ev.fixedCol = 2;
    ev.fixedRow = 3;
    grid->OnIsFixedCell = TCellQueryEvent(&ev, &Events::IsFixed);
    grid->OnClickCell = TClickCellEvent(&ev, &Events::ClickCell);
    Click(Middle(3, 4));
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 4);
    Click(Middle(2, 3));
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 4);
    ASSERT_EQ(ev.log.size(), 1u);
    EXPECT_EQ(ev.log[0], "click 3,4");
}

TEST_F(Mouse, LinksGoToOnAnchorClickAndOnlyWebAndMailOpenByThemselves)
{
    const struct {
        const char* text;
        bool autoHandle;
        bool opens;
    } cases[] = {
        {"http://www.example.pl/", true, true},
        {"http://www.example.pl/", false, false},
        {"HTTPS://secure.example.pl", true, true},
        {"ftp://files.example.pl/a.zip", true, true},
        {"mailto:jan@example.pl", true, true},
        {"file://c:/windows/notepad.exe", true, false},
        {"see ftp://x", true, false},
        {"javascript://alert", true, false},
    };
    Make(4, 4);
    grid->SetURLShow(true);
    grid->OnAnchorClick = TAnchorClickEvent(&ev, &Events::Anchor);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ev.log.clear();
        opened.clear();
        ev.autoHandle = c.autoHandle;
        grid->SetCells(2, 2, c.text);
        Click(Middle(2, 2));
        ASSERT_EQ(ev.log.size(), 1u);
        EXPECT_EQ(ev.log[0], std::string("anchor 2,2 ") + c.text);
        EXPECT_EQ(opened.size(), c.opens ? 1u : 0u);
        if (c.opens && !opened.empty()) {
            EXPECT_EQ(opened[0], c.text);
        }
    }
    // Without URLShow a link is a text like any other.
    grid->SetURLShow(false);
    ev.log.clear();
    Click(Middle(2, 2));
    EXPECT_TRUE(ev.log.empty());
    EXPECT_TRUE(opened.empty());
}

TEST_F(Mouse, AnHtmlAnchorIsFoundUnderThePress)
{
    Make(3, 3);
    grid->SetColWidths(1, 200);
    grid->SetURLShow(true);
    grid->SetCells(1, 1, "<A href=\"http://a.example.pl\">Link</A>");
    grid->OnAnchorClick = TAnchorClickEvent(&ev, &Events::Anchor);
    const TRect r = grid->CellRect(1, 1);
    // The text starts 2 pixels in; its first letters are the anchor.
    Click(Point(r.left + 6, (r.top + r.bottom) / 2));
    ASSERT_EQ(ev.log.size(), 1u);
    EXPECT_EQ(ev.log[0], "anchor 1,1 http://a.example.pl");
    ASSERT_EQ(opened.size(), 1u);
    // Far right of the words there is no anchor: a plain click.
    Click(Point(r.right - 10, (r.top + r.bottom) / 2));
    EXPECT_EQ(ev.log.size(), 1u);
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(Mouse, HeaderClicksSortAndFlipTheDirection)
{
    grid = MakeGrid(4, 10);
    const char* b[] = {"d", "a", "i", "c", "g", "b", "h", "e", "f"};
    for (int r = 1; r < 10; ++r) {
        grid->SetCells(2, r, b[r - 1]);
        grid->SetCells(3, r, std::to_string(10 - r));
    }
    grid->SetSortShow(true);
    grid->OnClickSort = TIndexEvent(&ev, &Events::ClickSort);
    Click(Middle(2, 0));
    EXPECT_EQ(grid->SortColumn(), 2);
    EXPECT_EQ(grid->SortDirection(), sdAscending);
    EXPECT_EQ(ColumnText(grid, 2, 1, 9), "a|b|c|d|e|f|g|h|i");
    Click(Middle(2, 0));
    EXPECT_EQ(grid->SortDirection(), sdDescending);
    EXPECT_EQ(ColumnText(grid, 2, 1, 9), "i|h|g|f|e|d|c|b|a");
    Click(Middle(3, 0));
    EXPECT_EQ(grid->SortColumn(), 3);
    EXPECT_EQ(grid->SortDirection(), sdAscending);
    EXPECT_EQ(ColumnText(grid, 3, 1, 9), "1|2|3|4|5|6|7|8|9");
    EXPECT_EQ(ev.log, (std::vector<std::string>{"sorted 2", "sorted 2", "sorted 3"}));

    // A press on a data cell released on the header sorts nothing.
    ev.log.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Middle(2, 3));
    Send(WM_LBUTTONUP, 0, Middle(2, 0));
    PumpMessages(20);
    EXPECT_TRUE(ev.log.empty());

    // With one data row there is nothing to sort.
    grid->SetRowCount(2);
    grid->SetCells(2, 1, "z");
    Click(Middle(1, 0));
    EXPECT_TRUE(ev.log.empty());
    EXPECT_EQ(grid->SortColumn(), 3);
}

TEST_F(Mouse, WithNodeRowsAHeaderClickSortsEachGroupUnderItsNode)
{
    grid = MakeGrid(2, 9, {{"", "nagłówek"}, {"", "owoce"}, {"", "śliwka"}, {"", "gruszka"}, {"", "jabłko"},
                           {"", "warzywa"}, {"", "por"}, {"", "cebula"}, {"", "dynia"}});
    grid->SetEnableGraphics(true);
    for (int row : {1, 5}) {
        auto* node = new TCellGraphic;
        node->Kind = 8;
        grid->SetObjects(0, row, node);
    }
    grid->SetSortShow(true);
    grid->OnClickSort = TIndexEvent(&ev, &Events::ClickSort);
    Click(Middle(1, 0));
    EXPECT_EQ(ColumnText(grid, 1, 1, 8), "owoce|gruszka|jabłko|śliwka|warzywa|cebula|dynia|por");
    EXPECT_TRUE(grid->IsNodeRow(1));
    EXPECT_TRUE(grid->IsNodeRow(5));
    Click(Middle(1, 0));
    EXPECT_EQ(ColumnText(grid, 1, 1, 8), "owoce|śliwka|jabłko|gruszka|warzywa|por|dynia|cebula");
    EXPECT_EQ(ev.log, (std::vector<std::string>{"sorted 1", "sorted 1"}));
}

TEST_F(Mouse, ABorderClickSizesAndADoubleClickThereFitsTheColumnLeftOfIt)
{
    Make(4, 5);
    grid->SetOptions(grid->Options() | goColSizing);
    grid->SetSortShow(true);
    grid->SetColWidths(1, 200);
    grid->OnClickSort = TIndexEvent(&ev, &Events::ClickSort);
    grid->OnDblClickCell = TClickCellEvent(&ev, &Events::DblClickCell);
    const int border = grid->CellRect(1, 0).right;
    // Just right of the border, in column 2's header: the sizing slack.
    Click(Point(border + 2, 5));
    EXPECT_TRUE(ev.log.empty());
    EXPECT_EQ(grid->ColWidths(1), 200);
    DoubleClick(Point(border + 2, 5));
    EXPECT_LT(grid->ColWidths(1), 60);  // "c1r0" and its margin
    EXPECT_GT(grid->ColWidths(1), 10);
    EXPECT_EQ(grid->ColWidths(2), 64);
    EXPECT_TRUE(ev.log.empty());  // no sort, no cell double click

    // A double click inside a data cell is one.
    DoubleClick(Middle(2, 3));
    EXPECT_EQ(ev.log, (std::vector<std::string>{"dbl 2,3"}));
}

TEST_F(Mouse, SizingTheFirstDataColumnWithAllColumnSizeSizesAllAndEndsOnce)
{
    for (bool all : {true, false}) {
        SCOPED_TRACE(all ? "AllColumnSize" : "one column");
        Make(5, 4);
        ev.log.clear();
        grid->SetOptions(grid->Options() | goColSizing);
        grid->MouseActions()->AllColumnSize = all;
        grid->OnEndColumnSize = TIndexEvent(&ev, &Events::EndColumnSize);
        const TRect first = grid->CellRect(1, 0);
        Drag(Point(first.right + 1, 5), Point(first.left + 50 + 1, 5));
        for (int c = 1; c < 5; ++c)
            EXPECT_EQ(grid->ColWidths(c), all || c == 1 ? 50 : 64) << "column " << c;
        EXPECT_EQ(grid->ColWidths(0), 64);
        EXPECT_EQ(ev.log, (std::vector<std::string>{"sized 1"}));
        delete grid;
        grid = nullptr;
    }
}

TEST_F(Mouse, CtrlClicksFlagSeparateRows)
{
    Make(3, 8);
    grid->MouseActions()->DisjunctRowSelect = true;
    Click(Middle(1, 3));
    EXPECT_TRUE(grid->IsRowSelected(3));
    Click(Middle(1, 5), MK_CONTROL);
    EXPECT_TRUE(grid->IsRowSelected(3));
    EXPECT_TRUE(grid->IsRowSelected(5));
    Click(Middle(1, 3), MK_CONTROL);
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(grid->IsRowSelected(r), r == 5) << "row " << r;
    // A click without Ctrl starts again.
    Click(Middle(1, 2));
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(grid->IsRowSelected(r), r == 2) << "row " << r;
}

// While a click without Ctrl drags over rows, they show as selected before
// their flags are set at the release; a row left out of the flags afterwards
// shows in the grid's colour.
TEST_F(Mouse, RowsDraggedOverShowAsSelectedBeforeTheRelease)
{
    auto* paintGrid = new TPaintGrid(TestForm());
    grid = paintGrid;
    grid->SetBounds(10, 10, 400, 300);
    grid->SetColCount(3);
    grid->SetRowCount(8);
    grid->SetParent(TestForm());
    grid->SetOptions(grid->Options() | goRangeSelect | goRowSelect);
    grid->MouseActions()->DisjunctRowSelect = true;
    grid->SetSelectionColor(clRed);
    grid->SetColor(clWhite);
    const auto shown = [&](int row) {
        const TRect r = grid->CellRect(2, row);
        return paintGrid->Picture()->Canvas()->Pixels(r.right - 3, r.bottom - 3);
    };
    Send(WM_MOUSEMOVE, 0, Middle(1, 2));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Middle(1, 2));
    Send(WM_MOUSEMOVE, MK_LBUTTON, Middle(1, 4));
    EXPECT_EQ(clRed, shown(4)) << "a row dragged over, not yet flagged";
    EXPECT_EQ(clWhite, shown(5));
    Send(WM_LBUTTONUP, 0, Middle(1, 4));
    EXPECT_EQ(clRed, shown(4)) << "flagged at the release";
    Click(Middle(1, 6), MK_CONTROL);
    Click(Middle(1, 6), MK_CONTROL);
    EXPECT_EQ(clWhite, shown(6)) << "unflagged by the second Ctrl-click";
}

TEST_F(Mouse, FixedCellsShowSelectionCursorsAndSelectWholeRowsColumnsOrAll)
{
    Make(5, 6);
    TMouseActions* a = grid->MouseActions();
    a->AllSelect = a->RowSelect = a->ColSelect = true;
    grid->SetCells(2, 2, "http://a.pl");
    grid->SetURLShow(true);
    const struct {
        TPoint at;
        TCursor cursor;
        TGridRect selection;
    } cases[] = {
        {Middle(0, 0), 8012, {1, 1, 4, 5}},
        {Middle(0, 3), 8010, {1, 3, 4, 3}},
        {Middle(3, 0), 8011, {3, 1, 3, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cursor);
        Send(WM_MOUSEMOVE, 0, c.at);
        EXPECT_EQ(grid->Cursor(), c.cursor);
        Click(c.at);
        const TGridRect s = grid->Selection();
        EXPECT_EQ(s.Left, c.selection.Left);
        EXPECT_EQ(s.Top, c.selection.Top);
        EXPECT_EQ(s.Right, c.selection.Right);
        EXPECT_EQ(s.Bottom, c.selection.Bottom);
    }
    Send(WM_MOUSEMOVE, 0, Middle(2, 2));
    EXPECT_EQ(grid->Cursor(), 8009);
    Send(WM_MOUSEMOVE, 0, Middle(3, 3));
    EXPECT_EQ(grid->Cursor(), crDefault);

    // A cursor someone else gives the grid is the one it comes back to.
    grid->SetCursor(crHandPoint);
    Send(WM_MOUSEMOVE, 0, Middle(0, 0));
    Send(WM_MOUSEMOVE, 0, Middle(3, 3));
    EXPECT_EQ(grid->Cursor(), crHandPoint);

    // Without the option the fixed cells keep the normal cursor and select
    // nothing.
    a->AllSelect = false;
    grid->SetCol(2);
    grid->SetRow(2);
    Click(Middle(0, 0));
    EXPECT_EQ(grid->Cursor(), crHandPoint);
    EXPECT_EQ(grid->Selection().Left, 2);
    EXPECT_EQ(grid->Selection().Bottom, 2);
}

TEST_F(Mouse, TheHintOfACell)
{
    Make(4, 5);
    grid->OnGridHint = TGridHintEvent(&ev, &Events::Hint);
    grid->SetHintColor(clAqua);
    auto ask = [&](TPoint at) {
        THintInfo info;
        info.HintControl = grid;
        info.CursorPos = at;
        info.HintStr = "tip";
        EXPECT_EQ(grid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
        EXPECT_EQ(info.HintColor, clAqua);
        return info;
    };
    const TRect r = grid->CellRect(2, 3);
    THintInfo info = ask(Middle(2, 3));
    EXPECT_EQ(info.HintStr, "tip @2,3");
    EXPECT_EQ(info.HintPos.x, grid->ClientToScreen(Point(r.left, r.bottom + 6)).x);
    EXPECT_EQ(info.HintPos.y, grid->ClientToScreen(Point(r.left, r.bottom + 6)).y);

    grid->SetHintShowCells(true);
    info = ask(Middle(2, 3));
    EXPECT_EQ(info.HintStr, "c2r3");
    EXPECT_EQ(info.HintPos.x, grid->ClientToScreen(Point(r.left, r.top)).x);
    EXPECT_EQ(info.HintPos.y, grid->ClientToScreen(Point(r.left, r.top)).y);
    // Fixed cells and footers keep the proposed text below the cell.
    grid->SetFixedFooters(1);
    for (TGridCoord c : {TGridCoord{2, 0}, TGridCoord{0, 2}, TGridCoord{2, 4}}) {
        info = ask(Middle(c.X, c.Y));
        EXPECT_EQ(info.HintStr, "tip @" + std::to_string(c.X) + "," + std::to_string(c.Y));
    }
}

TEST_F(Mouse, RightClicksAndLinkEditing)
{
    Make(4, 4);
    grid->SetOptions(grid->Options() | goEditing);
    grid->SetCells(2, 2, "mailto:jan@example.pl");
    grid->OnRightClickCell = TClickCellEvent(&ev, &Events::RightClickCell);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, Middle(2, 2));
    Send(WM_RBUTTONUP, 0, Middle(2, 2));
    PumpMessages(20);
    EXPECT_EQ(ev.log, (std::vector<std::string>{"right 2,2"}));
    EXPECT_FALSE(grid->EditorMode());
    grid->SetURLShow(true);
    grid->SetURLEdit(true);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, Middle(2, 2));
    Send(WM_RBUTTONUP, 0, Middle(2, 2));
    PumpMessages(20);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_TRUE(grid->EditorMode());
}

TEST_F(Mouse, NodesRadioGroupsAndCheckBoxes)
{
    Make(4, 7);
    grid->SetEnableGraphics(true);
    grid->SetOptions(grid->Options() | goEditing);
    grid->OnExpandNode = TNodeClickEvent(&ev, &Events::Expand);
    grid->OnContractNode = TNodeClickEvent(&ev, &Events::Contract);
    grid->OnRadioClick = TRadioClickEvent(&ev, &Events::Radio);
    grid->OnCheckBoxClick = TCheckBoxClickEvent(&ev, &Events::CheckBox);
    auto* node = new TCellGraphic;
    node->Kind = 8;
    node->Number = 3;  // the node's row and two below it
    grid->SetObjects(0, 1, node);
    Click(Middle(0, 1));
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(grid->Row(), 1);
    Click(Middle(0, 1));
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(ev.log, (std::vector<std::string>{"contract 1,1", "expand 1,1"}));

    // Three items across; the press chooses by the widths of the texts + 12.
    ev.log.clear();
    TStringList items;
    items.Add("a");
    items.Add("bb");
    items.Add("ccc");
    auto* radio = new TCellGraphic;
    radio->Kind = 9;
    radio->Object = &items;
    radio->Count = 3;
    radio->State = true;
    radio->Number = 0;
    grid->SetColWidths(2, 150);
    grid->SetObjects(2, 4, radio);
    const TRect r = grid->CellRect(2, 4);
    TBitmap scratch(1, 1);
    scratch.Canvas()->Font()->Assign(grid->Font());
    const int firstEnd = scratch.Canvas()->TextWidth("a") + 12;
    Click(Point(r.left + firstEnd + 1, r.top + 5));
    EXPECT_EQ(radio->Number, 1);
    Click(Point(r.left + firstEnd - 1, r.top + 5));
    EXPECT_EQ(radio->Number, 0);
    // Laid out down the cell, by 12 pixels an item; -1 writes the item's text.
    radio->State = false;
    radio->Number = -1;
    Click(Point(r.left + 3, r.top + 13));
    EXPECT_EQ(grid->Cells(2, 4), "bb");
    EXPECT_EQ(ev.log, (std::vector<std::string>{"radio 2,4 1", "radio 2,4 0", "radio 2,4 1"}));
    radio->Object = nullptr;

    // A check box toggles under the press; every editable data cell reports.
    ev.log.clear();
    auto* box = new TCellGraphic;
    box->Kind = 4;
    grid->SetObjects(3, 5, box);
    Click(Middle(3, 5));
    EXPECT_TRUE(box->State);
    Click(Middle(3, 5));
    EXPECT_FALSE(box->State);
    EXPECT_EQ(ev.log, (std::vector<std::string>{"check 3,5 on", "check 3,5 off"}));
}

TEST_F(Mouse, EnhancedMovesCarryCellsAndNeverLeaveTheWindowLocked)
{
    Make(6, 5);
    grid->SetEnhRowColMove(true);
    grid->SetOptions(grid->Options() | goColMoving | goRowMoving);
    // Half way, a copy of the header follows the pointer and the arrows
    // mark the column passed over last.
    Send(WM_MOUSEMOVE, 0, Middle(2, 0));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Middle(2, 0));
    Send(WM_MOUSEMOVE, MK_LBUTTON, Middle(3, 0));
    Send(WM_MOUSEMOVE, MK_LBUTTON, Point(Middle(3, 0).x + 4, Middle(3, 0).y));
    EXPECT_TRUE(grid->DragButton()->Visible());
    EXPECT_EQ(grid->DragButton()->Caption(), "c2r0");
    EXPECT_EQ(grid->DragButton()->Left(), grid->CellRect(3, 0).left + 4);
    EXPECT_EQ(Screen->Cursor(), crDrag);
    EXPECT_TRUE(Redrawing());
    TArrowWindow* arrow = nullptr;
    for (int i = 0; i < grid->ComponentCount(); ++i)
        if (auto* a = dynamic_cast<TArrowWindow*>(grid->Components(i)); a && a->Direction() == 0)
            arrow = a;
    ASSERT_NE(arrow, nullptr);
    EXPECT_TRUE(arrow->Visible());
    EXPECT_EQ(arrow->Left(), grid->ClientToScreen(Point(grid->CellRect(3, 0).left - 5, 0)).x);
    Send(WM_LBUTTONUP, 0, Point(Middle(3, 0).x + 4, Middle(3, 0).y));
    PumpMessages(20);
    EXPECT_FALSE(arrow->Visible());
    EXPECT_EQ(grid->Cells(3, 1), "c2r1");
    grid->MoveColumn(3, 2);  // back as it was

    // Dragging the header of column 2 onto column 4.
    Drag(Middle(2, 0), Middle(4, 0));
    EXPECT_TRUE(Redrawing());
    EXPECT_EQ(grid->Cells(4, 0), "c2r0");
    EXPECT_EQ(grid->Cells(4, 3), "c2r3");
    EXPECT_EQ(grid->Cells(2, 3), "c3r3");
    EXPECT_EQ(grid->Cells(3, 3), "c4r3");
    EXPECT_FALSE(grid->DragButton()->Visible());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    // A release over the fixed column moves nothing.
    Drag(Middle(3, 0), Middle(0, 0));
    EXPECT_TRUE(Redrawing());
    EXPECT_EQ(grid->Cells(3, 3), "c4r3");
    // Rows by their fixed cells; half way the side arrows mark the row
    // passed over last, 5 pixels above its bottom.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Middle(0, 1));
    Send(WM_MOUSEMOVE, MK_LBUTTON, Middle(0, 2));
    Send(WM_MOUSEMOVE, MK_LBUTTON, Point(Middle(0, 2).x, Middle(0, 2).y + 3));
    EXPECT_EQ(grid->DragButton()->Caption(), "c0r1");
    for (int i = 0; i < grid->ComponentCount(); ++i)
        if (auto* a = dynamic_cast<TArrowWindow*>(grid->Components(i)); a && a->Direction() == 2) {
            const TRect r = grid->CellRect(0, 2);
            EXPECT_TRUE(a->Visible());
            EXPECT_EQ(a->Left(), grid->ClientToScreen(Point(r.left - 10, r.bottom - 5)).x);
            EXPECT_EQ(a->Top(), grid->ClientToScreen(Point(r.left - 10, r.bottom - 5)).y);
        }
    Send(WM_LBUTTONUP, 0, Middle(0, 1));
    PumpMessages(20);
    EXPECT_EQ(grid->Cells(1, 1), "c1r1");
    Drag(Middle(0, 1), Middle(0, 3));
    EXPECT_TRUE(Redrawing());
    EXPECT_EQ(grid->Cells(1, 3), "c1r1");
    EXPECT_EQ(grid->Cells(1, 1), "c1r2");
}

TEST_F(Mouse, AnEnhancedMoveScrollsOneStepForEveryMoveBeyondTheView)
{
    Make(12, 5);
    grid->SetEnhRowColMove(true);
    grid->SetOptions(grid->Options() | goColMoving);
    const TPoint beyond = Point(grid->Width() + 5, 5);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Middle(2, 0));
    Send(WM_MOUSEMOVE, MK_LBUTTON, beyond);
    EXPECT_EQ(grid->LeftCol(), 2);
    Send(WM_MOUSEMOVE, MK_LBUTTON, Point(beyond.x + 1, beyond.y));
    EXPECT_EQ(grid->LeftCol(), 3);
    // Over the fixed column it goes back.
    Send(WM_MOUSEMOVE, MK_LBUTTON, Point(5, 5));
    EXPECT_EQ(grid->LeftCol(), 2);
    // Released over the fixed column: nothing moves, the move is over.
    Send(WM_LBUTTONUP, 0, Point(5, 5));
    PumpMessages(20);
    for (int c = 0; c < 12; ++c)
        EXPECT_EQ(grid->Cells(c, 1), CellName(c, 1));
    EXPECT_FALSE(grid->DragButton()->Visible());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_TRUE(Redrawing());
}

TEST_F(Mouse, APressThatEndsEarlyInTheFixedCellsStillUnlocksAndPaints)
{
    Make(4, 6);
    grid->SetEnhRowColMove(true);
    grid->SetEnableGraphics(true);
    grid->SetFixedFooters(1);
    grid->OnDrawCell = TDrawCellEvent(&ev, &Events::Drawn);
    auto* node = new TCellGraphic;
    node->Kind = 8;
    node->Number = 2;
    grid->SetObjects(0, 2, node);
    grid->SetURLShow(true);
    grid->SetCells(0, 1, "http://a.pl");
    // A node, a footer cell (fixed) and a link, each in the fixed column.
    for (TPoint at : {Middle(0, 2), Middle(0, 5), Middle(0, 1)}) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
        EXPECT_TRUE(Redrawing());  // before the release, which unlocks too
        Send(WM_LBUTTONUP, 0, at);
        PumpMessages(20);
        ev.paints = 0;
        grid->Invalidate();
        UpdateWindow(grid->Handle());
        EXPECT_GT(ev.paints, 0);
    }
    EXPECT_EQ(grid->RowCount(), 5);  // the node closed its row
    EXPECT_EQ(opened.size(), 1u);
}

} // namespace

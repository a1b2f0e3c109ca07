// The grid without the keyboard: construction and settings, the column-size
// store, the update lock, the cells, hidden rows, nodes and the filter,
// sorting, row and column operations, and plain painting by pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "GridFixture.h"
#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "grid/AdvUtil.h"

namespace {

class AdvGrid : public testing::Test {
protected:
    void SetUp() override { TestForm(); }
    void TearDown() override { delete grid; }
    TAdvStringGrid* grid = nullptr;
};

// What the grid told through its events.
struct Events {
    std::vector<std::string> log;
    int fixedRow = -1;
    int refusedRow = -1;
    std::string correction;
    bool valid = true;
    int paints = 0;

    void Drawn(TObject*, int, int, TRect, TGridDrawState) { ++paints; }
    void RowChanging(TObject*, int, int newRow, bool& allow)
    {
        log.push_back("row " + std::to_string(newRow) + (allow ? " yes" : " no"));
        if (newRow == refusedRow)
            allow = false;
    }
    void ColChanging(TObject*, int, int newCol, bool& allow)
    {
        log.push_back("col " + std::to_string(newCol) + (allow ? " yes" : " no"));
    }
    void CellChanging(TObject*, int, int, int, int, bool& allow)
    {
        log.push_back(std::string("cell") + (allow ? " yes" : " no"));
    }
    void IsFixed(TObject*, int row, int, bool& isfixed) { isfixed = row == fixedRow; }
    void CanEdit(TObject*, int row, int col, bool& canedit) { canedit = !(row == 2 && col == 2); }
    void Format(TObject*, int col, TSortStyle& style, std::string&, std::string&)
    {
        if (col == 1)
            throw EAdvGridError("format");
        style = stNumber;
    }
    void Custom(TObject*, const std::string& a, const std::string& b, int& res)
    {
        // By length, then by text.
        res = a.size() != b.size() ? (a.size() > b.size() ? 1 : -1) : a.compare(b) > 0 ? 1 : a.compare(b) < 0 ? -1 : 0;
    }
    void Raw(TObject* sender, int, int a, int b, int& res)
    {
        auto* g = static_cast<TAdvStringGrid*>(sender);
        res = g->Cells(2, a).compare(g->Cells(2, b));
        res = res > 0 ? 1 : res < 0 ? -1 : 0;
    }
    void Style(TObject*, int col, TSortStyle& style, std::string&, std::string&)
    {
        style = col == 1 ? stCustom : stRowCompare;
    }
};

int cellIntOf(TAdvStringGrid* g, int c, int r)
{
    return g->GetCellInt(c, r);
}

} // namespace

// ---------------------------------------------------------------------------
// Construction and settings

TEST_F(AdvGrid, VersionAndDefaults)
{
    grid = MakeGrid(3, 3);
    EXPECT_EQ(grid->VersionNumber(), 5636097);
    EXPECT_EQ(grid->VersionText(), "1.86, Nov 22 1999");
    EXPECT_EQ(grid->DefaultRowHeight(), 21);
    EXPECT_TRUE(grid->SortFull());
    EXPECT_TRUE(grid->SortAutoFormat());
    EXPECT_EQ(grid->VAlignment(), vtaTop);
    EXPECT_EQ(grid->HintColor(), 0x0000FFFF);
    EXPECT_EQ(grid->SelectionColor(), clHighlight);
    EXPECT_EQ(grid->SelectionTextColor(), clHighlightText);
    EXPECT_EQ(grid->ScrollWidth(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(grid->ScrollColor(), clNone);
    EXPECT_EQ(grid->CellNode()->Color, 0xC0C0C0);
    EXPECT_EQ(grid->PrintSettings()->PageNumSep, "/");
    EXPECT_EQ(grid->PrintSettings()->DateFormat, "dd/mm/yyyy");
    EXPECT_EQ(grid->HTMLSettings()->BorderSize, 1);
    EXPECT_EQ(grid->HTMLSettings()->Width, 100);
    EXPECT_EQ(grid->Navigation()->AdvanceDirection, adLeftRight);
    EXPECT_EQ(grid->EditorType(), etText);
    EXPECT_EQ(grid->RealCol(300), 300);
    // Wine's common controls are newer than 4.70: the date editors exist.
    EXPECT_TRUE(grid->HasDatePicker());
}

TEST_F(AdvGrid, DatePickerNeedsCommonControls470)
{
    struct {
        int version;
        bool picker;
    } cases[] = {{0x00040046, true}, {0x00060000, true}, {0x00040045, false}, {0x00040000, false}, {-1, false}};
    for (const auto& c : cases) {
        static int version;
        version = c.version;
        const auto old = TAdvStringGrid::SetCommCtrlVersionReader([] { return version; });
        auto g = std::make_unique<TAdvStringGrid>(nullptr);
        TAdvStringGrid::SetCommCtrlVersionReader(old);
        EXPECT_EQ(g->HasDatePicker(), c.picker) << std::hex << c.version;
    }
}

TEST_F(AdvGrid, PublishedForForms)
{
    grid = MakeGrid(2, 2);
    SetPropText(grid, *GetPropInfo(grid, "VAlignment"), "vtaBottom");
    EXPECT_EQ(grid->VAlignment(), vtaBottom);
    auto* navigation = GetObjectProp(grid, *GetPropInfo(grid, "Navigation"));
    SetPropText(navigation, *GetPropInfo(navigation, "AdvanceDirection"), "adTopBottom");
    SetPropText(navigation, *GetPropInfo(navigation, "AdvanceOnEnter"), "True");
    EXPECT_EQ(grid->Navigation()->AdvanceDirection, adTopBottom);
    EXPECT_TRUE(grid->Navigation()->AdvanceOnEnter);
    auto* columnSize = GetObjectProp(grid, *GetPropInfo(grid, "ColumnSize"));
    SetPropText(columnSize, *GetPropInfo(columnSize, "Stretch"), "True");
    EXPECT_TRUE(grid->ColumnSize()->Stretch());
    EXPECT_NE(GetPropInfo(grid, "OnGetCellColor"), nullptr);
    EXPECT_NE(GetPropInfo(grid, "OnPrintSetRowHeight"), nullptr);
    EXPECT_NE(GetPropInfo(grid, "FixedFooters"), nullptr);
    InitAdvGridUnit();
    EXPECT_NE(GetComponentClass("TAdvStringGrid"), nullptr);
}

TEST_F(AdvGrid, ColumnSizesKeptInAnIniFile)
{
    TempFolder folder;
    const std::string ini = folder.Path() + "kolumny.ini";
    grid = MakeGrid(3, 2);
    grid->ColumnSize()->Save = true;
    grid->ColumnSize()->Key = ini;
    grid->ColumnSize()->Section = "Siatka";
    grid->SetColWidths(0, 30);
    grid->SetColWidths(1, 40);
    grid->SetColWidths(2, 50);
    delete grid;
    grid = nullptr;
    EXPECT_EQ(GetPrivateProfileIntA("Siatka", "col0", -1, ini.c_str()), 30u);
    EXPECT_EQ(GetPrivateProfileIntA("Siatka", "col2", -1, ini.c_str()), 50u);
    WritePrivateProfileStringA("Siatka", "col1", "-1", ini.c_str());

    auto* again = new TAdvStringGrid(TestForm());
    again->SetColCount(2);
    again->SetColWidths(1, 77);
    again->ColumnSize()->Save = true;
    again->ColumnSize()->Key = ini;
    again->ColumnSize()->Section = "Siatka";
    again->SetParent(TestForm());
    again->HandleNeeded();
    EXPECT_EQ(again->ColWidths(0), 30);
    EXPECT_EQ(again->ColWidths(1), 77) << "-1 keeps the width";
    again->ColumnSize()->Section = "";
    delete again;  // an empty section: nothing written
    EXPECT_EQ(GetPrivateProfileIntA("Siatka", "col1", -2, ini.c_str()), static_cast<UINT>(-1));
}

TEST_F(AdvGrid, StretchTheLastColumn)
{
    grid = MakeGrid(1, 2);
    grid->HandleNeeded();
    grid->ColumnSize()->SetStretch(true);
    EXPECT_EQ(grid->ColWidths(0), grid->ClientWidth());

    grid->SetColCount(3);
    grid->SetColWidths(0, 50);
    grid->SetColWidths(1, 60);
    EXPECT_EQ(grid->ColWidths(2), grid->ClientWidth() - (50 + 1) - (60 + 1) - 1);
    grid->SetBounds(10, 10, 300, 200);
    EXPECT_EQ(grid->ColWidths(2), grid->ClientWidth() - 113);
    // Fixed columns wider than the client: the last column stays.
    grid->SetColWidths(0, 500);
    grid->SetColWidths(2, 33);
    EXPECT_EQ(grid->ColWidths(2), 33);
}

TEST_F(AdvGrid, UpdateLockHoldsPainting)
{
    grid = MakeGrid(3, 3);
    Events events;
    grid->OnDrawCell = TDrawCellEvent(&events, &Events::Drawn);
    grid->Update();
    PumpMessages(20);
    events.paints = 0;
    grid->BeginUpdate();
    grid->BeginUpdate();
    grid->EndUpdate();
    grid->Invalidate();
    grid->Update();
    EXPECT_EQ(events.paints, 0);
    EXPECT_FALSE(GetUpdateRect(grid->Handle(), nullptr, FALSE)) << "an ignored paint validates";
    grid->EndUpdate();
    grid->Update();
    EXPECT_GT(events.paints, 0);
    events.paints = 0;
    grid->EndUpdate();
    EXPECT_EQ(grid->UpdateCount(), 0);
    grid->Update();
    EXPECT_EQ(events.paints, 0);
}

TEST_F(AdvGrid, SizeWithTheOwnerForm)
{
    auto* form = new TForm(Application);
    form->SetBounds(50, 50, 300, 200);
    int ownHandler = 0;
    struct Counter {
        int* count;
        void Resized(TObject*)
        {
            ++*count;
            throw Exception("the form's own handler fails");
        }
    } counter{&ownHandler};
    form->OnResize = TNotifyEvent(&counter, &Counter::Resized);
    auto* g = new TAdvStringGrid(form);
    g->SetParent(form);
    g->SetBounds(5, 5, 200, 100);
    g->SetSizeWithForm(true);
    form->SetBounds(50, 50, 340, 240);
    EXPECT_EQ(g->Width(), 240);
    EXPECT_EQ(g->Height(), 140);
    EXPECT_GT(ownHandler, 0);
    form->SetBounds(50, 50, 90, 240);  // the grid would be 0 wide
    EXPECT_EQ(g->Width(), 240);
    form->SetBounds(50, 50, 100, 240);  // from the remembered 340: 240 - 240
    EXPECT_EQ(g->Width(), 240);
    delete g;
    EXPECT_TRUE(form->OnResize == TNotifyEvent(&counter, &Counter::Resized));
    delete form;
}

// ---------------------------------------------------------------------------
// Cells

TEST_F(AdvGrid, FixedAndEditableCells)
{
    grid = MakeGrid(5, 10);
    grid->SetFixedFooters(2);
    grid->SetFixedRightCols(1);
    Events events;
    EXPECT_TRUE(grid->IsFixedCell(1, 8));
    EXPECT_TRUE(grid->IsFixedCell(1, 9));
    EXPECT_TRUE(grid->IsFixedCell(4, 1));
    EXPECT_FALSE(grid->IsFixedCell(1, 7));
    EXPECT_TRUE(grid->CanEditCell(1, 8)) << "no events: every cell";
    events.fixedRow = 3;
    grid->OnIsFixedCell = TCellQueryEvent(&events, &Events::IsFixed);
    EXPECT_TRUE(grid->IsFixedCell(2, 3));
    EXPECT_FALSE(grid->CanEditCell(2, 3));
    grid->OnCanEditCell = TCellQueryEvent(&events, &Events::CanEdit);
    EXPECT_FALSE(grid->CanEditCell(2, 2));
    EXPECT_TRUE(grid->CanEditCell(1, 2));
    // A declared-fixed cell never becomes current.
    grid->SetCol(1);
    grid->SetRow(2);
    grid->SetRow(3);
    EXPECT_EQ(grid->Row(), 2);
    grid->SetRow(8);  // a footer
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(AdvGrid, AlignmentAndIntegers)
{
    grid = MakeGrid(3, 3, {{"12,5", "12a", ""}, {"-7", "1.234,5", "x"}});
    EXPECT_EQ(grid->GetCellAlignment(0, 0), taLeftJustify);
    grid->SetAutoNumAlign(true);
    EXPECT_EQ(grid->GetCellAlignment(0, 0), taRightJustify);
    EXPECT_EQ(grid->GetCellAlignment(1, 0), taLeftJustify);
    EXPECT_EQ(grid->GetCellAlignment(1, 1), taRightJustify);
    EXPECT_EQ(grid->GetCellInt(2, 0), 0);
    EXPECT_EQ(grid->GetCellInt(0, 1), -7);
    try {
        cellIntOf(grid, 1, 0);
        ADD_FAILURE() << "no error";
    } catch (const EAdvGridError& e) {
        EXPECT_STREQ(e.what(), "Cell does not contain integer value");
    }
    grid->SetCellInt(2, 2, 42);
    EXPECT_EQ(grid->Cells(2, 2), "42");
}

TEST_F(AdvGrid, ChangingEventsShareOneAllow)
{
    grid = MakeGrid(4, 6);
    Events events;
    events.refusedRow = 3;
    grid->OnRowChanging = TChangingEvent(&events, &Events::RowChanging);
    grid->OnColChanging = TChangingEvent(&events, &Events::ColChanging);
    grid->OnCellChanging = TCellChangingEvent(&events, &Events::CellChanging);
    grid->SetCol(2);
    EXPECT_EQ(events.log, (std::vector<std::string>{"col 2 yes", "cell yes"}));
    events.log.clear();
    grid->SetRow(3);
    EXPECT_EQ(events.log, (std::vector<std::string>{"row 3 yes", "cell no"}));
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(AdvGrid, RowSelectionFlags)
{
    grid = MakeGrid(3, 5);
    for (int row : {-1, 5})
        try {
            grid->IsRowSelected(row);
            ADD_FAILURE() << row;
        } catch (const EAdvGridError& e) {
            EXPECT_STREQ(e.what(), "Invalid row accessed");
        }
    EXPECT_THROW(grid->SelectRow(5, true), EAdvGridError);
    grid->SelectRow(2, true);
    EXPECT_TRUE(grid->IsRowSelected(2));
    grid->ClearRowSelection();
    EXPECT_FALSE(grid->IsRowSelected(2));
}

TEST_F(AdvGrid, HeadersFillRowAndColumnZero)
{
    grid = MakeGrid(3, 3, {{"a", "b", "c"}});
    TStringList headers;
    headers.Add("Nazwa");
    headers.Add("Dwie\\nlinie");
    grid->SetColumnHeaders(&headers);
    EXPECT_EQ(grid->Cells(0, 0), "Nazwa");
    EXPECT_EQ(grid->Cells(1, 0), "Dwie\rlinie");
    EXPECT_EQ(grid->Cells(2, 0), "") << "emptied first";
    grid->ColumnHeaders()->Add("Trzecia");
    EXPECT_EQ(grid->Cells(2, 0), "Trzecia");
    headers.Clear();
    headers.Add("x");
    headers.Add("y");
    grid->SetRowHeaders(&headers);
    EXPECT_EQ(grid->Cells(0, 1), "y");
}

// ---------------------------------------------------------------------------
// Hidden rows, nodes, filter

TEST_F(AdvGrid, NodesHideAndShowTheirRows)
{
    grid = MakeGrid(2, 9, {{"h"}, {"n1", "a"}, {"n2", "b"}, {"", "c"}, {"", "d"}, {"", "e"}, {"n3", "f"}, {"", "g"},
                           {"", "h"}});
    grid->SetEnableGraphics(true);
    auto node = [&](int row, int span) { PutNode(grid, row, span); };
    node(2, 3);
    node(6, 0);
    grid->ContractNode(2);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(ColumnText(grid, 1, 1, 6), "a|b|e|f|g|h");
    EXPECT_TRUE(grid->IsRowHidden(3));
    EXPECT_TRUE(grid->IsRowHidden(4));
    EXPECT_EQ(grid->DisplayRow(6), 4);
    EXPECT_EQ(grid->RealRow(4), 6);
    grid->ExpandNode(2);
    EXPECT_EQ(grid->RowCount(), 9);
    EXPECT_EQ(ColumnText(grid, 1, 1, 8), "a|b|c|d|e|f|g|h");
    // Span 0 on the last node: every row to the end.
    grid->ContractNode(6);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(ColumnText(grid, 1, 1, 6), "a|b|c|d|e|f");
    grid->ExpandNode(6);
    EXPECT_EQ(ColumnText(grid, 1, 1, 8), "a|b|c|d|e|f|g|h");
    // Span 0 with a node below: up to it; contracting twice is once.
    node(5, 1);
    grid->GetCellGraphic(0, 2)->Number = 0;
    grid->ContractNode(2);
    grid->ContractNode(2);
    EXPECT_EQ(ColumnText(grid, 1, 1, 6), "a|b|e|f|g|h");
    grid->ShowAllRows();
    EXPECT_EQ(ColumnText(grid, 1, 1, 8), "a|b|c|d|e|f|g|h");
}

TEST_F(AdvGrid, NestedNodesKeepTheirRowsInOrder)
{
    grid = MakeGrid(2, 10, {{"", "a"}, {"", "b"}, {"", "c"}, {"", "d"}, {"", "e"}, {"", "f"}, {"", "g"}, {"", "h"},
                            {"", "i"}, {"", "j"}});
    grid->SetFixedRows(0);
    grid->SetEnableGraphics(true);
    auto node = [&](int row, int span) { PutNode(grid, row, span); };
    node(1, 5);  // b to f
    node(2, 2);  // c and d, inside it
    auto shown = [&] { return ColumnText(grid, 1, 0, grid->RowCount() - 1); };
    grid->ContractNode(2);
    EXPECT_EQ(shown(), "a|b|c|e|f|g|h|i|j");
    grid->ContractNode(1);
    EXPECT_EQ(shown(), "a|b|g|h|i|j") << "its span and no row beyond";
    grid->ExpandNode(2);
    EXPECT_EQ(shown(), "a|b|g|h|i|j") << "a hidden node is not there to expand";
    grid->ExpandNode(1);
    EXPECT_EQ(shown(), "a|b|c|e|f|g|h|i|j") << "the inner node is still contracted";
    grid->ExpandNode(2);
    EXPECT_EQ(shown(), "a|b|c|d|e|f|g|h|i|j");
    EXPECT_EQ(grid->NumHiddenRows(), 0);
    // The other way round, and every row back in its place.
    grid->ContractNode(1);
    grid->ContractNode(2);
    EXPECT_EQ(shown(), "a|b|g|h|i|j");
    grid->ShowAllRows();
    EXPECT_EQ(shown(), "a|b|c|d|e|f|g|h|i|j");
}

TEST_F(AdvGrid, ShowRowsNeverOverwritesShownRows)
{
    grid = MakeGrid(1, 8, {{"0"}, {"1"}, {"2"}, {"3"}, {"4"}, {"5"}, {"6"}, {"7"}});
    grid->HideRow(2);
    grid->HideRow(4);
    grid->HideRow(5);
    EXPECT_EQ(ColumnText(grid, 0, 0, 4), "0|1|3|6|7");
    grid->ShowRows(2, 5);  // hidden 2, 4, 5: not one block
    EXPECT_EQ(ColumnText(grid, 0, 0, 7), "0|1|2|3|4|5|6|7");
}

TEST_F(AdvGrid, FilterHidesDataRowsOnlyAndComesBack)
{
    grid = MakeGrid(2, 8, {{"nagłówek"}, {"", "12"}, {"", "3"}, {"", "25"}, {"", "7"}, {"", "40"}, {"", "suma"},
                           {"", "stopka"}});
    grid->SetFixedFooters(2);
    TFilterData* condition = grid->Filter()->Add();
    condition->Column = 1;
    condition->Condition = ">10";
    grid->SetFilterActive(true);
    EXPECT_EQ(ColumnText(grid, 1, 1, grid->RowCount() - 1), "12|25|40|suma|stopka");
    condition->Condition = ">1000";
    grid->SetFilterActive(false);
    grid->SetFilterActive(true);
    EXPECT_EQ(ColumnText(grid, 1, 0, grid->RowCount() - 1), "|suma|stopka") << "every data row hidden";
    grid->SetFilterActive(false);
    EXPECT_EQ(ColumnText(grid, 1, 1, 7), "12|3|25|7|40|suma|stopka");
}

// A hidden row belongs with the shown row above it (a contracted node's rows
// with the node): rows inserted, removed, moved or sorted around it leave it
// there, and expanding or showing every row brings it back in that place.
// A sort orders the shown rows only; the hidden ones travel with theirs.
TEST_F(AdvGrid, HiddenRowsComeBackWhereTheyBelongAfterRowChanges)
{
    using TChange = void (*)(TAdvStringGrid*);
    struct {
        const char* change;
        bool node;  // N covers b and c, contracted; else the filter hides b and d
        TChange apply;
        const char* expected;
        int col = 0;  // of the names
    } cases[] = {
        // Shown: h a N d e.
        {"remove a", true, [](TAdvStringGrid* g) { g->RemoveRows(1, 1); }, "h|N|b|c|d|e"},
        {"remove d", true, [](TAdvStringGrid* g) { g->RemoveRows(3, 1); }, "h|a|N|b|c|e"},
        {"insert above N", true, [](TAdvStringGrid* g) { g->InsertRows(2, 1); }, "h|a||N|b|c|d|e"},
        {"insert below N", true, [](TAdvStringGrid* g) { g->InsertRows(3, 1); }, "h|a|N|b|c||d|e"},
        {"append", true, [](TAdvStringGrid* g) { g->InsertRows(5, 1); }, "h|a|N|b|c|d|e|"},
        {"move N down", true, [](TAdvStringGrid* g) { g->MoveRow(2, 4); }, "h|a|d|e|N|b|c"},
        {"move a past N", true, [](TAdvStringGrid* g) { g->MoveRow(1, 3); }, "h|N|b|c|d|a|e"},
        {"swap N and e", true, [](TAdvStringGrid* g) { g->SwapRows(2, 4); }, "h|a|e|d|N|b|c"},
        {"sort", true, [](TAdvStringGrid* g) { g->SortRows(); }, "h|e|d|a|N|b|c"},
        // A smaller row count keeps the hidden rows of the rows it keeps and
        // cuts the others off with theirs; a larger one adds rows after the
        // hidden rows at the end.
        {"cut after N", true, [](TAdvStringGrid* g) { g->SetRowCount(3); }, "h|a|N|b|c"},
        {"cut N", true, [](TAdvStringGrid* g) { g->SetRowCount(2); }, "h|a"},
        {"cut N, grown back", true, [](TAdvStringGrid* g) { g->SetRowCount(2); g->SetRowCount(5); }, "h|a|||"},
        {"grown", true, [](TAdvStringGrid* g) { g->SetRowCount(6); }, "h|a|N|b|c|d|e|"},
        {"a column cut, grown back", true, [](TAdvStringGrid* g) { g->SetColCount(1); g->SetColCount(2); },
         "||||||", 1},
        // Shown: h a N c e.
        {"remove a", false, [](TAdvStringGrid* g) { g->RemoveRows(1, 1); }, "h|N|b|c|d|e"},
        {"remove N", false, [](TAdvStringGrid* g) { g->RemoveRows(2, 1); }, "h|a|b|c|d|e"},
        {"insert above c", false, [](TAdvStringGrid* g) { g->InsertRows(3, 1); }, "h|a|N|b||c|d|e"},
        {"move c up", false, [](TAdvStringGrid* g) { g->MoveRow(3, 1); }, "h|c|d|a|N|b|e"},
        {"sort", false, [](TAdvStringGrid* g) { g->SortRows(); }, "h|e|c|d|a|N|b"},
        {"cut after N", false, [](TAdvStringGrid* g) { g->SetRowCount(3); }, "h|a|N|b"},
        {"cut after N, grown back", false, [](TAdvStringGrid* g) { g->SetRowCount(3); g->SetRowCount(5); },
         "h|a|N|b||"},
        // The hidden rows' cells move with the columns.
        {"insert a column", false, [](TAdvStringGrid* g) { g->InsertCols(0, 1); }, "h|a|N|b|c|d|e", 1},
        {"remove a column", false, [](TAdvStringGrid* g) { g->RemoveCols(0, 1); }, "|tak|tak||tak||tak"},
        {"move a column", false, [](TAdvStringGrid* g) { g->MoveColumn(0, 1); }, "h|a|N|b|c|d|e", 1},
    };
    for (const auto& c : cases)
        for (bool expand : {true, false}) {
            if (expand && !c.node)
                continue;
            SCOPED_TRACE(testing::Message() << c.change << (c.node ? ", node" : ", filter")
                                            << (expand ? ", expanded" : ", all shown"));
            delete grid;
            grid = MakeGrid(2, 7, {{"h"}, {"a", "tak"}, {"N", "tak"}, {"b"}, {"c", "tak"}, {"d"}, {"e", "tak"}});
            grid->SetSortDirection(sdDescending);
            if (c.node) {
                grid->SetEnableGraphics(true);
                PutNode(grid, 2, 3);
                grid->ContractNode(2);
            } else {
                TFilterData* condition = grid->Filter()->Add();
                condition->Column = 1;
                condition->Condition = "tak";
                grid->SetFilterActive(true);
            }
            c.apply(grid);
            if (!c.node) {
                grid->SetFilterActive(false);
            } else if (expand) {
                for (int n = 0; n < grid->RowCount(); ++n)
                    if (grid->Cells(0, n) == "N")
                        grid->ExpandNode(grid->RealRow(n));
            } else {
                grid->ShowAllRows();
            }
            EXPECT_EQ(grid->NumHiddenRows(), 0);
            EXPECT_EQ(ColumnText(grid, c.col, 0, grid->RowCount() - 1), c.expected);
        }
}

// ---------------------------------------------------------------------------
// Sorting

TEST_F(AdvGrid, SortNumbersTextsAndTies)
{
    grid = MakeGrid(3, 6, {{"h", "h", "h"}, {"9", "b", "2"}, {"100", "a", "1"}, {"10", "a", "3"}, {"", "b", "1"},
                           {"x", "x", "x"}});
    grid->SetFixedFooters(1);
    grid->SetSortColumn(0);
    grid->SortRows();
    EXPECT_EQ(ColumnText(grid, 0, 0, 5), "h||9|10|100|x");
    grid->SetSortAutoFormat(false);
    grid->SortRows();
    EXPECT_EQ(ColumnText(grid, 0, 1, 4), "|10|100|9");
    grid->SetSortDirection(sdDescending);
    grid->SortRows();
    EXPECT_EQ(ColumnText(grid, 0, 1, 4), "9|100|10|");
    // Ties by the columns to the right only.
    grid->SetSortDirection(sdAscending);
    grid->SetSortColumn(1);
    grid->SortRows();
    EXPECT_EQ(ColumnText(grid, 2, 1, 4), "1|3|1|2");
    EXPECT_EQ(ColumnText(grid, 1, 1, 4), "a|a|b|b");
    EXPECT_EQ(grid->RowCount(), 6);
}

TEST_F(AdvGrid, SortPolishNumbersAndDates)
{
    grid = MakeGrid(2, 6, {{"", ""}, {"1\xA0" "200,5", "5.01.2026"}, {"950", "25.12.2025"}, {"12,25", "1.02.2026"},
                           {"-3", "5.01.2025"}, {"1\xA0" "000", "31.01.2026"}});
    struct Formats {
        TSortStyle style;
        void Format(TObject*, int, TSortStyle& s, std::string&, std::string&) { s = style; }
    } formats{stNumberGrouped};
    grid->OnGetFormat = TGridFormatEvent(&formats, &Formats::Format);
    grid->SortRows();
    EXPECT_EQ(ColumnText(grid, 0, 1, 5), "-3|12,25|950|1\xA0" "000|1\xA0" "200,5");
    formats.style = stShortDate;
    grid->SetSortColumn(1);
    grid->SortRows();
    EXPECT_EQ(ColumnText(grid, 1, 1, 5), "5.01.2025|25.12.2025|5.01.2026|31.01.2026|1.02.2026");
    formats.style = stLocaleTextNoCase;
    grid->SetCells(1, 1, "żurek");
    grid->SetCells(1, 2, "Ćma");
    grid->SetCells(1, 3, "zupa");
    grid->SetCells(1, 4, "ćwikła");
    grid->SetCells(1, 5, "Cebula");
    grid->SortRows();
    EXPECT_EQ(ColumnText(grid, 1, 1, 5), "Cebula|Ćma|ćwikła|zupa|żurek");
}

TEST_F(AdvGrid, SortCustomAndRowCompare)
{
    grid = MakeGrid(3, 5, {{}, {"", "ccc", "2"}, {"", "a", "3"}, {"", "bb", "1"}, {"", "aa", "0"}});
    Events events;
    grid->OnGetFormat = TGridFormatEvent(&events, &Events::Style);
    grid->OnCustomCompare = TCustomCompareEvent(&events, &Events::Custom);
    grid->OnRawCompare = TRawCompareEvent(&events, &Events::Raw);
    grid->SetSortColumn(1);
    grid->SortRows();
    EXPECT_EQ(ColumnText(grid, 1, 1, 4), "a|aa|bb|ccc");
    grid->SetSortColumn(0);  // row compare: by column 2
    grid->SortRows();
    EXPECT_EQ(ColumnText(grid, 2, 1, 4), "0|1|2|3");
}

TEST_F(AdvGrid, TheCurrentRowFollowsItsData)
{
    grid = MakeGrid(2, 6, {{}, {"5", "e"}, {"3", "c"}, {"1", "a"}, {"4", "d"}, {"2", "b"}});
    grid->SetRow(2);  // "3"
    grid->SortRows();
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Cells(0, grid->Row()), "3");
    grid->Navigation()->MoveRowOnSort = true;
    grid->SetSortDirection(sdDescending);
    grid->SortRows();
    EXPECT_EQ(grid->Cells(0, grid->Row()), "3");
}

TEST_F(AdvGrid, ARaisingFormatEventLeavesTheGridWhole)
{
    grid = MakeGrid(2, 5, {{}, {"b", "1"}, {"a", "2"}, {"c", "3"}, {"d", "4"}});
    Events events;
    grid->OnGetFormat = TGridFormatEvent(&events, &Events::Format);
    grid->SetSortColumn(1);
    EXPECT_THROW(grid->SortRows(), EAdvGridError);
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->UpdateCount(), 0);
    EXPECT_EQ(ColumnText(grid, 1, 1, 4), "1|2|3|4");
}

TEST_F(AdvGrid, ARowComparisonSeesThePivotsObjects)
{
    grid = MakeGrid(2, 6);
    grid->SetEnableGraphics(true);
    const int keys[] = {5, 3, 1, 4, 2};
    for (int i = 0; i < 5; ++i) {
        auto* g = new TCellGraphic;  // freed with the grid: a cell graphic
        g->Number = keys[i];
        grid->SetObjects(1, i + 1, g);
        grid->SetCells(0, i + 1, std::to_string(keys[i]));
    }
    struct ByObject {
        void Compare(TObject* sender, int col, int a, int b, int& res)
        {
            auto* g = static_cast<TAdvStringGrid*>(sender);
            auto key = [&](int row) {
                const auto* cell = dynamic_cast<TCellGraphic*>(g->Objects(col, row));
                return cell ? cell->Number : -1;
            };
            res = key(a) > key(b) ? 1 : key(a) < key(b) ? -1 : 0;
        }
        void Style(TObject*, int, TSortStyle& style, std::string&, std::string&) { style = stRowCompare; }
    } by;
    grid->OnGetFormat = TGridFormatEvent(&by, &ByObject::Style);
    grid->OnRawCompare = TRawCompareEvent(&by, &ByObject::Compare);
    grid->SetSortColumn(1);
    grid->SortRows();
    EXPECT_EQ(ColumnText(grid, 0, 1, 5), "1|2|3|4|5");
    // Each row keeps its own object, alive: the pivot's copy was not freed.
    for (int row = 1; row <= 5; ++row) {
        const auto* cell = dynamic_cast<TCellGraphic*>(grid->Objects(1, row));
        ASSERT_NE(cell, nullptr) << row;
        EXPECT_EQ(std::to_string(cell->Number), grid->Cells(0, row));
    }
}

TEST_F(AdvGrid, AComparisonWithoutOrderStaysWithinTheRows)
{
    // A handler that calls every pair greater in both directions would walk
    // the partition off the rows it sorts; one that keys rows by their
    // indexes finds no key for the pivot's spare row, which then stands
    // before every row, and a partition that moved nothing would run again.
    struct Handlers {
        bool byIndex = false;
        void Greater(TObject*, const std::string&, const std::string&, int& res) { res = 1; }
        void ByIndex(TObject*, int, int a, int b, int& res)
        {
            auto key = [](int row) { return row < 8 ? (row * 5) % 8 : -1; };
            res = key(a) > key(b) ? 1 : key(a) < key(b) ? -1 : 0;
        }
        void Style(TObject*, int, TSortStyle& style, std::string&, std::string&)
        {
            style = byIndex ? stRowCompare : stCustom;
        }
    } handlers;
    for (auto [byIndex, direction] : {std::pair{false, sdAscending}, std::pair{false, sdDescending},
                                      std::pair{true, sdAscending}, std::pair{true, sdDescending}}) {
        SCOPED_TRACE(testing::Message() << byIndex << " " << direction);
        handlers.byIndex = byIndex;
        grid = MakeGrid(1, 8, {{"h"}, {"a"}, {"b"}, {"c"}, {"d"}, {"e"}, {"f"}, {"g"}});
        grid->OnGetFormat = TGridFormatEvent(&handlers, &Handlers::Style);
        grid->OnCustomCompare = TCustomCompareEvent(&handlers, &Handlers::Greater);
        grid->OnRawCompare = TRawCompareEvent(&handlers, &Handlers::ByIndex);
        grid->SetSortDirection(direction);
        grid->SortRows();
        EXPECT_EQ(grid->RowCount(), 8);
        std::string rows = ColumnText(grid, 0, 1, 7);
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, "abcdefg||||||") << "the same rows, in some order";
        EXPECT_EQ(grid->Cells(0, 0), "h");
        delete grid;
        grid = nullptr;
    }
}

// ---------------------------------------------------------------------------
// Rows and columns

TEST_F(AdvGrid, InsertAndRemoveRowsAndColumns)
{
    grid = MakeGrid(3, 5, {{"0"}, {"1"}, {"2"}, {"3"}, {"4"}});
    grid->SetRowHeights(2, 40);
    TObject caller;
    grid->SetObjects(0, 2, &caller);
    grid->InsertRows(2, 1);
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(ColumnText(grid, 0, 0, 5), "0|1||2|3|4");
    EXPECT_EQ(grid->RowHeights(2), grid->DefaultRowHeight());
    EXPECT_EQ(grid->RowHeights(3), 40);
    EXPECT_EQ(grid->Objects(0, 2), nullptr) << "a new cell holds no object";
    EXPECT_EQ(grid->Objects(0, 3), &caller);
    grid->RemoveRows(2, 2);
    EXPECT_EQ(ColumnText(grid, 0, 0, 3), "0|1|3|4");

    grid->SetColWidths(0, 31);
    grid->SetColWidths(1, 32);
    grid->SetColWidths(2, 33);
    grid->SetCells(1, 0, "b");
    grid->SetCells(2, 0, "c");
    grid->RemoveCols(2, 1);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->ColWidths(0), 31);
    EXPECT_EQ(grid->ColWidths(1), 32);
    grid->SetObjects(1, 0, &caller);
    grid->InsertCols(1, 1);
    EXPECT_EQ(grid->Cells(2, 0), "b");
    EXPECT_EQ(grid->Cells(1, 0), "");
    EXPECT_EQ(grid->ColWidths(1), grid->DefaultColWidth());
    EXPECT_EQ(grid->Objects(1, 0), nullptr) << "a new cell holds no object";
    EXPECT_EQ(grid->Objects(2, 0), &caller);
}

TEST_F(AdvGrid, ClearingFreesOnlyCellGraphics)
{
    grid = MakeGrid(2, 2, {{"a", "b"}, {"c", "d"}});
    grid->SetEnableGraphics(true);
    TObject caller;
    grid->SetObjects(0, 0, new TCellGraphic);
    grid->SetObjects(1, 0, &caller);
    grid->ClearRows(0, 1);
    EXPECT_EQ(grid->Cells(0, 0), "");
    EXPECT_EQ(grid->Objects(0, 0), nullptr);
    EXPECT_EQ(grid->Objects(1, 0), &caller);
    EXPECT_EQ(grid->Cells(0, 1), "c");
    grid->ClearCellRange(1, 1, 0, 0);  // reversed: nothing
    EXPECT_EQ(grid->Cells(1, 1), "d");
}

// The cell graphics of hidden rows are the grid's as those of shown rows:
// freed with the grid and with the rows or columns a smaller count cuts off,
// each once.
TEST_F(AdvGrid, CellGraphicsOfHiddenRowsAreFreedWithTheirCells)
{
    static int freed;
    struct TCounted : TCellGraphic {
        ~TCounted() override { ++freed; }
    };
    using TChange = void (*)(TAdvStringGrid*);
    struct {
        const char* change;
        TChange apply;
        int freed;
    } cases[] = {
        {"the grid destroyed", [](TAdvStringGrid*) {}, 0},
        {"rows cut off", [](TAdvStringGrid* g) { g->SetRowCount(1); }, 3},
        {"the row after the node cut off", [](TAdvStringGrid* g) { g->SetRowCount(2); }, 1},
        {"a column cut off", [](TAdvStringGrid* g) { g->SetColCount(1); }, 3},
        {"every cell cleared", [](TAdvStringGrid* g) { g->ClearAll(); }, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        delete grid;
        // A node on row 1 over rows 2 and 3, contracted; a graphic in column 1
        // of rows 2 to 4.
        grid = MakeGrid(2, 5);
        grid->SetEnableGraphics(true);
        PutNode(grid, 1, 3);
        for (int row = 2; row <= 4; ++row)
            grid->SetObjects(1, row, new TCounted);
        grid->ContractNode(1);
        freed = 0;
        c.apply(grid);
        EXPECT_EQ(freed, c.freed);
        delete grid;
        grid = nullptr;
        EXPECT_EQ(freed, 3);
    }
}

// Clearing every cell clears those of hidden rows too: shown again, the
// node's rows come back empty.
TEST_F(AdvGrid, ClearAllEmptiesHiddenRowsToo)
{
    grid = MakeGrid(2, 4, {{"h", "0"}, {"N", "1"}, {"a", "2"}, {"b", "3"}});
    grid->SetEnableGraphics(true);
    PutNode(grid, 1, 3);
    grid->ContractNode(1);
    ASSERT_EQ(grid->RowCount(), 2);
    grid->ClearAll();
    grid->ShowAllRows();
    ASSERT_EQ(grid->RowCount(), 4);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 2; ++col)
            EXPECT_EQ(grid->Cells(col, row), "") << col << "," << row;
}

TEST_F(AdvGrid, FitColumnToItsTexts)
{
    grid = MakeGrid(2, 3, {{"", ""}, {"", "szeroki tekst"}, {"", "x"}});
    grid->FitColumn(0);
    EXPECT_EQ(grid->ColWidths(0), 4) << "empty cells";
    grid->FitColumn(1);
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(grid->Font());
    EXPECT_EQ(grid->ColWidths(1), probe.Canvas()->TextWidth("szeroki tekst") + 4);
    grid->SetColWidths(1, 500);
    grid->FitColumn(1, true);
    EXPECT_EQ(grid->ColWidths(1), 500);
}

TEST_F(AdvGrid, FittingMeasuresInTheFontTheCellIsPaintedWith)
{
    struct Big {
        void Color(TObject*, int row, int, TGridDrawState, TBrush*, TFont* font)
        {
            if (row == 2) {
                font->SetSize(20);
                font->SetStyle(font->Style() + fsBold);
            }
        }
    } big;
    struct {
        bool event;
        int zoom;
    } cases[] = {{false, 0}, {true, 0}, {false, 4}, {true, -2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.event << " " << c.zoom);
        grid = MakeGrid(2, 3, {{"", ""}, {"", "krótki"}, {"", "Szerokość"}});
        if (c.event)
            grid->OnGetCellColor = TGridColorEvent(&big, &Big::Color);
        grid->ZoomGrid(c.zoom);
        // The cell's font as the painting makes it.
        TBitmap probe(1, 1);
        probe.Canvas()->Font()->Assign(grid->Font());
        if (c.event) {
            probe.Canvas()->Font()->SetSize(20);
            probe.Canvas()->Font()->SetStyle(probe.Canvas()->Font()->Style() + fsBold);
        }
        probe.Canvas()->Font()->SetSize(probe.Canvas()->Font()->Size() + c.zoom);
        const int expected = probe.Canvas()->TextWidth("Szerokość") + 4;
        grid->FitColumn(1);
        EXPECT_EQ(grid->ColWidths(1), expected);
        grid->SetColWidths(1, 10);
        grid->FitAllColumns(false, 0);
        EXPECT_EQ(grid->ColWidths(1), expected);
        delete grid;
        grid = nullptr;
    }
}

// Where text turned by a right angle starts: the quarters, each way of
// aligning it, measured with the grid's font.
TEST_F(AdvGrid, RotatedTextIsPlacedByItsQuarterAndAlignment)
{
    grid = MakeGrid(2, 2);
    const std::string text = "Obrót";
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(grid->Font());
    const int W = probe.Canvas()->TextWidth(text), H = probe.Canvas()->TextHeight(text);
    ASSERT_LT(W, 58) << "no negative room to halve";
    // The cell (10, 20, 110, 80) is 98 x 58 once shrunk at the right and
    // bottom; the results are the table's edges plus 2.
    struct {
        int angle;
        TAlignment align;
        TVAlignment valign;
        int left, top;
    } cases[] = {
        {0, taLeftJustify, vtaTop, 10, 20},
        {0, taRightJustify, vtaBottom, 108 - W, 78 - H},
        {0, taCenter, vtaCenter, 10 + (98 - W) / 2, 20 + (58 - H) / 2},
        {90, taLeftJustify, vtaTop, 10, 20 + W},
        {90, taRightJustify, vtaBottom, 108 - H, 78},
        {90, taCenter, vtaCenter, 10 + (98 - H) / 2, 20 + (58 - W) / 2 + W},
        {180, taLeftJustify, vtaTop, 10 + W, 20 + H},
        {180, taRightJustify, vtaBottom, 108, 78},
        {180, taCenter, vtaCenter, 108 - (98 - W) / 2, 20 + (58 - H) / 2 + H},
        {270, taLeftJustify, vtaTop, 10 + H, 20},
        {270, taRightJustify, vtaBottom, 108, 78 - W},
        {270, taCenter, vtaCenter, 108 - (98 - H) / 2, 20 + (58 - W) / 2},
        {360, taLeftJustify, vtaTop, 10, 20},
        {360, taRightJustify, vtaBottom, 108 - W, 78 - H},
        {360, taCenter, vtaCenter, 10 + (98 - W) / 2, 20 + (58 - H) / 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.angle << " " << c.align << " " << c.valign);
        grid->SetVAlignment(c.valign);
        TRect r = Rect(10, 20, 110, 80);
        grid->PlaceRotatedText(r, c.angle, c.align, text);
        EXPECT_EQ(r.left, c.left + 2);
        EXPECT_EQ(r.top, c.top + 2);
        EXPECT_EQ(r.right, 108);
        EXPECT_EQ(r.bottom, 78);
    }
}

TEST(AdvGridItem, ItemsAreCopiedWithTheirObjects)
{
    TCollection store(&CollectionItemClass<TGridItem>);
    auto* item = static_cast<TGridItem*>(store.Add());
    TObject object;
    {
        TStringList mine;
        mine.AddObject("a", &object);
        mine.Add("b");
        item->SetItems(&mine);
        mine.Clear();
    }
    ASSERT_EQ(item->Items()->Count(), 2);
    EXPECT_EQ(item->Items()->Strings(0), "a");
    EXPECT_EQ(item->Items()->Objects(0), &object);
}

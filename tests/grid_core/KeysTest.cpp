// The keyboard through real messages: Enter and AdvanceEdit, validation,
// Esc, the editor kinds typed and pasted, the length limit, completion, the
// incremental search and the row keys.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>

#include "GridFixture.h"
#include "classlib/Clipbrd.h"
#include "classlib/PngWriter.h"
#include "classlib/StdCtrls.h"

namespace {

int beeps = 0;
void CountBeep()
{
    ++beeps;
}

struct Events {
    std::vector<std::string> log;
    bool refuse = false;
    std::string correction;
    int lockedRow = -1;  // not editable

    void Validate(TObject*, int col, int row, std::string& value, bool& valid)
    {
        log.push_back("validate " + std::to_string(col) + "," + std::to_string(row) + " " + value);
        if (refuse)
            valid = false;
        if (!correction.empty())
            value = correction;
    }
    void Inserted(TObject*, int row) { log.push_back("inserted " + std::to_string(row)); }
    void Deleted(TObject*, int row) { log.push_back("deleted " + std::to_string(row)); }
    void CanEdit(TObject*, int row, int, bool& canedit) { canedit = row != lockedRow; }
    void NoneEditable(TObject*, int, int, bool& canedit) { canedit = false; }
};

class AdvKeys : public testing::Test {
protected:
    void SetUp() override
    {
        TestForm();
        beeps = 0;
        oldBeeper = TAdvStringGrid::SetBeeper(&CountBeep);
    }
    void TearDown() override
    {
        delete grid;
        TAdvStringGrid::SetBeeper(oldBeeper);
    }
    // Laid out as the personal-data grid: labels and values, Enter down.
    void MakeDataGrid()
    {
        grid = MakeGrid(2, 15);
        grid->SetFixedRows(0);
        grid->SetFixedCols(1);
        grid->SetOptions(grid->Options() | goEditing | goTabs);
        grid->Navigation()->AdvanceOnEnter = true;
        grid->Navigation()->AdvanceDirection = adTopBottom;
        grid->SetDefaultRowHeight(17);
        FocusWindow(grid->Handle());
    }
    void Go(int col, int row)
    {
        grid->SetCol(col);
        grid->SetRow(row);
        PumpMessages(10);
    }
    // Typed as a person types into the grid (the editor opens on the first
    // character, and the key comes up where the focus is then).
    void Type(const std::string& text)
    {
        for (char c : text) {
            PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
            PumpMessages(10);
            PostMessageA(GetFocus(), WM_KEYUP, VkKeyScanA(c) & 0xFF, 0xC0000001);
            PumpMessages(10);
        }
    }
    // The focus goes to another control of the form.
    void FocusElsewhere()
    {
        static TEdit* other = nullptr;
        if (!other) {
            other = new TEdit(TestForm());
            other->SetBounds(500, 400, 80, 20);
            other->SetParent(TestForm());
        }
        FocusWindow(other->Handle());
        PumpMessages(20);
    }
    void Key(WORD vk, TShiftState shift = 0)
    {
        PressKey(vk, shift);
        PostMessageA(GetFocus(), WM_KEYUP, vk, 0xC0000001);
        PumpMessages(10);
    }
    HWND Editor() { return grid->InplaceEditor() ? grid->InplaceEditor()->Handle() : nullptr; }
    std::string EditorText()
    {
        char buffer[256] = {};
        GetWindowTextA(Editor(), buffer, sizeof buffer);
        return buffer;
    }
    void Paste(const std::string& text)
    {
        Clipboard()->SetAsText(text);
        SendMessageA(Editor(), WM_PASTE, 0, 0);
        PumpMessages(10);
    }

    TAdvStringGrid* grid = nullptr;
    TAdvStringGrid::TBeeper oldBeeper = nullptr;
    Events events;
};

} // namespace

TEST_F(AdvKeys, EnterValidatesAndMovesDownWrappingToTheTop)
{
    MakeDataGrid();
    grid->OnCellValidate = TCellValidateEvent(&events, &Events::Validate);
    Go(1, 3);
    Type("Kraków");
    EXPECT_EQ(grid->Cells(1, 3), "Kraków") << "the editor writes the cell as it types";
    Key(VK_RETURN);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(events.log, std::vector<std::string>{"validate 1,3 Kraków"});
    Go(1, 14);
    Type("x");
    Key(VK_RETURN);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_EQ(grid->Col(), 1);
    // Enter on the grid opens the editor; in the editor it moves on, and
    // an unchanged cell fires no event.
    events.log.clear();
    Key(VK_RETURN);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_TRUE(grid->EditorMode());
    Key(VK_RETURN);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_TRUE(events.log.empty());
}

TEST_F(AdvKeys, EnterWithoutAdvanceOnlyValidates)
{
    MakeDataGrid();
    grid->Navigation()->AdvanceOnEnter = false;
    grid->OnCellValidate = TCellValidateEvent(&events, &Events::Validate);
    Go(1, 5);
    Type("a");
    Key(VK_RETURN);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(events.log.size(), 1u);
}

TEST_F(AdvKeys, RefusedValidation)
{
    MakeDataGrid();
    grid->SetCells(1, 2, "stare");
    grid->OnCellValidate = TCellValidateEvent(&events, &Events::Validate);
    events.refuse = true;
    Go(1, 2);
    Type("n");
    EXPECT_EQ(grid->Cells(1, 2), "n") << "typing replaced the selected text";
    Key(VK_RETURN);
    EXPECT_EQ(grid->Row(), 2) << "the editor stays on the cell";
    EXPECT_EQ(grid->Cells(1, 2), "stare");
    // A correction is taken, and the cell stays current.
    events.correction = "poprawione";
    Type("zle");
    Key(VK_RETURN);
    EXPECT_EQ(grid->Cells(1, 2), "poprawione");
    EXPECT_EQ(grid->Row(), 2);
    // A click elsewhere on a refused cell comes back to it.
    events.correction.clear();
    Type("znowu");
    Go(1, 6);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Cells(1, 2), "poprawione");
}

TEST_F(AdvKeys, ValidateCellDirectly)
{
    MakeDataGrid();
    grid->OnCellValidate = TCellValidateEvent(&events, &Events::Validate);
    Go(1, 4);
    EXPECT_TRUE(grid->ValidateCell(""));
    EXPECT_TRUE(events.log.empty());
    grid->SetCells(1, 4, "nowe");
    EXPECT_TRUE(grid->ValidateCell(""));
    EXPECT_EQ(events.log, std::vector<std::string>{"validate 1,4 nowe"});
}

TEST_F(AdvKeys, EscapeBringsBackTheText)
{
    MakeDataGrid();
    grid->SetCells(1, 7, "Gdańsk");
    Go(1, 7);
    Type("Sopot");
    EXPECT_EQ(grid->Cells(1, 7), "Sopot");
    Key(VK_ESCAPE);
    EXPECT_EQ(grid->Cells(1, 7), "Gdańsk");
    EXPECT_EQ(EditorText(), "Gdańsk");
}

TEST_F(AdvKeys, ARefusedMoveToAFooterLeavesEscapeAlone)
{
    grid = MakeGrid(3, 6, {{}, {"", "a"}, {"", "b"}, {"", "c"}, {"", "d"}, {"", "stopka"}});
    grid->SetFixedFooters(1);
    grid->SetOptions(grid->Options() | goEditing);
    FocusWindow(grid->Handle());
    Go(1, 4);
    Type("nowe");
    grid->SetRow(5);  // the footer: refused
    EXPECT_EQ(grid->Row(), 4);
    Key(VK_ESCAPE);
    EXPECT_EQ(grid->Cells(1, 4), "d");
    EXPECT_EQ(grid->Cells(1, 5), "stopka");
}

TEST_F(AdvKeys, AdvanceInsertAddsADataRowBeforeTheFooter)
{
    grid = MakeGrid(3, 5, {{}, {"", "a", "b"}, {"", "c", "d"}, {"", "e", "f"}, {"", "suma", ""}});
    grid->SetFixedFooters(1);
    grid->SetOptions(grid->Options() | goEditing);
    grid->Navigation()->AdvanceOnEnter = true;
    grid->Navigation()->AdvanceInsert = true;
    grid->OnAutoInsertRow = TIndexEvent(&events, &Events::Inserted);
    FocusWindow(grid->Handle());
    Go(2, 3);
    Type("g");
    Key(VK_RETURN);
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(events.log, std::vector<std::string>{"inserted 4"});
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Cells(1, 4), "");
    EXPECT_EQ(grid->Cells(1, 5), "suma");
}

TEST_F(AdvKeys, AdvanceSkipsWhatCannotBeEdited)
{
    MakeDataGrid();
    events.lockedRow = 5;
    grid->OnCanEditCell = TCellQueryEvent(&events, &Events::CanEdit);
    Go(1, 4);
    grid->AdvanceEdit(1, 4, true, false, true);
    EXPECT_EQ(grid->Row(), 6);
    grid->OnCanEditCell = TCellQueryEvent(&events, &Events::NoneEditable);
    grid->AdvanceEdit(1, 6, true, false, true);
    EXPECT_EQ(grid->Row(), 6) << "nothing editable: the cell stays";
}

TEST_F(AdvKeys, CursorWalksOutOfTheEditor)
{
    grid = MakeGrid(4, 8);
    grid->SetOptions(grid->Options() | goEditing);
    grid->Navigation()->CursorWalkEditor = true;
    FocusWindow(grid->Handle());
    Go(1, 5);
    Type("ab");
    Key(VK_HOME);
    Key(VK_LEFT);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Col(), 3);
    Go(1, 1);
    grid->ShowEditor();
    SendMessageA(Editor(), EM_SETSEL, 0, 0);
    Key(VK_LEFT);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(AdvKeys, EditorKindsFilterTypedCharacters)
{
    struct Kind {
        TEditorType kind;
        void Get(TObject*, int, int, TEditorType& e) { e = kind; }
    } kind{etText};
    struct {
        TEditorType kind;
        const char* typed;
        const char* result;
        int beeps;
    } cases[] = {
        {etDigits, "12a3", "123", 1},
        {etNumber, "1,5,", "1,5", 0},
        {etNumber, "1-", "1", 1},
        {etNumber, "-1.5x", "-1.5", 0},
        {etUpperTyped, "łódź", "ŁÓDŹ", 0},
        {etUpperCase, "ab", "AB", 0},
        {etLowerCase, "ĄBc", "ąbc", 0},
        {etNameCase, "jan mcdonald", "Jan McDonald", 0},
        {etPassword, "tajne", "tajne", 0},
        {etText, "A&b", "A&b", 0},
    };
    MakeDataGrid();
    grid->OnGetEditorType = TGetEditorTypeEvent(&kind, &Kind::Get);
    int row = 0;
    for (const auto& c : cases) {
        kind.kind = c.kind;
        beeps = 0;
        Go(1, row);
        Type(c.typed);
        EXPECT_EQ(grid->Cells(1, row), c.result) << "kind " << int(c.kind) << " typed " << c.typed;
        EXPECT_EQ(beeps, c.beeps) << "kind " << int(c.kind) << " typed " << c.typed;
        if (c.kind == etPassword) {
            EXPECT_EQ(SendMessageA(Editor(), EM_GETPASSWORDCHAR, 0, 0), '*');
        }
        Key(VK_RETURN);
        ++row;
    }
}

TEST_F(AdvKeys, EditorKindsFilterPastedText)
{
    struct Kind {
        TEditorType kind;
        void Get(TObject*, int, int, TEditorType& e) { e = kind; }
    } kind{etText};
    struct {
        TEditorType kind;
        const char* pasted;
        const char* result;
    } cases[] = {
        {etDigits, "12a", ""},       {etDigits, "123", "123"},      {etNumber, "12,5", "12,5"},
        {etNumber, "1-2-3", ""},     {etNameCase, "ANNA MARIA", "Anna Maria"},
        {etLowerCase, "ŁÓDŹ", "łódź"}, {etUpperCase, "żółw", "ŻÓŁW"}, {etUpperTyped, "abc", "abc"},
    };
    MakeDataGrid();
    grid->OnGetEditorType = TGetEditorTypeEvent(&kind, &Kind::Get);
    int row = 0;
    for (const auto& c : cases) {
        kind.kind = c.kind;
        Go(1, row);
        grid->ShowEditor();
        Paste(c.pasted);
        EXPECT_EQ(grid->Cells(1, row), c.result) << "kind " << int(c.kind) << " pasted " << c.pasted;
        ++row;
    }
    // At the caret, replacing the selection.
    kind.kind = etDigits;
    Go(1, 12);
    Type("19");
    SendMessageA(Editor(), EM_SETSEL, 1, 1);
    Paste("23");
    EXPECT_EQ(grid->Cells(1, 12), "1239");
}

TEST_F(AdvKeys, LengthLimit)
{
    MakeDataGrid();
    Go(1, 1);
    grid->ShowEditor();
    grid->AdvEditor()->SetLengthLimit(5);
    Type("abcdef");
    EXPECT_EQ(grid->Cells(1, 1), "abcde");
    Key(VK_BACK);
    EXPECT_EQ(grid->Cells(1, 1), "abcd");
    Paste("xy");  // would make 6
    EXPECT_EQ(grid->Cells(1, 1), "abcd");
    Paste("x");
    EXPECT_EQ(grid->Cells(1, 1), "abcdx");
    SendMessageA(Editor(), EM_SETSEL, 0, -1);
    Paste("123456");
    EXPECT_EQ(grid->Cells(1, 1), "abcdx");
    // A full cell still takes Enter.
    grid->SetCells(1, 1, "abcdx");
    Key(VK_RETURN);
    EXPECT_EQ(grid->Row(), 2);
}

TEST(AdvCapitalize, Names)
{
    struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"jan mcdonald", "Jan McDonald"}, {"o'brien-smith", "O'Brien-Smith"}, {"ANNA MARIA", "Anna Maria"},
        {"mcintosh", "McIntosh"},         {"louis iii", "Louis III"},          {"jan ii", "Jan II"},
        {"", ""},                         {"a.b,c", "A.B,C"},                  {"łukasz", "łukasz"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TAdvStringGrid::CapitalizeName(c.in), c.out) << c.in;
}

TEST_F(AdvKeys, CompletionFromLookupItems)
{
    MakeDataGrid();
    grid->SetLookup(true);
    grid->LookupItems()->Add("Warszawa");
    grid->LookupItems()->Add("Wrocław");
    Go(1, 3);
    Type("W");
    EXPECT_EQ(EditorText(), "Warszawa");
    DWORD start = 0, end = 0;
    SendMessageA(Editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 8u);
    Type("r");
    EXPECT_EQ(EditorText(), "Wrocław");
    // Backspace takes the completion away for that stroke.
    Key(VK_BACK);
    EXPECT_EQ(EditorText(), "Wr");
}

TEST_F(AdvKeys, LookupHistoryKeepsWhatWasTyped)
{
    MakeDataGrid();
    grid->SetLookupHistory(true);
    Go(1, 3);
    Type("Poznań");
    FocusElsewhere();
    EXPECT_GE(grid->LookupItems()->IndexOf("Poznań"), 0);
}

TEST_F(AdvKeys, IncrementalSearch)
{
    grid = MakeGrid(3, 6, {{}, {"", "Adam"}, {"", "Barbara"}, {"", "Bogdan"}, {"", "Celina"}, {"", "bolek"}});
    grid->Navigation()->AutoGotoWhenSorted = true;
    FocusWindow(grid->Handle());
    Type("b");
    EXPECT_EQ(grid->Row(), 2);
    Type("c");
    EXPECT_EQ(grid->Row(), 4);
    grid->Navigation()->AutoGotoIncremental = true;
    Key(VK_UP);  // a movement key clears the search
    Type("bo");
    EXPECT_EQ(grid->Row(), 3);
    Type("l");
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->FindIncrementalRow("X"), -1);
}

TEST_F(AdvKeys, InsertAndDeleteRowKeys)
{
    grid = MakeGrid(2, 4, {{}, {"", "a"}, {"", "b"}, {"", "c"}});
    grid->Navigation()->AllowInsertRow = true;
    grid->Navigation()->AllowDeleteRow = true;
    grid->OnAutoInsertRow = TIndexEvent(&events, &Events::Inserted);
    grid->OnAutoDeleteRow = TIndexEvent(&events, &Events::Deleted);
    FocusWindow(grid->Handle());
    Go(1, 2);
    Key(VK_INSERT);
    EXPECT_EQ(ColumnText(grid, 1, 1, 4), "a||b|c");
    EXPECT_EQ(grid->Row(), 2);
    grid->Navigation()->InsertPosition = pInsertAfter;
    Key(VK_INSERT);
    EXPECT_EQ(ColumnText(grid, 1, 1, 5), "a|||b|c");
    EXPECT_EQ(grid->Row(), 3);
    Key(VK_DELETE);
    EXPECT_EQ(ColumnText(grid, 1, 1, 4), "a||b|c");
    EXPECT_EQ(grid->Row(), 3);
    Go(1, 2);
    Key(VK_DELETE);
    EXPECT_EQ(ColumnText(grid, 1, 1, 3), "a|b|c");
    Go(1, 3);
    Key(VK_DELETE);  // the last row: the one above becomes current
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(events.log, (std::vector<std::string>{"inserted 2", "inserted 3", "deleted 3", "deleted 2", "deleted 3"}));
    // One data row left under the fixed one: emptied, not deleted.
    grid->SetRowCount(2);
    grid->SetCells(1, 1, "ostatni");
    Go(1, 1);
    Key(VK_DELETE);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Cells(1, 1), "");
    // Delete with Ctrl, or with Shift while the clipboard keys are off, is
    // the row key all the same.
    grid->SetRowCount(4);
    for (TShiftState shift : {TShiftState(ssCtrl), TShiftState(ssShift)}) {
        Go(1, 1);
        const int rows = grid->RowCount();
        Key(VK_DELETE, shift);
        EXPECT_EQ(grid->RowCount(), rows - 1) << shift;
    }
}

TEST_F(AdvKeys, ARemovedRowIsNeverValidated)
{
    MakeDataGrid();
    grid->Navigation()->AllowDeleteRow = true;
    grid->OnCellValidate = TCellValidateEvent(&events, &Events::Validate);
    events.refuse = true;  // a refusal would write the cell back
    grid->SetCells(1, 14, "ostatni");
    grid->SetCells(1, 13, "przedostatni");
    // The last row goes by its key, then by a call: each time the row above
    // becomes current without a click, and the next move validates nothing.
    Go(1, 14);
    Key(VK_DELETE);
    EXPECT_EQ(grid->RowCount(), 14);
    EXPECT_EQ(grid->Row(), 13);
    Go(1, 10);
    EXPECT_EQ(grid->Row(), 10);
    Go(1, 13);
    grid->RemoveRows(13, 1);
    EXPECT_EQ(grid->Row(), 12);
    Go(1, 5);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_TRUE(grid->ValidateCell(""));
    EXPECT_TRUE(events.log.empty()) << events.log.front();
    EXPECT_EQ(grid->RowCount(), 13);
}

namespace {

// A node over the row and the one after it.
TAdvStringGrid* Node(TAdvStringGrid* grid, int row)
{
    grid->SetEnableGraphics(true);
    PutNode(grid, row, 2);
    return grid;
}

// One condition in the grid's filter, not applied yet.
TAdvStringGrid* Filter(TAdvStringGrid* grid, int col, const char* condition)
{
    TFilterData* data = grid->Filter()->Add();
    data->Column = static_cast<short>(col);
    data->Condition = condition;
    return grid;
}

} // namespace

// The edit of a cell is validated where that cell went when rows or columns
// moved under it, and not at all when it is gone; a refusal never writes
// into another cell. Rows hold the letters d, D, dd (a to i below a header).
TEST_F(AdvKeys, AnEditFollowsItsCellThroughRowAndColumnChanges)
{
    using TStep = void (*)(TAdvStringGrid*);
    auto none = [](TAdvStringGrid*) {};
    struct {
        const char* name;
        TStep before;  // before d's value is edited
        TStep change;
        int col, row;  // where d's value is then (-1: gone)
        bool typed = true;
    } cases[] = {
        {"rows inserted above", none, [](TAdvStringGrid* g) { g->InsertRows(1, 1); }, 1, 5},
        {"rows inserted below", none, [](TAdvStringGrid* g) { g->InsertRows(6, 2); }, 1, 4},
        {"rows removed above", none, [](TAdvStringGrid* g) { g->RemoveRows(1, 2); }, 1, 2},
        {"its row removed", none, [](TAdvStringGrid* g) { g->RemoveRows(3, 2); }, -1, -1},
        {"a column inserted before", none, [](TAdvStringGrid* g) { g->InsertCols(0, 1); }, 2, 4},
        {"a column removed before", none, [](TAdvStringGrid* g) { g->RemoveCols(0, 1); }, 0, 4},
        {"its column removed", none, [](TAdvStringGrid* g) { g->RemoveCols(1, 1); }, -1, -1},
        {"rows cut off below it", none, [](TAdvStringGrid* g) { g->SetRowCount(6); }, 1, 4},
        {"its row cut off, rows added back", none, [](TAdvStringGrid* g) { g->SetRowCount(3); g->SetRowCount(10); },
         -1, -1},
        {"its column cut off, columns added back", none,
         [](TAdvStringGrid* g) { g->SetColCount(1); g->SetColCount(3); }, -1, -1},
        {"its row moved up", none, [](TAdvStringGrid* g) { g->MoveRow(4, 1); }, 1, 1},
        {"a row moved across it", none, [](TAdvStringGrid* g) { g->MoveRow(2, 6); }, 1, 3},
        {"a column moved across it", none, [](TAdvStringGrid* g) { g->MoveColumn(0, 2); }, 0, 4},
        {"sorted", [](TAdvStringGrid* g) { g->SetSortDirection(sdDescending); },
         [](TAdvStringGrid* g) { g->SortRows(); }, 1, 6},
        {"a node above expanded", [](TAdvStringGrid* g) { Node(g, 1)->ContractNode(1); },
         [](TAdvStringGrid* g) { g->ExpandNode(1); }, 1, 4},
        {"a node above contracted", [](TAdvStringGrid* g) { Node(g, 1); },
         [](TAdvStringGrid* g) { g->ContractNode(1); }, 1, 3},
        {"its row contracted into a node", [](TAdvStringGrid* g) { Node(g, 3); },
         [](TAdvStringGrid* g) { g->ContractNode(3); }, -1, -1},
        {"a filter above taken off", [](TAdvStringGrid* g) { Filter(g, 0, "!b")->SetFilterActive(true); },
         [](TAdvStringGrid* g) { g->SetFilterActive(false); }, 1, 4},
        {"a filter above put on", [](TAdvStringGrid* g) { Filter(g, 0, "!b"); },
         [](TAdvStringGrid* g) { g->SetFilterActive(true); }, 1, 3},
        {"its row filtered out", [](TAdvStringGrid* g) { Filter(g, 1, "!x"); },
         [](TAdvStringGrid* g) { g->SetFilterActive(true); }, -1, -1},
        // The key inserts a row before the current one, which stays current:
        // nothing was edited, so Down validates nothing.
        {"the Insert key", [](TAdvStringGrid* g) { g->Navigation()->AllowInsertRow = true; },
         [](TAdvStringGrid*) { PressKey(VK_INSERT); }, -1, -1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        delete grid;
        grid = MakeGrid(3, 10);
        grid->SetFixedCols(0);
        grid->SetOptions(grid->Options() | goEditing);
        for (int r = 0; r < 10; ++r) {
            const std::string letter(1, static_cast<char>('a' + r - 1));
            grid->SetCells(0, r, r == 0 ? "h" : letter);
            grid->SetCells(1, r, r == 0 ? "H" : std::string(1, static_cast<char>('A' + r - 1)));
            grid->SetCells(2, r, r == 0 ? "hh" : letter + letter);
        }
        grid->OnCellValidate = TCellValidateEvent(&events, &Events::Validate);
        events.refuse = true;
        events.log.clear();
        FocusWindow(grid->Handle());
        c.before(grid);
        int d = 0;
        while (grid->Cells(0, d) != "d")
            ++d;
        Go(1, d);
        if (c.typed)
            Type("x");
        c.change(grid);
        PumpMessages(10);
        if (grid->EditorMode()) {
            EXPECT_EQ(EditorText(), grid->Cells(grid->Col(), grid->Row())) << "the editor shows its own cell";
        }
        const int row = grid->Row();
        Key(VK_DOWN);
        if (c.col >= 0) {
            EXPECT_EQ(events.log, std::vector<std::string>{"validate " + std::to_string(c.col) + "," +
                                                           std::to_string(c.row) + " x"});
            EXPECT_EQ(grid->Cells(c.col, c.row), "D");
            EXPECT_EQ(grid->Col(), c.col);
            EXPECT_EQ(grid->Row(), c.row);
        } else {
            EXPECT_TRUE(events.log.empty()) << events.log.front();
            EXPECT_EQ(grid->Row(), row + 1);
        }
        // Every row shown holds its own letter only.
        for (int r = 0; r < grid->RowCount(); ++r) {
            std::string letters;
            for (int col = 0; col < grid->ColCount(); ++col)
                for (char ch : grid->Cells(col, r))
                    letters += static_cast<char>(tolower(static_cast<unsigned char>(ch)));
            EXPECT_TRUE(letters.find_first_not_of(letters.substr(0, 1)) == std::string::npos)
                << "row " << r << ": " << letters;
        }
    }
}

// The current cell of a focused grid that selects ranges, as the personal
// data are edited: in the grid's colours with the focus frame, and in the
// selection's only with goDrawFocusSelected or as part of a selected row; the
// other selected cells in the selection's.
TEST_F(AdvKeys, TheFocusedCellShowsTheSelectionColoursOnlyWhenAsked)
{
    MakeDataGrid();
    const TColor selection = 0x00336699, selectionText = 0x0000FFFF;
    grid->SetSelectionColor(selection);
    grid->SetSelectionTextColor(selectionText);
    grid->SetCells(1, 2, "Kowalski");
    grid->SetCells(1, 3, "Nowak");
    Go(1, 2);
    Key(VK_DOWN, ssShift);  // rows 2 and 3 selected, row 3 current
    ASSERT_EQ(grid->Row(), 3);
    ASSERT_EQ(grid->Selection().Top, 2);
    ASSERT_EQ(GetFocus(), grid->Handle());
    // The picture holds the window's frame too.
    POINT origin{0, 0};
    ClientToScreen(grid->Handle(), &origin);
    RECT outer;
    GetWindowRect(grid->Handle(), &outer);
    const int dx = origin.x - outer.left, dy = origin.y - outer.top;
    const TColor window = static_cast<TColor>(GetSysColor(COLOR_WINDOW));
    const TColor text = static_cast<TColor>(ColorToRGB(grid->Font()->Color()));
    struct {
        TGridOptions options;
        int row;
        TColor back, ink, noInk;
    } cases[] = {
        {0, 3, window, text, selectionText},
        {0, 2, selection, selectionText, text},
        {goDrawFocusSelected, 3, selection, selectionText, text},
        {goDrawFocusSelected, 2, selection, selectionText, text},
        // Whole rows: the current cell is part of its row, in its colours.
        {goRowSelect, 3, selection, selectionText, text},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "options " << c.options << " row " << c.row);
        grid->SetOptions((grid->Options() & ~(goDrawFocusSelected | goRowSelect)) | c.options);
        grid->Repaint();
        auto picture = CaptureWindow(grid->Handle());
        const TRect cell = grid->CellRect(1, c.row);
        int inked = 0, wrong = 0;
        // Inside the focus frame.
        for (int y = cell.top + 2; y < cell.bottom - 2; ++y)
            for (int x = cell.left + 2; x < cell.right - 2; ++x) {
                const TColor p = picture->Canvas()->Pixels(x + dx, y + dy);
                inked += p == c.ink;
                wrong += p == c.noInk;
            }
        EXPECT_EQ(picture->Canvas()->Pixels(cell.right - 4 + dx, cell.bottom - 4 + dy), c.back);
        EXPECT_GT(inked, 0);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(AdvKeys, LosingTheFocusValidates)
{
    MakeDataGrid();
    grid->OnCellValidate = TCellValidateEvent(&events, &Events::Validate);
    Go(1, 8);
    Type("tekst");
    FocusElsewhere();
    EXPECT_EQ(events.log, std::vector<std::string>{"validate 1,8 tekst"});
}

TEST_F(AdvKeys, ClipboardShortCuts)
{
    grid = MakeGrid(3, 4, {{}, {"", "a", "b"}, {"", "c", "d"}});
    grid->Navigation()->AllowInsertRow = true;
    grid->Navigation()->AllowDeleteRow = true;
    FocusWindow(grid->Handle());
    // Without the setting the keys copy nothing, and Shift+Insert is no row
    // key either.
    Clipboard()->SetAsText("przed");
    grid->SetSelection(TGridRect{1, 1, 2, 2});
    Key('C', ssCtrl);
    EXPECT_EQ(Clipboard()->GetAsText(), "przed");
    Key(VK_INSERT, ssShift);
    EXPECT_EQ(grid->RowCount(), 4);

    grid->Navigation()->AllowClipboardShortCuts = true;
    struct {
        WORD key;
        TShiftState shift;
    } copies[] = {{'C', ssCtrl}, {VK_INSERT, ssCtrl}};
    for (const auto& c : copies) {
        Clipboard()->SetAsText("");
        grid->SetSelection(TGridRect{1, 1, 2, 2});
        Key(c.key, c.shift);
        EXPECT_EQ(Clipboard()->GetAsText(), "a\tb\r\nc\td") << c.key;
    }
    grid->SetSelection(TGridRect{1, 1, 1, 2});
    Key('X', ssCtrl);
    EXPECT_EQ(Clipboard()->GetAsText(), "a\r\nc");
    EXPECT_EQ(ColumnText(grid, 1, 1, 2), "|");
    grid->SetSelection(TGridRect{2, 1, 2, 1});
    Key(VK_DELETE, ssShift);
    EXPECT_EQ(Clipboard()->GetAsText(), "b");
    EXPECT_EQ(grid->RowCount(), 4) << "Shift+Delete deletes no row";
    grid->SetSelection(TGridRect{1, 2, 1, 2});
    Key('V', ssCtrl);
    EXPECT_EQ(grid->Cells(1, 2), "b");
    Clipboard()->SetAsText("x\ty");
    grid->SetSelection(TGridRect{1, 3, 1, 3});
    Key(VK_INSERT, ssShift);
    EXPECT_EQ(grid->Cells(1, 3), "x");
    EXPECT_EQ(grid->Cells(2, 3), "y");
    EXPECT_EQ(grid->RowCount(), 4);
}

// The grid's control editors through real key messages: what each keeps,
// what it hands back, what reaches the cell, and Escape, which leaves the
// cell as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "grid/AdvUtil.h"
#include "tests/grid_core/GridFixture.h"

namespace {

struct Events {
    std::map<std::pair<int, int>, TEditorType> kinds;
    std::vector<std::string> log;
    bool refuse = false;

    void Kind(TObject*, int col, int row, TEditorType& kind)
    {
        const auto it = kinds.find({col, row});
        if (it != kinds.end())
            kind = it->second;
    }
    void Spin(TObject*, int col, int row, int value, bool up)
    {
        log.push_back("spin " + std::to_string(col) + "," + std::to_string(row) + " " + std::to_string(value) +
                      (up ? " up" : " down"));
    }
    void Combo(TObject*, int, int, int index, const std::string& text)
    {
        log.push_back("combo " + std::to_string(index) + " " + text);
    }
    void Ellipsis(TObject*, int col, int row, std::string& s)
    {
        log.push_back("ellipsis " + std::to_string(col) + "," + std::to_string(row) + " " + s);
        s = "wybrane";
    }
    void Validate(TObject*, int, int, std::string& value, bool& valid)
    {
        log.push_back("validate " + value);
        valid = !refuse;
    }
};

class GridEditors : public testing::Test {
protected:
    void SetUp() override
    {
        TestForm();
        oldBeeper = SetGridBeeper(&Silent);
        grid = MakeGrid(4, 6);
        grid->SetOptions(grid->Options() | goEditing);
        grid->OnGetEditorType = TGetEditorTypeEvent(&events, &Events::Kind);
        FocusWindow(grid->Handle());
    }
    void TearDown() override
    {
        delete grid;
        SetGridBeeper(oldBeeper);
    }
    static void Silent() {}
    // Makes the cell current and opens its editor, as F2 does.
    void Open(int col, int row, TEditorType kind)
    {
        events.kinds[{col, row}] = kind;
        grid->SetCol(col);
        grid->SetRow(row);
        FocusWindow(grid->Handle());
        grid->ShowEditor();
        PumpMessages(20);
    }
    void Key(WORD vk)
    {
        PressKey(vk);
        PostMessageA(GetFocus(), WM_KEYUP, vk, 0xC0000001);
        PumpMessages(20);
    }
    bool GridHasFocus() { return GetFocus() == grid->Handle(); }

    TAdvStringGrid* grid = nullptr;
    Events events;
    TGridBeeper oldBeeper = nullptr;
};

} // namespace

TEST_F(GridEditors, ControlsAreMadeHiddenAtConstruction)
{
    TWinControl* controls[] = {grid->ComboEditor(), grid->SpinEditor(), grid->DateEditor(), grid->CheckBoxEditor(),
                               grid->EditButtonEditor(), grid->UnitEditor(), grid->ButtonEditor(), grid->DragButton()};
    for (TWinControl* c : controls) {
        ASSERT_TRUE(c);
        EXPECT_FALSE(c->Visible());
        EXPECT_FALSE(c->Enabled());
        EXPECT_EQ(c->Parent(), grid);
    }
    EXPECT_EQ(grid->EditButtonEditor()->ButtonCaption(), "...");
    EXPECT_EQ(grid->UnitEditor()->ButtonCaption(), "...");
    EXPECT_EQ(grid->SpinEditor()->BorderStyle(), bsNone);
    EXPECT_EQ(grid->ComboEditor()->ButtonWidth(), 16);

    // Common controls before 4.70: no picker, and the date kinds open nothing.
    const auto old = TAdvStringGrid::SetCommCtrlVersionReader([] { return 0x00040045; });
    auto* older = MakeGrid(2, 2);
    TAdvStringGrid::SetCommCtrlVersionReader(old);
    EXPECT_EQ(older->DateEditor(), nullptr);
    older->SetOptions(older->Options() | goEditing);
    older->OnGetEditorType = TGetEditorTypeEvent(&events, &Events::Kind);
    events.kinds[{1, 1}] = etDate;
    FocusWindow(older->Handle());
    older->SetCol(1);
    older->SetRow(1);
    older->ShowEditor();
    EXPECT_FALSE(older->ControlShowing());
    EXPECT_EQ(GetFocus(), older->Handle());
    delete older;
}

TEST_F(GridEditors, SpinPageKeysStayWithinTheBounds)
{
    grid->SetCells(1, 1, "95");
    grid->SpinEditor()->SetIncrement(10);
    grid->OnSpinClick = TSpinClickEvent(&events, &Events::Spin);
    Open(1, 1, etSpin);
    ASSERT_TRUE(grid->ControlShowing());
    ASSERT_EQ(GetFocus(), grid->SpinEditor()->Handle());
    EXPECT_EQ(grid->SpinEditor()->Value(), 95);
    struct {
        WORD key;
        const char* text;
    } keys[] = {{VK_PRIOR, "95"}, {VK_HOME, "100"}, {VK_NEXT, "90"}, {VK_END, "0"}, {VK_NEXT, "0"}};
    for (const auto& k : keys) {
        Key(k.key);
        EXPECT_EQ(grid->SpinEditor()->Text(), k.text) << k.key;
    }
    EXPECT_EQ(events.log, (std::vector<std::string>{"spin 1,1 95 up", "spin 1,1 100 up", "spin 1,1 90 down",
                                                    "spin 1,1 0 down", "spin 1,1 0 down"}));
    EXPECT_EQ(grid->Cells(1, 1), "95") << "nothing reaches the cell before Enter";
    TypeText("\r");
    EXPECT_EQ(grid->SpinEditor()->Text(), "0") << "the Enter character is swallowed";
    Key(VK_RETURN);
    EXPECT_EQ(grid->Cells(1, 1), "0");
    EXPECT_FALSE(grid->SpinEditor()->Visible());
    EXPECT_FALSE(grid->ControlShowing());
    EXPECT_TRUE(GridHasFocus());
}

TEST_F(GridEditors, SpinDownValidatesAndMovesTheGrid)
{
    grid->SetCells(1, 3, "5");
    grid->OnCellValidate = TCellValidateEvent(&events, &Events::Validate);
    Open(1, 3, etSpin);
    Key(VK_PRIOR);
    Key(VK_DOWN);
    EXPECT_EQ(grid->Cells(1, 3), "6");
    EXPECT_EQ(grid->Row(), 4) << "Down moves the grid on";
    EXPECT_EQ(events.log, std::vector<std::string>{"validate 6"});
}

TEST_F(GridEditors, SpinEscapeLeavesTheCell)
{
    // An empty cell stays empty (it reads as 0 in the spin edit).
    Open(1, 2, etSpin);
    Key(VK_PRIOR);
    Key(VK_ESCAPE);
    EXPECT_EQ(grid->Cells(1, 2), "");
    EXPECT_FALSE(grid->ControlShowing());
    EXPECT_TRUE(GridHasFocus());
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(GridEditors, ASpinCellHoldingTextOpensNothingAndLeavesTheTextEditor)
{
    grid->SetCells(1, 1, "12a");
    events.kinds[{1, 1}] = etSpin;
    grid->SetCol(1);
    grid->SetRow(1);
    EXPECT_THROW(grid->ShowEditor(), EAdvGridError);
    EXPECT_FALSE(grid->ControlShowing()) << "no control shows";
    EXPECT_FALSE(grid->SpinEditor()->Visible());
    grid->SetHeight(60);
    grid->SetTopRow(3);
    EXPECT_EQ(grid->TopRow(), 3);
    grid->SetTopRow(1);
    grid->SetHeight(300);
    EXPECT_EQ(grid->Cells(1, 1), "12a") << "a scroll writes no spin value into the cell";
    // The next cell's text editor takes typed characters.
    grid->HideEditor();
    grid->SetCol(2);
    FocusWindow(grid->Handle());
    TypeText("ok");
    EXPECT_EQ(grid->Cells(2, 1), "ok");
    EXPECT_EQ(grid->EditorType(), etText);
}

TEST_F(GridEditors, ComboKeysEscapeAndChanges)
{
    grid->SetCells(1, 1, "Gdańsk");
    grid->ComboEditor()->Items()->Add("Gdańsk");
    grid->ComboEditor()->Items()->Add("Kraków");
    grid->ComboEditor()->Items()->Add("Poznań");
    grid->OnComboChange = TComboChangeEvent(&events, &Events::Combo);
    Open(1, 1, etComboEdit);
    ASSERT_TRUE(grid->ControlShowing());
    EXPECT_EQ(grid->ComboEditor()->Text(), "Gdańsk");
    EXPECT_EQ(grid->ComboEditor()->Style(), csDropDown);
    grid->ComboEditor()->SetSel(0, -1);
    TypeText("X");
    EXPECT_EQ(grid->ComboEditor()->Text(), "X");
    Key(VK_LEFT);  // an editable combo keeps Left and Right
    EXPECT_TRUE(grid->ControlShowing());
    Key(VK_ESCAPE);
    EXPECT_EQ(grid->Cells(1, 1), "Gdańsk");
    EXPECT_TRUE(GridHasFocus());
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(events.log, std::vector<std::string>{"combo -1 X"});

    // The pick list: the cell's item chosen (the first for a text that is
    // none); Right goes to the grid, which moves.
    events.log.clear();
    grid->SetCells(1, 2, "nieznane");
    Open(1, 2, etComboList);
    EXPECT_EQ(grid->ComboEditor()->Style(), csDropDownList);
    EXPECT_EQ(grid->ComboEditor()->ItemIndex(), 0);
    Key(VK_DOWN);  // kept: the next item
    EXPECT_EQ(grid->ComboEditor()->ItemIndex(), 1);
    EXPECT_EQ(events.log, std::vector<std::string>{"combo 1 Kraków"});
    Key(VK_RIGHT);
    EXPECT_EQ(grid->Cells(1, 2), "Kraków");
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_TRUE(GridHasFocus());
}

TEST_F(GridEditors, ComboLookupAndHistory)
{
    grid->ComboEditor()->Items()->Add("Abc");
    grid->ComboEditor()->Items()->Add("Abd");
    grid->SetLookup(true);
    grid->SetLookupHistory(true);
    Open(1, 1, etComboEdit);
    auto typeKey = [&](char c) {
        PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
        PostMessageA(GetFocus(), WM_KEYUP, VkKeyScanA(c) & 0xFF, 0xC0000001);
        PumpMessages(20);
    };
    typeKey('a');
    typeKey('b');
    EXPECT_EQ(grid->ComboEditor()->Text(), "abc") << "the typed part keeps its case";
    EXPECT_EQ(grid->ComboEditor()->SelStart(), 2);
    EXPECT_EQ(grid->ComboEditor()->SelLength(), 1);
    Key(VK_BACK);
    EXPECT_EQ(grid->ComboEditor()->Text(), "ab") << "Backspace switches completion off";
    typeKey('x');
    EXPECT_EQ(grid->ComboEditor()->Text(), "abx");
    // Leaving with a new text adds it; leaving empty adds nothing.
    grid->SetFocus();
    PumpMessages(20);
    EXPECT_EQ(grid->Cells(1, 1), "abx");
    EXPECT_EQ(grid->ComboEditor()->Items()->Count(), 3);
    EXPECT_FALSE(grid->ControlShowing());
    grid->SetCells(1, 2, "");
    Open(1, 2, etComboEdit);
    grid->SetFocus();
    PumpMessages(20);
    EXPECT_EQ(grid->ComboEditor()->Items()->Count(), 3);
}

TEST_F(GridEditors, DatePickerEscapeAndEnter)
{
    ASSERT_TRUE(grid->DateEditor());
    Open(1, 1, etDate);
    ASSERT_TRUE(grid->ControlShowing());
    Key(VK_ESCAPE);
    EXPECT_EQ(grid->Cells(1, 1), "") << "an empty cell stays empty";
    EXPECT_TRUE(GridHasFocus());

    grid->SetCells(1, 2, "15.03.2024");
    Open(1, 2, etDateUpDown);
    EXPECT_EQ(grid->DateEditor()->Kind(), dtkDate);
    EXPECT_EQ(grid->DateEditor()->DateMode(), dmUpDown);
    EXPECT_EQ(DateToStr(grid->DateEditor()->Date()), "15.03.2024");
    grid->DateEditor()->SetDate(EncodeDate(2024, 3, 16));
    Key(VK_RETURN);
    EXPECT_EQ(grid->Cells(1, 2), "16.03.2024");

    grid->SetCells(1, 3, "nie data");
    Open(1, 3, etTime);
    EXPECT_EQ(grid->DateEditor()->Kind(), dtkTime);
    grid->DateEditor()->SetTime(EncodeTime(7, 45, 0, 0));
    Key(VK_DOWN);
    EXPECT_EQ(grid->Cells(1, 3), "07:45:00");
    EXPECT_EQ(grid->Row(), 4);
}

TEST_F(GridEditors, EditButtonEllipsisEnterAndEscape)
{
    grid->SetCells(1, 1, "stare");
    grid->OnEllipsClick = TEllipsClickEvent(&events, &Events::Ellipsis);
    Open(1, 1, etEditButton);
    ASSERT_TRUE(grid->ControlShowing());
    TGridEditBtn* edit = grid->EditButtonEditor();
    EXPECT_EQ(edit->Text(), "stare");
    PostMessageA(edit->Button()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(edit->Button()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpMessages(30);
    EXPECT_EQ(events.log, std::vector<std::string>{"ellipsis 1,1 stare"});
    EXPECT_EQ(edit->Text(), "wybrane");
    EXPECT_EQ(grid->Cells(1, 1), "wybrane");
    edit->SetText("nowe");
    Key(VK_ESCAPE);
    EXPECT_EQ(grid->Cells(1, 1), "wybrane") << "Escape leaves the cell";
    EXPECT_TRUE(GridHasFocus());

    // Enter validates; a refusal keeps the editor with the cell's text.
    grid->OnCellValidate = TCellValidateEvent(&events, &Events::Validate);
    events.log.clear();
    events.refuse = true;
    Open(1, 1, etEditButton);
    edit->SetText("zle");
    Key(VK_RETURN);
    EXPECT_EQ(events.log, std::vector<std::string>{"validate zle"});
    EXPECT_TRUE(grid->ControlShowing());
    EXPECT_EQ(edit->Text(), "wybrane");
    EXPECT_EQ(grid->Cells(1, 1), "wybrane");
    events.refuse = false;
    edit->SetText("dobre");
    Key(VK_RETURN);
    EXPECT_EQ(grid->Cells(1, 1), "dobre");
    EXPECT_FALSE(grid->ControlShowing());
}

TEST_F(GridEditors, UnitCellsSplitAtTheNumber)
{
    struct {
        const char* cell;
        const char* text;
        const char* unit;
    } cases[] = {
        {"12.5 kg", "12.5", " kg"},
        {"5 m2", "5", " m2"},  // the unit's digit stays in the unit
        {"-3,75zł", "-3,75", "zł"},
        {"kg", "", "kg"},
        {"", "", ""},
    };
    TGridUnitEditBtn* edit = grid->UnitEditor();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        grid->SetCells(1, 1, c.cell);
        Open(1, 1, etUnitButton);
        ASSERT_TRUE(grid->ControlShowing());
        EXPECT_EQ(edit->Text(), c.text);
        EXPECT_EQ(edit->UnitID(), c.unit);
        Key(VK_RETURN);
        EXPECT_EQ(grid->Cells(1, 1), c.cell) << "back as it was";
    }
    // Escape leaves the cell, whatever the edit holds.
    grid->SetCells(1, 1, "12.5 kg");
    Open(1, 1, etUnitButton);
    edit->SetText("99");
    Key(VK_ESCAPE);
    EXPECT_EQ(grid->Cells(1, 1), "12.5 kg");
    // A refused validation empties the edit.
    grid->OnCellValidate = TCellValidateEvent(&events, &Events::Validate);
    events.refuse = true;
    Open(1, 1, etUnitButton);
    edit->SetText("7");
    Key(VK_RETURN);
    EXPECT_EQ(events.log, std::vector<std::string>{"validate 7 kg"});
    EXPECT_TRUE(grid->ControlShowing());
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(grid->Cells(1, 1), "12.5 kg");
}

TEST_F(GridEditors, CheckBoxSpaceAndEscape)
{
    grid->SetCells(1, 1, "Zgoda");
    Open(1, 1, etCheckBox);
    TGridCheckBox* box = grid->CheckBoxEditor();
    ASSERT_TRUE(grid->ControlShowing());
    EXPECT_EQ(box->Caption(), "Zgoda");
    EXPECT_FALSE(box->Checked());
    Key(VK_SPACE);
    EXPECT_TRUE(box->Checked());
    Key(VK_SPACE);
    EXPECT_FALSE(box->Checked());
    box->SetCaption("zmieniony");
    Key(VK_ESCAPE);
    EXPECT_EQ(box->Caption(), "Zgoda");
    EXPECT_TRUE(GridHasFocus());
    EXPECT_EQ(grid->Cells(1, 1), "Zgoda") << "the check box writes nothing";
    Open(1, 1, etCheckBox);
    Key(VK_DOWN);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_FALSE(grid->ControlShowing());
}

TEST_F(GridEditors, ButtonSpaceAndEscape)
{
    grid->SetCells(1, 1, "Przycisk");
    grid->OnEllipsClick = TEllipsClickEvent(&events, &Events::Ellipsis);
    Open(1, 1, etButton);
    TGridButton* button = grid->ButtonEditor();
    ASSERT_TRUE(grid->ControlShowing());
    const TRect cell = grid->CellRect(1, 1);
    EXPECT_EQ(button->Left(), cell.left - 1);
    EXPECT_EQ(button->Width(), cell.right - cell.left + 2);
    EXPECT_EQ(button->Caption(), "Przycisk");
    Key(VK_SPACE);
    EXPECT_EQ(events.log, std::vector<std::string>{"ellipsis 1,1 Przycisk"});
    EXPECT_EQ(button->Caption(), "wybrane");
    EXPECT_EQ(GetFocus(), button->Handle()) << "Space keeps the focus";
    Key(VK_ESCAPE);
    EXPECT_FALSE(button->Visible());
    EXPECT_FALSE(grid->ControlShowing());
    EXPECT_TRUE(GridHasFocus());
    Open(1, 1, etButton);
    Key(VK_RIGHT);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_FALSE(button->Visible());
}

TEST_F(GridEditors, LosingTheFocusStoresAndHides)
{
    grid->SetCells(1, 1, "3");
    Open(1, 1, etSpin);
    Key(VK_PRIOR);
    auto* other = new TEdit(TestForm());
    other->SetBounds(500, 400, 60, 20);
    other->SetParent(TestForm());
    FocusWindow(other->Handle());
    EXPECT_EQ(grid->Cells(1, 1), "4");
    EXPECT_FALSE(grid->SpinEditor()->Visible());
    EXPECT_FALSE(grid->ControlShowing());
    delete other;
}

TEST_F(GridEditors, ADroppedDownComboKeepsUpAndDownAndHandsBackLeftAndRight)
{
    grid->SetCells(1, 1, "Kraków");
    grid->ComboEditor()->Items()->Add("Gdańsk");
    grid->ComboEditor()->Items()->Add("Kraków");
    grid->ComboEditor()->Items()->Add("Poznań");
    Open(1, 1, etComboEdit);
    grid->ComboEditor()->SetDroppedDown(true);
    PumpMessages(30);
    ASSERT_TRUE(grid->ComboEditor()->DroppedDown());
    Key(VK_DOWN);
    EXPECT_TRUE(grid->ControlShowing()) << "the open list keeps Down";
    EXPECT_EQ(grid->Row(), 1);
    Key(VK_RIGHT);
    EXPECT_FALSE(grid->ControlShowing());
    EXPECT_EQ(grid->Col(), 2) << "Right goes to the grid";
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_TRUE(GridHasFocus());
}

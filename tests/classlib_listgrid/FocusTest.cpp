// Contracts that need the input focus or the screen: the grid's editor,
// always shown or opened on demand, writing into its cell at every
// keystroke; the focus entering and leaving the grid with its editor; the
// colours the grid paints; a caption edited in the list view.
#include <gtest/gtest.h>

#include <memory>

#include "TestForm.h"
#include "classlib/ListView.h"
#include "classlib/PngWriter.h"

namespace {

std::string RectText(const TRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

struct Recorder {
    std::vector<std::string> log;
    void SetEditText(TObject*, int col, int row, const std::string& value)
    {
        log.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value);
    }
    void Enter(TObject*) { log.push_back("enter"); }
    void Exit(TObject*) { log.push_back("exit"); }
    void Edited(TObject*, TListItem* item, std::string& text)
    {
        log.push_back("edited " + item->Caption() + " -> " + text);
        text += "!";
    }
};

class GridFocus : public testing::Test {
protected:
    void SetUp() override { TestForm(); }
    void TearDown() override
    {
        delete grid;
        delete other;
    }
    template <class T>
    T* Place(T* g)
    {
        grid = g;
        grid->SetBounds(10, 10, 320, 120);
        grid->SetParent(TestForm());
        return g;
    }
    TStringGrid* grid = nullptr;
    TListView* other = nullptr;
    Recorder rec;
};

TEST_F(GridFocus, FixedSelectedAndOtherCellsHaveTheirColours)
{
    TStringGrid* g = Place(new TStringGrid(TestForm()));
    g->SetFixedColor(clYellow);
    g->Repaint();
    std::unique_ptr<TBitmap> picture = CaptureWindow(g->Handle());
    const int border = 2;  // the sunken edge
    const struct {
        const char* name;
        int x, y;
        TColor color;
    } pixels[] = {
        {"fixed cell", 30, 10, clYellow},          {"current cell", 120, 45, clHighlight},
        {"other cell", 180, 70, clWindow},         {"line between cells", 100, 49, clSilver},
        {"line below the fixed row", 100, 24, clBlack}, {"line beside the fixed column", 64, 60, clBlack},
    };
    for (const auto& p : pixels) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(picture->Canvas()->Pixels(border + p.x, border + p.y), static_cast<TColor>(ColorToRGB(p.color)));
    }
}


TEST_F(GridFocus, TheEditorIsAlwaysShownAndWritesThroughOnEveryKeystroke)
{
    TDataGrid* g = Place(new TDataGrid(TestForm()));
    g->OnSetEditText = TSetEditEvent(&rec, &Recorder::SetEditText);
    g->SetCells(1, 1, "Kowalski");
    FocusWindow(g->Handle());
    PumpMessages(30);

    TInplaceEdit* editor = g->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(g->EditorMode());
    EXPECT_TRUE(IsWindowVisible(editor->Handle()));
    EXPECT_EQ(GetFocus(), editor->Handle());
    EXPECT_EQ(RectText(editor->BoundsRect()), RectText(g->CellRect(1, 0)));

    const std::string typed = "Łódź";
    for (size_t i = 1; i <= typed.size(); ++i) {
        TypeText(typed.substr(i - 1, 1));
        EXPECT_EQ(g->Cells(1, 0), typed.substr(0, i));
    }
    PostMessageA(GetFocus(), WM_CHAR, '\b', 1);
    PumpMessages(20);
    EXPECT_EQ(g->Cells(1, 0), "Łód");
    const std::vector<std::string> told{"1,0=Ł", "1,0=Łó", "1,0=Łód", "1,0=Łódź", "1,0=Łód"};
    EXPECT_EQ(rec.log, told);

    // Down takes the editor to the next cell, with that cell's text, all
    // of it selected so that typing replaces it.
    PressKey(VK_DOWN);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(editor->Text(), "Kowalski");
    EXPECT_EQ(RectText(editor->BoundsRect()), RectText(g->CellRect(1, 1)));
    TypeText("Nowak");
    EXPECT_EQ(g->Cells(1, 1), "Nowak");

    // Tab leaves the value column for the next row's value cell.
    PressKey(VK_TAB);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(GetFocus(), editor->Handle());
    TypeText("QMX");
    EXPECT_EQ(g->Cells(1, 2), "QMX");

    // A cell written by the program shows in the open editor.
    g->SetCells(1, 2, "Firma sp. z o.o.");
    EXPECT_EQ(editor->Text(), "Firma sp. z o.o.");
    EXPECT_EQ(g->Cells(1, 0), "Łód");
}


TEST_F(GridFocus, WithoutAlwaysShowTheEditorOpensOnDemand)
{
    TStringGrid* g = Place(new TStringGrid(TestForm()));
    g->SetOptions(g->Options() | goEditing);
    g->SetCells(2, 2, "stary");
    g->SetCol(2);
    g->SetRow(2);
    FocusWindow(g->Handle());
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(g->InplaceEditor(), nullptr);

    // A typed character opens the editor and replaces the text.
    TypeText("n");
    PumpMessages(20);
    ASSERT_TRUE(g->EditorMode());
    EXPECT_EQ(g->Cells(2, 2), "n");
    TypeText("owy");
    EXPECT_EQ(g->Cells(2, 2), "nowy");

    // Enter closes it and opens it again; Escape closes it; F2 opens it.
    TypeText("\r");
    EXPECT_FALSE(g->EditorMode());
    EXPECT_FALSE(IsWindowVisible(g->InplaceEditor()->Handle()));
    EXPECT_EQ(GetFocus(), g->Handle());
    TypeText("\r");
    EXPECT_TRUE(g->EditorMode());
    TypeText("\x1B");
    EXPECT_FALSE(g->EditorMode());
    PressKey(VK_F2);
    EXPECT_TRUE(g->EditorMode());
    EXPECT_EQ(g->InplaceEditor()->Text(), "nowy");

    // The text the editor starts with may come from OnGetEditText.
    struct Upper {
        void GetEditText(TObject*, int, int, std::string& value) { value = "[" + value + "]"; }
    } upper;
    g->OnGetEditText = TGetEditEvent(&upper, &Upper::GetEditText);
    g->SetCells(2, 3, "z");
    PressKey(VK_DOWN);
    EXPECT_EQ(g->InplaceEditor()->Text(), "[z]");
    PressKey(VK_UP);
    g->OnGetEditText.Clear();

    // Moving with the editor open takes it along.
    PressKey(VK_UP);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_TRUE(IsWindowVisible(g->InplaceEditor()->Handle()));
    EXPECT_EQ(RectText(g->InplaceEditor()->BoundsRect()), RectText(g->CellRect(2, 1)));
}


TEST_F(GridFocus, FocusEntersAndLeavesTheGridTogetherWithItsEditor)
{
    TDataGrid* g = Place(new TDataGrid(TestForm()));
    other = new TListView(TestForm());
    other->SetBounds(350, 10, 100, 100);
    other->SetParent(TestForm());
    g->OnEnter = TNotifyEvent(&rec, &Recorder::Enter);
    g->OnExit = TNotifyEvent(&rec, &Recorder::Exit);
    FocusWindow(other->Handle());
    FocusWindow(g->Handle());
    PumpMessages(30);
    ASSERT_NE(g->InplaceEditor(), nullptr);
    EXPECT_EQ(GetFocus(), g->InplaceEditor()->Handle());
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(rec.log, std::vector<std::string>{"enter"});
    FocusWindow(other->Handle());
    EXPECT_EQ(rec.log, (std::vector<std::string>{"enter", "exit"}));
    EXPECT_FALSE(IsWindowVisible(g->InplaceEditor()->Handle()));
    // Back into the editor directly: the grid is entered again.
    ShowWindow(g->InplaceEditor()->Handle(), SW_SHOWNA);
    FocusWindow(g->InplaceEditor()->Handle());
    FocusWindow(other->Handle());
    EXPECT_EQ(rec.log, (std::vector<std::string>{"enter", "exit", "enter", "exit"}));
}

TEST(ListViewFocus, AnEditedCaptionGoesThroughOnEditedIntoTheItem)
{
    TListView view(TestForm());
    view.SetBounds(10, 10, 300, 100);
    view.SetViewStyle(vsReport);
    view.Columns()->Add()->SetCaption("nazwa");
    view.Items()->Add()->SetCaption("pierwszy");
    view.SetParent(TestForm());
    Recorder rec;
    view.OnEdited = TLVEditedEvent(&rec, &Recorder::Edited);
    FocusWindow(view.Handle());
    HWND edit = reinterpret_cast<HWND>(SendMessageA(view.Handle(), LVM_EDITLABELA, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "nowy");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    PumpMessages(50);
    EXPECT_EQ(rec.log, std::vector<std::string>{"edited pierwszy -> nowy"});
    EXPECT_EQ(view.Items()->Item(0)->Caption(), "nowy!");
    char text[32] = "";
    LVITEMA it{};
    it.pszText = text;
    it.cchTextMax = sizeof text;
    SendMessageA(view.Handle(), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&it));
    EXPECT_STREQ(text, "nowy!");
    view.SetParent(nullptr);
}

} // namespace

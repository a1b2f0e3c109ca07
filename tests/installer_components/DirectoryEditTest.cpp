// The directory edit: the button's place and the text's room, the folder
// dialog it opens (answered through its hook), the keys, dropped names, the
// caret, the disabled text's colour, and letter case and selection.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

#include "ComponentsForm.h"
#include "classlib/Clipbrd.h"
#include "classlib/FormReader.h"
#include "installer/ToolEdit.h"
#include "tests/support/TestUtil.h"

namespace {

struct DialogSeen {
    std::string start;
    std::string answer;
    int calls = 0;
    void Hook(TSelectDirDlg* dlg, int& result)
    {
        ++calls;
        start = dlg->DirEdit->Text();
        if (answer.empty()) {
            result = mrCancel;
            return;
        }
        dlg->DirEdit->SetText(answer);
        dlg->OKButtonClick(dlg);
        result = dlg->ModalResult();
    }
};

class DirectoryEdit : public testing::Test {
protected:
    void SetUp() override
    {
        edit = new TDirectoryEdit(ComponentsForm());
        edit->SetParent(ComponentsForm());
        edit->SetBounds(140, 300, 269, 20);
        edit->SetCtl3D(false);
        edit->DialogOptions = SelectDirOpt(sdAllowCreate) | SelectDirOpt(sdPerformCreate);
        edit->HandleNeeded();
        SelectDirectoryHook = TSelectDirectoryHook(&seen, &DialogSeen::Hook);
    }
    void TearDown() override
    {
        SelectDirectoryHook = TSelectDirectoryHook();
        delete edit;
    }
    TDirectoryEdit* edit = nullptr;
    DialogSeen seen;
    TempFolder temp;
};

TEST_F(DirectoryEdit, ButtonSitsAtTheRightAndTheTextStopsBeforeIt)
{
    EXPECT_EQ(edit->ButtonWidth(), 21);
    TWinControl* panel = edit->ButtonPanel();
    EXPECT_EQ(panel->Left(), 269 - 21 - 2);
    EXPECT_EQ(panel->Top(), 2);
    EXPECT_EQ(panel->Height(), 16);
    RECT r{};
    SendMessageA(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_LE(r.right, edit->ClientWidth() - 21 - 2);
    EXPECT_FALSE(edit->Glyph()->Empty());
    EXPECT_LE(edit->Glyph()->Width(), 15);
    edit->SetButtonWidth(1);
    EXPECT_FALSE(panel->Visible());
}

TEST_F(DirectoryEdit, ButtonAndAltDownOpenTheDialogAtTheFolderOrTheRoot)
{
    edit->SetText(temp.Path() + "nie ma");
    edit->Button()->Click();
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.start, GetCurrentDir().substr(0, 3));
    EXPECT_EQ(edit->Text(), temp.Path() + "nie ma");

    const std::string made = temp.Path() + "a\\b";
    seen.answer = made;
    edit->Perform(WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
    EXPECT_EQ(seen.calls, 2);
    EXPECT_EQ(edit->Text(), made);
    EXPECT_TRUE(DirectoryExists(made));
    EXPECT_EQ(edit->InitialDir, made);

    edit->SetReadOnly(true);
    edit->Button()->Click();
    edit->Perform(WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
    EXPECT_EQ(seen.calls, 2);
}

struct Refuser {
    void Before(TObject*, std::string&, bool& action) { action = false; }
    void After(TObject*, std::string&, bool&) { throw Exception("po dialogu"); }
};

TEST_F(DirectoryEdit, BeforeDialogCanRefuseAndErrorModeComesBackAfterAnError)
{
    Refuser refuser;
    edit->SetText("x");
    edit->OnBeforeDialog = TExecOpenDialogEvent(&refuser, &Refuser::Before);
    edit->Button()->Click();
    EXPECT_EQ(seen.calls, 0);
    EXPECT_EQ(edit->Text(), "x");
    edit->OnBeforeDialog = TExecOpenDialogEvent();
    edit->OnAfterDialog = TExecOpenDialogEvent(&refuser, &Refuser::After);
    const UINT before = SetErrorMode(0);
    SetErrorMode(before);
    EXPECT_THROW(edit->DoButtonClick(), Exception);
    EXPECT_EQ(SetErrorMode(before), before);
    EXPECT_EQ(seen.calls, 1);
}

TEST_F(DirectoryEdit, WithoutDirectInputOnlyTheButtonChangesTheText)
{
    edit->SetText("c:\\stary");
    edit->SetDirectInput(false);
    EXPECT_NE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_READONLY, 0);
    Clipboard()->SetAsText("wklejony");
    edit->Perform(WM_PASTE, 0, 0);
    edit->SelectAll();
    edit->Perform(WM_CUT, 0, 0);
    EXPECT_EQ(edit->Text(), "c:\\stary");
    seen.answer = temp.Path().substr(0, temp.Path().size() - 1);
    edit->Button()->Click();
    EXPECT_EQ(edit->Text(), seen.answer);
}

// The ellipsis glyph: three 2 x 2 dots on rows 1 and 2, with the gaps the
// button's width leaves.
TEST_F(DirectoryEdit, EllipsisGlyphDots)
{
    edit->SetGlyphKind(gkEllipsis);
    TBitmap* glyph = edit->Glyph();
    ASSERT_EQ(glyph->Width(), edit->ButtonWidth() - 6);
    ASSERT_EQ(glyph->Height(), 4);
    // Width 15: gap (15 - 6) / 2 = 4, limited to 3; first dot at (15 - 6 - 6) / 2 = 1.
    std::string rows[4];
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < glyph->Width(); ++x)
            rows[y] += static_cast<COLORREF>(glyph->Canvas()->Pixels(x, y)) == RGB(0, 0, 0) ? '#' : '.';
    EXPECT_EQ(rows[0], "...............");
    EXPECT_EQ(rows[1], ".##...##...##..");
    EXPECT_EQ(rows[2], ".##...##...##..");
    EXPECT_EQ(rows[3], "...............");
}

// A drop as the shell hands it over, built here: a name longer than 255
// characters arrives whole; a file gives its folder; several names only the
// first without MultipleDirs.
HGLOBAL DropOf(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& n : names)
        list += n + '\0';
    list += '\0';
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(h));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(h);
    return h;
}

TEST_F(DirectoryEdit, DroppedNamesFillTheText)
{
    edit->SetAcceptFiles(true);
    std::string deep = temp.Path();
    while (deep.size() < 300)
        deep += "folder_o_dlugiej_nazwie\\";
    const std::string file = temp.Path() + "plik.txt";
    WriteWholeFile(file, "x");
    edit->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({deep, file})), 0);
    EXPECT_EQ(edit->Text(), deep);
    edit->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({file})), 0);
    EXPECT_EQ(edit->Text(), temp.Path());
    edit->MultipleDirs = true;
    edit->SetText("c:\\a");
    edit->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({"c:\\b", "c:\\c", "c:\\d"})), 0);
    EXPECT_EQ(edit->Text(), "c:\\a;c:\\b;c:\\c;c:\\d");
}

// The caret of the focused edit is as high as the smaller of the text
// heights of the system font and of the edit's font: here the system's.
TEST_F(DirectoryEdit, TheCaretTakesTheSmallerTextHeight)
{
    edit->Font()->SetHeight(-24);
    edit->SetBounds(140, 300, 269, 40);
    edit->SetText("c:\\qmx");
    UpdateWindow(edit->Handle());
    SetFocus(edit->Handle());
    ASSERT_EQ(GetFocus(), edit->Handle());
    POINT caret{};
    GetCaretPos(&caret);
    const std::unique_ptr<TBitmap> picture = ClientPicture(edit);
    int height = 0;
    while (caret.y + height < edit->ClientHeight() &&
           static_cast<COLORREF>(picture->Canvas()->Pixels(caret.x, caret.y + height)) == RGB(0, 0, 0))
        ++height;
    const int system = FontTextHeight(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    ASSERT_LT(system, FontTextHeight(edit->Font()->Handle()));
    EXPECT_EQ(height, system);
}

// The colours the edit asks its text to be drawn in: the font's, but the
// grey of disabled text while it is disabled, unless it stands on that grey.
// (Wine's edit greys a disabled edit's text itself, on any background.)
TEST_F(DirectoryEdit, ADisabledEditAsksForGreyText)
{
    edit->Font()->SetColor(clNavy);
    const struct {
        bool enabled;
        TColor background, text;
    } rows[] = {{true, clWindow, clNavy}, {false, clWindow, clGrayText}, {false, clGrayText, clNavy}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.enabled << " " << r.background);
        edit->SetEnabled(r.enabled);
        edit->SetColor(r.background);
        TBitmap bitmap(4, 4);
        for (UINT message : {CN_CTLCOLOREDIT, CN_CTLCOLORSTATIC}) {
            edit->Perform(message, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()),
                          reinterpret_cast<LPARAM>(edit->Handle()));
            EXPECT_EQ(GetTextColor(bitmap.Canvas()->Handle()), ColorToRGB(r.text));
        }
    }
}

// Letter case and the selection's visibility without the focus, from the
// form text.
TEST(DirectoryEditForm, CharCaseAndHideSelection)
{
    ComponentsForm();
    const struct {
        const char* lines;
        DWORD style;
        const char* typed;
    } rows[] = {
        {"", 0, "Ab"},
        {"    CharCase = ecUpperCase\n    HideSelection = False\n", ES_UPPERCASE | ES_NOHIDESEL, "AB"},
        {"    CharCase = ecLowerCase\n", ES_LOWERCASE, "ab"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.lines);
        auto* form = new TForm(Application);
        ReadFormText(form, std::string("object fKatalog: TForm\n  object de: TDirectoryEdit\n    Width = 269\n") +
                               r.lines + "  end\nend\n");
        auto* de = dynamic_cast<TDirectoryEdit*>(form->FindComponent("de"));
        ASSERT_NE(de, nullptr);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(de->Handle(), GWL_STYLE));
        EXPECT_EQ(style & (ES_UPPERCASE | ES_LOWERCASE | ES_NOHIDESEL), r.style);
        for (char c : std::string("Ab"))
            de->Perform(WM_CHAR, static_cast<unsigned char>(c), 1);
        EXPECT_EQ(de->Text(), r.typed);
        form->Free();
    }
}

} // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/FileCtrl.h"
#include "classlib/Forms.h"
#include "classlib/Mask.h"
#include "classlib/Menus.h"
#include "classlib/RichEdit.h"
#include "classlib/RichEditDraw.h"
#include "tests/support/TestUtil.h"

namespace {

void StartUnits()
{
    static bool started = false;
    if (!started) {
        InitFormsUnit();
        InitRichEditUnit();
        InitMenusUnit();
        started = true;
    }
}

TEST(ShortCut, KeysAndShiftStatesBothWays)
{
    struct Row {
        WORD key;
        TShiftState shift;
        TShortCut expected;
    } rows[] = {
        {VK_DOWN, ssAlt, 32808},
        {'C', ssCtrl, 0x4043},
        {VK_INSERT, ssShift, 0x202D},
        {VK_F2, ssShift | ssCtrl | ssAlt, 0xE071},
        // Mouse buttons held are no part of a short cut.
        {VK_RETURN, ssLeft | ssDouble, VK_RETURN},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        EXPECT_EQ(ShortCut(r.key, r.shift), r.expected);
        WORD key = 0;
        TShiftState shift = 0;
        ShortCutToKey(r.expected, key, shift);
        EXPECT_EQ(key, r.key);
        EXPECT_EQ(shift, r.shift & (ssShift | ssCtrl | ssAlt));
    }
}

struct MenuRecorder {
    std::vector<std::string> log;
    TMenuItem* answer = nullptr;
    void Clicked(TObject* sender) { log.push_back("click " + static_cast<TMenuItem*>(sender)->Caption()); }
    void Popup(TObject*) { log.push_back("popup"); }
    void Hook(TPopupMenu*, int x, int y, TMenuItem*& chosen)
    {
        log.push_back("shown at " + std::to_string(x) + "," + std::to_string(y));
        chosen = answer;
    }
};

TEST(PopupMenu, ChosenItemIsClickedAfterOnPopupAndDisabledOnesAreNot)
{
    StartUnits();
    MenuRecorder rec;
    TPopupMenu menu(nullptr);
    menu.OnPopup = TNotifyEvent(&rec, &MenuRecorder::Popup);
    auto* copy = new TMenuItem(&menu);
    copy->SetCaption("Kopiuj");
    copy->OnClick = TNotifyEvent(&rec, &MenuRecorder::Clicked);
    auto* paste = new TMenuItem(nullptr);  // freed by the menu
    paste->SetCaption("Wklej");
    paste->SetEnabled(false);
    paste->OnClick = TNotifyEvent(&rec, &MenuRecorder::Clicked);
    menu.Items()->Add(copy);
    menu.Items()->Add(paste);
    EXPECT_TRUE(menu.AutoPopup());

    PopupMenuHook = TPopupMenuHook(&rec, &MenuRecorder::Hook);
    rec.answer = copy;
    menu.Popup(10, 20);
    rec.answer = paste;
    menu.Popup(1, 2);
    rec.answer = nullptr;
    menu.Popup(3, 4);
    PopupMenuHook = TPopupMenuHook();
    EXPECT_EQ(rec.log, (std::vector<std::string>{"popup", "shown at 10,20", "click Kopiuj", "popup", "shown at 1,2",
                                                 "popup", "shown at 3,4"}));
}

TEST(MaskEdit, HoldsItsMaskAndEditsAsThePlainEdit)
{
    StartUnits();
    TCustomMaskEdit edit(nullptr);
    EXPECT_TRUE(edit.AutoSelect());
    edit.SetEditMask("!99/99/0000;1;_");
    edit.SetText("12");
    EXPECT_EQ(edit.EditMask(), "!99/99/0000;1;_");
    EXPECT_EQ(edit.Text(), "12");
}

// The directory dialog driven through its hook as a person would.
struct DirScript {
    std::vector<std::string> steps;  // "text X", "ok", "dbl N", "cancel"
    std::vector<std::string> seen;   // DirEdit's text before each step
    void Run(TSelectDirDlg* dlg, int& result)
    {
        for (const std::string& step : steps) {
            seen.push_back(dlg->DirEdit->Text());
            if (step.rfind("text ", 0) == 0) {
                dlg->DirEdit->SetText(step.substr(5));
            } else if (step.rfind("dbl ", 0) == 0) {
                dlg->DirList->SetItemIndex(dlg->DirList->Items()->IndexOf(step.substr(4)));
                dlg->DirListDblClick(dlg->DirList);
            } else if (step == "ok") {
                dlg->OKButton->Click();
            } else if (step == "cancel") {
                dlg->CancelButton->Click();
            }
            if (dlg->ModalResult() != mrNone)
                break;
        }
        result = dlg->ModalResult() == mrNone ? mrCancel : dlg->ModalResult();
    }
};

struct DialogAnswers {
    std::vector<std::string> asked;
    int answer = mrNo;
    void Hook(const TMsgDlgRequest& request, int& result)
    {
        asked.push_back(request.Text);
        result = request.DlgType == mtConfirmation ? answer : mrOk;
    }
};

TEST(SelectDirectory, CreatesOnlyWhatTheOptionsAllowAndStaysOpenOnRefusal)
{
    StartUnits();
    TempFolder temp;
    const std::string missing = temp.Path() + "a\\b\\c";
    const std::string blocker = temp.Path() + "plik";
    WriteWholeFile(blocker, "x");
    const TSelectDirOpts create = SelectDirOpt(sdAllowCreate) | SelectDirOpt(sdPerformCreate);
    struct Row {
        const char* what;
        TSelectDirOpts options;
        std::string typed;
        int confirm;
        bool ok;
        bool exists;
        size_t questions;
    } rows[] = {
        {"existing folder", 0, temp.Path() + ".", mrNo, true, true, 0},
        {"missing, no creating", 0, missing, mrNo, false, false, 1},
        {"missing, allowed only", SelectDirOpt(sdAllowCreate), missing, mrNo, true, false, 0},
        {"missing, created with parents", create, missing, mrNo, true, true, 0},
        {"prompt answered No", create | SelectDirOpt(sdPrompt), missing + "x", mrNo, false, false, 1},
        {"prompt answered Yes", create | SelectDirOpt(sdPrompt), missing + "y", mrYes, true, true, 1},
        {"cannot be created", create, blocker + "\\d", mrNo, false, false, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        DirScript script;
        script.steps = {"text " + r.typed, "ok", "cancel"};
        DialogAnswers answers;
        answers.answer = r.confirm;
        SelectDirectoryHook = TSelectDirectoryHook(&script, &DirScript::Run);
        MessageDlgHook = TMessageDlgHook(&answers, &DialogAnswers::Hook);
        std::string dir = temp.Path();
        const bool ok = SelectDirectory(dir, r.options, 0);
        SelectDirectoryHook = TSelectDirectoryHook();
        MessageDlgHook = TMessageDlgHook();
        EXPECT_EQ(ok, r.ok);
        EXPECT_EQ(dir, r.ok ? r.typed : temp.Path());
        EXPECT_EQ(DirectoryExists(r.typed), r.exists);
        EXPECT_EQ(answers.asked.size(), r.questions);
        // A refusal leaves the dialog open: the Cancel that follows is what
        // closes it.
        EXPECT_EQ(script.seen.size(), r.ok ? 2u : 3u);
    }
}

TEST(SelectDirectory, StartsAtTheFolderOrTheRootAndWalksTheTree)
{
    StartUnits();
    TempFolder temp;
    ForceDirectories(temp.Path() + "x\\y");
    DirScript script;
    script.steps = {"dbl x", "dbl y", "dbl ..", "ok"};
    SelectDirectoryHook = TSelectDirectoryHook(&script, &DirScript::Run);
    std::string dir = temp.Path();
    ASSERT_TRUE(SelectDirectory(dir, 0, 0));
    std::string missing = temp.Path() + "nie ma";
    script = DirScript();
    script.steps = {"cancel"};
    EXPECT_FALSE(SelectDirectory(missing, 0, 0));
    SelectDirectoryHook = TSelectDirectoryHook();

    const std::string base = temp.Path().substr(0, temp.Path().size() - 1);
    EXPECT_EQ(AnsiLowerCase(dir), AnsiLowerCase(base + "\\x"));
    EXPECT_EQ(missing, temp.Path() + "nie ma");
    ASSERT_EQ(script.seen.size(), 1u);
    EXPECT_EQ(script.seen[0], GetCurrentDir().substr(0, 3));
}

// Rich text drawn into a bitmap: its red letters land inside the rectangle
// and nowhere else, on the background given, whichever way the rich edit
// draws.
TEST(RichEditDraw, TextLandsInsideTheRectangleOnly)
{
    StartUnits();
    TForm* form = new TForm(Application);
    form->SetBounds(0, 0, 200, 100);
    auto* rich = new TRichEdit(form);
    rich->SetParent(form);
    rich->SetBorderStyle(bsNone);
    rich->SetBounds(0, 0, 0, 20);
    rich->SetVisible(false);
    rich->Lines()->SetText("{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\fs40 MMMM WWWW}");
    TBitmap bitmap(200, 80);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, 200, 80));
    const TRect cell = Rect(40, 20, 140, 60);
    DrawRichEditText(rich->Handle(), bitmap.Canvas()->Handle(), cell, clYellow);
    int redInside = 0, redOutside = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 200; ++x) {
            const COLORREF c = static_cast<COLORREF>(bitmap.Canvas()->Pixels(x, y));
            const bool red = GetRValue(c) > 160 && GetGValue(c) < 90 && GetBValue(c) < 90;
            const bool inside = x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
            (inside ? redInside : redOutside) += red;
        }
    SavePicture(bitmap, TempFolder().Path(), "richtext.png");
    EXPECT_GT(redInside, 20);
    EXPECT_EQ(redOutside, 0);
    form->Free();
}

} // namespace

// The UI driver against a program in another process (uidriver_target.exe):
// it finds and reads the program's forms and components, acts on them the
// way a person would, answers dialogs and waits with time limits that name
// what they waited for.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TestUtil.h"
#include "tools/uidriver/UiDriver.h"

namespace {

class UiDriver : public testing::Test {
protected:
    void SetUp() override
    {
        TUiStartOptions options;
        options.Environment = {"QMX_PROBA=Środowisko próby", "QMX_ZRODLO=" + folder.Path() + "nowy.txt",
                               "QMX_CEL=" + folder.Path() + "stary.txt"};
        app = std::make_unique<TUiProcess>(TestProgramFolder() + "uidriver_target.exe", options);
        app->WaitForForm("fProba");
    }

    std::vector<std::string> Log() { return app->Component("fProba", "xLog").List("Lines"); }
    // The driver's message for what fails; empty when nothing does.
    static std::string ErrorOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const EUiDriverError& e) {
            return e.what();
        }
        return {};
    }

    TempFolder folder;
    std::unique_ptr<TUiProcess> app;
};

using Lines = std::vector<std::string>;

TEST_F(UiDriver, ReadsFormsAndComponentsOfTheOtherProcess)
{
    const TUiDump dump = app->Dump();
    const TUiForm* form = dump.FindForm("fProba");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Class, "TProbaForm");
    EXPECT_EQ(form->Value("Caption"), "Próba sterownika");
    EXPECT_TRUE(form->Showing());
    EXPECT_FALSE(form->Modal());
    EXPECT_TRUE(IsWindow(form->Handle()));
    // The same form by class and by caption.
    EXPECT_EQ(dump.FindForm("TProbaForm"), form);
    EXPECT_EQ(dump.FindForm("Próba sterownika"), form);

    const TUiComponent* button = form->Find("bDodaj");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Class, "TTargetButton");
    EXPECT_EQ(button->Value("Caption"), "&Dodaj");
    char cls[64] = "";
    GetClassNameA(button->Handle(), cls, sizeof cls);
    EXPECT_TRUE(std::string(cls).ends_with("TTargetButton")) << cls;
    EXPECT_EQ(GetAncestor(button->Handle(), GA_ROOT), form->Handle());
    EXPECT_EQ(form->Find("bWylaczony")->Value("Enabled"), "False");

    // A windowless control: no window, a place inside the form's.
    const TUiComponent* box = form->Find("xPudelko");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Handle(), nullptr);
    RECT inForm{}, boxRect = box->ScreenRect(), formRect = form->ScreenRect();
    EXPECT_EQ(boxRect.right - boxRect.left, 40);
    EXPECT_TRUE(IntersectRect(&inForm, &boxRect, &formRect) && EqualRect(&inForm, &boxRect));

    EXPECT_EQ(form->Find("lbLista")->List("Items"), (Lines{"Pierwszy", "Drugi", "Trzeci"}));
    EXPECT_EQ(form->Find("lbLista")->Value("ItemIndex"), "-1");
    EXPECT_EQ(form->Find("lbLista")->Value("Checked[2]"), "0");
    EXPECT_EQ(form->Find("lSrodowisko")->Value("Caption"), "Środowisko próby");
    EXPECT_EQ(app->Component("TProbaForm", "cZgoda").Value("Checked"), "False");
}

TEST_F(UiDriver, ClicksWindowedButtonsAndWindowlessControls)
{
    app->Click("fProba", "bDodaj");
    // The click has been handled when Click returns.
    EXPECT_EQ(Log(), (Lines{"click bDodaj"}));
    app->Click("fProba", "xPudelko");
    EXPECT_EQ(Log(), (Lines{"click bDodaj", "click xPudelko"}));
}

TEST_F(UiDriver, TicksACheckBoxOnlyWhenItIsNotAsAsked)
{
    app->SetChecked("fProba", "cZgoda", true);
    EXPECT_EQ(app->Component("fProba", "cZgoda").Value("Checked"), "True");
    app->SetChecked("fProba", "cZgoda", true);
    EXPECT_EQ(Log(), (Lines{"click cZgoda"}));
    app->SetChecked("fProba", "cZgoda", false);
    EXPECT_EQ(app->Component("fProba", "cZgoda").Value("Checked"), "False");
    EXPECT_EQ(Log().size(), 2u);
}

TEST_F(UiDriver, SetsEditTextsWithOneChangeNotification)
{
    // The system's own edit, and the class library's edit and memo.
    app->SetText("fProba", "eImie", "Zażółć gęślą");
    EXPECT_EQ(app->Component("fProba", "eImie").Value("Text"), "Zażółć gęślą");
    app->SetText("fProba", "eNazwa", "plik ą");
    app->SetText("fProba", "mOpis", "raz\r\ndwa");
    EXPECT_EQ(app->Component("fProba", "mOpis").List("Lines"), (Lines{"raz", "dwa"}));
    EXPECT_EQ(Log(), (Lines{"change eImie=Zażółć gęślą", "change eNazwa", "change mOpis"}));
}

TEST_F(UiDriver, PressesKeysInTheProgramsThread)
{
    // Characters typed, named keys and a held Shift, one stroke at a time;
    // what a stroke left (the caret) is there for the next one.
    app->Keys("fProba", "mOpis", "Ala{Back}a{Home}X{End}{Enter}żó{Shift+Home}{Del}b");
    EXPECT_EQ(app->Component("fProba", "mOpis").List("Lines"), (Lines{"XAla", "b"}));
    app->Keys("fProba", "eNazwa", "{{x}");
    EXPECT_EQ(app->Component("fProba", "eNazwa").Value("Text"), "{x}");
    const std::string error = ErrorOf([&] { app->Keys("fProba", "eNazwa", "{Nope}"); });
    EXPECT_NE(error.find("unknown key {Nope}"), std::string::npos) << error;
}

TEST_F(UiDriver, SelectsAndTicksItemsAndSetsCells)
{
    app->SelectItem("fProba", "lbLista", 1);
    EXPECT_EQ(app->Component("fProba", "lbLista").Value("ItemIndex"), "1");
    app->SelectItem("fProba", "lbLista", "Trzeci");
    EXPECT_EQ(app->Component("fProba", "lbLista").Value("ItemIndex"), "2");
    app->SetItemChecked("fProba", "lbLista", 0, true);
    app->SetCell("fProba", "gSiatka", 1, 2, "Jan Kowalski");
    const TUiComponent list = app->Component("fProba", "lbLista");
    EXPECT_EQ(list.List("Checked"), (Lines{"1", "0", "0"}));
    EXPECT_EQ(app->Component("fProba", "gSiatka").Value("Cells[1,2]"), "Jan Kowalski");
    EXPECT_EQ(Log(), (Lines{"select 1", "select 2", "tick 0 1", "cell 1,2=Jan Kowalski"}));

    app->SetProperty("fProba", "lSrodowisko", "Caption", "inny");
    EXPECT_EQ(app->Component("fProba", "lSrodowisko").Value("Caption"), "inny");
}

TEST_F(UiDriver, TicksListViewItemsAndTypesIntoGridCells)
{
    const TUiComponent before = app->Component("fProba", "lvProgramy");
    EXPECT_EQ(before.List("Items"), (Lines{"Edytor", "Przeglądarka"}));
    EXPECT_EQ(before.List("Items[1].SubItems"), (Lines{"30 MB"}));
    EXPECT_EQ(before.List("Checked"), (Lines{"0", "1"}));
    EXPECT_EQ(before.Value("ItemIndex"), "-1");

    // A tick already as asked is left alone; the others are told as a click
    // on the box tells them.
    app->SetItemChecked("fProba", "lvProgramy", 0, true);
    app->SetItemChecked("fProba", "lvProgramy", 1, false);
    app->SetItemChecked("fProba", "lvProgramy", 1, false);
    EXPECT_EQ(app->Component("fProba", "lvProgramy").List("Checked"), (Lines{"1", "0"}));
    EXPECT_EQ(Log(), (Lines{"click lvProgramy", "state Edytor ticked", "click lvProgramy", "state Przeglądarka"}));

    app->SelectItem("fProba", "lvProgramy", "Przeglądarka");
    const TUiComponent list = app->Component("fProba", "lvProgramy");
    EXPECT_EQ(list.Value("ItemIndex"), "1");
    EXPECT_EQ(list.Value("Selected[1]"), "1");
    EXPECT_EQ(Log().back(), "click lvProgramy");

    // A cell is chosen as by a click, then gets the text as typed.
    app->SetCell("fProba", "sgDane", 1, 1, "Jan Kowalski");
    const TUiComponent grid = app->Component("fProba", "sgDane");
    EXPECT_EQ(grid.Value("Cells[1,1]"), "Jan Kowalski");
    EXPECT_EQ(grid.Value("Cells[0,1]"), "pole b");
    EXPECT_EQ(grid.Value("Cells[1,2]"), "stare");
    EXPECT_EQ(grid.Value("Row"), "1");
    EXPECT_EQ(grid.Value("Col"), "1");
    // The editor open on the cell shows the text, so that what is typed next
    // goes on from it.
    HWND editor = FindWindowExA(grid.Handle(), nullptr, nullptr, nullptr);
    char text[64] = "";
    SendMessageA(editor, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_STREQ(text, "Jan Kowalski");
    app->SetProperty("fProba", "sgDane", "Row", "0");
    EXPECT_EQ(app->Component("fProba", "sgDane").Value("Row"), "0");
    const Lines log = Log();
    EXPECT_EQ(Lines(log.end() - 3, log.end()), (Lines{"click sgDane", "edit 1,1=Jan Kowalski", "click sgDane"}));

    // Keys of neither control are their published properties, whatever text.
    for (const char* name : {"lvProgramy", "sgDane"}) {
        SCOPED_TRACE(name);
        app->SetProperty("fProba", name, "Hint", "podpowiedź");
        EXPECT_EQ(app->Component("fProba", name).Value("Hint"), "podpowiedź");
    }
}

TEST_F(UiDriver, DrivesTheClassLibrarysControlsAndMessageDialog)
{
    app->SetChecked("fProba", "cPotwierdz", true);
    EXPECT_EQ(app->Component("fProba", "cPotwierdz").Value("Checked"), "True");
    app->SelectItem("fProba", "lbPliki", "ć.txt");
    EXPECT_EQ(app->Component("fProba", "lbPliki").Value("ItemIndex"), "2");
    EXPECT_EQ(app->WaitForText("fProba", "lInfo", "Gotowe").Class, "TLabel");

    app->Click("fProba", "bUsun");
    const TUiForm question = app->AnswerDialog("Yes");
    EXPECT_EQ(question.Class, "TMessageForm");
    EXPECT_EQ(question.Find("Message")->Value("Caption"), "Usunąć plik?");
    app->WaitForFormGone("TMessageForm");
    app->Sync();
    EXPECT_EQ(Log(), (Lines{"click cPotwierdz", "click lbPliki", "usun 6"}));
}

TEST_F(UiDriver, RefusesWhatAPersonCouldNotDoAndSaysWhy)
{
    app->SetTimeout(300);
    struct Row {
        const char* what;
        std::function<void()> act;
        const char* message;
    } rows[] = {
        {"disabled button", [&] { app->Click("fProba", "bWylaczony"); }, "bWylaczony is disabled"},
        {"no component", [&] { app->Click("fProba", "bBrak"); }, "form fProba has no component bBrak"},
        {"no form", [&] { app->Click("fBrak", "bDodaj"); }, "there is no form fBrak"},
        {"no item", [&] { app->SelectItem("fProba", "lbLista", "Czwarty"); },
         "fProba.lbLista has no item \"Czwarty\" (it has \"Pierwszy\", \"Drugi\", \"Trzeci\")"},
        {"no such state", [&] { app->SetProperty("fProba", "xPudelko", "Brak", "1"); },
         "could not carry out setting fProba.xPudelko.Brak: xPudelko has no property or state Brak"},
        {"bad value", [&] { app->SetProperty("fProba", "gSiatka", "Width", "szeroko"); },
         "could not carry out setting fProba.gSiatka.Width"},
        {"no list item", [&] { app->SetItemChecked("fProba", "lvProgramy", 2, true); },
         "could not carry out ticking item 2 of fProba.lvProgramy"},
        {"fixed cell", [&] { app->SetCell("fProba", "sgDane", 0, 1, "x"); }, "sgDane has no cell 0,1 to choose"},
        {"cell outside", [&] { app->SetCell("fProba", "sgDane", 1, 3, "x"); }, "sgDane has no cell 1,3 to choose"},
        {"refused cell", [&] { app->SetCell("fProba", "sgDane", 1, 2, "x"); }, "sgDane refused the cell 1,2"},
        {"refused row", [&] { app->SetProperty("fProba", "sgDane", "Row", "2"); }, "sgDane refused the cell 1,2"},
        {"no text", [&] { app->WaitForText("fProba", "lSrodowisko", "nigdy"); },
         "waited 0.3 s in vain for the text \"nigdy\" in fProba.lSrodowisko; it shows \"Środowisko próby\""},
        {"no dialog", [&] { app->AnswerDialog("Yes"); },
         "in vain for a message dialog with a button Yes; showing: TProbaForm fProba"},
        {"no system dialog", [&] { app->AnswerSystemDialog("OK"); }, "no system dialog shows"},
        {"no exit", [&] { app->WaitForExit(); }, "did not end within 0.3 s"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string error = ErrorOf(row.act);
        EXPECT_NE(error.find(row.message), std::string::npos) << error;
    }
    EXPECT_TRUE(Log().empty());
}

TEST_F(UiDriver, AnswersTheProgramsModalForm)
{
    app->Click("fProba", "bPytaj");
    // The question is up, and the program answers inside its modal loop.
    const TUiForm question = app->WaitForForm("dPytanie");
    EXPECT_TRUE(question.Modal());
    // The main form owns the question, which is a form of its own all the same.
    const TUiDump main = app->Dump("fProba");
    ASSERT_EQ(main.Forms.size(), 1u);
    EXPECT_EQ(main.Forms[0].Find("Yes"), nullptr);
    const int limit = app->Timeout();
    app->SetTimeout(300);
    EXPECT_NE(ErrorOf([&] { app->Click("fProba", "bDodaj"); }).find("form fProba is disabled"), std::string::npos);
    app->SetTimeout(limit);

    const TUiForm answered = app->AnswerDialog("No");
    EXPECT_EQ(answered.Name, "dPytanie");
    EXPECT_EQ(answered.Find("lTekst")->Value("Caption"), "Czy na pewno?");
    app->WaitForFormGone("dPytanie");
    app->Sync();
    EXPECT_EQ(Log(), (Lines{"click bPytaj", "click No", "dialog 7"}));
}

TEST_F(UiDriver, AnswersSystemDialogsByButtonText)
{
    app->Click("fProba", "bSystem");
    const std::string texts = app->AnswerSystemDialog("Nie");
    EXPECT_NE(texts.find("Pytanie systemu\n"), std::string::npos) << texts;
    EXPECT_NE(texts.find("Zastąpić plik?\n"), std::string::npos) << texts;
    app->Sync();
    EXPECT_EQ(Log(), (Lines{"click bSystem", "system 7"}));
}

TEST_F(UiDriver, AnswersTheShellsQuestionBeforeAFileIsReplaced)
{
    WriteWholeFile(folder.Path() + "nowy.txt", "nowa treść");
    WriteWholeFile(folder.Path() + "stary.txt", "stara treść");
    app->Click("fProba", "bKopiuj");
    app->AnswerSystemDialog("Tak");
    app->WaitFor("fProba", "xLog", "the copy to end", [](const TUiComponent& c) { return c.List("Lines").size() == 2; });
    EXPECT_EQ(Log(), (Lines{"click bKopiuj", "copy 0"}));
    EXPECT_EQ(ReadWholeFile(folder.Path() + "stary.txt"), "nowa treść");
}

TEST_F(UiDriver, SavesAPictureOfAForm)
{
    const std::string file = folder.Path() + "fProba.png";
    app->SavePng("fProba", file);
    const std::string png = ReadWholeFile(file);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    auto be32 = [&](size_t at) {
        return (unsigned char)png[at] << 24 | (unsigned char)png[at + 1] << 16 | (unsigned char)png[at + 2] << 8 |
               (unsigned char)png[at + 3];
    };
    const RECT r = app->Component("fProba", "").ScreenRect();
    EXPECT_EQ(be32(16), static_cast<unsigned>(r.right - r.left));
    EXPECT_EQ(be32(20), static_cast<unsigned>(r.bottom - r.top));
}

TEST_F(UiDriver, WaitsForTheProgramToEnd)
{
    app->Click("fProba", "bZamknij");
    EXPECT_EQ(app->WaitForExit(), 3);
    EXPECT_NE(ErrorOf([&] { app->WaitForForm("fProba"); }).find("ended with exit code 3"), std::string::npos);
}

} // namespace

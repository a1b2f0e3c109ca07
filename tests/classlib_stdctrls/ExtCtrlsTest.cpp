// Contracts of the notebook (pages read from a form, page changes and their
// event, a change made inside that event, page windows let go and made
// again), the panel's client area, the timer, the progress bar, and a
// picture of a form holding every control.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "StdTestForm.h"
#include "StdTestSupport.h"
#include "classlib/ComCtrls.h"
#include "classlib/PngWriter.h"
#include "tests/support/TestUtil.h"

namespace {

class ExtControls : public testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }
    void TearDown() override { Application->OnException.Clear(); }
};

std::vector<bool> PagesShown(TNotebook* nb)
{
    std::vector<bool> shown;
    for (int i = 0; i < nb->PageCount(); ++i)
        shown.push_back(nb->Page(i)->Visible());
    return shown;
}

// ---------------------------------------------------------------------------
// Notebook

TEST_F(ExtControls, ANotebookReadFromItsFormShowsItsPageWithoutAPageChange)
{
    TStdTestForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form->nb, nullptr);
    // Nothing fired while the form was read: no page change, no text change,
    // no click of the check box that the form ticks.
    EXPECT_EQ(form->Events, std::vector<std::string>{"create page 1"});
    EXPECT_EQ(form->nb->PageIndex(), 1);
    EXPECT_EQ(form->nb->ActivePage(), "Druga");
    EXPECT_EQ(PagesShown(form->nb), (std::vector<bool>{false, true, false}));
    TStrings* pages = form->nb->Pages();
    ASSERT_EQ(pages->Count(), 3);
    EXPECT_EQ(pages->Strings(0), "Pierwsza");
    EXPECT_EQ(pages->Objects(2), form->pgTrzecia);
    EXPECT_EQ(form->pgDruga->HelpContext(), 12);
    EXPECT_EQ(form->eImie->Text(), "Jan");
    EXPECT_TRUE(form->cbZgoda->Checked());
    EXPECT_TRUE(form->rbA->Checked());
    EXPECT_FALSE(form->rbB->Checked());
    EXPECT_EQ(form->mNotatki->Lines()->Count(), 3);
    EXPECT_EQ(form->mNotatki->Lines()->Strings(2), "Trzecia linia");
    const std::vector<std::string> sorted{"Ala", "bąk", "Ęta", "łoś", "żółw"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(form->lbLista->Items()->Strings(i), sorted[i]) << i;
    form->HandleNeeded();  // the window sorts the same way
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(form->lbLista->Items()->Strings(i), sorted[i]) << i;

    // By caption, in any letter case; the page shown, or one that is not
    // there, changes nothing.
    form->Events.clear();
    form->nb->SetActivePage("TRZECIA");
    form->nb->SetPageIndex(2);
    form->nb->SetPageIndex(3);
    form->nb->SetPageIndex(-1);
    form->nb->SetActivePage("Czwarta");
    EXPECT_EQ(form->Events, std::vector<std::string>{"page 2"});
    EXPECT_EQ(PagesShown(form->nb), (std::vector<bool>{false, false, true}));
    // The panel's label sits inside the bevels and the border: 2 + 3 + 2.
    EXPECT_EQ(form->lbOpis->BoundsRect().left, 7);
    EXPECT_EQ(form->lbOpis->Width(), 200 - 14);
    form->Free();
}

TEST_F(ExtControls, APageChangedInsideThePageChangeEventIsTheOneThatStays)
{
    TForm* form = new TForm(Application);
    auto* nb = new TNotebook(form);
    nb->SetParent(form);
    for (const char* caption : {"Start", "Dane", "Koniec"})
        nb->Pages()->Add(caption);
    struct Watcher {
        TNotebook* nb;
        std::vector<std::string> seen;
        void Changed(TObject*)
        {
            std::string shown;
            for (int i = 0; i < nb->PageCount(); ++i)
                if (nb->Page(i)->Visible())
                    shown += std::to_string(i);
            seen.push_back("page " + std::to_string(nb->PageIndex()) + " shown " + shown);
            // The work of page 1 ends by going on to the last page.
            if (nb->PageIndex() == 1)
                nb->SetPageIndex(2);
        }
    } watcher{nb, {}};
    nb->OnPageChanged = TNotifyEvent(&watcher, &Watcher::Changed);
    EXPECT_EQ(nb->PageIndex(), 0);  // the first page made shows
    nb->SetPageIndex(1);
    EXPECT_EQ(watcher.seen, (std::vector<std::string>{"page 1 shown 1", "page 2 shown 2"}));
    EXPECT_EQ(nb->PageIndex(), 2);
    EXPECT_EQ(PagesShown(nb), (std::vector<bool>{false, false, true}));

    // Pages made and freed through the list: the page shown stays shown.
    watcher.seen.clear();
    nb->Pages()->Insert(0, "Wstęp");
    EXPECT_EQ(nb->PageIndex(), 3);
    EXPECT_EQ(nb->ActivePage(), "Koniec");
    nb->Pages()->Delete(3);  // the page shown: the next one in its place
    EXPECT_EQ(nb->PageCount(), 3);
    EXPECT_EQ(nb->PageIndex(), 2);
    EXPECT_TRUE(nb->Page(2)->Visible());
    EXPECT_TRUE(watcher.seen.empty());
    form->Free();
}

TEST_F(ExtControls, PageWindowsLetGoComeBackWithTheirStateAndTheFocusMovesWithThePage)
{
    TStdTestForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    form->lbLista->SetItemIndex(3);
    form->mNotatki->Lines()->Add("dopisana");
    form->cbZgoda->SetChecked(false);
    form->lbLista->SetFocus();
    const HWND before = form->lbLista->Handle();

    form->nb->SetPageIndex(0);
    // The focus went with the page: to the first control of the new one.
    EXPECT_EQ(form->ActiveControl(), form->eImie);
    form->pgDruga->DestroyHandle();
    EXPECT_FALSE(form->lbLista->HandleAllocated());
    EXPECT_FALSE(IsWindow(before));
    form->nb->SetPageIndex(1);
    ASSERT_TRUE(form->lbLista->HandleAllocated());
    EXPECT_EQ(form->lbLista->ItemIndex(), 3);
    EXPECT_EQ(form->lbLista->Items()->Strings(3), "łoś");
    EXPECT_EQ(form->mNotatki->Lines()->Count(), 4);
    EXPECT_EQ(SendMessageA(form->cbZgoda->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    form->Hide();
    form->Free();
}

// ---------------------------------------------------------------------------
// Panel

struct PanelRow {
    const char* name;
    TBevelCut outer, inner;
    int bevelWidth, borderWidth;
    TBorderStyle border;
    TRect expected;  // of a client-aligned child of a 100 x 60 panel
};

TEST_F(ExtControls, APanelsChildrenStayInsideItsBevelsAndBorder)
{
    const PanelRow rows[] = {
        {"the default raised bevel", bvRaised, bvNone, 1, 0, bsNone, Rect(1, 1, 99, 59)},
        {"no bevel at all", bvNone, bvNone, 1, 0, bsNone, Rect(0, 0, 100, 60)},
        {"two bevels of 2 and a border of 3", bvLowered, bvRaised, 2, 3, bsNone, Rect(7, 7, 93, 53)},
        {"a space bevel counts too", bvSpace, bvNone, 4, 0, bsNone, Rect(4, 4, 96, 56)},
        {"a window border narrows the client area", bvNone, bvNone, 1, 2, bsSingle, Rect(2, 2, 96, 56)},
    };
    TForm* form = new TForm(Application);
    for (const PanelRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto* panel = new TPanel(form);
        panel->SetBounds(0, 0, 100, 60);
        panel->SetParent(form);
        panel->HandleNeeded();
        auto* child = new TPanel(form);
        child->SetAlign(alClient);
        child->SetParent(panel);
        panel->SetBevelOuter(row.outer);
        panel->SetBevelInner(row.inner);
        panel->SetBevelWidth(row.bevelWidth);
        panel->SetBorderWidth(row.borderWidth);
        panel->SetBorderStyle(row.border);
        const TRect got = child->BoundsRect();
        EXPECT_EQ(got.left, row.expected.left);
        EXPECT_EQ(got.top, row.expected.top);
        EXPECT_EQ(got.right, row.expected.right);
        EXPECT_EQ(got.bottom, row.expected.bottom);
        delete panel;
    }
    form->Free();
}

// ---------------------------------------------------------------------------
// Timer

TEST_F(ExtControls, ATimerTicksWhileEnabledAndItsErrorsReachTheApplication)
{
    struct Clock {
        int ticks = 0;
        TTimer* freeMe = nullptr;
        std::vector<std::string> errors;
        void Tick(TObject*) { ++ticks; }
        void Fail(TObject*)
        {
            ++ticks;
            throw EConvertError("'zegar' is not a valid integer value");
        }
        void FreeItself(TObject* sender)
        {
            ++ticks;
            delete static_cast<TTimer*>(sender);
            freeMe = nullptr;
        }
        void Error(TObject* sender, Exception& e)
        {
            errors.push_back(dynamic_cast<TComponent*>(sender)->Name() + ": " + e.Message());
        }
    } clock;
    Application->OnException = TExceptionEvent(&clock, &Clock::Error);
    TTimer timer(nullptr);
    timer.SetName("tmZegar");
    timer.SetInterval(20);
    timer.OnTimer = TNotifyEvent(&clock, &Clock::Tick);
    EXPECT_TRUE(PumpUntil([&] { return clock.ticks >= 3; }));
    timer.SetEnabled(false);
    const int stopped = clock.ticks;
    PumpMessages(100);
    EXPECT_EQ(clock.ticks, stopped);

    timer.OnTimer = TNotifyEvent(&clock, &Clock::Fail);
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return !clock.errors.empty(); }));
    timer.SetEnabled(false);
    ASSERT_GE(clock.errors.size(), 1u);
    EXPECT_EQ(clock.errors[0], "tmZegar: 'zegar' is not a valid integer value");
    EXPECT_EQ(static_cast<int>(clock.errors.size()), clock.ticks - stopped);

    // A timer freed by its own handler ticks no more.
    clock.ticks = 0;
    clock.freeMe = new TTimer(nullptr);
    clock.freeMe->SetInterval(10);
    clock.freeMe->OnTimer = TNotifyEvent(&clock, &Clock::FreeItself);
    EXPECT_TRUE(PumpUntil([&] { return clock.freeMe == nullptr; }));
    PumpMessages(100);
    EXPECT_EQ(clock.ticks, 1);
    EXPECT_EQ(clock.freeMe, nullptr);
}

TEST_F(ExtControls, AFormsTimerTicksOnceEnabled)
{
    TStdTestForm* form = nullptr;
    Application->CreateForm(form);
    form->Events.clear();
    PumpMessages(100);
    EXPECT_TRUE(form->Events.empty());  // disabled in the form
    form->tmZegar->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return !form->Events.empty(); }));
    EXPECT_EQ(form->Events[0], "tick");
    form->Free();
}

// ---------------------------------------------------------------------------
// Progress bar

TEST_F(ExtControls, AProgressBarKeepsItsPositionInItsRangeAndTellsTheWindow)
{
    TForm* form = new TForm(Application);
    auto* bar = new TProgressBar(form);
    bar->SetMax(10);
    bar->SetPosition(25);  // no window yet
    EXPECT_EQ(bar->Position(), 10);
    bar->SetMin(4);
    bar->SetPosition(1);
    EXPECT_EQ(bar->Position(), 4);
    bar->SetParent(form);
    const HWND wnd = bar->Handle();
    EXPECT_EQ(SendMessageA(wnd, PBM_GETPOS, 0, 0), 4);
    EXPECT_EQ(SendMessageA(wnd, PBM_GETRANGE, TRUE, 0), 4);
    EXPECT_EQ(SendMessageA(wnd, PBM_GETRANGE, FALSE, 0), 10);
    bar->SetStep(3);
    bar->StepIt();
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 10);
    bar->StepIt();  // past the end: round again from the start
    EXPECT_EQ(bar->Position(), 7);
    EXPECT_EQ(SendMessageA(wnd, PBM_GETPOS, 0, 0), 7);

    // Held back, the bar keeps what it is given and shows it at the end.
    bar->BeginUpdate();
    bar->BeginUpdate();
    bar->SetMax(20);
    bar->SetPosition(15);
    bar->StepIt();
    bar->EndUpdate();
    EXPECT_EQ(bar->Position(), 18);
    EXPECT_EQ(SendMessageA(wnd, PBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(SendMessageA(wnd, PBM_GETRANGE, FALSE, 0), 10);
    bar->EndUpdate();
    EXPECT_EQ(SendMessageA(wnd, PBM_GETPOS, 0, 0), 18);
    EXPECT_EQ(SendMessageA(wnd, PBM_GETRANGE, FALSE, 0), 20);
    form->Free();
}

// ---------------------------------------------------------------------------
// A picture of every control

TEST_F(ExtControls, AFormWithEveryControlIsDrawnAndSavedAsAPicture)
{
    TForm* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(20, 20, 480, 330);
    form->SetColor(clWhite);
    form->Font()->SetName("Tahoma");
    form->Font()->SetHeight(-11);
    auto place = [form](TControl* c, int left, int top, int width, int height, TWinControl* parent = nullptr) {
        c->SetBounds(left, top, width, height);
        c->SetParent(parent ? parent : form);
    };

    auto* panel = new TPanel(form);
    panel->SetColor(clRed);
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetCaption("Panel");
    place(panel, 10, 10, 150, 60);
    auto* opaque = new TLabel(form);
    opaque->SetAutoSize(false);
    opaque->SetColor(clYellow);
    opaque->SetCaption("Etykieta");
    place(opaque, 170, 10, 90, 20);
    auto* clear = new TLabel(form);
    clear->SetAutoSize(false);
    clear->SetTransparent(true);
    clear->SetLayout(tlBottom);
    clear->SetCaption("przezroczysta");
    place(clear, 6, 6, 100, 20, panel);
    auto* bevel = new TBevel(form);
    place(bevel, 270, 10, 60, 40);
    auto* image = new TImage(form);
    TBitmap blue(10, 10, pf24bit);
    blue.Canvas()->Brush()->SetColor(clBlue);
    blue.Canvas()->FillRect(Rect(0, 0, 10, 10));
    image->Picture()->Assign(&blue);
    image->SetCenter(true);
    place(image, 340, 10, 40, 40);
    auto* button = new TButton(form);
    button->SetCaption("&Dalej >");
    place(button, 390, 10, 80, 25);
    auto* check = new TCheckBox(form);
    check->SetCaption("pole wyboru");
    check->SetChecked(true);
    place(check, 10, 80, 120, 20);
    auto* radio = new TRadioButton(form);
    radio->SetCaption("przełącznik");
    radio->SetChecked(true);
    place(radio, 140, 80, 120, 20);
    auto* edit = new TEdit(form);
    edit->SetText("Zażółć gęślą jaźń");
    place(edit, 270, 80, 200, 21);
    auto* memo = new TMemo(form);
    memo->SetScrollBars(ssVertical);
    memo->Lines()->Add("Pierwsza linia notatki");
    memo->Lines()->Add("druga");
    place(memo, 10, 110, 150, 80);
    auto* list = new TListBox(form);
    list->Items()->Add("pozycja pierwsza");
    list->Items()->Add("pozycja druga");
    list->SetItemIndex(1);
    place(list, 170, 110, 140, 80);
    auto* group = new TGroupBox(form);
    group->SetCaption("Ramka z opisem");
    place(group, 320, 110, 150, 80);
    auto* inner = new TCheckBox(form);
    inner->SetCaption("w ramce");
    place(inner, 10, 25, 100, 20, group);
    auto* nb = new TNotebook(form);
    place(nb, 10, 200, 300, 80);
    nb->Pages()->Add("Strona");
    auto* onPage = new TLabel(form);
    onPage->SetCaption("Etykieta na stronie notesu");
    place(onPage, 5, 5, 10, 10, nb->Page(0));
    auto* bar = new TProgressBar(form);
    bar->SetPosition(60);
    place(bar, 10, 290, 460, 20);

    form->SetFormStyle(fsStayOnTop);
    form->Show();
    form->Update();
    PumpMessages(200);
    auto picture = CaptureWindow(form->Handle());
    TempFolder folder;
    const std::string png = SavePicture(*picture, folder.Path(), "classlib_stdctrls_form.png");
    EXPECT_EQ(ReadWholeFile(png).substr(0, 4), std::string("\x89PNG", 4));
    struct {
        const char* what;
        int x, y;
        TColor color;
    } const pixels[] = {
        {"the panel's outer raised bevel, top left", 10, 10, clBtnHighlight},
        {"the panel's outer raised bevel, bottom right", 159, 69, clBtnShadow},
        {"the panel's inner lowered bevel, top left", 12, 12, clBtnShadow},
        {"the panel's face", 150, 60, clRed},
        {"the transparent label shows the panel", 111, 18, clRed},
        {"the opaque label's own colour", 258, 12, clYellow},
        {"the lowered bevel box, top left", 270, 10, clBtnShadow},
        {"the lowered bevel box, bottom right", 329, 49, clBtnHighlight},
        {"the centred image", 360, 30, clBlue},
        {"around the centred image", 342, 12, clWhite},
    };
    for (const auto& p : pixels) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(ColorToRGB(picture->Canvas()->Pixels(p.x, p.y)), ColorToRGB(p.color));
    }
    form->Hide();
    form->Free();
}

} // namespace

// The check-list box: ticks by the user's click on a box and by Space, the
// OnClickCheck they fire, ticks that travel with their items through inserts,
// deletes, sorting and new windows, the test probe's Checked[i], a form read
// from its resource, and a picture of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CheckTestForm.h"
#include "StdTestSupport.h"
#include "tests/support/TestUtil.h"
#include "classlib/CheckLst.h"
#include "classlib/Lists.h"
#include "classlib/PngWriter.h"

namespace {

class CheckList : public testing::Test {
public:
    void SetUp() override
    {
        EnsureApplication();
        form = new TForm(Application);
        form->SetBounds(40, 40, 300, 250);
        box = new TCheckListBox(form);
        box->SetName("lbUsun");
        box->SetBounds(10, 10, 221, 150);
    }
    void TearDown() override { form->Free(); }

    // The ticked items' texts, in list order.
    std::vector<std::string> Ticked()
    {
        std::vector<std::string> ticked;
        for (int i = 0; i < box->Count(); ++i)
            if (box->Checked(i))
                ticked.push_back(box->Items()->Strings(i));
        return ticked;
    }
    void Add(std::initializer_list<const char*> items)
    {
        for (const char* s : items)
            box->Items()->Add(s);
    }
    // A click at x pixels from the item's left edge.
    void ClickItem(int index, int x, UINT down = WM_LBUTTONDOWN)
    {
        const TRect r = box->ItemRect(index);
        const LPARAM at = MAKELPARAM(r.left + x, (r.top + r.bottom) / 2);
        SendMessageA(box->Handle(), down, MK_LBUTTON, at);
        SendMessageA(box->Handle(), WM_LBUTTONUP, 0, at);
    }

    TForm* form = nullptr;
    TCheckListBox* box = nullptr;
};

struct Recorder {
    TCheckListBox* box;
    std::vector<std::string> log;
    void Click(TObject*) { log.push_back("click " + std::to_string(box->ItemIndex())); }
    void ClickCheck(TObject*)
    {
        const int i = box->ItemIndex();
        log.push_back("check " + std::to_string(i) + (box->Checked(i) ? " on" : " off"));
    }
};

TEST_F(CheckList, TheUserTicksByTheBoxOrBySpaceAndEachTickIsTold)
{
    box->SetParent(form);
    Add({"jeden", "dwa", "trzy"});
    Recorder rec{box, {}};
    box->OnClick = TNotifyEvent(&rec, &Recorder::Click);
    box->OnClickCheck = TNotifyEvent(&rec, &Recorder::ClickCheck);

    struct {
        const char* what;
        void (*act)(CheckList&);
        std::vector<std::string> ticked;
        std::vector<std::string> log;
    } const steps[] = {
        // The list box tells of the choice when the button goes up.
        {"a click on the second item's box chooses and ticks it",
         [](CheckList& t) { t.ClickItem(1, 6); }, {"dwa"}, {"check 1 on", "click 1"}},
        {"a click on the third item's text only chooses it",
         [](CheckList& t) { t.ClickItem(2, 60); }, {"dwa"}, {"click 2"}},
        {"Space ticks the chosen item",
         [](CheckList& t) { SendMessageA(t.box->Handle(), WM_CHAR, ' ', 0); }, {"dwa", "trzy"}, {"check 2 on"}},
        {"Space again clears it",
         [](CheckList& t) { SendMessageA(t.box->Handle(), WM_CHAR, ' ', 0); }, {"dwa"}, {"check 2 off"}},
        {"a double click on a box is a second click",
         [](CheckList& t) {
             t.ClickItem(1, 6);
             t.ClickItem(1, 6, WM_LBUTTONDBLCLK);
         },
         {"dwa"}, {"check 1 off", "click 1", "check 1 on"}},
        {"the program's tick is not the user's: nothing is told",
         [](CheckList& t) { t.box->SetChecked(0, true); }, {"jeden", "dwa"}, {}},
        {"a disabled box takes no ticks",
         [](CheckList& t) {
             t.box->SetEnabled(false);
             t.box->SetItemIndex(2);
             SendMessageA(t.box->Handle(), WM_CHAR, ' ', 0);
             t.box->SetEnabled(true);
         },
         {"jeden", "dwa"}, {}},
        {"a click below the last item ticks nothing",
         [](CheckList& t) {
             SendMessageA(t.box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 140));
             SendMessageA(t.box->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(6, 140));
         },
         {"jeden", "dwa"}, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        rec.log.clear();
        step.act(*this);
        EXPECT_EQ(Ticked(), step.ticked);
        EXPECT_EQ(rec.log, step.log);
    }
}

TEST_F(CheckList, TicksTravelWithTheirItemsWithoutAndAcrossWindows)
{
    // No window yet: the list box keeps the items and the ticks.
    Add({"a", "b", "c", "d"});
    box->SetChecked(1, true);
    box->SetChecked(3, true);
    box->Items()->Insert(0, "x");
    box->Items()->Delete(2);  // "b" and its tick go
    EXPECT_EQ(Ticked(), (std::vector<std::string>{"d"}));
    box->SetChecked(0, true);

    box->SetParent(form);
    box->HandleNeeded();
    EXPECT_EQ(Ticked(), (std::vector<std::string>{"x", "d"}));
    box->Items()->Insert(1, "y");
    box->Items()->Delete(0);
    box->SetChecked(0, true);
    EXPECT_EQ(Ticked(), (std::vector<std::string>{"y", "d"}));

    box->SetSorted(true);  // a new window, the items in order
    EXPECT_EQ(Ticked(), (std::vector<std::string>{"d", "y"}));
    box->Items()->Add("ba");  // goes to its place, before "c"
    EXPECT_EQ(box->Items()->Strings(1), "ba");
    EXPECT_FALSE(box->Checked(1));
    EXPECT_EQ(Ticked(), (std::vector<std::string>{"d", "y"}));

    box->DestroyHandle();
    EXPECT_EQ(Ticked(), (std::vector<std::string>{"d", "y"}));
    box->Items()->Delete(0);
    box->SetSorted(false);
    box->SetSorted(true);
    EXPECT_EQ(Ticked(), (std::vector<std::string>{"d", "y"}));
    box->HandleNeeded();
    EXPECT_EQ(Ticked(), (std::vector<std::string>{"d", "y"}));

    box->Items()->Clear();
    box->Items()->Add("nowy");
    EXPECT_FALSE(box->Checked(0));
    EXPECT_THROW(box->Checked(1), EListError);
    EXPECT_THROW(box->SetChecked(-1, true), EListError);
}

TEST_F(CheckList, TheProbeReadsTheTicksAndTicksAsTheUserWould)
{
    box->SetParent(form);
    Add({"jeden", "dwa", "trzy"});
    Recorder rec{box, {}};
    box->OnClick = TNotifyEvent(&rec, &Recorder::Click);
    box->OnClickCheck = TNotifyEvent(&rec, &Recorder::ClickCheck);
    box->SetChecked(2, true);

    TStringList state;
    box->ProbeState(state, false);
    EXPECT_EQ(state.Text(), "ItemIndex=-1\r\nChecked[0]=0\r\nChecked[1]=0\r\nChecked[2]=1\r\n");

    state.Clear();
    state.Add("Checked[1]=1");
    state.Add("Checked[2]=1");  // already ticked: nothing happens
    state.Add("Checked[0]=0");
    EXPECT_TRUE(box->ProbeState(state, true));
    EXPECT_EQ(Ticked(), (std::vector<std::string>{"dwa", "trzy"}));
    EXPECT_EQ(rec.log, (std::vector<std::string>{"click 1", "check 1 on"}));

    rec.log.clear();
    state.Clear();
    state.Add("ItemIndex=0");
    state.Add("Checked[0]=1");  // the list box's own key, then a tick
    EXPECT_TRUE(box->ProbeState(state, true));
    EXPECT_EQ(rec.log, (std::vector<std::string>{"click 0", "check 0 on"}));

    state.Clear();
    state.Add("Checked[7]=1");
    EXPECT_THROW(box->ProbeState(state, true), EListError);
    state.Clear();
    state.Add("Zaznaczony[0]=1");
    EXPECT_FALSE(box->ProbeState(state, true));
}

// The form's list, two ticked items, a picture for people and the box's
// pixels: a dark tick inside a ticked item's box, none in the others.
TEST(CheckListForm, AFormReadFromItsResourceShowsItsTicks)
{
    EnsureApplication();
    TCheckTestForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form->lbUsun, nullptr);
    TCheckListBox* box = form->lbUsun;
    ASSERT_EQ(box->Count(), 3);
    EXPECT_EQ(box->Items()->Strings(0), "Zegar świąteczny");
    EXPECT_TRUE(form->Events.empty());

    box->SetChecked(0, true);
    box->SetChecked(2, true);
    box->SetItemIndex(1);
    form->SetFormStyle(fsStayOnTop);
    form->Show();
    form->Update();
    PumpMessages(200);
    auto picture = CaptureWindow(form->Handle());
    TempFolder folder;
    const std::string png = SavePicture(*picture, folder.Path(), "classlib_checklist_form.png");
    EXPECT_EQ(ReadWholeFile(png).substr(0, 4), std::string("\x89PNG", 4));

    POINT origin{0, 0};
    ClientToScreen(box->Handle(), &origin);
    RECT frame{};
    GetWindowRect(form->Handle(), &frame);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TRect r = box->ItemRect(i);
        int dark = 0;
        for (int y = r.top + 1; y < r.bottom - 1; ++y)
            for (int x = r.left + 4; x < r.left + 13; ++x) {
                const COLORREF c = ColorToRGB(picture->Canvas()->Pixels(origin.x - frame.left + x,
                                                                        origin.y - frame.top + y));
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 150)
                    ++dark;
            }
        if (box->Checked(i))
            EXPECT_GT(dark, 5);
        else
            EXPECT_EQ(dark, 0);
    }

    // The form's handlers, bound by name, hear the user's tick.
    const TRect r = box->ItemRect(0);
    const LPARAM at = MAKELPARAM(r.left + 6, (r.top + r.bottom) / 2);
    SendMessageA(box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(box->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(form->Events, (std::vector<std::string>{"check 0 off", "click 0"}));
    form->Hide();
    form->Free();
}

} // namespace

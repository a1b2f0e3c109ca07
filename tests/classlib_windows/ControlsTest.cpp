// Contracts of the controls: ownership and parentage, alignment, inherited
// font and colour, notifications, mouse enter and leave, the exception
// barrier of the window procedure, windows found by component name.
#include <gtest/gtest.h>

#include "TestControls.h"

namespace {

class Controls : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        Heard.clear();
        form = new TForm(Application);
        form->SetBounds(30, 30, 300, 200);
    }
    void TearDown() override
    {
        if (form)
            form->Free();
        Application->OnException.Clear();
    }
    TForm* form = nullptr;
};

TEST_F(Controls, ParentFreesItsChildrenOwnerFreesTheRest)
{
    const int before = LiveControls;
    auto* panel = new TTestPanel(form);
    panel->SetParent(form);
    auto* box = new TTestBox(form);
    box->SetParent(panel);
    auto* button = new TTestButton(form);
    button->SetParent(panel);
    auto* loose = new TTestBox(form);  // owned, never shown anywhere
    form->HandleNeeded();
    ASSERT_NE(button->Handle(), nullptr);
    const HWND buttonWnd = button->Handle();
    EXPECT_EQ(form->ComponentCount(), 4);
    EXPECT_EQ(LiveControls, before + 4);

    delete panel;  // takes the box and the button with it
    EXPECT_EQ(LiveControls, before + 1);
    EXPECT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->Components(0), loose);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_FALSE(IsWindow(buttonWnd));

    form->Free();
    form = nullptr;
    EXPECT_EQ(LiveControls, before);
}

TEST_F(Controls, FreeingAFormFiresOnDestroyWhileItIsWhole)
{
    auto* f = new TWinTestForm(Application);
    f->SetName("fPelny");
    new TTestBox(f);
    new TTestBox(f);
    f->OnDestroy = TNotifyEvent(f, &TWinTestForm::FormDestroy);
    f->Free();
    EXPECT_EQ(Heard, std::vector<std::string>{"destroy fPelny 2"});
}

struct AlignRow {
    const char* name;
    std::vector<std::pair<TAlign, TRect>> children;  // align, bounds before
    std::vector<TRect> expected;
};

TEST_F(Controls, AlignmentPlacesChildrenInTheParentsClientArea)
{
    const AlignRow rows[] = {
        {"top, bottom and client share the height",
         {{alTop, Bounds(5, 5, 10, 20)}, {alBottom, Bounds(0, 0, 10, 30)}, {alClient, Bounds(0, 0, 1, 1)}},
         {Bounds(0, 0, 200, 20), Bounds(0, 70, 200, 30), Bounds(0, 20, 200, 50)}},
        {"left and right take the height left by top",
         {{alTop, Bounds(0, 0, 0, 10)}, {alLeft, Bounds(0, 0, 40, 5)}, {alRight, Bounds(0, 0, 50, 5)},
          {alClient, Bounds(0, 0, 1, 1)}},
         {Bounds(0, 0, 200, 10), Bounds(0, 10, 40, 90), Bounds(150, 10, 50, 90), Bounds(40, 10, 110, 90)}},
        {"two tops stack in the order of their positions",
         {{alTop, Bounds(0, 50, 0, 10)}, {alTop, Bounds(0, 0, 0, 15)}},
         {Bounds(0, 15, 200, 10), Bounds(0, 0, 200, 15)}},
        {"two bottoms stack upwards, the lowest at the edge",
         {{alBottom, Bounds(0, 90, 0, 10)}, {alBottom, Bounds(0, 50, 0, 20)}},
         {Bounds(0, 90, 200, 10), Bounds(0, 70, 200, 20)}},
        {"unaligned children stay where they are",
         {{alNone, Bounds(7, 8, 9, 10)}, {alClient, Bounds(0, 0, 1, 1)}},
         {Bounds(7, 8, 9, 10), Bounds(0, 0, 200, 100)}},
        {"client larger than what is left gets nothing",
         {{alTop, Bounds(0, 0, 0, 80)}, {alBottom, Bounds(0, 0, 0, 80)}, {alClient, Bounds(0, 0, 5, 5)}},
         {Bounds(0, 0, 200, 80), Bounds(0, 20, 200, 80), Bounds(0, 80, 200, 0)}},
    };
    for (const AlignRow& row : rows) {
        SCOPED_TRACE(row.name);
        // Windowless and windowed children alike; the parent has a window.
        TTestPanel parent(nullptr);
        parent.SetParent(form);
        parent.SetBounds(0, 0, 200, 100);
        parent.HandleNeeded();
        std::vector<TControl*> children;
        for (size_t i = 0; i < row.children.size(); ++i) {
            TControl* c = i % 2 ? static_cast<TControl*>(new TTestPanel(&parent)) : new TTestBox(&parent);
            const TRect& b = row.children[i].second;
            c->SetBounds(b.left, b.top, b.right - b.left, b.bottom - b.top);
            c->SetAlign(row.children[i].first);
            c->SetParent(&parent);
            children.push_back(c);
        }
        for (size_t i = 0; i < children.size(); ++i) {
            SCOPED_TRACE(i);
            const TRect got = children[i]->BoundsRect();
            const TRect& want = row.expected[i];
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            EXPECT_EQ(got.right, want.right);
            EXPECT_EQ(got.bottom, want.bottom);
            if (auto* w = dynamic_cast<TWinControl*>(children[i])) {
                RECT r;
                GetWindowRect(w->Handle(), &r);
                MapWindowPoints(nullptr, parent.Handle(), reinterpret_cast<POINT*>(&r), 2);
                EXPECT_EQ(r.left, want.left);
                EXPECT_EQ(r.bottom, want.bottom);
            }
        }
    }
}

TEST_F(Controls, AlignmentFollowsTheParentAndVisibility)
{
    TTestPanel parent(nullptr);
    parent.SetParent(form);
    parent.SetBounds(0, 0, 200, 100);
    auto* top = new TTestBox(&parent);
    top->SetHeight(30);
    top->SetAlign(alTop);
    top->SetParent(&parent);
    auto* client = new TTestPanel(&parent);
    client->SetAlign(alClient);
    client->SetParent(&parent);
    EXPECT_EQ(client->Top(), 30);
    EXPECT_EQ(client->Height(), 70);

    parent.SetBounds(0, 0, 120, 60);  // no window yet: realigned all the same
    EXPECT_EQ(top->Width(), 120);
    EXPECT_EQ(client->Height(), 30);

    parent.HandleNeeded();
    top->SetVisible(false);
    EXPECT_EQ(client->Top(), 0);
    EXPECT_EQ(client->Height(), 60);
    // The window follows a resize done by Windows, not by the control.
    SetWindowPos(parent.Handle(), nullptr, 0, 0, 150, 90, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(parent.Width(), 150);
    EXPECT_EQ(client->Width(), 150);
    EXPECT_EQ(client->Height(), 90);
}

TEST_F(Controls, FontAndColourComeFromTheParentAndAreAnnouncedOnlyWhenTheyChange)
{
    auto* panel = new TTestPanel(form);
    panel->SetParent(form);
    auto* inheriting = new TTestBox(form);
    inheriting->SetParent(panel);
    auto* own = new TTestBox(form);
    own->SetParent(panel);
    own->Font()->SetName("Courier New");  // a font of its own
    own->SetColor(clAqua);
    EXPECT_FALSE(own->ParentFont());
    EXPECT_FALSE(own->ParentColor());
    const TNotifications start = inheriting->Heard;

    form->Font()->SetName("Tahoma");
    form->Font()->SetSize(10);
    EXPECT_EQ(panel->Font()->Name(), "Tahoma");
    EXPECT_EQ(inheriting->Font()->Name(), "Tahoma");
    EXPECT_EQ(inheriting->Font()->Size(), 10);
    EXPECT_TRUE(inheriting->ParentFont());
    EXPECT_EQ(own->Font()->Name(), "Courier New");
    EXPECT_EQ(inheriting->Heard.Font, start.Font + 2);

    form->Font()->SetSize(10);  // no change, no notice down the line
    form->Font()->SetName("Tahoma");
    EXPECT_EQ(inheriting->Heard.Font, start.Font + 2);

    form->SetColor(clNavy);
    EXPECT_EQ(panel->Color(), clNavy);
    EXPECT_EQ(inheriting->Color(), clNavy);
    EXPECT_EQ(own->Color(), clAqua);
    EXPECT_EQ(inheriting->Heard.Color, start.Color + 1);
    form->SetColor(clNavy);
    EXPECT_EQ(inheriting->Heard.Color, start.Color + 1);

    own->SetParentColor(true);
    own->SetParentFont(true);
    EXPECT_EQ(own->Color(), clNavy);
    EXPECT_EQ(own->Font()->Name(), "Tahoma");

    // Enabled, visible and text: once per real change.
    inheriting->SetEnabled(false);
    inheriting->SetEnabled(false);
    inheriting->SetVisible(false);
    inheriting->SetVisible(false);
    inheriting->SetCaption("a");
    inheriting->SetCaption("a");
    EXPECT_EQ(inheriting->Heard.Enabled, start.Enabled + 1);
    EXPECT_EQ(inheriting->Heard.Visible, start.Visible + 1);
    EXPECT_EQ(inheriting->Heard.Text, start.Text + 1);
}

TEST_F(Controls, WindowedChildGetsItsFontAndTextKeptAcrossRecreation)
{
    auto* button = new TTestButton(form);
    button->SetName("bZapisz");
    button->SetParent(form);
    button->SetCaption("Zapisz");
    form->Font()->SetName("Tahoma");
    HWND first = button->Handle();
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(first, WM_GETFONT, 0, 0)), button->Font()->Handle());
    SetWindowTextA(first, "Zmienione");  // as the user would
    button->RecreateWnd();
    HWND second = button->Handle();
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(button->Caption(), "Zmienione");
    EXPECT_EQ(ComponentNameOfWindow(second), "bZapisz");
    EXPECT_EQ(FindControl(second), button);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(second, WM_GETFONT, 0, 0)), button->Font()->Handle());
}

TEST_F(Controls, MouseEnterAndLeaveReachWindowlessControls)
{
    auto* panel = new TTestPanel(form);
    panel->SetName("pPanel");
    panel->SetParent(form);
    panel->SetBounds(0, 0, 200, 100);
    auto* box1 = new TTestBox(form);
    box1->SetName("Box1");
    box1->SetBounds(10, 10, 20, 20);
    box1->SetParent(panel);
    auto* box2 = new TTestBox(form);
    box2->SetName("Box2");
    box2->SetBounds(50, 10, 20, 20);
    box2->SetParent(panel);
    auto* disabled = new TTestBox(form);
    disabled->SetName("Box3");
    disabled->SetBounds(90, 10, 20, 20);
    disabled->SetEnabled(false);
    disabled->SetParent(panel);
    HWND wnd = panel->Handle();
    int moves = 0;
    struct Counter {
        int* n;
        void Move(TObject*, TShiftState, int x, int y)
        {
            ++*n;
            EXPECT_EQ(x, 5);  // in the box's own coordinates
            EXPECT_EQ(y, 6);
        }
    } counter{&moves};
    box2->OnMouseMove = TMouseMoveEvent(&counter, &Counter::Move);

    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(16, 16));  // still inside
    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(55, 16));
    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(95, 15));  // disabled: the panel has it
    SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);
    const std::vector<std::string> expected{"enter Box1", "leave Box1", "enter Box2", "leave Box2",
                                            "enter pPanel", "leave pPanel"};
    EXPECT_EQ(Heard, expected);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(Application->MouseControl(), nullptr);

    // A control that goes while the mouse is over it is forgotten.
    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
    delete box1;
    EXPECT_EQ(Application->MouseControl(), nullptr);
}

TEST_F(Controls, ClicksOfWindowlessControlsComeThroughTheParent)
{
    auto* box = new TTestBox(form);
    box->SetBounds(10, 10, 20, 20);
    box->SetParent(form);
    std::vector<std::string> log;
    struct Recorder {
        std::vector<std::string>* log;
        void Click(TObject*) { log->push_back("click"); }
        void DblClick(TObject*) { log->push_back("dblclick"); }
        void Down(TObject*, TMouseButton b, TShiftState, int x, int y)
        {
            log->push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
        }
    } rec{&log};
    box->OnClick = TNotifyEvent(&rec, &Recorder::Click);
    box->OnDblClick = TNotifyEvent(&rec, &Recorder::DblClick);
    box->OnMouseDown = TMouseEvent(&rec, &Recorder::Down);
    HWND wnd = form->Handle();
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 13));
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));  // captured: still the box's, but outside
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 13));
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(14, 14));
    SendMessageA(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(14, 14));
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(14, 14));
    const std::vector<std::string> expected{"down 0 2,3", "down 0 2,3", "click", "dblclick", "down 0 4,4"};
    EXPECT_EQ(log, expected);
}

TEST_F(Controls, AnExceptionInAHandlerReachesTheApplicationAndTheProgramGoesOn)
{
    struct Thrower {
        int clicks = 0;
        void Click(TObject*)
        {
            ++clicks;
            throw EConvertError("'x' is not a valid integer value");
        }
    } thrower;
    struct Catcher {
        std::vector<std::string> seen;
        void OnException(TObject* sender, Exception& e)
        {
            seen.push_back(dynamic_cast<TComponent*>(sender)->Name() + ": " + e.Message());
        }
    } catcher;
    Application->OnException = TExceptionEvent(&catcher, &Catcher::OnException);
    auto* panel = new TTestPanel(form);
    panel->SetName("pKlik");
    panel->SetParent(form);
    panel->OnClick = TNotifyEvent(&thrower, &Thrower::Click);
    HWND wnd = panel->Handle();
    for (int i = 0; i < 2; ++i) {
        SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    EXPECT_EQ(thrower.clicks, 2);
    const std::vector<std::string> expected(2, "pKlik: 'x' is not a valid integer value");
    EXPECT_EQ(catcher.seen, expected);
    EXPECT_EQ(GetCapture(), nullptr);

    // Raised in the loop's idle handling, too.
    struct IdleThrower {
        void Idle(TObject*, bool& done)
        {
            done = false;
            throw std::runtime_error("idle");
        }
    } idle;
    Application->OnIdle = TIdleEvent(&idle, &IdleThrower::Idle);
    for (int i = 0; i < 100 && catcher.seen.size() == 2; ++i)
        Application->HandleMessage();
    Application->OnIdle.Clear();
    EXPECT_EQ(catcher.seen.back(), ": idle");  // the application's own name is empty
}

TEST_F(Controls, ComponentNameFindsTheWindow)
{
    form->SetName("fSzukany");
    auto* panel = new TTestPanel(form);
    panel->SetName("pWewnatrz");
    panel->SetParent(form);
    auto* button = new TTestButton(form);
    button->SetName("bGlebiej");
    button->SetParent(panel);
    form->HandleNeeded();
    EXPECT_EQ(FindComponentWindow(nullptr, "FSZUKANY"), form->Handle());
    EXPECT_EQ(FindComponentWindow(form->Handle(), "bglebiej"), button->Handle());
    EXPECT_EQ(FindComponentWindow(form->Handle(), "Box"), nullptr);
    // The raw property, as a driver in another language would read it.
    const ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(panel->Handle(), "QmxComponentName")));
    char name[64] = {};
    GlobalGetAtomNameA(atom, name, sizeof name);
    EXPECT_STREQ(name, "pWewnatrz");
    panel->SetName("pInny");
    EXPECT_EQ(FindComponentWindow(form->Handle(), "pInny"), panel->Handle());
    EXPECT_EQ(FindComponentWindow(form->Handle(), "pWewnatrz"), nullptr);
}

} // namespace

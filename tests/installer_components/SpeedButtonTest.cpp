// The speed button: strips and their picture counts, the layout of glyph
// and caption, groups, a press moved off and released, the drop-down menu's
// point, the glyph lists shared by size, where the mouse counts as inside,
// and the waiting presses a press takes from the queue.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ComponentsForm.h"
#include "classlib/ExtCtrls.h"
#include "installer/RXCtrls.h"
#include "tests/support/TestUtil.h"

namespace {

TRxSpeedButton* NewButton()
{
    auto* b = new TRxSpeedButton(ComponentsForm());
    b->SetParent(ComponentsForm());
    return b;
}

TEST(SpeedButton, StripsGiveTheirPictureCount)
{
    std::unique_ptr<TRxSpeedButton> b(NewButton());
    struct Row {
        int width, height, expected;
    } rows[] = {{64, 16, 4}, {112, 16, 1}, {48, 16, 3}, {50, 16, 3}, {16, 16, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.width);
        TBitmap strip(r.width, r.height);
        b->SetGlyph(&strip);
        EXPECT_EQ(b->NumGlyphs(), r.expected);
    }
    b->SetNumGlyphs(9);
    EXPECT_EQ(b->NumGlyphs(), 5);
    b->SetNumGlyphs(0);
    EXPECT_EQ(b->NumGlyphs(), 1);
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
    b->SetMargin(3);
    EXPECT_EQ(b->Margin(), 3);
}

TEST(SpeedButton, LayoutOfGlyphAndCaption)
{
    TBitmap canvasBitmap(10, 10);
    TRxButtonGlyph glyph;
    TBitmap strip(16, 16);
    glyph.SetStrip(&strip);
    struct Row {
        TButtonLayout layout;
        int margin, spacing;
        const char* caption;
        int gx, gy;
    } rows[] = {
        {blGlyphTop, -1, 1, "", 4, 4},
        // Without a caption the spacing counts as 0, so the glyph is centred.
        {blGlyphLeft, -1, -1, "", 4, 4},
        {blGlyphLeft, 2, -1, "", 2, 4},
        {blGlyphRight, 2, 1, "", 7, 4},
        {blGlyphBottom, 0, 1, "", 4, 9},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(static_cast<int>(r.layout));
        std::string caption = r.caption;
        TPoint pos;
        TRect text;
        glyph.CalcButtonLayout(canvasBitmap.Canvas(), Rect(0, 0, 25, 25), caption, r.layout, r.margin, r.spacing,
                               false, pos, text);
        EXPECT_EQ(pos.x, r.gx);
        EXPECT_EQ(pos.y, r.gy);
    }
    // A caption wider than the room ends in "...".
    std::string caption = "Bardzo długi napis przycisku";
    TPoint pos;
    TRect text;
    glyph.CalcButtonLayout(canvasBitmap.Canvas(), Rect(0, 0, 60, 40), caption, blGlyphLeft, -1, 1, false, pos, text);
    ASSERT_GE(caption.size(), 3u);
    EXPECT_EQ(caption.substr(caption.size() - 3), "...");
}

TEST(SpeedButton, GroupMembersExcludeEachOtherAndReleaseOutsideClicksNothing)
{
    std::unique_ptr<TRxSpeedButton> a(NewButton()), b(NewButton());
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->SetDown(true);
    EXPECT_EQ(a->State(), gsExclusive);
    b->SetDown(true);
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    b->SetDown(false);  // the last one down stays down without AllowAllUp
    EXPECT_TRUE(b->Down());

    int clicks = 0;
    struct Counter {
        int* n;
        void Clicked(TObject*) { ++*n; }
    } counter{&clicks};
    a->OnClick = TNotifyEvent(&counter, &Counter::Clicked);
    a->SetBounds(0, 0, 25, 25);
    a->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(a->State(), gsDown);
    a->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 60));
    EXPECT_EQ(a->State(), gsUp);
    a->Perform(WM_LBUTTONUP, 0, MAKELPARAM(60, 60));
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(clicks, 0);
    a->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    a->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(a->Down());
    EXPECT_FALSE(b->Down());
}

TEST(SpeedButton, MenuPointsByPositionAndAlignment)
{
    std::unique_ptr<TRxSpeedButton> b(NewButton());
    b->SetBounds(0, 0, 30, 20);
    TPopupMenu menu(nullptr);
    b->SetDropDownMenu(&menu);
    struct Row {
        TRxDropDownMenuPos pos;
        TPopupAlignment align;
        int x, y;
    } rows[] = {{dmpBottom, paLeft, -1, 20}, {dmpBottom, paRight, 31, 20}, {dmpBottom, paCenter, 15, 20},
                {dmpRight, paLeft, 30, -1},  {dmpRight, paRight, -1, -1},  {dmpRight, paCenter, 15, 20}};
    for (const Row& r : rows) {
        b->SetMenuPosition(r.pos);
        menu.SetAlignment(r.align);
        const TPoint p = b->MenuPoint();
        EXPECT_EQ(p.x, r.x) << r.pos << " " << r.align;
        EXPECT_EQ(p.y, r.y) << r.pos << " " << r.align;
    }
    b->SetDropDownMenu(nullptr);
}

struct MenuAnswer {
    TMenuItem* item = nullptr;
    TPoint at{};
    int shown = 0;
    void Hook(TPopupMenu*, int x, int y, TMenuItem*& chosen)
    {
        ++shown;
        at = Point(x, y);
        chosen = item;
    }
};

// A press opens the drop-down menu below the button; the item chosen is
// clicked, the button is not, and it is up again afterwards.
TEST(SpeedButton, PressOpensTheDropDownMenu)
{
    std::unique_ptr<TRxSpeedButton> b(NewButton());
    b->SetBounds(10, 10, 30, 20);
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(&menu);
    item->SetCaption("Pozycja");
    menu.Items()->Add(item);
    int itemClicks = 0, buttonClicks = 0;
    struct Counter {
        int* n;
        void Clicked(TObject*) { ++*n; }
    } onItem{&itemClicks}, onButton{&buttonClicks};
    item->OnClick = TNotifyEvent(&onItem, &Counter::Clicked);
    b->OnClick = TNotifyEvent(&onButton, &Counter::Clicked);
    b->SetDropDownMenu(&menu);
    MenuAnswer answer;
    answer.item = item;
    PopupMenuHook = TPopupMenuHook(&answer, &MenuAnswer::Hook);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PopupMenuHook = TPopupMenuHook();
    EXPECT_EQ(answer.shown, 1);
    const TPoint expected = b->ClientToScreen(Point(-1, 20));
    EXPECT_EQ(answer.at.x, expected.x);
    EXPECT_EQ(answer.at.y, expected.y);
    EXPECT_EQ(menu.PopupComponent(), b.get());
    EXPECT_EQ(itemClicks, 1);
    EXPECT_EQ(buttonClicks, 0);
    EXPECT_EQ(b->State(), gsUp);
    b->SetDropDownMenu(nullptr);
}

// Buttons of one glyph size share a list; one button going leaves the
// other drawing, and the cache is made again after it emptied.
TEST(SpeedButton, GlyphListsAreSharedAndTheCacheComesBack)
{
    TBitmap strip(16, 16);
    {
        std::unique_ptr<TRxSpeedButton> a(NewButton()), b(NewButton());
        a->SetGlyph(&strip);
        b->SetGlyph(&strip);
        a->ButtonGlyph()->CreateButtonGlyph(gsUp);
        b->ButtonGlyph()->CreateButtonGlyph(gsUp);
        EXPECT_EQ(a->ButtonGlyph()->GlyphList(), b->ButtonGlyph()->GlyphList());
        a.reset();
        EXPECT_GE(b->ButtonGlyph()->CreateButtonGlyph(gsDisabled), 0);
    }
    EXPECT_EQ(GlyphCache(false), nullptr);
    std::unique_ptr<TRxSpeedButton> c(NewButton());
    c->SetGlyph(&strip);
    EXPECT_GE(c->ButtonGlyph()->CreateButtonGlyph(gsInactive), 0);
    ASSERT_NE(GlyphCache(false), nullptr);
}

// The grey picture of a flat button without the mouse: colours become grey,
// the transparent colour and the face stay.
TEST(SpeedButton, InactivePictureIsGrey)
{
    TBitmap strip(16, 16);
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect(Rect(0, 0, 16, 16));
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(4, 4, 12, 12));
    std::unique_ptr<TRxSpeedButton> b(NewButton());
    b->SetGlyph(&strip);
    b->SetFlat(true);
    const int index = b->ButtonGlyph()->CreateButtonGlyph(gsInactive);
    ASSERT_GE(index, 0);
    TBitmap out(16, 16);
    out.Canvas()->Brush()->SetColor(clWhite);
    out.Canvas()->FillRect(Rect(0, 0, 16, 16));
    b->ButtonGlyph()->GlyphList()->Draw(out.Canvas(), 0, 0, index);
    const int grey = 255 * 77 / 256;
    EXPECT_EQ(static_cast<COLORREF>(out.Canvas()->Pixels(8, 8)), RGB(grey, grey, grey));
    EXPECT_EQ(static_cast<COLORREF>(out.Canvas()->Pixels(1, 1)), RGB(255, 255, 255));
}

// The disabled picture of a one-picture strip: its black shape embossed in
// the shadow colour, the background left out.
TEST(SpeedButton, DisabledPictureIsEmbossed)
{
    TBitmap strip(16, 16);
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect(Rect(0, 0, 16, 16));
    strip.Canvas()->Brush()->SetColor(clBlack);
    strip.Canvas()->FillRect(Rect(4, 4, 12, 12));
    std::unique_ptr<TRxSpeedButton> b(NewButton());
    b->SetGlyph(&strip);
    const int index = b->ButtonGlyph()->CreateButtonGlyph(gsDisabled);
    ASSERT_GE(index, 0);
    TBitmap out(16, 16);
    out.Canvas()->Brush()->SetColor(clWhite);
    out.Canvas()->FillRect(Rect(0, 0, 16, 16));
    b->ButtonGlyph()->GlyphList()->Draw(out.Canvas(), 0, 0, index);
    EXPECT_EQ(static_cast<COLORREF>(out.Canvas()->Pixels(6, 6)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(static_cast<COLORREF>(out.Canvas()->Pixels(1, 1)), RGB(255, 255, 255));
}

struct PaintableButton : TRxSpeedButton {
    using TRxSpeedButton::TRxSpeedButton;
    using TRxSpeedButton::Paint;
};

// The eight frames: held down or not, new or old style, flat or not; the
// outer corner pixels, and the inner ones where the frame has two lines.
TEST(SpeedButton, FramesByStateStyleAndFlatness)
{
    ComponentsForm();
    struct Row {
        bool pressed, isNew, flat;
        TColor outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
    } rows[] = {
        {false, true, false, clBtnHighlight, clWindowFrame, clBtnFace, clBtnShadow},
        {false, true, true, clBtnHighlight, clBtnShadow, clNone, clNone},
        {false, false, false, clWindowFrame, clWindowFrame, clBtnHighlight, clBtnShadow},
        {false, false, true, clBtnHighlight, clWindowFrame, clNone, clNone},
        {true, true, false, clWindowFrame, clBtnHighlight, clBtnShadow, clBtnFace},
        {true, true, true, clWindowFrame, clBtnHighlight, clNone, clNone},
        {true, false, false, clWindowFrame, clWindowFrame, clBtnShadow, clNone},
        {true, false, true, clWindowFrame, clBtnHighlight, clNone, clNone},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.pressed) + std::to_string(r.isNew) + std::to_string(r.flat));
        auto* b = new PaintableButton(ComponentsForm());
        b->SetParent(ComponentsForm());
        b->SetBounds(0, 0, 20, 20);
        b->SetStyle(r.isNew ? bsNew : bsWin31);
        b->SetFlat(r.flat);
        if (r.flat)
            b->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
        // Held down (not a group's exclusive state, whose pattern covers the
        // inner lines).
        if (r.pressed)
            b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        TBitmap face(20, 20);
        {
            TCanvasDCLoan loan(static_cast<TControlCanvas*>(b->Canvas()), face.Canvas()->Handle());
            b->Paint();
        }
        auto at = [&face](int x, int y) { return static_cast<COLORREF>(face.Canvas()->Pixels(x, y)); };
        EXPECT_EQ(at(0, 0), ColorToRGB(r.outerTopLeft));
        EXPECT_EQ(at(19, 19), ColorToRGB(r.outerBottomRight));
        if (r.innerTopLeft != clNone) {
            EXPECT_EQ(at(1, 1), ColorToRGB(r.innerTopLeft));
        }
        if (r.innerBottomRight != clNone) {
            EXPECT_EQ(at(18, 18), ColorToRGB(r.innerBottomRight));
        }
        if (r.pressed)
            b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
        delete b;
    }
}

// Held down with AllowTimer: each tick of the repeat timer clicks, the
// first after InitPause, then every RepeatInterval; the release stops it.
TEST(SpeedButton, RepeatTimerClicksWhileHeld)
{
    std::unique_ptr<TRxSpeedButton> b(NewButton());
    b->SetBounds(0, 0, 25, 25);
    b->SetAllowTimer(true);
    b->SetInitPause(400);
    b->SetRepeatInterval(70);
    int clicks = 0;
    struct Counter {
        int* n;
        void Clicked(TObject*) { ++*n; }
    } counter{&clicks};
    b->OnClick = TNotifyEvent(&counter, &Counter::Clicked);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    TTimer* timer = b->RepeatTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 400u);
    timer->OnTimer(timer);
    EXPECT_EQ(timer->Interval(), 70u);
    timer->OnTimer(timer);
    EXPECT_EQ(clicks, 2);
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(clicks, 3);  // the release's own click
    b->SetAllowTimer(false);
    EXPECT_EQ(b->RepeatTimer(), nullptr);
}

struct Tracking {
    std::vector<std::string> log;
    void Enter(TObject*) { log.push_back("enter"); }
    void Leave(TObject*) { log.push_back("leave"); }
};

// The mouse counts as inside an enabled button only: disabling one that had
// it leaves; a button shown again looks where the mouse is (not on it here).
TEST(SpeedButton, DisablingLeavesAndShowingLooksWhereTheMouseIs)
{
    std::unique_ptr<TRxSpeedButton> b(NewButton());
    // Away from the mouse, which is left where it is for the other tests.
    POINT mouse{};
    GetCursorPos(&mouse);
    const TPoint corner = ComponentsForm()->ClientToScreen(Point(300, 400));
    const bool mouseNear = std::abs(mouse.x - corner.x) < 100 && std::abs(mouse.y - corner.y) < 100;
    b->SetBounds(mouseNear ? 10 : 300, mouseNear ? 10 : 400, 25, 25);
    Tracking tracking;
    b->OnMouseEnter = TNotifyEvent(&tracking, &Tracking::Enter);
    b->OnMouseLeave = TNotifyEvent(&tracking, &Tracking::Leave);
    b->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b.get()));
    b->SetEnabled(false);
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_EQ(tracking.log, (std::vector<std::string>{"enter", "leave"}));

    b->SetEnabled(true);
    b->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b.get()));
    b->SetVisible(false);
    b->SetVisible(true);
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_EQ(tracking.log, (std::vector<std::string>{"enter", "leave", "enter", "leave"}));
}

// A press takes from the queue a press or double click on the button that
// waits already, and leaves one elsewhere on the parent, or one for another
// control whose own coordinates happen to lie within the button's bounds, for
// its control.
TEST(SpeedButton, APressDropsAWaitingPressOnItselfOnly)
{
    std::unique_ptr<TRxSpeedButton> b(NewButton());
    b->SetBounds(300, 400, 25, 25);
    HWND parent = ComponentsForm()->Handle();
    HWND sibling = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, parent, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(sibling, nullptr);
    const struct {
        const char* name;
        HWND target;
        UINT message;
        int x, y;  // in the target
        bool dropped;
    } rows[] = {
        {"a press elsewhere", parent, WM_LBUTTONDOWN, 100, 100, false},
        {"a double click elsewhere", parent, WM_LBUTTONDBLCLK, 100, 100, false},
        {"a press on the button", parent, WM_LBUTTONDOWN, 310, 410, true},
        {"a double click on the button", parent, WM_LBUTTONDBLCLK, 310, 410, true},
        {"a press on a sibling, at its own point within the button's bounds", sibling, WM_LBUTTONDOWN, 310, 410,
         false},
        {"a double click on a sibling, likewise", sibling, WM_LBUTTONDBLCLK, 310, 410, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        MSG m;
        while (PeekMessageA(&m, parent, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE)) {
        }
        PostMessageA(r.target, r.message, MK_LBUTTON, MAKELPARAM(r.x, r.y));
        b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(PeekMessageA(&m, r.target, r.message, r.message, PM_REMOVE) != 0, !r.dropped);
    }
    DestroyWindow(sibling);
}

} // namespace

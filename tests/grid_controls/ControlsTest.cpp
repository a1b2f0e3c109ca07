// The grid's controls on their own: the spin edit and its buttons, the edits
// with a button and with units, the flat combo box; through real messages,
// and the flat look by its pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include "grid/ASGEdit.h"
#include "grid/AdvCombo.h"
#include "grid/AdvUtil.h"
#include "grid/advspin.h"
#include "tests/classlib_listgrid/TestForm.h"

namespace {

int beeps = 0;
void CountBeep()
{
    ++beeps;
}

struct Clicks {
    int up = 0, down = 0, button = 0;
    void Up(TObject*) { ++up; }
    void Down(TObject*) { ++down; }
    void Button(TObject*) { ++button; }
};

class Controls : public testing::Test {
protected:
    void SetUp() override
    {
        TestForm();
        beeps = 0;
        oldBeeper = SetGridBeeper(&CountBeep);
    }
    void TearDown() override
    {
        delete control;
        SetGridBeeper(oldBeeper);
    }
    template <class C>
    C* Place(C* c, int width, int height)
    {
        c->SetBounds(20, 20, width, height);
        c->SetParent(TestForm());
        control = c;
        return c;
    }
    static std::string WindowText(HWND wnd)
    {
        char buffer[256] = {};
        GetWindowTextA(wnd, buffer, sizeof buffer);
        return buffer;
    }
    // Presses (and releases) the left button at a point of a window.
    static void Press(HWND wnd, int x, int y, bool release = true)
    {
        PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PumpMessages(20);
        if (release) {
            PostMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
            PumpMessages(20);
        }
    }

    TWinControl* control = nullptr;
    TGridBeeper oldBeeper = nullptr;
};

} // namespace

TEST_F(Controls, SpinEditBoundsAndValue)
{
    auto* spin = Place(new TAdvSpinEdit(TestForm()), 80, 24);
    spin->SetValue(150);
    EXPECT_EQ(spin->Text(), "150") << "MinValue = MaxValue: no bounds";
    spin->SetValue(-7);
    EXPECT_EQ(spin->Value(), -7);
    spin->SetMaxValue(100);
    spin->SetValue(150);
    EXPECT_EQ(spin->Text(), "100");
    spin->SetValue(-5);
    EXPECT_EQ(spin->Text(), "0");
    spin->SetText("abc");
    spin->SetMinValue(3);
    EXPECT_EQ(spin->Value(), 3) << "a text that is no number reads as MinValue";
    spin->SetIncrement(5);
    spin->SetText("10");
    spin->StepUp();
    EXPECT_EQ(spin->Value(), 15);
    spin->StepDown();
    spin->StepDown();
    EXPECT_EQ(spin->Value(), 5);
    spin->SetReadOnly(true);
    spin->StepUp();
    EXPECT_EQ(spin->Value(), 5);
    EXPECT_EQ(beeps, 1) << "a read-only spin edit only beeps";
}

TEST_F(Controls, SpinEditTyping)
{
    auto* spin = Place(new TAdvSpinEdit(TestForm()), 80, 24);
    spin->SetText("");
    FocusWindow(spin->Handle());
    TypeText("1a-+5");
    EXPECT_EQ(spin->Text(), "1-+5");
    EXPECT_EQ(beeps, 1) << "the letter beeps";
    // Without the editor, digits are refused but Up and Down still step
    // and select the whole text.
    spin->SetText("7");
    spin->SetEditorEnabled(false);
    beeps = 0;
    TypeText("3");
    EXPECT_EQ(spin->Text(), "7");
    EXPECT_EQ(beeps, 1);
    PressKey(VK_UP);
    EXPECT_EQ(spin->Text(), "8");
    EXPECT_EQ(spin->SelLength(), 1);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_EQ(spin->Text(), "6");
    // Cut and paste do nothing then.
    SendMessageA(spin->Handle(), EM_SETSEL, 0, -1);
    SendMessageA(spin->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(spin->Text(), "6");
}

TEST_F(Controls, SpinEditKeepsItsTextBeforeTheButtons)
{
    auto* spin = Place(new TAdvSpinEdit(TestForm()), 80, 24);
    RECT r{};
    SendMessageA(spin->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    // Wine keeps one pixel more inside a framed edit's area than asked for.
    EXPECT_LE(r.right, spin->ClientWidth() - spin->Button()->Width() - 2);
    EXPECT_GE(r.right, spin->ClientWidth() - spin->Button()->Width() - 3);
    EXPECT_EQ(spin->Button()->Left(), spin->Width() - spin->Button()->Width() - 5);
    EXPECT_EQ(spin->Button()->Height(), spin->Height() - 5);
    spin->SetHeight(5);
    EXPECT_EQ(spin->Height(), spin->MinHeight()) << "never lower than the font needs";
    spin->SetBorderStyle(bsNone);
    spin->SetHeight(30);
    SendMessageA(spin->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.right, spin->ClientWidth() - spin->Button()->Width() - 3);
    EXPECT_EQ(spin->Button()->Height(), 29);
}

TEST_F(Controls, SpinButtonLayout)
{
    auto* button = Place(new TAdvSpinButton(TestForm()), 15, 25);
    EXPECT_EQ(button->UpButton()->Top(), 0);
    EXPECT_EQ(button->UpButton()->Height(), 12);
    EXPECT_EQ(button->DownButton()->Top(), 11);
    EXPECT_EQ(button->DownButton()->Height(), 14);
    EXPECT_EQ(button->UpButton()->Glyph()->Width(), 9) << "the default glyph";
    EXPECT_EQ(button->UpButton()->Glyph()->Height(), 6);
    button->SetWidth(10);
    EXPECT_EQ(button->Width(), 15);
    button->SetDirection(spHorizontal);
    EXPECT_EQ(button->Width(), 20);
    EXPECT_EQ(button->DownButton()->Left(), 0);
    EXPECT_EQ(button->DownButton()->Width(), 10);
    EXPECT_EQ(button->UpButton()->Left(), 11);
    EXPECT_EQ(button->UpButton()->ArrowKind(), 1);
    EXPECT_EQ(button->DownButton()->ArrowKind(), 0);
    TBitmap none;
    button->SetUpGlyph(&none);
    EXPECT_EQ(button->UpButton()->Glyph()->Width(), 9) << "no picture puts the default back";
}

TEST_F(Controls, SpinButtonRepeatsWhileHeld)
{
    auto* button = Place(new TAdvSpinButton(TestForm()), 15, 25);
    Clicks clicks;
    button->OnUpClick = TNotifyEvent(&clicks, &Clicks::Up);
    button->OnDownClick = TNotifyEvent(&clicks, &Clicks::Down);
    Press(button->Handle(), 7, 5, false);
    EXPECT_EQ(clicks.up, 0) << "a press is no click";
    TTimer* timer = button->UpButton()->RepeatTimer();
    ASSERT_TRUE(timer);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 400u);
    // The window timer's ticks: the first after 400 ms, then every 100 ms.
    PumpUntil([&] { return clicks.up >= 1; });
    EXPECT_EQ(clicks.up, 1);
    EXPECT_EQ(timer->Interval(), 100u);
    PumpUntil([&] { return clicks.up >= 3; });
    EXPECT_EQ(clicks.up, 3);
    PostMessageA(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(7, 5));
    PumpMessages(20);
    EXPECT_EQ(clicks.up, 4) << "the release over the button clicks once more";
    EXPECT_FALSE(timer->Enabled());
    PumpMessages(300);
    EXPECT_EQ(clicks.up, 4);
    Press(button->Handle(), 7, 20);
    EXPECT_EQ(clicks.down, 1);
}

TEST_F(Controls, SpinEditStepsThroughItsButtons)
{
    auto* spin = Place(new TAdvSpinEdit(TestForm()), 80, 24);
    spin->SetText("4");
    HWND buttons = spin->Button()->Handle();
    Press(buttons, 5, 3);
    EXPECT_EQ(spin->Text(), "5");
    Press(buttons, 5, spin->Button()->Height() - 3);
    Press(buttons, 5, spin->Button()->Height() - 3);
    EXPECT_EQ(spin->Text(), "3");
    EXPECT_EQ(GetFocus(), spin->Handle()) << "a press gives the edit the focus";
}

TEST_F(Controls, EditBtnTextEndsBeforeItsButton)
{
    auto* edit = Place(new TEditBtn(TestForm()), 100, 24);
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(edit->Button()->Width(), 15);
    RECT r{};
    SendMessageA(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    // Wine keeps one pixel more inside a framed edit's area than asked for.
    EXPECT_LE(r.right, edit->ClientWidth() - 18);
    EXPECT_GE(r.right, edit->ClientWidth() - 19);
    EXPECT_GE(r.left, 1);
    EXPECT_LE(r.left, 2);
    EXPECT_EQ(edit->Button()->Left(), 100 - 15 - 5);
    // Typed text scrolls within the area and never runs under the button.
    FocusWindow(edit->Handle());
    edit->SetText("");
    TypeText(std::string(40, 'W'));
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_LE(caret.x, r.right);
}

TEST_F(Controls, EditBtnActsOnThePressAndGuardsPaste)
{
    auto* edit = Place(new TEditBtn(TestForm()), 100, 24);
    Clicks clicks;
    edit->OnClickBtn = TNotifyEvent(&clicks, &Clicks::Button);
    Press(edit->Button()->Handle(), 7, 7, false);
    EXPECT_EQ(clicks.button, 1) << "before the release";
    PostMessageA(edit->Button()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(7, 7));
    PumpMessages(20);
    EXPECT_EQ(clicks.button, 1);
    EXPECT_EQ(GetFocus(), edit->Handle());

    edit->SetEditorEnabled(false);
    edit->SetText("ab");
    SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
    SendMessageA(edit->Handle(), WM_CUT, 0, 0);
    SendMessageA(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "ab");
    SendMessageA(edit->Handle(), EM_SETSEL, 2, 2);
    TypeText("c");
    EXPECT_EQ(edit->Text(), "abc") << "typing still works";
}

TEST_F(Controls, UnitMenuChoosesTheUnit)
{
    auto* edit = Place(new TUnitEditBtn(TestForm()), 120, 24);
    EXPECT_TRUE(edit->RightAlign());
    EXPECT_EQ(edit->UnitSpace(), 20);
    edit->Units()->Add("kg");
    edit->Units()->Add("g");
    RECT r{};
    SendMessageA(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_LE(r.right, edit->ClientWidth() - 15 - 3 - 20);
    EXPECT_GE(r.right, edit->ClientWidth() - 15 - 3 - 21);
    FocusWindow(edit->Handle());
    // The menu is modal: its keys wait in the queue before the press (sent,
    // not posted) opens it.
    PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_DOWN, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_DOWN, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(edit->Button()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 7));
    SendMessageA(edit->Button()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(7, 7));
    PumpMessages(50);
    EXPECT_EQ(edit->UnitID(), "g");
    EXPECT_EQ(edit->Text(), "0") << "the unit does not touch the text";
    // The strip between the text and the button shows it.
    RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(30);
    HDC dc = GetDC(edit->Handle());
    const int right = edit->ClientWidth() - 15 - 3;
    int dark = 0;
    for (int x = right - 20; x < right; ++x)
        for (int y = 2; y < edit->ClientHeight(); ++y)
            dark += GetPixel(dc, x, y) == RGB(0, 0, 0);
    ReleaseDC(edit->Handle(), dc);
    EXPECT_GT(dark, 5);
}

TEST_F(Controls, FlatComboSettings)
{
    auto* combo = Place(new TAdvComboBox(TestForm()), 120, 21);
    EXPECT_EQ(combo->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 2);
    EXPECT_TRUE(combo->Flat());
    EXPECT_FALSE(combo->Ctl3D());
    for (int width : {10, 40, 13, 33}) {
        combo->SetButtonWidth(width);
        EXPECT_NE(combo->ButtonWidth(), width) << width;
    }
    combo->SetButtonWidth(16);
    EXPECT_EQ(combo->ButtonWidth(), 16);
    combo->SetFlat(false);
    EXPECT_TRUE(combo->Ctl3D());

    // Disabled it takes the parent's colour; enabled, its own again, the one
    // it had when it was disabled.
    combo->SetFlat(true);
    combo->SetColor(clAqua);
    combo->SetEnabled(false);
    EXPECT_EQ(combo->Color(), TestForm()->Color());
    combo->SetEnabled(true);
    EXPECT_EQ(combo->Color(), clAqua);
    combo->SetColor(clYellow);
    combo->SetEnabled(false);
    combo->SetEnabled(true);
    EXPECT_EQ(combo->Color(), clYellow);
}

namespace {

COLORREF PixelOf(HWND wnd, int x, int y)
{
    HDC dc = GetWindowDC(wnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(wnd, dc);
    return c;
}

} // namespace

TEST_F(Controls, FlatComboAtRestAndHot)
{
    auto* combo = Place(new TAdvComboBox(TestForm()), 120, 21);
    combo->SetStyle(csDropDownList);
    combo->Items()->Add("jeden");
    combo->SetItemIndex(0);
    HWND wnd = combo->Handle();
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    PumpMessages(50);
    const int cw = combo->ClientWidth(), ch = combo->ClientHeight(), bw = combo->ButtonWidth();
    const COLORREF parent = ColorToRGB(TestForm()->Color());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // At rest: two frames in the parent's colour, one in the window colour;
    // the button's face plain.
    EXPECT_EQ(PixelOf(wnd, 0, ch / 2), parent);
    EXPECT_EQ(PixelOf(wnd, 1, ch / 2), parent);
    EXPECT_EQ(PixelOf(wnd, 2, ch / 2), ColorToRGB(combo->Color()));
    EXPECT_EQ(PixelOf(wnd, cw - bw + 1, 3), face);
    EXPECT_EQ(PixelOf(wnd, cw - bw, ch - 4), face);

    // The mouse over it raises the button: a light top-left edge and a dark
    // bottom-right one.
    combo->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(combo));
    EXPECT_TRUE(combo->MouseInControl());
    EXPECT_EQ(PixelOf(wnd, cw - bw + 1, 2), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelOf(wnd, cw - 3, ch - 3), GetSysColor(COLOR_BTNSHADOW));

    // The simple style has no button.
    combo->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(combo));
    combo->SetStyle(csSimple);
    combo->SetHeight(60);
    RedrawWindow(combo->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    PumpMessages(50);
    EXPECT_NE(PixelOf(combo->Handle(), combo->ClientWidth() - bw + 1, 3), face);
}

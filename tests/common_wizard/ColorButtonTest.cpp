// The colour button: its face, border and caption drawn into a bitmap, the
// kinds with their Polish captions, the default and cancel roles, the help
// and close kinds, and the hover border.
#include <gtest/gtest.h>

#include "WizardTestUtil.h"
#include "classlib/ExtCtrls.h"
#include "classlib/FormReader.h"
#include "classlib/StdCtrls.h"
#include "common/qmxcolorbutton.h"
#include "tests/support/TestUtil.h"

namespace {

constexpr TColor FaceColor = 14155775;  // the button's colour at creation
constexpr TColor Behind = clAqua;   // the form's colour

// Records the button's and the form's events.
struct TButtonListener : TObject {
    std::vector<std::string> Log;
    void Click(TObject*) { Log.push_back("click"); }
    void Enter(TControl*, TCmMouseEnter& m) { Log.push_back(m.Msg == CM_MOUSEENTER ? "enter" : "?"); }
    void Leave(TControl*, TCmMouseEnter& m) { Log.push_back(m.Msg == CM_MOUSELEAVE ? "leave" : "?"); }
    void Close(TObject*, TCloseAction&) { Log.push_back("form closes"); }
    void Help(WORD command, LONG_PTR data, bool& callHelp, bool& result)
    {
        Log.push_back("help " + std::to_string(command) + " " + std::to_string(data));
        callHelp = false;
        result = true;
    }
};

class ColorButton : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureWizardApplication();
        form = new TForm(Application);
        form->SetBounds(0, 0, 400, 300);
        form->SetColor(Behind);
        button = new TqmxColorButton(form);
        button->SetParent(form);
        button->SetBounds(10, 10, 80, 25);
        button->SetCaption("Zapisz");
        button->OnClick = TNotifyEvent(&listener, &TButtonListener::Click);
    }
    void TearDown() override
    {
        form->Free();
        Application->OnHelp.Clear();
    }

    // Draws the face as the system asks for it, into rect of bitmap.
    static void DrawFace(TqmxColorButton* b, TBitmap& bitmap, const TRect& rect, UINT state)
    {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hDC = bitmap.Canvas()->Handle();
        item.rcItem = rect;
        b->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
    std::unique_ptr<TBitmap> DrawnFace(UINT state = 0)
    {
        auto bitmap = std::make_unique<TBitmap>(button->Width(), button->Height(), pf24bit);
        DrawFace(button, *bitmap, Rect(0, 0, button->Width(), button->Height()), state);
        return bitmap;
    }
    static int Count(TBitmap& b, const TRect& r, TColor color)
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += PixelAt(b, x, y) == color;
        return n;
    }

    TForm* form = nullptr;
    TqmxColorButton* button = nullptr;
    TButtonListener listener;
};

TEST_F(ColorButton, FaceBorderAndCornersStandWhereTheStateSaysInTheirColours)
{
    button->SetActiveBorderColor(clRed);
    const struct {
        const char* state;
        UINT itemState;
        bool hover;
        // Pixels along the middle row from the left edge, and down the middle
        // column from the top edge.
        std::vector<TColor> row;
        std::vector<TColor> column;
    } rows[] = {
        {"plain", 0, false, {Behind, clTeal, FaceColor, FaceColor}, {Behind, clTeal, FaceColor, FaceColor}},
        {"mouse over it", 0, true, {Behind, clRed, clRed, FaceColor}, {Behind, clRed, clRed, FaceColor}},
        {"pressed: one pixel down and right", ODS_SELECTED, false, {Behind, Behind, clTeal, FaceColor},
         {Behind, Behind, clTeal, FaceColor}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.state);
        button->Perform(r.hover ? CM_MOUSEENTER : CM_MOUSELEAVE);
        auto b = DrawnFace(r.itemState);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(PixelAt(*b, i, 12), r.row[i]);
            EXPECT_EQ(PixelAt(*b, 40, i), r.column[i]);
        }
        // The rounded corner shows what is behind the button.
        EXPECT_EQ(PixelAt(*b, 2, 2), Behind);
        const int shift = r.itemState & ODS_SELECTED ? 1 : 0;
        EXPECT_EQ(PixelAt(*b, 78 + shift, 12), r.hover ? clRed : clTeal) << "right edge";
        EXPECT_EQ(PixelAt(*b, 40, 23 + shift), r.hover ? clRed : clTeal) << "bottom edge";
    }
}

TEST_F(ColorButton, CaptionIsBlackWhenEnabledAndGrayWhenDisabled)
{
    const TRect inside = Rect(4, 4, 76, 21);
    auto enabled = DrawnFace();
    EXPECT_GT(Count(*enabled, inside, clBlack), 5);
    EXPECT_EQ(Count(*enabled, inside, clGray), 0);
    button->SetEnabled(false);
    auto disabled = DrawnFace();
    EXPECT_EQ(Count(*disabled, inside, clBlack), 0);
    EXPECT_GT(Count(*disabled, inside, clGray), 5);
}

TEST_F(ColorButton, FocusedOrDefaultCaptionTurnsBoldAndFocusFramesTheText)
{
    const struct {
        const char* state;
        bool boldWhenDefault, isDefault;
        UINT itemState;
        bool bold;
    } rows[] = {
        {"plain", true, false, 0, false},
        {"default", true, true, 0, true},
        {"focused", true, false, ODS_FOCUS, true},
        {"focused, bold not wanted", false, false, ODS_FOCUS, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.state);
        button->Font()->SetStyle(TFontStyles());
        button->SetBoldWhenDefault(r.boldWhenDefault);
        button->SetDefault(r.isDefault);
        DrawnFace(r.itemState);
        EXPECT_EQ(button->Font()->Style().Contains(fsBold), r.bold);
    }

    // The focus frame: 4 pixels wider than the text on each side, from 2
    // pixels below the top.
    button->SetBoldWhenDefault(false);
    button->SetDefault(false);
    TBitmap measure(1, 1, pf24bit);
    measure.Canvas()->SetFont(button->Font());
    const TSize text = measure.Canvas()->TextExtent("Zapisz");
    auto plain = DrawnFace();
    auto focused = DrawnFace(ODS_FOCUS);
    TRect changed = Rect(1000, 1000, -1, -1);
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 80; ++x)
            if (PixelAt(*plain, x, y) != PixelAt(*focused, x, y)) {
                changed.left = std::min<LONG>(changed.left, x);
                changed.top = std::min<LONG>(changed.top, y);
                changed.right = std::max<LONG>(changed.right, x + 1);
                changed.bottom = std::max<LONG>(changed.bottom, y + 1);
            }
    const int left = (80 - text.cx) / 2 - 4;
    EXPECT_EQ(changed.left, left);
    EXPECT_EQ(changed.top, 2);
    EXPECT_EQ(changed.right, left + text.cx + 8);
    // How far down the frame reaches is the system's measure of a centred line.
    EXPECT_GE(changed.bottom, 2 + text.cy);
    EXPECT_LE(changed.bottom, 25);
}

TEST_F(ColorButton, BackslashNBreaksTheCaptionUnlessSingleLine)
{
    button->SetBounds(10, 10, 80, 60);
    button->SetCaption("Dalej\\nkrok");
    TBitmap measure(1, 1, pf24bit);
    measure.Canvas()->SetFont(button->Font());
    const int lineHeight = measure.Canvas()->TextHeight("Dalej");
    const int oneLineWidth = measure.Canvas()->TextWidth("Dalej krok");
    const struct {
        bool singleLine;
        int lines;
    } rows[] = {{true, 1}, {false, 2}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.singleLine);
        button->SetSingleLine(r.singleLine);
        auto b = DrawnFace();
        int top = 1000, bottom = -1, left = 1000, right = -1;
        // Inside the rounded face, clear of the border and the corners.
        for (int y = 4; y < 56; ++y)
            for (int x = 12; x < 68; ++x)
                if (PixelAt(*b, x, y) != FaceColor) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_GE(bottom, top);
        if (r.lines == 1) {
            EXPECT_LE(bottom - top + 1, lineHeight);
            EXPECT_GT(top, 60 / 2 - lineHeight) << "centred vertically";
            EXPECT_GT(right - left + 1, oneLineWidth * 3 / 4) << "both words on the line";
        } else {
            EXPECT_GT(bottom - top + 1, lineHeight);
            EXPECT_LT(top, lineHeight) << "from the top";
            EXPECT_LT(right - left + 1, oneLineWidth * 3 / 4);
        }
    }
}

TEST_F(ColorButton, KindsSetPolishCaptionsModalResultsAndRoles)
{
    const struct {
        TBitBtnKind kind;
        const char* caption;
        TModalResult modal;
        bool isDefault, isCancel;
    } rows[] = {
        {bkOK, "OK", 1, true, false},         {bkCancel, "Anuluj", 2, false, true},
        {bkHelp, "Pomo&c", 0, false, false},  {bkYes, "&Tak", 6, true, false},
        {bkNo, "&Nie", 7, false, true},       {bkClose, "&Zamknij", 0, false, false},
        {bkAbort, "&Przerwij", 3, false, false}, {bkRetry, "Powtó&rz", 4, false, false},
        {bkIgnore, "&Ignoruj", 5, false, false}, {bkAll, "&Wszystkie", 8, false, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.caption);
        auto* b = new TqmxColorButton(form);
        b->SetParent(form);
        EXPECT_EQ(b->Kind(), bkCustom);
        b->SetKind(r.kind);
        EXPECT_EQ(b->Caption(), r.caption);
        EXPECT_EQ(b->ModalResult(), r.modal);
        EXPECT_EQ(b->Default(), r.isDefault);
        EXPECT_EQ(b->Cancel(), r.isCancel);
        EXPECT_EQ(b->Kind(), r.kind);
        // Custom again: caption and roles stay as they are.
        b->SetKind(bkCustom);
        EXPECT_EQ(b->Caption(), r.caption);
        EXPECT_EQ(b->Default(), r.isDefault);
        b->SetKind(r.kind);
        // A role or result changed by hand makes the button a custom one.
        b->SetModalResult(r.modal + 1);
        EXPECT_EQ(b->Kind(), bkCustom);
        b->SetKind(r.kind);
        b->SetDefault(!r.isDefault);
        EXPECT_EQ(b->Kind(), bkCustom);
        delete b;
    }
}

TEST_F(ColorButton, AFormKeepsItsOwnCaptionForAKind)
{
    ReadFormText(form, "object fDialog: TForm\n"
                       "  object bOK: TqmxColorButton\n"
                       "    Kind = bkOK\n"
                       "  end\n"
                       "  object bAnuluj: TqmxColorButton\n"
                       "    Caption = '&Rezygnuję'\n"
                       "    Kind = bkCancel\n"
                       "    BorderColor = clNavy\n"
                       "    RoundSize = 10\n"
                       "    SingleLine = False\n"
                       "    Style = bsNew\n"
                       "  end\n"
                       "end\n");
    auto* ok = dynamic_cast<TqmxColorButton*>(form->FindComponent("bOK"));
    auto* cancel = dynamic_cast<TqmxColorButton*>(form->FindComponent("bAnuluj"));
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_TRUE(ok->Default());
    EXPECT_EQ(cancel->Caption(), "&Rezygnuję");
    EXPECT_EQ(cancel->Kind(), bkCancel);
    EXPECT_TRUE(cancel->Cancel());
    EXPECT_EQ(cancel->ModalResult(), mrCancel);
    EXPECT_EQ(cancel->BorderColor(), clNavy);
    EXPECT_EQ(cancel->RoundSize(), 10);
    EXPECT_FALSE(cancel->SingleLine());
    EXPECT_EQ(cancel->Style(), bsNew);
    // Creation defaults.
    EXPECT_EQ(ok->Color(), FaceColor);
    EXPECT_FALSE(ok->ParentColor());
    EXPECT_EQ(ok->ActiveBorderColor(), clTeal);
    EXPECT_EQ(ok->RoundSize(), 24);
    EXPECT_TRUE(ok->BoldWhenDefault());
}

TEST_F(ColorButton, EnterClicksTheDefaultButtonAndEscapeTheCancelButton)
{
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 50, 100, 21);
    button->SetKind(bkOK);
    auto* cancel = new TqmxColorButton(form);
    cancel->SetParent(form);
    cancel->SetBounds(100, 10, 80, 25);
    cancel->SetKind(bkCancel);
    cancel->OnClick = TNotifyEvent(&listener, &TButtonListener::Click);
    form->HandleNeeded();

    const struct {
        WPARAM key;
        TModalResult result;
    } rows[] = {{VK_RETURN, mrOk}, {VK_ESCAPE, mrCancel}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.key);
        form->SetModalResult(mrNone);
        listener.Log.clear();
        PostMessageA(edit->Handle(), WM_KEYDOWN, r.key, 1);
        Application->ProcessMessages();
        EXPECT_EQ(form->ModalResult(), r.result);
        EXPECT_EQ(listener.Log, std::vector<std::string>{"click"});
    }
}

TEST_F(ColorButton, HelpAndCloseKindsActInsteadOfClicking)
{
    Application->OnHelp = THelpEvent(&listener, &TButtonListener::Help);
    form->OnClose = TCloseEvent(&listener, &TButtonListener::Close);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    button->SetParent(panel);
    const struct {
        const char* what;
        TBitBtnKind kind;
        int buttonHelp, panelHelp;
        std::vector<std::string> log;
    } rows[] = {
        {"help without any help context clicks", bkHelp, 0, 0, {"click"}},
        {"help of the parent", bkHelp, 0, 77, {"help 1 77"}},
        {"help of the button itself", bkHelp, 5, 77, {"help 1 5"}},
        {"close closes the form", bkClose, 0, 0, {"form closes"}},
        {"any other kind clicks", bkRetry, 0, 0, {"click"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        button->SetKind(r.kind);
        button->SetHelpContext(r.buttonHelp);
        panel->SetHelpContext(r.panelHelp);
        listener.Log.clear();
        button->Click();
        EXPECT_EQ(listener.Log, r.log);
    }
    EXPECT_EQ(form->ModalResult(), mrRetry);
}

TEST_F(ColorButton, TheBorderFollowsTheMouseWhileEnabledAndTheEventsAlwaysFire)
{
    button->SetActiveBorderColor(clRed);
    button->OnMouseEnter = TMouseEnter(&listener, &TButtonListener::Enter);
    button->OnMouseLeave = TMouseLeave(&listener, &TButtonListener::Leave);
    auto border = [&] { return PixelAt(*DrawnFace(), 2, 12) == clRed ? "wide" : "thin"; };
    const struct {
        const char* what;
        bool enabled;
        UINT msg;
        LPARAM point;
        const char* border;
        std::vector<std::string> log;
    } steps[] = {
        {"enter", true, CM_MOUSEENTER, 0, "wide", {"enter"}},
        {"leave", true, CM_MOUSELEAVE, 0, "thin", {"leave"}},
        {"a move inside (the application tells it the mouse came)", true, WM_MOUSEMOVE, MAKELPARAM(5, 5), "wide", {"enter"}},
        {"leave again", true, CM_MOUSELEAVE, 0, "thin", {"leave"}},
        {"a move outside", true, WM_MOUSEMOVE, MAKELPARAM(-3, 5), "thin", {}},
        {"disabled: enter", false, CM_MOUSEENTER, 0, "thin", {"enter"}},
        {"enabled: enter", true, CM_MOUSEENTER, 0, "wide", {"enter"}},
        {"disabled: leave", false, CM_MOUSELEAVE, 0, "wide", {"leave"}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        button->SetEnabled(s.enabled);
        listener.Log.clear();
        button->Perform(s.msg, 0, s.point);
        EXPECT_STREQ(border(), s.border);
        EXPECT_EQ(listener.Log, s.log);
    }
    // A click leaves the border wide until the mouse leaves.
    button->SetEnabled(true);
    button->Perform(CM_MOUSELEAVE);
    button->Click();
    EXPECT_STREQ(border(), "wide");
}

TEST_F(ColorButton, TheSystemDrawsItThroughTheFormAndADoubleClickIsTwoPresses)
{
    form->HandleNeeded();
    const HWND wnd = button->Handle();
    EXPECT_EQ(GetWindowLongA(wnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

    // The button's window asks its parent to draw it.
    TBitmap picture(80, 25, pf24bit);
    SendMessageA(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Canvas()->Handle()), PRF_CLIENT);
    EXPECT_EQ(PixelAt(picture, 1, 12), clTeal);
    EXPECT_EQ(PixelAt(picture, 4, 12), FaceColor);

    listener.Log.clear();
    const LPARAM at = MAKELPARAM(20, 10);
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(wnd, WM_LBUTTONUP, 0, at);
    SendMessageA(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(wnd, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(listener.Log, (std::vector<std::string>{"click", "click"}));
}

// The picture is for people; the pixels of each state drawn on it are
// checked as well.
TEST_F(ColorButton, PictureOfTheStatesForPeople)
{
    const int w = 90, h = 35;
    TBitmap sheet(3 * w, 4 * h, pf24bit);
    sheet.Canvas()->Brush()->SetColor(Behind);
    sheet.Canvas()->FillRect(Rect(0, 0, sheet.Width(), sheet.Height()));
    auto at = [&](int col, int row, int height = 25) { return Bounds(col * w + 5, row * h + 5, 80, height); };
    button->SetActiveBorderColor(clRed);
    DrawFace(button, sheet, at(0, 0), 0);
    button->Perform(CM_MOUSEENTER);
    DrawFace(button, sheet, at(1, 0), 0);
    button->Perform(CM_MOUSELEAVE);
    DrawFace(button, sheet, at(2, 0), ODS_SELECTED);
    DrawFace(button, sheet, at(0, 1), ODS_FOCUS);  // turns the caption bold ...
    DrawFace(button, sheet, at(0, 1), ODS_FOCUS);  // ... which shows on the next drawing
    button->SetEnabled(false);
    DrawFace(button, sheet, at(1, 1), 0);
    button->SetEnabled(true);
    button->SetKind(bkCancel);
    DrawFace(button, sheet, at(2, 1), 0);
    button->SetCaption("Dalej\\nkrok");
    button->SetSingleLine(false);
    DrawFace(button, sheet, at(0, 2, 60), 0);
    button->SetSingleLine(true);
    DrawFace(button, sheet, at(1, 2), 0);
    TempFolder pictures;
    SavePicture(sheet, pictures.Path(), "color_button.png");

    // What each state shows where the other tests found it: the border along
    // the middle row, and the caption's ink inside the face.
    auto pixel = [&](int col, int row, int x, int y) { return PixelAt(sheet, col * w + 5 + x, row * h + 5 + y); };
    auto ink = [&](int col, int row, TColor color, int height = 25) {
        return Count(sheet, Bounds(col * w + 5 + 4, row * h + 5 + 4, 72, height - 8), color);
    };
    const struct {
        const char* state;
        int col, row;
        TColor edge, inside, caption;  // at (1, 12), at (2, 12), the caption's colour
    } rows[] = {
        {"plain", 0, 0, clTeal, FaceColor, clBlack},
        {"mouse over it", 1, 0, clRed, clRed, clBlack},
        {"pressed", 2, 0, Behind, clTeal, clBlack},
        {"focused", 0, 1, clTeal, FaceColor, clBlack},
        {"disabled", 1, 1, clTeal, FaceColor, clGray},
        {"cancel kind", 2, 1, clTeal, FaceColor, clBlack},
        {"one line", 1, 2, clTeal, FaceColor, clBlack},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.state);
        EXPECT_EQ(pixel(r.col, r.row, 1, 12), r.edge);
        EXPECT_EQ(pixel(r.col, r.row, 2, 12), r.inside);
        EXPECT_EQ(pixel(r.col, r.row, 2, 2), Behind) << "the rounded corner";
        EXPECT_GT(ink(r.col, r.row, r.caption), 5);
    }
    EXPECT_EQ(ink(1, 1, clBlack), 0) << "a disabled caption is grey only";
    // The focused one (bold caption, focus frame) differs from the plain one.
    int differing = 0;
    for (int y = 4; y < 21; ++y)
        for (int x = 4; x < 76; ++x)
            differing += pixel(0, 0, x, y) != pixel(0, 1, x, y);
    EXPECT_GT(differing, 20);
    // Two lines fill the upper and the lower half of the tall face.
    EXPECT_GT(Count(sheet, Bounds(0 * w + 5 + 12, 2 * h + 5 + 4, 56, 14), clBlack), 5);
    EXPECT_GT(Count(sheet, Bounds(0 * w + 5 + 12, 2 * h + 5 + 18, 56, 14), clBlack), 5);
}

} // namespace

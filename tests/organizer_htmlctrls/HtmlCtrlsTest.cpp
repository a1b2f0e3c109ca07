// The organizer's small controls: the HTML list boxes and label (heights,
// anchors, colours), the older renderer's differences, the tab set bound to
// a notebook, the check-box group box and the shadowed label; a picture of
// them all for people to look at.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/ExtCtrls.h"
#include "classlib/FormReader.h"
#include "classlib/Forms.h"
#include "classlib/PngWriter.h"
#include "components/VCLUtils.h"
#include "organizer/EnhGB.h"
#include "organizer/HTMListb.h"
#include "organizer/RXCtrls.h"
#include "organizer/htmlabel.h"
#include "organizer/htmleng.h"
#include "organizer/qmxHTMlistbox.h"
#include "organizer/qmxTabSet.h"
#include "tests/support/TestUtil.h"

namespace {

std::vector<std::string> opened;  // anchors handed to the shell

void RecordOpen(const std::string& anchor)
{
    opened.push_back(anchor);
}

void EnsureApplication()
{
    if (Application)
        return;
    InitFormsUnit();
    HTMListbStartup();
    htmlabelStartup();
    qmxHTMlistboxStartup();
    qmxTabSetStartup();
    EnhGBStartup();
    RXCtrlsStartup();
}

void UseTestFont(TFont* font)
{
    font->SetName("Tahoma");
    font->SetSize(8);
    font->SetColor(clBlack);
}

// The height of one line of text in the font, as the renderer lays it out.
int LineHeight(TFont* font)
{
    TBitmap b(10, 10, pf24bit);
    b.Canvas()->SetFont(font);
    return b.Canvas()->TextHeight("gh");
}

// The client area of a windowed control painted into a bitmap: its own
// painting (the system's for a list box) and its windowless children.
std::unique_ptr<TBitmap> Paint(TWinControl* control)
{
    const TRect r = control->ClientRect();
    auto bitmap = std::make_unique<TBitmap>(r.right, r.bottom, pf24bit);
    bitmap->Canvas()->Brush()->SetColor(0x00FF00FF);
    bitmap->Canvas()->FillRect(r);
    SendMessageA(control->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(bitmap->Canvas()->Handle()), 0);
    return bitmap;
}

int CountPixels(TBitmap& b, const TRect& r, TColor color)
{
    const COLORREF want = ColorToRGB(color);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (static_cast<COLORREF>(b.Canvas()->Pixels(x, y)) == want)
                ++n;
    return n;
}

// The smallest rectangle holding every pixel of the colour (empty: none).
TRect BoxOf(TBitmap& b, const TRect& r, TColor color)
{
    const COLORREF want = ColorToRGB(color);
    TRect box{INT_MAX, INT_MAX, -1, -1};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (static_cast<COLORREF>(b.Canvas()->Pixels(x, y)) == want) {
                box.left = std::min<int>(box.left, x);
                box.top = std::min<int>(box.top, y);
                box.right = std::max<int>(box.right, x + 1);
                box.bottom = std::max<int>(box.bottom, y + 1);
            }
    return box;
}

// What the anchor and mouse events told.
struct Heard {
    std::vector<std::string> events;
    void AnchorClick(TObject*, int index, const std::string& anchor)
    {
        events.push_back("click " + std::to_string(index) + " " + anchor);
    }
    void AnchorEnter(TObject*, int index, const std::string& anchor)
    {
        events.push_back("enter " + std::to_string(index) + " " + anchor);
    }
    void LabelClick(TObject*, const std::string& anchor) { events.push_back("click " + anchor); }
    void LabelEnter(TObject*, const std::string& anchor) { events.push_back("enter " + anchor); }
    void LabelExit(TObject*, const std::string& anchor) { events.push_back("exit " + anchor); }
    void MouseDown(TObject*, TMouseButton, TShiftState, int, int) { events.push_back("mousedown"); }
    void Notify(TObject*) { events.push_back("notify"); }
};

// A hidden form with a panel (for windowless controls) in Tahoma 8.
class HtmlCtrls : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        opened.clear();
        oldOpen = SetShellOpenProc(&RecordOpen);
        form = new TForm(Application);
        form->SetBounds(20, 20, 420, 320);
        UseTestFont(form->Font());
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBevelOuter(bvNone);
        panel->SetBounds(0, 0, 400, 300);
        panel->SetColor(clWhite);
        form->HandleNeeded();
    }
    void TearDown() override
    {
        form->Free();
        SetShellOpenProc(oldOpen);
    }

    static void Click(TWinControl* c, int x, int y, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP)
    {
        SendMessageA(c->Handle(), down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(x, y));
        SendMessageA(c->Handle(), up, 0, MAKELPARAM(x, y));
    }
    static int ItemHeight(TWinControl* box, int index)
    {
        return static_cast<int>(SendMessageA(box->Handle(), LB_GETITEMHEIGHT, index, 0));
    }

    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TShellOpenProc oldOpen = nullptr;
    Heard heard;
};

// ---------------------------------------------------------------------------
// THTMListbox

TEST_F(HtmlCtrls, ListBoxItemTakesItsMarkupsHeightWhateverMultilineSays)
{
    struct Row {
        const char* markup;
        bool multiline;
        int lines;
    };
    const Row rows[] = {
        {"jedna linia", false, 1},
        {"a<br>b<br>c", false, 3},
        {"a<br>b<br>c", true, 3},
        {"<b>Kopia</b><br>z dnia 1.02.2003", true, 2},
    };
    auto* box = new THTMListbox(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 300, 200);
    const int gh = LineHeight(box->Font());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        box->Clear();
        box->SetMultiline(row.multiline);
        box->Items()->Add("x");
        box->Items()->Insert(0, row.markup);
        EXPECT_EQ(ItemHeight(box, 0), row.lines * gh + 4);
        EXPECT_EQ(ItemHeight(box, 1), gh + 4);
    }
    // Resizing measures every item again, keeping their heights.
    box->SetWidth(250);
    EXPECT_EQ(ItemHeight(box, 0), 2 * gh + 4);
}

TEST_F(HtmlCtrls, ListBoxItemsMadeBeforeTheWindowAreMeasuredWhenItComes)
{
    auto* box = new THTMListbox(form);
    box->Items()->Add("a<br>b");
    box->SetParent(form);
    box->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(ItemHeight(box, 0), 2 * LineHeight(box->Font()) + 4);
}

TEST(HtmlAnchors, OnlyWebAndMailLinksGoToTheShell)
{
    const struct {
        const char* anchor;
        bool shell;
    } rows[] = {
        {"http://www.qmx.pl/", true},
        {"HTTPS://www.qmx.pl/", true},
        {"ftp://pliki.qmx.pl/a.zip", true},
        {"mailto:pomoc@qmx.pl", true},
        {"MailTo:pomoc@qmx.pl", true},
        {"file:///C:/windows/notepad.exe", false},
        {"FILE://C:/windows/notepad.exe", false},
        {"C:\\windows\\notepad.exe", false},
        {"\\\\serwer\\udzial\\program.exe", false},
        {"res://shell32.dll/1", false},
        {"RESTORE:kopia.cab:http://x", false},
        {"RESTORE:kopia.cab:mailto:x", false},
        {" http://www.qmx.pl/", false},
        {"", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.shell, IsShellAnchor(row.anchor)) << row.anchor;
}

TEST_F(HtmlCtrls, ListBoxAnchorsGoToTheShellOrToTheForm)
{
    auto* box = new THTMListbox(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 300, 200);
    box->Items()->Add("<a href=\"RESTORE:kopia1.cab\">Przywróć</a> kopię");
    box->Items()->Add("<a href=\"mailto:pomoc@qmx.pl\">napisz</a>");
    box->Items()->Add("<a href=\"http://www.qmx.pl/\">strona</a>");
    box->Items()->Add("<a href=\"file:///C:/windows/notepad.exe\">Porady</a>");
    box->OnAnchorClick = TAnchorClick(&heard, &Heard::AnchorClick);
    box->OnMouseDown = TMouseEvent(&heard, &Heard::MouseDown);
    auto middle = [&](int i) { return box->ItemRect(i).top + box->ItemRect(i).bottom; };
    struct Row {
        const char* name;
        int x, y;
        std::vector<std::string> events;
        std::vector<std::string> opened;
    };
    const Row rows[] = {
        {"RESTORE: anchor goes to the form", 4, middle(0) / 2, {"click 0 RESTORE:kopia1.cab"}, {}},
        {"words outside the anchor", box->ItemRect(0).right - 4, middle(0) / 2, {"mousedown"}, {}},
        {"mail anchor goes to the shell", 4, middle(1) / 2, {}, {"mailto:pomoc@qmx.pl"}},
        {"web anchor goes to the shell", 4, middle(2) / 2, {}, {"http://www.qmx.pl/"}},
        {"a file anchor goes to the form, never to the shell", 4, middle(3) / 2,
         {"click 3 file:///C:/windows/notepad.exe"}, {}},
        {"below the last item", 4, box->ItemRect(3).bottom + 10, {"mousedown"}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        heard.events.clear();
        opened.clear();
        Click(box, row.x, row.y);
        EXPECT_EQ(heard.events, row.events);
        EXPECT_EQ(opened, row.opened);
    }
}

TEST_F(HtmlCtrls, ListBoxMouseOverAnAnchorTellsAndShowsTheHand)
{
    auto* box = new THTMListbox(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 300, 200);
    box->Items()->Add("<a href=\"RESTORE:k.cab\">Przywróć</a> teraz");
    box->OnAnchorEnter = TAnchorClick(&heard, &Heard::AnchorEnter);
    const int y = box->ItemRect(0).bottom / 2;
    SendMessageA(box->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, y));
    SendMessageA(box->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(6, y));
    EXPECT_EQ(heard.events, (std::vector<std::string>{"enter 0 RESTORE:k.cab", "enter 0 RESTORE:k.cab"}));
    EXPECT_EQ(box->Cursor(), crHandPoint);
    SendMessageA(box->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(box->ItemRect(0).right - 4, y));
    EXPECT_EQ(box->Cursor(), crDefault);
    EXPECT_EQ(heard.events.size(), 2u);
}

TEST_F(HtmlCtrls, ListBoxSelectedItemDrawsAnchorsInTheSelectionFontColour)
{
    auto* box = new THTMListbox(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 200, 100);
    box->SetURLColor(0x0000C000);
    box->SetSelectionColor(0x00FFFF00);
    box->SetSelectionFontColor(0x000000FF);
    box->Items()->Add("<a href=\"a\">MMMM</a>");
    box->Items()->Add("<a href=\"b\">MMMM</a>");
    box->SetItemIndex(0);
    auto b = Paint(box);
    const TRect first = box->ItemRect(0);
    const TRect second = box->ItemRect(1);
    EXPECT_GT(CountPixels(*b, first, 0x000000FF), 0);
    EXPECT_EQ(CountPixels(*b, first, 0x0000C000), 0);
    EXPECT_GT(CountPixels(*b, first, 0x00FFFF00), 0);
    EXPECT_GT(CountPixels(*b, second, 0x0000C000), 0);
    EXPECT_EQ(CountPixels(*b, second, 0x000000FF), 0);
}

// ---------------------------------------------------------------------------
// THTMLabel

TEST_F(HtmlCtrls, LabelAutoSizingTakesTheTextsWidthButNeverShrinksItsHeight)
{
    auto* label = new THTMLabel(form);
    label->SetParent(panel);
    label->SetBounds(10, 10, 300, 80);
    label->HTMLText()->Add("<b>Ostatnia</b> ");
    label->HTMLText()->Add("aktualizacja");
    label->SetAutoSizing(true);
    Paint(panel);
    TBitmap m(10, 10, pf24bit);
    m.Canvas()->SetFont(label->Font());
    std::string anchor, plain;
    int xsize = 0, ysize = 0;
    DrawHtmlText(m.Canvas(), "<b>Ostatnia</b> aktualizacja", Rect(0, 0, 1000, 1000), nullptr, 0, 0, false, true,
                 false, 1.0, clBlue, anchor, plain, xsize, ysize);
    EXPECT_EQ(label->Width(), xsize + 6);
    EXPECT_EQ(label->Height(), 80);
    EXPECT_EQ(label->Caption(), "");

    label->SetHeight(5);
    Paint(panel);
    EXPECT_EQ(label->Height(), ysize + 6);
}

TEST_F(HtmlCtrls, LabelAnchorsEnterExitAndClick)
{
    auto* label = new THTMLabel(form);
    label->SetParent(panel);
    label->SetBounds(0, 0, 300, 40);
    label->HTMLText()->Add("<a href=\"RESTORE:a\">AAAA</a><a href=\"mailto:b@qmx.pl\">BBBB</a> zwykły tekst");
    label->OnAnchorEnter = htmlabel::TAnchorClick(&heard, &Heard::LabelEnter);
    label->OnAnchorExit = htmlabel::TAnchorClick(&heard, &Heard::LabelExit);
    label->OnAnchorClick = htmlabel::TAnchorClick(&heard, &Heard::LabelClick);
    TBitmap m(10, 10, pf24bit);
    m.Canvas()->SetFont(label->Font());
    const int wa = m.Canvas()->TextWidth("AAAA");
    const int y = LineHeight(label->Font()) / 2;
    auto move = [&](int x) { label->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); };
    move(2);
    move(3);  // the same anchor again tells nothing
    move(wa + 3);  // straight into the next anchor
    move(280);
    move(281);
    EXPECT_EQ(heard.events, (std::vector<std::string>{"enter RESTORE:a", "enter mailto:b@qmx.pl", "exit "}));
    EXPECT_EQ(label->Cursor(), crDefault);

    heard.events.clear();
    label->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, y));
    label->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, y));
    label->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(wa + 3, y));
    label->Perform(WM_LBUTTONUP, 0, MAKELPARAM(wa + 3, y));
    EXPECT_EQ(heard.events, std::vector<std::string>{"click RESTORE:a"});
    EXPECT_EQ(opened, std::vector<std::string>{"mailto:b@qmx.pl"});
}

TEST_F(HtmlCtrls, LabelHintShowsTheAnchorUnderTheCursor)
{
    auto* label = new THTMLabel(form);
    label->SetParent(panel);
    label->SetBounds(30, 40, 300, 40);
    label->HTMLText()->Add("<a href=\"RESTORE:a\">AAAA</a> tekst");
    const int y = LineHeight(label->Font()) / 2;
    struct Row {
        bool anchorHint;
        int x;
        const char* hint;
        bool moved;
    };
    const Row rows[] = {{true, 3, "RESTORE:a", true}, {true, 200, "zwykła", false}, {false, 3, "zwykła", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.anchorHint ? "AnchorHint" : "no AnchorHint");
        SCOPED_TRACE(row.x);
        label->SetAnchorHint(row.anchorHint);
        THintInfo info;
        info.HintControl = label;
        info.CursorPos = Point(row.x, y);
        info.HintPos = Point(1, 1);
        info.HintStr = "zwykła";
        EXPECT_EQ(label->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
        EXPECT_EQ(info.HintStr, row.hint);
        const TPoint screen = label->ClientToScreen(info.CursorPos);
        if (row.moved) {
            EXPECT_EQ(info.HintPos.x, screen.x + 10);
            EXPECT_EQ(info.HintPos.y, screen.y - 10);
        } else {
            EXPECT_EQ(info.HintPos.x, 1);
        }
    }
}

// ---------------------------------------------------------------------------
// The older renderer and TqmxHTMListbox

// The two markups drawn with the older renderer give the same pixels.
void ExpectSameDrawing(const std::string& a, const std::string& b, TCustomImageList* images)
{
    SCOPED_TRACE(a + " / " + b);
    TBitmap one(200, 60, pf24bit), two(200, 60, pf24bit);
    for (TBitmap* bm : {&one, &two}) {
        UseTestFont(bm->Canvas()->Font());
        bm->Canvas()->Brush()->SetColor(clWhite);
        bm->Canvas()->FillRect(Rect(0, 0, 200, 60));
    }
    std::string anchor, plain;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    DrawHtmlTextBasic(one.Canvas(), a, Rect(2, 2, 198, 58), images, 0, 0, false, false, clBlue, anchor, plain, x1,
                      y1);
    DrawHtmlTextBasic(two.Canvas(), b, Rect(2, 2, 198, 58), images, 0, 0, false, false, clBlue, anchor, plain, x2,
                      y2);
    EXPECT_EQ(x1, x2);
    EXPECT_EQ(y1, y2);
    int differ = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (one.Canvas()->Pixels(x, y) != two.Canvas()->Pixels(x, y))
                ++differ;
    EXPECT_EQ(differ, 0);
}

TEST_F(HtmlCtrls, OlderRendererKnowsNoScriptsNorImageAlignment)
{
    ExpectSameDrawing("<b>H</b><sub>2</sub>O", "<b>H</b>2O", nullptr);
    // A tag the renderer does not know still ends a piece of text.
    ExpectSameDrawing("x<sup>2</sup> <s>stare</s>", "x<q>2</q> <q>stare</q>", nullptr);
    TImageList images(nullptr);
    TBitmap red(16, 16, pf24bit);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images.Add(&red, nullptr);
    ExpectSameDrawing("<img src=\"idx:0\" align=\"middle\">tekst", "<img src=\"idx:0\">tekst", &images);
    // An image inside an anchor is no hit, its words are.
    TBitmap b(200, 60, pf24bit);
    UseTestFont(b.Canvas()->Font());
    std::string anchor, plain;
    int xs = 0, ys = 0;
    EXPECT_FALSE(DrawHtmlTextBasic(b.Canvas(), "<a href=\"k\"><img src=\"idx:0\">słowo</a>", Rect(0, 0, 200, 60),
                                   &images, 8, 8, true, false, clBlue, anchor, plain, xs, ys));
    EXPECT_TRUE(DrawHtmlTextBasic(b.Canvas(), "<a href=\"k\"><img src=\"idx:0\">słowo</a>", Rect(0, 0, 200, 60),
                                  &images, 20, ys / 2, true, false, clBlue, anchor, plain, xs, ys));
    EXPECT_EQ(anchor, "k");
}

TEST_F(HtmlCtrls, OlderRendererTakesSourceLineEndsForBlanks)
{
    // The removal page's notice when nothing is left to remove.
    ExpectSameDrawing("<b>Nie ma plików do usunięcia!</b><br>\r\nPrawdopodobnie program został już usunięty.",
                      "<b>Nie ma plików do usunięcia!</b><br>Prawdopodobnie program został już usunięty.", nullptr);
    ExpectSameDrawing("a\r\nb\tc\nd", "a b c d", nullptr);
}

TEST_F(HtmlCtrls, QmxListBoxHeightsFollowMultiline)
{
    auto* box = new TqmxHTMListbox(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 300, 200);
    box->SetItemHeight(30);
    const int gh = LineHeight(box->Font());
    box->Items()->Add("a<br>b");
    box->Items()->Add("jedna");
    EXPECT_EQ(ItemHeight(box, 0), 30);
    EXPECT_EQ(ItemHeight(box, 1), 30);
    box->SetMultiline(true);
    EXPECT_EQ(ItemHeight(box, 0), 2 * gh + 4);
    EXPECT_EQ(ItemHeight(box, 1), gh + 4);
    box->SetMultiline(false);
    EXPECT_EQ(ItemHeight(box, 0), 30);
}

TEST_F(HtmlCtrls, QmxListBoxSelectionLookAndAnchors)
{
    auto* box = new TqmxHTMListbox(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 200, 100);
    box->SetColor(clWhite);
    box->SetURLColor(0x0000C000);
    box->SetSelectionColor(0x00FFFF00);
    box->SetSelectionFontColor(0x000000FF);
    box->Items()->Add("<a href=\"RESTORE:x\">MMMM</a>");
    box->Items()->Add("<a href=\"b\">MMMM</a>");
    box->SetItemIndex(0);
    const TRect first = box->ItemRect(0);
    {
        // Anchors of the selected item: the system's highlight-text colour.
        auto b = Paint(box);
        EXPECT_GT(CountPixels(*b, first, 0x00FFFF00), 0);
        EXPECT_EQ(CountPixels(*b, first, 0x000000FF), 0);
        EXPECT_EQ(CountPixels(*b, first, 0x0000C000), 0);
        EXPECT_GT(CountPixels(*b, first, clHighlightText), 0);
    }
    {
        // An invisible selection: the anchors in URLColor, no selection colour.
        box->SetSelectionInvisible(true);
        auto b = Paint(box);
        EXPECT_EQ(CountPixels(*b, first, 0x00FFFF00), 0);
        EXPECT_GT(CountPixels(*b, first, 0x0000C000), 0);
    }
    box->OnAnchorClick = TAnchorClick(&heard, &Heard::AnchorClick);
    Click(box, 3, (first.top + first.bottom) / 2);
    EXPECT_EQ(heard.events, std::vector<std::string>{"click 0 RESTORE:x"});
}

// ---------------------------------------------------------------------------
// TqmxTabSet

TEST_F(HtmlCtrls, TabSetTakesItsTabsFromTheNotebooksPages)
{
    auto* notebook = new TNotebook(form);
    notebook->SetParent(form);
    notebook->SetBounds(0, 0, 300, 200);
    TStringList pages;
    pages.Add("Programy|zainstalowane");
    pages.Add("Dane<pliki>");
    pages.Add("Kopie");
    notebook->SetPages(&pages);
    auto* tabs = new TqmxTabSet(form);
    tabs->SetParent(form);
    tabs->SetBounds(0, 200, 300, 21);
    tabs->Tabs()->Add("a");
    tabs->Tabs()->Add("b");
    tabs->Tabs()->Add("c");
    tabs->SetTabIndex(2);
    tabs->SetNotebook(notebook);
    EXPECT_EQ(tabs->Tabs()->Text(), "Programy\r\nDane\r\nKopie\r\n");
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(notebook->PageIndex(), 2);

    tabs->OnMouseDown = TMouseEvent(&heard, &Heard::MouseDown);
    tabs->OnClick = TNotifyEvent(&heard, &Heard::Notify);
    const TRect second = tabs->ItemRect(1);
    Click(tabs, (second.left + second.right) / 2, 5);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(notebook->PageIndex(), 1);
    EXPECT_EQ(heard.events, std::vector<std::string>{"notify"});

    heard.events.clear();
    Click(tabs, 299, 5);  // beyond the last tab
    const TRect first = tabs->ItemRect(0);
    Click(tabs, (first.left + first.right) / 2, 5, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(heard.events, std::vector<std::string>{"mousedown"});

    tabs->SelectNextTab();
    tabs->SelectNextTab();
    EXPECT_EQ(tabs->TabIndex(), 0);
    EXPECT_EQ(notebook->PageIndex(), 0);
    tabs->SelectPriorTab();
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(notebook->PageIndex(), 2);

    delete notebook;
    EXPECT_EQ(tabs->Notebook(), nullptr);
    tabs->SelectPriorTab();
    EXPECT_EQ(tabs->TabIndex(), 1);
}

// Tab texts are written like captions: "&" underlines the letter after it,
// "&&" shows one "&". Each tab's text is compared with the text it shows
// written out plainly on the tab's colour.
TEST_F(HtmlCtrls, TabTextsShowAcceleratorsLikeCaptions)
{
    const struct {
        const char* tab;
        const char* shown;
        int underlined;  // index of the underlined letter in Shown, -1 for none
    } rows[] = {
        {"Dane", "Dane", -1},
        {"&Aplikacje", "Aplikacje", 0},
        {"Ko&pie zapasowe", "Kopie zapasowe", 2},
        {"A&&B", "A&B", -1},
        {"&&&Usuń", "&Usuń", 1},
    };
    auto* tabs = new TTabSet(form);
    tabs->SetParent(form);
    tabs->SetBounds(0, 0, 400, 21);
    UseTestFont(tabs->Font());
    for (const auto& r : rows)
        tabs->Tabs()->Add(r.tab);
    ASSERT_EQ(tabs->VisibleTabs(), static_cast<int>(std::size(rows)));
    auto picture = Paint(tabs);

    TBitmap plain(400, 21, pf24bit);
    TCanvas* canvas = plain.Canvas();
    UseTestFont(canvas->Font());
    const int margins = tabs->ItemRect(0).right - tabs->ItemRect(0).left - canvas->TextWidth(rows[0].shown);
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& r = rows[i];
        SCOPED_TRACE(r.tab);
        const std::string text = r.shown;
        const TRect tab = tabs->ItemRect(static_cast<int>(i));
        // As wide as the text shown.
        EXPECT_EQ(tab.right - tab.left - canvas->TextWidth(text), margins);

        // The text written out plainly where the tab draws its text.
        const int textWidth = canvas->TextWidth(text);
        const int textHeight = canvas->TextHeight(text);
        const TRect box = Bounds(tab.left + (tab.right - tab.left - textWidth) / 2,
                                 (tab.bottom - 3 - textHeight) / 2 + 1, textWidth, textHeight + 2);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clWindow);
        canvas->FillRect(box);
        canvas->Brush()->SetStyle(bsClear);
        canvas->TextOut(box.left, box.top, text);

        // The same pixels but for the underline: no "&" is drawn.
        TRect differ{INT_MAX, INT_MAX, -1, -1};
        int ink = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) {
                const TColor a = picture->Canvas()->Pixels(x, y);
                if (a == canvas->Pixels(x, y))
                    continue;
                differ.left = std::min<int>(differ.left, x);
                differ.top = std::min<int>(differ.top, y);
                differ.right = std::max<int>(differ.right, x + 1);
                differ.bottom = std::max<int>(differ.bottom, y + 1);
                ink += a == clBlack;
            }
        if (r.underlined < 0) {
            EXPECT_EQ(differ.right, -1) << "pixels differ";
            continue;
        }
        // The underline: a black row or two under the letter, in the lower
        // half of the text.
        const int letterLeft = box.left + canvas->TextWidth(text.substr(0, r.underlined));
        const int letterRight = box.left + canvas->TextWidth(text.substr(0, r.underlined + 1));
        ASSERT_GT(ink, 0);
        EXPECT_EQ(ink, (differ.right - differ.left) * (differ.bottom - differ.top));
        EXPECT_LE(differ.bottom - differ.top, 2);
        EXPECT_GT(differ.top, box.top + textHeight / 2);
        EXPECT_GE(differ.left, letterLeft - 1);
        EXPECT_LE(differ.right, letterRight + 1);
        EXPECT_GE(differ.right - differ.left, letterRight - letterLeft - 2);
    }
}

// ---------------------------------------------------------------------------
// TEnhGroupBox

TEST_F(HtmlCtrls, GroupBoxCheckBoxEnablesWhatIsInside)
{
    auto* group = new TEnhGroupBox(form);
    group->SetParent(form);
    group->SetBounds(10, 10, 250, 100);
    group->SetCaption("Używaj serwera proxy");
    auto* edit = new TEdit(form);
    edit->SetParent(group);
    auto* label = new TLabel(form);
    label->SetParent(group);
    group->OnClickChecked = TNotifyEvent(&heard, &Heard::Notify);
    TCheckBox* box = group->CheckBox();
    EXPECT_EQ(box->Name(), "ICheckBox");
    EXPECT_EQ(box->Caption(), "Używaj serwera proxy");
    EXPECT_TRUE(box->Checked());

    group->SetChecked(false);
    EXPECT_FALSE(box->Checked());
    EXPECT_FALSE(edit->Enabled());
    EXPECT_FALSE(label->Enabled());
    EXPECT_TRUE(box->Enabled());
    EXPECT_TRUE(heard.events.empty());

    SendMessageA(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(group->Checked());
    EXPECT_TRUE(edit->Enabled());
    EXPECT_TRUE(label->Enabled());
    EXPECT_EQ(heard.events, std::vector<std::string>{"notify"});

    Paint(group);
    TBitmap m(10, 10, pf24bit);
    m.Canvas()->SetFont(group->Font());
    EXPECT_EQ(box->Width(), m.Canvas()->TextWidth("Używaj serwera proxy") + 20);
}

// ---------------------------------------------------------------------------
// TRxLabel

TEST_F(HtmlCtrls, ShadowedLabelDrawsItsShadow)
{
    const TColor back = 0x00800000, text = 0x00000080, shadow = 0x0000FFFF;
    struct Row {
        const char* name;
        int size;
        TShadowPosition pos;
        bool enabled;
        TColor textColor, shadowColor;
        int dx, dy;  // where the shadow lies against the text
    };
    const Row rows[] = {
        {"no shadow", 0, spLeftTop, true, text, shadow, 0, 0},
        {"left top", 1, spLeftTop, true, text, shadow, -1, -1},
        {"right bottom, 2", 2, spRightBottom, true, text, shadow, 2, 2},
        {"disabled, no shadow: embossed", 0, spLeftTop, false, clGrayText, clBtnHighlight, 1, 1},
        {"disabled keeps its shadow's place", 1, spRightTop, false, clGrayText, clBtnHighlight, 1, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* label = new TRxLabel(form);
        label->SetParent(panel);
        label->SetLeft(20);
        label->SetTop(20);
        label->SetColor(back);
        label->Font()->SetColor(text);
        label->Font()->SetSize(14);
        label->SetShadowColor(shadow);
        label->SetShadowSize(row.size);
        label->SetShadowPos(row.pos);
        // No descenders: the embossed shadow of a label sized without one
        // would be cut at the bottom edge.
        label->SetCaption("AKTUALNE");
        label->SetEnabled(row.enabled);
        auto b = Paint(panel);
        const TRect t = BoxOf(*b, label->BoundsRect(), row.textColor);
        ASSERT_GT(t.right, t.left);
        if (row.size == 0 && row.enabled) {
            EXPECT_EQ(CountPixels(*b, label->BoundsRect(), row.shadowColor), 0);
        } else {
            const TRect s = BoxOf(*b, label->BoundsRect(), row.shadowColor);
            // The text covers part of its shadow; the far edges show the offset.
            if (row.dx < 0)
                EXPECT_EQ(s.left, t.left + row.dx);
            else
                EXPECT_EQ(s.right, t.right + row.dx);
            if (row.dy < 0)
                EXPECT_EQ(s.top, t.top + row.dy);
            else
                EXPECT_EQ(s.bottom, t.bottom + row.dy);
        }
        delete label;
    }
}

TEST_F(HtmlCtrls, ShadowedLabelAutoSize)
{
    auto* label = new TRxLabel(form);
    label->SetParent(panel);
    label->SetBounds(100, 10, 65, 17);
    label->SetCaption("A");
    const int oneLine = label->Height();
    TBitmap m(10, 10, pf24bit);
    m.Canvas()->SetFont(label->Font());
    // Text + shadow + a pixel at each side.
    EXPECT_EQ(label->Width(), m.Canvas()->TextWidth("A") + 1 + 2);
    EXPECT_EQ(oneLine, m.Canvas()->TextHeight("A") + 1);

    label->SetCaption("&");
    EXPECT_EQ(label->Height(), oneLine);

    label->SetAlignment(taRightJustify);
    label->SetCaption("Krótki");
    const int right = label->Left() + label->Width();
    label->SetCaption("Znacznie dłuższy napis");
    EXPECT_EQ(label->Left() + label->Width(), right);
    EXPECT_GT(label->Width(), m.Canvas()->TextWidth("Krótki"));

    label->SetAutoSize(false);
    label->SetCaption("x");
    EXPECT_EQ(label->Left() + label->Width(), right);
    EXPECT_GT(label->Width(), m.Canvas()->TextWidth("Krótki"));
}

TEST_F(HtmlCtrls, ShadowedLabelAcceleratorFocusesItsControl)
{
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 250, 100, 20);
    auto* label = new TRxLabel(form);
    label->SetParent(panel);
    label->SetCaption("&Serwer");
    label->SetFocusControl(edit);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'x', 0), 0);
    label->SetShowAccelChar(false);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 's', 0), 0);
    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);
}

// ---------------------------------------------------------------------------
// Read from a form description, as the organizer's forms are

TEST_F(HtmlCtrls, ControlsReadFromAFormDescription)
{
    const std::string text =
        "object fKontrolki: TForm\n"
        "  object nbStrony: TNotebook\n"
        "    Width = 200\n"
        "    Pages.Strings = ('Programy|p' 'Dane<d>' 'Kopie')\n"
        "  end\n"
        "  object tsStrony: TqmxTabSet\n"
        "    Top = 150\n"
        "    Width = 200\n"
        "    Notebook = nbStrony\n"
        "  end\n"
        "  object gbProxy: TEnhGroupBox\n"
        "    Caption = 'Serwer proxy'\n"
        "    Checked = False\n"
        "    object eSerwer: TEdit\n"
        "    end\n"
        "  end\n"
        "  object lNaglowek: TRxLabel\n"
        "    Width = 5\n"
        "    Caption = 'Aktualizacja'\n"
        "    ShadowPos = spRightBottom\n"
        "  end\n"
        "  object lData: THTMLabel\n"
        "    Caption = 'zbędny'\n"
        "    HTMLText.Strings = ('<b>12.03.2003</b>')\n"
        "    BevelOuter = bvLowered\n"
        "  end\n"
        "  object lbPliki: THTMListbox\n"
        "    Multiline = True\n"
        "    URLColor = clRed\n"
        "  end\n"
        "  object lbProgramy: TqmxHTMListbox\n"
        "    SelectionInvisible = True\n"
        "    Items.Strings = ('<b>a</b>' 'b')\n"
        "    ItemIndex = 1\n"
        "  end\n"
        "end\n";
    TForm* read = new TForm(Application);
    ReadFormText(read, text, "test");
    auto* tabs = dynamic_cast<TqmxTabSet*>(read->FindComponent("tsStrony"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->Notebook(), read->FindComponent("nbStrony"));
    EXPECT_EQ(tabs->Tabs()->Text(), "Programy\r\nDane\r\nKopie\r\n");
    auto* group = dynamic_cast<TEnhGroupBox*>(read->FindComponent("gbProxy"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->CheckBox()->Caption(), "Serwer proxy");
    EXPECT_FALSE(group->CheckBox()->Checked());
    // The edit came after Checked and is disabled all the same.
    EXPECT_FALSE(static_cast<TControl*>(read->FindComponent("eSerwer"))->Enabled());
    auto* rx = dynamic_cast<TRxLabel*>(read->FindComponent("lNaglowek"));
    ASSERT_NE(rx, nullptr);
    EXPECT_EQ(rx->ShadowPos(), spRightBottom);
    EXPECT_GT(rx->Width(), 5);
    auto* label = dynamic_cast<THTMLabel*>(read->FindComponent("lData"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), "");
    EXPECT_EQ(label->HTMLText()->Text(), "<b>12.03.2003</b>\r\n");
    EXPECT_EQ(label->BevelOuter(), bvLowered);
    auto* list = dynamic_cast<THTMListbox*>(read->FindComponent("lbPliki"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->Multiline());
    EXPECT_EQ(list->URLColor(), clRed);
    auto* qlist = dynamic_cast<TqmxHTMListbox*>(read->FindComponent("lbProgramy"));
    ASSERT_NE(qlist, nullptr);
    EXPECT_TRUE(qlist->SelectionInvisible());
    EXPECT_EQ(qlist->ItemIndex(), 1);
    read->Free();
}

// ---------------------------------------------------------------------------
// Pictures and the mouse over a shown form

TEST_F(HtmlCtrls, PictureOfTheControlsAndMouseTracking)
{
    TempFolder temp;
    form->SetCaption("Kontrolki HTML");
    auto* list = new THTMListbox(form);
    list->SetParent(panel);
    list->SetBounds(5, 5, 190, 110);
    list->Items()->Add("<b>Edytor</b> 2.1<br><font color=\"clgray\">zainstalowany 1.02.2003</font>");
    list->Items()->Add("<a href=\"RESTORE:kopia.cab\">Przywróć</a> kopię z <i>wczoraj</i>");
    list->SetItemIndex(1);
    auto* qlist = new TqmxHTMListbox(form);
    qlist->SetParent(panel);
    qlist->SetBounds(200, 5, 190, 110);
    qlist->SetMultiline(true);
    qlist->Items()->Add("<b>H</b><sub>2</sub>O <u>podkreślone</u>");
    qlist->Items()->Add("<a href=\"http://www.qmx.pl/\">strona</a><br>druga linia");
    qlist->SetItemIndex(0);
    auto* label = new THTMLabel(form);
    label->SetParent(panel);
    label->SetBounds(5, 120, 190, 40);
    label->SetColor(clInfoBk);
    label->SetBevelOuter(bvLowered);
    label->HTMLText()->Add("Ostatnia aktualizacja: <b>12.03.2003</b> <a href=\"mailto:a@qmx.pl\">napisz</a>");
    auto* notebook = new TNotebook(form);
    notebook->SetParent(panel);
    notebook->SetBounds(200, 120, 190, 60);
    TStringList pages;
    pages.Add("Programy");
    pages.Add("Dane|d");
    pages.Add("Kopie");
    notebook->SetPages(&pages);
    auto* tabs = new TqmxTabSet(form);
    tabs->SetParent(panel);
    tabs->SetBounds(200, 180, 190, 21);
    tabs->SetNotebook(notebook);
    tabs->SetTabIndex(1);
    auto* group = new TEnhGroupBox(form);
    group->SetParent(panel);
    group->SetBounds(5, 165, 190, 60);
    group->SetCaption("Serwer proxy");
    auto* edit = new TEdit(form);
    edit->SetParent(group);
    edit->SetBounds(10, 25, 120, 21);
    group->SetChecked(false);
    auto* rx = new TRxLabel(form);
    rx->SetParent(panel);
    rx->SetBounds(200, 215, 100, 20);
    rx->Font()->SetSize(14);
    rx->Font()->SetStyle(TFontStyles() + fsBold);
    rx->SetShadowSize(2);
    rx->SetShadowPos(spRightBottom);
    rx->SetShadowColor(clGray);
    rx->SetCaption("Aktualizacja");
    rx->OnMouseEnter = TNotifyEvent(&heard, &Heard::Notify);
    rx->OnMouseLeave = TNotifyEvent(&heard, &Heard::Notify);

    form->Show();
    SetForegroundWindow(form->Handle());
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
    form->Update();
    auto picture = CaptureWindow(form->Handle());
    SavePicture(*picture, temp.Path(), "organizer_htmlctrls.png");
    // One picture per control, cut from the window's.
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    const TPoint origin = panel->ClientToScreen(Point(0, 0));
    const std::pair<const char*, TControl*> parts[] = {
        {"organizer_htmlctrls_htmlistbox.png", list}, {"organizer_htmlctrls_qmxhtmlistbox.png", qlist},
        {"organizer_htmlctrls_htmlabel.png", label},  {"organizer_htmlctrls_qmxtabset.png", tabs},
        {"organizer_htmlctrls_enhgroupbox.png", group}, {"organizer_htmlctrls_rxlabel.png", rx},
    };
    for (const auto& [name, control] : parts) {
        TRect r = control->BoundsRect();
        OffsetRect(&r, origin.x - window.left, origin.y - window.top);
        TBitmap part(r.right - r.left, r.bottom - r.top, pf24bit);
        part.Canvas()->CopyRect(Rect(0, 0, part.Width(), part.Height()), picture->Canvas(), r);
        SavePicture(part, temp.Path(), name);
    }

    // The mouse over the shadowed label and off it again.
    ASSERT_TRUE(OwnsActiveWindow());
    rx->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(rx));
    EXPECT_TRUE(rx->MouseInside());
    rx->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(rx));
    EXPECT_FALSE(rx->MouseInside());
    EXPECT_EQ(heard.events, (std::vector<std::string>{"notify", "notify"}));
    // A disabled label is left, whatever the mouse does.
    heard.events.clear();
    rx->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(rx));
    rx->SetEnabled(false);
    EXPECT_FALSE(rx->MouseInside());
    EXPECT_EQ(heard.events, (std::vector<std::string>{"notify", "notify"}));
}

} // namespace

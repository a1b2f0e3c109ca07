// The extended list view in a window: cells, header-click sorting and its
// indicator, row heights, saved widths, moved rows, the form's resize
// handler, painting of an owner-drawn row and the clipboard keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ComponentsForm.h"
#include "classlib/Clipbrd.h"
#include "classlib/IniFiles.h"
#include "installer/advlistv.h"
#include "tests/support/TestUtil.h"

namespace {

struct Log {
    std::vector<std::string> lines;
    bool allow = true;
    void SortStart(TObject*, int c, bool& enable)
    {
        lines.push_back("start " + std::to_string(c));
        enable = allow;
    }
    void SortDone(TObject*, int c) { lines.push_back("done " + std::to_string(c)); }
    void ColumnClick(TObject*, TListColumn* c) { lines.push_back("click " + std::to_string(c->Index())); }
    void Resized(TObject*) { lines.push_back("form resized"); }
};

class AdvListView : public testing::Test {
protected:
    void SetUp() override
    {
        view = new TAdvListView(ComponentsForm());
        view->SetParent(ComponentsForm());
        view->SetBounds(10, 10, 400, 200);
        view->SetViewStyle(vsReport);
        for (const char* c : {"a", "b", "c"}) {
            TListColumn* col = view->Columns()->Add();
            col->SetCaption(c);
            col->SetWidth(100);
        }
        const char* rows[][3] = {{"gamma", "10", "x"}, {"alfa", "9", "y"}, {"beta", "100", "z"}};
        for (auto& r : rows) {
            TListItem* item = view->Items()->Add();
            item->SetCaption(r[0]);
            item->SubItems()->Add(r[1]);
            item->SubItems()->Add(r[2]);
        }
        view->HandleNeeded();
    }
    void TearDown() override { delete view; }

    std::vector<std::string> Captions()
    {
        std::vector<std::string> c;
        for (int i = 0; i < view->Items()->Count(); ++i)
            c.push_back(view->Items()->Item(i)->Caption());
        return c;
    }
    void HeaderClick(int column)
    {
        NMLISTVIEW nm{};
        nm.hdr.hwndFrom = view->Handle();
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = column;
        view->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    }
    int HeaderFormat(int column)
    {
        HDITEMA hd{};
        hd.mask = HDI_FORMAT;
        SendMessageA(reinterpret_cast<HWND>(SendMessageA(view->Handle(), LVM_GETHEADER, 0, 0)), HDM_GETITEMA, column,
                     reinterpret_cast<LPARAM>(&hd));
        return hd.fmt;
    }

    TAdvListView* view = nullptr;
};

TEST_F(AdvListView, CellsByColumnAndRow)
{
    EXPECT_EQ(view->CellText(0, 1), "alfa");
    EXPECT_EQ(view->CellText(2, 2), "z");
    EXPECT_EQ(view->CellText(1, -1), "b");
    EXPECT_EQ(view->CellText(5, -1), "");
    EXPECT_EQ(view->CellText(0, 9), "");
    // Negative columns and rows index nothing.
    EXPECT_EQ(view->CellText(-1, 0), "");
    EXPECT_EQ(view->CellText(0, -2), "");
    view->SetCellText(-1, 0, "x");
    view->SetCellText(0, -1, "x");
    view->SetCellText(3, 0, "x");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"gamma", "alfa", "beta"}));
    TListItem* bare = view->Items()->Add();
    view->Columns()->Add();
    view->SetCellText(3, 3, "trzy");
    ASSERT_EQ(bare->SubItems()->Count(), 3);
    EXPECT_EQ(bare->SubItems()->Strings(0), "");
    EXPECT_EQ(bare->SubItems()->Strings(2), "trzy");
    view->SetCellText(0, 3, "nowy");
    EXPECT_EQ(bare->Caption(), "nowy");
}

TEST_F(AdvListView, HeaderClicksSortOnlyWithSortShow)
{
    Log log;
    view->OnSortStart = TSortStartEvent(&log, &Log::SortStart);
    view->OnSortDone = TSortDoneEvent(&log, &Log::SortDone);
    view->OnColumnClick = TLVColumnClickEvent(&log, &Log::ColumnClick);
    HeaderClick(0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"gamma", "alfa", "beta"}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"click 0"}));

    view->SetSortShow(true);
    log.lines.clear();
    HeaderClick(0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"alfa", "beta", "gamma"}));
    HeaderClick(0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"gamma", "beta", "alfa"}));
    EXPECT_EQ(view->SortDirection(), sdDescending);
    // Another column keeps the direction.
    HeaderClick(2);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"beta", "alfa", "gamma"}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"start 0", "done 0", "click 0", "start 0", "done 0", "click 0",
                                                   "start 2", "done 2", "click 2"}));
    log.allow = false;
    log.lines.clear();
    HeaderClick(1);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"beta", "alfa", "gamma"}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"start 1"}));
    view->SetSortDirection(sdAscending);
}

TEST_F(AdvListView, SortIndicatorFromGlyphsOrImagesKeptAfterEndTrack)
{
    view->SetSortShow(true);
    // Neither glyphs nor header images: no indicator.
    HeaderClick(1);
    EXPECT_EQ(HeaderFormat(1) & (HDF_BITMAP | HDF_IMAGE), 0);
    TBitmap up(8, 8), down(8, 8);
    view->SetSortUpGlyph(&up);
    view->SetSortDownGlyph(&down);
    view->SetSortIndicator(siRight);
    HeaderClick(2);
    EXPECT_EQ(HeaderFormat(2) & (HDF_BITMAP | HDF_BITMAP_ON_RIGHT), HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
    EXPECT_EQ(HeaderFormat(1) & HDF_BITMAP, 0);
    // The user resizes a column: the indicator stays.
    NMHEADERA nm{};
    nm.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(view->Handle(), LVM_GETHEADER, 0, 0));
    nm.hdr.code = HDN_ENDTRACKA;
    nm.iItem = 0;
    view->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(HeaderFormat(2) & HDF_BITMAP, HDF_BITMAP);

    TBitmap empty;
    view->SetSortUpGlyph(&empty);
    TImageList images(nullptr);
    TBitmap a(16, 16), b(16, 16);
    images.Add(&a, nullptr);
    images.Add(&b, nullptr);
    view->SetHeaderImages(&images);
    view->SetSortIndicator(siLeft);
    HeaderClick(0);
    LVCOLUMNA c{};
    c.mask = LVCF_FMT | LVCF_IMAGE;
    SendMessageA(view->Handle(), LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&c));
    EXPECT_EQ(c.fmt & (LVCFMT_IMAGE | LVCFMT_BITMAP_ON_RIGHT), LVCFMT_IMAGE);
    EXPECT_EQ(c.iImage, 0);
    view->SetHeaderImages(nullptr);
    view->SetSortDirection(sdAscending);
}

TEST_F(AdvListView, OwnerDrawnRowsTakeItemHeightAndMovesKeepIt)
{
    view->SetOwnerDraw(true);
    view->SetItemHeight(40);
    view->SetItemHeight(0);
    view->SetItemHeight(-3);
    EXPECT_EQ(view->ItemHeight(), 40);
    auto rowHeight = [this] {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageA(view->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        return static_cast<int>(r.bottom - r.top);
    };
    EXPECT_EQ(rowHeight(), 40);
    view->MoveItem(0, 2);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"alfa", "beta", "gamma"}));
    view->MoveItem(0, -1);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"beta", "gamma", "alfa"}));
    view->MoveItem(1, 1);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"beta", "gamma", "alfa"}));
    EXPECT_EQ(view->ItemHeight(), 40);
    EXPECT_EQ(rowHeight(), 40);
    EXPECT_TRUE(view->Items()->Item(2)->Focused());
}

TEST_F(AdvListView, ColumnWidthsGoToAnIniFileOrTheRegistry)
{
    const std::string ini = "qmx_advlv_test.ini";
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string path = std::string(windows) + "\\" + ini;
    DeleteFileA(path.c_str());
    view->ColumnSize()->Save = true;
    view->ColumnSize()->Section = "lista";
    view->SaveColumnWidths();  // no key: nothing
    EXPECT_FALSE(FileExists(path));
    view->ColumnSize()->Key = ini;
    // As the user drags it: the window alone knows the new width.
    SendMessageA(view->Handle(), LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(77, 0));
    view->SaveColumnWidths();
    TIniFile file(path);
    EXPECT_EQ(file.ReadString("lista", "col0", "-"), "100");
    EXPECT_EQ(file.ReadString("lista", "col1", "-"), "77");
    EXPECT_EQ(file.ReadString("lista", "col2", "-"), "100");
    DeleteFileA(path.c_str());

    view->ColumnSize()->Storage = stRegistry;
    view->ColumnSize()->Key = "Software\\QMX\\TestAdvListView";
    view->SaveColumnWidths();
    TRegIniFile reg("Software\\QMX\\TestAdvListView");
    EXPECT_EQ(reg.ReadString("lista", "col1", "-"), "77");
    reg.EraseSection("lista");
    view->ColumnSize()->Save = false;
}

TEST(AdvListViewForm, FormResizeHandlerComesBackWhenTheViewGoes)
{
    ComponentsForm();
    Log log;
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 300, 300);
    form->OnResize = TNotifyEvent(&log, &Log::Resized);
    auto* first = new TAdvListView(form);
    auto* second = new TAdvListView(form);
    first->SetParent(form);
    second->SetParent(form);
    second->SizeWithForm = true;
    second->SetBounds(0, 0, 100, 100);
    form->SetBounds(0, 0, 320, 330);
    EXPECT_EQ(second->Width(), 120);
    EXPECT_EQ(second->Height(), 130);
    delete first;  // the second view chained after it now calls the form's own
    log.lines.clear();
    form->SetBounds(0, 0, 300, 300);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"form resized"}));
    delete second;
    log.lines.clear();
    form->SetBounds(0, 0, 320, 320);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"form resized"}));
    form->Free();
}

TEST_F(AdvListView, ClipboardCopyCutAndPaste)
{
    view->ClipboardEnable = true;
    view->SetMultiSelect(true);
    view->Items()->Item(0)->SetSelected(true);
    view->Items()->Item(2)->SetSelected(true);
    auto key = [this](WORD k, int modifier) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[modifier] = 0x80;
        SetKeyboardState(keys);
        view->Perform(WM_KEYDOWN, k, 0);
        keys[modifier] = 0;
        SetKeyboardState(keys);
    };
    key('C', VK_CONTROL);
    EXPECT_EQ(Clipboard()->GetAsText(), "gamma\t10\tx\r\nbeta\t100\tz\r\n");
    key(VK_DELETE, VK_SHIFT);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"alfa"}));
    // Cut with nothing selected: an empty text, nothing deleted.
    view->Items()->Item(0)->SetSelected(false);
    key('X', VK_CONTROL);
    EXPECT_EQ(Clipboard()->GetAsText(), "");
    EXPECT_EQ(view->Items()->Count(), 1);

    // Two lines of five fields into a view of three columns.
    Clipboard()->SetAsText("p\t1\t2\t3\t4\r\nq\t5\t6\t7\t8\r\nbez końca");
    key('V', VK_CONTROL);
    EXPECT_EQ(view->Columns()->Count(), 5);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"alfa", "p", "q"}));
    EXPECT_TRUE(view->Items()->Item(1)->Selected());
    EXPECT_TRUE(view->Items()->Item(2)->Focused());
    EXPECT_EQ(view->CellText(4, 2), "8");

    // Cell mode: the current cell only.
    view->SubItemSelect = true;
    view->SetSelected(view->Items()->Item(1));
    Clipboard()->SetAsText("nowe");
    key(VK_INSERT, VK_SHIFT);
    EXPECT_EQ(view->CellText(0, 1), "nowe");
    key('X', VK_CONTROL);
    EXPECT_EQ(Clipboard()->GetAsText(), "nowe");
    EXPECT_EQ(view->Items()->Count(), 3);
    EXPECT_EQ(view->CellText(0, 1), "");
}

// The pixels of a bitmap's columns x0 to x1 (rows y0 to y1) that pred takes.
template <class Pred>
int CountPixels(TBitmap& bitmap, int x0, int x1, int y0, int y1, Pred pred)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += pred(static_cast<COLORREF>(bitmap.Canvas()->Pixels(x, y)));
    return n;
}

// Row 0 of an owner-drawn view painted into a bitmap 300 x 30 on white.
void PaintRow(TAdvListView* view, TBitmap& bitmap, TOwnerDrawState state)
{
    TCanvasDCLoan loan(static_cast<TControlCanvas*>(view->Canvas()), bitmap.Canvas()->Handle());
    view->Canvas()->Font()->Assign(view->Font());
    view->Canvas()->Brush()->SetColor(clWhite);
    view->DrawRow(0, Rect(0, 0, 300, 30), state);
}

// One owner-drawn row painted into a bitmap: plain text, a tick box, HTML
// and rich text, in the selection colours of a whole-row selection.
TEST_F(AdvListView, PaintsAnOwnerDrawnRow)
{
    view->SetOwnerDraw(true);
    view->SetCheckboxes(true);
    view->SetRowSelect(true);
    view->SelectionColor = clNavy;
    view->SelectionTextColor = clYellow;
    view->Items()->Item(0)->SetChecked(true);
    view->SetCellText(1, 0, "<b>gruby</b> <font color=\"clred\">czerwony</font>");
    view->SetCellText(2, 0, "{\\rtf1\\ansi{\\colortbl;\\red0\\green160\\blue0;}\\cf1\\fs28 ZIELONY}");
    TBitmap bitmap(300, 30);
    PaintRow(view, bitmap, 0);
    SavePicture(bitmap, TempFolder().Path(), "advlistview-row.png");
    auto count = [&bitmap](int x0, int x1, auto pred) { return CountPixels(bitmap, x0, x1, 0, 30, pred); };
    auto black = [](COLORREF c) { return c == RGB(0, 0, 0); };
    // The box: its frame is dark.
    EXPECT_GT(count(2, 16, [](COLORREF c) { return GetRValue(c) < 100; }), 10);
    EXPECT_GT(count(18, 100, black), 10);
    EXPECT_GT(count(100, 200, [](COLORREF c) { return c == RGB(255, 0, 0); }), 5);
    EXPECT_GT(count(200, 300, [](COLORREF c) { return GetGValue(c) > 120 && GetRValue(c) < 80; }), 5);

    // Selected: the row in the selection colours, its caption yellow and no
    // longer black.
    TBitmap selected(300, 30);
    PaintRow(view, selected, odSelected);
    EXPECT_EQ(static_cast<COLORREF>(selected.Canvas()->Pixels(60, 2)), RGB(0, 0, 128));
    EXPECT_EQ(CountPixels(selected, 18, 100, 0, 30, black), 0);
    EXPECT_GT(CountPixels(selected, 18, 100, 0, 30, [](COLORREF c) { return c == RGB(255, 255, 0); }), 10);
}

struct DrawnItems {
    std::vector<TRect> rects;
    void Drawn(TObject*, TCanvas*, int, TRect r, TOwnerDrawState) { rects.push_back(r); }
};

// The focused and selected row of a view with the focus is framed: whole
// with RowSelect, else in the current column only, in cell mode or not; the
// row's drawing event is given the framed rectangle.
TEST_F(AdvListView, TheFocusFrameCoversTheRowOrTheCurrentColumn)
{
    view->SetOwnerDraw(true);
    const struct {
        const char* name;
        bool rowSelect, subItemSelect;
        int left, right;  // of the frame and the event's rectangle
    } rows[] = {
        {"whole rows", true, false, 0, 300},
        {"rows, not whole", false, false, 0, 100},
        {"cells, the second current", false, true, 100, 200},
    };
    DrawnItems drawn;
    view->OnDrawItem = TLVDrawItemEvent(&drawn, &DrawnItems::Drawn);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        view->SetRowSelect(r.rowSelect);
        view->SubItemSelect = r.subItemSelect;
        SetFocus(view->Handle());
        if (r.subItemSelect)
            view->Perform(WM_KEYDOWN, VK_RIGHT, 0);
        ASSERT_EQ(GetFocus(), view->Handle());
        TBitmap plain(300, 30), framed(300, 30);
        PaintRow(view, plain, odSelected);
        drawn.rects.clear();
        PaintRow(view, framed, odSelected | odFocused);
        ASSERT_EQ(drawn.rects.size(), 1u);
        EXPECT_EQ(drawn.rects[0].left, r.left);
        EXPECT_EQ(drawn.rects[0].right, r.right);
        // The frame: what the focus changed along the top edge, there only.
        auto frame = [&](int x0, int x1) {
            int n = 0;
            for (int x = x0; x < x1; ++x)
                n += plain.Canvas()->Pixels(x, 0) != framed.Canvas()->Pixels(x, 0);
            return n;
        };
        EXPECT_GT(frame(r.left + 2, r.right - 2), 10);
        EXPECT_EQ(frame(0, r.left) + frame(r.right, 300), 0);
    }
    view->OnDrawItem = TLVDrawItemEvent();
}

// A pasted line of 300 fields makes 300 columns, and a row of them paints
// whole: the column order is read for every column. (Hidden: under Wine a
// shown header repaints for every column added.)
TEST_F(AdvListView, ThreeHundredColumnsPasteAndPaint)
{
    view->Hide();
    view->ClipboardEnable = true;
    std::string line = "w0";
    for (int i = 1; i < 300; ++i)
        line += "\tw" + std::to_string(i);
    Clipboard()->SetAsText(line + "\r\n");
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    view->Perform(WM_KEYDOWN, 'V', 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    ASSERT_EQ(view->Columns()->Count(), 300);
    EXPECT_EQ(view->CellText(299, 3), "w299");
    // Columns of 50 pixels: the 26th of them starts at 1250.
    TBitmap bitmap(1300, 20);
    TCanvasDCLoan loan(static_cast<TControlCanvas*>(view->Canvas()), bitmap.Canvas()->Handle());
    view->Canvas()->Brush()->SetColor(clWhite);
    view->Canvas()->Font()->Assign(view->Font());
    view->DrawRow(3, Rect(0, 0, 1300, 20), 0);
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 1250; x < 1300; ++x)
            ink += static_cast<COLORREF>(bitmap.Canvas()->Pixels(x, y)) == RGB(0, 0, 0);
    EXPECT_GT(ink, 5);  // "w25"
}

// Links in the link colour without their scheme; a wallpaper leaves the
// cells unfilled.
TEST_F(AdvListView, LinksAndWallpaper)
{
    view->URLShow = true;
    view->URLColor = clBlue;
    view->SetCellText(1, 0, "http://wwwwww.pl");
    auto paint = [this](TBitmap& bitmap) {
        bitmap.Canvas()->Brush()->SetColor(clLime);
        bitmap.Canvas()->FillRect(Rect(0, 0, 300, 20));
        TCanvasDCLoan loan(static_cast<TControlCanvas*>(view->Canvas()), bitmap.Canvas()->Handle());
        view->Canvas()->Font()->Assign(view->Font());
        view->Canvas()->Brush()->SetColor(clWhite);
        view->DrawRow(0, Rect(0, 0, 300, 20), 0);
    };
    TBitmap plain(300, 20);
    paint(plain);
    int blue = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 100; x < 200; ++x)
            blue += static_cast<COLORREF>(plain.Canvas()->Pixels(x, y)) == RGB(0, 0, 255);
    EXPECT_GT(blue, 20);
    EXPECT_EQ(static_cast<COLORREF>(plain.Canvas()->Pixels(290, 1)), RGB(255, 255, 255));
    // The shown text lost "http://": it starts with "w" right at the cell.
    int firstBlue = 300;
    for (int y = 0; y < 20; ++y)
        for (int x = 100; x < 200; ++x)
            if (static_cast<COLORREF>(plain.Canvas()->Pixels(x, y)) == RGB(0, 0, 255))
                firstBlue = std::min(firstBlue, x);
    EXPECT_LT(firstBlue, 106);

    TBitmap paper(8, 8);
    view->SetWallpaper(&paper);
    TBitmap papered(300, 20);
    paint(papered);
    EXPECT_EQ(static_cast<COLORREF>(papered.Canvas()->Pixels(290, 1)), RGB(0, 255, 0));
    TBitmap none;
    view->SetWallpaper(&none);
}

struct Anchors {
    std::vector<std::string> lines;
    void Enter(TObject*, std::string a) { lines.push_back("enter " + a); }
    void Exit(TObject*, std::string a) { lines.push_back("exit " + a); }
    void Filter(TObject*, int i) { lines.push_back("filter " + std::to_string(i)); }
    void FilterButton(TObject*, int i) { lines.push_back("button " + std::to_string(i)); }
};

TEST_F(AdvListView, AnchorsEnteredAndLeftAndFilterNotifications)
{
    Anchors log;
    view->OnAnchorEnter = TLVAnchorClick(&log, &Anchors::Enter);
    view->OnAnchorExit = TLVAnchorClick(&log, &Anchors::Exit);
    view->OnFilterChange = TFilterChange(&log, &Anchors::Filter);
    view->OnFilterBtnClick = TFilterBtnClick(&log, &Anchors::FilterButton);
    view->SetCellText(1, 0, "<a href=\"mailto:jan@example.pl\">napisz</a>");
    const TRect plain = view->CellRect(1, 0);
    const TRect link = view->CellRect(0, 1);
    const int y = (link.top + link.bottom) / 2;
    auto move = [this](int x, int y) { view->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); };
    move(plain.left + 5, (plain.top + plain.bottom) / 2);
    move(link.left + 6, y);
    move(link.left + 8, y);
    move(plain.left + 5, (plain.top + plain.bottom) / 2);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"exit ", "enter mailto:jan@example.pl", "exit mailto:jan@example.pl"}));
    EXPECT_EQ(view->Cursor(), crDefault);

    log.lines.clear();
    NMHEADERA nm{};
    nm.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(view->Handle(), LVM_GETHEADER, 0, 0));
    nm.hdr.code = HDN_FILTERCHANGE;
    nm.iItem = 2;
    view->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    NMHDFILTERBTNCLICK btn{};
    btn.hdr = nm.hdr;
    btn.hdr.code = HDN_FILTERBTNCLICK;
    btn.iItem = 1;
    view->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&btn));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"filter 2", "button 1"}));
}

std::vector<std::string> opened;

void RecordOpen(HWND, const std::string& link)
{
    opened.push_back(link);
}

// A press on a link: web and mail links go to the shell; an HTML anchor of
// any other kind goes to OnAnchorClick, as a mail anchor does, and a cell
// text of another kind goes nowhere (the shell would run what it names).
TEST_F(AdvListView, OnlyWebAndMailLinksGoToTheShell)
{
    const struct {
        const char* text;
        const char* opens;  // what goes to the shell, or nothing
        const char* heard;  // what OnAnchorClick hears, or nothing
    } rows[] = {
        {"<a href=\"http://www.example.pl/\">strona</a>", "http://www.example.pl/", ""},
        {"<a href=\"mailto:jan@example.pl\">napisz</a>", "", "mailto:jan@example.pl"},
        {"<a href=\"file:///c:/windows/notepad.exe\">plik</a>", "", "file:///c:/windows/notepad.exe"},
        {"HTTPS://www.example.pl", "HTTPS://www.example.pl", ""},
        {"mailto:jan@example.pl", "mailto:jan@example.pl", ""},
        {"file:///c:/windows/notepad.exe", "", ""},
    };
    const TAdvListView::TLinkOpener oldOpener = TAdvListView::SetLinkOpener(&RecordOpen);
    Anchors log;
    view->OnAnchorClick = TLVAnchorClick(&log, &Anchors::Enter);
    view->URLShow = true;
    const TRect cell = view->CellRect(0, 1);
    const LPARAM at = MAKELPARAM(cell.left + 6, (cell.top + cell.bottom) / 2);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        opened.clear();
        log.lines.clear();
        view->SetCellText(1, 0, r.text);
        PostMessageA(view->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(view->Handle(), WM_LBUTTONUP, 0, at);
        PumpMessages(50);
        EXPECT_EQ(opened, *r.opens ? std::vector<std::string>{r.opens} : std::vector<std::string>{});
        EXPECT_EQ(log.lines, *r.heard ? std::vector<std::string>{std::string("enter ") + r.heard}
                                      : std::vector<std::string>{});
    }
    TAdvListView::SetLinkOpener(oldOpener);
}

TEST_F(AdvListView, AutoHintOnlyForTextsThatDoNotFit)
{
    view->AutoHint = true;
    view->Columns()->Items(2)->SetWidth(40);
    view->SetCellText(2, 1, "<b>bardzo</b> długi tekst komórki");
    auto hint = [this](int col, int row, std::string& text) {
        const TRect r = view->CellRect(row, col);
        THintInfo info;
        info.HintControl = view;
        info.CursorPos = Point(r.left + 3, (r.top + r.bottom) / 2);
        const LRESULT result = view->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        text = info.HintStr;
        return result == 0;
    };
    std::string text;
    EXPECT_TRUE(hint(2, 1, text));
    EXPECT_EQ(text, "bardzo długi tekst komórki");
    text.clear();
    EXPECT_FALSE(hint(0, 1, text));
    EXPECT_EQ(text, "");
}

TEST_F(AdvListView, CellEditStoresOnEnterOnlyAndKeepsTheCaption)
{
    view->SetReadOnly(false);
    view->SubItemEdit = true;
    view->SetSelected(view->Items()->Item(0));
    view->Perform(WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_EQ(view->CurrentColumn(), 1);
    auto edit = [this](const std::string& text, WORD key) {
        SetFocus(view->Handle());
        SendMessageA(view->Handle(), LVM_EDITLABELA, 0, 0);
        HWND box = reinterpret_cast<HWND>(SendMessageA(view->Handle(), LVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(box, nullptr);
        char shown[64] = "";
        GetWindowTextA(box, shown, sizeof shown);
        EXPECT_EQ(std::string(shown), view->CellText(1, 0));
        SetWindowTextA(box, text.c_str());
        SendMessageA(box, WM_KEYDOWN, key, 0);
        SendMessageA(box, WM_CHAR, key == VK_RETURN ? '\r' : 27, 0);
        PumpMessages(20);
    };
    edit("11", VK_ESCAPE);
    EXPECT_EQ(view->CellText(1, 0), "10");
    edit("12", VK_RETURN);
    EXPECT_EQ(view->CellText(1, 0), "12");
    EXPECT_EQ(view->CellText(0, 0), "gamma");
}

} // namespace

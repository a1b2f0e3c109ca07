// Contracts of the list view: items with captions, sub-items, data and check
// boxes as the window shows them, ticks by the user and by the program told
// through OnChange, the sorting hooks, updates held back, and everything kept
// when the window is made anew.
#include <gtest/gtest.h>

#include <stdexcept>

#include "TestForm.h"
#include "classlib/FormReader.h"
#include "classlib/ListView.h"

namespace {

// The texts the window holds for a row.
std::string WindowText(TListView& view, int row, int column)
{
    char buffer[256] = "";
    LVITEMA it{};
    it.iSubItem = column;
    it.pszText = buffer;
    it.cchTextMax = sizeof buffer;
    SendMessageA(view.Handle(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&it));
    return buffer;
}

bool WindowChecked(TListView& view, int row)
{
    const UINT state = static_cast<UINT>(SendMessageA(view.Handle(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

std::vector<std::string> WindowCaptions(TListView& view)
{
    std::vector<std::string> captions;
    const int count = static_cast<int>(SendMessageA(view.Handle(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        captions.push_back(WindowText(view, i, 0));
    return captions;
}

std::vector<std::string> ItemCaptions(TListView& view)
{
    std::vector<std::string> captions;
    for (int i = 0; i < view.Items()->Count(); ++i)
        captions.push_back(view.Items()->Item(i)->Caption());
    return captions;
}

// What the view told through its events.
struct Recorder {
    std::vector<std::string> log;
    void Change(TObject*, TListItem* item, TItemChange change)
    {
        if (change == ctState)
            log.push_back("state " + item->Caption() + (item->Checked() ? " ticked" : ""));
    }
    void Click(TObject*) { log.push_back("click"); }
    void ColumnClick(TObject*, TListColumn* column) { log.push_back("column " + column->Caption()); }
    // Orders by the number in Data, highest first.
    void Compare(TObject*, TListItem* a, TListItem* b, int, int& result)
    {
        result = static_cast<int>(reinterpret_cast<intptr_t>(b->Data()) - reinterpret_cast<intptr_t>(a->Data()));
    }
};

// The view as the installer's program list is: report view with check
// boxes, read only, whole rows selected, five columns.
class ListView : public testing::Test {
protected:
    void SetUp() override
    {
        view = new TListView(TestForm());
        view->SetBounds(10, 10, 500, 200);
        view->SetViewStyle(vsReport);
        view->SetCheckboxes(true);
        view->SetReadOnly(true);
        view->SetRowSelect(true);
        const std::pair<const char*, int> columns[] = {
            {"aplikacja", 150}, {"rozmiar", 5}, {"folder", 60}, {"informacje", 200}, {"lokalizacja plików", 200}};
        for (const auto& [caption, width] : columns) {
            TListColumn* c = view->Columns()->Add();
            c->SetCaption(caption);
            c->SetWidth(width);
        }
        view->SetParent(TestForm());
    }
    void TearDown() override { delete view; }

    TListItem* AddRow(const std::string& caption, std::vector<std::string> subItems, void* data)
    {
        TListItem* item = view->Items()->Add();
        item->SetChecked(true);
        item->SetCaption(caption);
        for (const std::string& s : subItems)
            item->SubItems()->Add(s);
        item->SetData(data);
        return item;
    }

    TListView* view = nullptr;
    Recorder rec;
};

TEST_F(ListView, ItemsCarryCaptionSubItemsDataAndCheckBox)
{
    int lists[3] = {};
    view->Items()->BeginUpdate();
    AddRow("Ferlond", {"1,2 MB", "Ferlond", "kalendarz", ""}, &lists[0]);
    AddRow("Lumero", {"3 MB", "Lumero", "organizer", "pakiet\\"}, &lists[1]);
    AddRow("Bez danych", {}, nullptr);
    view->Items()->EndUpdate();

    const struct {
        int row, column;
        const char* text;
    } cells[] = {{0, 0, "Ferlond"}, {0, 1, "1,2 MB"}, {0, 3, "kalendarz"}, {0, 4, ""},  {1, 0, "Lumero"},
                 {1, 2, "Lumero"},  {1, 4, "pakiet\\"}, {2, 0, "Bez danych"}, {2, 1, ""}};
    for (const auto& c : cells) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
        EXPECT_EQ(WindowText(*view, c.row, c.column), c.text);
    }
    ASSERT_EQ(view->Items()->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(view->Items()->Item(i)->Checked());
        EXPECT_TRUE(WindowChecked(*view, i));
        EXPECT_EQ(view->Items()->Item(i)->Index(), i);
    }
    EXPECT_EQ(view->Items()->Item(1)->Data(), &lists[1]);
    EXPECT_EQ(view->Items()->Item(2)->Data(), nullptr);

    // Sub-items changed later reach the window, padding included.
    TListItem* third = view->Items()->Item(2);
    third->SubItems()->Add("");
    third->SubItems()->Add("");
    third->SubItems()->Add("trzeci");
    EXPECT_EQ(WindowText(*view, 2, 3), "trzeci");
    third->SubItems()->Clear();
    EXPECT_EQ(WindowText(*view, 2, 3), "");

    view->Items()->Item(0)->SetChecked(false);
    EXPECT_FALSE(WindowChecked(*view, 0));
    EXPECT_FALSE(view->Items()->Item(0)->Checked());

    // Columns as the window has them.
    char caption[64] = "";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = caption;
    column.cchTextMax = sizeof caption;
    SendMessageA(view->Handle(), LVM_GETCOLUMNA, 4, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(caption, "lokalizacja plików");
    EXPECT_EQ(column.cx, 200);
    EXPECT_EQ(view->Columns()->Items(1)->Width(), 5);

    view->Items()->Delete(1);
    EXPECT_EQ(WindowCaptions(*view), (std::vector<std::string>{"Ferlond", "Bez danych"}));
    view->Items()->Clear();
    EXPECT_EQ(SendMessageA(view->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
}

// Where a row's check box is: the first point left of its text that the
// window's hit test calls the state icon.
POINT CheckBoxPoint(TListView& view, int row)
{
    RECT r{};
    r.left = LVIR_BOUNDS;
    SendMessageA(view.Handle(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    const int y = (r.top + r.bottom) / 2;
    for (int x = r.left; x < r.left + 40; ++x) {
        LVHITTESTINFO hit{};
        hit.pt = {x, y};
        SendMessageA(view.Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON))
            return hit.pt;
    }
    ADD_FAILURE() << "no check box found in row " << row;
    return POINT{r.left + 8, y};
}

TEST_F(ListView, UserTicksReachTheItemsAndOnChange)
{
    int data = 7;
    AddRow("pierwszy", {"a"}, &data);
    AddRow("drugi", {"b"}, nullptr);
    view->Items()->Item(1)->SetChecked(false);
    view->OnChange = TLVChangeEvent(&rec, &Recorder::Change);

    // A click on the check box of the second row ticks it.
    const POINT p = CheckBoxPoint(*view, 1);
    PostMessageA(view->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageA(view->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    PumpMessages(100);
    EXPECT_TRUE(view->Items()->Item(1)->Checked());
    EXPECT_NE(std::find(rec.log.begin(), rec.log.end(), "state drugi ticked"), rec.log.end());

    // Space on the focused first row takes its tick away.
    rec.log.clear();
    FocusWindow(view->Handle());
    view->Items()->Item(0)->SetFocused(true);
    PostMessageA(view->Handle(), WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(view->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
    PumpMessages(100);
    EXPECT_FALSE(view->Items()->Item(0)->Checked());
    EXPECT_NE(std::find(rec.log.begin(), rec.log.end(), "state pierwszy"), rec.log.end());
    EXPECT_EQ(view->Items()->Item(0)->Data(), &data);

    // The program's tick is told too.
    rec.log.clear();
    view->Items()->Item(0)->SetChecked(true);
    EXPECT_EQ(rec.log, std::vector<std::string>{"state pierwszy ticked"});

    // Check boxes switched on again, or off and on, keep the user's ticks.
    view->SetCheckboxes(true);
    EXPECT_TRUE(view->Items()->Item(1)->Checked());
    view->SetCheckboxes(false);
    view->SetCheckboxes(true);
    EXPECT_TRUE(view->Items()->Item(0)->Checked());
    EXPECT_TRUE(view->Items()->Item(1)->Checked());
    EXPECT_TRUE(WindowChecked(*view, 1));
}

TEST_F(ListView, ClicksSelectRowsAndReachOnClickAndOnColumnClick)
{
    AddRow("pierwszy", {}, nullptr);
    AddRow("drugi", {}, nullptr);
    view->OnClick = TNotifyEvent(&rec, &Recorder::Click);
    view->OnColumnClick = TLVColumnClickEvent(&rec, &Recorder::ColumnClick);
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(view->Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    PostMessageA(view->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 10, (r.top + r.bottom) / 2));
    PostMessageA(view->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.left + 10, (r.top + r.bottom) / 2));
    PumpMessages(100);
    EXPECT_EQ(view->ItemIndex(), 1);
    EXPECT_EQ(view->Selected(), view->Items()->Item(1));
    EXPECT_EQ(rec.log, std::vector<std::string>{"click"});

    rec.log.clear();
    HWND header = reinterpret_cast<HWND>(SendMessageA(view->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    RECT h{};
    SendMessageA(header, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&h));
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((h.left + h.right) / 2, 5));
    PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM((h.left + h.right) / 2, 5));
    PumpMessages(100);
    EXPECT_EQ(rec.log, std::vector<std::string>{"column folder"});

    view->SetItemIndex(0);
    EXPECT_TRUE(view->Items()->Item(0)->Selected());
    EXPECT_FALSE(view->Items()->Item(1)->Selected());
    view->SetSelected(nullptr);
    EXPECT_EQ(view->ItemIndex(), -1);
}

TEST_F(ListView, SortingHooksOrderItemsAndRows)
{
    AddRow("b", {}, reinterpret_cast<void*>(2));
    AddRow("ć", {}, reinterpret_cast<void*>(3));
    AddRow("a", {}, reinterpret_cast<void*>(1));
    AddRow("c", {}, reinterpret_cast<void*>(4));
    view->Items()->Item(2)->SetChecked(false);

    // Without a hook: captions in the locale's order (ć after c).
    view->AlphaSort();
    EXPECT_EQ(ItemCaptions(*view), (std::vector<std::string>{"a", "b", "c", "ć"}));
    EXPECT_EQ(WindowCaptions(*view), ItemCaptions(*view));
    EXPECT_FALSE(view->Items()->Item(0)->Checked());  // the unticked row went along

    // OnCompare decides when set.
    view->OnCompare = TLVCompareEvent(&rec, &Recorder::Compare);
    view->AlphaSort();
    EXPECT_EQ(ItemCaptions(*view), (std::vector<std::string>{"c", "ć", "b", "a"}));
    EXPECT_EQ(WindowCaptions(*view), ItemCaptions(*view));

    // CustomSort with a comparison of its own, which gets the data passed.
    view->CustomSort(
        [](TListItem* a, TListItem* b, LPARAM data) {
            const int sign = static_cast<int>(data);
            return sign * (static_cast<int>(reinterpret_cast<intptr_t>(a->Data())) -
                           static_cast<int>(reinterpret_cast<intptr_t>(b->Data())));
        },
        1);
    EXPECT_EQ(WindowCaptions(*view), (std::vector<std::string>{"a", "b", "ć", "c"}));
    EXPECT_EQ(ItemCaptions(*view), WindowCaptions(*view));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(view->Items()->Item(i)->Index(), i);

    // An exception of the comparison reaches the caller, after the window.
    EXPECT_THROW(view->CustomSort([](TListItem*, TListItem*, LPARAM) -> int { throw std::runtime_error("x"); }, 0),
                 std::runtime_error);
    EXPECT_EQ(view->Items()->Count(), 4);

    // SortType keeps the rows in order as captions change.
    view->OnCompare.Clear();
    view->SetSortType(TSortType::stText);
    view->Items()->Item(0)->SetCaption("z");
    EXPECT_EQ(WindowCaptions(*view), (std::vector<std::string>{"b", "c", "ć", "z"}));
    view->Items()->Add()->SetCaption("d");
    EXPECT_EQ(ItemCaptions(*view), (std::vector<std::string>{"b", "c", "ć", "d", "z"}));
}

TEST_F(ListView, UpdatesHoldBackPaintingUntilTheOutermostEnd)
{
    UpdateWindow(view->Handle());
    view->Items()->BeginUpdate();
    view->Items()->BeginUpdate();
    for (const char* name : {"jeden", "dwa", "trzy"})
        AddRow(name, {"x"}, nullptr);
    RECT dirty;
    EXPECT_FALSE(GetUpdateRect(view->Handle(), &dirty, FALSE));
    view->Items()->EndUpdate();
    EXPECT_FALSE(GetUpdateRect(view->Handle(), &dirty, FALSE));
    view->Items()->EndUpdate();
    EXPECT_TRUE(GetUpdateRect(view->Handle(), &dirty, FALSE));
    view->Items()->EndUpdate();  // one too many does no harm
    EXPECT_EQ(WindowCaptions(*view), (std::vector<std::string>{"jeden", "dwa", "trzy"}));
}

TEST_F(ListView, ItemsColumnsAndStateOutliveANewWindow)
{
    AddRow("pierwszy", {"1", "2"}, reinterpret_cast<void*>(11));
    AddRow("drugi", {"3"}, reinterpret_cast<void*>(12));
    view->Items()->Item(0)->SetChecked(false);
    view->SetItemIndex(1);
    view->Columns()->Items(0)->SetWidth(120);
    const HWND before = view->Handle();
    view->SetReadOnly(false);  // a style of the window: made anew
    ASSERT_NE(view->Handle(), before);
    EXPECT_EQ(WindowCaptions(*view), (std::vector<std::string>{"pierwszy", "drugi"}));
    EXPECT_EQ(WindowText(*view, 0, 2), "2");
    EXPECT_FALSE(WindowChecked(*view, 0));
    EXPECT_TRUE(WindowChecked(*view, 1));
    EXPECT_EQ(view->ItemIndex(), 1);
    EXPECT_EQ(view->Columns()->Items(0)->Width(), 120);
    EXPECT_EQ(view->Items()->Item(1)->Data(), reinterpret_cast<void*>(12));
    EXPECT_TRUE(GetWindowLongA(view->Handle(), GWL_STYLE) & LVS_EDITLABELS);

}

TEST_F(ListView, AnItemMovesAsACopyInsertedElsewhere)
{
    int data = 5;
    AddRow("pierwszy", {"1"}, nullptr);
    AddRow("drugi", {"2", "dwa"}, &data);
    AddRow("trzeci", {"3"}, nullptr);
    view->Items()->Item(2)->SetChecked(false);
    // The second row to the front: a copy there, the original deleted.
    TListItem* copy = view->Items()->Insert(0);
    copy->Assign(view->Items()->Item(2));
    view->Items()->Delete(2);
    EXPECT_EQ(WindowCaptions(*view), (std::vector<std::string>{"drugi", "pierwszy", "trzeci"}));
    EXPECT_EQ(view->Items()->Item(0), copy);
    EXPECT_EQ(copy->Data(), &data);
    EXPECT_EQ(WindowText(*view, 0, 2), "dwa");
    EXPECT_TRUE(WindowChecked(*view, 0));
    EXPECT_FALSE(WindowChecked(*view, 2));
    EXPECT_THROW(view->Items()->Insert(4), EListError);
}

TEST_F(ListView, SmallImagesAreTheWindowsUntilTheyGo)
{
    auto* images = new TImageList(TestForm());
    images->Add(nullptr, nullptr);
    view->SetSmallImages(images);
    TListItem* item = AddRow("z obrazkiem", {}, nullptr);
    item->SetImageIndex(0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(view->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
              images->Handle());
    LVITEMA it{};
    it.mask = LVIF_IMAGE;
    SendMessageA(view->Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    EXPECT_EQ(it.iImage, 0);
    delete images;
    EXPECT_EQ(view->SmallImages(), nullptr);
    EXPECT_EQ(SendMessageA(view->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
}

TEST_F(ListView, ItemsWaitForTheWindow)
{
    TListView loose(nullptr);
    loose.SetViewStyle(vsReport);
    loose.SetCheckboxes(true);
    loose.Columns()->Add()->SetCaption("nazwa");
    TListItem* item = loose.Items()->Add();
    item->SetCaption("bez okna");
    item->SetChecked(true);
    item->SetSelected(true);
    EXPECT_EQ(loose.Selected(), item);
    loose.SetParent(TestForm());
    ASSERT_TRUE(loose.HandleAllocated());
    EXPECT_EQ(WindowCaptions(loose), std::vector<std::string>{"bez okna"});
    EXPECT_TRUE(WindowChecked(loose, 0));
    EXPECT_EQ(loose.ItemIndex(), 0);
    loose.SetParent(nullptr);
}

// The columns as the window has them: caption, width and alignment.
struct TShownColumn {
    std::string caption;
    int width;
    int format;
    bool operator==(const TShownColumn&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TShownColumn& c)
{
    return out << "{" << c.caption << ", " << c.width << ", " << c.format << "}";
}

std::vector<TShownColumn> WindowColumns(TListView& view)
{
    std::vector<TShownColumn> columns;
    HWND header = reinterpret_cast<HWND>(SendMessageA(view.Handle(), LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
        char buffer[256] = "";
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        c.pszText = buffer;
        c.cchTextMax = sizeof buffer;
        SendMessageA(view.Handle(), LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
        columns.push_back({buffer, c.cx, c.fmt & LVCFMT_JUSTIFYMASK});
    }
    return columns;
}

const char* const columnsText =
    "  Columns = <\n"
    "    item\n"
    "      Caption = 'aplikacja'\n"
    "      Width = 150\n"
    "    end\n"
    "    item\n"
    "      Caption = 'rozmiar'\n"
    "      Width = 5\n"
    "    end\n"
    "    item\n"
    "      Alignment = taRightJustify\n"
    "      Caption = 'lokalizacja plików'\n"
    "      Width = 200\n"
    "    end>\n";

// The installer's list as its form describes it, read into a view that has
// no window yet or into one whose window exists (an icon view, which has no
// column widths), with the columns written before or after the view style:
// the window ends as the same report view with the same columns, and the
// column the view had is replaced.
TEST(ListViewForm, ColumnsAndViewStyleBeforeOrAfterTheWindow)
{
    TestForm();
    const std::vector<TShownColumn> expected = {
        {"aplikacja", 150, LVCFMT_LEFT}, {"rozmiar", 5, LVCFMT_LEFT}, {"lokalizacja plików", 200, LVCFMT_RIGHT}};
    const struct {
        bool windowFirst;
        bool columnsFirst;
    } cases[] = {{false, true}, {false, false}, {true, true}, {true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "window first " << c.windowFirst << ", columns first " << c.columnsFirst);
        TListView view(nullptr);
        view.SetBounds(10, 10, 500, 200);
        view.Columns()->Add()->SetCaption("stara");
        if (c.windowFirst) {
            view.SetParent(TestForm());
            ASSERT_TRUE(view.HandleAllocated());
        }
        const std::string style = "  ViewStyle = vsReport\n";
        ReadFormText(&view, std::string("object lv: TListView\n") + (c.columnsFirst ? columnsText + style
                                                                                     : style + columnsText) +
                                "end\n");
        if (!c.windowFirst) {
            EXPECT_FALSE(view.HandleAllocated());
            view.SetParent(TestForm());
        }
        // A window made anew while loading waits until it is needed.
        ASSERT_NE(view.Handle(), nullptr);
        EXPECT_EQ(GetWindowLongA(view.Handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_EQ(WindowColumns(view), expected);
        ASSERT_EQ(view.Columns()->Count(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(view.Columns()->Items(i)->Caption(), expected[i].caption);
            EXPECT_EQ(view.Columns()->Items(i)->Width(), expected[i].width);
        }
        EXPECT_EQ(view.Columns()->Items(2)->Alignment(), taRightJustify);
        view.SetParent(nullptr);
    }
}

// An empty collection in the form takes every column away, window or not.
TEST(ListViewForm, AnEmptyCollectionLeavesNoColumns)
{
    for (bool windowFirst : {false, true}) {
        SCOPED_TRACE(windowFirst);
        TListView view(nullptr);
        view.SetViewStyle(vsReport);
        view.Columns()->Add()->SetCaption("stara");
        view.Columns()->Add()->SetCaption("druga");
        if (windowFirst)
            view.SetParent(TestForm());
        ReadFormText(&view, "object lv: TListView\n  Columns = <>\nend\n");
        view.SetParent(TestForm());
        EXPECT_EQ(view.Columns()->Count(), 0);
        EXPECT_TRUE(WindowColumns(view).empty());
        view.SetParent(nullptr);
    }
}

// Columns made in code on a window of another view keep their widths for
// the report view that comes later.
TEST(ListViewForm, WidthsSetInAnotherViewReachTheReportView)
{
    TListView view(nullptr);
    view.SetParent(TestForm());
    ASSERT_TRUE(view.HandleAllocated());
    view.Columns()->BeginUpdate();
    view.Columns()->Add()->SetWidth(150);
    view.Columns()->EndUpdate();
    view.Columns()->Add()->SetWidth(60);
    view.SetViewStyle(vsReport);
    EXPECT_EQ(view.Columns()->Items(0)->Width(), 150);
    EXPECT_EQ(view.Columns()->Items(1)->Width(), 60);
    const std::vector<TShownColumn> expected = {{"", 150, LVCFMT_LEFT}, {"", 60, LVCFMT_LEFT}};
    EXPECT_EQ(WindowColumns(view), expected);
    view.SetParent(nullptr);
}

} // namespace

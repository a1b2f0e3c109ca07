// The program-choice page (page 4) as kelvor makes it: its controls read from
// the installer's own form text, on a page of the main form's font and
// colour, shown before anything is looked at. The destination edit keeps a
// long folder out from under its button; the list's header shows the header
// font of the form text and the list has no tool tips of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ComponentsForm.h"
#include "classlib/ExtCtrls.h"
#include "classlib/FormReader.h"
#include "classlib/TypInfo.h"
#include "installer/ToolEdit.h"
#include "installer/advlistv.h"
#include "tests/support/TestUtil.h"

namespace {

class TProgramPage : public TPanel {
public:
    using TPanel::TPanel;

    int Changes = 0;
    void deChange(TObject*) { ++Changes; }

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TProgramPage", &TPanel::StaticClass(), nullptr, {},
                                     {PublishHandler<&TProgramPage::deChange>("deChange")});
        return info;
    }
};

// The windows asked to drop their tool tips (LVM_SETTOOLTIPS without a
// window) while the hook is in. The request is watched, not its outcome:
// Wine's list view makes itself a new tool tip window for it.
std::vector<HWND> droppedToolTips;

LRESULT CALLBACK WatchToolTips(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == LVM_SETTOOLTIPS && m->wParam == 0)
        droppedToolTips.push_back(m->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Page 4's controls as the build compiles the main form into kelvor.exe (code
// page 1250), on a panel of the page's size with the main form's font and
// colour.
std::string ProgramPageText()
{
    const std::string text = ReadWholeFile(BuiltPath("installer\\kelvor_forms\\main.dfm.cp1250"));
    const size_t page = text.find("\n    object pg4: TPage");
    const size_t first = text.find("\n      object ", page);
    const size_t end = text.find("\n    end", first);
    if (page == std::string::npos || first == std::string::npos || end == std::string::npos)
        return std::string();
    return "object pg4: TProgramPage\r\n"
           "  Width = 564\r\n"
           "  Height = 374\r\n"
           "  BevelOuter = bvNone\r\n"
           "  Color = 13555641\r\n"
           "  Font.Charset = 238\r\n"
           "  Font.Height = -11\r\n"
           "  Font.Name = 'Tahoma'" +
           text.substr(first, end - first) + "\r\nend\r\n";
}

// What a press on a link hands to the shell, recorded instead of opened.
std::vector<std::string> opened;

void RecordOpen(HWND, const std::string& link)
{
    opened.push_back(link);
}

class ProgramPage : public testing::Test {
protected:
    void SetUp() override
    {
        ComponentsForm();
        const std::string text = ProgramPageText();
        ASSERT_FALSE(text.empty());
        // Read whole before it has a window, then shown.
        page = new TProgramPage(ComponentsForm());
        ReadFormText(page, text);
        de = dynamic_cast<TDirectoryEdit*>(page->FindComponent("de"));
        lv = dynamic_cast<TAdvListView*>(page->FindComponent("lv"));
        ASSERT_TRUE(de && lv);
        ASSERT_FALSE(de->HandleAllocated());
        droppedToolTips.clear();
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchToolTips, nullptr, GetCurrentThreadId());
        page->SetParent(ComponentsForm());
        UnhookWindowsHookEx(hook);
        PumpMessages(20);
    }
    void TearDown() override { delete page; }

    TProgramPage* page = nullptr;
    TDirectoryEdit* de = nullptr;
    TAdvListView* lv = nullptr;
};

// A folder typed until it is longer than the edit: the text and its end stop
// before the folder button, in the edit's rectangle and in the picture.
TEST_F(ProgramPage, ALongDestinationStopsBeforeTheFolderButton)
{
    ASSERT_EQ(de->Text(), "c:\\qmx");
    const int buttonLeft = de->ButtonPanel()->Left();
    RECT r{};
    SendMessageA(de->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_LE(r.right, buttonLeft);

    // Underscores draw one unbroken line, so any text under the button
    // would show in the columns just before it.
    const std::string folder = "c:\\Program Files\\Bardzo długi katalog docelowy\\________________________________";
    de->SetSelStart(static_cast<int>(de->Text().size()));
    for (char c : folder.substr(6))
        de->Perform(WM_CHAR, static_cast<unsigned char>(c), 1);
    ASSERT_EQ(de->Text(), "c:\\qmx" + folder.substr(6));
    const int last = static_cast<int>(de->Text().size()) - 1;
    const LRESULT at = SendMessageA(de->Handle(), EM_POSFROMCHAR, last, 0);
    EXPECT_LT(static_cast<short>(LOWORD(at)), buttonLeft - 4);
    PumpMessages(20);

    TempFolder temp;
    SavePicture(page->Handle(), temp.Path(), "strona4-dlugi-katalog.png");
    const std::unique_ptr<TBitmap> picture = ClientPicture(de);
    auto inkIn = [&](int x0, int x1) {
        int ink = 0;
        for (int y = 0; y < de->ClientHeight(); ++y)
            for (int x = x0; x < x1; ++x)
                ink += static_cast<COLORREF>(picture->Canvas()->Pixels(x, y)) == RGB(0, 0, 0);
        return ink;
    };
    EXPECT_GT(inkIn(buttonLeft - 30, buttonLeft - 2), 10);
    EXPECT_EQ(inkIn(buttonLeft - 2, buttonLeft), 0);
}

// The header shows the form text's header font, also after the view's own
// font changed; the view has no tool tips of the common control.
TEST_F(ProgramPage, TheListsHeaderFontAndNoToolTips)
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(lv->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(lv->HeaderFont()->Name(), "MS Sans Serif");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0)), lv->HeaderFont()->Handle());
    EXPECT_NE(lv->HeaderFont()->Handle(), lv->Font()->Handle());
    lv->Font()->SetHeight(-15);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0)), lv->HeaderFont()->Handle());
    EXPECT_EQ(std::count(droppedToolTips.begin(), droppedToolTips.end(), lv->Handle()), 1);
}

// A medium's description goes into the list as it stands, markup and all:
// on the list as kelvor makes it, a press on a web anchor in it opens the
// page, one on an anchor that names a program or a file runs nothing.
TEST_F(ProgramPage, AnchorsOfAMediumOpenOnlyWebPages)
{
    const struct {
        const char* info;
        const char* opens;  // what goes to the shell, or nothing
    } rows[] = {
        {"<a href=\"http://www.example.pl/\">strona</a> programu", "http://www.example.pl/"},
        {"<a href=\"file:///c:/windows/notepad.exe\">pomoc</a> programu", ""},
        {"<a href=\"ms-settings://display\">ustawienia</a> programu", ""},
    };
    const TAdvListView::TLinkOpener oldOpener = TAdvListView::SetLinkOpener(&RecordOpen);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.info);
        lv->Items()->Clear();
        TListItem* item = lv->Items()->Add();
        item->SetCaption("Parvin 2000");
        for (const char* text : {"15 kB", "Parvin", r.info, "c:\\qmx\\Parvin"})
            item->SubItems()->Add(text);
        PumpMessages(20);
        opened.clear();
        const TRect cell = lv->CellRect(0, 3);
        const LPARAM at = MAKELPARAM(cell.left + 8, (cell.top + cell.bottom) / 2);
        PostMessageA(lv->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(lv->Handle(), WM_LBUTTONUP, 0, at);
        PumpMessages(50);
        EXPECT_EQ(opened, *r.opens ? std::vector<std::string>{r.opens} : std::vector<std::string>{});
    }
    TAdvListView::SetLinkOpener(oldOpener);
}

} // namespace

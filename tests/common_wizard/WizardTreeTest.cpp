// The wizard tree: where its boxes, lines and captions are painted, which
// values ItemIndex takes, clicks on items, and reading it from a form.
#include <gtest/gtest.h>

#include "tests/support/TestUtil.h"
#include "WizardTestUtil.h"
#include "classlib/FormReader.h"
#include "common/WizardTree.h"

namespace {

// Records the tree's events in order.
struct TTreeListener : TObject {
    std::vector<std::string> Log;
    bool Allow = true;
    void Click(TObject*) { Log.push_back("click"); }
    void Changing(TObject*, int item, bool& allow)
    {
        Log.push_back("changing " + std::to_string(item));
        allow = Allow;
    }
    void Change(TObject* sender)
    {
        Log.push_back("change " + std::to_string(static_cast<TWizardTree*>(sender)->ItemIndex()));
    }
};

class WizardTree : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureWizardApplication();
        form = new TForm(Application);
        form->SetBounds(0, 0, 300, 300);
        tree = new TWizardTree(form);
        tree->SetParent(form);
    }
    void TearDown() override { form->Free(); }

    // Presses and releases the left button at a point of the tree.
    void ClickAt(int x, int y)
    {
        tree->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        tree->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    // Pixels other than the background in a rectangle of the picture (text
    // may be smoothed, so its pixels are not all of the font colour).
    static int CountInk(TBitmap& bitmap, const TRect& r)
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += PixelAt(bitmap, x, y) != clBlack;
        return n;
    }

    TForm* form = nullptr;
    TWizardTree* tree = nullptr;
};

struct LayoutRow {
    const char* name;
    int items;
    int itemIndex;
    int h, v, bw, bh, lm, tm;
    std::vector<int> lefts;
    std::vector<int> tops;
};

TEST_F(WizardTree, BoxesStandInTwoColumnsInTheirColours)
{
    const LayoutRow rows[] = {
        {"defaults", 4, 0, 4, 8, 16, 17, 4, 4, {8, 28, 28, 8}, {12, 45, 78, 111}},
        {"nothing selected", 4, -1, 4, 8, 16, 17, 4, 4, {8, 28, 28, 8}, {12, 45, 78, 111}},
        {"the installer's nine steps", 9, 7, 2, 6, 12, 8, 4, 4,
         {6, 20, 20, 20, 20, 20, 20, 20, 6}, {10, 30, 50, 70, 90, 110, 130, 150, 170}},
        {"wide margins, two items", 2, 1, 10, 3, 20, 10, 30, 20, {40, 40}, {23, 39}},
    };
    TempFolder pictures;
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(row.name);
        TStringList items;
        for (int i = 0; i < row.items; ++i)
            items.Add("  Krok " + std::to_string(i + 1));
        tree->SetItems(&items);
        tree->SetHorizontalSpace(row.h);
        tree->SetVerticalSpace(row.v);
        tree->SetBoxWidth(row.bw);
        tree->SetBoxHeight(row.bh);
        tree->SetLeftMargin(row.lm);
        tree->SetTopMargin(row.tm);
        tree->SetItemIndex(row.itemIndex);
        tree->SetBoxColor(clTeal);
        tree->SetSelectedBoxColor(clYellow);
        tree->SetColor(clNavy);
        tree->SetBounds(0, 0, 200, 200);
        ASSERT_EQ(tree->ItemIndex(), row.itemIndex);

        auto picture = PaintToBitmap(tree);
        for (int i = 0; i < row.items; ++i) {
            SCOPED_TRACE("item " + std::to_string(i));
            const int x = row.lefts[i], y = row.tops[i];
            const TColor box = i == row.itemIndex ? clYellow : clTeal;
            EXPECT_EQ(PixelAt(*picture, x, y), box);
            EXPECT_EQ(PixelAt(*picture, x + row.bw - 1, y), box);
            EXPECT_EQ(PixelAt(*picture, x, y + row.bh - 1), box);
            EXPECT_EQ(PixelAt(*picture, x + row.bw - 1, y + row.bh - 1), box);
            // No outline: the background touches the box on every side.
            EXPECT_EQ(PixelAt(*picture, x - 1, y + 1), clNavy);
            EXPECT_EQ(PixelAt(*picture, x + row.bw, y + row.bh - 1), clNavy);
            EXPECT_EQ(PixelAt(*picture, x + row.bw - 1, y + row.bh), clNavy);
        }
    }
    // A picture of the defaults for people.
    TWizardTree plain(nullptr);
    plain.SetParent(form);
    plain.SetItemIndex(1);
    SavePicture(*PaintToBitmap(&plain), pictures.Path(), "wizard_tree.png");
}

TEST_F(WizardTree, LinesJoinTheStepsAndTheTrunkRunsFromFirstToLast)
{
    tree->SetItemIndex(-1);
    auto picture = PaintToBitmap(tree);
    const struct {
        const char* what;
        int x, y;
        TColor color;
    } points[] = {
        {"first step: right from the box", 24, 20, clWhite},
        {"first step: corner above the inner column", 36, 20, clWhite},
        {"first step: down into the second box", 36, 40, clWhite},
        {"second to third step", 36, 70, clWhite},
        {"third step down towards the last", 36, 100, clWhite},
        {"third step: corner", 36, 119, clWhite},
        {"third step: left to the last box", 25, 119, clWhite},
        {"trunk below the first box", 16, 29, clWhite},
        {"trunk", 16, 80, clWhite},
        {"trunk ends above the last box", 16, 110, clWhite},
        {"nothing right of the corner", 37, 20, clBlack},
        {"nothing below the third step's corner", 36, 120, clBlack},
        {"nothing above the first box", 16, 11, clBlack},
        {"nothing between trunk and inner column", 22, 60, clBlack},
    };
    for (const auto& p : points) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(PixelAt(*picture, p.x, p.y), p.color);
    }
}

TEST_F(WizardTree, CaptionsStandBesideTheBoxesAndTheSelectedOneIsBold)
{
    TStringList items;
    items.SetText("Start\r\nKrok\r\nKrok\r\nKoniec\r\n");
    tree->SetItems(&items);
    tree->SetItemIndex(1);
    auto picture = PaintToBitmap(tree);
    // Caption areas of the default layout: the first and the last caption
    // start at 8 + 16 + 4 + 8 + 4, the inner ones at 28 + 16 + 4.
    const struct {
        int left, top;
    } captions[] = {{40, 12}, {48, 45}, {48, 78}, {40, 111}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const int left = captions[i].left, top = captions[i].top;
        EXPECT_EQ(CountInk(*picture, Rect(left - 3, top, left, top + 17)), 0) << "text left of its place";
        EXPECT_GT(CountInk(*picture, Rect(left, top, left + 80, top + 17)), 10);
    }
    const int selected = CountInk(*picture, Rect(48, 45, 130, 62));
    const int plain = CountInk(*picture, Rect(48, 78, 130, 95));
    EXPECT_GT(selected, plain);
}

TEST_F(WizardTree, ItemIndexTakesOnlyExistingItemsOrNone)
{
    const struct {
        int value, expected;
    } rows[] = {{2, 2}, {-2, 2}, {4, 2}, {3, 3}, {-1, -1}, {0, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.value);
        tree->SetItemIndex(r.value);
        EXPECT_EQ(tree->ItemIndex(), r.expected);
    }
}

TEST_F(WizardTree, AClickOnABoxOrCaptionSelectsAfterAskingOnChanging)
{
    TTreeListener listener;
    tree->OnClick = TNotifyEvent(&listener, &TTreeListener::Click);
    tree->OnChanging = TOnChanging(&listener, &TTreeListener::Changing);
    tree->OnChange = TOnChange(&listener, &TTreeListener::Change);
    TBitmap measure(1, 1, pf24bit);
    measure.Canvas()->SetFont(tree->Font());
    const int captionEnd = 28 + 16 + 4 + measure.Canvas()->TextWidth("First Page");

    const struct {
        const char* what;
        int x, y;
        bool allow;
        int expected;
        std::vector<std::string> log;
    } rows[] = {
        {"box of the second step", 30, 50, true, 1, {"click", "changing 1", "change 1"}},
        {"last pixel of its caption", captionEnd - 1, 61, true, 1, {"click", "changing 1", "change 1"}},
        {"just beyond the caption", captionEnd, 50, true, 0, {"click"}},
        {"just below the box", 30, 62, true, 0, {"click"}},
        {"between the columns", 26, 50, true, 0, {"click"}},
        {"the step already selected", 10, 15, true, 0, {"click"}},
        {"the last step", 10, 120, true, 3, {"click", "changing 3", "change 3"}},
        {"refused by OnChanging", 30, 85, false, 0, {"click", "changing 2"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        tree->SetItemIndex(0);
        PaintToBitmap(tree);  // the places to click are those last painted
        listener.Log.clear();
        listener.Allow = r.allow;
        ClickAt(r.x, r.y);
        EXPECT_EQ(tree->ItemIndex(), r.expected);
        EXPECT_EQ(listener.Log, r.log);
    }
}

TEST_F(WizardTree, IsReadFromAFormDescription)
{
    ReadFormText(form, "object fKreator: TForm\n"
                       "  object wt: TWizardTree\n"
                       "    Left = 0\n"
                       "    Enabled = False\n"
                       "    BevelInner = bvNone\n"
                       "    Items.Strings = (\n"
                       "      '  Program instalacyjny'\n"
                       "      '  Sposób instalacji'\n"
                       "      '  Zakończenie')\n"
                       "    ItemIndex = 2\n"
                       "    LineColor = 14015682\n"
                       "    SelectedBoxColor = clWhite\n"
                       "    BoxColor = 14015682\n"
                       "    HorizontalSpace = 2\n"
                       "    VerticalSpace = 6\n"
                       "    BoxHeight = 8\n"
                       "    BoxWidth = 12\n"
                       "    Version = '2.0'\n"
                       "  end\n"
                       "end\n");
    auto* wt = dynamic_cast<TWizardTree*>(form->FindComponent("wt"));
    ASSERT_NE(wt, nullptr);
    EXPECT_EQ(wt->Parent(), form);
    EXPECT_FALSE(wt->Enabled());
    EXPECT_EQ(wt->BevelOuter(), bvNone);  // the panel's bevels are not used
    ASSERT_EQ(wt->Items()->Count(), 3);
    EXPECT_EQ(wt->Items()->Strings(1), "  Sposób instalacji");
    EXPECT_EQ(wt->ItemIndex(), 2);
    EXPECT_EQ(wt->LineColor(), 14015682);
    EXPECT_EQ(wt->SelectedBoxColor(), clWhite);
    EXPECT_EQ(wt->BoxColor(), 14015682);
    EXPECT_EQ(wt->HorizontalSpace(), 2);
    EXPECT_EQ(wt->VerticalSpace(), 6);
    EXPECT_EQ(wt->BoxHeight(), 8);
    EXPECT_EQ(wt->BoxWidth(), 12);
    EXPECT_EQ(wt->Version(), "1.0");
    // Defaults the description leaves alone.
    EXPECT_EQ(wt->LeftMargin(), 4);
    EXPECT_EQ(wt->Width(), 133);
    EXPECT_EQ(wt->Color(), clBlack);
    EXPECT_EQ(wt->Font()->Color(), clWhite);

    wt->SetColor(8755543);
    wt->SetBounds(0, 0, 185, 100);
    TempFolder pictures;
    SavePicture(*PaintToBitmap(wt), pictures.Path(), "wizard_tree_installer.png");
}

} // namespace

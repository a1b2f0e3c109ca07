// The grid and the real clipboard: the bytes a copy leaves there, pastes of
// text the grid wrote and of blocks other programs put there, the cells a
// paste may not write, and the smart paste's fills and series.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "classlib/Clipbrd.h"
#include "tests/grid_core/GridFixture.h"

namespace {

// The clipboard's CF_TEXT block as it stands, all of its bytes.
std::string ClipboardBlock(UINT format = CF_TEXT)
{
    std::string bytes;
    if (OpenClipboard(nullptr)) {
        if (HANDLE block = GetClipboardData(format))
            bytes = BytesOfGlobal(static_cast<HGLOBAL>(block));
        CloseClipboard();
    }
    return bytes;
}

// Puts a block on the clipboard as another program would: exactly these
// bytes, no zero added (the block is filled to its last byte).
void PutForeignBlock(const std::string& bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    ASSERT_TRUE(block);
    const size_t size = GlobalSize(block);
    char* data = static_cast<char*>(GlobalLock(block));
    for (size_t i = 0; i < size; ++i)
        data[i] = bytes[i % bytes.size()];
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

// Records what PasteDone is given.
class TPasteGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void PasteDone(TGridCoord TopLeft, TGridRect Range) override
    {
        calls.push_back(std::to_string(TopLeft.X) + "," + std::to_string(TopLeft.Y) + " " + std::to_string(Range.Left) +
                        "," + std::to_string(Range.Top) + "-" + std::to_string(Range.Right) + "," +
                        std::to_string(Range.Bottom));
    }
    std::vector<std::string> calls;
};

struct Refusal {
    int col = -1, row = -1;
    void CanEdit(TObject*, int row_, int col_, bool& canedit) { canedit = !(col_ == col || row_ == row); }
};

class GridClipboard : public testing::Test {
protected:
    void SetUp() override { TestForm(); }
    void TearDown() override { delete grid; }
    void Select(int left, int top, int right, int bottom) { grid->SetSelection(TGridRect{left, top, right, bottom}); }

    TAdvStringGrid* grid = nullptr;
};

} // namespace

TEST_F(GridClipboard, CopyLeavesTabsAndLineBreaksWithNothingAfterTheLastCell)
{
    grid = MakeGrid(4, 4, {{"", "", ""}, {"", "a", "b"}, {"", "c", "d"}});
    Select(1, 1, 2, 2);
    grid->CopySelectionToClipboard();
    EXPECT_EQ(ClipboardBlock(), std::string("a\tb\r\nc\td\0", 9));
    EXPECT_EQ(grid->SelectionAsText(), "a\tb\r\nc\td");
    EXPECT_EQ(grid->CopyOrigin().X, 1);
    EXPECT_EQ(grid->CopyOrigin().Y, 1);
}

TEST_F(GridClipboard, TwoHundredTwoLineCellsQuoted)
{
    // Every quoted cell is longer than its text: the copy must not be sized
    // from the cells' lengths.
    grid = MakeGrid(1, 200);
    grid->SetMultilinecells(true);
    grid->SetQuoteMultiLineCells(true);
    std::string expected;
    for (int r = 0; r < 200; ++r) {
        grid->SetCells(0, r, "linia " + std::to_string(r) + "\r\ndruga");
        expected += (r ? "\r\n" : "") + std::string("\"linia ") + std::to_string(r) + "\ndruga\"";
    }
    grid->CopyRangeToClipboard(TGridRect{0, 0, 0, 199});
    EXPECT_EQ(ClipboardBlock(), expected + '\0');

    // Back in: one cell each, with CR LF again.
    delete grid;
    grid = MakeGrid(1, 1);
    grid->SetQuoteMultiLineCells(true);
    EXPECT_EQ(grid->PasteFromClipboardAt(0, 0), 200);
    EXPECT_EQ(grid->RowCount(), 200);
    EXPECT_EQ(grid->Cells(0, 199), "linia 199\r\ndruga");
}

TEST_F(GridClipboard, RichTextCellsAsPlainTextAndAsRichText)
{
    const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Gruby tekst\\par}";
    grid = MakeGrid(3, 2, {{rtf, "x"}});
    grid->Navigation()->AllowRTFClipboard = true;
    grid->CopyRangeToClipboard(TGridRect{0, 0, 1, 0});
    EXPECT_EQ(ClipboardBlock(), std::string("Gruby tekst\tx\0", 14));
    const UINT rich = RegisterClipboardFormatA("Rich Text Format");
    EXPECT_EQ(ClipboardBlock(rich), rtf + '\0') << "beside the text";

    // Rich text goes back whole into one editable cell.
    EXPECT_EQ(grid->PasteFromClipboardAt(2, 1), 0);
    EXPECT_EQ(grid->Cells(2, 1), rtf);
    grid->Navigation()->AllowRTFClipboard = false;
    EXPECT_EQ(grid->PasteFromClipboardAt(0, 1), 2) << "without it, the text";
    EXPECT_EQ(grid->Cells(1, 1), "x");
}

TEST_F(GridClipboard, PasteFillsAndWidens)
{
    Clipboard()->SetAsText("a\tb\r\nc\td");
    grid = MakeGrid(3, 4);
    EXPECT_EQ(grid->PasteFromClipboardAt(1, 1), 4);
    EXPECT_EQ(ColumnText(grid, 1, 1, 2), "a|c");
    EXPECT_EQ(ColumnText(grid, 2, 1, 2), "b|d");
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->PasteFromClipboardAt(2, 0), 4);
    EXPECT_EQ(grid->ColCount(), 4) << "the last column widens the grid by one";
    EXPECT_EQ(grid->Cells(3, 1), "d");
}

TEST_F(GridClipboard, LineBreaksAtTheEndAddNothing)
{
    struct {
        const char* text;
        int count;
        const char* column;
        int rows;
    } cases[] = {
        {"x\r\ny\r\n", 2, "keep|x|y", 3},  // no empty cell below, no row added
        {"x\ry\r", 2, "keep|x|y", 3},      // lone CRs end lines too
        {"x\r\ny", 2, "keep|x|y", 3},
        {"x\r\ny\r\nz", 3, "keep|x|y|z", 4},  // text after the break adds a row
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        grid = MakeGrid(2, 3, {{"keep"}, {"", ""}, {"", ""}});
        EXPECT_EQ(grid->PasteText(0, 1, c.text), c.count);
        EXPECT_EQ(ColumnText(grid, 0, 0, grid->RowCount() - 1), c.column);
        EXPECT_EQ(grid->RowCount(), c.rows);
        delete grid;
        grid = nullptr;
    }
}

TEST_F(GridClipboard, ABlockFromAnotherProgramIsReadToItsZeroOrItsSize)
{
    // Windows hands such a block over as it is; Wine ends it with a zero of
    // its own in its last byte, here the final line feed. Either way the
    // paste takes exactly the block's lines and nothing after them. Sixteen
    // bytes: no allocation rounds the block beyond them.
    const std::string text = "ab\tcd\r\nefgh\tij\r\n";
    ASSERT_EQ(text.size(), 16u);
    PutForeignBlock(text);
    ASSERT_EQ(ClipboardBlock().substr(0, 15), text.substr(0, 15));
    grid = MakeGrid(2, 1);
    EXPECT_EQ(grid->PasteFromClipboardAt(0, 0), 4);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(ColumnText(grid, 0, 0, 1), "ab|efgh");
    EXPECT_EQ(ColumnText(grid, 1, 0, 1), "cd|ij");
}

TEST_F(GridClipboard, RefusedCellsAreSkippedAndCounted)
{
    Refusal refusal;
    refusal.col = 1;
    grid = MakeGrid(3, 2, {{"", "locked", ""}});
    grid->OnCanEditCell = TCellQueryEvent(&refusal, &Refusal::CanEdit);
    EXPECT_EQ(grid->PasteText(0, 0, "a\tb\tc"), 3);
    EXPECT_EQ(grid->Cells(0, 0), "a");
    EXPECT_EQ(grid->Cells(1, 0), "locked");
    EXPECT_EQ(grid->Cells(2, 0), "c");

    // Cut empties the cells it may.
    grid->SetSelection(TGridRect{0, 0, 2, 0});
    grid->CutSelectionToClipboard();
    EXPECT_EQ(Clipboard()->GetAsText(), "a\tlocked\tc");
    EXPECT_EQ(grid->Cells(0, 0), "");
    EXPECT_EQ(grid->Cells(1, 0), "locked");
    EXPECT_EQ(grid->Cells(2, 0), "");
}

TEST_F(GridClipboard, PasteDoneGetsTheCopyOriginAndTheRange)
{
    auto* paste = new TPasteGrid(TestForm());
    grid = paste;
    grid->SetColCount(5);
    grid->SetRowCount(5);
    grid->SetParent(TestForm());
    grid->PasteText(1, 1, "a");
    grid->CopyRangeToClipboard(TGridRect{2, 3, 3, 4});
    grid->PasteText(1, 0, "a\tb\tc\r\nd");
    EXPECT_EQ(paste->calls, (std::vector<std::string>{"-1,-1 1,1-1,1", "2,3 1,0-3,1"}));
}

TEST_F(GridClipboard, SmartPasteFillsTheSelection)
{
    grid = MakeGrid(5, 5);
    grid->Navigation()->AllowSmartClipboard = true;
    Clipboard()->SetAsText("7");
    Select(1, 1, 3, 2);
    grid->PasteSelectionFromClipboard();
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(ColumnText(grid, c, 1, 2), "7|7") << c;
    EXPECT_EQ(grid->Cells(4, 1), "");
    EXPECT_EQ(grid->Cells(0, 1), "");
}

TEST_F(GridClipboard, SmartPasteSeries)
{
    struct {
        const char* name;
        const char* pasted;
        bool row;  // a one-row selection rather than one column
        const char* cells;
    } cases[] = {
        {"integers", "1\r\n3", false, "1|3|5|7|9"},
        {"integers in a row", "10\t5", true, "10|5|0|-5|-10"},
        {"decimals", "1,5\r\n2", false, "1,5|2|2,5|3|3,5"},
        {"tenths", "0,1\r\n0,2", false, "0,1|0,2|0,3|0,4|0,5"},
        {"days", "30.12.2023\r\n31.12.2023", false, "30.12.2023|31.12.2023|1.01.2024|2.01.2024|3.01.2024"},
        {"months", "15.11.2023\r\n15.12.2023", false, "15.11.2023|15.12.2023|15.01.2024|15.02.2024|15.03.2024"},
        {"years", "29.02.2024\r\n29.02.2028", false, "29.02.2024|29.02.2028|29.02.2032|29.02.2036|29.02.2040"},
        {"times", "8:00:00\r\n8:30:00", false, "08:00:00|08:30:00|09:00:00|09:30:00|10:00:00"},
        {"texts", "a\r\nb", false, "a|b|||"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        grid = MakeGrid(6, 6);
        grid->Navigation()->AllowSmartClipboard = true;
        Clipboard()->SetAsText(c.pasted);
        if (c.row)
            Select(1, 1, 5, 1);
        else
            Select(1, 1, 1, 5);
        grid->PasteSelectionFromClipboard();
        std::string cells;
        for (int i = 1; i <= 5; ++i) {
            if (i > 1)
                cells += '|';
            cells += c.row ? grid->Cells(i, 1) : grid->Cells(1, i);
        }
        EXPECT_EQ(cells, c.cells);
        delete grid;
        grid = nullptr;
    }
}

TEST_F(GridClipboard, SeriesSkipRefusedCellsAndStopAtAMissingDay)
{
    Refusal refusal;
    refusal.row = 3;
    grid = MakeGrid(3, 7, {{}, {}, {}, {"", "stays"}});
    grid->Navigation()->AllowSmartClipboard = true;
    grid->OnCanEditCell = TCellQueryEvent(&refusal, &Refusal::CanEdit);
    Clipboard()->SetAsText("1\r\n2");
    Select(1, 1, 1, 5);
    grid->PasteSelectionFromClipboard();
    EXPECT_EQ(ColumnText(grid, 1, 1, 5), "1|2|stays|4|5") << "the value advances past a refused cell";

    // 31 January stepping two months: 31 May, 31 July, then 31 September
    // does not exist; the cells before it stay written.
    grid->OnCanEditCell.Clear();
    Clipboard()->SetAsText("31.01.2024\r\n31.03.2024");
    Select(2, 0, 2, 6);
    EXPECT_THROW(grid->PasteSelectionFromClipboard(), EConvertError);
    EXPECT_EQ(ColumnText(grid, 2, 0, 6), "31.01.2024|31.03.2024|31.05.2024|31.07.2024|||");

    // A value that does not read stops the series before any cell.
    Clipboard()->SetAsText("1,5\r\nx");
    Select(0, 0, 0, 4);
    EXPECT_THROW(grid->PasteSelectionFromClipboard(), EConvertError);
    EXPECT_EQ(ColumnText(grid, 0, 0, 4), "1,5|x|||");

    // The last step beyond the selection is never taken: a series that
    // fits ends without an error.
    Clipboard()->SetAsText("31.03.2024\r\n31.05.2024");
    Select(0, 0, 0, 2);
    grid->PasteSelectionFromClipboard();
    EXPECT_EQ(ColumnText(grid, 0, 0, 2), "31.03.2024|31.05.2024|31.07.2024");
}

// Plain painting: the painter of one cell on a bitmap, and the grid drawing
// itself into a bitmap through its window painting.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "GridFixture.h"
#include "PaintFixture.h"
#include "grid/AdvPaint.h"

namespace {

// The text drawn the plain way (no prefix processing, no clipping) at (x,
// y) on a background, in a font.
std::unique_ptr<TBitmap> Reference(int width, int height, TColor back, TFont* font, int x, int y,
                                   const std::string& text)
{
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    TCanvas* c = bitmap->Canvas();
    c->Brush()->SetColor(back);
    c->FillRect(Rect(0, 0, width, height));
    c->Font()->Assign(font);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(x, y, text);
    return bitmap;
}

class AdvPaint : public PaintGridTest {
protected:
    // Pixels of the cell that differ from its text drawn the plain way on
    // the window colour.
    int DiffersFromPlain(int col, int row, const std::string& text)
    {
        auto picture = grid->Picture();
        const TRect cell = grid->CellRect(col, row);
        auto reference = Reference(picture->Width(), picture->Height(), Sys(COLOR_WINDOW), grid->Font(),
                                   cell.left + 2, cell.top + 2, text);
        return Differences(picture.get(), reference.get(),
                           Rect(cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1));
    }
};

} // namespace

TEST(AdvPainter, ShortenLine)
{
    // Each character 10 pixels wide.
    auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 10; };
    struct {
        const char* text;
        int room;
        bool urlShow, urlFull, enh;
        const char* shown;
    } cases[] = {
        {"abcdef", 60, false, false, true, "abcdef"},
        {"abcdefgh", 60, false, false, true, "abc..."},
        {"abcdefgh", 60, false, false, false, "abcdefgh"},
        {"abcdefgh", 35, false, false, true, ""},  // not even one character and "..."
        {"abcdefghijklmnopqrstuvwxyz", 95, false, false, true, "abcdef..."},
        {"http://x.pl/a", 200, true, false, false, "x.pl/a"},
        {"http://x.pl/a", 200, true, true, false, "http://x.pl/a"},
        {"mailto:jan@x.pl", 200, true, false, false, "jan@x.pl"},
        {"http://x.pl", 200, false, false, false, "http://x.pl"},
    };
    // How many characters fit an extent: exactly, and one short (a measure
    // that is not additive); neither changes the result.
    auto fit = [](const std::string& s, int extent) { return std::min<int>(s.size(), std::max(0, extent / 10)); };
    auto fitShort = [&](const std::string& s, int extent) { return std::max(0, fit(s, extent) - 1); };
    for (const auto& c : cases) {
        int shownWidth = -1;
        EXPECT_EQ(ShortenLine(c.text, c.room, c.urlShow, c.urlFull, c.enh, width, &shownWidth), c.shown)
            << c.text << " in " << c.room;
        EXPECT_EQ(shownWidth, width(c.shown)) << c.text << " in " << c.room;
        EXPECT_EQ(ShortenLine(c.text, c.room, c.urlShow, c.urlFull, c.enh, width, nullptr, fit), c.shown)
            << c.text << " in " << c.room << " fitted";
        EXPECT_EQ(ShortenLine(c.text, c.room, c.urlShow, c.urlFull, c.enh, width, nullptr, fitShort), c.shown)
            << c.text << " in " << c.room << " fitted short";
    }
}

TEST(AdvPainter, TextFlagsAndRectangle)
{
    EXPECT_EQ(CellTextFlags(taLeftJustify, 1, false, false), UINT(DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT | DT_TOP | DT_SINGLELINE));
    EXPECT_EQ(CellTextFlags(taRightJustify, 0, false, true), UINT(DT_NOPREFIX | DT_EXPANDTABS | DT_RIGHT | DT_VCENTER));
    EXPECT_EQ(CellTextFlags(taCenter, 2, true, false),
              UINT(DT_NOPREFIX | DT_EXPANDTABS | DT_CENTER | DT_BOTTOM | DT_WORDBREAK | DT_EDITCONTROL));
    TCellPaint p;
    p.Rect = Rect(10, 20, 110, 50);
    int room = 0;
    TRect r = CellTextRect(p, room);
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.top, 22);
    EXPECT_EQ(r.right, 108);
    EXPECT_EQ(room, 96);
    p.SortHeader = true;
    p.Alignment = taCenter;
    p.ObjectWidth = 16;
    p.ObjectHPos = 3;  // before the text
    r = CellTextRect(p, room);
    EXPECT_EQ(r.left, 12 + 10 + 16);
    EXPECT_EQ(room, 108 - 38 - 14);
}

TEST_F(AdvPaint, AnAmpersandShowsItself)
{
    grid->SetCells(1, 2, "A&B");
    EXPECT_EQ(DiffersFromPlain(1, 2, "A&B"), 0);
}

TEST_F(AdvPaint, LineBreaksOnlyInMultilineCells)
{
    grid->SetRowHeights(2, 60);
    grid->SetCells(1, 2, "góra\r\ndół");
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(grid->Font());
    const int line = probe.Canvas()->TextHeight("gh");
    const TRect cell = grid->CellRect(1, 2);
    const TRect below = Rect(cell.left + 2, cell.top + 2 + line + 1, cell.right - 2, cell.bottom - 1);
    auto single = grid->Picture();
    EXPECT_EQ(Ink(single.get(), below, Sys(COLOR_WINDOW)), 0);
    grid->SetMultilinecells(true);
    auto multi = grid->Picture();
    EXPECT_GT(Ink(multi.get(), below, Sys(COLOR_WINDOW)), 0);
}

TEST_F(AdvPaint, LongTextsEndInDots)
{
    grid->SetEnhTextSize(true);
    grid->SetCells(1, 2, "bardzo długi tekst, który się nie zmieści");
    const TRect cell = grid->CellRect(1, 2);
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(grid->Font());
    const std::string shown =
        ShortenLine(grid->Cells(1, 2), cell.right - cell.left - 4, false, false, true,
                    [&](const std::string& s) { return probe.Canvas()->TextWidth(s); });
    ASSERT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_EQ(DiffersFromPlain(1, 2, shown), 0);
    // So narrow that nothing fits: nothing shows.
    grid->SetColWidths(1, 12);
    auto narrow = grid->Picture();
    const TRect small = grid->CellRect(1, 2);
    EXPECT_EQ(Ink(narrow.get(), Rect(small.left, small.top, small.right, small.bottom), Sys(COLOR_WINDOW)), 0);
}

TEST_F(AdvPaint, PasswordCellsShowStars)
{
    struct Password {
        void Ask(TObject*, int row, int col, bool& is) { is = row == 2 && col == 1; }
    } password;
    grid->OnIsPasswordCell = TCellQueryEvent(&password, &Password::Ask);
    grid->SetCells(1, 2, "tajne");
    EXPECT_EQ(DiffersFromPlain(1, 2, "*****"), 0);
}

TEST_F(AdvPaint, SelectionColours)
{
    // The current cell (1, 1) is selected; the grid has no focus.
    auto picture = grid->Picture();
    const TRect cell = grid->CellRect(1, 1);
    EXPECT_EQ(picture->Canvas()->Pixels(cell.right - 3, cell.bottom - 3), Sys(COLOR_HIGHLIGHT));
    grid->SetSelectionColor(0x00336699);
    picture = grid->Picture();
    EXPECT_EQ(picture->Canvas()->Pixels(cell.right - 3, cell.bottom - 3), 0x00336699);
    grid->SetSelectionColor(clNone);
    picture = grid->Picture();
    EXPECT_EQ(picture->Canvas()->Pixels(cell.right - 3, cell.bottom - 3), Sys(COLOR_HIGHLIGHT));
    // Fixed cells in FixedColor, others in Color, also when an event fixes them.
    const TRect fixedCell = grid->CellRect(0, 2);
    EXPECT_EQ(picture->Canvas()->Pixels(fixedCell.left + 3, fixedCell.top + 3), Sys(COLOR_BTNFACE));
    const TRect normal = grid->CellRect(2, 2);
    EXPECT_EQ(picture->Canvas()->Pixels(normal.left + 3, normal.top + 3), Sys(COLOR_WINDOW));
    grid->SetFixedFooters(1);
    picture = grid->Picture();
    const TRect footer = grid->CellRect(2, 3);
    EXPECT_EQ(picture->Canvas()->Pixels(footer.left + 3, footer.top + 3), Sys(COLOR_BTNFACE));
}

TEST_F(AdvPaint, AFlaggedRowShowsSelectedWhileWholeRowsAreSelected)
{
    // Flagged by the program, without DisjunctRowSelect: the flag and row
    // selection are enough.
    grid->SetSelectionColor(0x00336699);
    grid->SelectRow(2, true);
    grid->SetOptions(grid->Options() | goRowSelect);
    auto picture = grid->Picture();
    const TRect flagged = grid->CellRect(2, 2), label = grid->CellRect(0, 2), other = grid->CellRect(2, 3);
    EXPECT_EQ(picture->Canvas()->Pixels(flagged.left + 3, flagged.top + 3), 0x00336699);
    EXPECT_EQ(picture->Canvas()->Pixels(label.left + 3, label.top + 3), Sys(COLOR_BTNFACE)) << "the fixed column";
    EXPECT_EQ(picture->Canvas()->Pixels(other.left + 3, other.top + 3), Sys(COLOR_WINDOW));
    grid->SetOptions(grid->Options() & ~goRowSelect);
    picture = grid->Picture();
    EXPECT_EQ(picture->Canvas()->Pixels(flagged.left + 3, flagged.top + 3), Sys(COLOR_WINDOW)) << "cells one by one";
}

TEST_F(AdvPaint, AlignedLinesWhereTheTextDrawingPutsThem)
{
    struct Align {
        TAlignment alignment = taLeftJustify;
        void Ask(TObject*, int, int, TAlignment& a) { a = alignment; }
    } align;
    grid->OnGetAlignment = TGridAlignEvent(&align, &Align::Ask);
    grid->SetCells(1, 2, "Zażółć");
    grid->SetCells(2, 2, "bardzo długi tekst, który się nie zmieści");
    for (bool enh : {false, true})
        for (TAlignment a : {taLeftJustify, taRightJustify, taCenter}) {
            align.alignment = a;
            grid->SetEnhTextSize(enh);
            auto picture = grid->Picture();
            for (int col : {1, 2}) {
                // The shown line drawn by the platform's text drawing into the
                // same text rectangle.
                const TRect cell = grid->CellRect(col, 2);
                TBitmap probe(1, 1);
                probe.Canvas()->Font()->Assign(grid->Font());
                const std::string shown =
                    ShortenLine(grid->Cells(col, 2), cell.right - cell.left - 4, false, false, enh,
                                [&](const std::string& t) { return probe.Canvas()->TextWidth(t); });
                TBitmap reference(picture->Width(), picture->Height(), pf24bit);
                TCanvas* c = reference.Canvas();
                c->Brush()->SetColor(Sys(COLOR_WINDOW));
                c->FillRect(Rect(0, 0, picture->Width(), picture->Height()));
                c->Font()->Assign(grid->Font());
                RECT r = Rect(cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom);
                HDC dc = c->TextHandle();
                SetBkMode(dc, TRANSPARENT);
                DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &r,
                          CellTextFlags(a, 1, false, false));
                c->Refresh();
                EXPECT_EQ(Differences(picture.get(), &reference,
                                      Rect(cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1)),
                          0)
                    << "column " << col << " alignment " << a << " EnhTextSize " << enh;
            }
        }
}

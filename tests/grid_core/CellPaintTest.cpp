// The grid's painting beyond plain text, by pixels of the grid drawn into a
// bitmap: sort marks, the selection frame, borders, fixed edges and footer
// lines, background tiles, cell objects and rich-text cells.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GridFixture.h"
#include "PaintFixture.h"
#include "grid/AdvGeometry.h"
#include "tests/support/TestUtil.h"

namespace {

class CellPaint : public PaintGridTest {
protected:
    TColor At(TBitmap* picture, int x, int y) { return picture->Canvas()->Pixels(x, y); }
};

// A cell of the grid an event declares fixed.
struct FixedAt {
    int col, row;
    void Ask(TObject*, int r, int c, bool& fixed) { fixed = r == row && c == col; }
};

TCellGraphic* Object(TAdvStringGrid* grid, int col, int row, int kind)
{
    auto* g = new TCellGraphic;
    g->Kind = static_cast<unsigned char>(kind);
    grid->SetEnableGraphics(true);
    grid->SetObjects(col, row, g);
    return g;
}

// The smallest rectangle that holds the pixels of r that are not the colour.
TRect InkBounds(TBitmap* picture, const TRect& r, TColor background)
{
    TRect ink = Rect(r.right, r.bottom, r.left, r.top);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (picture->Canvas()->Pixels(x, y) != background) {
                ink.left = std::min(ink.left, static_cast<LONG>(x));
                ink.top = std::min(ink.top, static_cast<LONG>(y));
                ink.right = std::max(ink.right, static_cast<LONG>(x + 1));
                ink.bottom = std::max(ink.bottom, static_cast<LONG>(y + 1));
            }
    return ink;
}

// A bitmap of w x h whose every pixel has a colour of its own.
std::unique_ptr<TBitmap> Pattern(int w, int h)
{
    auto bitmap = std::make_unique<TBitmap>(w, h, pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bitmap->Canvas()->SetPixels(x, y, static_cast<TColor>(RGB(20 + x * 30, 30 + y * 40, 99)));
    return bitmap;
}

} // namespace

TEST_F(CellPaint, SortMarksPointUpAndDown)
{
    grid->SetSortColumn(1);
    grid->SetSortShow(true);
    const TRect header = grid->CellRect(1, 0);
    // An empty left-aligned header: the mark at left + 10, top + 8.
    const int x = header.left + 10, y = header.top + 8;
    grid->SetSortDirection(sdAscending);
    auto up = grid->Picture();
    EXPECT_EQ(At(up.get(), x, y + 4), clWhite) << "the base, below";
    EXPECT_EQ(At(up.get(), x - 2, y), clGray) << "the left side";
    EXPECT_EQ(At(up.get(), x + 2, y), clWhite) << "the right side";
    grid->SetSortDirection(sdDescending);
    auto down = grid->Picture();
    EXPECT_EQ(At(down.get(), x, y - 4), clGray) << "the base, above";
    EXPECT_EQ(At(down.get(), x + 2, y), clWhite) << "the right side";
    EXPECT_NE(At(down.get(), x, y + 4), clWhite);
    // Without fixed rows row 0 is data and shows no mark.
    grid->SetFixedRows(0);
    auto none = grid->Picture();
    grid->SetSortShow(false);
    auto plain = grid->Picture();
    EXPECT_EQ(Differences(none.get(), plain.get(), grid->CellRect(1, 0)), 0);
}

TEST_F(CellPaint, SortMarkAfterAnHtmlHeader)
{
    grid->SetSortColumn(1);
    grid->SetSortShow(true);
    grid->SetSortDirection(sdAscending);
    grid->SetCells(1, 0, "<b>Nazwa</b>");
    auto picture = grid->Picture();
    const TRect header = grid->CellRect(1, 0);
    // The mark's grey side lies on the line 8 pixels below the moved-in top,
    // somewhere after the text.
    int grey = 0;
    for (int x = header.left + 12; x < header.right; ++x)
        for (int y = header.top + 2 + 4; y <= header.top + 2 + 12; ++y)
            grey += At(picture.get(), x, y) == clGray;
    EXPECT_GT(grey, 3);
    grid->SetSortShow(false);
    picture = grid->Picture();
    grey = 0;
    for (int y = header.top; y < header.bottom; ++y)
        for (int x = header.left; x < header.right - 1; ++x)
            grey += At(picture.get(), x, y) == clGray;
    EXPECT_EQ(grey, 0);
}

TEST_F(CellPaint, SelectionFrameAroundTheRange)
{
    grid->SetColCount(4);
    grid->SetSelectionRectangle(true);
    grid->SetSelection(TGridRect{1, 1, 2, 2});
    auto picture = grid->Picture();
    const TRect a = grid->CellRect(1, 1), b = grid->CellRect(2, 2);
    const int midA = (a.top + a.bottom) / 2, midB = (b.top + b.bottom) / 2;
    EXPECT_EQ(At(picture.get(), a.left + 1, midA), clBlack) << "left side";
    EXPECT_EQ(At(picture.get(), (a.left + a.right) / 2, a.top + 1), clBlack) << "top side";
    EXPECT_EQ(At(picture.get(), b.right - 1, midB), clBlack) << "right side";
    EXPECT_EQ(At(picture.get(), (b.left + b.right) / 2, b.bottom - 1), clBlack) << "bottom side";
    // Inner sides carry no frame.
    EXPECT_NE(At(picture.get(), a.right - 1, midA), clBlack);
    EXPECT_NE(At(picture.get(), (a.left + a.right) / 2, a.bottom - 1), clBlack);
    EXPECT_NE(At(picture.get(), b.left + 1, midB), clBlack);
    // Without the setting no frame.
    grid->SetSelectionRectangle(false);
    picture = grid->Picture();
    EXPECT_NE(At(picture.get(), a.left + 1, midA), clBlack);
}

TEST_F(CellPaint, BordersFromTheEvent)
{
    struct Borders {
        TCellBorders sides = 0;
        int width = 1;
        void Ask(TObject*, int row, int col, TPen* pen, TCellBorders& borders)
        {
            if (row == 2 && col == 1) {
                pen->SetColor(clRed);
                pen->SetWidth(width);
                borders = sides;
            }
        }
    } event;
    grid->OnGetCellBorder = TGridBorderEvent(&event, &Borders::Ask);
    const TRect r = grid->CellRect(1, 2);
    const int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
    struct {
        TCellBorders sides;
        int width;
        // Which of left, right, top, bottom is red, at the pen's inset.
        bool left, right, top, bottom;
    } cases[] = {
        {cbLeft | cbBottom, 1, true, false, false, true},
        {cbRight | cbTop, 1, false, true, true, false},
        {cbLeft | cbRight | cbTop | cbBottom, 3, true, true, true, true},
        {0, 1, false, false, false, false},
    };
    for (const auto& c : cases) {
        event.sides = c.sides;
        event.width = c.width;
        auto picture = grid->Picture();
        const int in = c.width / 2;
        EXPECT_EQ(At(picture.get(), r.left + in, my) == clRed, c.left) << c.sides;
        EXPECT_EQ(At(picture.get(), r.right - 1 - in, my) == clRed, c.right) << c.sides;
        EXPECT_EQ(At(picture.get(), mx, r.top + in) == clRed, c.top) << c.sides;
        EXPECT_EQ(At(picture.get(), mx, r.bottom - 1 - in) == clRed, c.bottom) << c.sides;
        // The pen comes back for the next cell.
        const TRect next = grid->CellRect(2, 2);
        EXPECT_EQ(Ink(picture.get(), Rect(next.left, next.top, next.right, next.bottom), Sys(COLOR_WINDOW)), 0);
    }
}

TEST_F(CellPaint, FixedEdgesOfCellsFixedByTheEvent)
{
    FixedAt fixed{1, 2};
    grid->OnIsFixedCell = TCellQueryEvent(&fixed, &FixedAt::Ask);
    const TRect r = grid->CellRect(1, 2);
    const int my = (r.top + r.bottom) / 2, mx = (r.left + r.right) / 2;
    // Ctl3D: raised inner edges, light at the left.
    auto raised = grid->Picture();
    EXPECT_EQ(At(raised.get(), r.left, my), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(raised.get(), mx, my), Sys(COLOR_BTNFACE));
    // Without it: black lines around the cell, over the grid lines.
    grid->SetCtl3D(false);
    auto flat = grid->Picture();
    EXPECT_NE(At(flat.get(), r.left, my), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(flat.get(), r.left - 1, my), clBlack);
    EXPECT_EQ(At(flat.get(), r.right, my), clBlack);
    EXPECT_EQ(At(flat.get(), mx, r.bottom), clBlack);
    // A data cell next to it keeps its grey grid line.
    const TRect next = grid->CellRect(1, 1);
    EXPECT_EQ(At(flat.get(), next.right, (next.top + next.bottom) / 2), clSilver);
}

TEST_F(CellPaint, FooterLines)
{
    const TRect data = grid->CellRect(1, 2);
    const int mx = (data.left + data.right) / 2;
    auto before = grid->Picture();
    EXPECT_EQ(At(before.get(), mx, data.bottom), clSilver);
    grid->SetFixedFooters(1);
    grid->SetCtl3D(false);
    auto picture = grid->Picture();
    const TRect footer = grid->CellRect(1, 3);
    EXPECT_EQ(footer.top - 1, data.bottom);
    EXPECT_EQ(At(picture.get(), mx, footer.top - 1), clBlack) << "above the footer";
    EXPECT_EQ(At(picture.get(), mx, footer.bottom), clBlack) << "along its bottom";
    EXPECT_EQ(At(picture.get(), footer.right, (footer.top + footer.bottom) / 2), clBlack) << "between its cells";
    // The line runs across the grid up to the last column's right edge.
    const TRect last = grid->CellRect(2, 3);
    EXPECT_EQ(At(picture.get(), last.right - 1, footer.top - 1), clBlack);
    EXPECT_NE(At(picture.get(), last.right + 3, footer.top - 1), clBlack);
}

TEST_F(CellPaint, RightFixedColumnLines)
{
    grid->SetCtl3D(false);
    grid->SetFixedRightCols(1);
    auto picture = grid->Picture();
    // In every row, data and fixed alike: the lines of a fixed cell.
    for (int row = 0; row < grid->RowCount(); ++row) {
        const TRect r = grid->CellRect(2, row);
        const int my = (r.top + r.bottom) / 2, mx = (r.left + r.right) / 2;
        EXPECT_EQ(At(picture.get(), r.left - 1, my), clBlack) << "row " << row;
        EXPECT_EQ(At(picture.get(), r.right, my), clBlack) << "row " << row;
        EXPECT_EQ(At(picture.get(), mx, r.bottom), clBlack) << "row " << row;
        EXPECT_EQ(At(picture.get(), mx, my), Sys(COLOR_BTNFACE)) << "row " << row;
    }
    // The data column before it keeps grey lines between its rows.
    const TRect data = grid->CellRect(1, 2);
    EXPECT_EQ(At(picture.get(), (data.left + data.right) / 2, data.bottom), clSilver);
}

TEST_F(CellPaint, NodeBoxesShowMinusAndPlus)
{
    TCellGraphic* g = Object(grid, 0, 1, 8);
    g->Number = 1;
    const TRect r = grid->CellRect(0, 1);
    const TRect box = NodeBox(r);
    struct {
        bool contracted;
        bool plus;
    } cases[] = {{false, false}, {true, true}};
    for (const auto& c : cases) {
        g->State = c.contracted;
        auto picture = grid->Picture();
        EXPECT_EQ(At(picture.get(), box.left - 1, box.top + 4), clBlack) << "frame, contracted " << c.contracted;
        EXPECT_EQ(At(picture.get(), box.left + 4, box.bottom), clBlack) << "frame";
        EXPECT_EQ(At(picture.get(), box.left + 3, box.top + 3), clBlack) << "minus";
        EXPECT_EQ(At(picture.get(), box.left + 5, box.top + 3), clBlack) << "minus";
        EXPECT_EQ(At(picture.get(), box.left + 3, box.top + 1) == clBlack, c.plus) << "the plus's upright";
        EXPECT_EQ(At(picture.get(), box.left + 3, box.top + 5) == clBlack, c.plus) << "the plus's upright";
        EXPECT_EQ(At(picture.get(), box.left + 1, box.top + 1), clSilver) << "filled in the node colour";
    }
}

TEST_F(CellPaint, CheckBoxesPlacedByAlignment)
{
    struct Align {
        TAlignment alignment = taLeftJustify;
        void Ask(TObject*, int, int, TAlignment& a) { a = alignment; }
    } align;
    grid->OnGetAlignment = TGridAlignEvent(&align, &Align::Ask);
    Object(grid, 1, 2, 5);
    grid->SetCells(1, 2, "Y");
    const TRect r = grid->CellRect(1, 2);
    struct {
        TAlignment alignment;
        int left;
    } cases[] = {
        {taLeftJustify, r.left + 1},
        {taRightJustify, r.right - 15},
        {taCenter, r.left + (r.right - 15 - r.left) / 2},
    };
    for (const auto& c : cases) {
        align.alignment = c.alignment;
        auto picture = grid->Picture();
        const TRect ink = InkBounds(picture.get(), r, Sys(COLOR_WINDOW));
        // The platform draws the square's look; it stays within its place.
        const TRect place = Rect(c.left, r.top + 1, c.left + 15, r.top + 16);
        EXPECT_GE(ink.left, place.left) << c.alignment;
        EXPECT_LE(ink.right, place.right) << c.alignment;
        EXPECT_GE(ink.top, place.top) << c.alignment;
        EXPECT_LE(ink.bottom, place.bottom) << c.alignment;
        EXPECT_GT(ink.right - ink.left, 8) << c.alignment;
    }
}

TEST_F(CellPaint, BackgroundTilesJoinAcrossCells)
{
    auto pattern = Pattern(7, 5);
    grid->BackGround()->SetBitmap(pattern.get());
    grid->SetColCount(4);
    grid->SetRowCount(5);
    grid->SetColWidths(1, 23);
    grid->SetColWidths(3, 40);
    grid->SetRowHeights(1, 11);
    // Every pixel checked comes from the tile offset by the data columns
    // and rows before the cell, whether they are in view or scrolled out.
    const auto check = [&](int fromCol, int toCol, int fromRow, int toRow) {
        auto picture = grid->Picture();
        for (int row = fromRow; row <= toRow; ++row)
            for (int col = fromCol; col <= toCol; ++col) {
                const TRect r = grid->CellRect(col, row);
                int beforeX = 0, beforeY = 0;
                for (int c = 1; c < col; ++c)
                    beforeX += grid->ColWidths(c);
                for (int w = 1; w < row; ++w)
                    beforeY += grid->RowHeights(w);
                for (int y = r.top; y < r.bottom; y += 3)
                    for (int x = r.left; x < r.right; x += 4) {
                        const int sx = (beforeX + x - r.left) % 7, sy = (beforeY + y - r.top) % 5;
                        ASSERT_EQ(At(picture.get(), x, y), pattern->Canvas()->Pixels(sx, sy))
                            << "cell " << col << "," << row << " at " << x << "," << y;
                    }
            }
    };
    // Cells away from the current one (1, 1), which shows selected.
    check(2, 3, 2, 3);
    grid->SetColCount(12);
    grid->SetRowCount(40);
    grid->SetColWidths(6, 31);
    grid->SetRowHeights(12, 17);
    grid->SetLeftCol(5);
    grid->SetTopRow(10);
    ASSERT_EQ(grid->LeftCol(), 5);
    ASSERT_EQ(grid->TopRow(), 10);
    check(5, 6, 10, 12);
}

TEST_F(CellPaint, FixedBackgroundIsClipped)
{
    auto pattern = Pattern(7, 5);
    grid->BackGround()->SetDisplay(bdFixed);
    const TRect r = grid->CellRect(2, 2);
    grid->BackGround()->SetLeft(r.right - 3);
    grid->BackGround()->SetTop(r.top + 4);
    grid->BackGround()->SetBitmap(pattern.get());
    auto picture = grid->Picture();
    for (int y = r.top + 4; y < r.top + 9; ++y)
        for (int x = r.right - 3; x < r.right; ++x)
            EXPECT_EQ(At(picture.get(), x, y), pattern->Canvas()->Pixels(x - (r.right - 3), y - (r.top + 4)));
    // Outside the bitmap's place the cell keeps the grid's colour; the grid
    // line after the cell stays.
    EXPECT_EQ(At(picture.get(), r.right - 4, r.top + 5), Sys(COLOR_WINDOW));
    EXPECT_EQ(At(picture.get(), r.right - 2, r.top + 9), Sys(COLOR_WINDOW));
    EXPECT_EQ(At(picture.get(), r.right, r.top + 5), clSilver);
}

TEST_F(CellPaint, DataImageOfATextThatIsNoNumber)
{
    TImageList images(TestForm());
    for (TColor colour : {clRed, clBlue}) {
        TBitmap image(16, 16, pf24bit);
        image.Canvas()->Brush()->SetColor(colour);
        image.Canvas()->FillRect(Rect(0, 0, 16, 16));
        images.Add(&image, nullptr);
    }
    grid->SetGridImages(&images);
    grid->SetRowCount(5);
    Object(grid, 1, 2, 7);
    grid->SetCells(1, 2, "x");
    Object(grid, 1, 3, 7);
    grid->SetCells(1, 3, "1");
    grid->SetCells(2, 2, "abc");
    std::unique_ptr<TBitmap> picture;
    ASSERT_NO_THROW(picture = grid->Picture());
    const TRect x = grid->CellRect(1, 2), one = grid->CellRect(1, 3), text = grid->CellRect(2, 2);
    EXPECT_EQ(Ink(picture.get(), Rect(x.left, x.top, x.right, x.bottom), Sys(COLOR_WINDOW)), 0) << "no image";
    EXPECT_EQ(At(picture.get(), one.left + 5, one.top + 5), clBlue) << "image 1 for the text 1";
    EXPECT_GT(Ink(picture.get(), Rect(text.left, text.top, text.right, text.bottom), Sys(COLOR_WINDOW)), 0)
        << "the cell after it still drawn";
    grid->SetGridImages(nullptr);
}

namespace {

// The format ranges the hidden rich edit is asked to render.
std::vector<TRect> ranges;
WNDPROC richProc = nullptr;
bool printsNothing = false;  // the edit ignores WM_PRINTCLIENT as well

LRESULT CALLBACK RecordRanges(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == EM_FORMATRANGE && lParam)
        ranges.push_back(reinterpret_cast<FORMATRANGE*>(lParam)->rc);
    if (message == WM_PRINTCLIENT && printsNothing)
        return 0;
    return CallWindowProcA(richProc, wnd, message, wParam, lParam);
}

BOOL CALLBACK FindRichEdit(HWND wnd, LPARAM found)
{
    char name[64] = "";
    GetClassNameA(wnd, name, sizeof name);
    if (std::string(name).find("RichEdit") != std::string::npos) {
        *reinterpret_cast<HWND*>(found) = wnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

TEST_F(CellPaint, RichTextCellsGoThroughTheHiddenRichEdit)
{
    grid->SetCells(2, 2, "{\\rtf1\\ansi {\\b Gruby} tekst\\par}");
    grid->Picture();  // the hidden edit's window is made when first used
    HWND edit = nullptr;
    EnumChildWindows(grid->Handle(), FindRichEdit, reinterpret_cast<LPARAM>(&edit));
    ASSERT_NE(edit, nullptr);
    ranges.clear();
    printsNothing = false;
    richProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordRanges)));
    auto picture = grid->Picture();
    // Where neither the range nor the printing reaches the canvas, the plain
    // text still shows (under Wine the range draws nothing).
    printsNothing = true;
    auto plain = grid->Picture();
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(richProc));
    const TRect r = grid->CellRect(2, 2);
    HDC screen = GetDC(nullptr);
    const int ppi = GetDeviceCaps(screen, LOGPIXELSX), ppiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_FALSE(ranges.empty());
    const TRect want = RichTextRangeTwips(r, ppi, ppiY, (ppi * 2 + 48) / 96);
    EXPECT_EQ(ranges[0].left, want.left);
    EXPECT_EQ(ranges[0].top, want.top);
    EXPECT_EQ(ranges[0].right, want.right);
    EXPECT_EQ(ranges[0].bottom, want.bottom);
    TempFolder folder;
    SavePicture(*picture, folder.Path(), "rich-text-cell.png");
    // Whatever path reached the canvas, the text shows.
    EXPECT_GT(Ink(picture.get(), Rect(r.left + 2, r.top + 2, r.right - 1, r.bottom - 1), Sys(COLOR_WINDOW)), 20);
    EXPECT_GT(Ink(plain.get(), Rect(r.left + 2, r.top + 2, r.right - 1, r.bottom - 1), Sys(COLOR_WINDOW)), 20);
}

TEST_F(CellPaint, LinksShowInTheirColour)
{
    grid->SetURLColor(clRed);
    const TRect r = grid->CellRect(2, 2);
    struct {
        const char* text;
        bool show;
        bool red;
    } cases[] = {
        {"http://qmx.pl", true, true},
        {"mailto:biuro@qmx.pl", true, true},
        {"http://qmx.pl", false, false},
        {"zwykły tekst", true, false},
    };
    for (const auto& c : cases) {
        grid->SetURLShow(c.show);
        grid->SetCells(2, 2, c.text);
        auto picture = grid->Picture();
        int red = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                red += At(picture.get(), x, y) == clRed;
        EXPECT_EQ(red > 0, c.red) << c.text << " shown " << c.show;
    }
}

TEST_F(CellPaint, RotatedTextRunsUpwards)
{
    grid->SetRowHeights(2, 80);
    Object(grid, 2, 2, 6)->Count = 90;
    grid->SetCells(2, 2, "Obrócony");
    auto picture = grid->Picture();
    const TRect r = grid->CellRect(2, 2);
    const TRect ink = InkBounds(picture.get(), Rect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1),
                                Sys(COLOR_WINDOW));
    ASSERT_LT(ink.left, ink.right) << "the text shows";
    EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));
}

TEST_F(CellPaint, RadioGroupItemsWhereTheLayoutPutsThem)
{
    TStringList items;
    items.Add("tak");
    items.Add("nie");
    TCellGraphic* g = Object(grid, 2, 2, 9);
    g->Object = &items;
    g->Count = 2;
    g->Number = 1;
    g->State = true;
    grid->SetColWidths(2, 120);
    auto picture = grid->Picture();
    const TRect r = grid->CellRect(2, 2);
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(grid->Font());
    const auto places =
        RadioLayout(r, true, {probe.Canvas()->TextWidth("tak"), probe.Canvas()->TextWidth("nie")}, 2, 0);
    for (const auto& p : places) {
        EXPECT_GT(Ink(picture.get(), Rect(p.Circle.x, p.Circle.y, p.Circle.x + 10, p.Circle.y + 10),
                      Sys(COLOR_WINDOW)),
                  10);
        EXPECT_GT(Ink(picture.get(), Rect(p.Text.x, p.Text.y, p.Text.x + 18, p.Text.y + 12), Sys(COLOR_WINDOW)), 3);
    }
    // Nothing before the first circle.
    EXPECT_EQ(Ink(picture.get(), Rect(r.left + 1, r.top + 1, places[0].Circle.x, r.bottom - 1), Sys(COLOR_WINDOW)),
              0);
}

TEST_F(CellPaint, OwnDrawingGetsEachCellOnceWithBordersStill)
{
    struct Counter {
        int calls = 0;
        void Draw(TObject*, int col, int row, TRect, TGridDrawState) { calls += col == 1 && row == 2; }
        void Border(TObject*, int row, int col, TPen* pen, TCellBorders& borders)
        {
            if (row == 2 && col == 1) {
                pen->SetColor(clRed);
                borders = cbLeft;
            }
        }
    } counter;
    grid->OnDrawCell = TDrawCellEvent(&counter, &Counter::Draw);
    grid->OnGetCellBorder = TGridBorderEvent(&counter, &Counter::Border);
    grid->SetCells(1, 2, "tekst");
    const TRect r = grid->CellRect(1, 2);
    for (bool own : {false, true}) {
        grid->SetDefaultDrawing(!own);
        counter.calls = 0;
        auto picture = grid->Picture();
        EXPECT_EQ(counter.calls, 1) << "own drawing " << own;
        EXPECT_EQ(At(picture.get(), r.left, (r.top + r.bottom) / 2), clRed) << "own drawing " << own;
    }
}

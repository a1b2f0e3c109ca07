// Where the cell painting puts objects, marks, tiles and rich text, as
// tables: no canvas and no window.
#include <gtest/gtest.h>

#include "grid/AdvGeometry.h"

namespace {

const TRect cell = Rect(100, 50, 200, 90);  // 100 x 40

} // namespace

TEST(AdvGeometry, ObjectPlaces)
{
    // Object 20 x 10; the text width given is the drawn width + 3 = 33.
    struct {
        int position;
        TAlignment alignment;
        int left;
    } across[] = {
        {0, taRightJustify, 101},
        {1, taLeftJustify, 179},
        {2, taLeftJustify, 140},
        {3, taLeftJustify, 101},
        {3, taRightJustify, 147},  // right - T - w
        {3, taCenter, 147},
        {4, taLeftJustify, 133},  // after the text
        {4, taCenter, 133},
        {4, taRightJustify, 179},
    };
    for (const auto& c : across)
        EXPECT_EQ(ObjectLeft(cell, c.position, 20, 33, c.alignment), c.left)
            << "position " << c.position << " alignment " << c.alignment;
    // Before a text wider than the cell the object keeps to the cell.
    EXPECT_EQ(ObjectLeft(cell, 3, 20, 150, taRightJustify), 101);
    // Centred objects as wide as the cell start at its left.
    EXPECT_EQ(ObjectLeft(cell, 2, 100, 33, taLeftJustify), 101);

    struct {
        int position;
        int height;
        int top;
    } down[] = {
        {0, 10, 51}, {1, 10, 79}, {2, 10, 65}, {2, 40, 51}, {3, 10, 50 + 13 + 1}, {4, 10, 51}, {7, 10, 51},
    };
    for (const auto& c : down)
        EXPECT_EQ(ObjectTop(cell, c.position, c.height, 13), c.top)
            << "position " << c.position << " height " << c.height;
}

TEST(AdvGeometry, CheckBoxesGoByTheAlignment)
{
    struct {
        int kind;
        TAlignment alignment;
        int textWidth;
        int left;
    } cases[] = {
        {5, taLeftJustify, 3, 101},  {4, taLeftJustify, 40, 101},
        {5, taRightJustify, 3, 185}, {4, taRightJustify, 40, 145},
        {5, taCenter, 3, 142},       {4, taCenter, 40, 115},
        {4, taRightJustify, 99, 101},  // never left of the cell
        {4, taCenter, 90, 101},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckBoxLeft(cell, c.kind, 15, c.textWidth, c.alignment), c.left)
            << "kind " << c.kind << " alignment " << c.alignment << " text " << c.textWidth;
    // The square itself centres in its place, halves towards zero.
    const TRect square = CenteredSquare(Rect(10, 20, 26, 36), 15);
    EXPECT_EQ(square.left, 10);
    EXPECT_EQ(square.top, 20);
    EXPECT_EQ(square.right, 25);
    const TRect wide = CenteredSquare(Rect(0, 0, 40, 20), 15);
    EXPECT_EQ(wide.left, 12);
    EXPECT_EQ(wide.top, 2);
}

TEST(AdvGeometry, RadioGroups)
{
    // Across: each circle after the texts before it.
    auto across = RadioLayout(cell, true, {30, 50}, 3, 13);
    ASSERT_EQ(across.size(), 3u);
    const int y = 50 + (40 - 10) / 2;
    const int xs[] = {102, 100 + 30 + 24 - 10, 100 + 80 + 36 - 10};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(across[i].Circle.x, xs[i]) << i;
        EXPECT_EQ(across[i].Circle.y, y) << i;
        EXPECT_EQ(across[i].Text.x, xs[i] + 10) << i;
        EXPECT_EQ(across[i].Text.y, y - 2) << i;
    }
    // Down: a line each; without texts the circles are centred.
    auto down = RadioLayout(cell, false, {30, 50}, 2, 13);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_EQ(down[1].Circle.x, 102);
    EXPECT_EQ(down[1].Circle.y, 50 + 13 + 2);
    EXPECT_EQ(down[1].Text.x, 100 + 13 + 2);
    EXPECT_EQ(down[1].Text.y, 63);
    auto bare = RadioLayout(cell, false, {}, 2, 13);
    EXPECT_EQ(bare[0].Circle.x, 145);
    EXPECT_EQ(bare[1].Circle.x, 145);
    EXPECT_TRUE(RadioLayout(cell, true, {}, 0, 13).empty());
}

TEST(AdvGeometry, NodeBoxAndSortMarks)
{
    const TRect box = NodeBox(cell);
    EXPECT_EQ(box.left, 102);
    EXPECT_EQ(box.right, 110);
    EXPECT_EQ(box.top, 66);
    EXPECT_EQ(box.bottom, 74);

    struct {
        TAlignment alignment;
        int vAlign;
        int x, y;
    } marks[] = {
        {taLeftJustify, 1, 100 + 30 + 10, 58},
        {taRightJustify, 0, 200 - 30 - 14, 70},
        {taCenter, 2, 108, 82},
    };
    for (const auto& m : marks) {
        const TPoint p = SortMarkPoint(cell, m.alignment, m.vAlign, 30);
        EXPECT_EQ(p.x, m.x) << m.alignment;
        EXPECT_EQ(p.y, m.y) << m.alignment;
    }
    // After HTML, from the moved-in rectangle and the drawn width.
    const TPoint html = HtmlSortMarkPoint(Rect(102, 52, 200, 90), 0, 40);
    EXPECT_EQ(html.x, 150);
    EXPECT_EQ(html.y, 52 + 19);
}

TEST(AdvGeometry, TilesRunOnAcrossCells)
{
    // Every pixel of the cell comes from the bitmap pixel that continues the
    // tiling from the offset, and each pixel is covered once.
    struct {
        TRect cell;
        int before_x, before_y, bw, bh;
    } cases[] = {
        {Rect(10, 20, 33, 31), 0, 0, 7, 5},
        {Rect(10, 20, 33, 31), 90, 31, 7, 5},
        {Rect(0, 0, 3, 2), 11, 4, 7, 5},  // smaller than one tile
        {Rect(5, 5, 25, 25), 6, 4, 7, 5},  // offset at the tile's last pixel
    };
    for (const auto& c : cases) {
        const int xo = TileOffset(c.before_x, c.bw), yo = TileOffset(c.before_y, c.bh);
        const int w = c.cell.right - c.cell.left, h = c.cell.bottom - c.cell.top;
        std::vector<int> covered(w * h, 0);
        for (const TBitmapPiece& p : TilePieces(c.cell, xo, yo, c.bw, c.bh)) {
            ASSERT_EQ(p.Dest.right - p.Dest.left, p.Source.right - p.Source.left);
            ASSERT_EQ(p.Dest.bottom - p.Dest.top, p.Source.bottom - p.Source.top);
            ASSERT_GE(p.Source.left, 0);
            ASSERT_LE(p.Source.right, c.bw);
            ASSERT_GE(p.Source.top, 0);
            ASSERT_LE(p.Source.bottom, c.bh);
            for (int y = p.Dest.top; y < p.Dest.bottom; ++y)
                for (int x = p.Dest.left; x < p.Dest.right; ++x) {
                    const int sx = p.Source.left + x - p.Dest.left, sy = p.Source.top + y - p.Dest.top;
                    EXPECT_EQ(sx, (c.before_x + x - c.cell.left) % c.bw) << x << "," << y;
                    EXPECT_EQ(sy, (c.before_y + y - c.cell.top) % c.bh) << x << "," << y;
                    ++covered[(y - c.cell.top) * w + x - c.cell.left];
                }
        }
        for (int n : covered)
            ASSERT_EQ(n, 1) << "cell from " << c.cell.left << "," << c.cell.top;
    }
}

TEST(AdvGeometry, FixedBitmapIsClippedToTheCell)
{
    TBitmapPiece piece;
    ASSERT_TRUE(FixedPiece(cell, 180, 80, 40, 30, piece));
    EXPECT_EQ(piece.Dest.left, 180);
    EXPECT_EQ(piece.Dest.top, 80);
    EXPECT_EQ(piece.Dest.right, 200);
    EXPECT_EQ(piece.Dest.bottom, 90);
    EXPECT_EQ(piece.Source.left, 0);
    EXPECT_EQ(piece.Source.right, 20);
    EXPECT_EQ(piece.Source.bottom, 10);
    ASSERT_TRUE(FixedPiece(cell, 90, 40, 20, 20, piece));
    EXPECT_EQ(piece.Source.left, 10);
    EXPECT_EQ(piece.Source.top, 10);
    EXPECT_EQ(piece.Dest.right, 110);
    EXPECT_FALSE(FixedPiece(cell, 200, 50, 20, 20, piece));
    EXPECT_FALSE(FixedPiece(cell, 0, 0, 20, 20, piece));
}

TEST(AdvGeometry, RichTextRangeInTwips)
{
    struct {
        int ppiX, ppiY, margin;
        TRect twips;
    } cases[] = {
        // 15 twips a pixel at 96: (102, 52) in, 98 x 38 across.
        {96, 96, 2, Rect(1530, 780, 1530 + 1470, 780 + 570)},
        {144, 144, 3, Rect(103 * 10, 53 * 10, 1030 + 970, 530 + 370)},
        // 14.4 twips a pixel: each quotient rounded on its own.
        {100, 120, 2, Rect(1469, 624, 1469 + 1411, 624 + 456)},
    };
    for (const auto& c : cases) {
        const TRect r = RichTextRangeTwips(cell, c.ppiX, c.ppiY, c.margin);
        EXPECT_EQ(r.left, c.twips.left) << c.ppiX;
        EXPECT_EQ(r.top, c.twips.top) << c.ppiX;
        EXPECT_EQ(r.right, c.twips.right) << c.ppiX;
        EXPECT_EQ(r.bottom, c.twips.bottom) << c.ppiX;
    }
}

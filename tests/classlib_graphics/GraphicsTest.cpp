#include "classlib/Graphics.h"

#include <windows.h>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "classlib/TypInfo.h"
#include "tests/support/TestUtil.h"

namespace {

struct ChangeCounter {
    int count = 0;
    void Hit(TObject*) { ++count; }
    TNotifyEvent Event() { return TNotifyEvent(this, &ChangeCounter::Hit); }
};

// A 24-bit bitmap filled with one colour.
std::unique_ptr<TBitmap> Filled(int width, int height, TColor color, TPixelFormat format = pf24bit)
{
    auto b = std::make_unique<TBitmap>(width, height, format);
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(Rect(0, 0, width, height));
    b->Canvas()->Brush()->SetColor(clWhite);
    return b;
}

// Four 2 x 2 quadrants: red, lime / blue, yellow.
std::unique_ptr<TBitmap> Quadrants()
{
    auto b = Filled(4, 4, clRed);
    const struct {
        TRect r;
        TColor c;
    } parts[] = {{Rect(2, 0, 4, 2), clLime}, {Rect(0, 2, 2, 4), clBlue}, {Rect(2, 2, 4, 4), clYellow}};
    for (const auto& p : parts) {
        b->Canvas()->Brush()->SetColor(p.c);
        b->Canvas()->FillRect(p.r);
    }
    return b;
}

// A 6 x 6 fuchsia bitmap with a red 2 x 2 square at (2, 2).
std::unique_ptr<TBitmap> RedOnFuchsia()
{
    auto b = Filled(6, 6, clFuchsia);
    b->Canvas()->Brush()->SetColor(clRed);
    b->Canvas()->FillRect(Rect(2, 2, 4, 4));
    return b;
}

struct PixelRow {
    int x, y;
    TColor color;
};

void ExpectPixels(TBitmap& b, std::initializer_list<PixelRow> rows)
{
    for (const PixelRow& r : rows) {
        SCOPED_TRACE(testing::Message() << "pixel (" << r.x << ", " << r.y << ")");
        EXPECT_EQ(b.Canvas()->Pixels(r.x, r.y), r.color);
    }
}

std::string FixturePath(const char* name)
{
    return TestProgramFolder() + name;
}

} // namespace

// ---------------------------------------------------------------------------
// Colours

TEST(Colors, SystemColorsResolveThroughGetSysColor)
{
    const struct {
        TColor color;
        int index;
        std::uint32_t value;
    } rows[] = {
        {clScrollBar, COLOR_SCROLLBAR, 0x80000000u},   {clWindow, COLOR_WINDOW, 0x80000005u},
        {clWindowText, COLOR_WINDOWTEXT, 0x80000008u}, {clHighlight, COLOR_HIGHLIGHT, 0x8000000Du},
        {clHighlightText, COLOR_HIGHLIGHTTEXT, 0x8000000Eu}, {clBtnFace, COLOR_BTNFACE, 0x8000000Fu},
        {clBtnShadow, COLOR_BTNSHADOW, 0x80000010u},   {clGrayText, COLOR_GRAYTEXT, 0x80000011u},
        {clBtnHighlight, COLOR_BTNHIGHLIGHT, 0x80000014u}, {cl3DDkShadow, COLOR_3DDKSHADOW, 0x80000015u},
        {clInfoBk, COLOR_INFOBK, 0x80000018u},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(ColorToString(r.color));
        EXPECT_EQ(static_cast<std::uint32_t>(r.color), r.value);
        EXPECT_EQ(ColorToRGB(r.color), GetSysColor(r.index));
    }
    EXPECT_EQ(ColorToRGB(clTeal), 0x808000u);
    EXPECT_EQ(ColorToRGB(14155775), 14155775u);
}

TEST(Colors, NamesAndNumbersForForms)
{
    const struct {
        const char* text;
        TColor color;
    } rows[] = {
        {"clBtnFace", clBtnFace},  {"clbtnface", clBtnFace},   {"CLTEAL", clTeal},
        {"clNone", clNone},        {"clInfoBk", clInfoBk},     {"14155775", 14155775},
        {"$00D7FFFF", 0xD7FFFF},   {"0x8000000F", clBtnFace},  {"-2147483633", clBtnFace},
        {"$FFFFFFFF", -1},         {"+8421376", clTeal},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(StringToColor(r.text), r.color);
    }
    for (const char* bad : {"", "clFoo", "$", "12x", " 5", "0x-5", "4294967296", "$1FFFFFFFF", "-2147483649"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(StringToColor(bad), EConvertError);
    }
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(0xD7FFFF), "$00D7FFFF");
    EXPECT_EQ(ColorToString(clBtnFace | 0x100), "$8000010F");
    for (const char* name : {"clBlack", "clMaroon", "clNavy", "clSilver", "clFuchsia", "clWindowFrame", "cl3DLight",
                             "clInfoText", "clDefault"})
        EXPECT_EQ(ColorToString(StringToColor(name)), name);
}

// ---------------------------------------------------------------------------
// Font, pen, brush

TEST(Font, Defaults)
{
    TFont f;
    EXPECT_EQ(f.Name(), "MS Sans Serif");
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.Height(), -MulDiv(8, ScreenPixelsPerInch(), 72));
    EXPECT_EQ(f.PixelsPerInch(), ScreenPixelsPerInch());
    EXPECT_TRUE(f.Style().Empty());
    EXPECT_EQ(f.Color(), clWindowText);
    EXPECT_EQ(f.Charset(), DEFAULT_CHARSET);
}

TEST(Font, ChangeIsAnnouncedOnlyWhenAValueChanges)
{
    const struct {
        const char* what;
        std::function<void(TFont&)> change;
        int changes;
    } rows[] = {
        {"same name", [](TFont& f) { f.SetName("MS Sans Serif"); }, 0},
        {"other name", [](TFont& f) { f.SetName("Tahoma"); }, 1},
        {"same size", [](TFont& f) { f.SetSize(8); }, 0},
        {"same height", [](TFont& f) { f.SetHeight(f.Height()); }, 0},
        {"other size", [](TFont& f) { f.SetSize(10); }, 1},
        {"same style", [](TFont& f) { f.SetStyle({}); }, 0},
        {"bold", [](TFont& f) { f.SetStyle(f.Style() + fsBold); }, 1},
        {"same colour", [](TFont& f) { f.SetColor(clWindowText); }, 0},
        {"other colour", [](TFont& f) { f.SetColor(clRed); }, 1},
        {"charset", [](TFont& f) { f.SetCharset(EASTEUROPE_CHARSET); }, 1},
        {"assign an equal font", [](TFont& f) { TFont other; f.Assign(&other); }, 0},
        {"assign itself", [](TFont& f) { f.Assign(&f); }, 0},
        {"assign a font differing in four values",
         [](TFont& f) {
             TFont other;
             other.SetName("Tahoma");
             other.SetStyle({fsBold});
             other.SetColor(clRed);
             other.SetCharset(EASTEUROPE_CHARSET);
             f.Assign(&other);
         },
         1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        TFont f;
        f.SetSize(8);  // whatever the screen's pixels per inch
        ChangeCounter counter;
        f.OnChange = counter.Event();
        r.change(f);
        EXPECT_EQ(counter.count, r.changes);
    }
}

TEST(Font, SizeAndHeightConvertWithPixelsPerInch)
{
    const struct {
        int ppi, size, height;
    } rows[] = {{96, 8, -11}, {96, 10, -13}, {120, 8, -13}, {72, 12, -12}, {96, 9, -12}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.ppi << " ppi, " << r.size << " points");
        TFont f;
        f.SetPixelsPerInch(r.ppi);
        f.SetSize(r.size);
        EXPECT_EQ(f.Height(), r.height);
        f.SetHeight(0);
        f.SetHeight(r.height);
        EXPECT_EQ(f.Size(), r.size);
    }
    // A font assigned across resolutions keeps its size in points.
    TFont a, b;
    a.SetPixelsPerInch(96);
    a.SetSize(10);
    b.SetPixelsPerInch(120);
    b.Assign(&a);
    EXPECT_EQ(b.Size(), 10);
    EXPECT_EQ(b.Height(), -17);
}

TEST(Font, HandleIsMadeAnewAfterAChange)
{
    TFont f;
    f.SetName("Tahoma");
    f.SetHeight(-15);
    f.SetStyle({fsBold, fsItalic, fsUnderline, fsStrikeOut});
    f.SetCharset(EASTEUROPE_CHARSET);
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(f.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
    EXPECT_EQ(lf.lfHeight, -15);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic && lf.lfUnderline && lf.lfStrikeOut);
    EXPECT_EQ(lf.lfCharSet, EASTEUROPE_CHARSET);

    f.SetStyle(f.Style() - fsBold - fsUnderline);
    ASSERT_EQ(GetObjectA(f.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_TRUE(lf.lfItalic && !lf.lfUnderline && lf.lfStrikeOut);
}

TEST(Font, PublishedForForms)
{
    TFont f;
    f.SetPixelsPerInch(96);
    const struct {
        const char* prop;
        const char* text;
        const char* readBack;
    } rows[] = {
        {"Name", "Tahoma", "Tahoma"},
        {"height", "-11", "-11"},
        {"Size", "10", "10"},
        {"Style", "[fsBold, fsUnderline]", "[fsBold,fsUnderline]"},
        {"Color", "clRed", "255"},
        {"Charset", "238", "238"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.prop);
        SetPropText(&f, FindPropInfo(&f, r.prop), r.text);
        EXPECT_EQ(GetPropText(&f, FindPropInfo(&f, r.prop)), r.readBack);
    }
    EXPECT_EQ(f.Name(), "Tahoma");
    EXPECT_EQ(f.Height(), -13);
    EXPECT_EQ(f.Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(f.Color(), clRed);
    EXPECT_EQ(f.Charset(), EASTEUROPE_CHARSET);
}

TEST(PenAndBrush, ChangeIsAnnouncedOnlyWhenAValueChanges)
{
    const struct {
        const char* what;
        std::function<void(TPen&, TBrush&)> change;
        int changes;
    } rows[] = {
        {"pen: same colour", [](TPen& p, TBrush&) { p.SetColor(clBlack); }, 0},
        {"pen: colour", [](TPen& p, TBrush&) { p.SetColor(clRed); }, 1},
        {"pen: same width", [](TPen& p, TBrush&) { p.SetWidth(1); }, 0},
        {"pen: width", [](TPen& p, TBrush&) { p.SetWidth(2); }, 1},
        {"pen: style", [](TPen& p, TBrush&) { p.SetStyle(psDot); }, 1},
        {"pen: same mode", [](TPen& p, TBrush&) { p.SetMode(pmCopy); }, 0},
        {"pen: mode", [](TPen& p, TBrush&) { p.SetMode(pmXor); }, 1},
        {"pen: assign equal", [](TPen& p, TBrush&) { TPen o; p.Assign(&o); }, 0},
        {"brush: same colour", [](TPen&, TBrush& b) { b.SetColor(clWhite); }, 0},
        {"brush: colour", [](TPen&, TBrush& b) { b.SetColor(clRed); }, 1},
        {"brush: same style", [](TPen&, TBrush& b) { b.SetStyle(bsSolid); }, 0},
        {"brush: clear", [](TPen&, TBrush& b) { b.SetStyle(bsClear); }, 1},
        {"brush: assign equal", [](TPen&, TBrush& b) { TBrush o; b.Assign(&o); }, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        TPen pen;
        TBrush brush;
        ChangeCounter counter;
        pen.OnChange = counter.Event();
        brush.OnChange = counter.Event();
        r.change(pen, brush);
        EXPECT_EQ(counter.count, r.changes);
    }

    // A colour given to a clear brush makes it solid, even the same colour.
    TBrush brush;
    brush.SetStyle(bsClear);
    ChangeCounter counter;
    brush.OnChange = counter.Event();
    brush.SetColor(clWhite);
    EXPECT_EQ(brush.Style(), bsSolid);
    EXPECT_EQ(counter.count, 1);
}

TEST(PenAndBrush, HandlesFollowColourAndStyle)
{
    const struct {
        TBrushStyle style;
        UINT lbStyle;
        ULONG_PTR hatch;
    } brushes[] = {{bsSolid, BS_SOLID, 0}, {bsClear, BS_HOLLOW, 0}, {bsCross, BS_HATCHED, HS_CROSS},
                   {bsFDiagonal, BS_HATCHED, HS_FDIAGONAL}, {bsDiagCross, BS_HATCHED, HS_DIAGCROSS}};
    for (const auto& r : brushes) {
        SCOPED_TRACE(r.style);
        TBrush b;
        b.SetColor(clBtnFace);
        b.SetStyle(r.style);
        LOGBRUSH lb{};
        ASSERT_EQ(GetObjectA(b.Handle(), sizeof lb, &lb), static_cast<int>(sizeof lb));
        EXPECT_EQ(lb.lbStyle, r.lbStyle);
        if (r.lbStyle == BS_HATCHED) {
            EXPECT_EQ(lb.lbHatch, r.hatch);
        }
        if (r.lbStyle != BS_HOLLOW) {
            EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
        }
    }

    TPen p;
    p.SetColor(clBtnShadow);
    p.SetStyle(psInsideFrame);
    p.SetWidth(3);
    LOGPEN lp{};
    ASSERT_EQ(GetObjectA(p.Handle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_INSIDEFRAME));
    EXPECT_EQ(lp.lopnWidth.x, 3);
    EXPECT_EQ(lp.lopnColor, GetSysColor(COLOR_BTNSHADOW));
}

// ---------------------------------------------------------------------------
// Canvas, checked by pixels of a white 24-bit DIB section

class CanvasTest : public testing::Test {
protected:
    std::unique_ptr<TBitmap> bmp = Filled(40, 30, clWhite);
    TCanvas* c = bmp->Canvas();
};

TEST_F(CanvasTest, FillAndFrameRectangles)
{
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(2, 2, 6, 5));
    c->Brush()->SetColor(clBlue);
    c->FrameRect(Rect(10, 10, 15, 14));
    ExpectPixels(*bmp, {{2, 2, clRed}, {5, 4, clRed}, {6, 4, clWhite}, {5, 5, clWhite}, {1, 2, clWhite},
                        {10, 10, clBlue}, {14, 13, clBlue}, {12, 13, clBlue}, {12, 11, clWhite}, {15, 13, clWhite},
                        {12, 14, clWhite}});
}

TEST_F(CanvasTest, RectangleOutlinedWithThePenAndFilledWithTheBrush)
{
    c->Pen()->SetColor(clNavy);
    c->Brush()->SetColor(clYellow);
    c->Rectangle(2, 2, 8, 7);
    // An inside-frame pen of width 3 stays within the bounds (its corners are
    // round, as wide pens join lines).
    c->Pen()->SetStyle(psInsideFrame);
    c->Pen()->SetWidth(3);
    c->Pen()->SetColor(clGreen);
    c->Rectangle(Rect(10, 10, 20, 20));
    ExpectPixels(*bmp, {{2, 2, clNavy}, {7, 6, clNavy}, {4, 4, clYellow}, {8, 4, clWhite}, {4, 7, clWhite},
                        {15, 10, clGreen}, {15, 12, clGreen}, {15, 13, clYellow}, {19, 15, clGreen},
                        {17, 15, clGreen}, {16, 16, clYellow}, {20, 15, clWhite}, {9, 15, clWhite}});
}

TEST_F(CanvasTest, LinesLeaveOutTheirEndPoint)
{
    c->Pen()->SetColor(clRed);
    c->MoveTo(2, 5);
    c->LineTo(10, 5);
    EXPECT_EQ(c->PenPos().x, 10);
    EXPECT_EQ(c->PenPos().y, 5);
    c->LineTo(10, 12);
    c->Pen()->SetColor(clBlue);
    c->Polyline({Point(20, 2), Point(20, 6), Point(24, 6)});
    ExpectPixels(*bmp, {{1, 5, clWhite}, {2, 5, clRed}, {9, 5, clRed}, {10, 5, clRed}, {10, 11, clRed},
                        {10, 12, clWhite}, {20, 2, clBlue}, {20, 6, clBlue}, {23, 6, clBlue}, {24, 6, clWhite}});
}

TEST_F(CanvasTest, PolygonEllipseAndRoundRectFillTheirInside)
{
    c->Pen()->SetColor(clGreen);
    c->Brush()->SetColor(clGreen);
    c->Polygon({Point(2, 2), Point(16, 2), Point(2, 16)});
    c->Pen()->SetColor(clRed);
    c->Brush()->SetColor(clRed);
    c->Ellipse(20, 0, 30, 10);
    c->Pen()->SetColor(clBlue);
    c->Brush()->SetColor(clYellow);
    c->RoundRect(20, 12, 40, 30, 10, 10);
    ExpectPixels(*bmp, {{4, 4, clGreen}, {14, 14, clWhite}, {15, 3, clGreen}, {3, 15, clGreen},
                        {25, 5, clRed}, {20, 0, clWhite}, {29, 9, clWhite},
                        {30, 20, clYellow}, {20, 12, clWhite}, {30, 12, clBlue}, {20, 20, clBlue},
                        {39, 29, clWhite}});
}

namespace {

// Pixels of the box that are not white, and whether any outside it is not.
struct Ink {
    int inside = 0;
    int outside = 0;
    int ofColor = 0;
};

Ink CountInk(TBitmap& b, const TRect& box, TColor color)
{
    Ink ink;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            TColor p = b.Canvas()->Pixels(x, y);
            if (p == color)
                ++ink.ofColor;
            if (p == clWhite)
                continue;
            if (x >= box.left && x < box.right && y >= box.top && y < box.bottom)
                ++ink.inside;
            else
                ++ink.outside;
        }
    return ink;
}

} // namespace

TEST_F(CanvasTest, TextStaysInItsBoxAndMovesThePen)
{
    c->Font()->SetName("Tahoma");
    c->Font()->SetSize(12);
    c->Font()->SetStyle({fsBold});
    c->Font()->SetColor(clRed);
    c->Brush()->SetStyle(bsClear);
    const TSize size = c->TextExtent("Wg");
    EXPECT_EQ(c->TextWidth("Wg"), size.cx);
    EXPECT_EQ(c->TextHeight("Wg"), size.cy);
    EXPECT_GT(size.cx, 10);
    c->TextOut(3, 4, "Wg");
    Ink ink = CountInk(*bmp, Bounds(3, 4, size.cx, size.cy), clRed);
    EXPECT_GT(ink.inside, 10);
    EXPECT_GT(ink.ofColor, 0) << "no pixel of the font colour";
    EXPECT_EQ(ink.outside, 0);
    EXPECT_EQ(c->PenPos().x, 3 + size.cx);
    EXPECT_EQ(c->PenPos().y, 4);
}

TEST_F(CanvasTest, TextBackgroundTakesTheBrushUnlessItIsClear)
{
    for (TBrushStyle style : {bsSolid, bsClear}) {
        SCOPED_TRACE(style == bsSolid ? "solid brush" : "clear brush");
        c->Brush()->SetColor(clWhite);
        c->FillRect(Rect(0, 0, 40, 30));
        c->Font()->SetColor(clBlue);
        c->Brush()->SetColor(clYellow);
        c->Brush()->SetStyle(style);
        c->TextOut(2, 2, "i");
        // TextRect clips to its box and, with a solid brush, fills it.
        c->TextRect(Rect(10, 2, 20, 28), 4, 2, "WWWWWWWWWW");
        const TSize size = c->TextExtent("i");
        Ink ink = CountInk(*bmp, Bounds(2, 2, size.cx, size.cy), clYellow);
        Ink clipped = CountInk(*bmp, Rect(10, 2, 20, 28), clYellow);
        if (style == bsSolid) {
            EXPECT_EQ(c->Pixels(19, 27), clYellow);  // below the text line, inside the box
            EXPECT_EQ(c->Pixels(2, 2), clYellow);
        } else {
            EXPECT_EQ(ink.ofColor, 0);
            EXPECT_EQ(c->Pixels(19, 27), clWhite);
        }
        EXPECT_EQ(ink.outside - clipped.inside, 0) << "ink outside the text cell and the box";
        EXPECT_GT(clipped.inside, 0);
    }
}

TEST_F(CanvasTest, CopyRectCopiesAndStretchesWithTheCopyMode)
{
    auto src = Quadrants();
    c->CopyRect(Rect(10, 10, 14, 14), src->Canvas(), Rect(0, 0, 4, 4));
    c->CopyRect(Rect(20, 0, 28, 8), src->Canvas(), Rect(0, 0, 4, 4));
    c->SetCopyMode(cmNotSrcCopy);
    c->CopyRect(Rect(0, 20, 2, 22), src->Canvas(), Rect(0, 0, 2, 2));
    ExpectPixels(*bmp, {{10, 10, clRed}, {12, 10, clLime}, {10, 13, clBlue}, {13, 13, clYellow}, {14, 14, clWhite},
                        {20, 0, clRed}, {23, 3, clRed}, {24, 0, clLime}, {21, 6, clBlue}, {27, 7, clYellow},
                        {28, 7, clWhite}, {0, 20, clAqua}, {1, 21, clAqua}, {2, 21, clWhite}});
}

TEST_F(CanvasTest, DrawAndStretchDrawABitmap)
{
    auto src = Quadrants();
    c->Draw(30, 20, src.get());
    c->StretchDraw(Rect(0, 0, 16, 16), src.get());
    c->Draw(0, 20, nullptr);  // nothing to draw
    ExpectPixels(*bmp, {{30, 20, clRed}, {33, 23, clYellow}, {34, 23, clWhite}, {2, 2, clRed}, {10, 2, clLime},
                        {2, 10, clBlue}, {15, 15, clYellow}, {16, 15, clWhite}});
}

TEST_F(CanvasTest, TransparentBitmapLeavesOutItsTransparentColour)
{
    c->Brush()->SetColor(clLime);
    c->FillRect(Rect(0, 0, 40, 30));
    auto src = RedOnFuchsia();
    src->SetTransparent(true);
    c->Draw(10, 10, src.get());
    c->StretchDraw(Rect(20, 10, 32, 22), src.get());
    ExpectPixels(*bmp, {{10, 10, clLime}, {12, 12, clRed}, {13, 13, clRed}, {14, 14, clLime}, {15, 15, clLime},
                        {20, 10, clLime}, {24, 14, clRed}, {27, 17, clRed}, {28, 18, clLime}});
}

TEST_F(CanvasTest, BrushCopyPaintsOneColourWithTheBrush)
{
    auto src = RedOnFuchsia();
    c->Brush()->SetColor(clBlue);
    c->BrushCopy(Rect(0, 0, 6, 6), src.get(), Rect(0, 0, 6, 6), clFuchsia);
    ExpectPixels(*bmp, {{0, 0, clBlue}, {5, 5, clBlue}, {2, 2, clRed}, {3, 3, clRed}, {6, 6, clWhite}});
    EXPECT_EQ(src->Canvas()->Pixels(0, 0), clFuchsia);  // the source stays as it was
}

TEST_F(CanvasTest, FocusRectangleIsRemovedByASecondOne)
{
    const TRect r = Rect(5, 5, 20, 15);
    c->DrawFocusRect(r);
    EXPECT_GT(CountInk(*bmp, r, clBlack).inside, 0);
    EXPECT_EQ(CountInk(*bmp, r, clBlack).outside, 0);
    c->DrawFocusRect(r);
    EXPECT_EQ(CountInk(*bmp, r, clBlack).inside, 0);
}

TEST_F(CanvasTest, PixelsAndClipRect)
{
    c->SetPixels(3, 4, 0x123456);
    c->SetPixels(4, 4, clBtnFace);
    EXPECT_EQ(c->Pixels(3, 4), 0x123456);
    EXPECT_EQ(static_cast<COLORREF>(c->Pixels(4, 4)), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(c->Pixels(100, 100), -1);  // outside the bitmap
    TRect clip = c->ClipRect();
    EXPECT_EQ(clip.right, 40);
    EXPECT_EQ(clip.bottom, 30);
}

TEST_F(CanvasTest, ChangedFontPenAndBrushAreUsedByTheNextCall)
{
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 4, 4));
    c->Brush()->SetColor(clBlue);
    c->FillRect(Rect(0, 0, 4, 4));
    c->Pen()->SetColor(clRed);
    c->MoveTo(0, 10);
    c->LineTo(10, 10);
    c->Pen()->SetColor(clLime);
    c->MoveTo(0, 10);
    c->LineTo(10, 10);
    ExpectPixels(*bmp, {{1, 1, clBlue}, {5, 10, clLime}});

    const int plain = c->TextWidth("WWWW");
    c->Font()->SetStyle({fsBold});
    c->Font()->SetSize(20);
    EXPECT_GT(c->TextWidth("WWWW"), plain);
    TFont other;
    c->SetFont(&other);
    EXPECT_EQ(c->TextWidth("WWWW"), plain);
}

TEST(Canvas, AttachedContextGetsItsOwnObjectsBack)
{
    TWindowDC screen;
    TMemoryDC dc(screen.Get());
    TGdiObject<HBITMAP> surface(CreateCompatibleBitmap(screen.Get(), 20, 20));
    TSelectObject select(dc.Get(), surface.Get());
    const HGDIOBJ font = GetCurrentObject(dc.Get(), OBJ_FONT);
    const HGDIOBJ pen = GetCurrentObject(dc.Get(), OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(dc.Get(), OBJ_BRUSH);
    {
        TCanvas canvas;
        canvas.SetHandle(dc.Get());
        canvas.Pen()->SetColor(clRed);
        canvas.Rectangle(0, 0, 10, 10);
        canvas.TextOut(0, 0, "x");
        EXPECT_NE(GetCurrentObject(dc.Get(), OBJ_PEN), pen);
        canvas.SetHandle(nullptr);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush);
        EXPECT_FALSE(canvas.HandleAllocated());

        canvas.SetHandle(dc.Get());
        canvas.Brush()->SetColor(clBlue);
        canvas.Font()->SetSize(14);
        canvas.Ellipse(0, 0, 10, 10);
        canvas.TextOut(0, 0, "y");
        EXPECT_EQ(GetPixel(dc.Get(), 5, 5) & 0xFFFFFF, 0xFF0000u);
    }  // the canvas lets go of the context when it goes
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush);
}

TEST(Canvas, WithoutAContextItRefusesToDraw)
{
    TCanvas canvas;
    canvas.Font()->SetColor(clRed);  // its objects work without a context
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidGraphicOperation);
    EXPECT_THROW(canvas.TextWidth("x"), EInvalidGraphicOperation);
}

// ---------------------------------------------------------------------------
// Bitmap

TEST(Bitmap, ResizeKeepsTheTopLeftAndFillsWithTheBrush)
{
    for (TPixelFormat format : {pfDevice, pf24bit, pf32bit}) {
        SCOPED_TRACE(format);
        auto b = Filled(4, 4, clRed, format);
        EXPECT_EQ(b->PixelFormat(), format);
        b->Canvas()->Brush()->SetColor(clBlue);
        ChangeCounter counter;
        b->OnChange = counter.Event();
        b->SetSize(6, 5);
        EXPECT_EQ(counter.count, 1);
        EXPECT_EQ(b->Width(), 6);
        EXPECT_EQ(b->Height(), 5);
        EXPECT_EQ(b->PixelFormat(), format);
        ExpectPixels(*b, {{3, 3, clRed}, {5, 4, clBlue}, {4, 0, clBlue}, {0, 4, clBlue}});
        b->SetWidth(2);
        ExpectPixels(*b, {{1, 1, clRed}, {1, 4, clBlue}});
        b->SetSize(0, 3);
        EXPECT_TRUE(b->Empty());
        EXPECT_EQ(b->Handle(), nullptr);
    }
    TBitmap fresh;
    EXPECT_TRUE(fresh.Empty());
    EXPECT_EQ(fresh.PixelFormat(), pfDevice);
    EXPECT_EQ(fresh.HandleType(), bmDDB);
}

TEST(Bitmap, MonochromeConversionsUseTheCanvasColours)
{
    auto b = Filled(4, 1, clWhite);
    b->Canvas()->SetPixels(1, 0, clRed);
    b->Canvas()->SetPixels(2, 0, clYellow);
    // To monochrome: the brush colour becomes white, all else black.
    b->Canvas()->Brush()->SetColor(clRed);
    b->SetMonochrome(true);
    EXPECT_TRUE(b->Monochrome());
    EXPECT_EQ(b->PixelFormat(), pf1bit);
    EXPECT_EQ(b->HandleType(), bmDDB);
    ExpectPixels(*b, {{0, 0, clBlack}, {1, 0, clWhite}, {2, 0, clBlack}, {3, 0, clBlack}});
    // Back to colour: black takes the font colour, white the brush colour.
    b->Canvas()->Font()->SetColor(clGreen);
    b->Canvas()->Brush()->SetColor(clBlue);
    b->SetMonochrome(false);
    EXPECT_FALSE(b->Monochrome());
    ExpectPixels(*b, {{0, 0, clGreen}, {1, 0, clBlue}, {2, 0, clGreen}});
}

TEST(Bitmap, PixelFormatAndHandleTypeConversionsKeepThePicture)
{
    const struct {
        TPixelFormat format;
        TBitmapHandleType type;
    } rows[] = {{pfDevice, bmDDB}, {pf32bit, bmDIB}, {pf24bit, bmDIB}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.format);
        auto b = Quadrants();
        b->SetPixelFormat(r.format);
        EXPECT_EQ(b->PixelFormat(), r.format);
        EXPECT_EQ(b->HandleType(), r.type);
        ExpectPixels(*b, {{0, 0, clRed}, {3, 0, clLime}, {0, 3, clBlue}, {3, 3, clYellow}});
        b->SetHandleType(r.type == bmDIB ? bmDDB : bmDIB);
        EXPECT_NE(b->HandleType(), r.type);
        ExpectPixels(*b, {{0, 0, clRed}, {3, 3, clYellow}});
    }
    auto b = Quadrants();
    EXPECT_THROW(b->SetPixelFormat(pf8bit), EInvalidGraphicOperation);
    ExpectPixels(*b, {{0, 0, clRed}});
}

TEST(Bitmap, TransparentColour)
{
    auto b = Filled(3, 3, clLime);
    b->Canvas()->SetPixels(0, 2, clFuchsia);
    // Automatic: the bottom-left pixel, marked palette-relative.
    EXPECT_EQ(b->TransparentMode(), tmAuto);
    EXPECT_EQ(b->TransparentColor(), clFuchsia | clPaletteRelative);
    EXPECT_EQ(b->TransparentColor() & ~clPaletteRelative, clFuchsia);
    b->SetTransparentColor(clRed);
    EXPECT_EQ(b->TransparentMode(), tmFixed);
    EXPECT_EQ(b->TransparentColor(), clRed);
    b->SetTransparentMode(tmAuto);
    EXPECT_EQ(b->TransparentColor(), clFuchsia | clPaletteRelative);
    b->SetTransparentMode(tmFixed);
    EXPECT_EQ(b->TransparentColor(), clFuchsia | clPaletteRelative);
    EXPECT_EQ(TBitmap().TransparentColor(), clDefault);
}

TEST(Bitmap, AssignCopiesThePictureOnce)
{
    auto src = Quadrants();
    src->SetTransparent(true);
    src->SetTransparentColor(clBlue);
    TBitmap copy;
    ChangeCounter counter;
    copy.OnChange = counter.Event();
    copy.Assign(src.get());
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(copy.PixelFormat(), pf24bit);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clBlue);
    ExpectPixels(copy, {{0, 0, clRed}, {3, 0, clLime}, {0, 3, clBlue}, {3, 3, clYellow}});
    src->Canvas()->SetPixels(0, 0, clBlack);
    EXPECT_EQ(copy.Canvas()->Pixels(0, 0), clRed);  // a copy, not a shared picture

    // A 16-colour picture keeps its format and colours.
    TBitmap four;
    four.LoadFromFile(FixturePath("fixture4.bmp"));
    copy.Assign(&four);
    EXPECT_EQ(copy.PixelFormat(), pf4bit);
    ExpectPixels(copy, {{0, 0, clRed}, {8, 0, clBlue}, {0, 5, clFuchsia}});

    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    TFont font;
    EXPECT_THROW(copy.Assign(&font), EConvertError);
}

TEST(Bitmap, LoadFromFile)
{
    TBitmap b;
    b.LoadFromFile(FixturePath("fixture24.bmp"));
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.HandleType(), bmDIB);
    ExpectPixels(b, {{0, 0, clLime}, {4, 0, clLime}, {2, 1, clRed}, {0, 2, clBlue}, {1, 2, clRed}});

    b.LoadFromFile(FixturePath("fixture4.bmp"));
    EXPECT_EQ(b.Width(), 9);
    EXPECT_EQ(b.Height(), 6);
    EXPECT_EQ(b.PixelFormat(), pf4bit);
    ExpectPixels(b, {{0, 0, clRed}, {3, 5, clRed}, {4, 0, clBlue}, {8, 5, clBlue}, {0, 5, clFuchsia}});
    EXPECT_EQ(b.TransparentColor(), clFuchsia | clPaletteRelative);

    TempFolder temp;
    WriteWholeFile(temp.Path() + "not a bitmap.bmp", "BM but nothing else");
    EXPECT_THROW(b.LoadFromFile(temp.Path() + "not a bitmap.bmp"), EInvalidGraphic);
    EXPECT_THROW(b.LoadFromFile(temp.Path() + "missing.bmp"), EFOpenError);
    EXPECT_EQ(b.Width(), 9);  // a failed load keeps the picture
}

TEST(Bitmap, LoadFromResource)
{
    const HINSTANCE self = GetModuleHandleA(nullptr);
    TBitmap b;
    b.LoadFromResourceID(self, 101);
    EXPECT_EQ(b.Width(), 5);
    ExpectPixels(b, {{0, 0, clLime}, {0, 2, clBlue}, {2, 1, clRed}});
    b.LoadFromResourceName(self, "spinup");  // resource names ignore case
    EXPECT_EQ(b.Width(), 9);
    EXPECT_EQ(b.PixelFormat(), pf4bit);
    ExpectPixels(b, {{0, 0, clRed}, {8, 0, clBlue}});
    EXPECT_THROW(b.LoadFromResourceName(self, "NOSUCH"), EInvalidGraphic);
    EXPECT_THROW(b.LoadFromResourceID(self, 4711), EInvalidGraphic);
}

TEST(Bitmap, BrushPatternFromABitmap)
{
    auto checker = Filled(8, 8, clWhite);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x + y) % 2 == 0)
                checker->Canvas()->SetPixels(x, y, clRed);
    auto b = Filled(16, 16, clBlack);
    b->Canvas()->Brush()->SetBitmap(checker.get());
    b->Canvas()->FillRect(Rect(0, 0, 16, 16));
    ExpectPixels(*b, {{0, 0, clRed}, {1, 0, clWhite}, {1, 1, clRed}, {9, 8, clWhite}, {15, 15, clRed}});
    EXPECT_EQ(checker->Canvas()->Pixels(2, 0), clRed);  // still usable afterwards
}

TEST(Picture, HoldsACopyOfABitmap)
{
    TPicture p;
    EXPECT_EQ(p.Graphic(), nullptr);
    EXPECT_EQ(p.Width(), 0);
    ChangeCounter counter;
    p.OnChange = counter.Event();
    auto src = Quadrants();
    p.Assign(src.get());
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(p.Width(), 4);
    EXPECT_NE(p.Bitmap(), src.get());
    ExpectPixels(*p.Bitmap(), {{3, 3, clYellow}});
    TPicture q;
    q.Assign(&p);
    EXPECT_EQ(q.Height(), 4);
    p.Assign(nullptr);
    EXPECT_EQ(p.Graphic(), nullptr);
    EXPECT_EQ(counter.count, 2);
}

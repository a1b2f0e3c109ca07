#include "common/HtmlDraw.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TestUtil.h"

namespace {

const TColor urlColor = clBlue;

// A white 24-bit DIB section with Tahoma 10 in black, the canvas that every
// test draws on.
class HtmlDraw : public testing::Test {
protected:
    static constexpr int width = 420;
    static constexpr int height = 300;

    HtmlDraw() : bitmap_(width, height, pf24bit)
    {
        Canvas()->Font()->SetName("Tahoma");
        Canvas()->Font()->SetSize(10);
        Canvas()->Font()->SetColor(clBlack);
        Clear();
    }

    TCanvas* Canvas() { return bitmap_.Canvas(); }
    TBitmap& Bitmap() { return bitmap_; }

    void Clear()
    {
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(Rect(0, 0, width, height));
    }

    int W(const std::string& text) { return Canvas()->TextWidth(text); }
    int GH() { return Canvas()->TextHeight("gh"); }
    int BoldW(const std::string& text)
    {
        TFontStyles old = Canvas()->Font()->Style();
        Canvas()->Font()->SetStyle(old + fsBold);
        int w = W(text);
        Canvas()->Font()->SetStyle(old);
        return w;
    }

    struct Outcome {
        bool hit = false;
        std::string anchor, plain;
        int xsize = -1, ysize = -1;
    };

    struct Call {
        TRect rect = Rect(10, 20, 400, 290);
        int x = 0, y = 0;
        bool hitTest = false, measureOnly = false, stretch = false;
        double scale = 1.0;
        TCustomImageList* images = nullptr;
        THtmlFeatures features;
    };

    Outcome Run(const std::string& html, const Call& c)
    {
        Outcome o;
        o.hit = DrawHtmlTextWith(c.features, Canvas(), html, c.rect, c.images, c.x, c.y, c.hitTest, c.measureOnly,
                                 c.stretch, c.scale, urlColor, o.anchor, o.plain, o.xsize, o.ysize);
        return o;
    }
    Outcome Measure(const std::string& html, int rectWidth = 390)
    {
        Call c;
        c.rect = Rect(10, 20, 10 + rectWidth, 30);
        c.measureOnly = true;
        c.hitTest = true;
        return Run(html, c);
    }

    // Pixels of the area for which Pred holds.
    int Count(const TRect& area, const std::function<bool(TColor)>& pred)
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (pred(Canvas()->Pixels(x, y)))
                    ++n;
        return n;
    }
    int CountColor(const TRect& area, TColor color)
    {
        return Count(area, [color](TColor c) { return c == color; });
    }
    int CountInk(const TRect& area)
    {
        return Count(area, [](TColor c) { return c != clWhite; });
    }

private:
    TBitmap bitmap_;
};

// An image list of 20 x 20 pictures: 0 red, 1 green.
struct TwoImages {
    TImageList list{nullptr, 20, 20};
    TwoImages()
    {
        for (TColor c : {clRed, clGreen}) {
            TBitmap b(20, 20, pf24bit);
            b.Canvas()->Brush()->SetColor(c);
            b.Canvas()->FillRect(Rect(0, 0, 20, 20));
            list.Add(&b, nullptr);
        }
    }
};

// A 24-bit .bmp file of one colour.
void WriteBmp(const std::string& path, int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    const int stride = (w * 3 + 3) & ~3;
    std::string bytes(54 + stride * h, '\0');
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    bytes[26] = 1;
    bytes[28] = 24;
    put32(34, stride * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int at = 54 + y * stride + x * 3;
            bytes[at] = static_cast<char>(b);
            bytes[at + 1] = static_cast<char>(g);
            bytes[at + 2] = static_cast<char>(r);
        }
    WriteWholeFile(path, bytes);
}

TSize ShellIconSize(bool large)
{
    TBitmap scratch(1, 1, pf24bit);
    TSize size{};
    DrawShellIcon(scratch.Canvas(), 0, 0, "", large, false, false, 1.0, size);
    return size;
}

} // namespace

// ---------------------------------------------------------------------------
// Colour and text helpers

TEST(HtmlColors, NamesHexPairsAndPositions)
{
    const struct {
        const char* name;
        std::uint32_t color;
    } names[] = {
        {"clred", 0x0000FF},           {"clblack", 0},           {"clblue", 0xFF0000},
        {"clmaroon", 0x000080},        {"clteal", 0x808000},     {"clbackground", 0x80000001},
        {"clwindow", 0x80000005},      {"clbtnface", 0x8000000F}, {"cl3ddkshadow", 0x80000015},
        {"clinfobk", 0x80000018},      {"clRed", 0},             {"clnosuch", 0},
    };
    for (const auto& r : names) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(static_cast<std::uint32_t>(ColorFromName(r.name)), r.color);
    }

    const struct {
        const char* value;
        TColor color;
    } hex[] = {
        {"#ff0000", 0x0000FF}, {"#00FF00", 0x00FF00}, {"#0000ff", 0xFF0000},
        {"#123456", 0x563412}, {"#12", 0x000012},     {"", 0},
    };
    for (const auto& r : hex) {
        SCOPED_TRACE(r.value);
        EXPECT_EQ(HtmlColorToColor(r.value), r.color);
    }

    EXPECT_EQ(HexPairToByte('0', '0'), 0);
    EXPECT_EQ(HexPairToByte('F', 'F'), 255);
    EXPECT_EQ(HexPairToByte('A', '9'), 0xA9);

    EXPECT_EQ(UpperPos("href", "<A HREF=\"x\">"), 4);
    EXPECT_EQ(UpperPos("ą", "xĄ"), 2);
    EXPECT_EQ(UpperPos("img", "<b>"), 0);
}

// ---------------------------------------------------------------------------
// Measuring

TEST_F(HtmlDraw, MeasuresWidthsHeightsAndPlainText)
{
    const int gh = GH();
    TwoImages images;
    TempFolder temp;
    const std::string bmp = temp.Path() + "obraz.bmp";
    WriteBmp(bmp, 13, 40, 0, 0, 255);
    const int small = ShellIconSize(false).cx;
    const int large = ShellIconSize(true).cx;
    ASSERT_GT(small, 0);
    ASSERT_GT(large, small);

    // Expected XSize: the width of `widest` in the starting font plus `extra`;
    // YSize: `lines` lines of "gh", or `tall` when that is larger.
    const struct {
        std::string html;
        const char* widest;
        int extra;
        int lines;
        int tall;
        const char* plain;
    } rows[] = {
        {"", "", 0, 1, 0, ""},
        {"ab", "ab", 0, 1, 0, "ab"},
        {"a  b", "a  b", 0, 1, 0, "a  b"},
        {"ab ", "ab", 0, 1, 0, "ab "},
        {"ab<br>c", "ab", 0, 2, 0, "ab\rc"},
        {"ab<BR>c<Br>", "ab", 0, 2, 0, "ab\rc\r"},
        {"ab<br/>c", "abc", 0, 1, 0, "abc"},
        {"<big>ab</big>", "ab", 0, 1, 0, "ab"},
        {"<ul>ab</ul>", "ab", 0, 1, 0, "ab"},
        {"<qq>ab</zz>", "ab", 0, 1, 0, "ab"},
        {"ab <x", "ab", 0, 1, 0, "ab "},
        {"ab<p>cd</p>ef", "abcd", 0, 2, 0, "abcdef"},
        {"abc<hr>d", "abc", 0, 2, 0, "abcd"},
        {"<a href=\"x\">ab</a>", "ab", 0, 1, 0, "ab"},
        {"<font size=\"abc\">ab</font>", "ab", 0, 1, 0, "ab"},
        {"<ind x=\"100\">ab", "ab", 100, 1, 0, "ab"},
        {"abcdef<ind x=\"5\">g", "abcdefg", 0, 1, 0, "abcdefg"},
        {"a<sub>2</sub>", "a2", 0, 1, gh + gh / 4, "a2"},
        {"a<sup>2</sup><sub>3</sub>", "a23", 0, 1, gh + 2 * (gh / 4), "a23"},
        {"<img src=\"idx:1\">ab", "ab", 20, 1, 20, "ab"},
        {"<img src=\"IDX:5\">ab", "ab", 0, 1, 0, "ab"},
        {"<img src=\"idx:x\">ab", "ab", 0, 1, 0, "ab"},
        {"<img src=\"res://1\">ab", "ab", 0, 1, 0, "ab"},
        {"<img src=\"ssys:c:\\nie ma\\dokument.txt\">ab", "ab", small, 1, small, "ab"},
        {"<img src=\"lsys:0\">ab", "ab", large, 1, large, "ab"},
        {"<img src=\"file://" + bmp + "\">ab", "ab", 13, 1, 40, "ab"},
        {"<img src=\"file://" + temp.Path() + "brak.bmp\">ab", "ab", 0, 1, 0, "ab"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.html);
        Call c;
        c.measureOnly = true;
        c.images = &images.list;
        Outcome o = Run(r.html, c);
        EXPECT_FALSE(o.hit);
        EXPECT_EQ(o.xsize, W(r.widest) + r.extra);
        EXPECT_EQ(o.ysize, std::max(r.lines * gh, r.tall));
        EXPECT_EQ(o.plain, r.plain);
    }
    EXPECT_EQ(CountInk(Rect(0, 0, width, height)), 0) << "measuring draws nothing";
}

TEST_F(HtmlDraw, StylesAndFontsChangeTheMeasure)
{
    const int gh = GH();
    EXPECT_EQ(Measure("<b>ab</b>cd").xsize, BoldW("ab") + W("cd"));
    EXPECT_GT(BoldW("abcd"), W("abcd"));
    EXPECT_EQ(Measure("<B>ab<big>cd</b>ef").xsize, BoldW("abcd") + W("ef"));
    EXPECT_GT(Measure("<font size=\"20\">ab</font>").ysize, gh);
    EXPECT_EQ(Measure("<font size=\"20\">ab</font><br>ab").xsize, Measure("<font size=\"20\">ab").xsize);
    // The anchor's underline and colour do not change widths; the canvas font
    // is put back after the call.
    EXPECT_EQ(Measure("x<a href=\"h\"><b>ab</b></a>").xsize, W("x") + BoldW("ab"));
    EXPECT_EQ(Canvas()->Font()->Style(), TFontStyles());
    EXPECT_EQ(Canvas()->Font()->Color(), clBlack);
    Measure("<font color=\"clred\"><font color=\"clblue\" size=\"20\">x</font></font><b>");
    EXPECT_EQ(Canvas()->Font()->Color(), clBlack);
    EXPECT_EQ(Canvas()->Font()->Size(), 10);
}

TEST_F(HtmlDraw, WrapsAtWordsWithinTheWidth)
{
    const int gh = GH();
    TwoImages images;
    const struct {
        const char* html;
        int rectWidth;
        int xsize;
        int ysize;
        const char* plain;
    } rows[] = {
        {"aaa bbb ccc", W("aaa bbb ") + 1, W("aaa bbb"), 2 * gh, "aaa bbb ccc"},
        // The line's width, trailing space included, must stay below the width.
        {"aaa bbb ccc", W("aaa bbb "), std::max(W("aaa"), W("bbb ccc")), 2 * gh, "aaa bbb ccc"},
        // A word wider than the whole rectangle stays whole, on a line of its own.
        {"verylongword b", W("verylong"), W("verylongword"), 2 * gh, "verylongword b"},
        {"a verylongword b", W("verylong"), W("verylongword"), 3 * gh, "a verylongword b"},
        // An image that does not fit moves to the next line; the text after it stays.
        {"abcdefgh <img src=\"idx:0\">cd", 20 + W("cd") + 1, std::max(W("abcdefgh"), 20 + W("cd")),
         gh + std::max(gh, 20), "abcdefgh cd"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.html << " in " << r.rectWidth);
        Call c;
        c.rect = Rect(10, 20, 10 + r.rectWidth, 30);
        c.measureOnly = true;
        c.images = &images.list;
        Outcome o = Run(r.html, c);
        EXPECT_EQ(o.xsize, r.xsize);
        EXPECT_EQ(o.ysize, r.ysize);
        EXPECT_EQ(o.plain, r.plain);
    }
}

// Tabs and the source's line ends are white space, as in HTML: each shows as
// one blank (CR LF as one) and ends a word; a line end where a line of the
// text begins takes no room. Each row draws and measures exactly like its
// second markup.
TEST_F(HtmlDraw, SourceLineEndsAndTabsAreBlanks)
{
    const int gh = GH();
    const struct {
        const char* html;
        const char* same;
        int rectWidth;
        int lines;
    } rows[] = {
        {"ab\r\ncd", "ab cd", 390, 1},
        {"ab\rcd", "ab cd", 390, 1},
        {"ab\ncd", "ab cd", 390, 1},
        {"ab\tcd", "ab cd", 390, 1},
        // Never collapsed, like blanks.
        {"ab\r\n\r\ncd\t\t", "ab  cd  ", 390, 1},
        {"<b>Nie ma plików do usunięcia!</b><br>\r\nPrawdopodobnie program został już usunięty.",
         "<b>Nie ma plików do usunięcia!</b><br>Prawdopodobnie program został już usunięty.", 390, 2},
        {"\r\n<u>ab</u>\n</p>\ncd<hr>\r\n\r\nef", "<u>ab</u> </p>cd<hr>ef", 390, 3},
        {"ab\r\n<font color=\"clred\">cd</font>", "ab <font color=\"clred\">cd</font>", 390, 1},
        // Wrapping: the line end goes with the word before it.
        {"<a href=\"x\">aaa\r\nbbb</a>", "<a href=\"x\">aaa bbb</a>", W("aaa b"), 2},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(std::string(r.html)) << " in " << r.rectWidth);
        Call c;
        c.rect = Rect(10, 20, 10 + r.rectWidth, height);
        c.measureOnly = true;
        const Outcome measured = Run(r.html, c);
        const Outcome expected = Run(r.same, c);
        EXPECT_EQ(measured.xsize, expected.xsize);
        EXPECT_EQ(measured.ysize, expected.ysize);
        EXPECT_EQ(measured.ysize, r.lines * gh);

        c.measureOnly = false;
        const TRect area = Rect(0, 0, width, 20 + (r.lines + 1) * gh);
        Clear();
        Run(r.same, c);
        std::vector<TColor> want;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                want.push_back(Canvas()->Pixels(x, y));
        ASSERT_GT(CountInk(area), 0);
        Clear();
        Run(r.html, c);
        int differ = 0;
        size_t i = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                differ += Canvas()->Pixels(x, y) != want[i++];
        EXPECT_EQ(differ, 0);
    }
    // The plain text keeps the source's characters.
    EXPECT_EQ(Measure("ab\r\ncd\t").plain, "ab\r\ncd\t");
}

TEST_F(HtmlDraw, DrawingStopsAtTheBottomMeasuringDoesNot)
{
    const int gh = GH();
    const std::string html = "ab<br>cd<br>ef<br>gh";
    Call c;
    c.rect = Rect(10, 20, 200, 20 + gh * 5 / 2);
    c.measureOnly = true;
    EXPECT_EQ(Run(html, c).ysize, 4 * gh);
    EXPECT_EQ(CountInk(Rect(0, 0, width, height)), 0);

    c.measureOnly = false;
    Outcome o = Run(html, c);
    EXPECT_EQ(o.ysize, 2 * gh);
    EXPECT_GT(CountInk(Rect(10, 20, 200, 20 + gh)), 0);
    EXPECT_GT(CountInk(Rect(10, 20 + gh, 200, 20 + 2 * gh)), 0);
    EXPECT_EQ(CountInk(Rect(0, 20 + 2 * gh, width, height)), 0) << "the third line would end below the rectangle";

    // The first line is drawn even when it does not fit.
    Clear();
    c.rect = Rect(10, 20, 200, 22);
    EXPECT_EQ(Run(html, c).ysize, gh);
    EXPECT_GT(CountInk(Rect(10, 20, 200, 20 + gh)), 0);
    EXPECT_EQ(CountInk(Rect(0, 20 + gh, width, height)), 0);

    // Hit-testing lays out like drawing but draws nothing.
    Clear();
    c.rect = Rect(10, 20, 200, 20 + gh * 5 / 2);
    c.hitTest = true;
    EXPECT_EQ(Run(html, c).ysize, 2 * gh);
    EXPECT_EQ(CountInk(Rect(0, 0, width, height)), 0);
}

// ---------------------------------------------------------------------------
// Hit-testing

TEST_F(HtmlDraw, FindsTheAnchorUnderThePoint)
{
    const int gh = GH();
    TwoImages images;
    const std::string text = "ab <a href=\"X1\">link</a> cd<br>     <a href=\"RESTORE:k.cab:f.txt\">Zapisz jako...</a>";
    const std::string right = "<p align=\"right\"><a href=\"R\">aa bb</a><br>next";
    const std::string centre = "<p align=\"center\"><a href=\"C\">mid</a>";
    const std::string picture = "<a href=\"IMG\">x<img src=\"idx:0\"></a> y";
    const TRect rect = Rect(10, 20, 210, 200);

    // The point: rect.left + the width of `prefix` + dx, rect.top + line * gh + dy.
    const struct {
        const std::string* html;
        const char* prefix;
        int dx;
        int line;
        int dy;
        bool hitTest;
        const char* anchor;  // nullptr: no anchor
    } rows[] = {
        {&text, "ab ", 1, 0, 3, true, "X1"},
        {&text, "ab li", 0, 0, 3, true, "X1"},
        {&text, "ab ", 0, 0, 3, true, nullptr},        // on the boundary: bounds are strict
        {&text, "ab link", -1, 0, 0, true, nullptr},   // on the line's top
        {&text, "ab link c", 0, 0, 3, true, nullptr},  // after the anchor
        {&text, "a", 0, 0, 3, true, nullptr},
        {&text, "     Zap", 0, 1, 3, true, "RESTORE:k.cab:f.txt"},
        {&text, "", 2, 1, 3, true, nullptr},           // the blanks before the anchor
        {&text, "ab li", 0, 0, 3, false, nullptr},     // words are tested only when asked
        {&text, "ab li", 0, 3, 3, true, nullptr},      // below the text
        {&right, "", 200 - 3, 0, 3, true, "R"},
        {&right, "", 200 - 3, 1, 3, true, nullptr},    // the anchor ended on the line above
        {&centre, "", 100, 0, 3, true, "C"},
        {&centre, "", 2, 0, 3, true, nullptr},
        {&picture, "x", 10, 0, 3, false, "IMG"},       // images are tested when drawing too
        {&picture, "x", 10, 0, 3, true, "IMG"},
        {&picture, "x", 25, 0, 3, true, nullptr},
    };
    for (const auto& r : rows) {
        const int x = rect.left + W(r.prefix) + r.dx;
        const int y = rect.top + r.line * gh + r.dy;
        SCOPED_TRACE(testing::Message() << *r.html << " at (" << x << ", " << y << ") hitTest " << r.hitTest);
        Call c;
        c.rect = rect;
        c.x = x;
        c.y = y;
        c.hitTest = r.hitTest;
        c.images = &images.list;
        Outcome o = Run(*r.html, c);
        EXPECT_EQ(o.hit, r.anchor != nullptr);
        if (r.anchor) {
            EXPECT_EQ(o.anchor, r.anchor);
        }
        // A measure-only call never reports an anchor.
        c.measureOnly = true;
        EXPECT_FALSE(Run(*r.html, c).hit);
    }
}

// The organizer's list boxes use a smaller markup: no script tags, image
// alignment, scaling or image anchors, and "idx:" images unchecked.
TEST_F(HtmlDraw, FeatureSetsSwitchPartsOff)
{
    const int gh = GH();
    TwoImages images;
    THtmlFeatures basic;
    basic.ScriptTags = basic.ImageAlign = basic.ImageScale = basic.ImageAnchors = basic.ImageIndexChecked = false;

    const struct {
        const char* html;
        bool full;
        bool stretch;
        double scale;
        int xextra;
        int ysize;
    } rows[] = {
        {"ab<sub>c</sub>", true, false, 1.0, 0, gh + gh / 4},
        {"ab<sub>c</sub>", false, false, 1.0, 0, gh},
        {"<img src=\"idx:7\">abc", true, false, 1.0, 0, gh},
        {"<img src=\"idx:7\">abc", false, false, 1.0, 20, std::max(20, gh)},
        {"<img src=\"idx:0\">abc", true, true, 2.0, 40, std::max(40, gh)},
        {"<img src=\"idx:0\">abc", true, true, 0.0, 0, gh},
        {"<img src=\"idx:0\">abc", false, true, 2.0, 20, std::max(20, gh)},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.html << (r.full ? " full" : " basic") << " stretch " << r.stretch);
        Call c;
        c.measureOnly = true;
        c.images = &images.list;
        c.stretch = r.stretch;
        c.scale = r.scale;
        if (!r.full)
            c.features = basic;
        Outcome o = Run(r.html, c);
        EXPECT_EQ(o.xsize, W("abc") + r.xextra);
        EXPECT_EQ(o.ysize, r.ysize);
    }

    Call c;
    c.rect = Rect(10, 20, 210, 200);
    c.images = &images.list;
    c.x = 10 + W("x") + 10;
    c.y = 23;
    EXPECT_TRUE(Run("<a href=\"IMG\">x<img src=\"idx:0\"></a>", c).hit);
    c.features = basic;
    c.hitTest = true;
    EXPECT_FALSE(Run("<a href=\"IMG\">x<img src=\"idx:0\"></a>", c).hit);
}

// ---------------------------------------------------------------------------
// Pixels

TEST_F(HtmlDraw, BodyBackgroundFillsTheWholeRectangle)
{
    Call c;
    c.rect = Rect(10, 20, 110, 70);
    Run("<body bgcolor=\"clYellow\">ab", c);
    for (TPoint p : {Point(10, 20), Point(109, 20), Point(10, 69), Point(109, 69), Point(80, 50)})
        EXPECT_EQ(Canvas()->Pixels(p.x, p.y), clYellow) << p.x << ", " << p.y;
    for (TPoint p : {Point(9, 20), Point(110, 20), Point(10, 19), Point(10, 70)})
        EXPECT_EQ(Canvas()->Pixels(p.x, p.y), clWhite) << p.x << ", " << p.y;
    EXPECT_GT(CountColor(Rect(10, 20, 10 + W("ab"), 20 + GH()), clBlack), 0);

    Clear();
    Run("<body bgcolor=\"#00ff00\">ab", c);
    EXPECT_EQ(Canvas()->Pixels(100, 60), clLime);
}

TEST_F(HtmlDraw, FontColoursAndTextBackground)
{
    const int gh = GH();
    const TRect cell = Rect(10, 20, 10 + W("WW"), 20 + gh);
    const struct {
        const char* html;
        TColor ink;
        TColor background;  // clWhite: none
    } rows[] = {
        {"WW", clBlack, clWhite},
        {"<font color=\"clRed\">WW</font>", clRed, clWhite},
        {"<font color=\"CLRED\">WW</font>", clBlack, clWhite},
        {"<font color=\"#ff0000\">WW</font>", clRed, clWhite},
        {"<font color=\"#00ff00 clred\">WW</font>", clLime, clWhite},
        {"<font bgcolor=\"clyellow\" color=\"clred\">WW</font>", clRed, clYellow},
        {"<a href=\"x\">WW</a>", urlColor, clWhite},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.html);
        Clear();
        Call c;
        Run(r.html, c);
        EXPECT_GT(CountColor(cell, r.ink), 0);
        if (r.ink != clBlack) {
            EXPECT_EQ(CountColor(cell, clBlack), 0);
        }
        if (r.background != clWhite) {
            EXPECT_GT(CountColor(cell, r.background), cell.right - cell.left);
        } else {
            EXPECT_EQ(CountColor(cell, clYellow), 0);
        }
        EXPECT_EQ(CountInk(Rect(cell.right + 2, 0, width, height)), 0);
    }
}

// Words are drawn transparently until the markup sets the brush colour; a
// closing FONT tag sets it back to the saved one, and from then on words are
// drawn on it.
TEST_F(HtmlDraw, ClosingFontMakesTheBackgroundOpaque)
{
    const int gh = GH();
    Canvas()->Brush()->SetColor(clYellow);
    Call c;
    Run("<font color=\"clred\">WW</font> WW", c);
    const int first = W("WW");
    EXPECT_EQ(CountColor(Rect(10, 20, 10 + first, 20 + gh), clYellow), 0);
    EXPECT_GT(CountColor(Rect(10 + first + W(" "), 20, 10 + first + W(" WW"), 20 + gh), clYellow), first);
    EXPECT_EQ(Canvas()->Brush()->Color(), clYellow);
}

TEST_F(HtmlDraw, HorizontalRuleUnderTheLine)
{
    const int gh = GH();
    Call c;
    c.rect = Rect(10, 20, 150, 200);
    Outcome o = Run("ab<hr>cd", c);
    EXPECT_EQ(o.ysize, 2 * gh);
    const int y = 20 + gh;
    for (int x : {10, 60, 149})
        EXPECT_EQ(Canvas()->Pixels(x, y), clBlack) << x;
    EXPECT_EQ(Canvas()->Pixels(150, y), clWhite);
    EXPECT_EQ(Canvas()->Pixels(9, y), clWhite);
    EXPECT_EQ(CountColor(Rect(10 + W("cd") + 2, y + 1, 150, y + gh), clBlack), 0);
    // The pen keeps its colour.
    EXPECT_EQ(Canvas()->Pen()->Color(), clBlack);
    Canvas()->Pen()->SetColor(clRed);
    Run("<hr>", c);
    EXPECT_EQ(Canvas()->Pixels(100, 20 + gh), clBlack);
    EXPECT_EQ(Canvas()->Pen()->Color(), clRed);
}

TEST_F(HtmlDraw, BoldAndUnderlineChangeTheInk)
{
    const int gh = GH();
    const TRect area = Rect(0, 0, width, 20 + 2 * gh);
    auto draw = [&](const char* html) {
        Clear();
        Call c;
        Run(html, c);
    };
    // The rightmost column with ink.
    auto inkEnd = [&](const char* html) {
        draw(html);
        for (int x = width - 1; x >= 0; --x)
            if (CountInk(Rect(x, area.top, x + 1, area.bottom)) > 0)
                return x + 1;
        return 0;
    };
    // Bold words are wider and push the following words to the right.
    const int plainEnd = inkEnd("Wtorek x");
    EXPECT_GT(inkEnd("<b>Wtorek</b> x"), plainEnd);
    EXPECT_EQ(inkEnd("<b>Wtorek</b> x") - plainEnd, BoldW("Wtorek") - W("Wtorek"));
    EXPECT_EQ(inkEnd("<B>Wtorek</B> x"), inkEnd("<b>Wtorek</b> x"));
    EXPECT_EQ(inkEnd("<u>Wtorek</u> x"), plainEnd);

    // Underline and strike-through are rows of ink across the whole word.
    auto fullRows = [&](const char* html) {
        draw(html);
        int rows = 0;
        for (int y = 20; y < 20 + gh; ++y)
            rows += CountInk(Rect(10, y, 10 + W("Wtorek") - 1, y + 1)) == W("Wtorek") - 1;
        return rows;
    };
    EXPECT_EQ(fullRows("Wtorek"), 0);
    EXPECT_EQ(fullRows("<u>Wtorek</u>"), 1);
    EXPECT_EQ(fullRows("<s>Wtorek</s>"), 1);
    EXPECT_EQ(fullRows("<u><s>Wtorek</s>"), 2);
    EXPECT_EQ(fullRows("<u>Wtorek</ul>"), 1);
    EXPECT_EQ(fullRows("<ul>Wtorek"), 1);
    EXPECT_EQ(fullRows("<a href=\"x\">Wtorek</a>"), 1);
}

// Subscript words sit lower by a quarter of the text height, superscript ones
// higher; closing either tag ends both.
TEST_F(HtmlDraw, SubscriptAndSuperscriptShiftTheWords)
{
    const int gh = GH();
    // The lowest and the highest row with ink in the column of the last word.
    auto inkRows = [&](const std::string& html) {
        Clear();
        Call c;
        Run(html, c);
        const int x = 10 + W("ab");
        int low = -1, high = -1;
        for (int y = 0; y < height; ++y)
            if (CountInk(Rect(x, y, x + W("W"), y + 1)) > 0) {
                if (high < 0)
                    high = y;
                low = y;
            }
        return std::make_pair(high, low);
    };
    const auto base = inkRows("abW");
    const auto shifted = [&](int dy) { return std::make_pair(base.first + dy, base.second + dy); };
    EXPECT_EQ(inkRows("ab<sub>W</sub>"), shifted(gh / 4));
    EXPECT_EQ(inkRows("a<sub>b</sup>W"), base);
    EXPECT_EQ(inkRows("a<sub>b W"), shifted(gh / 4));
    // A superscript line keeps room above: its plain words move down.
    EXPECT_EQ(inkRows("a<sup>b</sup>W"), shifted(gh / 4));
    EXPECT_EQ(inkRows("a<sup>b</sub>W"), shifted(gh / 4));
    EXPECT_EQ(inkRows("ab<sup>W"), base);
}

// A centred line wider than the rectangle starts at the rectangle's left edge
// instead of somewhere out of sight.
TEST_F(HtmlDraw, CentredLineWiderThanTheRectangleStartsAtItsLeft)
{
    const int gh = GH();
    Call c;
    c.rect = Rect(40, 20, 80, 200);
    Outcome o = Run("<p align=\"center\">Wwwwwwwwwwwwww", c);
    EXPECT_EQ(o.xsize, W("Wwwwwwwwwwwwww"));
    EXPECT_GT(CountInk(Rect(40, 20, 50, 20 + gh)), 0);
    EXPECT_EQ(CountInk(Rect(0, 0, 40, height)), 0);

    Clear();
    Run("<p align=\"center\">ab<br>cd", c);
    const int left = 40 + (40 - W("ab")) / 2;
    EXPECT_EQ(CountInk(Rect(0, 20, left, 20 + gh)), 0);
    EXPECT_GT(CountInk(Rect(left, 20, left + W("ab"), 20 + gh)), 0);
    EXPECT_GT(CountInk(Rect(40 + (40 - W("cd")) / 2, 20 + gh, 80, 20 + 2 * gh)), 0) << "the alignment carries on";
}

TEST_F(HtmlDraw, ImagesAreDrawnAtTheTopOfTheLine)
{
    TwoImages images;
    TempFolder temp;
    WriteBmp(temp.Path() + "b.bmp", 5, 6, 0, 0, 255);
    Call c;
    c.images = &images.list;
    Run("<img src=\"idx:1\">a<img src=\"file://" + temp.Path() + "b.bmp\">", c);
    EXPECT_EQ(Canvas()->Pixels(10, 20), clGreen);
    EXPECT_EQ(Canvas()->Pixels(29, 39), clGreen);
    const int x = 10 + 20 + W("a");
    EXPECT_EQ(Canvas()->Pixels(x, 20), clBlue);
    EXPECT_EQ(Canvas()->Pixels(x + 4, 25), clBlue);
    EXPECT_EQ(Canvas()->Pixels(x + 5, 25), clWhite);

    Clear();
    c.stretch = true;
    c.scale = 1.5;
    Run("<img src=\"idx:0\">", c);
    EXPECT_EQ(Canvas()->Pixels(39, 49), clRed);
    EXPECT_EQ(Canvas()->Pixels(40, 20), clWhite);

    // With align "top" the line's text rises to the top of the image.
    const int gh = GH();
    for (const char* align : {"", " align=\"top\""}) {
        SCOPED_TRACE(align);
        Clear();
        c.stretch = false;
        Run(std::string("<img src=\"idx:0\"") + align + ">W", c);
        const TRect top = Rect(30, 20, 30 + W("W"), 20 + gh);
        if (*align) {
            EXPECT_GT(CountInk(top), 0);
        } else {
            EXPECT_EQ(CountInk(Rect(30, 20, 30 + W("W"), 40 - gh)), 0);
        }
    }
}

// The markup may not be correct, but a paint must never fail on it.
TEST_F(HtmlDraw, BadMarkupDrawsWhatItCan)
{
    TwoImages images;
    Call c;
    c.images = &images.list;
    for (const char* html : {"<font size=\"duży\">ab", "<font size=>ab", "<img src=\"idx:\">ab", "<img src=\"idx:-1\">ab",
                             "<img src=\"file://c:\\nie ma.bmp\">ab", "<img src=\"ssys:\">ab", "ab<", "<", "<<>>",
                             "</>", "<a>ab</a>", "<ind x=\"a\">ab", "<p align=\"center\">",
                             "<font color=\"#\">ab", "<font color=\"cl\">ab"}) {
        SCOPED_TRACE(html);
        Clear();
        EXPECT_NO_THROW(Run(html, c));
    }
    // A file that is no bitmap is skipped like a missing one.
    TempFolder temp;
    WriteWholeFile(temp.Path() + "zly.bmp", "to nie jest obraz");
    EXPECT_EQ(Measure("<img src=\"file://" + temp.Path() + "zly.bmp\">ab").xsize, W("ab"));
}

// "ssys:" of a document that does not exist shows the icon of its file type.
TEST_F(HtmlDraw, ShellIconsOfPathsAndNumbers)
{
    TempFolder temp;
    WriteWholeFile(temp.Path() + "jest.txt", "x");
    const TSize size = ShellIconSize(false);
    auto drawn = [&](const std::string& source) {
        TBitmap b(size.cx, size.cy, pf24bit);
        b.Canvas()->Brush()->SetColor(clFuchsia);
        b.Canvas()->FillRect(Rect(0, 0, size.cx, size.cy));
        TSize s{};
        DrawShellIcon(b.Canvas(), 0, 0, source, false, true, false, 1.0, s);
        EXPECT_EQ(s.cx, size.cx);
        std::string pixels;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                pixels += std::to_string(b.Canvas()->Pixels(x, y)) + ",";
        return pixels;
    };
    const std::string existing = drawn(temp.Path() + "jest.txt");
    EXPECT_EQ(drawn(temp.Path() + "nie ma.txt"), existing);
    EXPECT_EQ(drawn("c:\\Nie istnieje\\dokument.txt"), existing);
    EXPECT_NE(drawn(temp.Path()), existing) << "a folder has an icon of its own";
    EXPECT_EQ(drawn(""), drawn("0"));

    // Stretched: the icon drawn at twice its size.
    TBitmap b(2 * size.cx + 4, 2 * size.cy + 4, pf24bit);
    b.Canvas()->Brush()->SetColor(clFuchsia);
    b.Canvas()->FillRect(Rect(0, 0, 2 * size.cx + 4, 2 * size.cy + 4));
    TSize s{};
    DrawShellIcon(b.Canvas(), 2, 2, temp.Path() + "jest.txt", false, true, true, 2.0, s);
    EXPECT_EQ(s.cx, size.cx);
    int changed = 0;
    for (int y = 2; y < 2 + 2 * size.cy; ++y)
        for (int x = 2; x < 2 + 2 * size.cx; ++x)
            changed += b.Canvas()->Pixels(x, y) != clFuchsia;
    EXPECT_GT(changed, size.cx * size.cy);
    EXPECT_EQ(b.Canvas()->Pixels(2 + 2 * size.cx, 2 + 2 * size.cy), clFuchsia);
}

TEST_F(HtmlDraw, StretchedBitmapFillsTheRectangle)
{
    TBitmap source(2, 2, pf24bit);
    source.Canvas()->Brush()->SetColor(clRed);
    source.Canvas()->FillRect(Rect(0, 0, 1, 2));
    source.Canvas()->Brush()->SetColor(clBlue);
    source.Canvas()->FillRect(Rect(1, 0, 2, 2));
    DrawStretchedBitmap(Canvas(), Rect(10, 10, 30, 20), &source);
    EXPECT_EQ(Canvas()->Pixels(10, 10), clRed);
    EXPECT_EQ(Canvas()->Pixels(19, 19), clRed);
    EXPECT_EQ(Canvas()->Pixels(20, 10), clBlue);
    EXPECT_EQ(Canvas()->Pixels(29, 19), clBlue);
    EXPECT_EQ(Canvas()->Pixels(30, 10), clWhite);
    EXPECT_EQ(Canvas()->Pixels(10, 20), clWhite);
}

// ---------------------------------------------------------------------------
// The organizer's own items, drawn as its list boxes draw them, for people to
// look at.

TEST_F(HtmlDraw, OrganizerSamples)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string application = std::string("<img src=\"ssys:") + self + "\">Lumero - Orvath (QMX)<br>" + self
                                    + "<br>- wersja: 1.0.0.12 (12.03.1999)<br>- zainstalowany poniedziałek, 3 maja 1999, 12:30";
    const std::string backup = "<b>Dane użytkownika.dat</b><br>    12 marca 1999, 14:05 - 12 KB<br>     "
                               "<a href=\"RESTORE:qmxKopiaZap1.cab:Dane użytkownika.dat\">Zapisz jako...</a>";

    const int gh = GH();
    TempFolder temp;
    const int iconWidth = ShellIconSize(false).cx;
    const int iconHeight = ShellIconSize(false).cy;
    int top = 0;
    TRect items[2];
    int index = 0;
    for (const std::string* html : {&application, &backup}) {
        // Item height: the measured height + 4; the markup 2 pixels in.
        std::string anchor, plain;
        int xsize = 0, ysize = 0;
        DrawHtmlText(Canvas(), *html, Rect(0, top, width, top + 1000), nullptr, 0, 0, true, true, false, 1.0, urlColor,
                     anchor, plain, xsize, ysize);
        TRect item = Rect(0, top, width, top + ysize + 4);
        Canvas()->Brush()->SetColor(clWindow);
        Canvas()->Pen()->SetColor(clWindow);
        Canvas()->Rectangle(item);
        TRect text = item;
        text.left += 2;
        DrawHtmlText(Canvas(), *html, text, nullptr, 0, 0, false, false, false, 1.0, urlColor, anchor, plain, xsize,
                     ysize);
        items[index++] = item;
        top = item.bottom;
    }

    // The application: four lines, the icon at the top left.
    EXPECT_EQ(items[0].bottom - items[0].top, std::max(gh, iconHeight) + 3 * gh + 4);
    const TColor window = static_cast<TColor>(ColorToRGB(clWindow));
    EXPECT_GT(Count(Rect(2, 0, 2 + iconWidth, iconHeight), [window](TColor c) { return c != window; }), 0);
    // The backup entry: three lines, a blue anchor on the last.
    EXPECT_EQ(items[1].bottom - items[1].top, 3 * gh + 4);
    EXPECT_GT(CountColor(Rect(2, items[1].top + 2 * gh, width, items[1].top + 3 * gh), urlColor), 0);
    std::string anchor, plain;
    int xsize = 0, ysize = 0;
    TRect text = items[1];
    text.left += 2;
    EXPECT_TRUE(DrawHtmlText(Canvas(), backup, text, nullptr, 2 + W("     Zap"), items[1].top + 2 * gh + 3, true,
                             false, false, 1.0, urlColor, anchor, plain, xsize, ysize));
    EXPECT_EQ(anchor, "RESTORE:qmxKopiaZap1.cab:Dane użytkownika.dat");

    TBitmap picture(width, top, pf24bit);
    picture.Canvas()->CopyRect(Rect(0, 0, width, top), Canvas(), Rect(0, 0, width, top));
    SavePicture(picture, temp.Path(), "html_organizer_items.png");
}

// Drawing and window routines, checked by pixels and window positions.
#include <windows.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "components/VCLUtils.h"

namespace {

// A bitmap filled with one colour, in a format that keeps colours exact.
std::unique_ptr<TBitmap> Filled(int width, int height, TColor color)
{
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

struct PixelRow {
    int x, y;
    TColor color;
};

void ExpectPixels(TBitmap* bitmap, std::initializer_list<PixelRow> rows)
{
    for (const PixelRow& r : rows) {
        SCOPED_TRACE("pixel " + std::to_string(r.x) + "," + std::to_string(r.y));
        EXPECT_EQ(static_cast<unsigned>(bitmap->Canvas()->Pixels(r.x, r.y)), static_cast<unsigned>(r.color));
    }
}

TEST(VCLUtils, CheckerBrushBitmap)
{
    std::unique_ptr<TBitmap> checker(MakeCheckerBrushBitmap(clRed, clBlue));
    ASSERT_EQ(checker->Width(), 8);
    ASSERT_EQ(checker->Height(), 8);
    ExpectPixels(checker.get(), {{0, 0, clBlue}, {1, 0, clRed}, {0, 1, clRed}, {1, 1, clBlue}, {6, 3, clRed},
                                 {7, 7, clBlue}, {7, 6, clRed}});
}

// The outline's pixels come out in the shadow colour, with the highlight one
// pixel down and right below them; everything else is the back colour.
TEST(VCLUtils, DisabledBitmap)
{
    auto source = Filled(8, 8, clWhite);
    source->Canvas()->SetPixels(2, 2, clBlack);
    source->Canvas()->SetPixels(3, 3, clBlack);
    source->Canvas()->SetPixels(6, 1, clRed);

    std::unique_ptr<TBitmap> embossed(MakeDisabledBitmap(source.get(), clBlack, clYellow, clLime, clNavy, true));
    ASSERT_EQ(embossed->Width(), 8);
    ExpectPixels(embossed.get(), {{0, 0, clYellow}, {2, 2, clNavy}, {3, 3, clNavy}, {4, 4, clLime}, {6, 1, clYellow},
                                  {7, 2, clYellow}, {3, 2, clYellow}});

    std::unique_ptr<TBitmap> flat(MakeDisabledBitmap(source.get(), clBlack, clYellow, clLime, clNavy, false));
    ExpectPixels(flat.get(), {{2, 2, clNavy}, {3, 3, clNavy}, {4, 4, clYellow}});

    // Another outline colour picks other pixels; the source is not changed.
    std::unique_ptr<TBitmap> red(MakeDisabledBitmap(source.get(), clRed, clWhite, clLime, clNavy, false));
    ExpectPixels(red.get(), {{6, 1, clNavy}, {2, 2, clWhite}});
    ExpectPixels(source.get(), {{2, 2, clBlack}, {6, 1, clRed}});
}

TEST(VCLUtils, DrawImageDisabled)
{
    TImageList images(nullptr, 16, 16);
    auto image = Filled(16, 16, clFuchsia);
    image->Canvas()->Brush()->SetColor(clRed);
    image->Canvas()->FillRect(Rect(4, 4, 8, 8));
    images.AddMasked(image.get(), clFuchsia);

    auto canvas = Filled(40, 40, clWhite);
    canvas->Canvas()->Brush()->SetColor(clAqua);
    DrawImageDisabled(&images, canvas->Canvas(), 10, 10, 0, clLime, clNavy, true);
    ExpectPixels(canvas.get(), {{10, 10, clWhite}, {14, 14, clNavy}, {17, 17, clNavy}, {18, 18, clLime},
                                {18, 14, clWhite}, {15, 18, clLime}, {26, 26, clWhite}});
    EXPECT_EQ(canvas->Canvas()->Brush()->Color(), clAqua);

    DrawImageDisabled(&images, canvas->Canvas(), 0, 20, 0, clLime, clMaroon, false);
    ExpectPixels(canvas.get(), {{4, 24, clMaroon}, {8, 28, clWhite}});
}

TEST(VCLUtils, ShortenToWidth)
{
    auto bitmap = Filled(10, 10, clWhite);
    TCanvas* canvas = bitmap->Canvas();
    const std::string text = "Zażółć gęślą jaźń";
    int full = canvas->TextWidth(text);
    int dots = canvas->TextWidth("...");
    ASSERT_GT(full, dots);

    EXPECT_EQ(ShortenToWidth(text, canvas, full), text);
    EXPECT_EQ(ShortenToWidth(text, canvas, dots - 1), "...");
    EXPECT_EQ(ShortenToWidth(text, canvas, dots), "...");
    EXPECT_EQ(ShortenToWidth("", canvas, -1), "...");
    for (int width : {full - 1, full / 2, dots + canvas->TextWidth("Z")}) {
        SCOPED_TRACE(width);
        std::string shortened = ShortenToWidth(text, canvas, width);
        ASSERT_GT(shortened.size(), 3u);
        std::string kept = shortened.substr(0, shortened.size() - 3);
        EXPECT_EQ(shortened.substr(kept.size()), "...");
        EXPECT_EQ(text.compare(0, kept.size(), kept), 0);
        EXPECT_LE(canvas->TextWidth(shortened), width);
        // The longest that fits, and never more than all but two characters.
        EXPECT_LE(kept.size(), text.size() - 2);
        if (kept.size() < text.size() - 2) {
            EXPECT_GT(canvas->TextWidth(text.substr(0, kept.size() + 1) + "..."), width);
        }
    }
}

TEST(VCLUtils, KeepRectOnScreen)
{
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    struct Row {
        TRect r;
        TRect result;
    } rows[] = {
        {Rect(10, 20, 110, 120), Rect(10, 20, 110, 120)},
        {Rect(w - 50, h - 10, w + 50, h + 10), Rect(w - 100, h - 20, w, h)},
        {Rect(-30, -5, 70, 95), Rect(0, 0, 100, 100)},
        {Rect(-10, -10, w + 10, h + 10), Rect(0, 0, w + 20, h + 20)},  // larger than the screen: left and top win
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.r.left) + "," + std::to_string(r.r.top));
        TRect moved = r.r;
        KeepRectOnScreen(moved);
        EXPECT_TRUE(EqualRect(&moved, &r.result)) << moved.left << "," << moved.top << "," << moved.right << ","
                                                  << moved.bottom;
    }
}

class WindowTest : public testing::Test {
protected:
    HWND MakeWindow(int width, int height)
    {
        HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "okno", WS_POPUP, 5, 5, width, height, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        windows_.push_back(wnd);
        return wnd;
    }
    void TearDown() override
    {
        for (HWND w : windows_)
            DestroyWindow(w);
    }

private:
    std::vector<HWND> windows_;
};

TEST_F(WindowTest, CenterWindowOnScreen)
{
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    struct Row {
        int width, height;
        int left, top;
    } rows[] = {
        {201, 101, (w - 201) / 2, (h - 101) / 2},
        {w + 300, 100, 0, (h - 100) / 2},
        {100, h + 1, (w - 100) / 2, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.width) + "x" + std::to_string(r.height));
        HWND wnd = MakeWindow(r.width, r.height);
        CenterWindowOnScreen(wnd);
        RECT rc;
        GetWindowRect(wnd, &rc);
        EXPECT_EQ(rc.left, r.left);
        EXPECT_EQ(rc.top, r.top);
        EXPECT_EQ(rc.right - rc.left, r.width);
        EXPECT_FALSE(IsWindowVisible(wnd));
    }
}

TEST_F(WindowTest, DropPendingMessage)
{
    HWND wnd = MakeWindow(10, 10);
    MSG m;
    PostMessageA(wnd, WM_USER, 1, 0);
    PostMessageA(wnd, WM_USER, 2, 0);
    DropPendingMessage(wnd, WM_USER);
    ASSERT_TRUE(PeekMessageA(&m, wnd, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_EQ(m.wParam, 2u);
    EXPECT_FALSE(PeekMessageA(&m, wnd, WM_USER, WM_USER, PM_NOREMOVE));

    // A quit request met on the way stays alive.
    PostQuitMessage(7);
    DropPendingMessage(wnd, WM_USER);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(m.wParam, 7u);
}

TEST_F(WindowTest, OwnsActiveWindow)
{
    HWND wnd = MakeWindow(50, 50);
    ShowWindow(wnd, SW_SHOW);
    SetForegroundWindow(wnd);
    SetActiveWindow(wnd);
    EXPECT_TRUE(OwnsActiveWindow());
    DestroyWindow(wnd);
    EXPECT_FALSE(OwnsActiveWindow());
}

} // namespace

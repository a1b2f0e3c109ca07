#include "classlib/PngWriter.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/TestUtil.h"

namespace {

std::uint32_t BigEndian(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

// A top-level window painted in one colour by its class brush.
class ColouredWindow {
public:
    ColouredWindow(COLORREF color, int x, int y, int width, int height) : brush_(CreateSolidBrush(color))
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = brush_.Get();
        wc.lpszClassName = "QmxGraphicsCaptureTest";
        RegisterClassA(&wc);
        wnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, x, y,
                               width, height, nullptr, nullptr, wc.hInstance, nullptr);
        UpdateWindow(wnd_);
        MSG msg;
        for (int i = 0; i < 20; ++i) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            Sleep(10);
        }
    }
    ~ColouredWindow()
    {
        DestroyWindow(wnd_);
        UnregisterClassA("QmxGraphicsCaptureTest", GetModuleHandleA(nullptr));
    }
    HWND Get() const { return wnd_; }

private:
    TGdiObject<HBRUSH> brush_;
    HWND wnd_ = nullptr;
};

} // namespace

TEST(PngWriter, CapturesWhatTheWindowShows)
{
    ColouredWindow window(RGB(200, 30, 40), 100, 120, 60, 40);
    ASSERT_NE(window.Get(), nullptr);
    auto picture = CaptureWindow(window.Get());
    EXPECT_EQ(picture->Width(), 60);
    EXPECT_EQ(picture->Height(), 40);
    EXPECT_EQ(picture->PixelFormat(), pf24bit);
    for (POINT p : {POINT{0, 0}, POINT{30, 20}, POINT{59, 39}}) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        EXPECT_EQ(picture->Canvas()->Pixels(p.x, p.y), static_cast<TColor>(RGB(200, 30, 40)));
    }

    TempFolder temp;
    SaveWindowToPng(window.Get(), temp.Path() + "okno.png");
    const std::string png = ReadWholeFile(temp.Path() + "okno.png");
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian(png, 16), 60u);
    EXPECT_EQ(BigEndian(png, 20), 40u);
    EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
}

TEST(PngWriter, Failures)
{
    TempFolder temp;
    TBitmap empty;
    EXPECT_THROW(SaveBitmapToPng(&empty, temp.Path() + "a.png"), EInvalidGraphic);
    TBitmap one(1, 1, pf24bit);
    EXPECT_THROW(SaveBitmapToPng(&one, temp.Path() + "no such folder\\a.png"), EFCreateError);
    EXPECT_THROW(CaptureWindow(nullptr), EOSError);
    // The bitmap stays usable after its pixels were read.
    SaveBitmapToPng(&one, temp.Path() + "b.png");
    one.Canvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(one.Canvas()->Pixels(0, 0), clRed);
}

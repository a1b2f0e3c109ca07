// Writes PNG files of known pixels into the current folder, for a check that
// decodes them with a real zlib on the host (check_png.py).
#include <windows.h>

#include <cstdio>

#include "classlib/Graphics.h"
#include "classlib/PngWriter.h"
#include "tests/support/TestUtil.h"

namespace {

// The same formula is in check_png.py: flat bands (long matches), noise
// (literals) and gradients (short matches at many distances).
COLORREF PatternPixel(unsigned x, unsigned y)
{
    if (y < 40) {
        unsigned band = x / 32;
        return RGB(band * 40, 200, 255 - band * 30);
    }
    if (y < 80) {
        unsigned h = (x * 73856093u) ^ (y * 19349663u);
        return RGB(h & 255, (h >> 8) & 255, (h >> 16) & 255);
    }
    return RGB(x & 255, (y * 3) & 255, (x + y) & 255);
}

} // namespace

int main()
{
    MarkStarted();
    try {
        TBitmap small(3, 2, pf24bit);
        const TColor colors[2][3] = {{clRed, clLime, clBlue}, {clWhite, clBlack, 0x123456}};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                small.Canvas()->SetPixels(x, y, colors[y][x]);
        SaveBitmapToPng(&small, "small.png");

        TBitmap pattern(257, 131, pf24bit);
        for (int y = 0; y < pattern.Height(); ++y)
            for (int x = 0; x < pattern.Width(); ++x)
                pattern.Canvas()->SetPixels(x, y, static_cast<TColor>(PatternPixel(x, y)));
        SaveBitmapToPng(&pattern, "pattern.png");
    } catch (const Exception& e) {
        std::fprintf(stderr, "png_sample: %s\n", e.what());
        return MarkEnded(1);
    }
    return MarkEnded(0);
}

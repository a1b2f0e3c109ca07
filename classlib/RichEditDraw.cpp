#include "classlib/RichEditDraw.h"

#include <richedit.h>

#include <cmath>

namespace {

// Keeps a device context's state (map mode, viewport, clipping) for a scope.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~TSavedDC()
    {
        if (saved_)
            RestoreDC(dc_, saved_);
    }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

int ToTwips(int pixels, int resolution)
{
    return static_cast<int>(std::lround(pixels * 1440.0 / resolution));
}

// What the format-range request formats of the whole text; 0 for nothing.
LRESULT FormatRange(HWND richEdit, HDC dc, const TRect& rect)
{
    TSavedDC saved(dc);
    TRect device = rect;
    LPtoDP(dc, reinterpret_cast<POINT*>(&device), 2);
    SetMapMode(dc, MM_TEXT);
    const int resX = GetDeviceCaps(dc, LOGPIXELSX);
    const int resY = GetDeviceCaps(dc, LOGPIXELSY);
    const int inset = 2 * resX / 96;
    FORMATRANGE range{};
    range.hdc = dc;
    range.hdcTarget = dc;
    range.rcPage = {ToTwips(device.left, resX), ToTwips(device.top, resY), ToTwips(device.right, resX),
                    ToTwips(device.bottom, resY)};
    range.rc = {ToTwips(device.left + inset, resX), ToTwips(device.top + inset, resY),
                ToTwips(device.right + inset, resX), ToTwips(device.bottom + inset, resY)};
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    const LRESULT formatted = SendMessageA(richEdit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    // Lets the rich edit drop what it cached for the request.
    SendMessageA(richEdit, EM_FORMATRANGE, FALSE, 0);
    return formatted;
}

} // namespace

bool DrawRichEditText(HWND richEdit, HDC dc, const TRect& rect, TColor background)
{
    if (FormatRange(richEdit, dc, rect) > 0)
        return true;
    GETTEXTLENGTHEX length{GTL_DEFAULT, CP_ACP};
    if (SendMessageA(richEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0) <= 0)
        return true;
    // Wine: the rich edit prints itself where it would not format a range.
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    SetWindowPos(richEdit, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(richEdit, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(background)));
    TSavedDC saved(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    POINT at{rect.left, rect.top};
    LPtoDP(dc, &at, 1);
    POINT zero{0, 0};
    LPtoDP(dc, &zero, 1);
    SetViewportOrgEx(dc, origin.x + at.x - zero.x, origin.y + at.y - zero.y, nullptr);
    SendMessageA(richEdit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    return false;
}

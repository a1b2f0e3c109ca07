#include "components/VCLUtils.h"

#include <memory>

#include "classlib/ImgList.h"

namespace {

// Paints the brush where the monochrome source is white and keeps the
// destination where it is black.
constexpr DWORD ropDSPDxax = 0x00E20746;

// Transfers a monochrome bitmap onto dc in the brush colour by its white
// pixels (as the dc's text and background colours decide).
void BlitInColor(HDC dc, int x, int y, int width, int height, HDC mono, TColor color)
{
    TGdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color)));
    TSelectObject select(dc, brush.Get());
    BitBlt(dc, x, y, width, height, mono, 0, 0, ropDSPDxax);
}

} // namespace

TBitmap* MakeDisabledBitmap(TBitmap* Source, TColor OutlineColor, TColor BackColor, TColor HighlightColor,
                            TColor ShadowColor, bool DrawHighlight)
{
    auto mono = std::make_unique<TBitmap>();
    mono->Assign(Source);
    mono->SetHandleType(bmDDB);
    if (mono->Monochrome()) {
        mono->Canvas()->Font()->SetColor(clWhite);
        mono->Canvas()->Brush()->SetColor(clWhite);
        mono->SetMonochrome(false);
    }
    mono->Canvas()->Brush()->SetColor(OutlineColor);
    mono->SetMonochrome(true);

    int width = mono->Width(), height = mono->Height();
    auto result = std::make_unique<TBitmap>(width, height);
    TCanvas* canvas = result->Canvas();
    canvas->Brush()->SetColor(BackColor);
    canvas->FillRect(Rect(0, 0, width, height));
    HDC dc = canvas->Handle();
    HDC monoDC = mono->Canvas()->Handle();
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    if (DrawHighlight)
        BlitInColor(dc, 1, 1, width, height, monoDC, HighlightColor);
    BlitInColor(dc, 0, 0, width, height, monoDC, ShadowColor);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    return result.release();
}

TBitmap* MakeDisabledGlyph(TBitmap* Source, TColor OutlineColor)
{
    return MakeDisabledBitmap(Source, OutlineColor, clBtnFace, clBtnHighlight, clBtnShadow, true);
}

void DrawImageDisabled(TCustomImageList* Images, TCanvas* Canvas, int X, int Y, int Index, TColor HighlightColor,
                       TColor GrayColor, bool DrawHighlight)
{
    int width = Images->Width(), height = Images->Height();
    TBitmap mask(width, height, pf1bit);
    HDC maskDC = mask.Canvas()->Handle();
    PatBlt(maskDC, 0, 0, width, height, WHITENESS);
    ImageList_Draw(Images->Handle(), Index, maskDC, 0, 0, ILD_MASK);

    HDC dc = Canvas->Handle();
    COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
    COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
    if (DrawHighlight)
        BlitInColor(dc, X + 1, Y + 1, width, height, maskDC, HighlightColor);
    BlitInColor(dc, X, Y, width, height, maskDC, GrayColor);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

TBitmap* MakeCheckerBrushBitmap(TColor Color1, TColor Color2)
{
    auto result = std::make_unique<TBitmap>(8, 8);
    TCanvas* canvas = result->Canvas();
    canvas->Brush()->SetColor(Color1);
    canvas->FillRect(Rect(0, 0, 8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = y % 2; x < 8; x += 2)
            canvas->SetPixels(x, y, Color2);
    return result.release();
}

void DropPendingMessage(HWND Window, UINT Msg)
{
    MSG m;
    if (PeekMessageA(&m, Window, Msg, Msg, PM_REMOVE) && m.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(m.wParam));
}

void KeepRectOnScreen(TRect& R)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (R.right > width)
        OffsetRect(&R, width - R.right, 0);
    if (R.left < 0)
        OffsetRect(&R, -R.left, 0);
    if (R.bottom > height)
        OffsetRect(&R, 0, height - R.bottom);
    if (R.top < 0)
        OffsetRect(&R, 0, -R.top);
}

void CenterWindowOnScreen(HWND Window)
{
    TRect r;
    GetWindowRect(Window, &r);
    int width = RectWidth(r), height = RectHeight(r);
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    r = Bounds(left, top, width, height);
    KeepRectOnScreen(r);
    SetWindowPos(Window, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

std::string ShortenToWidth(const std::string& Text, TCanvas* Canvas, int MaxWidth)
{
    if (Canvas->TextWidth(Text) <= MaxWidth)
        return Text;
    int length = static_cast<int>(Text.size());
    for (int k = 1; k <= length; ++k) {
        int keep = length - k - 1;
        std::string shortened = (keep > 0 ? Text.substr(0, keep) : std::string()) + "...";
        if (Canvas->TextWidth(shortened) <= MaxWidth)
            return shortened;
    }
    return "...";
}

bool OwnsActiveWindow()
{
    HWND active = GetActiveWindow();
    return active && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId();
}

#include "classlib/Graphics.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "classlib/TypInfo.h"

// ---------------------------------------------------------------------------
// Colours

namespace {

struct ColorName {
    TColor color;
    const char* name;
};

const ColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

bool SameAsciiText(const std::string& a, const char* b)
{
    std::size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

// A colour for GDI calls: system colours resolved, and the palette-relative
// flag dropped (the programs draw on true-colour surfaces, where it would
// only stop exact colour matches).
COLORREF GdiColor(TColor color)
{
    COLORREF rgb = ColorToRGB(color);
    if ((rgb & 0xFF000000u) == static_cast<COLORREF>(clPaletteRelative))
        rgb &= 0x00FFFFFFu;
    return rgb;
}

} // namespace

COLORREF ColorToRGB(TColor color)
{
    if (color < 0)
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color);
}

bool ColorToIdent(TColor color, std::string& name)
{
    for (const ColorName& c : kColorNames)
        if (c.color == color) {
            name = c.name;
            return true;
        }
    return false;
}

bool IdentToColor(const std::string& name, TColor& color)
{
    for (const ColorName& c : kColorNames)
        if (SameAsciiText(name, c.name)) {
            color = c.color;
            return true;
        }
    return false;
}

std::string ColorToString(TColor color)
{
    std::string name;
    if (ColorToIdent(color, name))
        return name;
    char buf[16];
    wsprintfA(buf, "$%08X", static_cast<unsigned>(color));
    return buf;
}

TColor StringToColor(const std::string& text)
{
    TColor color;
    if (IdentToColor(text, color))
        return color;
    const char* s = text.c_str();
    int base = 10;
    if (s[0] == '$') {
        base = 16;
        ++s;
    } else if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s += 2;
    }
    // strtoll would accept leading blanks, and a sign after a hex prefix.
    const bool startsWell = (*s >= '0' && *s <= '9') || (*s >= 'a' && *s <= 'f') || (*s >= 'A' && *s <= 'F') ||
                            (base == 10 && (*s == '-' || *s == '+'));
    char* end = nullptr;
    errno = 0;
    const long long value = startsWell ? std::strtoll(s, &end, base) : 0;
    if (!startsWell || *end != '\0' || errno != 0 || value < -2147483648LL || value > 0xFFFFFFFFLL)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return static_cast<TColor>(static_cast<std::uint32_t>(value));
}

// ---------------------------------------------------------------------------
// Font

int ScreenPixelsPerInch()
{
    static const int ppi = [] {
        TWindowDC screen;
        int value = GetDeviceCaps(screen.Get(), LOGPIXELSY);
        return value > 0 ? value : 96;
    }();
    return ppi;
}

int FontTextHeight(HFONT font)
{
    TWindowDC screen;
    TSelectObject select(screen.Get(), font);
    TEXTMETRICA tm{};
    GetTextMetricsA(screen.Get(), &tm);
    return tm.tmHeight;
}

TFont::TFont()
    : name_("MS Sans Serif"), height_(-MulDiv(8, ScreenPixelsPerInch(), 72)), pixelsPerInch_(ScreenPixelsPerInch())
{
}

TFont::~TFont() = default;

void TFont::Changed(bool handleStale)
{
    if (handleStale)
        stale_ = true;
    OnChange(this);
}

void TFont::SetName(const std::string& name)
{
    if (name.empty() || name == name_)
        return;
    name_ = name;
    Changed(true);
}

int TFont::Size() const
{
    return -MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, pixelsPerInch_, 72));
}

void TFont::SetHeight(int height)
{
    if (height == height_)
        return;
    height_ = height;
    Changed(true);
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed(true);
}

void TFont::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed(false);
}

void TFont::SetCharset(BYTE charset)
{
    if (charset == charset_)
        return;
    charset_ = charset;
    Changed(true);
}

void TFont::SetPixelsPerInch(int ppi)
{
    if (ppi > 0)
        pixelsPerInch_ = ppi;
}

HFONT TFont::Handle()
{
    if (stale_ || !handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = style_.Contains(fsItalic);
        lf.lfUnderline = style_.Contains(fsUnderline);
        lf.lfStrikeOut = style_.Contains(fsStrikeOut);
        lf.lfCharSet = charset_;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH;
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.Reset(CreateFontIndirectA(&lf));
        stale_ = false;
    }
    return handle_.Get();
}

const TClassInfo* TFont::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TFont::StaticClass()
{
    static const TClassInfo info("TFont", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishInteger<&TFont::Charset, &TFont::SetCharset>("Charset"),
                                     PublishColor<&TFont::Color, &TFont::SetColor>("Color"),
                                     PublishInteger<&TFont::Height, &TFont::SetHeight>("Height"),
                                     PublishString<&TFont::Name, &TFont::SetName>("Name"),
                                     PublishInteger<&TFont::Size, &TFont::SetSize>("Size"),
                                     PublishSet<&TFont::StyleBits, &TFont::SetStyleBits>(
                                         "Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}),
                                 });
    return info;
}

void TFont::Assign(const TPersistent* source)
{
    const TFont* f = dynamic_cast<const TFont*>(source);
    if (!f) {
        TPersistent::Assign(source);
        return;
    }
    if (f == this)
        return;
    int height = f->pixelsPerInch_ == pixelsPerInch_ ? f->height_ : -MulDiv(f->Size(), pixelsPerInch_, 72);
    bool stale = f->name_ != name_ || height != height_ || f->style_ != style_ || f->charset_ != charset_;
    bool changed = stale || f->color_ != color_;
    name_ = f->name_;
    height_ = height;
    style_ = f->style_;
    charset_ = f->charset_;
    color_ = f->color_;
    if (changed)
        Changed(stale);
}

// ---------------------------------------------------------------------------
// Pen

void TPen::Changed()
{
    stale_ = true;
    OnChange(this);
}

void TPen::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width)
{
    if (width == width_)
        return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TPen::SetMode(TPenMode mode)
{
    if (mode == mode_)
        return;
    mode_ = mode;
    Changed();
}

HPEN TPen::Handle()
{
    if (stale_ || !handle_) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_.Reset(CreatePen(styles[style_], width_, GdiColor(color_)));
        stale_ = false;
    }
    return handle_.Get();
}

void TPen::Assign(const TPersistent* source)
{
    const TPen* p = dynamic_cast<const TPen*>(source);
    if (!p) {
        TPersistent::Assign(source);
        return;
    }
    if (p == this)
        return;
    bool changed = p->color_ != color_ || p->width_ != width_ || p->style_ != style_ || p->mode_ != mode_;
    color_ = p->color_;
    width_ = p->width_;
    style_ = p->style_;
    mode_ = p->mode_;
    if (changed)
        Changed();
}

// ---------------------------------------------------------------------------
// Brush

void TBrush::Changed()
{
    stale_ = true;
    OnChange(this);
}

void TBrush::SetColor(TColor color)
{
    if (color == color_ && style_ != bsClear)
        return;
    color_ = color;
    if (style_ == bsClear)
        style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap)
{
    if (bitmap == bitmap_)
        return;
    bitmap_ = bitmap;
    Changed();
}

HBRUSH TBrush::Handle()
{
    if (stale_ || !handle_) {
        HBRUSH brush = nullptr;
        if (bitmap_ && !bitmap_->Empty()) {
            // The pattern is copied from the bitmap, which must not be
            // selected into its canvas meanwhile.
            bitmap_->Dormant();
            brush = CreatePatternBrush(bitmap_->Handle());
        } else {
            static const int hatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
            LOGBRUSH lb{};
            lb.lbColor = GdiColor(color_);
            lb.lbStyle = style_ == bsSolid ? BS_SOLID : style_ == bsClear ? BS_HOLLOW : BS_HATCHED;
            lb.lbHatch = static_cast<ULONG_PTR>(hatches[style_]);
            brush = CreateBrushIndirect(&lb);
        }
        handle_.Reset(brush);
        stale_ = false;
    }
    return handle_.Get();
}

void TBrush::Assign(const TPersistent* source)
{
    const TBrush* b = dynamic_cast<const TBrush*>(source);
    if (!b) {
        TPersistent::Assign(source);
        return;
    }
    if (b == this)
        return;
    bool changed = b->color_ != color_ || b->style_ != style_ || b->bitmap_ != bitmap_;
    color_ = b->color_;
    style_ = b->style_;
    bitmap_ = b->bitmap_;
    if (changed)
        Changed();
}

// ---------------------------------------------------------------------------
// Canvas

TCanvas::TCanvas() : font_(new TFont), pen_(new TPen), brush_(new TBrush)
{
    font_->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
    pen_->OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
    brush_->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
}

TCanvas::~TCanvas()
{
    SetHandle(nullptr);
}

HDC TCanvas::Handle()
{
    RequiredState(csHandleValid);
    return handle_;
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == handle_)
        return;
    if (handle_)
        DeselectHandles();
    handle_ = dc;
    state_ = dc ? unsigned(csHandleValid) : 0u;
}

void TCanvas::DeselectHandles()
{
    if (handle_) {
        if (oldFont_)
            SelectObject(handle_, oldFont_);
        if (oldPen_)
            SelectObject(handle_, oldPen_);
        if (oldBrush_)
            SelectObject(handle_, oldBrush_);
    }
    oldFont_ = oldPen_ = oldBrush_ = nullptr;
    state_ &= ~(csFontValid | csPenValid | csBrushValid);
}

void TCanvas::RequiredState(unsigned state)
{
    unsigned needed = state & ~state_;
    if (needed == 0)
        return;
    if (needed & csHandleValid) {
        CreateHandle();
        if (!handle_)
            throw EInvalidGraphicOperation("Canvas does not allow drawing");
    }
    if (needed & csFontValid) {
        HGDIOBJ old = SelectObject(handle_, font_->Handle());
        if (!oldFont_)
            oldFont_ = old;
        SetTextColor(handle_, GdiColor(font_->Color()));
    }
    if (needed & csPenValid) {
        static const int modes[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                                    R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,
                                    R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
        HGDIOBJ old = SelectObject(handle_, pen_->Handle());
        if (!oldPen_)
            oldPen_ = old;
        SetROP2(handle_, modes[pen_->Mode()]);
    }
    if (needed & csBrushValid) {
        HBRUSH brush = brush_->Handle();
        UnrealizeObject(brush);
        HGDIOBJ old = SelectObject(handle_, brush);
        if (!oldBrush_)
            oldBrush_ = old;
        SetBkColor(handle_, GdiColor(brush_->Color()));
        SetBkMode(handle_, brush_->Style() == bsClear ? TRANSPARENT : OPAQUE);
    }
    state_ |= needed;
}

// A change of the font, pen or brush deselects it at once: its old GDI object
// may be deleted before the next drawing call selects the new one.
void TCanvas::FontChanged(TObject*)
{
    if (state_ & csFontValid) {
        SelectObject(handle_, GetStockObject(SYSTEM_FONT));
        state_ &= ~csFontValid;
    }
}

void TCanvas::PenChanged(TObject*)
{
    if (state_ & csPenValid) {
        SelectObject(handle_, GetStockObject(BLACK_PEN));
        state_ &= ~csPenValid;
    }
}

void TCanvas::BrushChanged(TObject*)
{
    if (state_ & csBrushValid) {
        SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
        state_ &= ~csBrushValid;
    }
}

TPoint TCanvas::PenPos()
{
    RequiredState(csHandleValid);
    TPoint p{};
    GetCurrentPositionEx(handle_, &p);
    return p;
}

void TCanvas::MoveTo(int x, int y)
{
    RequiredState(csHandleValid);
    MoveToEx(handle_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::LineTo(handle_, x, y);
}

void TCanvas::Polyline(const TPoint* points, int count)
{
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Polyline(handle_, points, count);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Rectangle(handle_, x1, y1, x2, y2);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight)
{
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::RoundRect(handle_, x1, y1, x2, y2, cornerWidth, cornerHeight);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Ellipse(handle_, x1, y1, x2, y2);
}

void TCanvas::Polygon(const TPoint* points, int count)
{
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Polygon(handle_, points, count);
}

HDC TCanvas::TextHandle()
{
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    return handle_;
}

void TCanvas::FillRect(const TRect& r)
{
    RequiredState(csHandleValid | csBrushValid);
    ::FillRect(handle_, &r, brush_->Handle());
}

void TCanvas::FrameRect(const TRect& r)
{
    RequiredState(csHandleValid | csBrushValid);
    ::FrameRect(handle_, &r, brush_->Handle());
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    RequiredState(csHandleValid | csBrushValid);
    ::DrawFocusRect(handle_, &r);
}

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    ExtTextOutA(handle_, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    MoveTo(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    UINT options = ETO_CLIPPED;
    if (brush_->Style() != bsClear)
        options |= ETO_OPAQUE;
    ExtTextOutA(handle_, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

TSize TCanvas::TextExtent(const std::string& text)
{
    RequiredState(csHandleValid | csFontValid);
    TSize size{};
    GetTextExtentPoint32A(handle_, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (graphic && !graphic->Empty())
        StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    // Text and background colours (from the font and the brush) colour the
    // black and white pixels of a monochrome picture.
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    graphic->Draw(this, r);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect)
{
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    HDC src = source->Handle();
    StretchBlt(handle_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src, sourceRect.left,
               sourceRect.top, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top, copyMode_);
}

namespace {

// A monochrome mask of a rectangle of a device context: white where the
// pixel has the colour, black elsewhere.
HBITMAP MakeColorMask(HDC src, int x, int y, int width, int height, COLORREF color)
{
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    TMemoryDC dc;
    TSelectObject sel(dc.Get(), mask);
    COLORREF oldBk = SetBkColor(src, color);
    BitBlt(dc.Get(), 0, 0, width, height, src, x, y, SRCCOPY);
    SetBkColor(src, oldBk);
    return mask;
}

// Raster operation "DSPDxax": the brush where the source is white, the
// destination where it is black.
constexpr DWORD kRopDSPDxax = 0x00E20746;

} // namespace

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& sourceRect, TColor color)
{
    if (!bitmap || bitmap->Empty())
        return;
    RequiredState(csHandleValid | csBrushValid);
    HDC src = bitmap->Canvas()->Handle();
    const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    const int sw = sourceRect.right - sourceRect.left, sh = sourceRect.bottom - sourceRect.top;
    if (sw <= 0 || sh <= 0)
        return;
    StretchBlt(handle_, dest.left, dest.top, dw, dh, src, sourceRect.left, sourceRect.top, sw, sh, SRCCOPY);
    TGdiObject<HBITMAP> mask(MakeColorMask(src, sourceRect.left, sourceRect.top, sw, sh, GdiColor(color)));
    TMemoryDC maskDc;
    TSelectObject sel(maskDc.Get(), mask.Get());
    COLORREF oldText = SetTextColor(handle_, RGB(0, 0, 0));
    COLORREF oldBk = SetBkColor(handle_, RGB(255, 255, 255));
    StretchBlt(handle_, dest.left, dest.top, dw, dh, maskDc.Get(), 0, 0, sw, sh, kRopDSPDxax);
    SetTextColor(handle_, oldText);
    SetBkColor(handle_, oldBk);
}

TColor TCanvas::Pixels(int x, int y)
{
    RequiredState(csHandleValid);
    return static_cast<TColor>(GetPixel(handle_, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color)
{
    RequiredState(csHandleValid | csPenValid);
    ::SetPixel(handle_, x, y, GdiColor(color));
}

TRect TCanvas::ClipRect()
{
    RequiredState(csHandleValid);
    TRect r{};
    GetClipBox(handle_, &r);
    return r;
}

void TCanvas::Refresh()
{
    DeselectHandles();
}

// ---------------------------------------------------------------------------
// Graphic

void TGraphic::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Changed();
}

// ---------------------------------------------------------------------------
// Bitmap

// The canvas of a bitmap: a memory device context with the bitmap selected,
// made when first needed and let go whenever the bitmap's handle changes.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext()
    {
        if (!dc_)
            return;
        SetHandle(nullptr);
        if (oldBitmap_)
            SelectObject(dc_, oldBitmap_);
        DeleteDC(dc_);
        dc_ = nullptr;
        oldBitmap_ = nullptr;
    }

protected:
    void CreateHandle() override
    {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc)
            return;
        if (HBITMAP bitmap = bitmap_->handle_.Get())
            oldBitmap_ = SelectObject(dc, bitmap);
        dc_ = dc;
        SetHandle(dc);
    }

private:
    TBitmap* bitmap_;
    HDC dc_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
};

// The shape of a bitmap's picture: device-dependent (the screen's or
// monochrome), or a DIB section with its header, colour table and masks.
struct TBitmapFormat {
    TPixelFormat pixelFormat = pfDevice;
    bool dib = false;
    WORD bitCount = 0;
    DWORD compression = BI_RGB;
    DWORD masks[3] = {0, 0, 0};
    std::vector<RGBQUAD> colors;
};

namespace {

TPixelFormat PixelFormatOf(const DIBSECTION& ds, bool dib)
{
    int bpp = ds.dsBm.bmBitsPixel * ds.dsBm.bmPlanes;
    if (bpp == 1)
        return pf1bit;
    if (!dib)
        return pfDevice;
    switch (bpp) {
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 16:
        return ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x07E0 ? pf16bit : pf15bit;
    case 24:
        return pf24bit;
    case 32:
        return pf32bit;
    default:
        return pfCustom;
    }
}

} // namespace

namespace {

TBitmapFormat StandardFormat(TPixelFormat pf, bool dib);
HBITMAP CreateBitmapOf(const TBitmapFormat& f, int width, int height);

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format)
{
    SetPixelFormat(format);
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    // The canvas lets go of the bitmap before the bitmap is deleted.
    canvas_.reset();
}

TCanvas* TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TBitmapCanvas>(this);
    return canvas_.get();
}

void TBitmap::Dormant()
{
    if (canvas_)
        canvas_->FreeContext();
}

HBITMAP TBitmap::Handle()
{
    return handle_.Get();
}

TBitmapFormat TBitmap::CurrentFormat()
{
    if (!handle_)
        return StandardFormat(pixelFormat_, isDib_);
    TBitmapFormat f;
    f.pixelFormat = pixelFormat_;
    f.dib = isDib_;
    if (!isDib_)
        return f;
    DIBSECTION ds{};
    GetObjectA(handle_.Get(), sizeof ds, &ds);
    f.bitCount = ds.dsBmih.biBitCount;
    f.compression = ds.dsBmih.biCompression;
    if (f.compression == BI_BITFIELDS)
        std::memcpy(f.masks, ds.dsBitfields, sizeof f.masks);
    if (f.bitCount <= 8) {
        f.colors.resize(std::size_t(1) << f.bitCount);
        UINT n = GetDIBColorTable(Canvas()->Handle(), 0, static_cast<UINT>(f.colors.size()), f.colors.data());
        f.colors.resize(n);
    }
    return f;
}


void TBitmap::TakeHandle(HBITMAP bitmap)
{
    Dormant();
    handle_.Reset(bitmap);
    width_ = height_ = 0;
    if (bitmap) {
        DIBSECTION ds{};
        isDib_ = GetObjectA(bitmap, sizeof ds, &ds) == static_cast<int>(sizeof ds);
        width_ = ds.dsBm.bmWidth;
        height_ = ds.dsBm.bmHeight < 0 ? -ds.dsBm.bmHeight : ds.dsBm.bmHeight;
        pixelFormat_ = PixelFormatOf(ds, isDib_);
    }
    Changed();
}

void TBitmap::SetHandle(HBITMAP bitmap)
{
    if (bitmap != handle_.Get())
        TakeHandle(bitmap);
}

HBITMAP TBitmap::ReleaseHandle()
{
    Dormant();
    HBITMAP h = handle_.Release();
    width_ = height_ = 0;
    Changed();
    return h;
}

void TBitmap::Rebuild(int width, int height, const TBitmapFormat& format, TBitmap* source)
{
    if (width <= 0 || height <= 0) {
        Dormant();
        handle_.Reset();
        width_ = height_ = 0;
        // An empty bitmap remembers the format for its next picture; one
        // whose colour table or masks would be lost becomes 24-bit.
        const TPixelFormat pf = format.pixelFormat;
        const bool standard = pf == pfDevice || pf == pf1bit || pf == pf24bit || pf == pf32bit;
        pixelFormat_ = standard ? pf : pf24bit;
        isDib_ = standard ? format.dib : true;
        Changed();
        return;
    }
    TGdiObject<HBITMAP> fresh(CreateBitmapOf(format, width, height));
    if (!fresh)
        throw EInvalidGraphicOperation("Cannot create a bitmap of " + std::to_string(width) + " x " +
                                       std::to_string(height) + " pixels");
    TCanvas* canvas = Canvas();
    const COLORREF back = GdiColor(canvas->Brush()->Color());
    const COLORREF fore = GdiColor(canvas->Font()->Color());
    {
        TMemoryDC dc;
        TSelectObject sel(dc.Get(), fresh.Get());
        TGdiObject<HBRUSH> fill(CreateSolidBrush(back));
        RECT all{0, 0, width, height};
        ::FillRect(dc.Get(), &all, fill.Get());
        if (source && !source->Empty()) {
            HDC src = source->Canvas()->Handle();
            const int w = width < source->width_ ? width : source->width_;
            const int h = height < source->height_ ? height : source->height_;
            const bool toMono = format.pixelFormat == pf1bit && !source->Monochrome();
            const bool fromMono = source->Monochrome() && format.pixelFormat != pf1bit;
            // Colour to monochrome: pixels of the background colour of the
            // source become white. Monochrome to colour: black pixels take the
            // text colour and white ones the background colour.
            COLORREF oldSrcBk = 0;
            if (toMono)
                oldSrcBk = SetBkColor(src, back);
            if (fromMono) {
                SetTextColor(dc.Get(), fore);
                SetBkColor(dc.Get(), back);
            }
            BitBlt(dc.Get(), 0, 0, w, h, src, 0, 0, SRCCOPY);
            if (toMono)
                SetBkColor(src, oldSrcBk);
        }
    }
    Dormant();
    handle_ = std::move(fresh);
    width_ = width;
    height_ = height;
    DIBSECTION ds{};
    isDib_ = GetObjectA(handle_.Get(), sizeof ds, &ds) == static_cast<int>(sizeof ds);
    pixelFormat_ = PixelFormatOf(ds, isDib_);
    Changed();
}

void TBitmap::SetSize(int width, int height)
{
    if (width < 0)
        width = 0;
    if (height < 0)
        height = 0;
    if (width == width_ && height == height_)
        return;
    Rebuild(width, height, CurrentFormat(), this);
}

namespace {

TBitmapFormat StandardFormat(TPixelFormat pf, bool dib)
{
    TBitmapFormat f;
    f.pixelFormat = pf;
    f.dib = dib;
    switch (pf) {
    case pfDevice:
        f.dib = false;
        break;
    case pf1bit:
        f.bitCount = 1;
        f.colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
        break;
    case pf24bit:
        f.dib = true;
        f.bitCount = 24;
        break;
    case pf32bit:
        f.dib = true;
        f.bitCount = 32;
        break;
    default:
        throw EInvalidGraphicOperation("Unsupported pixel format");
    }
    return f;
}

HBITMAP CreateBitmapOf(const TBitmapFormat& f, int width, int height)
{
    if (!f.dib) {
        if (f.pixelFormat == pf1bit)
            return CreateBitmap(width, height, 1, 1, nullptr);
        TWindowDC screen;
        return CreateCompatibleBitmap(screen.Get(), width, height);
    }
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = f.bitCount;
    info.header.biCompression = f.compression;
    if (f.compression == BI_BITFIELDS)
        std::memcpy(info.colors, f.masks, sizeof f.masks);
    else if (!f.colors.empty()) {
        std::memcpy(info.colors, f.colors.data(), f.colors.size() * sizeof(RGBQUAD));
        info.header.biClrUsed = static_cast<DWORD>(f.colors.size());
    }
    void* bits = nullptr;
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
}

} // namespace

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == pixelFormat_ && (format != pfDevice || !isDib_))
        return;
    Rebuild(width_, height_, StandardFormat(format, isDib_), this);
}

void TBitmap::SetHandleType(TBitmapHandleType type)
{
    if (type == HandleType())
        return;
    if (type == bmDDB) {
        Rebuild(width_, height_, StandardFormat(Monochrome() ? pf1bit : pfDevice, false), this);
        return;
    }
    TPixelFormat pf = pf32bit;
    if (Monochrome())
        pf = pf1bit;
    else {
        TWindowDC screen;
        if (GetDeviceCaps(screen.Get(), BITSPIXEL) == 24)
            pf = pf24bit;
    }
    Rebuild(width_, height_, StandardFormat(pf, true), this);
}

void TBitmap::SetMonochrome(bool monochrome)
{
    if (monochrome == Monochrome())
        return;
    Rebuild(width_, height_, StandardFormat(monochrome ? pf1bit : pfDevice, false), this);
}

TColor TBitmap::TransparentColor()
{
    if (transparentMode_ == tmFixed)
        return transparentColor_;
    if (Empty())
        return clDefault;
    return Canvas()->Pixels(0, height_ - 1) | clPaletteRelative;
}

void TBitmap::SetTransparentColor(TColor color)
{
    if (color == transparentColor_ && (color == clDefault) == (transparentMode_ == tmAuto))
        return;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
    transparentColor_ = color;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode)
{
    if (mode == transparentMode_)
        return;
    if (mode == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}

void TBitmap::LoadImageFrom(HINSTANCE instance, const char* name, UINT flags, const std::string& what)
{
    HANDLE image = LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, flags | LR_CREATEDIBSECTION);
    if (!image)
        throw EInvalidGraphic(what);
    TakeHandle(static_cast<HBITMAP>(image));
}

void TBitmap::LoadFromFile(const std::string& fileName)
{
    if (GetFileAttributesA(fileName.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + SysErrorMessage(GetLastError()));
    LoadImageFrom(nullptr, fileName.c_str(), LR_LOADFROMFILE, "Bitmap image is not valid");
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name)
{
    LoadImageFrom(instance, name.c_str(), 0, "Resource " + name + " not found");
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id)
{
    LoadImageFrom(instance, MAKEINTRESOURCEA(id), 0, "Resource " + std::to_string(id) + " not found");
}

void TBitmap::Assign(const TPersistent* source)
{
    if (!source) {
        Rebuild(0, 0, StandardFormat(pfDevice, false), nullptr);
        return;
    }
    const TBitmap* b = dynamic_cast<const TBitmap*>(source);
    if (!b) {
        TGraphic::Assign(source);
        return;
    }
    if (b == this)
        return;
    // The source's picture is read through its canvas; the copy is exact
    // because it takes the source's own format.
    TBitmap* src = const_cast<TBitmap*>(b);
    transparent_ = src->transparent_;
    transparentMode_ = src->transparentMode_;
    transparentColor_ = src->transparentColor_;
    Rebuild(src->width_, src->height_, src->CurrentFormat(), src);
}

namespace {

// Draws with the pixels of colour `transparent` left out: the destination is
// XOR-ed with the picture, cleared where the mask is black (picture pixels),
// and XOR-ed with the picture again.
void TransparentStretch(HDC dest, const TRect& r, HDC src, int width, int height, COLORREF transparent)
{
    TGdiObject<HBITMAP> mask(MakeColorMask(src, 0, 0, width, height, transparent));
    TMemoryDC maskDc;
    TSelectObject sel(maskDc.Get(), mask.Get());
    const int dw = r.right - r.left, dh = r.bottom - r.top;
    COLORREF oldText = SetTextColor(dest, RGB(0, 0, 0));
    COLORREF oldBk = SetBkColor(dest, RGB(255, 255, 255));
    StretchBlt(dest, r.left, r.top, dw, dh, src, 0, 0, width, height, SRCINVERT);
    StretchBlt(dest, r.left, r.top, dw, dh, maskDc.Get(), 0, 0, width, height, SRCAND);
    StretchBlt(dest, r.left, r.top, dw, dh, src, 0, 0, width, height, SRCINVERT);
    SetTextColor(dest, oldText);
    SetBkColor(dest, oldBk);
}

} // namespace

void TBitmap::Draw(TCanvas* canvas, const TRect& rect)
{
    if (Empty())
        return;
    HDC dest = canvas->Handle();
    HDC src = Canvas()->Handle();
    int oldMode = 0;
    if (!Monochrome())
        oldMode = SetStretchBltMode(dest, COLORONCOLOR);
    if (Transparent())
        TransparentStretch(dest, rect, src, width_, height_, GdiColor(TransparentColor()));
    else
        StretchBlt(dest, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, src, 0, 0, width_,
                   height_, canvas->CopyMode());
    if (oldMode)
        SetStretchBltMode(dest, oldMode);
}

// ---------------------------------------------------------------------------
// Picture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::GraphicChanged(TObject*)
{
    OnChange(this);
}

TBitmap* TPicture::Bitmap()
{
    if (!graphic_) {
        graphic_ = std::make_unique<TBitmap>();
        graphic_->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
    }
    return graphic_.get();
}

void TPicture::SetGraphic(const TGraphic* graphic)
{
    if (!graphic) {
        if (graphic_) {
            graphic_.reset();
            OnChange(this);
        }
        return;
    }
    if (graphic == graphic_.get())
        return;
    if (!dynamic_cast<const TBitmap*>(graphic))
        throw EInvalidGraphic("Unsupported graphic format");
    Bitmap()->Assign(graphic);
}

void TPicture::LoadFromFile(const std::string& fileName)
{
    Bitmap()->LoadFromFile(fileName);
}

void TPicture::Assign(const TPersistent* source)
{
    if (!source)
        SetGraphic(nullptr);
    else if (const TPicture* p = dynamic_cast<const TPicture*>(source))
        SetGraphic(p->Graphic());
    else if (const TGraphic* g = dynamic_cast<const TGraphic*>(source))
        SetGraphic(g);
    else
        TPersistent::Assign(source);
}

// The drawing layer of the class library: colours, fonts, pens, brushes, the
// canvas over a GDI device context, and bitmaps.
//
// Every GDI object is owned by the object that made it. A canvas selects its
// font, pen and brush into the device context only when a drawing call needs
// them, and selects the objects it found there back when it lets the context
// go, so a canvas can be attached to any device context (a window's paint DC,
// a bitmap's memory DC) and detached again without leaving anything behind.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Events.h"
#include "classlib/SysUtils.h"

// ---------------------------------------------------------------------------
// Geometry

using TRect = RECT;
using TPoint = POINT;
using TSize = SIZE;

inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return TRect{left, top, left + width, top + height}; }
inline TPoint Point(int x, int y) { return TPoint{x, y}; }

// ---------------------------------------------------------------------------
// Colours: 0x00BBGGRR for a red/green/blue colour, 0x80000000 plus an index
// for a system colour (resolved when drawn), and two special values.

using TColor = std::int32_t;

constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SysColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SysColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SysColor(COLOR_MENU);
constexpr TColor clWindow = SysColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SysColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SysColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SysColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SysColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SysColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SysColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SysColor(COLOR_INFOBK);

constexpr TColor clNone = 0x1FFFFFFF;     // no colour (e.g. "no selection colour")
constexpr TColor clDefault = 0x20000000;  // the owner's default colour

// Bit that marks a colour as palette-relative (0x02BBGGRR); bitmaps report
// their automatic transparent colour with it.
constexpr TColor clPaletteRelative = 0x02000000;

// The red/green/blue value of a colour: a system colour is looked up with
// GetSysColor; any other value is returned unchanged.
COLORREF ColorToRGB(TColor color);

// Names of the colours for reading forms: "clBtnFace" <-> 0x8000000F.
// Names match case-insensitively.
bool ColorToIdent(TColor color, std::string& name);
bool IdentToColor(const std::string& name, TColor& color);
// The name of the colour when it has one, else "$" and eight hexadecimal digits.
std::string ColorToString(TColor color);
// A colour name, a decimal number (negative ones included) or a hexadecimal
// number written "$8000000F" or "0x8000000F"; EConvertError otherwise.
TColor StringToColor(const std::string& text);

// ---------------------------------------------------------------------------
// Errors of the drawing layer

// A picture that cannot be read or made (a file that is no bitmap, a missing
// resource).
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// A drawing operation that cannot be carried out (a canvas without a device
// context).
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

// ---------------------------------------------------------------------------
// Owners of GDI handles

// One GDI object (font, pen, brush, bitmap, region), deleted with its owner.
template <class H>
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(H handle) : handle_(handle) {}
    ~TGdiObject() { Reset(); }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    TGdiObject(TGdiObject&& other) noexcept : handle_(other.Release()) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    H Release()
    {
        H h = handle_;
        handle_ = nullptr;
        return h;
    }
    void Reset(H handle = nullptr)
    {
        if (handle_)
            DeleteObject(handle_);
        handle_ = handle;
    }

private:
    H handle_ = nullptr;
};

// A memory device context (CreateCompatibleDC), deleted with its owner.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatibleWith = nullptr) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~TMemoryDC()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A window's device context (GetDC, or GetWindowDC with whole = true; the
// screen for no window), released with its owner.
class TWindowDC {
public:
    explicit TWindowDC(HWND wnd = nullptr, bool whole = false)
        : wnd_(wnd), dc_(whole ? GetWindowDC(wnd) : GetDC(wnd)) {}
    ~TWindowDC()
    {
        if (dc_)
            ReleaseDC(wnd_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// BeginPaint and EndPaint as one owner.
class TPaintScope {
public:
    explicit TPaintScope(HWND wnd) : wnd_(wnd) { dc_ = BeginPaint(wnd, &ps_); }
    ~TPaintScope() { EndPaint(wnd_, &ps_); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    HDC DC() const { return dc_; }
    const PAINTSTRUCT& Info() const { return ps_; }

private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a device context and the previous one back when it
// goes.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~TSelectObject()
    {
        if (old_ && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// ---------------------------------------------------------------------------
// Font, pen and brush. Each announces through OnChange only a value that
// really changed; its GDI handle is made on demand and made anew after a
// change (the old one lives until then, so a canvas that still has it
// selected can let it go first).

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles.
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles)
    {
        for (TFontStyle s : styles)
            bits_ |= Bit(s);
    }
    constexpr bool Contains(TFontStyle s) const { return (bits_ & Bit(s)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TFontStyles operator+(TFontStyle s) const { return FromBits(bits_ | Bit(s)); }
    constexpr TFontStyles operator-(TFontStyle s) const { return FromBits(bits_ & ~Bit(s)); }
    constexpr TFontStyles operator+(TFontStyles o) const { return FromBits(bits_ | o.bits_); }
    constexpr TFontStyles operator-(TFontStyles o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr bool operator==(const TFontStyles&) const = default;
    // Bit n stands for the style of ordinal n (fsBold is bit 0).
    constexpr unsigned Bits() const { return bits_; }
    static constexpr TFontStyles FromBits(unsigned bits)
    {
        TFontStyles s;
        s.bits_ = bits & 0xF;
        return s;
    }

private:
    static constexpr unsigned Bit(TFontStyle s) { return 1u << static_cast<unsigned>(s); }
    unsigned bits_ = 0;
};

// Pixels per inch of the screen (LOGPIXELSY), read once.
int ScreenPixelsPerInch();

// The height of a line of text in a font (its tmHeight on the screen).
int FontTextHeight(HFONT font);

// A font. Defaults: "MS Sans Serif", 8 points, no style, clWindowText,
// DEFAULT_CHARSET (with the Polish ANSI code page this gives the
// Central-European glyphs; the programs' forms name EASTEUROPE_CHARSET
// themselves). Size (points) and Height (pixels, negative for the character
// height without internal leading) are two views of one value, converted with
// PixelsPerInch.
class TFont : public TPersistent {
public:
    TFont();
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int height);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);
    int PixelsPerInch() const { return pixelsPerInch_; }
    // Keeps Height; Size is read through the new value from then on.
    void SetPixelsPerInch(int ppi);

    // The font for GDI; made when first asked for after a change.
    HFONT Handle();

    // Copies name, height (through Size when the pixels per inch differ),
    // style, colour and charset from another font; one OnChange at most.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

    // Published for forms: Charset, Color, Height, Name, Size, Style.
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    void Changed(bool handleStale);
    int StyleBits() const { return static_cast<int>(style_.Bits()); }
    void SetStyleBits(int bits) { SetStyle(TFontStyles::FromBits(static_cast<unsigned>(bits))); }

    std::string name_;
    int height_;
    int pixelsPerInch_;
    TFontStyles style_;
    TColor color_ = clWindowText;
    BYTE charset_ = DEFAULT_CHARSET;
    TGdiObject<HFONT> handle_;
    bool stale_ = true;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// Raster operations of the pen (SetROP2).
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

// A pen. Defaults: clBlack, width 1, psSolid, pmCopy.
class TPen : public TPersistent {
public:
    TPen() = default;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);

    HPEN Handle();
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    TGdiObject<HPEN> handle_;
    bool stale_ = true;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBitmap;

// A brush. Defaults: clWhite, bsSolid. With a Bitmap the brush paints that
// bitmap as its pattern (the bitmap is not copied or owned; colour and style
// then do not count).
class TBrush : public TPersistent {
public:
    TBrush() = default;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    TColor Color() const { return color_; }
    // A new colour makes a clear brush solid.
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* bitmap);

    HBRUSH Handle();
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
    TGdiObject<HBRUSH> handle_;
    bool stale_ = true;
};

// ---------------------------------------------------------------------------
// Canvas

// Raster operation of CopyRect and of drawing bitmaps.
using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TGraphic;

// Drawing over a device context. The canvas does not own a context attached
// with SetHandle; subclasses that make their own (a bitmap's canvas, a
// control's canvas) override CreateHandle and let it go with SetHandle(nullptr).
//
// Text is drawn in the font's colour; the text background is filled with the
// brush colour unless the brush is clear (bsClear makes it transparent), as
// the brush's state is applied to the context whenever the brush is selected.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The device context; made by CreateHandle when there is none.
    // EInvalidGraphicOperation when the canvas has none and cannot make one.
    HDC Handle();
    // The device context with the font and the brush selected, for text
    // drawn on it with DrawText (the brush's style decides whether the text
    // gets a background).
    HDC TextHandle();
    // Attaches a device context (nullptr lets the current one go, with the
    // objects that were selected in it put back).
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return handle_ != nullptr; }

    TFont* Font() { return font_.get(); }
    void SetFont(const TFont* font) { font_->Assign(font); }
    TPen* Pen() { return pen_.get(); }
    void SetPen(const TPen* pen) { pen_->Assign(pen); }
    TBrush* Brush() { return brush_.get(); }
    void SetBrush(const TBrush* brush) { brush_->Assign(brush); }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
    TPoint PenPos();
    void SetPenPos(TPoint pos) { MoveTo(pos.x, pos.y); }

    void MoveTo(int x, int y);
    // A line from the pen position to (x, y), that point itself not drawn.
    void LineTo(int x, int y);
    void Polyline(const TPoint* points, int count);
    void Polyline(std::initializer_list<TPoint> points) { Polyline(points.begin(), static_cast<int>(points.size())); }
    // Outlined with the pen, filled with the brush (right and bottom exclusive).
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
    void Polygon(const TPoint* points, int count);
    void Polygon(std::initializer_list<TPoint> points) { Polygon(points.begin(), static_cast<int>(points.size())); }
    // With the brush only.
    void FillRect(const TRect& r);
    // A one-pixel frame in the brush.
    void FrameRect(const TRect& r);
    // The dotted focus frame (drawn by inverting: a second call removes it).
    void DrawFocusRect(const TRect& r);

    // Draws Text with its top left at (x, y) and moves the pen position to
    // the end of the text.
    void TextOut(int x, int y, const std::string& text);
    // Draws Text at (x, y) clipped to r; unless the brush is clear, r is
    // filled with the brush colour first.
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

    // Draws a graphic in its own size at (x, y), or stretched into r.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    // Copies (stretching when the sizes differ) a rectangle of another
    // canvas with CopyMode.
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
    // Copies a rectangle of a bitmap, painting its pixels of colour Color
    // with this canvas's brush.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& sourceRect, TColor color);

    // The pixel's colour; -1 (CLR_INVALID) outside the clipping region.
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);
    TRect ClipRect();
    // Deselects font, pen and brush (they are selected again when next needed),
    // after the context was used directly.
    void Refresh();

protected:
    virtual void CreateHandle() {}

private:
    enum : unsigned { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
    void RequiredState(unsigned state);
    void DeselectHandles();
    void FontChanged(TObject*);
    void PenChanged(TObject*);
    void BrushChanged(TObject*);

    HDC handle_ = nullptr;
    unsigned state_ = 0;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    HGDIOBJ oldFont_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
    TCopyMode copyMode_ = cmSrcCopy;
};

// ---------------------------------------------------------------------------
// Graphics

// Something that can be drawn on a canvas in its own size or stretched.
class TGraphic : public TPersistent {
public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual void LoadFromFile(const std::string& fileName) = 0;
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    // Fires when the picture changes as a whole (size, format, loading,
    // assignment), not for drawing on it.
    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
    void Changed() { OnChange(this); }

    bool transparent_ = false;
};

// Pixel formats. pfDevice: a bitmap compatible with the screen; pf1bit made
// here is a monochrome device-dependent bitmap; pf24bit and pf32bit are DIB
// sections. Loaded bitmaps report the format of their file (pf4bit and
// pf8bit ones keep their colour table).
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;
struct TBitmapFormat;

// A bitmap with a canvas of its own (a memory device context made when first
// drawn on). A new bitmap is empty (0 x 0) and pfDevice.
//
// Resizing keeps the top-left part of the picture; new pixels take the
// canvas's brush colour (white unless changed). Converting to monochrome makes
// the pixels of the canvas brush colour white and all others black; converting
// a monochrome bitmap to colour paints its black pixels in the canvas font
// colour and its white ones in the brush colour.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pfDevice);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    TCanvas* Canvas();

    bool Empty() const override { return width_ == 0 || height_ == 0; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int width) override { SetSize(width, height_); }
    void SetHeight(int height) override { SetSize(width_, height); }
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat format);
    TBitmapHandleType HandleType() const { return isDib_ ? bmDIB : bmDDB; }
    void SetHandleType(TBitmapHandleType type);
    bool Monochrome() const { return pixelFormat_ == pf1bit; }
    void SetMonochrome(bool monochrome);

    // tmAuto: the colour of the bottom-left pixel with clPaletteRelative set
    // (clDefault for an empty bitmap); tmFixed: the colour set.
    TColor TransparentColor();
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    // The bitmap (nullptr while empty). Dormant() first when the handle is to
    // be selected into another device context.
    HBITMAP Handle();
    // Takes over a bitmap handle (nullptr empties the bitmap).
    void SetHandle(HBITMAP bitmap);
    // Gives up the handle to the caller; the bitmap is empty afterwards.
    HBITMAP ReleaseHandle();
    // Lets the canvas's device context go; the picture stays.
    void Dormant();

    // A .bmp file. EFOpenError for a file that cannot be opened,
    // EInvalidGraphic for one that holds no bitmap.
    void LoadFromFile(const std::string& fileName) override;
    // A BITMAP resource of a module; EInvalidGraphic when there is none.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

    // Copies another bitmap's picture and transparency settings; nullptr
    // empties this one.
    void Assign(const TPersistent* source) override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    friend class TBitmapCanvas;
    TBitmapFormat CurrentFormat();
    void TakeHandle(HBITMAP bitmap);
    // Makes a new picture of the size and format from source's picture
    // (which may be this bitmap's own).
    void Rebuild(int width, int height, const TBitmapFormat& format, TBitmap* source);
    void LoadImageFrom(HINSTANCE instance, const char* name, UINT flags, const std::string& what);

    TGdiObject<HBITMAP> handle_;
    int width_ = 0;
    int height_ = 0;
    TPixelFormat pixelFormat_ = pfDevice;  // of the handle, or of the next one made
    bool isDib_ = false;
    std::unique_ptr<TBitmapCanvas> canvas_;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
};

// A holder of one graphic (here always a bitmap), as cells and glyph
// properties keep pictures.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // The graphic held, or nullptr.
    TGraphic* Graphic() const { return graphic_.get(); }
    // Copies the graphic (nullptr empties the picture).
    void SetGraphic(const TGraphic* graphic);
    // The bitmap held; an empty one is made when the picture holds none.
    TBitmap* Bitmap();
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    void LoadFromFile(const std::string& fileName);
    // From another picture or a bitmap; nullptr empties the picture.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void GraphicChanged(TObject*);
    std::unique_ptr<TBitmap> graphic_;
};

#include "common/HtmlDraw.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "classlib/SysUtils.h"

namespace {

// The state that one DrawHtmlText call carries from word to word and from line
// to line.
struct TRenderer {
    TRenderer(const THtmlFeatures& features, TCanvas* canvas, const TRect& target, TCustomImageList* images, int x,
              int y, bool stretch, double scale, TColor urlColor)
        : features(features), canvas(canvas), target(target), images(images), x(x), y(y), stretch(stretch),
          scale(scale), urlColor(urlColor)
    {
    }

    const THtmlFeatures& features;
    TCanvas* canvas;
    TRect target;
    TCustomImageList* images;
    int x, y;
    bool stretch;
    double scale;
    TColor urlColor;

    TFont* saved = nullptr;  // the saved font of the pass that runs: FONT tags fill it, </F> and </A> read it
    TColor savedBrush = clWhite;
    bool opaque = false;  // words are drawn on the brush colour once the markup has set it
    bool inAnchor = false;
    std::string href;
    bool sub = false;
    bool sup = false;
    int align = 0;  // 0 left, 1 right, 2 centre; kept from line to line
    std::string plain;
    int xsize = 0;
};

// One line: what its first pass measured and its second pass draws with.
struct TLine {
    int width = 0;
    int height = 0;
    int subRoom = 0;
    int supRoom = 0;
    int imageOffset = 0;
    bool hit = false;
    std::string hitHref;
};

// The first pass lays a line out (it decides what fits and collects the plain
// text); the second draws it, or hit-tests its words.
enum class TPass { Place, Draw, Test };

// Where the line under way stands.
struct TLineWork {
    int width = 0;       // counts a trailing space until the line ends
    int spaceWidth = 0;  // the trailing space of the last word, taken off at the end
    int textBottom = 0;
    int lastBoxBottom = -1;  // bottom of the last word's measured box, -1 before any
    bool done = false;
};

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Attribute Name (upper case) of a tag: true when the tag has it, with Value the
// text between the first pair of double quotes after the name (empty when
// unquoted). The name has to stand on its own, so that COLOR is not found in
// BGCOLOR.
bool FindAttr(const std::string& tag, const std::string& upTag, const char* name, std::string& value)
{
    const size_t length = std::char_traits<char>::length(name);
    for (size_t from = 0;;) {
        size_t p = upTag.find(name, from);
        if (p == std::string::npos)
            return false;
        if (p > 0 && IsNameChar(upTag[p - 1])) {
            from = p + 1;
            continue;
        }
        value.clear();
        size_t open = tag.find('"', p + length);
        if (open != std::string::npos) {
            size_t close = tag.find('"', open + 1);
            if (close != std::string::npos)
                value = tag.substr(open + 1, close - open - 1);
        }
        return true;
    }
}

// A colour attribute: a value with "cl" is a colour name, one with "#" a
// hexadecimal colour (which wins when both appear); anything else keeps Current.
TColor ParseColor(const std::string& value, TColor current)
{
    TColor color = current;
    if (value.find("cl") != std::string::npos)
        color = ColorFromName(AnsiLowerCase(value));
    if (value.find('#') != std::string::npos)
        color = HtmlColorToColor(value);
    return color;
}

void SetStyle(TFont* font, TFontStyle style, bool on)
{
    font->SetStyle(on ? font->Style() + style : font->Style() - style);
}

// Draws image K of an image list stretched into Dest: the image goes through a
// bitmap of its own size, filled with the brush colour under its masked pixels.
void DrawListImageStretched(TCanvas* canvas, TCustomImageList* images, int k, const TRect& dest)
{
    TBitmap bitmap(images->Width(), images->Height(), pf24bit);
    bitmap.Canvas()->Brush()->SetColor(canvas->Brush()->Color());
    bitmap.Canvas()->FillRect(Rect(0, 0, images->Width(), images->Height()));
    images->Draw(bitmap.Canvas(), 0, 0, k);
    DrawStretchedBitmap(canvas, dest, &bitmap);
}

int Scaled(int size, double scale)
{
    return static_cast<int>(std::lround(size * scale));
}

// IMG: sizes, places, draws and hit-tests one image. False when the image does
// not fit on the line being laid out: it goes to the next line, like a word.
bool ApplyImage(TRenderer& R, const std::string& tag, const std::string& upTag, const TRect& r, TPass pass,
                TLine& line, TLineWork& work)
{
    const bool draw = pass == TPass::Draw;
    const bool scaled = R.stretch && R.features.ImageScale;
    std::string src;
    FindAttr(tag, upTag, "SRC", src);
    const std::string upSrc = AnsiUpperCase(src);

    enum { None, ListImage, ShellIcon, FileBitmap } kind = None;
    int width = 0, height = 0, index = 0;
    bool large = false;
    std::string source;
    TBitmap bitmap;
    if (StartsWith(upSrc, "IDX:")) {
        // A number that is no number draws nothing rather than failing the
        // paint that asked for it.
        if (R.images && TryStrToInt(src.substr(4), index)
            && (!R.features.ImageIndexChecked || (index >= 0 && index < R.images->Count()))) {
            kind = ListImage;
            width = R.images->Width();
            height = R.images->Height();
        }
    } else if (StartsWith(upSrc, "SSYS:") || StartsWith(upSrc, "LSYS:")) {
        kind = ShellIcon;
        large = upSrc[0] == 'L';
        source = src.substr(5);
        TSize size{};
        DrawShellIcon(R.canvas, 0, 0, source, large, false, false, 1.0, size);
        width = size.cx;
        height = size.cy;
    } else if (StartsWith(upSrc, "FILE://")) {
        std::string path = src.substr(7);
        if (FileExists(path)) {
            try {
                bitmap.LoadFromFile(path);
                kind = FileBitmap;
                width = bitmap.Width();
                height = bitmap.Height();
            } catch (const Exception&) {
                // A file that is no bitmap is shown like a missing one.
            }
        }
    }
    if (scaled) {
        width = Scaled(width, R.scale);
        height = Scaled(height, R.scale);
    }

    const int rectWidth = r.right - r.left;
    if (pass == TPass::Place && width > 0 && work.width + width > rectWidth && width < rectWidth)
        return false;

    const int left = r.left + work.width;
    if (draw) {
        const TRect dest = Bounds(left, r.top, width, height);
        switch (kind) {
        case ListImage:
            if (scaled)
                DrawListImageStretched(R.canvas, R.images, index, dest);
            else
                R.images->Draw(R.canvas, left, r.top, index);
            break;
        case ShellIcon: {
            TSize size{};
            DrawShellIcon(R.canvas, left, r.top, source, large, true, scaled, R.scale, size);
            break;
        }
        case FileBitmap:
            if (scaled)
                R.canvas->StretchDraw(dest, &bitmap);
            else
                R.canvas->Draw(left, r.top, &bitmap);
            break;
        case None:
            break;
        }
    }

    if (pass != TPass::Place && R.features.ImageAnchors && R.inAnchor) {
        const int dx = R.x - r.left;
        const int bottom = work.lastBoxBottom >= 0 ? work.lastBoxBottom : r.bottom;
        if (dx > work.width && dx < work.width + width && R.y > r.top && R.y < bottom) {
            line.hit = true;
            line.hitHref = R.href;
        }
    }

    if (width > 0) {
        work.width += width;
        work.spaceWidth = 0;  // a space before an image is no trailing space
    }
    line.height = std::max(line.height, height);

    if (R.features.ImageAlign && UpperPos("ALIGN", tag) > 0) {
        if (UpperPos("\"TOP", tag) > 0)
            line.imageOffset = line.height - R.canvas->TextHeight("gh");
        else if (UpperPos("\"MIDDLE", tag) > 0)
            line.imageOffset = (line.height - R.canvas->TextHeight("gh")) / 2;
    }
    return true;
}

// Applies one tag (from "<" to ">"). False only for an image that moves to
// the next line.
bool ApplyTag(TRenderer& R, const std::string& tag, const TRect& r, TPass pass, TLine& line, TLineWork& work)
{
    const std::string up = AnsiUpperCase(tag);
    const bool closing = up.size() > 1 && up[1] == '/';
    const size_t letterAt = closing ? 2 : 1;
    const char letter = up.size() > letterAt ? up[letterAt] : '\0';
    const bool draw = pass == TPass::Draw;
    TFont* font = R.canvas->Font();
    TBrush* brush = R.canvas->Brush();
    std::string value;

    if (closing) {
        switch (letter) {
        case 'A':
            SetStyle(font, fsUnderline, false);
            font->SetColor(R.saved->Color());
            R.inAnchor = false;
            break;
        case 'B':
            SetStyle(font, fsBold, false);
            break;
        case 'F':
            font->SetName(R.saved->Name());
            font->SetSize(R.saved->Size());
            font->SetColor(R.saved->Color());
            if (draw) {
                brush->SetColor(R.savedBrush);
                R.opaque = true;
            }
            break;
        case 'I':
            SetStyle(font, fsItalic, false);
            break;
        case 'P':
            work.done = true;
            break;
        case 'S':
            if (!R.features.ScriptTags)
                break;
            if (up.size() > 3 && up[3] == 'U')
                R.sub = R.sup = false;  // </SUB> and </SUP> end both
            else
                SetStyle(font, fsStrikeOut, false);
            break;
        case 'U':
            SetStyle(font, fsUnderline, false);
            break;
        }
        return true;
    }

    switch (letter) {
    case 'A':
        if (FindAttr(tag, up, "HREF", value)) {
            SetStyle(font, fsUnderline, true);
            font->SetColor(R.urlColor);
            R.href = value;
            R.inAnchor = true;
        }
        break;
    case 'B':
        if (up == "<B>") {
            SetStyle(font, fsBold, true);
        } else if (up == "<BR>") {
            if (pass == TPass::Place)
                R.plain += '\r';
            work.done = true;
        } else if (StartsWith(up, "<BODY") && draw && FindAttr(tag, up, "BGCOLOR", value)) {
            TColor color = ParseColor(value, brush->Color());
            brush->SetColor(color);
            R.savedBrush = color;
            R.opaque = true;
            TPen* pen = R.canvas->Pen();
            TColor penColor = pen->Color();
            pen->SetColor(color);
            R.canvas->Rectangle(R.target);
            pen->SetColor(penColor);
        }
        break;
    case 'F':
        if (FindAttr(tag, up, "FACE", value)) {
            R.saved->SetName(font->Name());
            font->SetName(value);
        }
        if (FindAttr(tag, up, "COLOR", value)) {
            R.saved->SetColor(font->Color());
            font->SetColor(ParseColor(value, font->Color()));
        }
        if (draw && FindAttr(tag, up, "BGCOLOR", value)) {
            R.savedBrush = brush->Color();
            brush->SetColor(ParseColor(value, brush->Color()));
            R.opaque = true;
        }
        if (FindAttr(tag, up, "SIZE", value)) {
            // A size that is no number is ignored: raising here would fail
            // the paint handler that draws the markup.
            int size = 0;
            if (TryStrToInt(value, size)) {
                R.saved->SetSize(font->Size());
                font->SetSize(size);
            }
        }
        break;
    case 'H':
        if (draw) {
            // The rule runs along the row just under the text.
            TPen* pen = R.canvas->Pen();
            TColor penColor = pen->Color();
            pen->SetColor(clBlack);
            R.canvas->MoveTo(r.left, work.textBottom);
            R.canvas->LineTo(r.right, work.textBottom);
            pen->SetColor(penColor);
        }
        work.done = true;
        break;
    case 'I':
        if (up == "<I>") {
            SetStyle(font, fsItalic, true);
        } else if (StartsWith(up, "<IND")) {
            int indent = 0;
            if (FindAttr(tag, up, "X", value) && TryStrToInt(value, indent) && work.width < indent) {
                work.width = indent;
                work.spaceWidth = 0;
            }
        } else if (StartsWith(up, "<IMG")) {
            return ApplyImage(R, tag, up, r, pass, line, work);
        }
        break;
    case 'P':
        if (UpperPos("RIGHT", tag) > 0)
            R.align = 1;
        if (UpperPos("LEFT", tag) > 0)
            R.align = 0;
        if (UpperPos("CENTER", tag) > 0)
            R.align = 2;
        break;
    case 'S':
        if (!R.features.ScriptTags)
            break;
        if (up == "<S>")
            SetStyle(font, fsStrikeOut, true);
        else if (up == "<SUB>")
            R.sub = true;
        else if (up == "<SUP>")
            R.sup = true;
        break;
    case 'U':
        SetStyle(font, fsUnderline, true);
        break;
    }
    return true;
}

// What ends a word of the text.
constexpr const char* whiteOrTag = "< \t\r\n";

// One line. The first pass (Place) takes from Rest what fits into R's width
// and gives it back as the line's markup; the second pass runs over exactly
// that markup, in the line's own rectangle, and never wraps again, so both
// passes see the same tags and leave the same state for the next line.
std::string_view DrawHtmlLine(TRenderer& R, std::string_view& rest, const TRect& r, TPass pass, TLine& line)
{
    const bool placing = pass == TPass::Place;
    const int rectWidth = r.right - r.left;
    const char* lineStart = rest.data();
    size_t used = 0;
    TLineWork work;
    work.textBottom = r.bottom - line.subRoom;
    line.height = R.canvas->TextHeight("gh");
    line.hit = false;

    while (!rest.empty() && !work.done) {
        // Words end at a "<" or after white space: a blank, a tab or a line
        // end of the source (CR LF counting as one), each shown as one blank.
        const size_t stop = rest.find_first_of(whiteOrTag);
        size_t length = stop == std::string_view::npos ? rest.size() : stop;
        size_t white = 0;
        if (stop != std::string_view::npos && rest[stop] != '<')
            white = rest.compare(stop, 2, "\r\n") == 0 ? 2 : 1;
        length += white;

        // A line end of the source where a line of the text begins takes no
        // room: it only ends the line of the markup before it (as after <br>).
        if (length == white && work.width == 0 && (rest[0] == '\r' || rest[0] == '\n')) {
            if (placing)
                R.plain += rest.substr(0, length);
            rest.remove_prefix(length);
            used += length;
            continue;
        }

        if (length > 0) {
            std::string word(rest.substr(0, length - white));
            if (white > 0)
                word += ' ';
            const int height = R.canvas->TextHeight(word);  // also selects the font for DrawText
            HDC dc = R.canvas->Handle();
            RECT box{r.left + work.width, r.top, r.right, r.bottom};
            DrawTextA(dc, word.data(), static_cast<int>(word.size()), &box, DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
            const int wordWidth = box.right - box.left;
            // A word that does not fit starts the next line; one wider than
            // the whole rectangle stands on a line of its own.
            if (placing && rectWidth <= work.width + wordWidth && (rectWidth > wordWidth || work.width > 0)) {
                work.done = true;
                break;
            }
            if (R.sub)
                line.subRoom = std::max(line.subRoom, height / 4);
            if (R.sup)
                line.supRoom = std::max(line.supRoom, height / 4);
            line.height = std::max(line.height, height);

            if (pass == TPass::Draw) {
                int bottom = work.textBottom - line.imageOffset;
                if (R.sup)
                    bottom -= line.supRoom;
                if (R.sub)
                    bottom += line.subRoom;
                RECT drawBox{r.left + work.width, r.top, r.left + work.width + wordWidth, bottom};
                SetBkMode(dc, R.opaque ? OPAQUE : TRANSPARENT);
                if (R.opaque)
                    SetBkColor(dc, ColorToRGB(R.canvas->Brush()->Color()));
                DrawTextA(dc, word.data(), static_cast<int>(word.size()), &drawBox,
                          DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_NOPREFIX);
            } else if (pass == TPass::Test && R.inAnchor) {
                const int dx = R.x - r.left;
                if (dx > work.width && dx < work.width + wordWidth && R.y > r.top && R.y < box.bottom) {
                    line.hit = true;
                    line.hitHref = R.href;
                }
            }
            work.lastBoxBottom = box.bottom;
            work.width += wordWidth;
            work.spaceWidth = word.back() == ' ' ? R.canvas->TextWidth(" ") : 0;
            if (placing)
                R.plain += rest.substr(0, length);
            rest.remove_prefix(length);
            used += length;
        }

        if (!work.done && !rest.empty() && rest[0] == '<') {
            size_t greater = rest.find('>');
            if (greater == std::string_view::npos) {
                rest = std::string_view();  // a "<" that opens no tag ends the text
                break;
            }
            const std::string tag(rest.substr(0, greater + 1));
            if (!ApplyTag(R, tag, r, pass, line, work)) {
                work.done = true;
                break;
            }
            rest.remove_prefix(greater + 1);
            used += greater + 1;
        }
    }

    line.width = work.width - work.spaceWidth;
    if (placing)
        R.xsize = std::max(R.xsize, line.width);
    return std::string_view(lineStart, used);
}

// Puts the canvas font back however the call ends.
class TFontRestorer {
public:
    explicit TFontRestorer(TCanvas* canvas) : canvas_(canvas) { font_.Assign(canvas->Font()); }
    ~TFontRestorer() { canvas_->Font()->Assign(&font_); }
    TFontRestorer(const TFontRestorer&) = delete;
    TFontRestorer& operator=(const TFontRestorer&) = delete;
    const TFont* Font() const { return &font_; }

private:
    TCanvas* canvas_;
    TFont font_;
};

struct TColorName {
    const char* name;
    TColor color;
};

const TColorName colorNames[] = {
    {"clred", clRed},
    {"clblack", clBlack},
    {"clblue", clBlue},
    {"clgreen", clGreen},
    {"claqua", clAqua},
    {"clyellow", clYellow},
    {"clfuchsia", clFuchsia},
    {"clwhite", clWhite},
    {"cllime", clLime},
    {"clsilver", clSilver},
    {"clgray", clGray},
    {"clolive", clOlive},
    {"clnavy", clNavy},
    {"clpurple", clPurple},
    {"clteal", clTeal},
    {"clmaroon", clMaroon},
    {"clbackground", clBackground},
    {"clactivecaption", clActiveCaption},
    {"clinactivecaption", clInactiveCaption},
    {"clmenu", clMenu},
    {"clwindow", clWindow},
    {"clwindowframe", clWindowFrame},
    {"clmenutext", clMenuText},
    {"clwindowtext", clWindowText},
    {"clcaptiontext", clCaptionText},
    {"clactiveborder", clActiveBorder},
    {"clinactiveborder", clInactiveBorder},
    {"clappworkspace", clAppWorkSpace},
    {"clhighlight", clHighlight},
    {"clhighlighttext", clHighlightText},
    {"clbtnface", clBtnFace},
    {"clbtnshadow", clBtnShadow},
    {"clgraytext", clGrayText},
    {"clbtntext", clBtnText},
    {"clinactivecaptiontext", clInactiveCaptionText},
    {"clbtnhighlight", clBtnHighlight},
    {"cl3ddkshadow", cl3DDkShadow},
    {"cl3dlight", cl3DLight},
    {"clinfotext", clInfoText},
    {"clinfobk", clInfoBk},
};

} // namespace

TColor ColorFromName(const std::string& Name)
{
    for (const TColorName& c : colorNames)
        if (Name == c.name)
            return c.color;
    return clBlack;
}

unsigned char HexPairToByte(char High, char Low)
{
    auto digit = [](char c) {
        int code = static_cast<unsigned char>(c);
        return code - 48 <= 10 ? code - 48 : code - 55;
    };
    return static_cast<unsigned char>(16 * digit(High) + digit(Low));
}

TColor HtmlColorToColor(const std::string& Value)
{
    std::string digits = Value.size() > 1 ? AnsiUpperCase(Value.substr(1, 6)) : std::string();
    digits.resize(6, '0');
    return HexPairToByte(digits[0], digits[1]) + HexPairToByte(digits[2], digits[3]) * 256
           + HexPairToByte(digits[4], digits[5]) * 65536;
}

int UpperPos(const std::string& Sub, const std::string& S)
{
    size_t p = AnsiUpperCase(S).find(AnsiUpperCase(Sub));
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

void DrawStretchedBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap)
{
    if (!Bitmap || Bitmap->Empty())
        return;
    const int width = Bitmap->Width();
    const int height = Bitmap->Height();
    Bitmap->Dormant();  // GetDIBits wants the bitmap selected nowhere
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bits(static_cast<size_t>(width) * height);
    {
        TWindowDC screen;
        if (!GetDIBits(screen.Get(), Bitmap->Handle(), 0, height, bits.data(), &info, DIB_RGB_COLORS))
            return;
    }
    HDC dc = Canvas->Handle();
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, 0, 0, width, height,
                  bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

void DrawShellIcon(TCanvas* Canvas, int X, int Y, const std::string& Source, bool Large, bool Draw, bool Stretch,
                   double Scale, TSize& Size)
{
    int index = 0;
    if (!TryStrToInt(Source, index)) {
        index = 0;
        if (!Source.empty()) {
            SHFILEINFOA info{};
            UINT flags = SHGFI_SYSICONINDEX;
            DWORD attributes = 0;
            if (GetFileAttributesA(Source.c_str()) == INVALID_FILE_ATTRIBUTES) {
                // No such file: the icon of its file type, by its extension.
                flags |= SHGFI_USEFILEATTRIBUTES;
                attributes = FILE_ATTRIBUTE_NORMAL;
            }
            if (SHGetFileInfoA(Source.c_str(), attributes, &info, sizeof info, flags))
                index = info.iIcon;
        }
    }

    SHFILEINFOA info{};
    auto list = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | (Large ? 0 : SHGFI_SMALLICON)));
    int width = 0, height = 0;
    if (list)
        ImageList_GetIconSize(list, &width, &height);
    Size = TSize{width, height};
    if (!Draw || !list)
        return;

    if (!Stretch) {
        ImageList_Draw(list, index, Canvas->Handle(), X, Y, ILD_TRANSPARENT);
        return;
    }
    TBitmap bitmap(width, height, pf24bit);
    bitmap.Canvas()->Brush()->SetColor(Canvas->Brush()->Color());
    bitmap.Canvas()->FillRect(::Rect(0, 0, width, height));
    ImageList_Draw(list, index, bitmap.Canvas()->Handle(), 0, 0, ILD_NORMAL);
    DrawStretchedBitmap(Canvas, ::Rect(X, Y, X + Scaled(width, Scale), Y + Scaled(height, Scale)), &bitmap);
}

bool DrawHtmlText(TCanvas* Canvas, const std::string& Html, const TRect& Rect, TCustomImageList* Images, int X,
                  int Y, bool HitTest, bool MeasureOnly, bool Stretch, double Scale, TColor URLColor,
                  std::string& Anchor, std::string& PlainText, int& XSize, int& YSize)
{
    return DrawHtmlTextWith(THtmlFeatures(), Canvas, Html, Rect, Images, X, Y, HitTest, MeasureOnly, Stretch, Scale,
                            URLColor, Anchor, PlainText, XSize, YSize);
}

bool DrawHtmlTextWith(const THtmlFeatures& Features, TCanvas* Canvas, const std::string& Html, const TRect& Rect,
                      TCustomImageList* Images, int X, int Y, bool HitTest, bool MeasureOnly, bool Stretch,
                      double Scale, TColor URLColor, std::string& Anchor, std::string& PlainText, int& XSize,
                      int& YSize)
{
    Anchor.clear();
    PlainText.clear();
    XSize = 0;
    YSize = 0;

    TFontRestorer restorer(Canvas);
    // The measuring and the drawing pass each keep a canvas font and a saved
    // font of their own from line to line.
    TFont measureFont, measureSaved, drawFont, drawSaved;
    for (TFont* f : {&measureFont, &measureSaved, &drawFont, &drawSaved})
        f->Assign(restorer.Font());

    TRenderer R(Features, Canvas, Rect, Images, X, Y, Stretch, Scale, URLColor);
    R.savedBrush = Canvas->Brush()->Color();
    SetBkMode(Canvas->Handle(), TRANSPARENT);

    bool result = false;
    TRect current = Rect;
    std::string_view rest(Html);
    while (!rest.empty()) {
        Canvas->Font()->Assign(&measureFont);
        R.saved = &measureSaved;
        const bool wasInAnchor = R.inAnchor;
        const std::string hrefWas = R.href;
        R.sub = R.sup = false;
        TLine line;
        std::string_view lineMarkup = DrawHtmlLine(R, rest, current, TPass::Place, line);
        measureFont.Assign(Canvas->Font());

        const int lineHeight = line.height + line.subRoom + line.supRoom;
        TRect lineRect = current;
        const int freeWidth = (current.right - current.left) - line.width;
        if (R.align == 1)
            lineRect.left = current.right - line.width;
        else if (R.align == 2 && freeWidth > 0)
            lineRect.left = current.left + freeWidth / 2;  // a line too wide starts at the left edge
        lineRect.bottom = lineRect.top + lineHeight;

        if (!MeasureOnly) {
            R.inAnchor = wasInAnchor;
            R.href = hrefWas;
            R.sub = R.sup = false;
            Canvas->Font()->Assign(&drawFont);
            R.saved = &drawSaved;
            TLine drawn = line;
            std::string_view markup = lineMarkup;
            DrawHtmlLine(R, markup, lineRect, HitTest ? TPass::Test : TPass::Draw, drawn);
            if (drawn.hit && Y > lineRect.top && Y < lineRect.bottom && !result) {
                result = true;
                Anchor = drawn.hitHref;
            }
            drawFont.Assign(Canvas->Font());
        }

        current.top += lineHeight;
        YSize += lineHeight;
        if (!MeasureOnly && current.top + line.height > Rect.bottom)
            break;  // lines that would not fit are not drawn
        if (lineMarkup.empty())
            break;  // nothing fitted: the rest would never fit either
    }

    Canvas->Font()->Assign(restorer.Font());
    if (YSize == 0)
        YSize = Canvas->TextHeight("gh");
    XSize = R.xsize;
    PlainText = std::move(R.plain);
    return result;
}

std::string TextAsHtml(std::string Text)
{
    for (char& c : Text) {
        if (c == '<')
            c = '\x8B';
        else if (c == '>')
            c = '\x9B';
    }
    return Text;
}

bool IsWebOrMailLink(const std::string& Anchor)
{
    const std::string lower = AnsiLowerCase(Anchor);
    for (const char* scheme : {"http://", "https://", "ftp://", "mailto:"})
        if (lower.rfind(scheme, 0) == 0)
            return true;
    return false;
}

#include "installer/RXCtrls.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "components/VCLUtils.h"

namespace {

TGlyphCache* glyphCache = nullptr;
int liveButtons = 0;
TBitmap* checkerPattern = nullptr;

TBitmap* CheckerPattern()
{
    if (!checkerPattern)
        checkerPattern = MakeCheckerBrushBitmap(clBtnFace, clBtnHighlight);
    return checkerPattern;
}

// One picture of the strip.
std::unique_ptr<TBitmap> StripPicture(TBitmap* strip, int index, int width, int height)
{
    auto picture = std::make_unique<TBitmap>(width, height);
    picture->Canvas()->CopyRect(Rect(0, 0, width, height), strip->Canvas(),
                                Rect(index * width, 0, (index + 1) * width, height));
    return picture;
}

} // namespace

TGlyphCache* GlyphCache(bool make)
{
    if (!glyphCache && make)
        glyphCache = new TGlyphCache;
    return glyphCache;
}

// ---------------------------------------------------------------------------
// TGlyphList, TGlyphCache

TGlyphList::TGlyphList(int width, int height) : TImageList(nullptr, width, height) {}

int TGlyphList::AllocateIndex()
{
    auto free = std::find(used_.begin(), used_.end(), false);
    if (free != used_.end()) {
        *free = true;
        return static_cast<int>(free - used_.begin());
    }
    TBitmap blank(Width(), Height());
    Add(&blank, nullptr);
    used_.push_back(true);
    return static_cast<int>(used_.size()) - 1;
}

int TGlyphList::AddImage(TBitmap* image, TBitmap* mask)
{
    const int index = AllocateIndex();
    Replace(index, image, mask);
    ++count_;
    return index;
}

int TGlyphList::AddImageMasked(TBitmap* image, TColor maskColor)
{
    const int index = AllocateIndex();
    ReplaceMasked(index, image, maskColor);
    ++count_;
    return index;
}

void TGlyphList::ReleaseIndex(int index)
{
    if (index >= 0 && index < static_cast<int>(used_.size()) && used_[index]) {
        used_[index] = false;
        --count_;
    }
}

TGlyphCache::~TGlyphCache()
{
    for (TGlyphList* list : lists_)
        delete list;
}

TGlyphList* TGlyphCache::GetList(int width, int height)
{
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height)
            return *it;
    lists_.push_back(new TGlyphList(width, height));
    return lists_.back();
}

void TGlyphCache::ReturnList(TGlyphList* list)
{
    if (!list || list->UsedCount() > 0)
        return;
    auto it = std::find(lists_.begin(), lists_.end(), list);
    if (it != lists_.end()) {
        lists_.erase(it);
        delete list;
    }
}

// ---------------------------------------------------------------------------
// TRxButtonGlyph

TRxButtonGlyph::TRxButtonGlyph() : strip_(std::make_unique<TBitmap>())
{
    strip_->OnChange = TNotifyEvent(this, &TRxButtonGlyph::StripChanged);
    GlyphCache();
}

TRxButtonGlyph::~TRxButtonGlyph()
{
    Invalidate();
    if (glyphCache && glyphCache->IsEmpty()) {
        delete glyphCache;
        glyphCache = nullptr;
    }
}

void TRxButtonGlyph::SetNumGlyphs(int value)
{
    // No count below one: the picture width divides by it.
    value = std::clamp(value, 1, 5);
    if (value == numGlyphs_)
        return;
    numGlyphs_ = value;
    Invalidate();
    OnChange(this);
}

void TRxButtonGlyph::Invalidate()
{
    for (int& index : indexes_) {
        if (index != -1 && glyphList_)
            glyphList_->ReleaseIndex(index);
        index = -1;
    }
    if (glyphList_ && glyphCache)
        glyphCache->ReturnList(glyphList_);
    glyphList_ = nullptr;
}

void TRxButtonGlyph::StripChanged(TObject*)
{
    Invalidate();
    if (strip_->Height() > 0) {
        transparentColor_ = strip_->TransparentColor() & ~clPaletteRelative;
        if (strip_->Width() % strip_->Height() == 0) {
            const int n = strip_->Width() / strip_->Height();
            numGlyphs_ = n > 5 ? 1 : std::max(n, 1);
        }
    }
    OnChange(this);
}

int TRxButtonGlyph::CreateButtonGlyph(TRxButtonState state)
{
    if (state == gsDown && numGlyphs_ < 3)
        state = gsUp;
    if (indexes_[state] != -1)
        return indexes_[state];
    if (strip_->Empty())
        return -1;
    const int width = strip_->Width() / numGlyphs_;
    const int height = strip_->Height();
    if (width <= 0)
        return -1;
    if (!glyphList_)
        glyphList_ = GlyphCache()->GetList(width, height);
    int index = -1;
    switch (state) {
    case gsDisabled:
        if (numGlyphs_ < 2) {
            std::unique_ptr<TBitmap> disabled(MakeDisabledGlyph(strip_.get(), clBlack));
            index = glyphList_->AddImageMasked(disabled.get(), clBtnFace);
        } else {
            auto picture = StripPicture(strip_.get(), 1, width, height);
            index = glyphList_->AddImageMasked(picture.get(), transparentColor_);
        }
        break;
    case gsInactive:
        if (numGlyphs_ < 5) {
            auto picture = StripPicture(strip_.get(), 0, width, height);
            TCanvas* c = picture->Canvas();
            const COLORREF transparent = ColorToRGB(transparentColor_);
            const COLORREF face = ColorToRGB(clBtnFace);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const COLORREF p = static_cast<COLORREF>(c->Pixels(x, y));
                    if (p == transparent || p == face)
                        continue;
                    const int grey = (GetRValue(p) * 77 + GetGValue(p) * 150 + GetBValue(p) * 29) / 256;
                    c->SetPixels(x, y, static_cast<TColor>(RGB(grey, grey, grey)));
                }
            index = glyphList_->AddImageMasked(picture.get(), transparentColor_);
        } else {
            auto picture = StripPicture(strip_.get(), 4, width, height);
            index = glyphList_->AddImageMasked(picture.get(), transparentColor_);
        }
        break;
    default: {
        const int n = state >= numGlyphs_ ? 0 : state;
        auto picture = StripPicture(strip_.get(), n, width, height);
        index = glyphList_->AddImageMasked(picture.get(), transparentColor_);
    }
    }
    indexes_[state] = index;
    strip_->Dormant();
    return index;
}

void TRxButtonGlyph::CalcButtonLayout(TCanvas* canvas, const TRect& client, std::string& caption,
                                      TButtonLayout layout, int margin, int spacing, bool popupMark, TPoint& glyphPos,
                                      TRect& textBounds)
{
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    int gw = 0, gh = 0;
    if (!strip_->Empty()) {
        gw = strip_->Width() / numGlyphs_;
        gh = strip_->Height();
    }
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    int tw = 0, th = 0;
    if (horizontal) {
        tw = w - gw;
        if (margin != -1)
            tw -= margin;
        if (spacing != -1)
            tw -= spacing;
        if (popupMark)
            tw -= 9;
        th = h;
    } else {
        tw = w;
        th = h - gh;
        if (margin != -1)
            th -= margin;
        if (spacing != -1)
            th -= spacing;
    }
    tw = std::max(tw, 0);
    th = std::max(th, 0);

    // The caption fitted to the room, line by line.
    std::string text = caption.substr(0, 255);
    if (!wordWrap_) {
        std::string fitted;
        size_t start = 0;
        while (true) {
            size_t end = text.find_first_of("\r\n", start);
            const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            fitted += ShortenToWidth(line, canvas, tw);
            if (end == std::string::npos)
                break;
            size_t next = end + 1;
            if (text[end] == '\r' && next < text.size() && text[next] == '\n')
                ++next;
            fitted += "\r\n";
            start = next;
        }
        text = fitted;
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    caption = text;

    static const UINT aligns[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    int txw = 0, txh = 0;
    if (!caption.empty()) {
        TRect r = Rect(0, 0, tw, 0);
        DrawTextA(canvas->TextHandle(), caption.c_str(), static_cast<int>(caption.size()), &r,
                  DT_CALCRECT | DT_CENTER | DT_VCENTER | aligns[alignment_] | (wordWrap_ ? DT_WORDBREAK : 0));
        txw = std::clamp(static_cast<int>(r.right - r.left), 0, tw);
        txh = std::clamp(static_cast<int>(r.bottom - r.top), 0, th);
    }
    if (popupMark) {
        if (gw == 0 || gh == 0 || layout == blGlyphLeft)
            txw += 9;
        else
            gw += 6;
    }
    TPoint glyph{0, 0};
    TPoint textPos{0, 0};
    if (horizontal) {
        glyph.y = h / 2 - gh / 2;
        textPos.y = h / 2 - txh / 2;
    } else {
        glyph.x = w / 2 - gw / 2;
        textPos.x = w / 2 - txw / 2;
    }
    if (txw == 0 || gw == 0)
        spacing = 0;
    const int client1 = horizontal ? w : h;
    const int glyphSize = horizontal ? gw : gh;
    const int textSize = horizontal ? txw : txh;
    if (margin == -1) {
        if (spacing == -1) {
            const int total = glyphSize + textSize;
            margin = (client1 - total) / 3;
            spacing = margin;
        } else {
            const int total = glyphSize + spacing + textSize;
            margin = client1 / 2 - total / 2;
        }
    } else if (spacing == -1) {
        const int rest = client1 - (margin + glyphSize);
        spacing = rest / 2 - textSize / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyph.x = margin;
        textPos.x = glyph.x + gw + spacing;
        break;
    case blGlyphRight:
        glyph.x = w - margin - gw;
        textPos.x = glyph.x - spacing - txw;
        break;
    case blGlyphTop:
        glyph.y = margin;
        textPos.y = glyph.y + gh + spacing;
        break;
    case blGlyphBottom:
        glyph.y = h - margin - gh;
        textPos.y = glyph.y - spacing - txh;
        break;
    }
    glyphPos = Point(glyph.x + client.left, glyph.y + client.top);
    textBounds = Rect(textPos.x + client.left, textPos.y + client.top, textPos.x + client.left + txw,
                      textPos.y + client.top + txh);
}

void TRxButtonGlyph::DrawPopupMark(TCanvas* canvas, int x, int y, TRxButtonState state)
{
    auto triangle = [canvas, x, y](int dx, int dy, TColor color) {
        canvas->Pen()->SetColor(color);
        for (int row = 0; row < 4; ++row) {
            canvas->MoveTo(x + dx + row, y - 1 + dy + row);
            canvas->LineTo(x + dx + 7 - row, y - 1 + dy + row);
        }
    };
    if (state == gsDisabled) {
        triangle(1, 1, clBtnHighlight);
        triangle(0, 0, clBtnShadow);
    } else {
        triangle(0, 0, clBtnText);
    }
}

TRect TRxButtonGlyph::Draw(TCanvas* canvas, const TRect& client, const std::string& caption, TButtonLayout layout,
                           int margin, int spacing, bool popupMark, TRxButtonState state)
{
    std::string text = caption;
    TPoint glyphPos;
    TRect textBounds;
    CalcButtonLayout(canvas, client, text, layout, margin, spacing, popupMark, glyphPos, textBounds);
    const int index = CreateButtonGlyph(state);
    if (index >= 0 && glyphList_)
        glyphList_->Draw(canvas, glyphPos.x, glyphPos.y, index);
    if (!text.empty()) {
        static const UINT aligns[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
        const UINT flags = aligns[alignment_] | DT_VCENTER | (wordWrap_ ? DT_WORDBREAK : 0);
        canvas->Brush()->SetStyle(bsClear);
        TRect r = textBounds;
        if (state == gsDisabled) {
            OffsetRect(&r, 1, 1);
            canvas->Font()->SetColor(clBtnHighlight);
            DrawTextA(canvas->TextHandle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
            OffsetRect(&r, -1, -1);
            canvas->Font()->SetColor(clBtnShadow);
        }
        DrawTextA(canvas->TextHandle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
    }
    if (popupMark) {
        const bool hasGlyph = !strip_->Empty();
        int x = 0, y = 0;
        if (hasGlyph && layout != blGlyphLeft) {
            x = glyphPos.x + strip_->Width() / numGlyphs_ + 1;
            y = glyphPos.y + strip_->Height() / 2;
        } else {
            x = text.empty() ? (client.left + client.right - 7) / 2 : textBounds.right + 3;
            y = (textBounds.top + textBounds.bottom) / 2;
        }
        DrawPopupMark(canvas, x, y, state);
    }
    return textBounds;
}

// ---------------------------------------------------------------------------
// TRxSpeedButton

TRxSpeedButton::TRxSpeedButton(TComponent* owner)
    : TGraphicControl(owner), glyph_(std::make_unique<TRxButtonGlyph>())
{
    glyph_->OnChange = TNotifyEvent(this, &TRxSpeedButton::GlyphChanged);
    SetBounds(0, 0, 25, 25);
    SetControlStyle(csCaptureMouse | csClickEvents | csOpaque | csDoubleClicks);
    SetParentShowHint(false);
    SetShowHint(true);
    ++liveButtons;
}

TRxSpeedButton::~TRxSpeedButton()
{
    Destroying();
    glyph_.reset();
    if (--liveButtons == 0) {
        delete checkerPattern;
        checkerPattern = nullptr;
    }
}

const TClassInfo* TRxSpeedButton::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TRxSpeedButton::StaticClass()
{
    using B = TRxSpeedButton;
    static const TClassInfo info(
        "TRxSpeedButton", &TGraphicControl::StaticClass(), &NewComponent<TRxSpeedButton>,
        {
            PublishEnum<&B::Alignment, &B::SetAlignment>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}),
            PublishBoolean<&B::AllowAllUp, &B::SetAllowAllUp>("AllowAllUp"),
            PublishBoolean<&B::AllowTimer, &B::SetAllowTimer>("AllowTimer"),
            PublishInteger<&B::GroupIndex, &B::SetGroupIndex>("GroupIndex"),
            PublishBoolean<&B::Down, &B::SetDown>("Down"),
            PublishComponent<&B::DropDownMenu, &B::SetDropDownMenu>("DropDownMenu"),
            PublishEnum<&B::MenuPosition, &B::SetMenuPosition>("MenuPosition", {"dmpBottom", "dmpRight"}),
            PublishBoolean<&B::Flat, &B::SetFlat>("Flat"),
            PublishObject<&B::Glyph, &B::SetGlyph>("Glyph"),
            PublishBoolean<&B::GrayedInactive, &B::SetGrayedInactive>("GrayedInactive"),
            PublishInteger<&B::InitPause, &B::SetInitPause>("InitPause"),
            PublishEnum<&B::Layout, &B::SetLayout>("Layout",
                                                   {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}),
            PublishInteger<&B::Margin, &B::SetMargin>("Margin"),
            PublishBoolean<&B::MarkDropDown, &B::SetMarkDropDown>("MarkDropDown"),
            PublishInteger<&B::ModalResult, &B::SetModalResult>("ModalResult"),
            PublishInteger<&B::NumGlyphs, &B::SetNumGlyphs>("NumGlyphs"),
            PublishInteger<&B::RepeatInterval, &B::SetRepeatInterval>("RepeatInterval"),
            PublishInteger<&B::Spacing, &B::SetSpacing>("Spacing"),
            PublishEnum<&B::Style, &B::SetStyle>("Style", {"bsAutoDetect", "bsWin31", "bsNew"}),
            PublishBoolean<&B::Transparent, &B::SetTransparent>("Transparent"),
            PublishBoolean<&B::WordWrap, &B::SetWordWrap>("WordWrap"),
            PublishEvent<&B::OnMouseEnter>("OnMouseEnter"),
            PublishEvent<&B::OnMouseLeave>("OnMouseLeave"),
        });
    return info;
}

void TRxSpeedButton::GlyphChanged(TObject*)
{
    Invalidate();
}

void TRxSpeedButton::SetAlignment(TAlignment value)
{
    if (value == Alignment())
        return;
    glyph_->SetAlignment(value);
    Invalidate();
}

void TRxSpeedButton::SetWordWrap(bool value)
{
    if (value == WordWrap())
        return;
    glyph_->SetWordWrap(value);
    Invalidate();
}

void TRxSpeedButton::SetGlyph(TBitmap* value)
{
    glyph_->SetStrip(value);
    Invalidate();
}

void TRxSpeedButton::SetNumGlyphs(TRxNumGlyphs value)
{
    glyph_->SetNumGlyphs(value);
}

void TRxSpeedButton::SetMargin(int value)
{
    if (value >= -1 && value != margin_) {
        margin_ = value;
        Invalidate();
    }
}

#define QMX_INVALIDATING_SETTER(Name, Type, field) \
    void TRxSpeedButton::Set##Name(Type value)     \
    {                                              \
        if (value == field)                        \
            return;                                \
        field = value;                             \
        Invalidate();                              \
    }
QMX_INVALIDATING_SETTER(Layout, TButtonLayout, layout_)
QMX_INVALIDATING_SETTER(Spacing, int, spacing_)
QMX_INVALIDATING_SETTER(Flat, bool, flat_)
QMX_INVALIDATING_SETTER(Style, TButtonStyle, style_)
QMX_INVALIDATING_SETTER(Transparent, bool, transparent_)
QMX_INVALIDATING_SETTER(MarkDropDown, bool, markDropDown_)
QMX_INVALIDATING_SETTER(GrayedInactive, bool, grayedInactive_)
#undef QMX_INVALIDATING_SETTER

void TRxSpeedButton::SetDropDownMenu(TPopupMenu* value)
{
    if (value == dropDownMenu_)
        return;
    if (dropDownMenu_)
        dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = value;
    if (value)
        value->FreeNotification(this);
    if (markDropDown_)
        Invalidate();
}

void TRxSpeedButton::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == dropDownMenu_)
        dropDownMenu_ = nullptr;
    TGraphicControl::Notification(component, operation);
}

void TRxSpeedButton::SetAllowTimer(bool value)
{
    allowTimer_ = value;
    if (!value && repeatTimer_) {
        delete repeatTimer_;
        repeatTimer_ = nullptr;
    }
}

void TRxSpeedButton::SetGroupIndex(int value)
{
    if (value == groupIndex_)
        return;
    groupIndex_ = value;
    UpdateExclusive();
}

void TRxSpeedButton::SetAllowAllUp(bool value)
{
    if (value == allowAllUp_)
        return;
    allowAllUp_ = value;
    UpdateExclusive();
}

void TRxSpeedButton::SetDown(bool value)
{
    if (groupIndex_ == 0)
        value = false;
    if (value == down_ || (down_ && !allowAllUp_ && !value))
        return;
    down_ = value;
    if (value) {
        if (state_ == gsUp)
            Invalidate();
        state_ = gsExclusive;
    } else {
        state_ = gsUp;
    }
    Repaint();
    if (value)
        UpdateExclusive();
}

void TRxSpeedButton::UpdateExclusive()
{
    if (groupIndex_ == 0 || !Parent())
        return;
    TMessage m;
    m.Msg = CM_BUTTONPRESSED;
    m.WParam = static_cast<WPARAM>(groupIndex_);
    m.LParam = reinterpret_cast<LPARAM>(this);
    Parent()->Broadcast(m);
}

void TRxSpeedButton::ButtonPressed(TMessage& m)
{
    if (static_cast<int>(m.WParam) != groupIndex_)
        return;
    auto* sender = reinterpret_cast<TControl*>(m.LParam);
    auto* other = dynamic_cast<TRxSpeedButton*>(sender);
    if (!other || other == this)
        return;
    if (other->Down() && down_) {
        down_ = false;
        state_ = gsUp;
        Repaint();
    }
    allowAllUp_ = other->AllowAllUp();
}

void TRxSpeedButton::Loaded()
{
    TGraphicControl::Loaded();
    glyph_->CreateButtonGlyph(!Enabled() ? gsDisabled : (flat_ ? gsInactive : gsUp));
}

void TRxSpeedButton::Click()
{
    if (TCustomForm* form = GetParentForm(this))
        form->SetModalResult(modalResult_);
    TGraphicControl::Click();
}

bool TRxSpeedButton::UsesNewStyle() const
{
    return style_ == bsNew || style_ == bsAutoDetect;
}

void TRxSpeedButton::Paint()
{
    if (!Enabled()) {
        state_ = gsDisabled;
        dragging_ = false;
    } else if (state_ == gsDisabled) {
        state_ = down_ && groupIndex_ != 0 ? gsExclusive : gsUp;
    }
    TRxButtonState drawn = state_;
    if (flat_ && !mouseInControl_)
        drawn = gsInactive;
    TBitmap face(Width(), Height());
    TCanvas* c = face.Canvas();
    c->Font()->Assign(Font());
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, Width(), Height()));
    if (transparent_)
        PaintParentBackground(this, c);
    TRect r = Rect(0, 0, Width(), Height());
    const bool pressed = state_ == gsDown || state_ == gsExclusive;
    if (!(drawn == gsInactive && state_ != gsExclusive)) {
        const bool isNew = UsesNewStyle();
        if (pressed) {
            if (isNew && !flat_) {
                Frame3D(c, r, clWindowFrame, clBtnHighlight, 1);
                Frame3D(c, r, clBtnShadow, clBtnFace, 1);
            } else if (!isNew && !flat_) {
                Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
                c->Pen()->SetColor(clBtnShadow);
                c->MoveTo(r.left, r.bottom - 1);
                c->LineTo(r.left, r.top);
                c->LineTo(r.right, r.top);
            } else {
                Frame3D(c, r, clWindowFrame, clBtnHighlight, 1);
            }
        } else {
            if (isNew && !flat_) {
                Frame3D(c, r, clBtnHighlight, clWindowFrame, 1);
                Frame3D(c, r, clBtnFace, clBtnShadow, 1);
            } else if (isNew && flat_) {
                Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
            } else if (!flat_) {
                Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
                Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
            } else {
                Frame3D(c, r, clBtnHighlight, clWindowFrame, 1);
            }
        }
        InflateRect(&r, -1, -1);
    } else if (flat_) {
        InflateRect(&r, -2, -2);
    }
    if (state_ == gsExclusive && !transparent_ && (!flat_ || drawn == gsInactive)) {
        TRect pattern = r;
        InflateRect(&pattern, 1, 1);
        c->Brush()->SetBitmap(CheckerPattern());
        c->FillRect(pattern);
        c->Brush()->SetBitmap(nullptr);
    }
    if (pressed)
        OffsetRect(&r, 1, 1);
    const TRxButtonState pictureState = grayedInactive_ && state_ != gsDisabled ? drawn : state_;
    PaintFace(c, r, markDropDown_ && dropDownMenu_, pictureState);
    Canvas()->Draw(0, 0, &face);
}

void TRxSpeedButton::PaintFace(TCanvas* canvas, const TRect& rect, bool popupMark, TRxButtonState state)
{
    glyph_->Draw(canvas, rect, Caption(), layout_, margin_, spacing_, popupMark, state);
}

TPoint TRxSpeedButton::MenuPoint() const
{
    const TPopupAlignment align = dropDownMenu_ ? dropDownMenu_->Alignment() : paLeft;
    if (menuPosition_ == dmpBottom) {
        if (align == paLeft)
            return Point(-1, Height());
        if (align == paRight)
            return Point(Width() + 1, Height());
        return Point(Width() / 2, Height());
    }
    if (align == paLeft)
        return Point(Width(), -1);
    if (align == paRight)
        return Point(-1, -1);
    return Point(Width() / 2, Height());
}

bool TRxSpeedButton::CheckMenuDropDown(int, int)
{
    if (!dropDownMenu_ || !dropDownMenu_->AutoPopup())
        return false;
    if (TCustomForm* form = GetParentForm(this))
        if (form->HandleAllocated())
            SendMessageA(form->Handle(), WM_CANCELMODE, 0, 0);
    dropDownMenu_->SetPopupComponent(this);
    const TPoint p = ClientToScreen(MenuPoint());
    dropDownMenu_->Popup(p.x, p.y);
    return true;
}

void TRxSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (menuTracking_)
        return;
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!mouseInControl_ && Enabled()) {
        mouseInControl_ = true;
        Repaint();
    }
    if (button != mbLeft || !Enabled())
        return;
    if (!down_) {
        state_ = gsDown;
        Repaint();
    }
    dragging_ = true;
    menuTracking_ = true;
    try {
        if (CheckMenuDropDown(x, y))
            MouseUp(mbLeft, shift, x, y);
    } catch (...) {
        menuTracking_ = false;
        throw;
    }
    menuTracking_ = false;
    DropPendingPress();
    if (allowTimer_) {
        if (!repeatTimer_) {
            repeatTimer_ = new TTimer(this);
            repeatTimer_->OnTimer = TNotifyEvent(this, &TRxSpeedButton::TimerExpired);
        }
        repeatTimer_->SetEnabled(false);
        repeatTimer_->SetInterval(initPause_);
        repeatTimer_->SetEnabled(true);
    }
}

void TRxSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_)
        return;
    TRxButtonState next = gsUp;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    if (down_)
        next = gsExclusive;
    else if (inside)
        next = gsDown;
    if (next != state_) {
        state_ = next;
        Repaint();
    }
}

void TRxSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (repeatTimer_)
        repeatTimer_->SetEnabled(false);
    if (button != mbLeft || !dragging_)
        return;
    dragging_ = false;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    if (groupIndex_ == 0) {
        state_ = gsUp;
        mouseInControl_ = false;
        if (inside)
            Repaint();
        else
            Invalidate();
    } else if (inside) {
        SetDown(!down_);
        if (down_)
            Repaint();
    } else {
        if (down_)
            state_ = gsExclusive;
        Repaint();
    }
    // The control's own click is kept apart: it comes from csClickEvents.
    UpdateTracking();
}

void TRxSpeedButton::TimerExpired(TObject*)
{
    repeatTimer_->SetInterval(repeatInterval_);
    if (state_ == gsDown && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            repeatTimer_->SetEnabled(false);
            throw;
        }
    }
}

// A press or double click on the button that waits already (made while
// its menu was open) is not handed on; one elsewhere on the parent belongs
// to another control. The button has no window: its mouse messages come to
// its parent's, in the parent's coordinates, as its bounds are. The parent's
// queue holds its child windows' messages too, whose points are their own.
void TRxSpeedButton::DropPendingPress()
{
    if (!Parent() || !Parent()->HandleAllocated())
        return;
    const HWND own = Parent()->Handle();
    MSG m;
    if (!PeekMessageA(&m, own, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_NOREMOVE) || m.message == WM_LBUTTONUP ||
        m.hwnd != own)
        return;
    const POINT at{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    const TRect bounds = BoundsRect();
    if (PtInRect(&bounds, at))
        DropPendingMessage(own, m.message);
}

void TRxSpeedButton::UpdateTracking()
{
    POINT p;
    GetCursorPos(&p);
    // A disabled button has the mouse no more.
    const bool inside = Enabled() && FindDragTarget(p, true) == this && OwnsActiveWindow();
    if (inside == mouseInControl_)
        return;
    mouseInControl_ = inside;
    if (inside) {
        if (flat_)
            Repaint();
        MouseEnter();
    } else {
        if (flat_)
            Invalidate();
        MouseLeave();
    }
}

void TRxSpeedButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        if (!mouseInControl_ && Enabled()) {
            mouseInControl_ = true;
            if (flat_)
                Repaint();
            MouseEnter();
        }
        return;
    case CM_MOUSELEAVE:
        if (mouseInControl_ && Enabled() && !dragging_) {
            mouseInControl_ = false;
            if (flat_)
                Invalidate();
            MouseLeave();
        }
        return;
    case CM_BUTTONPRESSED:
        ButtonPressed(m);
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char>(m.WParam), Caption()) && Enabled() && Visible()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_SYSCOLORCHANGE:
        glyph_->Invalidate();
        Invalidate();
        return;
    case CM_ENABLEDCHANGED:
        glyph_->CreateButtonGlyph(!Enabled() ? gsDisabled : (flat_ ? gsInactive : gsUp));
        UpdateTracking();
        Repaint();
        return;
    case CM_VISIBLECHANGED:
        TGraphicControl::Dispatch(m);
        if (Visible())
            UpdateTracking();
        return;
    case WM_LBUTTONDBLCLK:
        if (menuTracking_)
            return;
        TGraphicControl::Dispatch(m);
        return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        TGraphicControl::Dispatch(m);
        UpdateTracking();
        return;
    }
    TGraphicControl::Dispatch(m);
}

void InitRXCtrlsUnit()
{
    RegisterComponentClass(TRxSpeedButton::StaticClass());
}

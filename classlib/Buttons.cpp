#include "classlib/Buttons.h"

#include <algorithm>

#include "classlib/TypInfo.h"

void InitButtonsUnit()
{
    RegisterComponentClass(TSpeedButton::StaticClass());
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 23, 22);
    SetControlStyle(csCaptureMouse | csClickEvents | csDoubleClicks);
    glyph_->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
}

TSpeedButton::~TSpeedButton()
{
    glyph_->OnChange.Clear();
}

const TClassInfo* TSpeedButton::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TSpeedButton::StaticClass()
{
    using C = TSpeedButton;
    static const TClassInfo info("TSpeedButton", &TGraphicControl::StaticClass(), &NewComponent<TSpeedButton>,
                                 {
                                     PublishObject<&C::Glyph, &C::SetGlyph>("Glyph"),
                                     PublishInteger<&C::NumGlyphs, &C::SetNumGlyphs>("NumGlyphs"),
                                     PublishBoolean<&C::Flat, &C::SetFlat>("Flat"),
                                 });
    return info;
}

void TSpeedButton::SetGlyph(TBitmap* value)
{
    glyph_->Assign(value);
    Invalidate();
}

void TSpeedButton::GlyphChanged(TObject*)
{
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 4);
    if (value == numGlyphs_)
        return;
    numGlyphs_ = value;
    Invalidate();
}

void TSpeedButton::SetFlat(bool value)
{
    if (value == flat_)
        return;
    flat_ = value;
    Invalidate();
}

void TSpeedButton::SetState(TButtonState state)
{
    if (state == state_)
        return;
    state_ = state;
    Invalidate();
}

void TSpeedButton::Paint()
{
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    const bool down = state_ == bsDown || state_ == bsExclusive;
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(r);
    HDC dc = canvas->Handle();
    if (!flat_) {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (down ? DFCS_PUSHED : 0));
    } else if (down || (mouseInControl_ && Enabled())) {
        DrawEdge(dc, &r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    }
    canvas->Refresh();
    PaintFace(r, down);
}

void TSpeedButton::PaintFace(const TRect& rect, bool down)
{
    TCanvas* canvas = Canvas();
    const int shift = down ? 1 : 0;
    const std::string caption = Caption();
    int glyphWidth = 0, glyphHeight = 0;
    if (!glyph_->Empty()) {
        glyphWidth = glyph_->Width() / numGlyphs_;
        glyphHeight = glyph_->Height();
    }
    canvas->Font()->Assign(Font());
    const TSize text = caption.empty() ? TSize{0, 0} : canvas->TextExtent(caption);
    const int spacing = glyphWidth > 0 && text.cx > 0 ? 4 : 0;
    const int width = glyphWidth + spacing + text.cx;
    int x = rect.left + (rect.right - rect.left - width) / 2 + shift;
    if (glyphWidth > 0) {
        const int index = !Enabled() && numGlyphs_ > 1 ? bsDisabled : std::min<int>(state_, numGlyphs_ - 1);
        const int y = rect.top + (rect.bottom - rect.top - glyphHeight) / 2 + shift;
        const TRect source = Rect(index * glyphWidth, 0, (index + 1) * glyphWidth, glyphHeight);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->BrushCopy(Rect(x, y, x + glyphWidth, y + glyphHeight), glyph_.get(), source,
                          glyph_->TransparentColor() & 0xFFFFFF);
        x += glyphWidth + spacing;
    }
    if (text.cx > 0) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
        canvas->TextOut(x, rect.top + (rect.bottom - rect.top - text.cy) / 2 + shift, caption);
        canvas->Brush()->SetStyle(bsSolid);
    }
}

void TSpeedButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        if (reinterpret_cast<TControl*>(m.LParam) == this) {
            mouseInControl_ = true;
            if (flat_)
                Invalidate();
        }
        break;
    case CM_MOUSELEAVE:
        if (reinterpret_cast<TControl*>(m.LParam) == this) {
            mouseInControl_ = false;
            if (flat_)
                Invalidate();
        }
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    }
    TGraphicControl::Dispatch(m);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button == mbLeft && Enabled()) {
        dragging_ = true;
        SetState(bsDown);
    }
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (dragging_) {
        const TRect r = ClientRect();
        const POINT p{x, y};
        SetState(PtInRect(&r, p) ? bsDown : bsUp);
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button == mbLeft && dragging_) {
        dragging_ = false;
        SetState(bsUp);
    }
}

#include "organizer/RXCtrls.h"

#include <windows.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "components/VCLUtils.h"

void RXCtrlsStartup()
{
    RegisterComponentClass(TRxLabel::StaticClass());
}

int DrawTextWithShadow(HDC DC, const std::string& Text, TRect& R, UINT Format, TShadowPosition ShadowPos,
                       COLORREF ShadowColor, int ShadowSize)
{
    const TRect r2 = R;
    const COLORREF textColor = SetTextColor(DC, ShadowColor);
    static const int dx[] = {-1, -1, 1, 1};
    static const int dy[] = {-1, 1, 1, -1};
    OffsetRect(&R, dx[ShadowPos] * ShadowSize, dy[ShadowPos] * ShadowSize);
    int result = DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &R, Format);
    if (result > 0)
        result += ShadowSize;
    SetTextColor(DC, textColor);
    TRect text = r2;
    DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &text, Format);
    UnionRect(&R, &R, &text);
    return result;
}

TRxCustomLabel::TRxCustomLabel(TComponent* owner) : TGraphicControl(owner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(0, 0, 65, 17);
}

const TClassInfo* TRxCustomLabel::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TRxCustomLabel::StaticClass()
{
    static const TClassInfo info(
        "TRxCustomLabel", &TGraphicControl::StaticClass(), nullptr,
        {
            PublishEnum<&TRxCustomLabel::Alignment, &TRxCustomLabel::SetAlignment>(
                "Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}),
            PublishBoolean<&TRxCustomLabel::AutoSize, &TRxCustomLabel::SetAutoSize>("AutoSize"),
            PublishEnum<&TRxCustomLabel::Layout, &TRxCustomLabel::SetLayout>("Layout",
                                                                             {"tlTop", "tlCenter", "tlBottom"}),
            PublishColor<&TRxCustomLabel::ShadowColor, &TRxCustomLabel::SetShadowColor>("ShadowColor"),
            PublishInteger<&TRxCustomLabel::ShadowSize, &TRxCustomLabel::SetShadowSize>("ShadowSize"),
            PublishEnum<&TRxCustomLabel::ShadowPos, &TRxCustomLabel::SetShadowPos>(
                "ShadowPos", {"spLeftTop", "spLeftBottom", "spRightBottom", "spRightTop"}),
            PublishBoolean<&TRxCustomLabel::WordWrap, &TRxCustomLabel::SetWordWrap>("WordWrap"),
            PublishBoolean<&TRxCustomLabel::ShowAccelChar, &TRxCustomLabel::SetShowAccelChar>("ShowAccelChar"),
            PublishBoolean<&TRxCustomLabel::ShowFocus, &TRxCustomLabel::SetShowFocus>("ShowFocus"),
            PublishComponent<&TRxCustomLabel::FocusControl, &TRxCustomLabel::SetFocusControl>("FocusControl"),
            PublishBoolean<&TRxCustomLabel::Transparent, &TRxCustomLabel::SetTransparent>("Transparent"),
            PublishEvent<&TRxCustomLabel::OnMouseEnter>("OnMouseEnter"),
            PublishEvent<&TRxCustomLabel::OnMouseLeave>("OnMouseLeave"),
        });
    return info;
}

const TClassInfo* TRxLabel::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TRxLabel::StaticClass()
{
    static const TClassInfo info("TRxLabel", &TRxCustomLabel::StaticClass(), &NewComponent<TRxLabel>);
    return info;
}

void TRxCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    // Form descriptions are written by hand: the size they give need not be
    // the text's.
    AdjustBounds();
}

void TRxCustomLabel::SetAlignment(TAlignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    Invalidate();
}

void TRxCustomLabel::SetAutoSize(bool value)
{
    if (value == autoSize_)
        return;
    autoSize_ = value;
    AdjustBounds();
}

void TRxCustomLabel::SetLayout(TTextLayout value)
{
    if (value == layout_)
        return;
    layout_ = value;
    Invalidate();
}

void TRxCustomLabel::SetShadowColor(TColor value)
{
    if (value == shadowColor_)
        return;
    shadowColor_ = value;
    Invalidate();
}

void TRxCustomLabel::SetShadowSize(int value)
{
    value = std::clamp(value, 0, 255);
    if (value == shadowSize_)
        return;
    shadowSize_ = value;
    AdjustBounds();
    Invalidate();
}

void TRxCustomLabel::SetShadowPos(TShadowPosition value)
{
    if (value == shadowPos_)
        return;
    shadowPos_ = value;
    Invalidate();
}

void TRxCustomLabel::SetWordWrap(bool value)
{
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    AdjustBounds();
}

void TRxCustomLabel::SetShowAccelChar(bool value)
{
    if (value == showAccelChar_)
        return;
    showAccelChar_ = value;
    Invalidate();
}

void TRxCustomLabel::SetShowFocus(bool value)
{
    if (value == showFocus_)
        return;
    showFocus_ = value;
    Invalidate();
}

void TRxCustomLabel::SetFocusControl(TWinControl* value)
{
    if (focusControl_)
        focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    if (focusControl_)
        focusControl_->FreeNotification(this);
    if (showFocus_)
        Invalidate();
}

void TRxCustomLabel::SetTransparent(bool value)
{
    if (value)
        SetControlStyle(ControlStyle() & ~csOpaque);
    else
        SetControlStyle(ControlStyle() | csOpaque);
    Invalidate();
}

void TRxCustomLabel::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

UINT TRxCustomLabel::TextFormat() const
{
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    return (wordWrap_ ? DT_WORDBREAK : 0) | DT_EXPANDTABS | alignments[alignment_];
}

void TRxCustomLabel::DrawLabelText(TRect& rect, UINT format)
{
    std::string text = GetCaptionText();
    // An empty box would have no height.
    if ((format & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&")))
        text += ' ';
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Font()->SetColor(GetTextColor());
    TColor shadowColor = shadowColor_;
    int shadowSize = shadowSize_;
    TShadowPosition shadowPos = shadowPos_;
    if (!Enabled()) {
        canvas->Font()->SetColor(clGrayText);
        shadowColor = clBtnHighlight;
        // Every system this runs on has the raised look of controls: a
        // disabled text without a shadow of its own looks embossed.
        if (shadowSize == 0) {
            shadowPos = spRightBottom;
            shadowSize = 1;
        }
    }
    if (!showAccelChar_)
        format |= DT_NOPREFIX;
    HDC dc = canvas->TextHandle();
    SetTextColor(dc, ColorToRGB(canvas->Font()->Color()));
    SetBkMode(dc, TRANSPARENT);
    DrawTextWithShadow(dc, text, rect, format, shadowPos, ColorToRGB(shadowColor), shadowSize);
}

void TRxCustomLabel::Paint()
{
    if (!Enabled())
        dragging_ = false;
    TCanvas* canvas = Canvas();
    if (!Transparent()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(ClientRect());
    }
    canvas->Brush()->SetStyle(bsClear);
    TRect r = ClientRect();
    r.left += 1;
    r.right -= 1;
    const UINT format = TextFormat();
    if (layout_ != tlTop) {
        TRect calc = r;
        DrawLabelText(calc, format | DT_CALCRECT);
        const int shift = r.bottom - calc.bottom;
        OffsetRect(&r, 0, layout_ == tlBottom ? shift : shift / 2);
    }
    DrawLabelText(r, format);
    if (showFocus_ && focusControl_ && focused_) {
        InflateRect(&r, 1, 0);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->DrawFocusRect(r);
    }
}

void TRxCustomLabel::AdjustBounds()
{
    if (!autoSize_ || IsLoading() || IsDestroying())
        return;
    TRect r = ClientRect();
    r.left += 1;
    r.right -= 1;
    {
        TWindowDC screen;
        TCanvasDCLoan loan(static_cast<TControlCanvas*>(Canvas()), screen.Get());
        DrawLabelText(r, (wordWrap_ ? DT_WORDBREAK : 0) | DT_EXPANDTABS | DT_CALCRECT);
    }
    r.left -= 1;
    r.right += 1;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    int left = Left();
    if (alignment_ == taRightJustify)
        left = Left() + Width() - width;
    SetBounds(left, Top(), width, height);
}

void TRxCustomLabel::UpdateTracking()
{
    POINT p{};
    GetCursorPos(&p);
    const bool inside = Enabled() && FindDragTarget(p, true) == this && OwnsActiveWindow();
    if (inside == mouseInside_)
        return;
    mouseInside_ = inside;
    if (inside)
        MouseEntered();
    else
        MouseLeft();
}

void TRxCustomLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && Enabled())
        dragging_ = true;
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TRxCustomLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button == mbLeft) {
        dragging_ = false;
        UpdateTracking();
    }
}

void TRxCustomLabel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        TGraphicControl::Dispatch(m);
        if (!mouseInside_ && Enabled() && OwnsActiveWindow()) {
            mouseInside_ = true;
            MouseEntered();
        }
        return;
    case CM_MOUSELEAVE:
        TGraphicControl::Dispatch(m);
        if (mouseInside_ && Enabled() && !dragging_) {
            mouseInside_ = false;
            MouseLeft();
        }
        return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        TGraphicControl::Dispatch(m);
        UpdateTracking();
        return;
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
        TGraphicControl::Dispatch(m);
        UpdateTracking();
        return;
    case CM_FOCUSCHANGED: {
        const bool focused = focusControl_ && reinterpret_cast<TControl*>(m.LParam) == focusControl_;
        if (focused != focused_) {
            focused_ = focused;
            if (showFocus_)
                Invalidate();
        }
        TGraphicControl::Dispatch(m);
        return;
    }
    case CM_DIALOGCHAR:
        if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<char>(m.WParam), GetCaptionText()) &&
            focusControl_->CanFocus()) {
            focusControl_->SetFocus();
            m.Result = 1;
            return;
        }
        break;
    case CM_TEXTCHANGED:
        Invalidate();
        AdjustBounds();
        return;
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(m);
        AdjustBounds();
        return;
    }
    TGraphicControl::Dispatch(m);
}

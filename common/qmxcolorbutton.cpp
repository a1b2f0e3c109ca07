#include "common/qmxcolorbutton.h"

#include <windowsx.h>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

namespace {

struct TKindInfo {
    const char* Caption;
    TModalResult ModalResult;
};

// By TBitBtnKind; bkCustom leaves caption and modal result alone.
const TKindInfo Kinds[] = {
    {"", mrNone},          {"OK", mrOk},          {"Anuluj", mrCancel}, {"Pomo&c", mrNone},
    {"&Tak", mrYes},       {"&Nie", mrNo},        {"&Zamknij", mrNone}, {"&Przerwij", mrAbort},
    {"Powtó&rz", mrRetry}, {"&Ignoruj", mrIgnore}, {"&Wszystkie", mrAll},
};

bool KindIsDefault(TBitBtnKind kind)
{
    return kind == bkOK || kind == bkYes;
}

bool KindIsCancel(TBitBtnKind kind)
{
    return kind == bkCancel || kind == bkNo;
}

// "\n" in a caption (backslash and n, either case) becomes breakWith.
std::string ExpandLineBreaks(const std::string& caption, const char* breakWith)
{
    std::string text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '\\' && i + 1 < caption.size() && (caption[i + 1] == 'n' || caption[i + 1] == 'N')) {
            text += breakWith;
            ++i;
        } else {
            text += caption[i];
        }
    }
    return text;
}

} // namespace

TqmxColorButton::TqmxColorButton(TComponent* owner) : TButton(owner), canvas_(std::make_unique<TCanvas>())
{
    SetColor(14155775);
}

TqmxColorButton::~TqmxColorButton() = default;

const TClassInfo* TqmxColorButton::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TqmxColorButton::StaticClass()
{
    static const TClassInfo info(
        "TqmxColorButton", &TButton::StaticClass(), &NewComponent<TqmxColorButton>,
        {
            PublishColor<&TqmxColorButton::BorderColor, &TqmxColorButton::SetBorderColor>("BorderColor"),
            PublishColor<&TqmxColorButton::ActiveBorderColor, &TqmxColorButton::SetActiveBorderColor>(
                "ActiveBorderColor"),
            PublishInteger<&TqmxColorButton::RoundSize, &TqmxColorButton::SetRoundSize>("RoundSize"),
            PublishBoolean<&TqmxColorButton::SingleLine, &TqmxColorButton::SetSingleLine>("SingleLine"),
            PublishBoolean<&TqmxColorButton::BoldWhenDefault, &TqmxColorButton::SetBoldWhenDefault>(
                "BoldWhenDefault"),
            PublishEnum<&TqmxColorButton::KindOrd, &TqmxColorButton::SetKindOrd>(
                "Kind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry",
                         "bkIgnore", "bkAll"}),
            PublishEnum<&TqmxColorButton::StyleOrd, &TqmxColorButton::SetStyleOrd>(
                "Style", {"bsAutoDetect", "bsWin31", "bsNew"}),
            PublishEvent<&TqmxColorButton::OnMouseEnter>("OnMouseEnter"),
            PublishEvent<&TqmxColorButton::OnMouseLeave>("OnMouseLeave"),
        });
    return info;
}

void TqmxColorButton::CreateParams(TCreateParams& p)
{
    TButton::CreateParams(p);
    p.Style |= BS_OWNERDRAW;
}

void TqmxColorButton::SetButtonStyle(bool isDefault)
{
    // The system's default style would replace the owner-drawn face: only
    // the face is drawn anew.
    if (isDefault == isFocused_)
        return;
    isFocused_ = isDefault;
    Refresh();
}

void TqmxColorButton::SetBorderColor(TColor value)
{
    borderColor_ = value;
    Invalidate();
}

void TqmxColorButton::SetActiveBorderColor(TColor value)
{
    activeBorderColor_ = value;
    Invalidate();
}

void TqmxColorButton::SetRoundSize(int value)
{
    if (value == roundSize_)
        return;
    roundSize_ = value;
    Invalidate();
}

void TqmxColorButton::SetSingleLine(bool value)
{
    if (value == singleLine_)
        return;
    singleLine_ = value;
    Invalidate();
}

void TqmxColorButton::SetBoldWhenDefault(bool value)
{
    if (value == boldWhenDefault_)
        return;
    boldWhenDefault_ = value;
    Invalidate();
}

void TqmxColorButton::SetStyle(TButtonStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    Invalidate();
}

TBitBtnKind TqmxColorButton::Kind() const
{
    if (kind_ != bkCustom && (Default() != KindIsDefault(kind_) || Cancel() != KindIsCancel(kind_) ||
                              ModalResult() != Kinds[kind_].ModalResult))
        kind_ = bkCustom;
    return kind_;
}

void TqmxColorButton::SetKind(TBitBtnKind value)
{
    if (value == kind_ || value < bkCustom || value > bkAll)
        return;
    if (value != bkCustom) {
        SetDefault(KindIsDefault(value));
        SetCancel(KindIsCancel(value));
        // A form that gives the button its own caption keeps it.
        if (!IsLoading() || Caption().empty())
            SetCaption(Kinds[value].Caption);
        SetModalResult(Kinds[value].ModalResult);
    }
    kind_ = value;
    Invalidate();
}

void TqmxColorButton::Click()
{
    bool handled = false;
    if (kind_ == bkHelp) {
        for (TControl* c = this; c && !handled; c = c->Parent())
            if (c->HelpContext() != 0) {
                Application->HelpContext(c->HelpContext());
                handled = true;
            }
    } else if (kind_ == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            handled = true;
        }
    }
    if (!handled)
        TButton::Click();
    SetMouseInControl(true);
}

void TqmxColorButton::SetMouseInControl(bool value)
{
    mouseInControl_ = value;
    Repaint();
}

void TqmxColorButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        item->itemWidth = Width();
        item->itemHeight = Height();
        m.Result = TRUE;
        return;
    }
    case CN_DRAWITEM:
        DrawButtonFace(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
        TButton::Dispatch(m);
        Invalidate();
        return;
    case WM_LBUTTONDBLCLK: {
        // The system's owner-drawn button reports a double click instead of
        // pressing: the second click is a press like the first.
        TMessage down = m;
        down.Msg = WM_LBUTTONDOWN;
        Dispatch(down);
        m.Result = down.Result;
        SetMouseInControl(true);
        return;
    }
    case WM_MOUSEMOVE:
        if (!mouseInControl_) {
            const TRect r = ClientRect();
            if (PtInRect(&r, Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam))))
                SetMouseInControl(true);
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        TButton::Dispatch(m);
        const bool enter = m.Msg == CM_MOUSEENTER;
        if (Enabled())
            SetMouseInControl(enter);
        if (enter)
            OnMouseEnter(this, m);
        else
            OnMouseLeave(this, m);
        return;
    }
    }
    TButton::Dispatch(m);
}

void TqmxColorButton::DrawButtonFace(const DRAWITEMSTRUCT& drawItem)
{
    TCanvas* canvas = canvas_.get();
    canvas->SetHandle(drawItem.hDC);
    struct Unbind {
        TCanvas* canvas;
        ~Unbind() { canvas->SetHandle(nullptr); }
    } unbind{canvas};

    TRect r = drawItem.rcItem;
    const bool pressed = (drawItem.itemState & ODS_SELECTED) != 0;
    const bool focused = (drawItem.itemState & ODS_FOCUS) != 0;

    // The corners outside the rounded face show the parent.
    if (!ParentColor() && Parent()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Parent()->Brush()->Color());
        canvas->FillRect(r);
    }
    if (Visible()) {
        canvas->Pen()->SetStyle(psInsideFrame);
        canvas->Pen()->SetWidth(mouseInControl_ ? 2 : 1);
        canvas->Pen()->SetColor(mouseInControl_ ? activeBorderColor_ : borderColor_);
    }
    if (pressed)
        OffsetRect(&r, 1, 1);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->RoundRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, roundSize_, roundSize_);

    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    if (!Enabled())
        canvas->Font()->SetColor(clGray);
    // Changing the button's own font repaints it: the caption shows the new
    // style on that repaint.
    if (boldWhenDefault_) {
        if (focused || Default())
            Font()->SetStyle(Font()->Style() + fsBold);
        else
            Font()->SetStyle(Font()->Style() - fsBold);
    }

    r = drawItem.rcItem;
    if (pressed)
        OffsetRect(&r, 1, 1);
    const std::string text = ExpandLineBreaks(Caption(), singleLine_ ? " " : "\r\n");
    const UINT flags = singleLine_ ? DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_CENTER
                                   : DT_NOCLIP | DT_WORDBREAK | DT_CENTER;
    // Font and transparent brush into the context before DrawText uses it.
    HDC dc = canvas->TextHandle();
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);

    if (focused) {
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
        const int itemWidth = drawItem.rcItem.right - drawItem.rcItem.left;
        OffsetRect(&r, (itemWidth - (r.right - r.left)) / 2, 2);
        r.left -= 4;
        r.right += 4;
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->DrawFocusRect(r);
    }
}

void qmxcolorbuttonStartup()
{
    RegisterComponentClass(TqmxColorButton::StaticClass());
}

#include "organizer/htmlabel.h"

#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "common/HtmlDraw.h"
#include "organizer/HTMListb.h"

void htmlabelStartup()
{
    RegisterComponentClass(THTMLabel::StaticClass());
}

THTMLabel::THTMLabel(TComponent* owner)
    : TCustomLabel(owner), htmlText_(std::make_unique<TStringList>()), urlColor_(clBlue)
{
    htmlText_->OnChange = TNotifyEvent(this, &THTMLabel::HTMLTextChanged);
    text_.clear();
    SetAutoSize(false);
}

THTMLabel::~THTMLabel()
{
    htmlText_->OnChange.Clear();
    if (images_)
        images_->RemoveFreeNotification(this);
}

const TClassInfo* THTMLabel::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& THTMLabel::StaticClass()
{
    static const std::vector<std::string> cuts{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    static const TClassInfo info(
        "THTMLabel", &TCustomLabel::StaticClass(), &NewComponent<THTMLabel>,
        {
            PublishStrings<&THTMLabel::HTMLText, &THTMLabel::SetHTMLText>("HTMLText"),
            PublishBoolean<&THTMLabel::AutoSizing, &THTMLabel::SetAutoSizing>("AutoSizing"),
            PublishComponent<&THTMLabel::Images, &THTMLabel::SetImages>("Images"),
            PublishColor<&THTMLabel::URLColor, &THTMLabel::SetURLColor>("URLColor"),
            PublishBoolean<&THTMLabel::AnchorHint, &THTMLabel::SetAnchorHint>("AnchorHint"),
            PublishEnum<&THTMLabel::BevelInner, &THTMLabel::SetBevelInner>("BevelInner", cuts),
            PublishEnum<&THTMLabel::BevelOuter, &THTMLabel::SetBevelOuter>("BevelOuter", cuts),
            PublishInteger<&THTMLabel::BevelWidth, &THTMLabel::SetBevelWidth>("BevelWidth"),
            PublishInteger<&THTMLabel::BorderWidth, &THTMLabel::SetBorderWidth>("BorderWidth"),
            PublishEnum<&THTMLabel::BorderStyle, &THTMLabel::SetBorderStyle>("BorderStyle", {"bsNone", "bsSingle"}),
            PublishEvent<&THTMLabel::OnAnchorClick>("OnAnchorClick"),
            PublishEvent<&THTMLabel::OnAnchorEnter>("OnAnchorEnter"),
            PublishEvent<&THTMLabel::OnAnchorExit>("OnAnchorExit"),
        });
    return info;
}

void THTMLabel::Loaded()
{
    TCustomLabel::Loaded();
    text_.clear();
}

void THTMLabel::Notification(TComponent* component, TOperation operation)
{
    TCustomLabel::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_)
        images_ = nullptr;
}

void THTMLabel::HTMLTextChanged(TObject*)
{
    Invalidate();
}

void THTMLabel::SetHTMLText(TStrings* value)
{
    if (value)
        htmlText_->Assign(value);
    Invalidate();
}

void THTMLabel::SetAutoSizing(bool value)
{
    autoSizing_ = value;
    Invalidate();
}

void THTMLabel::SetImages(TCustomImageList* value)
{
    if (images_)
        images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_)
        images_->FreeNotification(this);
    Invalidate();
}

void THTMLabel::SetURLColor(TColor value)
{
    if (value == urlColor_)
        return;
    urlColor_ = value;
    Invalidate();
}

void THTMLabel::SetBevelInner(TBevelCut value)
{
    bevelInner_ = value;
    Invalidate();
}

void THTMLabel::SetBevelOuter(TBevelCut value)
{
    bevelOuter_ = value;
    Invalidate();
}

void THTMLabel::SetBevelWidth(int value)
{
    bevelWidth_ = value;
    Invalidate();
}

void THTMLabel::SetBorderWidth(int value)
{
    borderWidth_ = value;
    Invalidate();
}

void THTMLabel::SetBorderStyle(TBorderStyle value)
{
    borderStyle_ = value;
    Invalidate();
}

std::string THTMLabel::JoinedText() const
{
    std::string s;
    for (int i = 0; i < htmlText_->Count(); ++i)
        s += htmlText_->Strings(i);
    return s;
}

void THTMLabel::Paint()
{
    text_.clear();
    TCustomLabel::Paint();
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        const bool lowered = cut == bvLowered;
        Frame3D(canvas, r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow,
                bevelWidth_);
    };
    bevel(bevelOuter_);
    Frame3D(canvas, r, Color(), Color(), borderWidth_);
    bevel(bevelInner_);
    if (borderStyle_ == bsSingle && borderWidth_ > 0) {
        canvas->Pen()->SetColor(clBlack);
        canvas->Pen()->SetWidth(borderWidth_);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(r);
        canvas->Pen()->SetWidth(1);
    }
    if (bevelInner_ != bvNone || bevelOuter_ != bvNone)
        InflateRect(&r, -bevelWidth_, -bevelWidth_);
    if (borderStyle_ == bsSingle)
        InflateRect(&r, -borderWidth_, -borderWidth_);

    const std::string html = JoinedText();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    if (autoSizing_) {
        r.right += 65535;
        r.bottom += 250;
    }
    canvas->SetFont(Font());
    std::string anchor, plain;
    int xsize = 0, ysize = 0;
    DrawHtmlText(canvas, html, r, images_, 0, 0, false, false, false, 1.0, urlColor_, anchor, plain, xsize, ysize);
    if (autoSizing_) {
        if (xsize + 6 != Width())
            SetWidth(xsize + 6);
        if (ysize + 6 > Height())
            SetHeight(ysize + 6);
    }
}

std::string THTMLabel::AnchorAt(int x, int y)
{
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    std::string anchor, plain;
    int xsize = 0, ysize = 0;
    if (DrawHtmlText(canvas, JoinedText(), ClientRect(), images_, x, y, true, false, false, 1.0, urlColor_, anchor,
                     plain, xsize, ysize))
        return anchor;
    return std::string();
}

void THTMLabel::MouseMove(TShiftState shift, int x, int y)
{
    (void)shift;
    const std::string anchor = AnchorAt(x, y);
    if (!anchor.empty()) {
        if (Cursor() == crDefault || anchor != lastAnchor_) {
            lastAnchor_ = anchor;
            if (anchorHint_ && Application)
                Application->CancelHint();
            SetCursor(crHandPoint);
            OnAnchorEnter(this, anchor);
        }
    } else if (Cursor() == crHandPoint) {
        SetCursor(crDefault);
        OnAnchorExit(this, std::string());
    }
}

void THTMLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomLabel::MouseDown(button, shift, x, y);
    const std::string anchor = AnchorAt(x, y);
    if (anchor.empty())
        return;
    if (IsShellAnchor(anchor))
        OpenShellAnchor(anchor);
    else
        OnAnchorClick(this, anchor);
}

void THTMLabel::Dispatch(TMessage& m)
{
    if (m.Msg == CM_HINTSHOW) {
        auto* info = reinterpret_cast<THintInfo*>(m.LParam);
        if (anchorHint_ && info) {
            const std::string anchor = AnchorAt(info->CursorPos.x, info->CursorPos.y);
            if (!anchor.empty()) {
                info->HintStr = anchor;
                const TPoint p = ClientToScreen(info->CursorPos);
                info->HintPos = Point(p.x + 10, p.y - 10);
            }
        }
        m.Result = 0;
        return;
    }
    TCustomLabel::Dispatch(m);
}

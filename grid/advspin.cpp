#include "grid/advspin.h"

#include <windows.h>

#include <algorithm>

#include "classlib/TypInfo.h"
#include "grid/AdvUtil.h"

void InitAdvSpinUnit()
{
    RegisterComponentClass(TAdvSpinButton::StaticClass());
    RegisterComponentClass(TAdvSpinEdit::StaticClass());
}

// ---------------------------------------------------------------------------
// TAdvTimerSpeedButton

TAdvTimerSpeedButton::TAdvTimerSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

void TAdvTimerSpeedButton::SetFocusShown(bool value)
{
    if (value == focusShown_)
        return;
    focusShown_ = value;
    Invalidate();
}

void TAdvTimerSpeedButton::SetArrowKind(int value)
{
    arrowKind_ = value;
    Invalidate();
}

void TAdvTimerSpeedButton::InvalidateParent()
{
    if (Parent() && Parent()->HandleAllocated())
        InvalidateRect(Parent()->Handle(), nullptr, TRUE);
}

void TAdvTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TSpeedButton::MouseDown(button, shift, x, y);
    if (timerAllowed_) {
        if (!timer_) {
            timer_ = new TTimer(this);
            timer_->SetEnabled(false);
            timer_->OnTimer = TNotifyEvent(this, &TAdvTimerSpeedButton::TimerExpired);
        }
        timer_->SetInterval(400);
        timer_->SetEnabled(true);
    }
    InvalidateParent();
}

void TAdvTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TSpeedButton::MouseUp(button, shift, x, y);
    if (timer_)
        timer_->SetEnabled(false);
    InvalidateParent();
}

void TAdvTimerSpeedButton::TimerExpired(TObject*)
{
    timer_->SetInterval(100);
    if (State() == bsDown && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            timer_->SetEnabled(false);
            throw;
        }
    }
}

void TAdvTimerSpeedButton::Paint()
{
    if (arrowKind_ == 0 || arrowKind_ == 1) {
        TRect r = ClientRect();
        const UINT arrow = arrowKind_ == 0 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
        DrawFrameControl(Canvas()->Handle(), &r, DFC_SCROLL,
                         arrow | (State() == bsDown ? DFCS_PUSHED : 0) | (Enabled() ? 0 : DFCS_INACTIVE));
    } else {
        TSpeedButton::Paint();
    }
    if (focusShown_) {
        TRect r = ClientRect();
        InflateRect(&r, -3, -3);
        Canvas()->DrawFocusRect(r);
    }
}

// ---------------------------------------------------------------------------
// TAdvSpinButton

TAdvSpinButton::TAdvSpinButton(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle((ControlStyle() & ~csAcceptsControls) | csOpaque);
    auto make = [this](const char* resource, int kind) {
        auto* b = new TAdvTimerSpeedButton(this);
        b->SetTimerAllowed(true);
        b->SetParent(this);
        b->OnMouseDown = TMouseEvent(this, &TAdvSpinButton::ButtonPressed);
        b->OnClick = TNotifyEvent(this, &TAdvSpinButton::ButtonClicked);
        DefaultGlyph(b, resource);
        b->SetArrowKind(kind);
        return b;
    };
    up_ = make("AdvSpinUp", 2);
    down_ = make("AdvSpinDown", 3);
    focused_ = up_;
    SetBounds(0, 0, 15, 25);
}

const TClassInfo* TAdvSpinButton::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TAdvSpinButton::StaticClass()
{
    using C = TAdvSpinButton;
    static const TClassInfo info(
        "TAdvSpinButton", &TWinControl::StaticClass(), &NewComponent<TAdvSpinButton>,
        {
            PublishEnum<&C::Direction, &C::SetDirection>("Direction", {"spVertical", "spHorizontal"}),
            PublishObject<&C::UpGlyph, &C::SetUpGlyph>("UpGlyph"),
            PublishObject<&C::DownGlyph, &C::SetDownGlyph>("DownGlyph"),
            PublishInteger<&C::UpNumGlyphs, &C::SetUpNumGlyphs>("UpNumGlyphs"),
            PublishInteger<&C::DownNumGlyphs, &C::SetDownNumGlyphs>("DownNumGlyphs"),
            PublishComponent<&C::FocusControl, &C::SetFocusControl>("FocusControl"),
            PublishEvent<&C::OnUpClick>("OnUpClick"),
            PublishEvent<&C::OnDownClick>("OnDownClick"),
        });
    return info;
}

void TAdvSpinButton::DefaultGlyph(TAdvTimerSpeedButton* button, const char* resource)
{
    TBitmap glyph;
    glyph.LoadFromResourceName(GetModuleHandleA(nullptr), resource);
    button->SetGlyph(&glyph);
    button->SetNumGlyphs(1);
}

void TAdvSpinButton::SetUpGlyph(TBitmap* value)
{
    if (value && !value->Empty())
        up_->SetGlyph(value);
    else
        DefaultGlyph(up_, "AdvSpinUp");
    up_->Invalidate();
}

void TAdvSpinButton::SetDownGlyph(TBitmap* value)
{
    if (value && !value->Empty())
        down_->SetGlyph(value);
    else
        DefaultGlyph(down_, "AdvSpinDown");
    down_->Invalidate();
}

void TAdvSpinButton::SetFocusControl(TWinControl* value)
{
    if (focusControl_)
        focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    if (value)
        value->FreeNotification(this);
}

void TAdvSpinButton::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

void TAdvSpinButton::SetDirection(TSpinDirection value)
{
    if (value == direction_)
        return;
    direction_ = value;
    RecreateWnd();
    if (value == spHorizontal) {
        SetWidth(20);
        up_->SetArrowKind(1);
        down_->SetArrowKind(0);
    } else {
        SetWidth(15);
        up_->SetArrowKind(2);
        down_->SetArrowKind(3);
    }
    Layout();
}

void TAdvSpinButton::SetBounds(int left, int top, int width, int height)
{
    TWinControl::SetBounds(left, top, width, height);
    Layout();
}

void TAdvSpinButton::Loaded()
{
    TWinControl::Loaded();
    Layout();
}

void TAdvSpinButton::Layout()
{
    if (IsLoading() || !up_ || !down_)
        return;
    const int w = Width(), h = Height();
    if (direction_ == spVertical) {
        if (w < 15) {
            SetWidth(15);
            return;
        }
        const int half = h / 2;
        up_->SetBounds(0, 0, w, half);
        down_->SetBounds(0, half - 1, w, h - half + 1);
    } else {
        if (w < 20) {
            SetWidth(20);
            return;
        }
        const int half = w / 2;
        down_->SetBounds(0, 0, half, h);
        up_->SetBounds(half + 1, 0, half, h);
    }
}

void TAdvSpinButton::ButtonPressed(TObject* sender, TMouseButton button, TShiftState, int, int)
{
    if (button != mbLeft)
        return;
    SetFocusBtn(static_cast<TAdvTimerSpeedButton*>(sender));
    if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
        focusControl_->SetFocus();
    else if (TabStop() && CanFocus() && !Focused())
        SetFocus();
}

void TAdvSpinButton::ButtonClicked(TObject* sender)
{
    if (sender == up_)
        OnUpClick(this);
    else
        OnDownClick(this);
}

void TAdvSpinButton::SetFocusBtn(TAdvTimerSpeedButton* button)
{
    if (!TabStop() || !CanFocus() || button == focused_)
        return;
    focused_->SetFocusShown(false);
    focused_ = button;
    if (Focused()) {
        focused_->SetFocusShown(true);
        Invalidate();
    }
}

void TAdvSpinButton::KeyDown(WORD& key, TShiftState shift)
{
    switch (key) {
    case VK_SPACE:
        focused_->Click();
        break;
    case VK_UP:
        SetFocusBtn(up_);
        up_->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(down_);
        down_->Click();
        break;
    }
    TWinControl::KeyDown(key, shift);
}

void TAdvSpinButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TWinControl::Dispatch(m);
        focused_->SetFocusShown(m.Msg == WM_SETFOCUS);
        focused_->Invalidate();
        return;
    }
    TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TAdvSpinEdit

TAdvSpinEdit::TAdvSpinEdit(TComponent* owner) : TCustomEdit(owner)
{
    button_ = new TAdvSpinButton(this);
    button_->SetBounds(0, 0, 15, 17);
    button_->SetVisible(true);
    button_->SetParent(this);
    button_->SetFocusControl(this);
    button_->OnUpClick = TNotifyEvent(this, &TAdvSpinEdit::UpClicked);
    button_->OnDownClick = TNotifyEvent(this, &TAdvSpinEdit::DownClicked);
    SetText("0");
}

TAdvSpinEdit::~TAdvSpinEdit()
{
    Destroying();
    button_ = nullptr;
}

const TClassInfo* TAdvSpinEdit::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TAdvSpinEdit::StaticClass()
{
    using C = TAdvSpinEdit;
    static const TClassInfo info(
        "TAdvSpinEdit", &TCustomEdit::StaticClass(), &NewComponent<TAdvSpinEdit>,
        {
            PublishInteger<&C::Value, &C::SetValue>("Value"),
            PublishInteger<&C::MinValue, &C::SetMinValue>("MinValue"),
            PublishInteger<&C::MaxValue, &C::SetMaxValue>("MaxValue"),
            PublishInteger<&C::Increment, &C::SetIncrement>("Increment"),
            PublishBoolean<&C::EditorEnabled, &C::SetEditorEnabled>("EditorEnabled"),
            PublishBoolean<&C::AutoSelect, &C::SetAutoSelect>("AutoSelect"),
            PublishEnum<&C::Direction, &C::SetDirection>("Direction", {"spVertical", "spHorizontal"}),
        });
    return info;
}

void TAdvSpinEdit::Loaded()
{
    TCustomEdit::Loaded();
    Resize();
}

int TAdvSpinEdit::Bounded(int value) const
{
    if (minValue_ == maxValue_)
        return value;
    return std::clamp(value, minValue_, maxValue_);
}

int TAdvSpinEdit::Value()
{
    int value = 0;
    return TryStrToInt(Text(), value) ? value : minValue_;
}

void TAdvSpinEdit::SetValue(int value)
{
    SetText(IntToStr(Bounded(value)));
    if (!editorEnabled_)
        SelectAll();
}

bool TAdvSpinEdit::AcceptsChar(char key)
{
    const auto c = static_cast<unsigned char>(key);
    const bool accepted = c == '+' || c == '-' || (c >= '0' && c <= '9') ||
                          c == static_cast<unsigned char>(FormatSettings().DecimalSeparator) || (c < 32 && c != '\r');
    if (accepted && !editorEnabled_ && (c >= 32 || c == '\b'))
        return false;
    return accepted;
}

void TAdvSpinEdit::StepUp()
{
    if (ReadOnly())
        GridBeep();
    else
        SetValue(Value() + increment_);
}

void TAdvSpinEdit::StepDown()
{
    if (ReadOnly())
        GridBeep();
    else
        SetValue(Value() - increment_);
}

void TAdvSpinEdit::SetDirection(TSpinDirection value)
{
    if (!button_ || value == button_->Direction())
        return;
    button_->SetDirection(value);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

int TAdvSpinEdit::MinHeight()
{
    const int room = EditTextRoom(Font());
    return BorderStyle() == bsSingle ? room + 4 * GetSystemMetrics(SM_CYBORDER) + 2 : room + 2;
}

void TAdvSpinEdit::CreateParams(TCreateParams& p)
{
    TCustomEdit::CreateParams(p);
    p.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TAdvSpinEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    SetEditRect();
}

void TAdvSpinEdit::SetEditRect()
{
    if (!HandleAllocated() || !button_)
        return;
    const bool border = BorderStyle() == bsSingle;
    const int edge = border ? 0 : 1;
    RECT r{edge, edge, ClientWidth() - button_->Width() - (border ? 2 : 3), ClientHeight() + 1};
    // The area is all the text gets: no margins of the font's inside it.
    SendMessageA(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TAdvSpinEdit::Resize()
{
    const int least = MinHeight();
    if (Height() < least) {
        SetHeight(least);
        return;
    }
    if (button_) {
        const int a = BorderStyle() == bsSingle ? 5 : 1;
        button_->SetBounds(Width() - button_->Width() - a, 0, button_->Width(), Height() - a);
        SetEditRect();
    }
    TCustomEdit::Resize();
}

void TAdvSpinEdit::KeyDown(WORD& key, TShiftState shift)
{
    const bool step = key == VK_UP || key == VK_DOWN;
    if (key == VK_UP)
        StepUp();
    else if (key == VK_DOWN)
        StepDown();
    TCustomEdit::KeyDown(key, shift);
    // Stepped: the edit's own Up and Down would only move the caret off the
    // selection the step made.
    if (step)
        key = 0;
}

void TAdvSpinEdit::KeyPress(char& key)
{
    if (!AcceptsChar(key)) {
        key = 0;
        GridBeep();
        return;
    }
    TCustomEdit::KeyPress(key);
}

void TAdvSpinEdit::DoEnter()
{
    if (autoSelect_ && !(editorEnabled_ && (GetKeyState(VK_LBUTTON) & 0x8000)))
        SelectAll();
    TCustomEdit::DoEnter();
}

void TAdvSpinEdit::DoExit()
{
    TCustomEdit::DoExit();
    const int value = Value();
    if (Bounded(value) != value)
        SetValue(value);
}

void TAdvSpinEdit::DefaultHandler(TMessage& m)
{
    TCustomEdit::DefaultHandler(m);
    // The edit sets its own text area again for a new font or size.
    if (m.Msg == WM_SETFONT || m.Msg == WM_SIZE)
        SetEditRect();
}

void TAdvSpinEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_CUT:
    case WM_PASTE:
        if (!editorEnabled_ || ReadOnly())
            return;
        break;
    case WM_GETDLGCODE:
        TCustomEdit::Dispatch(m);
        m.Result |= DLGC_WANTARROWS;
        return;
    }
    TCustomEdit::Dispatch(m);
}

#include "grid/AdvCombo.h"

#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

void InitAdvComboUnit()
{
    RegisterComponentClass(TAdvComboBox::StaticClass());
}

TAdvCustomCombo::TAdvCustomCombo(TComponent* owner)
    : TCustomComboBox(owner), buttonWidth_(GetSystemMetrics(SM_CXVSCROLL) + 2), savedColor_(Color()),
      savedParentColor_(ParentColor())
{
}

const TClassInfo* TAdvCustomCombo::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TAdvCustomCombo::StaticClass()
{
    static const TClassInfo info("TAdvCustomCombo", &TCustomComboBox::StaticClass(), nullptr);
    return info;
}

const TClassInfo* TAdvComboBox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TAdvComboBox::StaticClass()
{
    using C = TAdvComboBox;
    static const TClassInfo info("TAdvComboBox", &TAdvCustomCombo::StaticClass(), &NewComponent<TAdvComboBox>,
                                 {
                                     PublishInteger<&C::ButtonWidth, &C::SetButtonWidth>("ButtonWidth"),
                                     PublishBoolean<&C::Flat, &C::SetFlat>("Flat"),
                                     PublishBoolean<&C::Etched, &C::SetEtched>("Etched"),
                                     PublishBoolean<&C::FocusBorder, &C::SetFocusBorder>("FocusBorder"),
                                 });
    return info;
}

void TAdvCustomCombo::SetButtonWidth(int value)
{
    if (value < 14 || value > 32)
        return;
    buttonWidth_ = value;
    Invalidate();
}

void TAdvCustomCombo::SetFlat(bool value)
{
    if (value == flat_)
        return;
    flat_ = value;
    Invalidate();
}

void TAdvCustomCombo::SetEtched(bool value)
{
    if (value == etched_)
        return;
    etched_ = value;
    Invalidate();
}

bool TAdvCustomCombo::Hot()
{
    if (mouseInControl_)
        return true;
    TCustomForm* form = GetParentForm(this);
    return form && form->ActiveControl() == this;
}

bool TAdvCustomCombo::FocusLook()
{
    return Hot() && focusBorder_;
}

TColor TAdvCustomCombo::ParentBackground() const
{
    return Parent() ? Parent()->Color() : clBtnFace;
}

void TAdvCustomCombo::MouseEntered()
{
    if (!Enabled() || mouseInControl_)
        return;
    mouseInControl_ = true;
    DrawBorders();
}

void TAdvCustomCombo::MouseLeft()
{
    // Moving between the combo and its own edit is no leaving.
    POINT p;
    GetCursorPos(&p);
    RECT r{};
    if (HandleAllocated() && GetWindowRect(Handle(), &r) && PtInRect(&r, p))
        return;
    if (!mouseInControl_)
        return;
    mouseInControl_ = false;
    DrawBorders();
}

void TAdvCustomCombo::EditMouse(UINT msg)
{
    if (msg == WM_MOUSEMOVE) {
        MouseEntered();
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, EditHandle(), 0};
        TrackMouseEvent(&track);
    } else {
        MouseLeft();
    }
}

void TAdvCustomCombo::DrawBorders()
{
    if (!flat_ || !HandleAllocated())
        return;
    HWND wnd = Handle();
    HDC dc = GetWindowDC(wnd);
    RECT r;
    GetWindowRect(wnd, &r);
    OffsetRect(&r, -r.left, -r.top);
    const int cw = ClientWidth(), ch = ClientHeight();
    const bool focusLook = FocusLook();
    const COLORREF outer = ColorToRGB(focusLook ? clBtnFace : ParentBackground());
    HBRUSH outerBrush = CreateSolidBrush(outer);
    HBRUSH windowBrush = CreateSolidBrush(ColorToRGB(Color()));
    if (focusLook) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else {
        FrameRect(dc, &r, outerBrush);
        InflateRect(&r, -1, -1);
    }
    FrameRect(dc, &r, outerBrush);
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, windowBrush);
    if (Style() != csSimple) {
        ExcludeClipRect(dc, cw - buttonWidth_ + 4, 4, cw - 4, ch - 4);
        RECT button{cw - buttonWidth_ - 2, 0, r.right + 2, ch};
        InflateRect(&button, -2, -2);
        if (Hot()) {
            const UINT edge = etched_ ? EDGE_ETCHED : BDR_RAISEDINNER;
            DrawEdge(dc, &button, edge, BF_RECT | (DroppedDown() ? BF_FLAT : 0));
        } else {
            RECT face{button.left, button.top + 1, button.right - 1, button.bottom - 1};
            HBRUSH faceBrush = GetSysColorBrush(COLOR_BTNFACE);
            FillRect(dc, &face, faceBrush);
        }
        ExcludeClipRect(dc, button.left, button.top, button.right, button.bottom);
    }
    DeleteObject(outerBrush);
    DeleteObject(windowBrush);
    ReleaseDC(wnd, dc);
}

void TAdvCustomCombo::PaintFlat(TMessage& m)
{
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    const bool begun = dc == nullptr;
    if (begun)
        dc = BeginPaint(Handle(), &ps);
    const int cw = ClientWidth(), ch = ClientHeight();
    if (Style() != csSimple) {
        RECT client{0, 0, cw, ch};
        FillRect(dc, &client, Brush()->Handle());
        RECT button{cw - buttonWidth_, 0, cw, ch};
        InflateRect(&button, -1, -1);
        DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT | (Enabled() ? 0 : DFCS_INACTIVE));
        ExcludeClipRect(dc, cw - buttonWidth_ - 4, 0, cw, ch);
    }
    TMessage text = m;
    text.WParam = reinterpret_cast<WPARAM>(dc);
    DefaultHandler(text);
    if (begun)
        EndPaint(Handle(), &ps);
    DrawBorders();
    m.Result = 0;
}

void TAdvCustomCombo::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        if (flat_) {
            PaintFlat(m);
            return;
        }
        break;
    case WM_NCPAINT:
        TCustomComboBox::Dispatch(m);
        DrawBorders();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomComboBox::Dispatch(m);
        DrawBorders();
        return;
    case CM_MOUSEENTER:
        if (reinterpret_cast<TControl*>(m.LParam) == this)
            MouseEntered();
        break;
    case CM_MOUSELEAVE:
        if (reinterpret_cast<TControl*>(m.LParam) == this)
            MouseLeft();
        break;
    case CM_ENABLEDCHANGED:
        if (flat_) {
            if (!Enabled()) {
                savedColor_ = Color();
                savedParentColor_ = ParentColor();
                SetColor(ParentBackground());
            } else {
                SetColor(savedColor_);
                SetParentColor(savedParentColor_);
            }
        }
        break;
    case CN_COMMAND:
        if (HIWORD(m.WParam) == CBN_DROPDOWN || HIWORD(m.WParam) == CBN_CLOSEUP) {
            if (HandleAllocated()) {
                RECT strip{ClientWidth() - buttonWidth_, 0, ClientWidth(), ClientHeight()};
                InvalidateRect(Handle(), &strip, FALSE);
            }
        }
        break;
    }
    TCustomComboBox::Dispatch(m);
}

#include "classlib/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

namespace {

// The windowless control that captured the mouse (its parent's window has
// the system's capture meanwhile).
TControl* captureControl = nullptr;

// Canvases that took a device context of their own outside painting; the
// window procedure lets them go once the outermost message is handled.
std::vector<TControlCanvas*>& CanvasesWithDC()
{
    static std::vector<TControlCanvas*> list;
    return list;
}

} // namespace

TControl* CaptureControl()
{
    return captureControl;
}

void FreeControlCanvasDCs()
{
    auto& list = CanvasesWithDC();
    while (!list.empty())
        list.back()->FreeHandle();
}

// ---------------------------------------------------------------------------
// Helpers

TShiftState KeyboardShiftState()
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

TShiftState MouseShiftState(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_SHIFT)
        s |= ssShift;
    if (keys & MK_CONTROL)
        s |= ssCtrl;
    if (keys & MK_LBUTTON)
        s |= ssLeft;
    if (keys & MK_RBUTTON)
        s |= ssRight;
    if (keys & MK_MBUTTON)
        s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

bool IsAccel(char key, const std::string& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        char a[2] = {key, 0};
        char b[2] = {text[i + 1], 0};
        CharUpperBuffA(a, 1);
        CharUpperBuffA(b, 1);
        return a[0] == b[0];
    }
    return false;
}

bool CallbackGuard(TObject* sender, void (*f)(void*), void* context) noexcept
{
    try {
        f(context);
        return true;
    } catch (...) {
        try {
            if (Application) {
                Application->HandleException(sender);
            } else {
                try {
                    throw;
                } catch (const std::exception& e) {
                    MessageBoxA(nullptr, e.what(), nullptr, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
                }
            }
        } catch (...) {
            // Nothing more can be done without unwinding into Windows.
        }
        return false;
    }
}

// ---------------------------------------------------------------------------
// TControlCanvas

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::CreateHandle()
{
    HWND wnd = nullptr;
    int dx = 0, dy = 0;
    if (auto* w = dynamic_cast<TWinControl*>(control_)) {
        wnd = w->Handle();
    } else if (control_->Parent()) {
        wnd = control_->Parent()->Handle();
        dx = control_->Left();
        dy = control_->Top();
    }
    if (!wnd)
        return;
    HDC dc = GetDC(wnd);
    if (!dc)
        return;
    if (dx || dy) {
        SetViewportOrgEx(dc, dx, dy, nullptr);
        IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
    }
    window_ = wnd;
    ownDC_ = dc;
    CanvasesWithDC().push_back(this);
    SetHandle(dc);
}

void TControlCanvas::FreeHandle()
{
    if (!ownDC_)
        return;
    SetHandle(nullptr);
    ReleaseDC(window_, ownDC_);
    ownDC_ = nullptr;
    window_ = nullptr;
    auto& list = CanvasesWithDC();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>())
{
    font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl()
{
    Destroying();
    if (Application)
        Application->ControlDestroying(this);
    if (captureControl == this) {
        captureControl = nullptr;
        ReleaseCapture();
    }
    if (parent_)
        parent_->RemoveControl(this);
}

const TClassInfo* TControl::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TControl::StaticClass()
{
    static const TClassInfo info(
        "TControl", &TComponent::StaticClass(), nullptr,
        {
            PublishInteger<&TControl::Left, &TControl::SetLeft>("Left"),
            PublishInteger<&TControl::Top, &TControl::SetTop>("Top"),
            PublishInteger<&TControl::Width, &TControl::SetWidth>("Width"),
            PublishInteger<&TControl::Height, &TControl::SetHeight>("Height"),
            PublishEnum<&TControl::Align, &TControl::SetAlign>(
                "Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}),
            PublishBoolean<&TControl::Visible, &TControl::SetVisible>("Visible"),
            PublishBoolean<&TControl::Enabled, &TControl::SetEnabled>("Enabled"),
            PublishColor<&TControl::Color, &TControl::SetColor>("Color"),
            PublishBoolean<&TControl::ParentColor, &TControl::SetParentColor>("ParentColor"),
            PublishObject<&TControl::Font, &TControl::SetFont>("Font"),
            PublishBoolean<&TControl::ParentFont, &TControl::SetParentFont>("ParentFont"),
            PublishString<&TControl::Hint, &TControl::SetHint>("Hint"),
            PublishBoolean<&TControl::ShowHint, &TControl::SetShowHint>("ShowHint"),
            PublishBoolean<&TControl::ParentShowHint, &TControl::SetParentShowHint>("ParentShowHint"),
            PublishInteger<&TControl::Cursor, &TControl::SetCursor>("Cursor"),
            PublishInteger<&TControl::HelpContext, &TControl::SetHelpContext>("HelpContext"),
            PublishString<&TControl::Caption, &TControl::SetCaption>("Caption"),
            PublishString<&TControl::Text, &TControl::SetText>("Text"),
            PublishEvent<&TControl::OnClick>("OnClick"),
            PublishEvent<&TControl::OnDblClick>("OnDblClick"),
            PublishEvent<&TControl::OnMouseDown>("OnMouseDown"),
            PublishEvent<&TControl::OnMouseUp>("OnMouseUp"),
            PublishEvent<&TControl::OnMouseMove>("OnMouseMove"),
            PublishEvent<&TControl::OnResize>("OnResize"),
        });
    return info;
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    for (const TControl* p = parent; p; p = p->parent_)
        if (p == this)
            throw EInvalidOperation("A control cannot be its own parent");
    if (parent_)
        parent_->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent)
{
    if (auto* w = dynamic_cast<TWinControl*>(parent))
        SetParent(w);
}

TComponent* TControl::GetParentComponent() const
{
    return parent_;
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    const bool sized = width != width_ || height != height_;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    AfterBoundsChange(sized);
}

void TControl::AfterBoundsChange(bool sized)
{
    if (IsDestroying())
        return;
    if (parent_ && align_ != alNone && !parent_->aligning_)
        parent_->AlignControl(this);
    if (sized) {
        if (auto* w = dynamic_cast<TWinControl*>(this))
            w->Realign();
        Resize();
    }
}

void TControl::Resize()
{
    if (!IsLoading() && !IsDestroying())
        OnResize(this);
}

void TControl::RequestAlign()
{
    if (parent_ && !IsDestroying())
        parent_->AlignControl(this);
}

void TControl::SetAlign(TAlign align)
{
    if (align == align_)
        return;
    align_ = align;
    RequestAlign();
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    if (!visible)
        Invalidate();
    visible_ = visible;
    if (visible)
        Invalidate();
    Changed(CM_VISIBLECHANGED, visible);
    if (align_ != alNone)
        RequestAlign();
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Changed(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    parentColor_ = false;
    Changed(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value)
{
    if (value == parentColor_)
        return;
    parentColor_ = value;
    if (value && parent_)
        Changed(CM_PARENTCOLORCHANGED);
}

void TControl::FontChanged(TObject*)
{
    if (!takingParentFont_)
        parentFont_ = false;
    Changed(CM_FONTCHANGED);
}

void TControl::TakeParentFont()
{
    takingParentFont_ = true;
    try {
        font_->Assign(parent_->Font());
    } catch (...) {
        takingParentFont_ = false;
        throw;
    }
    takingParentFont_ = false;
}

void TControl::SetParentFont(bool value)
{
    if (value == parentFont_)
        return;
    parentFont_ = value;
    if (value && parent_)
        Changed(CM_PARENTFONTCHANGED);
}

void TControl::SetShowHint(bool value)
{
    if (value == showHint_)
        return;
    showHint_ = value;
    parentShowHint_ = false;
    Changed(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value)
{
    if (value == parentShowHint_)
        return;
    parentShowHint_ = value;
    if (value && parent_)
        Changed(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor cursor)
{
    if (cursor == cursor_)
        return;
    cursor_ = cursor;
    Perform(CM_CURSORCHANGED, 0, 0);
    // Show it at once when the mouse is over the control.
    POINT p;
    if (Showing() && GetCursorPos(&p) && FindDragTarget(p, true) == this && Screen && Screen->Cursor() == crDefault)
        ::SetCursor(Screen->Cursors(cursor));
}

void TControl::SetText(const std::string& text)
{
    if (GetText() == text)
        return;
    text_ = text;
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowTextA(w->handle_, text.c_str());
    TextChanged();
    Changed(CM_TEXTCHANGED);
}

bool TControl::Showing() const
{
    return visible_ && parent_ && parent_->Showing();
}

TRect TControl::ClientRect() const
{
    return Rect(0, 0, width_, height_);
}

TPoint TControl::ClientOrigin() const
{
    if (auto* w = dynamic_cast<TWinControl*>(const_cast<TControl*>(this)); w && (w->HandleAllocated() || !parent_)) {
        POINT p{0, 0};
        ::ClientToScreen(w->Handle(), &p);
        return p;
    }
    if (!parent_)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    TPoint p = parent_->ClientOrigin();
    p.x += left_;
    p.y += top_;
    return p;
}

TPoint TControl::ClientToScreen(TPoint point) const
{
    const TPoint o = ClientOrigin();
    return Point(point.x + o.x, point.y + o.y);
}

TPoint TControl::ScreenToClient(TPoint point) const
{
    const TPoint o = ClientOrigin();
    return Point(point.x - o.x, point.y - o.y);
}

void TControl::Invalidate()
{
    if (!parent_ || !parent_->HandleAllocated() || IsDestroying() || (!visible_))
        return;
    RECT r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, (controlStyle_ & csOpaque) == 0);
}

void TControl::Update()
{
    if (parent_)
        parent_->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::BringToFront()
{
    if (!parent_)
        return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    Invalidate();
}

bool TControl::MouseCapture() const
{
    if (auto* w = dynamic_cast<const TWinControl*>(this))
        return w->handle_ && GetCapture() == w->handle_;
    return captureControl == this;
}

void TControl::SetMouseCapture(bool value)
{
    if (value == MouseCapture())
        return;
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        if (value)
            SetCapture(w->Handle());
        else
            ReleaseCapture();
        return;
    }
    if (value) {
        if (!parent_ || !parent_->HandleAllocated())
            return;
        captureControl = this;
        SetCapture(parent_->handle_);
    } else {
        captureControl = nullptr;
        ReleaseCapture();
    }
}

void TControl::SetControlState(unsigned flags, bool on)
{
    if (on)
        controlState_ |= flags;
    else
        controlState_ &= ~flags;
}

TControlCanvas* TControl::ControlCanvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TControlCanvas>(this);
    return canvas_.get();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    WndProc(m);
    return m.Result;
}

void TControl::Changed(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsDestroying())
        Perform(msg, wParam, lParam);
}

void TControl::WndProc(TMessage& message)
{
    Dispatch(message);
}

void TControl::DefaultHandler(TMessage& message)
{
    message.Result = 0;
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (parent_) {
        if (parentColor_ && parent_->color_ != color_) {
            SetColor(parent_->color_);
            parentColor_ = true;
        }
        if (parentFont_)
            TakeParentFont();
        if (parentShowHint_)
            showHint_ = parent_->showHint_;
    }
}

void TControl::Click()
{
    OnClick(this);
}

void TControl::DblClick()
{
    OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    OnMouseMove(this, shift, x, y);
}

void TControl::MouseButtonMessage(TMessage& m, TMouseButton button, bool down, bool dbl)
{
    if (dbl && !(controlStyle_ & csDoubleClicks))
        dbl = false;
    const int x = GET_X_LPARAM(m.LParam);
    const int y = GET_Y_LPARAM(m.LParam);
    TShiftState shift = MouseShiftState(m.WParam);
    if (dbl)
        shift |= ssDouble;
    DefaultHandler(m);
    if (down) {
        if (button == mbLeft) {
            if (controlStyle_ & csCaptureMouse)
                SetMouseCapture(true);
            // The release after a double click is no click of its own.
            if (controlStyle_ & csClickEvents) {
                if (dbl)
                    DblClick();
                else
                    controlState_ |= csClicked;
            }
        }
        MouseDown(button, shift, x, y);
    } else {
        if (button == mbLeft) {
            if (controlStyle_ & csCaptureMouse)
                SetMouseCapture(false);
            if (controlState_ & csClicked) {
                controlState_ &= ~csClicked;
                const TRect r = ClientRect();
                const POINT p{x, y};
                if (PtInRect(&r, p))
                    Click();
            }
        }
        MouseUp(button, shift, x, y);
    }
}

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        MouseButtonMessage(m, mbLeft, true, false);
        return;
    case WM_LBUTTONDBLCLK:
        MouseButtonMessage(m, mbLeft, true, true);
        return;
    case WM_LBUTTONUP:
        MouseButtonMessage(m, mbLeft, false, false);
        return;
    case WM_RBUTTONDOWN:
        MouseButtonMessage(m, mbRight, true, false);
        return;
    case WM_RBUTTONDBLCLK:
        MouseButtonMessage(m, mbRight, true, true);
        return;
    case WM_RBUTTONUP:
        MouseButtonMessage(m, mbRight, false, false);
        return;
    case WM_MBUTTONDOWN:
        MouseButtonMessage(m, mbMiddle, true, false);
        return;
    case WM_MBUTTONDBLCLK:
        MouseButtonMessage(m, mbMiddle, true, true);
        return;
    case WM_MBUTTONUP:
        MouseButtonMessage(m, mbMiddle, false, false);
        return;
    case WM_MOUSEMOVE:
        if (Application)
            Application->MouseMovedOver(this);
        DefaultHandler(m);
        MouseMove(MouseShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        return;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_ && parent_) {
            SetColor(parent_->color_);
            parentColor_ = true;
        }
        return;
    case CM_PARENTFONTCHANGED:
        if (parentFont_ && parent_)
            TakeParentFont();
        return;
    case CM_PARENTSHOWHINTCHANGED:
        if (parentShowHint_ && parent_) {
            SetShowHint(parent_->showHint_);
            parentShowHint_ = true;
        }
        return;
    default:
        DefaultHandler(m);
    }
}

// ---------------------------------------------------------------------------
// TGraphicControl, TCustomControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner)
{
}

void TGraphicControl::Dispatch(TMessage& message)
{
    TControl::Dispatch(message);
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner)
{
    SetControlState(csCustomPaint, true);
}

void TCustomControl::PaintWindow(HDC dc)
{
    TCanvasDCLoan loan(ControlCanvas(), dc);
    Paint();
}

// ---------------------------------------------------------------------------
// Finding controls

namespace {

const char* const NameProperty = "QmxComponentName";

struct FindContext {
    std::string wanted;
    HWND found = nullptr;
};

BOOL CALLBACK FindByName(HWND wnd, LPARAM param)
{
    auto* ctx = reinterpret_cast<FindContext*>(param);
    std::string name = ComponentNameOfWindow(wnd);
    if (!name.empty() && name.size() == ctx->wanted.size() && AnsiUpperCase(name) == ctx->wanted) {
        ctx->found = wnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::string ComponentNameOfWindow(HWND wnd)
{
    const ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(wnd, NameProperty)));
    if (!atom)
        return std::string();
    char buffer[256];
    const UINT n = GlobalGetAtomNameA(atom, buffer, sizeof buffer);
    return std::string(buffer, n);
}

HWND FindComponentWindow(HWND parent, const std::string& name)
{
    if (name.empty())
        return nullptr;
    FindContext ctx;
    ctx.wanted = AnsiUpperCase(name);
    if (parent)
        EnumChildWindows(parent, FindByName, reinterpret_cast<LPARAM>(&ctx));
    else
        EnumWindows(FindByName, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

void SetComponentNameProperty(HWND wnd, const std::string& name, ATOM& atom)
{
    if (atom) {
        RemovePropA(wnd, NameProperty);
        GlobalDeleteAtom(atom);
        atom = 0;
    }
    if (name.empty() || name.size() > 255)
        return;
    atom = GlobalAddAtomA(name.c_str());
    if (atom)
        SetPropA(wnd, NameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

TControl* FindDragTarget(TPoint pos, bool allowDisabled)
{
    HWND wnd = WindowFromPoint(pos);
    TControl* found = nullptr;
    for (; wnd; wnd = GetParent(wnd))
        if ((found = FindControl(wnd)))
            break;
    auto* w = dynamic_cast<TWinControl*>(found);
    if (!w)
        return found;
    POINT client = pos;
    ScreenToClient(w->Handle(), &client);
    if (TControl* child = w->ControlAtPos(client, allowDisabled))
        return child;
    return w;
}

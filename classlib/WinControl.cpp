// TWinControl: controls over real windows, their window procedure, the
// reflection of notifications to child controls, painting of windowless
// children, keys and focus, and alignment of the children.
#include "classlib/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

void FreeControlCanvasDCs();
TControl* CaptureControl();
void SetComponentNameProperty(HWND wnd, const std::string& name, ATOM& atom);

namespace {

const char* const ControlProperty = "QmxControl";

// The control whose window CreateWindowEx is making: the first message of
// the new window binds it.
TWinControl* creatingControl = nullptr;
int messageDepth = 0;

int NextControlId()
{
    static int id = 100;
    if (++id > 0xFFFF)
        id = 101;
    return id;
}

bool IsMouseMessage(UINT msg)
{
    return msg == WM_MOUSEMOVE || (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK);
}

HINSTANCE Instance()
{
    return GetModuleHandleA(nullptr);
}

} // namespace

TControl* FindControl(HWND wnd)
{
    if (!wnd)
        return nullptr;
    // Only windows of this process carry a pointer that means something here.
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != GetCurrentProcessId())
        return nullptr;
    return static_cast<TWinControl*>(GetPropA(wnd, ControlProperty));
}

LRESULT CALLBACK ControlWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* control = static_cast<TWinControl*>(GetPropA(wnd, ControlProperty));
    if (!control) {
        control = creatingControl;
        if (!control)
            return DefWindowProcA(wnd, msg, wParam, lParam);
        creatingControl = nullptr;
        control->handle_ = wnd;
        SetPropA(wnd, ControlProperty, control);
    }
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    ++messageDepth;
    if (control->IsDestroying()) {
        // A control being destroyed only lets its window go.
        if (control->defWndProc_)
            m.Result = CallWindowProcA(control->defWndProc_, wnd, msg, wParam, lParam);
    } else {
        CallbackGuard(control, [&] { control->WndProc(m); });
    }
    if (msg == WM_NCDESTROY)
        control->Detach();
    if (--messageDepth == 0)
        FreeControlCanvasDCs();
    return m.Result;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner)
{
    brush_.SetColor(Color());
}

TWinControl::~TWinControl()
{
    Destroying();
    if (TCustomForm* form = GetParentForm(this))
        form->ControlGone(this);
    if (handle_)
        DestroyWindow(handle_);
    // A parent frees its children, whoever owns them.
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        RemoveControl(child);
        delete child;
    }
}

const TClassInfo* TWinControl::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TWinControl::StaticClass()
{
    static const TClassInfo info("TWinControl", &TControl::StaticClass(), nullptr,
                                 {
                                     PublishBoolean<&TWinControl::TabStop, &TWinControl::SetTabStop>("TabStop"),
                                     PublishInteger<&TWinControl::TabOrder, &TWinControl::SetTabOrder>("TabOrder"),
                                     PublishEvent<&TWinControl::OnEnter>("OnEnter"),
                                     PublishEvent<&TWinControl::OnExit>("OnExit"),
                                     PublishEvent<&TWinControl::OnKeyDown>("OnKeyDown"),
                                     PublishEvent<&TWinControl::OnKeyPress>("OnKeyPress"),
                                     PublishEvent<&TWinControl::OnKeyUp>("OnKeyUp"),
                                 });
    return info;
}

// ---------------------------------------------------------------------------
// The window

HWND TWinControl::Handle()
{
    if (!handle_)
        CreateHandle();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p)
{
    p.Caption = text_;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle() & csAcceptsControls)
        p.Style |= WS_CLIPCHILDREN;
    if (Visible())
        p.Style |= WS_VISIBLE;
    if (!Enabled())
        p.Style |= WS_DISABLED;
    if (tabStop_)
        p.Style |= WS_TABSTOP;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.WndParent = Parent() ? Parent()->handle_ : parentWindow_;
    p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    p.WindowClass.lpfnWndProc = DefWindowProcA;
    p.WindowClass.hInstance = Instance();
    p.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& p, const char* systemClass)
{
    WNDCLASSA wc{};
    if (!GetClassInfoA(nullptr, systemClass, &wc) && !GetClassInfoA(Instance(), systemClass, &wc))
        throw EInvalidOperation(std::string("Window class ") + systemClass + " does not exist");
    // The window behaves as the system class; its own settings stay ours.
    p.WindowClass = wc;
    p.WindowClass.hInstance = Instance();
    p.WindowClass.lpszClassName = nullptr;
    p.WindowClass.lpszMenuName = nullptr;
}

void TWinControl::CreateWnd()
{
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) && !p.WndParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    WNDCLASSA existing{};
    const bool registered = GetClassInfoA(Instance(), p.WinClassName.c_str(), &existing);
    if (!registered || existing.lpfnWndProc != ControlWndProc) {
        if (registered)
            UnregisterClassA(p.WinClassName.c_str(), Instance());
        WNDCLASSA wc = p.WindowClass;
        wc.lpfnWndProc = ControlWndProc;
        wc.hInstance = Instance();
        wc.lpszClassName = p.WinClassName.c_str();
        if (!RegisterClassA(&wc))
            RaiseLastOSError();
    }
    defWndProc_ = p.WindowClass.lpfnWndProc;
    CreateWindowHandle(p);
}

void TWinControl::CreateWindowHandle(const TCreateParams& p)
{
    HMENU id = (p.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId_)) : nullptr;
    creatingControl = this;
    HWND wnd = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                               p.Height, p.WndParent, id, Instance(), nullptr);
    creatingControl = nullptr;
    if (!wnd) {
        const DWORD error = GetLastError();
        handle_ = nullptr;
        throw EOSError("Cannot create the window of " + Name() + ": " + SysErrorMessage(error), error);
    }
    handle_ = wnd;
}

void TWinControl::CreateHandle()
{
    if (handle_)
        return;
    // The parent's window comes first, and makes this one with its children.
    if (Parent() && !Parent()->handle_) {
        Parent()->CreateHandle();
        if (handle_)
            return;
    }
    SetControlState(csCreatingHandle, true);
    try {
        CreateWnd();
    } catch (...) {
        SetControlState(csCreatingHandle, false);
        throw;
    }
    SetControlState(csCreatingHandle, false);
    UpdateNameProperty();
    TMessage font;
    font.Msg = WM_SETFONT;
    font.WParam = reinterpret_cast<WPARAM>(Font()->Handle());
    DefaultHandler(font);
    UpdateBoundsFromWindow();
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible() && !w->handle_)
            w->CreateHandle();
}

void TWinControl::DestroyHandle()
{
    if (!handle_)
        return;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd()
{
    text_ = GetText();
    DestroyWindow(handle_);
    handle_ = nullptr;
}

void TWinControl::RecreateWnd()
{
    if (!handle_)
        return;
    const bool focused = Focused();
    DestroyHandle();
    UpdateShowing();
    if (!handle_ && IsTopLevel())
        HandleNeeded();
    if (handle_ && IsTopLevel() && Visible())
        ShowWindow(handle_, SW_SHOWNA);
    if (focused && handle_ && CanFocus())
        ::SetFocus(handle_);
}

void TWinControl::Detach()
{
    RemovePropA(handle_, ControlProperty);
    if (nameAtom_)
        SetComponentNameProperty(handle_, std::string(), nameAtom_);
    handle_ = nullptr;
}

void TWinControl::UpdateNameProperty()
{
    if (handle_)
        SetComponentNameProperty(handle_, Name(), nameAtom_);
}

void TWinControl::SetName(const std::string& name)
{
    TControl::SetName(name);
    UpdateNameProperty();
}

void TWinControl::SetParentWindow(HWND wnd)
{
    if (wnd == parentWindow_)
        return;
    parentWindow_ = wnd;
    if (Parent())
        return;
    if (handle_ && wnd)
        ::SetParent(handle_, wnd);
    else if (handle_)
        DestroyHandle();
    else if (wnd && Visible())
        CreateHandle();
}

std::string TWinControl::GetText() const
{
    if (!handle_)
        return text_;
    const int n = GetWindowTextLengthA(handle_);
    std::string s(n + 1, '\0');
    const int got = GetWindowTextA(handle_, s.data(), n + 1);
    s.resize(got > 0 ? got : 0);
    return s;
}

void TWinControl::UpdateShowing()
{
    if (IsLoading() || IsDestroying())
        return;
    if (Visible() && !handle_ && !IsTopLevel() && ((Parent() && Parent()->handle_) || (!Parent() && parentWindow_)))
        CreateHandle();
    if (handle_ && !IsTopLevel())
        ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::UpdateBoundsFromWindow()
{
    if (!handle_ || IsIconic(handle_))
        return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (HWND parent = GetParent(handle_); parent && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (r.left == Left() && r.top == Top() && w == Width() && h == Height())
        return;
    const bool sized = w != Width() || h != Height();
    left_ = r.left;
    top_ = r.top;
    width_ = w;
    height_ = h;
    AfterBoundsChange(sized);
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    if (handle_ && !IsIconic(handle_)) {
        if (left == Left() && top == Top() && width == Width() && height == Height())
            return;
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        // Windows may refuse a size; the bounds follow the window.
        UpdateBoundsFromWindow();
    } else {
        TControl::SetBounds(left, top, width, height);
    }
}

void TWinControl::FrameSize(int& dx, int& dy) const
{
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    dx = r.right - r.left;
    dy = r.bottom - r.top;
}

TRect TWinControl::ClientRect() const
{
    RECT r{};
    if (handle_ && !IsIconic(handle_)) {
        GetClientRect(handle_, &r);
        return r;
    }
    int dx, dy;
    FrameSize(dx, dy);
    return Rect(0, 0, std::max(0, Width() - dx), std::max(0, Height() - dy));
}

void TWinControl::SetClientWidth(int value)
{
    if (IsLoading()) {
        clientWidthRequest_ = value;
        return;
    }
    SetWidth(Width() - ClientRect().right + value);
}

void TWinControl::SetClientHeight(int value)
{
    if (IsLoading()) {
        clientHeightRequest_ = value;
        return;
    }
    SetHeight(Height() - ClientRect().bottom + value);
}

void TWinControl::SetVisible(bool visible)
{
    if (visible == Visible())
        return;
    TControl::SetVisible(visible);
    UpdateShowing();
}

bool TWinControl::Showing() const
{
    if (!Visible())
        return false;
    if (Parent())
        return Parent()->Showing();
    return handle_ && IsWindowVisible(handle_);
}

void TWinControl::Invalidate()
{
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update()
{
    if (handle_)
        UpdateWindow(handle_);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::BringToFront()
{
    if (Parent()) {
        auto& list = Parent()->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        list.push_back(this);
    }
    if (handle_)
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    if (clientWidthRequest_ >= 0)
        SetClientWidth(clientWidthRequest_);
    if (clientHeightRequest_ >= 0)
        SetClientHeight(clientHeightRequest_);
    clientWidthRequest_ = clientHeightRequest_ = -1;
    if (tabOrderRequest_ >= 0 && Parent())
        Parent()->SortTabList();
    Realign();
}

// ---------------------------------------------------------------------------
// Children

void TWinControl::InsertControl(TControl* c)
{
    c->parent_ = this;
    controls_.push_back(c);
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w) {
        tabList_.push_back(w);
        if (!w->controlId_)
            w->controlId_ = NextControlId();
    }
    if (c->parentFont_)
        c->TakeParentFont();
    if (c->parentColor_ && c->Color() != Color()) {
        c->SetColor(Color());
        c->parentColor_ = true;
    }
    if (c->parentShowHint_)
        c->showHint_ = ShowHint();
    if (w) {
        if (w->handle_) {
            if (handle_)
                ::SetParent(w->handle_, handle_);
            else
                w->DestroyHandle();
        } else if (handle_) {
            w->UpdateShowing();
        }
    } else {
        c->Invalidate();
    }
    if (c->Align() != alNone)
        AlignControl(c);
}

void TWinControl::RemoveControl(TControl* c)
{
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end())
        return;
    const bool going = IsDestroying();
    tabList_.erase(std::remove_if(tabList_.begin(), tabList_.end(),
                                  [c](TWinControl* w) { return static_cast<TControl*>(w) == c; }),
                   tabList_.end());
    if (!going) {
        if (TCustomForm* form = GetParentForm(this))
            form->ControlGone(c);
    }
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->handle_ && !w->IsDestroying()) {
        w->DestroyHandle();
    } else if (!going && handle_ && c->Visible()) {
        // A windowless control leaves its place to be painted again.
        RECT r = c->BoundsRect();
        InvalidateRect(handle_, &r, TRUE);
    }
    controls_.erase(std::find(controls_.begin(), controls_.end(), c));
    c->parent_ = nullptr;
    if (!going && c->Align() != alNone)
        Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allWindowed) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        const bool windowed = dynamic_cast<TWinControl*>(c) != nullptr;
        if (windowed && !allWindowed)
            continue;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled))
            continue;
        const RECT r = c->BoundsRect();
        if (PtInRect(&r, pos))
            return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message)
{
    // A handler may change the children: copy first.
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children) {
        c->WndProc(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT msg)
{
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children)
        c->Perform(msg);
}

// ---------------------------------------------------------------------------
// Alignment

void TWinControl::EnableAlign()
{
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && (ControlState() & csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign()
{
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* moved)
{
    if (IsDestroying() || aligning_)
        return;
    if (alignDisabled_ > 0 || IsLoading()) {
        SetControlState(csAlignmentNeeded, true);
        return;
    }
    aligning_ = true;
    try {
        TRect r = ClientRect();
        AdjustClientRect(r);
        AlignControls(moved, r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
    SetControlState(csAlignmentNeeded, false);
}

void TWinControl::AlignControls(TControl* moved, TRect& rect)
{
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == align && c->Visible())
                list.push_back(c);
        auto key = [align](const TControl* c) {
            switch (align) {
            case alTop: return c->Top();
            case alBottom: return -(c->Top() + c->Height());
            case alLeft: return c->Left();
            case alRight: return -(c->Left() + c->Width());
            default: return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(), [&](const TControl* a, const TControl* b) {
            const int ka = key(a), kb = key(b);
            if (ka != kb)
                return ka < kb;
            return a == moved && b != moved;
        });
        for (TControl* c : list) {
            const int w = std::max(0L, rect.right - rect.left);
            const int h = std::max(0L, rect.bottom - rect.top);
            switch (align) {
            case alTop:
                c->SetBounds(rect.left, rect.top, w, c->Height());
                rect.top += c->Height();
                break;
            case alBottom:
                c->SetBounds(rect.left, rect.bottom - c->Height(), w, c->Height());
                rect.bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(rect.left, rect.top, c->Width(), h);
                rect.left += c->Width();
                break;
            case alRight:
                c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), h);
                rect.right -= c->Width();
                break;
            default:
                c->SetBounds(rect.left, rect.top, w, h);
                break;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Tab order and focus

void TWinControl::SetTabStop(bool value)
{
    if (value == tabStop_)
        return;
    tabStop_ = value;
    if (handle_) {
        LONG style = GetWindowLongA(handle_, GWL_STYLE);
        SetWindowLongA(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (IsLoading()) {
        // The siblings may not exist yet: ordered when loaded.
        tabOrderRequest_ = value;
        return;
    }
    tabOrderRequest_ = -1;
    if (!Parent())
        return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (value < 0 || value > static_cast<int>(list.size()))
        value = static_cast<int>(list.size());
    list.insert(list.begin() + value, this);
}

void TWinControl::SortTabList()
{
    std::stable_sort(tabList_.begin(), tabList_.end(), [](const TWinControl* a, const TWinControl* b) {
        const unsigned ka = static_cast<unsigned>(a->tabOrderRequest_);  // -1 sorts last
        const unsigned kb = static_cast<unsigned>(b->tabOrderRequest_);
        return ka < kb;
    });
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    const int n = static_cast<int>(list.size());
    if (n == 0)
        return;
    int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
    if (start >= n)
        start = forward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* c = list[i];
        if (c == current && step + 1 < n)
            continue;
        if ((!checkTabStop || c->TabStop()) && c->CanFocus()) {
            c->SetFocus();
            return;
        }
    }
}

bool TWinControl::CanFocus() const
{
    const TCustomForm* form = GetParentForm(this);
    if (!form)
        return Visible() && Enabled();
    for (const TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const
{
    return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm(this); form && form != this) {
        form->FocusControl(this);
        return;
    }
    if (!CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

// ---------------------------------------------------------------------------
// Messages

void TWinControl::WndProc(TMessage& m)
{
    if (IsMouseMessage(m.Msg) && RouteMouseToChild(m))
        return;
    TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m)
{
    // The library's own messages mean nothing to a window procedure.
    if (m.Msg >= CM_BASE && m.Msg < 0xC000) {
        m.Result = 0;
        return;
    }
    if (!handle_ || !defWndProc_) {
        m.Result = 0;
        return;
    }
    m.Result = CallWindowProcA(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

bool TWinControl::RouteMouseToChild(TMessage& m)
{
    TControl* target = nullptr;
    TControl* captured = CaptureControl();
    if (captured && captured->Parent() == this)
        target = captured;
    else
        target = ControlAtPos(Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)), false);
    if (!target)
        return false;
    TMessage child = m;
    child.LParam = MAKELPARAM(GET_X_LPARAM(m.LParam) - target->Left(), GET_Y_LPARAM(m.LParam) - target->Top());
    target->WndProc(child);
    m.Result = child.Result;
    return true;
}

void TWinControl::Reflect(TMessage& m, HWND child)
{
    TControl* c = FindControl(child);
    if (c && c != this)
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    else
        DefaultHandler(m);
}

void TWinControl::PaintWindow(HDC dc)
{
    TMessage m;
    m.Msg = WM_PAINT;
    m.WParam = reinterpret_cast<WPARAM>(dc);
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, const TRect& clip)
{
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible())
            continue;
        const RECT bounds = g->BoundsRect();
        RECT common;
        if (!IntersectRect(&common, &bounds, &clip))
            continue;
        const int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, g->Left(), g->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, g->Width(), g->Height());
        try {
            TCanvasDCLoan loan(g->ControlCanvas(), dc);
            g->Paint();
        } catch (...) {
            RestoreDC(dc, saved);
            throw;
        }
        RestoreDC(dc, saved);
    }
}

void TWinControl::WmPaint(TMessage& m)
{
    bool graphicChildren = false;
    for (TControl* c : controls_)
        if (dynamic_cast<TGraphicControl*>(c) && c->Visible())
            graphicChildren = true;
    if (!(ControlState() & csCustomPaint) && !graphicChildren) {
        DefaultHandler(m);
        return;
    }
    if (m.WParam) {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        PaintWindow(dc);
        PaintControls(dc, ClientRect());
        return;
    }
    TPaintScope paint(handle_);
    PaintWindow(paint.DC());
    PaintControls(paint.DC(), paint.Info().rcPaint);
}

void TWinControl::WmSetCursor(TMessage& m)
{
    if (LOWORD(m.LParam) == HTCLIENT && Screen) {
        TCursor cursor = Screen->Cursor();
        if (cursor == crDefault && reinterpret_cast<HWND>(m.WParam) == handle_) {
            POINT p;
            GetCursorPos(&p);
            ::ScreenToClient(handle_, &p);
            TControl* c = ControlAtPos(p, false);
            cursor = c && c->Cursor() != crDefault ? c->Cursor() : Cursor();
        }
        if (cursor != crDefault) {
            ::SetCursor(Screen->Cursors(cursor));
            m.Result = TRUE;
            return;
        }
    }
    DefaultHandler(m);
}

bool TWinControl::DoKeyDown(TMessage& m)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyDown(m))
        return true;
    WORD key = static_cast<WORD>(m.WParam);
    KeyDown(key, KeyboardShiftState());
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& m)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyUp(m))
        return true;
    WORD key = static_cast<WORD>(m.WParam);
    KeyUp(key, KeyboardShiftState());
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& m)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(m))
        return true;
    char key = static_cast<char>(m.WParam);
    KeyPress(key);
    m.WParam = static_cast<unsigned char>(key);
    return key == 0;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift)
{
    OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(char& key)
{
    OnKeyPress(this, key);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift)
{
    OnKeyUp(this, key, shift);
}

void TWinControl::DialogKeyMessage(TMessage& m)
{
    m.Result = 0;
    DWORD mask = 0;
    switch (m.WParam) {
    case VK_TAB:
        mask = DLGC_WANTTAB;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        mask = DLGC_WANTARROWS;
        break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
        mask = DLGC_WANTALLKEYS;
        break;
    }
    if (!mask || Perform(CM_WANTSPECIALKEY, m.WParam, m.LParam) != 0 || (Perform(WM_GETDLGCODE) & mask))
        return;
    if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0)
        m.Result = 1;
}

void TWinControl::DialogCharMessage(TMessage& m)
{
    m.Result = 0;
    if (m.Msg == CN_CHAR && (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS))
        return;
    if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
        m.Result = 1;
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        WmPaint(m);
        return;
    case WM_ERASEBKGND:
        if (defWndProc_ == DefWindowProcA && !(ControlStyle() & csOpaque)) {
            RECT r;
            GetClientRect(handle_, &r);
            FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_.Handle());
            m.Result = 1;
            return;
        }
        break;
    case WM_SETCURSOR:
        WmSetCursor(m);
        return;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(m);
        UpdateBoundsFromWindow();
        return;
    case WM_SETFOCUS:
        DefaultHandler(m);
        if (TCustomForm* form = GetParentForm(this); form && form != this)
            form->SetFocusedControl(this);
        return;
    case WM_MOUSELEAVE:
        if (Application)
            Application->MouseLeftWindow(handle_);
        DefaultHandler(m);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(m))
            DefaultHandler(m);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(m))
            DefaultHandler(m);
        return;
    case WM_CHAR:
        if (!DoKeyPress(m))
            DefaultHandler(m);
        return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        DialogKeyMessage(m);
        return;
    case CN_CHAR:
    case CN_SYSCHAR:
        DialogCharMessage(m);
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
        Broadcast(m);
        return;
    case WM_COMMAND:
        if (m.LParam)
            Reflect(m, reinterpret_cast<HWND>(m.LParam));
        else
            DefaultHandler(m);
        return;
    case WM_NOTIFY:
        Reflect(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
        return;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (item->CtlType != ODT_MENU)
            Reflect(m, item->hwndItem);
        else
            DefaultHandler(m);
        return;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (item->CtlType != ODT_MENU) {
            // No window handle in the message (the child may still be in
            // CreateWindowEx): the control identifier finds it.
            for (TWinControl* c : tabList_)
                if (c->controlId_ == static_cast<int>(item->CtlID)) {
                    m.Result = c->Perform(CN_MEASUREITEM, m.WParam, m.LParam);
                    return;
                }
        }
        DefaultHandler(m);
        return;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (m.LParam)
            Reflect(m, reinterpret_cast<HWND>(m.LParam));
        else
            DefaultHandler(m);
        return;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        Reflect(m, reinterpret_cast<HWND>(m.LParam));
        return;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(brush_.Color()));
        m.Result = reinterpret_cast<LRESULT>(brush_.Handle());
        return;
    }
    case CM_ENABLEDCHANGED:
        if (handle_)
            EnableWindow(handle_, Enabled());
        break;
    case CM_COLORCHANGED:
        brush_.SetColor(Color());
        NotifyControls(CM_PARENTCOLORCHANGED);
        break;
    case CM_FONTCHANGED:
        if (handle_) {
            TMessage font;
            font.Msg = WM_SETFONT;
            font.WParam = reinterpret_cast<WPARAM>(Font()->Handle());
            font.LParam = TRUE;
            DefaultHandler(font);
        }
        NotifyControls(CM_PARENTFONTCHANGED);
        break;
    case CM_SHOWHINTCHANGED:
        NotifyControls(CM_PARENTSHOWHINTCHANGED);
        return;
    }
    TControl::Dispatch(m);
}

#include "classlib/Forms.h"

#include <algorithm>

#include "classlib/FormReader.h"
#include "classlib/Stopwatch.h"
#include "classlib/TypInfo.h"

namespace {

// Disables the visible, enabled top-level windows of the thread except one,
// and gives them back.
BOOL CALLBACK DisableOne(HWND wnd, LPARAM param)
{
    auto* list = reinterpret_cast<std::vector<HWND>*>(param);
    if (wnd != list->front() && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
        list->push_back(wnd);
        EnableWindow(wnd, FALSE);
    }
    return TRUE;
}

std::vector<HWND> DisableTaskWindows(HWND except)
{
    std::vector<HWND> list{except};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&list));
    list.erase(list.begin());
    return list;
}

void EnableTaskWindows(const std::vector<HWND>& list)
{
    for (HWND wnd : list)
        if (IsWindow(wnd))
            EnableWindow(wnd, TRUE);
}

} // namespace

// ---------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner)
{
    visible_ = false;
    parentColor_ = false;
    parentFont_ = false;
    parentShowHint_ = false;
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetControlState(csCustomPaint, true);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    if (Screen)
        Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    // Forms this one owns are freed whole, with their OnDestroy.
    for (int i = ComponentCount() - 1; i >= 0; --i)
        if (i < ComponentCount())
            if (auto* form = dynamic_cast<TCustomForm*>(Components(i)))
                form->Free();
    if (Application)
        Application->ControlDestroying(this);
    if (Screen)
        Screen->RemoveForm(this);
    activeControl_ = focusedControl_ = nullptr;
}

const TClassInfo* TCustomForm::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomForm::StaticClass()
{
    static const TClassInfo info(
        "TCustomForm", &TWinControl::StaticClass(), nullptr,
        {
            PublishEnum<&TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle>(
                "BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}),
            PublishSet<&TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons>(
                "BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}),
            PublishEnum<&TCustomForm::Position, &TCustomForm::SetPosition>(
                "Position", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                             "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}),
            PublishEnum<&TCustomForm::WindowState, &TCustomForm::SetWindowState>(
                "WindowState", {"wsNormal", "wsMinimized", "wsMaximized"}),
            PublishEnum<&TCustomForm::FormStyle, &TCustomForm::SetFormStyle>("FormStyle", {"fsNormal", "fsStayOnTop"}),
            PublishInteger<&TControl::ClientWidth, &TControl::SetClientWidth>("ClientWidth"),
            PublishInteger<&TControl::ClientHeight, &TControl::SetClientHeight>("ClientHeight"),
            PublishComponent<&TCustomForm::ActiveControl, &TCustomForm::SetActiveControl>("ActiveControl"),
            PublishBoolean<&TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview>("KeyPreview"),
            PublishEvent<&TCustomForm::OnCreate>("OnCreate"),
            PublishEvent<&TCustomForm::OnShow>("OnShow"),
            PublishEvent<&TCustomForm::OnHide>("OnHide"),
            PublishEvent<&TCustomForm::OnDestroy>("OnDestroy"),
            PublishEvent<&TCustomForm::OnActivate>("OnActivate"),
            PublishEvent<&TCustomForm::OnDeactivate>("OnDeactivate"),
            PublishEvent<&TCustomForm::OnPaint>("OnPaint"),
            PublishEvent<&TCustomForm::OnClose>("OnClose"),
            PublishEvent<&TCustomForm::OnCloseQuery>("OnCloseQuery"),
        });
    return info;
}

const TClassInfo* TForm::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TForm::StaticClass()
{
    static const TClassInfo info("TForm", &TCustomForm::StaticClass());
    return info;
}

void TCustomForm::InitForm()
{
    if (initialized_)
        return;
    initialized_ = true;
    const std::string resource = FormResourceName(this);
    if (FormResourceExists(resource)) {
        ReadFormResource(this, resource);
        if (StopwatchOn())
            StopwatchMark(("form " + resource + " read").c_str());
    }
    try {
        OnCreate(this);
    } catch (...) {
        if (Application)
            Application->HandleException(this);
        else
            throw;
    }
    if (StopwatchOn())
        StopwatchMark(("form " + resource + " created").c_str());
    if (visible_) {
        visible_ = false;
        SetVisible(true);
    }
}

void TCustomForm::Free()
{
    if (!destroyFired_) {
        destroyFired_ = true;
        Destroying();
        try {
            OnDestroy(this);
        } catch (...) {
            if (Application)
                Application->HandleException(this);
        }
    }
    delete this;
}

void TCustomForm::Release()
{
    PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (!Enabled())
        p.Style |= WS_DISABLED;
    p.ExStyle = 0;
    switch (borderStyle_) {
    case bsNone:
        p.Style |= WS_POPUP;
        break;
    case bsSingle:
        p.Style |= WS_CAPTION;
        break;
    case bsSizeable:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION;
        p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case bsToolWindow:
        p.Style |= WS_CAPTION;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu)) {
        p.Style |= WS_SYSMENU;
        const bool small = borderStyle_ == bsDialog || borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
        if (!small && (borderIcons_ & biMinimize))
            p.Style |= WS_MINIMIZEBOX;
        if (!small && (borderIcons_ & biMaximize))
            p.Style |= WS_MAXIMIZEBOX;
        if (borderStyle_ == bsDialog && (borderIcons_ & biHelp))
            p.ExStyle |= WS_EX_CONTEXTHELP;
    }
    if (formStyle_ == fsStayOnTop)
        p.ExStyle |= WS_EX_TOPMOST;
    if (position_ == poDefault || position_ == poDefaultPosOnly) {
        if (!(p.Style & WS_POPUP))
            p.X = p.Y = CW_USEDEFAULT;
    }
    if (position_ == poDefault || position_ == poDefaultSizeOnly) {
        if (!(p.Style & WS_POPUP))
            p.Width = p.Height = CW_USEDEFAULT;
    }
    p.WndParent = Application ? Application->Handle() : nullptr;
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    p.WindowClass.hIcon = icon ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

void TCustomForm::CreateWnd()
{
    TWinControl::CreateWnd();
    Realign();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(unsigned value)
{
    if (value == borderIcons_)
        return;
    borderIcons_ = value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value)
{
    if (value == formStyle_)
        return;
    formStyle_ = value;
    if (handle_)
        SetWindowPos(handle_, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const
{
    if (handle_ && IsWindowVisible(handle_))
        return IsIconic(handle_) ? wsMinimized : IsZoomed(handle_) ? wsMaximized : wsNormal;
    return windowState_;
}

void TCustomForm::SetWindowState(TWindowState value)
{
    windowState_ = value;
    if (handle_ && !IsLoading() && IsWindowVisible(handle_))
        ShowWindow(handle_, value == wsMinimized ? SW_MINIMIZE : value == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::PlaceOnFirstShow()
{
    if (placed_)
        return;
    placed_ = true;
    const TCustomForm* around = nullptr;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
        break;
    case poMainFormCenter:
        around = Application ? Application->MainForm() : nullptr;
        break;
    case poOwnerFormCenter:
        around = dynamic_cast<const TCustomForm*>(Owner());
        break;
    default:
        return;
    }
    if (around == this)
        around = nullptr;
    int x, y;
    if (around) {
        x = around->Left() + (around->Width() - Width()) / 2;
        y = around->Top() + (around->Height() - Height()) / 2;
    } else {
        x = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
    }
    SetBounds(std::max(0, x), std::max(0, y), Width(), Height());
}

void TCustomForm::ShowWindowNow(bool visible)
{
    if (!visible) {
        ShowWindow(handle_, SW_HIDE);
        return;
    }
    const int show = windowState_ == wsMaximized ? SW_SHOWMAXIMIZED
                     : windowState_ == wsMinimized ? SW_SHOWMINIMIZED
                                                   : SW_SHOWNORMAL;
    ShowWindow(handle_, show);
}

void TCustomForm::SetVisible(bool visible)
{
    if (IsLoading()) {
        // Shown once it has been read.
        visible_ = visible;
        return;
    }
    if (!initialized_) {
        // A form made without TForm::Create is made now, then shown.
        visible_ = visible;
        InitForm();
        return;
    }
    const bool shown = handle_ && IsWindowVisible(handle_);
    if (visible == visible_ && visible == shown)
        return;
    visible_ = visible;
    if (visible) {
        HandleNeeded();
        PlaceOnFirstShow();
        if (StopwatchOn())
            StopwatchMark(("form " + Name() + " has its windows").c_str());
        OnShow(this);
        if (StopwatchOn())
            StopwatchMark(("form " + Name() + " OnShow done").c_str());
        ShowWindowNow(true);
    } else {
        OnHide(this);
        if (handle_)
            ShowWindowNow(false);
    }
    Changed(CM_VISIBLECHANGED, visible);
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::BringToFront()
{
    if (handle_ && IsWindowVisible(handle_))
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

int TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || modal_)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture())
        SendMessageA(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    HWND before = GetActiveWindow();
    HandleNeeded();
    const std::vector<HWND> disabled = DisableTaskWindows(handle_);
    modal_ = true;
    modalResult_ = mrNone;
    try {
        Show();
        do {
            Application->HandleMessage();
            if (Application->Terminated()) {
                modalResult_ = mrCancel;
            } else if (modalResult_ != mrNone) {
                TCloseAction action = caNone;
                if (CloseQuery()) {
                    action = caHide;
                    DoClose(action);
                }
                if (action == caNone)
                    modalResult_ = mrNone;
                else if (action == caFree)
                    Release();
            }
        } while (modalResult_ == mrNone);
    } catch (...) {
        modal_ = false;
        Hide();
        EnableTaskWindows(disabled);
        throw;
    }
    const TModalResult result = modalResult_;
    modal_ = false;
    Hide();
    EnableTaskWindows(disabled);
    if (before && IsWindow(before) && IsWindowVisible(before))
        SetActiveWindow(before);
    return result;
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control == activeControl_)
        return;
    if (IsLoading() || !control || !handle_ || !IsWindowVisible(handle_)) {
        activeControl_ = control;
        return;
    }
    FocusControl(control);
}

void TCustomForm::FocusControl(TWinControl* control)
{
    if (!control->CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_ = control;
    if (handle_ && IsWindowVisible(handle_))
        ::SetFocus(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control)
{
    if (IsDestroying() || control == focusedControl_)
        return;
    TWinControl* old = focusedControl_;
    focusedControl_ = control;
    activeControl_ = control;
    if (Screen)
        Screen->SetActiveControl(control);
    if (old && !old->IsDestroying())
        old->DoExit();
    if (focusedControl_ == control && control && !control->IsDestroying())
        control->DoEnter();
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlGone(TControl* control)
{
    auto inside = [control](TControl* c) {
        for (; c; c = c->Parent())
            if (c == control)
                return true;
        return false;
    };
    if (inside(activeControl_))
        activeControl_ = nullptr;
    if (inside(focusedControl_))
        focusedControl_ = nullptr;
}

void TCustomForm::FocusFirst()
{
    if (activeControl_ && activeControl_->CanFocus()) {
        ::SetFocus(activeControl_->Handle());
        return;
    }
    SelectNext(nullptr, true, true);
}

void TCustomForm::SetActive(bool active)
{
    active_ = active;
    if (active) {
        if (Screen)
            Screen->SetActiveForm(this);
        Activate();
    } else {
        Deactivate();
    }
}

void TCustomForm::PaintWindow(HDC dc)
{
    TCanvasDCLoan loan(ControlCanvas(), dc);
    Paint();
}

void TCustomForm::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_ACTIVATE: {
        const bool active = LOWORD(m.WParam) != WA_INACTIVE;
        SetActive(active);
        if (active && !HIWORD(m.WParam)) {
            FocusFirst();
            if (GetFocus() && IsChild(handle_, GetFocus()))
                return;
        }
        DefaultHandler(m);
        return;
    }
    case WM_SETFOCUS:
        DefaultHandler(m);
        if (activeControl_ && activeControl_->CanFocus())
            ::SetFocus(activeControl_->Handle());
        return;
    case WM_CLOSE:
        Close();
        return;
    case CM_RELEASE:
        Free();
        return;
    case CM_DIALOGKEY:
        if (m.WParam == VK_TAB && !(KeyboardShiftState() & (ssCtrl | ssAlt))) {
            SelectNext(activeControl_, !(KeyboardShiftState() & ssShift), true);
            m.Result = 1;
            return;
        }
        if (m.WParam >= VK_LEFT && m.WParam <= VK_DOWN) {
            if (activeControl_ && activeControl_->Parent()) {
                activeControl_->Parent()->SelectNext(activeControl_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN,
                                                     false);
                m.Result = 1;
            }
            return;
        }
        break;
    case WM_SIZE:
        DefaultHandler(m);
        UpdateBoundsFromWindow();
        return;
    }
    TWinControl::Dispatch(m);
}

TCustomForm* GetParentForm(const TControl* control)
{
    const TControl* c = control;
    while (c && c->Parent())
        c = c->Parent();
    return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
}

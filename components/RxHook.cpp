#include "components/RxHook.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/HiddenWindow.h"
#include "classlib/TypInfo.h"

// What the hook's procedure knows of one window it stands in front of: the
// procedure it replaced and the TControlHook it serves (none once that one
// left while a later procedure still calls this one). The window property
// below carries it, so one static procedure serves every hooked window.
struct THookedWindow {
    HWND wnd = nullptr;
    WNDPROC previous = nullptr;
    TControlHook* hook = nullptr;
    int depth = 0; // messages of the window in progress
    bool released = false; // freed once no message is in progress
};

namespace {

const char HookProperty[] = "QmxControlHook";

THookList* hookList = nullptr;

WNDPROC CurrentProc(HWND wnd)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC));
}

void SetProc(HWND wnd, WNDPROC proc)
{
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

// Takes the record off its window; it goes now, or when the last message in
// progress returns.
void ReleaseWindow(THookedWindow* w)
{
    if (IsWindow(w->wnd) && GetPropA(w->wnd, HookProperty) == w)
        RemovePropA(w->wnd, HookProperty);
    w->released = true;
    if (w->depth == 0)
        delete w;
}

} // namespace

LRESULT CALLBACK HookedWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* w = static_cast<THookedWindow*>(GetPropA(wnd, HookProperty));
    if (!w)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    ++w->depth;
    const LRESULT result =
        w->hook ? w->hook->WindowProc(*w, msg, wParam, lParam) : CallWindowProcA(w->previous, wnd, msg, wParam, lParam);
    --w->depth;
    if (!w->released && !w->hook) {
        // Left to pass messages on under a later procedure: done when the
        // window goes, or as soon as that procedure has taken itself away.
        const bool onTop = msg != WM_NCDESTROY && CurrentProc(wnd) == HookedWindowProc;
        if (msg == WM_NCDESTROY || onTop) {
            if (onTop)
                SetProc(wnd, w->previous);
            ReleaseWindow(w);
            return result;
        }
    }
    if (w->released && w->depth == 0)
        delete w;
    return result;
}

// ---------------------------------------------------------------------------
// TControlHook

TControlHook::TControlHook() = default;

TControlHook::~TControlHook()
{
    destroying_ = true;
    if (hookList)
        hookList->Remove(this);
    while (!watchers_.empty())
        RemoveWatcher(watchers_.back());
    Uninstall();
    control_ = nullptr;
}

void TControlHook::SetControl(TWinControl* control)
{
    if (control == control_)
        return;
    Uninstall();
    control_ = control;
    if (!watchers_.empty())
        Install();
}

void TControlHook::AddWatcher(TRxWindowHook* hook)
{
    if (std::find(watchers_.begin(), watchers_.end(), hook) == watchers_.end()) {
        watchers_.push_back(hook);
        hook->controlHook_ = this;
        SetControl(hook->control_);
    }
    Install();
}

void TControlHook::RemoveWatcher(TRxWindowHook* hook)
{
    hook->controlHook_ = nullptr;
    watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), hook), watchers_.end());
    if (watchers_.empty())
        Uninstall();
}

void TControlHook::Install()
{
    // Without watchers the control may be gone already: its watchers are
    // told when it goes, this object is not.
    if (!control_ || destroying_ || watchers_.empty() || control_->IsDestroying())
        return;
    HWND wnd = control_->Handle();
    if (window_) {
        if (window_->wnd == wnd)
            return;
        Uninstall();
    }
    if (auto* existing = static_cast<THookedWindow*>(GetPropA(wnd, HookProperty))) {
        // Still in the window's chain, passing messages on: serve from there.
        if (!existing->hook) {
            existing->hook = this;
            window_ = existing;
        }
        return;
    }
    auto* w = new THookedWindow;
    w->wnd = wnd;
    w->previous = CurrentProc(wnd);
    w->hook = this;
    SetPropA(wnd, HookProperty, w);
    SetProc(wnd, HookedWindowProc);
    window_ = w;
}

void TControlHook::Uninstall()
{
    THookedWindow* w = window_;
    window_ = nullptr;
    if (!w)
        return;
    w->hook = nullptr;
    if (!IsWindow(w->wnd)) {
        ReleaseWindow(w);
        return;
    }
    if (CurrentProc(w->wnd) == HookedWindowProc) {
        SetProc(w->wnd, w->previous);
        ReleaseWindow(w);
    }
    // Otherwise a procedure put in front later calls the hook's procedure,
    // which passes every message on to the replaced one until the window goes.
}

LRESULT TControlHook::WindowProc(THookedWindow& w, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!control_)
        return CallWindowProcA(w.previous, w.wnd, msg, wParam, lParam);
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    bool handled = false;
    // A watcher may free this object: w.hook then no longer names it, and
    // nothing of it is touched again.
    if (msg != WM_QUIT)
        NotifyWatchers(w, m, handled, true);
    if (w.hook != this) {
        if (!handled || msg == WM_DESTROY)
            m.Result = CallWindowProcA(w.previous, w.wnd, msg, wParam, lParam);
        return m.Result;
    }
    if (!handled || msg == WM_DESTROY) {
        m.Result = CallWindowProcA(w.previous, w.wnd, msg, wParam, lParam);
        if (w.hook != this)
            return m.Result;
        NotifyWatchers(w, m, handled, false);
        if (w.hook != this)
            return m.Result;
    }
    if (msg == WM_DESTROY) {
        TWinControl* control = control_;
        Uninstall();
        // Installed again on the window made next, unless the control goes.
        if (hookList && !destroying_ && !control->IsDestroying())
            hookList->Post(THookList::WM_REINSTALL, this);
    }
    return m.Result;
}

void TControlHook::NotifyWatchers(THookedWindow& w, TMessage& msg, bool& handled, bool before)
{
    if (watchers_.empty() || !control_ || destroying_ || control_->IsDestroying())
        return;
    for (size_t i = watchers_.size(); i-- > 0;) {
        if (i >= watchers_.size())
            continue;
        TRxWindowHook* hook = watchers_[i];
        CallbackGuard(hook, [&] {
            if (before)
                hook->FireBeforeMessage(msg, handled);
            else
                hook->FireAfterMessage(msg, handled);
        });
        if (w.hook != this || handled)
            return;
    }
}

// ---------------------------------------------------------------------------
// THookList

THookList::THookList()
    : window_(std::make_unique<THiddenWindow>(THiddenWindow::TWndMethod(this, &THookList::WndProc), nullptr))
{
}

THookList::~THookList()
{
    while (Count() > 0) {
        auto* hook = static_cast<TControlHook*>(Last());
        delete hook; // leaves the list itself
    }
}

TControlHook* THookList::FindHook(TWinControl* control) const
{
    if (!control)
        return nullptr;
    for (int i = 0; i < Count(); ++i)
        if (auto* hook = static_cast<TControlHook*>(Items(i)); hook->Control() == control)
            return hook;
    return nullptr;
}

TControlHook* THookList::HookFor(TWinControl* control)
{
    if (TControlHook* hook = FindHook(control))
        return hook;
    auto* hook = new TControlHook;
    try {
        Add(hook);
        hook->SetControl(control);
    } catch (...) {
        delete hook;
        throw;
    }
    return hook;
}

void THookList::Post(UINT msg, TControlHook* hook) const
{
    window_->Post(msg, 0, reinterpret_cast<LPARAM>(hook));
}

void THookList::WndProc(TMessage& m)
{
    if (m.Msg != WM_REINSTALL && m.Msg != WM_RELEASE) {
        window_->DefaultHandler(m);
        return;
    }
    // A hook freed since the message was posted is no longer in the list.
    void* item = reinterpret_cast<void*>(m.LParam);
    if (IndexOf(item) < 0)
        return;
    auto* hook = static_cast<TControlHook*>(item);
    if (m.Msg == WM_REINSTALL)
        hook->Install();
    else if (hook->WatcherCount() == 0)
        delete hook;
}

THookList* SharedHookList()
{
    if (!hookList)
        hookList = new THookList;
    return hookList;
}

bool HookListExists()
{
    return hookList != nullptr;
}

void DoneRxHookUnit()
{
    // The hooks leave the list while it goes, so it stays reachable until then.
    delete hookList;
    hookList = nullptr;
}

// ---------------------------------------------------------------------------
// TRxWindowHook

TRxWindowHook::TRxWindowHook(TComponent* owner) : TComponent(owner) { }

TRxWindowHook::~TRxWindowHook()
{
    SetActive(false);
    SetWinControl(nullptr);
}

const TClassInfo* TRxWindowHook::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TRxWindowHook::StaticClass()
{
    static const TClassInfo info(
        "TRxWindowHook", &TComponent::StaticClass(), &NewComponent<TRxWindowHook>,
        {
            PublishBoolean<&TRxWindowHook::Active, &TRxWindowHook::SetActive>("Active"),
            PublishComponent<&TRxWindowHook::WinControl, &TRxWindowHook::SetWinControl>("WinControl"),
            PublishEvent<&TRxWindowHook::BeforeMessage>("BeforeMessage"),
            PublishEvent<&TRxWindowHook::AfterMessage>("AfterMessage"),
            PublishBoolean<&TRxWindowHook::IsForm, &TRxWindowHook::SetIsForm>("IsForm"),
        });
    return info;
}

void TRxWindowHook::SetActive(bool value)
{
    if (value == active_)
        return;
    if (value)
        AttachToControl();
    else
        DetachFromControl();
}

TWinControl* TRxWindowHook::WinControl() const
{
    return controlHook_ ? controlHook_->Control() : control_;
}

bool TRxWindowHook::IsForm() const
{
    return WinControl() && WinControl() == Owner() && dynamic_cast<TCustomForm*>(Owner());
}

void TRxWindowHook::SetIsForm(bool value)
{
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()); value && form)
        SetWinControl(form);
}

void TRxWindowHook::AttachToControl()
{
    if (control_ && !IsDestroying())
        SharedHookList()->HookFor(control_)->AddWatcher(this);
    active_ = true;
}

void TRxWindowHook::DetachFromControl()
{
    if (controlHook_)
        controlHook_->RemoveWatcher(this);
    active_ = false;
}

void TRxWindowHook::SetWinControl(TWinControl* value)
{
    if (value == WinControl())
        return;
    const bool wasActive = active_;
    TControlHook* old = controlHook_;
    DetachFromControl();
    // The old control is not asked anything here: it may be going.
    control_ = value;
    if (value)
        value->FreeNotification(this);
    if (old && old->WatcherCount() == 0 && hookList)
        hookList->Post(THookList::WM_RELEASE, old);
    if (wasActive)
        AttachToControl();
}

void TRxWindowHook::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && (component == control_ || component == Owner() || !Owner()))
        SetWinControl(nullptr);
}

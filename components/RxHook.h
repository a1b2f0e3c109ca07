// Window-procedure hooks: any number of components watch the messages of one
// windowed control without a class of their own for it. Each watcher is a
// TRxWindowHook; the watchers of one control share one TControlHook, which
// puts one static procedure in front of the control's window procedure and
// calls the watchers around the procedure it replaced. Every TControlHook of
// the program sits in the one THookList, whose hidden window re-installs a
// hook on a re-created window and releases hooks nobody watches, each once
// the message that caused it has been handled.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Lists.h"

class TRxWindowHook;
class THiddenWindow;
struct THookedWindow;

// (Sender, Msg, Handled): Handled stops the watchers still to come and,
// before the message, the control's own procedure too (never for
// WM_DESTROY).
using THookMessageEvent = TEvent<TObject*, TMessage&, bool&>;

// One per hooked control.
class TControlHook : public TObject {
public:
    TControlHook();
    // Leaves the list, detaches every watcher (the last removal takes the
    // procedure away) and drops the control.
    ~TControlHook() override;
    TControlHook(const TControlHook&) = delete;
    TControlHook& operator=(const TControlHook&) = delete;

    TWinControl* Control() const { return control_; }
    // A different control: uninstalls from the old one, and installs on the
    // new one when there are watchers.
    void SetControl(TWinControl* control);
    int WatcherCount() const { return static_cast<int>(watchers_.size()); }

    // Appends the hook (once), makes it and its control this object's, then
    // installs.
    void AddWatcher(TRxWindowHook* hook);
    // The last one gone uninstalls.
    void RemoveWatcher(TRxWindowHook* hook);

    // Puts the hook's procedure in front of the control's window (made when
    // missing); nothing without a control or watchers, or while the control
    // or the hook is being destroyed.
    void Install();
    // Gives the window its procedure back. When another procedure was put in
    // front of the hook's since, that one still calls the hook's: the hook's
    // procedure then only passes messages on until the window goes.
    void Uninstall();

private:
    friend LRESULT CALLBACK HookedWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT WindowProc(THookedWindow& window, UINT msg, WPARAM wParam, LPARAM lParam);
    // Asks the watchers, the last attached first, until one sets Handled.
    void NotifyWatchers(THookedWindow& window, TMessage& msg, bool& handled, bool before);

    TWinControl* control_ = nullptr;
    THookedWindow* window_ = nullptr; // while installed
    std::vector<TRxWindowHook*> watchers_;
    bool destroying_ = false;
};

// The program's TControlHook objects and the hidden window that handles the
// two deferred requests.
class THookList : public TList {
public:
    // Posted with a TControlHook in LParam: install it again (its control's
    // window was destroyed and is to be made again).
    static constexpr UINT WM_REINSTALL = 0xB052;
    // Posted with a TControlHook in LParam: free it when nobody watches.
    static constexpr UINT WM_RELEASE = 0xB053;

    THookList();
    // Frees every TControlHook still in it.
    ~THookList() override;

    TControlHook* FindHook(TWinControl* control) const;
    // FindHook, else a new TControlHook for the control.
    TControlHook* HookFor(TWinControl* control);
    void Post(UINT msg, TControlHook* hook) const;

private:
    void WndProc(TMessage& message);

    std::unique_ptr<THiddenWindow> window_;
};

// The one list, made the first time a hook attaches.
THookList* SharedHookList();
// Whether it exists (nothing is made by asking).
bool HookListExists();
// Shutdown of the unit: frees the list.
void DoneRxHookUnit();

// One watcher of one control's messages.
class TRxWindowHook : public TComponent {
public:
    explicit TRxWindowHook(TComponent* owner);
    ~TRxWindowHook() override;

    bool Active() const { return active_; }
    // True attaches, False detaches.
    void SetActive(bool value);
    // The attached TControlHook's control, else the control assigned.
    TWinControl* WinControl() const;
    void SetWinControl(TWinControl* value);

    void AttachToControl();
    void DetachFromControl();

    // Whether the watched control is the hook's owner and that owner a
    // form. A form's description says so rather than naming the form (its
    // name is not known when the description is written); True makes the
    // owner, when it is a form, the watched control; False changes nothing.
    bool IsForm() const;
    void SetIsForm(bool value);

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    virtual void FireBeforeMessage(TMessage& msg, bool& handled) { BeforeMessage(this, msg, handled); }
    virtual void FireAfterMessage(TMessage& msg, bool& handled) { AfterMessage(this, msg, handled); }

private:
    friend class TControlHook;
    bool active_ = true;
    TWinControl* control_ = nullptr;
    TControlHook* controlHook_ = nullptr;
};

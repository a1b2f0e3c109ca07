#include "common/AppEvent.h"

#include <algorithm>

#include "classlib/TypInfo.h"

namespace {

TAppEventList* appEventList = nullptr;

// Offers an event to the registered components, the newest first. Call
// gives true to stop the walk (a handled message). A component whose
// Chained is False stops it too. True when the walk went through every
// component without a stop, so the saved handler's turn comes.
template <class F>
bool Walk(const std::vector<TAppEvents*>& events, F&& call)
{
    for (int i = static_cast<int>(events.size()) - 1; i >= 0; --i) {
        // A handler may free components, its own included.
        if (i >= static_cast<int>(events.size()))
            continue;
        TAppEvents* e = events[i];
        const bool stop = call(e);
        if (i >= static_cast<int>(events.size()) || events[i] != e)
            continue;
        if (stop || !e->Chained)
            return false;
    }
    return true;
}

// Puts a saved handler back unless the program gave the slot another one
// while the dispatcher sat in it.
template <class E>
void PutBack(E& slot, const E& dispatcher, const E& saved)
{
    if (slot == dispatcher)
        slot = saved;
}

} // namespace

// ---------------------------------------------------------------------------
// TAppEvents

TAppEvents::TAppEvents(TComponent* owner) : TComponent(owner)
{
    if (!appEventList)
        appEventList = new TAppEventList;
    if (Application)
        Application->HookMainWindow(TWindowHook(this, &TAppEvents::Hook));
    appEventList->AddEvents(this);
}

TAppEvents::~TAppEvents()
{
    if (Application)
        Application->UnhookMainWindow(TWindowHook(this, &TAppEvents::Hook));
    if (appEventList)
        appEventList->RemoveEvents(this);
}

void TAppEvents::Loaded()
{
    TComponent::Loaded();
    WriteSettings();
}

void TAppEvents::WriteSettings()
{
    if (!Application)
        return;
    Application->SetHintColor(hintColor_);
    Application->SetHintPause(hintPause_);
    Application->SetShowHint(showHint_);
    Application->SetHintShortPause(hintShortPause_);
    Application->SetHintHidePause(hintHidePause_);
    Application->ShowMainForm = showMainForm_;
    Application->UpdateFormatSettings = updateFormatSettings_;
    Application->UpdateMetricSettings = updateMetricSettings_;
}

TCanvas* TAppEvents::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>();
    return canvas_.get();
}

TColor TAppEvents::HintColor() const
{
    return Application ? Application->HintColor() : hintColor_;
}

void TAppEvents::SetHintColor(TColor value)
{
    hintColor_ = value;
    if (Application)
        Application->SetHintColor(value);
}

int TAppEvents::HintPause() const
{
    return Application ? Application->HintPause() : hintPause_;
}

void TAppEvents::SetHintPause(int value)
{
    hintPause_ = value;
    if (Application)
        Application->SetHintPause(value);
}

bool TAppEvents::ShowHint() const
{
    return Application ? Application->ShowHint() : showHint_;
}

void TAppEvents::SetShowHint(bool value)
{
    showHint_ = value;
    if (Application)
        Application->SetShowHint(value);
}

int TAppEvents::HintShortPause() const
{
    return Application ? Application->HintShortPause() : hintShortPause_;
}

void TAppEvents::SetHintShortPause(int value)
{
    hintShortPause_ = value;
    if (Application)
        Application->SetHintShortPause(value);
}

int TAppEvents::HintHidePause() const
{
    return Application ? Application->HintHidePause() : hintHidePause_;
}

void TAppEvents::SetHintHidePause(int value)
{
    hintHidePause_ = value;
    if (Application)
        Application->SetHintHidePause(value);
}

bool TAppEvents::ShowMainForm() const
{
    return Application ? Application->ShowMainForm : showMainForm_;
}

void TAppEvents::SetShowMainForm(bool value)
{
    showMainForm_ = value;
    if (Application)
        Application->ShowMainForm = value;
}

bool TAppEvents::UpdateFormatSettings() const
{
    return Application ? Application->UpdateFormatSettings : updateFormatSettings_;
}

void TAppEvents::SetUpdateFormatSettings(bool value)
{
    updateFormatSettings_ = value;
    if (Application)
        Application->UpdateFormatSettings = value;
}

bool TAppEvents::UpdateMetricSettings() const
{
    return Application ? Application->UpdateMetricSettings : updateMetricSettings_;
}

void TAppEvents::SetUpdateMetricSettings(bool value)
{
    updateMetricSettings_ = value;
    if (Application)
        Application->UpdateMetricSettings = value;
}

void TAppEvents::PaintIcon()
{
    TPaintScope paint(Application->Handle());
    canvas_ = std::make_unique<TCanvas>();
    canvas_->SetHandle(paint.DC());
    // The canvas lives only as long as the paint context.
    struct Drop {
        std::unique_ptr<TCanvas>& canvas;
        ~Drop()
        {
            canvas->SetHandle(nullptr);
            canvas.reset();
        }
    } drop{canvas_};
    if (paint.Info().fErase) {
        canvas_->Brush()->SetColor(clBackground);
        canvas_->FillRect(paint.Info().rcPaint);
    }
    OnPaintIcon(this);
}

void TAppEvents::SettingsChanged()
{
    OnSettingsChanged(this);
}

bool TAppEvents::MainWindowHook(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        if (OnPaintIcon && Application->IsMinimized()) {
            PaintIcon();
            return true;
        }
        return false;
    case WM_WININICHANGE:
        // The application still reads the new settings.
        try {
            SettingsChanged();
        } catch (...) {
            Application->HandleException(this);
        }
        return false;
    default:
        return false;
    }
}

void TAppEvents::Hook(TMessage& message, bool& handled)
{
    handled = MainWindowHook(message);
}

const TClassInfo* TAppEvents::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TAppEvents::StaticClass()
{
    static const TClassInfo info(
        "TAppEvents", &TComponent::StaticClass(), &NewComponent<TAppEvents>,
        {
            PublishBoolean<&TAppEvents::Chained, &TAppEvents::Chained>("Chained"),
            PublishColor<&TAppEvents::HintColor, &TAppEvents::SetHintColor>("HintColor"),
            PublishInteger<&TAppEvents::HintPause, &TAppEvents::SetHintPause>("HintPause"),
            PublishBoolean<&TAppEvents::ShowHint, &TAppEvents::SetShowHint>("ShowHint"),
            PublishInteger<&TAppEvents::HintShortPause, &TAppEvents::SetHintShortPause>("HintShortPause"),
            PublishInteger<&TAppEvents::HintHidePause, &TAppEvents::SetHintHidePause>("HintHidePause"),
            PublishBoolean<&TAppEvents::ShowMainForm, &TAppEvents::SetShowMainForm>("ShowMainForm"),
            PublishBoolean<&TAppEvents::UpdateFormatSettings, &TAppEvents::SetUpdateFormatSettings>(
                "UpdateFormatSettings"),
            PublishBoolean<&TAppEvents::UpdateMetricSettings, &TAppEvents::SetUpdateMetricSettings>(
                "UpdateMetricSettings"),
            PublishEvent<&TAppEvents::OnActivate>("OnActivate"),
            PublishEvent<&TAppEvents::OnDeactivate>("OnDeactivate"),
            PublishEvent<&TAppEvents::OnException>("OnException"),
            PublishEvent<&TAppEvents::OnIdle>("OnIdle"),
            PublishEvent<&TAppEvents::OnHelp>("OnHelp"),
            PublishEvent<&TAppEvents::OnHint>("OnHint"),
            PublishEvent<&TAppEvents::OnMessage>("OnMessage"),
            PublishEvent<&TAppEvents::OnMinimize>("OnMinimize"),
            PublishEvent<&TAppEvents::OnPaintIcon>("OnPaintIcon"),
            PublishEvent<&TAppEvents::OnRestore>("OnRestore"),
            PublishEvent<&TAppEvents::OnShowHint>("OnShowHint"),
            PublishEvent<&TAppEvents::OnSettingsChanged>("OnSettingsChanged"),
            PublishEvent<&TAppEvents::OnActiveControlChange>("OnActiveControlChange"),
            PublishEvent<&TAppEvents::OnActiveFormChange>("OnActiveFormChange"),
        });
    return info;
}

// ---------------------------------------------------------------------------
// TAppEventList

TAppEventList::~TAppEventList()
{
    ClearHandlers();
}

void TAppEventList::AddEvents(TAppEvents* events)
{
    if (!events || std::find(events_.begin(), events_.end(), events) != events_.end())
        return;
    events_.push_back(events);
    if (events_.size() == 1)
        SaveAndInstall();
}

void TAppEventList::RemoveEvents(TAppEvents* events)
{
    auto it = std::find(events_.begin(), events_.end(), events);
    if (it == events_.end())
        return;
    events_.erase(it);
    if (events_.empty())
        ClearHandlers();
}

void TAppEventList::SaveAndInstall()
{
    if (!Application)
        return;
    saveActivate_ = Application->OnActivate;
    saveDeactivate_ = Application->OnDeactivate;
    saveException_ = Application->OnException;
    saveIdle_ = Application->OnIdle;
    saveHelp_ = Application->OnHelp;
    saveHint_ = Application->OnHint;
    saveMessage_ = Application->OnMessage;
    saveMinimize_ = Application->OnMinimize;
    saveRestore_ = Application->OnRestore;
    saveShowHint_ = Application->OnShowHint;
    Application->OnActivate = TNotifyEvent(this, &TAppEventList::DoActivate);
    Application->OnDeactivate = TNotifyEvent(this, &TAppEventList::DoDeactivate);
    Application->OnException = TExceptionEvent(this, &TAppEventList::DoException);
    Application->OnIdle = TIdleEvent(this, &TAppEventList::DoIdle);
    Application->OnHelp = THelpEvent(this, &TAppEventList::DoHelp);
    Application->OnHint = TNotifyEvent(this, &TAppEventList::DoHint);
    Application->OnMessage = TMessageEvent(this, &TAppEventList::DoMessage);
    Application->OnMinimize = TNotifyEvent(this, &TAppEventList::DoMinimize);
    Application->OnRestore = TNotifyEvent(this, &TAppEventList::DoRestore);
    Application->OnShowHint = TShowHintEvent(this, &TAppEventList::DoShowHint);
    if (Screen) {
        saveActiveControlChange_ = Screen->OnActiveControlChange;
        saveActiveFormChange_ = Screen->OnActiveFormChange;
        Screen->OnActiveControlChange = TNotifyEvent(this, &TAppEventList::DoActiveControlChange);
        Screen->OnActiveFormChange = TNotifyEvent(this, &TAppEventList::DoActiveFormChange);
    }
    hooked_ = true;
}

void TAppEventList::ClearHandlers()
{
    if (!hooked_)
        return;
    hooked_ = false;
    if (Application) {
        PutBack(Application->OnActivate, TNotifyEvent(this, &TAppEventList::DoActivate), saveActivate_);
        PutBack(Application->OnDeactivate, TNotifyEvent(this, &TAppEventList::DoDeactivate), saveDeactivate_);
        PutBack(Application->OnException, TExceptionEvent(this, &TAppEventList::DoException), saveException_);
        PutBack(Application->OnIdle, TIdleEvent(this, &TAppEventList::DoIdle), saveIdle_);
        PutBack(Application->OnHelp, THelpEvent(this, &TAppEventList::DoHelp), saveHelp_);
        PutBack(Application->OnHint, TNotifyEvent(this, &TAppEventList::DoHint), saveHint_);
        PutBack(Application->OnMessage, TMessageEvent(this, &TAppEventList::DoMessage), saveMessage_);
        PutBack(Application->OnMinimize, TNotifyEvent(this, &TAppEventList::DoMinimize), saveMinimize_);
        PutBack(Application->OnRestore, TNotifyEvent(this, &TAppEventList::DoRestore), saveRestore_);
        PutBack(Application->OnShowHint, TShowHintEvent(this, &TAppEventList::DoShowHint), saveShowHint_);
    }
    if (Screen) {
        PutBack(Screen->OnActiveControlChange, TNotifyEvent(this, &TAppEventList::DoActiveControlChange),
                saveActiveControlChange_);
        PutBack(Screen->OnActiveFormChange, TNotifyEvent(this, &TAppEventList::DoActiveFormChange),
                saveActiveFormChange_);
    }
}

void TAppEventList::DoActivate(TObject* sender)
{
    if (Walk(events_, [&](TAppEvents* e) { e->OnActivate(sender); return false; }))
        saveActivate_(sender);
}

void TAppEventList::DoDeactivate(TObject* sender)
{
    if (Walk(events_, [&](TAppEvents* e) { e->OnDeactivate(sender); return false; }))
        saveDeactivate_(sender);
}

void TAppEventList::DoException(TObject* sender, Exception& e)
{
    bool called = false;
    const bool through = Walk(events_, [&](TAppEvents* c) {
        if (c->OnException) {
            called = true;
            c->OnException(sender, e);
        }
        return false;
    });
    if (through && saveException_) {
        called = true;
        saveException_(sender, e);
    }
    if (!called && Application)
        Application->ShowException(e);
}

void TAppEventList::DoIdle(TObject* sender, bool& done)
{
    if (Walk(events_, [&](TAppEvents* e) { e->OnIdle(sender, done); return false; }))
        saveIdle_(sender, done);
}

void TAppEventList::DoHelp(WORD command, LONG_PTR data, bool& callHelp, bool& result)
{
    // The answer is the last handler's.
    result = false;
    const bool through = Walk(events_, [&](TAppEvents* e) {
        if (e->OnHelp) {
            bool r = false;
            e->OnHelp(command, data, callHelp, r);
            result = r;
        }
        return false;
    });
    if (through && saveHelp_) {
        bool r = false;
        saveHelp_(command, data, callHelp, r);
        result = r;
    }
}

void TAppEventList::DoHint(TObject* sender)
{
    if (Walk(events_, [&](TAppEvents* e) { e->OnHint(sender); return false; }))
        saveHint_(sender);
}

void TAppEventList::DoMessage(MSG& msg, bool& handled)
{
    const bool through = Walk(events_, [&](TAppEvents* e) {
        e->OnMessage(msg, handled);
        return handled;
    });
    if (through && !handled)
        saveMessage_(msg, handled);
}

void TAppEventList::DoMinimize(TObject* sender)
{
    if (Walk(events_, [&](TAppEvents* e) { e->OnMinimize(sender); return false; }))
        saveMinimize_(sender);
}

void TAppEventList::DoRestore(TObject* sender)
{
    if (Walk(events_, [&](TAppEvents* e) { e->OnRestore(sender); return false; }))
        saveRestore_(sender);
}

void TAppEventList::DoShowHint(std::string& hintStr, bool& canShow, THintInfo& hintInfo)
{
    if (Walk(events_, [&](TAppEvents* e) { e->OnShowHint(hintStr, canShow, hintInfo); return false; }))
        saveShowHint_(hintStr, canShow, hintInfo);
}

void TAppEventList::DoActiveControlChange(TObject* sender)
{
    if (Walk(events_, [&](TAppEvents* e) { e->OnActiveControlChange(sender); return false; }))
        saveActiveControlChange_(sender);
}

void TAppEventList::DoActiveFormChange(TObject* sender)
{
    if (Walk(events_, [&](TAppEvents* e) { e->OnActiveFormChange(sender); return false; }))
        saveActiveFormChange_(sender);
}

// ---------------------------------------------------------------------------
// Unit

TAppEventList* AppEventList()
{
    return appEventList;
}

void InitializeAppEvent()
{
    RegisterComponentClass(TAppEvents::StaticClass());
}

void FinalizeAppEvent()
{
    delete appEventList;
    appEventList = nullptr;
}

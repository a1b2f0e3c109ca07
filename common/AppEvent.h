// Unit AppEvent: any number of components listening to the application's and
// the screen's events at once.
//
// The application and the screen offer one handler per event. Every
// TAppEvents exposes those events as its own; one process-wide TAppEventList
// sits in the application's and the screen's handler slots while at least
// one TAppEvents exists and passes each event on to all of them, the newest
// first. A TAppEvents whose Chained is False ends the walk after its own
// handler; a walk that ends without such a stop goes on to the handler the
// application had before the list took the slots over. When the last
// TAppEvents goes, those handlers are put back.
//
// A TAppEvents also carries the application's hint settings as published
// properties (written into the application when its form is loaded and
// whenever one is set) and lets the program paint the minimised
// application's icon.
#pragma once

#include <memory>
#include <vector>

#include "classlib/Forms.h"

class TAppEvents : public TComponent {
public:
    explicit TAppEvents(TComponent* owner);
    ~TAppEvents() override;

    // Writes the hint and settings properties into the application.
    void Loaded() override;

    // Made on first use; while OnPaintIcon runs, a canvas on the paint device
    // context of the application's window.
    TCanvas* Canvas();

    // After this component's handler the event goes on to the older ones.
    bool Chained = true;

    // The application's current values (this component's own while there is
    // no application); setting one writes it into the application at once.
    TColor HintColor() const;
    void SetHintColor(TColor value);
    int HintPause() const;
    void SetHintPause(int value);
    bool ShowHint() const;
    void SetShowHint(bool value);
    int HintShortPause() const;
    void SetHintShortPause(int value);
    int HintHidePause() const;
    void SetHintHidePause(int value);
    bool ShowMainForm() const;
    void SetShowMainForm(bool value);
    bool UpdateFormatSettings() const;
    void SetUpdateFormatSettings(bool value);
    bool UpdateMetricSettings() const;
    void SetUpdateMetricSettings(bool value);

    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    THelpEvent OnHelp;
    TNotifyEvent OnHint;
    TMessageEvent OnMessage;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnPaintIcon;
    TNotifyEvent OnRestore;
    TShowHintEvent OnShowHint;
    TNotifyEvent OnSettingsChanged;
    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

    // Paints the minimised application's window through OnPaintIcon.
    virtual void PaintIcon();
    // Sees the application window's messages first; True answers the message.
    virtual bool MainWindowHook(TMessage& message);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    // The system's settings changed (WM_WININICHANGE).
    virtual void SettingsChanged();

private:
    void Hook(TMessage& message, bool& handled);
    void WriteSettings();

    TColor hintColor_ = clInfoBk;
    int hintPause_ = 500;
    bool showHint_ = true;
    int hintShortPause_ = 50;
    int hintHidePause_ = 2500;
    bool showMainForm_ = true;
    bool updateFormatSettings_ = true;
    bool updateMetricSettings_ = true;
    std::unique_ptr<TCanvas> canvas_;
};

// The process-wide dispatcher: made by the first TAppEvents, freed by the
// unit's end.
class TAppEventList : public TObject {
public:
    TAppEventList() = default;
    ~TAppEventList() override;
    TAppEventList(const TAppEventList&) = delete;
    TAppEventList& operator=(const TAppEventList&) = delete;

    // Registers events (once). The first one takes over the application's
    // and the screen's handlers, saving those they had.
    void AddEvents(TAppEvents* events);
    // Unregisters events; after the last one the saved handlers go back.
    void RemoveEvents(TAppEvents* events);
    // Gives the application and the screen their saved handlers back (a slot
    // that the program has set to something else meanwhile keeps that).
    void ClearHandlers();

    int Count() const { return static_cast<int>(events_.size()); }
    bool Hooked() const { return hooked_; }

private:
    void SaveAndInstall();

    void DoActivate(TObject* sender);
    void DoDeactivate(TObject* sender);
    void DoException(TObject* sender, Exception& e);
    void DoIdle(TObject* sender, bool& done);
    void DoHelp(WORD command, LONG_PTR data, bool& callHelp, bool& result);
    void DoHint(TObject* sender);
    void DoMessage(MSG& msg, bool& handled);
    void DoMinimize(TObject* sender);
    void DoRestore(TObject* sender);
    void DoShowHint(std::string& hintStr, bool& canShow, THintInfo& hintInfo);
    void DoActiveControlChange(TObject* sender);
    void DoActiveFormChange(TObject* sender);

    std::vector<TAppEvents*> events_;  // in order of registration
    bool hooked_ = false;

    TNotifyEvent saveActivate_;
    TNotifyEvent saveDeactivate_;
    TExceptionEvent saveException_;
    TIdleEvent saveIdle_;
    THelpEvent saveHelp_;
    TNotifyEvent saveHint_;
    TMessageEvent saveMessage_;
    TNotifyEvent saveMinimize_;
    TNotifyEvent saveRestore_;
    TShowHintEvent saveShowHint_;
    TNotifyEvent saveActiveControlChange_;
    TNotifyEvent saveActiveFormChange_;
};

// The list, or nullptr before the first TAppEvents and after the unit's end.
TAppEventList* AppEventList();

// Unit start: registers TAppEvents for the form reader. Unit end: gives the
// application its handlers back and frees the list.
void InitializeAppEvent();
void FinalizeAppEvent();

// The countdown control: shows the seconds left as a number and a shrinking
// bar, and runs a blocking wait that keeps the application alive but
// swallows the user's keys and mouse-button presses. The socket shows one
// while it waits synchronously and stops it when what it waits for has come.
//
// Caption holds the seconds left as decimal text; it is the control's own
// text, not its window's.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"

// (Sender, Count): the seconds that will be left after this tick.
using TWaitEvent = TEvent<TObject*, int>;

class TCustomWait : public TCustomControl {
public:
    explicit TCustomWait(TComponent* owner);
    ~TCustomWait() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    // 1 stopped, 2 timed out, 0 while waiting.
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    unsigned Interval() const { return timer_->Interval(); }
    void SetInterval(unsigned value) { timer_->SetInterval(value); }
    bool Running() const { return timer_->Enabled(); }

    // Counts down from the leading number of Caption (15 when it has none).
    virtual void Start();
    virtual void Stop();
    // Runs the countdown and handles the application's messages until Stop
    // or the timeout; input keys and button presses only beep meanwhile.
    virtual void WaitBlocking();
    virtual void ResetCaption();

    TWaitEvent OnWait;
    TNotifyEvent OnWaiting;
    TNotifyEvent OnWaitStart;
    TNotifyEvent OnWaitStop;
    TNotifyEvent OnTimeout;

protected:
    void Paint() override;
    // The sound of a swallowed key or press.
    virtual void Beep() { MessageBeep(0); }

private:
    void Tick(TObject*);
    void SwallowInput(MSG& msg, bool& handled);

    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TBrush> brush_;
    std::string caption_ = "60";
    TTimer* timer_;
    int modalResult_ = 0;
    int total_ = 60;
    // A handler may free the control from its timer or during its wait.
    TFreeWatches freeWatches_;
};

class TWait : public TCustomWait {
public:
    using TCustomWait::TCustomWait;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// Registers TWait for the form reader.
void WaitStartup();

// Sleeps until a message is waiting in the calling thread's queue (one
// already there counts), at most timeoutMs milliseconds: the waits call it
// once they have handled everything, so that they never spin.
void SleepUntilMessage(unsigned long timeoutMs = INFINITE);

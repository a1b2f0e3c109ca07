// The countdown control: its defaults, the count, the blocking wait that
// swallows presses and keys, nested waits, and what it paints.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SocketTestUtil.h"
#include "classlib/Forms.h"
#include "classlib/HiddenWindow.h"
#include "classlib/TypInfo.h"
#include "common/Wait.h"
#include "tests/support/TestUtil.h"

namespace {

// A wait control that counts its beeps instead of making them.
class TCountingWait : public TWait {
public:
    using TWait::TWait;
    int Beeps = 0;

protected:
    void Beep() override { ++Beeps; }
};

// Records the events of a wait control.
struct WaitLog {
    std::vector<std::string> events;
    std::vector<int> counts;
    int stopAt = -1;  // Stop from OnWait when the count is this
    TCustomWait* wait = nullptr;

    void Attach(TCustomWait* w)
    {
        wait = w;
        w->OnWait = TWaitEvent(this, &WaitLog::Wait);
        w->OnWaitStart = TNotifyEvent(this, &WaitLog::Start);
        w->OnWaitStop = TNotifyEvent(this, &WaitLog::Stop);
        w->OnTimeout = TNotifyEvent(this, &WaitLog::Timeout);
    }
    void Wait(TObject*, int count)
    {
        counts.push_back(count);
        if (count == stopAt)
            wait->Stop();
    }
    void Start(TObject*) { events.push_back("start"); }
    void Stop(TObject*) { events.push_back("stop"); }
    void Timeout(TObject*) { events.push_back("timeout"); }
};

TEST(Wait, DefaultsAndPublishedProperties)
{
    TWait wait(nullptr);
    EXPECT_EQ(wait.Width(), 192);
    EXPECT_EQ(wait.Height(), 32);
    EXPECT_EQ(wait.Caption(), "60");
    EXPECT_EQ(wait.Interval(), 1000u);
    EXPECT_FALSE(wait.Running());
    EXPECT_EQ(wait.ModalResult(), 0);
    for (const char* name : {"Caption", "ModalResult", "Interval", "OnWait", "OnWaiting", "OnWaitStart",
                             "OnWaitStop", "OnTimeout", "Running", "Visible"})
        EXPECT_NE(GetPropInfo(&wait, name), nullptr) << name;
    EXPECT_TRUE(FindPropInfo(&wait, "Running").IsReadOnly());
}

TEST(Wait, StartTakesTheLeadingNumberOfTheCaption)
{
    struct Row {
        const char* caption;
        int firstCount;           // OnWait of the first tick
        const char* afterStart;   // Caption right after Start
        const char* afterStop;    // Caption after Stop
    };
    const Row rows[] = {
        {"  30", 29, "  30", "30"},
        {"7 s", 6, "7 s", "7"},
        {"abc", 14, "15", "15"},
        {"", 14, "15", "15"},
        {"0", 14, "15", "15"},
    };
    for (const Row& row : rows) {
        TWait wait(nullptr);
        WaitLog log;
        log.Attach(&wait);
        wait.SetInterval(10);
        wait.SetCaption(row.caption);
        wait.Start();
        EXPECT_TRUE(wait.Running()) << row.caption;
        EXPECT_EQ(wait.Caption(), row.afterStart) << row.caption;
        while (log.counts.empty())
            PumpMessagesFor(5);
        wait.Stop();
        EXPECT_EQ(log.counts.front(), row.firstCount) << row.caption;
        EXPECT_EQ(wait.Caption(), row.afterStop) << row.caption;
        EXPECT_EQ(wait.ModalResult(), 1) << row.caption;
        EXPECT_EQ(log.events, (std::vector<std::string>{"start", "stop"})) << row.caption;
    }
}

TEST(Wait, TimesOutAfterCountingDownToZero)
{
    TWait wait(nullptr);
    WaitLog log;
    log.Attach(&wait);
    wait.SetInterval(5);
    wait.SetCaption("4");
    wait.WaitBlocking();
    EXPECT_EQ(log.counts, (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(log.events, (std::vector<std::string>{"start", "timeout"}));
    EXPECT_EQ(wait.ModalResult(), 2);
    EXPECT_EQ(wait.Caption(), "4");
    EXPECT_FALSE(wait.Running());
}

// Stops the wait it watches once it has ticked three times.
struct StopAfterThree {
    WaitLog* log;
    void Waiting(TObject*)
    {
        if (log->counts.size() == 3)
            log->wait->Stop();
    }
};

TEST(Wait, StopEndsTheBlockingWait)
{
    TWait wait(nullptr);
    WaitLog log;
    log.Attach(&wait);
    StopAfterThree stopper{&log};
    wait.OnWaiting = TNotifyEvent(&stopper, &StopAfterThree::Waiting);
    wait.SetInterval(5);
    wait.WaitBlocking();
    EXPECT_EQ(log.counts, (std::vector<int>{59, 58, 57}));
    EXPECT_EQ(log.events, (std::vector<std::string>{"start", "stop"}));
    EXPECT_EQ(wait.ModalResult(), 1);
    EXPECT_EQ(wait.Caption(), "60");
}

// A window that records the messages it is sent.
struct Recorder {
    std::vector<UINT> messages;
    THiddenWindow window{THiddenWindow::TWndMethod(this, &Recorder::Receive), nullptr};
    void Receive(TMessage& m)
    {
        if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST)
            messages.push_back(m.Msg);
        if (m.Msg >= WM_KEYFIRST && m.Msg <= WM_KEYLAST)
            messages.push_back(m.Msg);
        window.DefaultHandler(m);
    }
};

// Posts input to the recorder once the wait has started, and stops the
// wait after a few ticks.
struct InputDuringWait {
    Recorder* recorder;
    TCountingWait* wait;
    void Start(TObject*)
    {
        for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_KEYDOWN, WM_KEYUP, WM_RBUTTONDBLCLK})
            PostMessageA(recorder->window.Handle(), msg, 0, 0);
    }
    void Tick(TObject*, int count)
    {
        if (count == 57)
            wait->Stop();
    }
};

TEST(Wait, BlockingWaitSwallowsPressesAndKeysWithABeep)
{
    Recorder recorder;
    TCountingWait wait(nullptr);
    InputDuringWait input{&recorder, &wait};
    wait.OnWaitStart = TNotifyEvent(&input, &InputDuringWait::Start);
    wait.OnWait = TWaitEvent(&input, &InputDuringWait::Tick);
    wait.SetInterval(5);
    wait.WaitBlocking();
    // The button-up and the move pass, and so does a key-up: only downs
    // and double clicks are input that acts.
    EXPECT_EQ(recorder.messages, (std::vector<UINT>{WM_LBUTTONUP, WM_MOUSEMOVE, WM_KEYUP}));
    EXPECT_EQ(wait.Beeps, 3);
    // Afterwards a press reaches its window again.
    PostMessageA(recorder.window.Handle(), WM_LBUTTONDOWN, 0, 0);
    PumpMessagesFor(20);
    EXPECT_EQ(recorder.messages.back(), static_cast<UINT>(WM_LBUTTONDOWN));
}

// Runs an inner wait inside an outer one (from a message the outer one's
// start posts), then sees whether the outer hook is back.
struct NestedWaits {
    TCountingWait* outer;
    TCountingWait* inner;
    Recorder* recorder;
    int innerResult = -1;
    int outerBeepsAfterInner = -1;
    THiddenWindow driver{THiddenWindow::TWndMethod(this, &NestedWaits::Drive), nullptr};

    void OuterStart(TObject*) { driver.Post(WM_APP + 1); }
    void Drive(TMessage& m)
    {
        if (m.Msg == WM_APP + 1) {
            inner->SetCaption("2");
            inner->WaitBlocking();
            innerResult = inner->ModalResult();
            PostMessageA(recorder->window.Handle(), WM_LBUTTONDOWN, 0, 0);
            driver.Post(WM_APP + 2);
        } else if (m.Msg == WM_APP + 2) {
            outerBeepsAfterInner = outer->Beeps;
            outer->Stop();
        } else {
            driver.DefaultHandler(m);
        }
    }
};

TEST(Wait, NestedWaitsPutTheOuterHookBack)
{
    MessageHookProbe probe;
    Application->OnMessage = TMessageEvent(&probe, &MessageHookProbe::Hook);
    Recorder recorder;
    TCountingWait outer(nullptr);
    TCountingWait inner(nullptr);
    NestedWaits nested{&outer, &inner, &recorder};
    outer.OnWaitStart = TNotifyEvent(&nested, &NestedWaits::OuterStart);
    inner.SetInterval(5);
    outer.WaitBlocking();
    EXPECT_EQ(nested.innerResult, 2);
    EXPECT_EQ(nested.outerBeepsAfterInner, 1);
    EXPECT_EQ(inner.Beeps, 0);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_TRUE(Application->OnMessage == TMessageEvent(&probe, &MessageHookProbe::Hook));
    Application->OnMessage.Clear();
}

// A key to the recorder's window (one that makes no character).
void PostKey(Recorder& recorder)
{
    PostMessageA(recorder.window.Handle(), WM_KEYDOWN, VK_F5, 0);
}

// A wait control freed by a handler during its blocking wait, with a key
// queued behind the message that frees it.
struct FreedDuringWait {
    explicit FreedDuringWait(Recorder* r) : recorder(r) {}
    Recorder* recorder;
    Poisoned<TWait> wait;
    int waitingCalls = 0;
    bool freeFromWaiting = false;
    TMessageEvent hookAfterFree;
    THiddenWindow freer{THiddenWindow::TWndMethod(this, &FreedDuringWait::Message), nullptr};

    void Free()
    {
        wait.Free();
        hookAfterFree = Application->OnMessage;
    }
    void Start(TObject*)
    {
        if (!freeFromWaiting)
            freer.Post(WM_APP + 1);
        PostKey(*recorder);
    }
    void Waiting(TObject*)
    {
        ++waitingCalls;
        if (freeFromWaiting)
            Free();
    }
    void Message(TMessage& m)
    {
        if (m.Msg == WM_APP + 1)
            Free();
        else
            freer.DefaultHandler(m);
    }
};

TEST(Wait, AWaitWhoseControlAHandlerFreesEndsWithoutReadingIt)
{
    for (const bool fromWaiting : {false, true}) {
        SCOPED_TRACE(fromWaiting ? "freed from OnWaiting" : "freed by a message handled during the wait");
        MessageHookProbe probe;
        const TMessageEvent hook(&probe, &MessageHookProbe::Hook);
        Application->OnMessage = hook;
        Recorder recorder;
        FreedDuringWait test(&recorder);
        test.freeFromWaiting = fromWaiting;
        test.wait.object->OnWaitStart = TNotifyEvent(&test, &FreedDuringWait::Start);
        test.wait.object->OnWaiting = TNotifyEvent(&test, &FreedDuringWait::Waiting);
        test.wait.object->SetCaption("5");
        test.wait.object->WaitBlocking();
        EXPECT_TRUE(test.wait.freed);
        EXPECT_EQ(test.waitingCalls, 1);
        // The control gave the hook back as it went: the key behind the
        // freeing message reached its window.
        EXPECT_TRUE(test.hookAfterFree == hook);
        PumpMessagesFor(20);
        EXPECT_EQ(recorder.messages, std::vector<UINT>{WM_KEYDOWN});
        EXPECT_TRUE(Application->OnMessage == hook);
        Application->OnMessage.Clear();
    }
}

// A wait inside another (run from a message the outer one's start posts);
// a message handled during the inner wait frees one of the two, a key comes
// behind it, and another behind the inner wait's end.
struct FreedInNestedWaits {
    FreedInNestedWaits(Recorder* r, bool outerFreed) : recorder(r), freeOuter(outerFreed) {}
    Recorder* recorder;
    bool freeOuter;
    Poisoned<TCountingWait> outer;
    Poisoned<TCountingWait> inner;
    TMessageEvent hookAfterInner;
    THiddenWindow driver{THiddenWindow::TWndMethod(this, &FreedInNestedWaits::Drive), nullptr};

    enum : UINT { RunInner = WM_APP + 1, FreeOne, StopInner, StopOuter };
    void OuterStart(TObject*) { driver.Post(RunInner); }
    void InnerStart(TObject*)
    {
        driver.Post(FreeOne);
        PostKey(*recorder);
        driver.Post(StopInner);
    }
    void Drive(TMessage& m)
    {
        switch (m.Msg) {
        case RunInner:
            inner.object->WaitBlocking();
            hookAfterInner = Application->OnMessage;
            PostKey(*recorder);
            driver.Post(StopOuter);
            break;
        case FreeOne:
            (freeOuter ? outer : inner).Free();
            break;
        case StopInner:
            if (!inner.freed)
                inner.object->Stop();
            break;
        case StopOuter:
            if (!outer.freed)
                outer.object->Stop();
            break;
        default:
            driver.DefaultHandler(m);
            break;
        }
    }
};

TEST(Wait, AFreedWaitLeavesNoHookOfItsOwnToAWaitAroundOrInsideIt)
{
    struct Row {
        const char* what;
        bool freeOuter;
        int beeps;                  // of the wait left
        std::vector<UINT> keys;     // that reached the window
    };
    const Row rows[] = {
        // The inner wait swallows the first key and puts the application's
        // hook back, not the freed one's.
        {"the outer wait freed during the inner one", true, 1, {WM_KEYDOWN}},
        // The outer wait's hook is back at once and swallows both keys.
        {"the inner wait freed during its own wait", false, 2, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MessageHookProbe probe;
        const TMessageEvent hook(&probe, &MessageHookProbe::Hook);
        Application->OnMessage = hook;
        Recorder recorder;
        FreedInNestedWaits test(&recorder, row.freeOuter);
        test.outer.object->OnWaitStart = TNotifyEvent(&test, &FreedInNestedWaits::OuterStart);
        test.inner.object->OnWaitStart = TNotifyEvent(&test, &FreedInNestedWaits::InnerStart);
        test.outer.object->WaitBlocking();
        TCountingWait* left = (row.freeOuter ? test.inner : test.outer).object;
        EXPECT_EQ(left->Beeps, row.beeps);
        EXPECT_EQ(test.hookAfterInner.Object(), row.freeOuter ? static_cast<void*>(&probe) : left);
        PumpMessagesFor(20);
        EXPECT_EQ(recorder.messages, row.keys);
        EXPECT_TRUE(Application->OnMessage == hook);
        Application->OnMessage.Clear();
    }
}

// Frees the wait it holds from the event it is bound to.
struct FreeOnEvent {
    Poisoned<TWait>* wait;
    void Tick(TObject*, int) { wait->Free(); }
    void Timeout(TObject*) { wait->Free(); }
};

// One tick of the wait's timer, as the timer makes it but not from a timer
// message: the system's dispatch of that message swallows a fault, which
// would hide a read of a freed control.
void Tick(TWait* wait)
{
    for (int i = 0; i < wait->ComponentCount(); ++i) {
        if (auto* timer = dynamic_cast<TTimer*>(wait->Components(i))) {
            timer->OnTimer(timer);
            return;
        }
    }
    ADD_FAILURE() << "the wait has no timer";
}

TEST(Wait, ATickWhoseHandlerFreesTheControlReadsNothingOfItAfterwards)
{
    for (const bool onTimeout : {false, true}) {
        SCOPED_TRACE(onTimeout ? "freed by OnTimeout" : "freed by OnWait");
        Poisoned<TWait> wait;
        FreeOnEvent freer{&wait};
        if (onTimeout)
            wait.object->OnTimeout = TNotifyEvent(&freer, &FreeOnEvent::Timeout);
        else
            wait.object->OnWait = TWaitEvent(&freer, &FreeOnEvent::Tick);
        wait.object->SetCaption(onTimeout ? "1" : "3");
        wait.object->Start();
        Tick(wait.object);
        EXPECT_TRUE(wait.freed);
    }
}

// A wait control that paints into a device context of the test's.
class TPaintableWait : public TWait {
public:
    using TWait::TWait;
    void PaintInto(HDC dc) { PaintWindow(dc); }
};

TEST(Wait, PaintsTheBarInProportionToTheSecondsLeft)
{
    TPaintableWait wait(nullptr);
    wait.SetCaption("20");
    wait.Start();  // total 20
    wait.Stop();
    wait.SetCaption("10");
    TBitmap bitmap;
    bitmap.SetSize(192, 32);
    wait.PaintInto(bitmap.Canvas()->Handle());
    HDC dc = bitmap.Canvas()->Handle();
    // A white box with a black frame; the bar 10 * (192 - 7) / 20 = 92
    // pixels wide from x = 3 to 95, from y = 3 to 28; the text above it.
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 50, 26), highlight);
    EXPECT_EQ(GetPixel(dc, 93, 26), highlight);
    EXPECT_EQ(GetPixel(dc, 96, 26), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 150, 16), RGB(255, 255, 255));
    SavePicture(bitmap, TempFolder().Path(), "wait.png");
}

} // namespace

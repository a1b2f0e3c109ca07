// Window hooks: watchers around a control's own procedure, in which order and
// with what Handled does; the window destroyed and made anew; a procedure put
// in front of the hook's by someone else; watchers switched off and on; the
// watched control freed. And the hidden window the hook list posts to.
#include <windows.h>

#include <gtest/gtest.h>

#include "PlacementTestForms.h"
#include "classlib/FormReader.h"
#include "classlib/HiddenWindow.h"
#include "classlib/TypInfo.h"
#include "components/RxHook.h"

namespace {

// A watcher that logs what it sees and may set Handled or raise.
class Watcher {
public:
    Watcher(const char* name, std::vector<std::string>& log) : name_(name), log_(log), hook_(nullptr)
    {
        hook_.BeforeMessage = THookMessageEvent(this, &Watcher::Before);
        hook_.AfterMessage = THookMessageEvent(this, &Watcher::After);
    }
    TRxWindowHook& Hook() { return hook_; }
    UINT HandleBefore = 0; // this message gets Handled before the control
    bool RaiseBefore = false;

private:
    void Before(TObject*, TMessage& msg, bool& handled)
    {
        if (msg.Msg != WM_TEST && msg.Msg != WM_DESTROY)
            return;
        log_.push_back(name_ + " before" + (msg.Msg == WM_DESTROY ? " destroy" : ""));
        if (RaiseBefore)
            throw Exception("watcher " + name_ + " failed");
        if (msg.Msg == HandleBefore) {
            msg.Result = 99;
            handled = true;
        }
    }
    void After(TObject*, TMessage& msg, bool&)
    {
        if (msg.Msg == WM_TEST)
            log_.push_back(name_ + " after " + std::to_string(msg.Result));
    }

    std::string name_;
    std::vector<std::string>& log_;
    TRxWindowHook hook_;
};

class Hooks : public testing::Test {
protected:
    void SetUp() override
    {
        form_ = TForm::Create<TRecordingForm>(nullptr);
        form_->Log = &log_;
        form_->HandleNeeded();
        Application->OnException = TExceptionEvent(this, &Hooks::Failed);
    }
    void TearDown() override
    {
        Application->OnException.Clear();
        if (form_)
            form_->Free();
        Application->ProcessMessages();
    }
    LRESULT Send() { return SendMessageA(form_->Handle(), WM_TEST, 0, 0); }
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(log_);
        return taken;
    }
    void Failed(TObject*, Exception& e) { log_.push_back("error: " + e.Message()); }

    std::vector<std::string> log_;
    TRecordingForm* form_ = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(Hooks, WatchersAreAskedTheLastAttachedFirstAroundTheControl)
{
    Watcher first("first", log_), second("second", log_);
    first.Hook().SetWinControl(form_);
    second.Hook().SetWinControl(form_);
    EXPECT_EQ(7, Send());
    EXPECT_EQ((Log{"second before", "first before", "form", "second after 7", "first after 7"}), Take());

    // Handled before the message: the earlier watcher and the control hear
    // nothing.
    second.HandleBefore = WM_TEST;
    EXPECT_EQ(99, Send());
    EXPECT_EQ((Log{"second before"}), Take());

    // A watcher that raises is reported and the next one still asked.
    second.HandleBefore = 0;
    second.RaiseBefore = true;
    EXPECT_EQ(7, Send());
    EXPECT_EQ((Log{"second before", "error: watcher second failed", "first before", "form", "second after 7",
                   "first after 7"}),
              Take());
}

// IsForm stands for the owner when it is a form: read from a description,
// True makes the form the watched control; as text it tells whether the
// hook watches its own form.
TEST_F(Hooks, IsFormReadFromADescriptionWatchesTheOwnerForm)
{
    RegisterComponentClass(TRxWindowHook::StaticClass());
    ReadFormText(form_, "object Okno: TForm\n"
                        "  object hookTak: TRxWindowHook\n    IsForm = True\n  end\n"
                        "  object hookNie: TRxWindowHook\n    IsForm = False\n  end\n"
                        "end\n");
    auto* yes = dynamic_cast<TRxWindowHook*>(form_->FindComponent("hookTak"));
    auto* no = dynamic_cast<TRxWindowHook*>(form_->FindComponent("hookNie"));
    ASSERT_TRUE(yes && no);
    TRxWindowHook loose(nullptr);
    SetPropText(&loose, FindPropInfo(&loose, "IsForm"), "True");
    const struct {
        const char* name;
        TRxWindowHook* hook;
        TWinControl* watched;
        const char* isForm;
    } rows[] = {
        {"True, owned by the form", yes, form_, "True"},
        {"False", no, nullptr, "False"},
        {"True without an owner", &loose, nullptr, "False"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.watched, row.hook->WinControl()) << row.name;
        EXPECT_EQ(row.isForm, GetPropText(row.hook, FindPropInfo(row.hook, "IsForm"))) << row.name;
    }
    Watcher watcher("w", log_);
    watcher.Hook().SetWinControl(form_);
    EXPECT_EQ("False", GetPropText(&watcher.Hook(), FindPropInfo(&watcher.Hook(), "IsForm")));
}

TEST_F(Hooks, TheControlHearsItsDestructionEvenWhenAWatcherHandledIt)
{
    Watcher watcher("w", log_);
    watcher.HandleBefore = WM_DESTROY;
    watcher.Hook().SetWinControl(form_);
    form_->RecreateWnd();
    EXPECT_EQ((Log{"w before destroy", "form destroy"}), Take());
}

TEST_F(Hooks, AWindowMadeAnewIsWatchedOnceThePostedRequestIsHandled)
{
    Watcher watcher("w", log_);
    watcher.Hook().SetWinControl(form_);
    const WNDPROC own = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(form_->Handle(), GWLP_WNDPROC));
    HWND old = form_->Handle();
    form_->RecreateWnd();
    ASSERT_NE(old, form_->Handle());
    Application->ProcessMessages();
    Take();
    EXPECT_EQ(7, Send());
    EXPECT_EQ((Log{"w before", "form", "w after 7"}), Take());
    EXPECT_EQ(own, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(form_->Handle(), GWLP_WNDPROC)));
}

// Someone else's procedure, put in front of the hook's.
WNDPROC laterPrevious = nullptr;
int laterCalls = 0;
LRESULT CALLBACK LaterProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TEST)
        ++laterCalls;
    return CallWindowProcA(laterPrevious, wnd, msg, wParam, lParam);
}

TEST_F(Hooks, ALaterProcedureKeepsReachingTheControlAfterTheHookLeft)
{
    HWND wnd = form_->Handle();
    const auto classProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    auto watcher = std::make_unique<Watcher>("w", log_);
    watcher->Hook().SetWinControl(form_);
    laterCalls = 0;
    laterPrevious =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterProc)));

    // Detached: the later procedure stays in front, and the control still
    // hears every message through it.
    watcher->Hook().SetActive(false);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(LaterProc), GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    EXPECT_EQ(7, Send());
    EXPECT_EQ((Log{"form"}), Take());

    // Attached again, it serves from where it stands in the chain.
    watcher->Hook().SetActive(true);
    EXPECT_EQ(7, Send());
    EXPECT_EQ((Log{"w before", "form", "w after 7"}), Take());

    // The watcher moved away and its control hook released: still a
    // pass-through.
    watcher->Hook().SetWinControl(nullptr);
    Application->ProcessMessages();
    EXPECT_FALSE(SharedHookList()->FindHook(form_));
    watcher.reset();
    EXPECT_EQ(7, Send());
    EXPECT_EQ((Log{"form"}), Take());
    EXPECT_EQ(3, laterCalls);

    // The later procedure takes itself away: the next message gives the
    // window its own procedure back.
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(laterPrevious));
    EXPECT_EQ(7, Send());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(classProc), GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    EXPECT_EQ(7, Send());
    EXPECT_EQ((Log{"form", "form"}), Take());
}

TEST_F(Hooks, SwitchedOffAndOnAWatcherReturnsToTheSameControlHook)
{
    Watcher watcher("w", log_);
    watcher.Hook().SetWinControl(form_);
    TControlHook* hook = SharedHookList()->FindHook(form_);
    ASSERT_TRUE(hook);
    watcher.Hook().SetActive(false);
    EXPECT_EQ(7, Send());
    EXPECT_EQ((Log{"form"}), Take());
    watcher.Hook().SetActive(true);
    EXPECT_EQ(hook, SharedHookList()->FindHook(form_));
    EXPECT_EQ(form_, watcher.Hook().WinControl());
    EXPECT_EQ(7, Send());
    EXPECT_EQ((Log{"w before", "form", "w after 7"}), Take());
}

TEST_F(Hooks, AFreedControlIsForgottenAndItsControlHookReleased)
{
    Watcher watcher("w", log_);
    watcher.Hook().SetWinControl(form_);
    form_->Free();
    form_ = nullptr;
    EXPECT_EQ(nullptr, watcher.Hook().WinControl());
    EXPECT_TRUE(watcher.Hook().Active());
    Application->ProcessMessages();
    EXPECT_EQ(0, SharedHookList()->Count());
}

TEST_F(Hooks, TheHookListFreesWhatItStillHolds)
{
    Watcher watcher("w", log_);
    watcher.Hook().SetWinControl(form_);
    HWND wnd = form_->Handle();
    DoneRxHookUnit();
    EXPECT_FALSE(HookListExists());
    EXPECT_EQ(7, Send());
    EXPECT_EQ((Log{"form"}), Take());
    EXPECT_EQ(nullptr, GetPropA(wnd, "QmxControlHook"));
}

// The hidden window: messages to a bound method, its exceptions to the
// application's handler.
class Receiver {
public:
    std::vector<UINT> Got;
    void WndProc(TMessage& m)
    {
        Got.push_back(m.Msg == WM_USER + 5 ? m.Msg : 0);
        if (m.Msg == WM_USER + 6)
            throw Exception("receiver failed");
        if (m.Msg == WM_USER + 5)
            m.Result = 42;
    }
};

TEST_F(Hooks, TheHiddenWindowHandsItsMessagesToOneMethod)
{
    Receiver receiver;
    {
        THiddenWindow window(THiddenWindow::TWndMethod(&receiver, &Receiver::WndProc), nullptr);
        receiver.Got.clear();
        EXPECT_EQ(42, SendMessageA(window.Handle(), WM_USER + 5, 0, 0));
        EXPECT_EQ(0, SendMessageA(window.Handle(), WM_USER + 6, 0, 0));
        EXPECT_EQ((Log{"error: receiver failed"}), Take());
        ASSERT_TRUE(window.Post(WM_USER + 5));
        Application->ProcessMessages();
        EXPECT_EQ((std::vector<UINT>{WM_USER + 5, 0, WM_USER + 5}), receiver.Got);
    }
}

} // namespace

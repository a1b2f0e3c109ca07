#include "common/Wait.h"

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

namespace {

// Leading blanks, then decimal digits; 0 when there are none.
int LeadingNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    long long n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && n < 1000000000; ++i)
        n = n * 10 + (text[i] - '0');
    return static_cast<int>(n);
}

} // namespace

void SleepUntilMessage(unsigned long timeoutMs)
{
    MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

TCustomWait::TCustomWait(TComponent* owner)
    : TCustomControl(owner), pen_(std::make_unique<TPen>()), font_(std::make_unique<TFont>()),
      brush_(std::make_unique<TBrush>()), timer_(new TTimer(this))
{
    SetBounds(Left(), Top(), 192, 32);
    font_->SetName("Courier");
    font_->SetSize(8);
    timer_->SetEnabled(false);
    timer_->SetInterval(1000);
    timer_->OnTimer = TNotifyEvent(this, &TCustomWait::Tick);
}

TCustomWait::~TCustomWait()
{
    for (TWaitFrame* frame = waitFrame_; frame; frame = frame->outer)
        frame->freed = true;
    timer_->SetEnabled(false);
}

void TCustomWait::SetCaption(const std::string& value)
{
    caption_ = value;
    Invalidate();
}

void TCustomWait::Start()
{
    total_ = LeadingNumber(caption_);
    if (total_ == 0) {
        total_ = 15;
        SetCaption("15");
    }
    timer_->SetEnabled(true);
    OnWaitStart(this);
}

void TCustomWait::Stop()
{
    modalResult_ = 1;
    timer_->SetEnabled(false);
    SetCaption(IntToStr(total_));
    OnWaitStop(this);
}

void TCustomWait::ResetCaption()
{
    SetCaption(IntToStr(total_));
}

void TCustomWait::Tick(TObject*)
{
    const int n = LeadingNumber(caption_);
    OnWait(this, n - 1);
    if (n >= 2) {
        SetCaption(IntToStr(n - 1));
    } else {
        timer_->SetEnabled(false);
        modalResult_ = 2;
        SetCaption(IntToStr(total_));
        OnTimeout(this);
    }
    Repaint();
}

void TCustomWait::SwallowInput(MSG& msg, bool& handled)
{
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        handled = true;
        Beep();
        break;
    default:
        break;
    }
}

void TCustomWait::WaitBlocking()
{
    // A wait inside another puts the outer one's hook back when it ends,
    // also when a handler raises.
    struct HookSwap {
        TMessageEvent saved;
        explicit HookSwap(const TMessageEvent& hook) : saved(Application->OnMessage) { Application->OnMessage = hook; }
        ~HookSwap() { Application->OnMessage = saved; }
    } swap(TMessageEvent(this, &TCustomWait::SwallowInput));
    // The handlers that run meanwhile may free this control: after each of
    // them the frame tells whether anything of it may still be read.
    struct FrameGuard {
        TCustomWait* wait;
        TWaitFrame frame;
        explicit FrameGuard(TCustomWait* w) : wait(w), frame{false, w->waitFrame_} { wait->waitFrame_ = &frame; }
        ~FrameGuard()
        {
            if (!frame.freed)
                wait->waitFrame_ = frame.outer;
        }
    } guard(this);
    const bool& freed = guard.frame.freed;
    modalResult_ = 0;
    Start();
    while (!freed && Running()) {
        OnWaiting(this);
        if (freed)
            break;
        Application->ProcessMessages();
        if (!freed && Running())
            SleepUntilMessage();
    }
}

void TCustomWait::Paint()
{
    TCanvas* canvas = Canvas();
    const int n = LeadingNumber(caption_);
    const int bar = n * (Width() - 7) / total_;
    canvas->SetPen(pen_.get());
    canvas->SetFont(font_.get());
    canvas->SetBrush(brush_.get());
    canvas->Brush()->SetColor(clWhite);
    canvas->Rectangle(0, 0, Width() - 1, Height() - 1);
    canvas->Brush()->SetColor(clHighlight);
    canvas->Rectangle(3, 3, bar + 3, Height() - 4);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(4, Height() / 2 - 8, caption_);
}

const TClassInfo* TWait::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TWait::StaticClass()
{
    static const TClassInfo info(
        "TWait", &TCustomControl::StaticClass(), &NewComponent<TWait>,
        {
            PublishString<&TCustomWait::Caption, &TCustomWait::SetCaption>("Caption"),
            PublishInteger<&TCustomWait::ModalResult, &TCustomWait::SetModalResult>("ModalResult"),
            PublishInteger<&TCustomWait::Interval, &TCustomWait::SetInterval>("Interval"),
            PublishEvent<&TCustomWait::OnWait>("OnWait"),
            PublishEvent<&TCustomWait::OnWaiting>("OnWaiting"),
            PublishEvent<&TCustomWait::OnWaitStart>("OnWaitStart"),
            PublishEvent<&TCustomWait::OnWaitStop>("OnWaitStop"),
            PublishEvent<&TCustomWait::OnTimeout>("OnTimeout"),
            PublishBoolean<&TCustomWait::Running>("Running"),
            PublishBoolean<&TControl::Visible, &TControl::SetVisible>("Visible"),
        });
    return info;
}

void WaitStartup()
{
    RegisterComponentClass(TWait::StaticClass());
}

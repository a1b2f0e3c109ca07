#include "common/Wait.h"

#include <vector>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

namespace {

// The application's message hook as each running blocking wait found it,
// the innermost wait last.
struct THookFrame {
    TCustomWait* wait;
    TMessageEvent replaced;
};

std::vector<THookFrame*>& HookFrames()
{
    static std::vector<THookFrame*> frames;
    return frames;
}

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
    // Freed by a handler during its wait: whoever holds the control's hook
    // (the application, or a wait inside this one, which would put it back)
    // gets the hook the control replaced.
    const TMessageEvent own(this, &TCustomWait::SwallowInput);
    std::vector<THookFrame*>& frames = HookFrames();
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i]->wait != this)
            continue;
        frames[i]->wait = nullptr;
        TMessageEvent& holder = i + 1 < frames.size() ? frames[i + 1]->replaced : Application->OnMessage;
        if (holder == own)
            holder = frames[i]->replaced;
    }
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
    TFreeWatch watch(freeWatches_);
    const int n = LeadingNumber(caption_);
    OnWait(this, n - 1);
    if (watch.Freed())
        return;
    if (n >= 2) {
        SetCaption(IntToStr(n - 1));
    } else {
        timer_->SetEnabled(false);
        modalResult_ = 2;
        SetCaption(IntToStr(total_));
        OnTimeout(this);
        if (watch.Freed())
            return;
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
        THookFrame frame;
        HookSwap(TCustomWait* wait, const TMessageEvent& hook) : frame{wait, Application->OnMessage}
        {
            HookFrames().push_back(&frame);
            Application->OnMessage = hook;
        }
        ~HookSwap()
        {
            HookFrames().pop_back();
            Application->OnMessage = frame.replaced;
        }
    } swap(this, TMessageEvent(this, &TCustomWait::SwallowInput));
    // The handlers that run meanwhile may free this control: after each of
    // them the watch tells whether anything of it may still be read.
    TFreeWatch watch(freeWatches_);
    modalResult_ = 0;
    Start();
    while (!watch.Freed() && Running()) {
        OnWaiting(this);
        if (watch.Freed())
            break;
        Application->ProcessMessages();
        if (!watch.Freed() && Running())
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

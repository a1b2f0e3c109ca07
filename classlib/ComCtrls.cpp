#include "classlib/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/TypInfo.h"

void InitComCtrlsUnit()
{
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&icc);
    RegisterComponentClass(TProgressBar::StaticClass());
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 150, 16);
}

const TClassInfo* TProgressBar::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TProgressBar::StaticClass()
{
    static const TClassInfo info("TProgressBar", &TWinControl::StaticClass(), &NewComponent<TProgressBar>,
                                 {
                                     PublishInteger<&TProgressBar::Min, &TProgressBar::SetMin>("Min"),
                                     PublishInteger<&TProgressBar::Max, &TProgressBar::SetMax>("Max"),
                                     PublishInteger<&TProgressBar::Position, &TProgressBar::SetPosition>("Position"),
                                     PublishInteger<&TProgressBar::Step, &TProgressBar::SetStep>("Step"),
                                 });
    return info;
}

void TProgressBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, PROGRESS_CLASSA);
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyRange();
    SendMessageA(handle_, PBM_SETSTEP, step_, 0);
}

void TProgressBar::ApplyRange()
{
    if (!HandleAllocated() || updating_ > 0)
        return;
    SendMessageA(handle_, PBM_SETRANGE32, min_, max_);
    SendMessageA(handle_, PBM_SETPOS, position_, 0);
}

void TProgressBar::SetMin(int value)
{
    if (value == min_)
        return;
    min_ = value;
    // A range given the wrong way round only shows nothing; it stops no one.
    if (min_ <= max_)
        position_ = std::clamp(position_, min_, max_);
    ApplyRange();
}

void TProgressBar::SetMax(int value)
{
    if (value == max_)
        return;
    max_ = value;
    if (min_ <= max_)
        position_ = std::clamp(position_, min_, max_);
    ApplyRange();
}

void TProgressBar::SetPosition(int value)
{
    if (min_ <= max_)
        value = std::clamp(value, min_, max_);
    if (value == position_)
        return;
    position_ = value;
    ShowPosition();
}

void TProgressBar::ShowPosition()
{
    if (HandleAllocated() && updating_ == 0)
        SendMessageA(handle_, PBM_SETPOS, position_, 0);
}

void TProgressBar::EndUpdate()
{
    if (updating_ > 0 && --updating_ == 0)
        ApplyRange();
}

void TProgressBar::SetStep(int value)
{
    step_ = value;
    if (HandleAllocated())
        SendMessageA(handle_, PBM_SETSTEP, value, 0);
}

void TProgressBar::StepBy(int delta)
{
    long long next = static_cast<long long>(position_) + delta;
    if (next > max_)
        next = min_ + (next - max_) % std::max(1LL, static_cast<long long>(max_) - min_);
    else if (next < min_)
        next = min_;
    position_ = static_cast<int>(next);
    ShowPosition();
}

void TProgressBar::StepIt()
{
    StepBy(step_);
}

#include "classlib/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/TypInfo.h"

void InitComCtrlsUnit()
{
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_PROGRESS_CLASS | ICC_DATE_CLASSES;
    InitCommonControlsEx(&icc);
    RegisterComponentClass(TProgressBar::StaticClass());
    RegisterComponentClass(TDateTimePicker::StaticClass());
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

// ---------------------------------------------------------------------------
// TDateTimePicker

namespace {

SYSTEMTIME ToSystemTime(TDateTime value)
{
    int y, mo, d, h, mi, s, ms;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(mo);
    st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(mi);
    st.wSecond = static_cast<WORD>(s);
    st.wMilliseconds = static_cast<WORD>(ms);
    return st;
}

TDateTime FromSystemTime(const SYSTEMTIME& st)
{
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(st.wYear, st.wMonth, st.wDay, date))
        return 0;
    TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, time);
    return date + time;
}

} // namespace

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner), value_(Now())
{
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 186, 21);
}

const TClassInfo* TDateTimePicker::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TDateTimePicker::StaticClass()
{
    using C = TDateTimePicker;
    static const TClassInfo info("TDateTimePicker", &TWinControl::StaticClass(), &NewComponent<TDateTimePicker>,
                                 {
                                     PublishEnum<&C::Kind, &C::SetKind>("Kind", {"dtkDate", "dtkTime"}),
                                     PublishEnum<&C::DateMode, &C::SetDateMode>("DateMode",
                                                                                {"dmComboBox", "dmUpDown"}),
                                     PublishEvent<&C::OnChange>("OnChange"),
                                 });
    return info;
}

TDateTime TDateTimePicker::DateTime()
{
    if (HandleAllocated()) {
        SYSTEMTIME st{};
        if (SendMessageA(handle_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID)
            value_ = FromSystemTime(st);
    }
    return value_;
}

void TDateTimePicker::SetDateTime(TDateTime value)
{
    value_ = value;
    if (HandleAllocated()) {
        SYSTEMTIME st = ToSystemTime(value);
        SendMessageA(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    }
}

void TDateTimePicker::SetDate(TDateTime value)
{
    SetDateTime(static_cast<int>(value) + Time());
}

TDateTime TDateTimePicker::Time()
{
    const TDateTime value = DateTime();
    return value - static_cast<int>(value);
}

void TDateTimePicker::SetTime(TDateTime value)
{
    SetDateTime(Date() + (value - static_cast<int>(value)));
}

void TDateTimePicker::SetKind(TDateTimeKind value)
{
    if (value == kind_)
        return;
    kind_ = value;
    RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode value)
{
    if (value == dateMode_)
        return;
    dateMode_ = value;
    RecreateWnd();
}

void TDateTimePicker::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, DATETIMEPICK_CLASSA);
    if (kind_ == dtkTime)
        p.Style |= DTS_TIMEFORMAT;
    else if (dateMode_ == dmUpDown)
        p.Style |= DTS_UPDOWN;
}

void TDateTimePicker::CreateWnd()
{
    TWinControl::CreateWnd();
    SetDateTime(value_);
}

void TDateTimePicker::DestroyWnd()
{
    DateTime();
    TWinControl::DestroyWnd();
}

void TDateTimePicker::Dispatch(TMessage& m)
{
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == DTN_DATETIMECHANGE) {
        DateTime();
        OnChange(this);
        return;
    }
    TWinControl::Dispatch(m);
}

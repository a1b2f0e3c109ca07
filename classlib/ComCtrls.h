// Common controls of comctl32: the progress bar and the date-time picker.
//
// Classes are registered for forms by InitComCtrlsUnit, which the forms
// unit's start-up (InitFormsUnit) calls; it also makes sure the library's
// window classes exist.
#pragma once

#include "classlib/Controls.h"
#include "classlib/SysUtils.h"

void InitComCtrlsUnit();

// The system's progress bar (msctls_progress32). Position stays within Min
// and Max; StepIt moves it by Step and wraps round to Min past Max, as the
// system's bar does. Between BeginUpdate and EndUpdate the bar keeps its
// range and position without showing them (the system's bar paints itself
// at every move); EndUpdate shows where it stands.
class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position() const { return position_; }
    void SetPosition(int value);
    int Step() const { return step_; }
    void SetStep(int value);
    void StepIt();
    void StepBy(int delta);
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    void ApplyRange();
    void ShowPosition();

    int updating_ = 0;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
};

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

// The system's date and time picker (SysDateTimePick32): a date with a
// drop-down calendar or up-down buttons, or a time. The value is kept by
// the control while there is no window; changing Kind or DateMode makes
// the window again.
class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* owner);

    TDateTime DateTime();
    void SetDateTime(TDateTime value);
    // The date part (midnight) and the time part of DateTime; setting one
    // keeps the other.
    TDateTime Date() { return static_cast<int>(DateTime()); }
    void SetDate(TDateTime value);
    TDateTime Time();
    void SetTime(TDateTime value);
    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind value);
    TDTDateMode DateMode() const { return dateMode_; }
    void SetDateMode(TDTDateMode value);

    TNotifyEvent OnChange;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;

private:
    TDateTime value_ = 0;
    TDateTimeKind kind_ = dtkDate;
    TDTDateMode dateMode_ = dmComboBox;
};

// Common controls of comctl32: the progress bar.
//
// Classes are registered for forms by InitComCtrlsUnit, which the forms
// unit's start-up (InitFormsUnit) calls; it also makes sure the library's
// window classes exist.
#pragma once

#include "classlib/Controls.h"

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

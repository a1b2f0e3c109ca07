// Unit advspin: a speed button that repeats its click while held
// (TAdvTimerSpeedButton), a pair of them as up and down buttons
// (TAdvSpinButton), and a numeric edit with such a pair inside its right
// edge (TAdvSpinEdit). The grid's spin editor derives from the edit.
//
// The default glyphs are the bitmap resources "AdvSpinUp" and "AdvSpinDown"
// that every program linking the grid carries. Unit start: InitAdvSpinUnit
// registers the classes for forms.
#pragma once

#include "classlib/Buttons.h"
#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"

void InitAdvSpinUnit();

enum TSpinDirection { spVertical, spHorizontal };

// Held down, it clicks first 400 ms after the press, then every 100 ms
// while it stays down under the mouse; the release over it clicks once
// more. Arrow kinds 0 and 1 draw the system's left and right scroll arrows,
// 2 and 3 the glyph.
class TAdvTimerSpeedButton : public TSpeedButton {
public:
    explicit TAdvTimerSpeedButton(TComponent* owner);

    bool TimerAllowed() const { return timerAllowed_; }
    void SetTimerAllowed(bool value) { timerAllowed_ = value; }
    bool FocusShown() const { return focusShown_; }
    void SetFocusShown(bool value);
    int ArrowKind() const { return arrowKind_; }
    void SetArrowKind(int value);
    // The repeat timer, nullptr before the first press.
    TTimer* RepeatTimer() const { return timer_; }

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    void TimerExpired(TObject*);
    void InvalidateParent();

    TTimer* timer_ = nullptr;  // owned as a component
    bool timerAllowed_ = false;
    bool focusShown_ = false;
    int arrowKind_ = 2;
};

// Two timer buttons, up above down (or down left of up), raising OnUpClick
// and OnDownClick; a press hands the focus to FocusControl.
class TAdvSpinButton : public TWinControl {
public:
    explicit TAdvSpinButton(TComponent* owner);

    TSpinDirection Direction() const { return direction_; }
    void SetDirection(TSpinDirection value);
    TBitmap* UpGlyph() const { return up_->Glyph(); }
    // nullptr (or an empty bitmap) puts the default glyph back.
    void SetUpGlyph(TBitmap* value);
    TBitmap* DownGlyph() const { return down_->Glyph(); }
    void SetDownGlyph(TBitmap* value);
    int UpNumGlyphs() const { return up_->NumGlyphs(); }
    void SetUpNumGlyphs(int value) { up_->SetNumGlyphs(value); }
    int DownNumGlyphs() const { return down_->NumGlyphs(); }
    void SetDownNumGlyphs(int value) { down_->SetNumGlyphs(value); }
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);

    TAdvTimerSpeedButton* UpButton() const { return up_; }
    TAdvTimerSpeedButton* DownButton() const { return down_; }
    TAdvTimerSpeedButton* FocusedButton() const { return focused_; }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Dispatch(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Layout();
    void ButtonPressed(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ButtonClicked(TObject* sender);
    void SetFocusBtn(TAdvTimerSpeedButton* button);
    static void DefaultGlyph(TAdvTimerSpeedButton* button, const char* resource);

    TAdvTimerSpeedButton* up_;
    TAdvTimerSpeedButton* down_;
    TAdvTimerSpeedButton* focused_;
    TSpinDirection direction_ = spVertical;
    TWinControl* focusControl_ = nullptr;
};

// A single-line numeric edit with a spin button inside its right edge; the
// text never runs under the buttons. With MinValue = MaxValue there are no
// bounds.
class TAdvSpinEdit : public TCustomEdit {
public:
    explicit TAdvSpinEdit(TComponent* owner);
    ~TAdvSpinEdit() override;

    // The text as a number; a text that is none reads as MinValue.
    int Value();
    void SetValue(int value);
    int MinValue() const { return minValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value) { maxValue_ = value; }
    int Increment() const { return increment_; }
    void SetIncrement(int value) { increment_ = value; }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool value) { editorEnabled_ = value; }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    TSpinDirection Direction() const { return button_ ? button_->Direction() : spVertical; }
    void SetDirection(TSpinDirection value);
    TAdvSpinButton* Button() const { return button_; }
    // The least height the font allows.
    int MinHeight();

    virtual bool AcceptsChar(char key);
    virtual void StepUp();
    virtual void StepDown();

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Resize() override;
    void DoEnter() override;
    void DoExit() override;

private:
    void UpClicked(TObject*) { StepUp(); }
    void DownClicked(TObject*) { StepDown(); }
    void SetEditRect();
    int Bounded(int value) const;

    TAdvSpinButton* button_;
    int minValue_ = 0;
    int maxValue_ = 0;
    int increment_ = 1;
    bool editorEnabled_ = true;
    bool autoSelect_ = true;
};

// Unit AdvCombo: a combo box that can be drawn flat: no sunken border, a
// flat drop-down button that lights up (raised or etched) while the mouse
// is over the control or it has the focus, and optionally a thin sunken
// border then. TAdvCustomCombo holds the behaviour, TAdvComboBox publishes
// it; the grid's combo editor derives from TAdvCustomCombo.
//
// Unit start: InitAdvComboUnit registers TAdvComboBox for forms.
#pragma once

#include "classlib/StdCtrls.h"

void InitAdvComboUnit();

class TAdvCustomCombo : public TCustomComboBox {
public:
    explicit TAdvCustomCombo(TComponent* owner);

    // 14 to 32 pixels; other widths are ignored.
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool Etched() const { return etched_; }
    void SetEtched(bool value);
    bool FocusBorder() const { return focusBorder_; }
    void SetFocusBorder(bool value) { focusBorder_ = value; }
    bool Ctl3D() const { return !flat_; }
    bool MouseInControl() const { return mouseInControl_; }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Dispatch(TMessage& message) override;
    void EditMouse(UINT msg) override;
    // The button lights up: the mouse is inside or the control is active.
    bool Hot();
    bool FocusLook();
    void DrawBorders();

private:
    void PaintFlat(TMessage& message);
    void MouseEntered();
    void MouseLeft();
    TColor ParentBackground() const;

    int buttonWidth_;
    bool flat_ = true;
    bool etched_ = false;
    bool focusBorder_ = false;
    bool mouseInControl_ = false;
    TColor savedColor_;
    bool savedParentColor_;
};

class TAdvComboBox : public TAdvCustomCombo {
public:
    using TAdvCustomCombo::TAdvCustomCombo;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

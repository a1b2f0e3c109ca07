// The grid's control editors (part of unit AdvGrid): the controls a cell's
// editor kind shows over the current cell instead of the text editor. Each
// knows its grid (its owner), keeps the keys it needs and hands the others
// back to the grid; losing the focus stores its value into the cell and
// hides it. Escape hands back without storing: the cell keeps its text.
//
// Included at the end of AdvGrid.h: the controls use the whole grid.
#pragma once

#include "classlib/ComCtrls.h"
#include "classlib/StdCtrls.h"
#include "grid/ASGEdit.h"
#include "grid/AdvCombo.h"
#include "grid/advspin.h"

// What every control editor shares: its grid, Enter, Escape and the arrows
// kept from the form's dialog keys (it hands them to the grid itself), the
// Enter character swallowed (Enter was handled as a key), and the focus
// loss that stores and hides it.
template <class Base>
class TGridControl : public Base {
public:
    explicit TGridControl(TComponent* owner) : Base(owner), grid_(dynamic_cast<TAdvStringGrid*>(owner)) {}
    TAdvStringGrid* Grid() const { return grid_; }

protected:
    void Dispatch(TMessage& m) override
    {
        Base::Dispatch(m);
        if (m.Msg == WM_GETDLGCODE)
            m.Result |= DLGC_WANTALLKEYS | DLGC_WANTARROWS;
    }
    void KeyPress(char& key) override
    {
        if (key == '\r') {
            key = 0;
            return;
        }
        Base::KeyPress(key);
    }
    void DoExit() override
    {
        if (grid_)
            grid_->ControlExit(this);
        Base::DoExit();
    }

    TAdvStringGrid* grid_;
};

// Kind 5: Space and a press toggle it; the movement keys hand back.
class TGridCheckBox : public TGridControl<TCheckBox> {
public:
    using TGridControl::TGridControl;

protected:
    void Dispatch(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
};

// Kind 1: Page Up and Down step by Increment within the bounds, Home and End
// go to them; Enter, Up and Down validate and hand back.
class TGridSpin : public TGridControl<TAdvSpinEdit> {
public:
    explicit TGridSpin(TComponent* owner);
    void StepUp() override;
    void StepDown() override;

protected:
    void KeyDown(WORD& key, TShiftState shift) override;

private:
    void SpinClick(bool up);
};

// Kinds 2 and 3: completes typed text from its items with the grid's
// Lookup, adds new texts with LookupHistory, reports changes to the grid's
// OnComboChange.
class TGridCombo : public TGridControl<TAdvCustomCombo> {
public:
    explicit TGridCombo(TComponent* owner);
    // The open list as wide as the control or its widest item (in the
    // grid's font) and 6 pixels, whichever is wider.
    void SizeDropDownToItems();

protected:
    void Dispatch(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void DoExit() override;

private:
    void Complete();
    bool completion_ = true;
};

// Kinds 6 to 8: the movement keys hand back; Escape leaves the cell's text.
class TGridDatePicker : public TGridControl<TDateTimePicker> {
public:
    using TGridControl::TGridControl;

protected:
    void Dispatch(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
};

// The two edits with a button: Enter, Up and Down validate, Escape shows
// the cell's text again, and those and the page keys hand back.
template <class Base>
class TGridEditBox : public TGridControl<Base> {
public:
    using TGridControl<Base>::TGridControl;

protected:
    void KeyDown(WORD& key, TShiftState shift) override
    {
        if (!this->grid_ || !this->grid_->EditButtonKey(this, key))
            Base::KeyDown(key, shift);
    }
};

// Kind 4: its button runs the grid's ellipsis click.
class TGridEditBtn : public TGridEditBox<TEditBtn> {
public:
    using TGridEditBox::TGridEditBox;
    void ClickButton() override;
};

// Kind 16: a number and its unit, chosen from the unit menu.
class TGridUnitEditBtn : public TGridEditBox<TUnitEditBtn> {
public:
    using TGridEditBox::TGridEditBox;
};

// Kind 9, and the button that shows a header being dragged. A click (mouse
// release or Space) runs the grid's ellipsis click and shows the cell's text;
// an arrow key's release and Escape give the keyboard back to the grid.
class TGridButton : public TGridControl<TButton> {
public:
    using TGridControl::TGridControl;
    void Click() override;

protected:
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;

private:
    // Hidden and disabled; the grid shows no control and gets the focus.
    void BackToGrid();
};

// The check-list box: a list box with a check box before each item. The
// user ticks an item by clicking its box or by pressing Space on the item
// that has the focus; either fires OnClickCheck. The ticks travel with their
// items: through inserts and deletes (a sorted list too) and across a
// re-created window.
#pragma once

#include <vector>

#include "classlib/StdCtrls.h"

// Registers the class for reading forms; called by InitFormsUnit.
void InitCheckLstUnit();

class TCheckListBox : public TCustomListBox {
public:
    explicit TCheckListBox(TComponent* owner);

    bool Checked(int index) const;
    // A program's change: no OnClickCheck.
    void SetChecked(int index, bool value);

    TNotifyEvent OnClickCheck;

    // For the test probe: one "Checked[i]=0|1" line per item after the list
    // box's own lines. A "Checked[i]" line ticks or clears the item as a
    // click on its box would: the item is chosen (OnClick), then ticked
    // (OnClickCheck); nothing happens when it already is as asked.
    bool ProbeState(TStrings& lines, bool change) override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    virtual void ClickCheck() { OnClickCheck(this); }
    void DrawItem(int index, TRect rect, TOwnerDrawState state) override;
    void KeyPress(char& key) override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;

private:
    // The user's tick: the item changes and OnClickCheck fires.
    void ToggleByUser(int index);
    void ClickAt(TMessage& message);

    // The ticks while there is a window, one per item of the window, kept
    // in step with the window's inserts and deletes; without a window the
    // list box keeps them with its saved items.
    std::vector<char> states_;
    // While a new window takes the saved items: their ticks, in saved order.
    std::vector<char> restoring_;
    size_t restored_ = 0;
    bool recreating_ = false;
};

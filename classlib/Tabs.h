// The tab set: a row of tabs that hang from the top edge of the control, for
// placing under a notebook or any other area whose parts the tabs name.
//
// The class is registered for forms by InitTabsUnit; the units that build on
// it call that from their own start-up.
#pragma once

#include <memory>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Lists.h"

void InitTabsUnit();

// Tabs are laid out from FirstIndex onwards, StartMargin pixels from the left
// edge, as many as fit before EndMargin pixels from the right edge. TabIndex
// is the current tab (-1 for none); every change of it fires OnClick. A left
// button press on a tab makes it the current tab. Tab texts are written like
// captions: "&" underlines the next letter, "&&" shows one "&".
class TTabSet : public TCustomControl {
public:
    explicit TTabSet(TComponent* owner);
    ~TTabSet() override;

    TStrings* Tabs() const { return tabs_.get(); }
    // Copies the lines given.
    void SetTabs(TStrings* value);
    int TabIndex() const { return tabIndex_; }
    // An index outside the tabs does nothing.
    void SetTabIndex(int value);
    // The first tab shown.
    int FirstIndex() const { return firstIndex_; }
    void SetFirstIndex(int value);
    int VisibleTabs();

    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor value);
    TColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(TColor value);
    TColor UnselectedColor() const { return unselectedColor_; }
    void SetUnselectedColor(TColor value);
    int StartMargin() const { return startMargin_; }
    void SetStartMargin(int value);
    int EndMargin() const { return endMargin_; }
    void SetEndMargin(int value);

    // The tab shown at a point of the client area, -1 for none.
    int ItemAtPos(TPoint pos);
    // The area of a shown tab (empty for a tab not shown).
    TRect ItemRect(int index);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void TabsChanged(TObject*);
    // Left edges of the shown tabs and, last, the right edge of the last one.
    void Layout(std::vector<int>& edges);

    std::unique_ptr<TStringList> tabs_;
    int tabIndex_ = -1;
    int firstIndex_ = 0;
    TColor backgroundColor_ = clBtnFace;
    TColor selectedColor_ = clBtnFace;
    TColor unselectedColor_ = clWindow;
    int startMargin_ = 5;
    int endMargin_ = 5;
};

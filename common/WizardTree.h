// TWizardTree: the steps of a wizard as a column of small boxes with a
// caption beside each, joined by lines like a tree; the current step's box is
// in the highlight colour and its caption in bold. The wizards put one at the
// left of the form, disabled, and set ItemIndex to the page shown.
//
// Layout of item i (H, V: the spaces; BW, BH: the box; LM, TM: the margins):
// its box stands at top TM + V + i * (BH + 2V); the first and the last item
// at left LM + H, the steps between them one box and one space further right.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Lists.h"

// (Sender, NewItemIndex, AllowChange)
using TOnChanging = TEvent<TObject*, int, bool&>;
using TOnChange = TEvent<TObject*>;

// A panel whose bevels and caption stay unused: it paints only the tree.
class TWizardTree : public TCustomPanel {
public:
    explicit TWizardTree(TComponent* owner);
    ~TWizardTree() override;

    TStrings* Items() const { return items_.get(); }
    // Copies the lines given.
    void SetItems(TStrings* value);
    int ItemIndex() const { return itemIndex_; }
    // -1 selects nothing; values below -1 or not below the item count are
    // ignored.
    void SetItemIndex(int value);

    TColor LineColor() const { return lineColor_; }
    void SetLineColor(TColor value);
    TColor SelectedBoxColor() const { return selectedBoxColor_; }
    void SetSelectedBoxColor(TColor value);
    TColor BoxColor() const { return boxColor_; }
    void SetBoxColor(TColor value);

    int HorizontalSpace() const { return horizontalSpace_; }
    void SetHorizontalSpace(int value);
    int VerticalSpace() const { return verticalSpace_; }
    void SetVerticalSpace(int value);
    int BoxHeight() const { return boxHeight_; }
    void SetBoxHeight(int value);
    int BoxWidth() const { return boxWidth_; }
    void SetBoxWidth(int value);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int value);
    int TopMargin() const { return topMargin_; }
    void SetTopMargin(int value);

    // "1.0"; assigning does nothing (forms may still carry the value).
    std::string Version() const { return "1.0"; }
    void SetVersion(const std::string&) {}

    // OnClick first; then a click on an item's box or caption asks
    // OnChanging, selects the item and reports OnChange.
    void Click() override;

    TOnChanging OnChanging;
    TOnChange OnChange;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;
    void Dispatch(TMessage& message) override;

private:
    int ItemLeft(int index) const;
    int ItemTop(int index) const;
    void DrawItem(int index, bool selected);
    void ItemsChanged(TObject*);
    // TColor is an int: one setter serves sizes and colours.
    void SetAndRepaint(int& field, int value);

    std::unique_ptr<TStringList> items_;
    int itemIndex_ = 0;
    TColor lineColor_ = clWhite;
    TColor selectedBoxColor_ = clLime;
    TColor boxColor_ = clGray;
    int horizontalSpace_ = 4;
    int verticalSpace_ = 8;
    int boxHeight_ = 17;
    int boxWidth_ = 16;
    int leftMargin_ = 4;
    int topMargin_ = 4;
    // Where each item's box and caption can be clicked, as last drawn.
    std::vector<TRect> hitRects_;
    // The point of the button release that is making the current click.
    bool clickPosKnown_ = false;
    TPoint clickPos_{};
};

// Registers the unit's component class for the form reader.
void WizardTreeStartup();

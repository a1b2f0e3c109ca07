// THTMLabel: a label that shows one piece of the HTML mini-markup, joined
// from the lines of HTMLText, inside bevels like a panel's, with anchors
// that react to the mouse and can show themselves as the hint.
#pragma once

#include <memory>
#include <string>

#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"

// Registers the unit's component class for the form reader.
void htmlabelStartup();

namespace htmlabel {
// (Sender, Anchor)
using TAnchorClick = TEvent<TObject*, const std::string&>;
} // namespace htmlabel

// The label's own caption always stays empty. With AutoSizing it takes the
// width of the laid-out text + 6 and grows (never shrinks) to its height + 6
// when it paints.
class THTMLabel : public TCustomLabel {
public:
    explicit THTMLabel(TComponent* owner);
    ~THTMLabel() override;

    TStrings* HTMLText() const { return htmlText_.get(); }
    // Copies the lines given; nothing for none.
    void SetHTMLText(TStrings* value);
    bool AutoSizing() const { return autoSizing_; }
    void SetAutoSizing(bool value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    TColor URLColor() const { return urlColor_; }
    void SetURLColor(TColor value);
    bool AnchorHint() const { return anchorHint_; }
    void SetAnchorHint(bool value) { anchorHint_ = value; }
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);

    htmlabel::TAnchorClick OnAnchorClick;
    htmlabel::TAnchorClick OnAnchorEnter;
    htmlabel::TAnchorClick OnAnchorExit;

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Dispatch(TMessage& message) override;

private:
    void HTMLTextChanged(TObject*);
    std::string JoinedText() const;
    std::string AnchorAt(int x, int y);

    std::unique_ptr<TStringList> htmlText_;
    bool autoSizing_ = false;
    TCustomImageList* images_ = nullptr;
    TColor urlColor_;
    bool anchorHint_ = false;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    std::string lastAnchor_;
};

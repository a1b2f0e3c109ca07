// TqmxHTMListbox: the organizer's HTML list box. Like THTMListbox it shows
// one piece of markup per item and reacts to anchors, but it draws with the
// organizer's own renderer (htmleng), asks each item's height only when the
// list box measures it, and can draw its selection like any other item.
#pragma once

#include <string>

#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"
#include "organizer/HTMListb.h"

// Registers the unit's component class for the form reader.
void qmxHTMlistboxStartup();

// Item heights: ItemHeight while Multiline is off; with it on, the height of
// the item's markup + 4 pixels.
class TqmxHTMListbox : public TCustomListBox {
public:
    explicit TqmxHTMListbox(TComponent* owner);
    ~TqmxHTMListbox() override;

    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    TColor URLColor() const { return urlColor_; }
    void SetURLColor(TColor value);
    TColor SelectionColor() const { return selectionColor_; }
    void SetSelectionColor(TColor value);
    TColor SelectionFontColor() const { return selectionFontColor_; }
    void SetSelectionFontColor(TColor value);
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool value);
    // The selected item is drawn like the others (its focus frame still shows).
    bool SelectionInvisible() const { return selectionInvisible_; }
    void SetSelectionInvisible(bool value);

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;

    // ItemIndex as a published property (forms may choose the first item).
    int StoredItemIndex() const { return const_cast<TqmxHTMListbox*>(this)->ItemIndex(); }
    void SetStoredItemIndex(int value) { SetItemIndex(value); }

    // Besides the list box's keys, "ClickAnchor[i]=HREF" clicks where item
    // i shows the anchor HREF, as a person's click would (the item scrolled
    // into view first).
    bool ProbeState(TStrings& lines, bool change) override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void DrawItem(int index, TRect rect, TOwnerDrawState state) override;
    void MeasureItem(int index, int& height) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Dispatch(TMessage& message) override;

private:
    void Remeasure();
    bool AnchorAt(int index, int x, int y, std::string& anchor);

    TCustomImageList* images_ = nullptr;
    TColor urlColor_;
    TColor selectionColor_;
    TColor selectionFontColor_;
    bool multiline_ = false;
    bool selectionInvisible_ = false;
    bool remeasuring_ = false;
};

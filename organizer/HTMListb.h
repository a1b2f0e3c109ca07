// THTMListbox: a list box whose every item is one piece of the HTML
// mini-markup (common/HtmlDraw.h), with anchors that react to the mouse.
// Also the shell opener that it, the HTML label and the organizer's own list
// box share for web and mail anchors.
#pragma once

#include <string>

#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"

// Registers the unit's component class for the form reader.
void HTMListbStartup();

// (Sender, Index, Anchor)
using TAnchorClick = TEvent<TObject*, int, const std::string&>;

// Web and mail anchors (an href starting with http://, https://, ftp:// or
// mailto:, any letter case) are opened by the shell; the others go to the
// control's OnAnchorClick.
bool IsShellAnchor(const std::string& anchor);
// Opens the anchor with the shell's "open" verb in a normal window; the
// shell's result is not looked at. Goes through the procedure set below.
void OpenShellAnchor(const std::string& anchor);
// Replaces the procedure that opens anchors (nullptr puts the shell's back);
// gives the one that was set.
using TShellOpenProc = void (*)(const std::string& anchor);
TShellOpenProc SetShellOpenProc(TShellOpenProc proc);

// What both HTML list boxes (this one and the organizer's own) do alike.
// The rectangle an item's markup is measured in: the item's own (the client
// width while the list box has not laid the item out), 1000 pixels high.
TRect MarkupMeasureRect(TCustomListBox* box, int index);
// Writes every item back onto itself, which makes the list box measure it
// again; busy is set meanwhile so that the resizing this causes does not
// start another pass. Gives false, doing nothing, when the list box has no
// window yet or a pass is already running.
bool RewriteItems(TCustomListBox* box, bool& busy);

// Every added or inserted item is measured with its markup and gets that
// height + 4 pixels, whatever Multiline says; all items are measured again
// when the control is resized and when Images or Multiline change.
class THTMListbox : public TCustomListBox {
public:
    explicit THTMListbox(TComponent* owner);
    ~THTMListbox() override;

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

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;

    void WndProc(TMessage& message) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void DrawItem(int index, TRect rect, TOwnerDrawState state) override;
    void MeasureItem(int index, int& height) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    void MeasureMarkup(int index);
    void Remeasure();
    // The anchor of the item's markup at (x, y) in the item's rectangle.
    bool AnchorAt(int index, int x, int y, std::string& anchor);

    TCustomImageList* images_ = nullptr;
    TColor urlColor_;
    TColor selectionColor_;
    TColor selectionFontColor_;
    bool multiline_ = false;
    bool remeasuring_ = false;
};

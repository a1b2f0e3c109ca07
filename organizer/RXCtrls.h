// The organizer's part of RXCtrls: TRxLabel, a label that draws its text
// with a shadow, places it at the top, centre or bottom, can take the size
// of its text and tells when the mouse enters and leaves it.
#pragma once

#include <string>

#include "classlib/Controls.h"
#include "classlib/StdCtrls.h"

// Registers the unit's component class for the form reader.
void RXCtrlsStartup();

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

// Draws Text into R with Format on the device context, first its shadow in
// ShadowColor moved ShadowSize pixels towards ShadowPos, then the text itself
// in the context's text colour. R becomes the box of both; the result is the
// height DrawText gave for the shadow, plus ShadowSize when it was above 0.
int DrawTextWithShadow(HDC DC, const std::string& Text, TRect& R, UINT Format, TShadowPosition ShadowPos,
                       COLORREF ShadowColor, int ShadowSize);

class TRxCustomLabel : public TGraphicControl {
public:
    explicit TRxCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor value);
    int ShadowSize() const { return shadowSize_; }
    // A byte: 0 to 255.
    void SetShadowSize(int value);
    TShadowPosition ShadowPos() const { return shadowPos_; }
    void SetShadowPos(TShadowPosition value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);
    bool Transparent() const { return (ControlStyle() & csOpaque) == 0; }
    void SetTransparent(bool value);
    // Whether the mouse is over the label (as last tracked).
    bool MouseInside() const { return mouseInside_; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    virtual TColor GetTextColor() { return Font()->Color(); }
    virtual std::string GetCaptionText() { return Caption(); }
    virtual void MouseEntered() { OnMouseEnter(this); }
    virtual void MouseLeft() { OnMouseLeave(this); }

    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;
    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    void DrawLabelText(TRect& rect, UINT format);
    void AdjustBounds();

private:
    UINT TextFormat() const;
    void UpdateTracking();

    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TTextLayout layout_ = tlTop;
    TColor shadowColor_ = clBtnHighlight;
    int shadowSize_ = 1;
    TShadowPosition shadowPos_ = spLeftTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool showFocus_ = false;
    TWinControl* focusControl_ = nullptr;
    bool focused_ = false;
    bool mouseInside_ = false;
    bool dragging_ = false;
};

class TRxLabel : public TRxCustomLabel {
public:
    using TRxCustomLabel::TRxCustomLabel;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

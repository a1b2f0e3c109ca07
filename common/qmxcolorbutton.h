// TqmxColorButton: the push button of every form. Owner-drawn: a rounded face
// in its own colour, a border that turns ActiveBorderColor and two pixels
// wide while the mouse is over the button (and after a click, until the
// mouse leaves), a caption in which "\n" breaks the line (or stands for a
// blank with SingleLine), bold while the button is focused or the default
// one. The standard kinds (OK, Cancel, Help, Close, ...) set the caption in
// Polish, the modal result and the default or cancel role.
#pragma once

#include <memory>
#include <string>

#include "classlib/StdCtrls.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };

// The mouse entered or left the button: (Sender, Message).
using TCmMouseEnter = TMessage;
using TMouseEnter = TEvent<TControl*, TCmMouseEnter&>;
using TMouseLeave = TEvent<TControl*, TCmMouseEnter&>;

class TqmxColorButton : public TButton {
public:
    explicit TqmxColorButton(TComponent* owner);
    ~TqmxColorButton() override;

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value);
    TColor ActiveBorderColor() const { return activeBorderColor_; }
    void SetActiveBorderColor(TColor value);
    // Width and height of the ellipse that rounds the corners.
    int RoundSize() const { return roundSize_; }
    void SetRoundSize(int value);
    bool SingleLine() const { return singleLine_; }
    void SetSingleLine(bool value);
    bool BoldWhenDefault() const { return boldWhenDefault_; }
    void SetBoldWhenDefault(bool value);
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle value);

    // bkCustom once Default, Cancel or ModalResult no longer match the kind.
    TBitBtnKind Kind() const;
    void SetKind(TBitBtnKind value);

    // bkHelp shows the help topic of the nearest control that has one, and
    // bkClose closes the form, instead of the plain click.
    void Click() override;

    TMouseEnter OnMouseEnter;
    TMouseLeave OnMouseLeave;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void SetButtonStyle(bool isDefault) override;
    void Dispatch(TMessage& message) override;
    virtual void DrawButtonFace(const DRAWITEMSTRUCT& drawItem);

private:
    int KindOrd() const { return Kind(); }
    void SetKindOrd(int value) { SetKind(static_cast<TBitBtnKind>(value)); }
    int StyleOrd() const { return style_; }
    void SetStyleOrd(int value) { SetStyle(static_cast<TButtonStyle>(value)); }
    void SetMouseInControl(bool value);

    // Bound to the draw-item record's device context only while a face is drawn.
    std::unique_ptr<TCanvas> canvas_;
    bool mouseInControl_ = false;
    TColor borderColor_ = clTeal;
    TColor activeBorderColor_ = clTeal;
    int roundSize_ = 24;
    bool isFocused_ = false;
    TButtonStyle style_ = bsAutoDetect;
    mutable TBitBtnKind kind_ = bkCustom;
    bool singleLine_ = true;
    bool boldWhenDefault_ = true;
};

// Registers the unit's component class for the form reader.
void qmxcolorbuttonStartup();

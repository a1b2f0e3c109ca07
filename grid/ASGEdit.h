// Unit ASGEdit: a single-line edit with a small button inside its right
// edge (TEditBtn), the button's container (TEditButton), and an edit with
// a button that pops up a menu of units and shows the chosen unit right of
// the text (TUnitEditBtn). The grid's edit-with-button and unit editors
// derive from them.
//
// Unit start: InitASGEditUnit registers the classes for forms.
#pragma once

#include <memory>

#include "classlib/Buttons.h"
#include "classlib/StdCtrls.h"

void InitASGEditUnit();

// A speed button filling a windowed container; it acts on the press, not on
// the release, and hands the focus to FocusControl.
class TEditButton : public TWinControl {
public:
    explicit TEditButton(TComponent* owner);

    TBitmap* Glyph() const { return button_->Glyph(); }
    void SetGlyph(TBitmap* value) { button_->SetGlyph(value); }
    std::string ButtonCaption() const { return button_->Caption(); }
    void SetButtonCaption(const std::string& value) { button_->SetCaption(value); }
    int NumGlyphs() const { return button_->NumGlyphs(); }
    void SetNumGlyphs(int value) { button_->SetNumGlyphs(value); }
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);
    TSpeedButton* SpeedButton() const { return button_; }

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Layout();
    void ButtonPressed(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

    TSpeedButton* button_;
    TWinControl* focusControl_ = nullptr;
};

class TEditBtn : public TCustomEdit {
public:
    explicit TEditBtn(TComponent* owner);
    ~TEditBtn() override;

    TBitmap* Glyph() const { return button_->Glyph(); }
    void SetGlyph(TBitmap* value) { button_->SetGlyph(value); }
    std::string ButtonCaption() const { return button_->ButtonCaption(); }
    void SetButtonCaption(const std::string& value) { button_->SetButtonCaption(value); }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool value) { editorEnabled_ = value; }
    bool RightAlign() const { return rightAlign_; }
    // Makes the window again.
    void SetRightAlign(bool value);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    TEditButton* Button() const { return button_; }
    // The least height the font allows.
    int MinHeight();

    virtual void ClickButton();

    TNotifyEvent OnClickBtn;

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void Resize() override;
    void DoEnter() override;
    // Sets the text's formatting rectangle: it ends before the button and
    // the unit strip.
    void SetEditRect();
    int UnitSpaceWidth() const { return unitSpace_; }
    void SetUnitSpaceWidth(int value) { unitSpace_ = value; }

private:
    void ButtonClicked(TObject*) { ClickButton(); }

    TEditButton* button_;
    bool editorEnabled_ = true;
    bool rightAlign_ = false;
    bool autoSelect_ = true;
    int unitSpace_ = 0;
};

// The button opens a menu of Units; the chosen one becomes UnitID, drawn in
// the strip between the text and the button. UnitID does not follow the
// text.
class TUnitEditBtn : public TEditBtn {
public:
    explicit TUnitEditBtn(TComponent* owner);
    ~TUnitEditBtn() override;

    TStrings* Units() const { return units_.get(); }
    void SetUnits(TStrings* value);
    const std::string& UnitID() const { return unitID_; }
    void SetUnitID(const std::string& value);
    int UnitSpace() const { return UnitSpaceWidth(); }
    void SetUnitSpace(int value);

    void ClickButton() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Dispatch(TMessage& message) override;

private:
    void PaintUnit();

    std::unique_ptr<TStringList> units_;
    std::string unitID_;
};

// Unit ToolEdit: edits with a small button at their right end. The combo
// edit places the button (in a panel of its own, so the text never runs
// under it), makes its glyph by kind and clicks it on a key; the file edit
// adds the default glyph, the dialog events and dropped files; the directory
// edit chooses a folder in a dialog and can hold several joined by ";".
#pragma once

#include <string>

#include "classlib/ExtCtrls.h"
#include "classlib/FileCtrl.h"
#include "classlib/Mask.h"
#include "classlib/Menus.h"
#include "installer/RXCtrls.h"

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TDirDialogKind { dkVCL, dkWin32 };

class TCustomComboEdit;

// The button inside the edit: a speed button with a separating line.
class TEditButton : public TRxSpeedButton {
public:
    explicit TEditButton(TComponent* owner);
    bool NoAction() const { return noAction_; }
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TCustomComboEdit* Edit() const;
    bool noAction_ = false;
};

class TCustomComboEdit : public TCustomMaskEdit {
public:
    explicit TCustomComboEdit(TComponent* owner);
    ~TCustomComboEdit() override;

    TEditButton* Button() const { return button_; }
    TWinControl* ButtonPanel() const { return panel_; }
    int ButtonWidth() const { return button_->Width(); }
    void SetButtonWidth(int value);
    const std::string& ButtonHint() const { return button_->Hint(); }
    void SetButtonHint(const std::string& value) { button_->SetHint(value); }
    TBitmap* Glyph() const { return button_->Glyph(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return button_->NumGlyphs(); }
    void SetNumGlyphs(int value);
    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind value);
    TShortCut ClickKey() const { return clickKey_; }
    void SetClickKey(TShortCut value) { clickKey_ = value; }
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool value) { parentCtl3D_ = value; }
    // Letters typed or set are made upper or lower case.
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    // The selection shows only while the edit has the focus.
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    // The smaller of the text heights of the system font and the edit's.
    int MinTextHeight();
    // The smallest height that shows a line of text.
    int MinHeight();

    // What a click of the button does.
    virtual void DoButtonClick() { OnButtonClick(this); }

    TNotifyEvent OnButtonClick;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CreateHandle() override;
    void Dispatch(TMessage& message) override;
    void Resize() override;
    void KeyPress(char& key) override;
    void DoEnter() override;
    bool CanModify() const override { return !readOnly_; }
    // The default glyph of the kind gkDefault; nullptr at this level.
    virtual TBitmap* DefaultGlyph() { return nullptr; }
    int DefaultNumGlyphs() const { return 1; }
    void UpdateButtonPlacement();
    void SetEditRect();
    void RecreateGlyph();
    // Set while the control is being made: the button takes widths as given.
    bool creating_ = true;

private:
    friend class TEditButton;
    void EditButtonClick(TObject*);

    TPanel* panel_ = nullptr;
    TEditButton* button_ = nullptr;
    bool readOnly_ = false;
    bool directInput_ = true;
    bool alwaysEnable_ = false;
    TAlignment alignment_ = taLeftJustify;
    TShortCut clickKey_;
    TGlyphKind glyphKind_ = gkCustom;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    TEditCharCase charCase_ = ecNormal;
    bool hideSelection_ = true;
};

// (Sender, Name, Action)
using TExecOpenDialogEvent = TEvent<TObject*, std::string&, bool&>;

class TFileDirEdit : public TCustomComboEdit {
public:
    explicit TFileDirEdit(TComponent* owner);

    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool value);

    virtual std::string LongFolderText() { return Text(); }
    virtual std::string ShortFolderText() { return Text(); }

    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;
    TNotifyEvent OnDropFiles;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    TBitmap* DefaultGlyph() override;
    virtual void DoBeforeDialog(std::string& name, bool& action) { OnBeforeDialog(this, name, action); }
    virtual void DoAfterDialog(std::string& name, bool& action) { OnAfterDialog(this, name, action); }
    virtual void TakeDroppedName(const std::string& name) { (void)name; }
    virtual void ClearDropped() {}

private:
    void DropFiles(TMessage& message);
    bool acceptFiles_ = false;
};

class TDirectoryEdit : public TFileDirEdit {
public:
    explicit TDirectoryEdit(TComponent* owner);

    TDirDialogKind DialogKind = dkVCL;
    std::string DialogText;
    TSelectDirOpts DialogOptions = 0;
    std::string InitialDir;
    bool MultipleDirs = false;

    void DoButtonClick() override;
    std::string LongFolderText() override;
    std::string ShortFolderText() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void TakeDroppedName(const std::string& name) override;
};

// Registers TDirectoryEdit for forms; FreeToolEditUnit lets the default
// glyph go at the end of the program.
void InitToolEditUnit();
void DoneToolEditUnit();

// Standard controls: the windowless label, and controls over the system's
// BUTTON, EDIT and LISTBOX windows (push button, check box, radio button,
// edit, memo, list box), and the group box that paints its own frame.
//
// State that the user changes in a window (an edit's text, a check box's
// mark, a list box's items and selection) is read from the window while it
// exists and kept by the control while it does not, so a window destroyed
// and made again (RecreateWnd, a notebook page letting its windows go) comes
// back as it was.
//
// Classes are registered for forms by InitStdCtrlsUnit, which the forms
// unit's start-up (InitFormsUnit) calls.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Lists.h"

void InitStdCtrlsUnit();

// ---------------------------------------------------------------------------
// Label

enum TTextLayout { tlTop, tlCenter, tlBottom };

// A text drawn on its parent. With AutoSize it takes the size of its text
// (with WordWrap only the height follows, the width stays); a right-aligned
// label keeps its right edge. "&" marks the accelerator letter, which
// focuses FocusControl.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool Transparent() const { return (ControlStyle() & csOpaque) == 0; }
    void SetTransparent(bool value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    virtual std::string GetLabelText() const { return Caption(); }
    // Draws (or, with DT_CALCRECT, measures into rect) the text on Canvas.
    virtual void DoDrawText(TRect& rect, UINT flags);
    void Paint() override;
    virtual void AdjustBounds();
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    UINT TextFlags() const;

private:
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    TTextLayout layout_ = tlTop;
    TWinControl* focusControl_ = nullptr;
    bool showAccelChar_ = true;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// ---------------------------------------------------------------------------
// Buttons

// Common ground of the BUTTON windows: the system button presses and
// clicks itself, the control only hears BN_CLICKED.
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* owner);

protected:
    // While set, a state change made by the program fires no OnClick.
    bool ClicksDisabled() const { return clicksDisabled_; }
    void SetClicksDisabled(bool value) { clicksDisabled_ = value; }

private:
    bool clicksDisabled_ = false;
};

// A push button. Enter clicks it while it is the default button and no
// other button has the focus, or while it has the focus; Escape clicks a
// cancel button; Alt and the accelerator letter click it. A click first
// gives the parent form the button's ModalResult (when not mrNone), then
// fires OnClick.
class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    void Click() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    // Shows the button as the one Enter would press (or not). Called when
    // the focus moves and when Default changes; an owner-drawn button
    // overrides it, since the system's default style would replace its own.
    virtual void SetButtonStyle(bool isDefault);
    // Whether Enter presses this button now.
    bool Active() const { return active_; }

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
    bool active_ = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A check box. A click toggles it (unchecked, grayed when AllowGrayed,
// checked); every change of State fires OnClick, also one made by the
// program, but none while the form is being read.
class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* owner);

    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    virtual void Toggle();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// A radio button. Checking it (by a click or by the program) unchecks the
// other radio buttons of the same parent and fires OnClick; unchecking
// fires nothing. Only a checked radio button is a tab stop.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    void SetChecked(bool value);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    bool checked_ = false;
};

// ---------------------------------------------------------------------------
// Edits

// The system's EDIT window. OnChange fires whenever the text changes: typed
// by the user, or set by the program (not while the form is being read).
class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);

    int MaxLength() const { return maxLength_; }
    // 0: no limit of the control's own.
    void SetMaxLength(int value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    bool Modified() const;
    void SetModified(bool value);

    // The selection, as character positions from 0.
    int SelStart();
    void SetSelStart(int value);
    int SelLength();
    void SetSelLength(int value);
    std::string SelText();
    // Replaces the selection (inserts at the caret when nothing is selected).
    void SetSelText(const std::string& value);
    void SelectAll();
    void Clear() { SetText(std::string()); }

    TNotifyEvent OnChange;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    virtual void Change();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    virtual bool IsMultiLine() const { return false; }

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
    char passwordChar_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    bool modified_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// A multi-line edit. Lines are the text's hard lines (ended by CR LF);
// changing them rewrites the text.
class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TStrings* Lines() const { return lines_.get(); }
    // Copies the lines given.
    void SetLines(TStrings* value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // Enter makes a new line (true) or goes to the form's default button.
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    // Tab is typed into the text (true) or moves the focus.
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    bool IsMultiLine() const override { return true; }

private:
    std::unique_ptr<TStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// ---------------------------------------------------------------------------
// List box

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

// State of an owner-drawn item, as bits (the ODS_ values of the system).
using TOwnerDrawState = unsigned;
enum : unsigned { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16 };

// (Control, Index, Rect, State)
using TDrawItemEvent = TEvent<TWinControl*, int, TRect, TOwnerDrawState>;
// (Control, Index, Height): the item's height, proposed as ItemHeight.
using TMeasureItemEvent = TEvent<TWinControl*, int, int&>;

// The system's LISTBOX window. Items are the window's strings (with an
// object per item); Sorted keeps them in the locale's case-insensitive
// order. A change of the selection by the user fires OnClick, a double
// click OnDblClick.
//
// Owner-drawn styles: each item is drawn by DrawItem (OnDrawItem, or the
// item's text) on Canvas, which has the control's font and brush, in the
// highlight colours for a selected item; a focus frame is drawn around the
// focused item afterwards. With lbOwnerDrawVariable the height of each item
// is asked from MeasureItem (OnMeasureItem) when it is added.
class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings* Items() const { return items_.get(); }
    // Copies the lines given.
    void SetItems(TStrings* value);
    int Count() const { return items_->Count(); }
    void Clear() { items_->Clear(); }

    // The selected item (with MultiSelect: the item with the focus frame);
    // -1 for none.
    int ItemIndex();
    void SetItemIndex(int value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    // With MultiSelect: Shift and Ctrl extend the selection (true) or every
    // click toggles an item (false).
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool value);
    bool Selected(int index);
    void SetSelected(int index, bool value);
    int SelCount();
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value);
    int ItemHeight();
    void SetItemHeight(int value);
    int TopIndex();
    void SetTopIndex(int value);

    // The item at a point of the client area; -1 when none is there (with
    // existing), else the index the point would have (possibly Count).
    int ItemAtPos(TPoint pos, bool existing);
    TRect ItemRect(int index);
    TCanvas* Canvas() { return ControlCanvas(); }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    // For the test probe: "ItemIndex=N" and, with MultiSelect, one
    // "Selected[i]=1" per selected item. Set as the user would: the item
    // chosen (alone) or one item's selection changed, then OnClick.
    bool ProbeState(TStrings& lines, bool change) override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    friend class TListBoxStrings;
    virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    // The value a derived box keeps with each item while there is no window;
    // it moves with the item through inserts, deletes and sorting.
    int SavedState(int index) const { return saved_[index].State; }
    void SetSavedState(int index, int value) { saved_[index].State = value; }

private:
    struct SavedItem {
        std::string Text;
        TObject* Object = nullptr;
        bool Selected = false;
        // What a derived box keeps with the item besides (a check state).
        int State = 0;
    };
    void WmDrawItem(TMessage& message);
    void WmMeasureItem(TMessage& message);
    // Index where a new item goes in the saved items (sorted or at the end).
    int SavedInsertPos(const std::string& s) const;

    std::unique_ptr<TStrings> items_;
    // The items and selection while there is no window.
    std::vector<SavedItem> saved_;
    int savedItemIndex_ = -1;
    int savedTopIndex_ = 0;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool sorted_ = false;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 16;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// ---------------------------------------------------------------------------
// Group box

// An etched frame with the caption in its top edge; holds other controls.
class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* owner);
    void AdjustClientRect(TRect& rect) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;
    void Dispatch(TMessage& message) override;
};

class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// ---------------------------------------------------------------------------
// Combo box

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// The system's COMBOBOX window. Items and the text are kept by the control
// while there is no window. A typed text and a choice from the list fire
// OnChange; the list opening and closing fire OnDropDown and OnCloseUp.
// The keys and the focus of the combo's own edit (the styles with one) are
// the control's: they reach its KeyDown, KeyPress, KeyUp, DoEnter and
// DoExit as if the combo had them.
class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return items_.get(); }
    // Copies the lines given.
    void SetItems(TStrings* value);
    int ItemIndex();
    void SetItemIndex(int value);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value);
    bool DroppedDown();
    void SetDroppedDown(bool value);
    // The open list's width in pixels (never narrower than the control).
    int DroppedWidth();
    void SetDroppedWidth(int value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    // The selection in the edit, as character positions from 0.
    int SelStart();
    int SelLength();
    void SetSel(int start, int length);
    // The combo's own edit window; nullptr for the styles without one.
    HWND EditHandle() const { return editWnd_; }
    TCanvas* Canvas() { return ControlCanvas(); }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    friend class TComboItems;
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // A message of the combo's edit, handled as the combo's own.
    void EditMessage(TMessage& message);
    // The mouse moved over the combo's edit or left it (WM_MOUSEMOVE,
    // WM_MOUSELEAVE), before the edit handles it.
    virtual void EditMouse(UINT msg) { (void)msg; }

private:
    friend LRESULT CALLBACK ComboEditProc(HWND, UINT, WPARAM, LPARAM);
    bool HasEdit() const { return style_ == csDropDown || style_ == csSimple; }

    std::unique_ptr<TStrings> items_;
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    int droppedWidth_ = 0;
    int maxLength_ = 0;
    bool sorted_ = false;
    int itemHeight_ = 16;
    int savedItemIndex_ = -1;
    HWND editWnd_ = nullptr;
    WNDPROC editProc_ = nullptr;
    TMessage* editMessage_ = nullptr;  // the edit's message being handled
};

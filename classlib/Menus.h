// Short-cut keys and the pop-up menu.
//
// A short cut is a virtual key in the low byte with the shift keys as high
// bits (Alt+Down is 0x8028 = 32808), as forms write them.
//
// The pop-up menu is a component that holds its items and builds a system
// menu from them each time it opens; the call that opens it returns when the
// menu closes, after the chosen item's OnClick. A test answers for the user
// through PopupMenuHook.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"

using TShortCut = WORD;
enum : WORD { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };

// The short cut of a key with the shift keys held (only Shift, Ctrl and Alt
// count).
TShortCut ShortCut(WORD key, TShiftState shift);
// The key and shift keys of a short cut.
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);

class TPopupMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value) { caption_ = value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    bool Checked() const { return checked_; }
    void SetChecked(bool value) { checked_ = value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value) { shortCut_ = value; }

    // Sub-items, owned by this item.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    TMenuItem* Parent() const { return parent_; }

    virtual void Click() { OnClick(this); }

    TNotifyEvent OnClick;

private:
    std::string caption_;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    TShortCut shortCut_ = 0;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

// (Menu, X, Y, Chosen): set Chosen to the item the user takes (nullptr: the
// menu is dismissed) and leave the system menu unshown. Chosen starts as
// the menu itself, which means "show it as usual".
using TPopupMenuHook = TEvent<TPopupMenu*, int, int, TMenuItem*&>;
extern TPopupMenuHook PopupMenuHook;

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // The root item whose sub-items the menu shows.
    TMenuItem* Items() const { return items_.get(); }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    // The component the menu was last opened for.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* value) { popupComponent_ = value; }

    // Opens the menu at a point of the screen and returns when it closes,
    // after the chosen item's Click.
    virtual void Popup(int x, int y);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TMenuItem> items_;
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
    TComponent* popupComponent_ = nullptr;
};

// Registers TPopupMenu for forms.
void InitMenusUnit();

#include "classlib/Menus.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

TPopupMenuHook PopupMenuHook;

TShortCut ShortCut(WORD key, TShiftState shift)
{
    TShortCut result = key & 0xFF;
    if (shift & ssShift)
        result |= scShift;
    if (shift & ssCtrl)
        result |= scCtrl;
    if (shift & ssAlt)
        result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift)
{
    key = shortCut & 0xFF;
    shift = 0;
    if (shortCut & scShift)
        shift |= ssShift;
    if (shortCut & scCtrl)
        shift |= ssCtrl;
    if (shortCut & scAlt)
        shift |= ssAlt;
}

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    if (parent_)
        parent_->Remove(this);
    std::vector<TMenuItem*> items;
    items.swap(items_);
    for (TMenuItem* item : items) {
        item->parent_ = nullptr;
        if (!item->Owner())
            delete item;
    }
}

void TMenuItem::Add(TMenuItem* item)
{
    if (item->parent_)
        item->parent_->Remove(item);
    items_.push_back(item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->parent_ = nullptr;
}

// ---------------------------------------------------------------------------
// TPopupMenu

namespace {

// Builds the system menu of an item's sub-items; each command is the index
// of its item in items, plus one.
HMENU BuildMenu(TMenuItem* root, std::vector<TMenuItem*>& items)
{
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* item = root->Items(i);
        if (!item->Visible())
            continue;
        if (item->Caption() == "-") {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (!item->Enabled())
            flags |= MF_GRAYED;
        if (item->Checked())
            flags |= MF_CHECKED;
        if (item->Count() > 0) {
            AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(item, items)),
                        item->Caption().c_str());
            continue;
        }
        items.push_back(item);
        AppendMenuA(menu, flags, items.size(), item->Caption().c_str());
    }
    return menu;
}

} // namespace

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {}

// Items that have an owner go with it; the root frees only the others.
TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == popupComponent_)
        popupComponent_ = nullptr;
    TComponent::Notification(component, operation);
}

void TPopupMenu::Popup(int x, int y)
{
    OnPopup(this);
    TMenuItem* chosen = items_.get();
    PopupMenuHook(this, x, y, chosen);
    if (chosen == items_.get()) {
        chosen = nullptr;
        std::vector<TMenuItem*> items;
        HMENU menu = BuildMenu(items_.get(), items);
        static const UINT aligns[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
        HWND owner = Application ? Application->Handle() : nullptr;
        if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
            owner = Application->MainForm()->Handle();
        const UINT command = static_cast<UINT>(TrackPopupMenu(
            menu, aligns[alignment_] | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
        DestroyMenu(menu);
        if (command >= 1 && command <= items.size())
            chosen = items[command - 1];
    }
    if (chosen && chosen != items_.get() && chosen->Enabled())
        chosen->Click();
}

const TClassInfo* TPopupMenu::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPopupMenu::StaticClass()
{
    static const TClassInfo info(
        "TPopupMenu", &TComponent::StaticClass(), &NewComponent<TPopupMenu>,
        {
            PublishBoolean<&TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup>("AutoPopup"),
            PublishEnum<&TPopupMenu::Alignment, &TPopupMenu::SetAlignment>("Alignment",
                                                                           {"paLeft", "paRight", "paCenter"}),
            PublishEvent<&TPopupMenu::OnPopup>("OnPopup"),
        });
    return info;
}

void InitMenusUnit()
{
    RegisterComponentClass(TPopupMenu::StaticClass());
}

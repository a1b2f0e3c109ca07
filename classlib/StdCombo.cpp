// The combo box (TCustomComboBox of StdCtrls.h).
#include <windows.h>

#include <algorithm>
#include <vector>

#include "classlib/StdCtrls.h"
#include "classlib/TypInfo.h"

namespace {

const char* const ComboEditProperty = "QmxComboEdit";

} // namespace

// The items: kept here always, and in the window while there is one.
class TComboItems : public TStrings {
public:
    explicit TComboItems(TCustomComboBox* combo) : combo_(combo) {}

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Strings(int index) const override { return At(index).text; }
    TObject* Objects(int index) const override { return At(index).object; }
    void SetObjects(int index, TObject* object) override { At(index).object = object; }
    void Insert(int index, const std::string& s) override { InsertObject(index, s, nullptr); }
    void InsertObject(int index, const std::string& s, TObject* object) override
    {
        if (combo_->sorted_) {
            index = 0;
            while (index < Count() && AnsiCompareText(items_[index].text, s) <= 0)
                ++index;
        } else if (index < 0 || index > Count()) {
            ListIndexError(index);
        }
        items_.insert(items_.begin() + index, Item{s, object});
        if (HWND wnd = Window())
            SendMessageA(wnd, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(s.c_str()));
    }
    void Delete(int index) override
    {
        At(index);
        items_.erase(items_.begin() + index);
        if (HWND wnd = Window())
            SendMessageA(wnd, CB_DELETESTRING, index, 0);
    }
    void Clear() override
    {
        items_.clear();
        if (HWND wnd = Window())
            SendMessageA(wnd, CB_RESETCONTENT, 0, 0);
    }
    // Puts every item into a new window.
    void Fill(HWND wnd) const
    {
        for (const Item& item : items_)
            SendMessageA(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
    }
    // Puts the items in order after Sorted was switched on.
    void Sort()
    {
        std::stable_sort(items_.begin(), items_.end(),
                         [](const Item& a, const Item& b) { return AnsiCompareText(a.text, b.text) < 0; });
    }

protected:
    bool KeepsOrder() const override { return combo_->sorted_; }

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    HWND Window() const { return combo_->HandleAllocated() ? combo_->handle_ : nullptr; }
    Item& At(int index) const
    {
        if (index < 0 || index >= Count())
            ListIndexError(index);
        return const_cast<Item&>(items_[index]);
    }

    TCustomComboBox* combo_;
    std::vector<Item> items_;
};

LRESULT CALLBACK ComboEditProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* combo = static_cast<TCustomComboBox*>(GetPropA(wnd, ComboEditProperty));
    if (!combo)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    WNDPROC proc = combo->editProc_;
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (!combo->IsDestroying()) {
            TMessage m;
            m.Msg = msg;
            m.WParam = wParam;
            m.LParam = lParam;
            CallbackGuard(combo, [&] { combo->EditMessage(m); });
            return m.Result;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        if (!combo->IsDestroying())
            CallbackGuard(combo, [&] { combo->EditMouse(msg); });
        break;
    case WM_NCDESTROY:
        RemovePropA(wnd, ComboEditProperty);
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
        if (combo->editWnd_ == wnd)
            combo->editWnd_ = nullptr;
        break;
    }
    return CallWindowProcA(proc, wnd, msg, wParam, lParam);
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TComboItems>(this))
{
    SetControlStyle(csClickEvents | csDoubleClicks);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox()
{
    Destroying();
    if (handle_)
        DestroyHandle();
}

const TClassInfo* TCustomComboBox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomComboBox::StaticClass()
{
    using C = TCustomComboBox;
    static const TClassInfo info(
        "TCustomComboBox", &TWinControl::StaticClass(), nullptr,
        {
            PublishStrings<&C::Items, &C::SetItems>("Items"),
            PublishEnum<&C::Style, &C::SetStyle>(
                "Style", {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}),
            PublishInteger<&C::DropDownCount, &C::SetDropDownCount>("DropDownCount"),
            PublishInteger<&C::MaxLength, &C::SetMaxLength>("MaxLength"),
            PublishBoolean<&C::Sorted, &C::SetSorted>("Sorted"),
            PublishInteger<&C::ItemHeight, &C::SetItemHeight>("ItemHeight"),
            PublishEvent<&C::OnChange>("OnChange"),
            PublishEvent<&C::OnDropDown>("OnDropDown"),
            PublishEvent<&C::OnCloseUp>("OnCloseUp"),
            PublishEvent<&C::OnDrawItem>("OnDrawItem"),
            PublishEvent<&C::OnMeasureItem>("OnMeasureItem"),
        });
    return info;
}

void TCustomComboBox::SetItems(TStrings* value)
{
    if (value)
        items_->Assign(value);
}

int TCustomComboBox::ItemIndex()
{
    if (!handle_)
        return savedItemIndex_;
    return static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int value)
{
    if (value < -1 || value >= items_->Count())
        value = -1;
    savedItemIndex_ = value;
    if (handle_) {
        SendMessageA(handle_, CB_SETCURSEL, value, 0);
        text_ = GetText();
    } else {
        text_ = value >= 0 ? items_->Strings(value) : std::string();
    }
}

void TCustomComboBox::SetStyle(TComboBoxStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int value)
{
    dropDownCount_ = value;
}

bool TCustomComboBox::DroppedDown()
{
    return handle_ && SendMessageA(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value)
{
    SendMessageA(Handle(), CB_SHOWDROPDOWN, value, 0);
}

int TCustomComboBox::DroppedWidth()
{
    return handle_ ? static_cast<int>(SendMessageA(handle_, CB_GETDROPPEDWIDTH, 0, 0)) : droppedWidth_;
}

void TCustomComboBox::SetDroppedWidth(int value)
{
    droppedWidth_ = value;
    if (handle_)
        SendMessageA(handle_, CB_SETDROPPEDWIDTH, value, 0);
}

void TCustomComboBox::SetMaxLength(int value)
{
    maxLength_ = value;
    if (handle_)
        SendMessageA(handle_, CB_LIMITTEXT, value, 0);
}

void TCustomComboBox::SetSorted(bool value)
{
    if (value == sorted_)
        return;
    sorted_ = value;
    if (value)
        static_cast<TComboItems*>(items_.get())->Sort();
    RecreateWnd();
}

void TCustomComboBox::SetItemHeight(int value)
{
    itemHeight_ = value;
    if (handle_ && (style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable))
        SendMessageA(handle_, CB_SETITEMHEIGHT, 0, value);
}

int TCustomComboBox::SelStart()
{
    DWORD start = 0, end = 0;
    if (handle_)
        SendMessageA(handle_, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

int TCustomComboBox::SelLength()
{
    DWORD start = 0, end = 0;
    if (handle_)
        SendMessageA(handle_, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomComboBox::SetSel(int start, int length)
{
    if (handle_)
        SendMessageA(handle_, CB_SETEDITSEL, 0, MAKELPARAM(start, length < 0 ? -1 : start + length));
}

void TCustomComboBox::Change()
{
    if (!IsLoading())
        OnChange(this);
}

void TCustomComboBox::DropDown()
{
    OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    OnCloseUp(this);
}

void TCustomComboBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "COMBOBOX");
    p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
    p.Style |= styles[style_];
    if (sorted_)
        p.Style |= CBS_SORT;
    // The window's height takes the open list's room too.
    if (style_ != csSimple)
        p.Height = std::max(p.Height, 0) + dropDownCount_ * std::max(itemHeight_, 16);
}

void TCustomComboBox::CreateWnd()
{
    const std::string text = text_;
    TWinControl::CreateWnd();
    static_cast<const TComboItems*>(items_.get())->Fill(handle_);
    if (maxLength_)
        SendMessageA(handle_, CB_LIMITTEXT, maxLength_, 0);
    if (droppedWidth_)
        SendMessageA(handle_, CB_SETDROPPEDWIDTH, droppedWidth_, 0);
    SendMessageA(handle_, CB_SETCURSEL, savedItemIndex_, 0);
    if (HasEdit()) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(handle_, &info) && info.hwndItem) {
            editWnd_ = info.hwndItem;
            SetPropA(editWnd_, ComboEditProperty, this);
            editProc_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(editWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboEditProc)));
        }
        SetWindowTextA(handle_, text.c_str());
    }
}

void TCustomComboBox::DestroyWnd()
{
    savedItemIndex_ = ItemIndex();
    if (editWnd_) {
        RemovePropA(editWnd_, ComboEditProperty);
        SetWindowLongPtrA(editWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
        editWnd_ = nullptr;
    }
    TWinControl::DestroyWnd();
}

void TCustomComboBox::EditMessage(TMessage& m)
{
    // Only this message goes on to the edit: what the edit sends the combo
    // meanwhile (its change notices) is the combo's own.
    TMessage* outer = editMessage_;
    editMessage_ = &m;
    try {
        WndProc(m);
    } catch (...) {
        editMessage_ = outer;
        throw;
    }
    editMessage_ = outer;
}

void TCustomComboBox::DefaultHandler(TMessage& m)
{
    if (&m == editMessage_ && editWnd_) {
        m.Result = CallWindowProcA(editProc_, editWnd_, m.Msg, m.WParam, m.LParam);
        return;
    }
    TWinControl::DefaultHandler(m);
}

void TCustomComboBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case CBN_EDITCHANGE:
            text_ = GetText();
            Change();
            return;
        case CBN_SELCHANGE:
            savedItemIndex_ = ItemIndex();
            text_ = savedItemIndex_ >= 0 ? items_->Strings(savedItemIndex_) : GetText();
            Click();
            Change();
            return;
        case CBN_DROPDOWN:
            DropDown();
            return;
        case CBN_CLOSEUP:
            CloseUp();
            return;
        }
        break;
    case CN_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (OnDrawItem && static_cast<int>(item->itemID) >= 0) {
            TCanvasDCLoan loan(ControlCanvas(), item->hDC);
            Canvas()->Font()->Assign(Font());
            Canvas()->Brush()->SetColor((item->itemState & ODS_SELECTED) ? clHighlight : Color());
            OnDrawItem(this, static_cast<int>(item->itemID), item->rcItem, item->itemState);
        }
        m.Result = TRUE;
        return;
    }
    case CN_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        int height = itemHeight_;
        if (style_ == csOwnerDrawVariable)
            OnMeasureItem(this, static_cast<int>(item->itemID), height);
        item->itemHeight = height;
        m.Result = TRUE;
        return;
    }
    }
    TWinControl::Dispatch(m);
}

#include "classlib/ListView.h"

#include <algorithm>
#include <exception>

#include "classlib/SysUtils.h"
#include "classlib/TypInfo.h"
#include "classlib/UiProbe.h"

namespace {

UINT StateImageOf(bool checked)
{
    return INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
}

// Whether the window shows the report view, by its own style: a new view
// style reaches it when it is made anew.
bool ShowsReport(HWND wnd)
{
    return (GetWindowLongA(wnd, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
}

} // namespace

// The sub-items of an item: every change goes to the window's row.
class TSubItems : public TStringList {
public:
    explicit TSubItems(TListItem* item) : item_(item) {}

    // A text added at the end is the only one the window lacks.
    void Insert(int index, const std::string& s) override
    {
        item_->appending_ = index == Count();
        try {
            TStringList::Insert(index, s);
        } catch (...) {
            item_->appending_ = false;
            throw;
        }
        item_->appending_ = false;
    }

protected:
    void Changed() override
    {
        TStringList::Changed();
        item_->SubItemsChanged();
    }

private:
    TListItem* item_;
};

// ---------------------------------------------------------------------------
// TListColumn

TListColumn::TListColumn(TCollection* collection) : TCollectionItem(collection)
{
}

TListView* TListColumn::ListView() const
{
    auto* columns = static_cast<TListColumns*>(Collection());
    return columns ? columns->Owner() : nullptr;
}

void TListColumn::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    Changed(false);
}

// Only the report view has column widths of its own (the list view's is
// one width for all, the icon views have none), and a column added while the
// collection is updating reaches the window only at the update's end.
bool TListColumn::InWindow() const
{
    TListView* view = ListView();
    HWND wnd = view ? view->ListHandle() : nullptr;
    return wnd && ShowsReport(wnd) && Collection()->UpdateCount() == 0 && Index() < view->shownColumns_;
}

int TListColumn::Width() const
{
    if (InWindow())
        return static_cast<int>(SendMessageA(ListView()->ListHandle(), LVM_GETCOLUMNWIDTH, Index(), 0));
    return width_;
}

void TListColumn::SetWidth(int width)
{
    width_ = width;
    if (InWindow()) {
        SendMessageA(ListView()->ListHandle(), LVM_SETCOLUMNWIDTH, Index(), MAKELPARAM(width, 0));
        width_ = Width();
    }
}

void TListColumn::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    Changed(false);
}

void TListColumn::Assign(const TPersistent* source)
{
    if (auto* other = dynamic_cast<const TListColumn*>(source)) {
        SetCaption(other->Caption());
        SetWidth(other->Width());
        SetAlignment(other->Alignment());
        return;
    }
    TCollectionItem::Assign(source);
}

const TClassInfo* TListColumn::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TListColumn::StaticClass()
{
    static const TClassInfo info(
        "TListColumn", &TPersistent::StaticClass(), nullptr,
        {
            PublishString<&TListColumn::Caption, &TListColumn::SetCaption>("Caption"),
            PublishInteger<&TListColumn::Width, &TListColumn::SetWidth>("Width"),
            PublishEnum<&TListColumn::Alignment, &TListColumn::SetAlignment>(
                "Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}),
        });
    return info;
}

TListColumns::TListColumns(TListView* owner) : TCollection(CollectionItemClass<TListColumn>, owner), owner_(owner)
{
}

void TListColumns::Update(TCollectionItem* item)
{
    owner_->ColumnsChanged(static_cast<TListColumn*>(item));
}

// ---------------------------------------------------------------------------
// TListItem

TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(std::make_unique<TSubItems>(this))
{
}

TListItem::~TListItem() = default;

TListView* TListItem::ListView() const
{
    return owner_->Owner();
}

int TListItem::Index() const
{
    return owner_->IndexOf(this);
}

void TListItem::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    if (HWND wnd = ListView()->ListHandle()) {
        LVITEMA it{};
        it.iSubItem = 0;
        it.pszText = const_cast<char*>(caption_.c_str());
        SendMessageA(wnd, LVM_SETITEMTEXTA, Index(), reinterpret_cast<LPARAM>(&it));
    }
    ListView()->SortedDataChanged(true);
}

void TListItem::SubItemsChanged()
{
    HWND wnd = ListView()->ListHandle();
    if (!wnd || Index() < 0)
        return;
    const int count = subItems_->Count();
    const int index = Index();
    const int first = appending_ && count == shownSubItems_ + 1 ? shownSubItems_ : 0;
    for (int i = first; i < std::max(count, shownSubItems_); ++i) {
        const std::string text = i < count ? subItems_->Strings(i) : std::string();
        LVITEMA it{};
        it.iSubItem = i + 1;
        it.pszText = const_cast<char*>(text.c_str());
        SendMessageA(wnd, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&it));
    }
    shownSubItems_ = count;
}

void TListItem::SetData(void* data)
{
    if (data == data_)
        return;
    data_ = data;
    ListView()->SortedDataChanged(false);
}

void TListItem::SetImageIndex(int index)
{
    imageIndex_ = index;
    if (HWND wnd = ListView()->ListHandle()) {
        LVITEMA it{};
        it.mask = LVIF_IMAGE;
        it.iItem = Index();
        it.iImage = index;
        SendMessageA(wnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    }
}

bool TListItem::Checked() const
{
    HWND wnd = ListView()->ListHandle();
    if (!wnd || !ListView()->Checkboxes())
        return checked_;
    const UINT state = static_cast<UINT>(SendMessageA(wnd, LVM_GETITEMSTATE, Index(), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == StateImageOf(true);
}

void TListItem::SetChecked(bool checked)
{
    checked_ = checked;
    HWND wnd = ListView()->ListHandle();
    if (!wnd || !ListView()->Checkboxes())
        return;
    LVITEMA it{};
    it.stateMask = LVIS_STATEIMAGEMASK;
    it.state = StateImageOf(checked);
    SendMessageA(wnd, LVM_SETITEMSTATE, Index(), reinterpret_cast<LPARAM>(&it));
}

bool TListItem::State(UINT mask, bool cached) const
{
    HWND wnd = ListView()->ListHandle();
    if (!wnd)
        return cached;
    return (SendMessageA(wnd, LVM_GETITEMSTATE, Index(), mask) & mask) != 0;
}

void TListItem::SetState(UINT mask, bool on, bool& cached)
{
    cached = on;
    if (HWND wnd = ListView()->ListHandle()) {
        LVITEMA it{};
        it.stateMask = mask;
        it.state = on ? mask : 0;
        SendMessageA(wnd, LVM_SETITEMSTATE, Index(), reinterpret_cast<LPARAM>(&it));
    }
}

bool TListItem::Selected() const
{
    return State(LVIS_SELECTED, selected_);
}

void TListItem::SetSelected(bool selected)
{
    SetState(LVIS_SELECTED, selected, selected_);
}

bool TListItem::Focused() const
{
    return State(LVIS_FOCUSED, focused_);
}

void TListItem::SetFocused(bool focused)
{
    SetState(LVIS_FOCUSED, focused, focused_);
}

void TListItem::Delete()
{
    owner_->Delete(Index());
}

void TListItem::MakeVisible(bool partialOK)
{
    if (HWND wnd = ListView()->ListHandle())
        SendMessageA(wnd, LVM_ENSUREVISIBLE, Index(), partialOK);
}

void TListItem::Update()
{
    if (HWND wnd = ListView()->ListHandle())
        SendMessageA(wnd, LVM_UPDATE, Index(), 0);
}

void TListItem::Assign(const TPersistent* source)
{
    if (auto* other = dynamic_cast<const TListItem*>(source)) {
        SetCaption(other->Caption());
        SetData(other->Data());
        SetImageIndex(other->ImageIndex());
        subItems_->Assign(other->SubItems());
        SetChecked(other->Checked());
        return;
    }
    TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------
// TListItems

TListItems::~TListItems()
{
    for (TListItem* item : items_)
        delete item;
}

TListItem* TListItems::Item(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    return items_[index];
}

int TListItems::IndexOf(const TListItem* item) const
{
    if (!item)
        return -1;
    const int hint = item->indexHint_;
    if (hint >= 0 && hint < Count() && items_[hint] == item)
        return hint;
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return -1;
    item->indexHint_ = static_cast<int>(it - items_.begin());
    return item->indexHint_;
}

TListItem* TListItems::Add()
{
    return Insert(Count());
}

TListItem* TListItems::Insert(int index)
{
    if (index < 0 || index > Count())
        ListIndexError(index);
    auto* item = new TListItem(this);
    items_.insert(items_.begin() + index, item);
    item->indexHint_ = index;
    if (owner_->ListHandle())
        owner_->InsertRow(item, index);
    return item;
}

void TListItems::Delete(int index)
{
    TListItem* item = Item(index);
    if (HWND wnd = owner_->ListHandle())
        SendMessageA(wnd, LVM_DELETEITEM, index, 0);
    items_.erase(items_.begin() + index);
    delete item;
}

void TListItems::Clear()
{
    if (HWND wnd = owner_->ListHandle())
        SendMessageA(wnd, LVM_DELETEALLITEMS, 0, 0);
    std::vector<TListItem*> gone;
    gone.swap(items_);
    for (TListItem* item : gone)
        delete item;
}

void TListItems::BeginUpdate()
{
    if (updateCount_++ == 0)
        if (HWND wnd = owner_->ListHandle())
            SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate()
{
    if (updateCount_ == 0 || --updateCount_ > 0)
        return;
    if (HWND wnd = owner_->ListHandle()) {
        SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(wnd, nullptr, TRUE);
    }
}

void TListItems::Assign(const TPersistent* source)
{
    if (auto* other = dynamic_cast<const TListItems*>(source)) {
        if (other == this)
            return;
        BeginUpdate();
        try {
            Clear();
            for (TListItem* item : other->items_)
                Add()->Assign(item);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------
// TListView

TListView::TListView(TComponent* owner)
    : TWinControl(owner), columns_(std::make_unique<TListColumns>(this)), items_(std::make_unique<TListItems>(this))
{
    // The control reports clicks itself; its own mouse loop would swallow
    // the button's release.
    SetControlStyle(ControlStyle() & ~(csClickEvents | csCaptureMouse));
    SetBounds(Left(), Top(), 250, 150);
    SetParentColor(false);  // keeps its window colour whatever the parent has
    SetTabStop(true);
    imageLink_.OnChange = TNotifyEvent(this, &TListView::ImagesChanged);
}

TListView::~TListView()
{
    Destroying();
    if (smallImages_)
        smallImages_->UnRegisterChanges(&imageLink_);
}

const TClassInfo* TListView::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TListView::StaticClass()
{
    static const TClassInfo info(
        "TListView", &TWinControl::StaticClass(), &NewComponent<TListView>,
        {
            PublishEnum<&TListView::ViewStyle, &TListView::SetViewStyle>(
                "ViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}),
            PublishObject<&TListView::Columns>("Columns"),
            PublishBoolean<&TListView::Checkboxes, &TListView::SetCheckboxes>("Checkboxes"),
            PublishBoolean<&TListView::RowSelect, &TListView::SetRowSelect>("RowSelect"),
            PublishBoolean<&TListView::GridLines, &TListView::SetGridLines>("GridLines"),
            PublishBoolean<&TListView::ReadOnly, &TListView::SetReadOnly>("ReadOnly"),
            PublishBoolean<&TListView::MultiSelect, &TListView::SetMultiSelect>("MultiSelect"),
            PublishBoolean<&TListView::HideSelection, &TListView::SetHideSelection>("HideSelection"),
            PublishBoolean<&TListView::ColumnClick, &TListView::SetColumnClick>("ColumnClick"),
            PublishEnum<&TListView::BorderStyle, &TListView::SetBorderStyle>("BorderStyle", {"bsNone", "bsSingle"}),
            PublishBoolean<&TListView::Ctl3D, &TListView::SetCtl3D>("Ctl3D"),
            PublishComponent<&TListView::SmallImages, &TListView::SetSmallImages>("SmallImages"),
            PublishEnum<&TListView::SortType, &TListView::SetSortType>("SortType",
                                                                       {"stNone", "stData", "stText", "stBoth"}),
            PublishEvent<&TListView::OnChange>("OnChange"),
            PublishEvent<&TListView::OnColumnClick>("OnColumnClick"),
            PublishEvent<&TListView::OnCompare>("OnCompare"),
            PublishEvent<&TListView::OnEditing>("OnEditing"),
            PublishEvent<&TListView::OnEdited>("OnEdited"),
        });
    return info;
}

void TListView::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_LISTVIEWA);
    // The image lists belong to their components.
    p.Style |= LVS_SHAREIMAGELISTS;
    static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    p.Style |= views[viewStyle_];
    if (!readOnly_)
        p.Style |= LVS_EDITLABELS;
    if (!multiSelect_)
        p.Style |= LVS_SINGLESEL;
    if (!hideSelection_)
        p.Style |= LVS_SHOWSELALWAYS;
    if (!columnClick_)
        p.Style |= LVS_NOSORTHEADER;
    if (borderStyle_ == bsSingle) {
        if (ctl3D_)
            p.ExStyle |= WS_EX_CLIENTEDGE;
        else
            p.Style |= WS_BORDER;
    }
}

void TListView::CreateWnd()
{
    TWinControl::CreateWnd();
    SetExStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, false);
    SetExStyle(ExStyle(), true);
    const COLORREF background = ColorToRGB(Color());
    SendMessageA(handle_, LVM_SETBKCOLOR, 0, background);
    SendMessageA(handle_, LVM_SETTEXTBKCOLOR, 0, background);
    SendMessageA(handle_, LVM_SETTEXTCOLOR, 0, ColorToRGB(Font()->Color()));
    if (smallImages_)
        SendMessageA(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages_->Handle()));
    for (int i = 0; i < columns_->Count(); ++i)
        InsertColumn(columns_->Items(i), i);
    for (int i = 0; i < items_->Count(); ++i)
        InsertRow(items_->items_[i], i);
    if (items_->updateCount_ > 0)
        SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
}

void TListView::DestroyWnd()
{
    // What only the window knew goes back to the items and columns.
    for (TListItem* item : items_->items_) {
        item->checked_ = item->Checked();
        item->selected_ = item->Selected();
        item->focused_ = item->Focused();
    }
    for (int i = 0; i < columns_->Count(); ++i)
        columns_->Items(i)->width_ = columns_->Items(i)->Width();
    shownColumns_ = 0;
    TWinControl::DestroyWnd();
}

DWORD TListView::ExStyle() const
{
    DWORD style = 0;
    if (checkboxes_)
        style |= LVS_EX_CHECKBOXES;
    if (rowSelect_)
        style |= LVS_EX_FULLROWSELECT;
    if (gridLines_)
        style |= LVS_EX_GRIDLINES;
    return style;
}

void TListView::SetExStyle(DWORD mask, bool on)
{
    if (handle_)
        SendMessageA(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, on ? mask : 0);
}

void TListView::InsertColumn(TListColumn* column, int index)
{
    static const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
    LVCOLUMNA c{};
    c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    c.fmt = formats[column->alignment_];
    c.cx = column->width_ < 0 ? 50 : column->width_;
    c.pszText = const_cast<char*>(column->caption_.c_str());
    c.iSubItem = index;
    if (SendMessageA(handle_, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&c)) >= 0)
        ++shownColumns_;
    if (column->width_ < 0 && ShowsReport(handle_)) {
        // Sized to its texts once, in the view that shows them; the width
        // found is kept.
        SendMessageA(handle_, LVM_SETCOLUMNWIDTH, index, MAKELPARAM(column->width_, 0));
        column->width_ = static_cast<int>(SendMessageA(handle_, LVM_GETCOLUMNWIDTH, index, 0));
    }
}

void TListView::ColumnsChanged(TListColumn* column)
{
    if (!handle_)
        return;
    if (column) {
        static const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
        LVCOLUMNA c{};
        c.mask = LVCF_FMT | LVCF_TEXT;
        c.fmt = formats[column->alignment_];
        c.pszText = const_cast<char*>(column->caption_.c_str());
        SendMessageA(handle_, LVM_SETCOLUMNA, column->Index(), reinterpret_cast<LPARAM>(&c));
        return;
    }
    // Columns came or went: the window's are made anew, and the rows'
    // texts set again for them.
    while (SendMessageA(handle_, LVM_DELETECOLUMN, 0, 0))
        ;
    shownColumns_ = 0;
    for (int i = 0; i < columns_->Count(); ++i)
        InsertColumn(columns_->Items(i), i);
    for (TListItem* item : items_->items_)
        ItemTextsChanged(item);
}

void TListView::ItemTextsChanged(TListItem* item)
{
    LVITEMA it{};
    it.pszText = const_cast<char*>(item->caption_.c_str());
    SendMessageA(handle_, LVM_SETITEMTEXTA, item->Index(), reinterpret_cast<LPARAM>(&it));
    item->shownSubItems_ = 0;
    item->SubItemsChanged();
}

void TListView::InsertRow(TListItem* item, int index)
{
    const bool filling = fillingWindow_;
    fillingWindow_ = true;
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
    it.iItem = index;
    it.pszText = const_cast<char*>(item->caption_.c_str());
    it.lParam = reinterpret_cast<LPARAM>(item);
    it.iImage = item->imageIndex_;
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = (item->selected_ ? LVIS_SELECTED : 0) | (item->focused_ ? LVIS_FOCUSED : 0);
    if (checkboxes_) {
        it.stateMask |= LVIS_STATEIMAGEMASK;
        it.state |= StateImageOf(item->checked_);
    }
    const int row = static_cast<int>(SendMessageA(handle_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
    if (checkboxes_ && row >= 0) {
        // The control gives a new row an empty box whatever it was told.
        LVITEMA check{};
        check.stateMask = LVIS_STATEIMAGEMASK;
        check.state = StateImageOf(item->checked_);
        SendMessageA(handle_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&check));
    }
    item->shownSubItems_ = 0;
    item->SubItemsChanged();
    fillingWindow_ = filling;
}

void TListView::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY:
        CNNotify(m);
        return;
    case CM_COLORCHANGED:
        if (handle_) {
            SendMessageA(handle_, LVM_SETBKCOLOR, 0, ColorToRGB(Color()));
            SendMessageA(handle_, LVM_SETTEXTBKCOLOR, 0, ColorToRGB(Color()));
        }
        break;
    case CM_FONTCHANGED:
        if (handle_)
            SendMessageA(handle_, LVM_SETTEXTCOLOR, 0, ColorToRGB(Font()->Color()));
        break;
    }
    TWinControl::Dispatch(m);
}

void TListView::CNNotify(TMessage& m)
{
    m.Result = 0;
    if (IsDestroying())
        return;
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    auto itemOf = [this](LPARAM param, int index) -> TListItem* {
        auto* item = reinterpret_cast<TListItem*>(param);
        if (item && items_->IndexOf(item) >= 0)
            return item;
        return index >= 0 && index < items_->Count() ? items_->items_[index] : nullptr;
    };
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
        if (fillingWindow_ || nm->iItem < 0)
            return;
        TListItem* item = itemOf(nm->lParam, nm->iItem);
        if (!item)
            return;
        if (nm->uChanged & LVIF_TEXT)
            Change(item, ctText);
        if (nm->uChanged & LVIF_IMAGE)
            Change(item, ctImage);
        if (nm->uChanged & LVIF_STATE)
            Change(item, ctState);
        return;
    }
    case LVN_COLUMNCLICK: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
        if (nm->iSubItem >= 0 && nm->iSubItem < columns_->Count())
            ColClick(columns_->Items(nm->iSubItem));
        return;
    }
    case LVN_BEGINLABELEDITA: {
        auto* di = reinterpret_cast<NMLVDISPINFOA*>(m.LParam);
        TListItem* item = itemOf(di->item.lParam, di->item.iItem);
        m.Result = item && CanEdit(item) ? FALSE : TRUE;
        return;
    }
    case LVN_ENDLABELEDITA: {
        auto* di = reinterpret_cast<NMLVDISPINFOA*>(m.LParam);
        TListItem* item = itemOf(di->item.lParam, di->item.iItem);
        if (!item || !di->item.pszText)
            return;  // cancelled
        std::string text = di->item.pszText;
        Edit(item, text);
        item->SetCaption(text);
        return;
    }
    case NM_CLICK:
        Click();
        return;
    case NM_DBLCLK:
        DblClick();
        return;
    }
}

bool TListView::CanEdit(TListItem* item)
{
    bool allow = true;
    OnEditing(this, item, allow);
    return allow;
}

void TListView::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == smallImages_) {
        smallImages_ = nullptr;
        if (handle_)
            SendMessageA(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    }
    TWinControl::Notification(component, operation);
}

void TListView::SetSmallImages(TCustomImageList* images)
{
    if (images == smallImages_)
        return;
    if (smallImages_) {
        smallImages_->UnRegisterChanges(&imageLink_);
        smallImages_->RemoveFreeNotification(this);
    }
    smallImages_ = images;
    if (images) {
        images->RegisterChanges(&imageLink_);
        images->FreeNotification(this);
    }
    ImagesChanged(nullptr);
}

void TListView::ImagesChanged(TObject*)
{
    if (handle_)
        SendMessageA(handle_, LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(smallImages_ ? smallImages_->Handle() : nullptr));
}

void TListView::SetViewStyle(TViewStyle value)
{
    if (value == viewStyle_)
        return;
    viewStyle_ = value;
    RecreateWnd();
}

void TListView::SetCheckboxes(bool value)
{
    // The ticks the window has (the user's among them) are what stays.
    if (handle_ && checkboxes_)
        for (TListItem* item : items_->items_)
            item->checked_ = item->Checked();
    checkboxes_ = value;
    SetExStyle(LVS_EX_CHECKBOXES, value);
    if (handle_ && value)
        for (TListItem* item : items_->items_)
            item->SetChecked(item->checked_);
}

void TListView::SetRowSelect(bool value)
{
    rowSelect_ = value;
    SetExStyle(LVS_EX_FULLROWSELECT, value);
}

void TListView::SetGridLines(bool value)
{
    gridLines_ = value;
    SetExStyle(LVS_EX_GRIDLINES, value);
}

void TListView::SetReadOnly(bool value)
{
    if (value == readOnly_)
        return;
    readOnly_ = value;
    RecreateWnd();
}

void TListView::SetMultiSelect(bool value)
{
    if (value == multiSelect_)
        return;
    multiSelect_ = value;
    RecreateWnd();
}

void TListView::SetHideSelection(bool value)
{
    if (value == hideSelection_)
        return;
    hideSelection_ = value;
    RecreateWnd();
}

void TListView::SetColumnClick(bool value)
{
    if (value == columnClick_)
        return;
    columnClick_ = value;
    RecreateWnd();
}

void TListView::SetBorderStyle(TBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void TListView::SetCtl3D(bool value)
{
    if (value == ctl3D_)
        return;
    ctl3D_ = value;
    RecreateWnd();
}

void TListView::SetSortType(TSortType value)
{
    if (value == sortType_)
        return;
    sortType_ = value;
    if (value != TSortType::stNone)
        AlphaSort();
}

void TListView::SortedDataChanged(bool caption)
{
    if (IsDestroying() || IsLoading())
        return;
    const bool byText = sortType_ == TSortType::stText || sortType_ == TSortType::stBoth;
    const bool byData = sortType_ == TSortType::stData || sortType_ == TSortType::stBoth;
    if (caption ? byText : byData)
        AlphaSort();
}

TListItem* TListView::Selected() const
{
    if (!handle_) {
        for (TListItem* item : items_->items_)
            if (item->selected_)
                return item;
        return nullptr;
    }
    const int index = static_cast<int>(SendMessageA(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return index >= 0 && index < items_->Count() ? items_->items_[index] : nullptr;
}

void TListView::SetSelected(TListItem* item)
{
    for (TListItem* other : items_->items_)
        if (other != item && other->Selected())
            other->SetSelected(false);
    if (item) {
        item->SetSelected(true);
        item->SetFocused(true);
    }
}

int TListView::ItemIndex() const
{
    TListItem* item = Selected();
    return item ? item->Index() : -1;
}

void TListView::SetItemIndex(int index)
{
    SetSelected(index < 0 ? nullptr : items_->Item(index));
}

TListItem* TListView::ItemFocused() const
{
    if (!handle_) {
        for (TListItem* item : items_->items_)
            if (item->focused_)
                return item;
        return nullptr;
    }
    const int index = static_cast<int>(SendMessageA(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return index >= 0 && index < items_->Count() ? items_->items_[index] : nullptr;
}

void TListView::SetItemFocused(TListItem* item)
{
    if (item)
        item->SetFocused(true);
    else if (TListItem* focused = ItemFocused())
        focused->SetFocused(false);
}

int TListView::SelCount() const
{
    if (handle_)
        return static_cast<int>(SendMessageA(handle_, LVM_GETSELECTEDCOUNT, 0, 0));
    return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                          [](const TListItem* i) { return i->selected_; }));
}

namespace {

struct TSortContext {
    TListView* view;
    TLVCompare compare;
    LPARAM data;
    int (*defaultCompare)(TListView*, TListItem*, TListItem*, int);
    std::exception_ptr error;
};

// Called by the window while it sorts: an exception waits for the sort to
// end instead of unwinding through the window's code.
int CALLBACK SortTrampoline(LPARAM a, LPARAM b, LPARAM context) noexcept
{
    auto* c = reinterpret_cast<TSortContext*>(context);
    if (c->error)
        return 0;
    try {
        auto* item1 = reinterpret_cast<TListItem*>(a);
        auto* item2 = reinterpret_cast<TListItem*>(b);
        if (c->compare)
            return c->compare(item1, item2, c->data);
        return c->defaultCompare(c->view, item1, item2, static_cast<int>(c->data));
    } catch (...) {
        c->error = std::current_exception();
        return 0;
    }
}

} // namespace

int TListView::CompareItems(TListItem* item1, TListItem* item2, int data)
{
    if (OnCompare) {
        int result = 0;
        OnCompare(this, item1, item2, data, result);
        return result;
    }
    return lstrcmpA(item1->Caption().c_str(), item2->Caption().c_str());
}

bool TListView::CustomSort(TLVCompare compare, LPARAM data)
{
    TSortContext context{this, compare, data,
                         [](TListView* v, TListItem* a, TListItem* b, int d) { return v->CompareItems(a, b, d); },
                         nullptr};
    bool done = true;
    if (handle_) {
        done = SendMessageA(handle_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                            reinterpret_cast<LPARAM>(&SortTrampoline)) != 0;
        TakeOrderFromWindow();
    } else {
        auto& items = items_->items_;
        std::stable_sort(items.begin(), items.end(), [&context](TListItem* a, TListItem* b) {
            return SortTrampoline(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b),
                                  reinterpret_cast<LPARAM>(&context)) < 0;
        });
        for (int i = 0; i < static_cast<int>(items.size()); ++i)
            items[i]->indexHint_ = i;
    }
    if (context.error)
        std::rethrow_exception(context.error);
    return done;
}

bool TListView::AlphaSort()
{
    return CustomSort(nullptr, 0);
}

void TListView::TakeOrderFromWindow()
{
    auto& items = items_->items_;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        LVITEMA it{};
        it.mask = LVIF_PARAM;
        it.iItem = i;
        if (SendMessageA(handle_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)))
            items[i] = reinterpret_cast<TListItem*>(it.lParam);
        items[i]->indexHint_ = i;
    }
}

TListItem* TListView::GetItemAt(int x, int y)
{
    if (!handle_)
        return nullptr;
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    const int index = static_cast<int>(SendMessageA(handle_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (index < 0 || index >= items_->Count() || !(hit.flags & LVHT_ONITEM))
        return nullptr;
    return items_->items_[index];
}

void TListView::Scroll(int dx, int dy)
{
    if (handle_)
        SendMessageA(handle_, LVM_SCROLL, dx, dy);
}

void TListView::Loaded()
{
    TWinControl::Loaded();
    if (sortType_ != TSortType::stNone)
        AlphaSort();
}

bool TListView::ProbeState(TStrings& lines, bool change)
{
    if (!change) {
        lines.Add("ItemIndex=" + std::to_string(ItemIndex()));
        lines.Add("Items.Count=" + std::to_string(items_->Count()));
        for (int i = 0; i < items_->Count(); ++i) {
            const TListItem* item = items_->items_[i];
            const std::string at = "[" + std::to_string(i) + "]";
            lines.Add("Items" + at + "=" + item->Caption());
            for (int j = 0; j < item->SubItems()->Count(); ++j)
                lines.Add("Items" + at + ".SubItems[" + std::to_string(j) + "]=" + item->SubItems()->Strings(j));
            if (checkboxes_)
                lines.Add("Checked" + at + "=" + (item->Checked() ? "1" : "0"));
            if (item->Selected())
                lines.Add("Selected" + at + "=1");
        }
        return true;
    }
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string key = lines.Names(i);
        const std::string line = lines.Strings(i);
        // Read only for a key of the view's: others may hold any text.
        auto number = [&line] { return StrToInt(line.substr(line.find('=') + 1)); };
        int index = 0;
        if (key == "ItemIndex") {
            const int value = number();
            if (value < -1 || value >= items_->Count())
                throw EListError(Name() + " has no item " + std::to_string(value));
            SetItemIndex(value);
            Click();
        } else if (ProbeIndexKey(key, "Selected", index)) {
            TListItem* item = items_->Item(index);
            const int value = number();
            if (value && !multiSelect_)
                SetSelected(item);
            else
                item->SetSelected(value != 0);
            Click();
        } else if (ProbeIndexKey(key, "Checked", index)) {
            TListItem* item = items_->Item(index);
            if (!checkboxes_)
                throw Exception(Name() + " has no check boxes");
            const int value = number();
            // A click on the box is a click on the view, then the toggle,
            // which the window tells as a change of the item's state.
            if (item->Checked() != (value != 0)) {
                Click();
                item->SetChecked(value != 0);
            }
        } else {
            return false;
        }
    }
    return true;
}

void InitListViewUnit()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterComponentClass(TListView::StaticClass());
}

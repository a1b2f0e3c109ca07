// The list view: the system's list-view control (SysListView32) with its
// columns and items kept by the control object, so that they outlive the
// window when it is made anew (a style change) and exist before it.
//
// Unit start: InitListViewUnit registers the list-view window class with
// the common controls and TListView for forms. A program starts it after
// the forms unit: StartUnit(InitListViewUnit, nullptr).
//
// Items: each item is a TListItem owned by the list (Items()); the window's
// row carries the item as its parameter. An item keeps its caption,
// sub-items, data pointer and image; its check box, selection and focus are
// the window's state while there is a window. Data is never freed by the
// list. OnChange tells a change of an item's state (check box, selection)
// whether the user or the program made it.
//
// Columns: a collection (Columns()); a column's Width may be ColumnTextWidth
// or ColumnHeaderWidth to size it to its texts or its caption once. Forms
// give them as "Columns = < item Caption = 'a' Width = 150 end ... >"; the
// columns and the view style may come before the window or after it.
//
// Sorting: CustomSort orders the items with a comparison of two items;
// without one, and in AlphaSort, OnCompare decides when set, else the
// captions in the locale's order. SortType other than stNone keeps the
// items sorted when captions (stText, stBoth) or data (stData, stBoth)
// change.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/ImgList.h"
#include "classlib/Lists.h"

class TListView;
class TListItems;
class TListItem;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
// What an OnChange is about.
enum TItemChange { ctText, ctImage, ctState };
// Scoped: the sort styles of other units share the member names.
enum class TSortType { stNone, stData, stText, stBoth };

// Column widths that size a column to its texts (caption included).
constexpr int ColumnTextWidth = LVSCW_AUTOSIZE;
constexpr int ColumnHeaderWidth = LVSCW_AUTOSIZE_USEHEADER;

using TLVChangeEvent = TEvent<TObject*, TListItem*, TItemChange>;
// (Sender, Item1, Item2, Data, Compare)
using TLVCompareEvent = TEvent<TObject*, TListItem*, TListItem*, int, int&>;
using TLVColumnClickEvent = TEvent<TObject*, class TListColumn*>;
// (Sender, Item, AllowEdit) before a caption is edited in place.
using TLVEditingEvent = TEvent<TObject*, TListItem*, bool&>;
// (Sender, Item, S) after the edit: S is the new caption and may be changed.
using TLVEditedEvent = TEvent<TObject*, TListItem*, std::string&>;
// Orders two items for CustomSort: negative, zero or positive.
using TLVCompare = int (*)(TListItem* item1, TListItem* item2, LPARAM data);

// ---------------------------------------------------------------------------
// Columns

class TListColumn : public TCollectionItem {
public:
    explicit TListColumn(TCollection* collection);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // Pixels; the window's width once it has one (the user may drag it).
    int Width() const;
    void SetWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    friend class TListView;
    TListView* ListView() const;
    // The window shows this column and knows its width.
    bool InWindow() const;

    std::string caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

class TListColumns : public TCollection {
public:
    explicit TListColumns(TListView* owner);
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
    TListView* Owner() const { return owner_; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TListView* owner_;
};

// ---------------------------------------------------------------------------
// Items

class TListItem : public TPersistent {
public:
    explicit TListItem(TListItems* owner);
    ~TListItem() override;
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    TListItems* Owner() const { return owner_; }
    TListView* ListView() const;
    // Position in the list (the row in the window).
    int Index() const;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // The texts of columns 1, 2, ...
    TStrings* SubItems() const { return subItems_.get(); }
    void SetSubItems(TStrings* subItems) { subItems_->Assign(subItems); }
    void* Data() const { return data_; }
    void SetData(void* data);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    bool Checked() const;
    void SetChecked(bool checked);
    bool Selected() const;
    void SetSelected(bool selected);
    bool Focused() const;
    void SetFocused(bool focused);

    // Takes the item out of the list and frees it.
    void Delete();
    // Scrolls the row into view.
    void MakeVisible(bool partialOK);
    // Paints the row again.
    void Update();

    // From another item: caption, sub-items, data, image and check box.
    void Assign(const TPersistent* source) override;

private:
    friend class TListItems;
    friend class TListView;
    friend class TSubItems;
    bool State(UINT mask, bool cached) const;
    void SetState(UINT mask, bool on, bool& cached);
    void SubItemsChanged();

    TListItems* owner_;
    std::string caption_;
    std::unique_ptr<TStringList> subItems_;
    int shownSubItems_ = 0;  // sub-item texts the window has
    void* data_ = nullptr;
    int imageIndex_ = -1;
    // Where the item last stood in the list: asked first, so that finding an
    // item's index while a list is filled or walked costs no search.
    mutable int indexHint_ = -1;
    // A sub-item is being added at the end.
    bool appending_ = false;
    // The window's state while there is none.
    bool checked_ = false;
    bool selected_ = false;
    bool focused_ = false;
};

class TListItems : public TPersistent {
public:
    explicit TListItems(TListView* owner) : owner_(owner) {}
    ~TListItems() override;
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;

    TListView* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    int IndexOf(const TListItem* item) const;

    // A new empty item at the end, or before the item at index.
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();

    // The window is not painted while the count is above zero; EndUpdate of
    // the outermost paints it again.
    void BeginUpdate();
    void EndUpdate();

    // From other items: copies of them replace these.
    void Assign(const TPersistent* source) override;

private:
    friend class TListItem;
    friend class TListView;
    std::vector<TListItem*> items_;
    TListView* owner_;
    int updateCount_ = 0;
};

// ---------------------------------------------------------------------------
// The list view

class TListView : public TWinControl {
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    TListColumns* Columns() const { return columns_.get(); }
    TListItems* Items() const { return items_.get(); }

    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle value);
    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool value);
    // No editing of captions in place.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    // The column captions are buttons that report clicks.
    bool ColumnClick() const { return columnClick_; }
    void SetColumnClick(bool value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // A 3-D sunken border, else a flat line.
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    TCustomImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* images);
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType value);

    // The first selected item, or nullptr; setting selects only that one.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* item);
    int SelCount() const;

    // Orders the items (and the rows) by compare, or, without one, as
    // AlphaSort does. An exception of the comparison passes to the caller
    // once the window has finished sorting.
    bool CustomSort(TLVCompare compare, LPARAM data);
    bool AlphaSort();

    // The item under a point of the client area, or nullptr.
    TListItem* GetItemAt(int x, int y);
    void Scroll(int dx, int dy);

    void Loaded() override;
    // Items.Count, Items[i] (caption), Items[i].SubItems[j], ItemIndex,
    // Checked[i] (with check boxes) and Selected[i]; ticks and selections
    // are made as a click makes them.
    bool ProbeState(TStrings& lines, bool change) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

    TLVChangeEvent OnChange;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;

protected:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

    // The notification steps; each fires its event.
    virtual void Change(TListItem* item, TItemChange change) { OnChange(this, item, change); }
    virtual void ColClick(TListColumn* column) { OnColumnClick(this, column); }
    virtual bool CanEdit(TListItem* item);
    virtual void Edit(TListItem* item, std::string& text) { OnEdited(this, item, text); }
    // The comparison of AlphaSort and of CustomSort without one.
    virtual int CompareItems(TListItem* item1, TListItem* item2, int data);

    // The window's row of an item changed; the columns changed.
    void ColumnsChanged(TListColumn* column);
    void ItemTextsChanged(TListItem* item);
    HWND ListHandle() const { return handle_; }

private:
    void InsertRow(TListItem* item, int index);
    void InsertColumn(TListColumn* column, int index);
    void SetExStyle(DWORD mask, bool on);
    DWORD ExStyle() const;
    void TakeOrderFromWindow();
    void SortedDataChanged(bool caption);
    void ImagesChanged(TObject*);
    void CNNotify(TMessage& message);

    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TListItems> items_;
    TViewStyle viewStyle_ = vsIcon;
    bool checkboxes_ = false;
    bool rowSelect_ = false;
    bool gridLines_ = false;
    bool readOnly_ = false;
    bool multiSelect_ = false;
    bool hideSelection_ = true;
    bool columnClick_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    bool ctl3D_ = true;
    TCustomImageList* smallImages_ = nullptr;
    TChangeLink imageLink_;
    TSortType sortType_ = TSortType::stNone;
    // Rows being put into a new window: their state is no news.
    bool fillingWindow_ = false;
    // The report view's columns the window has: the first of the collection's
    // until a change of the set of columns reaches the window.
    int shownColumns_ = 0;
};

void InitListViewUnit();

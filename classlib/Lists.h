// Lists of the class library: a list of pointers, lists of texts with an
// object per line, and collections that own their items.
#pragma once

#include <string>
#include <vector>

#include "classlib/Classes.h"

class TStream;

// Orders two items of a list: negative, zero or positive.
using TListSortCompare = int (*)(void* item1, void* item2);

// A list of untyped pointers; it never owns what they point to.
class TList : public TObject {
public:
    TList() = default;
    ~TList() override;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    // Removes the first entry equal to item; its former index, or -1.
    int Remove(void* item);
    int IndexOf(void* item) const;
    // Empties the list and gives back its room (Capacity 0).
    virtual void Clear();
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    // Drops the entries that are nullptr.
    void Pack();
    void Sort(TListSortCompare compare);

    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    int Count() const { return static_cast<int>(items_.size()); }
    // A larger count adds nullptr entries, a smaller one drops the last.
    void SetCount(int count);
    // Room reserved for entries; grows in steps as entries are added.
    int Capacity() const { return capacity_; }
    void SetCapacity(int capacity);
    void* Items(int index) const;
    void SetItems(int index, void* item);

private:
    void CheckIndex(int index) const;
    void Grow();

    std::vector<void*> items_;
    int capacity_ = 0;
};

// Raises EListError with the class library's text for a bad index.
[[noreturn]] void ListIndexError(int index);

// The line of text that starts at pos, as a list of texts reads lines: each
// ends at CR LF, LF or CR, and a text that ends with a line break has no
// empty line after it. Moves pos past the line and its break; false once
// pos is at the end.
bool NextLine(const std::string& text, std::size_t& pos, std::string& line);

// ---------------------------------------------------------------------------
// Lists of texts.

// What a sorted string list does with a text it already holds.
enum TDuplicates {
    dupIgnore,  // keeps the one it has; Add gives that one's index
    dupAccept,  // keeps both, side by side
    dupError,   // raises EListError
};

// A list of texts with an object reference per line (never owned). This is
// the interface every list of lines offers (a string list, the lines of a
// control); a descendant supplies the primitives, the rest is built on them.
// Look-ups by text or name ignore letter case the way the Windows locale does
// ("Łódź" finds "ŁÓDŹ").
class TStrings : public TPersistent {
public:
    // ---- primitives
    virtual int Count() const = 0;
    virtual std::string Strings(int index) const = 0;
    virtual void SetStrings(int index, const std::string& s);
    virtual TObject* Objects(int index) const;
    virtual void SetObjects(int index, TObject* object);
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void InsertObject(int index, const std::string& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    // ---- built on them
    // Index of the new line.
    virtual int Add(const std::string& s);
    virtual int AddObject(const std::string& s, TObject* object);
    void AddStrings(const TStrings& strings);
    // The first line equal to s without regard to letter case, or -1.
    virtual int IndexOf(const std::string& s) const;
    int IndexOfObject(const TObject* object) const;
    virtual void Exchange(int index1, int index2);
    // Takes the line (and its object) from curIndex to newIndex; a sorted
    // list refuses (EListError).
    void Move(int curIndex, int newIndex);

    // Lines of the form name=value.
    // The part of line index before its first "="; empty when it has none.
    std::string Names(int index) const;
    // The first line whose name equals name without regard to letter case.
    int IndexOfName(const std::string& name) const;
    // The part after the "=" of that line; empty when there is none.
    std::string Values(const std::string& name) const;
    // Sets that line's value; adds the line when it is missing; an empty
    // value deletes the line.
    void SetValues(const std::string& name, const std::string& value);

    // Every line followed by CR LF.
    virtual std::string Text() const;
    // Replaces the lines; a line ends at CR LF, LF or CR.
    virtual void SetText(const std::string& text);

    // Reads the rest of the stream or the whole file as Text (CR LF or LF).
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
    // Writes Text.
    void SaveToStream(TStream& stream) const;
    void SaveToFile(const std::string& fileName) const;

    // Brackets a batch of changes: change events are held back until the
    // outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // From another TStrings: its lines and objects replace these.
    void Assign(const TPersistent* source) override;

protected:
    // Called when the outermost BeginUpdate starts (true) and the outermost
    // EndUpdate ends (false).
    virtual void SetUpdateState(bool updating);
    // True when the lines keep an order of their own (a sorted list), so that
    // none can be put in a place of the caller's choosing.
    virtual bool KeepsOrder() const;

private:
    int updateCount_ = 0;
};

class TStringList;
// Orders two lines of a string list: negative, zero or positive.
using TStringListSortCompare = int (*)(TStringList* list, int index1, int index2);

// The string list: lines held in memory, optionally kept sorted.
class TStringList : public TStrings {
public:
    TStringList() = default;
    ~TStringList() override;
    TStringList(const TStringList&) = delete;
    TStringList& operator=(const TStringList&) = delete;

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Strings(int index) const override;
    // A sorted list refuses (EListError): the line would break the order.
    void SetStrings(int index, const std::string& s) override;
    TObject* Objects(int index) const override;
    void SetObjects(int index, TObject* object) override;
    // A sorted list refuses (EListError); use Add.
    void Insert(int index, const std::string& s) override;
    void InsertObject(int index, const std::string& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;

    // A sorted list puts the line in its place, by Duplicates.
    int Add(const std::string& s) override;
    int AddObject(const std::string& s, TObject* object) override;
    int IndexOf(const std::string& s) const override;
    void Exchange(int index1, int index2) override;

    // Binary search for s (the list must be sorted): true when found, with
    // index at that line; else index is where s would be inserted. With
    // dupAccept, index is the first of several equal lines.
    bool Find(const std::string& s, int& index) const;
    // Sorts by the locale's case-insensitive order (an unsorted list only;
    // a sorted one is in order already).
    virtual void Sort();
    virtual void CustomSort(TStringListSortCompare compare);

    bool Sorted() const { return sorted_; }
    // Setting it sorts the lines.
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    // Applies to lines added later; lines already there stay.
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }

    TNotifyEvent OnChange;    // after every change (held back during an update)
    TNotifyEvent OnChanging;  // before every change

protected:
    void SetUpdateState(bool updating) override;
    bool KeepsOrder() const override { return sorted_; }
    virtual void Changed();
    virtual void Changing();

private:
    struct Item {
        std::string text;
        TObject* object;
    };
    void CheckIndex(int index) const;
    void InsertItem(int index, const std::string& s, TObject* object);
    void QuickSort(int l, int r, TStringListSortCompare compare);

    std::vector<Item> items_;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
};

// ---------------------------------------------------------------------------
// Collections: lists that own their items, each item knowing its collection.

class TCollection;

class TCollectionItem : public TPersistent {
public:
    // Joins collection (when given) at its end.
    explicit TCollectionItem(TCollection* collection);
    // Leaves its collection.
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return collection_; }
    // Moves the item to the end of another collection (or out of any).
    void SetCollection(TCollection* collection);
    // Position in the collection (-1 when in none); setting moves the item.
    int Index() const;
    void SetIndex(int index);
    // A number unique within the collection, never reused: the collection
    // counts up from 0 as items join.
    int ID() const { return id_; }

protected:
    // Tells the collection that this item (or, allItems, every item) changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

// Makes a new item of a collection's item class in collection.
using TCollectionItemClass = TCollectionItem* (*)(TCollection* collection);

template <class T>
TCollectionItem* CollectionItemClass(TCollection* collection)
{
    return new T(collection);
}

class TCollection : public TPersistent {
public:
    // itemClass makes the items Add creates, e.g. CollectionItemClass<TMyItem>.
    // owner: the object the collection belongs to, if any.
    explicit TCollection(TCollectionItemClass itemClass, TPersistent* owner = nullptr);
    // Frees the items.
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    // A new item at the end.
    TCollectionItem* Add();
    // Frees every item.
    void Clear();
    // Frees the item at index.
    void Delete(int index);
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* FindItemID(int id) const;
    TPersistent* Owner() const { return owner_; }

    // Holds back Update until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // From another collection: frees these items and adds one per item of
    // source, each assigned from its counterpart.
    void Assign(const TPersistent* source) override;

protected:
    // After a change: item is the changed item, or nullptr when the set of
    // items or all of them changed. Not called during an update.
    virtual void Update(TCollectionItem* item);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    TCollectionItemClass itemClass_;
    TPersistent* owner_;
    std::vector<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
};

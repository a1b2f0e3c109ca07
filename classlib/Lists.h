// Lists of the class library: a list of pointers, lists of texts with an
// object per line, and collections that own their items.
#pragma once

#include <string>
#include <vector>

#include "classlib/Classes.h"

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

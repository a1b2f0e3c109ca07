#include "classlib/Lists.h"

#include <algorithm>

void ListIndexError(int index)
{
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

// ---- TList ----

TList::~TList()
{
    items_.clear();
}

void TList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
}

void TList::Grow()
{
    // Small lists grow by a few entries, large ones by a quarter, so that
    // adding one entry at a time stays cheap without wasting much room.
    int delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
    SetCapacity(capacity_ + delta);
}

int TList::Add(void* item)
{
    if (Count() == capacity_)
        Grow();
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > Count())
        ListIndexError(index);
    if (Count() == capacity_)
        Grow();
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index)
{
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item)
{
    int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

int TList::IndexOf(void* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Clear()
{
    items_.clear();
    SetCapacity(0);
}

void TList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[index1], items_[index2]);
}

void TList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    void* item = items_[curIndex];
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, item);
}

void TList::Pack()
{
    items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

void TList::Sort(TListSortCompare compare)
{
    if (compare)
        std::stable_sort(items_.begin(), items_.end(),
                         [compare](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::SetCount(int count)
{
    if (count < 0)
        throw EListError("List count out of bounds (" + std::to_string(count) + ")");
    if (count > capacity_)
        SetCapacity(count);
    items_.resize(count, nullptr);
}

void TList::SetCapacity(int capacity)
{
    if (capacity < Count())
        throw EListError("List capacity out of bounds (" + std::to_string(capacity) + ")");
    capacity_ = capacity;
    items_.reserve(capacity);
}

void* TList::Items(int index) const
{
    CheckIndex(index);
    return items_[index];
}

void TList::SetItems(int index, void* item)
{
    CheckIndex(index);
    items_[index] = item;
}

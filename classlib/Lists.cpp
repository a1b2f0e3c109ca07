#include "classlib/Lists.h"

#include <windows.h>

#include <algorithm>

#include "classlib/Streams.h"

namespace {

[[noreturn]] void SortedListError()
{
    throw EListError("Operation not allowed on sorted string list");
}

}  // namespace

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

// ---- TStrings ----

void TStrings::SetStrings(int index, const std::string& s)
{
    TObject* object = Objects(index);
    Delete(index);
    InsertObject(index, s, object);
}

TObject* TStrings::Objects(int) const
{
    return nullptr;
}

void TStrings::SetObjects(int, TObject*)
{
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object)
{
    Insert(index, s);
    SetObjects(index, object);
}

int TStrings::Add(const std::string& s)
{
    int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string& s, TObject* object)
{
    int index = Add(s);
    SetObjects(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings& strings)
{
    BeginUpdate();
    try {
        for (int i = 0; i < strings.Count(); ++i)
            AddObject(strings.Strings(i), strings.Objects(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::IndexOf(const std::string& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (AnsiCompareText(Strings(i), s) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == object)
            return i;
    return -1;
}

void TStrings::Exchange(int index1, int index2)
{
    BeginUpdate();
    try {
        std::string s = Strings(index1);
        TObject* object = Objects(index1);
        SetStrings(index1, Strings(index2));
        SetObjects(index1, Objects(index2));
        SetStrings(index2, s);
        SetObjects(index2, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    // Every check comes before the line is taken out, so a refusal loses
    // nothing.
    if (KeepsOrder())
        SortedListError();
    BeginUpdate();
    try {
        std::string s = Strings(curIndex);
        TObject* object = Objects(curIndex);
        if (newIndex < 0 || newIndex >= Count())
            ListIndexError(newIndex);
        Delete(curIndex);
        InsertObject(newIndex, s, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::Names(int index) const
{
    std::string s = Strings(index);
    auto eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

int TStrings::IndexOfName(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i) {
        std::string s = Strings(i);
        auto eq = s.find('=');
        if (eq != std::string::npos && AnsiCompareText(s.substr(0, eq), name) == 0)
            return i;
    }
    return -1;
}

std::string TStrings::Values(const std::string& name) const
{
    int index = IndexOfName(name);
    if (index < 0)
        return std::string();
    std::string s = Strings(index);
    return s.substr(s.find('=') + 1);
}

void TStrings::SetValues(const std::string& name, const std::string& value)
{
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    const std::string line = name + "=" + value;
    if (index < 0) {
        Add(line);
        return;
    }
    // A sorted list takes no line in place; the new line may also sort
    // elsewhere than the old one stood.
    if (KeepsOrder()) {
        BeginUpdate();
        try {
            Delete(index);
            Add(line);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    } else {
        SetStrings(index, line);
    }
}

std::string TStrings::Text() const
{
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Strings(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const std::string& text)
{
    BeginUpdate();
    try {
        Clear();
        std::size_t pos = 0;
        std::string line;
        while (NextLine(text, pos, line))
            Add(line);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool NextLine(const std::string& text, std::size_t& pos, std::string& line)
{
    if (pos >= text.size())
        return false;
    const std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
        line.assign(text, pos);
        pos = text.size();
        return true;
    }
    line.assign(text, pos, end - pos);
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
        ++pos;
    return true;
}

void TStrings::LoadFromStream(TStream& stream)
{
    std::int64_t size = stream.Size() - stream.Position();
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (!text.empty())
        stream.ReadBuffer(text.data(), static_cast<int>(text.size()));
    SetText(text);
}

void TStrings::LoadFromFile(const std::string& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::SaveToStream(TStream& stream) const
{
    std::string text = Text();
    stream.WriteBuffer(text.data(), static_cast<int>(text.size()));
}

void TStrings::SaveToFile(const std::string& fileName) const
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TStrings::BeginUpdate()
{
    if (updateCount_ == 0)
        SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool)
{
}

bool TStrings::KeepsOrder() const
{
    return false;
}

void TStrings::Assign(const TPersistent* source)
{
    if (auto* strings = dynamic_cast<const TStrings*>(source)) {
        if (strings == this)
            return;
        BeginUpdate();
        try {
            Clear();
            AddStrings(*strings);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

// ---- TStringList ----

TStringList::~TStringList()
{
    // Nobody is told about a list that is going away.
    OnChange.Clear();
    OnChanging.Clear();
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0)
        OnChanging(this);
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

std::string TStringList::Strings(int index) const
{
    CheckIndex(index);
    return items_[index].text;
}

void TStringList::SetStrings(int index, const std::string& s)
{
    if (sorted_)
        SortedListError();
    CheckIndex(index);
    Changing();
    items_[index].text = s;
    Changed();
}

TObject* TStringList::Objects(int index) const
{
    CheckIndex(index);
    return items_[index].object;
}

void TStringList::SetObjects(int index, TObject* object)
{
    CheckIndex(index);
    Changing();
    items_[index].object = object;
    Changed();
}

void TStringList::Insert(int index, const std::string& s)
{
    InsertObject(index, s, nullptr);
}

void TStringList::InsertObject(int index, const std::string& s, TObject* object)
{
    if (sorted_)
        SortedListError();
    if (index < 0 || index > Count())
        ListIndexError(index);
    InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* object)
{
    Changing();
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty())
        return;
    Changing();
    items_.clear();
    Changed();
}

int TStringList::Add(const std::string& s)
{
    return AddObject(s, nullptr);
}

int TStringList::AddObject(const std::string& s, TObject* object)
{
    int index = Count();
    if (sorted_ && Find(s, index)) {
        if (duplicates_ == dupIgnore)
            return index;
        if (duplicates_ == dupError)
            throw EListError("String list does not allow duplicates");
    }
    InsertItem(index, s, object);
    return index;
}

bool TStringList::Find(const std::string& s, int& index) const
{
    bool found = false;
    int l = 0, h = Count() - 1;
    while (l <= h) {
        int i = (l + h) >> 1;
        int c = AnsiCompareText(items_[i].text, s);
        if (c < 0) {
            l = i + 1;
        } else {
            h = i - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept)
                    l = i;
            }
        }
    }
    index = l;
    return found;
}

int TStringList::IndexOf(const std::string& s) const
{
    if (!sorted_)
        return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[index1], items_[index2]);
    Changed();
}

void TStringList::QuickSort(int l, int r, TStringListSortCompare compare)
{
    int i;
    do {
        i = l;
        int j = r, p = (l + r) >> 1;
        do {
            while (compare(this, i, p) < 0)
                ++i;
            while (compare(this, j, p) > 0)
                --j;
            if (i <= j) {
                std::swap(items_[i], items_[j]);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSort(l, j, compare);
        l = i;
    } while (i < r);
}

void TStringList::Sort()
{
    CustomSort([](TStringList* list, int a, int b) { return AnsiCompareText(list->items_[a].text, list->items_[b].text); });
}

void TStringList::CustomSort(TStringListSortCompare compare)
{
    if (sorted_ || Count() < 2 || !compare)
        return;
    Changing();
    QuickSort(0, Count() - 1, compare);
    Changed();
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted_ == sorted)
        return;
    if (sorted)
        Sort();
    sorted_ = sorted;
}

// ---- TCollectionItem ----

TCollectionItem::TCollectionItem(TCollection* collection)
{
    SetCollection(collection);
}

TCollectionItem::~TCollectionItem()
{
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* collection)
{
    if (collection_ == collection)
        return;
    if (collection_)
        collection_->RemoveItem(this);
    if (collection)
        collection->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!collection_)
        return -1;
    const auto& items = collection_->items_;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index)
{
    int current = Index();
    if (current < 0 || index == current)
        return;
    auto& items = collection_->items_;
    if (index < 0 || index >= static_cast<int>(items.size()))
        ListIndexError(index);
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    Changed(true);
}

void TCollectionItem::Changed(bool allItems)
{
    if (collection_ && collection_->updateCount_ == 0)
        collection_->Update(allItems ? nullptr : this);
}

// ---- TCollection ----

TCollection::TCollection(TCollectionItemClass itemClass, TPersistent* owner) : itemClass_(itemClass), owner_(owner)
{
}

TCollection::~TCollection()
{
    // Items leaving a collection that is going away tell nobody.
    ++updateCount_;
    while (!items_.empty())
        delete items_.back();
}

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = itemClass_(this);
    if (item->collection_ != this)
        item->SetCollection(this);
    Changed();
    return item;
}

void TCollection::Clear()
{
    if (items_.empty())
        return;
    BeginUpdate();
    try {
        while (!items_.empty())
            delete items_.back();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::Delete(int index)
{
    delete Items(index);
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    return items_[index];
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (TCollectionItem* item : items_)
        if (item->id_ == id)
            return item;
    return nullptr;
}

void TCollection::BeginUpdate()
{
    ++updateCount_;
}

void TCollection::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

void TCollection::Assign(const TPersistent* source)
{
    if (auto* other = dynamic_cast<const TCollection*>(source)) {
        if (other == this)
            return;
        BeginUpdate();
        try {
            Clear();
            for (TCollectionItem* item : other->items_)
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

void TCollection::Update(TCollectionItem*)
{
}

void TCollection::Changed()
{
    if (updateCount_ == 0)
        Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item)
{
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->collection_ = nullptr;
    Changed();
}

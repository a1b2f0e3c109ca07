#include "classlib/Lists.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void* P(std::intptr_t n)
{
    return reinterpret_cast<void*>(n);
}

std::string Dump(const TList& list)
{
    std::string s;
    for (int i = 0; i < list.Count(); ++i)
        s += std::to_string(reinterpret_cast<std::intptr_t>(list.Items(i))) + (i + 1 < list.Count() ? "," : "");
    return s;
}

int CompareAsNumbers(void* a, void* b)
{
    auto x = reinterpret_cast<std::intptr_t>(a), y = reinterpret_cast<std::intptr_t>(b);
    return x < y ? -1 : x > y ? 1 : 0;
}

TEST(TList, EditingOperations)
{
    TList list;
    EXPECT_EQ(list.Add(P(1)), 0);
    EXPECT_EQ(list.Add(P(2)), 1);
    list.Insert(0, P(0));
    list.Insert(3, P(3));  // at the end
    EXPECT_EQ(Dump(list), "0,1,2,3");
    list.Exchange(0, 3);
    EXPECT_EQ(Dump(list), "3,1,2,0");
    list.Move(0, 2);
    EXPECT_EQ(Dump(list), "1,2,3,0");
    list.Move(3, 0);
    EXPECT_EQ(Dump(list), "0,1,2,3");
    EXPECT_EQ(list.Remove(P(2)), 2);
    EXPECT_EQ(list.Remove(P(9)), -1);
    list.Delete(0);
    EXPECT_EQ(Dump(list), "1,3");
    EXPECT_EQ(list.IndexOf(P(3)), 1);
    EXPECT_EQ(list.First(), P(1));
    EXPECT_EQ(list.Last(), P(3));
    list.SetItems(1, nullptr);
    list.Add(P(4));
    list.Add(nullptr);
    list.Pack();
    EXPECT_EQ(Dump(list), "1,4");
    list.Add(P(-5));
    list.Add(P(2));
    list.Sort(CompareAsNumbers);
    EXPECT_EQ(Dump(list), "-5,1,2,4");
    list.SetCount(6);
    EXPECT_EQ(Dump(list), "-5,1,2,4,0,0");
    list.SetCount(1);
    EXPECT_EQ(Dump(list), "-5");
}

TEST(TList, CapacityGrowsInStepsAndClearGivesItBack)
{
    TList list;
    EXPECT_EQ(list.Capacity(), 0);
    const struct {
        int count;
        int capacity;
    } rows[] = {{1, 4}, {4, 4}, {5, 8}, {9, 12}, {13, 28}, {29, 44}, {61, 76}, {77, 95}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.count);
        while (list.Count() < r.count)
            list.Add(P(list.Count()));
        EXPECT_EQ(list.Capacity(), r.capacity);
    }
    list.Delete(0);
    EXPECT_EQ(list.Capacity(), 95);
    EXPECT_THROW(list.SetCapacity(list.Count() - 1), EListError);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(TList, BadIndexRaisesListError)
{
    TList list;
    list.Add(P(1));
    const struct {
        const char* what;
        void (*op)(TList&);
        const char* text;
    } rows[] = {
        {"Items(1)", [](TList& l) { l.Items(1); }, "List index out of bounds (1)"},
        {"Items(-1)", [](TList& l) { l.Items(-1); }, "List index out of bounds (-1)"},
        {"SetItems", [](TList& l) { l.SetItems(2, nullptr); }, "List index out of bounds (2)"},
        {"Delete", [](TList& l) { l.Delete(1); }, "List index out of bounds (1)"},
        {"Insert", [](TList& l) { l.Insert(2, nullptr); }, "List index out of bounds (2)"},
        {"Exchange", [](TList& l) { l.Exchange(0, 5); }, "List index out of bounds (5)"},
        {"Move", [](TList& l) { l.Move(3, 0); }, "List index out of bounds (3)"},
        {"Last of empty", [](TList& l) { l.Clear(); l.Last(); }, "List index out of bounds (-1)"},
        {"SetCount", [](TList& l) { l.SetCount(-1); }, "List count out of bounds (-1)"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        try {
            r.op(list);
            ADD_FAILURE() << "no error";
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), r.text);
        }
    }
}

}  // namespace

namespace {

int liveItems = 0;

class TNamedItem : public TCollectionItem {
public:
    explicit TNamedItem(TCollection* collection) : TCollectionItem(collection) { ++liveItems; }
    ~TNamedItem() override { --liveItems; }
    void Assign(const TPersistent* source) override
    {
        if (auto* item = dynamic_cast<const TNamedItem*>(source)) {
            Name = item->Name;
            return;
        }
        TCollectionItem::Assign(source);
    }
    void Rename(const std::string& name)
    {
        Name = name;
        Changed(false);
    }
    std::string Name;
};

class TWatchedCollection : public TCollection {
public:
    TWatchedCollection() : TCollection(CollectionItemClass<TNamedItem>) {}
    TNamedItem* Add(const std::string& name)
    {
        auto* item = static_cast<TNamedItem*>(TCollection::Add());
        item->Name = name;
        return item;
    }
    std::string Names() const
    {
        std::string s;
        for (int i = 0; i < Count(); ++i)
            s.append(i ? "|" : "").append(static_cast<TNamedItem*>(Items(i))->Name);
        return s;
    }
    std::string log;

protected:
    void Update(TCollectionItem* item) override
    {
        log += item ? "[" + static_cast<TNamedItem*>(item)->Name + "]" : "*";
    }
};

TEST(TCollection, OwnsItsItemsAndNumbersThem)
{
    {
        TWatchedCollection c;
        TNamedItem* a = c.Add("a");
        TNamedItem* b = c.Add("b");
        TNamedItem* d = c.Add("d");
        EXPECT_EQ(liveItems, 3);
        EXPECT_EQ(a->Collection(), &c);
        EXPECT_EQ(d->Index(), 2);
        c.Delete(1);  // frees b
        EXPECT_EQ(liveItems, 2);
        EXPECT_EQ(c.Names(), "a|d");
        EXPECT_EQ(d->Index(), 1);
        TNamedItem* e = c.Add("e");
        EXPECT_EQ(e->ID(), 3);  // b's number is not given again
        EXPECT_EQ(c.FindItemID(2), d);
        EXPECT_EQ(c.FindItemID(1), nullptr);
        (void)b;

        e->SetIndex(0);
        EXPECT_EQ(c.Names(), "e|a|d");
        delete a;  // an item freed by itself leaves its collection
        EXPECT_EQ(c.Names(), "e|d");
        EXPECT_THROW(c.Items(2), EListError);
        EXPECT_THROW(c.Delete(-1), EListError);
        EXPECT_THROW(e->SetIndex(2), EListError);

        TCollection other(CollectionItemClass<TNamedItem>);
        d->SetCollection(&other);
        EXPECT_EQ(c.Names(), "e");
        EXPECT_EQ(other.Count(), 1);
        EXPECT_EQ(d->ID(), 0);
    }
    EXPECT_EQ(liveItems, 0);  // both collections freed their items
}

TEST(TCollection, UpdatesAreHeldBackAndAssignCopies)
{
    TWatchedCollection c;
    c.Add("a");
    c.Add("b");
    EXPECT_EQ(c.log, "**");
    c.log.clear();
    static_cast<TNamedItem*>(c.Items(0))->Rename("x");
    EXPECT_EQ(c.log, "[x]");

    c.log.clear();
    c.BeginUpdate();
    c.Add("c");
    c.Delete(0);
    static_cast<TNamedItem*>(c.Items(0))->Rename("y");
    EXPECT_EQ(c.log, "");
    c.EndUpdate();
    EXPECT_EQ(c.log, "*");
    EXPECT_EQ(c.Names(), "y|c");

    TWatchedCollection copy;
    copy.Add("stary");
    copy.log.clear();
    copy.Assign(&c);
    EXPECT_EQ(copy.Names(), "y|c");
    EXPECT_EQ(copy.log, "*");  // one update for the whole copy
    EXPECT_NE(copy.Items(0), c.Items(0));
    EXPECT_EQ(liveItems, 4);
    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_EQ(liveItems, 2);
}

}  // namespace

#include "common/QmxList.h"

#include <cmath>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "common/QmxGenericList.h"
#include "tests/common_objmodel/QmxTestStream.h"

namespace {

// Bytes of a little-endian number, for pinning stream layouts.
std::string LE(long long v, int size)
{
    std::string s;
    for (int i = 0; i < size; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

// The registry as the programs have it after their units' start-up.
class QmxRegistry : public testing::Test {
protected:
    void SetUp() override
    {
        FinalizeQmxList();
        InitializeQmxList();
        InitializeQmxGenericList();
    }
    void TearDown() override { FinalizeQmxList(); }
};

// An object that counts its frees and carries a key and a name.
struct Probe : TObject {
    Probe(int k, char n = '?', int* frees = nullptr) : key(k), name(n), freed(frees) {}
    ~Probe() override
    {
        if (freed)
            ++*freed;
    }
    int key;
    char name;
    int* freed;
};

class ProbeList : public tQmxSortedList {
public:
    tQmxKey KeyOf(TObject* Item) override { return static_cast<Probe*>(Item)->key; }
};

TEST_F(QmxRegistry, IdentifiersOfTheUnits)
{
    const struct {
        std::uint16_t id;
        tQmxClass cls;
    } rows[] = {
        {50, tQmxList::Class()},           {100, tQmxList::Class()},          {700, tQmxSortedList::Class()},
        {101, tQmxObject::Class()},        {711, tQmxGenericItem::Class()},   {712, tQmxGenericLIst::Class()},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.id);
        tQmxRecObject* rec = FindQmxClassById(r.id);
        ASSERT_NE(rec, nullptr);
        EXPECT_EQ(rec->ItemClass, r.cls);
    }
    EXPECT_EQ(FindQmxClassById(1), nullptr);

    // A stream records an object under the first identifier of its exact class.
    tQmxList list;
    tQmxGenericLIst generic;
    EXPECT_EQ(FindQmxClassOf(&list)->Id, 50);
    EXPECT_EQ(FindQmxClassOf(&generic)->Id, 712);
    Probe unregistered(0);
    EXPECT_EQ(FindQmxClassOf(&unregistered), nullptr);

    FinalizeQmxList();
    EXPECT_EQ(FindQmxClassById(50), nullptr);  // no registry at all
}

TEST_F(QmxRegistry, ATakenIdentifierIsRefusedWithTheNewClassName)
{
    try {
        RegisterQmxClass(tQmxGenericItem::Class(), 700);
        FAIL() << "no error";
    } catch (const EqmxException& e) {
        EXPECT_EQ(e.Message(), "201: Identyfikator \"tQmxGenericItem\" jest już w użyciu.");
    }
    EXPECT_EQ(FindQmxClassById(700)->ItemClass, tQmxSortedList::Class());

    RegisterQmxClass(tQmxList::Class(), 900);  // a third identifier of the same class
    EXPECT_EQ(FindQmxClassById(900)->ItemClass, tQmxList::Class());
    EXPECT_THROW(RegisterQmxClass(tQmxList::Class(), 900), EqmxException);
}

TEST(QmxSortedList, Search)
{
    const std::vector<int> k13335 = {1, 3, 3, 3, 5};
    const struct {
        std::vector<int> keys;
        bool duplicates;
        int key;
        bool found;
        int index;
    } rows[] = {
        {{}, true, 3, false, 0},       {{}, false, 3, false, 0},
        {k13335, true, 3, true, 1},    {k13335, false, 3, true, 2},  // the first match the halving meets
        {k13335, true, 4, false, 4},   {k13335, false, 4, false, 4},
        {k13335, true, 0, false, 0},   {k13335, true, 6, false, 5},
        {k13335, true, 1, true, 0},    {k13335, false, 5, true, 4},
        {{-7, -2, 0}, true, -3, false, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "keys " << testing::PrintToString(r.keys) << " dup " << r.duplicates
                                        << " key " << r.key);
        ProbeList list;
        list.Duplicates = r.duplicates;
        for (int k : r.keys)
            list.Add(static_cast<TObject*>(new Probe(k)));
        int index = -1;
        EXPECT_EQ(list.Search(r.key, index), r.found);
        EXPECT_EQ(index, r.index);
    }
}

// Keys are whole addresses compared with their sign: nothing is cut to 32 bits.
TEST(QmxSortedList, KeysArePointerSizedAndSigned)
{
    tQmxSortedList list;
    const tQmxKey big = static_cast<tQmxKey>(1) << 40;
    EXPECT_EQ(list.Compare(big, 1), 1);
    EXPECT_EQ(list.Compare(1, big), -1);
    EXPECT_EQ(list.Compare(big + 1, big + 1), 0);
    EXPECT_EQ(list.Compare(-big, 1), -1);
    EXPECT_EQ(list.Compare(INTPTR_MIN, INTPTR_MAX), -1);

    // Unspecialised, the list orders items by reference.
    std::vector<Probe*> probes;
    for (int i = 0; i < 5; ++i)
        probes.push_back(new Probe(i));
    for (Probe* p : probes) {
        int at;
        list.Search(list.KeyOf(p), at);
        list.Insert(at, static_cast<TObject*>(p));
    }
    for (int i = 1; i < list.Count(); ++i)
        EXPECT_LT(reinterpret_cast<std::uintptr_t>(list.Items(i - 1)), reinterpret_cast<std::uintptr_t>(list.Items(i)));
    for (Probe* p : probes) {
        int at;
        ASSERT_TRUE(list.Search(list.KeyOf(p), at));
        EXPECT_EQ(list.Items(at), static_cast<TObject*>(p));
    }
}

bool NameIsAorC(TObject* item)
{
    const char n = static_cast<Probe*>(item)->name;
    return n == 'A' || n == 'C';
}

std::string visited;
void Visit(TObject* item)
{
    visited += static_cast<Probe*>(item)->name;
}

TEST(QmxList, WalksInBothDirectionsAndNoOther)
{
    tQmxList list;
    for (char n : {'A', 'B', 'C'})
        list.Add(static_cast<TObject*>(new Probe(0, n)));

    const struct {
        int direction;
        const char* firstAorC;
        const char* order;
    } rows[] = {{qmxForward, "A", "ABC"}, {qmxBackward, "C", "CBA"}, {2, "", ""}, {-1, "", ""}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.direction);
        std::string order;
        TObject* found = list.FirstThat(r.direction, [](TObject* item) { return NameIsAorC(item); });
        EXPECT_EQ(found ? std::string(1, static_cast<Probe*>(found)->name) : "", r.firstAorC);
        list.ForEach(r.direction, [&order](TObject* item) { order += static_cast<Probe*>(item)->name; });
        EXPECT_EQ(order, r.order);

        // The plain-function forms take the direction last.
        found = list.FirstThat(NameIsAorC, r.direction);
        EXPECT_EQ(found ? std::string(1, static_cast<Probe*>(found)->name) : "", r.firstAorC);
        visited.clear();
        list.ForEach(Visit, r.direction);
        EXPECT_EQ(visited, r.order);
    }
}

// The count is taken when the walk starts; positions that an action empties
// the list beyond are skipped instead of read.
TEST(QmxList, AWalkSurvivesAnActionThatRemovesItems)
{
    tQmxList list;
    for (char n : {'A', 'B', 'C', 'D'})
        list.Add(static_cast<TObject*>(new Probe(0, n)));
    std::string order;
    list.ForEach(qmxForward, [&](TObject* item) {
        order += static_cast<Probe*>(item)->name;
        if (static_cast<Probe*>(item)->name == 'A') {
            delete static_cast<Probe*>(list.Last());
            list.Delete(list.Count() - 1);
        }
    });
    EXPECT_EQ(order, "ABC");
}

TEST(QmxList, FreeAllFreesEachObjectOnceAndKeepsTheCapacity)
{
    int frees = 0;
    {
        tQmxList list;
        list.Add(nullptr);
        list.Add(static_cast<TObject*>(new Probe(1, 'a', &frees)));
        list.Add(nullptr);
        list.Add(static_cast<TObject*>(new Probe(2, 'b', &frees)));
        list.Add(static_cast<TObject*>(new Probe(3, 'c', &frees)));
        const int capacity = list.Capacity();
        list.FreeAll();
        EXPECT_EQ(frees, 3);
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.Capacity(), capacity);

        list.Add(static_cast<TObject*>(new Probe(4, 'd', &frees)));
        list.Add(static_cast<TObject*>(new Probe(5, 'e', &frees)));
        Probe* kept = static_cast<Probe*>(list.Items(0));
        list.Delete(0);  // the base list's removal does not free
        EXPECT_EQ(frees, 3);
        delete kept;
    }
    EXPECT_EQ(frees, 5);  // the destructor freed the one left
}

class QmxStreams : public QmxRegistry {};

TEST_F(QmxStreams, ListHeadersAreSixOrTwelveBytes)
{
    const struct {
        bool sorted;
        int capacity;
        bool listHeader32;
        bool streamHeader32;
        std::string bytes;
    } rows[] = {
        {false, 0, false, false, LE(0, 2) + LE(0, 2) + LE(0, 2)},
        {false, 5, false, false, LE(0, 2) + LE(5, 2) + LE(0, 2)},
        {true, 0, false, false, LE(0, 6) + "\x01"},
        {false, 7, true, false, LE(0, 4) + LE(7, 4) + LE(0, 4)},
        {false, 7, false, true, LE(0, 4) + LE(7, 4) + LE(0, 4)},
        {true, 40000, true, false, LE(0, 4) + LE(40000, 4) + LE(0, 4) + "\x01"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "sorted " << r.sorted << " capacity " << r.capacity << " header32 "
                                        << r.listHeader32 << "/" << r.streamHeader32);
        std::unique_ptr<tQmxList> list(r.sorted ? new tQmxSortedList : new tQmxList);
        list->SetCapacity(r.capacity);
        list->Header32 = r.listHeader32;
        TQmxTestStream stream;
        stream.Header32 = r.streamHeader32;
        list->Store(stream);
        EXPECT_EQ(stream.Bytes(), r.bytes);
    }
}

TEST_F(QmxStreams, SixteenBitHeadersRefuseWhatTheyCannotHold)
{
    tQmxList list;
    list.SetCapacity(40000);
    TQmxTestStream stream;
    EXPECT_THROW(list.Store(stream), ERangeError);
    EXPECT_EQ(stream.Bytes(), LE(0, 2));  // the count went out before the capacity failed

    tQmxList many;
    many.SetCount(32768);
    TQmxTestStream stream2;
    EXPECT_THROW(many.Store(stream2), ERangeError);
    EXPECT_EQ(stream2.Bytes(), "");

    // A short header is a read error.
    TQmxTestStream shortStream;
    shortStream.SetBytes(LE(1, 2) + LE(1, 2));
    tQmxList target;
    EXPECT_THROW(target.Load(shortStream), EReadError);
}

void Fill(tQmxGenericItem& item, int seed)
{
    for (int i = 0; i < tQmxGenericItem::FieldCount; ++i) {
        item.Strings[i] = i % 3 == 0 ? "" : "Łódź " + std::to_string(seed * 100 + i);
        item.Integers[i] = (i % 2 ? -1 : 1) * (seed * 1000 + i);
        item.Values[i] = seed + i / 8.0;
        item.BoolFields[i] = (i + seed) % 2 == 1;
        item.DateTimes[i] = 36526.5 + seed + i;
    }
}

void ExpectSameFields(const tQmxGenericItem& a, const tQmxGenericItem& b)
{
    for (int i = 0; i < tQmxGenericItem::FieldCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a.Strings[i], b.Strings[i]);
        EXPECT_EQ(a.Integers[i], b.Integers[i]);
        EXPECT_EQ(std::memcmp(&a.Values[i], &b.Values[i], 8), 0);
        EXPECT_EQ(a.BoolFields[i], b.BoolFields[i]);
        EXPECT_EQ(a.DateTimes[i], b.DateTimes[i]);
    }
}

TEST_F(QmxStreams, GenericItemLayout)
{
    tQmxGenericItem item;
    item.Strings[1] = "ab";
    item.Integers[0] = 0x01020304;
    item.Integers[10] = -2;
    const std::uint64_t bits = 0x7FF4000000000123ull;  // a NaN payload travels as raw bytes
    std::memcpy(&item.Values[3], &bits, 8);
    item.BoolFields[2] = true;
    item.DateTimes[10] = 1.5;

    TQmxTestStream stream;
    item.Store(stream);
    const std::string bytes = stream.Bytes();
    // The test stream's strings: eleven lengths and the two letters.
    const std::size_t strings = 11 * 4 + 2;
    ASSERT_EQ(bytes.size(), strings + 231);
    EXPECT_EQ(bytes.substr(0, 4), LE(0, 4));
    EXPECT_EQ(bytes.substr(4, 6), LE(2, 4) + "ab");
    const std::string fields = bytes.substr(strings);
    EXPECT_EQ(fields.substr(0, 4), "\x04\x03\x02\x01");
    EXPECT_EQ(fields.substr(40, 4), "\xFE\xFF\xFF\xFF");
    EXPECT_EQ(fields.substr(44 + 3 * 8, 8), LE(static_cast<long long>(bits), 8));
    EXPECT_EQ(fields.substr(44 + 88, 11), std::string("\0\0\x01\0\0\0\0\0\0\0\0", 11));
    double d;
    std::memcpy(&d, fields.data() + 44 + 88 + 11 + 10 * 8, 8);
    EXPECT_EQ(d, 1.5);

    tQmxGenericItem back;
    Fill(back, 9);  // every field is overwritten by the load
    stream.SetPosition(0);
    back.Load(stream);
    ExpectSameFields(back, item);
}

TEST_F(QmxStreams, ListsOfObjectsRoundTrip)
{
    tQmxGenericLIst timetable;
    timetable.Duplicates = false;
    for (int seed = 1; seed <= 2; ++seed) {
        auto* item = new tQmxGenericItem;
        Fill(*item, seed);
        timetable.Add(static_cast<TObject*>(item));
    }
    timetable.Add(nullptr);
    auto* inner = new tQmxList;
    inner->Add(static_cast<TObject*>(new tQmxObject));
    timetable.Add(static_cast<TObject*>(inner));

    TQmxTestStream stream;
    stream.Put(&timetable);
    stream.SetPosition(0);
    std::unique_ptr<TObject> back(stream.Get());
    EXPECT_EQ(stream.Position(), stream.Size());

    auto* list = dynamic_cast<tQmxGenericLIst*>(back.get());
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->Duplicates);
    ASSERT_EQ(list->Count(), 4);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        auto* item = dynamic_cast<tQmxGenericItem*>(static_cast<TObject*>(list->Items(i)));
        ASSERT_NE(item, nullptr);
        ExpectSameFields(*item, *static_cast<tQmxGenericItem*>(timetable.Items(i)));
    }
    EXPECT_EQ(list->Items(2), nullptr);
    auto* innerBack = static_cast<TObject*>(list->Items(3));
    EXPECT_EQ(innerBack->ClassName(), "tQmxList");
    ASSERT_EQ(static_cast<tQmxList*>(innerBack)->Count(), 1);
    EXPECT_EQ(static_cast<TObject*>(static_cast<tQmxList*>(innerBack)->Items(0))->ClassName(), "tQmxObject");
}

// Loading appends to the items already in the list.
TEST_F(QmxStreams, LoadAppends)
{
    tQmxList source;
    for (int i = 0; i < 3; ++i)
        source.Add(static_cast<TObject*>(new tQmxObject));
    TQmxTestStream stream;
    stream.Header32 = true;
    source.Store(stream);

    tQmxList target;
    target.Add(static_cast<TObject*>(new tQmxObject));
    target.Add(static_cast<TObject*>(new tQmxObject));
    stream.SetPosition(0);
    target.Load(stream);
    EXPECT_EQ(target.Count(), 5);
}

TEST(QmxGenericItem, CopyFrom)
{
    tQmxGenericItem source, copy;
    Fill(source, 3);
    copy.CopyFrom(&source);
    ExpectSameFields(copy, source);
    source.Strings[1] = "inny";
    EXPECT_NE(copy.Strings[1], "inny");  // strings are copied by value

    copy.CopyFrom(nullptr);
    tQmxGenericItem empty;
    ExpectSameFields(copy, empty);
}

} // namespace

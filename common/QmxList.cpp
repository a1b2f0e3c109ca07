#include "common/QmxList.h"

namespace {

tQmxList* registry = nullptr;

void WriteHeaderNumber(tQmxStream& stream, int value, bool header32)
{
    if (header32) {
        std::int32_t v = value;
        stream.WriteBuffer(&v, sizeof v);
        return;
    }
    if (value < -32768 || value > 32767)
        throw ERangeError();
    std::int16_t v = static_cast<std::int16_t>(value);
    stream.WriteBuffer(&v, sizeof v);
}

int ReadHeaderNumber(tQmxStream& stream, bool header32)
{
    if (header32) {
        std::int32_t v;
        stream.ReadBuffer(&v, sizeof v);
        return v;
    }
    std::int16_t v;
    stream.ReadBuffer(&v, sizeof v);
    return v;
}

} // namespace

// tQmxObject

tQmxClass tQmxObject::Class()
{
    static const tQmxClassInfo info{"tQmxObject", typeid(tQmxObject), QmxCreateInstance<tQmxObject>};
    return &info;
}

void tQmxObject::Load(tQmxStream&) {}

void tQmxObject::Store(tQmxStream&) {}

// tQmxList

tQmxList::~tQmxList()
{
    // A list being destroyed cannot report a failed free to anyone.
    try {
        FreeAll();
    } catch (...) {
    }
}

tQmxClass tQmxList::Class()
{
    static const tQmxClassInfo info{"tQmxList", typeid(tQmxList), QmxCreateInstance<tQmxList>};
    return &info;
}

TObject* tQmxList::Walk(int Direction, const std::function<bool(TObject*)>& visit)
{
    const int n = Count();
    if (Direction == qmxForward) {
        for (int i = 0; i < n; ++i)
            if (i < Count()) {
                TObject* item = At(i);
                if (visit(item))
                    return item;
            }
    } else if (Direction == qmxBackward) {
        for (int i = n - 1; i >= 0; --i)
            if (i < Count()) {
                TObject* item = At(i);
                if (visit(item))
                    return item;
            }
    }
    return nullptr;
}

TObject* tQmxList::FirstThat(int Direction, const tQmxTestMethod& Test)
{
    return Walk(Direction, Test);
}

void tQmxList::ForEach(int Direction, const tQmxActionMethod& Action)
{
    Walk(Direction, [&](TObject* item) {
        Action(item);
        return false;
    });
}

TObject* tQmxList::FirstThat(tQmxTestFunc Test, int Direction)
{
    return Walk(Direction, [&](TObject* item) { return Test(item); });
}

void tQmxList::ForEach(tQmxActionProc Action, int Direction)
{
    Walk(Direction, [&](TObject* item) {
        Action(item);
        return false;
    });
}

void tQmxList::Load(tQmxStream& Stream)
{
    const bool header32 = Header32 || Stream.Header32;
    const int count = ReadHeaderNumber(Stream, header32);
    ReadHeaderNumber(Stream, header32);  // capacity: the reader chooses its own
    ReadHeaderNumber(Stream, header32);
    for (int i = 0; i < count; ++i)
        Add(Stream.Get());
}

void tQmxList::Store(tQmxStream& Stream)
{
    const bool header32 = Header32 || Stream.Header32;
    WriteHeaderNumber(Stream, Count(), header32);
    WriteHeaderNumber(Stream, Capacity(), header32);
    WriteHeaderNumber(Stream, 0, header32);
    for (int i = 0; i < Count(); ++i)
        Stream.Put(At(i));
}

void tQmxList::FreeAll()
{
    Pack();
    for (int i = 0; i < Count(); ++i) {
        TObject* item = At(i);
        SetItems(i, nullptr);
        delete item;
    }
    Pack();
}

// tQmxSortedList

tQmxClass tQmxSortedList::Class()
{
    static const tQmxClassInfo info{"tQmxSortedList", typeid(tQmxSortedList), QmxCreateInstance<tQmxSortedList>};
    return &info;
}

void tQmxSortedList::Load(tQmxStream& Stream)
{
    tQmxList::Load(Stream);
    unsigned char b;
    if (Stream.Read(&b, 1) == 1)
        Duplicates = b != 0;
}

void tQmxSortedList::Store(tQmxStream& Stream)
{
    tQmxList::Store(Stream);
    const unsigned char b = Duplicates ? 1 : 0;
    Stream.Write(&b, 1);
}

bool tQmxSortedList::Search(tQmxKey Key, int& Index)
{
    int l = 0;
    int h = Count() - 1;
    bool found = false;
    while (l <= h) {
        const int i = (l + h) >> 1;
        const int c = Compare(KeyOf(At(i)), Key);
        if (c < 0) {
            l = i + 1;
        } else {
            h = i - 1;
            if (c == 0) {
                found = true;
                if (!Duplicates)
                    l = i;
            }
        }
    }
    Index = l;
    return found;
}

int tQmxSortedList::Compare(tQmxKey Key1, tQmxKey Key2)
{
    if (Key1 < Key2)
        return -1;
    return Key1 > Key2 ? 1 : 0;
}

tQmxKey tQmxSortedList::KeyOf(TObject* Item)
{
    return reinterpret_cast<tQmxKey>(Item);
}

// The class registry

void RegisterQmxClass(tQmxClass ClassRef, std::uint16_t Id)
{
    if (!registry)
        registry = new tQmxList;
    if (FindQmxClassById(Id))
        throw EqmxException(std::string("201: Identyfikator \"") + ClassRef->Name + "\" jest już w użyciu.");
    registry->Add(static_cast<TObject*>(new tQmxRecObject(Id, ClassRef)));
}

tQmxRecObject* FindQmxClassById(std::uint16_t Id)
{
    if (!registry)
        return nullptr;
    return static_cast<tQmxRecObject*>(registry->FirstThat(qmxForward, [Id](TObject* item) {
        return static_cast<tQmxRecObject*>(item)->Id == Id;
    }));
}

tQmxRecObject* FindQmxClassOf(const TObject* Item)
{
    if (!registry || !Item)
        return nullptr;
    const std::type_info& type = typeid(*Item);
    return static_cast<tQmxRecObject*>(registry->FirstThat(qmxForward, [&type](TObject* item) {
        return static_cast<tQmxRecObject*>(item)->ItemClass->Type == type;
    }));
}

void InitializeQmxList()
{
    RegisterQmxClass(tQmxList::Class(), 50);
    RegisterQmxClass(tQmxList::Class(), 100);
    RegisterQmxClass(tQmxSortedList::Class(), 700);
    RegisterQmxClass(tQmxObject::Class(), 101);
}

void FinalizeQmxList()
{
    delete registry;
    registry = nullptr;
}

// Unit QmxList: the maker's object model. Streamable objects, lists that own
// their items, a sorted list, and the class registry that maps 16-bit class
// identifiers to classes so that an object stream can make objects again.
//
// Items of these lists are TObject pointers (kept in the class library's
// untyped TList): add objects whose first base is TObject, as every class of
// the class library is.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <typeinfo>

#include "classlib/Classes.h"
#include "classlib/Lists.h"
#include "classlib/Streams.h"

class tQmxStream;

// A class as the registry knows it: its name, its exact C++ type and a way to
// make an empty instance (what an object stream needs to read one back).
struct tQmxClassInfo {
    const char* Name;
    const std::type_info& Type;
    TObject* (*Create)();
};
using tQmxClass = const tQmxClassInfo*;

template <class T>
TObject* QmxCreateInstance()
{
    return new T;
}

// What an object stream asks of every object it writes or reads.
class tQmxStreamable {
public:
    virtual void Load(tQmxStream& Stream) = 0;
    virtual void Store(tQmxStream& Stream) = 0;

protected:
    ~tQmxStreamable() = default;
};

// The object stream the model reads from and writes to. The encoding of texts
// and objects is the concrete stream's own; Put records the object's class
// through the registry so that Get can make an object of the same class.
class tQmxStream : public TStream {
public:
    // The stream's own wish for 32-bit list headers.
    bool Header32 = false;
    // The next text; the empty text stands for the null text.
    virtual std::string StrRead() = 0;
    virtual void StrWrite(const std::string& Text) = 0;
    // The next object (the caller owns it), or nullptr for no object.
    virtual TObject* Get() = 0;
    virtual void Put(TObject* Item) = 0;
};

// Raised by the class registry.
class EqmxException : public Exception {
public:
    using Exception::Exception;
};

class tQmxObject : public TPersistent, public tQmxStreamable {
public:
    static tQmxClass Class();
    // Descendants read or write their own fields after the inherited ones.
    void Load(tQmxStream& Stream) override;
    void Store(tQmxStream& Stream) override;
};

// Walk directions of FirstThat and ForEach; any other value visits nothing.
enum : int { qmxForward = 0, qmxBackward = 1 };

using tQmxTestMethod = std::function<bool(TObject* Item)>;
using tQmxActionMethod = std::function<void(TObject* Item)>;
using tQmxTestFunc = bool (*)(TObject* Item);
using tQmxActionProc = void (*)(TObject* Item);

// A list of objects that owns them: FreeAll and the destructor free every
// item. Removing an item with TList's own operations does not free it.
class tQmxList : public TList, public tQmxStreamable {
public:
    ~tQmxList() override;
    static tQmxClass Class();

    // Asks for the 32-bit stream header even when the stream does not.
    bool Header32 = false;

    // The number of items is taken when a walk starts; each step reads the
    // item at its position then (nullptr entries included), and a position
    // that an action has emptied the list beyond is skipped.
    virtual TObject* FirstThat(int Direction, const tQmxTestMethod& Test);
    virtual void ForEach(int Direction, const tQmxActionMethod& Action);
    virtual TObject* FirstThat(tQmxTestFunc Test, int Direction);
    virtual void ForEach(tQmxActionProc Action, int Direction);
    // Header (Count, Capacity, 0 as int16, or as int32 when either side asks
    // for it), then every item through the stream. Loading appends.
    void Load(tQmxStream& Stream) override;
    void Store(tQmxStream& Stream) override;
    // Frees every item; Count becomes 0, Capacity stays.
    virtual void FreeAll();

protected:
    TObject* At(int index) const { return static_cast<TObject*>(Items(index)); }

private:
    TObject* Walk(int Direction, const std::function<bool(TObject*)>& visit);
};

// Items are identified by pointer-sized keys.
using tQmxKey = std::intptr_t;

class tQmxSortedList : public tQmxList {
public:
    static tQmxClass Class();

    // Equal keys may stand side by side.
    bool Duplicates = true;

    // The list's stream form plus one byte: Duplicates.
    void Load(tQmxStream& Stream) override;
    void Store(tQmxStream& Stream) override;
    // Binary search for Key. Index is the match (with Duplicates, the first
    // of equal keys) or the position where Key would be inserted.
    virtual bool Search(tQmxKey Key, int& Index);
    // -1, 0 or 1, comparing the keys as signed numbers.
    virtual int Compare(tQmxKey Key1, tQmxKey Key2);
    // By default the item's own address: an unspecialised list orders items
    // by reference.
    virtual tQmxKey KeyOf(TObject* Item);
};

// One entry of the class registry.
class tQmxRecObject : public TObject {
public:
    tQmxRecObject(std::uint16_t id, tQmxClass itemClass) : Id(id), ItemClass(itemClass) {}
    std::uint16_t Id;
    tQmxClass ItemClass;
};

// Adds (Id, ClassRef) to the registry, made at the first registration.
// Raises EqmxException when Id is taken; a class may have several Ids.
void RegisterQmxClass(tQmxClass ClassRef, std::uint16_t Id);
// The first entry with Id, or nullptr (also before any registration).
tQmxRecObject* FindQmxClassById(std::uint16_t Id);
// The first entry registered for the exact class of Item, or nullptr: how an
// object stream learns the identifier to record.
tQmxRecObject* FindQmxClassOf(const TObject* Item);

// Unit start: registers tQmxList as 50 and 100, tQmxSortedList as 700 and
// tQmxObject as 101. Unit end: frees the registry with its entries.
void InitializeQmxList();
void FinalizeQmxList();

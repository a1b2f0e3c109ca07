#include "common/QmxGenericList.h"

#include <cstring>

tQmxClass tQmxGenericItem::Class()
{
    static const tQmxClassInfo info{"tQmxGenericItem", typeid(tQmxGenericItem), QmxCreateInstance<tQmxGenericItem>};
    return &info;
}

// The field reads and writes do not check how many bytes moved: a short
// stream leaves the remaining fields as they were.
void tQmxGenericItem::Load(tQmxStream& Stream)
{
    tQmxObject::Load(Stream);
    for (auto& s : Strings)
        s = Stream.StrRead();
    for (auto& v : Integers)
        Stream.Read(&v, 4);
    for (auto& v : Values)
        Stream.Read(&v, 8);
    for (auto& v : BoolFields) {
        unsigned char b = v ? 1 : 0;
        Stream.Read(&b, 1);
        v = b != 0;
    }
    for (auto& v : DateTimes)
        Stream.Read(&v, 8);
}

void tQmxGenericItem::Store(tQmxStream& Stream)
{
    tQmxObject::Store(Stream);
    for (const auto& s : Strings)
        Stream.StrWrite(s);
    for (const auto& v : Integers)
        Stream.Write(&v, 4);
    for (const auto& v : Values)
        Stream.Write(&v, 8);
    for (const bool v : BoolFields) {
        const unsigned char b = v ? 1 : 0;
        Stream.Write(&b, 1);
    }
    for (const auto& v : DateTimes)
        Stream.Write(&v, 8);
}

void tQmxGenericItem::CopyFrom(const tQmxGenericItem* Source)
{
    if (Source == this)
        return;
    for (int i = 0; i < FieldCount; ++i) {
        Strings[i] = Source ? Source->Strings[i] : std::string();
        Integers[i] = Source ? Source->Integers[i] : 0;
        if (Source)
            std::memcpy(&Values[i], &Source->Values[i], sizeof Values[i]);
        else
            Values[i] = 0;
        BoolFields[i] = Source ? Source->BoolFields[i] : false;
        DateTimes[i] = Source ? Source->DateTimes[i] : 0;
    }
}

tQmxClass tQmxGenericLIst::Class()
{
    static const tQmxClassInfo info{"tQmxGenericLIst", typeid(tQmxGenericLIst), QmxCreateInstance<tQmxGenericLIst>};
    return &info;
}

void InitializeQmxGenericList()
{
    RegisterQmxClass(tQmxGenericItem::Class(), 711);
    RegisterQmxClass(tQmxGenericLIst::Class(), 712);
}

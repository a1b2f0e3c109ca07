// Unit QmxGenericList: a general streamable record of five groups of eleven
// fields, and the sorted list meant for such records.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/SysUtils.h"
#include "common/QmxList.h"

class tQmxGenericItem : public tQmxObject {
public:
    static constexpr int FieldCount = 11;

    static tQmxClass Class();

    std::string Strings[FieldCount];
    std::int32_t Integers[FieldCount] = {};
    // Nothing reads these: they are only copied and streamed as 8 raw bytes.
    double Values[FieldCount] = {};
    bool BoolFields[FieldCount] = {};
    TDateTime DateTimes[FieldCount] = {};

    // The strings, then the integers, values, flags and date-times as raw
    // little-endian bytes (4, 8, 1 and 8 each, 231 in all).
    void Load(tQmxStream& Stream) override;
    void Store(tQmxStream& Stream) override;
    // Copies all five groups; with no source, empties every field.
    virtual void CopyFrom(const tQmxGenericItem* Source);
};

// A sorted list meant for generic items.
class tQmxGenericLIst : public tQmxSortedList {
public:
    static tQmxClass Class();
};

// Unit start: registers tQmxGenericItem as 711 and tQmxGenericLIst as 712.
void InitializeQmxGenericList();

// Unit qmxUserData: the personal-data grid. Fourteen values that all of the
// maker's programs share, one row each: the label in the fixed column, the
// value beside it. TqmxUserData loads them from the registry when it is made
// and stores them when it goes.
//
// Two builds of one source: the installer's on the class library's plain
// string grid (library grid), where the values reach the registry only when
// the grid is destroyed; the organizer's on TAdvStringGrid (library
// grid_adv, which defines QMX_USERDATA_ADVGRID), where Enter moves down to
// the next value and every validated edit stores all 14 values at once.
//
// Unit start: InitQmxUserDataUnit registers both classes for forms; a program
// starts it after the grid unit it stands on.
#pragma once

#include <string>

#ifdef QMX_USERDATA_ADVGRID
#include "grid/AdvGrid.h"
using TqmxUserDataBase = TAdvStringGrid;
#else
#include "classlib/Grids.h"
using TqmxUserDataBase = TStringGrid;
#endif

constexpr int UserDataCount = 14;
// The rows' labels, which are also the names of the stored values.
extern const char* const UserDataLabels[UserDataCount];
// Below HKEY_CURRENT_USER.
extern const char* const UserDataKey;

// Lays the grid out and puts in the labels; row 14 is a spare row that is
// never loaded or stored.
class TqmxUserInfo : public TqmxUserDataBase {
public:
    explicit TqmxUserInfo(TComponent* owner);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

class TqmxUserData : public TqmxUserInfo {
public:
    explicit TqmxUserData(TComponent* owner);
    ~TqmxUserData() override;

    // Rows 0 to 13 from the registry / into it, every value every time,
    // except that a value the cell cannot hold as stored (another form than
    // a string or a 32-bit number; a string with characters outside the code
    // page, characters after a zero or a last half character) stays as it
    // is while its cell still shows what was loaded (the text it was read as
    // is no copy of it).
    void LoadData();
    void SaveData();

#ifdef QMX_USERDATA_ADVGRID
    // Stores all 14 values, then the grid's own validation.
    bool ValidateCell(const std::string& Value) override;
#endif

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    std::string loaded_[UserDataCount];
    bool foreign_[UserDataCount] = {};
};

void InitQmxUserDataUnit();

// Unit qmxUserData: the personal-data grid. Fourteen values that all of the
// maker's programs share, one row each: the label in the fixed column, the
// value beside it. TqmxUserData loads them from the registry when it is made
// and stores them when it goes.
//
// This is the installer's build, on the class library's plain string grid:
// the values reach the registry only when the grid is destroyed.
//
// Unit start: InitQmxUserDataUnit registers both classes for forms; a program
// starts it after the grids unit.
#pragma once

#include "classlib/Grids.h"

constexpr int UserDataCount = 14;
// The rows' labels, which are also the names of the stored values.
extern const char* const UserDataLabels[UserDataCount];
// Below HKEY_CURRENT_USER.
extern const char* const UserDataKey;

// Lays the grid out and puts in the labels; row 14 is a spare row that is
// never loaded or stored.
class TqmxUserInfo : public TStringGrid {
public:
    explicit TqmxUserInfo(TComponent* owner);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

class TqmxUserData : public TqmxUserInfo {
public:
    explicit TqmxUserData(TComponent* owner);
    ~TqmxUserData() override;

    // Rows 0 to 13 from the registry / into it, every value every time.
    void LoadData();
    void SaveData();

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

void InitQmxUserDataUnit();

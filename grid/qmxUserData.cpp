#include "grid/qmxUserData.h"

#include "classlib/TypInfo.h"
#include "common/QmxReg.h"

const char* const UserDataLabels[UserDataCount] = {
    "Imię", "Nazwisko", "Firma", "Adres", "Kod",         "Miasto", "E-mail",
    "WWW",  "Telefon",  "Faks",  "Bank",  "Numer konta", "NIP",    "Regon",
};

const char* const UserDataKey = "Software\\QMX\\Dane użytkownika";

TqmxUserInfo::TqmxUserInfo(TComponent* owner) : TStringGrid(owner)
{
    SetRowCount(UserDataCount + 1);
    SetColCount(2);
    SetColWidths(0, 80);
    SetColWidths(1, Width() - ColWidths(0) - 16);
    SetOptions(Options() | goEditing | goTabs | goThumbTracking | goAlwaysShowEditor);
    SetFixedRows(0);
    SetFixedCols(1);
    for (int row = 0; row < UserDataCount; ++row)
        SetCells(0, row, UserDataLabels[row]);
    SetDefaultRowHeight(17);
}

const TClassInfo* TqmxUserInfo::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TqmxUserInfo::StaticClass()
{
    static const TClassInfo info("TqmxUserInfo", &TStringGrid::StaticClass(), &NewComponent<TqmxUserInfo>);
    return info;
}

TqmxUserData::TqmxUserData(TComponent* owner) : TqmxUserInfo(owner)
{
    LoadData();
}

TqmxUserData::~TqmxUserData()
{
    SaveData();
}

void TqmxUserData::LoadData()
{
    for (int row = 0; row < UserDataCount; ++row) {
        std::string value;
        ReadRegValue(1, UserDataKey, UserDataLabels[row], value, "");
        SetCells(1, row, value);
    }
}

void TqmxUserData::SaveData()
{
    for (int row = 0; row < UserDataCount; ++row)
        WriteRegString(1, UserDataKey, UserDataLabels[row], Cells(1, row));
}

const TClassInfo* TqmxUserData::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TqmxUserData::StaticClass()
{
    static const TClassInfo info("TqmxUserData", &TqmxUserInfo::StaticClass(), &NewComponent<TqmxUserData>);
    return info;
}

void InitQmxUserDataUnit()
{
    RegisterComponentClass(TqmxUserInfo::StaticClass());
    RegisterComponentClass(TqmxUserData::StaticClass());
}

#include "grid/qmxUserData.h"

#include <windows.h>

#include <cwchar>

#include "classlib/SysUtils.h"
#include "classlib/TypInfo.h"
#include "common/QmxReg.h"

const char* const UserDataLabels[UserDataCount] = {
    "Imię", "Nazwisko", "Firma", "Adres", "Kod",         "Miasto", "E-mail",
    "WWW",  "Telefon",  "Faks",  "Bank",  "Numer konta", "NIP",    "Regon",
};

const char* const UserDataKey = "Software\\QMX\\Dane użytkownika";

namespace {

// Whether the text survives the program's code page as it is.
bool FitsCodePage(const std::wstring& text)
{
    return AnsiToWide(WideToAnsi(text.data(), text.size())) == text;
}

// Whether the cell cannot hold the value as stored: a form the registry
// routines read as a stand-in (an expandable or multiple string, binary
// data, ...), or a string the cell shows only in part: characters outside
// the code page (read as look-alikes or "?"), characters after a zero, or a
// last half character. Only strings and 32-bit numbers read as what they
// hold.
bool CellCannotHold(const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, AnsiToWide(UserDataKey).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const std::wstring value = AnsiToWide(name);
    DWORD type = REG_NONE, size = 0;
    LONG result = RegQueryValueExW(key, value.c_str(), nullptr, &type, nullptr, &size);
    bool cannot = result == ERROR_SUCCESS && type != REG_SZ && type != REG_DWORD;
    if (result == ERROR_SUCCESS && type == REG_SZ && size > 0) {
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        result = RegQueryValueExW(key, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
        const size_t shown = wcsnlen(text.data(), text.size());
        // Zeros after the text (its end and any padding) lose nothing.
        const bool beyond = text.find_first_not_of(L'\0', shown) != std::wstring::npos;
        text.resize(shown);
        cannot = result == ERROR_SUCCESS && (size % sizeof(wchar_t) != 0 || beyond || !FitsCodePage(text));
    }
    RegCloseKey(key);
    return cannot;
}

} // namespace

TqmxUserInfo::TqmxUserInfo(TComponent* owner) : TqmxUserDataBase(owner)
{
    SetRowCount(UserDataCount + 1);
    SetColCount(2);
    SetColWidths(0, 80);
    SetColWidths(1, Width() - ColWidths(0) - 16);
#ifdef QMX_USERDATA_ADVGRID
    SetOptions(Options() | goEditing | goTabs | goThumbTracking);
    Navigation()->AdvanceOnEnter = true;
    Navigation()->AdvanceDirection = adTopBottom;
#else
    // The installer's grid has its editor open as soon as it has the focus.
    SetOptions(Options() | goEditing | goTabs | goThumbTracking | goAlwaysShowEditor);
#endif
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
    static const TClassInfo info("TqmxUserInfo", &TqmxUserDataBase::StaticClass(), &NewComponent<TqmxUserInfo>);
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
        loaded_[row] = value;
        foreign_[row] = CellCannotHold(UserDataLabels[row]);
        SetCells(1, row, value);
    }
}

void TqmxUserData::SaveData()
{
    for (int row = 0; row < UserDataCount; ++row) {
        const std::string value = Cells(1, row);
        if (foreign_[row] && value == loaded_[row])
            continue;
        WriteRegString(1, UserDataKey, UserDataLabels[row], value);
        foreign_[row] = false;
    }
}

#ifdef QMX_USERDATA_ADVGRID
bool TqmxUserData::ValidateCell(const std::string& Value)
{
    try {
        SaveData();
    } catch (...) {
        // Storing may fail; the cell's own validation runs all the same.
    }
    return TqmxUserInfo::ValidateCell(Value);
}
#endif

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

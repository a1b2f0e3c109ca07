// The installer's personal-data grid: 14 values loaded when it is made and
// stored when it goes, nothing in between and nothing for the spare row.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "common/QmxReg.h"
#include "grid/qmxUserData.h"

namespace {

std::string Stored(const char* name)
{
    std::string value;
    ReadRegValue(1, UserDataKey, name, value, "<brak klucza>");
    return value;
}

} // namespace

TEST(UserData, NoKeyGivesEmptyCellsAndTheGridStoresAllFourteen)
{
    DeleteRegKey(1, UserDataKey);
    auto* grid = new TqmxUserData(nullptr);
    EXPECT_EQ(grid->RowCount(), 15);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->FixedCols(), 1);
    EXPECT_EQ(grid->FixedRows(), 0);
    EXPECT_EQ(grid->ColWidths(0), 80);
    EXPECT_EQ(grid->DefaultRowHeight(), 17);
    EXPECT_TRUE(grid->Options() & goEditing);
    EXPECT_TRUE(grid->Options() & goAlwaysShowEditor);
    for (int row = 0; row < UserDataCount; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(grid->Cells(0, row), UserDataLabels[row]);
        EXPECT_EQ(grid->Cells(1, row), "");
    }
    EXPECT_EQ(grid->Cells(0, 14), "");

    grid->SetCells(1, 0, "Jan ");
    grid->SetCells(1, 12, "123-456-32-18");
    grid->SetCells(1, 14, "zapasowy");
    EXPECT_EQ(Stored("Imię"), "<brak klucza>") << "stored before the grid went";
    delete grid;

    EXPECT_EQ(Stored("Imię"), "Jan ");
    EXPECT_EQ(Stored("NIP"), "123-456-32-18");
    EXPECT_EQ(Stored("Regon"), "");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, UserDataKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(values, 14u);
    DeleteRegKey(1, UserDataKey);
}

TEST(UserData, NumberStoredByAnotherProgramComesBackAsText)
{
    DeleteRegKey(1, UserDataKey);
    WriteRegString(1, UserDataKey, "Nazwisko", "Kowalski");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, UserDataKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const DWORD kod = 31042;
    RegSetValueExA(key, "Kod", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&kod), sizeof kod);
    RegCloseKey(key);

    auto* grid = new TqmxUserData(nullptr);
    EXPECT_EQ(grid->Cells(1, 1), "Kowalski");
    EXPECT_EQ(grid->Cells(1, 4), "31042");
    delete grid;

    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, UserDataKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    RegQueryValueExA(key, "Kod", nullptr, &type, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Stored("Kod"), "31042");
    DeleteRegKey(1, UserDataKey);
}

TEST(UserData, AValueOfAnotherTypeIsNotOverwrittenByItsStandIn)
{
    DeleteRegKey(1, UserDataKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, UserDataKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char expandable[] = "%USERPROFILE%\\dom";
    RegSetValueExA(key, "Adres", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expandable), sizeof expandable);
    const char multi[] = "a\0b\0";
    RegSetValueExA(key, "Firma", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi);
    RegCloseKey(key);

    auto* grid = new TqmxUserData(nullptr);
    EXPECT_EQ(grid->Cells(1, 3), "*** ext string ***");
    grid->SetCells(1, 2, "Firma Sp. z o.o.");  // typed over: the user's text is stored
    delete grid;

    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, UserDataKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    RegQueryValueExA(key, "Adres", nullptr, &type, nullptr, nullptr);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ)) << "the loaded stand-in is not written back";
    RegQueryValueExA(key, "Firma", nullptr, &type, nullptr, nullptr);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    RegCloseKey(key);
    EXPECT_EQ(Stored("Firma"), "Firma Sp. z o.o.");
    DeleteRegKey(1, UserDataKey);
}

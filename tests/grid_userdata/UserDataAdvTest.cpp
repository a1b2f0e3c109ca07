// The organizer's personal-data grid: every Enter in an edited value stores
// all 14 values and moves down; row 14 is never stored; values other
// programs keep in other forms survive an Enter elsewhere.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/QmxReg.h"
#include "grid/qmxUserData.h"
#include "tests/common_reg/RegTestUtil.h"
#include "tests/classlib_listgrid/TestForm.h"

namespace {

std::string Stored(const char* name)
{
    std::string value;
    ReadRegValue(1, UserDataKey, name, value, "<brak klucza>");
    return value;
}

DWORD StoredType(const char* name)
{
    return RawValueType(HKEY_CURRENT_USER, UserDataKey, name);
}

void SetRaw(const char* name, DWORD type, const void* data, DWORD size)
{
    SetRawValue(HKEY_CURRENT_USER, UserDataKey, name, type, data, size);
}

class AdvUserData : public testing::Test {
protected:
    void SetUp() override
    {
        TestForm();
        DeleteRegKey(1, UserDataKey);
    }
    void TearDown() override
    {
        delete grid;
        DeleteRegKey(1, UserDataKey);
    }
    void Make()
    {
        grid = new TqmxUserData(TestForm());
        grid->SetBounds(10, 10, 340, 260);
        grid->SetParent(TestForm());
        FocusWindow(grid->Handle());
    }
    void Type(const std::string& text)
    {
        for (char c : text) {
            PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
            PumpMessages(10);
        }
    }
    void Enter() { PressKey(VK_RETURN); }
    void Go(int row)
    {
        grid->SetRow(row);
        PumpMessages(10);
    }
    TqmxUserData* grid = nullptr;
};

} // namespace

TEST_F(AdvUserData, LaidOutForTheFourteenValues)
{
    Make();
    EXPECT_EQ(grid->RowCount(), 15);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->FixedCols(), 1);
    EXPECT_EQ(grid->FixedRows(), 0);
    EXPECT_EQ(grid->ColWidths(0), 80);
    EXPECT_EQ(grid->DefaultRowHeight(), 17);
    EXPECT_TRUE(grid->Options() & goEditing);
    EXPECT_FALSE(grid->Options() & goAlwaysShowEditor);
    EXPECT_TRUE(grid->Navigation()->AdvanceOnEnter);
    EXPECT_EQ(grid->Navigation()->AdvanceDirection, adTopBottom);
    EXPECT_EQ(grid->Cells(0, 13), "Regon");
}

TEST_F(AdvUserData, EnterStoresAllFourteenAndMovesDown)
{
    Make();
    Go(0);
    Type("Jan");
    EXPECT_EQ(Stored("Imię"), "<brak klucza>") << "nothing before the Enter";
    Enter();
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(Stored("Imię"), "Jan");
    EXPECT_EQ(Stored("Regon"), "") << "all 14, empty ones too";
    Go(13);
    Type("123");
    Enter();
    EXPECT_EQ(grid->Row(), 14);
    EXPECT_EQ(Stored("Regon"), "123");
    Type("zapas");
    Enter();
    EXPECT_EQ(grid->Row(), 0) << "from the spare row back to the first";
    EXPECT_EQ(RawValueCount(HKEY_CURRENT_USER, UserDataKey), 14u) << "row 14 is never stored";
}

TEST_F(AdvUserData, OtherFormsSurviveAnEnterElsewhere)
{
    const char expandable[] = "%USERPROFILE%\\dom";
    SetRaw("Adres", REG_EXPAND_SZ, expandable, sizeof expandable);
    const DWORD number = 42;
    SetRaw("Kod", REG_DWORD, &number, sizeof number);
    Make();
    EXPECT_EQ(grid->Cells(1, 3), "*** ext string ***");
    EXPECT_EQ(grid->Cells(1, 4), "42");
    Go(5);
    Type("Łódź");
    Enter();
    EXPECT_EQ(Stored("Miasto"), "Łódź");
    EXPECT_EQ(StoredType("Adres"), DWORD(REG_EXPAND_SZ)) << "the loaded stand-in is not written back";
    EXPECT_EQ(StoredType("Kod"), DWORD(REG_SZ)) << "a number comes back as a string";
    EXPECT_EQ(Stored("Kod"), "42");
    // Typed over, it is the user's text and is stored.
    Go(3);
    Type("ul. Długa 1");
    Enter();
    EXPECT_EQ(StoredType("Adres"), DWORD(REG_SZ));
    EXPECT_EQ(Stored("Adres"), "ul. Długa 1");
}

// Strings another program stored that a cell cannot show whole: letters the
// code page lacks (read as look-alikes), text after an embedded zero, a
// last half character. Each is stored back as the cell shows it only once
// the user types over it.
TEST_F(AdvUserData, AValueOutsideTheCodePageIsKeptUntilTypedOver)
{
    static const wchar_t foreign[] = L"S\u00F8rensen \u0416";
    static const wchar_t zero[] = L"abc\0def";
    static const wchar_t odd[] = L"abc";
    struct {
        const char* name;  // ASCII
        int row;
        const wchar_t* data;
        DWORD size;  // bytes
    } cases[] = {
        {"Nazwisko", 1, foreign, sizeof foreign},
        {"Adres", 3, zero, sizeof zero},
        {"Kod", 4, odd, 5},
    };
    wchar_t key[128];
    MultiByteToWideChar(CP_ACP, 0, UserDataKey, -1, key, 128);
    // The value's bytes as the registry holds them.
    auto raw = [&](const std::string& ascii) {
        const std::wstring name(ascii.begin(), ascii.end());
        HKEY k = nullptr;
        BYTE data[256] = {};
        DWORD size = sizeof data;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &k) == ERROR_SUCCESS) {
            if (RegQueryValueExW(k, name.c_str(), nullptr, nullptr, data, &size) != ERROR_SUCCESS)
                size = 0;
            RegCloseKey(k);
        }
        return std::string(reinterpret_cast<char*>(data), size);
    };
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    for (const auto& c : cases)
        RegSetValueExW(k, std::wstring(c.name, c.name + strlen(c.name)).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(c.data), c.size);
    RegCloseKey(k);
    SetRaw("Firma", REG_SZ, "Łódź", 5);

    Make();
    EXPECT_NE(grid->Cells(1, 1), "") << "shown as the code page can";
    EXPECT_EQ(grid->Cells(1, 3), "abc") << "up to the zero";
    Go(5);
    Type("Gdańsk");
    Enter();
    EXPECT_EQ(Stored("Miasto"), "Gdańsk");
    for (const auto& c : cases)
        EXPECT_EQ(raw(c.name), std::string(reinterpret_cast<const char*>(c.data), c.size))
            << "an Enter elsewhere: row " << c.row;
    delete grid;
    grid = nullptr;
    for (const auto& c : cases)
        EXPECT_EQ(raw(c.name), std::string(reinterpret_cast<const char*>(c.data), c.size))
            << "and closing: row " << c.row;
    EXPECT_EQ(Stored("Firma"), "Łódź");

    Make();
    for (const auto& c : cases) {
        Go(c.row);
        Type("Nowak");
        Enter();
        EXPECT_EQ(Stored(c.name), "Nowak") << "typed over, it is the user's text: row " << c.row;
    }
}

TEST_F(AdvUserData, AClickElsewhereAndDestructionStore)
{
    Make();
    Go(1);
    Type("Nowak");
    Go(6);  // as a click on another cell
    EXPECT_EQ(Stored("Nazwisko"), "Nowak");
    Type("jan@example.pl");
    delete grid;
    grid = nullptr;
    EXPECT_EQ(Stored("E-mail"), "jan@example.pl");
}

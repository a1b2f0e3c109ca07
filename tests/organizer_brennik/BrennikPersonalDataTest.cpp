// Page 1 of brennik.exe, the personal data, driven through its window: the
// values stored by others show, each Enter stores all 14 while the program
// runs, and a click elsewhere, a page change and closing store too.
#include <windows.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "classlib/Graphics.h"
#include "classlib/SysUtils.h"
#include "common/QmxReg.h"
#include "tests/organizer_brennik/BrennikCopy.h"

namespace {

const char DataKey[] = "Software\\QMX\\Dane użytkownika";

std::string Stored(const char* name)
{
    std::string value;
    ReadRegValue(1, DataKey, name, value, "<brak klucza>");
    return value;
}

DWORD StoredType(const char* name)
{
    return RawValueType(HKEY_CURRENT_USER, DataKey, name);
}

using BrennikPersonalData = BrennikCopy;

TEST_F(BrennikPersonalData, EditedAndStoredThroughPageOne)
{
    SetRawString(HKEY_CURRENT_USER, DataKey, "Imię", "Anna");
    const char home[] = "%USERPROFILE%\\dom";
    SetRawValue(HKEY_CURRENT_USER, DataKey, "Adres", REG_EXPAND_SZ, home, sizeof home);
    const DWORD code = 12345;
    SetRawValue(HKEY_CURRENT_USER, DataKey, "Kod", REG_DWORD, &code, sizeof code);

    TUiProcess& app = Start();
    app.SetProperty("eMain", "nb", "PageIndex", "1");
    TUiComponent grid = app.Component("eMain", "qmxUserData1");
    EXPECT_EQ(grid.Value("Cells[0,0]"), "Imię");
    EXPECT_EQ(grid.Value("Cells[1,0]"), "Anna");
    EXPECT_EQ(grid.Value("Cells[1,3]"), "*** ext string ***");
    EXPECT_EQ(grid.Value("Cells[1,4]"), "12345");

    // Row 0: typed over, Enter stores all 14 and moves to the next value.
    app.SetProperty("eMain", "qmxUserData1", "Row", "0");
    app.Keys("eMain", "qmxUserData1", "Ewa{Enter}");
    EXPECT_EQ(Stored("Imię"), "Ewa");
    EXPECT_EQ(Stored("Regon"), "");
    EXPECT_EQ(StoredType("Kod"), DWORD(REG_SZ)) << "a number comes back as a string";
    EXPECT_EQ(Stored("Kod"), "12345");
    EXPECT_EQ(StoredType("Adres"), DWORD(REG_EXPAND_SZ)) << "another program's value stays";
    EXPECT_EQ(app.Component("eMain", "qmxUserData1").Value("Row"), "1");

    app.SetProperty("eMain", "qmxUserData1", "Row", "5");
    app.Keys("eMain", "qmxUserData1", "Kraków{Enter}");
    EXPECT_EQ(Stored("Miasto"), "Kraków");
    EXPECT_EQ(app.Component("eMain", "qmxUserData1").Value("Row"), "6");

    app.SetProperty("eMain", "qmxUserData1", "Row", "14");
    app.Keys("eMain", "qmxUserData1", "zapas{Enter}");
    EXPECT_EQ(app.Component("eMain", "qmxUserData1").Value("Row"), "0") << "the spare row wraps to the first";

    // A click on another cell stores what was typed.
    app.SetProperty("eMain", "qmxUserData1", "Row", "6");
    app.Keys("eMain", "qmxUserData1", "ewa@example.pl");
    EXPECT_EQ(Stored("E-mail"), "");
    app.SetProperty("eMain", "qmxUserData1", "Row", "8");
    EXPECT_EQ(Stored("E-mail"), "ewa@example.pl");

    // A page change too.
    app.Keys("eMain", "qmxUserData1", "600 100 200");
    app.SetProperty("eMain", "nb", "PageIndex", "3");
    app.Sync();
    EXPECT_EQ(Stored("Telefon"), "600 100 200");

    // And closing the program.
    app.SetProperty("eMain", "nb", "PageIndex", "1");
    app.SetProperty("eMain", "qmxUserData1", "Row", "10");
    app.Keys("eMain", "qmxUserData1", "Bank Polski");
    Close();
    EXPECT_EQ(Stored("Bank"), "Bank Polski");
    EXPECT_EQ(StoredType("Adres"), DWORD(REG_EXPAND_SZ));
    EXPECT_EQ(RawValueCount(HKEY_CURRENT_USER, DataKey), 14u) << "the spare row is never stored";
}

// The page as a person sees it: labels on the fixed colour, values on the
// window colour, the value column stretched to the grid's width, and the
// cell clicked into in the grid's colours with the focus frame.
TEST_F(BrennikPersonalData, PictureOfPageOne)
{
    SetRawString(HKEY_CURRENT_USER, DataKey, "Imię", "Jan");
    SetRawString(HKEY_CURRENT_USER, DataKey, "Nazwisko", "Kowalski");
    TUiProcess& app = Start();
    app.SetProperty("eMain", "nb", "PageIndex", "1");
    app.Sync();
    const TUiComponent grid = app.Component("eMain", "qmxUserData1");
    HWND wnd = grid.Handle();
    ASSERT_NE(wnd, nullptr);
    // Into the surname's value: the grid has the focus, that cell is current.
    const int rowPitch = 17 + 1;
    app.ClickAt("eMain", "qmxUserData1", 120, rowPitch + 8);
    app.Sync();
    EXPECT_EQ(app.Component("eMain", "qmxUserData1").Value("Row"), "1");
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    app.Sync();
    // Read off the screen: another process's window draws nothing into a
    // device context of this one.
    RECT client;
    GetClientRect(wnd, &client);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    TBitmap picture(client.right, client.bottom, pf24bit);
    HDC dc = GetDC(nullptr);
    BitBlt(picture.Canvas()->Handle(), 0, 0, client.right, client.bottom, dc, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, dc);
    SavePicture(picture, temp_.Path(), "brennik-dane-osobowe.png");
    const TColor face = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
    const TColor window = static_cast<TColor>(GetSysColor(COLOR_WINDOW));
    const TColor highlight = static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT));
    const TColor ink = static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT));
    // Row 10, well away from the current cell: the label on the fixed
    // colour, the value on the window colour.
    const int y = 10 * rowPitch + 12;
    EXPECT_EQ(picture.Canvas()->Pixels(75, y), face);
    // The value column reaches the right edge: no line ends it in view (as
    // the constructor left it, 224 wide, its line would stand at 305).
    ASSERT_GT(client.right, 306);
    for (int x = 82; x < client.right; ++x)
        ASSERT_EQ(picture.Canvas()->Pixels(x, y), window) << x;
    // The current cell: "Kowalski" in the window text on the window colour.
    int inked = 0, highlighted = 0;
    for (int py = rowPitch + 2; py < 2 * rowPitch - 3; ++py)
        for (int px = 83; px < client.right - 3; ++px) {
            const TColor p = picture.Canvas()->Pixels(px, py);
            inked += p == ink;
            highlighted += p == highlight;
        }
    EXPECT_EQ(picture.Canvas()->Pixels(client.right - 4, rowPitch + 12), window);
    EXPECT_GT(inked, 0);
    EXPECT_EQ(highlighted, 0);
    Close();
}

// The wheel over the grid moves the current row by the system's lines a
// notch (the grid's own step, once), and stops at the last row, the spare.
TEST_F(BrennikPersonalData, TheWheelMovesTheRowByTheSystemsLines)
{
    UINT lines = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    ASSERT_GT(lines, 0u);
    ASSERT_LT(lines, 14u);
    TUiProcess& app = Start();
    app.SetProperty("eMain", "nb", "PageIndex", "1");
    app.SetProperty("eMain", "qmxUserData1", "Row", "0");
    HWND wnd = app.Component("eMain", "qmxUserData1").Handle();
    ASSERT_NE(wnd, nullptr);
    POINT p{60, 40};
    ClientToScreen(wnd, &p);
    auto notch = [&] {
        PostMessageA(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(p.x, p.y));
        app.Sync();
        return std::stoi(app.Component("eMain", "qmxUserData1").Value("Row"));
    };
    int expected = 0;
    while (expected < 14) {
        expected = std::min<int>(expected + static_cast<int>(lines), 14);
        EXPECT_EQ(notch(), expected);
    }
    EXPECT_EQ(notch(), 14) << "the last row stops it";
    PostMessageA(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(p.x, p.y));
    app.Sync();
    EXPECT_EQ(app.Component("eMain", "qmxUserData1").Value("Row"), std::to_string(14 - lines));
    Close();
}

} // namespace

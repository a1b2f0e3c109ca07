// The grid's scrolling: the flat scroll bars through a recorder of the
// library's calls (and the system's own bars where it keeps one bar for
// both), the position hint, the wheel and zoom, the wheel's detection on
// older systems, panning, and the grid's cursors and pan marks.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "grid/AdvFlatSB.h"
#include "tests/grid_core/GridFixture.h"

namespace {

// The library's flat-bar calls, written down; found or not as told.
struct TRecordedCalls : TFlatScrollBarCalls {
    bool found = true;
    std::vector<std::string> log;
    SCROLLINFO vert{}, horz{};

    bool InitializeFlatSB(HWND) override { return Note("init"); }
    bool UninitializeFlatSB(HWND) override { return Note("done"); }
    bool SetScrollProp(HWND, UINT index, int value, bool) override
    {
        return Note("prop " + std::to_string(index) + "=" + std::to_string(value));
    }
    bool ShowScrollBar(HWND, int bar, bool show) override
    {
        return Note(std::string("show ") + (bar == SB_VERT ? "v" : "h") + (show ? " on" : " off"));
    }
    bool SetScrollInfo(HWND, int bar, const SCROLLINFO& info, bool) override
    {
        (bar == SB_VERT ? vert : horz) = info;
        return Note(std::string("thumb ") + (bar == SB_VERT ? "v " : "h ") + std::to_string(info.nMin) + "-" +
                    std::to_string(info.nMax) + " page " + std::to_string(info.nPage) + " at " +
                    std::to_string(info.nPos));
    }
    bool Note(const std::string& call)
    {
        if (found)
            log.push_back(call);
        return found;
    }
    std::string Joined() const
    {
        std::string s;
        for (const std::string& call : log)
            s += (s.empty() ? "" : ", ") + call;
        return s;
    }
};

// The system as the wheel detection reads it, set by each test.
OSVERSIONINFOA testVersion{};
UINT testLines = 3;
void TestVersion(OSVERSIONINFOA& info)
{
    info = testVersion;
}
UINT TestLines()
{
    return testLines;
}

OSVERSIONINFOA Version(DWORD platform, DWORD major, DWORD minor)
{
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    v.dwPlatformId = platform;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    return v;
}

// Rows of 21 pixels and a line: a client area of n rows.
constexpr int RowPitch = 22;

class Scrolling : public testing::Test {
protected:
    void SetUp() override
    {
        TestForm();
        oldCalls = SetFlatScrollBarCalls(&calls);
        testVersion = Version(VER_PLATFORM_WIN32_NT, 6, 1);
        testLines = 3;
        oldSystem = TAdvStringGrid::SetWheelSystem({&TestVersion, &TestLines});
    }
    void TearDown() override
    {
        delete grid;
        SetFlatScrollBarCalls(oldCalls);
        TAdvStringGrid::SetWheelSystem(oldSystem);
    }
    // A grid of 2 columns that fit and rows of which `visible` data rows
    // show fully below `fixed` fixed rows.
    void Make(int rows, int visible, int fixed = 0)
    {
        grid = MakeGrid(2, rows);
        grid->SetFixedCols(0);
        grid->SetFixedRows(fixed);
        grid->SetScrollBars(ssVertical);
        grid->SetColWidths(0, 100);
        grid->SetColWidths(1, 100);
        const int border = grid->Height() - grid->ClientHeight();
        grid->SetHeight((visible + fixed) * RowPitch + border + RowPitch / 2);
        ASSERT_EQ(grid->VisibleRowCount(), visible);
    }
    void Scroll(UINT code, int position = 0, bool horizontal = false)
    {
        SendMessageA(grid->Handle(), horizontal ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, position), 0);
    }
    void Wheel(int delta, bool ctrl = false)
    {
        POINT p{20, 20};
        ClientToScreen(grid->Handle(), &p);
        PostMessageA(grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(ctrl ? MK_CONTROL : 0, delta), MAKELPARAM(p.x, p.y));
        Application->ProcessMessages();
    }

    TRecordedCalls calls;
    TFlatScrollBarCalls* oldCalls = nullptr;
    TAdvStringGrid::TWheelSystem oldSystem;
    TAdvStringGrid* grid = nullptr;
};

// ---------------------------------------------------------------------------
// Flat scroll bars

TEST_F(Scrolling, ProportionalBarsTakeTheSettingsAndAThumbAsLargeAsTheView)
{
    const struct {
        TScrollType type;
        TColor color;
        const char* calls;
    } cases[] = {
        {ssNormal, clNone, "init, prop 256=0, prop 512=0, prop 8=17, prop 4=17, show v on, thumb v 0-127 page 26 at 0"},
        {ssFlat, clRed, "init, prop 256=2, prop 512=2, prop 64=255, prop 128=255, prop 8=17, prop 4=17, "
                        "show v on, thumb v 0-127 page 26 at 0"},
        {ssEncarta, clNone, "init, prop 256=1, prop 512=1, prop 8=17, prop 4=17, show v on, thumb v 0-127 page 26 at 0"},
    };
    for (const auto& c : cases) {
        Make(100, 20);
        grid->SetScrollType(c.type);
        grid->SetScrollColor(c.color);
        grid->SetScrollWidth(17);
        EXPECT_EQ(calls.Joined(), "") << "nothing reaches the library before the bars are on";
        grid->SetScrollProportional(true);
        EXPECT_TRUE(grid->FlatScrollBarsOn());
        EXPECT_EQ(calls.Joined(), c.calls) << "type " << c.type;
        calls.log.clear();
        delete grid;
        grid = nullptr;
    }
}

TEST_F(Scrolling, TheThumbFollowsThePlatformsPositionWithoutDrifting)
{
    Make(100, 20);
    grid->SetScrollProportional(true);
    Scroll(SB_BOTTOM);
    EXPECT_EQ(calls.vert.nPos, 102) << "127 of the platform is the end of a bar with a page of 26";
    for (int i = 0; i < 3; ++i)
        Scroll(SB_ENDSCROLL);
    EXPECT_EQ(calls.vert.nPos, 102) << "each update starts from the platform's position";
    Scroll(SB_TOP);
    EXPECT_EQ(calls.vert.nPos, 0);
    // The row count and the size decide the page again.
    grid->SetRowCount(40);
    EXPECT_EQ(calls.vert.nPage, 64u);
    grid->SetHeight(grid->Height() + 10 * RowPitch);
    EXPECT_EQ(calls.vert.nPage, 96u);
}

TEST_F(Scrolling, AThumbPositionIsTranslatedBackToThePlatformsRange)
{
    Make(100, 20);
    grid->SetScrollProportional(true);
    Scroll(SB_THUMBPOSITION, 102);
    EXPECT_EQ(grid->TopRow(), 80) << "the end of the flat bar is the last page";
    Scroll(SB_THUMBPOSITION, 51);
    EXPECT_EQ(grid->TopRow(), 40) << "(102 / 2) x 127 / 102 = 63.5 of 127 over 80 rows";
}

TEST_F(Scrolling, TheHorizontalBarCountsColumns)
{
    grid = MakeGrid(40, 2);
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->SetScrollBars(ssHorizontal);
    for (int c = 0; c < 40; ++c)
        grid->SetColWidths(c, 49);
    const int border = grid->Width() - grid->ClientWidth();
    grid->SetWidth(8 * 50 + 25 + border);
    ASSERT_EQ(grid->VisibleColCount(), 8);
    grid->SetScrollProportional(true);
    EXPECT_EQ(calls.log.back(), "thumb h 0-127 page 26 at 0") << calls.Joined();
    EXPECT_EQ(calls.Joined().find("show v"), std::string::npos) << "the vertical bar is not the grid's";
    Scroll(SB_THUMBPOSITION, 102, true);
    EXPECT_EQ(grid->LeftCol(), 32);
    EXPECT_EQ(calls.horz.nPos, 102);
}

TEST_F(Scrolling, EverythingInViewGivesAFullPageAndNoDivisionByZero)
{
    Make(5, 5);
    grid->SetScrollBars(ssBoth);
    grid->SetScrollProportional(true);
    EXPECT_EQ(calls.Joined().find("show"), std::string::npos) << calls.Joined();
    grid->UpdateVertThumb();
    EXPECT_EQ(calls.vert.nPage, 128u);
    Scroll(SB_THUMBPOSITION, 60);
    EXPECT_EQ(grid->TopRow(), 0);
}

TEST_F(Scrolling, SwitchedOffTheBarsGoBackToThePlatform)
{
    Make(100, 20);
    grid->SetScrollProportional(true);
    calls.log.clear();
    grid->SetScrollProportional(false);
    EXPECT_FALSE(grid->FlatScrollBarsOn());
    EXPECT_EQ(calls.Joined(), "done");
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_PAGE;
    GetScrollInfo(grid->Handle(), SB_VERT, &info);
    EXPECT_EQ(info.nPage, 0u);
    // Settings and scrolls no longer reach the library.
    grid->SetScrollType(ssFlat);
    grid->SetScrollColor(clBlue);
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(calls.Joined(), "done");
}

TEST_F(Scrolling, WithoutTheLibrarysEntryPointsThePlatformsBarsStay)
{
    calls.found = false;
    Make(100, 20);
    grid->SetScrollProportional(true);
    EXPECT_FALSE(grid->FlatScrollBarsOn());
    Scroll(SB_BOTTOM);
    EXPECT_EQ(grid->TopRow(), 80);
}

TEST_F(Scrolling, AWindowMadeAgainTakesTheFlatBarsAgain)
{
    grid = new TAdvStringGrid(TestForm());
    grid->SetRowCount(100);
    grid->SetScrollProportional(true);
    EXPECT_EQ(calls.Joined(), "") << "no window yet";
    grid->SetParent(TestForm());
    grid->HandleNeeded();
    EXPECT_TRUE(grid->FlatScrollBarsOn());
    EXPECT_EQ(calls.log.front(), "init");
}

// Here the flat calls reach the system's bar: what the grid gives it shows
// in the standard bar's information.
TEST_F(Scrolling, TheSystemsBarShowsTheProportionalThumb)
{
    SetFlatScrollBarCalls(nullptr);
    if (!GetModuleHandleA("comctl32.dll"))
        GTEST_SKIP() << "no common-controls library loaded";
    Make(100, 20);
    grid->SetScrollProportional(true);
    ASSERT_TRUE(grid->FlatScrollBarsOn());
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(grid->Handle(), SB_VERT, &info);
    if (info.nPage == 0)
        GTEST_SKIP() << "flat bars of their own: the standard bar is not theirs";
    EXPECT_EQ(info.nPage, 26u);
    EXPECT_EQ(info.nMax, 127);
    Scroll(SB_PAGEDOWN);
    Scroll(SB_ENDSCROLL);
    GetScrollInfo(grid->Handle(), SB_VERT, &info);
    EXPECT_EQ(info.nPos, MulDiv(102, MulDiv(20, 127, 80), 127));
}

// ---------------------------------------------------------------------------
// The position hint

THintWindow* HintOf(TAdvStringGrid* grid)
{
    for (int i = 0; i < grid->ComponentCount(); ++i)
        if (auto* hint = dynamic_cast<THintWindow*>(grid->Components(i)))
            return hint;
    return nullptr;
}

bool Showing(THintWindow* hint)
{
    return hint->HandleAllocated() && IsWindowVisible(hint->Handle());
}

struct HintChanger {
    int value = -1;
    void Changed(TObject*, int v, std::string& text)
    {
        value = v;
        text += " z 101";
    }
};

TEST_F(Scrolling, TheHintShowsTheRowTheThumbPointsAt)
{
    Make(101, 21, 1);
    THintWindow* hint = HintOf(grid);
    ASSERT_NE(hint, nullptr);
    grid->SetScrollHints(shVertical);
    grid->SetHintColor(clAqua);
    Scroll(SB_THUMBTRACK, 127);
    EXPECT_TRUE(Showing(hint));
    EXPECT_EQ(hint->Text(), "Row : 80");
    EXPECT_EQ(hint->Color(), clAqua);
    POINT cursor;
    GetCursorPos(&cursor);
    RECT r;
    GetWindowRect(hint->Handle(), &r);
    if (cursor.x + 10 + (r.right - r.left) <= GetSystemMetrics(SM_CXSCREEN)) {
        EXPECT_EQ(r.left, cursor.x + 10);
    }
    if (cursor.y + (r.bottom - r.top) <= GetSystemMetrics(SM_CYSCREEN)) {
        EXPECT_EQ(r.top, cursor.y) << "at the pointer's height";
    }
    EXPECT_LE(r.right - r.left, 100 + 6) << "at most 100 pixels of text";
    Scroll(SB_THUMBTRACK, 0);
    EXPECT_EQ(hint->Text(), "Row : 1");

    HintChanger changer;
    grid->OnScrollHint = TScrollHintEvent(&changer, &HintChanger::Changed);
    Scroll(SB_THUMBTRACK, 64);
    EXPECT_EQ(changer.value, 41);
    EXPECT_EQ(hint->Text(), "Row : 41 z 101");

    Scroll(SB_ENDSCROLL);
    EXPECT_FALSE(Showing(hint));
}

TEST_F(Scrolling, EachBarHasItsOwnHint)
{
    const struct {
        TScrollHintType hints;
        bool vertical, horizontal;
    } cases[] = {
        {shNone, false, false}, {shVertical, true, false}, {shHorizontal, false, true}, {shBoth, true, true}};
    for (const auto& c : cases) {
        Make(101, 21, 1);
        grid->SetColCount(30);
        grid->SetScrollHints(c.hints);
        THintWindow* hint = HintOf(grid);
        Scroll(SB_THUMBTRACK, 127);
        EXPECT_EQ(Showing(hint), c.vertical) << "hints " << c.hints;
        Scroll(SB_ENDSCROLL);
        Scroll(SB_THUMBTRACK, 127, true);
        EXPECT_EQ(Showing(hint), c.horizontal) << "hints " << c.hints;
        if (c.horizontal) {
            EXPECT_EQ(hint->Text().substr(0, 6), "Col : ");
        }
        Scroll(SB_ENDSCROLL, 0, true);
        delete grid;
        grid = nullptr;
    }
}

// ---------------------------------------------------------------------------
// The wheel and zoom

TEST_F(Scrolling, TheWheelMovesTheCurrentRowByTheLinesOfAStep)
{
    const struct {
        UINT lines;
        int footers, from, delta, to;
        const char* what;
    } cases[] = {
        {3, 0, 5, -120, 8, "one notch towards the user: 3 rows down, once"},
        {3, 0, 5, 120, 2, "away from the user: up"},
        {3, 0, 1, 120, 1, "never above the fixed row"},
        {3, 0, 47, -120, 49, "never beyond the last row"},
        {3, 2, 45, -120, 47, "the footers stop it at the last data row"},
        {3, 2, 47, -120, 47, "and it stays there"},
        {5, 0, 5, -240, 10, "a larger turn is still one step"},
        {WHEEL_PAGESCROLL, 0, 1, -120, 11, "a page a step: the data rows in view"},
        {WHEEL_PAGESCROLL, 0, 30, 120, 20, "a page up"},
    };
    for (const auto& c : cases) {
        testLines = c.lines;
        Make(50, 10, 1);
        grid->SetFixedFooters(c.footers);
        grid->SetRow(c.from);
        Wheel(c.delta);
        EXPECT_EQ(grid->Row(), c.to) << c.what;
        delete grid;
        grid = nullptr;
    }
}

TEST_F(Scrolling, TheLinesAreTheSystemsSetting)
{
    TAdvStringGrid::SetWheelSystem({&TestVersion, nullptr});
    UINT lines = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    Make(50, 10, 1);
    EXPECT_EQ(grid->WheelMessage(), static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(grid->WheelLines(), lines);
}

struct Sizes {
    std::vector<int> widths, heights;
};

Sizes SizesOf(TAdvStringGrid* grid)
{
    Sizes s;
    for (int c = 0; c < grid->ColCount(); ++c)
        s.widths.push_back(grid->ColWidths(c));
    for (int r = 0; r < grid->RowCount(); ++r)
        s.heights.push_back(grid->RowHeights(r));
    return s;
}

TEST_F(Scrolling, CtrlAndTheWheelZoomWithinTenPoints)
{
    Make(5, 5);
    grid->SetRowHeights(4, 2);  // would not stay above 0
    const int row = grid->Row();
    Wheel(120, true);
    EXPECT_EQ(grid->Zoom(), -3);
    Sizes s = SizesOf(grid);
    EXPECT_EQ(s.widths, (std::vector<int>{97, 97}));
    EXPECT_EQ(s.heights, (std::vector<int>{18, 18, 18, 18, 2}));
    Wheel(120, true);
    Wheel(120, true);
    EXPECT_EQ(grid->Zoom(), -9);
    const Sizes at9 = SizesOf(grid);
    EXPECT_EQ(at9.widths, (std::vector<int>{91, 91}));
    Wheel(120, true);
    EXPECT_EQ(grid->Zoom(), -9) << "-12 is beyond the range";
    EXPECT_EQ(SizesOf(grid).widths, at9.widths);
    EXPECT_EQ(SizesOf(grid).heights, at9.heights);
    EXPECT_EQ(grid->Row(), row) << "zooming moves no row";
    // Towards the user it grows.
    Wheel(-120, true);
    EXPECT_EQ(grid->Zoom(), -6);
    EXPECT_EQ(grid->ColWidths(0), 94);
}

TEST_F(Scrolling, APageAStepZoomsByOne)
{
    testLines = WHEEL_PAGESCROLL;
    Make(5, 5);
    Wheel(-120, true);
    EXPECT_EQ(grid->Zoom(), 1);
    EXPECT_EQ(grid->ColWidths(0), 101);
}

// Older systems have the wheel only through its driver's window.
LRESULT CALLBACK DriverProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == RegisterWindowMessageA("MSH_SCROLL_LINES_MSG"))
        return 4;
    return DefWindowProcA(wnd, msg, wp, lp);
}

class WheelDriver {
public:
    WheelDriver()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &DriverProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MouseZ";
        RegisterClassA(&wc);
        wnd_ = CreateWindowA("MouseZ", "Magellan MSWHEEL", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~WheelDriver() { DestroyWindow(wnd_); }

private:
    HWND wnd_;
};

TEST_F(Scrolling, OlderSystemsTakeTheWheelFromItsDriver)
{
    const UINT driverMessage = RegisterWindowMessageA("MSH_SCROLL_LINES_MSG");
    const struct {
        OSVERSIONINFOA version;
        bool driver;
        UINT message, lines;
    } cases[] = {
        {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0), true, driverMessage, 4},
        {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0), false, 0, 0},
        {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 10), true, WM_MOUSEWHEEL, 3},
        {Version(VER_PLATFORM_WIN32_NT, 3, 51), true, driverMessage, 4},
        {Version(VER_PLATFORM_WIN32_NT, 4, 0), true, WM_MOUSEWHEEL, 3},
        {Version(VER_PLATFORM_WIN32_NT, 6, 1), false, WM_MOUSEWHEEL, 3},
    };
    for (const auto& c : cases) {
        testVersion = c.version;
        auto driver = c.driver ? std::make_unique<WheelDriver>() : nullptr;
        Make(50, 10, 1);
        EXPECT_EQ(grid->WheelMessage(), c.message)
            << c.version.dwPlatformId << " " << c.version.dwMajorVersion << "." << c.version.dwMinorVersion;
        EXPECT_EQ(grid->WheelLines(), c.lines);
        if (c.message == driverMessage) {
            // The driver's message carries the turn in wParam.
            grid->SetRow(5);
            SendMessageA(grid->Handle(), driverMessage, static_cast<WPARAM>(-120), 0);
            EXPECT_EQ(grid->Row(), 9);
        }
        if (c.message == 0) {
            PostMessageA(grid->Handle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(50, 50));
            Application->ProcessMessages();
            EXPECT_FALSE(grid->Panning()) << "no wheel, no panning";
        }
        delete grid;
        grid = nullptr;
    }
}

// ---------------------------------------------------------------------------
// Panning

class Panning : public Scrolling {
protected:
    // The middle button pressed and let go with the pointer at (x, y). The
    // grid's own timer ticks too whenever messages are handled (on a busy
    // machine already before Start returns): with the pointer at the start
    // point it moves nothing.
    void Start(int x, int y)
    {
        start = {x, y};
        PointAt(0, 0);
        PostMessageA(grid->Handle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(x, y));
        PostMessageA(grid->Handle(), WM_MBUTTONUP, 0, MAKELPARAM(x, y));
        Application->ProcessMessages();
    }
    // The pointer at (dx, dy) from the start point, then one timer tick.
    void Tick(int dx, int dy)
    {
        PointAt(dx, dy);
        SendMessageA(grid->Handle(), WM_TIMER, 999, 0);
    }
    void PointAt(int dx, int dy)
    {
        POINT p{start.x + dx, start.y + dy};
        ClientToScreen(grid->Handle(), &p);
        SetCursorPos(p.x, p.y);
    }
    POINT start{};
};

TEST_F(Panning, TheRowFollowsThePointerOneStepATick)
{
    Make(50, 10, 1);
    grid->SetColCount(6);
    grid->SetRow(3);
    grid->SetCol(2);
    grid->SetShowHint(true);
    Start(100, 60);
    ASSERT_TRUE(grid->Panning());
    EXPECT_EQ(grid->Cursor(), 8000);
    EXPECT_FALSE(grid->ShowHint()) << "no hints while panning";
    EXPECT_EQ(GetCapture(), grid->Handle()) << "the mouse stays with the grid after the button is up";

    const struct {
        int dx, dy;
        TCursor cursor;
        int row;
    } ticks[] = {
        {0, 40, 8001, 4}, {0, 40, 8001, 5}, {60, 40, 8001, 6},  // across is ignored
        {0, 5, 8000, 6},  {-80, 0, 8000, 6}, {0, -6, 8004, 5},
    };
    for (const auto& t : ticks) {
        Tick(t.dx, t.dy);
        EXPECT_EQ(grid->Cursor(), t.cursor) << t.dx << "," << t.dy;
        EXPECT_EQ(grid->Row(), t.row) << t.dx << "," << t.dy;
        EXPECT_EQ(grid->Col(), 2);
    }
    // The pointer's moves between ticks keep the direction's cursor.
    SendMessageA(grid->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(start.x + 3, start.y - 30));
    EXPECT_EQ(grid->Cursor(), 8004);

    // A key ends it and is then handled as a key.
    PostMessageA(grid->Handle(), WM_KEYDOWN, VK_DOWN, 1);
    Application->ProcessMessages();
    EXPECT_FALSE(grid->Panning());
    EXPECT_EQ(grid->Row(), 6) << "the key moved the row";
    EXPECT_EQ(grid->Cursor(), crDefault);
    EXPECT_TRUE(grid->ShowHint());
    EXPECT_NE(GetCapture(), grid->Handle());
    Tick(0, 40);
    EXPECT_EQ(grid->Row(), 6) << "a late tick does nothing";
}

TEST_F(Panning, BothWaysMoveRowAndColumnWithinTheData)
{
    Make(50, 10, 1);
    grid->SetColCount(6);
    grid->SetFixedCols(1);
    grid->SetFixedRightCols(1);
    grid->SetFixedFooters(1);
    grid->SetIntelliPan(ipBoth);
    grid->SetRow(2);
    grid->SetCol(2);
    Start(100, 60);
    const struct {
        int dx, dy;
        TCursor cursor;
        int col, row;
    } ticks[] = {
        {-20, -20, 8006, 1, 1},  // up and left, to the fixed column and row
        {-20, -20, 8006, 1, 1},  // and no further
        {20, 0, 8003, 2, 1},     {20, -20, 8005, 3, 1}, {20, 20, 8007, 4, 2},
        {20, 20, 8007, 4, 3},    // the fixed right column stops it
        {-20, 20, 8008, 3, 4},   {-20, 0, 8002, 2, 4},
    };
    for (const auto& t : ticks) {
        Tick(t.dx, t.dy);
        EXPECT_EQ(grid->Cursor(), t.cursor) << t.dx << "," << t.dy;
        EXPECT_EQ(grid->Col(), t.col) << t.dx << "," << t.dy;
        EXPECT_EQ(grid->Row(), t.row) << t.dx << "," << t.dy;
    }
    // The footer row stops it too.
    grid->SetRow(47);
    Tick(0, 20);
    EXPECT_EQ(grid->Row(), 48);
    Tick(0, 20);
    EXPECT_EQ(grid->Row(), 48);
    // A press of the left button ends it.
    PostMessageA(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(grid->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Application->ProcessMessages();
    EXPECT_FALSE(grid->Panning());
}

TEST_F(Panning, HorizontalPanningIgnoresUpAndDown)
{
    Make(50, 10, 1);
    grid->SetColCount(6);
    grid->SetIntelliPan(ipHorizontal);
    grid->SetRow(5);
    grid->SetCol(1);
    Start(100, 60);
    Tick(30, 30);
    EXPECT_EQ(grid->Cursor(), 8003);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->Col(), 2);
    // The middle button again ends it.
    PostMessageA(grid->Handle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(100, 60));
    Application->ProcessMessages();
    EXPECT_FALSE(grid->Panning());
}

TEST_F(Panning, TheMarkShowsAtTheStartPoint)
{
    Make(50, 10, 1);
    Start(100, 60);
    UpdateWindow(grid->Handle());
    grid->Repaint();
    SendMessageA(grid->Handle(), WM_TIMER, 999, 0);  // draws the mark again
    HDC dc = GetDC(grid->Handle());
    // The mark's ring (black) and its inside (white), where the cells are
    // white with grey lines.
    const COLORREF ring = GetPixel(dc, start.x + 2, start.y + 15);
    const COLORREF inside = GetPixel(dc, start.x + 8, start.y + 16);
    const COLORREF corner = GetPixel(dc, start.x, start.y);
    ReleaseDC(grid->Handle(), dc);
    EXPECT_EQ(ring, RGB(0, 0, 0));
    EXPECT_EQ(inside, RGB(255, 255, 255));
    EXPECT_EQ(corner, RGB(255, 255, 255)) << "the mark's own background is left out, on white";
    PostMessageA(grid->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    Application->ProcessMessages();
}

// ---------------------------------------------------------------------------
// The pictures

TEST(GridPictures, TheCursorsAndPanMarksAreThere)
{
    TestForm();
    delete new TAdvStringGrid(TestForm());  // loads the cursors
    const HCURSOR standard = Screen->Cursors(crDefault);
    for (int id = 8000; id <= 8012; ++id) {
        const HCURSOR cursor = Screen->Cursors(id);
        EXPECT_NE(cursor, standard) << id;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(cursor, &info)) << id;
        EXPECT_FALSE(info.fIcon) << id;
        DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
    }
    for (const char* name : {"INTLI1", "INTLI2", "INTLI3"}) {
        TBitmap mark;
        mark.LoadFromResourceName(GetModuleHandleA(nullptr), name);
        EXPECT_EQ(mark.Width(), 32) << name;
        EXPECT_EQ(mark.Height(), 32) << name;
    }
}

} // namespace

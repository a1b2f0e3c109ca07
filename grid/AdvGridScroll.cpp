// Scrolling, the mouse wheel, zoom and panning of the grid.
//
// The platform's scroll bars run from 0 to 127 over the whole range. With
// ScrollProportional the flat bars of the common-controls library show the
// same position with a thumb as large as the visible part; the two ranges
// are translated both ways here. Some systems keep one bar for both (the
// flat calls go to the standard bar), so the platform's position is taken
// from the grid, never read back from a bar.
#include "grid/AdvGrid.h"
#include "grid/AdvUtil.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "classlib/Forms.h"
#include "grid/AdvFlatSB.h"

namespace {

constexpr UINT_PTR PanTimer = 999;
constexpr int PanMarkSize = 32;
constexpr int PanDeadZone = 5;
constexpr int PlatformRange = 127;
constexpr int FirstCursor = 8000, LastCursor = 8012;

void SystemVersion(OSVERSIONINFOA& info)
{
    info = {};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
}

UINT SystemScrollLines()
{
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return lines;
}

TAdvStringGrid::TWheelSystem wheelSystem;

// The flat bar's page for visible of count: 0 to 128.
int FlatPage(int visible, int count)
{
    return MulDiv(visible, 128, count);
}

} // namespace

// ---------------------------------------------------------------------------
// Flat scroll bars

void TAdvStringGrid::InitFlatScrollBars()
{
    flatOn_ = FlatScrollBarCalls().InitializeFlatSB(Handle());
}

void TAdvStringGrid::DoneFlatScrollBars()
{
    flatOn_ = false;
    FlatScrollBarCalls().UninitializeFlatSB(Handle());
}

// The flat bars are on and the window is there (between a window's end and
// its re-creation they wait).
bool TAdvStringGrid::FlatReady() const
{
    return flatOn_ && HandleAllocated();
}

void TAdvStringGrid::SetFlatProp(UINT index, int value)
{
    if (FlatReady())
        FlatScrollBarCalls().SetScrollProp(Handle(), index, value, true);
}

bool TAdvStringGrid::BarAllowed(int bar) const
{
    const TScrollStyle s = ScrollBars();
    return s == ssBoth || s == (bar == SB_HORZ ? ssHorizontal : ssVertical);
}

void TAdvStringGrid::ShowFlatBar(int bar, bool show)
{
    if (FlatReady() && BarAllowed(bar))
        FlatScrollBarCalls().ShowScrollBar(Handle(), bar, show);
}

void TAdvStringGrid::ShowFlatBars()
{
    if (VisibleRowCount() + FixedRows() < RowCount()) {
        ShowFlatBar(SB_VERT, true);
        UpdateVertThumb();
    }
    if (VisibleColCount() + FixedCols() < ColCount()) {
        ShowFlatBar(SB_HORZ, true);
        UpdateHorzThumb();
    }
}

void TAdvStringGrid::SetScrollProportional(bool v)
{
    scrollProportional_ = v;
    if (!HandleAllocated())
        return;  // the window, when made, takes it (ScrollWindowCreated)
    if (v) {
        InitFlatScrollBars();
        ApplyFlatScrollBars();
    } else if (flatOn_) {
        DoneFlatScrollBars();
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_PAGE;
        info.nPage = 0;
        SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
        SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
    }
}

static int FlatMode(TScrollType type)
{
    switch (type) {
    case ssFlat:
        return FSB_FLAT_MODE;
    case ssEncarta:
        return FSB_ENCARTA_MODE;
    default:
        return FSB_REGULAR_MODE;
    }
}

void TAdvStringGrid::SetScrollType(TScrollType v)
{
    scrollType_ = v;
    SetFlatProp(WSB_PROP_VSTYLE, FlatMode(v));
    SetFlatProp(WSB_PROP_HSTYLE, FlatMode(v));
}

void TAdvStringGrid::SetScrollColor(TColor v)
{
    scrollColor_ = v;
    if (v == clNone)
        return;
    SetFlatProp(WSB_PROP_VBKGCOLOR, static_cast<int>(ColorToRGB(v)));
    SetFlatProp(WSB_PROP_HBKGCOLOR, static_cast<int>(ColorToRGB(v)));
}

void TAdvStringGrid::SetScrollWidth(int v)
{
    scrollWidth_ = v;
    SetFlatProp(WSB_PROP_CXVSCROLL, v);
    SetFlatProp(WSB_PROP_CYHSCROLL, v);
}

void TAdvStringGrid::ApplyFlatScrollBars()
{
    if (!FlatReady())
        return;
    SetScrollType(scrollType_);
    SetScrollColor(scrollColor_);
    SetScrollWidth(scrollWidth_);
    ShowFlatBars();
}

void TAdvStringGrid::UpdateThumb(bool horizontal)
{
    const int bar = horizontal ? SB_HORZ : SB_VERT;
    if (!FlatReady() || !BarAllowed(bar))
        return;
    const int count = horizontal ? ColCount() : RowCount();
    if (count <= 0)
        return;
    int position = ScrollBarPosition(horizontal);
    if (position < 0 || position > PlatformRange)
        position = 0;
    const int page = FlatPage(horizontal ? VisibleColCount() : VisibleRowCount(), count);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = PlatformRange;
    info.nPage = static_cast<UINT>(page);
    info.nPos = MulDiv(128 - page, position, PlatformRange);
    FlatScrollBarCalls().SetScrollInfo(Handle(), bar, info, true);
}

void TAdvStringGrid::UpdateVertThumb()
{
    UpdateThumb(false);
}

void TAdvStringGrid::UpdateHorzThumb()
{
    UpdateThumb(true);
}

void TAdvStringGrid::ScrollWindowCreated()
{
    flatOn_ = false;
    if (scrollProportional_)
        SetScrollProportional(true);
}

void TAdvStringGrid::ScrollExtentChanged(bool shows)
{
    if (!FlatReady())
        return;
    if (shows)
        ShowFlatBars();
    UpdateVertThumb();
    UpdateHorzThumb();
}

// ---------------------------------------------------------------------------
// Scroll messages

void TAdvStringGrid::ShowScrollHint(bool horizontal, int position)
{
    const int fixed = horizontal ? FixedCols() : FixedRows();
    const int count = horizontal ? ColCount() : RowCount();
    const int visible = horizontal ? VisibleColCount() : VisibleRowCount();
    const int value = MulDiv(position, count - visible - fixed, PlatformRange) + fixed;
    std::string text = (horizontal ? "Col : " : "Row : ") + std::to_string(value);
    OnScrollHint(this, value, text);
    TRect r = hintWindow_->CalcHintRect(100, text);
    hintWindow_->SetColor(hintColor_);
    POINT p{0, 0};
    GetCursorPos(&p);
    OffsetRect(&r, p.x + 10, p.y);
    hintWindow_->ActivateHint(r, text);
}

TGridRect TAdvStringGrid::BackGroundCells()
{
    TBitmap* b = backGround_->Bitmap();
    const TGridCoord from = MouseCoord(backGround_->Left(), backGround_->Top());
    const TGridCoord to = MouseCoord(backGround_->Left() + b->Width(), backGround_->Top() + b->Height());
    return {from.X, from.Y, to.X, to.Y};
}

bool TAdvStringGrid::ScrollBarMessage(TMessage& m, bool horizontal)
{
    const int code = LOWORD(m.WParam);
    const int position = static_cast<short>(HIWORD(m.WParam));
    const TScrollHintType hints = scrollHints_;
    if (hints == shBoth || hints == (horizontal ? shHorizontal : shVertical)) {
        if (code == SB_ENDSCROLL && hintWindow_->HandleAllocated())
            ShowWindow(hintWindow_->Handle(), SW_HIDE);
        else if (code == SB_THUMBTRACK)
            ShowScrollHint(horizontal, position);
    }

    TMessage platform = m;
    if (code == SB_THUMBPOSITION && flatOn_) {
        const int count = horizontal ? ColCount() : RowCount();
        const int page = count > 0 ? FlatPage(horizontal ? VisibleColCount() : VisibleRowCount(), count) : 128;
        // Everything visible: nothing to scroll to.
        const int back = page < 128 ? MulDiv(position, PlatformRange, 128 - page) : 0;
        platform.WParam = MAKEWPARAM(code, std::clamp(back, 0, PlatformRange));
    }

    const bool fixedPicture = backGround_->Display() == bdFixed && !backGround_->Bitmap()->Empty();
    const TGridRect before = fixedPicture ? BackGroundCells() : TGridRect{};
    TStringGrid::Dispatch(platform);
    m.Result = platform.Result;
    if (fixedPicture && code != SB_THUMBTRACK) {
        const TGridRect after = BackGroundCells();
        if (before.Left != after.Left || before.Top != after.Top || before.Right != after.Right ||
            before.Bottom != after.Bottom) {
            // The fixed picture stays where it is while the cells move under it.
            if (before.Left < 0 || after.Left < 0) {
                Invalidate();
            } else {
                InvalidateGridRect(before);
                InvalidateGridRect(after);
            }
        }
    }

    if (horizontal)
        UpdateHorzThumb();
    else
        UpdateVertThumb();
    if (IsCheckBoxCell(Col(), Row()))
        HideEditor();
    return true;
}

// ---------------------------------------------------------------------------
// The wheel and zoom

TAdvStringGrid::TWheelSystem TAdvStringGrid::SetWheelSystem(const TWheelSystem& system)
{
    const TWheelSystem old = wheelSystem;
    wheelSystem = system;
    return old;
}

void TAdvStringGrid::DetectWheel()
{
    OSVERSIONINFOA version{};
    (wheelSystem.Version ? wheelSystem.Version : &SystemVersion)(version);
    const bool old9x = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
                       (version.dwMajorVersion < 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion < 10));
    const bool oldNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion < 4;
    wheelMessage_ = 0;
    wheelLines_ = 0;
    if (old9x || oldNT) {
        // Without wheel messages of its own the system has them from the
        // wheel's driver, when that runs.
        if (HWND driver = FindWindowA("MouseZ", "Magellan MSWHEEL")) {
            wheelMessage_ = RegisterWindowMessageA("MSH_SCROLL_LINES_MSG");
            wheelLines_ = static_cast<UINT>(SendMessageA(driver, wheelMessage_, 0, 0));
        }
        return;
    }
    wheelLines_ = (wheelSystem.ScrollLines ? wheelSystem.ScrollLines : &SystemScrollLines)();
    wheelMessage_ = WM_MOUSEWHEEL;
}

void TAdvStringGrid::ZoomGrid(int Step)
{
    if (zoom_ + Step < -10 || zoom_ + Step > 10)
        return;
    zoom_ += Step;
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) + Step > 0)
            SetColWidths(c, ColWidths(c) + Step);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) + Step > 0)
            SetRowHeights(r, RowHeights(r) + Step);
    Invalidate();
}

void TAdvStringGrid::WheelTurned(int delta, bool ctrl)
{
    if (delta == 0)
        return;
    // One page a step: the data rows in view, or one point of zoom.
    const bool page = wheelLines_ == WHEEL_PAGESCROLL;
    if (ctrl) {
        const int lines = page ? 1 : static_cast<int>(wheelLines_);
        ZoomGrid(delta < 0 ? lines : -lines);
        return;
    }
    const int lines = page ? std::max(1, VisibleRowCount()) : static_cast<int>(wheelLines_);
    int row = Row() + (delta < 0 ? lines : -lines);
    const int last = RowCount() - fixedFooters_ - 1;
    if (row >= last + 1)
        row = last;
    if (row < FixedRows())
        row = FixedRows();
    if (row >= FixedRows() && row < RowCount() && row != Row())
        SetRow(row);
}

// ---------------------------------------------------------------------------
// Panning

void TAdvStringGrid::LoadGridCursors()
{
    // Named once for each screen, made when first shown. They are kept as
    // data (a program links the maker's cursors as cursor resources already).
    static const TScreen* namedFor = nullptr;
    if (!Screen || Screen == namedFor)
        return;
    namedFor = Screen;
    HMODULE module = GetModuleHandleA(nullptr);
    for (int id = FirstCursor; id <= LastCursor; ++id)
        if (FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA))
            Screen->SetCursorResource(id, module, MAKEINTRESOURCEA(id), true);
}

namespace {

// The mark for a panning direction on white, the colour of its top-left
// pixel left out; nullptr when the program carries no such picture.
std::unique_ptr<TBitmap> MakePanMark(TIntelliPan pan)
{
    const char* name = pan == ipVertical ? "INTLI3" : pan == ipHorizontal ? "INTLI2" : "INTLI1";
    TBitmap mark;
    try {
        mark.LoadFromResourceName(GetModuleHandleA(nullptr), name);
    } catch (const Exception&) {
        return nullptr;  // a program without the pictures pans without the mark
    }
    auto shown = std::make_unique<TBitmap>(mark.Width(), mark.Height(), pf24bit);
    DrawTransparent(shown->Canvas(), &mark, clWhite, Point(0, 0));
    return shown;
}

} // namespace

void TAdvStringGrid::DrawPanMark()
{
    if (!panMark_)
        return;
    HDC dc = GetDC(Handle());
    BitBlt(dc, panStart_.x, panStart_.y, panMark_->Width(), panMark_->Height(), panMark_->Canvas()->Handle(), 0, 0,
           SRCCOPY);
    ReleaseDC(Handle(), dc);
}

static void ShowCursorNow(TCursor cursor)
{
    if (Screen && Screen->Cursor() == crDefault)
        ::SetCursor(Screen->Cursors(cursor));
}

void TAdvStringGrid::StartPanning(int x, int y)
{
    panCursor_ = Cursor();
    SetGridCursor(FirstCursor);
    ShowCursorNow(FirstCursor);
    SetTimer(Handle(), PanTimer, 10, nullptr);
    panStart_ = Point(x, y);
    SetMouseCapture(true);
    panShowHint_ = ShowHint();
    panParentShowHint_ = ParentShowHint();
    SetShowHint(false);
    panning_ = true;
    panMark_ = MakePanMark(intelliPan_);
    DrawPanMark();
}

void TAdvStringGrid::StopPanning()
{
    panning_ = false;
    SetMouseCapture(false);
    KillTimer(Handle(), PanTimer);
    SetGridCursor(panCursor_);
    ShowCursorNow(panCursor_);
    // The hints as they were before.
    SetShowHint(panShowHint_);
    if (panParentShowHint_)
        SetParentShowHint(true);
    const RECT mark{panStart_.x, panStart_.y, panStart_.x + PanMarkSize, panStart_.y + PanMarkSize};
    InvalidateRect(Handle(), &mark, FALSE);
}

void TAdvStringGrid::PanTick()
{
    POINT p{0, 0};
    GetCursorPos(&p);
    ::ScreenToClient(Handle(), &p);
    const TPoint& s = panStart_;
    int v = p.y < s.y - PanDeadZone ? -1 : p.y > s.y + PanDeadZone ? 1 : 0;
    int h = p.x > s.x + PanDeadZone ? 1 : p.x < s.x - PanDeadZone ? -1 : 0;
    if (intelliPan_ == ipHorizontal)
        v = 0;
    if (intelliPan_ == ipVertical)
        h = 0;
    // The cursor of each direction: [v + 1][h + 1].
    static const TCursor cursors[3][3] = {{8006, 8004, 8005}, {8002, 8000, 8003}, {8008, 8001, 8007}};
    const TCursor cursor = cursors[v + 1][h + 1];
    const RECT mark{s.x, s.y, s.x + PanMarkSize, s.y + PanMarkSize};

    if ((h == -1 && Col() > FixedCols()) || (h == 1 && Col() < ColCount() - fixedRightCols_ - 1)) {
        const int col = Col() + h;
        if (col < LeftCol() || col >= LeftCol() + VisibleColCount())
            InvalidateRect(Handle(), &mark, FALSE);
        SetCol(col);
    }
    if ((v == -1 && Row() > FixedRows()) || (v == 1 && Row() < RowCount() - fixedFooters_ - 1)) {
        const int row = Row() + v;
        if (row < TopRow() || row >= TopRow() + VisibleRowCount())
            InvalidateRect(Handle(), &mark, FALSE);
        SetRow(row);
    }
    SetGridCursor(cursor);
    ShowCursorNow(cursor);
    DrawPanMark();
}

// ---------------------------------------------------------------------------
// The messages

bool TAdvStringGrid::ScrollMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (m.LParam)
            return false;  // a scroll bar control of its own
        return ScrollBarMessage(m, m.Msg == WM_HSCROLL);
    case WM_TIMER:
        if (m.WParam != PanTimer)
            return false;
        if (panning_)
            PanTick();
        else
            KillTimer(Handle(), PanTimer);
        return true;
    case WM_MOUSEMOVE:
        // While panning the pointer only chooses the direction (at the
        // next tick): no cursor of the cells, no selection.
        return panning_;
    case WM_MBUTTONDOWN:
        if (panning_)
            StopPanning();
        else if (wheelMessage_ != 0)
            StartPanning(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
        return false;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (panning_)
            StopPanning();
        return false;
    }
    if (m.Msg == wheelMessage_ && wheelMessage_ != 0) {
        if (!panning_) {
            if (m.Msg == WM_MOUSEWHEEL)
                WheelTurned(GET_WHEEL_DELTA_WPARAM(m.WParam), GET_KEYSTATE_WPARAM(m.WParam) & MK_CONTROL);
            else
                WheelTurned(static_cast<int>(m.WParam), GetKeyState(VK_CONTROL) < 0);
        }
        DefaultHandler(m);
        return true;
    }
    if (m.Msg == WM_MOUSEWHEEL) {
        // The class library's own wheel step never runs beside the grid's.
        DefaultHandler(m);
        return true;
    }
    return false;
}

// OLE drag and drop of the grid: OLE's start and stop for the program, the
// drop target's registration for the grid's window, what a drop does in the
// grid, and the start of a drag from a press in the selection.
#include "grid/AdvGridDrop.h"

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/Forms.h"

namespace {

TOleStart oleStart = &OleInitialize;

// The windows registered as drop targets now. The forms (and their grids)
// go after the units have stopped, so OLE's stop revokes what is still
// registered first; a grid that goes later finds its window gone from here
// and leaves OLE alone.
std::vector<HWND>& DropWindows()
{
    static std::vector<HWND> windows;
    return windows;
}

void AddDropWindow(HWND window)
{
    DropWindows().push_back(window);
}

// True when the window was registered (and is no more).
bool ForgetDropWindow(HWND window)
{
    auto& windows = DropWindows();
    const auto at = std::find(windows.begin(), windows.end(), window);
    if (at == windows.end())
        return false;
    windows.erase(at);
    return true;
}

// Revokes a window's registration while OLE still holds it.
void RevokeDropWindow(HWND window)
{
    if (window && ForgetDropWindow(window))
        RevokeDragDrop(window);
}

void StopAdvGridOle()
{
    for (HWND window : DropWindows())
        RevokeDragDrop(window);
    DropWindows().clear();
    OleUninitialize();
}

bool EndsWith(const std::string& s, const char* ending)
{
    const size_t n = strlen(ending);
    return s.size() >= n && s.compare(s.size() - n, n, ending) == 0;
}

// A press within 1 pixel of an edge of the cell's rectangle.
bool NearCellEdge(const TRect& r, int x, int y)
{
    return abs(x - r.left) <= 1 || abs(x - r.right) <= 1 || abs(y - r.top) <= 1 || abs(y - r.bottom) <= 1;
}

} // namespace

TOleStart SetOleStart(TOleStart start)
{
    const TOleStart old = oleStart;
    oleStart = start ? start : &OleInitialize;
    return old;
}

void StartAdvGridOle()
{
    const HRESULT result = oleStart(nullptr);
    if (result != S_OK && result != S_FALSE) {
        char text[64];
        snprintf(text, sizeof text, "OleInitialize failed ($%lX)", static_cast<unsigned long>(result));
        throw EAssertionFailed(text, "AdvGrid");
    }
    AddUnitShutdown(StopAdvGridOle);
    // Known before any drag, so a drag never offers format 0 as rich text.
    RichTextFormat();
}

void StartAdvGridOleOrHalt()
{
    try {
        StartAdvGridOle();
    } catch (const EAssertionFailed& e) {
        // No form exists yet: the program does not start.
        MessageBoxA(nullptr, e.what(), nullptr, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
        Halt(1);
    }
}

// ---------------------------------------------------------------------------
// What a drop does

bool TGridDropTarget::CellAt(POINT point, int& col, int& row) const
{
    if (!grid_ || !grid_->HandleAllocated())
        return false;
    ScreenToClient(grid_->Handle(), &point);
    const TGridCoord cell = grid_->MouseCoord(point.x, point.y);
    col = cell.X;
    row = cell.Y;
    return col >= 0 && row >= 0;
}

void TGridDropTarget::TextDropped(POINT Point, const std::string& Text)
{
    int col, row;
    if (CellAt(Point, col, row))
        grid_->PasteText(col, row, Text);
}

void TGridDropTarget::RichTextDropped(POINT Point, const std::string& Text)
{
    int col, row;
    if (CellAt(Point, col, row))
        grid_->SetCells(col, row, Text);
}

void TGridDropTarget::FilesDropped(POINT, TStrings* Names)
{
    if (!grid_ || Names->Count() != 1)
        return;
    // By the ending: "a.csv.xls" is a worksheet.
    const std::string name = Names->Strings(0);
    if (EndsWith(name, ".CSV") || EndsWith(name, ".csv"))
        grid_->LoadCSVFile(name);
    else if (EndsWith(name, ".XLS") || EndsWith(name, ".xls"))
        grid_->ImportWorksheet(name);
}

// ---------------------------------------------------------------------------
// The grid's registration

void TAdvStringGrid::SetOleDropTarget(bool v)
{
    oleDropTarget_ = v;
    if (v)
        RegisterDropTarget();
    else
        RevokeDropTarget();
}

bool TAdvStringGrid::OleDropRTF() const
{
    return AcceptRichTextDrop;
}

void TAdvStringGrid::SetOleDropRTF(bool v)
{
    AcceptRichTextDrop = v;
}

void TAdvStringGrid::RegisterDropTarget()
{
    if (!HandleAllocated() || drop_.window)
        return;
    if (!drop_.target) {
        drop_.target = new TGridDropTarget(this);
        drop_.target->AddRef();
    }
    if (SUCCEEDED(RegisterDragDrop(handle_, drop_.target))) {
        drop_.window = handle_;
        AddDropWindow(handle_);
    }
}

void TAdvStringGrid::RevokeDropTarget()
{
    RevokeDropWindow(drop_.window);
    drop_.window = nullptr;
}

TAdvStringGrid::TDropRegistration::~TDropRegistration()
{
    RevokeDropWindow(window);
    if (target) {
        target->Detach();
        target->Release();
    }
}

void TAdvStringGrid::DropWindowCreated()
{
    if (oleDropTarget_)
        RegisterDropTarget();
}

void TAdvStringGrid::DropWindowDestroying()
{
    RevokeDropTarget();
}

// ---------------------------------------------------------------------------
// A drag from the grid

bool TAdvStringGrid::TryStartOleDrag(int col, int row, int x, int y)
{
    if (!oleDropSource_ || !NearCellEdge(CellRect(col, row), x, y) || !IsInSelection(col, row))
        return false;
    DWORD effect = DROPEFFECT_NONE;
    StartOleDrag(SelectionAsText(), Cells(col, row), DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    return true;
}

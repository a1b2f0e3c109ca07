// The grid's drop target (unit AdvGrid): dropped text is pasted from the
// cell under the mouse, dropped rich text becomes that cell's text, and one
// dropped ".csv" or ".xls" file is imported. A drop outside the cells does
// nothing.
#pragma once

#include "grid/AdvGrid.h"
#include "grid/ddintf.h"

class TGridDropTarget : public TDropTarget {
public:
    explicit TGridDropTarget(TAdvStringGrid* Grid) : grid_(Grid) {}
    void TextDropped(POINT Point, const std::string& Text) override;
    void RichTextDropped(POINT Point, const std::string& Text) override;
    void FilesDropped(POINT Point, TStrings* Names) override;
    // The grid goes: later drops (a registration the system still holds)
    // do nothing.
    void Detach() { grid_ = nullptr; }

private:
    // The cell under a screen point; false outside the cells.
    bool CellAt(POINT point, int& col, int& row) const;

    TAdvStringGrid* grid_;
};

// OLE for the whole program, started by InitAdvGridUnit: OleInitialize;
// a result other than S_OK or S_FALSE raises EAssertionFailed
// "OleInitialize failed ($<hex>) (AdvGrid)"; on success the unit's shutdown
// (OleUninitialize) is registered.
void StartAdvGridOle();
// The same at the unit's start: a failure is shown and ends the program.
void StartAdvGridOleOrHalt();
// The call that starts OLE (the system's OleInitialize, or a test's;
// nullptr puts the system's back); gives the one it replaced.
using TOleStart = HRESULT(STDAPICALLTYPE*)(LPVOID);
TOleStart SetOleStart(TOleStart start);

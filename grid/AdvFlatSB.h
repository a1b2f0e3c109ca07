// The common-controls library's flat scroll bars, reached by name.
//
// The entry points are looked up among the modules already loaded into the
// process, in "comctl32.dll", at every call: a program never loads the
// library for them, and an old library without them leaves the platform's
// scroll bars in use. Each call tells whether the entry point was found.
//
// All calls go through one object, which a test may replace with one that
// records them (SetFlatScrollBarCalls).
#pragma once

#include <windows.h>

#include <commctrl.h>  // the flat bars' property identifiers and modes

class TFlatScrollBarCalls {
public:
    virtual ~TFlatScrollBarCalls() = default;
    virtual bool InitializeFlatSB(HWND wnd);
    virtual bool UninitializeFlatSB(HWND wnd);
    virtual bool SetScrollProp(HWND wnd, UINT index, int value, bool redraw);
    virtual bool ShowScrollBar(HWND wnd, int bar, bool show);
    virtual bool SetScrollInfo(HWND wnd, int bar, const SCROLLINFO& info, bool redraw);
};

// The calls in use; never null.
TFlatScrollBarCalls& FlatScrollBarCalls();
// Puts calls in place (nullptr: the library's again); gives the ones replaced.
TFlatScrollBarCalls* SetFlatScrollBarCalls(TFlatScrollBarCalls* calls);

// What the list, rich-edit and grid tests share: the one form they put their
// controls on (shown once for the whole test program, since hiding or
// closing a shown window is slow under the virtual display), input sent as
// the message loop gets it, and a grid laid out as the installer's
// personal-data grid.
#pragma once

#include <string>

#include "classlib/Forms.h"
#include "classlib/Grids.h"
#include "tests/support/TestUtil.h"

// Starts the application and the units under test, and shows the form.
TForm* TestForm();
// Gives the window the focus and waits until it (or a child of it) has it.
void FocusWindow(HWND wnd);
// Posts a key to the window (by default the one with the focus), with Shift
// and Ctrl held as the controls will read them, and handles it.
void PressKey(WORD key, TShiftState shift = 0, HWND target = nullptr);
// Posts the characters to the window with the focus, one at a time.
void TypeText(const std::string& text);

// The row labels of the personal data.
extern const char* const DataLabels[14];

// Laid out as the installer's personal-data grid: a fixed column of labels,
// a column of values, 15 rows of 17 pixels, editing with Tab and the editor
// always shown.
class TDataGrid : public TStringGrid {
public:
    explicit TDataGrid(TComponent* owner);
};

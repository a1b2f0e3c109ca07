// The one form the list, rich-edit and grid tests put their controls on:
// shown once for the whole test program, since hiding or closing a shown
// window is slow under the virtual display.
#pragma once

#include <string>

#include "classlib/Forms.h"

// Starts the application and the units under test, and shows the form.
TForm* TestForm();
// Handles the messages waiting, for about ms milliseconds.
void PumpMessages(int ms);
// Gives the window the focus and waits until it has it.
void FocusWindow(HWND wnd);
// Saves a picture for people into folder and, when QMX_PICTURES names a
// folder, there as well.
void SavePicture(HWND wnd, const std::string& folder, const std::string& name);

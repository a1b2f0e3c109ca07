// Pictures for people: a bitmap or a window saved as a PNG file, so that
// anyone can look at what a form shows.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Graphics.h"

// The PNG file (8-bit RGB, no interlace) of width x height pixels given as
// top-down rows of red, green, blue bytes, each row `stride` bytes apart.
std::string EncodePng(int width, int height, const unsigned char* rgb, int stride);

// Writes the bitmap's picture as a PNG file; EFCreateError when the file
// cannot be written, EInvalidGraphic for an empty bitmap.
void SaveBitmapToPng(TBitmap* bitmap, const std::string& fileName);

// What the window shows now, frame included: copied from the window's device
// context (GetWindowDC and BitBlt) into a 24-bit bitmap. Asking the window to
// print itself (PrintWindow, WM_PRINT) draws nothing under some display
// drivers; the copy works under all.
std::unique_ptr<TBitmap> CaptureWindow(HWND wnd);

// CaptureWindow followed by SaveBitmapToPng.
void SaveWindowToPng(HWND wnd, const std::string& fileName);

// Helpers of the wizard component tests: the application once per program,
// painting a control into a bitmap, pixels, and pictures for people.
#pragma once

#include <memory>
#include <string>

#include "classlib/Forms.h"
#include "tests/support/TestUtil.h"

// Starts the forms unit and registers the wizard units' classes, once.
void EnsureWizardApplication();

// Paints the control's client area into a new 24-bit bitmap of its size
// through the control's own painting (no window need be shown).
std::unique_ptr<TBitmap> PaintToBitmap(TWinControl* control);

// The pixel as 0x00BBGGRR.
TColor PixelAt(TBitmap& bitmap, int x, int y);


// The one form the component tests put their controls on, shown once.
#pragma once

#include <memory>

#include "classlib/Forms.h"

TForm* ComponentsForm();

// What the control's client area shows now, copied from the screen.
std::unique_ptr<TBitmap> ClientPicture(TWinControl* control);

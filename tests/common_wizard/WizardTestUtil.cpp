#include "WizardTestUtil.h"


#include <gtest/gtest.h>

#include "tests/support/TestUtil.h"
#include "common/PageMngr.h"
#include "common/WizardTree.h"
#include "common/qmxcolorbutton.h"

void EnsureWizardApplication()
{
    if (Application)
        return;
    InitFormsUnit();
    WizardTreeStartup();
    qmxcolorbuttonStartup();
    PageMngrStartup();
}

std::unique_ptr<TBitmap> PaintToBitmap(TWinControl* control)
{
    const TRect r = control->ClientRect();
    auto bitmap = std::make_unique<TBitmap>(r.right, r.bottom, pf24bit);
    control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap->Canvas()->Handle()));
    return bitmap;
}

TColor PixelAt(TBitmap& bitmap, int x, int y)
{
    return bitmap.Canvas()->Pixels(x, y);
}

#include "WizardTestUtil.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/support/TestUtil.h"
#include "classlib/PngWriter.h"
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

void SavePicture(TBitmap& bitmap, const std::string& folder, const std::string& name)
{
    const std::string path = folder + name;
    SaveBitmapToPng(&bitmap, path);
    EXPECT_EQ(ReadWholeFile(path).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    const char* pictures = std::getenv("QMX_PICTURES");
    if (!pictures || !*pictures)
        return;
    std::string target = pictures;
    if (target[0] == '/')
        target = "Z:" + target;  // a Unix path handed in from the host
    if (target.back() != '\\' && target.back() != '/')
        target += '\\';
    CreateDirectoryA(target.c_str(), nullptr);
    EXPECT_TRUE(CopyFileA(path.c_str(), (target + name).c_str(), FALSE)) << target + name;
}

void PumpMessages(int ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        Application->ProcessMessages();
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

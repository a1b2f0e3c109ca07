#include "TestForm.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/support/TestUtil.h"
#include "classlib/PngWriter.h"
#include "classlib/RichEdit.h"

TForm* TestForm()
{
    static TForm* form = nullptr;
    if (!form) {
        InitFormsUnit();
        InitRichEditUnit();
        form = new TForm(Application);
        form->SetBounds(20, 20, 640, 480);
        form->SetCaption("Listy i siatki");
        form->Show();
        PumpMessages(50);
    }
    return form;
}

void PumpMessages(int ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        Application->ProcessMessages();
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

void FocusWindow(HWND wnd)
{
    SetForegroundWindow(GetAncestor(wnd, GA_ROOT));
    SetFocus(wnd);
    for (int i = 0; i < 100 && GetFocus() != wnd; ++i) {
        PumpMessages(10);
        SetFocus(wnd);
    }
    Application->ProcessMessages();
}

void SavePicture(HWND wnd, const std::string& folder, const std::string& name)
{
    const std::string path = folder + name;
    SaveWindowToPng(wnd, path);
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

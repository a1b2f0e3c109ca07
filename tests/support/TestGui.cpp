// Helpers of the tests that show windows.
#include "tests/support/TestUtil.h"

#include <windows.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "classlib/PngWriter.h"

namespace {

// Checks the picture saved at path and copies it to QMX_PICTURES when that
// names a folder.
void ShowPicture(const std::string& path, const std::string& name)
{
    EXPECT_EQ(ReadWholeFile(path).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << path;
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

} // namespace

std::string SavePicture(TBitmap& bitmap, const std::string& folder, const std::string& name)
{
    const std::string path = folder + name;
    SaveBitmapToPng(&bitmap, path);
    ShowPicture(path, name);
    return path;
}

std::string SavePicture(HWND wnd, const std::string& folder, const std::string& name)
{
    const std::string path = folder + name;
    SaveWindowToPng(wnd, path);
    ShowPicture(path, name);
    return path;
}

void PumpMessages(int ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        Application->ProcessMessages();
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

bool PumpUntil(const std::function<bool()>& done, unsigned ms)
{
    return WaitUntil(
        [&done] {
            Application->ProcessMessages();
            return done();
        },
        ms);
}

#include "installer/SysErrors.h"

#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"

namespace {

void WindowsMessageBox(const std::string& text)
{
    MessageBoxA(GetActiveWindow(), text.c_str(), Application->Title().c_str(), MB_OK);
}

TSystemErrorBox systemErrorBox = WindowsMessageBox;

} // namespace

TSystemErrorBox SetSystemErrorBox(TSystemErrorBox box)
{
    TSystemErrorBox old = systemErrorBox;
    systemErrorBox = box ? box : WindowsMessageBox;
    return old;
}

void ShowSystemError(unsigned flags, std::string& msg)
{
    // Read before anything else can overwrite it.
    const int code = static_cast<int>(GetLastError());
    const char* name = SystemErrorName(code);
    if (!name)
        return;
    msg = Format("Błąd systemowy nr %d: %s", code, name);
    if (flags & seRaise)
        throw Exception(msg);
    if (flags & seShow)
        systemErrorBox(msg);
}

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

std::string ShellErrorMessage(unsigned lastError, int shellResult)
{
    const int code = lastError != 0 ? static_cast<int>(lastError) : shellResult;
    const bool shellOwn = lastError == 0 && ((code >= 0x71 && code <= 0x88) || code == 0xB7 || code == 0x402 ||
                                             code == 0x10000 || code == 0x10074);
    const char* name = shellOwn ? nullptr : SystemErrorName(code);
    return name ? Format("Błąd systemowy nr %d: %s", code, name) : Format("Błąd systemowy nr %d", code);
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

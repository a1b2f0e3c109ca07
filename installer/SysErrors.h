// The installer's message for the last Windows error: "Błąd systemowy nr %d:
// %s" with the error's symbolic name from the SDK's winerror.h (and the LZ
// library's results from lzexpand.h), shown in a message box or raised.
#pragma once

#include <string>

// Flags of ShowSystemError; combine with |.
enum TSystemErrorFlag : unsigned {
    seShow = 1u << 0,
    seRaise = 1u << 1,
};

// Takes the calling thread's last error (GetLastError). When it has a name,
// msg becomes the message; then with seRaise an Exception with that text is
// raised (and nothing is shown), else with seShow the message is shown.
// A code without a name does nothing and leaves msg as it was.
void ShowSystemError(unsigned flags, std::string& msg);

// The symbolic name of an error code, or nullptr when it has none.
const char* SystemErrorName(int code);

// The message for a shell file operation that failed: the number is the last
// Windows error when there is one, else the shell's own result; "Błąd
// systemowy nr %d: %s" when the number is a Windows error with a name,
// "Błąd systemowy nr %d" otherwise. The shell's own result codes, which are
// no Windows errors (0x71 to 0x88, 0xB7, 0x402, 0x10000, 0x10074), never get
// a name: the same numbers name other errors in the table.
std::string ShellErrorMessage(unsigned lastError, int shellResult);

// What shows the message: by default a Windows message box owned by the
// active window. Tests put another in its place; nullptr restores the
// default. Gives back the one it replaced.
using TSystemErrorBox = void (*)(const std::string& text);
TSystemErrorBox SetSystemErrorBox(TSystemErrorBox box);

// A program for the program-start tests: writes its command line to the file
// named by QMX_STUB_OUT (when set), sleeps QMX_STUB_SLEEP milliseconds or
// waits for the event named by QMX_STUB_HOLD to be set (at most 20 seconds:
// longer than any start takes, shorter than a test's timeout),
// then writes "done" to QMX_STUB_DONE (when set).
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

void WriteFileText(const char* variable, const std::string& text)
{
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA(variable, path, MAX_PATH))
        return;
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

} // namespace

int main()
{
    WriteFileText("QMX_STUB_OUT", GetCommandLineA());
    char value[32];
    if (GetEnvironmentVariableA("QMX_STUB_SLEEP", value, sizeof value))
        Sleep(static_cast<DWORD>(std::atoi(value)));
    char hold[MAX_PATH];
    if (GetEnvironmentVariableA("QMX_STUB_HOLD", hold, sizeof hold)) {
        if (HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, hold)) {
            WaitForSingleObject(event, 20000);
            CloseHandle(event);
        }
    }
    WriteFileText("QMX_STUB_DONE", "done");
    return 0;
}

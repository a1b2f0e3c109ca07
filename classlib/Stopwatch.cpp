#include "classlib/Stopwatch.h"

#include <windows.h>

#include <cstdio>

namespace {

struct TStopwatch {
    FILE* file = nullptr;
    ULONGLONG created = 0;  // 100 ns since 1601

    TStopwatch()
    {
        char name[MAX_PATH];
        const DWORD length = GetEnvironmentVariableA("QMX_STOPWATCH", name, sizeof name);
        if (length == 0 || length >= sizeof name)
            return;
        FILETIME creation, exit, kernel, user;
        if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user))
            return;
        created = (static_cast<ULONGLONG>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
        file = std::fopen(name, "a");
    }
    ~TStopwatch()
    {
        if (file)
            std::fclose(file);
    }
};

TStopwatch& Watch()
{
    static TStopwatch watch;
    return watch;
}

} // namespace

bool StopwatchOn()
{
    return Watch().file != nullptr;
}

void StopwatchMark(const char* what)
{
    TStopwatch& w = Watch();
    if (!w.file)
        return;
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const ULONGLONG t = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    std::fprintf(w.file, "%.1f\t%s\n", static_cast<double>(t - w.created) / 10000.0, what);
    std::fflush(w.file);
}

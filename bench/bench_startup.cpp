// bench/startup's stopwatch: starts a program (its folder the current one)
// and gives the milliseconds from the start to its first window painted: a
// visible top-level window of the process, once the process has gone idle,
// with nothing of it or its children left to paint. Then ends the program
// and clears its running-copy mark (a global atom named by its path).
//   bench_startup.exe PROGRAM [ARGUMENT]   prints the milliseconds
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct TSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK AnyToPaint(HWND child, LPARAM lp)
{
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lp) = true;
        return FALSE;
    }
    return TRUE;
}

// A window is painted when neither it nor a visible child has an update region.
bool Painted(HWND wnd)
{
    if (GetUpdateRect(wnd, nullptr, FALSE))
        return false;
    bool toPaint = false;
    EnumChildWindows(wnd, AnyToPaint, reinterpret_cast<LPARAM>(&toPaint));
    return !toPaint;
}

BOOL CALLBACK FindPainted(HWND wnd, LPARAM lp)
{
    auto* s = reinterpret_cast<TSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    RECT r{};
    if (pid != s->pid || !IsWindowVisible(wnd) || !GetWindowRect(wnd, &r) || r.right - r.left < 50 || !Painted(wnd))
        return TRUE;
    s->found = wnd;
    return FALSE;
}

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_startup PROGRAM [ARGUMENT]\n");
        return 2;
    }
    char full[MAX_PATH];
    GetFullPathNameA(argv[1], MAX_PATH, full, nullptr);
    const std::string program = full;
    std::string command = "\"" + program + "\"";
    if (argc > 2)
        command += std::string(" \"") + argv[2] + "\"";
    const std::string folder = program.substr(0, program.rfind('\\'));

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = Now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        std::fprintf(stderr, "bench_startup: cannot start %s (%lu)\n", program.c_str(), GetLastError());
        return 1;
    }
    WaitForInputIdle(pi.hProcess, 60000);
    TSearch search{pi.dwProcessId, nullptr};
    while (!search.found && Now() - start < 60000) {
        EnumWindows(FindPainted, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(1);
    }
    const double end = Now();
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (int i = 0; i < 10; ++i)
        if (const ATOM atom = GlobalFindAtomA(program.c_str()))
            GlobalDeleteAtom(atom);
    if (!search.found) {
        std::fprintf(stderr, "bench_startup: no window of %s painted within 60 s\n", program.c_str());
        return 1;
    }
    std::printf("%.1f\n", end - start);
    return 0;
}

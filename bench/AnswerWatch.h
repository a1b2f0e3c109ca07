// What bench/scale's watches of the programs from outside share: a clock,
// a program's windows found without asking the program, and a thread that
// asks its application window for an answer (WM_NULL) again and again,
// keeping the longest wait of each phase.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "tools/uidriver/UiDriver.h"

namespace answer_watch {

inline double Seconds()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

struct TWindowSearch {
    DWORD pid;
    bool shown;  // a visible main window wanted, else the application window
    HWND found = nullptr;
};

inline BOOL CALLBACK FindWindowOf(HWND wnd, LPARAM lp)
{
    auto* s = reinterpret_cast<TWindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != s->pid)
        return TRUE;
    char name[64] = "";
    GetClassNameA(wnd, name, sizeof name);
    RECT r{};
    GetWindowRect(wnd, &r);
    const bool match = s->shown ? IsWindowVisible(wnd) && r.right - r.left >= 50 : std::string(name) == "TApplication";
    if (!match)
        return TRUE;
    s->found = wnd;
    return FALSE;
}

// The process's visible main window (shown) or its application window.
inline HWND WindowOf(DWORD pid, bool shown)
{
    TWindowSearch search{pid, shown};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A pause of a waiting loop: the thread's own messages are looked at first.
// The driver's answers come to a window of this thread, and the system
// takes a thread that has not looked for 5 s as hung and drops them.
inline void Pause()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    Sleep(5);
}

// Waits until the program shows its main window; raises when it ends first.
inline void WaitForShownWindow(const TUiProcess& app, const std::string& program)
{
    while (!WindowOf(app.ProcessId(), true)) {
        if (!app.Running())
            throw EUiDriverError(program + " ended before its window showed");
        Pause();
    }
}

// Asks the process's application window for answers until stopped, and keeps
// the longest wait of each phase: a wait counts in the phase it began in and
// in the one it ended in.
class TAnswerWatch {
public:
    explicit TAnswerWatch(DWORD pid) : pid_(pid), thread_([this] { Run(); }) {}
    ~TAnswerWatch()
    {
        stop_ = true;
        thread_.join();
    }
    // Starts a phase: its longest wait counts from 0.
    void Phase(int phase)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        phase_ = phase;
        longest_[phase] = 0;
    }
    double Longest(int phase)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return longest_[phase];
    }

private:
    void Run()
    {
        HWND app = nullptr;
        while (!stop_) {
            if (!app || !IsWindow(app)) {
                app = WindowOf(pid_, false);
                Sleep(2);
                continue;
            }
            const double start = Seconds();
            int began;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                began = phase_;
            }
            DWORD_PTR result = 0;
            SendMessageTimeoutA(app, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result);
            const double wait = Seconds() - start;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                longest_[began] = std::max(longest_[began], wait);
                longest_[phase_] = std::max(longest_[phase_], wait);
            }
            Sleep(2);
        }
    }

    DWORD pid_;
    std::mutex mutex_;
    int phase_ = 0;
    std::map<int, double> longest_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace answer_watch

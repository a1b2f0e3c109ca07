// bench/scale's watch of kelvor's answers: starts kelvor on a medium and,
// from a thread of its own, asks its application window for an answer
// (WM_NULL) again and again, keeping the longest wait. The phases timed: the
// start, until the main window shows; the reading of the medium's
// description files and the listing of their rows, from then until Next can
// be used (a kelvor that reads before it shows has done so already); and
// either the change from page 3 to the program-choice page (4) of a custom
// installation, until kelvor has taken the page change up, or, with
// "summary", the change from page 3 to the summary page (6) of a full
// installation, until its install list and summary are built (Next usable
// again). Nothing asks kelvor for its forms until the end (the driver's
// dumps of them would keep it busy themselves, and make the list's window
// early): the buttons are found by their windows' names and clicked as the
// driver clicks them.
//   bench_answer.exe KELVOR MEDIUM [summary]
// prints: start SECONDS WAIT read SECONDS WAIT page4|page6 SECONDS WAIT
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "tools/uidriver/UiDriver.h"

namespace {

double Seconds()
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

BOOL CALLBACK FindWindowOf(HWND wnd, LPARAM lp)
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

HWND WindowOf(DWORD pid, bool shown)
{
    TWindowSearch search{pid, shown};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct TNameSearch {
    std::string name;
    HWND found = nullptr;
};

BOOL CALLBACK FindNamed(HWND wnd, LPARAM lp)
{
    auto* s = reinterpret_cast<TNameSearch*>(lp);
    char name[256] = "";
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(wnd, "QmxComponentName")));
    if (atom && GlobalGetAtomNameA(atom, name, sizeof name) && s->name == name) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// The window of a component by its name (the class library names its
// windows), found without asking the program.
HWND Named(HWND top, const std::string& name)
{
    TNameSearch search{name};
    EnumChildWindows(top, FindNamed, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Asks the process's application window for answers until stopped, and keeps
// the longest wait of the phase in progress.
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
            DWORD_PTR result = 0;
            SendMessageTimeoutA(app, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result);
            const double wait = Seconds() - start;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                longest_[phase_] = std::max(longest_[phase_], wait);
            }
            Sleep(2);
        }
    }

    DWORD pid_;
    std::mutex mutex_;
    int phase_ = 0;
    double longest_[4] = {};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Waits until the button's window is enabled: kelvor keeps Next disabled
// while it reads the medium and while it builds the summary.
void WaitEnabled(TUiProcess& app, HWND button)
{
    while (!IsWindowEnabled(button)) {
        if (!app.Running())
            throw EUiDriverError("kelvor ended while its Next was disabled");
        Sleep(2);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const bool summary = argc == 4 && std::string(argv[3]) == "summary";
    if (argc != 3 && !summary) {
        std::fprintf(stderr, "usage: bench_answer KELVOR MEDIUM [summary]\n");
        return 2;
    }
    try {
        const double start = Seconds();
        TUiProcess app(std::string("\"") + argv[1] + "\" \"" + argv[2] + "\"");
        app.SetTimeout(600000);
        TAnswerWatch watch(app.ProcessId());
        watch.Phase(0);
        while (!WindowOf(app.ProcessId(), true)) {
            if (!app.Running())
                throw EUiDriverError("kelvor ended before its window showed");
            Sleep(5);
        }
        const double shown = Seconds() - start;
        const double startWait = watch.Longest(0);

        const HWND main = WindowOf(app.ProcessId(), true);
        const HWND next = Named(main, "bDalej");
        if (!next)
            throw EUiDriverError("kelvor's window shows no bDalej");
        watch.Phase(1);
        WaitEnabled(app, next);
        const double read = Seconds() - start;
        const double readWait = watch.Longest(1);

        // To page 3, not timed; then Next, timed until kelvor has taken the
        // page change up (and, for the summary, built it).
        auto click = [&](const char* name) {
            const HWND button = Named(main, name);
            if (!button)
                throw EUiDriverError(std::string("kelvor's window shows no ") + name);
            PostMessageA(button, BM_CLICK, 0, 0);
            app.Sync();
        };
        watch.Phase(2);
        if (summary) {
            for (int i = 0; i < 3; ++i)
                click("bDalej");
        } else {
            for (const char* name : {"bDalej", "rbNietypowa", "bDalej", "bDalej"})
                click(name);
        }
        watch.Phase(3);
        const double before = Seconds();
        click("bDalej");
        if (summary)
            WaitEnabled(app, next);
        const double page = Seconds() - before;
        const double pageWait = watch.Longest(3);
        app.WaitForText("eMain", "lbInfo", summary ? "Podsumowanie" : "Wybierz programy");
        app.Kill();
        // A program ended by force leaves its running-copy mark (a global
        // atom named by its path) behind.
        for (int i = 0; i < 10; ++i)
            if (const ATOM atom = GlobalFindAtomA(argv[1]))
                GlobalDeleteAtom(atom);
        std::printf("start %.2f %.2f read %.2f %.2f %s %.2f %.2f\n", shown, startWait, read, readWait,
                    summary ? "page6" : "page4", page, pageWait);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_answer: %s\n", e.what());
        return 1;
    }
}

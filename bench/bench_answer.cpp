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

#include <cstdio>
#include <string>

#include "bench/AnswerWatch.h"
#include "tools/uidriver/UiDriver.h"

namespace {

using namespace answer_watch;

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

// Waits until the button's window is enabled: kelvor keeps Next disabled
// while it reads the medium and while it builds the summary.
void WaitEnabled(TUiProcess& app, HWND button)
{
    while (!IsWindowEnabled(button)) {
        if (!app.Running())
            throw EUiDriverError("kelvor ended while its Next was disabled");
        Pause();
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
        WaitForShownWindow(app, "kelvor");
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

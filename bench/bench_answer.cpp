// bench/scale's watch of kelvor's answers: starts kelvor on a medium and,
// from a thread of its own, asks its application window for an answer
// (WM_NULL) again and again, keeping the longest wait. Two phases are timed:
// the start, until the main window shows (the medium's description files
// are read and their rows listed meanwhile), and the change from page 3 to
// the program-choice page (4) of a custom installation. Nothing asks kelvor
// for its forms until the end (the driver's dumps of them would keep it busy
// themselves, and make the list's window early): the buttons are found by
// their windows' names and clicked as the driver clicks them.
//   bench_answer.exe KELVOR MEDIUM
// prints: start SECONDS WAIT page4 SECONDS WAIT
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_answer KELVOR MEDIUM\n");
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

        // To page 3 of a custom installation, not timed; then Next, timed
        // until kelvor has taken the page change up.
        const HWND main = WindowOf(app.ProcessId(), true);
        auto click = [&](const char* name) {
            const HWND button = Named(main, name);
            if (!button)
                throw EUiDriverError(std::string("kelvor's window shows no ") + name);
            PostMessageA(button, BM_CLICK, 0, 0);
            app.Sync();
        };
        watch.Phase(1);
        for (const char* name : {"bDalej", "rbNietypowa", "bDalej", "bDalej"})
            click(name);
        watch.Phase(2);
        const double before = Seconds();
        click("bDalej");
        const double page4 = Seconds() - before;
        const double page4Wait = watch.Longest(2);
        app.WaitForText("eMain", "lbInfo", "Wybierz programy");
        app.Kill();
        // A program ended by force leaves its running-copy mark (a global
        // atom named by its path) behind.
        for (int i = 0; i < 10; ++i)
            if (const ATOM atom = GlobalFindAtomA(argv[1]))
                GlobalDeleteAtom(atom);
        std::printf("start %.2f %.2f page4 %.2f %.2f\n", shown, startWait, page4, page4Wait);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_answer: %s\n", e.what());
        return 1;
    }
}

// bench/scale's watch of brennik's answers: starts brennik with its
// stopwatch on and, from a thread of its own, asks its application window
// for an answer (WM_NULL) again and again, keeping the longest wait. The
// phases timed: the start, until the main window shows; the page shown at
// start (the removal page, which reads the installer's report) until it is
// filled, at the stopwatch's first "message loop idle" (a brennik that fills
// the page before it shows has done so already); and, with "applications",
// page 0 chosen by its tab until its list is filled (the stopwatch's
// "applications listed"). Nothing asks brennik for its forms meanwhile.
//   bench_brennik_answer.exe BRENNIK STOPWATCH [applications]
// prints: start SECONDS WAIT filled SECONDS WAIT [applications SECONDS WAIT]
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/AnswerWatch.h"
#include "tools/uidriver/UiDriver.h"

namespace {

using namespace answer_watch;

// The stopwatch file's lines after its first `from`, as text.
std::string MarksAfter(const std::string& file, int from)
{
    HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "";
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(h, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(h);
    std::size_t p = 0;
    for (int i = 0; i < from && p != std::string::npos; ++i) {
        p = text.find('\n', p);
        if (p != std::string::npos)
            ++p;
    }
    return p == std::string::npos ? "" : text.substr(p);
}

int LineCount(const std::string& file)
{
    const std::string text = MarksAfter(file, 0);
    int lines = 0;
    for (const char c : text)
        lines += c == '\n';
    return lines;
}

// Waits until the stopwatch shows the mark after its first `from` lines.
void WaitMark(TUiProcess& app, const std::string& file, int from, const char* mark)
{
    while (MarksAfter(file, from).find(mark) == std::string::npos) {
        if (!app.Running())
            throw EUiDriverError(std::string("brennik ended before its stopwatch showed ") + mark);
        Pause();
    }
}

} // namespace

int main(int argc, char** argv)
{
    const bool applications = argc == 4 && std::string(argv[3]) == "applications";
    if (argc != 3 && !applications) {
        std::fprintf(stderr, "usage: bench_brennik_answer BRENNIK STOPWATCH [applications]\n");
        return 2;
    }
    const std::string stopwatch = argv[2];
    try {
        DeleteFileA(stopwatch.c_str());
        const double start = Seconds();
        TUiProcess app(std::string("\"") + argv[1] + "\"", TUiStartOptions{"", {"QMX_STOPWATCH=" + stopwatch}});
        app.SetTimeout(600000);
        TAnswerWatch watch(app.ProcessId());
        watch.Phase(0);
        WaitForShownWindow(app, "brennik");
        const double shown = Seconds() - start;

        watch.Phase(1);
        WaitMark(app, stopwatch, 0, "message loop idle");
        const double filled = Seconds() - start;
        double listed = 0;
        if (applications) {
            const int before = LineCount(stopwatch);
            watch.Phase(2);
            const double chosen = Seconds();
            app.QueueProperty("eMain", "ts", "TabIndex", "0");
            WaitMark(app, stopwatch, before, "applications listed");
            listed = Seconds() - chosen;
        }
        // Read at the end: a wait still under way when its phase ended counts.
        watch.Phase(3);
        app.Sync();
        std::printf("start %.2f %.2f filled %.2f %.2f", shown, watch.Longest(0), filled, watch.Longest(1));
        if (applications)
            std::printf(" applications %.2f %.2f", listed, watch.Longest(2));
        std::printf("\n");
        app.Kill();
        // A program ended by force leaves its running-copy mark (a global
        // atom named by its path) behind.
        for (int i = 0; i < 10; ++i)
            if (const ATOM atom = GlobalFindAtomA(argv[1]))
                GlobalDeleteAtom(atom);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_brennik_answer: %s\n", e.what());
        return 1;
    }
}

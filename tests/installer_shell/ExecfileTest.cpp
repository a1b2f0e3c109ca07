#include "installer/Execfile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/Registry.h"
#include "classlib/SysUtils.h"
#include "tests/installer_shell/ShellTest.h"
#include "tests/support/TestUtil.h"

namespace {

std::string StubPath()
{
    return TestProgramFolder() + "execstub.exe";
}

std::string Quoted(const std::string& s)
{
    return '"' + s + '"';
}

// The stub's settings go through the environment, which the started program
// inherits; each test clears them again.
class StubEnvironment {
public:
    StubEnvironment(const TempFolder& tmp, int sleepMs)
        : out(tmp.Path() + "cmdline.txt"), done(tmp.Path() + "done.txt")
    {
        SetEnvironmentVariableA("QMX_STUB_OUT", out.c_str());
        SetEnvironmentVariableA("QMX_STUB_DONE", done.c_str());
        SetEnvironmentVariableA("QMX_STUB_SLEEP", std::to_string(sleepMs).c_str());
    }
    ~StubEnvironment()
    {
        for (const char* name : {"QMX_STUB_OUT", "QMX_STUB_DONE", "QMX_STUB_SLEEP"})
            SetEnvironmentVariableA(name, nullptr);
    }
    std::string out, done;
};

// Holds every stub started meanwhile until Release (or the end of the test):
// a start that waited for the stub could not return before.
class StubHold {
public:
    StubHold()
        : name_("qmx-stub-hold-" + std::to_string(GetCurrentProcessId())),
          event_(CreateEventA(nullptr, TRUE, FALSE, name_.c_str()))
    {
        SetEnvironmentVariableA("QMX_STUB_HOLD", name_.c_str());
    }
    ~StubHold()
    {
        Release();
        SetEnvironmentVariableA("QMX_STUB_HOLD", nullptr);
        CloseHandle(event_);
    }
    StubHold(const StubHold&) = delete;
    StubHold& operator=(const StubHold&) = delete;
    void Release() { SetEvent(event_); }

private:
    std::string name_;
    HANDLE event_;
};

class FailCounter : public TObject {
public:
    int Fails = 0;
    void Failed(TObject*) { ++Fails; }
};

// CPU time (user and kernel) of this process so far, in milliseconds.
double ProcessCpuMs()
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// Counts timer ticks, and whether the program start said it was waiting.
TExecFile* watched = nullptr;
int ticks = 0;
bool sawRunning = false;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    ++ticks;
    if (watched && watched->Running())
        sawRunning = true;
}

} // namespace

class ExecFile : public ShellTest {};

TEST_F(ExecFile, MissingProgramFailsOnce)
{
    TempFolder tmp;
    for (bool wait : {false, true}) {
        SCOPED_TRACE(wait ? "waiting" : "not waiting");
        TExecFile exec(nullptr);
        FailCounter counter;
        exec.OnFail = TNotifyEvent(&counter, &FailCounter::Failed);
        exec.SetCommandLine(tmp.Path() + "brak.exe");
        exec.Wait = wait;
        EXPECT_FALSE(exec.Execute());
        EXPECT_EQ(counter.Fails, 1);
        EXPECT_EQ(exec.LastError(), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    }
}

// Both wait styles return only after the program has ended. The regular wait
// keeps the thread's messages flowing (a timer ticks) and sleeps meanwhile:
// the process uses almost no CPU while the stub sleeps.
TEST_F(ExecFile, WaitsUntilTheProgramEnds)
{
    struct Row {
        TWaitStyle style;
        bool dispatches;
    } rows[] = {{wRegular, true}, {wSuspend, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.style == wRegular ? "wRegular" : "wSuspend");
        TempFolder tmp;
        StubEnvironment env(tmp, 1500);
        TExecFile exec(nullptr);
        exec.SetCommandLine(StubPath());
        exec.SetParameters("raz dwa");
        exec.Wait = true;
        exec.WaitStyle = row.style;
        exec.WindowStyle = wsHide;

        watched = &exec;
        ticks = 0;
        sawRunning = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, Tick);
        const double cpuBefore = ProcessCpuMs();
        const DWORD start = GetTickCount();
        EXPECT_TRUE(exec.Execute());
        const DWORD elapsed = GetTickCount() - start;
        const double cpu = ProcessCpuMs() - cpuBefore;
        KillTimer(nullptr, timer);
        watched = nullptr;

        EXPECT_EQ(ReadWholeFile(env.done), "done");
        EXPECT_GE(elapsed, 1400u);
        EXPECT_LT(cpu, 150.0) << "CPU milliseconds while waiting " << elapsed << " ms";
        EXPECT_EQ(ticks > 0, row.dispatches) << ticks;
        EXPECT_EQ(sawRunning, row.dispatches);
        EXPECT_FALSE(exec.Running());
        EXPECT_EQ(ReadWholeFile(env.out), StubPath() + " raz dwa");
    }
}

TEST_F(ExecFile, WithoutWaitReturnsAtOnce)
{
    TempFolder tmp;
    StubEnvironment env(tmp, 0);
    StubHold hold;
    TExecFile exec(nullptr);
    exec.SetCommandLine(StubPath());
    exec.WindowStyle = wsHide;
    EXPECT_TRUE(exec.Execute());
    EXPECT_FALSE(FileExists(env.done));

    // Let the stub end before its folder goes.
    hold.Release();
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, exec.ProcessId());
    ASSERT_TRUE(process);
    EXPECT_EQ(WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
    CloseHandle(process);
}

// A document that cannot be started itself starts the program associated
// with its extension, with the document as the first argument.
TEST_F(ExecFile, AssociatedProgramOpensTheDocument)
{
    TempFolder tmp;
    StubEnvironment env(tmp, 0);
    const std::string ext = ".qmxdoc" + std::to_string(GetCurrentProcessId());
    const std::string progId = "QmxTest.Document" + std::to_string(GetCurrentProcessId());
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        ASSERT_TRUE(reg.OpenKey("\\" + ext, true));
        reg.WriteString("", progId);
        ASSERT_TRUE(reg.OpenKey("\\" + progId + "\\shell\\open\\command", true));
        reg.WriteString("", Quoted(StubPath()) + " \"%1\"");
    }
    const std::string document = tmp.Path() + "list" + ext;
    WriteWholeFile(document, "x");

    TExecFile exec(nullptr);
    exec.SetCommandLine(document);
    exec.SetParameters("-p");
    exec.Associate = true;
    exec.Wait = true;
    exec.WaitStyle = wSuspend;
    const bool started = exec.Execute();

    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    reg.DeleteKey("\\" + ext);
    reg.DeleteKey("\\" + progId);

    ASSERT_TRUE(started);
    EXPECT_EQ(AnsiLowerCase(ExtractFileName(exec.AssociatedProgram())), "execstub.exe");
    EXPECT_EQ(ReadWholeFile(env.out), exec.AssociatedProgram() + " " + document + " -p");
}

// A quit message during the regular wait ends the whole program with the
// quit message's exit code while the program it waits for still runs (in a
// program of its own).
TEST_F(ExecFile, QuitMessageDuringWaitEndsTheProgram)
{
    TempFolder tmp;
    StubEnvironment env(tmp, 0);
    StubHold hold;
    EXPECT_EQ(RunProgram(Quoted(TestProgramFolder() + "execquit.exe"), EventLimitMs), 7);
    EXPECT_FALSE(FileExists(env.done));

    // Let the stub end before its folder goes.
    hold.Release();
    EXPECT_TRUE(WaitUntil([&] { return FileExists(env.done); }));
}

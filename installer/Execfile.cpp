#include "installer/Execfile.h"

#include <windows.h>

#include <shellapi.h>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "classlib/WinHandles.h"

namespace {

// Clears a flag when it goes, also when a handler's exception passes.
class FlagUp {
public:
    explicit FlagUp(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagUp() { flag_ = false; }
    FlagUp(const FlagUp&) = delete;
    FlagUp& operator=(const FlagUp&) = delete;

private:
    bool& flag_;
};

const WORD showCommand[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_HIDE, SW_SHOWMINNOACTIVE, SW_SHOWNA};
const DWORD priorityClass[] = {NORMAL_PRIORITY_CLASS, IDLE_PRIORITY_CLASS, HIGH_PRIORITY_CLASS, REALTIME_PRIORITY_CLASS};

std::string ShortText(const std::string& s)
{
    return s.substr(0, 255);
}

bool StartProcess(const std::string& commandText, DWORD creationFlags, STARTUPINFOA& si, PROCESS_INFORMATION& pi)
{
    std::string line = commandText;  // CreateProcessA may write into it
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr, &si, &pi) !=
           FALSE;
}

// Dispatches the thread's messages until the process has ended. The wait
// sleeps until either a message arrives or the process ends.
void WaitDispatching(HANDLE process)
{
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                Halt(static_cast<int>(msg.wParam));
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        const DWORD r = MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0) {
            Application->ProcessMessages();
            return;
        }
        if (r == WAIT_FAILED)
            return;
    }
}

} // namespace

TExecFile::TExecFile(TComponent* owner) : TComponent(owner)
{
}

void TExecFile::SetCommandLine(const std::string& value)
{
    commandLine_ = ShortText(value);
}

void TExecFile::SetParameters(const std::string& value)
{
    parameters_ = ShortText(value);
}

bool TExecFile::Execute()
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = WindowStyle >= wsNorm && WindowStyle <= wsShowNoActivate ? showCommand[WindowStyle] : SW_SHOWNORMAL;
    const DWORD creationFlags =
        (Priority >= pcNormal && Priority <= pcRealTime ? priorityClass[Priority] : NORMAL_PRIORITY_CLASS) |
        CREATE_NEW_CONSOLE;

    PROCESS_INFORMATION pi{};
    bool started = StartProcess(ShortText(commandLine_ + " " + parameters_), creationFlags, si, pi);
    if (!started && Associate) {
        char program[MAX_PATH] = "";
        const INT_PTR found = reinterpret_cast<INT_PTR>(FindExecutableA(commandLine_.c_str(), nullptr, program));
        // Results up to 32 are the look-up's error codes.
        if (found > 32) {
            associatedProgram_ = program;
            started = StartProcess(ShortText(associatedProgram_ + " " + commandLine_ + " " + parameters_),
                                   creationFlags, si, pi);
        }
    }
    if (!started) {
        lastError_ = GetLastError();
        OnFail(this);
        return false;
    }

    const TFileHandle process(pi.hProcess);
    const TFileHandle thread(pi.hThread);
    processId_ = pi.dwProcessId;
    if (Wait) {
        const FlagUp running(running_);
        if (WaitStyle == wSuspend)
            WaitForSingleObject(process.Get(), INFINITE);
        else
            WaitDispatching(process.Get());
    }
    return true;
}

const TClassInfo* TExecFile::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TExecFile::StaticClass()
{
    static const TClassInfo info(
        "TExecFile", &TComponent::StaticClass(), &NewComponent<TExecFile>,
        {
            PublishString<&TExecFile::CommandLine, &TExecFile::SetCommandLine>("CommandLine"),
            PublishString<&TExecFile::Parameters, &TExecFile::SetParameters>("Parameters"),
            PublishBoolean<&TExecFile::Associate, &TExecFile::Associate>("Associate"),
            PublishBoolean<&TExecFile::Wait, &TExecFile::Wait>("Wait"),
            PublishEnum<&TExecFile::WaitStyleOrd, &TExecFile::SetWaitStyleOrd>("WaitStyle", {"wRegular", "wSuspend"}),
            PublishEnum<&TExecFile::WindowStyleOrd, &TExecFile::SetWindowStyleOrd>(
                "WindowStyle", {"wsNorm", "wsMinimize", "wsMaximize", "wsHide", "wsMinNoActivate", "wsShowNoActivate"}),
            PublishEnum<&TExecFile::PriorityOrd, &TExecFile::SetPriorityOrd>(
                "Priority", {"pcNormal", "pcIdle", "pcHigh", "pcRealTime"}),
            PublishEvent<&TExecFile::OnFail>("OnFail"),
        });
    return info;
}

void ExecfileStartup()
{
    RegisterComponentClass(TExecFile::StaticClass());
}

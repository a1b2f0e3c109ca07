// TExecFile: starts a program with a command line and, when asked, waits
// until it has ended, either keeping the caller's windows alive or blocking
// outright; can fall back to the program associated with a document.
#pragma once

#include <string>

#include "classlib/Classes.h"

enum TWaitStyle { wRegular, wSuspend };
enum TWindowStyle { wsNorm, wsMinimize, wsMaximize, wsHide, wsMinNoActivate, wsShowNoActivate };
enum TPriorityClass { pcNormal, pcIdle, pcHigh, pcRealTime };

class TExecFile : public TComponent {
public:
    explicit TExecFile(TComponent* owner);

    // Short texts: at most 255 characters, more are cut.
    const std::string& CommandLine() const { return commandLine_; }
    void SetCommandLine(const std::string& value);
    const std::string& Parameters() const { return parameters_; }
    void SetParameters(const std::string& value);
    // When the direct start fails, start the program associated with
    // CommandLine, with CommandLine as its first argument.
    bool Associate = false;
    bool Wait = false;
    // wRegular dispatches the thread's messages while waiting; wSuspend
    // blocks the thread.
    TWaitStyle WaitStyle = wRegular;
    TWindowStyle WindowStyle = wsNorm;
    TPriorityClass Priority = pcNormal;
    // Called when the program cannot be started.
    TNotifyEvent OnFail;

    // True when the program started and, with Wait, has ended; false after
    // OnFail when it could not be started. The started program's exit code
    // is not looked at. A quit message that arrives during a wRegular wait
    // ends the whole program with the quit message's exit code.
    bool Execute();

    // The Windows error of the last failed start.
    unsigned long LastError() const { return lastError_; }
    // The program the last association look-up found.
    const std::string& AssociatedProgram() const { return associatedProgram_; }
    unsigned long ProcessId() const { return processId_; }
    // True while Execute waits.
    bool Running() const { return running_; }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    int WaitStyleOrd() const { return WaitStyle; }
    void SetWaitStyleOrd(int v) { WaitStyle = static_cast<TWaitStyle>(v); }
    int WindowStyleOrd() const { return WindowStyle; }
    void SetWindowStyleOrd(int v) { WindowStyle = static_cast<TWindowStyle>(v); }
    int PriorityOrd() const { return Priority; }
    void SetPriorityOrd(int v) { Priority = static_cast<TPriorityClass>(v); }

    std::string commandLine_;
    std::string parameters_;
    unsigned long lastError_ = 0;
    std::string associatedProgram_;
    unsigned long processId_ = 0;
    bool running_ = false;
};

// Registers the unit's component class for the form reader.
void ExecfileStartup();

// The UI driver: starts a program of the class library as another process
// and drives it the way a person would, for the end-to-end tests and the
// demo. It reads the program's forms through the probe each program carries
// (classlib/UiProbe.h), clicks windowed buttons with real button clicks,
// types into edits with WM_SETTEXT, answers the programs' message dialogs
// and the system's own dialogs, and waits, always with a time limit, for
// forms, texts and the end of the program.
//
// Forms are named by their Name, their class or their caption; among several
// the newest showing one is meant. Components are named by their Name. Texts
// are code page 1250, as in the programs.
//
//     TUiProcess app("kelvor.exe C:\\medium");
//     app.WaitForForm("eMain");
//     app.Click("eMain", "bDalej");
//     app.WaitForText("eMain", "lbInfo", "Rodzaj instalacji");
//     app.Click("eMain", "bAnuluj");
//     app.AnswerDialog("Abort");
//     app.WaitForExit();
//
// Every failure, a wait that runs out included, raises EUiDriverError with a
// text that says what was asked or waited for.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class EUiDriverError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A component as the probe described it: its class, name and "key=value"
// lines (see classlib/UiProbe.h for the keys).
struct TUiComponent {
    std::string Class;
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Lines;

    bool Has(const std::string& key) const;
    // The value of a key (exact letter case); empty when there is none.
    std::string Value(const std::string& key) const;
    // A string list or indexed state: the values of KEY[0] .. KEY[KEY.Count-1]
    // (without a KEY.Count line: as long as KEY[i] lines follow one another).
    std::vector<std::string> List(const std::string& key) const;
    // The window, nullptr for a windowless control or one without a window yet.
    HWND Handle() const;
    bool Showing() const { return Value("showing") == "1"; }
    bool Enabled() const { return Value("Enabled") != "False"; }
    // Where it is on the screen; empty when it is not shown.
    RECT ScreenRect() const;
    // "Class Name" for messages.
    std::string Title() const;
};

struct TUiForm : TUiComponent {
    std::vector<TUiComponent> Components;

    bool Modal() const { return Value("modal") == "1"; }
    // A component by name (any letter case); nullptr when there is none.
    const TUiComponent* Find(const std::string& name) const;
};

struct TUiDump {
    std::vector<TUiForm> Forms;

    // The form a name, class or caption means: the newest showing one, else
    // the newest; nullptr when none.
    const TUiForm* FindForm(const std::string& selector) const;
    // Reads the probe's text.
    static TUiDump Parse(const std::string& text);
};

struct TUiStartOptions {
    // The current folder of the program; empty: the driver's.
    std::string Folder;
    // "NAME=value" entries that replace or extend the driver's environment.
    std::vector<std::string> Environment;
};

class TUiProcess {
public:
    // Starts a program (the command line as CreateProcess takes it). It is
    // ended when this object goes, unless Detach was called.
    explicit TUiProcess(const std::string& commandLine, const TUiStartOptions& options = {});
    // Drives a program already running.
    explicit TUiProcess(DWORD processId);
    ~TUiProcess();
    TUiProcess(const TUiProcess&) = delete;
    TUiProcess& operator=(const TUiProcess&) = delete;

    DWORD ProcessId() const { return pid_; }
    bool Running() const;
    // Leaves the program running when this object goes.
    void Detach() { owned_ = false; }
    // The time limit of every wait and request without one of its own (ms).
    int Timeout() const { return timeout_; }
    void SetTimeout(int ms) { timeout_ = ms; }

    // The forms now (all, or those a name, class or caption means).
    TUiDump Dump(const std::string& form = "");
    // A component now; the form itself for an empty name.
    TUiComponent Component(const std::string& form, const std::string& name);

    // Waits until the form shows, and gives it.
    TUiForm WaitForForm(const std::string& form, int timeoutMs = -1);
    // Waits until no form of that name, class or caption shows.
    void WaitForFormGone(const std::string& form, int timeoutMs = -1);
    // Waits until the component shows and can be used, and gives it.
    TUiComponent WaitForComponent(const std::string& form, const std::string& name, int timeoutMs = -1);
    // Waits until the component's Caption, Text or a line of its Lines or
    // Items holds text, and gives it.
    TUiComponent WaitForText(const std::string& form, const std::string& name, const std::string& text,
                             int timeoutMs = -1);
    // Waits until pred holds for the component (a missing one never holds).
    TUiComponent WaitFor(const std::string& form, const std::string& name, const std::string& what,
                         const std::function<bool(const TUiComponent&)>& pred, int timeoutMs = -1);

    // Each of these waits until the component shows and is enabled, acts,
    // and returns once the program has taken the action up (handled it, or
    // entered a modal loop inside it).
    // A windowed button gets a real click (BM_CLICK); any other control
    // its Click through the probe.
    void Click(const std::string& form, const std::string& name);
    // Clicks a check box or radio button when it is not already as asked.
    void SetChecked(const std::string& form, const std::string& name, bool checked);
    // An edit's text through WM_SETTEXT, which the class library's edits
    // announce with one OnChange; a control without a window through its
    // Text.
    void SetText(const std::string& form, const std::string& name, const std::string& text);
    // Selects an item by index (ItemIndex) or by its text among Items.
    void SelectItem(const std::string& form, const std::string& name, int index);
    void SelectItem(const std::string& form, const std::string& name, const std::string& text);
    // Ticks or clears a list item's check box (state "Checked[i]").
    void SetItemChecked(const std::string& form, const std::string& name, int index, bool checked);
    // Sets a grid cell (state "Cells[col,row]") as if typed.
    void SetCell(const std::string& form, const std::string& name, int col, int row, const std::string& text);
    // A real press and release of the left mouse button at a point of the
    // component's client area, posted to the window that lies there (a
    // child window of the component's own included).
    void ClickAt(const std::string& form, const std::string& name, int x, int y);
    // A real key press and release posted to the component's window; with
    // alt as the system keys come (WM_SYSKEYDOWN, the context bit set).
    void PressKey(const std::string& form, const std::string& name, WORD key, bool alt = false);
    // Focuses a windowed control and sends it keys as a person presses them
    // ("Jan{Enter}", "{Ctrl+V}"; see classlib/UiProbe.h), returning once the
    // program has handled the last one.
    void Keys(const std::string& form, const std::string& name, const std::string& keys);
    // Sets a control's state key or published property from text.
    void SetProperty(const std::string& form, const std::string& name, const std::string& key,
                     const std::string& value);
    // The same two through the probe without waiting for the program to
    // take them up: actions handed over in a row queue up behind each other
    // and behind whatever the program is busy with, as a quick user's do.
    void QueueProperty(const std::string& form, const std::string& name, const std::string& key,
                       const std::string& value);
    void QueueClick(const std::string& form, const std::string& name);

    // Waits for a modal form of the program that has a button of that name
    // (a message dialog: "Yes", "No", "OK" ...), clicks it and gives the
    // form as it was.
    TUiForm AnswerDialog(const std::string& button, int timeoutMs = -1);
    // Waits for a system dialog of the program (a window of class #32770:
    // the shell's confirmations, MessageBox) with a button of that text
    // ("&" and letter case aside), clicks it, waits until the dialog is
    // gone and gives the dialog's texts, its caption first, one a line.
    std::string AnswerSystemDialog(const std::string& buttonText, int timeoutMs = -1);

    // Saves what the form shows as a PNG file (a path of the program's).
    void SavePng(const std::string& form, const std::string& fileName);

    // Asks a shown form to close as its close box does (WM_CLOSE, posted).
    void CloseForm(const std::string& form);

    // Waits until the program has taken up every action sent so far.
    void Sync(int timeoutMs = -1);
    // Waits for the program's end and gives its exit code.
    int WaitForExit(int timeoutMs = -1);
    // Ends the program at once.
    void Kill();

private:
    struct TAnswer {
        int Started = 0;
        std::string Body;
    };
    HWND AppWindow();
    bool TryRequest(const std::vector<std::string>& fields, TAnswer& answer, int timeoutMs);
    TAnswer Request(const std::vector<std::string>& fields, int timeoutMs = -1);
    int PostAction(const std::vector<std::string>& fields, const std::string& what);
    void WaitStarted(int action, int timeoutMs);
    void Poll(const std::string& what, int timeoutMs, const std::function<bool()>& done,
              const std::function<std::string()>& state = {});
    std::string Ended() const;
    int Limit(int timeoutMs) const { return timeoutMs < 0 ? timeout_ : timeoutMs; }

    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    bool owned_ = false;
    // A bound for a machine far slower than any: a wait ends as soon as what
    // it waits for is there.
    int timeout_ = 30000;
    HWND app_ = nullptr;
    HWND replyWnd_ = nullptr;
    unsigned long requestId_ = 0;
    std::string reply_;
    bool replied_ = false;
    std::map<int, std::string> actions_;
    int lastAction_ = 0;

    friend LRESULT CALLBACK UiReplyWndProc(HWND, UINT, WPARAM, LPARAM);
};

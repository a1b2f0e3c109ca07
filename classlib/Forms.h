// Forms, the application object and the screen object, and the units'
// start-up and shutdown list with Halt.
//
// Making a form: a form class derives from TForm, publishes its event
// handlers in its class table (TypInfo.h) and is made by
//
//     Application->CreateForm(eMain);          // owned by the application
//     auto* dlg = TForm::Create<TeDialog>(owner);
//
// Both construct the form, read its form resource (when the program has one
// for the class, FormReader.h), fire OnCreate and show the form
// when it was made visible. A form is freed with Free() or Release(), which
// fire OnDestroy while the form is still whole; its owner frees it the same
// way.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "classlib/Controls.h"

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TPosition {
    poDesigned,        // where Left and Top say
    poDefault,         // where and as large as the system chooses
    poDefaultPosOnly,  // where the system chooses
    poDefaultSizeOnly, // as large as the system chooses
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};
// Buttons of the caption bar, as bits.
enum : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

// ---------------------------------------------------------------------------
// Forms

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Reads the form resource, fires OnCreate and shows the form when it is
    // visible; once (later calls do nothing). TForm::Create and
    // Application->CreateForm call it.
    void InitForm();
    // OnDestroy, then the form is deleted.
    void Free();
    // Frees the form once the message being handled is done.
    void Release();

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    unsigned BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(unsigned value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }

    // The control that has (or gets, when the form is activated) the focus.
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Focuses a control of the form (SetFocus of controls comes here).
    void FocusControl(TWinControl* control);
    bool Active() const { return active_; }

    TCanvas* Canvas() { return ControlCanvas(); }

    void Show();
    void Hide() { SetVisible(false); }
    void Close();
    bool CloseQuery();
    // Shows the form and runs a message loop until ModalResult is set (by a
    // control, by Close: mrCancel, by the application ending: mrCancel); the
    // other windows of the program are disabled meanwhile.
    int ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    bool IsModal() const { return modal_; }

    void SetVisible(bool visible) override;
    void BringToFront() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    friend class TWinControl;
    friend class TControl;
    friend class TApplication;

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void PaintWindow(HDC dc) override;
    bool IsTopLevel() const override { return true; }
    virtual void DoClose(TCloseAction& action) { OnClose(this, action); }
    virtual void Activate() { OnActivate(this); }
    virtual void Deactivate() { OnDeactivate(this); }
    virtual void Paint() { OnPaint(this); }

private:
    void SetFocusedControl(TWinControl* control);
    void ControlGone(TControl* control);
    void PlaceOnFirstShow();
    void ShowWindowNow(bool visible);
    void SetActive(bool active);
    void FocusFirst();

    TFormBorderStyle borderStyle_ = bsSizeable;
    unsigned borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    TFormStyle formStyle_ = fsNormal;
    bool keyPreview_ = false;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool active_ = false;
    bool initialized_ = false;
    bool placed_ = false;
    bool destroyFired_ = false;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;

    // A new form of class T (constructed, read from its resource, created).
    template <class T>
    static T* Create(TComponent* owner)
    {
        T* form = new T(owner);
        form->InitForm();
        return form;
    }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// The form whose client area holds the control (the control itself when it
// is a form); nullptr when it is in none.
TCustomForm* GetParentForm(const TControl* control);

// ---------------------------------------------------------------------------
// The application

using TIdleEvent = TEvent<TObject*, bool&>;
using TExceptionEvent = TEvent<TObject*, Exception&>;
using TMessageEvent = TEvent<MSG&, bool&>;
using TShowHintEvent = TEvent<std::string&, bool&, THintInfo&>;
// (Command, Data, CallHelp, Result)
using THelpEvent = TEvent<WORD, LONG_PTR, bool&, bool&>;
// Sees a message of the application window first; sets Handled (the second
// argument) to answer it with the message's Result.
using TWindowHook = TEvent<TMessage&, bool&>;

class THintWindow;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Nothing more to prepare; kept for the programs' start-up sequence.
    void Initialize() {}

    // The hidden window that stands for the program (taskbar, owner of the
    // forms).
    HWND Handle() const { return handle_; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    TCustomForm* MainForm() const { return mainForm_; }
    bool ShowMainForm = true;

    // Makes a form of class T owned by the application (the first one made
    // becomes the main form), storing it into reference before OnCreate.
    template <class T>
    void CreateForm(T*& reference)
    {
        T* form = new T(this);
        reference = form;
        if (!mainForm_)
            mainForm_ = form;
        form->InitForm();
    }

    // Shows the main form and handles messages until Terminate (or the main
    // form closes).
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every message waiting, then returns.
    void ProcessMessages();
    // Handles one message, or waits for one after the idle handling.
    void HandleMessage();

    // Called inside a catch block: OnException when set, else ShowException.
    void HandleException(TObject* sender);
    void ShowException(const Exception& e);
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    bool Active() const { return active_; }
    void Minimize();
    void Restore();
    bool IsMinimized() const { return minimized_; }
    void BringToFront();

    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::string& file) { helpFile_ = file; }
    // Shows a help topic: OnHelp first, then the help file.
    bool HelpContext(int context);
    bool HelpCommand(WORD command, LONG_PTR data);

    // Hints.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor value) { hintColor_ = value; }
    int HintPause() const { return hintPause_; }
    void SetHintPause(int value) { hintPause_ = value; }
    int HintShortPause() const { return hintShortPause_; }
    void SetHintShortPause(int value) { hintShortPause_ = value; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int value) { hintHidePause_ = value; }
    void CancelHint();
    // Shows the hint of the control under the mouse now.
    void ActivateHint(TPoint cursorPos);
    THintWindow* HintWindow() const { return hintWindow_; }

    bool UpdateFormatSettings = true;
    bool UpdateMetricSettings = true;

    void HookMainWindow(const TWindowHook& hook);
    void UnhookMainWindow(const TWindowHook& hook);

    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    THelpEvent OnHelp;
    TNotifyEvent OnHint;
    TMessageEvent OnMessage;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TShowHintEvent OnShowHint;

    // For the controls: the mouse moved over control (windowless ones
    // included); sends CM_MOUSELEAVE and CM_MOUSEENTER when it changed and
    // starts the hint.
    void MouseMovedOver(TControl* control);
    // The mouse left the window: the control it was over hears
    // CM_MOUSELEAVE.
    void MouseLeftWindow(HWND wnd);
    TControl* MouseControl() const { return mouseControl_; }
    // A control is going: forget it.
    void ControlDestroying(TControl* control);

private:
    friend LRESULT CALLBACK AppWndProc(HWND, UINT, WPARAM, LPARAM);
    bool ProcessMessage(MSG& msg);
    bool IsKeyMsg(MSG& msg);
    void Idle();
    void WndProc(TMessage& message);
    void StartHintTimer(int delay);
    void HintTimerExpired();
    void CallExceptionHandler(Exception& e, TObject* sender);

    HWND handle_ = nullptr;
    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool active_ = false;
    bool minimized_ = false;
    std::vector<HWND> minimizedForms_;
    std::string helpFile_;
    std::string hint_;
    bool showHint_ = true;
    TColor hintColor_ = clInfoBk;
    int hintPause_ = 500;
    int hintShortPause_ = 50;
    int hintHidePause_ = 2500;
    TControl* mouseControl_ = nullptr;
    TControl* hintControl_ = nullptr;
    bool hintActive_ = false;
    THintWindow* hintWindow_ = nullptr;
    std::vector<TWindowHook> hooks_;
};

// The popup window that shows hints.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* owner);
    // Shows Text in Rect (screen coordinates).
    void ActivateHint(TRect rect, const std::string& text);
    // The size the text needs, at most maxWidth wide.
    TRect CalcHintRect(int maxWidth, const std::string& text);
    void ReleaseHandle() { DestroyHandle(); }

protected:
    void CreateParams(TCreateParams& params) override;
    bool IsTopLevel() const override { return true; }
    void Paint() override;
};

// ---------------------------------------------------------------------------
// The screen

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    int PixelsPerInch() const { return ScreenPixelsPerInch(); }

    // The cursor of the whole program while not crDefault (the hourglass
    // while it works); crDefault lets each control show its own.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    // The cursor of a number: the library's negative numbers, and numbers
    // the program loads its own cursors into. A number without one gives
    // the default (arrow) cursor; setting nullptr forgets it.
    HCURSOR Cursors(int index) const;
    void SetCursors(int index, HCURSOR cursor);
    // A cursor of a module's resources (the system's own: module nullptr)
    // for a number, loaded when the number is first asked for: a program
    // with many cursors of its own starts without loading them all. asData:
    // the resource is RCDATA holding a cursor resource's bytes (hot spot and
    // image), made into a cursor then.
    void SetCursorResource(int index, HINSTANCE module, LPCSTR name, bool asData = false);

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(index); }
    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeControl_; }

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

private:
    friend class TCustomForm;
    friend class TApplication;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form);
    void SetActiveControl(TWinControl* control);

    struct TCursorResource {
        HINSTANCE Module;
        LPCSTR Id;         // a number made a name, or nullptr for Name
        std::string Name;
        bool Data;         // RCDATA with a cursor resource's bytes
    };

    TCursor cursor_ = crDefault;
    mutable std::map<int, HCURSOR> cursors_;
    mutable std::map<int, TCursorResource> cursorResources_;
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    TWinControl* activeControl_ = nullptr;
};

extern TApplication* Application;
extern TScreen* Screen;

// Lets the windows answer during a long piece of work on the GUI thread:
// the messages that wait are handled once a frame (40 ms, a frame of a slow
// screen) has passed since they last were.
class TFramePacer {
public:
    TFramePacer();
    // Handles what waits when it is time; false once the application ends.
    bool Continue();

private:
    ULONGLONG last_;
};

// Start-up and shutdown of this unit: makes Screen and Application, and frees
// them (the application frees its forms).
void InitFormsUnit();
void DoneFormsUnit();

// ---------------------------------------------------------------------------
// Units' start-up and shutdown, in an explicit order.

// Registers shutdown (when given), then runs startup (when given): a program
// that halts inside a unit's start-up still runs that unit's shutdown.
void StartUnit(void (*startup)(), void (*shutdown)());
void AddUnitShutdown(void (*shutdown)());
// Runs the registered shutdowns, the last registered first, each once; an
// error in one is shown and the others still run.
void FinalizeUnits();
// Runs the program block's main part once its units are started, then shuts
// the units down; gives the exit code: 0, or 1 when the main part raised (a
// window that cannot be made leaves nothing to run), its error then shown in
// a box with the caption first.
int RunProgramBlock(void (*main)(), const char* caption);
// Ends the program with an exit code after FinalizeUnits. No exception: no
// guard of the caller can stop it.
[[noreturn]] void Halt(int exitCode = 0);

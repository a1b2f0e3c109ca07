// The application object, the screen object, hints, and the units' shutdown
// list with Halt (declared in Forms.h).
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <string>

#include "classlib/Animate.h"
#include "classlib/Buttons.h"
#include "classlib/CheckLst.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "classlib/Stopwatch.h"
#include "classlib/UiProbe.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

const char* const AppClassName = "TApplication";
constexpr UINT_PTR HintTimerId = 1;

// "short|long": the part shown in the hint window, and the one the
// application's Hint takes (the whole text when there is no "|").
std::string ShortHint(const std::string& hint)
{
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string LongHint(const std::string& hint)
{
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

BOOL CALLBACK CollectVisible(HWND wnd, LPARAM param)
{
    auto* list = reinterpret_cast<std::vector<HWND>*>(param);
    if (wnd != list->front() && IsWindowVisible(wnd))
        list->push_back(wnd);
    return TRUE;
}

} // namespace

LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!app)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    if (!CallbackGuard(app, [&] { app->WndProc(m); }))
        return 0;
    return m.Result;
}

// ---------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* owner) : TComponent(owner)
{
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    title_ = ChangeFileExt(ExtractFileName(std::string(path, n)), "");

    WNDCLASSA wc{};
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    HICON icon = LoadIconA(wc.hInstance, "MAINICON");
    wc.hIcon = icon ? icon : LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = AppClassName;
    WNDCLASSA existing{};
    if (!GetClassInfoA(wc.hInstance, AppClassName, &existing) && !RegisterClassA(&wc))
        RaiseLastOSError();
    // A window without a caption; the programs' start-up gives it one.
    handle_ = CreateWindowExA(0, AppClassName, title_.c_str(), WS_POPUP | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                              nullptr, wc.hInstance, nullptr);
    if (!handle_)
        RaiseLastOSError();
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    hintWindow_ = new THintWindow(this);
}

TApplication::~TApplication()
{
    Destroying();
    KillTimer(handle_, HintTimerId);
    // Forms go first, the newest first, each whole when it hears OnDestroy.
    for (int i = ComponentCount() - 1; i >= 0; --i)
        if (i < ComponentCount())
            if (auto* form = dynamic_cast<TCustomForm*>(Components(i)))
                form->Free();
    DestroyComponents();
    hintWindow_ = nullptr;
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
    SetWindowTextA(handle_, title.c_str());
}

void TApplication::Run()
{
    if (mainForm_ && ShowMainForm) {
        if (mainForm_->windowState_ == wsMinimized)
            Minimize();
        else
            mainForm_->SetVisible(true);
        StopwatchMark("main form shown");
    }
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

TFramePacer::TFramePacer() : last_(GetTickCount64()) {}

bool TFramePacer::Continue()
{
    constexpr ULONGLONG FrameMs = 40;
    if (GetTickCount64() - last_ >= FrameMs) {
        Application->ProcessMessages();
        last_ = GetTickCount64();
    }
    return !Application->Terminated();
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg))
        Idle();
}

bool TApplication::ProcessMessage(MSG& msg)
{
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    bool handled = false;
    OnMessage(msg, handled);
    if (handled)
        return true;
    // A key or a press ends the hint shown.
    if (hintActive_ && ((msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                        msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
                        msg.message == WM_MBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN))
        CancelHint();
    if (IsKeyMsg(msg))
        return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

bool TApplication::IsKeyMsg(MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
        msg.message != WM_SYSCHAR)
        return false;
    // A window inside a control (a combo box's edit) speaks for the control.
    for (HWND wnd = msg.hwnd; wnd; wnd = GetParent(wnd))
        if (auto* control = dynamic_cast<TWinControl*>(FindControl(wnd)))
            return SendMessageA(control->Handle(), CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
    return false;
}

void TApplication::Idle()
{
    static bool first = true;
    if (first) {
        first = false;
        StopwatchMark("message loop idle");
    }
    bool done = true;
    try {
        OnIdle(this, done);
    } catch (...) {
        HandleException(this);
    }
    if (done)
        WaitMessage();
}

void TApplication::HandleException(TObject* sender)
{
    std::exception_ptr error = std::current_exception();
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (Exception& e) {
        CallExceptionHandler(e, sender);
    } catch (const std::exception& e) {
        Exception wrapped(e.what());
        CallExceptionHandler(wrapped, sender);
    } catch (...) {
        Exception wrapped("Unknown exception");
        CallExceptionHandler(wrapped, sender);
    }
}

void TApplication::CallExceptionHandler(Exception& e, TObject* sender)
{
    try {
        if (OnException)
            OnException(sender, e);
        else
            ShowException(e);
    } catch (const Exception& again) {
        ShowException(again);
    } catch (const std::exception& again) {
        ShowException(Exception(again.what()));
    } catch (...) {
        ShowException(Exception("Unknown exception"));
    }
}

void TApplication::ShowException(const Exception& e)
{
    std::string text = e.Message();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags)
{
    HWND owner = GetActiveWindow();
    if (!owner)
        owner = handle_;
    // The box is modal to the whole program, not to one window.
    std::vector<HWND> list{owner};
    EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&list));
    std::vector<HWND> disabled;
    for (size_t i = 1; i < list.size(); ++i)
        if (IsWindowEnabled(list[i])) {
            EnableWindow(list[i], FALSE);
            disabled.push_back(list[i]);
        }
    const int result = ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    for (HWND wnd : disabled)
        if (IsWindow(wnd))
            EnableWindow(wnd, TRUE);
    return result;
}

void TApplication::Minimize()
{
    if (minimized_)
        return;
    minimizedForms_.assign(1, handle_);
    EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&minimizedForms_));
    minimizedForms_.erase(minimizedForms_.begin());
    for (HWND wnd : minimizedForms_)
        ShowWindow(wnd, SW_HIDE);
    minimized_ = true;
    ShowWindow(handle_, SW_SHOWMINNOACTIVE);
    OnMinimize(this);
}

void TApplication::Restore()
{
    if (!minimized_)
        return;
    minimized_ = false;
    ShowWindow(handle_, SW_HIDE);
    for (HWND wnd : minimizedForms_)
        if (IsWindow(wnd))
            ShowWindow(wnd, SW_SHOWNA);
    minimizedForms_.clear();
    if (mainForm_ && mainForm_->HandleAllocated())
        SetForegroundWindow(mainForm_->Handle());
    OnRestore(this);
}

void TApplication::BringToFront()
{
    HWND target = nullptr;
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
        target = Screen->ActiveForm()->Handle();
    else if (mainForm_ && mainForm_->HandleAllocated())
        target = mainForm_->Handle();
    if (target && IsWindowVisible(target))
        SetForegroundWindow(target);
}

bool TApplication::HelpContext(int context)
{
    return HelpCommand(HELP_CONTEXT, context);
}

bool TApplication::HelpCommand(WORD command, LONG_PTR data)
{
    bool callHelp = true;
    bool result = false;
    OnHelp(command, data, callHelp, result);
    if (callHelp && !helpFile_.empty())
        result = WinHelpA(handle_, helpFile_.c_str(), command, static_cast<ULONG_PTR>(data)) != FALSE;
    return result;
}

void TApplication::HookMainWindow(const TWindowHook& hook)
{
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end())
        hooks_.push_back(hook);
}

void TApplication::UnhookMainWindow(const TWindowHook& hook)
{
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
}

void TApplication::WndProc(TMessage& m)
{
    const std::vector<TWindowHook> hooks = hooks_;
    for (const TWindowHook& hook : hooks) {
        bool handled = false;
        hook(m, handled);
        if (handled)
            return;
    }
    switch (m.Msg) {
    case WM_ACTIVATEAPP:
        active_ = m.WParam != 0;
        if (active_) {
            OnActivate(this);
        } else {
            CancelHint();
            OnDeactivate(this);
        }
        break;
    case WM_CLOSE:
        if (mainForm_)
            mainForm_->Close();
        return;
    case WM_SYSCOMMAND:
        if ((m.WParam & 0xFFF0) == SC_MINIMIZE) {
            Minimize();
            return;
        }
        if ((m.WParam & 0xFFF0) == SC_RESTORE) {
            Restore();
            return;
        }
        break;
    case WM_TIMER:
        if (m.WParam == HintTimerId) {
            HintTimerExpired();
            return;
        }
        break;
    case WM_WININICHANGE:
        if (UpdateFormatSettings)
            GetFormatSettings();
        break;
    }
    m.Result = DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
}

// ---------------------------------------------------------------------------
// Mouse and hints

void TApplication::ControlDestroying(TControl* control)
{
    if (mouseControl_ == control)
        mouseControl_ = nullptr;
    if (hintControl_ == control)
        CancelHint();
    if (control == mainForm_)
        mainForm_ = nullptr;
    if (Screen) {
        if (Screen->activeControl_ == control)
            Screen->activeControl_ = nullptr;
        if (Screen->activeForm_ == control)
            Screen->activeForm_ = nullptr;
    }
}

void TApplication::MouseMovedOver(TControl* control)
{
    if (control == mouseControl_)
        return;
    TControl* old = mouseControl_;
    mouseControl_ = control;
    if (old)
        old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    if (control && mouseControl_ == control) {
        control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
        // Windows tells the window when the mouse leaves it.
        auto* windowed = dynamic_cast<TWinControl*>(control);
        TWinControl* holder = windowed ? windowed : control->Parent();
        if (holder && holder->HandleAllocated()) {
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = holder->Handle();
            TrackMouseEvent(&track);
        }
    }
    if (control != hintControl_) {
        const bool wasShowing = hintActive_;
        CancelHint();
        hintControl_ = control;
        SetHint(control ? LongHint(control->Hint()) : std::string());
        if (control && showHint_ && control->ShowHint() && !control->Hint().empty())
            StartHintTimer(wasShowing ? hintShortPause_ : hintPause_);
    }
}

void TApplication::MouseLeftWindow(HWND wnd)
{
    TControl* c = mouseControl_;
    if (!c)
        return;
    auto* windowed = dynamic_cast<TWinControl*>(c);
    TWinControl* holder = windowed ? windowed : c->Parent();
    if (!holder || !holder->HandleAllocated() || holder->Handle() != wnd)
        return;
    mouseControl_ = nullptr;
    c->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(c));
    if (hintControl_ == c)
        CancelHint();
}

void TApplication::SetHint(const std::string& hint)
{
    if (hint == hint_)
        return;
    hint_ = hint;
    OnHint(this);
}

void TApplication::SetShowHint(bool value)
{
    showHint_ = value;
    if (!value)
        CancelHint();
}

void TApplication::StartHintTimer(int delay)
{
    SetTimer(handle_, HintTimerId, std::max(1, delay), nullptr);
}

void TApplication::HintTimerExpired()
{
    KillTimer(handle_, HintTimerId);
    if (hintActive_) {
        // Shown long enough.
        if (hintWindow_ && hintWindow_->HandleAllocated())
            ShowWindow(hintWindow_->Handle(), SW_HIDE);
        hintActive_ = false;
        return;
    }
    POINT p;
    GetCursorPos(&p);
    ActivateHint(p);
}

void TApplication::ActivateHint(TPoint cursorPos)
{
    TControl* control = hintControl_;
    if (!control || !hintWindow_ || !control->Showing())
        return;
    THintInfo info;
    info.HintControl = control;
    info.HintColor = hintColor_;
    info.HintMaxWidth = Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
    info.CursorRect = control->ClientRect();
    info.CursorPos = control->ScreenToClient(cursorPos);
    info.HintPos = Point(cursorPos.x, cursorPos.y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4);
    info.HintStr = ShortHint(control->Hint());
    bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty())
        return;
    hintWindow_->SetColor(info.HintColor);
    TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr);
    OffsetRect(&r, info.HintPos.x, info.HintPos.y);
    hintWindow_->ActivateHint(r, info.HintStr);
    hintActive_ = true;
    StartHintTimer(hintHidePause_);
}

void TApplication::CancelHint()
{
    KillTimer(handle_, HintTimerId);
    if (hintWindow_ && hintWindow_->HandleAllocated())
        ShowWindow(hintWindow_->Handle(), SW_HIDE);
    hintActive_ = false;
    hintControl_ = nullptr;
}

// ---------------------------------------------------------------------------
// THintWindow

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner)
{
    SetVisible(false);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    p.WindowClass.style |= CS_SAVEBITS;
    p.WndParent = Application ? Application->Handle() : nullptr;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& text)
{
    TRect r = Rect(0, 0, maxWidth, 0);
    TWindowDC screen;
    TSelectObject font(screen.Get(), Font()->Handle());
    DrawTextA(screen.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.right += 6;
    r.bottom += 4;
    return r;
}

void THintWindow::ActivateHint(TRect rect, const std::string& text)
{
    SetText(text);  // the window's text too, as others read it
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    // Kept on the screen.
    if (rect.right > GetSystemMetrics(SM_CXSCREEN))
        rect.left = GetSystemMetrics(SM_CXSCREEN) - w;
    if (rect.bottom > GetSystemMetrics(SM_CYSCREEN))
        rect.top = GetSystemMetrics(SM_CYSCREEN) - h;
    rect.left = std::max(0L, rect.left);
    rect.top = std::max(0L, rect.top);
    SetBounds(rect.left, rect.top, w, h);
    SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    TRect r = ClientRect();
    canvas->FillRect(r);
    r.left += 2;
    r.top += 2;
    canvas->Brush()->SetStyle(bsClear);
    DrawTextA(canvas->Handle(), text_.c_str(), -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

// ---------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* owner) : TComponent(owner)
{
    static const struct {
        int number;
        LPCSTR id;
    } standard[] = {
        {crDefault, IDC_ARROW},   {crArrow, IDC_ARROW},        {crCross, IDC_CROSS},     {crIBeam, IDC_IBEAM},
        {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},    {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},
        {crUpArrow, IDC_UPARROW}, {crHourGlass, IDC_WAIT},     {crDrag, IDC_ARROW},      {crNoDrop, IDC_NO},
        {crHSplit, IDC_SIZEWE},   {crVSplit, IDC_SIZENS},      {crMultiDrag, IDC_ARROW}, {crSQLWait, IDC_WAIT},
        {crNo, IDC_NO},           {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},     {crHandPoint, IDC_HAND},
        {crSizeAll, IDC_SIZEALL},
    };
    for (const auto& s : standard)
        SetCursorResource(s.number, nullptr, s.id);
    cursors_[crNone] = nullptr;
}

TScreen::~TScreen() = default;

namespace {

// A cursor made from RCDATA holding a cursor resource's bytes.
HCURSOR CursorFromData(HINSTANCE module, LPCSTR name)
{
    HRSRC found = FindResourceA(module, name, RT_RCDATA);
    HGLOBAL data = found ? LoadResource(module, found) : nullptr;
    if (!data)
        return nullptr;
    return reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(static_cast<BYTE*>(LockResource(data)),
                                                              SizeofResource(module, found), FALSE, 0x00030000, 0,
                                                              0, LR_DEFAULTCOLOR));
}

} // namespace

HCURSOR TScreen::Cursors(int index) const
{
    const auto resource = cursorResources_.find(index);
    if (resource != cursorResources_.end()) {
        const TCursorResource& r = resource->second;
        const LPCSTR name = r.Id ? r.Id : r.Name.c_str();
        if (HCURSOR loaded = r.Data ? CursorFromData(r.Module, name) : LoadCursorA(r.Module, name))
            cursors_[index] = loaded;
        cursorResources_.erase(resource);
    }
    const auto it = cursors_.find(index);
    if (it != cursors_.end())
        return it->second;
    return index == crDefault ? LoadCursorA(nullptr, IDC_ARROW) : Cursors(crDefault);
}

void TScreen::SetCursorResource(int index, HINSTANCE module, LPCSTR name, bool asData)
{
    cursors_.erase(index);
    if (IS_INTRESOURCE(name))
        cursorResources_[index] = {module, name, {}, asData};
    else
        cursorResources_[index] = {module, nullptr, name, asData};
}

void TScreen::SetCursors(int index, HCURSOR cursor)
{
    cursorResources_.erase(index);
    if (cursor)
        cursors_[index] = cursor;
    else if (index > crDefault || index < crSizeAll)
        cursors_.erase(index);
}

void TScreen::SetCursor(TCursor cursor)
{
    if (cursor == cursor_)
        return;
    cursor_ = cursor;
    if (cursor != crDefault) {
        ::SetCursor(Cursors(cursor));
        return;
    }
    // Back to the cursor of whatever lies under the mouse.
    POINT p;
    GetCursorPos(&p);
    HWND wnd = WindowFromPoint(p);
    if (wnd && GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId())
        SendMessageA(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd),
                     MAKELPARAM(SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), WM_MOUSEMOVE));
    else
        ::SetCursor(Cursors(crDefault));
}

void TScreen::AddForm(TCustomForm* form)
{
    forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (activeForm_ == form)
        activeForm_ = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* form)
{
    if (form == activeForm_)
        return;
    activeForm_ = form;
    OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* control)
{
    if (control == activeControl_)
        return;
    activeControl_ = control;
    OnActiveControlChange(this);
}

// ---------------------------------------------------------------------------
// Start-up and shutdown

namespace {

std::vector<void (*)()>& Shutdowns()
{
    static std::vector<void (*)()> list;
    return list;
}

} // namespace

void InitFormsUnit()
{
    if (!Screen)
        Screen = new TScreen(nullptr);
    if (!Application) {
        Application = new TApplication(nullptr);
        // The standard controls' classes, for the forms' resources.
        InitStdCtrlsUnit();
        InitExtCtrlsUnit();
        InitComCtrlsUnit();
        InitButtonsUnit();
        InitCheckLstUnit();
        InitAnimateUnit();
        // The end-to-end tests drive every program through it.
        InitUiProbe();
    }
}

void DoneFormsUnit()
{
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
}

void StartUnit(void (*startup)(), void (*shutdown)())
{
    static int started = 0;
    if (started == 0)
        StopwatchMark("program entered");
    if (shutdown)
        AddUnitShutdown(shutdown);
    if (startup)
        startup();
    ++started;
    if (StopwatchOn())
        StopwatchMark(("unit " + std::to_string(started) + " started").c_str());
}

void AddUnitShutdown(void (*shutdown)())
{
    Shutdowns().push_back(shutdown);
}

void FinalizeUnits()
{
    auto& list = Shutdowns();
    while (!list.empty()) {
        void (*shutdown)() = list.back();
        list.pop_back();
        // One unit's failure must not keep the others from cleaning up.
        CallbackGuard(nullptr, [&] { shutdown(); });
    }
}

int RunProgramBlock(void (*main)(), const char* caption)
{
    int exitCode = 0;
    try {
        main();
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), caption, MB_OK | MB_ICONSTOP);
        exitCode = 1;
    }
    FinalizeUnits();
    return exitCode;
}

void Halt(int exitCode)
{
    FinalizeUnits();
    ExitProcess(static_cast<UINT>(exitCode));
}

// The UI driver: requests to the programs' probe over WM_COPYDATA, real
// clicks and texts through window messages, waits with time limits.
#include "tools/uidriver/UiDriver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "classlib/UiProbe.h"

namespace {

const char* const ReplyClassName = "QmxUiDriverReply";
constexpr int PollInterval = 50;

bool SameName(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string Unescape(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& s)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < s.size()) {
        size_t end = s.find('\n', start);
        if (end == std::string::npos)
            end = s.size();
        lines.push_back(s.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string Seconds(int ms)
{
    char buffer[32];
    if (ms % 1000 == 0)
        std::snprintf(buffer, sizeof buffer, "%d s", ms / 1000);
    else
        std::snprintf(buffer, sizeof buffer, "%.1f s", ms / 1000.0);
    return buffer;
}

std::string Quoted(const std::string& s)
{
    return "\"" + s + "\"";
}

std::string WindowText(HWND wnd)
{
    char buffer[1024];
    const int n = GetWindowTextA(wnd, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

std::string WindowClass(HWND wnd)
{
    char buffer[256];
    const int n = GetClassNameA(wnd, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

// A button's text as a person reads it: "&Tak" is "Tak", "&&" one "&".
std::string WithoutAccelerator(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size())
            ++i;
        out += s[i];
    }
    return out;
}

bool SendTimeout(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, int timeoutMs, DWORD_PTR& result)
{
    return SendMessageTimeoutA(wnd, msg, wParam, lParam, SMTO_NORMAL, static_cast<UINT>(timeoutMs), &result) != 0;
}

// A system dialog of a process: its window, the button asked for, its texts.
struct TSystemDialog {
    DWORD Pid = 0;
    std::string ButtonText;
    HWND Dialog = nullptr;
    HWND Button = nullptr;
    std::string Texts;
    std::vector<std::string> Seen;  // every such dialog, for a message
};

BOOL CALLBACK CollectDialogChild(HWND wnd, LPARAM param)
{
    auto* d = reinterpret_cast<TSystemDialog*>(param);
    const std::string text = WindowText(wnd);
    if (!IsWindowVisible(wnd))
        return TRUE;
    if (SameName(WindowClass(wnd), "Button")) {
        if (!d->Button && IsWindowEnabled(wnd) && SameName(WithoutAccelerator(text), d->ButtonText))
            d->Button = wnd;
        d->Seen.back() += " [" + WithoutAccelerator(text) + "]";
    } else if (!text.empty()) {
        d->Texts += text + "\n";
        d->Seen.back() += " " + Quoted(text);
    }
    return TRUE;
}

BOOL CALLBACK FindSystemDialogWindow(HWND wnd, LPARAM param)
{
    auto* d = reinterpret_cast<TSystemDialog*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != d->Pid || !IsWindowVisible(wnd) || WindowClass(wnd) != "#32770")
        return TRUE;
    d->Texts = WindowText(wnd) + "\n";
    d->Seen.push_back(Quoted(WindowText(wnd)) + ":");
    d->Button = nullptr;
    EnumChildWindows(wnd, CollectDialogChild, param);
    if (!d->Button)
        return TRUE;
    d->Dialog = wnd;
    return FALSE;
}

struct TAppWindowSearch {
    DWORD Pid = 0;
    HWND Found = nullptr;
};

BOOL CALLBACK FindAppWindow(HWND wnd, LPARAM param)
{
    auto* s = reinterpret_cast<TAppWindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != s->Pid || WindowClass(wnd) != "TApplication")
        return TRUE;
    s->Found = wnd;
    return FALSE;
}

// What keeps a component from being used, or empty when it can be.
std::string Unusable(const TUiDump& dump, const std::string& form, const std::string& name)
{
    const TUiForm* f = dump.FindForm(form);
    if (!f)
        return "there is no form " + form;
    if (!f->Showing())
        return "form " + form + " is not showing";
    if (HWND h = f->Handle(); h && !IsWindowEnabled(h))
        return "form " + form + " is disabled (a modal window is open)";
    if (name.empty())
        return {};
    const TUiComponent* c = f->Find(name);
    if (!c)
        return "form " + form + " has no component " + name;
    if (!c->Showing())
        return name + " is not showing";
    if (!c->Enabled())
        return name + " is disabled";
    return {};
}

} // namespace

// ---------------------------------------------------------------------------
// The probe's description of components

bool TUiComponent::Has(const std::string& key) const
{
    for (const auto& line : Lines)
        if (line.first == key)
            return true;
    return false;
}

std::string TUiComponent::Value(const std::string& key) const
{
    for (const auto& line : Lines)
        if (line.first == key)
            return line.second;
    return {};
}

std::vector<std::string> TUiComponent::List(const std::string& key) const
{
    std::vector<std::string> items;
    const bool counted = Has(key + ".Count");
    const int count = counted ? std::atoi(Value(key + ".Count").c_str()) : -1;
    for (int i = 0; counted ? i < count : true; ++i) {
        const std::string item = key + "[" + std::to_string(i) + "]";
        if (!counted && !Has(item))
            break;
        items.push_back(Value(item));
    }
    return items;
}

HWND TUiComponent::Handle() const
{
    const std::string h = Value("handle");
    return h.empty() ? nullptr : reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(h.c_str(), nullptr, 16)));
}

RECT TUiComponent::ScreenRect() const
{
    RECT r{};
    const std::string s = Value("screen");
    std::sscanf(s.c_str(), "%ld,%ld,%ld,%ld", &r.left, &r.top, &r.right, &r.bottom);
    return r;
}

std::string TUiComponent::Title() const
{
    return Name.empty() ? Class : Class + " " + Name;
}

const TUiComponent* TUiForm::Find(const std::string& name) const
{
    if (name.empty())
        return this;
    for (const TUiComponent& c : Components)
        if (SameName(c.Name, name))
            return &c;
    return nullptr;
}

const TUiForm* TUiDump::FindForm(const std::string& selector) const
{
    const TUiForm* found = nullptr;
    for (const TUiForm& f : Forms) {
        if (!SameName(f.Name, selector) && !SameName(f.Class, selector) && !SameName(f.Value("Caption"), selector))
            continue;
        if (f.Showing() || !found || !found->Showing())
            found = &f;
    }
    return found;
}

TUiDump TUiDump::Parse(const std::string& text)
{
    TUiDump dump;
    TUiComponent* current = nullptr;
    for (const std::string& line : SplitLines(text)) {
        auto header = [&](size_t skip, TUiComponent& c) {
            const std::string rest = line.substr(skip);
            const size_t blank = rest.find(' ');
            c.Class = rest.substr(0, blank);
            c.Name = blank == std::string::npos ? std::string() : rest.substr(blank + 1);
        };
        if (line.rfind("form ", 0) == 0) {
            dump.Forms.emplace_back();
            header(5, dump.Forms.back());
            current = &dump.Forms.back();
        } else if (line.rfind("component ", 0) == 0 && !dump.Forms.empty()) {
            dump.Forms.back().Components.emplace_back();
            header(10, dump.Forms.back().Components.back());
            current = &dump.Forms.back().Components.back();
        } else if (line.size() > 1 && line[0] == ' ' && current) {
            const size_t eq = line.find('=');
            if (eq == std::string::npos)
                current->Lines.emplace_back(line.substr(1), std::string());
            else
                current->Lines.emplace_back(line.substr(1, eq - 1), Unescape(line.substr(eq + 1)));
        }
    }
    return dump;
}

// ---------------------------------------------------------------------------
// The process

LRESULT CALLBACK UiReplyWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COPYDATA) {
        auto* self = reinterpret_cast<TUiProcess*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        // Only the answer to the request being made counts; one that comes
        // late for an earlier request is dropped.
        if (self && data && data->dwData == self->requestId_) {
            self->reply_.assign(static_cast<const char*>(data->lpData), data->lpData ? data->cbData : 0);
            self->replied_ = true;
        }
        return 1;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

namespace {

HWND CreateReplyWindow(TUiProcess* owner)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(instance, ReplyClassName, &wc)) {
        wc = WNDCLASSA{};
        wc.lpfnWndProc = UiReplyWndProc;
        wc.hInstance = instance;
        wc.lpszClassName = ReplyClassName;
        RegisterClassA(&wc);
    }
    HWND wnd = CreateWindowExA(0, ReplyClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!wnd)
        throw EUiDriverError("the driver cannot make its window (error " + std::to_string(GetLastError()) + ")");
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return wnd;
}

// The environment block of the driver with the entries given put in.
std::string EnvironmentBlock(const std::vector<std::string>& changes)
{
    std::vector<std::string> entries;
    if (char* block = GetEnvironmentStringsA()) {
        for (const char* p = block; *p; p += std::strlen(p) + 1)
            entries.emplace_back(p);
        FreeEnvironmentStringsA(block);
    }
    for (const std::string& change : changes) {
        const std::string name = change.substr(0, change.find('='));
        bool replaced = false;
        for (std::string& e : entries)
            // Entries such as "=C:=C:\" belong to the drives, not to a name.
            if (!e.empty() && e[0] != '=' && SameName(e.substr(0, e.find('=')), name)) {
                e = change;
                replaced = true;
            }
        if (!replaced)
            entries.push_back(change);
    }
    std::string block;
    for (const std::string& e : entries)
        block += e + '\0';
    return block + '\0';
}

} // namespace

TUiProcess::TUiProcess(const std::string& commandLine, const TUiStartOptions& options)
{
    replyWnd_ = CreateReplyWindow(this);
    std::string line = commandLine;
    std::string env = EnvironmentBlock(options.Environment);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, options.Environment.empty() ? nullptr : env.data(),
                        options.Folder.empty() ? nullptr : options.Folder.c_str(), &si, &pi)) {
        const DWORD error = GetLastError();
        DestroyWindow(replyWnd_);
        throw EUiDriverError("cannot start " + Quoted(commandLine) + " (error " + std::to_string(error) + ")");
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    owned_ = true;
}

TUiProcess::TUiProcess(DWORD processId) : pid_(processId)
{
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    if (!process_)
        throw EUiDriverError("there is no process " + std::to_string(processId));
    replyWnd_ = CreateReplyWindow(this);
}

TUiProcess::~TUiProcess()
{
    if (owned_ && Running())
        Kill();
    if (process_)
        CloseHandle(process_);
    if (replyWnd_)
        DestroyWindow(replyWnd_);
}

bool TUiProcess::Running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::string TUiProcess::Ended() const
{
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return "the program (process " + std::to_string(pid_) + ") ended with exit code " + std::to_string(code);
}

HWND TUiProcess::AppWindow()
{
    if (app_ && IsWindow(app_))
        return app_;
    TAppWindowSearch search;
    search.Pid = pid_;
    EnumWindows(FindAppWindow, reinterpret_cast<LPARAM>(&search));
    app_ = search.Found;
    return app_;
}

bool TUiProcess::TryRequest(const std::vector<std::string>& fields, TAnswer& answer, int timeoutMs)
{
    HWND app = AppWindow();
    if (!app)
        return false;
    std::string data = std::to_string(++requestId_);
    for (const std::string& f : fields)
        data += UiProbeSeparator + f;
    COPYDATASTRUCT request{UiProbeRequest, static_cast<DWORD>(data.size()), data.data()};
    replied_ = false;
    reply_.clear();
    DWORD_PTR handled = 0;
    if (!SendTimeout(app, WM_COPYDATA, reinterpret_cast<WPARAM>(replyWnd_), reinterpret_cast<LPARAM>(&request),
                     Limit(timeoutMs), handled)) {
        if (!IsWindow(app) || !Running())
            return false;
        throw EUiDriverError("the program (process " + std::to_string(pid_) + ") did not answer " + fields.front() +
                             " within " + Seconds(Limit(timeoutMs)) + ": it is busy outside its message loop");
    }
    if (!handled || !replied_)
        throw EUiDriverError("the program (process " + std::to_string(pid_) + ") has no probe on its application window");

    std::vector<std::string> lines = SplitLines(reply_);
    if (lines.empty())
        throw EUiDriverError("the program's probe gave an empty answer");
    if (lines[0].rfind("error ", 0) == 0)
        throw EUiDriverError(fields.front() + " " + (fields.size() > 1 ? fields[1] + " " : "") + "refused: " +
                             Unescape(lines[0].substr(6)));
    int started = 0, finished = 0;
    if (std::sscanf(lines[0].c_str(), "ok %d %d", &started, &finished) != 2)
        throw EUiDriverError("the program's probe answered " + Quoted(lines[0]));
    answer.Started = started;
    size_t i = 1;
    std::string failures;
    for (; i < lines.size() && lines[i].rfind("failed ", 0) == 0; ++i) {
        const int number = std::atoi(lines[i].c_str() + 7);
        const size_t blank = lines[i].find(' ', 7);
        const std::string why = blank == std::string::npos ? std::string() : Unescape(lines[i].substr(blank + 1));
        failures += (failures.empty() ? "" : "; ") + actions_[number] + ": " + why;
    }
    if (!failures.empty())
        throw EUiDriverError("the program could not carry out " + failures);
    answer.Body.clear();
    for (; i < lines.size(); ++i)
        answer.Body += lines[i] + "\n";
    return true;
}

TUiProcess::TAnswer TUiProcess::Request(const std::vector<std::string>& fields, int timeoutMs)
{
    TAnswer answer;
    if (!TryRequest(fields, answer, timeoutMs)) {
        if (!Running())
            throw EUiDriverError(Ended());
        throw EUiDriverError("the program (process " + std::to_string(pid_) + ") has no application window");
    }
    return answer;
}

void TUiProcess::Poll(const std::string& what, int timeoutMs, const std::function<bool()>& done,
                      const std::function<std::string()>& state)
{
    const int limit = Limit(timeoutMs);
    const DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return;
        if (!Running())
            throw EUiDriverError(Ended() + " while the driver waited for " + what);
        if (static_cast<int>(GetTickCount() - start) >= limit) {
            std::string now;
            try {
                now = state ? state() : std::string();
            } catch (const EUiDriverError& e) {
                now = e.what();
            }
            throw EUiDriverError("waited " + Seconds(limit) + " in vain for " + what + (now.empty() ? "" : "; " + now));
        }
        Sleep(PollInterval);
    }
}

TUiDump TUiProcess::Dump(const std::string& form)
{
    return TUiDump::Parse(Request({"dump", form}).Body);
}

TUiComponent TUiProcess::Component(const std::string& form, const std::string& name)
{
    TUiDump dump = Dump(form);
    const TUiForm* f = dump.FindForm(form);
    if (!f)
        throw EUiDriverError("there is no form " + form);
    const TUiComponent* c = f->Find(name);
    if (!c)
        throw EUiDriverError("form " + form + " has no component " + name);
    return *c;
}

TUiForm TUiProcess::WaitForForm(const std::string& form, int timeoutMs)
{
    TUiForm found;
    std::string seen;
    Poll(
        "form " + form + " to show", timeoutMs,
        [&] {
            TAnswer a;
            if (!TryRequest({"dump"}, a, timeoutMs))
                return false;
            TUiDump dump = TUiDump::Parse(a.Body);
            seen.clear();
            for (const TUiForm& f : dump.Forms)
                if (f.Showing())
                    seen += (seen.empty() ? "" : ", ") + f.Title();
            const TUiForm* f = dump.FindForm(form);
            if (!f || !f->Showing())
                return false;
            found = *f;
            return true;
        },
        [&] { return seen.empty() ? std::string("no form shows") : "showing: " + seen; });
    return found;
}

void TUiProcess::WaitForFormGone(const std::string& form, int timeoutMs)
{
    Poll("form " + form + " to go", timeoutMs, [&] {
        TAnswer a;
        if (!TryRequest({"dump", form}, a, timeoutMs))
            return !Running() || !AppWindow();
        const TUiForm* f = TUiDump::Parse(a.Body).FindForm(form);
        return !f || !f->Showing();
    });
}

TUiComponent TUiProcess::WaitFor(const std::string& form, const std::string& name, const std::string& what,
                                 const std::function<bool(const TUiComponent&)>& pred, int timeoutMs)
{
    TUiComponent found;
    std::string state = "the program has no application window yet";
    Poll(what, timeoutMs, [&] {
        TAnswer a;
        if (!TryRequest({"dump", form}, a, timeoutMs))
            return false;
        TUiDump dump = TUiDump::Parse(a.Body);
        const TUiForm* f = dump.FindForm(form);
        const TUiComponent* c = f ? f->Find(name) : nullptr;
        if (!c) {
            state = Unusable(dump, form, name);
            return false;
        }
        found = *c;
        state = "it shows " + Quoted(c->Value("Text"));
        return pred(*c);
    }, [&] { return state; });
    return found;
}

TUiComponent TUiProcess::WaitForComponent(const std::string& form, const std::string& name, int timeoutMs)
{
    TUiComponent found;
    std::string why = "the program has no application window yet";
    Poll(form + "." + name + " to be usable", timeoutMs, [&] {
        TAnswer a;
        if (!TryRequest({"dump", form}, a, timeoutMs))
            return false;
        TUiDump dump = TUiDump::Parse(a.Body);
        why = Unusable(dump, form, name);
        if (!why.empty())
            return false;
        found = *dump.FindForm(form)->Find(name);
        return true;
    }, [&] { return why; });
    return found;
}

TUiComponent TUiProcess::WaitForText(const std::string& form, const std::string& name, const std::string& text,
                                     int timeoutMs)
{
    return WaitFor(
        form, name, "the text " + Quoted(text) + " in " + form + "." + name,
        [&](const TUiComponent& c) {
            if (c.Value("Caption").find(text) != std::string::npos || c.Value("Text").find(text) != std::string::npos)
                return true;
            for (const char* key : {"Lines", "Items"})
                for (const std::string& line : c.List(key))
                    if (line.find(text) != std::string::npos)
                        return true;
            return false;
        },
        timeoutMs);
}

// ---------------------------------------------------------------------------
// Actions

int TUiProcess::PostAction(const std::vector<std::string>& fields, const std::string& what)
{
    TAnswer a = Request(fields);
    int number = 0;
    if (std::sscanf(a.Body.c_str(), "action %d", &number) != 1)
        throw EUiDriverError("the program's probe did not take " + what);
    actions_[number] = what;
    return number;
}

void TUiProcess::WaitStarted(int action, int timeoutMs)
{
    Poll("the program to take up " + actions_[action], timeoutMs, [&] {
        TAnswer a;
        // A program that ended or closed its application window has done
        // all it will do.
        if (!Running() || !TryRequest({"status"}, a, timeoutMs))
            return true;
        return a.Started >= action;
    });
}

void TUiProcess::Sync(int timeoutMs)
{
    TAnswer a;
    if (!TryRequest({"mark"}, a, timeoutMs))
        return;
    int number = 0;
    std::sscanf(a.Body.c_str(), "action %d", &number);
    actions_[number] = "the actions before";
    WaitStarted(number, timeoutMs);
}

void TUiProcess::Click(const std::string& form, const std::string& name)
{
    const TUiComponent c = WaitForComponent(form, name);
    HWND h = c.Handle();
    DWORD_PTR code = 0;
    if (h && SendTimeout(h, WM_GETDLGCODE, 0, 0, timeout_, code) && (code & DLGC_BUTTON)) {
        // Posted: a click that opens a modal form must not hold the driver.
        PostMessageA(h, BM_CLICK, 0, 0);
        Sync();
        return;
    }
    WaitStarted(PostAction({"click", form, name}, "a click on " + form + "." + name), -1);
}

void TUiProcess::ClickAt(const std::string& form, const std::string& name, int x, int y)
{
    const TUiComponent c = WaitForComponent(form, name);
    HWND target = c.Handle();
    if (!target)
        throw EUiDriverError(form + "." + name + " has no window to click in");
    POINT p{x, y};
    // The deepest child window under the point takes the click.
    for (HWND child; (child = ChildWindowFromPointEx(target, p, CWP_SKIPINVISIBLE)) && child != target;) {
        MapWindowPoints(target, child, &p, 1);
        target = child;
    }
    PostMessageA(target, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    Sync();
}

void TUiProcess::PressKey(const std::string& form, const std::string& name, WORD key, bool alt)
{
    const TUiComponent c = WaitForComponent(form, name);
    HWND target = c.Handle();
    if (!target)
        throw EUiDriverError(form + "." + name + " has no window to type into");
    const LPARAM context = alt ? (1 << 29) : 0;
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | context);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, 1 | context | (3u << 30));
    Sync();
}

void TUiProcess::SetChecked(const std::string& form, const std::string& name, bool checked)
{
    const TUiComponent c = WaitForComponent(form, name);
    const char* want = checked ? "True" : "False";
    if (c.Value("Checked") == want)
        return;
    Click(form, name);
    const TUiComponent after = Component(form, name);
    if (after.Has("Checked") && after.Value("Checked") != want)
        throw EUiDriverError("clicking " + form + "." + name + " left Checked " + after.Value("Checked"));
}

void TUiProcess::SetText(const std::string& form, const std::string& name, const std::string& text)
{
    const TUiComponent c = WaitForComponent(form, name);
    HWND h = c.Handle();
    if (!h) {
        WaitStarted(PostAction({"set", form, name, "Text", text}, "setting the text of " + form + "." + name), -1);
        return;
    }
    // The class library's edits announce a WM_SETTEXT as one change, single-
    // and multi-line alike, as they do for typing; nothing more is sent.
    DWORD_PTR result = 0;
    if (!SendTimeout(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), timeout_, result))
        throw EUiDriverError("setting the text of " + form + "." + name + " did not end within " + Seconds(timeout_));
    Sync();
}

void TUiProcess::SelectItem(const std::string& form, const std::string& name, int index)
{
    WaitForComponent(form, name);
    WaitStarted(PostAction({"set", form, name, "ItemIndex", std::to_string(index)},
                           "selecting item " + std::to_string(index) + " of " + form + "." + name),
                -1);
    const TUiComponent after = Component(form, name);
    if (after.Has("ItemIndex") && after.Value("ItemIndex") != std::to_string(index))
        throw EUiDriverError("selecting item " + std::to_string(index) + " of " + form + "." + name + " left ItemIndex " +
                             after.Value("ItemIndex"));
}

void TUiProcess::SelectItem(const std::string& form, const std::string& name, const std::string& text)
{
    const TUiComponent c = WaitForComponent(form, name);
    const std::vector<std::string> items = c.List("Items");
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == text) {
            SelectItem(form, name, static_cast<int>(i));
            return;
        }
    std::string all;
    for (const std::string& item : items)
        all += (all.empty() ? "" : ", ") + Quoted(item);
    throw EUiDriverError(form + "." + name + " has no item " + Quoted(text) + " (it has " + (all.empty() ? "none" : all) +
                         ")");
}

void TUiProcess::SetItemChecked(const std::string& form, const std::string& name, int index, bool checked)
{
    WaitForComponent(form, name);
    const std::string key = "Checked[" + std::to_string(index) + "]";
    WaitStarted(PostAction({"set", form, name, key, checked ? "1" : "0"},
                           std::string(checked ? "ticking" : "clearing") + " item " + std::to_string(index) + " of " +
                               form + "." + name),
                -1);
}

void TUiProcess::SetCell(const std::string& form, const std::string& name, int col, int row, const std::string& text)
{
    WaitForComponent(form, name);
    const std::string key = "Cells[" + std::to_string(col) + "," + std::to_string(row) + "]";
    WaitStarted(PostAction({"set", form, name, key, text}, "setting " + form + "." + name + "." + key), -1);
}

void TUiProcess::Keys(const std::string& form, const std::string& name, const std::string& keys)
{
    WaitForComponent(form, name);
    WaitStarted(PostAction({"keys", form, name, keys}, "the keys " + Quoted(keys) + " for " + form + "." + name), -1);
    // Queued behind the last stroke: the keys are all handled when it starts.
    Sync();
}

void TUiProcess::SetProperty(const std::string& form, const std::string& name, const std::string& key,
                             const std::string& value)
{
    WaitForComponent(form, name);
    WaitStarted(PostAction({"set", form, name, key, value}, "setting " + form + "." + name + "." + key), -1);
}

void TUiProcess::QueueProperty(const std::string& form, const std::string& name, const std::string& key,
                               const std::string& value)
{
    PostAction({"set", form, name, key, value}, "setting " + form + "." + name + "." + key);
}

void TUiProcess::QueueClick(const std::string& form, const std::string& name)
{
    PostAction({"click", form, name}, "a click on " + form + "." + name);
}

TUiForm TUiProcess::AnswerDialog(const std::string& button, int timeoutMs)
{
    TUiForm dialog;
    std::string seen;
    Poll(
        "a message dialog with a button " + button, timeoutMs,
        [&] {
            TAnswer a;
            if (!TryRequest({"dump"}, a, timeoutMs))
                return false;
            TUiDump dump = TUiDump::Parse(a.Body);
            seen.clear();
            for (auto f = dump.Forms.rbegin(); f != dump.Forms.rend(); ++f) {
                if (!f->Showing())
                    continue;
                seen += (seen.empty() ? "" : ", ") + f->Title() + (f->Modal() ? " (modal)" : "");
                const TUiComponent* b = f->Modal() ? f->Find(button) : nullptr;
                if (b && b->Showing() && b->Enabled()) {
                    dialog = *f;
                    return true;
                }
            }
            return false;
        },
        [&] { return seen.empty() ? std::string("no form shows") : "showing: " + seen; });
    Click(dialog.Name.empty() ? dialog.Class : dialog.Name, button);
    return dialog;
}

std::string TUiProcess::AnswerSystemDialog(const std::string& buttonText, int timeoutMs)
{
    TSystemDialog d;
    d.Pid = pid_;
    d.ButtonText = buttonText;
    Poll(
        "a system dialog with a button " + Quoted(buttonText), timeoutMs,
        [&] {
            d.Seen.clear();
            d.Dialog = nullptr;
            EnumWindows(FindSystemDialogWindow, reinterpret_cast<LPARAM>(&d));
            return d.Dialog != nullptr;
        },
        [&] {
            std::string seen;
            for (const std::string& s : d.Seen)
                seen += (seen.empty() ? "" : "; ") + s;
            return seen.empty() ? std::string("no system dialog shows") : "showing " + seen;
        });
    PostMessageA(d.Button, BM_CLICK, 0, 0);
    HWND dialog = d.Dialog;
    Poll("the dialog " + Quoted(WindowText(dialog)) + " to close after " + Quoted(buttonText), timeoutMs,
         [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog) || !Running(); });
    return d.Texts;
}

void TUiProcess::SavePng(const std::string& form, const std::string& fileName)
{
    WaitForForm(form);
    Request({"png", form, fileName});
}

void TUiProcess::CloseForm(const std::string& form)
{
    HWND wnd = WaitForForm(form).Handle();
    if (!PostMessageA(wnd, WM_CLOSE, 0, 0))
        throw EUiDriverError("could not ask form " + form + " to close");
}

int TUiProcess::WaitForExit(int timeoutMs)
{
    if (WaitForSingleObject(process_, static_cast<DWORD>(Limit(timeoutMs))) != WAIT_OBJECT_0)
        throw EUiDriverError("the program (process " + std::to_string(pid_) + ") did not end within " +
                             Seconds(Limit(timeoutMs)));
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<int>(code);
}

void TUiProcess::Kill()
{
    if (!Running())
        return;
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
}

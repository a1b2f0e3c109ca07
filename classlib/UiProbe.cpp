// The probe of the end-to-end tests: dumps of forms and actions carried out
// in the GUI thread, asked for over WM_COPYDATA on the application window.
#include "classlib/UiProbe.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <utility>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Lists.h"
#include "classlib/PngWriter.h"
#include "classlib/TypInfo.h"

namespace {

bool SameName(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The class name without the namespaces a test program may put it in.
std::string PlainClassName(const TObject* object)
{
    std::string name = object->ClassName();
    const size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

std::string Escape(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::vector<std::string> Split(const std::string& s, char separator)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t end = s.find(separator, start);
        fields.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return fields;
        start = end + 1;
    }
}

std::string HexHandle(HWND wnd)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(wnd)));
    return buffer;
}

std::string RectText(const RECT& r)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return buffer;
}

bool IsShowing(TCustomForm* form)
{
    return form->HandleAllocated() && IsWindowVisible(form->Handle());
}

bool FormMatches(TCustomForm* form, const std::string& selector)
{
    return SameName(form->Name(), selector) || SameName(PlainClassName(form), selector) ||
           SameName(form->Caption(), selector);
}

// The newest form of that name, class or caption, a showing one before the
// others.
TCustomForm* FindForm(const std::string& selector)
{
    TCustomForm* found = nullptr;
    bool foundShowing = false;
    for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form->IsDestroying() || !FormMatches(form, selector))
            continue;
        const bool showing = IsShowing(form);
        if (showing || !foundShowing) {
            found = form;
            foundShowing = showing;
        }
    }
    return found;
}

// A form owned by another form is a form of its own, not a component of
// its owner's.
bool IsOwnForm(TComponent* c)
{
    return dynamic_cast<TCustomForm*>(c) != nullptr;
}

TComponent* FindOwned(TComponent* owner, const std::string& name)
{
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* c = owner->Components(i);
        if (IsOwnForm(c))
            continue;
        if (SameName(c->Name(), name))
            return c;
        if (TComponent* inner = FindOwned(c, name))
            return inner;
    }
    return nullptr;
}

// The form and its component named by a request; raises with a text that
// names what is missing.
TComponent* FindTarget(const std::string& formSelector, const std::string& name)
{
    TCustomForm* form = FindForm(formSelector);
    if (!form)
        throw Exception("no form " + formSelector);
    if (name.empty())
        return form;
    TComponent* c = FindOwned(form, name);
    if (!c)
        throw Exception("form " + formSelector + " has no component " + name);
    return c;
}

void AddLine(std::string& out, const std::string& key, const std::string& value)
{
    out += ' ';
    out += key;
    out += '=';
    out += Escape(value);
    out += '\n';
}

void DescribeProps(TComponent* c, std::string& out)
{
    for (const TPropInfo* p : c->ClassInfo()->Props()) {
        try {
            switch (p->Kind) {
            case TPropKind::pkInteger:
            case TPropKind::pkBoolean:
            case TPropKind::pkString:
            case TPropKind::pkEnumeration:
            case TPropKind::pkSet:
            case TPropKind::pkColor:
            case TPropKind::pkFloat:
                AddLine(out, p->Name, GetPropText(c, *p));
                break;
            case TPropKind::pkStrings:
                if (auto* list = dynamic_cast<TStrings*>(GetObjectProp(c, *p))) {
                    AddLine(out, p->Name + ".Count", std::to_string(list->Count()));
                    for (int i = 0; i < list->Count(); ++i)
                        AddLine(out, p->Name + "[" + std::to_string(i) + "]", list->Strings(i));
                }
                break;
            case TPropKind::pkComponent: {
                TComponent* ref = GetComponentProp(c, *p);
                AddLine(out, p->Name, ref ? ref->Name() : std::string());
                break;
            }
            case TPropKind::pkClass:
            case TPropKind::pkMethod:
                break;
            }
        } catch (const std::exception& e) {
            // One property that cannot be read must not hide the others.
            AddLine(out, p->Name, std::string("!") + e.what());
        }
    }
}

void Describe(TComponent* c, std::string& out)
{
    out += dynamic_cast<TCustomForm*>(c) ? "form " : "component ";
    out += PlainClassName(c) + ' ' + c->Name() + '\n';
    auto* control = dynamic_cast<TControl*>(c);
    auto* windowed = dynamic_cast<TWinControl*>(c);
    if (windowed && windowed->HandleAllocated())
        AddLine(out, "handle", HexHandle(windowed->Handle()));
    if (control) {
        const bool showing = control->Showing();
        AddLine(out, "showing", showing ? "1" : "0");
        RECT r{};
        if (windowed && windowed->HandleAllocated()) {
            GetWindowRect(windowed->Handle(), &r);
            AddLine(out, "screen", RectText(r));
        } else if (showing && control->Parent() && control->Parent()->HandleAllocated()) {
            const TPoint origin = control->Parent()->ClientToScreen(Point(control->Left(), control->Top()));
            r = {origin.x, origin.y, origin.x + control->Width(), origin.y + control->Height()};
            AddLine(out, "screen", RectText(r));
        }
    }
    if (auto* form = dynamic_cast<TCustomForm*>(c)) {
        AddLine(out, "modal", form->IsModal() ? "1" : "0");
        AddLine(out, "active", form->Active() ? "1" : "0");
    }
    DescribeProps(c, out);
    if (control) {
        TStringList state;
        try {
            control->ProbeState(state, false);
        } catch (const std::exception& e) {
            state.Add(std::string("ProbeState=!") + e.what());
        }
        for (int i = 0; i < state.Count(); ++i)
            out += ' ' + Escape(state.Strings(i)) + '\n';
    }
}

void DescribeOwned(TComponent* owner, std::string& out)
{
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* c = owner->Components(i);
        if (c->IsDestroying() || IsOwnForm(c))
            continue;
        Describe(c, out);
        DescribeOwned(c, out);
    }
}

std::string Dump(const std::string& selector)
{
    std::string out;
    for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form->IsDestroying())
            continue;
        if (!selector.empty() && !FormMatches(form, selector))
            continue;
        Describe(form, out);
        DescribeOwned(form, out);
    }
    return out;
}

// ---------------------------------------------------------------------------
// Posted actions

enum class TActionKind { Click, Set, Mark, Keys };

// One key of a "keys" request: a key pressed (Vk, with modifiers) or a
// character typed (Ch).
struct TStroke {
    WORD Vk = 0;
    char Ch = 0;
    bool Typed = false;
    bool Ctrl = false, Shift = false, Alt = false;
};

struct TAction {
    TAction() = default;
    TAction(int number, TActionKind kind, std::string form, std::string name, std::string key, std::string value)
        : Number(number), Kind(kind), Form(std::move(form)), Name(std::move(name)), Key(std::move(key)),
          Value(std::move(value))
    {
    }
    int Number = 0;
    TActionKind Kind = TActionKind::Mark;
    std::string Form, Name, Key, Value;
    std::vector<TStroke> Strokes;
    size_t Next = 0;  // the stroke at hand
    int Phase = 0;    // 0: down (or the character), 1: up
    bool Active = false;
    HWND LastFocus = nullptr;  // where the strokes went last
};

// "Jan{Enter}", "{Ctrl+V}", "{Shift+Tab}", "{{" for a brace.
std::vector<TStroke> ParseKeys(const std::string& keys)
{
    static const struct {
        const char* name;
        WORD vk;
    } names[] = {{"Enter", VK_RETURN}, {"Esc", VK_ESCAPE},   {"Tab", VK_TAB},      {"Back", VK_BACK},
                 {"Backspace", VK_BACK}, {"Del", VK_DELETE}, {"Delete", VK_DELETE}, {"Ins", VK_INSERT},
                 {"Insert", VK_INSERT}, {"Left", VK_LEFT},   {"Right", VK_RIGHT},   {"Up", VK_UP},
                 {"Down", VK_DOWN},     {"Home", VK_HOME},   {"End", VK_END},       {"PgUp", VK_PRIOR},
                 {"PgDn", VK_NEXT},     {"Space", VK_SPACE}, {"F2", VK_F2},         {"F4", VK_F4}};
    std::vector<TStroke> strokes;
    for (size_t i = 0; i < keys.size(); ++i) {
        TStroke s;
        if (keys[i] != '{' || (i + 1 < keys.size() && keys[i + 1] == '{')) {
            s.Typed = true;
            s.Ch = keys[i];
            if (keys[i] == '{')
                ++i;
            strokes.push_back(s);
            continue;
        }
        const size_t close = keys.find('}', i);
        if (close == std::string::npos)
            throw Exception("no } after " + keys.substr(i));
        std::string name = keys.substr(i + 1, close - i - 1);
        i = close;
        for (;;) {
            if (name.size() > 5 && SameName(name.substr(0, 5), "Ctrl+"))
                s.Ctrl = true, name.erase(0, 5);
            else if (name.size() > 6 && SameName(name.substr(0, 6), "Shift+"))
                s.Shift = true, name.erase(0, 6);
            else if (name.size() > 4 && SameName(name.substr(0, 4), "Alt+"))
                s.Alt = true, name.erase(0, 4);
            else
                break;
        }
        for (const auto& n : names)
            if (SameName(name, n.name))
                s.Vk = n.vk;
        if (!s.Vk && name.size() == 1) {
            const SHORT scan = VkKeyScanA(name[0]);
            if (scan != -1)
                s.Vk = LOBYTE(scan);
        }
        if (!s.Vk)
            throw Exception("unknown key {" + name + "}");
        strokes.push_back(s);
    }
    return strokes;
}

void SetModifiers(bool ctrl, bool shift, bool alt)
{
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = state[VK_LCONTROL] = ctrl ? 0x80 : 0;
    state[VK_SHIFT] = state[VK_LSHIFT] = shift ? 0x80 : 0;
    state[VK_MENU] = state[VK_LMENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
}

void SetValue(TComponent* c, const std::string& key, const std::string& value, TComponent* root)
{
    if (auto* control = dynamic_cast<TControl*>(c)) {
        TStringList change;
        change.Add(key + "=" + value);
        if (control->ProbeState(change, true))
            return;
    }
    const TPropInfo* p = GetPropInfo(c, key);
    if (!p)
        throw Exception(c->Name() + " has no property or state " + key);
    switch (p->Kind) {
    case TPropKind::pkStrings:
        if (auto* list = dynamic_cast<TStrings*>(GetObjectProp(c, *p))) {
            list->SetText(value);
            return;
        }
        throw Exception(c->Name() + "." + key + " holds no list");
    case TPropKind::pkComponent:
        SetComponentPropByName(c, *p, root, value);
        return;
    case TPropKind::pkClass:
    case TPropKind::pkMethod:
        throw Exception(c->Name() + "." + key + " cannot be set from text");
    default:
        SetPropText(c, *p, value);
    }
}

class TUiProbe : public TObject {
public:
    void Start();
    void Hook(TMessage& m, bool& handled);
    std::string Execute(const std::vector<std::string>& fields);

private:
    std::string Status() const;
    int Post(TAction action);
    void RunNext();
    // One half of the stroke at hand of the keys action at the front.
    void KeysStep();

    UINT runMessage_ = 0;
    UINT keysMessage_ = 0;
    std::deque<TAction> queue_;
    int issued_ = 0;
    int started_ = 0;
    int finished_ = 0;
    std::vector<std::string> failures_;
};

TUiProbe probe;

void TUiProbe::Start()
{
    if (!runMessage_)
        runMessage_ = RegisterWindowMessageA("QmxUiProbeRun");
    if (!keysMessage_)
        keysMessage_ = RegisterWindowMessageA("QmxUiProbeKeys");
    Application->HookMainWindow(TWindowHook(this, &TUiProbe::Hook));
}

std::string TUiProbe::Status() const
{
    std::string s = "ok " + std::to_string(started_) + " " + std::to_string(finished_) + "\n";
    return s;
}

int TUiProbe::Post(TAction action)
{
    action.Number = ++issued_;
    queue_.push_back(action);
    PostMessageA(Application->Handle(), runMessage_, 0, 0);
    return action.Number;
}

void TUiProbe::KeysStep()
{
    if (queue_.empty() || queue_.front().Kind != TActionKind::Keys || !queue_.front().Active)
        return;
    TAction& action = queue_.front();
    if (action.Next < action.Strokes.size()) {
        const TStroke& s = action.Strokes[action.Next];
        // The focus follows what the keys do (a Tab moves it on); while
        // another program is in front this thread has no focus at all, and
        // the strokes go on to the window that had it.
        HWND focus = GetFocus();
        if (focus)
            action.LastFocus = focus;
        else
            focus = action.LastFocus;
        if (action.Phase == 0) {
            SetModifiers(s.Ctrl, s.Shift, s.Alt);
            if (s.Typed) {
                PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(s.Ch), 1);
            } else {
                const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(s.Vk, 0)) << 16;
                // The program's own loop translates the key into its character.
                PostMessageA(focus, s.Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, s.Vk, scan | 1);
            }
            action.Phase = 1;
        } else {
            SetModifiers(false, false, false);
            const WORD vk = s.Typed ? LOBYTE(VkKeyScanA(s.Ch)) : s.Vk;
            const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, 0)) << 16;
            PostMessageA(focus, s.Alt ? WM_SYSKEYUP : WM_KEYUP, vk, scan | 0xC0000001);
            action.Phase = 0;
            ++action.Next;
        }
        // The next half once what was just posted (and what the loop made of
        // it) has been handled.
        PostMessageA(Application->Handle(), keysMessage_, 0, 0);
        return;
    }
    finished_ = action.Number;
    queue_.pop_front();
    if (!queue_.empty())
        PostMessageA(Application->Handle(), runMessage_, 0, 0);
}

void TUiProbe::RunNext()
{
    if (queue_.empty())
        return;
    if (queue_.front().Kind == TActionKind::Keys) {
        TAction& keys = queue_.front();
        if (keys.Active)
            return;  // its own messages drive it
        keys.Active = true;
        started_ = keys.Number;
        try {
            auto* control = dynamic_cast<TWinControl*>(FindTarget(keys.Form, keys.Name));
            if (!control)
                throw Exception(keys.Name + " is no windowed control");
            HWND wnd = control->Handle();
            SetForegroundWindow(GetAncestor(wnd, GA_ROOT));
            if (GetFocus() != wnd && !IsChild(wnd, GetFocus()))
                SetFocus(wnd);
            keys.LastFocus = GetFocus() ? GetFocus() : wnd;
        } catch (const std::exception& e) {
            failures_.push_back("failed " + std::to_string(keys.Number) + " " + Escape(e.what()));
            finished_ = keys.Number;
            queue_.pop_front();
            if (!queue_.empty())
                PostMessageA(Application->Handle(), runMessage_, 0, 0);
            return;
        }
        PostMessageA(Application->Handle(), keysMessage_, 0, 0);
        return;
    }
    const TAction action = queue_.front();
    queue_.pop_front();
    started_ = action.Number;
    try {
        switch (action.Kind) {
        case TActionKind::Mark:
            break;
        case TActionKind::Click: {
            auto* control = dynamic_cast<TControl*>(FindTarget(action.Form, action.Name));
            if (!control)
                throw Exception(action.Name + " is no control");
            // A click's own errors go where a user's click sends them.
            try {
                control->Click();
            } catch (...) {
                Application->HandleException(control);
            }
            break;
        }
        case TActionKind::Set:
            SetValue(FindTarget(action.Form, action.Name), action.Key, action.Value, FindForm(action.Form));
            break;
        case TActionKind::Keys:
            break;
        }
    } catch (const std::exception& e) {
        failures_.push_back("failed " + std::to_string(action.Number) + " " + Escape(e.what()));
    }
    finished_ = action.Number;
    // The run messages of actions queued behind a keys action went by while
    // it held the queue: one more, later than theirs, so none is left waiting.
    if (!queue_.empty())
        PostMessageA(Application->Handle(), runMessage_, 0, 0);
}

std::string TUiProbe::Execute(const std::vector<std::string>& f)
{
    std::string body;
    try {
        const std::string& command = f.at(0);
        auto arg = [&](size_t i) -> const std::string& {
            if (i >= f.size())
                throw Exception("too few fields for " + command);
            return f[i];
        };
        if (!Application)
            throw Exception("no application");
        if (command == "status") {
        } else if (command == "dump") {
            body = Dump(f.size() > 1 ? f[1] : std::string());
        } else if (command == "mark") {
            body = "action " + std::to_string(Post({0, TActionKind::Mark, {}, {}, {}, {}})) + "\n";
        } else if (command == "click") {
            if (!dynamic_cast<TControl*>(FindTarget(arg(1), arg(2))))
                throw Exception(arg(2) + " is no control");
            body = "action " + std::to_string(Post({0, TActionKind::Click, arg(1), arg(2), {}, {}})) + "\n";
        } else if (command == "set") {
            TComponent* c = FindTarget(arg(1), arg(2));
            const TPropInfo* p = GetPropInfo(c, arg(3));
            if (p && p->IsReadOnly())
                throw Exception(arg(2) + "." + arg(3) + " is read-only");
            body = "action " + std::to_string(Post({0, TActionKind::Set, arg(1), arg(2), arg(3), arg(4)})) + "\n";
        } else if (command == "keys") {
            if (!dynamic_cast<TWinControl*>(FindTarget(arg(1), arg(2))))
                throw Exception(arg(2) + " is no windowed control");
            TAction keys{0, TActionKind::Keys, arg(1), arg(2), {}, arg(3)};
            keys.Strokes = ParseKeys(arg(3));
            body = "action " + std::to_string(Post(keys)) + "\n";
        } else if (command == "png") {
            auto* form = dynamic_cast<TCustomForm*>(FindTarget(arg(1), ""));
            if (!form || !form->HandleAllocated())
                throw Exception("form " + arg(1) + " has no window");
            // What is invalid is painted first, so the picture shows it.
            RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            SaveWindowToPng(form->Handle(), arg(2));
        } else {
            throw Exception("unknown request " + command);
        }
    } catch (const std::exception& e) {
        return "error " + Escape(e.what()) + "\n";
    }
    std::string answer = Status();
    for (const std::string& failure : failures_)
        answer += failure + "\n";
    failures_.clear();
    return answer + body;
}

void TUiProbe::Hook(TMessage& m, bool& handled)
{
    if (m.Msg == runMessage_ && runMessage_) {
        handled = true;
        RunNext();
        return;
    }
    if (m.Msg == keysMessage_ && keysMessage_) {
        handled = true;
        KeysStep();
        return;
    }
    if (m.Msg != WM_COPYDATA)
        return;
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(m.LParam);
    if (!data || data->dwData != UiProbeRequest)
        return;
    handled = true;
    m.Result = 1;
    std::vector<std::string> fields =
        Split(std::string(static_cast<const char*>(data->lpData), data->lpData ? data->cbData : 0), UiProbeSeparator);
    // The first field is the driver's number for the request; the answer
    // carries it back so that a late answer to an earlier one is told apart.
    const unsigned long id = std::strtoul(fields.front().c_str(), nullptr, 10);
    fields.erase(fields.begin());
    std::string answer = fields.empty() ? "error empty request\n" : Execute(fields);
    HWND replyTo = reinterpret_cast<HWND>(m.WParam);
    if (!IsWindow(replyTo))
        return;
    COPYDATASTRUCT reply{id, static_cast<DWORD>(answer.size()), answer.data()};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(replyTo, WM_COPYDATA, reinterpret_cast<WPARAM>(Application->Handle()),
                        reinterpret_cast<LPARAM>(&reply), SMTO_ABORTIFHUNG, 5000, &result);
}

} // namespace

void InitUiProbe()
{
    if (Application)
        probe.Start();
}

std::string UiProbeExecute(const std::string& request)
{
    return probe.Execute(Split(request, UiProbeSeparator));
}

bool ProbeIndexKey(const std::string& key, const char* name, int& index)
{
    const std::string format = std::string(name) + "[%d]%n";
    int end = 0;
    return std::sscanf(key.c_str(), format.c_str(), &index, &end) == 1 && end == static_cast<int>(key.size());
}

#include "classlib/RichEdit.h"

#include <cstring>
#include <vector>

#include "classlib/TypInfo.h"

namespace {

// riched20.dll for the whole time rich edits may exist.
class TModule {
public:
    explicit TModule(HMODULE module) : module_(module) {}
    ~TModule() { FreeLibrary(module_); }
    TModule(const TModule&) = delete;
    TModule& operator=(const TModule&) = delete;

private:
    HMODULE module_;
};

std::unique_ptr<TModule>& RichEditLibrary()
{
    static std::unique_ptr<TModule> library;
    return library;
}

int liveRichEdits = 0;

// Text handed to and taken from the window through its stream messages; the
// callbacks only copy bytes and cannot fail.
struct TStreamCookie {
    std::string* text;
    size_t pos;
};

DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* c = reinterpret_cast<TStreamCookie*>(cookie);
    const size_t n = std::min(static_cast<size_t>(count), c->text->size() - c->pos);
    std::memcpy(buffer, c->text->data() + c->pos, n);
    c->pos += n;
    *done = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK StreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* c = reinterpret_cast<TStreamCookie*>(cookie);
    c->text->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
    *done = count;
    return 0;
}

CHARFORMAT2A EmptyFormat()
{
    CHARFORMAT2A f{};
    f.cbSize = sizeof f;
    return f;
}

bool StartsWithRtf(const std::string& text)
{
    return text.compare(0, 5, "{\\rtf") == 0;
}

// Start and length of each paragraph of a text whose paragraphs end in CR.
// The empty paragraph after a final CR is no line of its own.
struct TParagraphs {
    std::vector<int> start, length;
    int total = 0;  // paragraphs in the text, that last empty one included

    explicit TParagraphs(const std::string& raw)
    {
        if (raw.empty())
            return;
        int from = 0;
        for (int i = 0; i <= static_cast<int>(raw.size()); ++i) {
            if (i == static_cast<int>(raw.size()) || raw[i] == '\r') {
                start.push_back(from);
                length.push_back(i - from);
                from = i + 1;
            }
        }
        total = static_cast<int>(start.size());
        if (raw.back() == '\r') {
            start.pop_back();
            length.pop_back();
        }
    }
    int Count() const { return static_cast<int>(start.size()); }
};

} // namespace

// The paragraphs of a rich edit; while it has no window, plain lines kept
// until it gets one.
class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(TRichEdit* edit) : edit_(edit) {}

    int Count() const override
    {
        if (!edit_->WindowIfAny())
            return edit_->pendingLines_->Count();
        return TParagraphs(edit_->RawText()).Count();
    }

    std::string Strings(int index) const override
    {
        if (!edit_->WindowIfAny())
            return edit_->pendingLines_->Strings(index);
        const std::string raw = edit_->RawText();
        const TParagraphs p(raw);
        if (index < 0 || index >= p.Count())
            ListIndexError(index);
        return raw.substr(p.start[index], p.length[index]);
    }

    void SetStrings(int index, const std::string& s) override
    {
        if (!edit_->WindowIfAny()) {
            edit_->pendingLines_->SetStrings(index, s);
            return;
        }
        const TParagraphs p(edit_->RawText());
        if (index < 0 || index >= p.Count())
            ListIndexError(index);
        const int from = p.start[index];
        const int to = from + p.length[index];
        CHARRANGE range{from, to};
        SendMessageA(edit_->Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        edit_->ReplaceRange(from, to, s, edit_->GetSelFormat());
    }

    void Insert(int index, const std::string& s) override
    {
        if (!edit_->WindowIfAny()) {
            edit_->pendingLines_->Insert(index, s);
            return;
        }
        const std::string raw = edit_->RawText();
        const TParagraphs p(raw);
        if (index < 0 || index > p.Count())
            ListIndexError(index);
        // The attributes of the selection as the caller left them; moving
        // the caret to the insertion point would take those of the text
        // before it instead.
        const CHARFORMAT2A format = edit_->GetSelFormat();
        if (index < p.Count()) {
            edit_->ReplaceRange(p.start[index], p.start[index], s + "\r", format);
            return;
        }
        // Each line ends with its paragraph mark; a last line written
        // without one (typed, or from a text) gets it first.
        const int end = static_cast<int>(raw.size());
        std::string text;
        if (!raw.empty() && raw.back() != '\r') {
            text = '\r';
            text += s;
        } else {
            text = s + "\r";
        }
        edit_->ReplaceRange(end, end, text, format);
    }

    void Delete(int index) override
    {
        if (!edit_->WindowIfAny()) {
            edit_->pendingLines_->Delete(index);
            return;
        }
        const TParagraphs p(edit_->RawText());
        if (index < 0 || index >= p.Count())
            ListIndexError(index);
        int from = p.start[index];
        int to = from + p.length[index];
        if (index + 1 < p.total)
            ++to;  // with its paragraph mark
        else if (index > 0)
            --from;  // the last line takes the mark before it
        edit_->ReplaceRange(from, to, std::string(), edit_->GetSelFormat());
    }

    void Clear() override
    {
        edit_->haveSavedRtf_ = false;
        if (!edit_->WindowIfAny())
            edit_->pendingLines_->Clear();
        else
            edit_->LoadText(std::string(), false);
    }

    void SetText(const std::string& text) override
    {
        const bool rich = !edit_->PlainText() && StartsWithRtf(text);
        if (edit_->WindowIfAny()) {
            edit_->LoadText(text, rich);
            return;
        }
        edit_->pendingLines_->Clear();
        edit_->haveSavedRtf_ = rich;
        if (rich)
            edit_->savedRtf_ = text;
        else
            edit_->pendingLines_->SetText(text);
    }

private:
    TRichEdit* edit_;
};

// ---------------------------------------------------------------------------
// TTextAttributes

TFontStyles TTextAttributes::Style() const
{
    const CHARFORMAT2A f = owner_->GetSelFormat();
    TFontStyles s;
    if (f.dwEffects & CFE_BOLD)
        s = s + fsBold;
    if (f.dwEffects & CFE_ITALIC)
        s = s + fsItalic;
    if (f.dwEffects & CFE_UNDERLINE)
        s = s + fsUnderline;
    if (f.dwEffects & CFE_STRIKEOUT)
        s = s + fsStrikeOut;
    return s;
}

void TTextAttributes::SetStyle(TFontStyles style)
{
    CHARFORMAT2A f = EmptyFormat();
    f.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    if (style.Contains(fsBold))
        f.dwEffects |= CFE_BOLD;
    if (style.Contains(fsItalic))
        f.dwEffects |= CFE_ITALIC;
    if (style.Contains(fsUnderline))
        f.dwEffects |= CFE_UNDERLINE;
    if (style.Contains(fsStrikeOut))
        f.dwEffects |= CFE_STRIKEOUT;
    owner_->SetSelFormat(f);
}

TColor TTextAttributes::Color() const
{
    const CHARFORMAT2A f = owner_->GetSelFormat();
    if (f.dwEffects & CFE_AUTOCOLOR)
        return clWindowText;
    return static_cast<TColor>(f.crTextColor);
}

void TTextAttributes::SetColor(TColor color)
{
    CHARFORMAT2A f = EmptyFormat();
    f.dwMask = CFM_COLOR;
    // The window text colour follows the system's setting.
    if (color == clWindowText)
        f.dwEffects = CFE_AUTOCOLOR;
    else
        f.crTextColor = ColorToRGB(color);
    owner_->SetSelFormat(f);
}

std::string TTextAttributes::Name() const
{
    return owner_->GetSelFormat().szFaceName;
}

void TTextAttributes::SetName(const std::string& name)
{
    CHARFORMAT2A f = EmptyFormat();
    f.dwMask = CFM_FACE;
    lstrcpynA(f.szFaceName, name.c_str(), LF_FACESIZE);
    owner_->SetSelFormat(f);
}

int TTextAttributes::Size() const
{
    return owner_->GetSelFormat().yHeight / 20;
}

void TTextAttributes::SetSize(int points)
{
    CHARFORMAT2A f = EmptyFormat();
    f.dwMask = CFM_SIZE;
    f.yHeight = points * 20;
    owner_->SetSelFormat(f);
}

void TTextAttributes::Assign(const TPersistent* source)
{
    if (auto* font = dynamic_cast<const TFont*>(source)) {
        SetStyle(font->Style());
        SetColor(font->Color());
        SetName(font->Name());
        SetSize(font->Size());
        return;
    }
    if (auto* other = dynamic_cast<const TTextAttributes*>(source)) {
        CHARFORMAT2A f = other->owner_->GetSelFormat();
        f.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR | CFM_FACE | CFM_SIZE;
        owner_->SetSelFormat(f);
        return;
    }
    TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------
// TRichEdit

TRichEdit::TRichEdit(TComponent* owner)
    : TWinControl(owner), lines_(std::make_unique<TRichEditStrings>(this)), selAttributes_(this),
      pendingLines_(std::make_unique<TStringList>())
{
    ++liveRichEdits;
    SetBounds(Left(), Top(), 185, 89);
    SetParentColor(false);  // keeps its window colour whatever the parent has
    SetTabStop(true);
}

TRichEdit::~TRichEdit()
{
    Destroying();
    --liveRichEdits;
}

const TClassInfo* TRichEdit::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TRichEdit::StaticClass()
{
    static const TClassInfo info(
        "TRichEdit", &TWinControl::StaticClass(), &NewComponent<TRichEdit>,
        {
            PublishStrings<&TRichEdit::Lines, &TRichEdit::SetLines>("Lines"),
            PublishBoolean<&TRichEdit::ReadOnly, &TRichEdit::SetReadOnly>("ReadOnly"),
            PublishEnum<&TRichEdit::ScrollBars, &TRichEdit::SetScrollBars>(
                "ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}),
            PublishBoolean<&TRichEdit::WordWrap, &TRichEdit::SetWordWrap>("WordWrap"),
            PublishBoolean<&TRichEdit::HideSelection, &TRichEdit::SetHideSelection>("HideSelection"),
            PublishBoolean<&TRichEdit::PlainText, &TRichEdit::SetPlainText>("PlainText"),
            PublishEnum<&TRichEdit::BorderStyle, &TRichEdit::SetBorderStyle>("BorderStyle", {"bsNone", "bsSingle"}),
            PublishEvent<&TRichEdit::OnChange>("OnChange"),
        });
    return info;
}

void TRichEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "RichEdit20A");
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (readOnly_)
        p.Style |= ES_READONLY;
    if (!wordWrap_)
        p.Style |= ES_AUTOHSCROLL;
    if (!hideSelection_)
        p.Style |= ES_NOHIDESEL;
    // A wrapped text never needs a horizontal scroll bar.
    if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && !wordWrap_)
        p.Style |= WS_HSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        p.Style |= WS_VSCROLL;
    if (borderStyle_ == bsSingle)
        p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TRichEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(handle_, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    SendMessageA(handle_, EM_SETEVENTMASK, 0, ENM_CHANGE);
    SendMessageA(handle_, EM_SETBKGNDCOLOR, 0, ColorToRGB(Color()));
    SendMessageA(handle_, EM_SETTARGETDEVICE, 0, wordWrap_ ? 0 : 1);
}

void TRichEdit::CreateHandle()
{
    const bool had = handle_ != nullptr;
    TWinControl::CreateHandle();
    if (had || !handle_)
        return;
    if (haveSavedRtf_) {
        haveSavedRtf_ = false;
        LoadText(savedRtf_, true);
        savedRtf_.clear();
    } else if (pendingLines_->Count() > 0) {
        std::string text;
        for (int i = 0; i < pendingLines_->Count(); ++i) {
            text += pendingLines_->Strings(i);
            text += '\r';
        }
        pendingLines_->Clear();
        LoadText(text, false);
    }
}

void TRichEdit::DestroyWnd()
{
    savedRtf_.clear();
    TStreamCookie cookie{&savedRtf_, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&cookie), 0, StreamOutCallback};
    SendMessageA(handle_, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    haveSavedRtf_ = true;
    TWinControl::DestroyWnd();
}

void TRichEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE && !IsDestroying())
            Change();
        return;
    case WM_GETDLGCODE:
        // Tab moves the focus on, as in the other edits.
        DefaultHandler(m);
        m.Result &= ~DLGC_WANTTAB;
        return;
    case CM_COLORCHANGED:
        if (handle_)
            SendMessageA(handle_, EM_SETBKGNDCOLOR, 0, ColorToRGB(Color()));
        break;
    }
    TWinControl::Dispatch(m);
}

HWND TRichEdit::WindowIfAny()
{
    if (handle_)
        return handle_;
    if (IsLoading() || IsDestroying() || (!Parent() && !ParentWindow()))
        return nullptr;
    return Handle();
}

CHARFORMAT2A TRichEdit::GetSelFormat()
{
    CHARFORMAT2A f = EmptyFormat();
    SendMessageA(Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
    return f;
}

void TRichEdit::SetSelFormat(const CHARFORMAT2A& format)
{
    SendMessageA(Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

namespace {

int TextLength(HWND wnd)
{
    GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(SendMessageA(wnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0));
}

} // namespace

void TRichEdit::ReplaceRange(int start, int end, const std::string& text, const CHARFORMAT2A& format)
{
    HWND wnd = Handle();
    const int before = TextLength(wnd);
    CHARRANGE range{start, end};
    SendMessageA(wnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    // Streamed in as plain text, so that nothing in it is read as rich text.
    std::string copy = text;
    TStreamCookie cookie{&copy, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&cookie), 0, StreamInCallback};
    SendMessageA(wnd, EM_STREAMIN, SF_TEXT | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
    const int after = start + (TextLength(wnd) - before) + (end - start);
    if (after > start) {
        range = {start, after};
        SendMessageA(wnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2A f = format;
        f.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR | CFM_FACE | CFM_SIZE |
                   CFM_CHARSET;
        SendMessageA(wnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
    }
    range = {after, after};
    SendMessageA(wnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void TRichEdit::LoadText(const std::string& text, bool rich)
{
    std::string copy = text;
    TStreamCookie cookie{&copy, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&cookie), 0, StreamInCallback};
    SendMessageA(Handle(), EM_STREAMIN, rich ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

std::string TRichEdit::RawText()
{
    HWND wnd = Handle();
    const int length = TextLength(wnd);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) * 2 + 2, '\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size());
    get.flags = GT_DEFAULT;
    get.codepage = CP_ACP;
    const LRESULT got = SendMessageA(wnd, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

int TRichEdit::SelStart()
{
    CHARRANGE r{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    return r.cpMin;
}

void TRichEdit::SetSelStart(int value)
{
    CHARRANGE r{value, value};
    SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
}

int TRichEdit::SelLength()
{
    CHARRANGE r{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    return r.cpMax - r.cpMin;
}

void TRichEdit::SetSelLength(int value)
{
    CHARRANGE r{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    r.cpMax = r.cpMin + value;
    SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
}

std::string TRichEdit::SelText()
{
    const int length = SelLength();
    std::string text(static_cast<size_t>(length) * 2 + 1, '\0');
    const LRESULT got = SendMessageA(Handle(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void TRichEdit::SetSelText(const std::string& text)
{
    CHARRANGE r{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    ReplaceRange(r.cpMin, r.cpMax, text, GetSelFormat());
}

void TRichEdit::SelectAll()
{
    CHARRANGE r{0, -1};
    SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
}

void TRichEdit::Clear()
{
    lines_->Clear();
}

void TRichEdit::SetReadOnly(bool value)
{
    readOnly_ = value;
    if (handle_)
        SendMessageA(handle_, EM_SETREADONLY, value, 0);
}

void TRichEdit::SetScrollBars(TScrollStyle value)
{
    if (value == scrollBars_)
        return;
    scrollBars_ = value;
    RecreateWnd();
}

void TRichEdit::SetWordWrap(bool value)
{
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    RecreateWnd();
}

void TRichEdit::SetHideSelection(bool value)
{
    if (value == hideSelection_)
        return;
    hideSelection_ = value;
    RecreateWnd();
}

void TRichEdit::SetBorderStyle(TBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void InitRichEditUnit()
{
    auto& library = RichEditLibrary();
    if (!library) {
        HMODULE module = LoadLibraryA("riched20.dll");
        if (!module)
            RaiseLastOSError();
        library = std::make_unique<TModule>(module);
    }
    RegisterComponentClass(TRichEdit::StaticClass());
}

void DoneRichEditUnit()
{
    // A rich edit still alive keeps its window class: the library stays
    // until the process ends.
    if (liveRichEdits == 0)
        RichEditLibrary().reset();
}

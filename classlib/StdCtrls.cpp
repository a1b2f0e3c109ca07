#include "classlib/StdCtrls.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "classlib/UiProbe.h"

namespace {

LRESULT Send(TWinControl* control, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageA(control->Handle(), msg, wParam, lParam);
}

// Lines of a text: each ends at CR LF, LF or CR; a text that ends with a
// line break has no empty line after it.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    std::string line;
    while (NextLine(text, pos, line))
        lines.push_back(line);
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

void InitStdCtrlsUnit()
{
    RegisterComponentClass(TLabel::StaticClass());
    RegisterComponentClass(TButton::StaticClass());
    RegisterComponentClass(TCheckBox::StaticClass());
    RegisterComponentClass(TRadioButton::StaticClass());
    RegisterComponentClass(TEdit::StaticClass());
    RegisterComponentClass(TMemo::StaticClass());
    RegisterComponentClass(TListBox::StaticClass());
    RegisterComponentClass(TGroupBox::StaticClass());
}

// ---------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(0, 0, 65, 17);
}

const TClassInfo* TCustomLabel::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomLabel::StaticClass()
{
    static const TClassInfo info(
        "TCustomLabel", &TGraphicControl::StaticClass(), nullptr,
        {
            PublishEnum<&TCustomLabel::Alignment, &TCustomLabel::SetAlignment>(
                "Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}),
            PublishBoolean<&TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize>("AutoSize"),
            PublishBoolean<&TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap>("WordWrap"),
            PublishEnum<&TCustomLabel::Layout, &TCustomLabel::SetLayout>("Layout", {"tlTop", "tlCenter", "tlBottom"}),
            PublishBoolean<&TCustomLabel::Transparent, &TCustomLabel::SetTransparent>("Transparent"),
            PublishComponent<&TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl>("FocusControl"),
            PublishBoolean<&TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar>("ShowAccelChar"),
        });
    return info;
}

const TClassInfo* TLabel::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TLabel::StaticClass()
{
    static const TClassInfo info("TLabel", &TCustomLabel::StaticClass(), &NewComponent<TLabel>);
    return info;
}

void TCustomLabel::SetAlignment(TAlignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value)
{
    if (value == autoSize_)
        return;
    autoSize_ = value;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool value)
{
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value)
{
    if (value == layout_)
        return;
    layout_ = value;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value)
{
    if (value == Transparent())
        return;
    SetControlStyle(value ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value)
{
    if (value == focusControl_)
        return;
    if (focusControl_)
        focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    if (value)
        value->FreeNotification(this);
}

void TCustomLabel::SetShowAccelChar(bool value)
{
    if (value == showAccelChar_)
        return;
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

UINT TCustomLabel::TextFlags() const
{
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    return DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | alignments[alignment_];
}

void TCustomLabel::DoDrawText(TRect& rect, UINT flags)
{
    std::string text = GetLabelText();
    // An empty text still measures one line high.
    if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&")))
        text += ' ';
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    if (Enabled() || (flags & DT_CALCRECT)) {
        DrawTextA(canvas->TextHandle(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
        return;
    }
    // Disabled: engraved, a light copy below right of a shadowed one.
    OffsetRect(&rect, 1, 1);
    canvas->Font()->SetColor(clBtnHighlight);
    DrawTextA(canvas->TextHandle(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
    OffsetRect(&rect, -1, -1);
    canvas->Font()->SetColor(clBtnShadow);
    DrawTextA(canvas->TextHandle(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TCustomLabel::Paint()
{
    TCanvas* canvas = Canvas();
    if (!Transparent()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(ClientRect());
    }
    TRect r = ClientRect();
    const UINT flags = TextFlags();
    if (layout_ != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        const int free = Height() - calc.bottom;
        OffsetRect(&r, 0, layout_ == tlBottom ? free : free / 2);
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (!autoSize_ || IsLoading() || IsDestroying())
        return;
    TRect r = ClientRect();
    {
        TWindowDC screen;
        TCanvasDCLoan loan(ControlCanvas(), screen.Get());
        DoDrawText(r, TextFlags() | DT_CALCRECT);
    }
    // A wrapped text keeps its width: measured narrower, it would wrap the
    // next, longer text narrower still.
    if (wordWrap_) {
        SetBounds(Left(), Top(), Width(), r.bottom);
        return;
    }
    int left = Left();
    if (alignment_ == taRightJustify)
        left += Width() - r.right;
    SetBounds(left, Top(), r.right, r.bottom);
}

void TCustomLabel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_TEXTCHANGED:
        Invalidate();
        AdjustBounds();
        return;
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(m);
        AdjustBounds();
        return;
    case CM_DIALOGCHAR:
        if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<char>(m.WParam), Caption()) &&
            focusControl_->CanFocus()) {
            focusControl_->SetFocus();
            m.Result = 1;
            return;
        }
        break;
    }
    TGraphicControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// Buttons

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner)
{
    // The system button presses and clicks itself.
    SetControlStyle(csDoubleClicks);
    SetTabStop(true);
}

TButton::TButton(TComponent* owner) : TButtonControl(owner)
{
    SetBounds(0, 0, 75, 25);
}

const TClassInfo* TButton::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TButton::StaticClass()
{
    static const TClassInfo info("TButton", &TWinControl::StaticClass(), &NewComponent<TButton>,
                                 {
                                     PublishBoolean<&TButton::Default, &TButton::SetDefault>("Default"),
                                     PublishBoolean<&TButton::Cancel, &TButton::SetCancel>("Cancel"),
                                     PublishInteger<&TButton::ModalResult, &TButton::SetModalResult>("ModalResult"),
                                 });
    return info;
}

void TButton::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    active_ = default_;
}

void TButton::SetButtonStyle(bool isDefault)
{
    if (!HandleAllocated())
        return;
    const LONG type = GetWindowLongA(handle_, GWL_STYLE) & BS_TYPEMASK;
    const LONG wanted = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    // The system's styles would replace an owner-drawn face.
    if (type != wanted && type != BS_OWNERDRAW)
        SendMessageA(handle_, BM_SETSTYLE, wanted, TRUE);
}

void TButton::SetDefault(bool value)
{
    default_ = value;
    if (!HandleAllocated())
        return;
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TButton::Click()
{
    if (TCustomForm* form = GetParentForm(this); form && modalResult_ != mrNone)
        form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) {
            Click();
            return;
        }
        break;
    case CM_FOCUSCHANGED: {
        auto* focused = reinterpret_cast<TControl*>(m.LParam);
        active_ = focused == this || (default_ && !dynamic_cast<TButton*>(focused));
        SetButtonStyle(active_);
        break;
    }
    case CM_DIALOGKEY:
        if (((m.WParam == VK_RETURN && active_) || (m.WParam == VK_ESCAPE && cancel_)) && CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    }
    TButtonControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner)
{
    SetBounds(0, 0, 97, 17);
}

const TClassInfo* TCustomCheckBox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomCheckBox::StaticClass()
{
    static const TClassInfo info(
        "TCustomCheckBox", &TWinControl::StaticClass(), nullptr,
        {
            PublishBoolean<&TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed>("AllowGrayed"),
            PublishBoolean<&TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked>("Checked"),
            PublishEnum<&TCustomCheckBox::State, &TCustomCheckBox::SetState>("State",
                                                                             {"cbUnchecked", "cbChecked", "cbGrayed"}),
        });
    return info;
}

const TClassInfo* TCheckBox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCheckBox::StaticClass()
{
    static const TClassInfo info("TCheckBox", &TCustomCheckBox::StaticClass(), &NewComponent<TCheckBox>);
    return info;
}

void TCustomCheckBox::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    // The control, not the system, decides what a click does to the mark.
    p.Style |= BS_3STATE;
}

void TCustomCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageA(handle_, BM_SETCHECK, state_, 0);
}

void TCustomCheckBox::SetState(TCheckBoxState value)
{
    if (value == state_)
        return;
    state_ = value;
    if (HandleAllocated())
        SendMessageA(handle_, BM_SETCHECK, value, 0);
    if (!ClicksDisabled() && !IsLoading())
        Click();
}

void TCustomCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked:
        SetState(allowGrayed_ ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

void TCustomCheckBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) {
            Toggle();
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused())
                Toggle();
            m.Result = 1;
            return;
        }
        break;
    }
    TButtonControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner)
{
    // Only the checked button of a group is a tab stop: Tab goes to the
    // choice made, the arrows go through the others.
    SetTabStop(false);
    SetBounds(0, 0, 113, 17);
}

const TClassInfo* TRadioButton::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TRadioButton::StaticClass()
{
    static const TClassInfo info("TRadioButton", &TWinControl::StaticClass(), &NewComponent<TRadioButton>,
                                 {
                                     PublishBoolean<&TRadioButton::Checked, &TRadioButton::SetChecked>("Checked"),
                                 });
    return info;
}

void TRadioButton::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool value)
{
    if (value == checked_)
        return;
    checked_ = value;
    SetTabStop(value);
    if (HandleAllocated())
        SendMessageA(handle_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value)
        return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
                sibling->SetChecked(false);
    if (!ClicksDisabled() && !IsLoading())
        Click();
}

void TRadioButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) {
            SetChecked(true);
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused())
                SetChecked(true);
            m.Result = 1;
            return;
        }
        break;
    }
    TButtonControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TCustomEdit

namespace {

// A window text being set: the change notice that the system sends on the
// way is not the one reported (OnChange fires once, afterwards).
int settingText = 0;

} // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(csClickEvents | csDoubleClicks);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 121, 21);
}

const TClassInfo* TCustomEdit::ClassInfo() const
{
    return &StaticClass();
}

namespace {

// PasswordChar as forms write it: one character, or nothing for none.
TPropInfo PublishPasswordChar()
{
    TPropInfo p;
    p.Name = "PasswordChar";
    p.Kind = TPropKind::pkString;
    p.GetStr = [](const TObject* o) {
        const char c = static_cast<const TCustomEdit*>(o)->PasswordChar();
        return c ? std::string(1, c) : std::string();
    };
    p.SetStr = [](TObject* o, const std::string& v) {
        static_cast<TCustomEdit*>(o)->SetPasswordChar(v.empty() ? '\0' : v[0]);
    };
    return p;
}

} // namespace

const TClassInfo& TCustomEdit::StaticClass()
{
    static const TClassInfo info(
        "TCustomEdit", &TWinControl::StaticClass(), nullptr,
        {
            PublishInteger<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>("MaxLength"),
            PublishBoolean<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>("ReadOnly"),
            PublishPasswordChar(),
            PublishEnum<&TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle>("BorderStyle",
                                                                                 {"bsNone", "bsSingle"}),
            PublishEvent<&TCustomEdit::OnChange>("OnChange"),
        });
    return info;
}

const TClassInfo* TEdit::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TEdit::StaticClass()
{
    static const TClassInfo info("TEdit", &TCustomEdit::StaticClass(), &NewComponent<TEdit>);
    return info;
}

void TCustomEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "EDIT");
    if (!IsMultiLine())
        p.Style |= ES_AUTOHSCROLL;
    if (readOnly_)
        p.Style |= ES_READONLY;
    if (passwordChar_ && !IsMultiLine())
        p.Style |= ES_PASSWORD;
    if (borderStyle_ == bsSingle)
        p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd()
{
    ++settingText;
    try {
        TWinControl::CreateWnd();
    } catch (...) {
        --settingText;
        throw;
    }
    --settingText;
    SendMessageA(handle_, EM_LIMITTEXT, maxLength_, 0);
    if (passwordChar_ && !IsMultiLine())
        SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
    SendMessageA(handle_, EM_SETSEL, selStart_, selStart_ + selLength_);
    SendMessageA(handle_, EM_SETMODIFY, modified_, 0);
}

void TCustomEdit::DestroyWnd()
{
    modified_ = Modified();
    selStart_ = SelStart();
    selLength_ = SelLength();
    TWinControl::DestroyWnd();
}

void TCustomEdit::SetMaxLength(int value)
{
    maxLength_ = value;
    if (HandleAllocated())
        SendMessageA(handle_, EM_LIMITTEXT, value, 0);
}

void TCustomEdit::SetReadOnly(bool value)
{
    readOnly_ = value;
    if (HandleAllocated())
        SendMessageA(handle_, EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetPasswordChar(char value)
{
    if (value == passwordChar_)
        return;
    passwordChar_ = value;
    RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

bool TCustomEdit::Modified() const
{
    return handle_ ? SendMessageA(handle_, EM_GETMODIFY, 0, 0) != 0 : modified_;
}

void TCustomEdit::SetModified(bool value)
{
    modified_ = value;
    if (handle_)
        SendMessageA(handle_, EM_SETMODIFY, value, 0);
}

int TCustomEdit::SelStart()
{
    if (!HandleAllocated())
        return selStart_;
    DWORD start = 0, end = 0;
    SendMessageA(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value)
{
    if (!HandleAllocated()) {
        selStart_ = value;
        selLength_ = 0;
        return;
    }
    SendMessageA(handle_, EM_SETSEL, value, value);
}

int TCustomEdit::SelLength()
{
    if (!HandleAllocated())
        return selLength_;
    DWORD start = 0, end = 0;
    SendMessageA(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value)
{
    if (!HandleAllocated()) {
        selLength_ = value;
        return;
    }
    const int start = SelStart();
    SendMessageA(handle_, EM_SETSEL, start, start + value);
}

std::string TCustomEdit::SelText()
{
    const std::string text = Text();
    const size_t start = std::min<size_t>(SelStart(), text.size());
    return text.substr(start, std::max(0, SelLength()));
}

void TCustomEdit::SetSelText(const std::string& value)
{
    if (HandleAllocated()) {
        SendMessageA(handle_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
        return;
    }
    std::string text = Text();
    const size_t start = std::min<size_t>(selStart_, text.size());
    text.replace(start, std::max(0, selLength_), value);
    SetText(text);
    selStart_ = static_cast<int>(start + value.size());
    selLength_ = 0;
}

void TCustomEdit::SelectAll()
{
    if (HandleAllocated()) {
        SendMessageA(handle_, EM_SETSEL, 0, -1);
    } else {
        selStart_ = 0;
        selLength_ = static_cast<int>(Text().size());
    }
}

void TCustomEdit::Change()
{
    if (!IsLoading())
        OnChange(this);
}

void TCustomEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE) {
            if (!settingText)
                Change();
            return;
        }
        break;
    case WM_SETTEXT:
        // From the program or from outside (a test driver): one OnChange,
        // whatever the system announces on the way.
        ++settingText;
        try {
            DefaultHandler(m);
        } catch (...) {
            --settingText;
            throw;
        }
        --settingText;
        Change();
        return;
    case CM_TEXTCHANGED:
        // Without a window no WM_SETTEXT announced it.
        if (!HandleAllocated())
            Change();
        break;
    }
    TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TCustomMemo

// The memo's lines, read from and written to its text.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}

    int Count() const override { return static_cast<int>(Lines().size()); }
    std::string Strings(int index) const override
    {
        const auto lines = Lines();
        Check(index, lines.size());
        return lines[index];
    }
    void SetStrings(int index, const std::string& s) override
    {
        auto lines = Lines();
        Check(index, lines.size());
        lines[index] = s;
        memo_->SetText(JoinLines(lines));
    }
    void Insert(int index, const std::string& s) override
    {
        auto lines = Lines();
        Check(index, lines.size() + 1);
        lines.insert(lines.begin() + index, s);
        memo_->SetText(JoinLines(lines));
    }
    void Delete(int index) override
    {
        auto lines = Lines();
        Check(index, lines.size());
        lines.erase(lines.begin() + index);
        memo_->SetText(JoinLines(lines));
    }
    void Clear() override { memo_->SetText(std::string()); }
    void SetText(const std::string& text) override { memo_->SetText(JoinLines(SplitLines(text))); }
    // One change of the text, not one per line.
    void Assign(const TPersistent* source) override
    {
        if (auto* strings = dynamic_cast<const TStrings*>(source)) {
            memo_->SetText(strings->Text());
            return;
        }
        TStrings::Assign(source);
    }

protected:
    void SetUpdateState(bool updating) override
    {
        if (!memo_->HandleAllocated())
            return;
        SendMessageA(memo_->Handle(), WM_SETREDRAW, !updating, 0);
        if (!updating)
            memo_->Invalidate();
    }

private:
    std::vector<std::string> Lines() const { return SplitLines(memo_->Text()); }
    static void Check(int index, size_t count)
    {
        if (index < 0 || static_cast<size_t>(index) >= count)
            ListIndexError(index);
    }
    TCustomMemo* memo_;
};

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(this))
{
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

const TClassInfo* TCustomMemo::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomMemo::StaticClass()
{
    static const TClassInfo info(
        "TCustomMemo", &TCustomEdit::StaticClass(), nullptr,
        {
            PublishStrings<&TCustomMemo::Lines, &TCustomMemo::SetLines>("Lines"),
            PublishEnum<&TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars>(
                "ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}),
            PublishBoolean<&TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap>("WordWrap"),
            PublishEnum<&TCustomMemo::Alignment, &TCustomMemo::SetAlignment>(
                "Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}),
            PublishBoolean<&TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns>("WantReturns"),
            PublishBoolean<&TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs>("WantTabs"),
        });
    return info;
}

const TClassInfo* TMemo::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TMemo::StaticClass()
{
    static const TClassInfo info("TMemo", &TCustomMemo::StaticClass(), &NewComponent<TMemo>);
    return info;
}

void TCustomMemo::SetLines(TStrings* value)
{
    if (value)
        lines_->Assign(value);
    else
        lines_->Clear();
}

void TCustomMemo::SetScrollBars(TScrollStyle value)
{
    if (value == scrollBars_)
        return;
    scrollBars_ = value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value)
{
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& p)
{
    TCustomEdit::CreateParams(p);
    static const DWORD alignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | alignments[alignment_];
    if (!wordWrap_ && alignment_ == taLeftJustify)
        p.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        p.Style |= WS_VSCROLL;
    if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && !wordWrap_)
        p.Style |= WS_HSCROLL;
}

void TCustomMemo::Dispatch(TMessage& m)
{
    if (m.Msg == WM_GETDLGCODE) {
        TCustomEdit::Dispatch(m);
        if (wantTabs_)
            m.Result |= DLGC_WANTTAB;
        else
            m.Result &= ~DLGC_WANTTAB;
        if (!wantReturns_)
            m.Result &= ~DLGC_WANTALLKEYS;
        return;
    }
    TCustomEdit::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TCustomListBox

// The list box's items: the window's strings while it has one, the kept
// ones otherwise.
class TListBoxStrings : public TStrings {
public:
    explicit TListBoxStrings(TCustomListBox* box) : box_(box) {}

    int Count() const override
    {
        if (box_->HandleAllocated())
            return static_cast<int>(SendMessageA(box_->handle_, LB_GETCOUNT, 0, 0));
        return static_cast<int>(box_->saved_.size());
    }
    std::string Strings(int index) const override
    {
        Check(index, Count());
        if (!box_->HandleAllocated())
            return box_->saved_[index].Text;
        const LRESULT n = SendMessageA(box_->handle_, LB_GETTEXTLEN, index, 0);
        std::string s(static_cast<size_t>(std::max<LRESULT>(n, 0)) + 1, '\0');
        const LRESULT got = SendMessageA(box_->handle_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(s.data()));
        s.resize(got > 0 ? static_cast<size_t>(got) : 0);
        return s;
    }
    TObject* Objects(int index) const override
    {
        Check(index, Count());
        if (!box_->HandleAllocated())
            return box_->saved_[index].Object;
        return reinterpret_cast<TObject*>(SendMessageA(box_->handle_, LB_GETITEMDATA, index, 0));
    }
    void SetObjects(int index, TObject* object) override
    {
        Check(index, Count());
        if (!box_->HandleAllocated())
            box_->saved_[index].Object = object;
        else
            SendMessageA(box_->handle_, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(object));
    }
    // Deleted and put back: a sorted list keeps its order, the selection
    // stays with the item.
    void SetStrings(int index, const std::string& s) override
    {
        Check(index, Count());
        const bool selected = box_->Selected(index);
        const int itemIndex = box_->ItemIndex();
        TObject* object = Objects(index);
        Delete(index);
        const int at = Put(index, s, object);
        if (selected)
            box_->SetSelected(at, true);
        if (itemIndex == index)
            box_->SetItemIndex(at);
    }
    void Insert(int index, const std::string& s) override { InsertObject(index, s, nullptr); }
    // A sorted list puts the item in its place, whatever the index.
    void InsertObject(int index, const std::string& s, TObject* object) override
    {
        Check(index, Count() + 1);
        Put(index, s, object);
    }
    int Add(const std::string& s) override { return AddObject(s, nullptr); }
    int AddObject(const std::string& s, TObject* object) override { return Put(Count(), s, object); }
    void Delete(int index) override
    {
        Check(index, Count());
        if (box_->HandleAllocated()) {
            SendMessageA(box_->handle_, LB_DELETESTRING, index, 0);
            return;
        }
        box_->saved_.erase(box_->saved_.begin() + index);
        if (box_->savedItemIndex_ == index)
            box_->savedItemIndex_ = -1;
        else if (box_->savedItemIndex_ > index)
            --box_->savedItemIndex_;
    }
    void Clear() override
    {
        if (box_->HandleAllocated()) {
            SendMessageA(box_->handle_, LB_RESETCONTENT, 0, 0);
            return;
        }
        box_->saved_.clear();
        box_->savedItemIndex_ = -1;
        box_->savedTopIndex_ = 0;
    }

protected:
    void SetUpdateState(bool updating) override
    {
        if (!box_->HandleAllocated())
            return;
        SendMessageA(box_->handle_, WM_SETREDRAW, !updating, 0);
        if (!updating)
            box_->Invalidate();
    }
    bool KeepsOrder() const override { return box_->Sorted(); }

private:
    static void Check(int index, int count)
    {
        if (index < 0 || index >= count)
            ListIndexError(index);
    }
    int Put(int index, const std::string& s, TObject* object)
    {
        if (!box_->HandleAllocated()) {
            const int at = box_->Sorted() ? box_->SavedInsertPos(s) : index;
            box_->saved_.insert(box_->saved_.begin() + at, {s, object, false});
            if (box_->savedItemIndex_ >= at)
                ++box_->savedItemIndex_;
            return at;
        }
        const bool append = box_->Sorted() || index >= Count();
        const LRESULT at = append ? SendMessageA(box_->handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()))
                                  : SendMessageA(box_->handle_, LB_INSERTSTRING, index,
                                                 reinterpret_cast<LPARAM>(s.c_str()));
        if (at < 0)
            throw Exception("Cannot add an item to the list box " + box_->Name());
        SendMessageA(box_->handle_, LB_SETITEMDATA, at, reinterpret_cast<LPARAM>(object));
        return static_cast<int>(at);
    }
    TCustomListBox* box_;
};

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TListBoxStrings>(this))
{
    SetControlStyle(csDoubleClicks);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

const TClassInfo* TCustomListBox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomListBox::StaticClass()
{
    static const TClassInfo info(
        "TCustomListBox", &TWinControl::StaticClass(), nullptr,
        {
            PublishStrings<&TCustomListBox::Items, &TCustomListBox::SetItems>("Items"),
            PublishBoolean<&TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect>("MultiSelect"),
            PublishBoolean<&TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect>("ExtendedSelect"),
            PublishBoolean<&TCustomListBox::Sorted, &TCustomListBox::SetSorted>("Sorted"),
            PublishEnum<&TCustomListBox::Style, &TCustomListBox::SetStyle>(
                "Style", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"}),
            PublishInteger<&TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight>("ItemHeight"),
            PublishEvent<&TCustomListBox::OnDrawItem>("OnDrawItem"),
            PublishEvent<&TCustomListBox::OnMeasureItem>("OnMeasureItem"),
        });
    return info;
}

const TClassInfo* TListBox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TListBox::StaticClass()
{
    static const TClassInfo info("TListBox", &TCustomListBox::StaticClass(), &NewComponent<TListBox>);
    return info;
}

void TCustomListBox::SetItems(TStrings* value)
{
    if (value)
        items_->Assign(value);
    else
        items_->Clear();
}

int TCustomListBox::SavedInsertPos(const std::string& s) const
{
    // After the equal ones, as the system's sorted list box puts it.
    int pos = 0;
    while (pos < static_cast<int>(saved_.size()) && AnsiCompareText(saved_[pos].Text, s) <= 0)
        ++pos;
    return pos;
}

void TCustomListBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "LISTBOX");
    static const DWORD styles[] = {0, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE};
    p.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | styles[style_];
    if (sorted_)
        p.Style |= LBS_SORT;
    if (multiSelect_)
        p.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    if (style_ == lbOwnerDrawFixed)
        SendMessageA(handle_, LB_SETITEMHEIGHT, 0, itemHeight_);
    std::vector<SavedItem> items;
    items.swap(saved_);
    const int itemIndex = savedItemIndex_;
    for (const SavedItem& item : items) {
        const LRESULT at = SendMessageA(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Text.c_str()));
        if (at < 0)
            continue;
        SendMessageA(handle_, LB_SETITEMDATA, at, reinterpret_cast<LPARAM>(item.Object));
        if (multiSelect_ && item.Selected)
            SendMessageA(handle_, LB_SETSEL, TRUE, at);
    }
    savedItemIndex_ = -1;
    if (itemIndex >= 0)
        SendMessageA(handle_, multiSelect_ ? LB_SETCARETINDEX : LB_SETCURSEL, itemIndex, 0);
    SendMessageA(handle_, LB_SETTOPINDEX, savedTopIndex_, 0);
}

void TCustomListBox::DestroyWnd()
{
    std::vector<SavedItem> items;
    const int n = Count();
    for (int i = 0; i < n; ++i)
        items.push_back({items_->Strings(i), items_->Objects(i), multiSelect_ && Selected(i)});
    const int itemIndex = ItemIndex();
    savedTopIndex_ = TopIndex();
    TWinControl::DestroyWnd();
    saved_.swap(items);
    savedItemIndex_ = itemIndex;
}

int TCustomListBox::ItemIndex()
{
    if (!HandleAllocated())
        return savedItemIndex_;
    if (!multiSelect_)
        return static_cast<int>(SendMessageA(handle_, LB_GETCURSEL, 0, 0));
    return Count() == 0 ? -1 : static_cast<int>(SendMessageA(handle_, LB_GETCARETINDEX, 0, 0));
}

void TCustomListBox::SetItemIndex(int value)
{
    if (!HandleAllocated()) {
        savedItemIndex_ = value >= 0 && value < Count() ? value : -1;
        return;
    }
    if (ItemIndex() == value)
        return;
    SendMessageA(handle_, multiSelect_ ? LB_SETCARETINDEX : LB_SETCURSEL, value, 0);
}

void TCustomListBox::SetMultiSelect(bool value)
{
    if (value == multiSelect_)
        return;
    multiSelect_ = value;
    RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool value)
{
    if (value == extendedSelect_)
        return;
    extendedSelect_ = value;
    RecreateWnd();
}

bool TCustomListBox::Selected(int index)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    if (!multiSelect_)
        return ItemIndex() == index;
    if (!HandleAllocated())
        return saved_[index].Selected;
    return SendMessageA(handle_, LB_GETSEL, index, 0) > 0;
}

void TCustomListBox::SetSelected(int index, bool value)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    if (!multiSelect_) {
        if (value)
            SetItemIndex(index);
        else if (ItemIndex() == index)
            SetItemIndex(-1);
        return;
    }
    if (!HandleAllocated())
        saved_[index].Selected = value;
    else
        SendMessageA(handle_, LB_SETSEL, value, index);
}

int TCustomListBox::SelCount()
{
    if (!multiSelect_)
        return ItemIndex() >= 0 ? 1 : 0;
    if (HandleAllocated())
        return static_cast<int>(SendMessageA(handle_, LB_GETSELCOUNT, 0, 0));
    return static_cast<int>(std::count_if(saved_.begin(), saved_.end(), [](const SavedItem& i) { return i.Selected; }));
}

void TCustomListBox::SetSorted(bool value)
{
    if (value == sorted_)
        return;
    sorted_ = value;
    if (HandleAllocated()) {
        RecreateWnd();
        return;
    }
    if (!value)
        return;
    const SavedItem* current = savedItemIndex_ >= 0 ? &saved_[savedItemIndex_] : nullptr;
    std::vector<const SavedItem*> order;
    for (const SavedItem& item : saved_)
        order.push_back(&item);
    std::stable_sort(order.begin(), order.end(),
                     [](const SavedItem* a, const SavedItem* b) { return AnsiCompareText(a->Text, b->Text) < 0; });
    std::vector<SavedItem> sorted;
    for (const SavedItem* item : order) {
        if (item == current)
            savedItemIndex_ = static_cast<int>(sorted.size());
        sorted.push_back(*item);
    }
    saved_.swap(sorted);
}

void TCustomListBox::SetStyle(TListBoxStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    RecreateWnd();
}

int TCustomListBox::ItemHeight()
{
    if (style_ == lbStandard && HandleAllocated())
        return static_cast<int>(SendMessageA(handle_, LB_GETITEMHEIGHT, 0, 0));
    return itemHeight_;
}

void TCustomListBox::SetItemHeight(int value)
{
    if (value <= 0 || value == itemHeight_)
        return;
    itemHeight_ = value;
    RecreateWnd();
}

int TCustomListBox::TopIndex()
{
    if (!HandleAllocated())
        return savedTopIndex_;
    return static_cast<int>(SendMessageA(handle_, LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int value)
{
    if (!HandleAllocated())
        savedTopIndex_ = value;
    else
        SendMessageA(handle_, LB_SETTOPINDEX, value, 0);
}

int TCustomListBox::ItemAtPos(TPoint pos, bool existing)
{
    const int count = Count();
    int index = static_cast<int>(Send(this, LB_GETTOPINDEX));
    for (; index < count; ++index) {
        RECT r{};
        if (SendMessageA(handle_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) == LB_ERR)
            break;
        if (PtInRect(&r, pos))
            return index;
    }
    return existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(int index)
{
    RECT r{};
    if (Send(this, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return TRect{};
    return r;
}

bool TCustomListBox::ProbeState(TStrings& lines, bool change)
{
    if (!change) {
        lines.Add("ItemIndex=" + std::to_string(ItemIndex()));
        if (multiSelect_)
            for (int i = 0; i < Count(); ++i)
                if (Selected(i))
                    lines.Add("Selected[" + std::to_string(i) + "]=1");
        return true;
    }
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string key = lines.Names(i);
        int index = -1;
        const bool selected = ProbeIndexKey(key, "Selected", index);
        // Other keys are published properties for the probe to set.
        if (key != "ItemIndex" && !selected)
            return false;
        const std::string line = lines.Strings(i);
        const int value = StrToInt(line.substr(line.find('=') + 1));
        if (key == "ItemIndex") {
            if (multiSelect_)
                for (int j = 0; j < Count(); ++j)
                    SetSelected(j, j == value);
            SetItemIndex(value);
        } else {
            SetSelected(index, value != 0);
        }
        Click();
    }
    return true;
}

void TCustomListBox::DrawItem(int index, TRect rect, TOwnerDrawState state)
{
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    if (index < Count())
        canvas->TextOut(rect.left + 2, rect.top, items_->Strings(index));
}

void TCustomListBox::MeasureItem(int index, int& height)
{
    OnMeasureItem(this, index, height);
}

void TCustomListBox::WmDrawItem(TMessage& m)
{
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    const TOwnerDrawState state = LOWORD(item->itemState) & (odSelected | odGrayed | odDisabled | odChecked | odFocused);
    TControlCanvas* canvas = ControlCanvas();
    {
        TCanvasDCLoan loan(canvas, item->hDC);
        canvas->SetFont(Font());
        canvas->SetBrush(Brush());
        const int index = static_cast<int>(item->itemID);
        if (index >= 0 && (state & odSelected)) {
            canvas->Brush()->SetColor(clHighlight);
            canvas->Font()->SetColor(clHighlightText);
        }
        if (index >= 0)
            DrawItem(index, item->rcItem, state);
        else
            canvas->FillRect(item->rcItem);
        if (state & odFocused)
            ::DrawFocusRect(item->hDC, &item->rcItem);
    }
    m.Result = TRUE;
}

void TCustomListBox::WmMeasureItem(TMessage& m)
{
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    int height = itemHeight_;
    if (style_ == lbOwnerDrawVariable)
        MeasureItem(static_cast<int>(item->itemID), height);
    item->itemHeight = static_cast<UINT>(std::max(1, height));
    m.Result = TRUE;
}

void TCustomListBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case LBN_SELCHANGE:
            Click();
            return;
        case LBN_DBLCLK:
            DblClick();
            return;
        }
        break;
    case CN_DRAWITEM:
        WmDrawItem(m);
        return;
    case CN_MEASUREITEM:
        WmMeasureItem(m);
        return;
    }
    TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetBounds(0, 0, 185, 105);
}

const TClassInfo* TCustomGroupBox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomGroupBox::StaticClass()
{
    static const TClassInfo info("TCustomGroupBox", &TCustomControl::StaticClass());
    return info;
}

const TClassInfo* TGroupBox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TGroupBox::StaticClass()
{
    static const TClassInfo info("TGroupBox", &TCustomGroupBox::StaticClass(), &NewComponent<TGroupBox>);
    return info;
}

void TCustomGroupBox::AdjustClientRect(TRect& rect)
{
    rect.top += FontTextHeight(Font()->Handle());
    InflateRect(&rect, -2, -2);
}

void TCustomGroupBox::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    const int h = FontTextHeight(Font()->Handle());
    RECT frame = Rect(0, h / 2 - 1, Width(), Height());
    DrawEdge(canvas->Handle(), &frame, EDGE_ETCHED, BF_RECT);
    const std::string caption = Caption();
    if (caption.empty())
        return;
    if (!Enabled())
        canvas->Font()->SetColor(clGrayText);
    HDC dc = canvas->TextHandle();
    RECT r = Rect(8, 0, 0, h);
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_SINGLELINE | DT_LEFT | DT_CALCRECT);
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_SINGLELINE | DT_LEFT);
}

void TCustomGroupBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
            SelectNext(nullptr, true, true);
            m.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    }
    TCustomControl::Dispatch(m);
}

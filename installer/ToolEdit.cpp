#include "installer/ToolEdit.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "components/FileUtil.h"
#include "components/StrUtils.h"

namespace {

// The program's default glyph "FEDITBMP", loaded on first need.
TBitmap* defaultGlyph = nullptr;

TBitmap* FileEditGlyph()
{
    if (!defaultGlyph) {
        auto glyph = std::make_unique<TBitmap>();
        glyph->LoadFromResourceName(GetModuleHandleA(nullptr), "FEDITBMP");
        defaultGlyph = glyph.release();
    }
    return defaultGlyph;
}

// The three dots of the ellipsis glyph, drawn into a monochrome bitmap.
std::unique_ptr<TBitmap> EllipsisGlyph(int buttonWidth)
{
    const int w = std::max(1, buttonWidth - 6);
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetMonochrome(true);
    bmp->SetSize(w, 4);
    TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, w, 4));
    const int gap = std::clamp((w - 6) / 2, 1, 3);
    const int x = (w - 6 - 2 * gap) / 2;
    c->Brush()->SetColor(clBlack);
    for (int dot : {x, x + gap + 2, x + 2 * gap + 4})
        c->FillRect(Rect(dot, 1, dot + 2, 3));
    return bmp;
}

// Keeps the process error mode free of the system's error boxes for a
// scope (an empty floppy or CD drive asks nothing while a dialog looks).
class TQuietErrorMode {
public:
    TQuietErrorMode() : saved_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~TQuietErrorMode() { SetErrorMode(saved_); }
    TQuietErrorMode(const TQuietErrorMode&) = delete;
    TQuietErrorMode& operator=(const TQuietErrorMode&) = delete;

private:
    UINT saved_;
};

} // namespace

// ---------------------------------------------------------------------------
// TEditButton

TEditButton::TEditButton(TComponent* owner) : TRxSpeedButton(owner)
{
    SetParentShowHint(true);
}

TCustomComboEdit* TEditButton::Edit() const
{
    return dynamic_cast<TCustomComboEdit*>(Owner());
}

void TEditButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    noAction_ = false;
    if (button == mbLeft) {
        TCustomComboEdit* edit = Edit();
        if (edit && edit->TabStop() && edit->CanFocus() && !edit->Focused())
            edit->SetFocus();
    }
    TRxSpeedButton::MouseDown(button, shift, x, y);
}

void TEditButton::Click()
{
    if (noAction_) {
        noAction_ = false;
        return;
    }
    TRxSpeedButton::Click();
}

void TEditButton::Paint()
{
    TRxSpeedButton::Paint();
    if (State() == gsDown || State() == gsExclusive)
        return;
    TCanvas* c = Canvas();
    c->Pen()->SetColor(clBtnFace);
    c->MoveTo(0, 0);
    c->LineTo(0, Height());
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(1, 1);
    c->LineTo(1, Height() - 1);
}

// ---------------------------------------------------------------------------
// TCustomComboEdit

TCustomComboEdit::TCustomComboEdit(TComponent* owner) : TCustomMaskEdit(owner), clickKey_(ShortCut(VK_DOWN, ssAlt))
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    panel_ = new TPanel(this);
    panel_->SetBevelOuter(bvNone);
    panel_->SetBounds(0, 0, 21, 17);
    panel_->SetParent(this);
    button_ = new TEditButton(this);
    button_->SetBounds(0, 0, 21, 17);
    button_->SetParent(panel_);
    button_->OnClick = TNotifyEvent(this, &TCustomComboEdit::EditButtonClick);
    SetHeight(21);
    creating_ = false;
}

TCustomComboEdit::~TCustomComboEdit()
{
    Destroying();
}

const TClassInfo* TCustomComboEdit::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomComboEdit::StaticClass()
{
    using E = TCustomComboEdit;
    static const TClassInfo info(
        "TCustomComboEdit", &TCustomMaskEdit::StaticClass(), nullptr,
        {
            PublishBoolean<&E::ReadOnly, &E::SetReadOnly>("ReadOnly"),
            PublishBoolean<&E::DirectInput, &E::SetDirectInput>("DirectInput"),
            PublishEnum<&E::Alignment, &E::SetAlignment>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}),
            PublishInteger<&E::ClickKey, &E::SetClickKey>("ClickKey"),
            PublishEnum<&E::GlyphKind, &E::SetGlyphKind>("GlyphKind",
                                                         {"gkCustom", "gkDefault", "gkDropDown", "gkEllipsis"}),
            PublishObject<&E::Glyph, &E::SetGlyph>("Glyph"),
            PublishInteger<&E::NumGlyphs, &E::SetNumGlyphs>("NumGlyphs"),
            PublishInteger<&E::ButtonWidth, &E::SetButtonWidth>("ButtonWidth"),
            PublishString<&E::ButtonHint, &E::SetButtonHint>("ButtonHint"),
            PublishBoolean<&E::Ctl3D, &E::SetCtl3D>("Ctl3D"),
            PublishBoolean<&E::ParentCtl3D, &E::SetParentCtl3D>("ParentCtl3D"),
            PublishEnum<&E::CharCase, &E::SetCharCase>("CharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}),
            PublishBoolean<&E::HideSelection, &E::SetHideSelection>("HideSelection"),
            PublishEvent<&E::OnButtonClick>("OnButtonClick"),
        });
    return info;
}

void TCustomComboEdit::CreateParams(TCreateParams& p)
{
    TCustomMaskEdit::CreateParams(p);
    static const DWORD aligns[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    static const DWORD cases[] = {0, ES_UPPERCASE, ES_LOWERCASE};
    p.Style |= WS_CLIPCHILDREN | ES_MULTILINE | aligns[alignment_] | cases[charCase_];
    if (!hideSelection_)
        p.Style |= ES_NOHIDESEL;
    if (BorderStyle() == bsSingle && !ctl3D_) {
        p.ExStyle &= ~WS_EX_CLIENTEDGE;
        p.Style |= WS_BORDER;
    }
}

void TCustomComboEdit::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    TCustomEdit::SetReadOnly(readOnly_ || !directInput_);
    UpdateButtonPlacement();
}

void TCustomComboEdit::CreateHandle()
{
    TCustomMaskEdit::CreateHandle();
    // The window's font reaches it after it is made, and gives the edit its
    // whole client area to write in again.
    SetEditRect();
}

void TCustomComboEdit::SetEditRect()
{
    if (!HandleAllocated())
        return;
    TRect r = Rect(0, 0, ClientWidth() - panel_->Width() - 2, ClientHeight() + 1);
    SendMessageA(handle_, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TCustomComboEdit::UpdateButtonPlacement()
{
    const int bw = button_->Width();
    if (BorderStyle() == bsSingle && ctl3D_)
        panel_->SetBounds(Width() - bw - 4, 0, bw, Height() - 4);
    else if (BorderStyle() == bsSingle)
        panel_->SetBounds(Width() - bw - 2, 2, bw, Height() - 4);
    else
        panel_->SetBounds(Width() - bw, 0, bw, Height());
    button_->SetBounds(0, 0, bw, panel_->Height());
    SetEditRect();
}

int TCustomComboEdit::MinTextHeight()
{
    return std::min(FontTextHeight(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))), FontTextHeight(Font()->Handle()));
}

int TCustomComboEdit::MinHeight()
{
    return MinTextHeight() + 4 * GetSystemMetrics(SM_CYBORDER) + 1;
}

void TCustomComboEdit::Resize()
{
    if (!IsLoading() && !creating_) {
        const int min = MinHeight();
        if (Height() < min) {
            SetHeight(min);
            return;
        }
    }
    UpdateButtonPlacement();
    TCustomMaskEdit::Resize();
}

void TCustomComboEdit::SetButtonWidth(int value)
{
    if (value == button_->Width())
        return;
    panel_->SetVisible(value > 1);
    if (creating_ || (ControlState() & csCreatingHandle)) {
        panel_->SetWidth(value);
        button_->SetWidth(value);
    } else {
        if (value >= ClientWidth())
            return;
        button_->SetWidth(value);
        RecreateWnd();
        UpdateButtonPlacement();
    }
    RecreateGlyph();
}

void TCustomComboEdit::SetGlyph(TBitmap* value)
{
    button_->SetGlyph(value);
    glyphKind_ = gkCustom;
}

void TCustomComboEdit::SetNumGlyphs(int value)
{
    if (glyphKind_ == gkDefault)
        button_->SetNumGlyphs(DefaultNumGlyphs());
    else if (glyphKind_ == gkDropDown || glyphKind_ == gkEllipsis)
        button_->SetNumGlyphs(1);
    else
        button_->SetNumGlyphs(value);
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind value)
{
    if (value == glyphKind_)
        return;
    glyphKind_ = value;
    if (value == gkCustom && IsLoading()) {
        TBitmap empty;
        button_->SetGlyph(&empty);
    }
    RecreateGlyph();
    if (value == gkDefault && !button_->Glyph()->Empty()) {
        const int width = std::max(button_->Glyph()->Width() / button_->NumGlyphs() + 6, ButtonWidth());
        SetButtonWidth(width);
    } else if (value == gkDropDown) {
        SetButtonWidth(GetSystemMetrics(SM_CXVSCROLL));
    }
}

void TCustomComboEdit::RecreateGlyph()
{
    switch (glyphKind_) {
    case gkDefault:
        if (TBitmap* glyph = DefaultGlyph()) {
            button_->SetGlyph(glyph);
            button_->SetNumGlyphs(DefaultNumGlyphs());
        }
        break;
    case gkDropDown: {
        TBitmap arrow;
        arrow.SetHandle(LoadBitmapA(nullptr, MAKEINTRESOURCEA(32738)));  // OBM_COMBO
        button_->SetGlyph(&arrow);
        button_->SetNumGlyphs(1);
        break;
    }
    case gkEllipsis:
        button_->SetGlyph(EllipsisGlyph(ButtonWidth()).get());
        button_->SetNumGlyphs(1);
        break;
    case gkCustom:
        break;
    }
}

void TCustomComboEdit::SetDirectInput(bool value)
{
    directInput_ = value;
    TCustomEdit::SetReadOnly(readOnly_ || !directInput_);
}

void TCustomComboEdit::SetReadOnly(bool value)
{
    readOnly_ = value;
    TCustomEdit::SetReadOnly(readOnly_ || !directInput_);
}

void TCustomComboEdit::SetAlignment(TAlignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    RecreateWnd();
}

void TCustomComboEdit::SetCharCase(TEditCharCase value)
{
    if (value == charCase_)
        return;
    charCase_ = value;
    RecreateWnd();
}

void TCustomComboEdit::SetHideSelection(bool value)
{
    if (value == hideSelection_)
        return;
    hideSelection_ = value;
    RecreateWnd();
}

void TCustomComboEdit::SetCtl3D(bool value)
{
    if (value == ctl3D_)
        return;
    ctl3D_ = value;
    parentCtl3D_ = false;
    RecreateWnd();
    UpdateButtonPlacement();
}

void TCustomComboEdit::EditButtonClick(TObject*)
{
    if (!readOnly_ || alwaysEnable_)
        DoButtonClick();
}

void TCustomComboEdit::KeyPress(char& key)
{
    if (key == '\r' || key == '\x1B') {
        if (TCustomForm* form = GetParentForm(this)) {
            const WORD vk = key == '\r' ? VK_RETURN : VK_ESCAPE;
            form->Perform(CM_DIALOGKEY, vk, 0);
        }
        if (key == '\r') {
            TCustomMaskEdit::KeyPress(key);
            // No line break and no beep in the one-line text.
            key = 0;
            return;
        }
    }
    TCustomMaskEdit::KeyPress(key);
}

void TCustomComboEdit::DoEnter()
{
    if (AutoSelect() && directInput_ && GetKeyState(VK_LBUTTON) >= 0)
        SelectAll();
    TCustomMaskEdit::DoEnter();
}

void TCustomComboEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // Alt is read from the message too: its context bit says Alt was
        // held when the key went down.
        TShiftState shift = KeyboardShiftState();
        if (m.Msg == WM_SYSKEYDOWN && (m.LParam & (1 << 29)))
            shift |= ssAlt;
        if (ShortCut(static_cast<WORD>(m.WParam), shift) == clickKey_ && ButtonWidth() > 0) {
            EditButtonClick(this);
            m.Result = 0;
            return;
        }
        break;
    }
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
        if (!directInput_ || readOnly_)
            return;
        break;
    case WM_SETFOCUS: {
        TCustomMaskEdit::Dispatch(m);
        const int width = Font()->Style().Contains(fsBold) ? 2 : 1;
        CreateCaret(handle_, nullptr, width, MinTextHeight());
        ShowCaret(handle_);
        return;
    }
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        // Disabled, the text is grey, unless grey is what it stands on.
        TCustomMaskEdit::Dispatch(m);
        if (!Enabled() && Color() != clGrayText)
            SetTextColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(clGrayText));
        return;
    case WM_SIZE:
        TCustomMaskEdit::Dispatch(m);
        SetEditRect();
        return;
    case CM_FONTCHANGED:
        TCustomMaskEdit::Dispatch(m);
        SetEditRect();
        return;
    case CM_ENABLEDCHANGED:
        TCustomMaskEdit::Dispatch(m);
        button_->SetEnabled(Enabled());
        return;
    }
    TCustomMaskEdit::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TFileDirEdit

TFileDirEdit::TFileDirEdit(TComponent* owner) : TCustomComboEdit(owner)
{
    creating_ = true;
    SetGlyphKind(gkDefault);
    creating_ = false;
}

const TClassInfo* TFileDirEdit::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TFileDirEdit::StaticClass()
{
    using E = TFileDirEdit;
    static const TClassInfo info("TFileDirEdit", &TCustomComboEdit::StaticClass(), nullptr,
                                 {
                                     PublishBoolean<&E::AcceptFiles, &E::SetAcceptFiles>("AcceptFiles"),
                                     PublishEvent<&E::OnBeforeDialog>("OnBeforeDialog"),
                                     PublishEvent<&E::OnAfterDialog>("OnAfterDialog"),
                                     PublishEvent<&E::OnDropFiles>("OnDropFiles"),
                                 });
    return info;
}

void TFileDirEdit::CreateParams(TCreateParams& p)
{
    TCustomComboEdit::CreateParams(p);
    // Wine's edit ignores the style; Windows converts the text through the
    // OEM code page.
    p.Style |= ES_OEMCONVERT;
}

TBitmap* TFileDirEdit::DefaultGlyph()
{
    return FileEditGlyph();
}

void TFileDirEdit::CreateHandle()
{
    TCustomComboEdit::CreateHandle();
    if (acceptFiles_)
        DragAcceptFiles(handle_, TRUE);
}

void TFileDirEdit::DestroyWnd()
{
    if (acceptFiles_ && handle_)
        DragAcceptFiles(handle_, FALSE);
    TCustomComboEdit::DestroyWnd();
}

void TFileDirEdit::SetAcceptFiles(bool value)
{
    if (value == acceptFiles_)
        return;
    acceptFiles_ = value;
    if (HandleAllocated())
        DragAcceptFiles(handle_, value);
}

void TFileDirEdit::Dispatch(TMessage& m)
{
    if (m.Msg == WM_DROPFILES && acceptFiles_) {
        DropFiles(m);
        return;
    }
    TCustomComboEdit::Dispatch(m);
}

void TFileDirEdit::DropFiles(TMessage& m)
{
    auto drop = reinterpret_cast<HDROP>(m.WParam);
    struct TFinish {
        HDROP drop;
        ~TFinish() { DragFinish(drop); }
    } finish{drop};
    m.Result = 0;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count < 1)
        return;
    ClearDropped();
    const bool all = dynamic_cast<TDirectoryEdit*>(this) && static_cast<TDirectoryEdit*>(this)->MultipleDirs;
    for (UINT i = 0; i < (all ? count : 1u); ++i) {
        // The whole name, however long: a cut one names another folder.
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::vector<char> name(length + 1);
        DragQueryFileA(drop, i, name.data(), length + 1);
        TakeDroppedName(std::string(name.data(), length));
    }
    OnDropFiles(this);
}

// ---------------------------------------------------------------------------
// TDirectoryEdit

TDirectoryEdit::TDirectoryEdit(TComponent* owner) : TFileDirEdit(owner) {}

const TClassInfo* TDirectoryEdit::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TDirectoryEdit::StaticClass()
{
    using E = TDirectoryEdit;
    static const TClassInfo info(
        "TDirectoryEdit", &TFileDirEdit::StaticClass(), &NewComponent<TDirectoryEdit>,
        {
            PublishEnum<&E::DialogKind, &E::DialogKind>("DialogKind", {"dkVCL", "dkWin32"}),
            PublishString<&E::DialogText, &E::DialogText>("DialogText"),
            PublishSet<&E::DialogOptions, &E::DialogOptions>("DialogOptions",
                                                             {"sdAllowCreate", "sdPerformCreate", "sdPrompt"}),
            PublishString<&E::InitialDir, &E::InitialDir>("InitialDir"),
            PublishBoolean<&E::MultipleDirs, &E::MultipleDirs>("MultipleDirs"),
        });
    return info;
}

void TDirectoryEdit::DoButtonClick()
{
    TFileDirEdit::DoButtonClick();
    std::string folder = Text();
    bool action = true;
    DoBeforeDialog(folder, action);
    if (!action)
        return;
    if (folder.empty())
        folder = InitialDir.empty() ? std::string("\\") : InitialDir;
    if (!DirectoryExists(folder))
        folder.assign(1, '\\');
    {
        TQuietErrorMode quiet;
        if (DialogKind == dkWin32)
            action = BrowseForFolder(folder, DialogText, HelpContext());
        else
            action = SelectDirectory(folder, DialogOptions, HelpContext());
        if (CanFocus())
            SetFocus();
        DoAfterDialog(folder, action);
    }
    if (!action)
        return;
    SetSelText(std::string());
    if (!Text().empty() && MultipleDirs)
        SetText(Text() + ";" + folder);
    else
        SetText(folder);
    if (!folder.empty() && DirectoryExists(folder))
        InitialDir = folder;
}

void TDirectoryEdit::TakeDroppedName(const std::string& name)
{
    std::string folder = name;
    if (FileExists(folder))
        folder = ExtractFilePath(folder);
    if (!Text().empty() && MultipleDirs)
        SetText(Text() + ";" + folder);
    else
        SetText(folder);
}

namespace {

std::string ConvertFolders(const std::string& text, bool multiple, std::string (*convert)(const std::string&))
{
    if (!multiple)
        return convert(text);
    std::string result;
    int pos = 1;
    while (pos <= static_cast<int>(text.size())) {
        const std::string converted = convert(NextSubstr(text, pos, TCharSet(";")));
        if (!converted.empty() && !result.empty())
            result += ";";
        result += converted;
    }
    return result;
}

} // namespace

std::string TDirectoryEdit::LongFolderText()
{
    return ConvertFolders(Text(), MultipleDirs, &LongPathOf);
}

std::string TDirectoryEdit::ShortFolderText()
{
    return ConvertFolders(Text(), MultipleDirs, &ShortPathOf);
}

void InitToolEditUnit()
{
    RegisterComponentClass(TDirectoryEdit::StaticClass());
}

void DoneToolEditUnit()
{
    delete defaultGlyph;
    defaultGlyph = nullptr;
}

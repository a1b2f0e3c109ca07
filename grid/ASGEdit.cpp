#include "grid/ASGEdit.h"

#include <windows.h>

#include <algorithm>

#include "classlib/TypInfo.h"
#include "grid/AdvUtil.h"

void InitASGEditUnit()
{
    RegisterComponentClass(TEditButton::StaticClass());
    RegisterComponentClass(TEditBtn::StaticClass());
    RegisterComponentClass(TUnitEditBtn::StaticClass());
}

// ---------------------------------------------------------------------------
// TEditButton

TEditButton::TEditButton(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle((ControlStyle() & ~csAcceptsControls) | csOpaque);
    button_ = new TSpeedButton(this);
    button_->SetParent(this);
    button_->OnMouseDown = TMouseEvent(this, &TEditButton::ButtonPressed);
    SetBounds(0, 0, 20, 25);
}

const TClassInfo* TEditButton::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TEditButton::StaticClass()
{
    using C = TEditButton;
    static const TClassInfo info("TEditButton", &TWinControl::StaticClass(), &NewComponent<TEditButton>,
                                 {
                                     PublishObject<&C::Glyph, &C::SetGlyph>("Glyph"),
                                     PublishString<&C::ButtonCaption, &C::SetButtonCaption>("ButtonCaption"),
                                     PublishInteger<&C::NumGlyphs, &C::SetNumGlyphs>("NumGlyphs"),
                                     PublishComponent<&C::FocusControl, &C::SetFocusControl>("FocusControl"),
                                 });
    return info;
}

void TEditButton::SetFocusControl(TWinControl* value)
{
    if (focusControl_)
        focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    if (value)
        value->FreeNotification(this);
}

void TEditButton::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

void TEditButton::SetBounds(int left, int top, int width, int height)
{
    TWinControl::SetBounds(left, top, width, height);
    Layout();
}

void TEditButton::Loaded()
{
    TWinControl::Loaded();
    Layout();
}

void TEditButton::Layout()
{
    if (IsLoading() || !button_)
        return;
    if (Width() < 15) {
        SetWidth(15);
        return;
    }
    button_->SetBounds(0, 0, Width(), Height());
}

void TEditButton::ButtonPressed(TObject*, TMouseButton button, TShiftState, int, int)
{
    if (button != mbLeft)
        return;
    OnClick(this);
    if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
        focusControl_->SetFocus();
    else if (TabStop() && CanFocus() && !Focused())
        SetFocus();
}

// ---------------------------------------------------------------------------
// TEditBtn

TEditBtn::TEditBtn(TComponent* owner) : TCustomEdit(owner)
{
    button_ = new TEditButton(this);
    button_->SetBounds(0, 0, 15, 17);
    button_->SetVisible(true);
    button_->SetParent(this);
    button_->SetFocusControl(this);
    button_->OnClick = TNotifyEvent(this, &TEditBtn::ButtonClicked);
    SetText("0");
}

TEditBtn::~TEditBtn()
{
    Destroying();
    button_ = nullptr;
}

const TClassInfo* TEditBtn::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TEditBtn::StaticClass()
{
    using C = TEditBtn;
    static const TClassInfo info("TEditBtn", &TCustomEdit::StaticClass(), &NewComponent<TEditBtn>,
                                 {
                                     PublishObject<&C::Glyph, &C::SetGlyph>("Glyph"),
                                     PublishString<&C::ButtonCaption, &C::SetButtonCaption>("ButtonCaption"),
                                     PublishBoolean<&C::EditorEnabled, &C::SetEditorEnabled>("EditorEnabled"),
                                     PublishBoolean<&C::RightAlign, &C::SetRightAlign>("RightAlign"),
                                     PublishBoolean<&C::AutoSelect, &C::SetAutoSelect>("AutoSelect"),
                                     PublishEvent<&C::OnClickBtn>("OnClickBtn"),
                                 });
    return info;
}

void TEditBtn::Loaded()
{
    TCustomEdit::Loaded();
    Resize();
}

void TEditBtn::SetRightAlign(bool value)
{
    if (value == rightAlign_)
        return;
    rightAlign_ = value;
    RecreateWnd();
}

int TEditBtn::MinHeight()
{
    return EditTextRoom(Font());
}

void TEditBtn::ClickButton()
{
    OnClickBtn(this);
}

void TEditBtn::CreateParams(TCreateParams& p)
{
    TCustomEdit::CreateParams(p);
    p.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    if (rightAlign_)
        p.Style |= ES_RIGHT;
}

void TEditBtn::CreateWnd()
{
    TCustomEdit::CreateWnd();
    SetEditRect();
}

void TEditBtn::SetEditRect()
{
    if (!HandleAllocated() || !button_)
        return;
    const int edge = BorderStyle() == bsSingle ? 1 : 2;
    RECT r{edge, edge, ClientWidth() - button_->Width() - 3 - unitSpace_, ClientHeight() + 1};
    // The area is all the text gets: no margins of the font's inside it.
    SendMessageA(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TEditBtn::Resize()
{
    const int least = MinHeight();
    if (Height() < least) {
        SetHeight(least);
        return;
    }
    if (button_) {
        const int a = BorderStyle() == bsSingle ? 5 : 2;
        button_->SetBounds(Width() - button_->Width() - a, 0, button_->Width(), Height() - a);
        SetEditRect();
    }
    TCustomEdit::Resize();
}

void TEditBtn::DoEnter()
{
    if (autoSelect_ && !(GetKeyState(VK_LBUTTON) & 0x8000))
        SelectAll();
    TCustomEdit::DoEnter();
}

void TEditBtn::DefaultHandler(TMessage& m)
{
    TCustomEdit::DefaultHandler(m);
    // The edit sets its own text area again for a new font or size.
    if (m.Msg == WM_SETFONT || m.Msg == WM_SIZE)
        SetEditRect();
}

void TEditBtn::Dispatch(TMessage& m)
{
    if ((m.Msg == WM_CUT || m.Msg == WM_PASTE) && (!editorEnabled_ || ReadOnly()))
        return;
    TCustomEdit::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TUnitEditBtn

TUnitEditBtn::TUnitEditBtn(TComponent* owner) : TEditBtn(owner), units_(std::make_unique<TStringList>())
{
    SetUnitSpaceWidth(20);
    SetRightAlign(true);
}

TUnitEditBtn::~TUnitEditBtn() = default;

const TClassInfo* TUnitEditBtn::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TUnitEditBtn::StaticClass()
{
    using C = TUnitEditBtn;
    static const TClassInfo info("TUnitEditBtn", &TEditBtn::StaticClass(), &NewComponent<TUnitEditBtn>,
                                 {
                                     PublishStrings<&C::Units, &C::SetUnits>("Units"),
                                     PublishString<&C::UnitID, &C::SetUnitID>("UnitID"),
                                     PublishInteger<&C::UnitSpace, &C::SetUnitSpace>("UnitSpace"),
                                 });
    return info;
}

void TUnitEditBtn::SetUnits(TStrings* value)
{
    if (value)
        units_->Assign(value);
}

void TUnitEditBtn::SetUnitID(const std::string& value)
{
    unitID_ = value;
    Invalidate();
}

void TUnitEditBtn::SetUnitSpace(int value)
{
    SetUnitSpaceWidth(value);
    SetEditRect();
    Invalidate();
}

void TUnitEditBtn::ClickButton()
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    for (int i = 0; i < units_->Count(); ++i)
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), units_->Strings(i).c_str());
    POINT p{ClientWidth() - 15, ClientHeight()};
    ::ClientToScreen(Handle(), &p);
    // Chosen: the menu sends the edit its command.
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, p.x, p.y, 0, Handle(), nullptr);
    DestroyMenu(menu);
}

void TUnitEditBtn::PaintUnit()
{
    const TEditButton* button = Button();
    if (!button || !HandleAllocated())
        return;
    const int right = ClientWidth() - button->Width() - 3;
    RECT r{right - UnitSpaceWidth(), 2, right, ClientHeight()};
    HDC dc = GetDC(Handle());
    {
        TSelectObject font(dc, Font()->Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        DrawTextA(dc, unitID_.c_str(), static_cast<int>(unitID_.size()), &r, DT_LEFT | DT_EDITCONTROL | DT_NOPREFIX);
    }
    ReleaseDC(Handle(), dc);
}

void TUnitEditBtn::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_COMMAND:
        if (m.LParam == 0 && HIWORD(m.WParam) == 0) {
            // A unit from the menu; an identifier that is none raises the
            // list's index error.
            SetUnitID(units_->Strings(LOWORD(m.WParam) - 1));
            return;
        }
        break;
    case WM_PAINT:
        TEditBtn::Dispatch(m);
        PaintUnit();
        return;
    }
    TEditBtn::Dispatch(m);
}

// The grid's control editors: made at construction, shown over the current
// cell by its editor kind, read back and hidden; and the controls' own key
// and focus handling.
#include "grid/AdvGrid.h"

#include <windows.h>

#include <algorithm>

#include "grid/AdvUtil.h"

namespace {

// The leading run of a unit cell's number ("12.5 kg": "12.5" and " kg").
size_t NumberLength(const std::string& text)
{
    size_t n = 0;
    while (n < text.size() && ((text[n] >= '0' && text[n] <= '9') || text[n] == ',' || text[n] == '-' || text[n] == '.'))
        ++n;
    return n;
}

bool IsMoveKey(WORD key)
{
    return key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME || (key >= VK_LEFT && key <= VK_DOWN);
}

} // namespace

// ---------------------------------------------------------------------------
// The grid's side

void TAdvStringGrid::CreateControlEditors()
{
    auto hidden = [this](TWinControl* control) {
        control->SetVisible(false);
        control->SetEnabled(false);
        control->SetParent(this);
    };
    combo_ = new TGridCombo(this);
    hidden(combo_);
    spin_ = new TGridSpin(this);
    spin_->SetBorderStyle(bsNone);
    hidden(spin_);
    if (hasDatePicker_) {
        datePicker_ = new TGridDatePicker(this);
        hidden(datePicker_);
    }
    checkBox_ = new TGridCheckBox(this);
    hidden(checkBox_);
    editBtn_ = new TGridEditBtn(this);
    editBtn_->SetButtonCaption("...");
    editBtn_->SetBorderStyle(bsNone);
    hidden(editBtn_);
    unitEditBtn_ = new TGridUnitEditBtn(this);
    unitEditBtn_->SetButtonCaption("...");
    unitEditBtn_->SetBorderStyle(bsNone);
    hidden(unitEditBtn_);
    button_ = new TGridButton(this);
    hidden(button_);
    dragButton_ = new TGridButton(this);
    hidden(dragButton_);
}

TWinControl* TAdvStringGrid::CurrentControl() const
{
    switch (editorType_) {
    case etSpin:
        return spin_;
    case etComboEdit:
    case etComboList:
        return combo_;
    case etEditButton:
        return editBtn_;
    case etCheckBox:
        return checkBox_;
    case etDate:
    case etDateUpDown:
    case etTime:
        return datePicker_;
    case etButton:
        return button_;
    case etUnitButton:
        return unitEditBtn_;
    default:
        return nullptr;
    }
}

void TAdvStringGrid::ShowCellControl(int ACol, int ARow)
{
    TWinControl* control = CurrentControl();
    if (!control)
        return;
    const TRect r = CellRect(ACol, ARow);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const std::string text = Cells(RealCol(ACol), ARow);
    switch (editorType_) {
    case etSpin: {
        // Read first: a cell that holds no number opens nothing.
        const int value = GetCellInt(RealCol(ACol), ARow);
        spin_->RecreateWnd();
        spin_->SetBounds(r.left, r.top, width, height);
        spin_->SetValue(value);
        break;
    }
    case etComboEdit:
    case etComboList: {
        const bool list = editorType_ == etComboList;
        combo_->SetStyle(list ? csDropDownList : csDropDown);
        if (list)
            combo_->SetItemIndex(std::max(0, combo_->Items()->IndexOf(text)));
        combo_->SetBounds(r.left, r.top, width, height + 200);
        if (!list)
            combo_->SetText(text);
        if (navigation_->AutoComboDropSize)
            combo_->SizeDropDownToItems();
        break;
    }
    case etEditButton:
        editBtn_->RecreateWnd();
        editBtn_->SetBounds(r.left, r.top, width, editBtn_->Height());
        editBtn_->SetText(text);
        break;
    case etCheckBox:
        checkBox_->RecreateWnd();
        checkBox_->SetBounds(r.left, r.top, width, height);
        checkBox_->SetCaption(text);
        checkBox_->SetState(cbUnchecked);
        break;
    case etDate:
    case etDateUpDown:
    case etTime: {
        if (!datePicker_)
            return;
        const bool time = editorType_ == etTime;
        TDateTime value = 0;
        if (text.empty() || !(time ? TryStrToTime(text, value) : TryStrToDate(text, value)))
            value = Now();
        datePicker_->SetKind(time ? dtkTime : dtkDate);
        datePicker_->SetDateMode(editorType_ == etDateUpDown ? dmUpDown : dmComboBox);
        datePicker_->RecreateWnd();
        datePicker_->SetDateTime(value);
        datePicker_->SetBounds(r.left, r.top, width, datePicker_->Height());
        break;
    }
    case etButton:
        button_->RecreateWnd();
        button_->SetBounds(r.left - 1, r.top - 1, width + 2, height + 2);
        button_->SetCaption(text);
        break;
    case etUnitButton: {
        unitEditBtn_->RecreateWnd();
        unitEditBtn_->SetBounds(r.left, r.top, width, unitEditBtn_->Height());
        const size_t number = NumberLength(text);
        unitEditBtn_->SetText(text.substr(0, number));
        unitEditBtn_->SetUnitID(text.substr(number));
        break;
    }
    default:
        return;
    }
    control->SetVisible(true);
    control->SetEnabled(true);
    // Marked as showing only once it shows: a control that could not open
    // leaves the grid as it was.
    controlShowing_ = true;
    control->SetFocus();
    if (editorType_ == etEditButton || editorType_ == etUnitButton)
        control->SetHeight(height);
}

std::string TAdvStringGrid::ControlValue()
{
    switch (editorType_) {
    case etSpin:
        return IntToStr(spin_->Value());
    case etComboEdit:
    case etComboList:
        return combo_->Text();
    case etEditButton:
        return editBtn_->Text();
    case etDate:
    case etDateUpDown:
        return datePicker_ ? DateToStr(datePicker_->Date()) : std::string();
    case etTime:
        return datePicker_ ? TimeToStr(datePicker_->Time()) : std::string();
    case etUnitButton:
        return unitEditBtn_->Text() + unitEditBtn_->UnitID();
    default:
        return {};
    }
}

void TAdvStringGrid::HideControl(int col, int row, bool store)
{
    TWinControl* control = CurrentControl();
    const bool showing = controlShowing_;
    controlShowing_ = false;
    if (!control)
        return;
    const bool writes = editorType_ != etCheckBox && editorType_ != etButton &&
                        (editorType_ != etComboEdit && editorType_ != etComboList ? true : showing);
    if (store && writes && row >= 0 && row < RowCount() && col >= 0 && col < ColCount())
        SetCells(col, row, ControlValue());
    control->SetEnabled(false);
    control->SetVisible(false);
}

void TAdvStringGrid::HideCellControl(int ACol, int ARow)
{
    HideControl(RealCol(ACol), ARow, true);
}

bool TAdvStringGrid::ControlEnter(TWinControl* control)
{
    const std::string value = ControlValue();
    SetCells(RealCol(Col()), Row(), value);
    if (ValidateCell(value))
        return true;
    // Refused: the control stays, showing the cell's text again (the unit
    // edit starts empty), the caret at the end.
    auto* edit = dynamic_cast<TCustomEdit*>(control);
    if (control == unitEditBtn_)
        unitEditBtn_->SetText("");
    else if (edit)
        edit->SetText(Cells(RealCol(Col()), Row()));
    else if (control == combo_)
        combo_->SetText(Cells(RealCol(Col()), Row()));
    if (edit)
        edit->SetSelStart(static_cast<int>(edit->Text().size()));
    control->Invalidate();
    return false;
}

void TAdvStringGrid::ControlReturn(WORD key, bool store, bool arrowsAcross, bool quiet)
{
    const TRestore<bool> quietBefore(controlFocusChange_);
    controlFocusChange_ = quiet;
    HideControl(RealCol(Col()), Row(), store);
    HideEditor();
    const bool across = key == VK_LEFT || key == VK_RIGHT;
    if (key == VK_UP || key == VK_DOWN || (arrowsAcross && across))
        Perform(WM_KEYDOWN, key, 0);
    const TRestore<bool> alwaysEdit(navigation_->AlwaysEdit);
    navigation_->AlwaysEdit = false;
    SetFocus();
    if (key == VK_RETURN)
        AdvanceEdit(Col(), Row(), true, false, false);
}

void TAdvStringGrid::ControlExit(TWinControl* control)
{
    if (!IsDestroying() && controlShowing_ && control == CurrentControl()) {
        HideCellControl(Col(), Row());
        HideEditor();
    }
}

// ---------------------------------------------------------------------------
// TGridCheckBox

void TGridCheckBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetChecked(!Checked());
        break;
    case CN_COMMAND:
        // The press and Space toggle it; the system's click would toggle
        // it a second time.
        if (HIWORD(m.WParam) == BN_CLICKED)
            return;
        break;
    }
    TGridControl::Dispatch(m);
}

void TGridCheckBox::KeyDown(WORD& key, TShiftState shift)
{
    if (key == VK_SPACE) {
        SetChecked(!Checked());
        TGridControl::KeyDown(key, shift);
        return;
    }
    if (!grid_ || (key != VK_RETURN && key != VK_ESCAPE && !IsMoveKey(key))) {
        TGridControl::KeyDown(key, shift);
        return;
    }
    const WORD pressed = key;
    key = 0;
    if (pressed == VK_ESCAPE)
        SetCaption(grid_->Cells(grid_->Col(), grid_->Row()));
    grid_->HideControl(grid_->RealCol(grid_->Col()), grid_->Row(), pressed != VK_ESCAPE);
    grid_->HideEditor();
    grid_->SetFocus();
    if (pressed == VK_RETURN)
        grid_->AdvanceEdit(grid_->Col(), grid_->Row(), true, false, false);
    if (pressed == VK_UP || pressed == VK_DOWN)
        grid_->Perform(WM_KEYDOWN, pressed, 0);
}

// ---------------------------------------------------------------------------
// TGridSpin

TGridSpin::TGridSpin(TComponent* owner) : TGridControl(owner)
{
    SetMaxValue(100);
    SetMinValue(0);
    SetIncrement(1);
}

void TGridSpin::SpinClick(bool up)
{
    if (grid_)
        grid_->OnSpinClick(grid_, grid_->Col(), grid_->Row(), Value(), up);
}

void TGridSpin::StepUp()
{
    TGridControl::StepUp();
    SpinClick(true);
}

void TGridSpin::StepDown()
{
    TGridControl::StepDown();
    SpinClick(false);
}

void TGridSpin::KeyDown(WORD& key, TShiftState shift)
{
    if (!grid_) {
        TGridControl::KeyDown(key, shift);
        return;
    }
    const int value = Value();
    switch (key) {
    case VK_NEXT:
        if (value - Increment() >= MinValue())
            SetValue(value - Increment());
        SpinClick(false);
        return;
    case VK_PRIOR:
        if (value + Increment() <= MaxValue())
            SetValue(value + Increment());
        SpinClick(true);
        return;
    case VK_END:
        SetValue(MinValue());
        SpinClick(false);
        return;
    case VK_HOME:
        SetValue(MaxValue());
        SpinClick(true);
        return;
    case VK_RETURN:
    case VK_UP:
    case VK_DOWN: {
        const WORD pressed = key;
        key = 0;
        if (grid_->ControlEnter(this))
            grid_->ControlReturn(pressed, true, false, true);
        return;
    }
    case VK_ESCAPE:
        key = 0;
        SetText(grid_->Cells(grid_->Col(), grid_->Row()));
        grid_->ControlReturn(VK_ESCAPE, false, false, true);
        return;
    }
    TGridControl::KeyDown(key, shift);
}

// ---------------------------------------------------------------------------
// TGridCombo

TGridCombo::TGridCombo(TComponent* owner) : TGridControl(owner)
{
    SetButtonWidth(16);
}

void TGridCombo::SizeDropDownToItems()
{
    int widest = Width();
    if (grid_) {
        TCanvas* canvas = grid_->Canvas();
        canvas->Font()->Assign(grid_->Font());
        for (int i = 0; i < Items()->Count(); ++i)
            widest = std::max(widest, canvas->TextWidth(Items()->Strings(i)) + 6);
    }
    SetDroppedWidth(widest);
}

void TGridCombo::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SETFOCUS:
        TGridControl::Dispatch(m);
        // After a press in the grid the caret goes where the pointer is, once
        // the combo has handed the focus to its edit and selected the text
        // (the edit's own message, from the combo, comes inside that).
        if (grid_ && EditHandle() && GetFocus() == EditHandle() && reinterpret_cast<HWND>(m.WParam) != Handle())
            grid_->PlacePendingCaret(Handle(), EditHandle());
        return;
    case CN_COMMAND:
        // The grid hears of every choice and every typed change.
        if (grid_ && grid_->OnComboChange) {
            if (HIWORD(m.WParam) == CBN_SELCHANGE) {
                TGridControl::Dispatch(m);
                const int index = ItemIndex();
                grid_->OnComboChange(grid_, grid_->Col(), grid_->Row(), index,
                                     index >= 0 ? Items()->Strings(index) : std::string());
                return;
            }
            if (HIWORD(m.WParam) == CBN_EDITCHANGE) {
                TGridControl::Dispatch(m);
                grid_->OnComboChange(grid_, grid_->Col(), grid_->Row(), -1, Text());
                return;
            }
        }
        break;
    }
    TGridControl::Dispatch(m);
}

void TGridCombo::KeyDown(WORD& key, TShiftState shift)
{
    completion_ = key != VK_BACK && key != VK_DELETE;
    if (!grid_) {
        TGridControl::KeyDown(key, shift);
        return;
    }
    const bool listLike = DroppedDown() || Style() == csDropDownList;
    bool kept = true;
    switch (key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
        kept = false;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        kept = !listLike;
        break;
    case VK_UP:
    case VK_DOWN:
        kept = listLike;
        break;
    }
    if (kept) {
        TGridControl::KeyDown(key, shift);
        return;
    }
    const WORD pressed = key;
    key = 0;
    if (pressed == VK_ESCAPE) {
        SetText(grid_->Cells(grid_->Col(), grid_->Row()));
        grid_->ControlReturn(pressed, false, listLike, true);
        return;
    }
    if ((pressed == VK_RETURN || pressed == VK_UP || pressed == VK_DOWN) && !grid_->ControlEnter(this))
        return;
    grid_->ControlReturn(pressed, true, listLike, true);
}

void TGridCombo::KeyUp(WORD& key, TShiftState shift)
{
    TGridControl::KeyUp(key, shift);
    if (completion_ && grid_ && grid_->Lookup())
        Complete();
}

void TGridCombo::Complete()
{
    if (Style() == csDropDownList)
        return;
    const std::string text = Text();
    const std::string typed = text.substr(0, std::min<size_t>(text.size(), SelStart()));
    if (typed.empty())
        return;
    const std::string prefix = UpperASCII(typed);
    for (int i = 0; i < Items()->Count(); ++i) {
        const std::string item = Items()->Strings(i);
        if (UpperASCII(item).compare(0, prefix.size(), prefix) != 0)
            continue;
        SetText(typed + item.substr(typed.size()));
        SetSel(static_cast<int>(typed.size()), -1);
        return;
    }
}

void TGridCombo::DoExit()
{
    if (grid_ && grid_->LookupHistory()) {
        const std::string text = Text();
        if (!text.empty() && Items()->IndexOf(text) < 0)
            Items()->Add(text);
    }
    TGridControl::DoExit();
}

// ---------------------------------------------------------------------------
// TGridDatePicker

void TGridDatePicker::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCPAINT: {
        TGridControl::Dispatch(m);
        // Two frames in the window colour hide the sunken border in the cell.
        HDC dc = GetWindowDC(Handle());
        RECT r;
        GetWindowRect(Handle(), &r);
        OffsetRect(&r, -r.left, -r.top);
        HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);
        FrameRect(dc, &r, brush);
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, brush);
        ReleaseDC(Handle(), dc);
        return;
    }
    }
    TGridControl::Dispatch(m);
}

void TGridDatePicker::KeyDown(WORD& key, TShiftState shift)
{
    if (!grid_ || (key != VK_RETURN && key != VK_ESCAPE && key != VK_PRIOR && key != VK_NEXT && key != VK_END &&
                   key != VK_HOME && key != VK_UP && key != VK_DOWN)) {
        TGridControl::KeyDown(key, shift);
        return;
    }
    const WORD pressed = key;
    key = 0;
    grid_->ControlReturn(pressed, pressed != VK_ESCAPE, false, false);
}

// ---------------------------------------------------------------------------
// The two edits with a button

// The keys of the two edits with a button: Enter, Up and Down validate,
// Escape shows the cell's text again, and those and the page keys hand back.
bool TAdvStringGrid::EditButtonKey(TWinControl* edit, WORD& key)
{
    if (key != VK_RETURN && key != VK_ESCAPE && key != VK_PRIOR && key != VK_NEXT && key != VK_UP && key != VK_DOWN)
        return false;
    const WORD pressed = key;
    key = 0;
    if (pressed == VK_ESCAPE) {
        ControlReturn(pressed, false, false, false);
        return true;
    }
    if ((pressed == VK_RETURN || pressed == VK_UP || pressed == VK_DOWN) && !ControlEnter(edit))
        return true;
    ControlReturn(pressed, true, false, false);
    return true;
}

void TGridEditBtn::ClickButton()
{
    if (!grid_)
        return;
    grid_->EllipsisClick();
    SetText(grid_->Cells(grid_->Col(), grid_->Row()));
    Repaint();
}

// ---------------------------------------------------------------------------
// TGridButton

void TGridButton::Click()
{
    TGridControl::Click();
    if (!grid_ || this != grid_->ButtonEditor() || !Visible())
        return;
    grid_->EllipsisClick();
    SetCaption(grid_->Cells(grid_->Col(), grid_->Row()));
    Invalidate();
}

void TGridButton::BackToGrid()
{
    SetVisible(false);
    SetEnabled(false);
    grid_->controlShowing_ = false;
    grid_->SetFocus();
}

void TGridButton::KeyDown(WORD& key, TShiftState shift)
{
    TGridControl::KeyDown(key, shift);
    if (!grid_ || key != VK_ESCAPE)
        return;
    key = 0;
    BackToGrid();
    grid_->CancelCellEdit();
    grid_->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
}

void TGridButton::KeyUp(WORD& key, TShiftState shift)
{
    TGridControl::KeyUp(key, shift);
    if (!grid_ || key < VK_LEFT || key > VK_DOWN)
        return;
    const WORD arrow = key;
    key = 0;
    grid_->Perform(WM_KEYDOWN, arrow, 0);
    BackToGrid();
    grid_->Perform(WM_KEYUP, arrow, 0);
}


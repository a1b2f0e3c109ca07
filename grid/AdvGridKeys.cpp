// Keyboard input and focus of the grid, the validation that ends the edit of
// a cell, the Enter rule (AdvanceEdit), and the text in-place editor with its
// per-kind filtering, completion and length limit.
#include "grid/AdvGrid.h"

#include <set>
#include <utility>

#include "classlib/Clipbrd.h"
#include "classlib/TypInfo.h"
#include "grid/AdvUtil.h"

namespace {

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char LocaleCase(char c, bool upper)
{
    char buffer[1] = {c};
    if (upper)
        CharUpperBuffA(buffer, 1);
    else
        CharLowerBuffA(buffer, 1);
    return buffer[0];
}

bool IsDigitChar(unsigned char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

TAdvStringGrid::TBeeper TAdvStringGrid::SetBeeper(TBeeper b)
{
    return SetGridBeeper(b);
}

void TAdvStringGrid::Beep()
{
    GridBeep();
}

// ---------------------------------------------------------------------------
// Validation

void TAdvStringGrid::StartCellEdit(int ACol, int ARow)
{
    editCol_ = ACol;
    editRow_ = ARow;
    editText_ = Cells(RealCol(ACol), ARow);
}

void TAdvStringGrid::CellTextChanged(int, int) {}

void TAdvStringGrid::SettleEditCell()
{
    if (hidingRows_ > 0 || IsDestroying())
        return;
    const bool there = editCol_ >= 0 && editRow_ >= 0 && editCol_ < ColCount() && editRow_ < RowCount();
    if (!there || Cells(RealCol(editCol_), editRow_) == editText_)
        StartCellEdit(Col(), Row());
    // The editor is over the current cell, which may hold another cell's
    // text now: typing goes on in what it shows.
    if (InplaceCol() >= 0) {
        if (InplaceCol() != Col() || InplaceRow() != Row())
            UpdateEdit();
        else
            InvalidateEditor();
    }
}

bool TAdvStringGrid::ValidateCell(const std::string&)
{
    bool valid = true;
    const int col = RealCol(editCol_);
    const int row = editRow_;
    // A cell that is no longer in the grid (its row removed) has nothing to
    // validate.
    if (col >= 0 && row >= 0 && col < ColCount() && row < RowCount() && Cells(col, row) != editText_) {
        CellTextChanged(col, row);
        std::string value = Cells(col, row);
        valid = true;
        OnCellValidate(this, col, row, value, valid);
        if (valid) {
            if (value != Cells(col, row))
                SetCells(col, row, value);
        } else if (value != Cells(col, row)) {
            // The handler's correction stands, and the cell stays where it is.
            SetCells(col, row, value);
        } else {
            SetCells(col, row, editText_);
            if (Row() != row)
                SetRow(row);
            if (Col() != col)
                SetCol(col);
        }
    }
    StartCellEdit(RealCol(Col()), Row());
    return valid;
}

void TAdvStringGrid::EllipsisClick()
{
    if (!OnEllipsClick)
        return;
    std::string s = Cells(Col(), Row());
    OnEllipsClick(this, Col(), Row(), s);
    SetCells(Col(), Row(), s);
}

// ---------------------------------------------------------------------------
// Focus and clicks

void TAdvStringGrid::DoEnter()
{
    if (controlFocusChange_)
        return;
    try {
        TStringGrid::DoEnter();
        editBegun_ = true;
        SelectCell(Col(), Row());
    } catch (...) {
        StartCellEdit(Col(), Row());
        throw;
    }
    StartCellEdit(Col(), Row());
}

void TAdvStringGrid::DoExit()
{
    if (editBegun_ && !controlFocusChange_)
        ValidateCell(Cells(Col(), Row()));
    TStringGrid::DoExit();
}

void TAdvStringGrid::WindowFocusGained(HWND from)
{
    bool state = false;
    if (GetCheckBoxState(Col(), Row(), state))
        return;
    TInplaceEdit* editor = InplaceEditor();
    const bool fromEditor = editor && editor->HandleAllocated() && from == editor->Handle();
    if (navigation_->AlwaysEdit && !fromEditor)
        ShowEditor();
}

void TAdvStringGrid::Click()
{
    try {
        TStringGrid::Click();
    } catch (...) {
        if (editBegun_)
            ValidateCell(Cells(Col(), Row()));
        StartCellEdit(Col(), Row());
        throw;
    }
    if (editBegun_)
        ValidateCell(Cells(Col(), Row()));
    StartCellEdit(Col(), Row());
}

// ---------------------------------------------------------------------------
// Keys in the grid

int TAdvStringGrid::FindIncrementalRow(const std::string& Prefix)
{
    if (RowCount() < 2)
        return -1;
    const int key = sortShow_ ? sortColumn_ : 1;
    for (int row = FixedRows(); row < RowCount(); ++row)
        if (UpperASCII(Cells(key, row).substr(0, Prefix.size())) == Prefix)
            return row;
    return -1;
}

void TAdvStringGrid::KeyPress(char& key)
{
    if (key == '\x1B') {
        if (Options() & goEditing)
            CancelCellEdit();
        key = 0;
        return;
    }
    if (key == '\r' && (GetFocus() != Handle() || IsToggleCell(Col(), Row())))
        AdvanceEdit(Col(), Row(), true, false, false);
    if (!(Options() & goEditing) && navigation_->AutoGotoWhenSorted) {
        if (!navigation_->AutoGotoIncremental)
            searchText_ = std::string(1, AsciiUpper(key));
        else if (key == '\b') {
            if (!searchText_.empty())
                searchText_.pop_back();
        } else {
            searchText_ += AsciiUpper(key);
        }
        const int row = FindIncrementalRow(searchText_);
        if (row >= 0)
            SetRow(row);
    }
    TStringGrid::KeyPress(key);
}

void TAdvStringGrid::KeyDown(WORD& key, TShiftState shift)
{
    const WORD pressed = key;
    const TGridRect before = Selection();
    TStringGrid::KeyDown(key, shift);
    const TGridRect after = Selection();
    if ((before.Left != after.Left || before.Top != after.Top || before.Right != after.Right ||
         before.Bottom != after.Bottom) &&
        selectionRectangle_) {
        InvalidateSelection();
        lastSelection_ = after;
    }
    const bool ctrl = (shift & ssCtrl) != 0;
    const bool shifted = (shift & ssShift) != 0;
    if (navigation_->AllowClipboardShortCuts) {
        if ((ctrl && pressed == 'X') || (shifted && pressed == VK_DELETE)) {
            CutSelectionToClipboard();
            return;
        }
        if ((ctrl && pressed == 'V') || (shifted && pressed == VK_INSERT)) {
            PasteSelectionFromClipboard();
            return;
        }
        if ((ctrl && pressed == 'C') || (ctrl && pressed == VK_INSERT)) {
            CopySelectionToClipboard();
            return;
        }
    }
    switch (pressed) {
    case VK_SPACE: {
        bool allowed = (Options() & goEditing) != 0;
        if (OnCanEditCell && IsToggleCell(Col(), Row())) {
            allowed = true;
            OnCanEditCell(this, Row(), Col(), allowed);
        }
        if (allowed) {
            ToggleCheckBox(Col(), Row(), true);
            bool state = false;
            GetCheckBoxState(Col(), Row(), state);
            OnCheckBoxClick(this, Col(), Row(), state);
        }
        break;
    }
    // Insert with Shift or Ctrl is the clipboard's, not the rows'. Delete is
    // the clipboard's only as Shift+Delete with the clipboard keys on, which
    // ended above.
    case VK_INSERT:
        if (!ctrl && !shifted && navigation_->AllowInsertRow) {
            const int row = Row();
            if (navigation_->InsertPosition == pInsertAfter) {
                InsertRows(row + 1, 1);
                OnAutoInsertRow(this, row + 1);
                SetRow(row + 1);
            } else {
                InsertRows(row, 1);
                OnAutoInsertRow(this, row);
            }
        }
        break;
    case VK_DELETE:
        if (navigation_->AllowDeleteRow) {
            if (RowCount() - fixedFooters_ - FixedRows() <= 0)
                break;
            const int row = Row();
            if (RowCount() - FixedRows() == 1)
                ClearRows(row, 1);
            else
                RemoveRows(row, 1);
            if (Row() < RowCount() - fixedFooters_) {
                OnAutoDeleteRow(this, row);
            } else {
                SetRow(Row() - 1);
                OnAutoDeleteRow(this, Row() + 1);
            }
        }
        break;
    }
}

void TAdvStringGrid::KeyUp(WORD& key, TShiftState shift)
{
    const WORD released = key;
    if ((released >= 33 && released <= 40) || released == VK_INSERT || released == VK_DELETE)
        searchText_.clear();
    TStringGrid::KeyUp(key, shift);
    if (released >= VK_LEFT && released <= VK_DOWN && navigation_->AlwaysEdit)
        ShowEditor();
}

void TAdvStringGrid::AdvanceEdit(int ACol, int ARow, bool Forward, bool ShowEditor_, bool Force)
{
    if (!navigation_->AdvanceOnEnter && !Force)
        return;
    // Each cell is tried once per call and at most one row or column is
    // added; when nothing can be edited the current cell stays.
    std::set<std::pair<int, int>> visited;
    bool grown = false;
    int c = ACol, r = ARow;
    for (;;) {
        TAdvanceFrame frame;
        frame.ColCount = ColCount();
        frame.RowCount = RowCount();
        frame.FixedCols = FixedCols();
        frame.FixedRows = FixedRows();
        frame.FixedRightCols = fixedRightCols_;
        frame.FixedFooters = fixedFooters_;
        frame.TopBottom = navigation_->AdvanceDirection == adTopBottom;
        frame.Insert = navigation_->AdvanceInsert && !grown;
        const TAdvanceStep step = AdvanceTarget(frame, c, r, Forward);
        if (step.GrowRow) {
            // Before the footers: the new row is a data row.
            InsertRows(RowCount() - fixedFooters_, 1);
            grown = true;
            OnAutoInsertRow(this, RowCount() - fixedFooters_ - 1);
        }
        if (step.GrowCol) {
            InsertCols(ColCount() - fixedRightCols_, 1);
            grown = true;
            OnAutoInsertCol(this, ColCount() - fixedRightCols_ - 1);
        }
        if (Forward && frame.TopBottom && r == frame.RowCount - frame.FixedFooters - 1)
            Invalidate();
        if (CanEditCell(RealCol(step.Col), step.Row)) {
            SetRow(step.Row);
            SetCol(step.Col);
            c = step.Col;
            r = step.Row;
            break;
        }
        if (!visited.insert({step.Col, step.Row}).second)
            return;
        c = step.Col;
        r = step.Row;
    }
    const bool toggle = IsToggleCell(c, r);
    if (!ShowEditor_ && !toggle)
        return;
    ShowEditor();
    if (toggle) {
        SetCol(ACol);
        SetCol(c);
        SetRow(r);
    }
}

std::string TAdvStringGrid::CapitalizeName(const std::string& S)
{
    std::string r = S;
    const int n = static_cast<int>(r.size());
    bool capital = true;
    for (int i = 1; i <= n; ++i) {
        char& ch = r[i - 1];
        if (ch == ' ' || ch == '\'' || ch == ',' || ch == '-' || ch == '.') {
            capital = true;
        } else if (capital) {
            ch = AsciiUpper(ch);
            capital = false;
        } else {
            ch = AsciiLower(ch);
        }
        if (i == 2 && r.compare(0, 2, "Mc") == 0)
            capital = true;
        const size_t mc = r.find(" Mc");
        if (mc != std::string::npos && static_cast<int>(mc) + 3 == i && i > 2)
            capital = true;
        if (i > n - 3) {
            if (i >= 2 && r.compare(i - 2, 2, " I") == 0)
                capital = true;
            if (i >= 3 && r.compare(i - 3, 3, " II") == 0)
                capital = true;
        }
    }
    return r;
}

TAdvInplaceEdit* TAdvStringGrid::AdvEditor() const
{
    return dynamic_cast<TAdvInplaceEdit*>(InplaceEditor());
}

TInplaceEdit* TAdvStringGrid::CreateEditor()
{
    return new TAdvInplaceEdit(this);
}

// ---------------------------------------------------------------------------
// TAdvInplaceEdit

TAdvInplaceEdit::TAdvInplaceEdit(TComponent* owner) : TInplaceEdit(owner) {}

TAdvStringGrid* TAdvInplaceEdit::AdvGrid() const
{
    return dynamic_cast<TAdvStringGrid*>(Grid());
}

std::string TAdvInplaceEdit::EditText()
{
    return Text();
}

void TAdvInplaceEdit::Setvalign(bool value)
{
    valign_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TAdvInplaceEdit::Setwordwrap(bool value)
{
    wordwrap_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TAdvInplaceEdit::CreateParams(TCreateParams& p)
{
    TInplaceEdit::CreateParams(p);
    TAdvStringGrid* grid = AdvGrid();
    if (grid)
        wordwrap_ = grid->WordWrap();
    if (valign_)
        p.Style |= ES_RIGHT;
    password_ = grid && grid->EditorType() == etPassword;
    if (password_) {
        p.Style |= ES_PASSWORD;
        p.Style &= ~ES_MULTILINE;
    }
    if (wordwrap_)
        p.Style &= ~ES_AUTOHSCROLL;
    completionMatched_ = false;
    completionEnabled_ = true;
}

void TAdvInplaceEdit::CreateWnd()
{
    TInplaceEdit::CreateWnd();
    if (password_)
        SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<WPARAM>('*'), 0);
}

void TAdvInplaceEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_CHAR:
        CharMessage(m);
        return;
    case WM_PASTE:
        Paste();
        return;
    case WM_SETFOCUS:
        TInplaceEdit::Dispatch(m);
        FocusGained();
        return;
    case WM_KILLFOCUS:
        FocusLost();
        break;
    }
    TInplaceEdit::Dispatch(m);
}

void TAdvInplaceEdit::CharMessage(TMessage& m)
{
    TAdvStringGrid* grid = AdvGrid();
    if (!grid) {
        TInplaceEdit::Dispatch(m);
        return;
    }
    const auto ch = static_cast<unsigned char>(m.WParam);
    const std::string text = Text();
    // A full cell takes no more characters; keys that add none (Backspace,
    // Enter, Tab, Esc, the control keys) still work.
    if (lengthLimit_ > 0 && static_cast<int>(text.size()) >= lengthLimit_ && ch >= ' ')
        return;
    switch (grid->EditorType()) {
    case etText:
    case etPassword:
        break;
    case etDigits:
        if (ch != '\b' && ch != '\t' && ch != '\r' && !IsDigitChar(ch)) {
            TAdvStringGrid::Beep();
            return;
        }
        break;
    case etNumber:
        if (ch != '\b' && ch != '\t' && ch != '\r' && !IsDigitChar(ch) && ch != ',' && ch != '-' && ch != '.')
            return;
        if ((ch == '.' || ch == ',') && text.find_first_of(".,") != std::string::npos)
            return;
        if (ch == '-' && (SelStart() != 0 || text.find('-') != std::string::npos)) {
            TAdvStringGrid::Beep();
            return;
        }
        break;
    case etUpperTyped:
    case etUpperCase:
        m.WParam = static_cast<unsigned char>(LocaleCase(static_cast<char>(ch), true));
        break;
    case etLowerCase:
        m.WParam = static_cast<unsigned char>(LocaleCase(static_cast<char>(ch), false));
        break;
    case etNameCase: {
        const int caret = SelStart();
        TInplaceEdit::Dispatch(m);
        const std::string typed = Text();
        const std::string named = TAdvStringGrid::CapitalizeName(typed);
        if (named != typed) {
            SetText(named);
            SetSel(caret + 1, 0);
        }
        return;
    }
    default:
        return;
    }
    TInplaceEdit::Dispatch(m);
}

void TAdvInplaceEdit::Paste()
{
    TAdvStringGrid* grid = AdvGrid();
    if (!grid || !IsClipboardFormatAvailable(CF_TEXT))
        return;
    std::string t = Clipboard()->GetAsText();
    // Nothing goes in that would make the text longer than the limit.
    const int result = static_cast<int>(Text().size()) - SelLength() + static_cast<int>(t.size());
    if (lengthLimit_ > 0 && result > lengthLimit_)
        return;
    switch (grid->EditorType()) {
    case etDigits:
        if (TextNumberKind(t) != 0)
            t.clear();
        break;
    case etNumber:
        if (TextNumberKind(t) > 1)
            t.clear();
        break;
    case etNameCase:
        t = TAdvStringGrid::CapitalizeName(t);
        break;
    case etLowerCase:
        t = AnsiLowerCase(t);
        break;
    case etUpperCase:
        t = AnsiUpperCase(t);
        break;
    default:
        break;
    }
    if (!t.empty())
        SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(t.c_str()));
}

void TAdvInplaceEdit::KeyDown(WORD& key, TShiftState shift)
{
    TAdvStringGrid* grid = AdvGrid();
    if (key == VK_BACK || key == VK_DELETE)
        completionEnabled_ = false;
    else if (key != VK_LEFT && key != VK_RIGHT && key != VK_UP && key != VK_DOWN && key != VK_RETURN)
        completionEnabled_ = true;
    if (!grid) {
        TInplaceEdit::KeyDown(key, shift);
        return;
    }
    const bool plain = (shift & (ssShift | ssCtrl | ssAlt)) == 0;
    const int length = GetWindowTextLengthA(Handle());
    if (key == VK_RETURN && (shift & ssCtrl) && grid->SizeWhileTyping()->Height && grid->Multilinecells()) {
        const int n = LineCount(Text() + "\r\n ", true);
        if (n < grid->RowLineCount(grid->Row()))
            grid->FitRowHeight(grid->Row());
        else
            grid->SetRowLines(grid->Row(), n, 0);
    } else if (key == VK_LEFT && plain && SelLength() == 0 && SelStart() == 0 &&
               grid->Navigation()->CursorWalkEditor) {
        grid->AdvanceEdit(grid->Col(), grid->Row(), false, true, true);
        key = VK_RETURN;
    } else if (key == VK_RIGHT && plain && SelLength() == 0 && SelStart() == length &&
               grid->Navigation()->CursorWalkEditor) {
        grid->AdvanceEdit(grid->Col(), grid->Row(), true, true, true);
        key = VK_RETURN;
    } else if (key == VK_UP || key == VK_DOWN) {
        const int line = static_cast<int>(SendMessageA(Handle(), EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0));
        const int lines = static_cast<int>(SendMessageA(Handle(), EM_GETLINECOUNT, 0, 0));
        if ((key == VK_UP && line > 0) || (key == VK_DOWN && line < lines - 1))
            return;  // the caret moves inside the text; the grid stays
    }
    TInplaceEdit::KeyDown(key, shift);
}

void TAdvInplaceEdit::KeyUp(WORD& key, TShiftState shift)
{
    const WORD released = key;
    TInplaceEdit::KeyUp(key, shift);
    TAdvStringGrid* grid = AdvGrid();
    if (!grid)
        return;
    if (released != VK_LEFT && released != VK_RIGHT)
        Complete();
    if (grid->SizeWhileTyping()->Width)
        grid->FitColumn(grid->Col(), true);
    if (grid->SizeWhileTyping()->Height && grid->WordWrap())
        grid->FitRowHeight(grid->Row());
}

void TAdvInplaceEdit::KeyPress(char& key)
{
    TAdvStringGrid* grid = AdvGrid();
    if (key == '\r' && grid && !grid->ValidateCell(Text())) {
        key = 0;
        return;
    }
    TInplaceEdit::KeyPress(key);
    // AdvanceAuto acts on an editor with an edit mask, which this text
    // editor never has.
}

void TAdvInplaceEdit::Complete()
{
    TAdvStringGrid* grid = AdvGrid();
    if (!grid || !grid->Lookup() || grid->LookupItems()->Count() == 0)
        return;
    if (!completionEnabled_ || SelLength() != 0)
        return;
    const std::string text = Text();
    const int caret = SelStart();
    const std::string typed = text.substr(0, caret);
    const bool exact = grid->LookupCaseSensitive();
    const std::string prefix = exact ? typed : AnsiUpperCase(typed);
    TStrings* items = grid->LookupItems();
    for (int i = 0; i < items->Count(); ++i) {
        const std::string item = items->Strings(i);
        const std::string key = exact ? item : AnsiUpperCase(item);
        if (key.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string rest = item.substr(typed.size(), 255);
        completionMatched_ = true;
        SetText(typed + rest);
        SetSel(static_cast<int>(typed.size()), -1);
        return;
    }
}

void TAdvInplaceEdit::FocusGained()
{
    TAdvStringGrid* grid = AdvGrid();
    if (!grid)
        return;
    if (grid->OnGetCellColor) {
        TCanvas* canvas = grid->Canvas();
        canvas->Brush()->SetColor(grid->Color());
        grid->OnGetCellColor(grid, grid->Row(), grid->Col(), 0, canvas->Brush(), canvas->Font());
        SetColor(canvas->Brush()->Color());
    }
    grid->PlacePendingCaret(Handle(), Handle());
}

void TAdvInplaceEdit::FocusLost()
{
    TAdvStringGrid* grid = AdvGrid();
    if (grid && grid->LookupHistory()) {
        const std::string text = Text();
        if (grid->LookupItems()->IndexOf(text) < 0)
            grid->LookupItems()->Add(text);
    }
}

const TClassInfo* TAdvInplaceEdit::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TAdvInplaceEdit::StaticClass()
{
    using C = TAdvInplaceEdit;
    static const TClassInfo info("TAdvInplaceEdit", &TWinControl::StaticClass(), nullptr,
                                 {
                                     PublishInteger<&C::LengthLimit, &C::SetLengthLimit>("LengthLimit"),
                                     PublishBoolean<&C::valign, &C::Setvalign>("valign"),
                                     PublishBoolean<&C::wordwrap, &C::Setwordwrap>("wordwrap"),
                                 });
    return info;
}

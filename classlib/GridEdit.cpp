// The string grid's in-place editor (TInplaceEdit of Grids.h).
#include "classlib/Grids.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TInplaceEdit

TInplaceEdit::TInplaceEdit(TComponent* owner) : TWinControl(owner), grid_(dynamic_cast<TCustomGrid*>(owner))
{
    SetVisible(false);
    SetParentColor(false);
}

void TInplaceEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "EDIT");
    // Multi-line so that the text can sit where the cell draws it.
    p.Style |= ES_MULTILINE | ES_AUTOHSCROLL;
}

int TInplaceEdit::SelStart()
{
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

int TInplaceEdit::SelLength()
{
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TInplaceEdit::SetSel(int start, int length)
{
    SendMessageA(Handle(), EM_SETSEL, start, length < 0 ? -1 : start + length);
}

void TInplaceEdit::Deselect()
{
    SendMessageA(Handle(), EM_SETSEL, 0x7FFFFFFF, static_cast<LPARAM>(-1));
}

void TInplaceEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE:
        // Enter and Escape stay with the form (its default and cancel
        // buttons); Tab is the grid's when it moves between cells.
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (grid_ && (grid_->Options() & goTabs))
            m.Result |= DLGC_WANTTAB;
        return;
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE && !IsDestroying())
            Change();
        return;
    case WM_SETFOCUS:
        if (grid_ && reinterpret_cast<HWND>(m.WParam) == grid_->handle_) {
            // From the grid: the focus stays inside, the form need not know.
            DefaultHandler(m);
            return;
        }
        break;
    case WM_KILLFOCUS:
        DefaultHandler(m);
        if (grid_)
            grid_->EditorLostFocus(reinterpret_cast<HWND>(m.WParam));
        return;
    }
    TWinControl::Dispatch(m);
}

void TInplaceEdit::DoEnter()
{
    // The focus came into the editor from outside: it entered the grid.
    if (grid_)
        grid_->DoEnter();
}

void TInplaceEdit::DoExit()
{
    if (grid_)
        grid_->DoExit();
}

void TInplaceEdit::KeyDown(WORD& key, TShiftState shift)
{
    TWinControl::KeyDown(key, shift);
    if (key == 0 || !grid_)
        return;
    // With the editor always shown, Left and Right leave it at its ends.
    const bool walk = (grid_->Options() & goAlwaysShowEditor) != 0;
    const int length = GetWindowTextLengthA(Handle());
    const int start = SelStart();
    const int selected = SelLength();
    const bool leftSide = start == 0 && (selected == 0 || selected == length);
    const bool rightSide = start + selected == length && (selected == 0 || selected == length);
    const bool ctrl = (shift & ssCtrl) != 0;
    bool toGrid = false;
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        toGrid = true;
        break;
    case VK_TAB:
        toGrid = (grid_->Options() & goTabs) && !(shift & ssAlt);
        break;
    case VK_LEFT:
    case VK_HOME:
        toGrid = walk && (ctrl || leftSide);
        break;
    case VK_RIGHT:
    case VK_END:
        toGrid = walk && (ctrl || rightSide);
        break;
    case VK_F2:
        Deselect();
        key = 0;
        return;
    }
    if (toGrid) {
        grid_->KeyDown(key, shift);
        key = 0;
    }
}

void TInplaceEdit::KeyPress(char& key)
{
    if (!grid_) {
        TWinControl::KeyPress(key);
        return;
    }
    grid_->KeyPress(key);
    switch (key) {
    case '\t':
    case '\x1B':
        key = 0;
        break;
    case '\r': {
        // Enter selects the whole text, and a second Enter lets it go.
        const int length = GetWindowTextLengthA(Handle());
        if (SelStart() == 0 && SelLength() == length)
            Deselect();
        else
            SelectAll();
        key = 0;
        break;
    }
    }
}

void TInplaceEdit::Change()
{
    if (loading_ || !grid_ || grid_->inplaceCol_ < 0)
        return;
    grid_->SetEditText(grid_->inplaceCol_, grid_->inplaceRow_, Text());
}

void TInplaceEdit::MoveTo(const TRect& rect)
{
    SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    SetVisible(true);
    // The text where the grid draws a cell's text.
    RECT area{2, 2, std::max(2, static_cast<int>(rect.right - rect.left) - 2),
              static_cast<int>(rect.bottom - rect.top)};
    SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&area));
}

void TInplaceEdit::UpdateContents()
{
    loading_ = true;
    try {
        SetText(grid_->GetEditText(grid_->inplaceCol_, grid_->inplaceRow_));
    } catch (...) {
        loading_ = false;
        throw;
    }
    loading_ = false;
}


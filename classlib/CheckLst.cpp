#include "classlib/CheckLst.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "classlib/Lists.h"
#include "classlib/SysUtils.h"
#include "classlib/TypInfo.h"
#include "classlib/UiProbe.h"

namespace {

// The strip at the left of each item that holds its check box.
constexpr int BoxArea = 16;
constexpr int BoxSize = 13;

} // namespace

void InitCheckLstUnit()
{
    RegisterComponentClass(TCheckListBox::StaticClass());
}

TCheckListBox::TCheckListBox(TComponent* owner) : TCustomListBox(owner)
{
    SetStyle(lbOwnerDrawFixed);
}

const TClassInfo* TCheckListBox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCheckListBox::StaticClass()
{
    static const TClassInfo info("TCheckListBox", &TCustomListBox::StaticClass(), &NewComponent<TCheckListBox>,
                                 {
                                     PublishEvent<&TCheckListBox::OnClickCheck>("OnClickCheck"),
                                 });
    return info;
}

bool TCheckListBox::Checked(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    if (!HandleAllocated())
        return SavedState(index) != 0;
    return static_cast<size_t>(index) < states_.size() && states_[index] != 0;
}

void TCheckListBox::SetChecked(int index, bool value)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    if (!HandleAllocated()) {
        SetSavedState(index, value);
        return;
    }
    if (states_.size() < static_cast<size_t>(Count()))
        states_.resize(Count(), 0);
    if ((states_[index] != 0) == value)
        return;
    states_[index] = value;
    RECT r{};
    if (SendMessageA(handle_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(handle_, &r, FALSE);
}

void TCheckListBox::ToggleByUser(int index)
{
    if (!Enabled() || index < 0 || index >= Count())
        return;
    SetChecked(index, !Checked(index));
    ClickCheck();
}

void TCheckListBox::ClickAt(TMessage& m)
{
    const int x = GET_X_LPARAM(m.LParam);
    const int y = GET_Y_LPARAM(m.LParam);
    const int index = ItemAtPos(TPoint{x, y}, true);
    if (index < 0)
        return;
    const TRect r = ItemRect(index);
    if (x >= r.left && x < r.left + BoxArea)
        ToggleByUser(index);
}

void TCheckListBox::KeyPress(char& key)
{
    TCustomListBox::KeyPress(key);
    if (key != ' ')
        return;
    // The list box itself has no use for Space with a single selection.
    key = 0;
    ToggleByUser(ItemIndex());
}

void TCheckListBox::DrawItem(int index, TRect rect, TOwnerDrawState state)
{
    TCanvas* canvas = Canvas();
    // The box stands on the control's colour, not on the selection's.
    TRect area = rect;
    area.right = std::min<LONG>(rect.right, rect.left + BoxArea);
    const TColor selection = canvas->Brush()->Color();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(area);
    canvas->Brush()->SetColor(selection);
    const int top = rect.top + (rect.bottom - rect.top - BoxSize) / 2;
    RECT box{rect.left + 2, top, rect.left + 2 + BoxSize, top + BoxSize};
    UINT flags = DFCS_BUTTONCHECK;
    if (Checked(index))
        flags |= DFCS_CHECKED;
    if (!Enabled() || (state & odDisabled))
        flags |= DFCS_INACTIVE;
    DrawFrameControl(canvas->Handle(), &box, DFC_BUTTON, flags);
    TRect text = rect;
    text.left = area.right;
    TCustomListBox::DrawItem(index, text, state);
}

void TCheckListBox::CreateParams(TCreateParams& p)
{
    TCustomListBox::CreateParams(p);
    // The boxes are drawn by us whatever style a form asks for.
    if (!(p.Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)))
        p.Style |= LBS_OWNERDRAWFIXED;
}

void TCheckListBox::CreateWnd()
{
    // The list box puts its saved items back into the new window one by one,
    // in their saved order; a sorted window may place them elsewhere, so each
    // tick goes where its item went.
    std::vector<char> saved;
    for (int i = 0; i < Count(); ++i)
        saved.push_back(SavedState(i) != 0);
    states_.clear();
    restoring_.swap(saved);
    restored_ = 0;
    recreating_ = true;
    try {
        TCustomListBox::CreateWnd();
    } catch (...) {
        recreating_ = false;
        restoring_.clear();
        throw;
    }
    recreating_ = false;
    restoring_.clear();
    states_.resize(Count(), 0);
}

void TCheckListBox::DestroyWnd()
{
    std::vector<char> states;
    states.swap(states_);
    TCustomListBox::DestroyWnd();
    for (int i = 0; i < Count() && static_cast<size_t>(i) < states.size(); ++i)
        SetSavedState(i, states[i]);
}

void TCheckListBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    {
        TCustomListBox::Dispatch(m);
        char state = 0;
        if (recreating_ && restored_ < restoring_.size())
            state = restoring_[restored_++];
        if (m.Result >= 0 && static_cast<size_t>(m.Result) <= states_.size())
            states_.insert(states_.begin() + m.Result, state);
        return;
    }
    case LB_DELETESTRING:
        TCustomListBox::Dispatch(m);
        if (m.Result != LB_ERR && m.WParam < states_.size())
            states_.erase(states_.begin() + static_cast<ptrdiff_t>(m.WParam));
        return;
    case LB_RESETCONTENT:
        TCustomListBox::Dispatch(m);
        states_.clear();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The item is chosen first (OnClick), then its box is ticked.
        TCustomListBox::Dispatch(m);
        ClickAt(m);
        return;
    }
    TCustomListBox::Dispatch(m);
}

bool TCheckListBox::ProbeState(TStrings& lines, bool change)
{
    if (!change) {
        TCustomListBox::ProbeState(lines, false);
        for (int i = 0; i < Count(); ++i)
            lines.Add("Checked[" + std::to_string(i) + "]=" + (Checked(i) ? "1" : "0"));
        return true;
    }
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = lines.Strings(i);
        int index = -1;
        if (!ProbeIndexKey(lines.Names(i), "Checked", index)) {
            TStringList one;
            one.Add(line);
            if (!TCustomListBox::ProbeState(one, true))
                return false;
            continue;
        }
        if (index < 0 || index >= Count())
            ListIndexError(index);
        if (Checked(index) == (StrToInt(line.substr(line.find('=') + 1)) != 0))
            continue;
        // As a click on the item's box: the item is chosen, then ticked.
        if (ItemIndex() != index) {
            SetItemIndex(index);
            Click();
        }
        ToggleByUser(index);
    }
    return true;
}

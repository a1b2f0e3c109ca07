#include "classlib/Tabs.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "classlib/TypInfo.h"

void InitTabsUnit()
{
    RegisterComponentClass(TTabSet::StaticClass());
}

namespace {
// Room between a tab's text and its slanted sides.
constexpr int tabMargin = 8;
// How far the slanted sides lean in.
constexpr int slant = 4;

// Tab texts follow the accelerator convention of captions: "&" underlines
// the letter after it and "&&" stands for one "&". Measuring and drawing both
// go through DrawText, so a tab is as wide as what it shows.
constexpr UINT tabTextFlags = DT_SINGLELINE | DT_LEFT | DT_NOCLIP;

int TabTextWidth(TCanvas* canvas, const std::string& text)
{
    RECT r{0, 0, 0, 0};
    DrawTextA(canvas->TextHandle(), text.data(), static_cast<int>(text.size()), &r, tabTextFlags | DT_CALCRECT);
    return r.right - r.left;
}

// Draws text at (x, y); width is its TabTextWidth.
void DrawTabText(TCanvas* canvas, int x, int y, int width, const std::string& text)
{
    RECT r{x, y, x + width, y + canvas->TextHeight(text)};
    DrawTextA(canvas->TextHandle(), text.data(), static_cast<int>(text.size()), &r, tabTextFlags);
}

} // namespace

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), tabs_(std::make_unique<TStringList>())
{
    // OnClick tells of a new tab, not of a press and release.
    SetControlStyle(csCaptureMouse | csDoubleClicks | csOpaque);
    tabs_->OnChange = TNotifyEvent(this, &TTabSet::TabsChanged);
    SetBounds(0, 0, 185, 21);
}

TTabSet::~TTabSet()
{
    tabs_->OnChange.Clear();
}

const TClassInfo* TTabSet::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TTabSet::StaticClass()
{
    static const TClassInfo info(
        "TTabSet", &TCustomControl::StaticClass(), &NewComponent<TTabSet>,
        {
            PublishStrings<&TTabSet::Tabs, &TTabSet::SetTabs>("Tabs"),
            PublishInteger<&TTabSet::TabIndex, &TTabSet::SetTabIndex>("TabIndex"),
            PublishInteger<&TTabSet::FirstIndex, &TTabSet::SetFirstIndex>("FirstIndex"),
            PublishColor<&TTabSet::BackgroundColor, &TTabSet::SetBackgroundColor>("BackgroundColor"),
            PublishColor<&TTabSet::SelectedColor, &TTabSet::SetSelectedColor>("SelectedColor"),
            PublishColor<&TTabSet::UnselectedColor, &TTabSet::SetUnselectedColor>("UnselectedColor"),
            PublishInteger<&TTabSet::StartMargin, &TTabSet::SetStartMargin>("StartMargin"),
            PublishInteger<&TTabSet::EndMargin, &TTabSet::SetEndMargin>("EndMargin"),
        });
    return info;
}

void TTabSet::SetTabs(TStrings* value)
{
    if (value)
        tabs_->Assign(value);
    else
        tabs_->Clear();
}

void TTabSet::TabsChanged(TObject*)
{
    // A tab index or first tab left beyond the list points at nothing.
    const int count = tabs_->Count();
    if (tabIndex_ >= count)
        tabIndex_ = -1;
    if (firstIndex_ >= count)
        firstIndex_ = 0;
    Invalidate();
}

void TTabSet::SetTabIndex(int value)
{
    if (value == tabIndex_ || value < 0 || value >= tabs_->Count())
        return;
    tabIndex_ = value;
    // The current tab is brought into view.
    if (tabIndex_ < firstIndex_)
        firstIndex_ = tabIndex_;
    else if (HandleAllocated()) {
        while (firstIndex_ < tabIndex_ && tabIndex_ >= firstIndex_ + VisibleTabs())
            ++firstIndex_;
    }
    Invalidate();
    Click();
}

void TTabSet::SetFirstIndex(int value)
{
    if (value == firstIndex_ || value < 0 || value >= std::max(1, tabs_->Count()))
        return;
    firstIndex_ = value;
    Invalidate();
}

void TTabSet::SetBackgroundColor(TColor value)
{
    backgroundColor_ = value;
    Invalidate();
}

void TTabSet::SetSelectedColor(TColor value)
{
    selectedColor_ = value;
    Invalidate();
}

void TTabSet::SetUnselectedColor(TColor value)
{
    unselectedColor_ = value;
    Invalidate();
}

void TTabSet::SetStartMargin(int value)
{
    startMargin_ = value;
    Invalidate();
}

void TTabSet::SetEndMargin(int value)
{
    endMargin_ = value;
    Invalidate();
}

void TTabSet::Layout(std::vector<int>& edges)
{
    edges.clear();
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    const int limit = Width() - endMargin_;
    int x = startMargin_;
    for (int i = firstIndex_; i < tabs_->Count(); ++i) {
        const int right = x + TabTextWidth(canvas, tabs_->Strings(i)) + 2 * tabMargin;
        // The first tab shows even when it is cut.
        if (right > limit && !edges.empty())
            break;
        edges.push_back(x);
        x = right;
    }
    if (!edges.empty())
        edges.push_back(x);
}

int TTabSet::VisibleTabs()
{
    std::vector<int> edges;
    Layout(edges);
    return edges.empty() ? 0 : static_cast<int>(edges.size()) - 1;
}

TRect TTabSet::ItemRect(int index)
{
    std::vector<int> edges;
    Layout(edges);
    const int shown = index - firstIndex_;
    if (shown < 0 || shown + 1 >= static_cast<int>(edges.size()))
        return TRect{};
    return Rect(edges[shown], 0, edges[shown + 1], Height());
}

int TTabSet::ItemAtPos(TPoint pos)
{
    if (pos.y < 0 || pos.y >= Height())
        return -1;
    std::vector<int> edges;
    Layout(edges);
    for (size_t i = 0; i + 1 < edges.size(); ++i)
        if (pos.x >= edges[i] && pos.x < edges[i + 1])
            return firstIndex_ + static_cast<int>(i);
    return -1;
}

void TTabSet::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        const int index = ItemAtPos(Point(x, y));
        if (index >= 0)
            SetTabIndex(index);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TTabSet::Paint()
{
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(backgroundColor_);
    canvas->FillRect(client);

    std::vector<int> edges;
    Layout(edges);
    const int bottom = client.bottom - 3;
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetWidth(1);
    int selLeft = -1, selRight = -1;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const int index = firstIndex_ + static_cast<int>(i);
        const int l = edges[i];
        const int r = edges[i + 1];
        const bool selected = index == tabIndex_;
        canvas->Brush()->SetColor(selected ? selectedColor_ : unselectedColor_);
        canvas->Polygon({Point(l, 0), Point(l + slant, bottom), Point(r - slant, bottom), Point(r, 0)});
        if (selected) {
            selLeft = l;
            selRight = r;
        }
        canvas->Brush()->SetStyle(bsClear);
        const std::string text = tabs_->Strings(index);
        const int tw = TabTextWidth(canvas, text);
        DrawTabText(canvas, l + (r - l - tw) / 2, (bottom - canvas->TextHeight(text)) / 2 + 1, tw, text);
        canvas->Brush()->SetStyle(bsSolid);
    }
    // The edge the tabs hang from; the current tab is open towards it.
    canvas->Pen()->SetColor(clBlack);
    if (selLeft < 0) {
        canvas->MoveTo(0, 0);
        canvas->LineTo(client.right, 0);
    } else {
        canvas->MoveTo(0, 0);
        canvas->LineTo(selLeft + 1, 0);
        canvas->MoveTo(selRight, 0);
        canvas->LineTo(client.right, 0);
    }
}

#include "common/WizardTree.h"

#include <windowsx.h>

#include "classlib/TypInfo.h"

TWizardTree::TWizardTree(TComponent* owner) : TCustomPanel(owner), items_(std::make_unique<TStringList>())
{
    items_->Add("Start");
    items_->Add("First Page");
    items_->Add("Second Page");
    items_->Add("Finish");
    items_->OnChange = TNotifyEvent(this, &TWizardTree::ItemsChanged);
    SetBevelOuter(bvNone);
    SetCaption(std::string());
    Font()->SetColor(clWhite);
    SetColor(clBlack);
    SetBounds(Left(), Top(), 133, 140);
}

TWizardTree::~TWizardTree()
{
    items_->OnChange.Clear();
    items_->Clear();
}

const TClassInfo* TWizardTree::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TWizardTree::StaticClass()
{
    static const TClassInfo info(
        "TWizardTree", &TCustomPanel::StaticClass(), &NewComponent<TWizardTree>,
        {
            PublishStrings<&TWizardTree::Items, &TWizardTree::SetItems>("Items"),
            PublishInteger<&TWizardTree::ItemIndex, &TWizardTree::SetItemIndex>("ItemIndex"),
            PublishColor<&TWizardTree::LineColor, &TWizardTree::SetLineColor>("LineColor"),
            PublishColor<&TWizardTree::SelectedBoxColor, &TWizardTree::SetSelectedBoxColor>("SelectedBoxColor"),
            PublishColor<&TWizardTree::BoxColor, &TWizardTree::SetBoxColor>("BoxColor"),
            PublishInteger<&TWizardTree::HorizontalSpace, &TWizardTree::SetHorizontalSpace>("HorizontalSpace"),
            PublishInteger<&TWizardTree::VerticalSpace, &TWizardTree::SetVerticalSpace>("VerticalSpace"),
            PublishInteger<&TWizardTree::BoxHeight, &TWizardTree::SetBoxHeight>("BoxHeight"),
            PublishInteger<&TWizardTree::BoxWidth, &TWizardTree::SetBoxWidth>("BoxWidth"),
            PublishInteger<&TWizardTree::LeftMargin, &TWizardTree::SetLeftMargin>("LeftMargin"),
            PublishInteger<&TWizardTree::TopMargin, &TWizardTree::SetTopMargin>("TopMargin"),
            PublishString<&TWizardTree::Version, &TWizardTree::SetVersion>("Version"),
            PublishEvent<&TWizardTree::OnChanging>("OnChanging"),
            PublishEvent<&TWizardTree::OnChange>("OnChange"),
        });
    return info;
}

void TWizardTree::SetItems(TStrings* value)
{
    items_->Assign(value);
    Invalidate();
}

void TWizardTree::ItemsChanged(TObject*)
{
    Invalidate();
}

void TWizardTree::SetItemIndex(int value)
{
    if (value < -1 || value >= items_->Count() || value == itemIndex_)
        return;
    itemIndex_ = value;
    Invalidate();
}

void TWizardTree::SetAndRepaint(int& field, int value)
{
    if (field == value)
        return;
    field = value;
    Invalidate();
}

void TWizardTree::SetLineColor(TColor value)
{
    SetAndRepaint(lineColor_, value);
}

void TWizardTree::SetSelectedBoxColor(TColor value)
{
    SetAndRepaint(selectedBoxColor_, value);
}

void TWizardTree::SetBoxColor(TColor value)
{
    SetAndRepaint(boxColor_, value);
}

void TWizardTree::SetHorizontalSpace(int value)
{
    SetAndRepaint(horizontalSpace_, value);
}

void TWizardTree::SetVerticalSpace(int value)
{
    SetAndRepaint(verticalSpace_, value);
}

void TWizardTree::SetBoxHeight(int value)
{
    SetAndRepaint(boxHeight_, value);
}

void TWizardTree::SetBoxWidth(int value)
{
    SetAndRepaint(boxWidth_, value);
}

void TWizardTree::SetLeftMargin(int value)
{
    SetAndRepaint(leftMargin_, value);
}

void TWizardTree::SetTopMargin(int value)
{
    SetAndRepaint(topMargin_, value);
}

int TWizardTree::ItemLeft(int index) const
{
    // The steps between the first and the last stand in a column of their own.
    if (index == 0 || index == items_->Count() - 1)
        return leftMargin_ + horizontalSpace_;
    return leftMargin_ + 2 * horizontalSpace_ + boxWidth_;
}

int TWizardTree::ItemTop(int index) const
{
    return topMargin_ + verticalSpace_ + index * (boxHeight_ + 2 * verticalSpace_);
}

void TWizardTree::DrawItem(int index, bool selected)
{
    const int count = items_->Count();
    if (index < 0 || index >= count)
        return;
    TCanvas* canvas = Canvas();
    const int x = ItemLeft(index);
    const int y = ItemTop(index);

    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(selected ? selectedBoxColor_ : boxColor_);
    canvas->FillRect(Rect(x, y, x + boxWidth_, y + boxHeight_));

    canvas->SetFont(Font());
    if (selected)
        canvas->Font()->SetStyle(canvas->Font()->Style() + fsBold);
    const std::string caption = items_->Strings(index);
    const TSize extent = canvas->TextExtent(caption);
    const TRect hit = Rect(x, y, x + boxWidth_ + horizontalSpace_ + extent.cx, y + boxHeight_);

    // The first and the last caption stand clear of the line that joins the
    // inner column.
    int textLeft = x + boxWidth_ + horizontalSpace_;
    if (index == 0 || index == count - 1)
        textLeft += boxWidth_ / 2 + horizontalSpace_;
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(textLeft, y, hit.right, y + boxHeight_));
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(textLeft, y + (boxHeight_ - extent.cy) / 2, caption);
    canvas->Brush()->SetStyle(bsSolid);

    if (static_cast<int>(hitRects_.size()) < count)
        hitRects_.resize(count);
    hitRects_[index] = hit;
}

void TWizardTree::Paint()
{
    TCanvas* canvas = Canvas();
    const int count = items_->Count();
    const int h = horizontalSpace_;
    const int v = verticalSpace_;
    const int bw = boxWidth_;
    const int bh = boxHeight_;
    hitRects_.resize(count);

    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());

    for (int i = 0; i < count; ++i) {
        DrawItem(i, i == itemIndex_);
        canvas->Pen()->SetColor(lineColor_);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetWidth(1);
        const int x = ItemLeft(i);
        const int y = ItemTop(i);
        // Each connector ends inside the next box, which is drawn over its end.
        // A single item is the first and the last at once: no connector.
        if (i == count - 1)
            break;
        if (i == 0) {
            canvas->MoveTo(x + bw, y + v);
            canvas->LineTo(x + h + bw + bw / 2, y + v);
            canvas->LineTo(x + h + bw + bw / 2, ItemTop(1) + v);
        } else if (i <= count - 3) {
            canvas->MoveTo(x + bw / 2, y + bh);
            canvas->LineTo(x + bw / 2, ItemTop(i + 1));
        } else {
            // The last inner step leads back to the final one.
            canvas->MoveTo(x + bw / 2, y + bh);
            canvas->LineTo(x + bw / 2, ItemTop(count - 1) + v);
            canvas->LineTo(x - bw - 1, ItemTop(count - 1) + v);
        }
    }

    // The trunk from the first box down to the last; with fewer than two
    // items it would run through the only box.
    if (count >= 2) {
        const int trunkX = leftMargin_ + h + bw / 2;
        canvas->MoveTo(trunkX, topMargin_ + v + bh);
        canvas->LineTo(trunkX, topMargin_ + v + (count - 1) * (bh + 2 * v));
    }
}

void TWizardTree::Dispatch(TMessage& m)
{
    if (m.Msg == WM_LBUTTONUP) {
        // The click is decided inside the release: it takes this point.
        struct Scope {
            TWizardTree* self;
            ~Scope() { self->clickPosKnown_ = false; }
        } scope{this};
        clickPos_ = Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        clickPosKnown_ = true;
        TCustomPanel::Dispatch(m);
        return;
    }
    TCustomPanel::Dispatch(m);
}

void TWizardTree::Click()
{
    TCustomPanel::Click();
    TPoint p = clickPos_;
    if (!clickPosKnown_) {
        if (!HandleAllocated() || !GetCursorPos(&p))
            return;
        ::ScreenToClient(Handle(), &p);
    }
    int hit = -1;
    for (size_t i = 0; i < hitRects_.size() && hit < 0; ++i)
        if (PtInRect(&hitRects_[i], p))
            hit = static_cast<int>(i);
    if (hit < 0 || hit == itemIndex_ || hit >= items_->Count())
        return;
    bool allowChange = true;
    OnChanging(this, hit, allowChange);
    if (!allowChange)
        return;
    if (HandleAllocated()) {
        DrawItem(itemIndex_, false);
        DrawItem(hit, true);
    }
    SetItemIndex(hit);
    OnChange(this);
}

void WizardTreeStartup()
{
    RegisterComponentClass(TWizardTree::StaticClass());
}

#include "organizer/qmxHTMlistbox.h"

#include <windows.h>

#include "classlib/TypInfo.h"
#include "classlib/UiProbe.h"
#include "organizer/htmleng.h"

void qmxHTMlistboxStartup()
{
    RegisterComponentClass(TqmxHTMListbox::StaticClass());
}

TqmxHTMListbox::TqmxHTMListbox(TComponent* owner)
    : TCustomListBox(owner), urlColor_(clBlue), selectionColor_(clHighlight), selectionFontColor_(clHighlightText)
{
    SetStyle(lbOwnerDrawVariable);
}

TqmxHTMListbox::~TqmxHTMListbox()
{
    if (images_)
        images_->RemoveFreeNotification(this);
}

const TClassInfo* TqmxHTMListbox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TqmxHTMListbox::StaticClass()
{
    static const TClassInfo info(
        "TqmxHTMListbox", &TCustomListBox::StaticClass(), &NewComponent<TqmxHTMListbox>,
        {
            PublishComponent<&TqmxHTMListbox::Images, &TqmxHTMListbox::SetImages>("Images"),
            PublishColor<&TqmxHTMListbox::URLColor, &TqmxHTMListbox::SetURLColor>("URLColor"),
            PublishColor<&TqmxHTMListbox::SelectionColor, &TqmxHTMListbox::SetSelectionColor>("SelectionColor"),
            PublishColor<&TqmxHTMListbox::SelectionFontColor, &TqmxHTMListbox::SetSelectionFontColor>(
                "SelectionFontColor"),
            PublishBoolean<&TqmxHTMListbox::Multiline, &TqmxHTMListbox::SetMultiline>("Multiline"),
            PublishBoolean<&TqmxHTMListbox::SelectionInvisible, &TqmxHTMListbox::SetSelectionInvisible>(
                "SelectionInvisible"),
            PublishInteger<&TqmxHTMListbox::StoredItemIndex, &TqmxHTMListbox::SetStoredItemIndex>("ItemIndex"),
            PublishEvent<&TqmxHTMListbox::OnAnchorClick>("OnAnchorClick"),
            PublishEvent<&TqmxHTMListbox::OnAnchorEnter>("OnAnchorEnter"),
        });
    return info;
}

void TqmxHTMListbox::Notification(TComponent* component, TOperation operation)
{
    TCustomListBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_)
        images_ = nullptr;
}

void TqmxHTMListbox::SetImages(TCustomImageList* value)
{
    if (images_)
        images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_)
        images_->FreeNotification(this);
    Remeasure();
    Invalidate();
}

void TqmxHTMListbox::SetURLColor(TColor value)
{
    if (value == urlColor_)
        return;
    urlColor_ = value;
    Invalidate();
}

void TqmxHTMListbox::SetSelectionColor(TColor value)
{
    if (value == selectionColor_)
        return;
    selectionColor_ = value;
    Invalidate();
}

void TqmxHTMListbox::SetSelectionFontColor(TColor value)
{
    if (value == selectionFontColor_)
        return;
    selectionFontColor_ = value;
    Invalidate();
}

void TqmxHTMListbox::SetSelectionInvisible(bool value)
{
    if (value == selectionInvisible_)
        return;
    selectionInvisible_ = value;
    Invalidate();
}

void TqmxHTMListbox::SetMultiline(bool value)
{
    if (value == multiline_)
        return;
    multiline_ = value;
    Remeasure();
}

void TqmxHTMListbox::Remeasure()
{
    RewriteItems(this, remeasuring_);
}

void TqmxHTMListbox::MeasureItem(int index, int& height)
{
    if (!multiline_) {
        height = ItemHeight();
        return;
    }
    if (index < 0 || index >= Count())
        return;
    const TRect r = MarkupMeasureRect(this, index);
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    std::string anchor, plain;
    int xsize = 0, ysize = 0;
    DrawHtmlTextBasic(canvas, Items()->Strings(index), r, images_, 0, 0, true, true, urlColor_, anchor, plain, xsize,
                      ysize);
    height = ysize + 4;
}

void TqmxHTMListbox::DrawItem(int index, TRect rect, TOwnerDrawState state)
{
    TCanvas* canvas = Canvas();
    TColor anchorColor;
    if ((state & odSelected) && !selectionInvisible_) {
        canvas->Brush()->SetColor(selectionColor_);
        canvas->Pen()->SetColor(selectionColor_);
        canvas->Font()->SetColor(selectionFontColor_);
        anchorColor = clHighlightText;
    } else {
        canvas->Brush()->SetColor(Color());
        canvas->Pen()->SetColor(Color());
        canvas->Font()->SetColor(Font()->Color());
        anchorColor = urlColor_;
    }
    if (selectionInvisible_)
        canvas->FrameRect(rect);
    else
        canvas->FillRect(rect);
    if (index >= Count())
        return;
    std::string anchor, plain;
    int xsize = 0, ysize = 0;
    DrawHtmlTextBasic(canvas, Items()->Strings(index), rect, images_, 0, 0, false, false, anchorColor, anchor, plain,
                      xsize, ysize);
}

bool TqmxHTMListbox::AnchorAt(int index, int x, int y, std::string& anchor)
{
    const TRect r = ItemRect(index);
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    std::string plain;
    int xsize = 0, ysize = 0;
    return DrawHtmlTextBasic(canvas, Items()->Strings(index), r, images_, x, y, true, false, urlColor_, anchor, plain,
                             xsize, ysize);
}

void TqmxHTMListbox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const int index = LOWORD(SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y)));
    std::string anchor;
    if (index >= Count() || !AnchorAt(index, x, y, anchor)) {
        TCustomListBox::MouseDown(button, shift, x, y);
        return;
    }
    if (IsShellAnchor(anchor))
        OpenShellAnchor(anchor);
    else
        OnAnchorClick(this, index, anchor);
}

void TqmxHTMListbox::MouseMove(TShiftState shift, int x, int y)
{
    TCustomListBox::MouseMove(shift, x, y);
    if (x < 0 || y < 0)
        return;
    const int index = ItemAtPos(Point(x, y), true);
    if (index < 0)
        return;
    std::string anchor;
    if (AnchorAt(index, x, y, anchor)) {
        OnAnchorEnter(this, index, anchor);
        SetCursor(crHandPoint);
    } else {
        SetCursor(crDefault);
    }
}

void TqmxHTMListbox::Dispatch(TMessage& m)
{
    TCustomListBox::Dispatch(m);
    if (m.Msg == WM_SIZE && !remeasuring_)
        Remeasure();
}

bool TqmxHTMListbox::ProbeState(TStrings& lines, bool change)
{
    if (!change)
        return TCustomListBox::ProbeState(lines, false);
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = lines.Strings(i);
        int index = -1;
        if (!ProbeIndexKey(lines.Names(i), "ClickAnchor", index)) {
            TStringList one;
            one.Add(line);
            if (!TCustomListBox::ProbeState(one, true))
                return false;
            continue;
        }
        const std::string href = line.substr(line.find('=') + 1);
        if (index < 0 || index >= Count())
            ListIndexError(index);
        SetTopIndex(index);
        const TRect r = ItemRect(index);
        bool clicked = false;
        for (int y = r.top + 1; y < r.bottom && !clicked; y += 2) {
            for (int x = r.left + 1; x < r.right && !clicked; x += 3) {
                std::string anchor;
                if (!AnchorAt(index, x, y, anchor) || anchor != href)
                    continue;
                SendMessageA(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
                SendMessageA(Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
                clicked = true;
            }
        }
        if (!clicked)
            throw Exception(Name() + "[" + std::to_string(index) + "] shows no anchor " + href);
    }
    return true;
}

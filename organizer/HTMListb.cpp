#include "organizer/HTMListb.h"

#include <windows.h>
#include <shellapi.h>

#include "classlib/SysUtils.h"
#include "classlib/TypInfo.h"
#include "common/HtmlDraw.h"

void HTMListbStartup()
{
    RegisterComponentClass(THTMListbox::StaticClass());
}

// ---------------------------------------------------------------------------
// Opening anchors

namespace {

void ShellOpen(const std::string& anchor)
{
    // A link the shell cannot open is left alone: the user sees nothing happen.
    ShellExecuteA(nullptr, "open", anchor.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TShellOpenProc shellOpenProc = &ShellOpen;

} // namespace

bool IsShellAnchor(const std::string& anchor)
{
    return IsWebOrMailLink(anchor);
}

void OpenShellAnchor(const std::string& anchor)
{
    shellOpenProc(anchor);
}

TShellOpenProc SetShellOpenProc(TShellOpenProc proc)
{
    const TShellOpenProc old = shellOpenProc;
    shellOpenProc = proc ? proc : &ShellOpen;
    return old;
}

// ---------------------------------------------------------------------------
// Measuring items

TRect MarkupMeasureRect(TCustomListBox* box, int index)
{
    TRect r = box->ItemRect(index);
    if (r.right <= r.left)
        r = Rect(0, 0, box->ClientWidth(), 0);
    r.bottom = r.top + 1000;
    return r;
}

bool RewriteItems(TCustomListBox* box, bool& busy)
{
    if (!box->HandleAllocated() || busy)
        return false;
    busy = true;
    try {
        // Each item is taken out and put back, which measures it again.
        for (int i = 0; i < box->Count(); ++i)
            box->Items()->SetStrings(i, box->Items()->Strings(i));
    } catch (...) {
        busy = false;
        throw;
    }
    busy = false;
    return true;
}

// ---------------------------------------------------------------------------
// THTMListbox

THTMListbox::THTMListbox(TComponent* owner)
    : TCustomListBox(owner), urlColor_(clBlue), selectionColor_(clHighlight), selectionFontColor_(clHighlightText)
{
    SetStyle(lbOwnerDrawVariable);
}

THTMListbox::~THTMListbox()
{
    if (images_)
        images_->RemoveFreeNotification(this);
}

const TClassInfo* THTMListbox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& THTMListbox::StaticClass()
{
    static const TClassInfo info(
        "THTMListbox", &TCustomListBox::StaticClass(), &NewComponent<THTMListbox>,
        {
            PublishComponent<&THTMListbox::Images, &THTMListbox::SetImages>("Images"),
            PublishColor<&THTMListbox::URLColor, &THTMListbox::SetURLColor>("URLColor"),
            PublishColor<&THTMListbox::SelectionColor, &THTMListbox::SetSelectionColor>("SelectionColor"),
            PublishColor<&THTMListbox::SelectionFontColor, &THTMListbox::SetSelectionFontColor>(
                "SelectionFontColor"),
            PublishBoolean<&THTMListbox::Multiline, &THTMListbox::SetMultiline>("Multiline"),
            PublishEvent<&THTMListbox::OnAnchorClick>("OnAnchorClick"),
            PublishEvent<&THTMListbox::OnAnchorEnter>("OnAnchorEnter"),
        });
    return info;
}

void THTMListbox::Notification(TComponent* component, TOperation operation)
{
    TCustomListBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_)
        images_ = nullptr;
}

void THTMListbox::SetImages(TCustomImageList* value)
{
    if (images_)
        images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_)
        images_->FreeNotification(this);
    if (!IsDestroying())
        Remeasure();
}

void THTMListbox::SetURLColor(TColor value)
{
    if (value == urlColor_)
        return;
    urlColor_ = value;
    Invalidate();
}

void THTMListbox::SetSelectionColor(TColor value)
{
    if (value == selectionColor_)
        return;
    selectionColor_ = value;
    Invalidate();
}

void THTMListbox::SetSelectionFontColor(TColor value)
{
    if (value == selectionFontColor_)
        return;
    selectionFontColor_ = value;
    Invalidate();
}

void THTMListbox::SetMultiline(bool value)
{
    if (value == multiline_)
        return;
    multiline_ = value;
    Remeasure();
}

void THTMListbox::MeasureItem(int index, int& height)
{
    (void)index;
    if (!multiline_)
        height = ItemHeight();
}

void THTMListbox::MeasureMarkup(int index)
{
    if (index < 0 || index >= Count())
        return;
    const TRect r = MarkupMeasureRect(this, index);
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    std::string anchor, plain;
    int xsize = 0, ysize = 0;
    DrawHtmlText(canvas, Items()->Strings(index), r, images_, 0, 0, true, true, false, 1.0, urlColor_, anchor, plain,
                 xsize, ysize);
    SendMessageA(Handle(), LB_SETITEMHEIGHT, index, ysize + 4);
}

void THTMListbox::Remeasure()
{
    if (RewriteItems(this, remeasuring_))
        Invalidate();
}

void THTMListbox::WndProc(TMessage& m)
{
    TCustomListBox::WndProc(m);
    switch (m.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
        if (static_cast<int>(m.Result) >= 0)
            MeasureMarkup(static_cast<int>(m.Result));
        break;
    case WM_SIZE:
        if (!remeasuring_)
            Remeasure();
        break;
    }
}

void THTMListbox::DrawItem(int index, TRect rect, TOwnerDrawState state)
{
    TCanvas* canvas = Canvas();
    TColor anchorColor;
    if (state & odSelected) {
        canvas->Brush()->SetColor(selectionColor_);
        canvas->Pen()->SetColor(selectionColor_);
        canvas->Font()->SetColor(selectionFontColor_);
        anchorColor = selectionFontColor_;
    } else {
        canvas->Brush()->SetColor(clWindow);
        canvas->Pen()->SetColor(clWindow);
        canvas->Font()->SetColor(clWindowText);
        anchorColor = urlColor_;
    }
    canvas->Rectangle(rect);
    if (index >= Count())
        return;
    TRect r = rect;
    r.left += 2;
    std::string anchor, plain;
    int xsize = 0, ysize = 0;
    DrawHtmlText(canvas, Items()->Strings(index), r, images_, 0, 0, false, false, false, 1.0, anchorColor, anchor,
                 plain, xsize, ysize);
}

bool THTMListbox::AnchorAt(int index, int x, int y, std::string& anchor)
{
    const TRect r = ItemRect(index);
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    std::string plain;
    int xsize = 0, ysize = 0;
    return DrawHtmlText(canvas, Items()->Strings(index), r, images_, x, y, true, false, false, 1.0, urlColor_, anchor,
                        plain, xsize, ysize);
}

void THTMListbox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
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

void THTMListbox::MouseMove(TShiftState shift, int x, int y)
{
    TCustomListBox::MouseMove(shift, x, y);
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

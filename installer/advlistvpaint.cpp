// The owner-drawn painting of the extended list view: one row at a time,
// each cell as plain text, a link, HTML mini-markup or rich text.
#include <algorithm>
#include <vector>

#include "classlib/RichEditDraw.h"
#include "common/HtmlDraw.h"
#include "installer/advlistv.h"

namespace {

bool LooksLikeLink(const std::string& text)
{
    return text.find("://") != std::string::npos || text.find("mailto:") != std::string::npos;
}

// The text after the first "://" and then after the first "mailto:".
std::string WithoutScheme(std::string text)
{
    size_t at = text.find("://");
    if (at != std::string::npos)
        text.erase(0, at + 3);
    at = text.find("mailto:");
    if (at != std::string::npos)
        text.erase(0, at + 7);
    return text;
}

} // namespace

void TAdvListView::DrawItemMessage(TMessage& m)
{
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    m.Result = TRUE;
    TCanvas* canvas = Canvas();
    TCanvasDCLoan loan(ControlCanvas(), dis->hDC);
    canvas->Font()->Assign(Font());
    canvas->Brush()->Assign(Brush());
    const TOwnerDrawState state = dis->itemState & 0xFFFF;
    if (state & odSelected) {
        canvas->Brush()->SetColor(SelectionColor);
        canvas->Font()->SetColor(SelectionTextColor);
    }
    if (static_cast<int>(dis->itemID) < 0) {
        canvas->FillRect(dis->rcItem);
        return;
    }
    DrawRow(static_cast<int>(dis->itemID), dis->rcItem, state);
}

void TAdvListView::DrawRow(int index, TRect rect, TOwnerDrawState state)
{
    if (index < 0 || index >= Items()->Count())
        return;
    TCanvas* canvas = Canvas();
    TListItem* item = Items()->Item(index);
    TCustomImageList* images = SmallImages();
    if (images)
        images->SetDrawingStyle(dsTransparent);
    const int count = Columns()->Count();
    // The display order of the columns: as many entries as columns, however
    // many that is.
    std::vector<int> order(count);
    for (int i = 0; i < count; ++i)
        order[i] = i;
    if (count > 0 && !SendMessageA(Handle(), LVM_GETCOLUMNORDERARRAY, count, reinterpret_cast<LPARAM>(order.data()))) {
        MessageBeep(0);
        for (int i = 0; i < count; ++i)
            order[i] = i;
    }
    TFont savedFont;
    savedFont.Assign(canvas->Font());
    TBrush savedBrush;
    savedBrush.Assign(canvas->Brush());
    const bool selected = (state & odSelected) != 0;
    const bool focusedRow = (state & odFocused) != 0;
    const bool cellMode = SubItemSelect || SubItemEdit;
    int left = rect.left;
    TRect currentRect{};
    bool currentShown = false;
    for (int p = 0; p < count; ++p) {
        const int c = order[p];
        const int d = c - 1;
        std::string text;
        if (d < 0)
            text = item->Caption();
        else if (d < item->SubItems()->Count())
            text = item->SubItems()->Strings(d);
        const bool currentCell = c == currentColumn_;
        if ((selected || focusedRow) && !RowSelect() && !currentCell) {
            canvas->Brush()->SetColor(Color());
            canvas->Font()->SetColor(Font()->Color());
        }
        DoDrawItemProp(index, d, text, canvas->Font(), canvas->Brush(), state);
        if (selected && ((cellMode && currentCell) || RowSelect())) {
            canvas->Brush()->SetColor(SelectionColor);
            canvas->Font()->SetColor(SelectionTextColor);
        }
        const bool html = text.find("</") != std::string::npos;
        if (URLShow && !(selected && RowSelect()) && LooksLikeLink(text) && !html) {
            canvas->Font()->SetStyle(canvas->Font()->Style() + fsUnderline);
            canvas->Font()->SetColor(URLColor);
        }
        std::string shown = text;
        if (URLShow && !URLFull && !html)
            shown = WithoutScheme(text);

        const int width = Columns()->Items(c)->Width();
        TRect cell = Rect(left, rect.top, left + width, rect.bottom);
        left += width;
        if (currentCell) {
            currentRect = cell;
            currentShown = true;
        }
        canvas->Pen()->SetColor(canvas->Brush()->Color());
        if (Wallpaper()->Empty())
            canvas->Rectangle(cell);
        else
            SetBkMode(canvas->Handle(), TRANSPARENT);
        TRect textRect = cell;
        if (p == 0 && Checkboxes()) {
            TRect box = Rect(cell.left + 2, cell.top + (cell.bottom - cell.top - 14) / 2, cell.left + 16, 0);
            box.bottom = box.top + 14;
            DrawFrameControl(canvas->Handle(), &box, DFC_BUTTON,
                             DFCS_BUTTONCHECK | DFCS_FLAT | (item->Checked() ? DFCS_CHECKED : 0));
            textRect.left += 18;
        }
        if (images && d < item->SubItems()->Count()) {
            const int image = d < 0 ? item->ImageIndex() : (SubImages() ? SubItemImage(index, d) : -1);
            if (image >= 0 && image <= 65534) {
                int y = cell.top + (cell.bottom - cell.top - images->Height()) / 2;
                if (VAlignment() == vtaTop)
                    y = cell.top;
                else if (VAlignment() == vtaBottom)
                    y = cell.bottom - images->Height();
                images->Draw(canvas, cell.left, y, image);
                textRect.left += images->Width();
            }
        }
        if (text.rfind("{\\", 0) == 0) {
            if (text.empty())
                RichEdit()->Clear();
            else
                RichEdit()->Lines()->SetText(text);
            if (selected && !SelectionRTFKeep) {
                RichEdit()->SetSelStart(0);
                RichEdit()->SetSelLength(255);
                RichEdit()->SelAttributes()->SetColor(SelectionTextColor);
            }
            DrawRichEditText(RichEdit()->Handle(), canvas->Handle(), textRect, canvas->Brush()->Color());
        } else if (!html) {
            static const UINT aligns[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
            static const UINT valigns[] = {DT_VCENTER, DT_TOP, DT_BOTTOM};
            UINT flags = aligns[Columns()->Items(c)->Alignment()] | (WordWrap() ? DT_WORDBREAK : DT_SINGLELINE) |
                         DT_NOPREFIX | DT_EXPANDTABS | DT_EDITCONTROL | valigns[VAlignment()];
            if (shown.find('\r') == std::string::npos)
                flags |= DT_END_ELLIPSIS;
            DRAWTEXTPARAMS params{sizeof params, 0, 2, 2, 0};
            HDC dc = canvas->TextHandle();
            SetBkMode(dc, TRANSPARENT);
            DrawTextExA(dc, const_cast<char*>(shown.c_str()), static_cast<int>(shown.size()), &textRect, flags,
                        &params);
        } else {
            std::string anchor, plain;
            int xs = 0, ys = 0;
            DrawHtmlText(canvas, text, textRect, images, 0, 0, false, false, false, 0, URLColor, anchor, plain, xs,
                         ys);
        }
        canvas->Font()->Assign(&savedFont);
        canvas->Brush()->Assign(&savedBrush);
    }
    // The focus frame goes round the whole row, or without whole-row
    // selection round the current column, whether cells are chosen or not.
    bool cellFramed = false;
    if (selected && focusedRow && GetFocus() == Handle()) {
        if (RowSelect()) {
            canvas->DrawFocusRect(rect);
        } else if (currentShown) {
            canvas->DrawFocusRect(currentRect);
            cellFramed = true;
        }
    }
    OnDrawItem(this, canvas, index, cellFramed ? currentRect : rect, state);
}

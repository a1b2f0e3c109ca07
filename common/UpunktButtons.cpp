// The operator buttons: one per element, and the two special buttons of the
// whole station (releasing the set routes, more information).
#include <algorithm>

#include "classlib/Dialogs.h"
#include "classlib/TypInfo.h"
#include "common/Upunkt.h"
#include "common/UpunktDraw.h"

namespace {

constexpr int StripHeight = 9;
constexpr TColor SwitchButtonColor = 0xE3EDD1;
constexpr TColor CrossingButtonColor = 0xE4FCF2;

bool SetOrOccupied(const TPunkt* p)
{
    return p->Stan() == utwierdzony || p->Stan() == zajety;
}

// A canvas over a draw-item record's device context while it lives.
class TItemCanvas {
public:
    explicit TItemCanvas(HDC dc) { canvas_.SetHandle(dc); }
    ~TItemCanvas() { canvas_.SetHandle(nullptr); }
    TItemCanvas(const TItemCanvas&) = delete;
    TItemCanvas& operator=(const TItemCanvas&) = delete;
    TCanvas* operator->() { return &canvas_; }
    TCanvas* Get() { return &canvas_; }

private:
    TCanvas canvas_;
};

void SmallFont(TCanvas* canvas, const TFont* like, TColor color)
{
    canvas->SetFont(like);
    canvas->Font()->SetSize(7);
    canvas->Font()->SetStyle({});
    canvas->Font()->SetColor(color);
    canvas->Brush()->SetStyle(bsClear);
}

// The symbol of an element's kind, drawn at the right end of the strip.
void PaintSymbol(TCanvas* canvas, const TElement* element, const TRect& strip)
{
    const int right = strip.right - 3;
    const int top = strip.top + 1;
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsSolid);
    if (auto* signal = dynamic_cast<const TSemafor*>(element)) {
        const TColor lamp = signal->Status() == zielony ? clLime : signal->Status() == czerwony ? clRed : clWhite;
        canvas->Pen()->SetColor(clBlack);
        canvas->Brush()->SetColor(lamp);
        canvas->RoundRect(right - 12, top, right, top + 7, 4, 4);
    } else if (auto* light = dynamic_cast<const TPrzejazd*>(element)) {
        canvas->Pen()->SetColor(clBlack);
        canvas->Brush()->SetColor(light->Migajacy() ? clRed : clGray);
        canvas->RoundRect(right - 14, top, right - 8, top + 7, 4, 4);
        canvas->RoundRect(right - 6, top, right, top + 7, 4, 4);
    } else if (dynamic_cast<const TRogatka*>(element)) {
        for (int i = 0; i < 7; ++i)
            for (int row = 0; row < 2; ++row) {
                canvas->Brush()->SetColor((i + row) % 2 ? clWhite : clRed);
                const int left = right - 14 + 2 * i;
                canvas->FillRect(Rect(left, top + 2 + 2 * row, left + 2, top + 4 + 2 * row));
            }
    } else if (auto* sw = dynamic_cast<const TZwrotnica*>(element)) {
        canvas->Brush()->SetColor(clBlack);
        const TRect box = Rect(right - 14, top, right, top + 7);
        canvas->FillRect(box);
        canvas->Pen()->SetColor(clWhite);
        const int mid = top + 3;
        const int off = top + 5;
        TPoint from = Point(box.left + 1, mid);
        TPoint to = Point(box.right - 2, mid);
        if (sw->Status() == dol) {
            if (sw->Typ() == JedenNaDwa)
                to.y = off;
            else
                from.y = off;
        }
        upunkt::Line(canvas, from, to);
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TPunktButton

TPunktButton::TPunktButton(TComponent* owner) : TqmxColorButton(owner)
{
    SetSingleLine(false);
}

void TPunktButton::SetElement(TElement* value)
{
    if (value == element_)
        return;
    if (element_ && element_->LinkedButton() == this)
        element_->SetLinkedButton(nullptr);
    element_ = value;
    if (value) {
        value->FreeNotification(this);
        value->SetLinkedButton(this);
        if (!KeepsCaption())
            SetCaption(value->Name());
        if (dynamic_cast<TZwrotnica*>(value))
            SetColor(SwitchButtonColor);
        else if (dynamic_cast<TRogatka*>(value) || dynamic_cast<TPrzejazd*>(value))
            SetColor(CrossingButtonColor);
    }
    Repaint();
}

void TPunktButton::SetStan(tStan value)
{
    if (value == stan_)
        return;
    stan_ = value;
    Invalidate();
}

void TPunktButton::Click()
{
    TElement* e = element_;
    if (auto* signal = dynamic_cast<TSemafor*>(e))
        signal->OperatorCommand(this);
    else if (dynamic_cast<TRogatka*>(e) || dynamic_cast<TPrzejazd*>(e))
        e->Click();
    else if (auto* point = dynamic_cast<TPunkt*>(e); point && SetOrOccupied(point))
        point->ReportError("Próba przestawienia stanu punktu.");
    else if (auto* sw = dynamic_cast<TZwrotnica*>(e))
        sw->FlipStatus(this);
    TqmxColorButton::Click();
}

int TPunktButton::ShownErrorCount() const
{
    return element_ ? element_->ErrorCount() : 0;
}

void TPunktButton::Notification(TComponent* component, TOperation operation)
{
    TqmxColorButton::Notification(component, operation);
    if (operation == TOperation::opRemove && component == element_)
        element_ = nullptr;
}

void TPunktButton::DrawButtonFace(const DRAWITEMSTRUCT& drawItem)
{
    // The button's own face below a strip that shows the element.
    DRAWITEMSTRUCT face = drawItem;
    face.rcItem.top = std::min(face.rcItem.bottom, face.rcItem.top + StripHeight);
    TqmxColorButton::DrawButtonFace(face);
    TItemCanvas canvas(drawItem.hDC);
    PaintStrip(canvas.Get(), Rect(drawItem.rcItem.left, drawItem.rcItem.top, drawItem.rcItem.right, face.rcItem.top));
    PaintFace(canvas.Get(), face.rcItem);
}

void TPunktButton::PaintStrip(TCanvas* canvas, const TRect& strip)
{
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Parent() ? Parent()->Brush()->Color() : clBtnFace);
    canvas->FillRect(strip);
    const int count = ShownErrorCount();
    SmallFont(canvas, Font(), count ? clRed : clWhite);
    TRect text = strip;
    text.left += 3;
    HDC dc = canvas->TextHandle();
    const std::string digits = Format("%.03d", count);
    DrawTextA(dc, digits.c_str(), static_cast<int>(digits.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    PaintSymbol(canvas, element_, strip);
}

void TPunktButton::PaintFace(TCanvas*, const TRect&) {}

const TClassInfo* TPunktButton::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPunktButton::StaticClass()
{
    static const TClassInfo info(
        "TPunktButton", &TqmxColorButton::StaticClass(), &NewComponent<TPunktButton>,
        {
            PublishComponent<&TPunktButton::Element, &TPunktButton::SetElement>("Element"),
            PublishEnum<&TPunktButton::Stan, &TPunktButton::SetStan>(
                "Stan", {"nieaktywny", "wolny", "utwierdzony", "zajety"}),
        });
    return info;
}

// ---------------------------------------------------------------------------
// TSpecialPunktButton

TSpecialPunktButton::TSpecialPunktButton(TComponent* owner) : TPunktButton(owner)
{
    SetCaption("zwolnij utwierdzenie");
}

void TSpecialPunktButton::SetTYp(TTypSpecial value)
{
    if (value == typ_)
        return;
    typ_ = value;
    SetCaption(value == tsZerwijUtwierdzenie ? "zwolnij utwierdzenie" : "i");
    Invalidate();
}

void TSpecialPunktButton::ReportError(const std::string& Message)
{
    ++errorCount_;
    Repaint();
    OnError(nullptr);
    throw TElemExc(nullptr, -66, Message);
}

int TSpecialPunktButton::ShownErrorCount() const
{
    return typ_ == tsZerwijUtwierdzenie ? errorCount_ : TPunktButton::ShownErrorCount();
}

void TSpecialPunktButton::Click()
{
    if (typ_ == tsZerwijUtwierdzenie)
        ReleaseRoutes();
    else
        ShowInformation();
    TqmxColorButton::Click();
}

void TSpecialPunktButton::ReleaseRoutes()
{
    if (MessageDlg("Czy zerwać wszystkie ustawione i zatwierdzone drogi?\r\n\r\nZerwanie jest możliwe tylko w "
                   "wyjątkowych wypadkach i każde takie zdarzenie jest rejestrowane w dzienniku.",
                   mtWarning, {mbYes, mbCancel}, 0) != mrYes)
        return;
    if (TComponent* owner = Owner())
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            auto* point = dynamic_cast<TPunkt*>(owner->Components(i));
            if (point && point->Stan() == utwierdzony)
                point->SetStan(wolny);
            if (auto* signal = dynamic_cast<TSemafor*>(point))
                signal->SetStatus(czerwony);
        }
    ReportError("Zerwano zatwierdzenie drogi.");
}

void TSpecialPunktButton::ShowInformation()
{
    auto* point = dynamic_cast<TPunkt*>(Element());
    if (!point) {
        ShowMessage(Hint());
        return;
    }
    const TPociag* train = point->Pociag();
    if (!train) {
        ShowMessage(Hint() + "\r\n" + point->Elementy());
        return;
    }
    ShowMessage(Hint() + Format("przyjazd %s, odjazd %s", train->TimeText(train->DateTimes[0]),
                                train->TimeText(train->DateTimes[1])) +
                "\r\n" + Format("skład: %s", point->Elementy()) + "\r\n" +
                Format("%s %s-%s", train->Strings[0], train->Strings[1], train->Strings[2]));
}

void TSpecialPunktButton::PaintFace(TCanvas* canvas, const TRect& face)
{
    if (typ_ != tsWiecejInformacji || !Element())
        return;
    SmallFont(canvas, Font(), clBlack);
    TRect text = face;
    InflateRect(&text, -6, -3);
    text.top += canvas->TextHeight("Ay") + 2;
    std::string lines = Format("%s • %s", Element()->Name(), Element()->Hint());
    if (auto* point = dynamic_cast<TPunkt*>(Element()); point && point->Pociag())
        lines += "\r\n" + point->Pociag()->Description();
    HDC dc = canvas->TextHandle();
    DrawTextA(dc, lines.c_str(), static_cast<int>(lines.size()), &text,
              DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS | DT_NOPREFIX);
}

const TClassInfo* TSpecialPunktButton::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TSpecialPunktButton::StaticClass()
{
    static const TClassInfo info(
        "TSpecialPunktButton", &TPunktButton::StaticClass(), &NewComponent<TSpecialPunktButton>,
        {
            PublishEnum<&TSpecialPunktButton::TYp, &TSpecialPunktButton::SetTYp>(
                "TYp", {"tsZerwijUtwierdzenie", "tsWiecejInformacji"}),
            PublishEvent<&TSpecialPunktButton::OnError>("OnError"),
        });
    return info;
}

// Points of a route and their kinds: state, train, text, the tracks on
// either side, the double click that gives a train its departure, painting.
#include <algorithm>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/TypInfo.h"
#include "common/Upunkt.h"
#include "common/UpunktDraw.h"

namespace {

const std::vector<std::string> StanNames{"nieaktywny", "wolny", "utwierdzony", "zajety"};
const std::vector<std::string> SemTypeNames{"stLewy", "stPrawy"};

// The row of a route through an element of that height.
int RouteRow(int height)
{
    return (height - 1) / 2;
}

} // namespace

// ---------------------------------------------------------------------------
// TPunkt

TPunkt::TPunkt(TComponent* owner)
    : TElement(owner), StateColors{clNavy, clGray, clGreen, clRed}
{
}

void TPunkt::SetPojemnosc(int value)
{
    pojemnosc_ = value;
    Repaint();
}

void TPunkt::SetStan(tStan value)
{
    if (value == stan_)
        return;
    stan_ = value;
    Repaint();
    RepaintButtons();
    if (auto* button = dynamic_cast<TPunktButton*>(LinkedButton())) {
        try {
            button->SetBorderColor(StateColor());
            button->SetActiveBorderColor(StateColor());
            button->SetStan(value);
            button->Repaint();
        } catch (const Exception&) {
            // The button only shows the state; the state itself has changed.
        }
    }
}

void TPunkt::SetElementy(const std::string& value)
{
    if (value == elementy_)
        return;
    elementy_ = value;
    RepaintButtons();
    Repaint();
}

void TPunkt::SetPociag(TPociag* value)
{
    if (value && !pociag_) {
        SetStan(zajety);
        // What stands at the point joins the train, which continues under
        // both numbers.
        if (!elementy_.empty()) {
            value->BoolFields[1] = true;
            value->Strings[4] = value->Kierunek == 0 ? elementy_ + " " + value->Strings[4]
                                                     : value->Strings[4] + " " + elementy_;
        }
    } else if (!value && pociag_) {
        SetStan(wolny);
    }
    pociag_ = value;
    UpdateTrainInfo();
    SetHint(value ? Name() + ": " + value->Description() : Name());
    Repaint();
    RepaintButtons();
}

void TPunkt::UpdateTrainInfo()
{
    if (!pociag_) {
        SetElementy(std::string());
        return;
    }
    SetElementy(pociag_->ShortText(ShortTextForm()));
    const TDateTime due = pociag_->Departing() ? pociag_->DateTimes[1] : pociag_->DateTimes[0];
    const TFontStyles style = CurrentTime > due ? Font()->Style() + fsBold : Font()->Style() - fsBold;
    if (style != Font()->Style())
        Font()->SetStyle(style);
}

TPoint TPunkt::GetConnectionPoint(const TTor* Track) const
{
    const int y = Top() + RouteRow(Height());
    if (Track && Track == tracks_[0])
        return Point(Left(), y);
    if (Track && Track == tracks_[1])
        return Point(Left() + Width() - 1, y);
    return Point(-1, -1);
}

TPunkt* TPunkt::GetTrack(int Side) const
{
    return Side == 0 || Side == 1 ? tracks_[Side] : nullptr;
}

void TPunkt::JoinTrack(int Side, tZwrStatus, TTor* Track)
{
    if (Side == 0 || Side == 1)
        tracks_[Side] = Track;
}

void TPunkt::LeaveTrack(const TTor* Track)
{
    for (TTor*& t : tracks_)
        if (t == Track)
            t = nullptr;
}

void TPunkt::Notification(TComponent* component, TOperation operation)
{
    TElement::Notification(component, operation);
    if (operation == TOperation::opRemove)
        for (TTor*& t : tracks_)
            if (t == component)
                t = nullptr;
}

void TPunkt::DblClick()
{
    TElement::DblClick();
    // A modal dialog lets other events run: keep the train asked about.
    TPociag* train = pociag_;
    std::string text = Format("%s • %s", Name(), Hint());
    if (!train) {
        ShowMessage(text + "\r\nW tym punkcie nie ma żadnego pociągu.");
        return;
    }
    text += "\r\n" + train->Description();
    if (train->StanPociagu == 2 || dynamic_cast<TZapowiedz*>(this)) {
        ShowMessage(text);
        return;
    }
    text += train->Manoeuvre() ? "\r\nDać sygnał do jazdy manewrowej?" : "\r\nDać sygnał do odjazdu?";
    if (MessageDlg(text, mtConfirmation, {mbYes, mbCancel}, 0) == mrYes)
        train->SetStanPociagu(2);
}

void TPunkt::Paint()
{
    PaintPoint(Rect(0, 0, 0, 0));
}

void TPunkt::PaintPoint(const TRect& mark)
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FillColor());
    canvas->FillRect(ClientRect());
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(mark);
    PaintElementy();
    PaintName();
}

void TPunkt::PaintElementy()
{
    Canvas()->SetFont(Font());
    upunkt::DrawInvertedText(Canvas(), ClientRect(), elementy_);
}

const TClassInfo* TPunkt::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPunkt::StaticClass()
{
    static const TClassInfo info("TPunkt", &TElement::StaticClass(), &NewComponent<TPunkt>,
                                 {
                                     PublishInteger<&TPunkt::Pojemnosc, &TPunkt::SetPojemnosc>("Pojemnosc"),
                                     PublishEnum<&TPunkt::Stan, &TPunkt::SetStan>("Stan", StanNames),
                                     PublishString<&TPunkt::Elementy, &TPunkt::SetElementy>("Elementy"),
                                     PublishObject<&TPunkt::Pociag, &TPunkt::SetPociag>("Pociag"),
                                     PublishBoolean<&TPunkt::DisablePopupMenu, &TPunkt::DisablePopupMenu>(
                                         "DisablePopupMenu"),
                                 });
    return info;
}

// ---------------------------------------------------------------------------
// TPunktTorowy

TColor TPunktTorowy::FillColor() const
{
    return Stan() == wolny ? Color() : StateColor();
}

void TPunktTorowy::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FillColor());
    canvas->FillRect(ClientRect());
    const int y = RouteRow(Height());
    upunkt::DrawRoute(canvas, Point(0, y), Point(Width() - 1, y), Stan(), StateColor());
    PaintElementy();
    PaintName();
}

const TClassInfo* TPunktTorowy::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPunktTorowy::StaticClass()
{
    static const TClassInfo info("TPunktTorowy", &TPunkt::StaticClass(), &NewComponent<TPunktTorowy>);
    return info;
}

// ---------------------------------------------------------------------------
// TBocznica

TBocznica::TBocznica(TComponent* owner) : TPunkt(owner)
{
    SetColor(clGray);
}

void TBocznica::SetTyp(tSemType value)
{
    if (value == typ_)
        return;
    typ_ = value;
    Repaint();
}

TColor TBocznica::FillColor() const
{
    return Stan() == wolny ? Color() : StateColor();
}

void TBocznica::Paint()
{
    // The buffer stop at the siding's end.
    const TRect r = ClientRect();
    PaintPoint(typ_ == stLewy ? Rect(0, 0, 2, r.bottom) : Rect(r.right - 2, 0, r.right, r.bottom));
}

const TClassInfo* TBocznica::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TBocznica::StaticClass()
{
    static const TClassInfo info("TBocznica", &TPunkt::StaticClass(), &NewComponent<TBocznica>,
                                 {
                                     PublishEnum<&TBocznica::Typ, &TBocznica::SetTyp>("Typ", SemTypeNames),
                                 });
    return info;
}

// ---------------------------------------------------------------------------
// TWlot

TWlot::TWlot(TComponent* owner)
    : TBocznica(owner), kierunki_(std::make_unique<TStringList>()), lista_(std::make_unique<tQmxList>())
{
}

TWlot::~TWlot() = default;

void TWlot::SetKierunkiJazdy(TStrings* value)
{
    kierunki_->Assign(value);
    kierunki_->Sort();
}

void TWlot::SetRodzajWlotu(TRodzajWlotu value)
{
    if (value == rodzaj_)
        return;
    rodzaj_ = value;
    Repaint();
}

void TWlot::SetZapowiedz(TZapowiedz* value)
{
    zapowiedz_ = value;
    if (value)
        value->FreeNotification(this);
}

void TWlot::SetZapowiedzRozkladu(TZapowiedz* value)
{
    zapowiedzRozkladu_ = value;
    if (value)
        value->FreeNotification(this);
}

void TWlot::SetPociag(TPociag* value)
{
    TBocznica::SetPociag(value);
    if (value && !value->Manoeuvre())
        PlaySound();
}

void TWlot::Notification(TComponent* component, TOperation operation)
{
    TBocznica::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == zapowiedz_)
        zapowiedz_ = nullptr;
    if (component == zapowiedzRozkladu_)
        zapowiedzRozkladu_ = nullptr;
}

void TWlot::Paint()
{
    TCanvas* canvas = Canvas();
    const int w = Width();
    const int h = Height();
    const int mid = h / 2;
    const int head = std::min(mid, w / 2);
    const int body = std::max(1, h / 4);
    // Trains enter the station moving away from its side (stLewy: the left
    // side, entering to the right).
    const bool into = rodzaj_ != rwWylot;
    const bool outOf = rodzaj_ != rwWlot;
    const bool rightHead = Typ() == stLewy ? into : outOf;
    const bool leftHead = Typ() == stLewy ? outOf : into;
    std::vector<TPoint> shape;
    if (leftHead) {
        shape.push_back(Point(0, mid));
        shape.push_back(Point(head, 0));
        shape.push_back(Point(head, mid - body));
    } else {
        shape.push_back(Point(0, mid - body));
    }
    if (rightHead) {
        shape.push_back(Point(w - 1 - head, mid - body));
        shape.push_back(Point(w - 1 - head, 0));
        shape.push_back(Point(w - 1, mid));
        shape.push_back(Point(w - 1 - head, h - 1));
        shape.push_back(Point(w - 1 - head, mid + body));
    } else {
        shape.push_back(Point(w - 1, mid - body));
        shape.push_back(Point(w - 1, mid + body));
    }
    if (leftHead) {
        shape.push_back(Point(head, mid + body));
        shape.push_back(Point(head, h - 1));
    } else {
        shape.push_back(Point(0, mid + body));
    }
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FillColor());
    canvas->Polygon(shape.data(), static_cast<int>(shape.size()));
    PaintElementy();
    PaintName();
}

const TClassInfo* TWlot::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TWlot::StaticClass()
{
    static const TClassInfo info(
        "TWlot", &TBocznica::StaticClass(), &NewComponent<TWlot>,
        {
            PublishStrings<&TWlot::KierunkiJazdy, &TWlot::SetKierunkiJazdy>("KierunkiJazdy"),
            PublishEnum<&TWlot::RodzajWlotu, &TWlot::SetRodzajWlotu>("RodzajWlotu", {"rwWlot", "rwWylot", "rwWlotWylot"}),
            PublishComponent<&TWlot::Zapowiedz, &TWlot::SetZapowiedz>("Zapowiedz"),
            PublishComponent<&TWlot::ZapowiedzRozkladu, &TWlot::SetZapowiedzRozkladu>("ZapowiedzRozkladu"),
            PublishInteger<&TWlot::Wyprzedzenie, &TWlot::Wyprzedzenie>("Wyprzedzenie"),
        });
    return info;
}

// ---------------------------------------------------------------------------
// TZapowiedz

void TZapowiedz::SetPociag(TPociag* value)
{
    if (value == Pociag())
        return;
    TPunkt::SetPociag(value);
    SetHint(value ? value->Description() : std::string());
}

TColor TZapowiedz::FillColor() const
{
    return Stan() == wolny ? Color() : StateColor();
}

const TClassInfo* TZapowiedz::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TZapowiedz::StaticClass()
{
    static const TClassInfo info("TZapowiedz", &TPunkt::StaticClass(), &NewComponent<TZapowiedz>,
                                 {
                                     PublishInteger<&TZapowiedz::Czas, &TZapowiedz::Czas>("Czas"),
                                 });
    return info;
}

// ---------------------------------------------------------------------------
// TPeron

void TPeron::SetTyp(tSemType value)
{
    if (value == typ_)
        return;
    typ_ = value;
    Repaint();
}

void TPeron::Paint()
{
    // The platform's edge.
    const TRect r = ClientRect();
    PaintPoint(typ_ == stLewy ? Rect(0, 0, r.right, 2) : Rect(0, r.bottom - 2, r.right, r.bottom));
}

const TClassInfo* TPeron::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPeron::StaticClass()
{
    static const TClassInfo info("TPeron", &TPunkt::StaticClass(), &NewComponent<TPeron>,
                                 {
                                     PublishEnum<&TPeron::Typ, &TPeron::SetTyp>("Typ", SemTypeNames),
                                 });
    return info;
}

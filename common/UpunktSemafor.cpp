// Signals: the operator's command, the S2 signal over a set route, the
// substitute signal Sz with its 30-second timer, painting.
#include <algorithm>
#include <set>

#include "classlib/Dialogs.h"
#include "classlib/ExtCtrls.h"
#include "classlib/TypInfo.h"
#include "common/Upunkt.h"
#include "common/UpunktDraw.h"

namespace {

constexpr int SignalWidth = 14;
constexpr int SignalHeight = 15;  // the size a signal paints in
constexpr int SubstituteInterval = 500;
constexpr int SubstituteCount = 60;

} // namespace

TSemafor::TSemafor(TComponent* owner) : TPunkt(owner)
{
    SetBounds(Left(), Top(), SignalWidth, 13);
}

void TSemafor::SetStatus(tSemStatus value)
{
    if (value == status_)
        return;
    status_ = value;
    if (value == bialy) {
        timer_ = new TTimer(this);
        timer_->SetInterval(SubstituteInterval);
        timer_->OnTimer = TNotifyEvent(this, &TSemafor::BlinkTick);
        count_ = SubstituteCount;
    } else {
        // May be the timer whose tick runs now: nothing touches it after
        // its handler returns.
        delete timer_;
        timer_ = nullptr;
    }
    RepaintButtons();
    Repaint();
}

void TSemafor::SetRodzaj(tSemRodzaj value)
{
    if (value == rodzaj_)
        return;
    rodzaj_ = value;
    Repaint();
}

void TSemafor::SetTyp(tSemType value)
{
    if (value == typ_)
        return;
    typ_ = value;
    Repaint();
}

void TSemafor::BlinkTick(TObject*)
{
    --count_;
    Repaint();
    if (count_ < 0)
        SetStatus(czerwony);
}

void TSemafor::Refuse(TObject* Sender, const std::string& reason)
{
    if (Sender == this)
        ReportError("NIe można podać sygnału na semaforze.\r\n" + reason +
                    "\r\nAby podać sygnał zastępczy Sz, naciśnij przycisk sterowania semaforem.");
    if (MessageDlg("Czy ustawić sygnał zastępczy Sz?\r\n\r\nPodanie Sz jest możliwe tylko w wyjątkowych wypadkach i "
                   "każde takie zdarzenie jest rejestrowane w dzienniku.",
                   mtWarning, {mbYes, mbCancel}, 0) == mrYes) {
        SetStatus(bialy);
        ReportError("Podano sygnał zastępczy.");
    }
}

void TSemafor::OperatorCommand(TObject* Sender)
{
    switch (Stan()) {
    case nieaktywny:
        Refuse(Sender, "Próba ustawienia semafora na torze wyłączonym.");
        break;
    case wolny:
        if (status_ == czerwony)
            Refuse(Sender, "Nie utwierdzono drogi.");
        else if (status_ == bialy)
            SetStatus(czerwony);
        else
            ReportError("Próba ustawienia semafora bez drogi.");
        break;
    case utwierdzony:
        if (status_ == czerwony)
            GiveS2(Sender);
        else
            SetStatus(czerwony);
        break;
    case zajety:
        if (status_ == czerwony)
            Refuse(Sender, "Tor jest zajęty.");
        else if (status_ == bialy)
            SetStatus(czerwony);
        else
            ReportError("Próba przestawienia semafora na zajętym torze.");
        break;
    }
    PlaySound();
    OnModified(Sender);
}

void TSemafor::WalkS2(TObject* Sender, int Side, bool& cancelled)
{
    // A route that runs back into itself is walked once.
    std::set<const TPunkt*> seen{this};
    for (TPunkt* e = GetTrack(Side); e && e->Stan() == utwierdzony && seen.insert(e).second; e = e->GetTrack(Side)) {
        // A train announced against the route stops the S2 however it was
        // asked for: a signal clicked itself would otherwise show the way
        // into that train.
        auto* entry = dynamic_cast<TWlot*>(e);
        if (entry && entry->Typ() == typ_ && entry->Zapowiedz() && entry->Zapowiedz()->Pociag()) {
            Refuse(Sender, Format("Nie można podać sygnału S2 na semaforze wyjazdowym, gdy z przeciwnego kierunku po "
                                  "tym samym torze zmierza pociąg %s.",
                                  entry->Zapowiedz()->Pociag()->Description()));
            cancelled = true;
            return;
        }
        auto* signal = dynamic_cast<TSemafor*>(e);
        if (signal && signal->Typ() != typ_ && signal->Status() != czerwony) {
            Refuse(Sender, Format("Nie można podać sygnału S2 na semaforze, gdy dozwolona jest droga po tym samym "
                                  "odstępie w kierunku przeciwnym na semaforze %s.",
                                  signal->Name()));
            cancelled = true;
            return;
        }
    }
}

void TSemafor::GiveS2(TObject* Sender)
{
    try {
        // An operator who cancels a refusal keeps the signal red.
        bool cancelled = false;
        WalkS2(Sender, 0, cancelled);
        if (!cancelled)
            WalkS2(Sender, 1, cancelled);
        if (cancelled)
            return;
        SetStatus(zielony);
        StartWaitingTrain();
    } catch (const Exception& e) {
        ReportError(Format("Nie można podać sygnału S2 na semaforze %s.", Name()) + e.Message());
    }
}

void TSemafor::StartWaitingTrain()
{
    const int side = typ_ == stLewy ? 1 : 0;
    TPunkt* at = GetTrack(side);
    if (at && !at->Pociag())
        at = at->GetTrack(side);
    if (!at || !at->Pociag())
        return;
    TPociag* train = at->Pociag();
    if (train->StanPociagu == 1 && train->Kierunek == typ_ && !train->MayStopAt(at))
        train->SetStanPociagu(2);
}

TPoint TSemafor::GetConnectionPoint(const TTor* Track) const
{
    const int y = Top() + (SignalHeight - 1) / 2;
    if (Track && Track == tracks_[0])
        return Point(Left(), y);
    if (Track && Track == tracks_[1])
        return Point(Left() + Width() - 1, y);
    return Point(-1, -1);
}

void TSemafor::Click()
{
    OperatorCommand(this);
    TPunkt::Click();
}

void TSemafor::Paint()
{
    // A signal is made 14 x 13 and drawn 14 x 15.
    if (Width() != SignalWidth || Height() != SignalHeight)
        SetBounds(Left(), Top(), SignalWidth, SignalHeight);
    TCanvas* canvas = Canvas();
    const int w = SignalWidth;
    // Drawn facing left; a right-facing signal is the mirror image.
    auto x = [this, w](int left) { return typ_ == stLewy ? left : w - 1 - left; };
    auto box = [&](int left, int top, int right, int bottom) {
        const int a = x(left);
        const int b = x(right - 1);
        return Rect(std::min(a, b), top, std::max(a, b) + 1, bottom);
    };
    const int row = (SignalHeight - 1) / 2;
    upunkt::DrawRoute(canvas, Point(0, row), Point(w - 1, row), Stan(), StateColor());

    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(box(11, 0, 13, SignalHeight));
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(clBlack);
    upunkt::Line(canvas, Point(x(8), 3), Point(x(10), 3));

    TColor lamp = clGray;
    if (status_ == zielony)
        lamp = clLime;
    else if (status_ == czerwony)
        lamp = clRed;
    else if (timer_)
        lamp = count_ % 2 == 0 ? clWhite : clSilver;
    canvas->Brush()->SetColor(lamp);
    canvas->Ellipse(box(1, 0, 9, 7));
    PaintName();
}

const TClassInfo* TSemafor::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TSemafor::StaticClass()
{
    static const TClassInfo info(
        "TSemafor", &TPunkt::StaticClass(), &NewComponent<TSemafor>,
        {
            PublishEnum<&TSemafor::Status, &TSemafor::SetStatus>("Status", {"zielony", "czerwony", "bialy"}),
            PublishEnum<&TSemafor::Rodzaj, &TSemafor::SetRodzaj>("Rodzaj", {"Swietlny", "Ksztaltowy"}),
            PublishEnum<&TSemafor::Typ, &TSemafor::SetTyp>("Typ", {"stLewy", "stPrawy"}),
        });
    return info;
}

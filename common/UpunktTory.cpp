// Tracks between points, switches and level-crossing barriers.
#include <algorithm>
#include <vector>

#include "classlib/TypInfo.h"
#include "common/Upunkt.h"
#include "common/UpunktDraw.h"

namespace {

const std::vector<std::string> StatusNames{"gora", "dol"};
const std::vector<std::string> UkladNames{"urGora", "urSrodek", "urDol"};

bool SetOrOccupied(const TPunkt* p)
{
    return p->Stan() == utwierdzony || p->Stan() == zajety;
}

// The tracks among the owner's components that hold a barrier.
std::vector<TTor*> TracksHolding(const TRogatka* barrier)
{
    std::vector<TTor*> tracks;
    if (TComponent* owner = barrier->Owner())
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (auto* track = dynamic_cast<TTor*>(owner->Components(i)); track && track->HoldsBarrier(barrier))
                tracks.push_back(track);
    return tracks;
}

} // namespace

// ---------------------------------------------------------------------------
// TTor

TTor::TTor(TComponent* owner) : TPunkt(owner) {}

TTor::~TTor()
{
    for (TPunkt* end : ends_)
        if (end)
            end->LeaveTrack(this);
}

void TTor::SetEnd(int side, TPunkt* value)
{
    if (value == ends_[side])
        return;
    if (ends_[side])
        ends_[side]->LeaveTrack(this);
    ends_[side] = value;
    if (value) {
        value->FreeNotification(this);
        // The left end has this track on its right, and the other way round.
        value->JoinTrack(1 - side, legs_[side], this);
    }
    Connect();
}

void TTor::SetLeg(int side, tZwrStatus value)
{
    if (value == legs_[side])
        return;
    legs_[side] = value;
    if (TPunkt* end = ends_[side]) {
        end->LeaveTrack(this);
        end->JoinTrack(1 - side, value, this);
        Connect();
    }
}

void TTor::Connect()
{
    for (int side = 0; side < 2; ++side)
        endPoints_[side] = ends_[side] ? ends_[side]->GetConnectionPoint(this) : Point(-1, -1);
    if (ends_[0] && ends_[1]) {
        TRect a = ends_[0]->BoundsRect();
        TRect b = ends_[1]->BoundsRect();
        InflateRect(&a, 2, 2);
        InflateRect(&b, 2, 2);
        TRect both;
        UnionRect(&both, &a, &b);
        SetBounds(both.left, both.top, both.right - both.left, both.bottom - both.top);
    }
    Invalidate();
}

void TTor::SetStan(tStan value)
{
    const bool changed = value != Stan();
    TPunkt::SetStan(value);
    if (changed)
        for (TPrzejazd* light : lights_)
            if (light)
                light->UpdateFromTracks();
}

TPunkt* TTor::GetTrack(int Side) const
{
    if (Side != 0 && Side != 1)
        return nullptr;
    TPunkt* end = ends_[Side];
    if (auto* sw = dynamic_cast<TZwrotnica*>(end))
        return sw->GetTrack(1 - Side) == this ? end : nullptr;
    return end;
}

bool TTor::KeepsCrossingBlinking(const TPrzejazd* light) const
{
    return light && (lights_[0] == light || lights_[1] == light) && SetOrOccupied(this);
}

void TTor::Notification(TComponent* component, TOperation operation)
{
    TPunkt::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    for (int side = 0; side < 2; ++side) {
        if (ends_[side] == component) {
            ends_[side] = nullptr;
            endPoints_[side] = Point(-1, -1);
        }
        if (barriers_[side] == component)
            barriers_[side] = nullptr;
        if (lights_[side] == component)
            lights_[side] = nullptr;
    }
}

void TTor::Paint()
{
    TPoint from = Point(0, (Height() - 1) / 2);
    TPoint to = Point(Width() - 1, from.y);
    if (endPoints_[0].x >= 0 && endPoints_[1].x >= 0) {
        from = Point(endPoints_[0].x - Left(), endPoints_[0].y - Top());
        to = Point(endPoints_[1].x - Left(), endPoints_[1].y - Top());
    }
    upunkt::DrawRoute(Canvas(), from, to, Stan(), StateColor());
}

const TClassInfo* TTor::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TTor::StaticClass()
{
    static const TClassInfo info(
        "TTor", &TPunkt::StaticClass(), &NewComponent<TTor>,
        {
            PublishBoolean<&TTor::Lacznikowy, &TTor::Lacznikowy>("Lacznikowy"),
            PublishComponent<&TTor::LewyPunkt, &TTor::SetLewyPunkt>("LewyPunkt"),
            PublishComponent<&TTor::PrawyPunkt, &TTor::SetPrawyPunkt>("PrawyPunkt"),
            PublishEnum<&TTor::LewyStatus, &TTor::SetLewyStatus>("LewyStatus", StatusNames),
            PublishEnum<&TTor::PrawyStatus, &TTor::SetPrawyStatus>("PrawyStatus", StatusNames),
            PublishComponent<&TTor::RogatkaGorne, &TTor::SetRogatkaGorne>("RogatkaGorne"),
            PublishComponent<&TTor::RogatkaDolne, &TTor::SetRogatkaDolne>("RogatkaDolne"),
            PublishComponent<&TTor::PrzejazdGorne, &TTor::SetPrzejazdGorne>("PrzejazdGorne"),
            PublishComponent<&TTor::PrzejazdDolne, &TTor::SetPrzejazdDolne>("PrzejazdDolne"),
        });
    return info;
}

// ---------------------------------------------------------------------------
// TZwrotnica

TZwrotnica::TZwrotnica(TComponent* owner) : TPunkt(owner)
{
    SetBounds(Left(), Top(), 17, 17);
}

TZwrotnica* TZwrotnica::Follower() const
{
    const TTor* branch = BranchTrack();
    if (!branch || !branch->Lacznikowy)
        return nullptr;
    TPunkt* farEnd = branch->LewyPunkt() == this ? branch->PrawyPunkt() : branch->LewyPunkt();
    auto* sw = dynamic_cast<TZwrotnica*>(farEnd);
    return sw && sw != this && sw->Typ() != typ_ ? sw : nullptr;
}

void TZwrotnica::SetStatus(tZwrStatus value)
{
    if (value == status_)
        return;
    if (SetOrOccupied(this))
        ReportError("Próba przestawienia zwrotnicy na utwierdzonej lub zajętej drodze.");
    const tZwrStatus old = status_;
    status_ = value;
    // The switch across the connecting track goes the same way, or neither
    // does.
    if (TZwrotnica* follower = Follower()) {
        try {
            follower->SetStatus(value);
        } catch (...) {
            status_ = old;
            throw;
        }
    }
    Repaint();
    RepaintButtons();
}

void TZwrotnica::SetTyp(tZwrTyp value)
{
    if (value == typ_)
        return;
    typ_ = value;
    Repaint();
}

void TZwrotnica::SetLewyUkladRysowania(tUkladRysowania value)
{
    if (value == lewyUklad_)
        return;
    lewyUklad_ = value;
    Repaint();
}

void TZwrotnica::SetPrawyUkladRysowania(tUkladRysowania value)
{
    if (value == prawyUklad_)
        return;
    prawyUklad_ = value;
    Repaint();
}

void TZwrotnica::FlipStatus(TObject* Sender)
{
    try {
        SetStatus(status_ == gora ? dol : gora);
    } catch (const Exception& e) {
        ReportError("Błąd podczas przestawienia zwrotnicy: " + e.Message());
    }
    PlaySound();
    OnModified(Sender);
}

void TZwrotnica::Click()
{
    FlipStatus(this);
    TPunkt::Click();
}

TPunkt* TZwrotnica::GetTrack(int Side) const
{
    if (typ_ == JedenNaDwa) {
        if (Side == 0)
            return tracks_[0];
        if (Side == 1)
            return status_ == gora ? tracks_[1] : tracks_[3];
    } else {
        if (Side == 0)
            return status_ == gora ? tracks_[0] : tracks_[2];
        if (Side == 1)
            return tracks_[1];
    }
    return nullptr;
}

void TZwrotnica::JoinTrack(int Side, tZwrStatus Leg, TTor* Track)
{
    if (Side == 0 || Side == 1)
        tracks_[Leg == dol ? 2 + Side : Side] = Track;
}

void TZwrotnica::Ends(TPoint& common, TPoint& straight, TPoint& branch) const
{
    const int w = Width();
    const int h = Height();
    auto row = [h](tUkladRysowania u) { return u == urGora ? 1 : u == urDol ? h - 4 : (h - 1) / 2; };
    auto other = [](tUkladRysowania u) { return u == urDol ? urGora : urDol; };
    if (typ_ == JedenNaDwa) {
        common = Point(0, row(lewyUklad_));
        straight = Point(w - 1, common.y);
        branch = Point(w - 1, row(prawyUklad_ == lewyUklad_ ? other(lewyUklad_) : prawyUklad_));
    } else {
        common = Point(w - 1, row(prawyUklad_));
        straight = Point(0, common.y);
        branch = Point(0, row(lewyUklad_ == prawyUklad_ ? other(prawyUklad_) : lewyUklad_));
    }
}

TPoint TZwrotnica::GetConnectionPoint(const TTor* Track) const
{
    if (!Track)
        return Point(-1, -1);
    TPoint common, straight, branch;
    Ends(common, straight, branch);
    const int commonSlot = typ_ == JedenNaDwa ? 0 : 1;
    const int straightSlot = 1 - commonSlot;
    const int branchSlot = typ_ == JedenNaDwa ? 3 : 2;
    TPoint p;
    if (Track == tracks_[commonSlot])
        p = common;
    else if (Track == tracks_[straightSlot])
        p = straight;
    else if (Track == tracks_[branchSlot])
        p = branch;
    else
        return Point(-1, -1);
    return Point(Left() + p.x, Top() + p.y);
}

void TZwrotnica::Paint()
{
    TCanvas* canvas = Canvas();
    TPoint common, straight, branch;
    Ends(common, straight, branch);
    // Both legs thin in the switched-off colour, the set one over them as a
    // route.
    upunkt::DrawRoute(canvas, common, straight, nieaktywny, StateColors[nieaktywny]);
    upunkt::DrawRoute(canvas, common, branch, nieaktywny, StateColors[nieaktywny]);
    upunkt::DrawRoute(canvas, common, status_ == gora ? straight : branch, Stan(), StateColor());
}

const TClassInfo* TZwrotnica::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TZwrotnica::StaticClass()
{
    static const TClassInfo info(
        "TZwrotnica", &TPunkt::StaticClass(), &NewComponent<TZwrotnica>,
        {
            PublishEnum<&TZwrotnica::Status, &TZwrotnica::SetStatus>("Status", StatusNames),
            PublishEnum<&TZwrotnica::Typ, &TZwrotnica::SetTyp>("Typ", {"JedenNaDwa", "DwaNaJeden"}),
            PublishEnum<&TZwrotnica::LewyUkladRysowania, &TZwrotnica::SetLewyUkladRysowania>("LewyUkladRysowania",
                                                                                           UkladNames),
            PublishEnum<&TZwrotnica::PrawyUkladRysowania, &TZwrotnica::SetPrawyUkladRysowania>(
                "PrawyUkladRysowania", UkladNames),
        });
    return info;
}

// ---------------------------------------------------------------------------
// TRogatka

TRogatka::TRogatka(TComponent* owner) : TElement(owner)
{
    SetBounds(Left(), Top(), 16, 4);
}

void TRogatka::SetPodniesione(bool value)
{
    if (value == podniesione_)
        return;
    const std::vector<TTor*> tracks = TracksHolding(this);
    for (const TTor* track : tracks)
        if (SetOrOccupied(track) && (track->RogatkaDolne() == this || (track->RogatkaGorne() == this && value)))
            ReportError("Nie można podnieść rogatek, gdy tor nie jest wolny!");
    podniesione_ = value;
    // The other barrier of each track follows through its own setter; each
    // track's state is taken once both barriers stand.
    try {
        for (const TTor* track : tracks) {
            TRogatka* other = track->RogatkaGorne() == this ? track->RogatkaDolne() : track->RogatkaGorne();
            if (other && other != this)
                other->SetPodniesione(value);
        }
    } catch (...) {
        podniesione_ = !value;
        throw;
    }
    for (TTor* track : tracks) {
        const bool raised = (track->RogatkaGorne() && track->RogatkaGorne()->Podniesione()) ||
                            (track->RogatkaDolne() && track->RogatkaDolne()->Podniesione());
        track->SetStan(raised ? nieaktywny : wolny);
    }
    Repaint();
    RepaintButtons();
}

void TRogatka::Click()
{
    SetPodniesione(!podniesione_);
    PlaySound();
    TElement::Click();
}

void TRogatka::Paint()
{
    TCanvas* canvas = Canvas();
    const int w = Width();
    const int h = Height();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(Rect(0, 0, 2, h));
    if (podniesione_) {
        canvas->Brush()->SetColor(clRed);
        canvas->FillRect(Rect(2, 0, 5, h));
    } else {
        const int bar = std::min(h, 3);
        for (int x = 2; x < w; x += 4) {
            canvas->Brush()->SetColor(((x - 2) / 4) % 2 ? clWhite : clRed);
            canvas->FillRect(Rect(x, 0, std::min(x + 4, w), bar));
        }
    }
    PaintName();
}

const TClassInfo* TRogatka::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TRogatka::StaticClass()
{
    static const TClassInfo info("TRogatka", &TElement::StaticClass(), &NewComponent<TRogatka>,
                                 {
                                     PublishBoolean<&TRogatka::Podniesione, &TRogatka::SetPodniesione>("Podniesione"),
                                 });
    return info;
}

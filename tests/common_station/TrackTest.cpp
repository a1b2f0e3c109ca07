// Tracks joining their points, switches with their legs and the switch taken
// along across a connecting track, barriers with the track's state, and the
// crossing light that follows its tracks.
#include <gtest/gtest.h>

#include "tests/common_station/StationTestUtil.h"

namespace {

class Tracks : public testing::Test {
protected:
    void SetUp() override { EnsureStationTestUnits(); }
};

TEST_F(Tracks, ATrackJoinsItsEndsAndLiesOverThem)
{
    TTestStation station;
    auto* a = station.Add<TPunktTorowy>("A", 10, 20, 30, 16);
    auto* b = station.Add<TPunktTorowy>("B", 100, 24, 30, 16);
    auto* t = station.Add<TTor>("T");
    EXPECT_EQ(t->EndPoint(0).x, -1);
    EXPECT_EQ(t->EndPoint(1).y, -1);
    t->SetLewyPunkt(a);
    EXPECT_EQ(a->RightTrack(), t);
    EXPECT_EQ(a->LeftTrack(), nullptr);
    EXPECT_EQ(t->EndPoint(0).x, 39);
    EXPECT_EQ(t->EndPoint(0).y, 27);
    EXPECT_EQ(t->EndPoint(1).x, -1);
    t->SetPrawyPunkt(b);
    EXPECT_EQ(b->LeftTrack(), t);
    EXPECT_EQ(t->EndPoint(1).x, 100);
    EXPECT_EQ(t->EndPoint(1).y, 31);
    EXPECT_EQ(t->BoundsRect().left, 8);
    EXPECT_EQ(t->BoundsRect().top, 18);
    EXPECT_EQ(t->BoundsRect().right, 132);
    EXPECT_EQ(t->BoundsRect().bottom, 42);
    EXPECT_EQ(t->GetTrack(0), a);
    EXPECT_EQ(t->GetTrack(1), b);
    EXPECT_EQ(a->GetTrack(1), t);
    EXPECT_EQ(b->GetTrack(0), t);

    // Another end: the old point lets the track go.
    auto* c = station.Add<TPunktTorowy>("C", 200, 24, 30, 16);
    t->SetPrawyPunkt(c);
    EXPECT_EQ(b->LeftTrack(), nullptr);
    EXPECT_EQ(c->LeftTrack(), t);
    delete t;
    EXPECT_EQ(a->RightTrack(), nullptr);
    EXPECT_EQ(c->LeftTrack(), nullptr);
}

// Two switches of a crossover: ZW1 (one to two) on the upper line, its
// branch over the connecting track TL to ZW2 (two to one) on the lower line.
struct Crossover {
    TTestStation station;
    TQuiet<TZwrotnica>* zw1;
    TQuiet<TZwrotnica>* zw2;
    TPunkt *a, *b, *c, *d;
    TTor *ta, *tb, *tl, *tc, *td;
    Crossover()
    {
        a = station.Add<TPunktTorowy>("A", 10, 10, 20, 16);
        zw1 = station.Add<TQuiet<TZwrotnica>>("ZW1", 50, 9);
        b = station.Add<TPunktTorowy>("B", 90, 10, 20, 16);
        c = station.Add<TPunktTorowy>("C", 50, 60, 20, 16);
        zw2 = station.Add<TQuiet<TZwrotnica>>("ZW2", 90, 59);
        zw2->SetTyp(DwaNaJeden);
        zw2->SetLewyUkladRysowania(urGora);
        d = station.Add<TPunktTorowy>("D", 130, 60, 20, 16);
        ta = station.Join("TA", a, zw1);
        tb = station.Join("TB", zw1, b);
        tl = station.Join("TL", zw1, zw2, dol, dol);
        tl->Lacznikowy = true;
        tc = station.Join("TC", c, zw2);
        td = station.Join("TD", zw2, d);
    }
};

TEST_F(Tracks, SwitchLegsAndTheTracksThatLeadBack)
{
    Crossover x;
    EXPECT_EQ(x.zw1->BranchTrack(), x.tl);
    EXPECT_EQ(x.zw2->BranchTrack(), x.tl);
    const struct {
        tZwrStatus status;
        const TPunkt *zw1Left, *zw1Right, *zw2Left, *zw2Right;
        const TPunkt *tlLeft, *tlRight, *tbLeft, *tcRight;
    } rows[] = {
        {gora, x.ta, x.tb, x.tc, x.td, nullptr, nullptr, x.zw1, x.zw2},
        {dol, x.ta, x.tl, x.tl, x.td, x.zw1, x.zw2, nullptr, nullptr},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.status == gora ? "gora" : "dol");
        x.zw1->FlipStatus(x.zw1);
        if (x.zw1->Status() != r.status)
            x.zw1->FlipStatus(x.zw1);
        ASSERT_EQ(x.zw2->Status(), r.status);
        EXPECT_EQ(x.zw1->GetTrack(0), r.zw1Left);
        EXPECT_EQ(x.zw1->GetTrack(1), r.zw1Right);
        EXPECT_EQ(x.zw2->GetTrack(0), r.zw2Left);
        EXPECT_EQ(x.zw2->GetTrack(1), r.zw2Right);
        EXPECT_EQ(x.tl->GetTrack(0), r.tlLeft);
        EXPECT_EQ(x.tl->GetTrack(1), r.tlRight);
        EXPECT_EQ(x.tb->GetTrack(0), r.tbLeft);
        EXPECT_EQ(x.tc->GetTrack(1), r.tcRight);
        EXPECT_EQ(x.ta->GetTrack(1), x.zw1);  // the common leg leads back always
    }
    // The connecting track runs from ZW1's branch end (the bottom of its
    // right side) to ZW2's (the top of its left side).
    EXPECT_EQ(x.tl->EndPoint(0).x, 50 + 16);
    EXPECT_EQ(x.tl->EndPoint(0).y, 9 + 13);
    EXPECT_EQ(x.tl->EndPoint(1).x, 90);
    EXPECT_EQ(x.tl->EndPoint(1).y, 59 + 1);
}

TEST_F(Tracks, FlippingASwitchTakesTheOtherAlong)
{
    const struct {
        const char* name;
        bool connecting;
        tZwrTyp zw2Type;
        bool flipSecond;
        bool followed;
    } rows[] = {
        {"across a connecting track", true, DwaNaJeden, false, true},
        {"the other way", true, DwaNaJeden, true, true},
        {"an ordinary track", false, DwaNaJeden, false, false},
        {"a switch of the same type", true, JedenNaDwa, false, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Crossover x;
        x.tl->Lacznikowy = r.connecting;
        x.zw2->SetTyp(r.zw2Type);
        TQuiet<TZwrotnica>* flipped = r.flipSecond ? x.zw2 : x.zw1;
        TQuiet<TZwrotnica>* other = r.flipSecond ? x.zw1 : x.zw2;
        TEventLog log;
        log.Watch(flipped);
        flipped->FlipStatus(flipped);
        EXPECT_EQ(flipped->Status(), dol);
        EXPECT_EQ(other->Status(), r.followed ? dol : gora);
        EXPECT_EQ(log.modified, 1);
        EXPECT_EQ(flipped->Played, std::vector<std::string>{"pzwr.wav"});
        EXPECT_TRUE(other->Played.empty());
        flipped->Click();
        EXPECT_EQ(flipped->Status(), gora);
        EXPECT_EQ(other->Status(), gora);
        EXPECT_EQ(log.clicks, 1);
    }
}

TEST_F(Tracks, ASwitchOnASetRouteStays)
{
    const struct {
        const char* name;
        tStan zw1, zw2;
        std::string error;
        int zw1Errors, zw2Errors;
    } rows[] = {
        {"set", utwierdzony, wolny,
         "Błąd podczas przestawienia zwrotnicy: Próba przestawienia zwrotnicy na utwierdzonej lub zajętej "
         "drodze.\r\nZW1\r\nZW1",
         2, 0},
        {"occupied", zajety, wolny,
         "Błąd podczas przestawienia zwrotnicy: Próba przestawienia zwrotnicy na utwierdzonej lub zajętej "
         "drodze.\r\nZW1\r\nZW1",
         2, 0},
        // Neither goes when the one taken along may not.
        {"the other one set", wolny, utwierdzony,
         "Błąd podczas przestawienia zwrotnicy: Próba przestawienia zwrotnicy na utwierdzonej lub zajętej "
         "drodze.\r\nZW2\r\nZW1",
         1, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Crossover x;
        x.zw1->SetStan(r.zw1);
        x.zw2->SetStan(r.zw2);
        TEventLog log;
        log.Watch(x.zw1);
        EXPECT_EQ(ErrorOf([&] { x.zw1->FlipStatus(x.zw1); }), r.error);
        EXPECT_EQ(x.zw1->Status(), gora);
        EXPECT_EQ(x.zw2->Status(), gora);
        EXPECT_EQ(x.zw1->ErrorCount(), r.zw1Errors);
        EXPECT_EQ(x.zw2->ErrorCount(), r.zw2Errors);
        EXPECT_EQ(log.modified, 0);
        EXPECT_TRUE(x.zw1->Played.empty());
    }
}

TEST_F(Tracks, BarriersAndTheTrackState)
{
    // lowerHeld: the upper moved while the lower also guards a second track,
    // which is set and so refuses.
    enum Which { upper, lower, alone, lowerHeld };
    const std::string refused = "Nie można podnieść rogatek, gdy tor nie jest wolny!";
    const struct {
        const char* name;
        bool raisedBefore;
        tStan before;
        Which which;
        bool raise;
        bool raisedAfter;
        tStan after;
        std::string error;  // without the barrier's name
    } rows[] = {
        {"raise the upper", false, wolny, upper, true, true, nieaktywny, ""},
        {"raise the lower", false, wolny, lower, true, true, nieaktywny, ""},
        // Both stand down before the state is taken: the track is free.
        {"lower the upper", true, nieaktywny, upper, false, false, wolny, ""},
        {"lower the lower", true, nieaktywny, lower, false, false, wolny, ""},
        {"raise the upper on a set track", false, utwierdzony, upper, true, false, utwierdzony, refused},
        {"raise the lower on an occupied track", false, zajety, lower, true, false, zajety, refused},
        {"raise the upper on an occupied track", false, zajety, upper, true, false, zajety, refused},
        // An unchanged value changes nothing and refuses nothing.
        {"lower the lowered lower on a set track", false, utwierdzony, lower, false, false, utwierdzony, ""},
        {"raise the raised upper", true, nieaktywny, upper, true, true, nieaktywny, ""},
        {"a track with one barrier", false, wolny, alone, true, true, nieaktywny, ""},
        {"a track with one barrier, lowered", true, nieaktywny, alone, false, false, wolny, ""},
        // The lower one refuses: the upper goes back to where it stood.
        {"raise the upper, the lower held by a set track", false, wolny, lowerHeld, true, false, wolny, refused},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TTestStation station;
        auto* a = station.Add<TPunktTorowy>("A", 10, 10, 20, 16);
        auto* b = station.Add<TPunktTorowy>("B", 100, 10, 20, 16);
        auto* t = station.Join("T", a, b);
        auto* rg = station.Add<TRogatka>("RG", 50, 0);
        auto* rd = station.Add<TRogatka>("RD", 50, 30);
        TEventLog log;
        log.Watch(rg);
        log.Watch(rd);
        if (!r.raisedBefore) {
            rg->SetPodniesione(false);
            rd->SetPodniesione(false);
        }
        t->SetRogatkaGorne(rg);
        t->SetRogatkaDolne(r.which == alone ? nullptr : rd);
        t->SetStan(r.before);
        if (r.which == lowerHeld) {
            auto* c = station.Add<TPunktTorowy>("C", 10, 60, 20, 16);
            auto* d = station.Add<TPunktTorowy>("D", 100, 60, 20, 16);
            TTor* held = station.Join("T2", c, d);
            held->SetRogatkaDolne(rd);
            held->SetStan(utwierdzony);
        }
        TRogatka* moved = r.which == lower ? rd : rg;
        TRogatka* refuser = r.which == lowerHeld ? rd : moved;
        const std::string error = ErrorOf([&] { moved->SetPodniesione(r.raise); });
        EXPECT_EQ(error, r.error.empty() ? "" : r.error + "\r\n" + refuser->Name());
        EXPECT_EQ(moved->Podniesione(), r.raisedAfter);
        if (r.which != alone) {
            EXPECT_EQ((moved == rg ? rd : rg)->Podniesione(), r.raisedAfter);
        }
        EXPECT_EQ(t->Stan(), r.after);
        EXPECT_EQ(refuser->ErrorCount(), r.error.empty() ? 0 : 1);
        EXPECT_EQ(log.errors.size(), r.error.empty() ? 0u : 1u);
    }
}

TEST_F(Tracks, AClickOnABarrierTogglesItWithItsSound)
{
    TTestStation station;
    auto* a = station.Add<TPunktTorowy>("A", 10, 10, 20, 16);
    auto* b = station.Add<TPunktTorowy>("B", 100, 10, 20, 16);
    auto* t = station.Join("T", a, b);
    auto* rg = station.Add<TQuiet<TRogatka>>("RG", 50, 0);
    t->SetRogatkaGorne(rg);
    EXPECT_TRUE(rg->Podniesione());
    EXPECT_EQ(rg->Width(), 16);
    EXPECT_EQ(rg->Height(), 4);
    TEventLog log;
    log.Watch(rg);
    rg->Click();
    EXPECT_FALSE(rg->Podniesione());
    EXPECT_EQ(t->Stan(), wolny);
    rg->Click();
    EXPECT_TRUE(rg->Podniesione());
    EXPECT_EQ(t->Stan(), nieaktywny);
    EXPECT_EQ(rg->Played, (std::vector<std::string>{"pzwr.wav", "pzwr.wav"}));
    EXPECT_EQ(log.clicks, 2);
}

TEST_F(Tracks, TheCrossingLightBlinksWhileItsTrackIsSetOrOccupied)
{
    TTestStation station;
    auto* a = station.Add<TPunktTorowy>("A", 10, 10, 20, 16);
    auto* b = station.Add<TPunktTorowy>("B", 100, 10, 20, 16);
    auto* c = station.Add<TPunktTorowy>("C", 200, 10, 20, 16);
    auto* t1 = station.Join("T1", a, b);
    auto* t2 = station.Join("T2", b, c);
    auto* light = station.Add<TPrzejazd>("PR", 60, 0, 16, 25);
    t1->SetPrzejazdGorne(light);
    t2->SetPrzejazdDolne(light);
    const struct {
        tStan t1, t2;
        bool blinks;
    } rows[] = {
        {utwierdzony, wolny, true}, {zajety, wolny, true}, {wolny, wolny, false},
        {wolny, zajety, true},      {nieaktywny, wolny, false}, {utwierdzony, utwierdzony, true},
        {wolny, utwierdzony, true}, {wolny, wolny, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.t1 << " " << r.t2);
        t1->SetStan(r.t1);
        t2->SetStan(r.t2);
        EXPECT_EQ(light->Migajacy(), r.blinks);
    }
}

} // namespace

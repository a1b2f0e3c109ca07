// Signals: the operator's command by state and status, S2 over a set route
// with its refusals and the train it lets go, the substitute signal's timer,
// and the size a signal paints in.
#include <gtest/gtest.h>

#include "classlib/ExtCtrls.h"
#include "tests/common_station/StationTestUtil.h"

namespace {

const char* const SzQuestion =
    "Czy ustawić sygnał zastępczy Sz?\r\n\r\nPodanie Sz jest możliwe tylko w wyjątkowych wypadkach i każde takie "
    "zdarzenie jest rejestrowane w dzienniku.";

std::string Refused(const std::string& reason)
{
    return "NIe można podać sygnału na semaforze.\r\n" + reason +
           "\r\nAby podać sygnał zastępczy Sz, naciśnij przycisk sterowania semaforem.";
}

class Signals : public testing::Test {
protected:
    void SetUp() override { EnsureStationTestUnits(); }
};

TEST_F(Signals, OperatorCommand)
{
    enum From { fromSignal, fromButton };
    const struct {
        tStan stan;
        tSemStatus before;
        From from;
        int answer;  // to the substitute-signal question; 0: not asked
        tSemStatus after;
        std::string error;  // without the signal's name
        bool modified;      // OnModified and the sound
    } rows[] = {
        {nieaktywny, czerwony, fromSignal, 0, czerwony, Refused("Próba ustawienia semafora na torze wyłączonym."), false},
        {nieaktywny, czerwony, fromButton, mrYes, bialy, "Podano sygnał zastępczy.", false},
        {nieaktywny, czerwony, fromButton, mrCancel, czerwony, "", true},
        {nieaktywny, zielony, fromButton, mrCancel, zielony, "", true},
        {wolny, czerwony, fromSignal, 0, czerwony, Refused("Nie utwierdzono drogi."), false},
        {wolny, czerwony, fromButton, mrYes, bialy, "Podano sygnał zastępczy.", false},
        {wolny, czerwony, fromButton, mrCancel, czerwony, "", true},
        {wolny, bialy, fromSignal, 0, czerwony, "", true},
        {wolny, zielony, fromSignal, 0, zielony, "Próba ustawienia semafora bez drogi.", false},
        {wolny, zielony, fromButton, 0, zielony, "Próba ustawienia semafora bez drogi.", false},
        {utwierdzony, zielony, fromButton, 0, czerwony, "", true},
        {utwierdzony, bialy, fromSignal, 0, czerwony, "", true},
        {utwierdzony, czerwony, fromSignal, 0, zielony, "", true},  // S2 with nothing in the way
        {utwierdzony, czerwony, fromButton, 0, zielony, "", true},
        {zajety, czerwony, fromSignal, 0, czerwony, Refused("Tor jest zajęty."), false},
        {zajety, czerwony, fromButton, mrYes, bialy, "Podano sygnał zastępczy.", false},
        {zajety, czerwony, fromButton, mrCancel, czerwony, "", true},
        {zajety, bialy, fromButton, 0, czerwony, "", true},
        {zajety, zielony, fromSignal, 0, zielony, "Próba przestawienia semafora na zajętym torze.", false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "state " << r.stan << " status " << r.before << " from "
                                        << (r.from == fromSignal ? "signal" : "button") << " answer " << r.answer);
        TTestStation station;
        auto* signal = station.Add<TQuiet<TSemafor>>("S1");
        auto* button = station.Add<TPunktButton>("bS1");
        signal->SetStan(r.stan);
        signal->SetStatus(r.before);
        TEventLog log;
        log.Watch(signal);
        TDialogAnswers answers(r.answer ? std::initializer_list<int>{r.answer} : std::initializer_list<int>{});
        TObject* sender = r.from == fromSignal ? static_cast<TObject*>(signal) : button;
        const std::string error = ErrorOf([&] { signal->OperatorCommand(sender); });
        EXPECT_EQ(error, r.error.empty() ? "" : r.error + "\r\nS1");
        EXPECT_EQ(signal->Status(), r.after);
        EXPECT_EQ(signal->ErrorCount(), r.error.empty() ? 0 : 1);
        EXPECT_EQ(log.errors.size(), r.error.empty() ? 0u : 1u);
        EXPECT_EQ(signal->Stan(), r.stan);
        if (r.answer) {
            ASSERT_EQ(answers.Asked.size(), 1u);
            EXPECT_EQ(answers.Asked[0].Text, SzQuestion);
            EXPECT_EQ(answers.Asked[0].DlgType, mtWarning);
            EXPECT_EQ(answers.Asked[0].Buttons, (TMsgDlgButtons{mbYes, mbCancel}));
        } else {
            EXPECT_TRUE(answers.Asked.empty());
        }
        EXPECT_EQ(log.modified, r.modified ? 1 : 0);
        EXPECT_EQ(signal->Played, r.modified ? std::vector<std::string>{"pzsem.wav"} : std::vector<std::string>{});
    }
}

// A route, all set: W1 (entry, announced at Z1) - T1 - S2 - T2 - S1 - T3 - P1
// - T4 - P2. S1 is the signal under test; its waiting trains stand on its
// right (T3, or P1 beyond it) for stLewy, on its left for stPrawy.
struct Route {
    TTestStation station;
    TZapowiedz* z1;
    TWlot* w1;
    TSemafor* s2;
    TQuiet<TSemafor>* s1;
    TPunkt* p1;
    TPunkt* p2;
    TTor* t[5];
    TPunktButton* button;

    explicit Route(TComponent* (*p1Kind)(TComponent*) = NewComponent<TPunktTorowy>)
    {
        z1 = station.Add<TZapowiedz>("Z1", 10, 10, 20, 10);
        w1 = station.Add<TWlot>("W1", 10, 50, 30, 13);
        w1->SetZapowiedz(z1);
        s2 = station.Add<TSemafor>("S2", 60, 50);
        s2->SetTyp(stPrawy);
        s1 = station.Add<TQuiet<TSemafor>>("S1", 110, 50);
        p1 = static_cast<TPunkt*>(p1Kind(station.Form()));
        p1->SetName("P1");
        p1->SetBounds(160, 50, 30, 16);
        p1->SetParent(station.Form());
        p2 = station.Add<TPunktTorowy>("P2", 220, 50, 30, 16);
        t[0] = nullptr;
        t[1] = station.Join("T1", w1, s2);
        t[2] = station.Join("T2", s2, s1);
        t[3] = station.Join("T3", s1, p1);
        t[4] = station.Join("T4", p1, p2);
        for (TPunkt* e : std::initializer_list<TPunkt*>{w1, t[1], s2, t[2], s1, t[3], p1, t[4], p2})
            e->SetStan(utwierdzony);
        button = station.Add<TPunktButton>("bS1");
    }
};

std::unique_ptr<TPociag> Train(const char* number, int direction, int state = 1)
{
    auto t = std::make_unique<TPociag>();
    t->Strings[4] = number;
    t->Kierunek = static_cast<std::uint8_t>(direction);
    t->StanPociagu = static_cast<std::uint8_t>(state);
    return t;
}

TEST_F(Signals, S2RefusalsOnTheRoute)
{
    // The report of a failed S2 runs straight on into the reason.
    const std::string s2Prefix = "Nie można podać sygnału S2 na semaforze S1.";
    auto announced = Train("ex 7", 1);
    const std::string opposing = "Nie można podać sygnału S2 na semaforze wyjazdowym, gdy z przeciwnego kierunku po "
                                 "tym samym torze zmierza pociąg " +
                                 announced->Description() + ".";
    const std::string oppositeSignal = "Nie można podać sygnału S2 na semaforze, gdy dozwolona jest droga po tym "
                                       "samym odstępie w kierunku przeciwnym na semaforze S2.";
    enum Obstacle { none, announcedTrain, greenSignal, announcedOtherSide, routeBroken, routeLoops };
    const struct {
        const char* name;
        Obstacle obstacle;
        bool fromButton;
        int answer;
        tSemStatus after;
        std::string error;
        int errors;
    } rows[] = {
        {"clear", none, false, 0, zielony, "", 0},
        // Refused also when the signal itself was clicked: a green S2 would
        // show the way into the train coming the other way.
        {"announced train, from the signal", announcedTrain, false, 0, czerwony,
         s2Prefix + Refused(opposing) + "\r\nS1\r\nS1", 2},
        {"announced train, from a button, Yes", announcedTrain, true, mrYes, bialy,
         s2Prefix + "Podano sygnał zastępczy.\r\nS1\r\nS1", 2},
        {"announced train, from a button, Cancel", announcedTrain, true, mrCancel, czerwony, "", 0},
        {"opposite signal green, from the signal", greenSignal, false, 0, czerwony,
         s2Prefix + Refused(oppositeSignal) + "\r\nS1\r\nS1", 2},
        {"opposite signal green, from a button, Cancel", greenSignal, true, mrCancel, czerwony, "", 0},
        {"opposite signal green, from a button, Yes", greenSignal, true, mrYes, bialy,
         s2Prefix + "Podano sygnał zastępczy.\r\nS1\r\nS1", 2},
        {"an entry of the other side announces", announcedOtherSide, false, 0, zielony, "", 0},
        {"the walk ends at a track that is not set", routeBroken, false, 0, zielony, "", 0},
        // W1 joined back to S2 on its left: the walk comes round to S2 again.
        {"the walk ends where the route comes back to itself", routeLoops, false, 0, zielony, "", 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Route route;
        auto waiting = Train("os 1", 0);  // would leave under a green S1
        route.t[3]->SetPociag(waiting.get());
        if (r.obstacle == announcedTrain || r.obstacle == announcedOtherSide || r.obstacle == routeBroken)
            route.z1->SetPociag(announced.get());
        if (r.obstacle == announcedOtherSide)
            route.w1->SetTyp(stPrawy);
        if (r.obstacle == routeBroken)
            route.t[1]->SetStan(wolny);
        if (r.obstacle == greenSignal)
            route.s2->SetStatus(zielony);
        if (r.obstacle == routeLoops)
            route.station.Join("T5", route.s2, route.w1)->SetStan(utwierdzony);
        TEventLog log;
        log.Watch(route.s1);
        TDialogAnswers answers(r.answer ? std::initializer_list<int>{r.answer} : std::initializer_list<int>{});
        TObject* sender = r.fromButton ? static_cast<TObject*>(route.button) : route.s1;
        EXPECT_EQ(ErrorOf([&] { route.s1->OperatorCommand(sender); }), r.error);
        EXPECT_EQ(route.s1->Status(), r.after);
        EXPECT_EQ(route.s1->ErrorCount(), r.errors);
        EXPECT_EQ(answers.Asked.size(), r.answer ? 1u : 0u);
        // Only a green S1 lets the train go; the substitute signal does not.
        EXPECT_EQ(waiting->StanPociagu, r.after == zielony ? 2 : 1);
        // A cancelled refusal ends the attempt like any other command.
        EXPECT_EQ(log.modified, r.error.empty() ? 1 : 0);
        route.t[3]->SetPociag(nullptr);
        route.z1->SetPociag(nullptr);
    }
}

TEST_F(Signals, S2LetsTheWaitingTrainGo)
{
    const struct {
        const char* name;
        tSemType type;
        const char* at;  // T3, P1, P2 or T2
        TComponent* (*p1Kind)(TComponent*);
        int direction;
        int state;
        bool passing;
        bool stops;
        int after;
    } rows[] = {
        {"on the track beside the signal", stLewy, "T3", NewComponent<TPunktTorowy>, 0, 1, false, false, 2},
        {"the other direction", stLewy, "T3", NewComponent<TPunktTorowy>, 1, 1, false, false, 1},
        {"not waiting", stLewy, "T3", NewComponent<TPunktTorowy>, 0, 0, false, false, 0},
        {"at the track point beyond", stLewy, "P1", NewComponent<TPunktTorowy>, 0, 1, false, false, 2},
        {"at a track point where it may stop", stLewy, "P1", NewComponent<TPunktTorowy>, 0, 1, false, true, 1},
        {"at a platform", stLewy, "P1", NewComponent<TPeron>, 0, 1, false, false, 1},
        {"passing a platform", stLewy, "P1", NewComponent<TPeron>, 0, 1, true, false, 2},
        {"two elements on", stLewy, "P2", NewComponent<TPunktTorowy>, 0, 1, false, false, 1},
        {"on the left of a right signal", stPrawy, "T2", NewComponent<TPunktTorowy>, 1, 1, false, false, 2},
        {"on the right of a right signal", stPrawy, "T3", NewComponent<TPunktTorowy>, 1, 1, false, false, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Route route(r.p1Kind);
        route.s1->SetTyp(r.type);
        auto train = Train("os 1", r.direction, r.state);
        train->BoolFields[5] = r.passing;
        train->BoolFields[6] = r.stops;
        auto* at = static_cast<TPunkt*>(route.station.Form()->FindComponent(r.at));
        at->SetPociag(train.get());
        TDialogAnswers answers;
        route.s1->OperatorCommand(route.s1);
        EXPECT_EQ(route.s1->Status(), zielony);
        EXPECT_EQ(train->StanPociagu, r.after);
        at->SetPociag(nullptr);
    }
}

TEST_F(Signals, TheSubstituteSignalTurnsRedAfter61Ticks)
{
    TTestStation station;
    auto* signal = station.Add<TSemafor>("S1", 10, 10);
    signal->SetStan(wolny);
    EXPECT_EQ(signal->BlinkTimer(), nullptr);
    signal->SetStatus(bialy);
    TTimer* timer = signal->BlinkTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->Owner(), signal);
    EXPECT_EQ(timer->Interval(), 500u);
    EXPECT_EQ(signal->BlinkCount(), 60);
    signal->SetStatus(bialy);
    EXPECT_EQ(signal->BlinkTimer(), timer);

    // The lamp: white on an even count, silver on an odd one.
    auto lampAt = [&] { return PaintForm(station.Form())->Canvas()->Pixels(10 + 5, 10 + 3); };
    EXPECT_EQ(lampAt(), clWhite);
    for (int tick = 1; tick <= 60; ++tick) {
        timer->OnTimer(timer);
        ASSERT_EQ(signal->Status(), bialy) << "tick " << tick;
        ASSERT_EQ(signal->BlinkCount(), 60 - tick);
        if (tick <= 2) {
            EXPECT_EQ(lampAt(), tick % 2 ? clSilver : clWhite) << "tick " << tick;
        }
    }
    timer->OnTimer(timer);
    EXPECT_EQ(signal->Status(), czerwony);
    EXPECT_EQ(signal->BlinkTimer(), nullptr);
    EXPECT_EQ(lampAt(), clRed);

    // Any other status stops the timer.
    signal->SetStatus(bialy);
    ASSERT_NE(signal->BlinkTimer(), nullptr);
    signal->SetStatus(zielony);
    EXPECT_EQ(signal->BlinkTimer(), nullptr);
    EXPECT_EQ(lampAt(), clLime);
}

TEST_F(Signals, ASignalTakesItsSizeWhenFirstPainted)
{
    TTestStation station;
    auto* signal = station.Add<TSemafor>("S1", 10, 10);
    struct Resizes {
        int n = 0;
        void Resized(TObject*) { ++n; }
    } resizes;
    signal->OnResize = TNotifyEvent(&resizes, &Resizes::Resized);
    EXPECT_EQ(signal->Width(), 14);
    EXPECT_EQ(signal->Height(), 13);
    PaintForm(station.Form());  // paints twice
    EXPECT_EQ(signal->Height(), 15);
    EXPECT_EQ(resizes.n, 1);
}

} // namespace

// Points: their state shown on the button, trains arriving and leaving (the
// split train, the hint, the entry's sound, the announcement point), the
// double click that gives the departure, what the points paint, and the
// references that go with the components they name.
#include <gtest/gtest.h>

#include "tests/common_station/StationTestUtil.h"

namespace {

class Points : public testing::Test {
protected:
    void SetUp() override { EnsureStationTestUnits(); }
    void TearDown() override { CurrentTime = 0; }
};

std::unique_ptr<TPociag> Train(const char* number, int direction = 0, int state = 1)
{
    auto t = std::make_unique<TPociag>();
    t->Strings[0] = "Brennów";
    t->Strings[1] = "Kelce";
    t->Strings[2] = "Lumów";
    t->Strings[4] = number;
    t->Strings[9] = "2";
    t->DateTimes[0] = EncodeTime(7, 5, 0, 0);
    t->DateTimes[1] = EncodeTime(7, 10, 0, 0);
    t->Kierunek = static_cast<std::uint8_t>(direction);
    t->StanPociagu = static_cast<std::uint8_t>(state);
    return t;
}

// Counts the repaints of a button.
class TCountingButton : public TPunktButton {
public:
    using TPunktButton::TPunktButton;
    int repaints = 0;
    void Repaint() override
    {
        ++repaints;
        TPunktButton::Repaint();
    }
};

TEST_F(Points, TheStateShowsOnTheElementsButtons)
{
    TTestStation station;
    auto* p = station.Add<TPunkt>("P1", 10, 10, 20, 16);
    EXPECT_EQ(p->Stan(), wolny);
    EXPECT_EQ(p->Pojemnosc(), 1);
    auto* first = station.Add<TCountingButton>("b1");
    auto* second = station.Add<TCountingButton>("b2");
    first->SetElement(p);
    second->SetElement(p);
    EXPECT_EQ(p->LinkedButton(), second);
    const struct {
        tStan stan;
        TColor color;
    } rows[] = {{utwierdzony, clGreen}, {zajety, clRed}, {nieaktywny, clNavy}, {wolny, clGray}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.stan);
        first->repaints = second->repaints = 0;
        p->SetStan(r.stan);
        EXPECT_EQ(p->StateColor(), r.color);
        // The linked button takes the state colour; every button showing the
        // element repaints.
        EXPECT_EQ(second->BorderColor(), r.color);
        EXPECT_EQ(second->ActiveBorderColor(), r.color);
        EXPECT_EQ(second->Stan(), r.stan);
        EXPECT_GE(first->repaints, 1);
        EXPECT_GE(second->repaints, 1);
    }
    first->repaints = 0;
    p->SetStan(wolny);
    EXPECT_EQ(first->repaints, 0);
}

TEST_F(Points, TrainsArriveAndLeave)
{
    const struct {
        const char* kind;
        TComponent* (*make)(TComponent*);
        const char* elementy;
        const char* hint;
    } rows[] = {
        {"plain point", NewComponent<TPunkt>, "<7:05 Brennów", "P: 7:05/7:10 «os 3421 Brennów Kelce-Lumów [2] -"},
        {"platform", NewComponent<TPeron>, "<7:05 2", "P: 7:05/7:10 «os 3421 Brennów Kelce-Lumów [2] -"},
        {"track point", NewComponent<TPunktTorowy>, "<7:05 2", "P: 7:05/7:10 «os 3421 Brennów Kelce-Lumów [2] -"},
        {"entry", NewComponent<TWlot>, "<7:05 2", "P: 7:05/7:10 «os 3421 Brennów Kelce-Lumów [2] -"},
        {"siding", NewComponent<TBocznica>, "<7:05 Brennów", "P: 7:05/7:10 «os 3421 Brennów Kelce-Lumów [2] -"},
        {"announcement point", NewComponent<TZapowiedz>, "<7:05, 2", "7:05/7:10 «os 3421 Brennów Kelce-Lumów [2] -"},
        {"track", NewComponent<TTor>, "<7:05 Brennów", "P: 7:05/7:10 «os 3421 Brennów Kelce-Lumów [2] -"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.kind);
        TTestStation station;
        auto* p = static_cast<TPunkt*>(r.make(station.Form()));
        p->SetName("P");
        auto train = Train("os 3421");
        p->SetPociag(train.get());
        EXPECT_EQ(p->Pociag(), train.get());
        EXPECT_EQ(p->Stan(), zajety);
        EXPECT_EQ(p->Elementy(), r.elementy);
        EXPECT_EQ(p->Hint(), r.hint);
        EXPECT_FALSE(train->Split());
        EXPECT_FALSE(p->Font()->Style().Contains(fsBold));
        p->SetPociag(nullptr);
        EXPECT_EQ(p->Stan(), wolny);
        EXPECT_EQ(p->Elementy(), "");
        EXPECT_EQ(p->Hint(), dynamic_cast<TZapowiedz*>(p) ? "" : "P");
    }
}

TEST_F(Points, ATrainJoinsWhatStandsAtThePoint)
{
    const struct {
        const char* standing;
        int direction;
        const char* number;
        bool split;
    } rows[] = {
        {"ex", 0, "ex 12", true},
        {"ex", 1, "12 ex", true},
        {"", 0, "12", false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "'" << r.standing << "' direction " << r.direction);
        TTestStation station;
        auto* p = station.Add<TPunktTorowy>("P", 10, 10, 30, 16);
        p->SetElementy(r.standing);
        auto train = Train("12", r.direction);
        p->SetPociag(train.get());
        EXPECT_EQ(train->Strings[4], r.number);
        EXPECT_EQ(train->Split(), r.split);
        EXPECT_EQ(p->Elementy(), train->ShortText(1));
        // A train that replaces another at an occupied point joins nothing.
        auto next = Train("13", r.direction);
        p->SetPociag(next.get());
        EXPECT_EQ(next->Strings[4], "13");
        EXPECT_EQ(p->Stan(), zajety);
        p->SetPociag(nullptr);
    }
}

TEST_F(Points, EntriesSoundForTrainsAndAnnouncementPointsIgnoreARepeat)
{
    TTestStation station;
    auto* entry = station.Add<TQuiet<TWlot>>("W1", 10, 10, 30, 13);
    EXPECT_EQ(entry->Color(), clGray);
    EXPECT_EQ(entry->RodzajWlotu(), rwWlot);
    TStringList directions;
    directions.Add("Lumów");
    directions.Add("Kelce");
    entry->SetKierunkiJazdy(&directions);
    EXPECT_EQ(entry->KierunkiJazdy()->Text(), "Kelce\r\nLumów\r\n");  // a sorted copy
    EXPECT_EQ(directions.Strings(0), "Lumów");
    auto train = Train("os 1");
    auto manoeuvre = Train("os 2");
    manoeuvre->BoolFields[3] = true;
    entry->SetPociag(manoeuvre.get());
    entry->SetPociag(nullptr);
    entry->SetPociag(train.get());
    entry->SetPociag(nullptr);
    EXPECT_EQ(entry->Played, std::vector<std::string>{"pipipi.wav"});

    auto* z = station.Add<TQuiet<TZapowiedz>>("Z1", 10, 40, 20, 10);
    z->SetPociag(train.get());
    const std::string hint = z->Hint();
    EXPECT_EQ(hint, train->Description());
    train->Strings[8] = "opóźniony";
    z->SetPociag(train.get());
    EXPECT_EQ(z->Hint(), hint);
    EXPECT_TRUE(z->Played.empty());
    z->SetPociag(nullptr);
    EXPECT_EQ(z->Hint(), "");
}

TEST_F(Points, ALateTrainIsShownBold)
{
    const struct {
        bool departing;
        int hour, minute;
        bool bold;
    } rows[] = {
        {false, 7, 6, true}, {false, 7, 5, false}, {false, 0, 0, false},
        {true, 7, 6, false}, {true, 7, 11, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "departing " << r.departing << " at " << r.hour << ":" << r.minute);
        TTestStation station;
        auto* p = station.Add<TPeron>("P", 10, 10, 60, 16);
        auto train = Train("os 1");
        train->BoolFields[4] = r.departing;
        CurrentTime = EncodeTime(r.hour, r.minute, 0, 0);
        p->SetPociag(train.get());
        EXPECT_EQ(p->Font()->Style().Contains(fsBold), r.bold);
        p->SetPociag(nullptr);
    }
}

TEST_F(Points, ADoubleClickShowsTheTrainOrGivesItsDeparture)
{
    enum Kind { point, announcement };
    const struct {
        const char* name;
        Kind kind;
        const char* number;  // "": no train
        int state;
        bool manoeuvre;
        int answer;
        std::string question;  // after the point's line and the description
        TMsgDlgType type;
        int after;
    } rows[] = {
        {"no train", point, "", 0, false, 0, "", mtCustom, 0},
        {"departure given", point, "os 1", 2, false, 0, "", mtCustom, 2},
        {"at an announcement point", announcement, "os 1", 1, false, 0, "", mtCustom, 1},
        {"a train, Yes", point, "os 1", 1, false, mrYes, "\r\nDać sygnał do odjazdu?", mtConfirmation, 2},
        {"a train, Cancel", point, "os 1", 1, false, mrCancel, "\r\nDać sygnał do odjazdu?", mtConfirmation, 1},
        {"a manoeuvre, Yes", point, "os 1", 1, true, mrYes, "\r\nDać sygnał do jazdy manewrowej?", mtConfirmation,
         2},
        {"no category letter, Yes", point, "1234", 1, false, mrYes, "\r\nDać sygnał do odjazdu?", mtConfirmation, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TTestStation station;
        TPunkt* p = r.kind == announcement ? static_cast<TPunkt*>(station.Add<TZapowiedz>("P1", 10, 10, 20, 10))
                                           : station.Add<TPeron>("P1", 10, 10, 60, 16);
        p->SetHint("peron pierwszy");
        auto train = Train(r.number, 0, r.state);
        train->BoolFields[3] = r.manoeuvre;
        if (*r.number)
            p->SetPociag(train.get());
        TEventLog log;
        log.Watch(p);
        struct Order {
            TDialogAnswers* answers;
            size_t askedAtDblClick = 99;
            void DblClick(TObject*) { askedAtDblClick = answers->Asked.size(); }
        };
        TDialogAnswers answers(r.answer ? std::initializer_list<int>{r.answer} : std::initializer_list<int>{});
        Order order{&answers};
        p->OnDblClick = TNotifyEvent(&order, &Order::DblClick);
        p->DblClick();
        EXPECT_EQ(order.askedAtDblClick, 0u);  // the event before any dialog
        ASSERT_EQ(answers.Asked.size(), 1u);
        const std::string line = "P1 • " + p->Hint();
        const std::string expected = *r.number ? line + "\r\n" + train->Description() + r.question
                                               : line + "\r\nW tym punkcie nie ma żadnego pociągu.";
        EXPECT_EQ(answers.Asked[0].Text, expected);
        EXPECT_EQ(answers.Asked[0].DlgType, r.type);
        if (r.type == mtConfirmation) {
            EXPECT_EQ(answers.Asked[0].Buttons, (TMsgDlgButtons{mbYes, mbCancel}));
        }
        EXPECT_EQ(train->StanPociagu, r.after);
        p->SetPociag(nullptr);
    }
}

TEST_F(Points, PointsPaintTheirStateTheirTextAndTheirName)
{
    TTestStation station;
    station.Add<TPunkt>("P1", 10, 10, 40, 16);
    station.Add<TPunktTorowy>("PT", 10, 40, 40, 16);
    station.Add<TBocznica>("BO", 10, 70, 40, 16);
    auto* platform = station.Add<TPeron>("PE", 10, 100, 40, 16);
    auto* set = station.Add<TPunkt>("", 150, 10, 40, 16);
    set->SetStan(utwierdzony);
    set->SetElementy("WWW");
    platform->SetTyp(stPrawy);
    auto picture = PaintForm(station.Form());
    const TColor inverted = 0xFF7FFF;  // green, inverted
    const struct {
        const char* what;
        int x, y;
        TColor color;
    } pixels[] = {
        {"a free point is grey", 12, 12, clGray},
        {"a free track point shows its own colour", 12, 42, clWhite},
        {"the track point's route: the upper line", 12, 46, clGray},
        {"the track point's route: inside", 12, 47, clWhite},
        {"the track point's route: inside", 12, 48, clWhite},
        {"the track point's route: the lower line", 12, 49, clGray},
        {"the siding's buffer stop", 11, 75, clBlack},
        {"the siding", 14, 75, clGray},
        {"the platform's edge at the bottom", 20, 115, clBlack},
        {"the platform", 20, 102, clGray},
        {"a set point is green", 151, 11, clGreen},
    };
    for (const auto& p : pixels) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(picture->Canvas()->Pixels(p.x, p.y), p.color) << p.x << "," << p.y;
    }
    // The text inverts the green under its letters, and only there.
    const TRect setRect = set->BoundsRect();
    const int letters = CountColor(*picture, setRect, inverted);
    EXPECT_GT(letters, 10);
    EXPECT_EQ(letters + CountColor(*picture, setRect, clGreen), 40 * 16);
    // Names stand beyond the points, in black: at (width + 3, height - 6)
    // for the plain point; the unnamed point has none.
    EXPECT_GT(CountColor(*picture, Rect(53, 20, 80, 32), clBlack), 5);
    EXPECT_EQ(CountColor(*picture, Rect(193, 10, 230, 32), clBlack), 0);
    TempFolder folder;
    SavePicture(*picture, folder.Path(), "upunkt_points.png");
}

TEST_F(Points, RoutesByState)
{
    TTestStation station;
    TTor* tracks[4];
    for (int i = 0; i < 4; ++i) {
        auto* a = station.Add<TPunktTorowy>("A" + std::to_string(i), 10, 10 + 30 * i, 20, 16);
        auto* b = station.Add<TPunktTorowy>("B" + std::to_string(i), 100, 10 + 30 * i, 20, 16);
        tracks[i] = station.Join("T" + std::to_string(i), a, b);
        tracks[i]->SetStan(static_cast<tStan>(i));
    }
    auto picture = PaintForm(station.Form());
    // Row of the route: top + 7; the lines one above and two below it. At
    // the track's left end (x 29, the point's last column) the route itself
    // is left out.
    const struct {
        tStan stan;
        TColor above, row, below, lower, atEnd;
    } rows[] = {
        {nieaktywny, clWhite, clNavy, clWhite, clWhite, clNavy},
        {wolny, clGray, clWhite, clWhite, clGray, clWhite},
        {utwierdzony, clGreen, clGreen, clGreen, clGreen, clWhite},
        {zajety, clRed, clRed, clRed, clRed, clWhite},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.stan);
        const int y = 10 + 30 * r.stan + 7;
        TCanvas* c = picture->Canvas();
        EXPECT_EQ(c->Pixels(60, y - 1), r.above);
        EXPECT_EQ(c->Pixels(60, y), r.row);
        EXPECT_EQ(c->Pixels(60, y + 1), r.below);
        EXPECT_EQ(c->Pixels(60, y + 2), r.lower);
        EXPECT_EQ(c->Pixels(60, y + 3), clWhite);
        EXPECT_EQ(c->Pixels(29, y), r.atEnd);
        EXPECT_EQ(c->Pixels(30, y), r.row);
    }
}

TEST_F(Points, ReferencesGoWithTheComponentsTheyName)
{
    const char* const names[] = {"A", "B", "T", "RG", "RD", "PR", "Z", "ZR", "bA", "bT"};
    for (const char* gone : names) {
        SCOPED_TRACE(gone);
        TTestStation station;
        auto* a = station.Add<TPunktTorowy>("A", 10, 10, 20, 16);
        auto* b = station.Add<TWlot>("B", 100, 10, 30, 13);
        auto* z = station.Add<TZapowiedz>("Z", 100, 40, 20, 10);
        auto* zr = station.Add<TZapowiedz>("ZR", 130, 40, 20, 10);
        b->SetZapowiedz(z);
        b->SetZapowiedzRozkladu(zr);
        auto* t = station.Join("T", a, b);
        auto* rg = station.Add<TRogatka>("RG", 50, 0);
        auto* rd = station.Add<TRogatka>("RD", 50, 30);
        auto* pr = station.Add<TPrzejazd>("PR", 70, 0, 16, 25);
        t->SetRogatkaGorne(rg);
        t->SetRogatkaDolne(rd);
        t->SetPrzejazdGorne(pr);
        auto* ba = station.Add<TPunktButton>("bA", 10, 200, 60, 36);
        auto* bt = station.Add<TPunktButton>("bT", 80, 200, 60, 36);
        ba->SetElement(a);
        bt->SetElement(t);

        delete station.Form()->FindComponent(gone);
        TForm* f = station.Form();
        auto alive = [f](const char* name) { return f->FindComponent(name) != nullptr; };
        if (alive("T")) {
            EXPECT_EQ(t->LewyPunkt(), alive("A") ? a : nullptr);
            EXPECT_EQ(t->PrawyPunkt(), alive("B") ? b : nullptr);
            EXPECT_EQ(t->RogatkaGorne(), alive("RG") ? rg : nullptr);
            EXPECT_EQ(t->RogatkaDolne(), alive("RD") ? rd : nullptr);
            EXPECT_EQ(t->PrzejazdGorne(), alive("PR") ? pr : nullptr);
            if (!alive("A")) {
                EXPECT_EQ(t->EndPoint(0).x, -1);
            }
        }
        if (alive("A")) {
            EXPECT_EQ(a->RightTrack(), alive("T") ? t : nullptr);
            EXPECT_EQ(a->LinkedButton(), alive("bA") ? ba : nullptr);
        }
        if (alive("B")) {
            EXPECT_EQ(b->Zapowiedz(), alive("Z") ? z : nullptr);
            EXPECT_EQ(b->ZapowiedzRozkladu(), alive("ZR") ? zr : nullptr);
            EXPECT_EQ(b->LeftTrack(), alive("T") ? t : nullptr);
        }
        if (alive("bA")) {
            EXPECT_EQ(ba->Element(), alive("A") ? a : nullptr);
        }
        if (alive("bT")) {
            EXPECT_EQ(bt->Element(), alive("T") ? t : nullptr);
        }

        // What is left works on: states, barriers, buttons, painting.
        TDialogAnswers answers;
        if (alive("T")) {
            t->SetStan(utwierdzony);
            t->SetStan(wolny);
            t->GetTrack(0);
            t->GetTrack(1);
        }
        if (alive("RD"))
            rd->SetPodniesione(false);
        if (alive("RG"))
            rg->SetPodniesione(false);
        if (alive("A")) {
            a->SetStan(zajety);
            a->SetStan(wolny);
            a->GetTrack(1);
        }
        if (alive("bA"))
            ba->Click();
        if (alive("bT"))
            bt->Click();
        PaintForm(station.Form());
    }
}

} // namespace

// The sample station read from its form description: every element joined
// as drawn and shown by a button, and the scenes of its pictures painted with
// known pixels in place.
#include <gtest/gtest.h>

#include <map>

#include "tests/common_station/StationTestUtil.h"
#include "tools/station/StationForm.h"

namespace {

class SampleStation : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureStationTestUnits();
        station = TForm::Create<TStationForm>(nullptr);
    }
    void TearDown() override { station->Free(); }
    TStationForm* station = nullptr;
};

TEST_F(SampleStation, EveryElementIsJoinedAndHasItsButton)
{
    std::map<std::string, int> kinds;
    std::map<const TElement*, int> buttons;
    for (int i = 0; i < station->ComponentCount(); ++i) {
        TComponent* c = station->Components(i);
        kinds[c->ClassName()]++;
        if (auto* b = dynamic_cast<TPunktButton*>(c); b && b->Element()) {
            buttons[b->Element()]++;
            if (!dynamic_cast<TSpecialPunktButton*>(b)) {
                EXPECT_EQ(b->Caption(), b->Element()->Name());
                EXPECT_EQ(b->Name(), "b" + b->Element()->Name());
            }
        }
    }
    const std::map<std::string, int> expected{
        {"TWlot", 2},     {"TZapowiedz", 2}, {"TSemafor", 4},     {"TZwrotnica", 2},         {"TPeron", 2},
        {"TBocznica", 1}, {"TPunktTorowy", 3}, {"TTor", 13},      {"TRogatka", 2},           {"TPrzejazd", 1},
        {"TPunktButton", 32}, {"TSpecialPunktButton", 2},
    };
    EXPECT_EQ(kinds, expected);
    for (int i = 0; i < station->ComponentCount(); ++i)
        if (auto* e = dynamic_cast<TElement*>(station->Components(i))) {
            SCOPED_TRACE(e->Name());
            EXPECT_GE(buttons[e], 1);
        }

    // Tracks lead from point to point along the upper line, and across.
    const char* const upper[] = {"WA", "TA1", "SA1", "TA2", "ZW1", "TA3", "SA2", "TA4", "PE1",
                                 "TA5", "SA3", "TA6", "PTA1", "TA7", "PTA2", "TA8", "SA4", "TA9", "WB"};
    for (size_t i = 0; i + 1 < std::size(upper); ++i) {
        SCOPED_TRACE(upper[i]);
        auto* here = station->Find<TPunkt>(upper[i]);
        auto* next = station->Find<TPunkt>(upper[i + 1]);
        EXPECT_EQ(here->GetTrack(1), next);
        EXPECT_EQ(next->GetTrack(0), here);
    }
    auto* tl = station->Find<TTor>("TL");
    EXPECT_TRUE(tl->Lacznikowy);
    EXPECT_EQ(station->Find<TZwrotnica>("ZW1")->BranchTrack(), tl);
    EXPECT_EQ(station->Find<TZwrotnica>("ZW2")->BranchTrack(), tl);
    auto* ta7 = station->Find<TTor>("TA7");
    EXPECT_EQ(ta7->RogatkaGorne(), station->Find<TRogatka>("RG1"));
    EXPECT_EQ(ta7->RogatkaDolne(), station->Find<TRogatka>("RD1"));
    EXPECT_EQ(ta7->PrzejazdGorne(), station->Find<TPrzejazd>("PR1"));
    EXPECT_EQ(station->Find<TWlot>("WA")->Zapowiedz(), station->Find<TZapowiedz>("ZA1"));
    EXPECT_EQ(station->Find<TWlot>("WB")->ZapowiedzRozkladu(), station->Find<TZapowiedz>("ZB1"));
    EXPECT_EQ(ta7->Stan(), wolny);  // both barriers down
    EXPECT_EQ(station->Find<TSpecialPunktButton>("bInfo")->Caption(), "i");
}

TEST_F(SampleStation, ScenesPaintTheirKnownPixels)
{
    const TColor cyan = 0xFFFF00;  // red, inverted
    const struct {
        const char* scene;
        const char* what;
        int x, y;
        TColor color;
    } pixels[] = {
        {"wolna", "the platform is free", 260, 62, clGray},
        {"wolna", "the entry signal is red", 86, 56, clRed},
        {"wolna", "a free track: its upper line", 200, 59, clGray},
        {"wolna", "a free track: inside", 200, 60, clWhite},
        {"wolna", "the switch's straight leg, set", 132, 59, clGray},
        {"wolna", "the light does not blink", 465, 39, clSilver},
        {"droga", "the platform is on the route", 260, 62, clGreen},
        {"droga", "the track to it", 200, 60, clGreen},
        {"droga", "the exit signal gives S2", 175, 56, clLime},
        {"droga", "the entry signal stays red", 86, 56, clRed},
        {"pociag", "the platform is occupied", 212, 67, clRed},
        {"sz", "the substitute signal, even count", 348, 56, clWhite},
        {"przejazd", "the crossing's track is set", 470, 60, clGreen},
        {"przejazd", "the left lamp after a tick", 465, 39, clRed},
        {"przejazd", "the right lamp", 474, 39, clSilver},
        {"przejazd", "the upper barrier, red", 443, 39, clRed},
        {"przejazd", "the upper barrier, a white stripe", 447, 39, clWhite},
        {"przejazd", "the barrier's post", 440, 45, clBlack},
        {"zwrotnica", "the switch's straight leg, not set", 132, 59, clWhite},
    };
    for (const TStationScene& scene : StationScenes()) {
        SCOPED_TRACE(scene.Name);
        TStationForm* s = TForm::Create<TStationForm>(nullptr);
        scene.Apply(*s);
        auto picture = PaintForm(s);
        for (const auto& p : pixels) {
            if (std::string(p.scene) != scene.Name)
                continue;
            SCOPED_TRACE(p.what);
            EXPECT_EQ(picture->Canvas()->Pixels(p.x, p.y), p.color) << p.x << "," << p.y;
        }
        if (std::string(scene.Name) == "pociag") {
            // The train's short text inverts the platform's red.
            EXPECT_GT(CountColor(*picture, Rect(210, 53, 320, 69), cyan), 20);
        }
        if (std::string(scene.Name) == "sz") {
            EXPECT_EQ(s->Find<TSemafor>("SA3")->ErrorCount(), 1);
        }
        if (std::string(scene.Name) == "zwrotnica") {
            EXPECT_EQ(s->Find<TZwrotnica>("ZW2")->Status(), dol);
        }
        TempFolder folder;
        SavePicture(*picture, folder.Path(), std::string("station-") + scene.Name + ".png");
        s->Free();
    }
}

} // namespace

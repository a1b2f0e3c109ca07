// Operator buttons: what showing an element does to a button, what a click
// does to each kind of element, the strip with the error count, and the two
// special buttons (releasing every set route, more information).
#include <gtest/gtest.h>

#include "tests/common_station/StationTestUtil.h"

namespace {

class Buttons : public testing::Test {
protected:
    void SetUp() override { EnsureStationTestUnits(); }
};

TEST_F(Buttons, ShowingAnElement)
{
    const struct {
        const char* kind;
        TComponent* (*make)(TComponent*);
        bool special;
        const char* caption;
        TColor color;
    } rows[] = {
        {"point", NewComponent<TPunktTorowy>, false, "E1", 14155775},
        {"signal", NewComponent<TSemafor>, false, "E1", 14155775},
        {"switch", NewComponent<TZwrotnica>, false, "E1", 0xE3EDD1},
        {"barrier", NewComponent<TRogatka>, false, "E1", 0xE4FCF2},
        {"crossing light", NewComponent<TPrzejazd>, false, "E1", 0xE4FCF2},
        {"information on a point", NewComponent<TPunktTorowy>, true, "i", 14155775},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.kind);
        TTestStation station;
        auto* e = static_cast<TElement*>(r.make(station.Form()));
        e->SetName("E1");
        TPunktButton* button = r.special ? station.Add<TSpecialPunktButton>("b") : station.Add<TPunktButton>("b");
        if (r.special) {
            static_cast<TSpecialPunktButton*>(button)->SetTYp(tsWiecejInformacji);
        }
        EXPECT_FALSE(button->SingleLine());
        button->SetElement(e);
        EXPECT_EQ(button->Element(), e);
        EXPECT_EQ(e->LinkedButton(), button);
        EXPECT_EQ(button->Caption(), r.caption);
        EXPECT_EQ(button->Color(), r.color);
        // Another element takes the link away from the first.
        auto* other = station.Add<TPunkt>("E2");
        button->SetElement(other);
        EXPECT_EQ(e->LinkedButton(), nullptr);
        EXPECT_EQ(other->LinkedButton(), button);
    }
}

TEST_F(Buttons, AClickOperatesTheElement)
{
    const struct {
        const char* kind;
        TComponent* (*make)(TComponent*);
        tStan stan;
        int answer;
        std::string error;
        const char* after;  // what changed
    } rows[] = {
        {"signal", NewComponent<TSemafor>, wolny, mrCancel, "", "asked"},
        {"signal on a set route", NewComponent<TSemafor>, utwierdzony, 0, "", "green"},
        {"barrier", NewComponent<TRogatka>, wolny, 0, "", "lowered"},
        {"crossing light", NewComponent<TPrzejazd>, wolny, 0, "", "clicked"},
        {"free point", NewComponent<TPunktTorowy>, wolny, 0, "", ""},
        {"set point", NewComponent<TPunktTorowy>, utwierdzony, 0, "Próba przestawienia stanu punktu.\r\nE1", ""},
        {"occupied point", NewComponent<TPeron>, zajety, 0, "Próba przestawienia stanu punktu.\r\nE1", ""},
        {"switch", NewComponent<TZwrotnica>, wolny, 0, "", "flipped"},
        {"set switch", NewComponent<TZwrotnica>, utwierdzony, 0, "Próba przestawienia stanu punktu.\r\nE1", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.kind);
        TTestStation station;
        auto* e = static_cast<TElement*>(r.make(station.Form()));
        e->SetName("E1");
        if (auto* p = dynamic_cast<TPunkt*>(e))
            p->SetStan(r.stan);
        auto* button = station.Add<TPunktButton>("b");
        button->SetElement(e);
        TEventLog elementLog;
        elementLog.Watch(e);
        struct Clicks {
            int n = 0;
            void Click(TObject*) { ++n; }
        } buttonClicks;
        button->OnClick = TNotifyEvent(&buttonClicks, &Clicks::Click);
        TDialogAnswers answers(r.answer ? std::initializer_list<int>{r.answer} : std::initializer_list<int>{});
        EXPECT_EQ(ErrorOf([&] { button->Click(); }), r.error);
        const std::string after = r.after;
        EXPECT_EQ(answers.Asked.size(), after == "asked" ? 1u : 0u);
        if (auto* s = dynamic_cast<TSemafor*>(e)) {
            EXPECT_EQ(s->Status(), after == "green" ? zielony : czerwony);
        }
        if (auto* b = dynamic_cast<TRogatka*>(e)) {
            EXPECT_EQ(b->Podniesione(), after != "lowered");
        }
        if (auto* z = dynamic_cast<TZwrotnica*>(e)) {
            EXPECT_EQ(z->Status(), after == "flipped" ? dol : gora);
        }
        EXPECT_EQ(elementLog.clicks, after == "lowered" || after == "clicked" ? 1 : 0);
        // The button's own click comes last, unless the element raised.
        EXPECT_EQ(buttonClicks.n, r.error.empty() ? 1 : 0);
    }
}

// Draws a button's face as the system asks it to, into a bitmap.
class TDrawnButton : public TPunktButton {
public:
    using TPunktButton::TPunktButton;
    std::unique_ptr<TBitmap> Draw()
    {
        auto picture = std::make_unique<TBitmap>(Width(), Height(), pf24bit);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.hDC = picture->Canvas()->Handle();
        item.rcItem = Rect(0, 0, Width(), Height());
        DrawButtonFace(item);
        return picture;
    }
};

TEST_F(Buttons, TheStripShowsTheErrorCountAndTheElement)
{
    TTestStation station;
    station.Form()->SetColor(clBtnFace);
    auto* signal = station.Add<TSemafor>("S1");
    auto* button = station.Add<TDrawnButton>("b", 0, 0, 70, 40);
    button->SetElement(signal);
    const TRect digits = Rect(0, 0, 30, 9);
    const TRect symbol = Rect(50, 0, 70, 9);
    const TColor face = ColorToRGB(clBtnFace);

    auto clean = button->Draw();
    EXPECT_EQ(CountColor(*clean, digits, clRed), 0);
    EXPECT_GT(CountColor(*clean, digits, clWhite), 5);
    EXPECT_GT(CountColor(*clean, symbol, clRed), 10);  // the red lamp
    EXPECT_GT(CountColor(*clean, Rect(0, 0, 70, 9), face), 300);
    EXPECT_EQ(CountColor(*clean, Rect(0, 0, 70, 9), 14155775), 0);  // the face lies below

    EXPECT_FALSE(ErrorOf([&] { signal->ReportError("błąd"); }).empty());
    signal->SetStatus(zielony);
    auto counted = button->Draw();
    EXPECT_GT(CountColor(*counted, digits, clRed), 5);
    EXPECT_EQ(CountColor(*counted, digits, clWhite), 0);
    EXPECT_GT(CountColor(*counted, symbol, clLime), 10);
    TempFolder folder;
    SavePicture(*counted, folder.Path(), "upunkt_button.png");

    // The other kinds' symbols.
    auto* light = station.Add<TPrzejazd>("PR");
    auto* barrier = station.Add<TRogatka>("RG");
    auto* sw = station.Add<TZwrotnica>("ZW");
    light->SetMigajacy(true);
    button->SetElement(light);
    EXPECT_GT(CountColor(*button->Draw(), symbol, clRed), 10);
    light->SetMigajacy(false);
    EXPECT_GT(CountColor(*button->Draw(), symbol, clGray), 10);
    button->SetElement(barrier);
    auto bar = button->Draw();
    EXPECT_GE(CountColor(*bar, symbol, clRed), 12);
    EXPECT_GE(CountColor(*bar, symbol, clWhite), 12);
    button->SetElement(sw);
    auto route = button->Draw();
    EXPECT_GT(CountColor(*route, symbol, clBlack), 40);
    EXPECT_GE(CountColor(*route, symbol, clWhite), 10);
}

TEST_F(Buttons, ReleasingEverySetRoute)
{
    for (int answer : {mrYes, mrCancel}) {
        SCOPED_TRACE(answer == mrYes ? "Yes" : "Cancel");
        TTestStation station;
        auto* set = station.Add<TPunktTorowy>("P1");
        auto* occupied = station.Add<TPunktTorowy>("P2");
        auto* green = station.Add<TSemafor>("S1");
        auto* white = station.Add<TSemafor>("S2");
        set->SetStan(utwierdzony);
        occupied->SetStan(zajety);
        green->SetStan(utwierdzony);
        green->SetStatus(zielony);
        white->SetStatus(bialy);
        auto* release = station.Add<TSpecialPunktButton>("bZerwij");
        EXPECT_EQ(release->Caption(), "zwolnij utwierdzenie");
        EXPECT_EQ(release->TYp(), tsZerwijUtwierdzenie);
        std::vector<TElement*> heard;
        struct Listener {
            std::vector<TElement*>* heard;
            void Error(TElement* e) { heard->push_back(e); }
        } listener{&heard};
        release->OnError = TPunktError(&listener, &Listener::Error);
        TDialogAnswers answers{answer};
        int code = 0;
        std::string message;
        try {
            release->Click();
        } catch (const TElemExc& e) {
            code = e.Code;
            message = e.Message();
            EXPECT_EQ(e.Element, nullptr);
        }
        ASSERT_EQ(answers.Asked.size(), 1u);
        EXPECT_EQ(answers.Asked[0].Text,
                  "Czy zerwać wszystkie ustawione i zatwierdzone drogi?\r\n\r\nZerwanie jest możliwe tylko w "
                  "wyjątkowych wypadkach i każde takie zdarzenie jest rejestrowane w dzienniku.");
        const bool yes = answer == mrYes;
        EXPECT_EQ(set->Stan(), yes ? wolny : utwierdzony);
        EXPECT_EQ(green->Stan(), yes ? wolny : utwierdzony);
        EXPECT_EQ(occupied->Stan(), zajety);
        EXPECT_EQ(green->Status(), yes ? czerwony : zielony);
        EXPECT_EQ(white->Status(), yes ? czerwony : bialy);
        EXPECT_EQ(code, yes ? -66 : 0);
        EXPECT_EQ(message, yes ? "Zerwano zatwierdzenie drogi." : "");
        EXPECT_EQ(release->ErrorCount(), yes ? 1 : 0);
        EXPECT_EQ(heard, yes ? std::vector<TElement*>{nullptr} : std::vector<TElement*>{});
    }
}

TEST_F(Buttons, MoreInformation)
{
    TTestStation station;
    auto* platform = station.Add<TPeron>("PE1", 10, 10, 60, 16);
    auto* light = station.Add<TPrzejazd>("PR");
    auto* info = station.Add<TSpecialPunktButton>("bInfo", 0, 100, 200, 40);
    info->SetCaption("x");
    info->SetTYp(tsWiecejInformacji);
    EXPECT_EQ(info->Caption(), "i");
    info->SetHint("Więcej informacji");
    auto train = std::make_unique<TPociag>();
    train->Strings[0] = "Brennów";
    train->Strings[1] = "Kelce";
    train->Strings[2] = "Lumów";
    train->Strings[4] = "os 1";
    train->DateTimes[0] = EncodeTime(7, 5, 0, 0);
    train->DateTimes[1] = EncodeTime(7, 10, 0, 0);

    struct Case {
        const char* name;
        TElement* element;
        bool withTrain;
        std::string text;
    };
    const Case rows[] = {
        {"no element", nullptr, false, "Więcej informacji"},
        {"not a point", light, false, "Więcej informacji"},
        {"a point without a train", platform, false, "Więcej informacji\r\nstoi"},
        {"a point with a train", platform, true,
         "Więcej informacjiprzyjazd 7:05, odjazd 7:10\r\nskład: <7:05 \r\nBrennów Kelce-Lumów"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        info->SetElement(r.element);
        EXPECT_EQ(info->Caption(), "i");
        if (r.withTrain)
            platform->SetPociag(train.get());
        else
            platform->SetElementy("stoi");
        TDialogAnswers answers;
        info->Click();
        ASSERT_EQ(answers.Asked.size(), 1u);
        EXPECT_EQ(answers.Asked[0].Text, r.text);
        platform->SetPociag(nullptr);
    }
}

} // namespace

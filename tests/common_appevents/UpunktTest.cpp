// The railway element base and the level-crossing light: errors counted and
// raised, sounds looked up in the program folder, the light's blinking with
// its timer, its lamps painted into a bitmap, and the light read from a form
// description as the warning dialog holds it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestUnits.h"
#include "classlib/ExtCtrls.h"
#include "classlib/FormReader.h"
#include "classlib/Forms.h"
#include "common/QmxUtil.h"
#include "common/Upunkt.h"
#include "tests/support/TestUtil.h"

namespace {

class Upunkt : public testing::Test {
protected:
    void SetUp() override { EnsureAppEventsTestUnits(); }
};

TEST_F(Upunkt, ReportErrorCountsTellsOnErrorAndRaises)
{
    TForm* form = new TForm(Application);
    auto* element = new TElement(form);
    element->SetName("Z1");
    struct Watcher {
        std::vector<std::string> seen;
        void Error(TElement* e) { seen.push_back(e->Name() + " " + std::to_string(e->ErrorCount())); }
    } watcher;
    element->OnError = TPunktError(&watcher, &Watcher::Error);
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        try {
            element->ReportError("Tor jest zajęty.");
            ADD_FAILURE() << "no exception";
        } catch (const TElemExc& e) {
            EXPECT_EQ(e.Message(), "Tor jest zajęty.\r\nZ1");
            EXPECT_EQ(e.Code, -10);
            EXPECT_EQ(e.Element, element);
        }
        EXPECT_EQ(element->ErrorCount(), round);
    }
    // OnError hears the element with the error already counted.
    EXPECT_EQ(watcher.seen, (std::vector<std::string>{"Z1 1", "Z1 2"}));

    // The library's special button raises without an element.
    const TElemExc special(nullptr, -66, "Zerwano zatwierdzenie drogi.");
    EXPECT_EQ(special.Message(), "Zerwano zatwierdzenie drogi.");
    EXPECT_EQ(special.Code, -66);
    form->Free();
}

TEST_F(Upunkt, TheLinkToTheButtonGoesWithTheButton)
{
    TForm* form = new TForm(Application);
    auto* element = new TElement(form);
    auto* button = new TComponent(form);
    element->SetLinkedButton(button);
    EXPECT_EQ(element->LinkedButton(), button);
    element->RepaintButtons();  // a button that is no control is left alone
    delete button;
    EXPECT_EQ(element->LinkedButton(), nullptr);
    form->Free();
}

// An element kind with a sound, and one without (the light), that record
// what they would play.
class TSoundingElement : public TElement {
public:
    using TElement::TElement;
    std::string Sound;
    std::vector<std::string> Played;

protected:
    std::string SoundFileName() const override { return Sound; }
    void PlaySoundFile(const std::string& path) override { Played.push_back(path); }
};

class TQuietLight : public TPrzejazd {
public:
    using TPrzejazd::TPrzejazd;
    std::vector<std::string> Played;

protected:
    void PlaySoundFile(const std::string& path) override { Played.push_back(path); }
};

TEST_F(Upunkt, SoundsAreFilesOfTheProgramFolderThatExist)
{
    const std::string name = "pzwr" + std::to_string(GetCurrentProcessId()) + ".wav";
    const std::string path = GetProgramFolder() + name;
    WriteWholeFile(path, "RIFF");
    const struct {
        const char* name;
        std::string sound;
        bool soundsOn;
        std::vector<std::string> played;
    } rows[] = {
        {"a file in the program folder", name, true, {path}},
        {"a file that is not there", "brak" + name, true, {}},
        {"sounds off", name, false, {}},
        {"a kind without a sound", "", true, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TSoundingElement element(nullptr);
        element.Sound = row.sound;
        ElementSounds = row.soundsOn;
        element.PlaySound();
        ElementSounds = true;
        EXPECT_EQ(element.Played, row.played);
    }
    TQuietLight light(nullptr);
    light.PlaySound();
    EXPECT_TRUE(light.Played.empty());
    DeleteFileA(path.c_str());
}

int TimersOf(TComponent* c)
{
    int n = 0;
    for (int i = 0; i < c->ComponentCount(); ++i)
        if (dynamic_cast<TTimer*>(c->Components(i)))
            ++n;
    return n;
}

TEST_F(Upunkt, BlinkingRunsOneTimerThatFlipsThePhase)
{
    TForm* form = new TForm(Application);
    auto* light = new TPrzejazd(form);
    light->SetParent(form);
    EXPECT_EQ(light->Width(), 16);
    EXPECT_EQ(light->Height(), 4);
    EXPECT_TRUE(light->ShowHint());
    EXPECT_FALSE(light->Migajacy());
    EXPECT_EQ(light->BlinkTimer(), nullptr);

    light->SetMigajacy(true);
    TTimer* timer = light->BlinkTimer();
    ASSERT_NE(timer, nullptr);
    light->SetMigajacy(true);
    EXPECT_EQ(light->BlinkTimer(), timer);
    EXPECT_EQ(TimersOf(light), 1);
    EXPECT_EQ(timer->Interval(), 500u);
    EXPECT_TRUE(timer->Enabled());

    // Each tick flips the phase; the first one lights the left lamp.
    EXPECT_FALSE(light->Phase());
    const std::vector<bool> phases{true, false, true};
    for (size_t i = 0; i < phases.size(); ++i) {
        SCOPED_TRACE("tick " + std::to_string(i + 1));
        timer->OnTimer(timer);
        EXPECT_EQ(light->Phase(), phases[i]);
    }

    // The timer ticks through the message loop.
    timer->SetInterval(20);
    const bool before = light->Phase();
    EXPECT_TRUE(PumpUntil([&] { return light->Phase() != before; }));

    light->SetMigajacy(false);
    EXPECT_EQ(light->BlinkTimer(), nullptr);
    EXPECT_EQ(TimersOf(light), 0);
    form->Free();
}

TEST_F(Upunkt, TheLightBlinksWhileAnElementOfItsOwnerKeepsIt)
{
    class TTrackStandIn : public TElement {
    public:
        using TElement::TElement;
        const TPrzejazd* Holds = nullptr;
        bool KeepsCrossingBlinking(const TPrzejazd* light) const override { return light == Holds; }
    };
    TForm* form = new TForm(Application);
    auto* light = new TPrzejazd(form);
    auto* other = new TPrzejazd(form);
    auto* track = new TTrackStandIn(form);
    const struct {
        const char* name;
        const TPrzejazd* holds;
        bool blinks;
    } rows[] = {
        {"a track keeps the light blinking", light, true},
        {"the track keeps another light", other, false},
        {"no track keeps it", nullptr, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        track->Holds = row.holds;
        light->UpdateFromTracks();
        EXPECT_EQ(light->Migajacy(), row.blinks);
        EXPECT_EQ(light->BlinkTimer() != nullptr, row.blinks);
    }
    form->Free();
}

TEST_F(Upunkt, ClickingTheLightFiresOnClickAndChangesNothingElse)
{
    TForm* form = new TForm(Application);
    form->SetBounds(50, 50, 100, 80);
    auto* light = new TPrzejazd(form);
    light->SetBounds(10, 10, 16, 25);
    light->SetParent(form);
    light->SetMigajacy(true);
    struct Clicks {
        int n = 0;
        void Click(TObject*) { ++n; }
    } clicks;
    light->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
    TTimer* timer = light->BlinkTimer();
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 20));
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 20));
    EXPECT_EQ(clicks.n, 1);
    EXPECT_TRUE(light->Migajacy());
    EXPECT_EQ(light->BlinkTimer(), timer);
    EXPECT_FALSE(light->Phase());
    EXPECT_EQ(light->Typ(), gora);
    form->Free();
}

TEST_F(Upunkt, TheLampsArePaintedByTheBlinkState)
{
    // Four lights of the warning dialog's size: still, blinking before the
    // first tick, after it, and standing at the bottom after it.
    TForm* form = new TForm(Application);
    TPrzejazd* lights[4];
    for (int i = 0; i < 4; ++i) {
        lights[i] = new TPrzejazd(form);
        lights[i]->SetBounds(4 + 24 * i, 4, 16, 25);
        lights[i]->SetParent(form);
    }
    for (int i = 1; i < 4; ++i)
        lights[i]->SetMigajacy(true);
    for (int i = 2; i < 4; ++i)
        lights[i]->BlinkTimer()->OnTimer(lights[i]->BlinkTimer());
    lights[3]->SetTyp(dol);

    TBitmap picture(100, 33, pf24bit);
    picture.Canvas()->Brush()->SetColor(clYellow);
    picture.Canvas()->FillRect(Rect(0, 0, 100, 33));
    form->Perform(WM_PAINT, reinterpret_cast<WPARAM>(picture.Canvas()->Handle()));

    // Points inside each light: c = 8, lamps around (3, y1 + 3) and
    // (12, y1 + 3), y0 = 0 and y1 = 6 hanging, y0 = 17 and y1 = 11 standing.
    const struct {
        const char* what;
        int light, x, y;
        TColor color;
    } pixels[] = {
        {"still: left lamp", 0, 3, 9, clSilver},
        {"still: right lamp", 0, 12, 9, clSilver},
        {"before the first tick: left lamp", 1, 3, 9, clSilver},
        {"before the first tick: right lamp", 1, 12, 9, clRed},
        {"after the first tick: left lamp", 2, 3, 9, clRed},
        {"after the first tick: right lamp", 2, 12, 9, clSilver},
        {"standing: left lamp", 3, 3, 14, clRed},
        {"standing: right lamp", 3, 12, 14, clSilver},
        {"lamp rim", 0, 1, 9, clGray},
        {"post", 0, 7, 20, clBlack},
        {"post", 0, 8, 23, clBlack},
        {"below the post", 0, 8, 24, clYellow},
        {"cross, maroon arm", 0, 0, 0, clMaroon},
        {"cross, white arm", 0, 0, 1, clWhite},
        {"cross, second maroon arm", 0, 0, 2, clMaroon},
        {"beside the post", 0, 2, 20, clYellow},
        {"standing: cross", 3, 0, 17, clMaroon},
        {"standing: cross, white arm", 3, 0, 18, clWhite},
        {"standing: free above the lamps", 3, 2, 3, clYellow},
    };
    for (const auto& p : pixels) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(picture.Canvas()->Pixels(4 + 24 * p.light + p.x, 4 + p.y), p.color)
            << "light " << p.light << " at " << p.x << "," << p.y;
    }
    TempFolder folder;
    SavePicture(picture, folder.Path(), "upunkt_przejazd.png");
    form->Free();
}

TEST_F(Upunkt, TheLightIsReadFromAFormDescription)
{
    TForm* form = new TForm(Application);
    ReadFormText(form, "object fOstrzezenie: TForm\n"
                       "  object Przejazd1: TPrzejazd\n"
                       "    Left = 8\n    Top = 8\n    Width = 16\n    Height = 25\n"
                       "    Hint = 'Kliknij, aby zatrzymać uciekający czas.'\n"
                       "    Migajacy = True\n    Typ = gora\n    CustomOffsetX = 3\n"
                       "  end\n"
                       "end\n");
    auto* light = dynamic_cast<TPrzejazd*>(form->FindComponent("Przejazd1"));
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->Height(), 25);
    EXPECT_EQ(light->Hint(), "Kliknij, aby zatrzymać uciekający czas.");
    EXPECT_TRUE(light->Migajacy());
    EXPECT_NE(light->BlinkTimer(), nullptr);
    EXPECT_EQ(light->Typ(), gora);
    EXPECT_EQ(light->CustomOffsetX, 3);
    form->Free();
}

} // namespace

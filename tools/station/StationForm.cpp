#include "tools/station/StationForm.h"

#include "classlib/Dialogs.h"
#include "classlib/ExtCtrls.h"
#include "classlib/TypInfo.h"

TStationForm::~TStationForm()
{
    // The points refer to the trains until they go.
    DestroyComponents();
}

void TStationForm::MissingComponent(const std::string& name)
{
    throw EComponentError("The station has no component " + name);
}

TPociag* TStationForm::PutTrain(const std::string& at, const std::string& number, int direction, int arrivalHour,
                                int arrivalMinute, int waitMinutes)
{
    auto train = std::make_unique<TPociag>();
    train->Strings[0] = "Brennów";
    train->Strings[1] = "Kelce";
    train->Strings[2] = "Lumów";
    train->Strings[4] = number;
    train->Strings[9].assign(1, '1');  // the track
    train->DateTimes[0] = EncodeTime(arrivalHour, arrivalMinute, 0, 0);
    train->DateTimes[1] = train->DateTimes[0] + waitMinutes / (24.0 * 60);
    train->Kierunek = static_cast<std::uint8_t>(direction);
    train->StanPociagu = 1;
    TPociag* t = train.get();
    trains_.push_back(std::move(train));
    Find<TPunkt>(at)->SetPociag(t);
    return t;
}

const TClassInfo* TStationForm::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TStationForm::StaticClass()
{
    static const TClassInfo info("TStationForm", &TForm::StaticClass());
    return info;
}

namespace {

// Answers every question of the elements with Yes while it lives.
class TAnswerYes {
public:
    TAnswerYes() { MessageDlgHook = TMessageDlgHook(this, &TAnswerYes::Answer); }
    ~TAnswerYes() { MessageDlgHook = TMessageDlgHook(); }
    TAnswerYes(const TAnswerYes&) = delete;
    TAnswerYes& operator=(const TAnswerYes&) = delete;

private:
    void Answer(const TMsgDlgRequest&, int& result) { result = mrYes; }
};

void SetRoute(TStationForm& s, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        s.Find<TPunkt>(name)->SetStan(utwierdzony);
}

void AllFree(TStationForm&) {}

// From the platform out through the left entry, and the exit signal green.
void RouteSet(TStationForm& s)
{
    SetRoute(s, {"WA", "TA1", "SA1", "TA2", "ZW1", "TA3", "SA2", "TA4", "PE1"});
    TAnswerYes yes;
    s.Find<TSemafor>("SA2")->OperatorCommand(s.Find<TPunktButton>("bSA2"));
}

void TrainAtPlatform(TStationForm& s)
{
    s.PutTrain("PE1", "os 3421", 0, 7, 5, 5);
}

// A button asks for the signal on a free track: the operator gives the
// substitute signal, which is reported as an error of the signal.
void SubstituteSignal(TStationForm& s)
{
    TAnswerYes yes;
    try {
        s.Find<TPunktButton>("bSA3")->Click();
    } catch (const TElemExc&) {
        // Giving Sz is always reported; the picture shows its count.
    }
}

void CrossingBlinks(TStationForm& s)
{
    SetRoute(s, {"PTA1", "TA7", "PTA2"});
    auto* light = s.Find<TPrzejazd>("PR1");
    light->BlinkTimer()->OnTimer(light->BlinkTimer());
}

void SwitchFlipped(TStationForm& s)
{
    auto* sw = s.Find<TZwrotnica>("ZW1");
    sw->FlipStatus(sw);
}

} // namespace

const std::vector<TStationScene>& StationScenes()
{
    static const std::vector<TStationScene> scenes{
        {"wolna", AllFree},        {"droga", RouteSet},           {"pociag", TrainAtPlatform},
        {"sz", SubstituteSignal},  {"przejazd", CrossingBlinks},  {"zwrotnica", SwitchFlipped},
    };
    return scenes;
}

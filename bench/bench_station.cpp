// Times a generated station of 300 railway elements and 100 operator buttons
// on one shown form against plain graphic controls in the same places, in the
// same process.
//   bench_station [ROUNDS]        (default 5; medians are printed)
// 1. Paint: the whole form painted once (every element and button).
// 2. Release: the special button releases 200 set points (each one turns
//    free, repaints itself and the buttons that show it, and its track lets
//    its crossing light look at every track again), every repaint done at
//    once. Baseline: 200 of the plain controls change colour and repaint.
// 3. Where the release's time goes: the same 200 points' own repaints, their
//    buttons' walks with and without buttons to repaint, the crossing
//    lights' walks, one step each.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "common/Upunkt.h"
#include "common/qmxcolorbutton.h"

namespace {

constexpr int Rows = 10;
constexpr int PointsPerRow = 15;
constexpr int ButtonCount = 100;
constexpr int SetPoints = 200;

double Seconds(const std::function<void()>& f)
{
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    f();
    QueryPerformanceCounter(&stop);
    return static_cast<double>(stop.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

TForm* NewForm(const char* caption)
{
    auto* form = new TForm(Application);
    form->SetCaption(caption);
    form->SetBounds(0, 0, 940, 600);
    form->SetColor(clWhite);
    return form;
}

// Paints the whole form and its child windows now.
void PaintAll(TForm* form)
{
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Ten lines of 15 points with 14 tracks between them (every fifth point a
// signal), a crossing light held by one track of each line: 300 elements;
// 100 buttons showing the first 100 points.
struct Station {
    TForm* form = NewForm("Stacja");
    std::vector<TPunkt*> points;    // the plain points and signals, line by line
    std::vector<TPunkt*> set;       // the 200 points the release frees
    std::vector<TPrzejazd*> lights;
    std::vector<TElement*> elements;
    TSpecialPunktButton* release = nullptr;

    Station()
    {
        for (int r = 0; r < Rows; ++r) {
            TPunkt* previous = nullptr;
            for (int i = 0; i < PointsPerRow; ++i) {
                TPunkt* p = i % 5 == 4 ? static_cast<TPunkt*>(new TSemafor(form)) : new TPunktTorowy(form);
                p->SetBounds(10 + 60 * i, 20 + 40 * r, p->Width(), 16);
                p->SetParent(form);
                points.push_back(p);
                elements.push_back(p);
                if (previous) {
                    auto* t = new TTor(form);
                    t->SetParent(form);
                    t->SetLewyPunkt(previous);
                    t->SetPrawyPunkt(p);
                    elements.push_back(t);
                    if (i == 7) {
                        auto* light = new TPrzejazd(form);
                        light->SetBounds(10 + 60 * i - 30, 4 + 40 * r, 16, 14);
                        light->SetParent(form);
                        t->SetPrzejazdGorne(light);
                        lights.push_back(light);
                        elements.push_back(light);
                    }
                }
                previous = p;
            }
        }
        for (int b = 0; b < ButtonCount; ++b) {
            auto* button = new TPunktButton(form);
            button->SetBounds(10 + 46 * (b % 20), 420 + 28 * (b / 20), 44, 26);
            button->SetParent(form);
            button->SetElement(points[b]);
        }
        release = new TSpecialPunktButton(form);
        release->SetBounds(10, 420 + 28 * 5, 140, 26);
        release->SetParent(form);
        // The points of the first lines, tracks included, up to 200.
        for (TElement* e : elements)
            if (auto* p = dynamic_cast<TPunkt*>(e); p && static_cast<int>(set.size()) < SetPoints)
                set.push_back(p);
        form->Show();
    }

    void SetRoute()
    {
        for (TPunkt* p : set)
            p->SetStan(utwierdzony);
        Application->ProcessMessages();
    }
};

// A plain graphic control that fills its rectangle with its colour.
class TBox : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetStyle(bsSolid);
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// As many plain controls, each in the place of an element, and as many
// plain buttons.
struct Baseline {
    TForm* form = NewForm("Podstawa");
    std::vector<TBox*> boxes;

    explicit Baseline(const Station& station)
    {
        for (TElement* e : station.elements) {
            auto* box = new TBox(form);
            box->SetBounds(e->Left(), e->Top(), e->Width(), e->Height());
            box->SetColor(clSilver);
            box->SetParent(form);
            boxes.push_back(box);
        }
        for (int b = 0; b <= ButtonCount; ++b) {
            auto* button = new TButton(form);
            button->SetBounds(10 + 46 * (b % 20), 420 + 28 * (b / 20), 44, 26);
            button->SetCaption("P");
            button->SetParent(form);
        }
        form->Show();
    }

    void Change(TColor color)
    {
        for (int i = 0; i < SetPoints; ++i) {
            boxes[i]->SetColor(color);
            boxes[i]->Repaint();
        }
    }
};

class TAnswerYes {
public:
    TAnswerYes() { MessageDlgHook = TMessageDlgHook(this, &TAnswerYes::Answer); }
    ~TAnswerYes() { MessageDlgHook = TMessageDlgHook(); }

private:
    void Answer(const TMsgDlgRequest&, int& result) { result = mrYes; }
};

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    try {
        InitFormsUnit();
        qmxcolorbuttonStartup();
        InitializeUpunkt();
        TAnswerYes yes;
        Station station;
        Baseline baseline(station);
        Application->ProcessMessages();

        std::vector<double> paint, paintBase, release, change;
        std::vector<double> ownRepaints, buttonWalks, bareWalks, lightWalks;
        for (int round = 0; round < rounds; ++round) {
            paint.push_back(Seconds([&] { PaintAll(station.form); }));
            paintBase.push_back(Seconds([&] { PaintAll(baseline.form); }));

            station.SetRoute();
            release.push_back(Seconds([&] {
                try {
                    station.release->Click();
                } catch (const TElemExc&) {
                    // The release always reports itself.
                }
            }));
            change.push_back(Seconds([&] { baseline.Change(round % 2 ? clSilver : clYellow); }));
            Application->ProcessMessages();

            // One step of the release at a time, over the same 200 points.
            ownRepaints.push_back(Seconds([&] {
                for (TPunkt* p : station.set)
                    p->Repaint();
            }));
            buttonWalks.push_back(Seconds([&] {
                for (TPunkt* p : station.set)
                    p->RepaintButtons();
            }));
            // Points without a button: the walk over the owner's components alone.
            bareWalks.push_back(Seconds([&] {
                for (int i = 0; i < SetPoints; ++i)
                    station.points[ButtonCount + i % (station.points.size() - ButtonCount)]->RepaintButtons();
            }));
            lightWalks.push_back(Seconds([&] {
                for (int i = 0; i < SetPoints; ++i)
                    station.lights[i % station.lights.size()]->UpdateFromTracks();
            }));
            Application->ProcessMessages();
        }

        const double p = Median(paint), pb = Median(paintBase), r = Median(release), c = Median(change);
        std::printf("elements %zu, buttons %d, components %d, set points %d, rounds %d\n", station.elements.size(),
                    ButtonCount + 1, station.form->ComponentCount(), SetPoints, rounds);
        std::printf("paint:    station %.1f ms, baseline %.1f ms, ratio %.2f\n", p * 1e3, pb * 1e3, p / pb);
        std::printf("release:  station %.1f ms, baseline %.1f ms, ratio %.2f\n", r * 1e3, c * 1e3, r / c);
        std::printf("release steps, 200 each: own repaints %.1f ms, buttons' walks with their repaints %.1f ms, "
                    "walks alone %.1f ms, crossing lights' walks %.1f ms\n",
                    Median(ownRepaints) * 1e3, Median(buttonWalks) * 1e3, Median(bareWalks) * 1e3,
                    Median(lightWalks) * 1e3);
        station.form->Free();
        baseline.form->Free();
        DoneFormsUnit();
    } catch (const Exception& e) {
        std::fprintf(stderr, "bench_station: %s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}

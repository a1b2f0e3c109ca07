// The sample station: station.exe shows it with two trains put at its
// points; station.exe FOLDER saves a picture of each of its scenes into
// FOLDER as station-<scene>.png.
#include <windows.h>

#include <cstdio>

#include "classlib/Forms.h"
#include "classlib/PngWriter.h"
#include "common/QmxGenericList.h"
#include "common/QmxList.h"
#include "common/Upunkt.h"
#include "common/Upunkt_defpoc.h"
#include "common/qmxcolorbutton.h"
#include "tools/station/StationForm.h"

namespace {

void SavePictures(const std::string& folder)
{
    for (const TStationScene& scene : StationScenes()) {
        auto* station = TForm::Create<TStationForm>(nullptr);
        scene.Apply(*station);
        station->Show();
        // Signals take their size when first painted: paint twice.
        for (int pass = 0; pass < 2; ++pass) {
            station->Repaint();
            Application->ProcessMessages();
        }
        const std::string path = folder + "\\station-" + scene.Name + ".png";
        SaveWindowToPng(station->Handle(), path);
        std::printf("saved %s\n", path.c_str());
        station->Free();
    }
}

void ShowStation()
{
    TStationForm* station = nullptr;
    Application->SetTitle("Stacja przykładowa");
    Application->CreateForm(station);
    station->PutTrain("ZA1", "EX 12", 1, 8, 15, 0);
    TPociag* leaving = station->PutTrain("PE2", "os 3422", 0, 7, 40, 10);
    leaving->BoolFields[4] = true;
    station->Find<TPunkt>("PE2")->UpdateTrainInfo();
    Application->Run();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: station.exe [FOLDER]\n");
        return 2;
    }
    try {
        InitFormsUnit();
        qmxcolorbuttonStartup();
        InitializeQmxList();
        InitializeQmxGenericList();
        InitializeUpunkt_defpoc();
        InitializeUpunkt();
        if (argc == 2)
            SavePictures(argv[1]);
        else
            ShowStation();
        FinalizeUpunkt_defpoc();
        FinalizeQmxList();
        DoneFormsUnit();
    } catch (const Exception& e) {
        std::fprintf(stderr, "station: %s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}

// Helper program of the window-layer tests:
//   classlib_windows_child halt LOG main|startup
//       three units start (a, b, c) and register their shutdowns (C, B, A);
//       then Halt(7) inside a guard that catches everything, or a fourth
//       unit halts with 3 in its own start-up
//   classlib_windows_child form LOG NAME
//       runs a main form named NAME with a panel "pSrodek" until it closes
#include <windows.h>

#include <fstream>
#include <string>

#include "TestControls.h"

namespace {

std::string logFile;

void Write(const std::string& text)
{
    std::ofstream(logFile, std::ios::app | std::ios::binary) << text;
}

class TChildMainForm : public TForm {
public:
    explicit TChildMainForm(TComponent* owner) : TForm(owner)
    {
        SetCaption("Główne okno");
        SetBounds(300, 300, 200, 100);
        auto* panel = new TTestPanel(this);
        panel->SetName("pSrodek");
        panel->SetAlign(alClient);
        panel->SetParent(this);
        OnDestroy = TNotifyEvent(this, &TChildMainForm::FormDestroy);
    }
    void FormDestroy(TObject*) { Write("destroyed"); }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string mode = argv[1];
    logFile = argv[2];
    if (mode == "halt" && argc >= 4) {
        const bool inStartup = std::string(argv[3]) == "startup";
        StartUnit([] { Write("a"); }, [] { Write("A"); });
        StartUnit([] { Write("b"); }, [] { Write("B"); });
        StartUnit([] { Write("c"); }, [] { Write("C"); });
        if (inStartup)
            StartUnit(
                [] {
                    Write("d");
                    Halt(3);
                },
                [] { Write("D"); });
        try {
            Halt(7);
        } catch (...) {
            Write("caught");
        }
        Write("after");
        return 0;
    }
    if (mode == "form" && argc >= 4) {
        StartUnit(InitFormsUnit, DoneFormsUnit);
        TChildMainForm* form = nullptr;
        Application->CreateForm(form);
        form->SetName(argv[3]);
        Application->Run();
        Write("run ended; ");
        FinalizeUnits();
        return 0;
    }
    return 2;
}

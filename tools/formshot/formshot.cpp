// Shows a sample form read from its form description and saves a picture of
// it as a PNG file: formshot.exe OUT.png
#include <windows.h>

#include <cstdio>

#include "classlib/Forms.h"
#include "classlib/PngWriter.h"
#include "classlib/TypInfo.h"

namespace {

// Layout, texts and colours all come from TSampleForm.dfm.
class TSampleForm : public TForm {
public:
    explicit TSampleForm(TComponent* owner) : TForm(owner) {}
    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TSampleForm", &TForm::StaticClass());
        return info;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: formshot.exe OUT.png\n");
        return 2;
    }
    try {
        InitFormsUnit();
        auto* form = TForm::Create<TSampleForm>(nullptr);
        form->Show();
        Application->ProcessMessages();
        SaveWindowToPng(form->Handle(), argv[1]);
        form->Free();
        DoneFormsUnit();
    } catch (const Exception& e) {
        std::fprintf(stderr, "formshot: %s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}

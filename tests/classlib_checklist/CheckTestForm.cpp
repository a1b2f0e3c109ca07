#include "CheckTestForm.h"

#include "classlib/TypInfo.h"

const TClassInfo& TCheckTestForm::StaticClass()
{
    static const TClassInfo info(
        "TCheckTestForm", &TForm::StaticClass(), nullptr,
        {
            PublishComponent<&TCheckTestForm::lbUsun, &TCheckTestForm::lbUsun>("lbUsun"),
            PublishComponent<&TCheckTestForm::aniSzukaj, &TCheckTestForm::aniSzukaj>("aniSzukaj"),
        },
        {
            PublishHandler<&TCheckTestForm::lbUsunClick>("lbUsunClick"),
            PublishHandler<&TCheckTestForm::lbUsunClickCheck>("lbUsunClickCheck"),
        });
    return info;
}

void TCheckTestForm::lbUsunClick(TObject*)
{
    Events.push_back("click " + std::to_string(lbUsun->ItemIndex()));
}

void TCheckTestForm::lbUsunClickCheck(TObject*)
{
    const int i = lbUsun->ItemIndex();
    Events.push_back("check " + std::to_string(i) + (i >= 0 && lbUsun->Checked(i) ? " on" : " off"));
}

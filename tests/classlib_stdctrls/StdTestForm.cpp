#include "StdTestForm.h"

#include "classlib/TypInfo.h"

const TClassInfo& TStdTestForm::StaticClass()
{
    static const TClassInfo info(
        "TStdTestForm", &TForm::StaticClass(), nullptr,
        {
            PublishComponent<&TStdTestForm::nb, &TStdTestForm::nb>("nb"),
            PublishComponent<&TStdTestForm::pgPierwsza, &TStdTestForm::pgPierwsza>("pgPierwsza"),
            PublishComponent<&TStdTestForm::pgDruga, &TStdTestForm::pgDruga>("pgDruga"),
            PublishComponent<&TStdTestForm::pgTrzecia, &TStdTestForm::pgTrzecia>("pgTrzecia"),
            PublishComponent<&TStdTestForm::eImie, &TStdTestForm::eImie>("eImie"),
            PublishComponent<&TStdTestForm::lbLista, &TStdTestForm::lbLista>("lbLista"),
            PublishComponent<&TStdTestForm::mNotatki, &TStdTestForm::mNotatki>("mNotatki"),
            PublishComponent<&TStdTestForm::cbZgoda, &TStdTestForm::cbZgoda>("cbZgoda"),
            PublishComponent<&TStdTestForm::rbA, &TStdTestForm::rbA>("rbA"),
            PublishComponent<&TStdTestForm::rbB, &TStdTestForm::rbB>("rbB"),
            PublishComponent<&TStdTestForm::pnRamka, &TStdTestForm::pnRamka>("pnRamka"),
            PublishComponent<&TStdTestForm::lbOpis, &TStdTestForm::lbOpis>("lbOpis"),
            PublishComponent<&TStdTestForm::tmZegar, &TStdTestForm::tmZegar>("tmZegar"),
        },
        {
            PublishHandler<&TStdTestForm::FormCreate>("FormCreate"),
            PublishHandler<&TStdTestForm::nbPageChanged>("nbPageChanged"),
            PublishHandler<&TStdTestForm::eImieChange>("eImieChange"),
            PublishHandler<&TStdTestForm::cbZgodaClick>("cbZgodaClick"),
            PublishHandler<&TStdTestForm::tmZegarTimer>("tmZegarTimer"),
        });
    return info;
}

void TStdTestForm::FormCreate(TObject*)
{
    Events.push_back("create page " + std::to_string(nb->PageIndex()));
}

void TStdTestForm::nbPageChanged(TObject*)
{
    Events.push_back("page " + std::to_string(nb->PageIndex()));
}

void TStdTestForm::eImieChange(TObject*)
{
    Events.push_back("change " + eImie->Text());
}

void TStdTestForm::cbZgodaClick(TObject*)
{
    Events.push_back(std::string("click ") + (cbZgoda->Checked() ? "checked" : "unchecked"));
}

void TStdTestForm::tmZegarTimer(TObject*)
{
    Events.push_back("tick");
}

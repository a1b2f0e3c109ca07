#include "common/qmxWarningDialog.h"

#include <windows.h>

#include <cmath>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"
#include "classlib/TypInfo.h"
#include "common/AppEvent.h"
#include "common/AppName.h"
#include "common/QmxShell.h"
#include "common/Upunkt.h"
#include "common/qmxcolorbutton.h"

namespace {

const char* const kLogFile = "raport.txt";
const char* const kStoppedText = "Naciśnij OK lub Anuluj, aby zakończyć.";

// Frees the dialog however the modal run ends.
class TDialogHolder {
public:
    explicit TDialogHolder(TeQmxWarningDialog* dialog) : dialog_(dialog) {}
    ~TDialogHolder() { dialog_->Free(); }
    TDialogHolder(const TDialogHolder&) = delete;
    TDialogHolder& operator=(const TDialogHolder&) = delete;

private:
    TeQmxWarningDialog* dialog_;
};

}  // namespace

const TClassInfo* TeQmxWarningDialog::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TeQmxWarningDialog::StaticClass()
{
    using D = TeQmxWarningDialog;
    static const TClassInfo info("TeQmxWarningDialog", &TForm::StaticClass(), nullptr,
                                 {
                                     PublishComponent<&D::Panel1, &D::Panel1>("Panel1"),
                                     PublishComponent<&D::lbInfo, &D::lbInfo>("lbInfo"),
                                     PublishComponent<&D::lbOpis, &D::lbOpis>("lbOpis"),
                                     PublishComponent<&D::pSpacer, &D::pSpacer>("pSpacer"),
                                     PublishComponent<&D::pGauge, &D::pGauge>("pGauge"),
                                     PublishComponent<&D::Gauge1, &D::Gauge1>("Gauge1"),
                                     PublishComponent<&D::pBottom, &D::pBottom>("pBottom"),
                                     PublishComponent<&D::bStoj, &D::bStoj>("bStoj"),
                                     PublishComponent<&D::lbCzas, &D::lbCzas>("lbCzas"),
                                     PublishComponent<&D::bOK, &D::bOK>("bOK"),
                                     PublishComponent<&D::bAnuluj, &D::bAnuluj>("bAnuluj"),
                                     PublishComponent<&D::Przejazd1, &D::Przejazd1>("Przejazd1"),
                                     PublishComponent<&D::Timer1, &D::Timer1>("Timer1"),
                                     PublishComponent<&D::ae, &D::ae>("ae"),
                                 },
                                 {
                                     PublishHandler<&D::Timer1Timer>("Timer1Timer"),
                                     PublishHandler<&D::FormShow>("FormShow"),
                                     PublishHandler<&D::bOKClick>("bOKClick"),
                                     PublishHandler<&D::bAnulujClick>("bAnulujClick"),
                                     PublishHandler<&D::lbCzasClick>("lbCzasClick"),
                                     PublishHandler<&D::FormDeactivate>("FormDeactivate"),
                                 });
    return info;
}

void TeQmxWarningDialog::Timer1Timer(TObject*)
{
    const int ticksPerSecond = 1000 / static_cast<int>(Timer1->Interval());
    // The 0.1 makes an exact half round up whatever the rounding rule; a
    // dialog without a limit counts as run out.
    const int percent = limit_ > 0 ? static_cast<int>(std::lround(Tag * 100.0 / limit_ + 0.1)) : 100;
    Gauge1->SetPosition(percent);
    Gauge1->SetVisible(percent > 35);
    Przejazd1->SetVisible(percent > 50);
    Przejazd1->SetMigajacy(percent > 70);
    bStoj->SetVisible(percent > 30);
    lbCzas->SetVisible(percent > 30);
    lbCzas->SetCaption(Format("okienko zniknie za %d sek.", (limit_ - Tag) / ticksPerSecond + 1) + "\r\n" +
                       "(możesz zamknąć je sam)");
    if (limit_ < Tag)
        SetModalResult(mrOk);
    ++Tag;
}

void TeQmxWarningDialog::FormShow(TObject*)
{
    MessageBeep(MB_ICONASTERISK);
    if (Application->MainForm())
        SetColor(Application->MainForm()->Color());
    // The label measured itself when its text was set; the dialog takes the
    // height of everything stacked in it.
    lbInfo->SetAutoSize(true);
    SetHeight(Height() - ClientHeight() + lbInfo->Top() + lbInfo->Height() + lbOpis->Height() + pSpacer->Height() +
              pGauge->Height() + pBottom->Height() + 8);
    Timer1Timer(Timer1);
}

void TeQmxWarningDialog::bOKClick(TObject*)
{
    SetModalResult(mrOk);
}

void TeQmxWarningDialog::bAnulujClick(TObject*)
{
    SetModalResult(mrCancel);
}

void TeQmxWarningDialog::lbCzasClick(TObject*)
{
    Timer1->SetEnabled(false);
    Gauge1->SetVisible(false);
    bStoj->SetVisible(false);
    lbCzas->SetCaption(kStoppedText);
}

void TeQmxWarningDialog::FormDeactivate(TObject*)
{
    // Any other window taking the activation answers for the user: OK.
    SetModalResult(mrOk);
}

int ShowWarningDialog(const std::string& Caption, const std::string& Message, const std::string& Description,
                      int Seconds)
{
    const std::string title = Application ? Application->Title() : std::string();
    AppendLogLine(kLogFile, Format("%s: %s | %s | %s", title, Caption, Message, Description));
    if (Seconds == 0)
        return mrOk;
    Application->BringToFront();
    auto* dialog = TForm::Create<TeQmxWarningDialog>(Application);
    TDialogHolder holder(dialog);
    dialog->SetCaption(Caption);
    TFont* font = dialog->lbInfo->Font();
    if (Message.empty() || !Description.empty())
        font->SetStyle(font->Style() + fsBold);
    else
        font->SetStyle(font->Style() - fsBold);
    dialog->lbInfo->SetCaption(Message);
    dialog->lbOpis->SetCaption(Description);
    dialog->SetTickLimit(Seconds * (1000 / static_cast<int>(dialog->Timer1->Interval())));
    return dialog->ShowModal();
}

bool ShowWarning(const std::string& Message)
{
    TNazwaAplikacji name;
    GetApplicationName(ParamStr(0), name);
    return ShowWarningDialog(name.ProductName, Message, std::string(), 30) == mrOk;
}

void RaiseErrorMessage(const std::string& Message)
{
    throw Exception(Message);
}

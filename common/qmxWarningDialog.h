// Unit qmxWarningDialog: the organizer's own question and notice dialog.
//
// Every message is first appended to "raport.txt" in the program folder, so
// the log holds all questions, notices and failures whether a dialog shows
// or not. The dialog stays on top and closes by itself as OK when its
// countdown runs out or when it loses the activation, so an unattended
// program never waits for ever: each question is worded so that OK is the
// safe answer.
//
// The form is read from its resource (qmxWarningDialog.dfm, linked into
// every program with common), so the units of the colour button, the
// crossing light and the application events must have registered their
// classes first (qmxcolorbuttonStartup, InitializeUpunkt, InitializeAppEvent).
// Tag counts the ticks of Timer1 (200 ms); the tick limit is Seconds times
// the ticks per second. The form's components are public, so a caller (or a
// test) may stop Timer1 and run its OnTimer by hand.
#pragma once

#include <string>

#include "classlib/Forms.h"

class TLabel;
class TPanel;
class TProgressBar;
class TTimer;
class TqmxColorButton;
class TPrzejazd;
class TAppEvents;

class TeQmxWarningDialog : public TForm {
public:
    explicit TeQmxWarningDialog(TComponent* owner) : TForm(owner) {}

    TPanel* Panel1 = nullptr;
    TLabel* lbInfo = nullptr;
    TLabel* lbOpis = nullptr;
    TPanel* pSpacer = nullptr;
    TPanel* pGauge = nullptr;
    TProgressBar* Gauge1 = nullptr;
    TPanel* pBottom = nullptr;
    TqmxColorButton* bStoj = nullptr;
    TLabel* lbCzas = nullptr;
    TqmxColorButton* bOK = nullptr;
    TqmxColorButton* bAnuluj = nullptr;
    TPrzejazd* Przejazd1 = nullptr;
    TTimer* Timer1 = nullptr;
    TAppEvents* ae = nullptr;

    void Timer1Timer(TObject* Sender);
    void FormShow(TObject* Sender);
    void bOKClick(TObject* Sender);
    void bAnulujClick(TObject* Sender);
    void lbCzasClick(TObject* Sender);
    void FormDeactivate(TObject* Sender);

    // Ticks after which the countdown closes the dialog as OK.
    int TickLimit() const { return limit_; }
    void SetTickLimit(int value) { limit_ = value; }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    int limit_ = 0;
};

// Logs "title: Caption | Message | Description" to "raport.txt" in the
// program folder, then shows the dialog for at most about Seconds seconds.
// 1: OK (button, countdown, loss of activation, or Seconds = 0: no dialog);
// 2: Cancel (button, Escape, close box). A log that cannot be written raises
// EInOutError before anything is shown.
int ShowWarningDialog(const std::string& Caption, const std::string& Message, const std::string& Description,
                      int Seconds);
// A 30-second question or notice titled with the running program's product
// name; True for OK.
bool ShowWarning(const std::string& Message);
// Raises Exception with Message, for handlers whose failures end in
// ShowWarning.
[[noreturn]] void RaiseErrorMessage(const std::string& Message);


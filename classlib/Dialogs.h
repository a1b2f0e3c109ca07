// Message dialogs: a form of the class library with the icon of its kind,
// the text, and any set of buttons with Polish captions. The buttons carry
// component names (Yes, No, OK, Cancel, Abort, Retry, Ignore, All, Help), so
// a driver in another process can find and press them; the dialog window's
// class is "TMessageForm".
//
// Keys: Enter presses the default button (OK, else Yes, else the first
// button); Escape presses Cancel, else No, else OK (so a question with No
// and Abort never aborts by Escape); with none of these, and for the
// window's close box, the result is mrCancel. The Help button shows the
// dialog's help topic and does not close it.
#pragma once

#include <initializer_list>
#include <string>

#include "classlib/Forms.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp };

// A set of buttons, written {mbNo, mbAbort}.
class TMsgDlgButtons {
public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons)
    {
        for (TMsgDlgBtn b : buttons)
            bits_ |= 1u << b;
    }
    constexpr bool Contains(TMsgDlgBtn b) const { return (bits_ & (1u << b)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool operator==(const TMsgDlgButtons&) const = default;

private:
    unsigned bits_ = 0;
};

constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// What a message dialog is asked to show.
struct TMsgDlgRequest {
    std::string Caption;
    std::string Text;
    TMsgDlgType DlgType = mtCustom;
    TMsgDlgButtons Buttons;
    int HelpContext = 0;
};

// The seam for tests: a handler that answers a dialog instead of the user,
// by setting Result (the second argument) to a modal result. Left at mrNone,
// the dialog shows as usual.
using TMessageDlgHook = TEvent<const TMsgDlgRequest&, int&>;
extern TMessageDlgHook MessageDlgHook;

// The dialog's caption for a kind: "Ostrzeżenie", "Błąd", "Informacja",
// "Potwierdź"; a custom one takes the application's title.
std::string MessageDlgCaption(TMsgDlgType type);
// The caption and component name of a button ("&Tak" / "Yes", ...).
std::string MessageDlgButtonCaption(TMsgDlgBtn button);
std::string MessageDlgButtonName(TMsgDlgBtn button);

// The dialog, not shown, owned by the application; the caller shows it
// (ShowModal) and frees it (Free). No buttons: an OK button.
TForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

// Asks MessageDlgHook first; else sounds the beep of the kind (a custom
// dialog has none), shows the dialog modally and gives the modal result of
// the button pressed (mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry,
// mrIgnore, mrAll), or mrCancel when it was closed otherwise.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);

// A custom dialog with OK, titled with the application's title.
void ShowMessage(const std::string& text);

// The probe through which the end-to-end tests drive a running program from
// another process (the driver in tools/uidriver). It answers requests on the
// application window: a text dump of the forms and their components, and
// actions (click, set a property or a control's state, save a picture of a
// form) carried out in the program's own GUI thread.
//
// A request is a WM_COPYDATA sent to the application window: WParam the
// driver's window, dwData UiProbeRequest, the data the request's fields
// separated by UiProbeSeparator, the first field the driver's number for
// the request. The answer comes back before the request returns, as a
// WM_COPYDATA to the driver's window whose dwData is that number.
// Sent messages are handled in every message loop, so modal forms and the
// programs' waiting loops answer too.
//
// Requests (FORM: a form's name, class or caption; among several, the newest
// showing one):
//   status                          only the status line
//   dump [FORM]                     the forms (all, or the ones FORM names)
//   click FORM NAME                 Click() of the component, posted
//   set FORM NAME KEY VALUE         the control's own state key (ProbeState)
//                                   or else the published property, posted
//   keys FORM NAME KEYS             focuses the windowed control and posts
//                                   its keys to the window with the focus,
//                                   one stroke at a time: a character is a
//                                   WM_CHAR then its WM_KEYUP; {Enter},
//                                   {Esc}, {Tab}, {Back}, {Del}, {Ins},
//                                   {Left}, {Right}, {Up}, {Down}, {Home},
//                                   {End}, {PgUp}, {PgDn}, {Space}, {F2},
//                                   {F4} or {X} (one character's key) a
//                                   WM_KEYDOWN, which the program's loop
//                                   translates, then a WM_KEYUP; "Ctrl+",
//                                   "Shift+" and "Alt+" before the name hold
//                                   those keys (through the thread's keyboard
//                                   state); "{{" is a brace. The action ends
//                                   after its last stroke.
//   mark                            a posted action that does nothing
//   png FORM FILE                   the form's picture as a PNG file
// NAME is a component owned by the form (at any depth); an empty NAME is the
// form itself. A posted action runs once the messages already waiting are
// handled, as a user's action would; its number comes back in the answer.
//
// Every answer starts with a status line
//   ok STARTED FINISHED             the last action begun and the last ended
//   error TEXT                      the request itself failed
// followed by one "failed N TEXT" line for every action that failed since
// the last answer, then the request's text:
//   action N                        the posted action's number
//   form CLASS NAME                 then its lines, then its components:
//   component CLASS NAME            each followed by its lines
//    key=value                      (one blank first; CR, LF and "\" in
//                                   values written as \r, \n and \\)
// The lines of a form or component: handle (hexadecimal, when the window
// exists), showing (0/1), screen (left,top,right,bottom on the screen), modal
// and active (forms), every published property of a simple kind, string lists
// as NAME.Count and NAME[i], component references by name, and the lines the
// control's ProbeState adds.
#pragma once

#include <string>

// dwData of a request.
constexpr unsigned long UiProbeRequest = 0x31425051;  // "QPB1"
constexpr char UiProbeSeparator = '\x1F';

// Hooks the probe into the application window (InitFormsUnit does it).
void InitUiProbe();

// Carries out one request (fields separated by UiProbeSeparator, without
// the number) and gives the answer text; what a WM_COPYDATA request does,
// without the windows.
std::string UiProbeExecute(const std::string& request);

// A control's own state key of the form NAME[i] (as "Checked[3]" for the
// name "Checked"): true, with the index, when key is one.
bool ProbeIndexKey(const std::string& key, const char* name, int& index);

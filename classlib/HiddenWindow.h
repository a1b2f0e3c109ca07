// A hidden window for components that are not controls but must receive
// window messages (the socket's network events, the HTTP client's private
// messages, a window hook's notifications): its messages go to one bound
// method of the owner, and an exception that method raises goes to the
// application's exception handling (CallbackGuard) instead of unwinding into
// Windows.
//
// The window is a tool window with the pop-up style, no caption and size 0,
// of a window class registered once per process under the name given, with
// window data for one pointer (the THiddenWindow that routes the messages).
// A message the method leaves alone is passed to DefaultHandler.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/Controls.h"

class THiddenWindow {
public:
    using TWndMethod = TEvent<TMessage&>;

    // sender: the object named to the exception handling. Raises EOSError
    // when the class or the window cannot be made.
    THiddenWindow(const TWndMethod& method, TObject* sender, const char* className = "TQmxHiddenWindow");
    // Detaches the method first, so that nothing reaches it while the window
    // goes.
    ~THiddenWindow();
    THiddenWindow(const THiddenWindow&) = delete;
    THiddenWindow& operator=(const THiddenWindow&) = delete;

    HWND Handle() const { return handle_; }
    // The default window procedure's answer to the message.
    void DefaultHandler(TMessage& message) const;
    bool Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;

private:
    friend LRESULT CALLBACK HiddenWindowProc(HWND, UINT, WPARAM, LPARAM);
    TWndMethod method_;
    TObject* sender_;
    HWND handle_ = nullptr;
};

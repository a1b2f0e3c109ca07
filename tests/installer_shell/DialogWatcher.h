// Answers a dialog that the code under test shows: a thread waits for a
// dialog window (class "#32770") of this process, notes its caption and the
// texts of its static controls, and presses one of its buttons, so that no
// dialog is left waiting for a person. The dialogs are modal: once the code
// under test has returned, none can come any more, and Join stops the wait.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/TestUtil.h"

class DialogWatcher {
public:
    // Answers other than a button: the Esc key, and the close box.
    static constexpr int Escape = -1;
    static constexpr int CloseBox = -2;

    // button: the command id to press (IDOK, IDNO, IDCANCEL ...), or Escape or
    // CloseBox.
    explicit DialogWatcher(int button, unsigned timeoutMs = EventLimitMs);
    // Waits for the thread.
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Ends the wait for a dialog not seen yet and waits for the thread; then
    // the results below are final.
    void Join();
    bool Seen() const { return seen_; }
    const std::string& Caption() const { return caption_; }
    // The static texts, each followed by "\n".
    const std::string& Texts() const { return texts_; }
    // The visible buttons, each as its caption, "=", its command id and "\n".
    const std::string& Buttons() const { return buttons_; }
    HWND Owner() const { return owner_; }

private:
    void Run(int button, unsigned timeoutMs);

    std::atomic<bool> seen_{false};
    std::atomic<bool> over_{false};
    std::string caption_;
    std::string texts_;
    std::string buttons_;
    HWND owner_ = nullptr;
    std::thread thread_;
};

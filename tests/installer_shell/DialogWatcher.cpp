#include "tests/installer_shell/DialogWatcher.h"

namespace {

std::string WindowText(HWND hwnd)
{
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

} // namespace

DialogWatcher::DialogWatcher(int button, unsigned timeoutMs) : thread_(&DialogWatcher::Run, this, button, timeoutMs)
{
}

DialogWatcher::~DialogWatcher()
{
    Join();
}

void DialogWatcher::Join()
{
    over_ = true;
    if (thread_.joinable())
        thread_.join();
}

void DialogWatcher::Run(int button, unsigned timeoutMs)
{
    // A dialog shows once it has set up its controls.
    HWND dialog = nullptr;
    WaitUntil([this, &dialog] { return (dialog = FindDialogOf(GetCurrentProcessId())) != nullptr || over_; }, timeoutMs);
    if (!dialog)
        return;
    caption_ = WindowText(dialog);
    owner_ = GetWindow(dialog, GW_OWNER);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = "";
        GetClassNameA(child, cls, sizeof cls);
        const std::string kind = cls;
        if (kind == "Static" || kind == "STATIC")
            texts_ += WindowText(child) + "\n";
        else if ((kind == "Button" || kind == "BUTTON") && IsWindowVisible(child))
            buttons_ += WindowText(child) + "=" + std::to_string(GetDlgCtrlID(child)) + "\n";
    }
    seen_ = true;
    if (button == Escape) {
        // As typed: the dialog's own loop turns the key into its cancel.
        PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(dialog, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    } else if (button == CloseBox) {
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
}

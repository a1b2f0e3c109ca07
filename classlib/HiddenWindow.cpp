#include "classlib/HiddenWindow.h"

LRESULT CALLBACK HiddenWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Null while the window is being made and after the owner detached.
    auto* window = reinterpret_cast<THiddenWindow*>(GetWindowLongPtrA(wnd, 0));
    if (!window || !window->method_)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    if (!CallbackGuard(window->sender_, [&] { window->method_(m); }))
        return 0;
    return m.Result;
}

THiddenWindow::THiddenWindow(const TWndMethod& method, TObject* sender, const char* className)
    : method_(method), sender_(sender)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, className, &existing)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HiddenWindowProc;
        wc.cbWndExtra = sizeof(THiddenWindow*);
        wc.hInstance = instance;
        wc.lpszClassName = className;
        if (!RegisterClassA(&wc))
            RaiseLastOSError();
    }
    handle_ = CreateWindowExA(WS_EX_TOOLWINDOW, className, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                              nullptr);
    if (!handle_)
        RaiseLastOSError();
    SetWindowLongPtrA(handle_, 0, reinterpret_cast<LONG_PTR>(this));
}

THiddenWindow::~THiddenWindow()
{
    SetWindowLongPtrA(handle_, 0, 0);
    DestroyWindow(handle_);
}

void THiddenWindow::DefaultHandler(TMessage& message) const
{
    message.Result = DefWindowProcA(handle_, message.Msg, message.WParam, message.LParam);
}

bool THiddenWindow::Post(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return PostMessageA(handle_, msg, wParam, lParam) != 0;
}

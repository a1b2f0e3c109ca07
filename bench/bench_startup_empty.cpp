// The baseline of bench/startup: a minimal Win32 program that opens one empty
// window and paints it, and ends when it is closed. With QMX_STOPWATCH set it
// marks its phases as the class library's programs do (classlib/Stopwatch.h).
#include <windows.h>

#include "classlib/Stopwatch.h"

namespace {

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
        EndPaint(wnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    StopwatchMark("program entered");
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "QmxEmptyWindow";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowA("QmxEmptyWindow", "Puste okno", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640,
                             480, nullptr, nullptr, instance, nullptr);
    StopwatchMark("window made");
    ShowWindow(wnd, show);
    StopwatchMark("main form shown");
    UpdateWindow(wnd);
    MSG msg;
    bool idle = false;
    while (true) {
        if (!idle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            idle = true;
            StopwatchMark("message loop idle");
        }
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

#include "grid/AdvFlatSB.h"

namespace {

template <class F>
F Entry(const char* name)
{
    HMODULE library = GetModuleHandleA("comctl32.dll");
    if (!library)
        return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

TFlatScrollBarCalls libraryCalls;
TFlatScrollBarCalls* current = &libraryCalls;

} // namespace

bool TFlatScrollBarCalls::InitializeFlatSB(HWND wnd)
{
    auto f = Entry<BOOL(WINAPI*)(HWND)>("InitializeFlatSB");
    if (f)
        f(wnd);
    return f != nullptr;
}

bool TFlatScrollBarCalls::UninitializeFlatSB(HWND wnd)
{
    auto f = Entry<HRESULT(WINAPI*)(HWND)>("UninitializeFlatSB");
    if (f)
        f(wnd);
    return f != nullptr;
}

bool TFlatScrollBarCalls::SetScrollProp(HWND wnd, UINT index, int value, bool redraw)
{
    auto f = Entry<BOOL(WINAPI*)(HWND, UINT, INT_PTR, BOOL)>("FlatSB_SetScrollProp");
    if (f)
        f(wnd, index, value, redraw);
    return f != nullptr;
}

bool TFlatScrollBarCalls::ShowScrollBar(HWND wnd, int bar, bool show)
{
    auto f = Entry<BOOL(WINAPI*)(HWND, int, BOOL)>("FlatSB_ShowScrollBar");
    if (f)
        f(wnd, bar, show);
    return f != nullptr;
}

bool TFlatScrollBarCalls::SetScrollInfo(HWND wnd, int bar, const SCROLLINFO& info, bool redraw)
{
    auto f = Entry<int(WINAPI*)(HWND, int, LPSCROLLINFO, BOOL)>("FlatSB_SetScrollInfo");
    if (f) {
        SCROLLINFO copy = info;
        f(wnd, bar, &copy, redraw);
    }
    return f != nullptr;
}

TFlatScrollBarCalls& FlatScrollBarCalls()
{
    return *current;
}

TFlatScrollBarCalls* SetFlatScrollBarCalls(TFlatScrollBarCalls* calls)
{
    TFlatScrollBarCalls* old = current;
    current = calls ? calls : &libraryCalls;
    return old;
}

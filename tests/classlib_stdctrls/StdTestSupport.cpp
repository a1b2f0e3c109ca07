#include "StdTestSupport.h"


#include <gtest/gtest.h>


namespace {

std::function<void()> laterWork;
TCustomForm* watched = nullptr;

void CALLBACK LaterFire(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (laterWork) {
        auto f = std::move(laterWork);
        laterWork = nullptr;
        // Never unwinds into the system's timer dispatch.
        CallbackGuard(nullptr, [&] { f(); });
    }
}

void CALLBACK WatchdogFire(HWND, UINT, UINT_PTR, DWORD)
{
    if (watched)
        watched->SetModalResult(mrAbort);
}

} // namespace

void EnsureApplication()
{
    // The forms unit starts the controls' units too.
    if (!Application)
        InitFormsUnit();
}

Later::Later(unsigned ms, std::function<void()> f)
{
    laterWork = std::move(f);
    id_ = SetTimer(nullptr, 0, ms, LaterFire);
}

Later::~Later()
{
    KillTimer(nullptr, id_);
    laterWork = nullptr;
}

Watchdog::Watchdog(TCustomForm* form, unsigned ms)
{
    watched = form;
    id_ = SetTimer(nullptr, 0, ms, WatchdogFire);
}

Watchdog::~Watchdog()
{
    KillTimer(nullptr, id_);
    watched = nullptr;
}


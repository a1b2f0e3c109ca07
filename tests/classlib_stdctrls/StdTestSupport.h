// Helpers of the standard controls' tests: the application started once,
// messages handled for a while, work done later from inside a modal loop,
// and pictures saved for people to look at.
#pragma once

#include <functional>
#include <string>

#include "classlib/Forms.h"
#include "tests/support/TestUtil.h"

class TBitmap;

// Starts the forms unit (and with it the controls' units) once for the
// test program.
void EnsureApplication();

// Runs f from the message loop after ms milliseconds (inside a modal loop,
// say); one at a time.
class Later {
public:
    Later(unsigned ms, std::function<void()> f);
    ~Later();
    Later(const Later&) = delete;
    Later& operator=(const Later&) = delete;

private:
    unsigned long long id_;
};

// Ends a modal loop that nothing else ended (mrAbort after ms), so that a
// broken test fails instead of hanging.
class Watchdog {
public:
    Watchdog(TCustomForm* form, unsigned ms);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    unsigned long long id_;
};


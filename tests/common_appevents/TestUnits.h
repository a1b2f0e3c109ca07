// Start-up of what the tests of the application events and the railway
// elements need, once per test program.
#pragma once

#include "tests/support/TestUtil.h"

// The forms unit (application and screen) and the units under test.
void EnsureAppEventsTestUnits();

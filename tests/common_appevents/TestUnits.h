// Start-up of what the tests of the application events and the railway
// elements need, once per test program.
#pragma once

// The forms unit (application and screen) and the units under test.
void EnsureAppEventsTestUnits();
// Handles the messages waiting, for about ms milliseconds.
void PumpMessages(int ms);

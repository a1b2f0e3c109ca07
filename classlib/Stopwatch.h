// The start-up stopwatch of the benchmarks. With QMX_STOPWATCH set in the
// environment to a file name, each mark appends one line to that file:
// the milliseconds since the process was created, a tab, what was reached.
// Without it a mark costs one look at a flag. The class library marks the
// program's entry, every unit started, every form read and created, the
// main form shown and the first time the message loop has nothing to do
// (everything painted); a program may add marks of its own.
#pragma once

void StopwatchMark(const char* what);
// True when the marks are written.
bool StopwatchOn();

// What the grid benchmarks share: a clock, a fixed random sequence and the
// start of a run (the units the grid needs, a failure printed).
#pragma once

#include <windows.h>

#include <cstdio>
#include <exception>

#include "classlib/Forms.h"
#include "classlib/RichEdit.h"

// Seconds on the performance counter.
inline double Seconds()
{
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A number below range from a fixed sequence: every run sees the same data.
inline unsigned Next(unsigned range)
{
    static unsigned seed = 1250;
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % range;
}

// Starts the units a grid needs and runs the benchmark; an error ends it
// with its message and exit code 1.
inline int RunGridBenchmark(int (*run)())
{
    try {
        InitFormsUnit();
        InitRichEditUnit();
        return run();
    } catch (const std::exception& e) {
        std::printf("failed: %s\n", e.what());
        return 1;
    }
}

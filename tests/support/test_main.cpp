// Main of every test program: the programs' texts are CP1250, so a run in any
// other ANSI code page would test something else.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "tests/support/TestUtil.h"

int main(int argc, char** argv)
{
    MarkStarted();
    if (GetACP() != 1250) {
        std::fprintf(stderr, "The tests need ANSI code page 1250 (run them with LC_ALL=pl_PL.UTF-8 under Wine); this is %u.\n",
                     GetACP());
        return MarkEnded(1);
    }
    testing::InitGoogleTest(&argc, argv);
    return MarkEnded(RUN_ALL_TESTS());
}

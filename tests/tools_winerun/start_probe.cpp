// A test program for the runner's own test (wine_run_test.sh): the test
// main marks its start and end; one test passes, the others fail, crash or
// end the process only when asked for by name.
#include <windows.h>

#include <gtest/gtest.h>

TEST(Probe, Passes)
{
    SUCCEED();
}

TEST(Probe, DISABLED_Fails)
{
    ADD_FAILURE() << "failed on purpose";
}

TEST(Probe, DISABLED_Crashes)
{
    *static_cast<volatile int*>(nullptr) = 1;
}

TEST(Probe, DISABLED_EndsTheProcess)
{
    ExitProcess(0);
}

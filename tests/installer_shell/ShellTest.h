// The installer's units pump messages and own their dialogs through the
// application object, so every test here runs with the forms unit started.
#pragma once

#include <gtest/gtest.h>

#include "classlib/Forms.h"

class ShellTest : public testing::Test {
protected:
    static void SetUpTestSuite() { InitFormsUnit(); }
    static void TearDownTestSuite() { DoneFormsUnit(); }
};

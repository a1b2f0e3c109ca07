// The application object and COM for the tests that show windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/Forms.h"

namespace {

class FormsEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        OleInitialize(nullptr);
        InitFormsUnit();
    }
    void TearDown() override
    {
        DoneFormsUnit();
        OleUninitialize();
    }
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new FormsEnvironment);

} // namespace

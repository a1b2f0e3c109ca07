#include "classlib/FormReader.h"

#include <gtest/gtest.h>

#include "FormTestComponents.h"

namespace {

// TestForm.dfm is UTF-8 in the tree; the build put it into this program in
// code page 1250, where these literals are too.
TEST(FormResource, ReadsAFormCompiledIntoTheProgram)
{
    RegisterTestClasses();
    TTestForm form;
    ASSERT_EQ(FormResourceName(&form), "TTESTFORM");
    ASSERT_TRUE(FormResourceExists("TTESTFORM"));
    ReadFormResource(&form, FormResourceName(&form));
    EXPECT_EQ(form.Name(), "TestForm1");
    EXPECT_EQ(form.Caption(), "Zażółć gęślą jaźń");
    EXPECT_EQ(form.Caption().size(), 17u);
    ASSERT_NE(form.Button1, nullptr);
    EXPECT_EQ(form.Button1->Caption, "&Dalej >");
    EXPECT_EQ(form.Button1->Lines()->Text(), "Łódź\r\nKraków, ul. Świętego Ducha\r\n");
    form.Button1->OnClick(form.Button1);
    EXPECT_EQ(form.Clicks, std::vector<std::string>{"ButtonClick Button1"});
}

TEST(FormResource, ErrorsNameTheResource)
{
    RegisterTestClasses();
    TBrokenForm form;
    try {
        ReadFormResource(&form, FormResourceName(&form));
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "TBROKENFORM, line 3: Error reading Button1.Captoin: Property Captoin does not exist in TTestItem");
    }
    EXPECT_EQ(form.ComponentCount(), 0);

    EXPECT_FALSE(FormResourceExists("TNOSUCHFORM"));
    try {
        ReadFormResource(&form, "TNOSUCHFORM");
        ADD_FAILURE() << "no error";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource TNOSUCHFORM not found");
    }
}

} // namespace

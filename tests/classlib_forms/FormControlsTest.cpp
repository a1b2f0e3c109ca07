// The reader with real windowed controls: nesting in the description becomes
// nesting of windows, and a failed read leaves no control in the form.
#include <gtest/gtest.h>

#include "FormTestComponents.h"
#include "classlib/FormReader.h"
#include "classlib/Forms.h"

namespace {

// A container window of the library's own class.
class TFormsPanel : public TCustomControl {
public:
    explicit TFormsPanel(TComponent* owner) : TCustomControl(owner)
    {
        SetControlStyle(ControlStyle() | csAcceptsControls);
    }
    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TFormsPanel", &TCustomControl::StaticClass(), &NewComponent<TFormsPanel>);
        return info;
    }
};

} // namespace

class TFormsCtlForm : public TForm {
public:
    explicit TFormsCtlForm(TComponent* owner) : TForm(owner) {}
    TFormsPanel* pLewy = nullptr;
    TFormsPanel* pPole = nullptr;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TFormsCtlForm", &TForm::StaticClass(), nullptr,
                                     {
                                         PublishComponent<&TFormsCtlForm::pLewy, &TFormsCtlForm::pLewy>("pLewy"),
                                         PublishComponent<&TFormsCtlForm::pPole, &TFormsCtlForm::pPole>("pPole"),
                                     });
        return info;
    }
};

namespace {

class FormControls : public testing::Test {
protected:
    void SetUp() override
    {
        if (!Application)
            InitFormsUnit();
        RegisterComponentClass(TFormsPanel::StaticClass());
        RegisterTestClasses();
        form = new TFormsCtlForm(Application);
    }
    void TearDown() override { form->Free(); }

    TFormsCtlForm* form = nullptr;
};

const char* const description =
    "object fCtl: TFormsCtlForm\n"
    "  ActiveControl = pPole\n"
    "  object pLewy: TFormsPanel\n"
    "    Width = 120\n"
    "    object pPole: TFormsPanel\n"
    "      Left = 5\n"
    "      TabStop = True\n"
    "    end\n"
    "    object Item1: TTestItem\n"
    "      Link = Item2\n"
    "    end\n"
    "  end\n"
    "  object Item2: TTestItem\n"
    "  end\n"
    "end\n";

TEST_F(FormControls, NestedControlsGetNestedWindows)
{
    ReadFormText(form, description);
    ASSERT_NE(form->pLewy, nullptr);
    ASSERT_NE(form->pPole, nullptr);
    EXPECT_EQ(form->pLewy->Parent(), form);
    EXPECT_EQ(form->pPole->Parent(), form->pLewy);
    EXPECT_EQ(form->pPole->Left(), 5);
    EXPECT_EQ(form->ActiveControl(), form->pPole);
    // A non-visual component inside a control is told its parent, and is
    // no control of it.
    auto* item = dynamic_cast<TTestItem*>(form->FindComponent("Item1"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Parent(), form->pLewy);
    EXPECT_EQ(form->pLewy->ControlCount(), 1);

    EXPECT_EQ(GetParent(form->pPole->Handle()), form->pLewy->Handle());
    EXPECT_EQ(GetParent(form->pLewy->Handle()), form->Handle());
}

// The failure comes once every control exists and the form's active control
// is set: all of it goes again.
TEST_F(FormControls, AFailedReadLeavesNoControls)
{
    std::string text = description;
    text.replace(text.find("Link = Item2"), 12, "Link = Item9");
    try {
        ReadFormText(form, text);
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Line 10: Error reading Item1.Link: Component Item9 not found for property Link");
    }
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_EQ(form->pLewy, nullptr);
    EXPECT_EQ(form->pPole, nullptr);
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_FALSE(form->IsLoading());
}

} // namespace

#include "PlacementTestForms.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/IniFiles.h"
#include "classlib/TypInfo.h"
#include "components/RxHook.h"

void TRecordingForm::Dispatch(TMessage& message)
{
    if (message.Msg == WM_TEST) {
        if (Log)
            Log->push_back("form");
        message.Result = Answer;
        return;
    }
    if (message.Msg == WM_DESTROY && Log)
        Log->push_back("form destroy");
    TForm::Dispatch(message);
}

const TClassInfo& TTestItem::StaticClass()
{
    static const TClassInfo info("TTestItem", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishInteger<&TTestItem::Width, &TTestItem::Width>("Width"),
                                     PublishString<&TTestItem::Caption, &TTestItem::Caption>("Caption"),
                                 });
    return info;
}

TKindsComponent::TKindsComponent(TComponent* owner)
    : TComponent(owner), lines_(std::make_unique<TStringList>()),
      items_(std::make_unique<TCollection>(CollectionItemClass<TTestItem>, this)), font_(std::make_unique<TFont>())
{
}

TKindsComponent::~TKindsComponent() = default;

const TClassInfo& TKindsComponent::StaticClass()
{
    using K = TKindsComponent;
    static const TClassInfo info("TKindsComponent", &TComponent::StaticClass(), &NewComponent<TKindsComponent>,
                                 {
                                     PublishInteger<&K::Count, &K::Count>("Count"),
                                     PublishFloat<&K::Ratio, &K::Ratio>("Ratio"),
                                     PublishFloat<&K::Scale, &K::Scale>("Scale", TFloatType::ftSingle),
                                     PublishEnum<&K::Mode, &K::Mode>("Mode", {"tmOne", "tmTwo", "tmThree"}),
                                     PublishBoolean<&K::Flag, &K::Flag>("Flag"),
                                     PublishSet<&K::Styles, &K::Styles>("Styles", {"stBold", "stWide", "stDim"}),
                                     PublishString<&K::Label, &K::Label>("Label"),
                                     PublishColor<&K::Shade, &K::Shade>("Shade"),
                                     PublishStrings<&K::Lines, &K::SetLines>("Lines"),
                                     PublishObject<&K::Items>("Items"),
                                     PublishComponent<&K::Partner, &K::SetPartner>("Partner"),
                                     PublishObject<&K::Font>("Font"),
                                     PublishEvent<&K::OnChange>("OnChange"),
                                 });
    return info;
}

const TClassInfo& TStorageTestForm::StaticClass()
{
    static const TClassInfo info(
        "TStorageTestForm", &TForm::StaticClass(), &NewComponent<TStorageTestForm>,
        {
            PublishComponent<&TStorageTestForm::fs, &TStorageTestForm::fs>("fs"),
            PublishComponent<&TStorageTestForm::eProxy, &TStorageTestForm::eProxy>("eProxy"),
            PublishComponent<&TStorageTestForm::eProxyPassword, &TStorageTestForm::eProxyPassword>("eProxyPassword"),
            PublishComponent<&TStorageTestForm::eProxyPort, &TStorageTestForm::eProxyPort>("eProxyPort"),
            PublishComponent<&TStorageTestForm::eProxyUsername, &TStorageTestForm::eProxyUsername>("eProxyUsername"),
        },
        {
            PublishHandler<&TStorageTestForm::FormShow>("FormShow"),
        });
    return info;
}

namespace {

// The application, the class library's controls and the placement's classes
// once for the program; the hook list goes at its end, as in the programs.
class PlacementEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        InitFormsUnit();
        PlacemntStartup();
        RegisterComponentClass(TStorageTestForm::StaticClass());
    }
    void TearDown() override
    {
        DoneRxHookUnit();
        DoneFormsUnit();
    }
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlacementEnvironment);

} // namespace

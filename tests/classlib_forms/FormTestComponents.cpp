#include "FormTestComponents.h"

namespace {

std::string State(const TComponent* c)
{
    return c->IsLoading() ? " loading" : "";
}

} // namespace

std::vector<std::string>& FormLog()
{
    static std::vector<std::string> log;
    return log;
}

const TClassInfo& TItemFont::StaticClass()
{
    static const TClassInfo info("TItemFont", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishString<&TItemFont::Name, &TItemFont::SetName>("Name"),
                                     PublishInteger<&TItemFont::Size, &TItemFont::Size>("Size"),
                                     PublishSet<&TItemFont::Style, &TItemFont::Style>("Style", {"fsBold", "fsItalic"}),
                                 });
    return info;
}

const TClassInfo& TTestEntry::StaticClass()
{
    static const TClassInfo info("TTestEntry", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishString<&TTestEntry::Caption, &TTestEntry::Caption>("Caption"),
                                     PublishInteger<&TTestEntry::Width, &TTestEntry::Width>("Width"),
                                     PublishEnum<&TTestEntry::Kind, &TTestEntry::Kind>("Kind", {"tkOne", "tkTwo", "tkThree"}),
                                 });
    return info;
}

void TTestEntries::Update(TCollectionItem*)
{
    auto* owner = static_cast<TComponent*>(Owner());
    FormLog().push_back(owner->Name() + ".Entries=" + std::to_string(Count()) + State(owner));
}

TTestItem::TTestItem(TComponent* owner)
    : TComponent(owner), font_(new TItemFont), lines_(new TStringList), items_(new TStringList),
      entries_(new TTestEntries(this))
{
    FormLog().push_back("Create" + State(this));
}

TTestItem::~TTestItem()
{
    delete font_;
    delete lines_;
    delete items_;
    delete entries_;
}

void TTestItem::SetLeft(int value)
{
    left_ = value;
    FormLog().push_back(Name() + ".Left=" + std::to_string(value) + State(this));
}

void TTestItem::SetLines(TStrings* value)
{
    lines_->Assign(value);
    FormLog().push_back(Name() + ".Lines=" + std::to_string(value->Count()) + State(this));
}

void TTestItem::SetLink(TTestItem* value)
{
    if (link_)
        link_->RemoveFreeNotification(this);
    link_ = value;
    if (link_)
        link_->FreeNotification(this);
    FormLog().push_back(Name() + ".Link=" + (value ? value->Name() : "nil") + State(this));
}

void TTestItem::SetParentComponent(TComponent* parent)
{
    parent_ = parent;
    FormLog().push_back(Name() + ".Parent=" + (parent ? parent->Name() : "nil") + State(this));
}

void TTestItem::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == link_)
        link_ = nullptr;
}

void TTestItem::Loaded()
{
    LinkSetAtLoaded = link_ != nullptr;
    LinkLeftAtLoaded = link_ ? link_->Left() : -1;
    FormLog().push_back("Loaded " + Name() + State(this));
    TComponent::Loaded();
    if (FailInLoaded)
        throw EConvertError("Loaded failed in " + Name());
}

const TClassInfo& TTestItem::StaticClass()
{
    static const TClassInfo info(
        "TTestItem", &TComponent::StaticClass(), &NewComponent<TTestItem>,
        {
            PublishInteger<&TTestItem::Left, &TTestItem::SetLeft>("Left"),
            PublishString<&TTestItem::Caption, &TTestItem::Caption>("Caption"),
            PublishBoolean<&TTestItem::Visible, &TTestItem::Visible>("Visible"),
            PublishEnum<&TTestItem::Kind, &TTestItem::Kind>("Kind", {"tkOne", "tkTwo", "tkThree"}),
            PublishSet<&TTestItem::Options, &TTestItem::Options>("Options", {"toA", "toB", "toC"}),
            PublishColor<&TTestItem::Color, &TTestItem::Color>("Color"),
            PublishFloat<&TTestItem::Ratio, &TTestItem::Ratio>("Ratio"),
            PublishObject<&TTestItem::Font>("Font"),
            PublishStrings<&TTestItem::Lines, &TTestItem::SetLines>("Lines"),
            PublishStrings<&TTestItem::Items>("Items"),
            PublishObject<&TTestItem::Entries>("Entries"),
            PublishComponent<&TTestItem::Link, &TTestItem::SetLink>("Link"),
            PublishBoolean<&TTestItem::FailInLoaded, &TTestItem::FailInLoaded>("FailInLoaded"),
            PublishEvent<&TTestItem::OnClick>("OnClick"),
            PublishEvent<&TTestItem::OnMeasure>("OnMeasure"),
        });
    return info;
}

const TClassInfo& TOtherItem::StaticClass()
{
    static const TClassInfo info("TOtherItem", &TComponent::StaticClass(), &NewComponent<TOtherItem>);
    return info;
}

void TTestForm::SetCaption(const std::string& value)
{
    caption_ = value;
    FormLog().push_back(Name() + ".Caption" + State(this));
}

void TTestForm::ButtonClick(TObject* sender)
{
    Clicks.push_back("ButtonClick " + static_cast<TComponent*>(sender)->Name());
}

void TTestForm::PanelClick(TObject* sender)
{
    Clicks.push_back("PanelClick " + static_cast<TComponent*>(sender)->Name());
}

void TTestForm::Measure(TObject*, int& size)
{
    size = 42;
}

void TTestForm::Loaded()
{
    FormLog().push_back("Loaded " + Name() + State(this));
    TComponent::Loaded();
}

const TClassInfo& TTestForm::StaticClass()
{
    static const TClassInfo info("TTestForm", &TComponent::StaticClass(), nullptr,
                                 {
                                     PublishString<&TTestForm::Caption, &TTestForm::SetCaption>("Caption"),
                                     PublishComponent<&TTestForm::Button1, &TTestForm::Button1>("Button1"),
                                     PublishComponent<&TTestForm::Panel, &TTestForm::Panel>("Panel"),
                                     PublishComponent<&TTestForm::ActiveItem, &TTestForm::ActiveItem>("ActiveItem"),
                                 },
                                 {
                                     PublishHandler<&TTestForm::ButtonClick>("ButtonClick"),
                                     PublishHandler<&TTestForm::PanelClick>("PanelClick"),
                                     PublishHandler<&TTestForm::Measure>("Measure"),
                                 });
    return info;
}

void RegisterTestClasses()
{
    RegisterComponentClass(TTestItem::StaticClass());
    RegisterComponentClass(TOtherItem::StaticClass());
}

#include "classlib/Classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <typeinfo>

#include "classlib/TypInfo.h"

std::string TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = plain && status == 0 ? plain : mangled;
    std::free(plain);
    return name;
}

const TClassInfo* TObject::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TObject::StaticClass()
{
    static const TClassInfo info("TObject", nullptr);
    return info;
}

void TPersistent::Assign(const TPersistent* source)
{
    if (source) {
        source->AssignTo(this);
        return;
    }
    throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* dest) const
{
    throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest->ClassName());
}

const TClassInfo* TPersistent::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPersistent::StaticClass()
{
    static const TClassInfo info("TPersistent", &TObject::StaticClass());
    return info;
}

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Those linked to this one are told first.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& back = other->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    // The owner passes the removal on to the siblings.
    if (owner_)
        owner_->RemoveComponent(this);
}

const TClassInfo* TComponent::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TComponent::StaticClass()
{
    static const TClassInfo info("TComponent", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishString<&TComponent::Name, &TComponent::SetName>("Name"),
                                     PublishInteger<&TComponent::Tag, &TComponent::Tag>("Tag"),
                                 });
    return info;
}

bool TComponent::NameTaken(const std::string& name, const TComponent* except) const
{
    TComponent* found = FindComponent(name);
    return found && found != except;
}

void TComponent::SetName(const std::string& name)
{
    if (name == name_)
        return;
    if (owner_ && owner_->NameTaken(name, this))
        throw EComponentError("A component named " + name + " already exists");
    name_ = name;
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return components_[index];
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    const std::string wanted = AnsiUpperCase(name);
    for (TComponent* c : components_)
        if (c->name_.size() == name.size() && AnsiUpperCase(c->name_) == wanted)
            return c;
    return nullptr;
}

void TComponent::SetLoading(bool loading)
{
    if (loading)
        state_ |= csLoading;
    else
        state_ &= ~csLoading;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component || component->owner_ == this)
        return;
    // An owner cycle would never be freed, or freed twice.
    for (const TComponent* o = this; o; o = o->owner_)
        if (o == component)
            throw EComponentError("A component cannot own itself or its owner");
    if (NameTaken(component->name_, nullptr))
        throw EComponentError("A component named " + component->name_ + " already exists");
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it == components_.end())
        return;
    Notification(component, TOperation::opRemove);
    // A handler may have changed the list: look again.
    it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end())
        components_.erase(it);
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* c = components_.back();
        c->Destroying();
        RemoveComponent(c);
        delete c;
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    auto& back = component->freeNotifies_;
    if (std::find(back.begin(), back.end(), this) == back.end())
        back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
    auto& back = component->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Loaded()
{
    SetLoading(false);
}

void TComponent::Destroying()
{
    if (IsDestroying())
        return;
    state_ |= csDestroying;
    for (TComponent* c : components_)
        c->Destroying();
}

void TComponent::SetParentComponent(TComponent*)
{
}

TComponent* TComponent::GetParentComponent() const
{
    return nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    // Every owned component hears of it, so references between siblings are
    // cleared. Handlers may free components: walk by index and check again.
    for (size_t i = components_.size(); i-- > 0;) {
        if (i >= components_.size())
            continue;
        TComponent* c = components_[i];
        if (c != component)
            c->Notification(component, operation);
    }
}

TFreeWatch::TFreeWatch(TFreeWatches& watches) : watches_(&watches), outer_(watches.innermost_)
{
    watches.innermost_ = this;
}

TFreeWatch::~TFreeWatch()
{
    if (watches_)
        watches_->innermost_ = outer_;
}

TFreeWatches::~TFreeWatches()
{
    for (TFreeWatch* watch = innermost_; watch; watch = watch->outer_)
        watch->watches_ = nullptr;
}

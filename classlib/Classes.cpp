#include "classlib/Classes.h"

#include <algorithm>
#include <typeinfo>

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

std::string TObject::ClassName() const
{
    // Without a name of its own a class shows its C++ type name.
    return typeid(*this).name();
}

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Those that asked are told first, while this object is still whole.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& back = other->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, TOperation::opRemove);
    }
    // An owner frees what it owns, the last inserted first.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        RemoveComponent(c);
        delete c;
    }
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name)
{
    name_ = name;
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw ERangeError();
    return components_[index];
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    const std::string wanted = AnsiUpperCase(name);
    for (TComponent* c : components_)
        if (AnsiUpperCase(c->Name()) == wanted)
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
    components_.erase(it);
    component->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
    auto& back = component->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Loaded()
{
    SetLoading(false);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    // An owner passes the removal of any component on to everything it owns,
    // so references between siblings are cleared.
    if (operation == TOperation::opRemove && component)
        for (TComponent* c : components_)
            if (c != component)
                c->Notification(component, operation);
}

void TComponent::Destroying()
{
    state_ |= csDestroying;
}

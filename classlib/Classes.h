// The component model of the class library: persistent objects that can copy
// one another, and components that own other components.
#pragma once

#include <string>
#include <vector>

#include "classlib/Events.h"
#include "classlib/SysUtils.h"

// Root of the class library's objects.
class TObject {
public:
    virtual ~TObject() = default;
    virtual std::string ClassName() const;
};

class TPersistent : public TObject {
public:
    // Copies source into this object; raises EConvertError when neither side
    // knows how.
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,     // being read from its form resource
    csDestroying = 1u << 1,  // being destroyed
};

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name);
    int Tag = 0;

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    // The owned component with this name (case-insensitive), or nullptr.
    TComponent* FindComponent(const std::string& name) const;

    unsigned ComponentState() const { return state_; }
    bool IsLoading() const { return (state_ & csLoading) != 0; }
    bool IsDestroying() const { return (state_ & csDestroying) != 0; }
    void SetLoading(bool loading);

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Asks to be told (Notification with opRemove) when component is freed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Called once every component of a form resource has been read.
    virtual void Loaded();

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    void Destroying();

private:
    TComponent* owner_ = nullptr;
    std::string name_;
    unsigned state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

// The component model of the class library: persistent objects that can copy
// one another, and components that own other components, have a name unique
// among their owner's components, and tell one another when they go.
#pragma once

#include <string>
#include <vector>

#include "classlib/Events.h"
#include "classlib/SysUtils.h"

class TClassInfo;

// Root of the class library's objects.
class TObject {
public:
    virtual ~TObject() = default;
    // The C++ class name, such as "TButton".
    std::string ClassName() const;
    // The published properties and handlers of the object's class (TypInfo.h).
    // A class that publishes properties or handlers, or that forms create by
    // name, overrides this with its own StaticClass; others inherit their
    // parent's.
    virtual const TClassInfo* ClassInfo() const;
    static const TClassInfo& StaticClass();
};

class TPersistent : public TObject {
public:
    // Copies source into this object; raises EConvertError when neither side
    // knows how.
    virtual void Assign(const TPersistent* source);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

// Tells a member function that calls handlers, or handles messages (where
// any handler may run), whether one of them freed its object meanwhile: the
// object holds a TFreeWatches, which marks every TFreeWatch made on it when
// the object goes. Watches live on the stack of the calls that made them,
// so they come and go in nested order.
class TFreeWatches;

class TFreeWatch {
public:
    explicit TFreeWatch(TFreeWatches& watches);
    ~TFreeWatch();
    TFreeWatch(const TFreeWatch&) = delete;
    TFreeWatch& operator=(const TFreeWatch&) = delete;
    // The object went: nothing of it may be read any more.
    bool Freed() const { return watches_ == nullptr; }

private:
    friend class TFreeWatches;
    TFreeWatches* watches_;
    TFreeWatch* outer_;
};

class TFreeWatches {
public:
    TFreeWatches() = default;
    ~TFreeWatches();
    TFreeWatches(const TFreeWatches&) = delete;
    TFreeWatches& operator=(const TFreeWatches&) = delete;

private:
    friend class TFreeWatch;
    TFreeWatch* innermost_ = nullptr;
};

// A name that the owner already has, a component inserted twice, an index
// outside the owned components.
class EComponentError : public Exception {
public:
    using Exception::Exception;
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,     // being read from its form resource
    csDestroying = 1u << 1,  // being destroyed
};

class TComponent : public TPersistent {
public:
    // The owner (may be nullptr) frees the component when it goes.
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    // Raises EComponentError when another component of the owner has this
    // name (compared without regard to letter case). Empty names never clash.
    virtual void SetName(const std::string& name);
    int Tag = 0;

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    // The owned component with this name (case-insensitive), or nullptr.
    TComponent* FindComponent(const std::string& name) const;

    unsigned ComponentState() const { return state_; }
    bool IsLoading() const { return (state_ & csLoading) != 0; }
    bool IsDestroying() const { return (state_ & csDestroying) != 0; }
    // The form reader sets this before it reads a component; Loaded clears it.
    void SetLoading(bool loading);

    // Makes this the component's owner (taking it from its old owner); raises
    // EComponentError when the name clashes, and the component stays where it
    // was.
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, the last inserted first. The destructor
    // does this too; a derived destructor calls it first when the owned
    // components must still find this object whole.
    void DestroyComponents();

    // Asks that component be told, through Notification(this, opRemove), when
    // this component is freed. The link works both ways: when component is
    // freed first, this one is told and the link goes.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Called on every component of a form resource once all of them have been
    // read and their events bound. Clears csLoading: an override that needs
    // to know whether it was loading asks IsLoading before calling this.
    virtual void Loaded();

    // Marks this component and everything it owns as being destroyed. The
    // destructor does it; a derived destructor that still fires events or
    // talks to others calls it first, so they can tell.
    void Destroying();

    // A component written inside another in a form resource that is not its
    // owner (a page proxy inside its page manager, a control inside its
    // parent): the form reader passes that other component here.
    virtual void SetParentComponent(TComponent* parent);
    virtual TComponent* GetParentComponent() const;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    // Told when a component is inserted into or removed from this one's owned
    // components, when a component it asked about is freed, and (through the
    // owner) when a sibling goes. On opRemove the component may be half
    // destroyed already: compare the pointer, do not call it. The base passes
    // the call on to every owned component.
    virtual void Notification(TComponent* component, TOperation operation);

private:
    bool NameTaken(const std::string& name, const TComponent* except) const;

    TComponent* owner_ = nullptr;
    std::string name_;
    unsigned state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

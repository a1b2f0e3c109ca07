#include "classlib/Classes.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// What happened, in order: "freed X", "X: removed Y", "X: inserted Y".
std::vector<std::string> journal;
// Components freed in the current test, so that a call reaching one shows.
std::vector<const void*> freedObjects;

std::string NameOf(const TComponent* c)
{
    return c ? c->Name() : "(none)";
}

// A component that keeps a reference to another and drops it when told.
class TLinker : public TComponent {
public:
    TLinker(TComponent* owner, const std::string& name) : TComponent(owner) { SetName(name); }
    ~TLinker() override
    {
        destroyingSeen = IsDestroying();
        journal.push_back("freed " + Name());
        freedObjects.push_back(this);
    }
    void SetLink(TComponent* target)
    {
        Link = target;
        if (target)
            target->FreeNotification(this);
    }
    TComponent* Link = nullptr;
    bool destroyingSeen = false;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (std::find(freedObjects.begin(), freedObjects.end(), this) != freedObjects.end())
            ADD_FAILURE() << "a freed component was told of a change";
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component == Link)
            Link = nullptr;
        // The component may be half gone: only its pointer is compared, the
        // name comes from the list kept while it lived.
        if (operation == TOperation::opInsert)
            journal.push_back(Name() + ": inserted " + NameOf(component));
    }
};

class ComponentTest : public testing::Test {
protected:
    void SetUp() override
    {
        journal.clear();
        freedObjects.clear();
    }
    bool Logged(const std::string& entry) const
    {
        return std::find(journal.begin(), journal.end(), entry) != journal.end();
    }
};

TEST_F(ComponentTest, OwnerFreesWhatItOwnsLastFirst)
{
    auto* form = new TLinker(nullptr, "Form");
    auto* panel = new TLinker(form, "Panel");
    new TLinker(panel, "Inner");
    new TLinker(form, "Button");
    ASSERT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(form->Components(0), panel);
    EXPECT_EQ(panel->Owner(), form);
    EXPECT_THROW(form->Components(2), EListError);
    EXPECT_THROW(form->Components(-1), EListError);

    journal.clear();
    delete form;
    const std::vector<std::string> expected = {"freed Form", "freed Button", "freed Panel", "freed Inner"};
    std::vector<std::string> freed;
    std::copy_if(journal.begin(), journal.end(), std::back_inserter(freed),
                 [](const std::string& s) { return s.rfind("freed ", 0) == 0; });
    EXPECT_EQ(freed, expected);
}

TEST_F(ComponentTest, ChildFreedFirstLeavesItsOwner)
{
    auto* form = new TLinker(nullptr, "Form");
    auto* a = new TLinker(form, "A");
    new TLinker(form, "B");
    delete a;
    ASSERT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->Components(0)->Name(), "B");
    EXPECT_EQ(form->FindComponent("A"), nullptr);
    delete form;  // frees B only, once
}

TEST_F(ComponentTest, DestroyingIsSetBeforeOwnedComponentsGo)
{
    auto* form = new TLinker(nullptr, "Form");
    auto* child = new TLinker(form, "Child");
    bool childSaw = false;
    struct TWatch : TLinker {
        TWatch(TComponent* o, bool& saw) : TLinker(o, "Watch"), saw_(saw) {}
        ~TWatch() override { saw_ = IsDestroying() && Owner() == nullptr; }
        bool& saw_;
    };
    new TWatch(child, childSaw);
    EXPECT_FALSE(child->IsDestroying());
    form->Destroying();
    EXPECT_TRUE(child->IsDestroying());
    delete form;
    EXPECT_TRUE(childSaw);
}

TEST_F(ComponentTest, LoadedClearsTheLoadingState)
{
    TLinker c(nullptr, "C");
    c.SetLoading(true);
    EXPECT_TRUE(c.IsLoading());
    EXPECT_EQ(c.ComponentState() & csLoading, csLoading);
    c.Loaded();
    EXPECT_FALSE(c.IsLoading());
    EXPECT_FALSE(c.IsDestroying());
}

TEST_F(ComponentTest, NamesAreUniqueAmongTheOwnersComponents)
{
    const struct {
        const char* existing;
        const char* name;
        bool clashes;
    } rows[] = {
        {"Button1", "Button1", true},
        {"Button1", "BUTTON1", true},
        {"Łódź", "łÓDŹ", true},
        {"Button1", "Button2", false},
        {"Button1", "Button", false},
        {"", "", false},  // any number of nameless components
        {"Łódź", "Lodz", false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "'" << r.existing << "' then '" << r.name << "'");
        freedObjects.clear();  // addresses come again
        TLinker form(nullptr, "Form");
        new TLinker(&form, r.existing);
        auto* second = new TLinker(&form, "");
        if (r.clashes) {
            try {
                second->SetName(r.name);
                ADD_FAILURE() << "no error";
            } catch (const EComponentError& e) {
                EXPECT_EQ(e.Message(), std::string("A component named ") + r.name + " already exists");
            }
            EXPECT_EQ(second->Name(), "");
        } else {
            EXPECT_NO_THROW(second->SetName(r.name));
            EXPECT_EQ(second->Name(), r.name);
        }
    }
}

TEST_F(ComponentTest, RenameAndMoveBetweenOwners)
{
    TLinker form(nullptr, "Form");
    auto* button = new TLinker(&form, "Button1");
    EXPECT_NO_THROW(button->SetName("BUTTON1"));  // its own name in other letters
    EXPECT_EQ(form.FindComponent("button1"), button);
    EXPECT_EQ(form.FindComponent(""), nullptr);

    // Components without an owner may share a name.
    TLinker free1(nullptr, "Same");
    TLinker free2(nullptr, "Same");

    // A clash on insertion leaves the component where it was.
    TLinker other(nullptr, "Other");
    auto* twin = new TLinker(&other, "button1");
    EXPECT_THROW(form.InsertComponent(twin), EComponentError);
    EXPECT_EQ(twin->Owner(), &other);
    EXPECT_EQ(other.ComponentCount(), 1);

    twin->SetName("Button2");
    form.InsertComponent(twin);
    EXPECT_EQ(twin->Owner(), &form);
    EXPECT_EQ(other.ComponentCount(), 0);
    EXPECT_EQ(form.ComponentCount(), 2);
    EXPECT_TRUE(Logged("Form: inserted Button2"));

    // An owner cycle would never be freed.
    EXPECT_THROW(button->InsertComponent(&form), EComponentError);
    EXPECT_THROW(button->InsertComponent(button), EComponentError);
}

TEST_F(ComponentTest, SiblingReferenceClearedThroughTheOwner)
{
    TLinker form(nullptr, "Form");
    auto* label = new TLinker(&form, "Label");
    auto* edit = new TLinker(&form, "Edit");
    label->Link = edit;  // no free notification asked: the owner passes it on
    delete edit;
    EXPECT_EQ(label->Link, nullptr);
}

TEST_F(ComponentTest, ReferenceAcrossOwnersClearedByFreeNotification)
{
    auto* formA = new TLinker(nullptr, "FormA");
    auto* formB = new TLinker(nullptr, "FormB");
    auto* storage = new TLinker(formA, "Storage");
    auto* edit = new TLinker(formB, "Edit");
    storage->SetLink(edit);
    delete formB;
    EXPECT_EQ(storage->Link, nullptr);
    delete formA;
}

// Two forms whose components refer to each other, freed in every order: no
// reference may outlive what it points to, and no freed component may be
// told anything.
TEST_F(ComponentTest, FreeingInAnyOrderIsSafe)
{
    const struct {
        const char* order;  // A, B: the forms; a, b: their components
    } rows[] = {{"AB"}, {"BA"}, {"aAB"}, {"bAB"}, {"abAB"}, {"baBA"}, {"aBA"}, {"bBA"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.order);
        journal.clear();
        freedObjects.clear();
        TLinker* formA = new TLinker(nullptr, "A");
        TLinker* formB = new TLinker(nullptr, "B");
        TLinker* a = new TLinker(formA, "a");
        TLinker* b = new TLinker(formB, "b");
        a->SetLink(b);
        b->SetLink(a);
        formA->SetLink(b);
        std::vector<TLinker*> alive = {formA, formB, a, b};
        auto isAlive = [&](TLinker* p) { return std::find(alive.begin(), alive.end(), p) != alive.end(); };
        for (const char* o = r.order; *o; ++o) {
            TLinker* victim = *o == 'A' ? formA : *o == 'B' ? formB : *o == 'a' ? a : b;
            if (!isAlive(victim))
                continue;
            delete victim;
            alive.erase(std::remove(alive.begin(), alive.end(), victim), alive.end());
            if (victim == formA && isAlive(a))
                alive.erase(std::remove(alive.begin(), alive.end(), a), alive.end());
            if (victim == formB && isAlive(b))
                alive.erase(std::remove(alive.begin(), alive.end(), b), alive.end());
            for (TLinker* p : alive) {
                if (p->Link) {
                    EXPECT_TRUE(isAlive(static_cast<TLinker*>(p->Link))) << p->Name() << " points to a freed component";
                }
            }
        }
        EXPECT_TRUE(alive.empty());
        // Each component freed exactly once.
        for (const char* n : {"A", "B", "a", "b"})
            EXPECT_EQ(std::count(journal.begin(), journal.end(), std::string("freed ") + n), 1) << n;
    }
}

TEST_F(ComponentTest, RemovedFreeNotificationIsNotCalled)
{
    TLinker form(nullptr, "Form");
    TLinker* target = new TLinker(nullptr, "Target");
    form.SetLink(target);
    target->RemoveFreeNotification(&form);
    delete target;
    EXPECT_EQ(form.Link, target);  // nobody told it: the link was given up on purpose
    form.Link = nullptr;
}

TEST_F(ComponentTest, AssignWithoutSupportRaises)
{
    TLinker a(nullptr, "A");
    TComponent b(nullptr);
    EXPECT_EQ(b.ClassName(), "TComponent");
    try {
        a.Assign(&b);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a (anonymous namespace)::TLinker");
    }
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
}

} // namespace

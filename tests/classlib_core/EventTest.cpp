#include "classlib/Events.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/Classes.h"

namespace {

class TListener : public TObject {
public:
    explicit TListener(std::string name) : name_(std::move(name)) {}
    // Two handlers with the same body: they must still count as different.
    void ClickA(TObject*) { log.push_back(name_ + ".A"); }
    void ClickB(TObject*) { log.push_back(name_ + ".B"); }
    void Query(TObject*, bool& allow) { allow = false; }
    void Request(TObject*, int current, int& newPage) { newPage = current + 10; }
    void Text(TObject*, const std::string& text, std::string& answer) { answer = text + "!"; }
    virtual void Virtual(TObject*) { log.push_back(name_ + ".base"); }
    std::vector<std::string> log;

private:
    std::string name_;
};

class TDerivedListener : public TListener {
public:
    using TListener::TListener;
    void Virtual(TObject*) override { log.push_back("derived"); }
};

TEST(Event, EmptyHandlerDoesNothing)
{
    TNotifyEvent e;
    EXPECT_FALSE(e);
    EXPECT_EQ(e.Object(), nullptr);
    e(nullptr);  // no crash, nothing called
    TEvent<TObject*, bool&> query;
    bool allow = true;
    query(nullptr, allow);
    EXPECT_TRUE(allow);
    EXPECT_EQ(TNotifyEvent(), TNotifyEvent());
}

TEST(Event, VarParametersReachTheCaller)
{
    TListener l("l");
    TEvent<TObject*, bool&> query(&l, &TListener::Query);
    bool allow = true;
    query(&l, allow);
    EXPECT_FALSE(allow);

    TEvent<TObject*, int, int&> request(&l, &TListener::Request);
    int page = -1;
    request(nullptr, 2, page);
    EXPECT_EQ(page, 12);

    TEvent<TObject*, const std::string&, std::string&> text(&l, &TListener::Text);
    std::string answer;
    text(nullptr, "tak", answer);
    EXPECT_EQ(answer, "tak!");
}

TEST(Event, ComparisonByObjectAndMemberFunction)
{
    TListener x("x"), y("y");
    TDerivedListener d("d");
    const struct {
        const char* what;
        TNotifyEvent a, b;
        bool equal;
    } rows[] = {
        {"same object, same function", {&x, &TListener::ClickA}, {&x, &TListener::ClickA}, true},
        {"same object, other function", {&x, &TListener::ClickA}, {&x, &TListener::ClickB}, false},
        {"other object, same function", {&x, &TListener::ClickA}, {&y, &TListener::ClickA}, false},
        {"handler and empty", {&x, &TListener::ClickA}, {}, false},
        {"virtual, same object", {&x, &TListener::Virtual}, {&x, &TListener::Virtual}, true},
        {"virtual and plain", {&x, &TListener::Virtual}, {&x, &TListener::ClickA}, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.a == r.b, r.equal);
        EXPECT_EQ(r.b == r.a, r.equal);
    }

    TNotifyEvent a(&x, &TListener::ClickA), b(&x, &TListener::ClickB);
    a(nullptr);
    b(nullptr);
    EXPECT_EQ(x.log, (std::vector<std::string>{"x.A", "x.B"}));

    // A virtual member function calls the object's own override.
    TListener* asBase = &d;
    TNotifyEvent v(asBase, &TListener::Virtual);
    v(nullptr);
    EXPECT_EQ(d.log, std::vector<std::string>{"derived"});
}

// A button-like component and a hook that takes over its click handler, runs
// its own step and then the old handler, and can put the old one back.
class TClicker : public TComponent {
public:
    using TComponent::TComponent;
    void Click() { OnClick(this); }
    TNotifyEvent OnClick;
};

class THook : public TObject {
public:
    explicit THook(std::vector<std::string>& log) : log_(log) {}
    void Hook(TClicker* button)
    {
        saved_ = button->OnClick;
        button->OnClick = TNotifyEvent(this, &THook::Clicked);
        button_ = button;
    }
    void Unhook()
    {
        button_->OnClick = saved_;
        saved_.Clear();
    }

private:
    void Clicked(TObject* sender)
    {
        log_.push_back("step");
        saved_(sender);
    }
    std::vector<std::string>& log_;
    TClicker* button_ = nullptr;
    TNotifyEvent saved_;
};

class TFormOwner : public TObject {
public:
    explicit TFormOwner(std::vector<std::string>& log) : log_(log) {}
    void NextClick(TObject* sender) { log_.push_back("form:" + static_cast<TComponent*>(sender)->Name()); }

private:
    std::vector<std::string>& log_;
};

TEST(Event, HookTakesOverAndCallsTheOldHandler)
{
    std::vector<std::string> log;
    TClicker next(nullptr);
    next.SetName("bDalej");
    TFormOwner form(log);
    const TNotifyEvent own(&form, &TFormOwner::NextClick);
    next.OnClick = own;

    THook hook(log);
    hook.Hook(&next);
    EXPECT_FALSE(next.OnClick == own);
    next.Click();
    EXPECT_EQ(log, (std::vector<std::string>{"step", "form:bDalej"}));

    hook.Unhook();
    EXPECT_TRUE(next.OnClick == own);
    log.clear();
    next.Click();
    EXPECT_EQ(log, std::vector<std::string>{"form:bDalej"});

    // A button without a handler of its own: the hook's step alone.
    next.OnClick.Clear();
    hook.Hook(&next);
    log.clear();
    next.Click();
    EXPECT_EQ(log, std::vector<std::string>{"step"});
}

TEST(Event, ErasedHandlerKeepsItsParameterTypes)
{
    TListener x("x");
    TNotifyEvent click(&x, &TListener::ClickA);
    const TMethod m = click.Method();
    EXPECT_TRUE(TNotifyEvent::Accepts(m));
    EXPECT_TRUE(TNotifyEvent::FromMethod(m) == click);
    EXPECT_FALSE((TEvent<TObject*, bool&>::Accepts(m)));
    EXPECT_FALSE((TEvent<TObject*, bool&>::FromMethod(m)));
    EXPECT_TRUE((TEvent<TObject*, bool&>::Accepts(TMethod())));
}

} // namespace

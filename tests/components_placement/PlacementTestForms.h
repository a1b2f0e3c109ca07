// What the hook, property and placement tests share: a form that records the
// messages its own procedure handles, a component that publishes one
// property of every kind the property storage knows, and a form read from
// its description with a form storage on it. They live outside any
// namespace because a form's resource is found by its class name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Lists.h"
#include "classlib/StdCtrls.h"
#include "components/Placemnt.h"

// The private messages the tests send; the form answers them with Answer.
constexpr UINT WM_TEST = WM_USER + 1;

// Records, into Log, "form" for each test message and "form destroy" for
// WM_DESTROY that reach its own procedure.
class TRecordingForm : public TForm {
public:
    explicit TRecordingForm(TComponent* owner) : TForm(owner) { }
    std::vector<std::string>* Log = nullptr;
    LRESULT Answer = 7;

protected:
    void Dispatch(TMessage& message) override;
};

class TTestItem : public TCollectionItem {
public:
    explicit TTestItem(TCollection* collection) : TCollectionItem(collection) { }
    int Width = 0;
    std::string Caption;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();
};

enum TTestMode { tmOne, tmTwo, tmThree };

// One published property of every kind.
class TKindsComponent : public TComponent {
public:
    explicit TKindsComponent(TComponent* owner);
    ~TKindsComponent() override;

    int Count = 0;
    double Ratio = 0;
    float Scale = 0;
    int Mode = tmOne;
    bool Flag = false;
    unsigned Styles = 0;
    std::string Label;
    TColor Shade = clBlack;
    TStringList* Lines() const { return lines_.get(); }
    void SetLines(TStringList* value) { lines_->Assign(value); }
    TCollection* Items() const { return items_.get(); }
    TComponent* Partner() const { return partner_; }
    void SetPartner(TComponent* value) { partner_ = value; }
    TFont* Font() const { return font_.get(); }
    TNotifyEvent OnChange;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();

private:
    std::unique_ptr<TStringList> lines_;
    std::unique_ptr<TCollection> items_;
    std::unique_ptr<TFont> font_;
    TComponent* partner_ = nullptr;
};

// The update form's kind of storage: four edits whose texts it keeps, read
// from TStorageTestForm.dfm.
class TStorageTestForm : public TForm {
public:
    explicit TStorageTestForm(TComponent* owner) : TForm(owner) { }
    TFormStorage* fs = nullptr;
    TEdit* eProxy = nullptr;
    TEdit* eProxyPassword = nullptr;
    TEdit* eProxyPort = nullptr;
    TEdit* eProxyUsername = nullptr;
    std::vector<std::string> Events;
    void FormShow(TObject*) { Events.push_back("show"); }

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();
};

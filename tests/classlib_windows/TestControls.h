// Small controls made only for the tests of the window layer: a windowless
// box, a panel that paints itself, a wrapped system push button with the
// dialog-key behaviour of default and cancel buttons, and a form. They
// live outside any namespace because a form's resource is found by its class
// name.
#pragma once

#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "tests/support/TestUtil.h"

// Collects what the controls heard, in order ("enter Box1", "font Box1").
extern std::vector<std::string> Heard;
// Number of test controls alive.
extern int LiveControls;

// Counts the notifications a control hears.
struct TNotifications {
    int Font = 0, Color = 0, Enabled = 0, Visible = 0, Text = 0;
};

// A windowless control that fills itself with its colour.
class TTestBox : public TGraphicControl {
public:
    explicit TTestBox(TComponent* owner);
    ~TTestBox() override;
    TNotifications Heard;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;
    void Dispatch(TMessage& message) override;
};

// A windowed container of the library's own class that fills itself with
// its colour and can take the focus.
class TTestPanel : public TCustomControl {
public:
    explicit TTestPanel(TComponent* owner);
    ~TTestPanel() override;
    TNotifications Heard;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;
    void Dispatch(TMessage& message) override;
};

// The system's push button. Enter clicks it while it is the default button
// and no other button has the focus, or while it has the focus itself;
// Escape clicks a cancel button. A click gives its form the button's modal
// result. Owner-drawn, it paints its face in FaceColor through the
// reflected draw-item message.
class TTestButton : public TWinControl {
public:
    explicit TTestButton(TComponent* owner);
    ~TTestButton() override;
    bool Default = false;
    bool Cancel = false;
    TModalResult ModalResult = mrNone;
    bool OwnerDraw = false;
    TColor FaceColor = clLime;
    int Draws = 0;
    void Click() override;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;

private:
    bool active_ = false;
};

// A form read from TWinTestForm.dfm.
class TWinTestForm : public TForm {
public:
    explicit TWinTestForm(TComponent* owner) : TForm(owner) {}
    TTestPanel* pGora = nullptr;
    TTestBox* Box1 = nullptr;
    TTestButton* bOK = nullptr;
    std::vector<std::string> Events;
    void FormCreate(TObject*);
    void FormDestroy(TObject*);
    void bOKClick(TObject*);

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();
};

void RegisterTestControls();
// Starts the application once for the test program.
void EnsureApplication();

#include "TestControls.h"

#include "classlib/TypInfo.h"

std::vector<std::string> Heard;
int LiveControls = 0;

namespace {

// Records the notifications a test control hears.
void Note(TControl* control, TNotifications& n, const TMessage& m)
{
    switch (m.Msg) {
    case CM_FONTCHANGED:
        ++n.Font;
        break;
    case CM_COLORCHANGED:
        ++n.Color;
        break;
    case CM_ENABLEDCHANGED:
        ++n.Enabled;
        break;
    case CM_VISIBLECHANGED:
        ++n.Visible;
        break;
    case CM_TEXTCHANGED:
        ++n.Text;
        break;
    case CM_MOUSEENTER:
        Heard.push_back("enter " + control->Name());
        break;
    case CM_MOUSELEAVE:
        Heard.push_back("leave " + control->Name());
        break;
    }
}

} // namespace

TTestBox::TTestBox(TComponent* owner) : TGraphicControl(owner)
{
    ++LiveControls;
    SetBounds(0, 0, 20, 20);
}

TTestBox::~TTestBox()
{
    --LiveControls;
}

const TClassInfo& TTestBox::StaticClass()
{
    static const TClassInfo info("TTestBox", &TGraphicControl::StaticClass(), &NewComponent<TTestBox>);
    return info;
}

void TTestBox::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

void TTestBox::Dispatch(TMessage& m)
{
    Note(this, Heard, m);
    TGraphicControl::Dispatch(m);
}

TTestPanel::TTestPanel(TComponent* owner) : TCustomControl(owner)
{
    ++LiveControls;
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetBounds(0, 0, 100, 50);
}

TTestPanel::~TTestPanel()
{
    --LiveControls;
}

const TClassInfo& TTestPanel::StaticClass()
{
    static const TClassInfo info("TTestPanel", &TCustomControl::StaticClass(), &NewComponent<TTestPanel>);
    return info;
}

void TTestPanel::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

void TTestPanel::Dispatch(TMessage& m)
{
    Note(this, Heard, m);
    TCustomControl::Dispatch(m);
}

TTestButton::TTestButton(TComponent* owner) : TWinControl(owner)
{
    ++LiveControls;
    // The system button presses and clicks itself.
    SetControlStyle(csDoubleClicks);
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

TTestButton::~TTestButton()
{
    --LiveControls;
}

const TClassInfo& TTestButton::StaticClass()
{
    static const TClassInfo info(
        "TTestButton", &TWinControl::StaticClass(), &NewComponent<TTestButton>,
        {
            PublishBoolean<&TTestButton::Default, &TTestButton::Default>("Default"),
            PublishBoolean<&TTestButton::Cancel, &TTestButton::Cancel>("Cancel"),
            PublishInteger<&TTestButton::ModalResult, &TTestButton::ModalResult>("ModalResult"),
        });
    return info;
}

void TTestButton::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= OwnerDraw ? BS_OWNERDRAW : Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TTestButton::Click()
{
    TWinControl::Click();
    if (TCustomForm* form = GetParentForm(this); form && ModalResult != mrNone)
        form->SetModalResult(ModalResult);
}

void TTestButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED)
            Click();
        return;
    case CN_DRAWITEM: {
        ++Draws;
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        TGdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(FaceColor)));
        FillRect(item->hDC, &item->rcItem, brush.Get());
        m.Result = TRUE;
        return;
    }
    case CM_FOCUSCHANGED: {
        auto* focused = reinterpret_cast<TControl*>(m.LParam);
        active_ = focused == this || (Default && !dynamic_cast<TTestButton*>(focused));
        break;
    }
    case CM_DIALOGKEY:
        if ((m.WParam == VK_RETURN && active_) || (m.WParam == VK_ESCAPE && Cancel)) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char>(m.WParam), Caption())) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    }
    TWinControl::Dispatch(m);
}

const TClassInfo& TWinTestForm::StaticClass()
{
    static const TClassInfo info("TWinTestForm", &TForm::StaticClass(), nullptr,
                                 {
                                     PublishComponent<&TWinTestForm::pGora, &TWinTestForm::pGora>("pGora"),
                                     PublishComponent<&TWinTestForm::Box1, &TWinTestForm::Box1>("Box1"),
                                     PublishComponent<&TWinTestForm::bOK, &TWinTestForm::bOK>("bOK"),
                                 },
                                 {
                                     PublishHandler<&TWinTestForm::FormCreate>("FormCreate"),
                                     PublishHandler<&TWinTestForm::FormDestroy>("FormDestroy"),
                                     PublishHandler<&TWinTestForm::bOKClick>("bOKClick"),
                                 });
    return info;
}

void TWinTestForm::FormCreate(TObject*)
{
    // Everything has been read by now.
    Events.push_back("create " + std::string(bOK ? bOK->Caption() : "-"));
}

void TWinTestForm::FormDestroy(TObject*)
{
    Heard.push_back("destroy " + Name() + " " + std::to_string(ComponentCount()));
}

void TWinTestForm::bOKClick(TObject*)
{
    Events.push_back("click");
}

void RegisterTestControls()
{
    RegisterComponentClass(TTestBox::StaticClass());
    RegisterComponentClass(TTestPanel::StaticClass());
    RegisterComponentClass(TTestButton::StaticClass());
}

void EnsureApplication()
{
    if (!Application) {
        InitFormsUnit();
        RegisterTestControls();
    }
}

#include "organizer/EnhGB.h"

#include "classlib/TypInfo.h"

void EnhGBStartup()
{
    RegisterComponentClass(TEnhGroupBox::StaticClass());
}

TEnhGroupBox::TEnhGroupBox(TComponent* owner) : TCustomGroupBox(owner)
{
    checkBox_ = new TCheckBox(this);
    checkBox_->SetName("ICheckBox");
    checkBox_->SetParent(this);
    checkBox_->SetBounds(10, 0, 20, checkBox_->Height());
    settingBox_ = true;
    checkBox_->SetChecked(true);
    settingBox_ = false;
    checkBox_->OnClick = TNotifyEvent(this, &TEnhGroupBox::CheckClick);
}

TEnhGroupBox::~TEnhGroupBox()
{
    delete checkBox_;
}

const TClassInfo* TEnhGroupBox::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TEnhGroupBox::StaticClass()
{
    static const TClassInfo info("TEnhGroupBox", &TCustomGroupBox::StaticClass(), &NewComponent<TEnhGroupBox>,
                                 {
                                     PublishString<&TEnhGroupBox::Caption, &TEnhGroupBox::SetCaption>("Caption"),
                                     PublishBoolean<&TEnhGroupBox::Checked, &TEnhGroupBox::SetChecked>("Checked"),
                                     PublishEvent<&TEnhGroupBox::OnClickChecked>("OnClickChecked"),
                                 });
    return info;
}

void TEnhGroupBox::Loaded()
{
    TCustomGroupBox::Loaded();
    // A form gives Checked before the controls inside the box exist; those
    // read after it must not stay enabled under a cleared box.
    if (!checked_)
        SetChecked(false);
}

void TEnhGroupBox::SetCaption(const std::string& value)
{
    caption_ = value;
    checkBox_->SetCaption(value);
    Invalidate();
}

void TEnhGroupBox::SetChecked(bool value)
{
    checked_ = value;
    settingBox_ = true;
    try {
        checkBox_->SetChecked(value);
    } catch (...) {
        settingBox_ = false;
        throw;
    }
    settingBox_ = false;
    for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i) != checkBox_)
            Controls(i)->SetEnabled(value);
}

void TEnhGroupBox::CheckClick(TObject*)
{
    if (settingBox_)
        return;
    SetChecked(checkBox_->Checked());
    OnClickChecked(this);
}

void TEnhGroupBox::Paint()
{
    TCustomGroupBox::Paint();
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    checkBox_->SetWidth(canvas->TextWidth(caption_) + 20);
}

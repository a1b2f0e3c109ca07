// TEnhGroupBox: a group box whose caption is a check box; the check box
// enables or disables everything else inside the box.
#pragma once

#include <string>

#include "classlib/StdCtrls.h"

// Registers the unit's component class for the form reader.
void EnhGBStartup();

class TEnhGroupBox : public TCustomGroupBox {
public:
    explicit TEnhGroupBox(TComponent* owner);
    ~TEnhGroupBox() override;

    // The check box's text; the group box's own caption stays empty.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    bool Checked() const { return checked_; }
    // Ticks the check box and enables (or disables) every other control in
    // the box; OnClickChecked is not fired.
    void SetChecked(bool value);
    TCheckBox* CheckBox() const { return checkBox_; }

    // The user ticked or cleared the check box.
    TNotifyEvent OnClickChecked;

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;

private:
    void CheckClick(TObject*);

    std::string caption_;
    bool checked_ = true;
    TCheckBox* checkBox_ = nullptr;
    // Set while the program changes the check box, whose OnClick fires then
    // too.
    bool settingBox_ = false;
};

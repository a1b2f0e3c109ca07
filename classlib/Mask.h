// The edit that holds an input mask. Only the mask's text is kept: nothing
// in the programs sets one, so no masking is done, and the edit behaves as
// the plain edit does. Derived edits decide through CanModify whether the
// user may change the text.
#pragma once

#include <string>

#include "classlib/StdCtrls.h"

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* owner);

    const std::string& EditMask() const { return editMask_; }
    void SetEditMask(const std::string& value) { editMask_ = value; }
    // The whole text is selected when the edit is entered by the keyboard.
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    // Whether typing, pasting and cutting may change the text.
    virtual bool CanModify() const { return !ReadOnly(); }

private:
    std::string editMask_;
    bool autoSelect_ = true;
};

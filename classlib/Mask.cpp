#include "classlib/Mask.h"

#include "classlib/TypInfo.h"

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

const TClassInfo* TCustomMaskEdit::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomMaskEdit::StaticClass()
{
    static const TClassInfo info(
        "TCustomMaskEdit", &TCustomEdit::StaticClass(), nullptr,
        {
            PublishString<&TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask>("EditMask"),
            PublishBoolean<&TCustomMaskEdit::AutoSelect, &TCustomMaskEdit::SetAutoSelect>("AutoSelect"),
        });
    return info;
}

#include "components/FileIcon.h"

#include "classlib/TypInfo.h"

void TFileIcon::Assign(const TPersistent* source)
{
    const TFileIcon* icon = dynamic_cast<const TFileIcon*>(source);
    if (!icon)
        throw EConvertError("Invalid class typecast");
    FileName = icon->FileName;
    IconIndex = icon->IconIndex;
}

const TClassInfo* TFileIcon::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TFileIcon::StaticClass()
{
    static const TClassInfo info("TFileIcon", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishString<&TFileIcon::FileName, &TFileIcon::FileName>("FileName"),
                                     PublishInteger<&TFileIcon::IconIndex, &TFileIcon::IconIndex>("IconIndex"),
                                 });
    return info;
}

// TFileIcon: the icon of a shortcut, a file that holds icons and an index
// into it.
#pragma once

#include <string>

#include "classlib/Classes.h"

class TFileIcon : public TPersistent {
public:
    // An icon file, a program or a library.
    std::string FileName;
    int IconIndex = 0;

    // Copies FileName and IconIndex of another TFileIcon; any other source
    // (also none) raises EConvertError.
    void Assign(const TPersistent* source) override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

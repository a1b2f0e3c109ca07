// HTML export settings of the grid and of the extended list view: held and
// streamed with their owner's form, nothing here writes HTML.
#pragma once

#include <string>

#include "classlib/Classes.h"

class THTMLSettings : public TPersistent {
public:
    bool SaveColor = true;
    bool SaveFonts = true;
    int BorderSize = 1;
    int CellSpacing = 0;
    int Width = 100;
    std::string FooterFile, HeaderFile, TableStyle, PrefixTag, SuffixTag;

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

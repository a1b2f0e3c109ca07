#include "common/HtmlSettings.h"

#include "classlib/TypInfo.h"

void THTMLSettings::Assign(const TPersistent* source)
{
    if (auto* o = dynamic_cast<const THTMLSettings*>(source)) {
        SaveColor = o->SaveColor;
        SaveFonts = o->SaveFonts;
        BorderSize = o->BorderSize;
        CellSpacing = o->CellSpacing;
        Width = o->Width;
        FooterFile = o->FooterFile;
        HeaderFile = o->HeaderFile;
        TableStyle = o->TableStyle;
        PrefixTag = o->PrefixTag;
        SuffixTag = o->SuffixTag;
        return;
    }
    TPersistent::Assign(source);
}

const TClassInfo* THTMLSettings::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& THTMLSettings::StaticClass()
{
    using H = THTMLSettings;
    static const TClassInfo info("THTMLSettings", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishBoolean<&H::SaveColor, &H::SaveColor>("SaveColor"),
                                     PublishBoolean<&H::SaveFonts, &H::SaveFonts>("SaveFonts"),
                                     PublishInteger<&H::BorderSize, &H::BorderSize>("BorderSize"),
                                     PublishInteger<&H::CellSpacing, &H::CellSpacing>("CellSpacing"),
                                     PublishInteger<&H::Width, &H::Width>("Width"),
                                     PublishString<&H::FooterFile, &H::FooterFile>("FooterFile"),
                                     PublishString<&H::HeaderFile, &H::HeaderFile>("HeaderFile"),
                                     PublishString<&H::TableStyle, &H::TableStyle>("TableStyle"),
                                     PublishString<&H::PrefixTag, &H::PrefixTag>("PrefixTag"),
                                     PublishString<&H::SuffixTag, &H::SuffixTag>("SuffixTag"),
                                 });
    return info;
}

// A label that shows one value of a file's version resource by itself: a
// string value in the file's translation, or the file's build flags. It
// reads the file afresh whenever a property changes; what cannot be read
// shows as a bracketed message ("< No Data Available >" and the like).
//
// The translation: LangCharset "-1" takes the first translation the file
// declares and keeps it, so a label reads a later file in the code found
// first. A new label reads the running program at once.
//
// Registered for forms by InitVersLabUnit, which a program starts after the
// forms unit: StartUnit(InitVersLabUnit, nullptr).
#pragma once

#include <string>

#include "classlib/StdCtrls.h"

void InitVersLabUnit();

enum TVersionResources {
    vrCompanyName,
    vrFileDescription,
    vrFileVersion,
    vrInternalName,
    vrLegalCopyright,
    vrOriginalFilename,
    vrProductName,
    vrProductVersion,
    vrComments,
    vrFlags,
};

class TVersionLabel : public TCustomLabel {
public:
    explicit TVersionLabel(TComponent* owner);

    // Also sets VersionResourceKey and InfoPrefix to the member's.
    TVersionResources VersionResource() const { return versionResource_; }
    void SetVersionResource(TVersionResources value);
    // The string-table key read; setting it makes InfoPrefix the same text.
    const std::string& VersionResourceKey() const { return versionResourceKey_; }
    void SetVersionResourceKey(const std::string& value);
    const std::string& InfoPrefix() const { return infoPrefix_; }
    void SetInfoPrefix(const std::string& value);
    bool ShowInfoPrefix() const { return showInfoPrefix_; }
    void SetShowInfoPrefix(bool value);
    // Eight hexadecimal digits of language and code page, or "-1".
    const std::string& LangCharset() const { return langCharset_; }
    void SetLangCharset(const std::string& value);
    // The file read; empty: the running program. Setting always reads again.
    const std::string& Filename() const { return filename_; }
    void SetFilename(const std::string& value);
    // The text shown last.
    const std::string& InfoString() const { return infoString_; }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    void Refresh();
    std::string ReadText();
    std::string ReadFlagsText(const char* block, const char* end);
    std::string ReadStringText(const char* block, const char* end);

    TVersionResources versionResource_ = vrCompanyName;
    std::string versionResourceKey_;
    std::string infoPrefix_;
    bool showInfoPrefix_ = false;
    std::string langCharset_;
    std::string filename_;
    std::string infoString_;
};

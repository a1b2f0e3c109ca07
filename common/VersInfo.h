// Reading a file's version resource: the fixed file information (version
// words, build flags), the translations the file declares and the values of
// its string table, always in the first declared translation. The component
// shows what it read in the labels and the list view linked to it.
//
// Registered for forms by InitVersInfoUnit, which a program starts after the
// forms unit: StartUnit(InitVersInfoUnit, nullptr).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Lists.h"

struct tagVS_FIXEDFILEINFO;
class TVersionInfoResource;
class TCustomLabel;
class TListView;

void InitVersInfoUnit();

using TVersionFilename = std::string;

// The standard keys of a string table, in index order.
enum TPreDef {
    pdCompanyName,
    pdFileDescription,
    pdFileVersion,
    pdInternalName,
    pdLegalCopyright,
    pdLegalTrademarks,
    pdOriginalFilename,
    pdProductName,
    pdProductVersion,
    pdComments,
    pdBuildFlags,
};

// A set of TPreDef members: bit n stands for member n.
using TPreDefs = unsigned;
constexpr TPreDefs PreDefBit(TPreDef member)
{
    return 1u << member;
}
constexpr TPreDefs AllPreDefs = (1u << (pdBuildFlags + 1)) - 1;

// Build flags of the fixed information, in the order their words are shown.
enum TVersionFlag {
    vfDebug,
    vfInfoInferred,
    vfPatched,
    vfPreRelease,
    vfPrivate,
    vfSpecial,
};

// A set of build flags; bit n stands for the flag of value n.
class TVersionFlags {
public:
    bool Contains(TVersionFlag flag) const { return (bits_ & (1u << flag)) != 0; }
    void Include(TVersionFlag flag) { bits_ |= 1u << flag; }
    bool Empty() const { return bits_ == 0; }
    unsigned Bits() const { return bits_; }
    bool operator==(const TVersionFlags&) const = default;

private:
    unsigned bits_ = 0;
};

// A view of the fixed information inside the owner's data block: every value
// is 0 (or the empty set) while no block with fixed information is loaded.
class TFixedFileVersionInfo : public TObject {
public:
    explicit TFixedFileVersionInfo(TVersionInfoResource* owner) : owner_(owner) {}
    TFixedFileVersionInfo(const TFixedFileVersionInfo&) = delete;
    TFixedFileVersionInfo& operator=(const TFixedFileVersionInfo&) = delete;

    std::uint32_t FileVersionMS() const;
    std::uint32_t FileVersionLS() const;
    std::uint32_t ProductVersionMS() const;
    std::uint32_t ProductVersionLS() const;
    // The flags as stored: the flags mask is not applied.
    TVersionFlags FileFlags() const;

    TVersionInfoResource* Owner() const { return owner_; }

private:
    friend class TVersionInfoResource;
    TVersionInfoResource* owner_;
    const tagVS_FIXEDFILEINFO* info_ = nullptr;
};

// A version number as two 32-bit words; its four 16-bit parts read 0 while it
// is not valid.
class TVersionNumberInformation : public TObject {
public:
    bool Valid = false;
    std::uint32_t MS = 0;
    std::uint32_t LS = 0;

    // Part 0 and 1 are the high and low halves of MS, 2 and 3 those of LS.
    unsigned GetPart(int index) const;
    // "1.2.3.4", or empty while not valid.
    std::string GetVersionText() const;
};

class TVersionInfoResource : public TComponent {
public:
    explicit TVersionInfoResource(TComponent* owner);
    ~TVersionInfoResource() override;

    // Setting the name always reads the file again, also the same name.
    const TVersionFilename& Filename() const { return filename_; }
    void SetFilename(const TVersionFilename& value);
    // With an empty Filename inside a library: read the program, not the library.
    bool ForceEXE() const { return forceEXE_; }
    void SetForceEXE(bool value);

    void Loaded() override;

    // The component's own version, shown to whoever lists its properties.
    std::string Version() const { return "TVersionInfoResource v2.27"; }
    // Forms may carry the text; it stays what it is.
    void SetVersion(const std::string&) {}

    // Linked controls: the version label shows the file version number, the
    // others their string values. Linking a label takes its value off
    // ShowResource, so that the list view does not repeat it. A link goes
    // when the linked control is freed.
    TCustomLabel* VersionLabel() const { return versionLabel_; }
    void SetVersionLabel(TCustomLabel* value);
    TCustomLabel* DescriptionLabel() const { return descriptionLabel_; }
    void SetDescriptionLabel(TCustomLabel* value);
    TCustomLabel* CopyrightLabel() const { return copyrightLabel_; }
    void SetCopyrightLabel(TCustomLabel* value);
    TCustomLabel* ProductLabel() const { return productLabel_; }
    void SetProductLabel(TCustomLabel* value);
    // One row for every value of ShowResource that is not empty.
    TListView* VersionListView() const { return versionListView_; }
    void SetVersionListView(TListView* value);
    TPreDefs ShowResource() const { return showResource_; }
    void SetShowResource(TPreDefs value);

    // The value of standard key 0..10 (TPreDef order); empty for other indexes.
    std::string GetStandardValue(int index) const;
    // The value of any key in the current translation, up to its terminating
    // zero; empty when the file, the translation or the key has none.
    std::string GetValue(const std::string& key) const;

    std::string CompanyName() const { return GetStandardValue(pdCompanyName); }
    std::string FileDescription() const { return GetStandardValue(pdFileDescription); }
    std::string InternalName() const { return GetStandardValue(pdInternalName); }
    std::string LegalCopyright() const { return GetStandardValue(pdLegalCopyright); }
    std::string LegalTrademarks() const { return GetStandardValue(pdLegalTrademarks); }
    std::string OriginalFilename() const { return GetStandardValue(pdOriginalFilename); }
    std::string ProductName() const { return GetStandardValue(pdProductName); }
    std::string Comments() const { return GetStandardValue(pdComments); }

    // Declared translations as "%.4x%.4x" (language, code page), in file order.
    const TStringList& Translations() const { return translations_; }
    int TranslationIndex() const { return translationIndex_; }

    const TFixedFileVersionInfo& FixedFileInfo() const { return fixed_; }
    const TVersionNumberInformation& FileVersionNumber() const { return fileVersion_; }
    const TVersionNumberInformation& ProductVersionNumber() const { return productVersion_; }

    // The file read: Filename, else the running module (see ForceEXE).
    virtual std::string GetTargetFileName() const;
    // Shows the values read in the linked controls; run after every reload.
    virtual void UpdateLabels();
    // The words of the set build flags joined by ", ".
    virtual std::string GetBuildFlagsText() const;
    // Rows "Resource" / "Value": the shown values that are not empty, the
    // version numbers from the fixed information.
    virtual void FillListView();
    // Replaces every value read with what the target file holds now.
    virtual void ReloadVersionInfo();

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void DropData();
    void LinkLabel(TCustomLabel*& link, TCustomLabel* value, TPreDef shown);

    TVersionFilename filename_;
    bool forceEXE_ = false;
    // The whole version resource, empty when the file has none; queries in
    // the ANSI form may write converted texts into its spare half.
    mutable std::vector<char> data_;
    TStringList translations_;
    int translationIndex_ = 0;
    TFixedFileVersionInfo fixed_;
    TVersionNumberInformation fileVersion_;
    TVersionNumberInformation productVersion_;
    TCustomLabel* versionLabel_ = nullptr;
    TCustomLabel* descriptionLabel_ = nullptr;
    TCustomLabel* copyrightLabel_ = nullptr;
    TCustomLabel* productLabel_ = nullptr;
    TListView* versionListView_ = nullptr;
    TPreDefs showResource_ = AllPreDefs;
};

#include "common/VersInfo.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "classlib/ListView.h"
#include "classlib/StdCtrls.h"
#include "classlib/SysUtils.h"
#include "classlib/TypInfo.h"

namespace {

const char* const StandardKeys[] = {
    "CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright", "LegalTrademarks",
    "OriginalFilename", "ProductName", "ProductVersion", "Comments", "BuildFlags",
};

// The translation read when the file declares none.
const char DefaultTranslation[] = "040904E4";

// The module this code is linked into (a library or the program itself).
HMODULE OwnModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnModule), &module);
    return module;
}

std::string ModuleFileName(HMODULE module)
{
    char name[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, name, sizeof name);
    if (length >= sizeof name)
        length = 0;
    return std::string(name, length);
}

}  // namespace

std::uint32_t TFixedFileVersionInfo::FileVersionMS() const
{
    return info_ ? info_->dwFileVersionMS : 0;
}

std::uint32_t TFixedFileVersionInfo::FileVersionLS() const
{
    return info_ ? info_->dwFileVersionLS : 0;
}

std::uint32_t TFixedFileVersionInfo::ProductVersionMS() const
{
    return info_ ? info_->dwProductVersionMS : 0;
}

std::uint32_t TFixedFileVersionInfo::ProductVersionLS() const
{
    return info_ ? info_->dwProductVersionLS : 0;
}

TVersionFlags TFixedFileVersionInfo::FileFlags() const
{
    TVersionFlags flags;
    if (!info_)
        return flags;
    const DWORD stored = info_->dwFileFlags;
    const struct {
        DWORD bit;
        TVersionFlag flag;
    } map[] = {
        {VS_FF_DEBUG, vfDebug},
        {VS_FF_PRERELEASE, vfPreRelease},
        {VS_FF_PATCHED, vfPatched},
        {VS_FF_PRIVATEBUILD, vfPrivate},
        {VS_FF_INFOINFERRED, vfInfoInferred},
        {VS_FF_SPECIALBUILD, vfSpecial},
    };
    for (const auto& m : map)
        if (stored & m.bit)
            flags.Include(m.flag);
    return flags;
}

unsigned TVersionNumberInformation::GetPart(int index) const
{
    if (!Valid)
        return 0;
    switch (index) {
    case 0:
        return MS >> 16;
    case 1:
        return MS & 0xFFFF;
    case 2:
        return LS >> 16;
    case 3:
        return LS & 0xFFFF;
    default:
        return 0;
    }
}

std::string TVersionNumberInformation::GetVersionText() const
{
    if (!Valid)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", GetPart(0), GetPart(1), GetPart(2), GetPart(3));
    return text;
}

TVersionInfoResource::TVersionInfoResource(TComponent* owner) : TComponent(owner), fixed_(this) {}

TVersionInfoResource::~TVersionInfoResource() = default;

void TVersionInfoResource::SetFilename(const TVersionFilename& value)
{
    filename_ = value;
    ReloadVersionInfo();
}

void TVersionInfoResource::SetForceEXE(bool value)
{
    if (value == forceEXE_)
        return;
    forceEXE_ = value;
    ReloadVersionInfo();
}

void TVersionInfoResource::Loaded()
{
    TComponent::Loaded();
    ReloadVersionInfo();
}

std::string TVersionInfoResource::GetStandardValue(int index) const
{
    if (index < 0 || index > pdBuildFlags)
        return {};
    return GetValue(StandardKeys[index]);
}

std::string TVersionInfoResource::GetValue(const std::string& key) const
{
    if (data_.empty())
        return {};
    const std::string translation = translationIndex_ < translations_.Count()
                                        ? translations_.Strings(translationIndex_)
                                        : std::string(DefaultTranslation);
    const std::string path = "\\StringFileInfo\\" + translation + "\\" + key;
    void* value = nullptr;
    UINT length = 0;
    // The ANSI query may convert the value into the block's spare half.
    if (!VerQueryValueA(data_.data(), path.c_str(), &value, &length) || !value)
        return {};
    // The text ends at its terminating zero, whatever length is reported;
    // the end of the block bounds it all the same.
    const char* text = static_cast<const char*>(value);
    const char* end = data_.data() + data_.size();
    if (text < data_.data() || text >= end)
        return {};
    return std::string(text, strnlen(text, static_cast<size_t>(end - text)));
}

std::string TVersionInfoResource::GetTargetFileName() const
{
    if (!filename_.empty())
        return filename_;
    const HMODULE own = OwnModule();
    if (own && own != GetModuleHandleA(nullptr) && !forceEXE_)
        return ModuleFileName(own);
    return ModuleFileName(nullptr);
}

void TVersionInfoResource::LinkLabel(TCustomLabel*& link, TCustomLabel* value, TPreDef shown)
{
    link = value;
    if (!value)
        return;
    value->FreeNotification(this);
    showResource_ &= ~PreDefBit(shown);
    UpdateLabels();
}

void TVersionInfoResource::SetVersionLabel(TCustomLabel* value)
{
    LinkLabel(versionLabel_, value, pdFileVersion);
}

void TVersionInfoResource::SetDescriptionLabel(TCustomLabel* value)
{
    LinkLabel(descriptionLabel_, value, pdFileDescription);
}

void TVersionInfoResource::SetCopyrightLabel(TCustomLabel* value)
{
    LinkLabel(copyrightLabel_, value, pdLegalCopyright);
}

void TVersionInfoResource::SetProductLabel(TCustomLabel* value)
{
    LinkLabel(productLabel_, value, pdProductName);
}

void TVersionInfoResource::SetVersionListView(TListView* value)
{
    versionListView_ = value;
    if (!value)
        return;
    value->FreeNotification(this);
    UpdateLabels();
}

void TVersionInfoResource::SetShowResource(TPreDefs value)
{
    value &= AllPreDefs;
    if (value == showResource_)
        return;
    showResource_ = value;
    UpdateLabels();
}

void TVersionInfoResource::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    for (TCustomLabel** link : {&versionLabel_, &descriptionLabel_, &copyrightLabel_, &productLabel_})
        if (static_cast<TComponent*>(*link) == component)
            *link = nullptr;
    if (static_cast<TComponent*>(versionListView_) == component)
        versionListView_ = nullptr;
}

void TVersionInfoResource::UpdateLabels()
{
    if (versionLabel_)
        versionLabel_->SetCaption(fileVersion_.GetVersionText());
    if (copyrightLabel_)
        copyrightLabel_->SetCaption(LegalCopyright());
    if (productLabel_)
        productLabel_->SetCaption(ProductName());
    if (descriptionLabel_)
        descriptionLabel_->SetCaption(FileDescription());
    if (versionListView_)
        FillListView();
}

void TVersionInfoResource::FillListView()
{
    TListView* list = versionListView_;
    list->Items()->Clear();
    list->Columns()->Clear();
    list->SetViewStyle(vsReport);
    list->SetReadOnly(true);
    list->SetColumnClick(false);
    for (const char* caption : {"Resource", "Value"}) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(ColumnHeaderWidth);
    }
    const TPreDef order[] = {pdProductName,  pdProductVersion, pdCompanyName,  pdLegalCopyright,
                             pdLegalTrademarks, pdFileDescription, pdFileVersion, pdInternalName,
                             pdOriginalFilename, pdBuildFlags,   pdComments};
    for (TPreDef member : order) {
        if (!(showResource_ & PreDefBit(member)))
            continue;
        std::string value;
        if (member == pdFileVersion)
            value = fileVersion_.GetVersionText();
        else if (member == pdProductVersion)
            value = productVersion_.GetVersionText();
        else if (member == pdBuildFlags)
            value = GetBuildFlagsText();
        else
            value = GetStandardValue(member);
        if (value.empty())
            continue;
        TListItem* item = list->Items()->Add();
        item->SetCaption(StandardKeys[member]);
        item->SubItems()->Add(value);
    }
}

std::string TVersionInfoResource::GetBuildFlagsText() const
{
    static const char* const words[] = {"Debug", "Info Inferred", "Patched", "Pre-Release", "Private", "Special"};
    const TVersionFlags flags = fixed_.FileFlags();
    std::string text;
    for (int f = vfDebug; f <= vfSpecial; ++f) {
        if (!flags.Contains(static_cast<TVersionFlag>(f)))
            continue;
        if (!text.empty())
            text += ", ";
        text += words[f];
    }
    return text;
}

void TVersionInfoResource::DropData()
{
    translations_.Clear();
    fixed_.info_ = nullptr;
    data_.clear();
    data_.shrink_to_fit();
    fileVersion_ = TVersionNumberInformation();
    productVersion_ = TVersionNumberInformation();
}

void TVersionInfoResource::ReloadVersionInfo()
{
    DropData();
    const std::string target = GetTargetFileName();
    DWORD handle = 0;
    // A device name is no file: reading it could block for good.
    const DWORD size = IsDeviceName(target) ? 0 : GetFileVersionInfoSizeA(target.c_str(), &handle);
    if (size != 0) {
        // Zero-filled, so that a short read never leaves stale bytes behind.
        data_.assign(size, 0);
        void* root = nullptr;
        UINT rootLength = 0;
        // A block that cannot be read, or whose root has no fixed information,
        // is a file without a version resource: the rest of the block cannot
        // be trusted either.
        if (!GetFileVersionInfoA(target.c_str(), handle, size, data_.data()) ||
            !VerQueryValueA(data_.data(), "\\", &root, &rootLength) || !root ||
            rootLength < sizeof(VS_FIXEDFILEINFO)) {
            data_.clear();
            data_.shrink_to_fit();
        } else {
            fixed_.info_ = static_cast<const VS_FIXEDFILEINFO*>(root);
            void* table = nullptr;
            UINT tableLength = 0;
            if (VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &table, &tableLength) && table) {
                auto* entry = static_cast<WORD*>(table);
                for (UINT i = 0; i < tableLength / 4; ++i, entry += 2) {
                    // An unset language or code page means US English, Western.
                    if (entry[0] == 0)
                        entry[0] = 1033;
                    if (entry[1] == 0)
                        entry[1] = 1252;
                    char code[16];
                    std::snprintf(code, sizeof code, "%.4x%.4x", entry[0], entry[1]);
                    translations_.Add(code);
                }
            }
            fileVersion_.Valid = true;
            fileVersion_.MS = fixed_.FileVersionMS();
            fileVersion_.LS = fixed_.FileVersionLS();
            productVersion_.Valid = true;
            productVersion_.MS = fixed_.ProductVersionMS();
            productVersion_.LS = fixed_.ProductVersionLS();
        }
    }
    if (translationIndex_ >= translations_.Count())
        translationIndex_ = 0;
    UpdateLabels();
}

const TClassInfo* TVersionInfoResource::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TVersionInfoResource::StaticClass()
{
    using C = TVersionInfoResource;
    static const TClassInfo info(
        "TVersionInfoResource", &TComponent::StaticClass(), &NewComponent<C>,
        {
            PublishString<&C::Version, &C::SetVersion>("Version"),
            PublishString<&C::Filename, &C::SetFilename>("Filename"),
            PublishBoolean<&C::ForceEXE, &C::SetForceEXE>("ForceEXE"),
            PublishString<&C::CompanyName>("CompanyName"),
            PublishString<&C::FileDescription>("FileDescription"),
            PublishString<&C::InternalName>("InternalName"),
            PublishString<&C::LegalCopyright>("LegalCopyright"),
            PublishString<&C::LegalTrademarks>("LegalTrademarks"),
            PublishString<&C::OriginalFilename>("OriginalFilename"),
            PublishString<&C::ProductName>("ProductName"),
            PublishString<&C::Comments>("Comments"),
            PublishComponent<&C::VersionLabel, &C::SetVersionLabel>("VersionLabel"),
            PublishComponent<&C::VersionListView, &C::SetVersionListView>("VersionListView"),
            PublishComponent<&C::DescriptionLabel, &C::SetDescriptionLabel>("DescriptionLabel"),
            PublishComponent<&C::CopyrightLabel, &C::SetCopyrightLabel>("CopyrightLabel"),
            PublishComponent<&C::ProductLabel, &C::SetProductLabel>("ProductLabel"),
            PublishSet<&C::ShowResource, &C::SetShowResource>(
                "ShowResource", {"pdCompanyName", "pdFileDescription", "pdFileVersion", "pdInternalName",
                                 "pdLegalCopyright", "pdLegalTrademarks", "pdOriginalFilename", "pdProductName",
                                 "pdProductVersion", "pdComments", "pdBuildFlags"}),
        });
    return info;
}

void InitVersInfoUnit()
{
    RegisterComponentClass(TVersionInfoResource::StaticClass());
}

#include "common/verslab.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "classlib/SysUtils.h"
#include "classlib/TypInfo.h"

namespace {

const struct {
    const char* Key;
    const char* Prefix;
} Resources[] = {
    {"CompanyName", "Company Name:"},
    {"FileDescription", "File Description:"},
    {"FileVersion", "File Version:"},
    {"InternalName", "Internal Name:"},
    {"LegalCopyright", "Legal Copyright:"},
    {"OriginalFilename", "Original Filename:"},
    {"ProductName", "Product Name:"},
    {"ProductVersion", "Product Version:"},
    {"Comments", "Comments:"},
    {"Flags", "Flags:"},
};

// The code that stands for "the file's first translation".
const char FileTranslation[] = "-1";

} // namespace

void InitVersLabUnit()
{
    RegisterComponentClass(TVersionLabel::StaticClass());
}

TVersionLabel::TVersionLabel(TComponent* owner) : TCustomLabel(owner)
{
    SetWordWrap(false);
    SetAutoSize(true);
    SetShowInfoPrefix(true);
    SetLangCharset(FileTranslation);
    SetVersionResource(vrFileVersion);
}

void TVersionLabel::SetVersionResource(TVersionResources value)
{
    if (value < vrCompanyName || value > vrFlags)
        return;
    versionResource_ = value;
    SetVersionResourceKey(Resources[value].Key);
    SetInfoPrefix(Resources[value].Prefix);
}

void TVersionLabel::SetVersionResourceKey(const std::string& value)
{
    if (value == versionResourceKey_)
        return;
    versionResourceKey_ = value;
    // A prefix that already reads like the new key would not refresh: the
    // text would still show the old key's value.
    if (infoPrefix_ == value)
        Refresh();
    else
        SetInfoPrefix(value);
}

void TVersionLabel::SetInfoPrefix(const std::string& value)
{
    if (value == infoPrefix_)
        return;
    infoPrefix_ = value;
    Refresh();
}

void TVersionLabel::SetShowInfoPrefix(bool value)
{
    if (value == showInfoPrefix_)
        return;
    showInfoPrefix_ = value;
    Refresh();
}

void TVersionLabel::SetLangCharset(const std::string& value)
{
    if (value == langCharset_)
        return;
    langCharset_ = value;
    Refresh();
}

void TVersionLabel::SetFilename(const std::string& value)
{
    filename_ = value;
    Refresh();
}

void TVersionLabel::Refresh()
{
    std::string text = ReadText();
    if (showInfoPrefix_)
        text = infoPrefix_ + " " + text;
    SetCaption(text);
    infoString_ = Caption();
}

std::string TVersionLabel::ReadText()
{
    std::string file = filename_;
    if (file.empty()) {
        char own[256];
        const DWORD length = GetModuleFileNameA(nullptr, own, sizeof own);
        file.assign(own, length < sizeof own ? length : 0);
    }
    DWORD handle = 0;
    // A device name is no file: reading it could block for good.
    const DWORD size = IsDeviceName(file) ? 0 : GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (size == 0)
        return "< No Data Available >";
    // Zero-filled and one byte longer, so that every text in it ends.
    std::vector<char> block(size + 1, 0);
    if (!GetFileVersionInfoA(file.c_str(), handle, size, block.data()))
        return "< Error retrieving version info >";
    const char* end = block.data() + block.size();
    return versionResource_ == vrFlags ? ReadFlagsText(block.data(), end) : ReadStringText(block.data(), end);
}

std::string TVersionLabel::ReadFlagsText(const char* block, const char* end)
{
    void* root = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block, "\\", &root, &length) || !root)
        return "< Error retrieving fixed version info >";
    // The flags lie inside the fixed information: a shorter root has none.
    const char* at = static_cast<const char*>(root);
    if (length < sizeof(VS_FIXEDFILEINFO) || at < block || end - at < static_cast<ptrdiff_t>(sizeof(VS_FIXEDFILEINFO)))
        return {};
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, at, sizeof fixed);
    static const struct {
        DWORD Bit;
        const char* Text;
    } words[] = {
        {VS_FF_DEBUG, ", Debug Build"},          {VS_FF_PRERELEASE, ", Pre-Release Build"},
        {VS_FF_PATCHED, ", Patched Build"},      {VS_FF_PRIVATEBUILD, ", Private Build"},
        {VS_FF_INFOINFERRED, ", InfoInferred"}, {VS_FF_SPECIALBUILD, ", Special Build"},
    };
    std::string text;
    for (const auto& w : words)
        if (fixed.dwFileFlags & w.Bit)
            text += w.Text;
    if (!text.empty() && text[0] == ',')
        text.erase(0, 2);
    return text;
}

std::string TVersionLabel::ReadStringText(const char* block, const char* end)
{
    if (langCharset_ == FileTranslation) {
        void* table = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(block, "\\VarFileInfo\\Translation", &table, &length) || !table || length < 4)
            return "< Error retrieving translation info >";
        WORD entry[2];
        std::memcpy(entry, table, sizeof entry);
        char code[16];
        std::snprintf(code, sizeof code, "%.4X%.4X", entry[0], entry[1]);
        langCharset_ = code;
    }
    const std::string path = "\\StringFileInfo\\" + langCharset_ + "\\" + versionResourceKey_;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block, path.c_str(), &value, &length) || !value)
        return "< Error retrieving string version info >";
    if (length < 2)
        return "< No Version Info >";
    // The reported length counts the terminating zero: the text ends there,
    // and never beyond the block.
    const char* text = static_cast<const char*>(value);
    if (text < block || text >= end)
        return "< Error retrieving string version info >";
    const size_t room = static_cast<size_t>(end - text);
    return std::string(text, strnlen(text, length < room ? length : room));
}

const TClassInfo* TVersionLabel::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TVersionLabel::StaticClass()
{
    using C = TVersionLabel;
    static const TClassInfo info(
        "TVersionLabel", &TCustomLabel::StaticClass(), &NewComponent<C>,
        {
            PublishEnum<&C::VersionResource, &C::SetVersionResource>(
                "VersionResource", {"vrCompanyName", "vrFileDescription", "vrFileVersion", "vrInternalName",
                                    "vrLegalCopyright", "vrOriginalFilename", "vrProductName", "vrProductVersion",
                                    "vrComments", "vrFlags"}),
            PublishString<&C::VersionResourceKey, &C::SetVersionResourceKey>("VersionResourceKey"),
            PublishString<&C::InfoPrefix, &C::SetInfoPrefix>("InfoPrefix"),
            PublishBoolean<&C::ShowInfoPrefix, &C::SetShowInfoPrefix>("ShowInfoPrefix"),
            PublishString<&C::LangCharset, &C::SetLangCharset>("LangCharset"),
            PublishString<&C::InfoString>("InfoString"),
            PublishString<&C::Filename, &C::SetFilename>("Filename"),
        });
    return info;
}

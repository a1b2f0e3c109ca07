#include "organizer/apperase.h"

#include <windows.h>

#include "classlib/SysUtils.h"
#include "classlib/TypInfo.h"
#include "common/QmxUtil.h"

namespace {

const char AppNameToken[] = "*AppName*";
const char AppPathToken[] = "*AppPath*";
const char BatchAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyz";

struct FileHandle {
    HANDLE h;
    explicit FileHandle(HANDLE handle) : h(handle) {}
    ~FileHandle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
};

std::string ShortPath(const std::string& longPath)
{
    char buf[261];
    DWORD n = GetShortPathNameA(longPath.c_str(), buf, sizeof buf);
    if (n == 0 || n >= sizeof buf)
        return {};
    return std::string(buf, n);
}

std::string Quoted(const std::string& s)
{
    return "\"" + s + "\"";
}

// The entry's file name without its folder, the program's own for the token.
std::string EntryName(const std::string& entry)
{
    if (EqualNoCase(entry, AppNameToken))
        return ExtractFileName(ParamStr(0));
    return ExtractFileName(entry);
}

} // namespace

TAppEraser::TAppEraser(TComponent* owner) : TComponent(owner), files_(std::make_unique<TStringList>()) {}

TAppEraser::~TAppEraser()
{
    if (AutoActive) {
        try {
            Execute();
        } catch (...) {
            // Nothing can report from a destructor; the files simply stay.
        }
    }
}

void TAppEraser::SetFiles(TStrings* value)
{
    files_->Clear();
    if (value)
        files_->AddStrings(*value);
}

std::string TAppEraser::RandomBatchName()
{
    Randomize();
    std::string name;
    for (int i = 0; i < 8; ++i)
        name += BatchAlphabet[Random(36)];
    return name;
}

std::string TAppEraser::ShortNameIfExists(const std::string& path, const std::string& fileName) const
{
    if (path.empty() || fileName.empty())
        return {};
    std::string full = path + EntryName(fileName);
    if (full.size() > 260)
        full.resize(260);
    if (!FileExists(full))
        return {};
    return ExtractFileName(ShortPath(full));
}

std::vector<std::string> AppEraserBatchLines(const std::string& Folder, const std::string& Batch,
                                             const std::vector<std::string>& ShortNames, bool DelPathIfEmpty)
{
    std::vector<std::string> lines{"cd " + Quoted(".\\" + Folder)};
    for (std::size_t i = 0; i < ShortNames.size(); ++i) {
        const std::string& s = ShortNames[i];
        if (s.empty())
            continue;
        std::string label = "label" + std::to_string(i);
        lines.push_back(":" + label);
        lines.push_back("del " + Quoted(s));
        lines.push_back("if exist " + Quoted(s) + " goto " + label);
    }
    lines.push_back("cd ..");
    if (DelPathIfEmpty)
        lines.push_back("rmdir " + Quoted(".\\" + Folder));
    std::string label = "label" + std::to_string(ShortNames.size());
    lines.push_back(":" + label);
    lines.push_back("del " + Quoted(Batch));
    lines.push_back("if exist " + Quoted(Batch) + " goto " + label);
    return lines;
}

bool TAppEraser::Execute()
{
    try {
        if (Path.empty())
            return false;
        if (EqualNoCase(Path, AppPathToken))
            Path = ExtractFilePath(ParamStr(0));
        if (Path.back() != '\\')
            Path += '\\';
        std::string dir = Path.substr(0, Path.size() - 1);
        if (!DirectoryExists(Path) && !DirectoryExists(dir))
            return false;
        if (files_->Count() == 0)
            return false;

        std::string shortDir = ShortPath(dir);
        if (shortDir.empty())
            return false;
        if (shortDir.back() == '\\')
            shortDir.pop_back();
        std::string parent = ExtractFilePath(shortDir);
        std::string folder = ExtractFileName(shortDir);
        // A drive's root has no folder above it to hold the batch.
        if (parent.empty() || folder.empty())
            return false;

        std::string batch;
        do
            batch = RandomBatchName();
        while (FileExists(parent + batch + ".bat"));
        batch += ".bat";

        std::vector<std::string> shortNames;
        bool anyFile = false;
        for (int i = 0; i < files_->Count(); ++i) {
            std::string entry = files_->Strings(i);
            std::string s = ShortNameIfExists(Path, entry);
            if (!s.empty()) {
                // A read-only, hidden or system file would refuse "del".
                SetFileAttributesA((Path + EntryName(entry)).c_str(), FILE_ATTRIBUTE_NORMAL);
                anyFile = true;
            }
            shortNames.push_back(s);
        }

        std::string batchPath = parent + batch;
        {
            FileHandle f(CreateFileA(batchPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
            if (f.h == INVALID_HANDLE_VALUE)
                return false;
            if (anyFile) {
                std::string text;
                for (const std::string& line : AppEraserBatchLines(folder, batch, shortNames, DelPathIfEmpty))
                    text += line + "\r\n";
                DWORD written = 0;
                if (!WriteFile(f.h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
                    written != text.size())
                    return false;
            }
        }
        if (!anyFile) {
            // A batch without a file loop would only delete itself.
            DeleteFileA(batchPath.c_str());
            return false;
        }
        if (!SetCurrentDir(parent))
            return false;
        return WinExec(batch.c_str(), SW_HIDE) >= 32;
    } catch (const std::exception&) {
        return false;
    }
}

const TClassInfo& TAppEraser::StaticClass()
{
    static const TClassInfo info("TAppEraser", &TComponent::StaticClass(), &NewComponent<TAppEraser>,
                                 {
                                     PublishStrings<&TAppEraser::Files, &TAppEraser::SetFiles>("Files"),
                                     PublishString<&TAppEraser::Path, &TAppEraser::Path>("Path"),
                                     PublishBoolean<&TAppEraser::DelPathIfEmpty, &TAppEraser::DelPathIfEmpty>(
                                         "DelPathIfEmpty"),
                                     PublishBoolean<&TAppEraser::AutoActive, &TAppEraser::AutoActive>("AutoActive"),
                                 });
    return info;
}

const TClassInfo* TAppEraser::ClassInfo() const
{
    return &StaticClass();
}

void AppEraseStartup()
{
    RegisterComponentClass(TAppEraser::StaticClass());
}

#include "installer/FileFind.h"

#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

namespace {

// A directory listing, closed when it goes.
class Listing {
public:
    explicit Listing(const std::string& pattern)
        : handle_(FindFirstFileA(pattern.c_str(), &data_))
    {
    }
    ~Listing()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

    bool Found() const { return found_; }
    void Next() { found_ = FindNextFileA(handle_, &data_) != FALSE; }

    TSearchRec Entry() const
    {
        TSearchRec rec;
        rec.Name = data_.cFileName;
        rec.Attr = static_cast<int>(data_.dwFileAttributes);
        rec.Size = (static_cast<std::int64_t>(data_.nFileSizeHigh) << 32) | data_.nFileSizeLow;
        FILETIME local;
        WORD date = 0, time = 0;
        if (FileTimeToLocalFileTime(&data_.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
            rec.Time = static_cast<int>((static_cast<DWORD>(date) << 16) | time);
        return rec;
    }
    bool IsDots() const
    {
        const char* n = data_.cFileName;
        return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
    }
    bool IsDirectory() const { return (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

private:
    WIN32_FIND_DATAA data_{};
    HANDLE handle_;
    bool found_ = handle_ != INVALID_HANDLE_VALUE;
};

} // namespace

TFileSearch::TFileSearch(TComponent* owner) : TComponent(owner)
{
}

void TFileSearch::SetSearchFile(const std::string& value)
{
    searchFile_ = value.substr(0, 255);
}

void TFileSearch::Execute()
{
    Stop = false;
    const size_t slash = searchFile_.rfind('\\');
    const std::string folder = slash == std::string::npos ? std::string() : searchFile_.substr(0, slash + 1);
    const std::string mask = searchFile_.substr(folder.size());

    TSearchRec entry;
    {
        Listing own(folder.substr(0, folder.empty() ? 0 : folder.size() - 1));
        if (own.Found())
            entry = own.Entry();
    }
    Visit(folder, entry, mask);
    OnFinish(this);
}

void TFileSearch::Visit(const std::string& folder, const TSearchRec& entry, const std::string& mask)
{
    OnChangeFolder(folder, entry);
    {
        Listing matches(folder + mask);
        while (matches.Found() && !Stop) {
            if (!matches.IsDots())
                OnFileFind(folder, matches.Entry());
            matches.Next();
            Application->ProcessMessages();
        }
    }
    Listing all(folder + "*.*");
    while (all.Found() && !Stop) {
        Application->ProcessMessages();
        if (!all.IsDots() && all.IsDirectory() && RecurseSubFolders) {
            const TSearchRec sub = all.Entry();
            Visit(folder + sub.Name + "\\", sub, mask);
        }
        all.Next();
        Application->ProcessMessages();
    }
}

const TClassInfo* TFileSearch::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TFileSearch::StaticClass()
{
    static const TClassInfo info("TFileSearch", &TComponent::StaticClass(), &NewComponent<TFileSearch>,
                                 {
                                     PublishString<&TFileSearch::SearchFile, &TFileSearch::SetSearchFile>("SearchFile"),
                                     PublishBoolean<&TFileSearch::RecurseSubFolders, &TFileSearch::RecurseSubFolders>(
                                         "RecurseSubFolders"),
                                     PublishBoolean<&TFileSearch::Stop, &TFileSearch::Stop>("Stop"),
                                     PublishEvent<&TFileSearch::OnFileFind>("OnFileFind"),
                                     PublishEvent<&TFileSearch::OnChangeFolder>("OnChangeFolder"),
                                     PublishEvent<&TFileSearch::OnFinish>("OnFinish"),
                                 });
    return info;
}

void FileFindStartup()
{
    RegisterComponentClass(TFileSearch::StaticClass());
}

#include "installer/FileFind.h"

#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "classlib/WinHandles.h"

namespace {

// The listing's current entry as a TSearchRec.
TSearchRec Entry(const TDirListing& listing)
{
    const WIN32_FIND_DATAA& data = listing.Data();
    TSearchRec rec;
    rec.Name = data.cFileName;
    rec.Attr = static_cast<int>(data.dwFileAttributes);
    rec.Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    FILETIME local;
    WORD date = 0, time = 0;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
        rec.Time = static_cast<int>((static_cast<DWORD>(date) << 16) | time);
    return rec;
}

bool IsDots(const TDirListing& listing)
{
    const char* n = listing.Data().cFileName;
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

bool IsDirectory(const TDirListing& listing)
{
    return (listing.Data().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

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
        TDirListing own(folder.substr(0, folder.empty() ? 0 : folder.size() - 1));
        if (own.Found())
            entry = Entry(own);
    }
    Visit(folder, entry, mask);
    OnFinish(this);
}

void TFileSearch::Visit(const std::string& folder, const TSearchRec& entry, const std::string& mask)
{
    OnChangeFolder(folder, entry);
    {
        TDirListing matches(folder + mask);
        while (matches.Found() && !Stop) {
            if (!IsDots(matches))
                OnFileFind(folder, Entry(matches));
            matches.Next();
            Application->ProcessMessages();
        }
    }
    TDirListing all(folder + "*.*");
    while (all.Found() && !Stop) {
        Application->ProcessMessages();
        if (!IsDots(all) && IsDirectory(all) && RecurseSubFolders) {
            const TSearchRec sub = Entry(all);
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

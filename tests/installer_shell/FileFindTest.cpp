#include "installer/FileFind.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/installer_shell/ShellTest.h"
#include "tests/support/TestUtil.h"

namespace {

// Records the walk as lines "enter <folder> (<entry name>)" and
// "find <folder><name>", folders relative to the temporary root.
class Recorder : public TObject {
public:
    Recorder(TFileSearch& search, const std::string& root) : search_(search), root_(root)
    {
        search.OnFileFind = TFindFileEvent(this, &Recorder::Found);
        search.OnChangeFolder = TChangeFolderEvent(this, &Recorder::Entered);
        search.OnFinish = TNotifyEvent(this, &Recorder::Finished);
    }

    std::vector<std::string> Log;
    int Finishes = 0;
    int StopAfter = 0;        // set Stop at this find (0: never)
    bool ThrowAtFirst = false;
    bool PostAtFirst = false;  // post a message that sets Stop
    HWND Window = nullptr;

    void Found(const std::string& folder, const TSearchRec& info)
    {
        std::string line = "find " + Relative(folder) + info.Name;
        if (info.Attr & FILE_ATTRIBUTE_DIRECTORY)
            line += " <dir>";
        Log.push_back(line);
        const int finds = ++finds_;
        if (ThrowAtFirst)
            throw Exception("handler failed");
        if (PostAtFirst && finds == 1)
            PostMessageA(Window, WM_APP, 0, 0);
        if (finds == StopAfter)
            search_.Stop = true;
    }
    void Entered(const std::string& folder, const TSearchRec& info)
    {
        Log.push_back("enter " + Relative(folder) + " (" + info.Name + ")");
    }
    void Finished(TObject* sender)
    {
        EXPECT_EQ(sender, &search_);
        ++Finishes;
    }

private:
    std::string Relative(const std::string& folder) const
    {
        std::string relative = folder.compare(0, root_.size(), root_) == 0 ? "\\" : "?";
        relative += folder.compare(0, root_.size(), root_) == 0 ? folder.substr(root_.size()) : folder;
        return relative;
    }

    TFileSearch& search_;
    std::string root_;
    int finds_ = 0;
};

// The medium: description files at three depths, other files beside them,
// a folder that sorts before the root's own match ("a"), and a folder named
// like the mask.
struct Medium {
    TempFolder tmp;
    std::string root = tmp.Path() + "medium\\";
    std::string rootName = "medium";

    Medium()
    {
        for (const char* dir : {"medium", "medium\\a", "medium\\a\\b", "medium\\c", "medium\\c\\kelvor.qmx"})
            CreateDirectoryA((tmp.Path() + dir).c_str(), nullptr);
        for (const char* file : {"medium\\kelvor.qmx", "medium\\readme.txt", "medium\\a\\kelvor.qmx",
                                 "medium\\a\\b\\kelvor.qmx", "medium\\a\\b\\setup.exe"})
            WriteWholeFile(tmp.Path() + file, "x");
    }
};

// Whether the listing of folder gives name1 before name2.
bool FirstListed(const std::string& folder, const std::string& name1, const std::string& name2)
{
    for (const std::string& name : EntriesMatching(folder + "*"))
        if (name == name1 || name == name2)
            return name == name1;
    return true;
}

} // namespace

class FileSearch : public ShellTest {};

TEST_F(FileSearch, ReportsEachFolderBeforeItsSubfolders)
{
    Medium m;
    TFileSearch search(nullptr);
    Recorder rec(search, m.root);
    search.SetSearchFile(m.root + "kelvor.qmx");
    search.Execute();

    const std::vector<std::string> root = {"enter \\ (medium)", "find \\kelvor.qmx"};
    const std::vector<std::string> a = {"enter \\a\\ (a)", "find \\a\\kelvor.qmx", "enter \\a\\b\\ (b)",
                                        "find \\a\\b\\kelvor.qmx"};
    const std::vector<std::string> c = {"enter \\c\\ (c)", "find \\c\\kelvor.qmx <dir>",
                                        "enter \\c\\kelvor.qmx\\ (kelvor.qmx)"};
    // Sibling folders come in the order the file system lists them.
    std::vector<std::string> expected = root;
    const bool aFirst = FirstListed(m.root, "a", "c");
    expected.insert(expected.end(), (aFirst ? a : c).begin(), (aFirst ? a : c).end());
    expected.insert(expected.end(), (aFirst ? c : a).begin(), (aFirst ? c : a).end());
    EXPECT_EQ(rec.Log, expected);
    EXPECT_EQ(rec.Finishes, 1);
}

TEST_F(FileSearch, WithoutSubfoldersOnlyTheStartFolder)
{
    Medium m;
    TFileSearch search(nullptr);
    Recorder rec(search, m.root);
    search.RecurseSubFolders = false;
    search.SetSearchFile(m.root + "*.*");
    search.Execute();

    const std::vector<std::string> expected = {
        "enter \\ (medium)", "find \\a <dir>", "find \\c <dir>", "find \\kelvor.qmx", "find \\readme.txt"};
    std::vector<std::string> log = rec.Log;
    std::sort(log.begin() + 1, log.end());  // the file system decides the order of a folder's entries
    EXPECT_EQ(log, expected);
    EXPECT_EQ(rec.Finishes, 1);
}

TEST_F(FileSearch, MissingStartFolderStillEntersAndFinishes)
{
    TempFolder tmp;
    TFileSearch search(nullptr);
    Recorder rec(search, tmp.Path());
    search.SetSearchFile(tmp.Path() + "brak\\kelvor.qmx");
    search.Execute();

    EXPECT_EQ(rec.Log, std::vector<std::string>{"enter \\brak\\ ()"});
    EXPECT_EQ(rec.Finishes, 1);
}

namespace {

TFileSearch* searchToStop = nullptr;

LRESULT CALLBACK StopWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_APP && searchToStop)
        searchToStop->Stop = true;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

// Stop set by a handler, or by a window message handled during the walk,
// ends the walk at the next check; OnFinish still follows. A Stop left set
// from before does not keep Execute from walking.
TEST_F(FileSearch, StopEndsTheWalk)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = StopWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QmxFileSearchStop";
    RegisterClassA(&wc);
    HWND window = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);

    for (bool byMessage : {false, true}) {
        SCOPED_TRACE(byMessage ? "by a window message" : "by the handler");
        Medium m;
        TFileSearch search(nullptr);
        Recorder rec(search, m.root);
        if (byMessage) {
            rec.PostAtFirst = true;
            rec.Window = window;
            searchToStop = &search;
        } else {
            rec.StopAfter = 1;
        }
        search.Stop = true;
        search.SetSearchFile(m.root + "kelvor.qmx");
        search.Execute();
        searchToStop = nullptr;

        EXPECT_EQ(rec.Log, (std::vector<std::string>{"enter \\ (medium)", "find \\kelvor.qmx"}));
        EXPECT_EQ(rec.Finishes, 1);
        EXPECT_TRUE(search.Stop);
    }
    DestroyWindow(window);
}

TEST_F(FileSearch, HandlerErrorLeavesExecute)
{
    Medium m;
    TFileSearch search(nullptr);
    Recorder rec(search, m.root);
    rec.ThrowAtFirst = true;
    search.SetSearchFile(m.root + "kelvor.qmx");
    EXPECT_THROW(search.Execute(), Exception);
    EXPECT_EQ(rec.Finishes, 0);
}

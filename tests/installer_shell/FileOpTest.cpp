#include "installer/FileOp.h"

#include <gtest/gtest.h>

#include "classlib/Lists.h"
#include "classlib/SysUtils.h"
#include "classlib/TypInfo.h"
#include "classlib/WinHandles.h"
#include "tests/installer_shell/DialogWatcher.h"
#include "tests/installer_shell/ShellTest.h"
#include "tests/support/TestUtil.h"

class FileOperation : public ShellTest {};

// Copies into folders that do not exist yet: the shell makes the whole path
// (no question with fofNoConfirmMkDir), for one file and for a ";" list.
TEST_F(FileOperation, CopiesIntoNewNestedFolders)
{
    struct Row {
        std::vector<const char*> from;  // names below the temporary folder
        const char* to;
        std::vector<const char*> expected;
    } rows[] = {
        {{"src\\a.txt"}, "dst\\x\\y\\a.txt", {"dst\\x\\y\\a.txt"}},
        {{"src\\a.txt", "src\\b.txt"}, "dst\\p\\q", {"dst\\p\\q\\a.txt", "dst\\p\\q\\b.txt"}},
    };
    for (const Row& row : rows) {
        TempFolder tmp;
        std::string from;
        for (const char* name : row.from)
            from += (from.empty() ? "" : ";") + tmp.Path() + name;
        SCOPED_TRACE(from + " -> " + row.to);
        CreateDirectoryA((tmp.Path() + "src").c_str(), nullptr);
        WriteWholeFile(tmp.Path() + "src\\a.txt", "a");
        WriteWholeFile(tmp.Path() + "src\\b.txt", "b");

        TFileOperation fo(nullptr);
        fo.Flags = {fofNoConfirmMkDir, fofSilent, fofAllowUndo};
        fo.FilesFrom = from;
        fo.FilesTo = tmp.Path() + row.to;
        DialogWatcher watcher(IDCANCEL);
        EXPECT_TRUE(fo.Execute());
        watcher.Join();
        EXPECT_FALSE(watcher.Seen()) << watcher.Caption();
        EXPECT_FALSE(fo.OperationAborted());
        for (const char* name : row.expected)
            EXPECT_EQ(ReadWholeFile(tmp.Path() + name), ExtractFileName(name).substr(0, 1)) << name;
    }
}

TEST_F(FileOperation, MissingSourceFails)
{
    TempFolder tmp;
    TFileOperation fo(nullptr);
    fo.Flags = {fofNoConfirmMkDir, fofSilent, fofNoConfirmation};
    fo.FilesFrom = tmp.Path() + "brak.txt";
    fo.FilesTo = tmp.Path() + "dst\\brak.txt";
    DialogWatcher watcher(IDOK);  // an error box, should the shell show one
    EXPECT_FALSE(fo.Execute());
    watcher.Join();
    EXPECT_FALSE(FileExists(tmp.Path() + "dst\\brak.txt"));
}

// A copy onto a file that another holds open without sharing fails; some
// systems report that as aborted, but nobody cancelled anything, whether
// the shell asked first (and was told Yes) or could not ask.
TEST_F(FileOperation, AFailedCopyIsNoCancel)
{
    TempFolder tmp;
    WriteWholeFile(tmp.Path() + "src.txt", "new");
    const TFileHandle held(CreateFileA((tmp.Path() + "dst.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.Valid());
    for (const bool noConfirmation : {false, true}) {
        SCOPED_TRACE(noConfirmation);
        TFileOperation fo(nullptr);
        fo.Flags = {fofAllowUndo, fofNoConfirmMkDir, fofSilent};
        if (noConfirmation)
            fo.Flags = fo.Flags + fofNoConfirmation;
        fo.FilesFrom = tmp.Path() + "src.txt";
        fo.FilesTo = tmp.Path() + "dst.txt";
        // Without fofNoConfirmation the shell asks whether to replace it.
        DialogWatcher watcher(IDYES);
        EXPECT_FALSE(fo.Execute());
        watcher.Join();
        EXPECT_EQ(watcher.Seen(), !noConfirmation);
        EXPECT_NE(fo.ResultCode(), 0);
        EXPECT_FALSE(fo.Cancelled());
        EXPECT_FALSE(fo.Declined());
    }
}

// Copying onto an existing file: with fofNoConfirmation the file is replaced
// without a question; without it the shell asks, and the answer decides. The
// question belongs to the component's form, else to the application window.
// Here the shell reports No like a cancel (the same result, aborted, no last
// error, old content), so only Declined tells the two apart; Esc and the
// close box are cancels.
TEST_F(FileOperation, OverwriteAsksUnlessNoConfirmation)
{
    struct Row {
        bool noConfirmation;
        bool onForm;
        int answer;  // button the watcher presses, should a question come
        bool asked, result, aborted, declined, cancelled;
        const char* content;
    } rows[] = {
        {true, false, IDCANCEL, false, true, false, false, false, "new"},
        {false, false, IDYES, true, true, false, false, false, "new"},
        {false, false, IDNO, true, false, true, true, false, "old"},
        {false, true, IDCANCEL, true, false, true, false, true, "old"},
        {false, false, DialogWatcher::Escape, true, false, true, false, true, "old"},
        {false, true, DialogWatcher::CloseBox, true, false, true, false, true, "old"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "noConfirmation " << row.noConfirmation << ", on a form " << row.onForm
                                        << ", answer " << row.answer);
        TempFolder tmp;
        WriteWholeFile(tmp.Path() + "src.txt", "new");
        WriteWholeFile(tmp.Path() + "dst.txt", "old");
        TForm* form = row.onForm ? new TForm(Application) : nullptr;
        TFileOperation& fo = *new TFileOperation(form ? static_cast<TComponent*>(form) : Application);
        fo.Flags = {fofAllowUndo, fofNoConfirmMkDir, fofSilent};
        if (row.noConfirmation)
            fo.Flags = fo.Flags + fofNoConfirmation;
        fo.FilesFrom = tmp.Path() + "src.txt";
        fo.FilesTo = tmp.Path() + "dst.txt";
        DialogWatcher watcher(row.answer);
        EXPECT_EQ(fo.Execute(), row.result) << "shell result " << fo.ResultCode();
        watcher.Join();
        EXPECT_EQ(watcher.Seen(), row.asked) << watcher.Caption();
        if (row.asked) {
            EXPECT_EQ(watcher.Owner(), form ? form->Handle() : Application->Handle());
            static_assert(IDNO == 7);
            EXPECT_NE(watcher.Buttons().find("=7\n"), std::string::npos) << watcher.Buttons();
        }
        EXPECT_EQ(fo.OperationAborted(), row.aborted);
        EXPECT_EQ(fo.Declined(), row.declined);
        EXPECT_EQ(fo.Cancelled(), row.cancelled);
        EXPECT_EQ(ReadWholeFile(tmp.Path() + "dst.txt"), row.content);
        if (form)
            form->Free();  // and its file operation
        else
            delete &fo;
    }
}

// As a form sets it: Active runs the operation and reads False; the stored
// values of OperationAborted and About do not take assignments.
TEST_F(FileOperation, PublishedProperties)
{
    TempFolder tmp;
    WriteWholeFile(tmp.Path() + "a.txt", "a");
    TFileOperation fo(nullptr);
    SetPropText(&fo, FindPropInfo(&fo, "Operation"), "foMove");
    SetPropText(&fo, FindPropInfo(&fo, "Flags"), "[fofSilent,fofNoConfirmation]");
    SetPropText(&fo, FindPropInfo(&fo, "FilesFrom"), tmp.Path() + "a.txt");
    SetPropText(&fo, FindPropInfo(&fo, "FilesTo"), tmp.Path() + "b.txt");
    EXPECT_EQ(fo.Operation, foMove);
    EXPECT_EQ(fo.Flags, (TFileOpFlags{fofSilent, fofNoConfirmation}));

    SetPropText(&fo, FindPropInfo(&fo, "Active"), "True");
    EXPECT_FALSE(FileExists(tmp.Path() + "a.txt"));
    EXPECT_EQ(ReadWholeFile(tmp.Path() + "b.txt"), "a");
    EXPECT_EQ(GetPropText(&fo, FindPropInfo(&fo, "Active")), "False");

    SetPropText(&fo, FindPropInfo(&fo, "OperationAborted"), "True");
    EXPECT_FALSE(fo.OperationAborted());
    const int aboutLines = fo.About()->Count();
    EXPECT_GT(aboutLines, 0);
    TStringList other;
    other.Add("x");
    SetObjectProp(&fo, FindPropInfo(&fo, "About"), &other);
    EXPECT_EQ(fo.About()->Count(), aboutLines);
}

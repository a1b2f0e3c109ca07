// The shell components as the installer's main form streams them: classes
// found by name, properties by their published names, events bound to the
// form's handlers.
#include <gtest/gtest.h>

#include "classlib/FormReader.h"
#include "classlib/TypInfo.h"
#include "installer/Execfile.h"
#include "installer/FileFind.h"
#include "installer/FileOp.h"
#include "tests/installer_shell/ShellTest.h"
#include "tests/support/TestUtil.h"

namespace {

class TShellForm : public TComponent {
public:
    using TComponent::TComponent;

    std::vector<std::string> Found;
    bool Finished = false;

    void FileSearch1FileFind(const std::string& Path, const TSearchRec& SearchRec) { Found.push_back(Path + SearchRec.Name); }
    void FileSearch1Finish(TObject*) { Finished = true; }
    void ExecFile1Fail(TObject*) {}

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TShellForm", &TComponent::StaticClass(), nullptr, {},
                                     {
                                         PublishHandler<&TShellForm::FileSearch1FileFind>("FileSearch1FileFind"),
                                         PublishHandler<&TShellForm::FileSearch1Finish>("FileSearch1Finish"),
                                         PublishHandler<&TShellForm::ExecFile1Fail>("ExecFile1Fail"),
                                     });
        return info;
    }
};

// The installer's main form as the build compiles it into kelvor.exe (code
// page 1250): only the blocks of the shell components, in a form of their
// own, since the rest needs the installer's window.
std::string ShellComponentsOfTheInstallersForm()
{
    const std::string text = ReadWholeFile(BuiltPath("installer\\kelvor_forms\\main.dfm.cp1250"));
    std::string form = "object eMain: TShellForm\r\n";
    for (const char* name : {"FileSearch1", "fo", "ExecFile1"}) {
        const std::string head = std::string("\n  object ") + name + ": ";
        const std::size_t start = text.find(head);
        const std::size_t end = text.find("\n  end", start);
        EXPECT_NE(start, std::string::npos) << name;
        if (start == std::string::npos || end == std::string::npos)
            continue;
        form += text.substr(start + 1, end + 7 - start - 1) + "\r\n";
    }
    return form + "end\r\n";
}

} // namespace

class ShellComponents : public ShellTest {};

TEST_F(ShellComponents, ReadFromTheInstallersForm)
{
    FileFindStartup();
    FileOpStartup();
    ExecfileStartup();
    TShellForm form(nullptr);
    ReadFormText(&form, ShellComponentsOfTheInstallersForm());

    auto* search = dynamic_cast<TFileSearch*>(form.FindComponent("FileSearch1"));
    auto* fo = dynamic_cast<TFileOperation*>(form.FindComponent("fo"));
    auto* exec = dynamic_cast<TExecFile*>(form.FindComponent("ExecFile1"));
    ASSERT_TRUE(search && fo && exec);
    // A copy that may be undone, makes folders without asking and shows no
    // progress: the run changes only whether replacing asks.
    EXPECT_EQ(fo->Operation, foCopy);
    EXPECT_EQ(fo->Flags, (TFileOpFlags{fofAllowUndo, fofNoConfirmMkDir, fofSilent}));
    EXPECT_TRUE(exec->Wait);

    TempFolder tmp;
    WriteWholeFile(tmp.Path() + "kelvor.qmx", "x");
    search->SetSearchFile(tmp.Path() + "kelvor.qmx");
    search->Execute();
    EXPECT_EQ(form.Found, std::vector<std::string>{tmp.Path() + "kelvor.qmx"});
    EXPECT_TRUE(form.Finished);
}

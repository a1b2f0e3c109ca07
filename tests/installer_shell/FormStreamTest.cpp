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

const char formText[] = R"(object eMain: TShellForm
  object FileSearch1: TFileSearch
    SearchFile = 'd:\kelvor.qmx'
    RecurseSubFolders = True
    OnFileFind = FileSearch1FileFind
    OnFinish = FileSearch1Finish
  end
  object fo: TFileOperation
    Operation = foCopy
    Flags = [fofAllowUndo, fofNoConfirmMkDir, fofSilent]
    ProgressTitle = 'Kopiowanie plików'
  end
  object ExecFile1: TExecFile
    Wait = True
    WaitStyle = wRegular
    WindowStyle = wsNorm
    Priority = pcNormal
    OnFail = ExecFile1Fail
  end
end
)";

} // namespace

class ShellComponents : public ShellTest {};

TEST_F(ShellComponents, ReadFromTheInstallersForm)
{
    FileFindStartup();
    FileOpStartup();
    ExecfileStartup();
    TShellForm form(nullptr);
    ReadFormText(&form, formText);

    auto* search = dynamic_cast<TFileSearch*>(form.FindComponent("FileSearch1"));
    auto* fo = dynamic_cast<TFileOperation*>(form.FindComponent("fo"));
    auto* exec = dynamic_cast<TExecFile*>(form.FindComponent("ExecFile1"));
    ASSERT_TRUE(search && fo && exec);
    EXPECT_EQ(search->SearchFile(), "d:\\kelvor.qmx");
    EXPECT_EQ(fo->Flags, (TFileOpFlags{fofAllowUndo, fofNoConfirmMkDir, fofSilent}));
    EXPECT_EQ(fo->ProgressTitle, "Kopiowanie plików");
    EXPECT_TRUE(exec->Wait);
    EXPECT_TRUE(exec->OnFail);

    TempFolder tmp;
    WriteWholeFile(tmp.Path() + "kelvor.qmx", "x");
    search->SetSearchFile(tmp.Path() + "kelvor.qmx");
    search->Execute();
    EXPECT_EQ(form.Found, std::vector<std::string>{tmp.Path() + "kelvor.qmx"});
    EXPECT_TRUE(form.Finished);
}

#include "components/ShellLnk.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "classlib/FormReader.h"
#include "classlib/Lists.h"
#include "classlib/Registry.h"
#include "classlib/TypInfo.h"
#include "tests/common_reg/RegTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

const char shellFoldersKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string ShellFolderValue(const std::string& name)
{
    TRegistry reg;
    return reg.OpenKey(shellFoldersKey, false) && reg.ValueExists(name) ? reg.ReadString(name) : std::string();
}

// Points a "Shell Folders" value elsewhere (or removes it) for the life of
// the object; the tests of this program hold a lock on these values. (The
// key without the leading "\" that TRegistry takes.)
struct ShellFolderOverride : ValueOverride {
    ShellFolderOverride(const std::string& name, const std::string* value)
        : ValueOverride(shellFoldersKey + 1, name, value)
    {
    }
};

// The link file read back through the shell's link object.
struct LinkContents {
    std::string path, description, arguments, workingDir, iconFile;
    int iconIndex = -1;
    WORD hotKey = 0xFFFF;
};

LinkContents LoadLink(const std::string& fileName)
{
    LinkContents c;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, fileName.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[1024];
            if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH)))
                c.path = text;
            if (SUCCEEDED(link->GetDescription(text, sizeof text)))
                c.description = text;
            if (SUCCEEDED(link->GetArguments(text, sizeof text)))
                c.arguments = text;
            if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text)))
                c.workingDir = text;
            if (SUCCEEDED(link->GetIconLocation(text, sizeof text, &c.iconIndex)))
                c.iconFile = text;
            link->GetHotkey(&c.hotKey);
        }
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return c;
}

// Short cuts: the key and the shift bits.
const TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;

std::string SaveError(TPBShellLink& link)
{
    try {
        link.Save();
    } catch (const EPBShellLink& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

} // namespace

TEST(ShellLinkName, FileNameRuleWithoutShellFolder)
{
    struct Row {
        const char* value;
        const char* expected;
    } rows[] = {
        {"C:\\x\\y", "C:\\x\\y.lnk"},
        {"C:\\x\\y.LNK", "C:\\x\\y.LNK"},
        {"C:\\x\\y.txt", "C:\\x\\y.txt.lnk"},
        {"C:\\x.d\\y", "C:\\x.d\\y.lnk"},
        {".lnk", ""},
        {"C:\\x\\.LNK", ""},
        {"C:\\x\\", ""},
        {"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        TPBShellLink link(nullptr);
        link.SetFileName("C:\\before.lnk");
        link.SetFileName(row.value);
        EXPECT_EQ(link.FileName(), row.expected);
    }
}

namespace {

class TLinkForm : public TComponent {
public:
    using TComponent::TComponent;
    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TLinkForm", &TComponent::StaticClass());
        return info;
    }
};

} // namespace

// The two programs' forms stream their link components. The organizer's
// FileName "C:\WINDOWS\Menu Start\" is cleared first (it is only ".lnk" by the
// name rule), then ShellFolder makes it the Start-menu folder and a backslash
// (the folder rule does not apply the name rule). Writing that same name, or
// the same folder, again changes nothing.
TEST(ShellLinkName, StreamedByTheForms)
{
    const std::string startMenu = ShellFolderValue("Start Menu");
    ASSERT_FALSE(startMenu.empty());
    ShellLnkStartup();
    TLinkForm form(nullptr);
    ReadFormText(&form, R"(object fMain: TLinkForm
  object PBShellLink1: TPBShellLink
    FileIcon.IconIndex = 0
    HotKey = 0
    WindowState = wsNormal
  end
  object PBShellLink2: TPBShellLink
    FileName = 'C:\WINDOWS\Menu Start\'
    Language = lgEnglish
    ShellFolder = sfStartMenu
  end
end
)");
    auto* installers = dynamic_cast<TPBShellLink*>(form.FindComponent("PBShellLink1"));
    auto* organizers = dynamic_cast<TPBShellLink*>(form.FindComponent("PBShellLink2"));
    ASSERT_TRUE(installers && organizers);
    EXPECT_EQ(installers->WindowState(), wsNormal);
    EXPECT_EQ(installers->FileName(), "");
    EXPECT_EQ(organizers->Language(), lgEnglish);
    EXPECT_EQ(organizers->FileName(), startMenu + "\\");

    organizers->SetFileName(startMenu + "\\");
    EXPECT_EQ(organizers->FileName(), startMenu + "\\");
    organizers->SetShellFolder(sfStartMenu);
    EXPECT_EQ(organizers->FileName(), startMenu + "\\");
}

// The organizer's form still reads where the Start-menu value is missing:
// its link keeps the name it streamed (empty by the name rule), and only a
// change made afterwards raises.
TEST(ShellLinkName, StreamedWithoutTheFolderValue)
{
    ShellLnkStartup();
    ShellFolderOverride startMenu("Start Menu", nullptr);
    TLinkForm form(nullptr);
    ReadFormText(&form, R"(object fMain: TLinkForm
  object PBShellLink1: TPBShellLink
    FileName = 'C:\WINDOWS\Menu Start\'
    Language = lgEnglish
    ShellFolder = sfStartMenu
  end
end
)");
    auto* link = dynamic_cast<TPBShellLink*>(form.FindComponent("PBShellLink1"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->FileName(), "");
    EXPECT_EQ(link->ShellFolder(), sfNone);
    EXPECT_THROW(link->SetShellFolder(sfStartMenu), EPBShellLink);
}

// With a shell folder set, a written name moves into that folder.
TEST(ShellLinkName, FileNameMovesIntoTheShellFolder)
{
    const std::string desktop = ShellFolderValue("Desktop");
    ASSERT_FALSE(desktop.empty());
    TPBShellLink link(nullptr);
    link.SetShellFolder(sfDesktop);
    link.SetFileName("a\\b");
    EXPECT_EQ(link.FileName(), desktop + "\\b.lnk");
    link.SetShellFolder(sfNone);
    EXPECT_EQ(link.FileName(), desktop + "\\b.lnk");
    link.SetFileName("C:\\x\\y");
    EXPECT_EQ(link.FileName(), "C:\\x\\y.lnk");
}

// The installer's way of writing one shortcut, into a folder that the
// current user's "Shell Folders" value names.
TEST(ShellLinkFile, LandsInTheFolderTheValueNames)
{
    TempFolder tmp;
    const std::string folder = tmp.Path() + "Szablony";
    CreateDirectoryA(folder.c_str(), nullptr);
    ShellFolderOverride templates("Templates", &folder);

    TPBShellLink link(nullptr);
    link.SetWindowState(wsNormal);
    link.SetFileName("");
    link.Description = "Zażółć gęślą jaźń";
    link.Target = tmp.Path() + "program.exe";
    link.WorkingDir = tmp.Path();
    link.FileIcon()->FileName = tmp.Path() + "program.exe";
    link.SetShellFolder(sfTemplates);
    link.SetFileName(link.FileName() + link.Description + ".lnk");
    EXPECT_EQ(link.FileName(), folder + "\\Zażółć gęślą jaźń.lnk");
    link.Save();
    EXPECT_TRUE(FileExists(folder + "\\Zażółć gęślą jaźń.lnk"));
    EXPECT_EQ(LoadLink(link.FileName()).description, "Zażółć gęślą jaźń");
}

// A folder value that is missing (or empty) raises instead of putting the
// link into the root of the drive; the component stays as it was.
TEST(ShellLinkFile, MissingFolderValueRaises)
{
    struct Row {
        bool removed;  // else empty
        TLanguage language;
        const char* message;
    } rows[] = {
        {true, lgFrench, "Dossier \"Templates\" introuvable."},
        {false, lgEnglish, "Shell folder \"Templates\" not found."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        const std::string empty;
        ShellFolderOverride templates("Templates", row.removed ? nullptr : &empty);
        TPBShellLink link(nullptr);
        link.SetLanguage(row.language);
        link.SetFileName("C:\\x\\y.lnk");
        try {
            link.SetShellFolder(sfTemplates);
            ADD_FAILURE() << "nothing raised";
        } catch (const EPBShellLink& e) {
            EXPECT_EQ(e.Message(), row.message);
        }
        EXPECT_EQ(link.ShellFolder(), sfNone);
        EXPECT_EQ(link.FileName(), "C:\\x\\y.lnk");
    }
}

// Every property reaches the file. The show command and the hot key are
// checked in the file's header (show command at 0x3C, hot key at 0x40): Wine's
// link object does not read the show command back when it loads a file.
TEST(ShellLinkFile, SavedPropertiesReadBack)
{
    struct Row {
        TWindowState state;
        TShortCut hotKey;
        int showCmd;
        WORD hotKeyWord;
    } rows[] = {
        {wsNormal, 0, SW_SHOWNORMAL, 0},
        {wsMinimized, scCtrl | scAlt | 'K', SW_SHOWMINNOACTIVE, (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'K'},
        {wsMaximized, scShift | VK_F5, SW_SHOWMAXIMIZED, HOTKEYF_SHIFT << 8 | VK_F5},
    };
    TempFolder tmp;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.showCmd);
        TPBShellLink link(nullptr);
        link.SetWindowState(row.state);
        link.SetHotKey(row.hotKey);
        EXPECT_EQ(link.WindowState(), row.state);
        EXPECT_EQ(link.HotKey(), row.hotKey);
        link.Description = "Opis skrótu";
        link.Target = "C:\\Program Files\\QMX\\brennik.exe";
        link.WorkingDir = "C:\\Program Files\\QMX";
        link.Arguments = "/a \"b c\"";
        link.FileIcon()->FileName = "C:\\Program Files\\QMX\\ikony.dll";
        link.FileIcon()->IconIndex = 3;
        link.SetFileName(tmp.Path() + "skrót");
        link.Save();

        const LinkContents c = LoadLink(tmp.Path() + "skrót.lnk");
        EXPECT_EQ(c.path, link.Target);
        EXPECT_EQ(c.description, link.Description);
        EXPECT_EQ(c.arguments, link.Arguments);
        EXPECT_EQ(c.workingDir, link.WorkingDir);
        EXPECT_EQ(c.iconFile, link.FileIcon()->FileName);
        EXPECT_EQ(c.iconIndex, 3);
        EXPECT_EQ(c.hotKey, row.hotKeyWord);

        const std::string bytes = ReadWholeFile(tmp.Path() + "skrót.lnk");
        ASSERT_GE(bytes.size(), 0x4Cu);
        const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
        EXPECT_EQ(byte(0x3C) | byte(0x3D) << 8 | byte(0x3E) << 16 | byte(0x3F) << 24, row.showCmd);
        EXPECT_EQ(byte(0x40) | byte(0x41) << 8, row.hotKeyWord);
    }
}

// An existing link is overwritten.
TEST(ShellLinkFile, SaveReplacesAnExistingLink)
{
    TempFolder tmp;
    TPBShellLink link(nullptr);
    link.SetFileName(tmp.Path() + "a.lnk");
    link.Target = "C:\\first.exe";
    link.Save();
    link.Target = "C:\\second.exe";
    link.Save();
    EXPECT_EQ(LoadLink(tmp.Path() + "a.lnk").path, "C:\\second.exe");
}

// The failure texts belong to the whole program: the link created or set
// last decides them.
TEST(ShellLinkFile, FailureTextsFollowTheLastLanguage)
{
    TempFolder tmp;
    TPBShellLink first(nullptr);
    first.SetFileName(tmp.Path() + "brak\\a.lnk");  // a folder that does not exist
    EXPECT_EQ(SaveError(first), "Erreur en écriture.");
    {
        TPBShellLink english(nullptr);
        english.SetLanguage(lgEnglish);
        EXPECT_EQ(SaveError(first), "Write error.");
        TPBShellLink later(nullptr);
        EXPECT_EQ(SaveError(first), "Erreur en écriture.");
    }
    // A name longer than the shell takes is refused, not cut.
    first.SetFileName(tmp.Path() + std::string(300, 'n'));
    EXPECT_EQ(SaveError(first), "Erreur en écriture.");
}

TEST(FileIcon, AssignTakesOnlyAnIcon)
{
    TFileIcon a, b;
    a.FileName = "C:\\x.ico";
    a.IconIndex = 4;
    b.Assign(&a);
    EXPECT_EQ(b.FileName, "C:\\x.ico");
    EXPECT_EQ(b.IconIndex, 4);

    TPBShellLink link(nullptr);
    link.SetFileIcon(&a);
    EXPECT_EQ(link.FileIcon()->FileName, "C:\\x.ico");
    EXPECT_NE(link.FileIcon(), &a);
    TStringList other;
    EXPECT_THROW(b.Assign(&other), EConvertError);
    EXPECT_THROW(b.Assign(nullptr), EConvertError);
}

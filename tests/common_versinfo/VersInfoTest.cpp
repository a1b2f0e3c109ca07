#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "common/AppName.h"
#include "common/GridInc.h"
#include "common/VersInfo.h"
#include "tests/support/TestUtil.h"

namespace {

std::string Fixture(const char* name)
{
    return TestProgramFolder() + name + ".exe";
}

std::string Joined(const TStrings& items)
{
    std::string text;
    for (int i = 0; i < items.Count(); ++i) {
        if (i)
            text += ',';
        text += items.Strings(i);
    }
    return text;
}

// A copy of a fixture with the bytes `from` (found once) replaced by `to`.
std::string PatchedCopy(const TempFolder& temp, const char* fixture, const std::string& from, const std::string& to)
{
    std::string bytes = ReadWholeFile(Fixture(fixture));
    const std::string::size_type at = bytes.find(from);
    EXPECT_NE(at, std::string::npos);
    EXPECT_EQ(bytes.find(from, at + 1), std::string::npos);
    if (at != std::string::npos)
        bytes.replace(at, to.size(), to);
    const std::string path = temp.Path() + "patched.exe";
    WriteWholeFile(path, bytes);
    return path;
}

std::string Utf16(const char* ascii)
{
    std::string bytes;
    for (const char* p = ascii; *p; ++p) {
        bytes += *p;
        bytes += '\0';
    }
    return bytes;
}

TEST(VersInfo, ReadsTheGeneratedFiles)
{
    const struct {
        const char* file;
        const char* translations;
        const char* fileVersion;
        const char* productVersion;
        std::uint32_t fileMS, fileLS;
        const char* buildFlags;
        const char* values[11];  // standard indexes 0..10
        const char* autoRun;
        const char* uninstaller;
    } rows[] = {
        {"vi_pl", "041504e2", "1.2.3.4", "5.6.7.8", 0x00010002, 0x00030004, "",
         {"Pracownia Żółwik Łódź", "Próbny plik z zasobem wersji", "1.02 wydanie grudniowe", "wersjapl",
          "© Pracownia Żółwik 1999", "Źdźbło™", "vi_pl.exe", "Gęśla Jaźń", "5.6 beta", "3 grudnia 1999", "ręczna"},
         "gesla.exe /cicho", "c:\\qmx\\usuń.exe"},
        // Language 0 and code page 0 read as US English, Western.
        {"vi_zero", "040904e4", "0.0.0.0", "0.0.0.0", 0, 0, "",
         {"Firma Zerowa", "", "", "", "", "", "", "", "", "", ""}, "", ""},
        // Without a translation table the US English table is read.
        {"vi_notrans", "", "2.0.0.17", "2.0.0.0", 0x00020000, 0x00000011, "",
         {"", "", "", "", "", "", "", "Bez tabeli", "", "", ""}, "", ""},
        // Flags as stored, although the mask names Debug only.
        {"vi_flags", "040904e4", "3.1.0.0", "3.1.0.0", 0x00030001, 0, "Debug, Patched",
         {"", "", "", "", "", "", "", "", "", "", ""}, "", ""},
        // The first declared translation wins over the fuller table.
        {"vi_order", "040904e4,041504e2", "4.0.65535.1", "4.0.0.0", 0x00040000, 0xFFFF0001, "",
         {"Pierwsza", "", "", "", "", "", "", "", "", "", ""}, "", ""},
        {"vi_none", "", "", "", 0, 0, "", {"", "", "", "", "", "", "", "", "", "", ""}, "", ""},
        {"nie_istnieje", "", "", "", 0, 0, "", {"", "", "", "", "", "", "", "", "", "", ""}, "", ""},
    };
    TVersionInfoResource vi(nullptr);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        vi.SetFilename(Fixture(r.file));
        EXPECT_EQ(Joined(vi.Translations()), r.translations);
        EXPECT_EQ(vi.TranslationIndex(), 0);
        EXPECT_EQ(vi.FileVersionNumber().GetVersionText(), r.fileVersion);
        EXPECT_EQ(vi.ProductVersionNumber().GetVersionText(), r.productVersion);
        EXPECT_EQ(vi.FileVersionNumber().Valid, *r.fileVersion != '\0');
        EXPECT_EQ(vi.FixedFileInfo().FileVersionMS(), r.fileMS);
        EXPECT_EQ(vi.FixedFileInfo().FileVersionLS(), r.fileLS);
        EXPECT_EQ(vi.GetBuildFlagsText(), r.buildFlags);
        for (int i = 0; i <= pdBuildFlags; ++i)
            EXPECT_EQ(vi.GetStandardValue(i), r.values[i]) << "index " << i;
        EXPECT_EQ(vi.GetStandardValue(-1), "");
        EXPECT_EQ(vi.GetStandardValue(11), "");
        EXPECT_EQ(vi.GetValue("AutoRun"), r.autoRun);
        EXPECT_EQ(vi.GetValue("Uninstaller"), r.uninstaller);
        EXPECT_EQ(vi.GetValue("NieMaTakiegoKlucza"), "");
        EXPECT_EQ(vi.CompanyName(), r.values[pdCompanyName]);
        EXPECT_EQ(vi.ProductName(), r.values[pdProductName]);
        EXPECT_EQ(vi.Comments(), r.values[pdComments]);
    }
}

TEST(VersInfo, FixedInfoWordsAndParts)
{
    TVersionInfoResource vi(nullptr);
    vi.SetFilename(Fixture("vi_pl"));
    const TFixedFileVersionInfo& fixed = vi.FixedFileInfo();
    EXPECT_EQ(fixed.Owner(), &vi);
    EXPECT_EQ(fixed.ProductVersionMS(), 0x00050006u);
    EXPECT_EQ(fixed.ProductVersionLS(), 0x00070008u);
    EXPECT_TRUE(fixed.FileFlags().Empty());
    const TVersionNumberInformation& number = vi.ProductVersionNumber();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(number.GetPart(i), 5u + i) << "part " << i;
    EXPECT_EQ(number.GetPart(4), 0u);

    vi.SetFilename(Fixture("vi_flags"));
    const TVersionFlags flags = vi.FixedFileInfo().FileFlags();
    const struct {
        TVersionFlag flag;
        bool set;
    } members[] = {{vfDebug, true},     {vfInfoInferred, false}, {vfPatched, true},
                   {vfPreRelease, false}, {vfPrivate, false},      {vfSpecial, false}};
    for (const auto& m : members)
        EXPECT_EQ(flags.Contains(m.flag), m.set) << "flag " << m.flag;
}

// Every reload replaces all data, also for the same name and after a file
// without a resource.
TEST(VersInfo, ReloadReplacesEverything)
{
    TempFolder temp;
    const std::string path = temp.Path() + "program.exe";
    ASSERT_TRUE(CopyFileA(Fixture("vi_flags").c_str(), path.c_str(), FALSE));

    TVersionInfoResource vi(nullptr);
    EXPECT_FALSE(vi.FileVersionNumber().Valid);  // nothing is read at creation
    vi.SetFilename(path);
    EXPECT_EQ(vi.GetBuildFlagsText(), "Debug, Patched");

    ASSERT_TRUE(CopyFileA(Fixture("vi_pl").c_str(), path.c_str(), FALSE));
    vi.SetFilename(path);
    EXPECT_EQ(vi.FileVersionNumber().GetVersionText(), "1.2.3.4");
    EXPECT_EQ(vi.GetBuildFlagsText(), "");
    EXPECT_EQ(vi.ProductName(), "Gęśla Jaźń");

    ASSERT_TRUE(CopyFileA(Fixture("vi_none").c_str(), path.c_str(), FALSE));
    vi.SetFilename(path);
    EXPECT_FALSE(vi.FileVersionNumber().Valid);
    EXPECT_FALSE(vi.ProductVersionNumber().Valid);
    EXPECT_EQ(vi.FileVersionNumber().GetVersionText(), "");
    EXPECT_EQ(vi.FileVersionNumber().GetPart(0), 0u);
    EXPECT_EQ(vi.FixedFileInfo().FileVersionMS(), 0u);
    EXPECT_TRUE(vi.FixedFileInfo().FileFlags().Empty());
    EXPECT_EQ(vi.Translations().Count(), 0);
    EXPECT_EQ(vi.ProductName(), "");
}

// An empty file name reads the running program; so does a component read
// from a form, once loaded.
TEST(VersInfo, EmptyFilenameReadsTheRunningProgram)
{
    TComponent form(nullptr);
    auto* vi = new TVersionInfoResource(&form);
    EXPECT_EQ(vi->GetTargetFileName().empty(), false);
    EXPECT_EQ(vi->ProductName(), "");
    vi->Loaded();
    EXPECT_EQ(vi->ProductName(), "Testy zasobu wersji");
    EXPECT_EQ(vi->FileVersionNumber().GetVersionText(), "9.8.7.6");

    char own[MAX_PATH];
    GetModuleFileNameA(nullptr, own, sizeof own);
    EXPECT_EQ(vi->GetTargetFileName(), own);
    vi->SetFilename(Fixture("vi_pl"));
    EXPECT_EQ(vi->GetTargetFileName(), Fixture("vi_pl"));
    vi->SetFilename("");
    vi->SetForceEXE(true);  // a change reloads; a program reads itself either way
    EXPECT_EQ(vi->ForceEXE(), true);
    EXPECT_EQ(vi->ProductName(), "Testy zasobu wersji");
}

// A root block without fixed information cannot be trusted: the file reads
// like one without a version resource.
TEST(VersInfo, RootWithoutFixedInfoReadsAsNoResource)
{
    TempFolder temp;
    // The root's value length (52 bytes of fixed information) stands just
    // before its type word and key.
    const std::string key = Utf16("VS_VERSION_INFO");
    const std::string path =
        PatchedCopy(temp, "vi_pl", std::string("\x34\x00\x00\x00", 4) + key, std::string("\x00\x00\x00\x00", 4) + key);
    TVersionInfoResource vi(nullptr);
    vi.SetFilename(path);
    EXPECT_FALSE(vi.FileVersionNumber().Valid);
    EXPECT_EQ(vi.FixedFileInfo().FileVersionMS(), 0u);
    EXPECT_EQ(vi.Translations().Count(), 0);
    EXPECT_EQ(vi.CompanyName(), "");
    EXPECT_EQ(GetFileVersionMS(path), -1);
}

TEST(AppName, DisplayNames)
{
    TempFolder temp;
    const std::string twoDots = temp.Path() + "my.prog.exe";
    ASSERT_TRUE(CopyFileA(Fixture("vi_none").c_str(), twoDots.c_str(), FALSE));
    const struct {
        std::string file;
        const char* display;
        const char* company;
        const char* product;
        const char* version;
        const char* comments;
    } rows[] = {
        {Fixture("vi_pl"), "Gęśla Jaźń (Pracownia Żółwik Łódź) 1.2.3.4", "Pracownia Żółwik Łódź", "Gęśla Jaźń",
         "1.2.3.4", "3 grudnia 1999"},
        {Fixture("vi_zero"), " (Firma Zerowa) 0.0.0.0", "Firma Zerowa", "", "0.0.0.0", ""},
        {Fixture("vi_notrans"), "Bez tabeli () 2.0.0.17", "", "Bez tabeli", "2.0.0.17", ""},
        {Fixture("vi_flags"), "vi_flags", "", "", "3.1.0.0", ""},
        {Fixture("vi_order"), " (Pierwsza) 4.0.65535.1", "Pierwsza", "", "4.0.65535.1", ""},
        {Fixture("vi_none"), "vi_none", "", "", "", ""},
        {twoDots, "my", "", "", "", ""},
        {"c:\\nie\\ma\\KALK.EXE", "KALK", "", "", "", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        TNazwaAplikacji info{"stare", "stare", "stare", "stare", "stare"};
        GetApplicationName(r.file, info);
        EXPECT_EQ(info.DisplayName, r.display);
        EXPECT_EQ(info.CompanyName, r.company);
        EXPECT_EQ(info.ProductName, r.product);
        EXPECT_EQ(info.Version, r.version);
        EXPECT_EQ(info.Comments, r.comments);
    }
}

TEST(GridInc, GetFileVersionMS)
{
    // The grid's date editors need 4.70 or later.
    EXPECT_GT(GetFileVersionMS("comctl32.dll"), 262213);
    EXPECT_EQ(GetFileVersionMS(Fixture("vi_pl")), 0x00010002);
    EXPECT_EQ(GetFileVersionMS(Fixture("vi_zero")), 0);
    EXPECT_EQ(GetFileVersionMS(Fixture("vi_none")), -1);
    EXPECT_EQ(GetFileVersionMS(Fixture("nie_istnieje")), -1);

    TempFolder temp;
    const std::string path = PatchedCopy(temp, "vi_pl", "\xBD\x04\xEF\xFE", "\xBD\x04\xEF\xFF");
    EXPECT_EQ(GetFileVersionMS(path), -1);
}

double DateOf(int year, int month, int day)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    double value = 0;
    EXPECT_TRUE(SystemTimeToVariantTime(&st, &value));
    return value;
}

TEST(GridInc, ParseDate)
{
    struct Expect {
        int year, month, day;  // {0} no date, {-1} raises
    };
    const Expect none{0, 0, 0}, raises{-1, 0, 0};
    const struct {
        const char* text;
        Expect mdy, dmy;
    } rows[] = {
        {"12-31-99", {1999, 12, 31}, raises},
        {"31.12.05", raises, {2005, 12, 31}},
        {"25/12/1999", raises, {3899, 12, 25}},
        {"7-4-26", {1926, 7, 4}, {1926, 4, 7}},
        {"7-4-25", {2025, 7, 4}, {2025, 4, 7}},
        {"7-4-0", {2000, 7, 4}, {2000, 4, 7}},
        {"31/12.2000", raises, {3900, 12, 31}},
        {"1-2-03 10:00", {2003, 1, 2}, {2003, 2, 1}},
        {"  +3- 4-  5", {2005, 3, 4}, {2005, 4, 3}},
        {"29-2-00", raises, {2000, 2, 29}},
        {"29-2-01", raises, raises},
        {"1-1-8099", {9999, 1, 1}, {9999, 1, 1}},
        {"1-1-8100", raises, raises},
        {"0-1-99", raises, raises},
        {"x-y-z", raises, raises},
        // "-" is looked for before "/", and "/" before ".".
        {"1.2/3", none, none},
        {"1/2.3-4", none, none},
        {"1999", none, none},
        {"12-1999", none, none},
        {"", none, none},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        const struct {
            const char* order;
            double (*parse)(const std::string&);
            Expect expect;
        } parsers[] = {{"MDY", ParseDateMDY, r.mdy}, {"DMY", ParseDateDMY, r.dmy}};
        for (const auto& p : parsers) {
            SCOPED_TRACE(p.order);
            if (p.expect.year < 0) {
                EXPECT_THROW(p.parse(r.text), EConvertError);
            } else {
                const double expected = p.expect.year ? DateOf(p.expect.year, p.expect.month, p.expect.day) : 0;
                EXPECT_EQ(p.parse(r.text), expected);
            }
        }
    }
}

}  // namespace

// The version label and the version information component's links: label
// texts over the generated fixture programs (bracketed failure texts
// included), the label keeping the first translation it found, the linked
// labels and list view, and both read from a form resource.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "classlib/ListView.h"
#include "classlib/StdCtrls.h"
#include "classlib/TypInfo.h"
#include "common/VersInfo.h"
#include "common/verslab.h"
#include "tests/support/TestUtil.h"

namespace {

std::string Fixture(const char* name)
{
    return TestProgramFolder() + name + ".exe";
}

// A form read from TVersLabForm.dfm.
class TVersLabForm : public TForm {
public:
    explicit TVersLabForm(TComponent* owner) : TForm(owner) {}

    TVersionLabel* vlWersja = nullptr;
    TVersionLabel* vlData = nullptr;
    TLabel* lProdukt = nullptr;
    TListView* lvWersja = nullptr;
    TVersionInfoResource* vi = nullptr;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        using F = TVersLabForm;
        static const TClassInfo info("TVersLabForm", &TForm::StaticClass(), nullptr,
                                     {
                                         PublishComponent<&F::vlWersja, &F::vlWersja>("vlWersja"),
                                         PublishComponent<&F::vlData, &F::vlData>("vlData"),
                                         PublishComponent<&F::lProdukt, &F::lProdukt>("lProdukt"),
                                         PublishComponent<&F::lvWersja, &F::lvWersja>("lvWersja"),
                                         PublishComponent<&F::vi, &F::vi>("vi"),
                                     });
        return info;
    }
};

// The list view's rows as "caption=value".
std::vector<std::string> Rows(const TListView& list)
{
    std::vector<std::string> rows;
    for (int i = 0; i < list.Items()->Count(); ++i) {
        const TListItem* item = list.Items()->Item(i);
        std::string row = item->Caption();
        for (int s = 0; s < item->SubItems()->Count(); ++s) {
            row += '=';
            row += item->SubItems()->Strings(s);
        }
        rows.push_back(row);
    }
    return rows;
}

using Lines = std::vector<std::string>;

class VersionLabels : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Application) {
            InitFormsUnit();
            InitListViewUnit();
            InitVersInfoUnit();
            InitVersLabUnit();
        }
    }
    void SetUp() override { form_ = new TForm(Application); }
    void TearDown() override { form_->Free(); }

    template <class C>
    C* Make()
    {
        C* control = new C(form_);
        control->SetParent(form_);
        return control;
    }

    TForm* form_ = nullptr;
};

// A new label reads the running program (translation 040904E4 here); rows
// that name a file read it in its own translation when "reset" is set.
TEST_F(VersionLabels, Texts)
{
    const struct {
        const char* file;  // nullptr: the running program
        TVersionResources resource;
        const char* key;  // set after the resource, when given
        bool prefix;
        bool reset;  // LangCharset "-1" once the file is set
        const char* text;
        const char* lang;
    } rows[] = {
        {nullptr, vrFileVersion, nullptr, true, false, "File Version: 7.7 testowa", "040904E4"},
        {nullptr, vrCompanyName, nullptr, false, false, "Firma Testowa", "040904E4"},
        {nullptr, vrComments, nullptr, false, false, "< No Version Info >", "040904E4"},
        {nullptr, vrComments, nullptr, true, false, "Comments: < No Version Info >", "040904E4"},
        {nullptr, vrFlags, nullptr, true, false,
         "Flags: Debug Build, Pre-Release Build, Patched Build, Private Build, InfoInferred, Special Build",
         "040904E4"},
        {nullptr, vrInternalName, nullptr, true, false, "Internal Name: < Error retrieving string version info >",
         "040904E4"},
        {"vi_pl", vrCompanyName, nullptr, true, true, "Company Name: Pracownia Żółwik Łódź", "041504E2"},
        {"vi_pl", vrLegalCopyright, nullptr, false, true, "© Pracownia Żółwik 1999", "041504E2"},
        {"vi_pl", vrFlags, nullptr, true, false, "Flags: ", "040904E4"},
        {"vi_pl", vrProductName, "AutoRun", true, true, "AutoRun gesla.exe /cicho", "041504E2"},
        {"vi_flags", vrFlags, nullptr, true, false, "Flags: Debug Build, Patched Build", "040904E4"},
        {"vi_flags", vrFlags, nullptr, false, false, "Debug Build, Patched Build", "040904E4"},
        {"vi_none", vrFileVersion, nullptr, true, true, "File Version: < No Data Available >", "-1"},
        {"nie_istnieje", vrFlags, nullptr, false, false, "< No Data Available >", "040904E4"},
        {"vi_notrans", vrProductName, nullptr, true, true, "Product Name: < Error retrieving translation info >",
         "-1"},
        // The label takes the code as declared: 0/0 names no table.
        {"vi_zero", vrCompanyName, nullptr, false, true, "< Error retrieving string version info >", "00000000"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.file ? r.file : "(own)") << " " << r.text);
        TVersionLabel* label = Make<TVersionLabel>();
        label->SetVersionResource(r.resource);
        if (r.key)
            label->SetVersionResourceKey(r.key);
        label->SetShowInfoPrefix(r.prefix);
        if (r.file)
            label->SetFilename(Fixture(r.file));
        if (r.reset)
            label->SetLangCharset("-1");
        EXPECT_EQ(label->InfoString(), r.text);
        EXPECT_EQ(label->Caption(), r.text);
        EXPECT_EQ(label->LangCharset(), r.lang);
        delete label;
    }
}

TEST_F(VersionLabels, DefaultsAndPrefixes)
{
    TVersionLabel* label = Make<TVersionLabel>();
    EXPECT_EQ(label->VersionResource(), vrFileVersion);
    EXPECT_EQ(label->VersionResourceKey(), "FileVersion");
    EXPECT_EQ(label->InfoPrefix(), "File Version:");
    EXPECT_TRUE(label->ShowInfoPrefix());
    EXPECT_TRUE(label->AutoSize());
    EXPECT_FALSE(label->WordWrap());
    EXPECT_EQ(label->Filename(), "");

    label->SetVersionResourceKey("ProductName");
    EXPECT_EQ(label->InfoPrefix(), "ProductName");
    EXPECT_EQ(label->InfoString(), "ProductName Testy etykiet wersji");
    label->SetInfoPrefix("Program:");
    EXPECT_EQ(label->InfoString(), "Program: Testy etykiet wersji");
    label->SetVersionResource(vrOriginalFilename);
    EXPECT_EQ(label->VersionResourceKey(), "OriginalFilename");
    EXPECT_EQ(label->InfoPrefix(), "Original Filename:");
    // A new key that reads like the prefix already shows its own value.
    label->SetInfoPrefix("CompanyName");
    label->SetVersionResourceKey("CompanyName");
    EXPECT_EQ(label->InfoString(), "CompanyName Firma Testowa");
}

// The code found first stays: a later file is read in it, whatever that file
// declares, until LangCharset is "-1" again.
TEST_F(VersionLabels, TranslationSticks)
{
    TVersionLabel* label = Make<TVersionLabel>();
    label->SetVersionResource(vrCompanyName);
    label->SetShowInfoPrefix(false);
    EXPECT_EQ(label->LangCharset(), "040904E4");
    const struct {
        const char* file;
        bool reset;
        const char* text;
        const char* lang;
    } steps[] = {
        {"vi_pl", false, "< Error retrieving string version info >", "040904E4"},
        {"vi_order", false, "Pierwsza", "040904E4"},
        {"vi_notrans", true, "< Error retrieving translation info >", "-1"},
        {"vi_pl", false, "Pracownia Żółwik Łódź", "041504E2"},
        // Its first declared translation is US English; the label stays Polish.
        {"vi_order", false, "Druga Spółka", "041504E2"},
        {"vi_none", false, "< No Data Available >", "041504E2"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.file);
        label->SetFilename(Fixture(s.file));
        if (s.reset)
            label->SetLangCharset("-1");
        EXPECT_EQ(label->InfoString(), s.text);
        EXPECT_EQ(label->LangCharset(), s.lang);
    }
}

TEST_F(VersionLabels, ComponentFillsItsLinks)
{
    auto* vi = new TVersionInfoResource(form_);
    TListView* list = Make<TListView>();
    vi->SetVersionListView(list);
    EXPECT_EQ(vi->ShowResource(), AllPreDefs);
    EXPECT_EQ(Rows(*list), Lines{});
    ASSERT_EQ(list->Columns()->Count(), 2);
    EXPECT_EQ(list->Columns()->Items(0)->Caption(), "Resource");
    EXPECT_EQ(list->Columns()->Items(1)->Caption(), "Value");
    EXPECT_EQ(list->ViewStyle(), vsReport);
    EXPECT_TRUE(list->ReadOnly());
    EXPECT_FALSE(list->ColumnClick());

    // The version rows come from the fixed information; BuildFlags from the
    // flags, not from the string table's "BuildFlags" value.
    vi->SetFilename(Fixture("vi_pl"));
    EXPECT_EQ(Rows(*list), (Lines{"ProductName=Gęśla Jaźń", "ProductVersion=5.6.7.8",
                                  "CompanyName=Pracownia Żółwik Łódź", "LegalCopyright=© Pracownia Żółwik 1999",
                                  "LegalTrademarks=Źdźbło™", "FileDescription=Próbny plik z zasobem wersji",
                                  "FileVersion=1.2.3.4", "InternalName=wersjapl", "OriginalFilename=vi_pl.exe",
                                  "Comments=3 grudnia 1999"}));

    // Each linked label shows its value and takes it off the list.
    TLabel* version = Make<TLabel>();
    TLabel* copyright = Make<TLabel>();
    TLabel* product = Make<TLabel>();
    TLabel* description = Make<TLabel>();
    vi->SetVersionLabel(version);
    vi->SetCopyrightLabel(copyright);
    vi->SetProductLabel(product);
    vi->SetDescriptionLabel(description);
    EXPECT_EQ(version->Caption(), "1.2.3.4");
    EXPECT_EQ(copyright->Caption(), "© Pracownia Żółwik 1999");
    EXPECT_EQ(product->Caption(), "Gęśla Jaźń");
    EXPECT_EQ(description->Caption(), "Próbny plik z zasobem wersji");
    EXPECT_EQ(vi->ShowResource(), AllPreDefs & ~(PreDefBit(pdFileVersion) | PreDefBit(pdLegalCopyright) |
                                                 PreDefBit(pdProductName) | PreDefBit(pdFileDescription)));
    EXPECT_EQ(Rows(*list), (Lines{"ProductVersion=5.6.7.8", "CompanyName=Pracownia Żółwik Łódź",
                                  "LegalTrademarks=Źdźbło™", "InternalName=wersjapl", "OriginalFilename=vi_pl.exe",
                                  "Comments=3 grudnia 1999"}));

    // ShowResource brings rows back; every reload shows the new file.
    vi->SetShowResource(AllPreDefs);
    vi->SetFilename(Fixture("vi_flags"));
    EXPECT_EQ(version->Caption(), "3.1.0.0");
    EXPECT_EQ(product->Caption(), "");
    EXPECT_EQ(Rows(*list), (Lines{"ProductVersion=3.1.0.0", "FileVersion=3.1.0.0", "BuildFlags=Debug, Patched"}));
    vi->SetFilename(Fixture("vi_none"));
    EXPECT_EQ(version->Caption(), "");
    EXPECT_EQ(Rows(*list), Lines{});

    // Through the published set, as a form sets it.
    vi->SetFilename(Fixture("vi_pl"));
    SetPropText(vi, FindPropInfo(vi, "ShowResource"), "[pdComments, pdProductName]");
    EXPECT_EQ(Rows(*list), (Lines{"ProductName=Gęśla Jaźń", "Comments=3 grudnia 1999"}));

    // Freed controls leave no links behind.
    delete version;
    delete list;
    EXPECT_EQ(vi->VersionLabel(), nullptr);
    EXPECT_EQ(vi->VersionListView(), nullptr);
    EXPECT_EQ(vi->CopyrightLabel(), copyright);
    vi->SetFilename(Fixture("vi_order"));
    EXPECT_EQ(product->Caption(), "");
    EXPECT_EQ(copyright->Caption(), "");

    EXPECT_EQ(vi->Version(), "TVersionInfoResource v2.27");
    SetPropText(vi, FindPropInfo(vi, "Version"), "v9");
    EXPECT_EQ(vi->Version(), "TVersionInfoResource v2.27");
    EXPECT_TRUE(FindPropInfo(vi, "ProductName").IsReadOnly());
}

// Version labels and the component on a form, as the programs' wizard pages
// carry them: the component reads the running program once loaded.
TEST_F(VersionLabels, ReadFromAForm)
{
    auto* form = TForm::Create<TVersLabForm>(Application);
    ASSERT_TRUE(form->vi && form->vlWersja && form->vlData && form->lProdukt && form->lvWersja);
    EXPECT_EQ(form->vlWersja->InfoString(), "File Version: 7.7 testowa");
    EXPECT_EQ(form->vlData->InfoString(), "< No Version Info >");
    EXPECT_EQ(form->vi->ProductLabel(), form->lProdukt);
    EXPECT_EQ(form->lProdukt->Caption(), "Testy etykiet wersji");
    EXPECT_EQ(Rows(*form->lvWersja),
              (Lines{"CompanyName=Firma Testowa", "FileVersion=7.7.0.1",
                     "BuildFlags=Debug, Info Inferred, Patched, Pre-Release, Private, Special"}));
    form->Free();
}

} // namespace

// Form placement: the values a save writes, a restore from stored values
// (also from another screen size or resolution), when a save is refused,
// tracking limits and a locked size through the window hook, the values of
// an INI file, and a form storage that keeps its edits' texts.
#include <windows.h>

#include <cstdio>
#include <functional>

#include <gtest/gtest.h>

#include "PlacementTestForms.h"
#include "classlib/IniFiles.h"
#include "components/AppUtils.h"
#include "components/RxHook.h"
#include "tests/common_reg/RegTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

const char Section[] = "Okno";

// Built with snprintf: gcc 12 warns falsely about a literal + std::string here.
std::string Suffix()
{
    char text[32];
    std::snprintf(text, sizeof text, "(%dx%d)", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return text;
}

// Ident followed by this screen's suffix.
std::string Sized(const char* ident)
{
    return ident + Suffix();
}

std::string Ident(const char* name, size_t i)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s%u", name, static_cast<unsigned>(i));
    return text;
}

class Placement : public testing::Test {
protected:
    void TearDown() override
    {
        if (form_)
            form_->Free();
        Application->ProcessMessages();
    }
    // A form at (100, 120), 400 x 300, with a placement as its description
    // would give it: values under the test's key, section "Okno".
    template <class P = TFormPlacement> P* MakeForm(std::function<void(TForm*)> design = nullptr)
    {
        form_ = TForm::Create<TForm>(nullptr);
        form_->SetName("Okno1");
        form_->SetBounds(100, 120, 400, 300);
        if (design)
            design(form_);
        return Attach<P>();
    }
    template <class P = TFormPlacement> P* Attach()
    {
        auto* p = new P(form_);
        p->SetLoading(true);
        p->SetUseRegistry(true);
        p->SetIniFileName(key_.Path());
        p->SetIniSection(Section);
        p->Loaded();
        return p;
    }
    void Seed(const std::string& name, const std::string& value)
    {
        SetRawString(HKEY_CURRENT_USER, key_.Path() + "\\" + Section, name, value);
    }
    std::string Stored(const std::string& name)
    {
        std::string value;
        return GetRawString(HKEY_CURRENT_USER, key_.Path() + "\\" + Section, name, value) ? value : "(none)";
    }
    // The window's normal rectangle, whatever its state.
    std::string NormalBounds() const
    {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(form_->Handle(), &wp);
        const RECT& r = wp.rcNormalPosition;
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
            std::to_string(r.bottom - r.top);
    }
    std::string Bounds() const
    {
        return std::to_string(form_->Left()) + "," + std::to_string(form_->Top()) + "," +
            std::to_string(form_->Width()) + "," + std::to_string(form_->Height());
    }

    TestKey key_;
    TForm* form_ = nullptr;
};

TEST_F(Placement, AClosedFormWritesItsPlacementForThisScreenAndForAny)
{
    MakeForm();
    form_->Show();
    form_->Close();
    EXPECT_EQ("0", Stored("Flags"));
    EXPECT_EQ("1", Stored("ShowCmd"));
    EXPECT_EQ(std::to_string(Screen->PixelsPerInch()), Stored("PixelsPerInch"));
    EXPECT_EQ("100,120,500,420", Stored("NormPos"));
    EXPECT_EQ("100,120,500,420", Stored(Sized("NormPos")));
    // The minimized and maximized places are the system's.
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(form_->Handle(), &wp);
    char minMaxPos[64];
    std::snprintf(minMaxPos, sizeof minMaxPos, "%d,%d,%d,%d", static_cast<int>(wp.ptMinPosition.x),
                  static_cast<int>(wp.ptMinPosition.y), static_cast<int>(wp.ptMaxPosition.x),
                  static_cast<int>(wp.ptMaxPosition.y));
    const std::string minMax = Stored("MinMaxPos");
    EXPECT_EQ(minMaxPos, minMax);
    EXPECT_EQ(minMax, Stored(Sized("MinMaxPos")));
    EXPECT_EQ("0", Stored("Visible"));
    EXPECT_EQ("(none)", Stored("ActiveControl"));

    // Closed once, saved once: the destruction writes nothing more.
    DeleteRawTree(HKEY_CURRENT_USER, key_.Path());
    form_->Free();
    form_ = nullptr;
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, key_.Path() + "\\" + Section));
}

TEST_F(Placement, AFormFreedWithoutClosingIsSavedAsVisible)
{
    MakeForm();
    form_->Show();
    form_->Free();
    form_ = nullptr;
    EXPECT_EQ("1", Stored("Visible"));
    EXPECT_EQ("100,120,500,420", Stored("NormPos"));
}

TEST_F(Placement, AFormNeverShownKeepsWhatWasStored)
{
    TFormPlacement* p = MakeForm();
    form_->HandleNeeded();
    p->SaveFormState();
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, key_.Path() + "\\" + Section));
    form_->Free();
    form_ = nullptr;
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, key_.Path() + "\\" + Section));

    // Switched off, a save is the caller's own choice.
    p = MakeForm();
    p->SetActive(false);
    form_->HandleNeeded();
    p->SaveFormState();
    EXPECT_EQ("100,120,500,420", Stored("NormPos"));
}

struct RestoreRow {
    const char* name;
    std::vector<std::pair<std::string, std::string>> values; // "<suffix>" stands for this screen's
    std::function<void(TForm*)> design;
    const char* bounds; // the normal rectangle: left, top, width, height
    TWindowState state;
};

TEST_F(Placement, ARestoreAppliesWhatFitsThisScreen)
{
    const std::string ppi = std::to_string(Screen->PixelsPerInch());
    const std::vector<RestoreRow> rows = {
        {"stored rectangle", {{"NormPos", "50,60,350,260"}, {"ShowCmd", "1"}}, nullptr, "50,60,300,200", wsNormal},
        {"this screen's values first",
         {{"NormPos<suffix>", "70,80,370,280"}, {"NormPos", "50,60,350,260"}},
         nullptr,
         "70,80,300,200",
         wsNormal},
        {"another screen's values: the latest without suffix",
         {{"NormPos(800x600)", "1,1,2,2"}, {"NormPos", "50,60,350,260"}},
         nullptr,
         "50,60,300,200",
         wsNormal},
        {"other pixels per inch: the state only",
         {{"NormPos", "50,60,350,260"}, {"PixelsPerInch", "120"}, {"ShowCmd", "3"}},
         nullptr,
         "100,120,400,300",
         wsMaximized},
        {"maximized", {{"NormPos", "50,60,350,260"}, {"ShowCmd", "3"}}, nullptr, "50,60,300,200", wsMaximized},
        {"maximized, designed so",
         {{"NormPos", "50,60,350,260"}, {"ShowCmd", "3"}, {"MinMaxPos", "-1,-1,-1,-1"}, {"Flags", "0"}},
         [](TForm* f) {
             f->SetPosition(poScreenCenter);
             f->SetWindowState(wsMaximized);
         },
         "50,60,300,200",
         wsMaximized},
        {"right not above left", {{"NormPos", "300,60,300,260"}}, nullptr, "100,120,400,300", wsNormal},
        {"dialog: stored place, own size",
         {{"NormPos", "50,60,900,700"}},
         [](TForm* f) { f->SetBorderStyle(bsDialog); },
         "50,60,400,300",
         wsNormal},
        {"fewer words: the form's own values", {{"NormPos", "50,60"}}, nullptr, "50,60,450,360", wsNormal},
        {"words that are no numbers", {{"NormPos", "x,y,z,w"}}, nullptr, "100,120,400,300", wsNormal},
        {"first run of a form designed maximized and centred",
         {},
         [](TForm* f) {
             f->SetPosition(poScreenCenter);
             f->SetWindowState(wsMaximized);
         },
         nullptr,
         wsNormal},
        {"minimized", {{"ShowCmd", "7"}}, nullptr, "100,120,400,300", wsMinimized},
        {"show command 0 keeps the default",
         {{"ShowCmd", "0"}},
         [](TForm* f) { f->SetPosition(poDefault); },
         nullptr,
         wsMaximized},
    };
    for (const RestoreRow& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteRawTree(HKEY_CURRENT_USER, key_.Path());
        for (const auto& [name, value] : row.values) {
            const size_t at = name.find("<suffix>");
            Seed(at == std::string::npos ? name : name.substr(0, at) + Suffix(), value);
        }
        MakeForm(row.design);
        form_->Show();
        if (row.bounds) {
            EXPECT_EQ(row.bounds, NormalBounds());
        }
        EXPECT_EQ(row.state, form_->WindowState());
        form_->Free();
        form_ = nullptr;
    }
}

// Each test runs in a process of its own, so this one may make the
// program's main form.
TEST_F(Placement, AMinimizedMainFormComesUpNormalThenTheProgramMinimizes)
{
    Seed("NormPos", "50,60,350,260");
    Seed("ShowCmd", "7");
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(main, Application->MainForm());
    form_ = main;
    TFormPlacement* p = Attach();
    form_->Show();
    EXPECT_EQ(wsNormal, form_->WindowState());
    EXPECT_EQ("50,60,300,200", Bounds());
    EXPECT_FALSE(Application->IsMinimized());
    Application->ProcessMessages();
    EXPECT_TRUE(Application->IsMinimized());
    Application->Restore();
    p->SetActive(false);
}

TEST_F(Placement, AScreenCentredFormTakesTheStoredPlaceAndStaysThere)
{
    Seed("NormPos", "50,60,350,260");
    MakeForm([](TForm* f) { f->SetPosition(poScreenCenter); });
    form_->Show();
    EXPECT_EQ("50,60,300,200", Bounds());
    EXPECT_EQ(poDesigned, form_->Position());
}

TEST_F(Placement, TheActiveControlIsKeptWhenAsked)
{
    TFormPlacement* p = MakeForm();
    p->SetOptions(fpState | fpPosition | fpActiveControl);
    auto* first = new TEdit(form_);
    first->SetName("Edit1");
    first->SetParent(form_);
    auto* second = new TEdit(form_);
    second->SetName("Edit2");
    second->SetParent(form_);
    second->SetTop(40);
    Seed("ActiveControl", "Edit2");
    form_->Show();
    EXPECT_EQ(second, form_->ActiveControl());
    form_->SetActiveControl(first);
    form_->Close();
    EXPECT_EQ("Edit1", Stored("ActiveControl"));
}

TEST_F(Placement, TrackingLimitsHoldAgainstSetWindowPos)
{
    TFormPlacement* p = MakeForm();
    p->MinMaxInfo()->SetMinTrackWidth(300);
    p->MinMaxInfo()->SetMinTrackHeight(200);
    ASSERT_TRUE(SharedHookList()->FindHook(form_));
    form_->Show();
    HWND wnd = form_->Handle();
    SetWindowPos(wnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetWindowRect(wnd, &r);
    EXPECT_EQ(300, r.right - r.left);
    EXPECT_EQ(200, r.bottom - r.top);
    // The limits that were not set stay the system's.
    SetWindowPos(wnd, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(wnd, &r);
    EXPECT_EQ(700, r.right - r.left);
    EXPECT_EQ(500, r.bottom - r.top);

    // No limits: the hook goes.
    TWinMinMaxInfo none;
    p->SetMinMaxInfo(&none);
    Application->ProcessMessages();
    EXPECT_FALSE(SharedHookList()->FindHook(form_));
}

TEST_F(Placement, ALockedSizeCannotBeChangedNorMaximized)
{
    TFormPlacement* p = MakeForm();
    form_->Show();
    HWND wnd = form_->Handle();
    RECT r;
    GetWindowRect(wnd, &r);
    const LPARAM rightBorder = MAKELPARAM(r.right - 1, (r.top + r.bottom) / 2);
    ASSERT_EQ(HTRIGHT, SendMessageA(wnd, WM_NCHITTEST, 0, rightBorder));
    ASSERT_TRUE(GetWindowLongA(wnd, GWL_STYLE) & WS_MAXIMIZEBOX);

    p->SetPreventResize(true);
    wnd = form_->Handle();
    Application->ProcessMessages();
    EXPECT_FALSE(GetWindowLongA(wnd, GWL_STYLE) & WS_MAXIMIZEBOX);
    GetWindowRect(wnd, &r);
    EXPECT_EQ(HTNOWHERE, SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, (r.top + r.bottom) / 2)));
    SetWindowPos(wnd, nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(400, form_->Width());
    EXPECT_EQ(300, form_->Height());
    HMENU menu = GetSystemMenu(wnd, FALSE);
    SendMessageA(wnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
    EXPECT_TRUE(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND) & MF_GRAYED);

    p->SetPreventResize(false);
    Application->ProcessMessages();
    wnd = form_->Handle();
    EXPECT_TRUE(GetWindowLongA(wnd, GWL_STYLE) & WS_MAXIMIZEBOX);
    EXPECT_FALSE(SharedHookList()->FindHook(form_));
}

TEST_F(Placement, DefaultNamesComeFromTheProgramAndTheOwner)
{
    TFormPlacement* p = MakeForm();
    p->SetIniFileName("");
    p->SetIniSection("");
    EXPECT_EQ("Software\\components_placement_tests", p->IniFileName());
    p->SetUseRegistry(false);
    EXPECT_EQ("components_placement_tests.INI", p->IniFileName());
    EXPECT_EQ("TForm", p->IniSection());

    auto* panel = new TEdit(form_);
    panel->SetName("Edit1");
    panel->SetParent(form_);
    TEdit loose(nullptr);
    loose.SetName("Luzem");
    TComponent owned(form_);
    owned.SetName("Skladnik");
    TComponent alone(nullptr);
    alone.SetName("Sam");
    EXPECT_EQ("TFormEdit1", DefaultSectionOf(panel));
    EXPECT_EQ("Luzem", DefaultSectionOf(&loose));
    EXPECT_EQ("TForm.Skladnik", DefaultSectionOf(&owned));
    EXPECT_EQ("Sam", DefaultSectionOf(&alone));
    EXPECT_EQ("", DefaultSectionOf(nullptr));
}

TEST(PlacementStorage, AQuotedIniValueGetsOneMorePairAndReadsBackUnchanged)
{
    TempFolder temp;
    const std::string file = temp.Path() + "test.ini";
    TIniFile ini(file);
    const std::vector<std::string> values = {"\"abc\"", "'abc'", "\"", "\"abc'", "abc", " a b ", ""};
    for (size_t i = 0; i < values.size(); ++i)
        StorageWriteString(&ini, "S", Ident("K", i), values[i]);
    EXPECT_NE(std::string::npos, ReadWholeFile(file).find("K0=\"\"abc\"\"\r\n")) << ReadWholeFile(file);
    EXPECT_NE(std::string::npos, ReadWholeFile(file).find("K1=\"'abc'\"\r\n"));
    for (size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(values[i]);
        const std::string expected = i == 5 ? "a b" : values[i]; // the profile functions drop the blanks
        EXPECT_EQ(expected, StorageReadString(&ini, "S", Ident("K", i), "?"));
    }
    StorageWriteInt(&ini, "S", "N", -12);
    EXPECT_EQ(-12, StorageReadInt(&ini, "S", "N", 0));
    StorageWriteString(&ini, "S", "H", "0x1F");
    EXPECT_EQ(31, StorageReadInt(&ini, "S", "H", 0));
    StorageWriteString(&ini, "S", "X", "dużo");
    EXPECT_EQ(5, StorageReadInt(&ini, "S", "X", 5));
    EXPECT_EQ(7, StorageReadInt(&ini, "S", "Brak", 7));
    // Anything but an INI object reads the default and writes nothing.
    TObject other;
    StorageWriteString(&other, "S", "K", "v");
    EXPECT_EQ("d", StorageReadString(&other, "S", "K", "d"));

    // A registry value keeps its quotes as they are.
    TestKey key;
    TRegIniFile reg(key.Path());
    StorageWriteString(&reg, "S", "Q", "\"abc\"");
    std::string raw;
    ASSERT_TRUE(GetRawString(HKEY_CURRENT_USER, key.Path() + "\\S", "Q", raw));
    EXPECT_EQ("\"abc\"", raw);
}

TEST(PlacementStorage, SizedValuesAreWrittenTwiceAndReadForThisScreenFirst)
{
    TestKey key;
    TRegIniFile reg(key.Path());
    WriteSizedValue(&reg, "S", "V", "1");
    EXPECT_EQ("1", StorageReadString(&reg, "S", Sized("V"), ""));
    EXPECT_EQ("1", StorageReadString(&reg, "S", "V", ""));
    StorageWriteString(&reg, "S", "V", "2");
    EXPECT_EQ("1", ReadSizedValue(&reg, "S", "V"));
    StorageWriteString(&reg, "S", Sized("V"), "");
    EXPECT_EQ("2", ReadSizedValue(&reg, "S", "V"));
    EXPECT_EQ(Suffix(), ScreenSizeSuffix());
}

TEST(PlacementStorage, AnIniFilePlacementWritesItsSection)
{
    TempFolder temp;
    const std::string file = temp.Path() + "okno.ini";
    TForm* form = TForm::Create<TForm>(nullptr);
    form->SetBounds(10, 20, 300, 200);
    auto* p = new TFormPlacement(form);
    p->SetLoading(true);
    p->SetIniFileName(file);
    p->Loaded();
    form->Show();
    form->Close();
    form->Free();
    const std::string text = ReadWholeFile(file);
    EXPECT_EQ(0u, text.find("[TForm]\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("NormPos=10,20,310,220\r\n")) << text;
}

// The update form's storage: four edits kept in plain text beside the
// placement, read back by the next form.
TEST(FormStorage, KeepsTheEditsTextsUnderComponentAndPropertyNames)
{
    TestKey key;
    const std::string section = key.Path() + "\\ZedaRizezevuzer";
    auto make = [&] {
        auto* form = TForm::Create<TStorageTestForm>(nullptr);
        form->fs->SetIniFileName(key.Path());
        return form;
    };
    TStorageTestForm* form = make();
    EXPECT_EQ(4, form->fs->StoredProps()->Count());
    EXPECT_EQ(form->eProxyPort, form->fs->StoredProps()->Objects(2));
    ASSERT_TRUE(SharedHookList()->FindHook(form));
    form->eProxy->SetText("proxy.example.invalid");
    form->eProxyPassword->SetText(" tajne hasło ");
    form->eProxyPort->SetText("   ");
    form->Show();
    EXPECT_EQ(std::vector<std::string>{"show"}, form->Events);
    form->Close();
    form->Free();

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"eProxy_Text", "proxy.example.invalid"},
        {"eProxyPassword_Text", "tajne hasło"},
        {"eProxyPort_Text", ""},
        {"eProxyUsername_Text", ""},
        {"Visible", "0"},
    };
    for (const auto& [name, value] : expected) {
        std::string raw;
        EXPECT_TRUE(GetRawString(HKEY_CURRENT_USER, section, name, raw)) << name;
        EXPECT_EQ(value, raw) << name;
    }

    SetRawString(HKEY_CURRENT_USER, section, "eProxyUsername_Text", "  jan ");
    form = make();
    form->eProxyPort->SetText("3128");
    form->Show();
    EXPECT_EQ("proxy.example.invalid", form->eProxy->Text());
    EXPECT_EQ("tajne hasło", form->eProxyPassword->Text());
    EXPECT_EQ("", form->eProxyPort->Text());
    EXPECT_EQ("jan", form->eProxyUsername->Text());

    // A component that goes leaves the list.
    delete form->eProxyPort;
    form->eProxyPort = nullptr;
    EXPECT_EQ(3, form->fs->StoredProps()->Count());
    form->Free();
}

} // namespace

// Contracts of the rich edit: lines added as plain paragraphs in the
// attributes set just before, the selection and its attributes read back
// from the window, contents kept when the window is made anew.
#include <gtest/gtest.h>

#include "TestForm.h"
#include "classlib/RichEdit.h"

namespace {

// What the window says of the characters from start to end: each attribute
// as "on for all of them".
struct TRangeFormat {
    bool bold, underline;
    COLORREF color;  // CLR_INVALID when not one colour (or automatic)
};

TRangeFormat FormatOf(TRichEdit& edit, int start, int end)
{
    CHARRANGE range{start, end};
    SendMessageA(edit.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2A f{};
    f.cbSize = sizeof f;
    SendMessageA(edit.Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
    TRangeFormat r;
    r.bold = (f.dwMask & CFM_BOLD) && (f.dwEffects & CFE_BOLD);
    r.underline = (f.dwMask & CFM_UNDERLINE) && (f.dwEffects & CFE_UNDERLINE);
    r.color = (f.dwMask & CFM_COLOR) && !(f.dwEffects & CFE_AUTOCOLOR) ? f.crTextColor : CLR_INVALID;
    return r;
}

// The character range of line index, found through the window's own text.
std::pair<int, int> LineRange(TRichEdit& edit, int index)
{
    int start = 0;
    for (int i = 0; i < index; ++i)
        start += static_cast<int>(edit.Lines()->Strings(i).size()) + 1;
    return {start, start + static_cast<int>(edit.Lines()->Strings(index).size())};
}

class RichEdit : public testing::Test {
protected:
    void SetUp() override
    {
        edit = new TRichEdit(TestForm());
        edit->SetBounds(10, 10, 400, 200);
        edit->SetParent(TestForm());
    }
    void TearDown() override { delete edit; }
    TRichEdit* edit = nullptr;
};

TEST_F(RichEdit, LinesAreParagraphsAddedAsPlainText)
{
    TStrings* lines = edit->Lines();
    lines->Add("Poczekaj aż trochę pomyślę...");
    lines->Add("{\\rtf1 to nie jest tekst sformatowany}");
    lines->Add("");
    lines->Add("Ostatni wiersz, dość długi, żeby zawinąć się w oknie o szerokości czterystu punktów na ekranie");
    ASSERT_EQ(lines->Count(), 4);
    EXPECT_EQ(lines->Strings(0), "Poczekaj aż trochę pomyślę...");
    EXPECT_EQ(lines->Strings(1), "{\\rtf1 to nie jest tekst sformatowany}");
    EXPECT_EQ(lines->Strings(2), "");
    EXPECT_EQ(edit->Text(),
              "Poczekaj aż trochę pomyślę...\r\n{\\rtf1 to nie jest tekst sformatowany}\r\n\r\n"
              "Ostatni wiersz, dość długi, żeby zawinąć się w oknie o szerokości czterystu punktów na ekranie\r\n");

    lines->Insert(0, "Zero");
    lines->Delete(2);
    lines->SetStrings(2, "Dwa");
    const std::vector<std::string> expected{"Zero", "Poczekaj aż trochę pomyślę...", "Dwa",
                                            lines->Strings(3)};
    ASSERT_EQ(lines->Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lines->Strings(i), expected[i]) << i;
    lines->Delete(3);
    EXPECT_EQ(lines->Text(), "Zero\r\nPoczekaj aż trochę pomyślę...\r\nDwa\r\n");
    EXPECT_THROW(lines->Strings(3), EListError);
    EXPECT_THROW(lines->Insert(5, "x"), EListError);

    edit->Clear();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("po wyczyszczeniu");
    EXPECT_EQ(edit->Text(), "po wyczyszczeniu\r\n");
}

struct FormattedLine {
    const char* text;
    TFontStyles style;
    TColor color;  // clWindowText: the automatic colour
};

TEST_F(RichEdit, EachLineTakesTheAttributesSetJustBeforeIt)
{
    const FormattedLine rows[] = {
        {"Za chwilę rozpoczniemy instalowanie.", {fsBold}, clWindowText},
        {"Utworzę odpowiednie skróty na pulpicie.", {fsUnderline}, clWindowText},
        {"", {fsBold}, 8388608},
        {"Wybrałeś następujące aplikacje:", {fsBold}, 8388608},
        {"Ferlond, wersja 1.2.3.4 (opis)", {}, 8388608},
        {"Zainstaluję nowe czcionki.", {fsUnderline}, clBlack},
        {"Zwykły wiersz na końcu.", {}, clBlack},
    };
    for (const FormattedLine& row : rows) {
        edit->SelAttributes()->SetStyle(row.style);
        edit->SelAttributes()->SetColor(row.color);
        edit->Lines()->Add(row.text);
    }
    ASSERT_EQ(edit->Lines()->Count(), static_cast<int>(std::size(rows)));
    for (size_t i = 0; i < std::size(rows); ++i) {
        const FormattedLine& row = rows[i];
        SCOPED_TRACE(row.text);
        EXPECT_EQ(edit->Lines()->Strings(static_cast<int>(i)), row.text);
        if (!*row.text)
            continue;
        const auto [start, end] = LineRange(*edit, static_cast<int>(i));
        const TRangeFormat f = FormatOf(*edit, start, end);
        EXPECT_EQ(f.bold, row.style.Contains(fsBold));
        EXPECT_EQ(f.underline, row.style.Contains(fsUnderline));
        EXPECT_EQ(f.color, row.color == clWindowText ? CLR_INVALID : ColorToRGB(row.color));
        // The attributes read back through the selection say the same.
        EXPECT_EQ(edit->SelAttributes()->Style(), row.style);
        EXPECT_EQ(edit->SelAttributes()->Color(), row.color);
    }
}

TEST_F(RichEdit, SelectionAndItsAttributes)
{
    edit->Lines()->Add("abcdefgh");
    edit->Lines()->Add("ijkl");
    edit->SetSelStart(2);
    edit->SetSelLength(3);
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 3);
    EXPECT_EQ(edit->SelText(), "cde");
    edit->SelAttributes()->SetStyle({fsBold, fsUnderline});
    edit->SelAttributes()->SetColor(clRed);
    EXPECT_EQ(edit->SelAttributes()->Style(), TFontStyles({fsBold, fsUnderline}));
    EXPECT_EQ(edit->SelAttributes()->Color(), clRed);

    const struct {
        int start, end;
        bool bold;
        COLORREF color;
    } ranges[] = {{0, 2, false, CLR_INVALID}, {2, 5, true, RGB(255, 0, 0)}, {5, 8, false, CLR_INVALID},
                  {9, 13, false, CLR_INVALID}};
    for (const auto& r : ranges) {
        SCOPED_TRACE(r.start);
        const TRangeFormat f = FormatOf(*edit, r.start, r.end);
        EXPECT_EQ(f.bold, r.bold);
        EXPECT_EQ(f.underline, r.bold);
        EXPECT_EQ(f.color, r.color);
    }

    // Replacing the selection keeps the attributes it had.
    edit->SetSelStart(2);
    edit->SetSelLength(3);
    edit->SetSelText("XY");
    EXPECT_EQ(edit->Lines()->Strings(0), "abXYfgh");
    EXPECT_TRUE(FormatOf(*edit, 2, 4).bold);
    EXPECT_FALSE(FormatOf(*edit, 4, 5).bold);
    edit->SelectAll();
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelText().substr(0, 12), "abXYfgh\rijkl");
}

TEST_F(RichEdit, ContentsAndFormattingOutliveANewWindow)
{
    edit->SelAttributes()->SetStyle({fsBold});
    edit->Lines()->Add("gruby");
    edit->SelAttributes()->SetStyle({});
    edit->Lines()->Add("zwykły");
    const HWND before = edit->Handle();
    edit->SetScrollBars(ssVertical);  // makes the window anew
    ASSERT_NE(edit->Handle(), before);
    ASSERT_EQ(edit->Lines()->Count(), 2);
    EXPECT_EQ(edit->Lines()->Strings(1), "zwykły");
    EXPECT_TRUE(FormatOf(*edit, 0, 5).bold);
    EXPECT_FALSE(FormatOf(*edit, 6, 12).bold);
}

TEST_F(RichEdit, LinesGivenBeforeTheWindowExistWaitForIt)
{
    TRichEdit loose(nullptr);
    loose.Lines()->Add("pierwszy");
    loose.Lines()->Add("drugi");
    EXPECT_FALSE(loose.HandleAllocated());
    EXPECT_EQ(loose.Lines()->Count(), 2);
    loose.SetParent(TestForm());
    ASSERT_TRUE(loose.HandleAllocated());
    EXPECT_EQ(loose.Text(), "pierwszy\r\ndrugi\r\n");
    EXPECT_EQ(loose.Lines()->Strings(1), "drugi");
    loose.SetParent(nullptr);
}

TEST_F(RichEdit, TextReadsRichTextUnlessPlainTextIsSet)
{
    edit->Lines()->SetText("{\\rtf1\\ansi {\\b gruby} zwykly}");
    ASSERT_EQ(edit->Lines()->Count(), 1);
    EXPECT_EQ(edit->Lines()->Strings(0), "gruby zwykly");
    EXPECT_TRUE(FormatOf(*edit, 0, 5).bold);
    EXPECT_FALSE(FormatOf(*edit, 6, 12).bold);

    edit->SetPlainText(true);
    edit->Lines()->SetText("{\\rtf1\\ansi {\\b gruby} zwykly}");
    EXPECT_EQ(edit->Lines()->Strings(0), "{\\rtf1\\ansi {\\b gruby} zwykly}");
}

TEST_F(RichEdit, ReadOnlyAndChangeEvent)
{
    struct Counter {
        int changes = 0;
        void Changed(TObject*) { ++changes; }
    } counter;
    edit->OnChange = TNotifyEvent(&counter, &Counter::Changed);
    edit->Lines()->Add("raz");
    EXPECT_GT(counter.changes, 0);
    edit->SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_READONLY);
    // Read-only stops the user, not the program.
    edit->Lines()->Add("dwa");
    EXPECT_EQ(edit->Lines()->Count(), 2);
}

} // namespace

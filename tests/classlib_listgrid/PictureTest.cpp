// A list view, a rich edit and a string grid read from a form description,
// filled as the installer fills them, and saved as a picture for people.
#include <gtest/gtest.h>

#include "TestForm.h"
#include "classlib/FormReader.h"
#include "classlib/ListView.h"
#include "classlib/PngWriter.h"
#include "classlib/RichEdit.h"
#include "tests/support/TestUtil.h"

namespace {

const char* const Description =
    "object fListy: TForm\n"
    "  object lv: TListView\n"
    "    Left = 8\n"
    "    Top = 8\n"
    "    Width = 616\n"
    "    Height = 150\n"
    "    ViewStyle = vsReport\n"
    "    Checkboxes = True\n"
    "    ReadOnly = True\n"
    "    RowSelect = True\n"
    "    Ctl3D = False\n"
    "  end\n"
    "  object re: TRichEdit\n"
    "    Left = 8\n"
    "    Top = 166\n"
    "    Width = 296\n"
    "    Height = 270\n"
    "    ReadOnly = True\n"
    "    ScrollBars = ssVertical\n"
    "  end\n"
    "  object Siatka: TStringGrid\n"
    "    Left = 312\n"
    "    Top = 166\n"
    "    Width = 312\n"
    "    Height = 270\n"
    "    ColCount = 2\n"
    "    RowCount = 16\n"
    "    FixedRows = 0\n"
    "    DefaultRowHeight = 15\n"
    "    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goEditing,\n"
    "      goTabs, goAlwaysShowEditor, goThumbTracking]\n"
    "  end\n"
    "end\n";

TEST(Pictures, AFormWithAListViewARichEditAndAGrid)
{
    TForm* form = TestForm();
    ReadFormText(form, Description);
    auto* lv = dynamic_cast<TListView*>(form->FindComponent("lv"));
    auto* re = dynamic_cast<TRichEdit*>(form->FindComponent("re"));
    auto* grid = dynamic_cast<TStringGrid*>(form->FindComponent("Siatka"));
    ASSERT_TRUE(lv && re && grid);
    // Read into a form whose window exists already: the new controls make
    // theirs now.
    for (TWinControl* c : {static_cast<TWinControl*>(lv), static_cast<TWinControl*>(re),
                           static_cast<TWinControl*>(grid)})
        c->HandleNeeded();
    EXPECT_EQ(grid->Options() & goAlwaysShowEditor, goAlwaysShowEditor);
    EXPECT_TRUE(lv->Checkboxes());

    const std::pair<const char*, int> columns[] = {
        {"aplikacja", 150}, {"rozmiar", 60}, {"folder", 60}, {"informacje", 200}, {"lokalizacja plików", 140}};
    for (const auto& [caption, width] : columns) {
        TListColumn* c = lv->Columns()->Add();
        c->SetCaption(caption);
        c->SetWidth(width);
    }
    const std::vector<std::vector<std::string>> rows = {
        {"Ferlond", "1,2 MB", "Ferlond", "kalendarz i terminarz", ""},
        {"Lumero", "3,4 MB", "Lumero", "organizer", "pakiet\\"},
        {"Czcionki", "0,8 MB", "Fonts", "czcionki do stron", "fonts\\"},
    };
    for (const auto& row : rows) {
        TListItem* item = lv->Items()->Add();
        item->SetChecked(row[0] != std::string("Czcionki"));
        item->SetCaption(row[0]);
        for (size_t i = 1; i < row.size(); ++i)
            item->SubItems()->Add(row[i]);
    }
    lv->SetItemIndex(1);

    const struct {
        TFontStyles style;
        TColor color;
        const char* text;
    } summary[] = {
        {{fsBold}, clBlack, "Za chwilę rozpoczniemy instalowanie wybranych przez Ciebie aplikacji."},
        {{fsUnderline}, clBlack, "Utworzę odpowiednie skróty na pulpicie."},
        {{fsBold}, 8388608, ""},
        {{fsBold}, 8388608, "Wybrałeś następujące aplikacje:"},
        {{}, 8388608, "Ferlond, wersja 1.0.0.1 (kalendarz)"},
        {{}, 8388608, "Lumero, wersja 2.3.0.0 (organizer)"},
        {{}, clBlack, ""},
        {{fsUnderline}, clBlack, "Zainstaluję nowe czcionki Microsoft Typography."},
    };
    for (const auto& line : summary) {
        re->SelAttributes()->SetStyle(line.style);
        re->SelAttributes()->SetColor(line.color);
        re->Lines()->Add(line.text);
    }

    grid->SetColWidths(0, 80);
    grid->SetColWidths(1, 204);
    for (int row = 0; row < 14; ++row)
        grid->SetCells(0, row, DataLabels[row]);
    grid->SetCells(1, 0, "Jan");
    grid->SetCells(1, 1, "Kowalski");
    grid->SetCells(1, 5, "Łódź");
    FocusWindow(grid->Handle());
    form->Repaint();
    PumpMessages(100);

    TempFolder temp;
    SavePicture(form->Handle(), temp.Path(), "listy_i_siatki.png");

    delete lv;
    delete re;
    delete grid;
}

} // namespace

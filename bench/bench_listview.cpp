// The extended list view against the class library's plain list view, in one
// process: 10,000 rows of 5 columns filled, sorted by a text column and by a
// number column, and one screen of owner-drawn HTML rows painted. Prints each
// time and the ratio ours / baseline. See bench/README.md.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "classlib/Forms.h"
#include "classlib/ListView.h"
#include "classlib/RichEdit.h"
#include "installer/advlistv.h"

namespace {

int Rows = 10000;

double Seconds()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// A fixed sequence of texts and numbers.
unsigned seed = 1250;
unsigned NextRandom()
{
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) & 0xFFFFFF;
}

void AddColumns(TListView* view)
{
    for (const char* caption : {"aplikacja", "rozmiar", "folder", "informacje", "lokalizacja plików"}) {
        TListColumn* c = view->Columns()->Add();
        c->SetCaption(caption);
        c->SetWidth(110);
    }
}

void Fill(TListView* view, bool html)
{
    seed = 1250;
    view->Items()->BeginUpdate();
    for (int i = 0; i < Rows; ++i) {
        TListItem* item = view->Items()->Add();
        item->SetCaption("Aplikacja " + std::to_string(NextRandom() % 100000));
        item->SubItems()->Add(std::to_string(NextRandom() % 1000000) + "," + std::to_string(NextRandom() % 100));
        item->SubItems()->Add("folder\\" + std::to_string(NextRandom() % 1000));
        item->SubItems()->Add(html ? "<b>opis</b> <font color=\"clred\">" + std::to_string(i) + "</font>"
                                   : "opis " + std::to_string(i));
        item->SubItems()->Add("pakiet\\" + std::to_string(i % 50) + "\\");
    }
    view->Items()->EndUpdate();
}

int ByteCompare(TListItem* a, TListItem* b, LPARAM column)
{
    return a->SubItems()->Strings(static_cast<int>(column)).compare(b->SubItems()->Strings(static_cast<int>(column)));
}

struct NumberFormat {
    void Get(TObject*, int column, TSortStyle& style, std::string&, std::string&)
    {
        if (column == 0)
            style = TSortStyle::stNumber;
    }
};

double PaintOnce(TListView* view)
{
    const double start = Seconds();
    RedrawWindow(view->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    return Seconds() - start;
}

void Report(const char* what, double ours, double base)
{
    std::printf("%-28s %9.3f s %9.3f s   ratio %.2f\n", what, ours, base, base > 0 ? ours / base : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        Rows = std::atoi(argv[1]);
    InitFormsUnit();
    InitRichEditUnit();
    InitListViewUnit();
    InitAdvListViewUnit();
    TForm* form = new TForm(Application);
    form->SetBounds(0, 0, 700, 560);
    form->Show();

    auto* plain = new TListView(form);
    plain->SetParent(form);
    plain->SetBounds(0, 0, 600, 500);
    plain->SetViewStyle(vsReport);
    AddColumns(plain);
    auto* ours = new TAdvListView(form);
    ours->SetParent(form);
    ours->SetBounds(0, 0, 600, 500);
    ours->SetViewStyle(vsReport);
    AddColumns(ours);
    plain->HandleNeeded();
    ours->HandleNeeded();
    Application->ProcessMessages();

    std::printf("%-28s %11s %11s\n", (std::to_string(Rows) + " rows of 5 columns").c_str(), "extended", "plain");
    double t = Seconds();
    Fill(ours, true);
    const double fillOurs = Seconds() - t;
    t = Seconds();
    Fill(plain, true);
    const double fillPlain = Seconds() - t;
    Report("fill", fillOurs, fillPlain);

    t = Seconds();
    ours->SortByColumn(3);
    const double textOurs = Seconds() - t;
    t = Seconds();
    plain->CustomSort(&ByteCompare, 2);
    const double textPlain = Seconds() - t;
    Report("sort by text", textOurs, textPlain);

    NumberFormat format;
    ours->OnGetFormat = TFormatEvent(&format, &NumberFormat::Get);
    t = Seconds();
    ours->SortByColumn(1);
    const double numberOurs = Seconds() - t;
    t = Seconds();
    plain->CustomSort(&ByteCompare, 0);
    const double numberPlain = Seconds() - t;
    Report("sort by number", numberOurs, numberPlain);

    // A third view, owner-drawn from the start, for the painting.
    auto* drawn = new TAdvListView(form);
    drawn->SetParent(form);
    drawn->SetBounds(0, 0, 600, 500);
    drawn->SetViewStyle(vsReport);
    drawn->SetOwnerDraw(true);
    drawn->SetItemHeight(18);
    AddColumns(drawn);
    Fill(drawn, true);
    ours->Hide();
    Application->ProcessMessages();
    double paintOurs = 0, paintPlain = 0;
    for (int i = 0; i < 6; ++i) {
        plain->Hide();
        drawn->Show();
        const double a = PaintOnce(drawn);
        drawn->Hide();
        plain->Show();
        const double b = PaintOnce(plain);
        if (i > 0) {  // the first paint of each makes its fonts and brushes
            paintOurs += a;
            paintPlain += b;
        }
    }
    Report("paint a screen (HTML, x5)", paintOurs, paintPlain);
    form->Free();
    return 0;
}

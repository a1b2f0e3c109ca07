// Benchmark (not a test): a grid of 100,000 rows x 10 columns in a window of
// 1000 x 700, its colours from OnGetCellColor and EnhTextSize on, scrolled
// down a line 2,000 times (each scroll painted at once by UpdateWindow) and
// repainted whole 200 times. Baseline in the same run: the class library's
// plain string grid doing the same with the same texts. Prints the times and
// the ratios.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchUtil.h"
#include "grid/AdvGrid.h"

namespace {

constexpr int Rows = 100000;
constexpr int Cols = 10;
// QMX_BENCH_SCROLLS=N scrolls N lines instead (a quick look at the repaints).
const int Scrolls = std::getenv("QMX_BENCH_SCROLLS") ? std::atoi(std::getenv("QMX_BENCH_SCROLLS")) : 2000;
constexpr int Repaints = 200;

struct TColours {
    void Get(TObject*, int row, int col, TGridDrawState, TBrush* brush, TFont* font)
    {
        if (row > 0 && col > 0 && row % 2 == 0)
            brush->SetColor(0x00F0F0FF);
        if (col == 3)
            font->SetColor(clNavy);
    }
};

template <class G>
void Fill(G& grid)
{
    static const char* words[] = {"faktura", "Kontrahent", "towar", "Łódź", "kraków", "Gdańsk",
                                  "poznań",  "zapłata",    "przelew", "Gotówka, długi opis towaru do zapłaty"};
    grid.SetColCount(Cols);
    grid.SetRowCount(Rows + 1);
    grid.SetDefaultColWidth(96);
    for (int r = 0; r <= Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            grid.SetCells(c, r, c == 0 ? std::to_string(r) : std::string(words[Next(10)]) + " " + std::to_string(c));
}

struct TTimes {
    double scroll = 0, repaint = 0;
};

TTimes Measure(TCustomGrid& grid)
{
    TTimes t;
    HWND wnd = grid.Handle();
    grid.SetTopRow(1);
    UpdateWindow(wnd);
    double start = Seconds();
    double inMsg = 0;
    for (int i = 0; i < Scrolls; ++i) {
        const double a = Seconds();
        SendMessageA(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
        inMsg += Seconds() - a;
        UpdateWindow(wnd);
    }
    t.scroll = Seconds() - start;
    // QMX_BENCH_SPLIT=1: how much of the scrolling the scroll messages take
    // (the rest is painting).
    if (std::getenv("QMX_BENCH_SPLIT"))
        std::printf("  scroll messages %.3f s of %.3f s\n", inMsg, t.scroll);
    start = Seconds();
    for (int i = 0; i < Repaints; ++i) {
        InvalidateRect(wnd, nullptr, TRUE);
        UpdateWindow(wnd);
    }
    t.repaint = Seconds() - start;
    return t;
}

} // namespace

int Run()
{
    InitGridsUnit();
    TForm* form = new TForm(Application);
    form->SetBounds(0, 0, 1040, 760);
    form->SetCaption("Siatka");
    form->Show();
    TColours colours;

    TStringGrid* plain = new TStringGrid(form);
    plain->SetBounds(0, 0, 1000, 700);
    Fill(*plain);
    TAdvStringGrid* grid = new TAdvStringGrid(form);
    grid->SetBounds(0, 0, 1000, 700);
    Fill(*grid);
    grid->OnGetCellColor = TGridColorEvent(&colours, &TColours::Get);
    grid->SetEnhTextSize(true);

    // Each grid measured alone on the form, in turn, the best of two runs
    // counted.
    TTimes best[2] = {{1e9, 1e9}, {1e9, 1e9}};
    for (int round = 0; round < 2; ++round) {
        TCustomGrid* grids[2] = {plain, grid};
        for (int g = 0; g < 2; ++g) {
            grids[g]->SetParent(form);
            Application->ProcessMessages();
            const TTimes t = Measure(*grids[g]);
            best[g].scroll = std::min(best[g].scroll, t.scroll);
            best[g].repaint = std::min(best[g].repaint, t.repaint);
            grids[g]->SetParent(nullptr);
        }
    }
    std::printf("%d x %d cells in 1000 x 700, best of 2\n", Rows, Cols);
    std::printf("scroll %d lines: grid %.3f s, plain string grid %.3f s, ratio %.2f\n", Scrolls, best[1].scroll,
                best[0].scroll, best[1].scroll / best[0].scroll);
    std::printf("repaint %d times: grid %.3f s, plain string grid %.3f s, ratio %.2f\n", Repaints, best[1].repaint,
                best[0].repaint, best[1].repaint / best[0].repaint);
    delete form;
    return 0;
}

int main()
{
    return RunGridBenchmark(&Run);
}

// Benchmark (not a test): 100,000 rows x 5 columns filled into the grid and
// sorted by each column both ways with automatic formats, and once by the
// words with the locale's case-insensitive comparison. Baseline in the same
// run: the same rows in a vector sorted by std::sort with the same
// comparisons, and the same fill into the class library's plain string grid.
// Prints the times and the ratios.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchUtil.h"
#include "grid/AdvGrid.h"

namespace {

constexpr int Rows = 100000;
constexpr int Cols = 5;
using TRow = std::array<std::string, Cols>;

std::vector<TRow> MakeRows()
{
    static const char* words[] = {"faktura", "Kontrahent", "towar", "Łódź", "kraków", "Gdańsk", "poznań", "zapłata",
                                  "przelew", "Gotówka", "ćwikła", "Żurek", "zupa", "Cebula", "mąka", "Ślimak"};
    std::vector<TRow> rows(Rows);
    for (TRow& r : rows) {
        r[0] = std::string(words[Next(16)]) + " " + words[Next(16)];
        r[1] = std::to_string(static_cast<int>(Next(2000000)) - 1000000);
        r[2] = std::to_string(Next(100000)) + "," + std::to_string(10 + Next(90));
        r[3] = std::to_string(1 + Next(28)) + "." + (Next(2) ? "0" : "1") + std::to_string(Next(3)) + "." +
               std::to_string(1990 + Next(40));
        switch (Next(3)) {
        case 0:
            r[4] = std::to_string(Next(1000));
            break;
        case 1:
            r[4] = words[Next(16)];
            break;
        default:
            r[4] = std::to_string(Next(100)) + "/" + std::to_string(1 + Next(12));
        }
    }
    return rows;
}

struct TFormat {
    TSortStyle style = stDetect;
    long calls = 0;
    void Get(TObject*, int, TSortStyle& s, std::string&, std::string&)
    {
        ++calls;
        s = style;
    }
};

// The grid's comparison of two rows, as CompareRows makes it.
int CompareRows(const TRow& a, const TRow& b, int col, TSortStyle style, const TCompareSettings& settings)
{
    for (int c = col; c < Cols; ++c) {
        TSortStyle s = style;
        if (s == stDetect)
            s = DetectSortStyle(a[c], settings.ThousandSeparator, settings.DecimalSeparator);
        const int r = CompareTexts(s, a[c], b[c], settings);
        if (r != 0 || c > Cols - 2)
            return r;
    }
    return 0;
}

double SortVector(std::vector<TRow> rows, int col, bool ascending, TSortStyle style, bool stable)
{
    const TCompareSettings settings = TCompareSettings::Locale();
    const int factor = ascending ? 1 : -1;
    auto less = [&](const TRow& a, const TRow& b) { return factor * CompareRows(a, b, col, style, settings) < 0; };
    const double start = Seconds();
    if (stable)
        std::stable_sort(rows.begin(), rows.end(), less);
    else
        std::sort(rows.begin(), rows.end(), less);
    return Seconds() - start;
}

template <class G>
double Fill(G& grid, const std::vector<TRow>& rows)
{
    const double start = Seconds();
    grid.SetColCount(Cols);
    grid.SetRowCount(Rows + 1);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            grid.SetCells(c, r + 1, rows[r][c]);
    return Seconds() - start;
}

} // namespace

int Run()
{
    const std::vector<TRow> rows = MakeRows();

    // The fills in turn, three times each, the best of each counted: the
    // first fill of a process also pays for the heap growing.
    double plainFill = 1e9, gridFill = 1e9;
    for (int i = 0; i < 3; ++i) {
        TStringGrid plain(nullptr);
        plainFill = std::min(plainFill, Fill(plain, rows));
        TAdvStringGrid adv(nullptr);
        gridFill = std::min(gridFill, Fill(adv, rows));
    }
    std::printf("fill %d x %d (best of 3): grid %.3f s, plain string grid %.3f s, ratio %.2f\n", Rows, Cols, gridFill,
                plainFill, gridFill / plainFill);

    static const char* names[Cols] = {"words", "integers", "decimals", "dates", "mixed"};
    TFormat format;
    double worst = 0;
    auto run = [&](int col, bool ascending, TSortStyle style, const char* what) {
        // The mixed column compares in no consistent order: a merge sort
        // keeps the baseline within its rows.
        const bool stable = col == 4;
        const double base = SortVector(rows, col, ascending, style, stable);
        TAdvStringGrid sorted(nullptr);
        Fill(sorted, rows);
        sorted.OnGetFormat = TGridFormatEvent(&format, &TFormat::Get);
        format.style = style;
        sorted.SetSortColumn(col);
        sorted.SetSortDirection(ascending ? sdAscending : sdDescending);
        format.calls = 0;
        const double start = Seconds();
        sorted.SortRows();
        const double took = Seconds() - start;
        if (std::getenv("QMX_BENCH_COUNT"))
            std::printf("  %ld comparisons\n", format.calls);
        worst = std::max(worst, took / base);
        std::printf("sort %-8s %-10s %s: grid %.3f s, %s %.3f s, ratio %.2f\n", names[col], what,
                    ascending ? "up  " : "down", took, stable ? "std::stable_sort" : "std::sort", base, took / base);
    };
    const int only = std::getenv("QMX_BENCH_ONLY") ? std::atoi(std::getenv("QMX_BENCH_ONLY")) : -1;
    for (int col = 0; col < Cols; ++col)
        for (bool ascending : {true, false})
            if (only < 0 || only == col)
                run(col, ascending, stDetect, "auto");
    run(0, true, stLocaleTextNoCase, "locale");
    std::printf("worst sort ratio %.2f, fill ratio %.2f\n", worst, gridFill / plainFill);
    return 0;
}

int main()
{
    return RunGridBenchmark(&Run);
}

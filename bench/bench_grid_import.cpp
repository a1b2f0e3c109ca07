// Benchmark (not a test): a generated CSV file of 200,000 lines x 8 fields
// (about 25 MB, quoted fields holding separators and doubled quotes) read by
// the grid's LoadCSVFile, and a 50,000-line TAB text pasted by PasteText.
// Baseline in the same run: the same bytes split by a plain reader into a
// string grid sized beforehand. Prints the times and the ratios.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchUtil.h"
#include "grid/AdvGrid.h"

namespace {

constexpr int CsvLines = 200000;
constexpr int PasteLines = 50000;
constexpr int Fields = 8;

const char* const words[] = {"faktura", "Kontrahent", "towar", "Łódź", "kraków", "Gdańsk", "poznań", "zapłata",
                             "przelew", "Gotówka", "ćwikła", "Żurek", "zupa", "Cebula", "mąka", "Ślimak"};

// One field's text as it stands in the file.
std::string CsvField(int index)
{
    switch (index) {
    case 0:
        return std::to_string(Next(1000000));
    case 1:  // a separator inside quotes
        return std::string("\"") + words[Next(16)] + "; " + words[Next(16)] + "\"";
    case 2:  // doubled quotes
        return std::string("\"firma \"\"") + words[Next(16)] + "\"\" sp. z o.o.\"";
    case 3:
        return std::to_string(Next(100000)) + "," + std::to_string(10 + Next(90));
    case 4:
        return std::to_string(1 + Next(28)) + "." + std::to_string(10 + Next(3)) + "." + std::to_string(1990 + Next(40));
    case 5:
        return std::string(words[Next(16)]) + " " + words[Next(16)] + " " + words[Next(16)];
    case 6:
        return "ul. " + std::string(words[Next(16)]) + " " + std::to_string(1 + Next(200)) + "/" +
               std::to_string(1 + Next(40));
    default:
        return std::string(words[Next(16)]) + "@" + words[Next(16)] + ".pl";
    }
}

std::string MakeCsv()
{
    std::string text;
    text.reserve(CsvLines * 130);
    for (int line = 0; line < CsvLines; ++line) {
        for (int f = 0; f < Fields; ++f) {
            if (f > 0)
                text += ';';
            text += CsvField(f);
        }
        text += "\r\n";
    }
    return text;
}

std::string MakeTabText()
{
    std::string text;
    for (int line = 0; line < PasteLines; ++line) {
        if (line > 0)
            text += "\r\n";
        for (int f = 0; f < Fields; ++f) {
            if (f > 0)
                text += '\t';
            text += f % 2 ? std::string(words[Next(16)]) + " " + words[Next(16)] : std::to_string(Next(1000000));
        }
    }
    return text;
}

// The plain reader: lines at CR LF, fields at the separator, a field in
// quotes with its doubled quotes made single; the grid sized beforehand.
double PlainRead(const std::string& bytes, char sep, bool quotes, int lines)
{
    const double start = Seconds();
    TStringGrid grid(nullptr);
    grid.SetColCount(Fields);
    grid.SetRowCount(lines);
    size_t pos = 0;
    int row = 0;
    std::string field;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\r', pos);
        if (end == std::string::npos)
            end = bytes.size();
        int col = 0;
        size_t p = pos;
        while (p < end) {
            field.clear();
            if (quotes && bytes[p] == '"') {
                ++p;
                for (;;) {
                    const size_t q = bytes.find('"', p);
                    field.append(bytes, p, q - p);
                    if (q + 1 < end && bytes[q + 1] == '"') {
                        field += '"';
                        p = q + 2;
                        continue;
                    }
                    p = q + 1;
                    break;
                }
                const size_t s = bytes.find(sep, p);
                p = s < end ? s + 1 : end;
            } else {
                const size_t s = std::min(bytes.find(sep, p), end);
                field.assign(bytes, p, s - p);
                p = s < end ? s + 1 : end;
            }
            grid.SetCells(col++, row, field);
        }
        ++row;
        pos = end + 2;
    }
    return Seconds() - start;
}

double GridRead(const std::string& path)
{
    const double start = Seconds();
    TAdvStringGrid grid(nullptr);
    grid.SetFixedRows(0);
    grid.SetFixedCols(0);
    grid.LoadCSVFile(path);
    const double took = Seconds() - start;
    if (grid.RowCount() != CsvLines || grid.Cells(2, CsvLines - 1).find('"') == std::string::npos)
        throw Exception("the file did not read as it should");
    return took;
}

double GridPaste(const std::string& text)
{
    const double start = Seconds();
    TAdvStringGrid grid(nullptr);
    grid.SetFixedRows(0);
    grid.SetFixedCols(0);
    grid.SetColCount(1);
    grid.SetRowCount(1);
    const int pasted = grid.PasteText(0, 0, text);
    const double took = Seconds() - start;
    if (pasted != PasteLines * Fields || grid.RowCount() != PasteLines)
        throw Exception("the text did not paste as it should");
    return took;
}

} // namespace

int Run()
{
    const std::string csv = MakeCsv();
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "qmx-bench-import.csv";
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, csv.data(), static_cast<DWORD>(csv.size()), &written, nullptr);
        CloseHandle(file);
    }
    const std::string tabs = MakeTabText();

    // In turn, three times each, the best of each counted.
    double plainCsv = 1e9, gridCsv = 1e9, plainTabs = 1e9, gridTabs = 1e9;
    for (int i = 0; i < 3; ++i) {
        plainCsv = std::min(plainCsv, PlainRead(csv, ';', true, CsvLines));
        gridCsv = std::min(gridCsv, GridRead(path));
        plainTabs = std::min(plainTabs, PlainRead(tabs, '\t', false, PasteLines));
        gridTabs = std::min(gridTabs, GridPaste(tabs));
    }
    DeleteFileA(path.c_str());
    std::printf("CSV %d lines x %d fields, %.1f MB (best of 3): LoadCSVFile %.3f s, plain reader %.3f s, ratio %.2f\n",
                CsvLines, Fields, csv.size() / 1e6, gridCsv, plainCsv, gridCsv / plainCsv);
    std::printf("TAB text %d lines x %d fields, %.1f MB (best of 3): PasteText %.3f s, plain reader %.3f s, ratio %.2f\n",
                PasteLines, Fields, tabs.size() / 1e6, gridTabs, plainTabs, gridTabs / plainTabs);
    return 0;
}

int main()
{
    return RunGridBenchmark(&Run);
}

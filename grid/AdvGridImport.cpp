// Importing into the grid: CSV files, and worksheets through the
// spreadsheet program's automation server.
#include "grid/AdvGrid.h"

#include <windows.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/WinHandles.h"
#include "grid/AdvAutomation.h"
#include "grid/AdvTransfer.h"
#include "grid/AdvUtil.h"

namespace {

// The hourglass while the import works; the cursor before it comes back on
// every way out.
class THourglass {
public:
    THourglass() : saved_(Screen ? Screen->Cursor() : crDefault)
    {
        if (Screen)
            Screen->SetCursor(crHourGlass);
    }
    ~THourglass()
    {
        if (Screen)
            Screen->SetCursor(saved_);
    }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;

private:
    TCursor saved_;
};

} // namespace

// ---------------------------------------------------------------------------
// CSV

void TAdvStringGrid::ReadCSVFile(const std::string& FileName, bool Append)
{
    const bool origin = importIntoFixedCells_ || Append;
    const int rowOffset = origin ? 0 : FixedRows();
    const int colOffset = origin ? 0 : FixedCols();
    TFileHandle file(IsDeviceName(FileName) ? INVALID_HANDLE_VALUE
                                            : CreateFileA(FileName.c_str(), GENERIC_READ,
                                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw EAdvGridError("File " + FileName + " not found");
    // Detection runs again for the next file, however this one ends.
    TRestore<char> separator(csvSeparator_);
    TFileLineReader lines(file.Get());
    if (csvSeparator_ == 0) {
        std::string first, second;
        const bool two = lines.Next(first) && lines.Next(second);
        csvSeparator_ = DetectCSVSeparator(first, second, two);
        lines.Rewind();
    }

    int row = rowOffset;
    if (Append) {
        row = RowCount();
        SetRowCount(RowCount() + 1);
    }
    // The rows after the last line: one more when appending.
    const int extra = Append ? 1 : 0;
    std::string line;
    std::vector<std::string> fields;
    try {
        while (lines.Next(line)) {
            // Grown ahead and trimmed at the end, so that rows are added in
            // a few steps however long the file is.
            if (row >= RowCount())
                SetRowCount(std::max(row + 1, RowCount() * 2));
            if (oemConvert_)
                OemToAnsiText(line);
            SplitCSVLine(line, csvSeparator_, fields);
            if (colOffset + static_cast<int>(fields.size()) > ColCount())
                SetColCount(colOffset + static_cast<int>(fields.size()));
            int col = colOffset;
            for (std::string& field : fields) {
                if (tildeLineBreaks_)
                    TildeToCRLF(field);
                else
                    LFToCRLF(field);
                BulkWrite(col++, row, field);
            }
            ++row;
        }
    } catch (...) {
        // The rows read so far stay.
        SetRowCount(row + extra);
        EndBulkWrite();
        throw;
    }
    SetRowCount(row + extra);
    EndBulkWrite();
}

// ---------------------------------------------------------------------------
// Worksheets

namespace {

// The values of a range as the server gives them: a two-dimensional array
// of values for several cells, one value for one cell. Each goes to its cell
// by its place in the range (from 0).
template <class Put>
void ForEachValue(const VARIANT& values, Put put)
{
    if (!(values.vt & VT_ARRAY)) {
        put(0, 0, VariantToText(values));
        return;
    }
    SAFEARRAY* array = (values.vt & VT_BYREF) ? *values.pparray : values.parray;
    if (!array || SafeArrayGetDim(array) != 2 || (values.vt & VT_TYPEMASK) != VT_VARIANT)
        return;
    LONG rowLow = 0, rowHigh = -1, colLow = 0, colHigh = -1;
    SafeArrayGetLBound(array, 1, &rowLow);
    SafeArrayGetUBound(array, 1, &rowHigh);
    SafeArrayGetLBound(array, 2, &colLow);
    SafeArrayGetUBound(array, 2, &colHigh);
    for (LONG r = rowLow; r <= rowHigh; ++r)
        for (LONG c = colLow; c <= colHigh; ++c) {
            LONG index[2] = {r, c};
            VARIANT value;
            VariantInit(&value);
            if (SUCCEEDED(SafeArrayGetElement(array, index, &value)))
                put(static_cast<int>(r - rowLow), static_cast<int>(c - colLow), VariantToText(value));
            VariantClear(&value);
        }
}

} // namespace

void TAdvStringGrid::ImportWorksheet(const std::string& FileName)
{
    TComLibrary com;
    THourglass hourglass;
    TAutoObject server;
    try {
        server = TAutoObject::Create("excel.application");
    } catch (const EOleError&) {
        throw EAdvGridError("Excel OLE server not found");
    }
    TAutoObject book;
    try {
        const TOleVariant name(FileName);
        book = server.GetObject(L"WorkBooks").CallObject(L"Open", {&name});
        TAutoObject sheet = book.GetObject(L"ActiveSheet");
        const TOleVariant address = sheet.GetObject(L"UsedRange").Get(L"Address");
        const std::string used = VariantToText(address.v);
        int col1 = 0, row1 = 0, col2 = 0, row2 = 0;
        if (ParseRangeAddress(used, col1, row1, col2, row2)) {
            const int rowOffset = importIntoFixedCells_ ? 0 : FixedRows();
            const int colOffset = importIntoFixedCells_ ? 0 : FixedCols();
            // A used range of one cell leaves the grid as large as it is;
            // its value goes to the first cell when there is one.
            if (used.find(':') != std::string::npos) {
                SetColCount(col2 - col1 + 1 + colOffset);
                SetRowCount(row2 - row1 + 1 + rowOffset);
            }
            // The used range's own cells, wherever it starts on the sheet.
            const TOleVariant from(ColumnName(col1) + std::to_string(row1));
            const TOleVariant to(ColumnName(col2) + std::to_string(row2));
            const TOleVariant values = sheet.GetObject(L"Range", {&from, &to}).Get(L"value");
            ForEachValue(values.v, [&](int r, int c, const std::string& text) {
                if (r + rowOffset < RowCount() && c + colOffset < ColCount())
                    BulkWrite(c + colOffset, r + rowOffset, text);
            });
            EndBulkWrite();
        }
        const TOleVariant keep(false);
        book.Call(L"Close", {}, {{L"SaveChanges", &keep}});
        book.Release();
        server.Call(L"Quit");
    } catch (...) {
        // The workbook closed unsaved and the server ended before the error
        // goes on; a failure of these is not the one to report.
        const TOleVariant keep(false);
        if (book) {
            try {
                book.Call(L"Close", {}, {{L"SaveChanges", &keep}});
            } catch (const Exception&) {
            }
        }
        try {
            server.Call(L"Quit");
        } catch (const Exception&) {
        }
        throw;
    }
}

// CSV files and worksheets into the grid: one small file per case, written
// by the test; a read that fails part-way through a lock another process
// holds; the worksheet through no automation server at all and through the
// in-process stand-in registered under the spreadsheet's identifier.
#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/Registry.h"
#include "grid/AdvAutomation.h"
#include "grid/AdvTransfer.h"
#include "tests/grid_core/GridFixture.h"

namespace {

// Every cell of the grid: rows joined by "/", cells by "|".
std::string GridText(TAdvStringGrid* grid)
{
    std::string s;
    for (int r = 0; r < grid->RowCount(); ++r) {
        if (r > 0)
            s += '/';
        for (int c = 0; c < grid->ColCount(); ++c) {
            if (c > 0)
                s += '|';
            s += grid->Cells(c, r);
        }
    }
    return s;
}

class CSVImport : public testing::Test {
protected:
    void SetUp() override { TestForm(); }
    void TearDown() override { delete grid; }
    // A grid without fixed cells.
    TAdvStringGrid* Plain(int cols = 1, int rows = 1)
    {
        grid = MakeGrid(cols, rows);
        grid->SetFixedCols(0);
        grid->SetFixedRows(0);
        return grid;
    }
    std::string File(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder.Path() + name;
        WriteWholeFile(path, bytes);
        return path;
    }

    TempFolder folder;
    TAdvStringGrid* grid = nullptr;
};

} // namespace

TEST_F(CSVImport, OneFilePerCase)
{
    struct {
        const char* name;
        std::string bytes;
        bool tilde;
        const char* cells;
    } cases[] = {
        {"majority", "a;b,x;c\r\nd;e,y;f\r\n", false, "a|b,x|c/d|e,y|f"},
        {"quoted", "\"x;y\";\"say \"\"hi\"\"\"\r\n1;2\r\n", false, "x;y|say \"hi\"/1|2"},
        {"emptyquoted", "\"\";b\r\nc;d\r\n", false, "|b/c|d"},
        {"oneline", "a;b;c", false, "a|b|c"},
        {"emptyfields", "a;;c\r\nd;;f\r\n", false, "a||c/d||f"},
        {"doubledstart", "\"\"\"q\";x\r\n1;2\r\n", false, "\"q|x/1|2"},
        {"doubledmiddle", "\"a\"\"b\";x\r\n1;2\r\n", false, "a\"b|x/1|2"},
        {"doubledend", "\"q\"\"\";x\r\n1;2\r\n", false, "q\"|x/1|2"},
        {"inches", "1;15\"\r\n2;3\"\r\n", false, "1|15\"/2|3\""},
        {"tilde", "a~b;c\r\nd;e\r\n", true, "a\r\nb|c/d|e"},
        {"tildeoff", "a~b;c\r\nd;e\r\n", false, "a~b|c/d|e"},
        {"barelf", "a\nb;c\r\nd;e\r\n", false, "a\r\nb|c/d|e"},
        {"lonecr", "a;b\rc;d\r", false, "a|b/c|d"},
        {"noseparator", "abc\r\ndef\r\n", false, "abc/def"},
        // Without a separator each line is one cell, an enclosed one losing
        // only its opening and closing quotes.
        {"noseparatorquoted", "\"Witaj\" rzekl\r\n\"a\"\"b\"\r\n", false, "Witaj\" rzekl/a\"b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Plain();
        grid->SetTildeLineBreaks(c.tilde);
        grid->LoadCSVFile(File(std::string(c.name) + ".csv", c.bytes));
        EXPECT_EQ(GridText(grid), c.cells);
        EXPECT_EQ(grid->CSVSeparator(), 0) << "detection runs again for the next file";
        delete grid;
        grid = nullptr;
    }
}

TEST_F(CSVImport, OemTextIsConvertedLineByLine)
{
    // "ą" and "ł" in the OEM code page 852 are 0xA5 and 0x88.
    const std::string path = File("oem.csv", "\xA5;\x88\r\n");
    Plain();
    grid->SetOemConvert(true);
    grid->LoadCSVFile(path);
    EXPECT_EQ(GridText(grid), "ą|ł");
    Plain();
    grid->LoadCSVFile(path);
    EXPECT_EQ(GridText(grid), "\xA5|\x88");
}

TEST_F(CSVImport, FixedCellsAppendAndAGivenSeparator)
{
    const std::string path = File("three.csv", "1,2\r\n3,4\r\n5,6\r\n");
    grid = MakeGrid(3, 2);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->LoadCSVFile(path);
    EXPECT_EQ(GridText(grid), "||/|1|2/|3|4/|5|6") << "after the fixed cells; as many rows as lines";

    grid->SetImportIntoFixedCells(true);
    grid->LoadCSVFile(path);
    EXPECT_EQ(GridText(grid), "1|2|/3|4|2/5|6|4") << "from the first cell; the third column keeps its texts";

    // Appended after the last row, which the grid adds at once; the rows
    // grow to the old count plus the lines and that one.
    delete grid;
    grid = Plain(2, 5);
    grid->SetCells(0, 4, "old");
    grid->ReadCSVFile(path, true);
    EXPECT_EQ(grid->RowCount(), 9);
    EXPECT_EQ(ColumnText(grid, 0, 4, 8), "old|1|3|5|");

    grid->SetCSVSeparator(';');
    grid->LoadCSVFile(path);
    EXPECT_EQ(ColumnText(grid, 0, 0, grid->RowCount() - 1), "1,2|3,4|5,6");
    EXPECT_EQ(grid->CSVSeparator(), ';') << "a separator set by the program stays";
}

TEST_F(CSVImport, AMissingFileChangesNothing)
{
    Plain(2, 2);
    grid->SetCells(1, 1, "stays");
    const std::string name = folder.Path() + "none.csv";
    try {
        grid->LoadCSVFile(name);
        FAIL() << "no error";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), "File " + name + " not found");
    }
    EXPECT_EQ(GridText(grid), "|/|stays");
    EXPECT_THROW(grid->LoadCSVFile("COM1"), EAdvGridError) << "a device is no file";
}

namespace {

// Reads as the disk does until 200 000 bytes into the file, then fails as
// Windows fails a read of a range another process holds locked. (Wine lets
// the read through such a lock, so the failure is put in its place.)
BOOL FailingPastTheLock(HANDLE file, void* buffer, DWORD size, DWORD* read)
{
    LARGE_INTEGER zero{}, position{};
    SetFilePointerEx(file, zero, &position, FILE_CURRENT);
    if (position.QuadPart >= 200000) {
        SetLastError(ERROR_LOCK_VIOLATION);
        return FALSE;
    }
    return ReadFile(file, buffer, size, read, nullptr);
}

} // namespace

TEST_F(CSVImport, AReadErrorPartWayKeepsTheRowsRead)
{
    std::string bytes;
    int lines = 0;
    while (bytes.size() < 300000) {
        bytes += "wiersz " + std::to_string(lines) + ";" + std::string(40, 'x') + "\r\n";
        ++lines;
    }
    const std::string path = File("locked.csv", bytes);
    Plain();
    const auto old = TFileLineReader::SetBlockReader(&FailingPastTheLock);
    bool failed = false;
    try {
        grid->LoadCSVFile(path);
    } catch (const EInOutError& e) {
        failed = true;
        EXPECT_EQ(e.ErrorCode, static_cast<unsigned long>(ERROR_LOCK_VIOLATION));
    }
    TFileLineReader::SetBlockReader(old);
    EXPECT_TRUE(failed);
    const int read = grid->RowCount();
    EXPECT_GT(read, 1000) << "the rows before the failure stay";
    EXPECT_LT(read, lines);
    EXPECT_EQ(grid->Cells(0, read - 1), "wiersz " + std::to_string(read - 1));
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->CSVSeparator(), 0);
    HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE) << "the grid keeps no handle of the file";
    CloseHandle(exclusive);

    // The next file is detected afresh.
    grid->LoadCSVFile(File("next.csv", "a|b\r\nc|d\r\n"));
    EXPECT_EQ(GridText(grid), "a|b/c|d");
}

// ---------------------------------------------------------------------------
// Worksheets

namespace {

const char* const FakeClsid = "{5A2C7E31-8D4B-4C1E-9F63-2B7D0A1E4C95}";

class Worksheet : public testing::Test {
protected:
    void SetUp() override
    {
        TestForm();
        Unregister();
        log = folder.Path() + "calls.log";
        SetEnvironmentVariableA("QMX_FAKESHEET_LOG", log.c_str());
    }
    void TearDown() override
    {
        delete grid;
        Unregister();
        SetEnvironmentVariableA("QMX_FAKESHEET_LOG", nullptr);
    }
    static void Unregister()
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\excel.application");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string("Software\\Classes\\CLSID\\") + FakeClsid).c_str());
    }
    static void Register()
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey("Software\\Classes\\excel.application\\CLSID", true));
        reg.WriteString("", FakeClsid);
        reg.CloseKey();
        ASSERT_TRUE(reg.OpenKey(std::string("Software\\Classes\\CLSID\\") + FakeClsid + "\\InprocServer32", true));
        reg.WriteString("", TestProgramFolder() + "fakesheet.dll");
        reg.WriteString("ThreadingModel", "Apartment");
        reg.CloseKey();
    }
    std::string Book(const std::string& name, const std::string& table)
    {
        const std::string path = folder.Path() + name;
        WriteWholeFile(path, table);
        return path;
    }
    std::string Calls() { return ReadWholeFile(log); }

    TempFolder folder;
    std::string log;
    TAdvStringGrid* grid = nullptr;
};

} // namespace

TEST_F(Worksheet, NoServer)
{
    grid = MakeGrid(2, 2, {{"a", "b"}, {"c", "d"}});
    Screen->SetCursor(crDefault);
    try {
        grid->ImportWorksheet(folder.Path() + "x.xls");
        FAIL() << "no error";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), "Excel OLE server not found");
    }
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(GridText(grid), "a|b/c|d");
}

TEST_F(Worksheet, UsedRangesThroughTheStandIn)
{
    Register();
    struct {
        const char* name;
        std::string table;
        bool intoFixed;
        const char* cells;
        const char* range;
    } cases[] = {
        {"a1c4", "$A$1:$C$4\nNazwa\tIlość\tCena\nJabłka\t#n:3\t#n:2.5\nGruszki\t#n:1\t\n\t\tkoniec\n", false,
         "|||/|Nazwa|Ilość|Cena/|Jabłka|3|2,5/|Gruszki|1|/|||koniec", "A1:C4"},
        {"intofixed", "$A$1:$B$2\na\tb\nc\td\n", true, "a|b/c|d", "A1:B2"},
        {"single", "$B$2\nx\ty\nz\tw\n", true, "w|/|", "B2:B2"},  // the grid keeps its size
        {"offset", "$B$2:$C$3\n\t\t\n\tb2\tc2\n\tb3\tc3\n", true, "b2|c2/b3|c3", "B2:C3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(log.c_str());
        grid = MakeGrid(2, 2);
        grid->SetImportIntoFixedCells(c.intoFixed);
        const std::string book = Book(std::string(c.name) + ".xls", c.table);
        grid->ImportWorksheet(book);
        EXPECT_EQ(GridText(grid), c.cells);
        EXPECT_EQ(Calls(), "Open " + book + "\nRange " + c.range + "\nClose SaveChanges=False\nQuit\nReleased\n");
        EXPECT_EQ(Screen->Cursor(), crDefault);
        delete grid;
        grid = nullptr;
    }
}

TEST_F(Worksheet, WideSheetsReachDoubleLetterColumns)
{
    Register();
    std::string row;
    for (int c = 1; c <= 28; ++c) {
        if (c > 1)
            row += '\t';
        row += std::to_string(c);
    }
    grid = MakeGrid(2, 2);
    grid->SetImportIntoFixedCells(true);
    const std::string book = Book("wide.xls", "$A$1:$AB$1\n" + row + "\n");
    grid->ImportWorksheet(book);
    EXPECT_EQ(grid->ColCount(), 28);
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->Cells(27, 0), "28");
    EXPECT_NE(Calls().find("Range A1:AB1\n"), std::string::npos) << Calls();
}

TEST_F(Worksheet, AnUnreadableAddressLeavesTheGrid)
{
    Register();
    grid = MakeGrid(2, 2, {{"a", "b"}, {"c", "d"}});
    const std::string book = Book("ref.xls", "#REF!\nx\n");
    grid->ImportWorksheet(book);
    EXPECT_EQ(GridText(grid), "a|b/c|d");
    EXPECT_EQ(Calls(), "Open " + book + "\nClose SaveChanges=False\nQuit\nReleased\n");
}

TEST_F(Worksheet, OpenFailingEndsTheServer)
{
    Register();
    grid = MakeGrid(2, 2, {{"a", "b"}, {"c", "d"}});
    const std::string book = Book("bad.xls", "!fail\n");
    try {
        grid->ImportWorksheet(book);
        FAIL() << "no error";
    } catch (const EOleError& e) {
        EXPECT_EQ(e.Message(), "Cannot open " + book);
    }
    EXPECT_EQ(Calls(), "Open " + book + "\nQuit\nReleased\n") << "no workbook to close";
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(GridText(grid), "a|b/c|d");
}

// The cabinet component against the system's cabinet library: round trips,
// cabinets of another maker, and what goes wrong.
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "organizer/cabfiles.h"
#include "tests/support/TestUtil.h"

namespace {

FILETIME Utc(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

void SetWriteTime(const std::string& path, const FILETIME& utc)
{
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
}

long long WriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

long long Ticks(const FILETIME& ft)
{
    return (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// Bytes that do not repeat in a way MSZIP could shortcut: a generator's
// output mixed with runs of text.
std::string VariedBytes(std::size_t size)
{
    std::string s;
    s.reserve(size);
    unsigned x = 12345;
    while (s.size() < size) {
        x = x * 1103515245u + 12345u;
        if ((x >> 28) < 3) {
            s += "Zażółć gęślą jaźń; ";
        } else {
            s += static_cast<char>(x >> 16);
        }
    }
    s.resize(size);
    return s;
}

// The compressor puts its temporary files into the current folder.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder) : old_(GetCurrentDir()) { SetCurrentDir(folder); }
    ~CurrentFolder() { SetCurrentDir(old_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::string old_;
};

class CabFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The time-zone cases mean nothing in a zone without an offset.
        TIME_ZONE_INFORMATION tz;
        GetTimeZoneInformation(&tz);
        ASSERT_EQ(tz.Bias, -60) << "run with TZ=Europe/Warsaw";
        ASSERT_EQ(tz.DaylightBias, -60);
    }

    TempFolder temp;
    TCABFile cab{nullptr};
};

struct RoundTripRow {
    const char* name;
    std::size_t size;
    FILETIME utc;
    TDateTime listed;  // local time in Warsaw
};

TEST_F(CabFileTest, RoundTripKeepsNamesBytesAndTimes)
{
    const RoundTripRow rows[] = {
        {"pusty.txt", 0, Utc(2021, 1, 15, 10, 0, 0), EncodeDate(2021, 1, 15) + EncodeTime(11, 0, 0, 0)},
        {"jeden.bin", 1, Utc(2021, 7, 15, 10, 0, 2), EncodeDate(2021, 7, 15) + EncodeTime(12, 0, 2, 0)},
        {"duży plik.dat", 300 * 1024, Utc(2020, 3, 29, 0, 59, 58), EncodeDate(2020, 3, 29) + EncodeTime(1, 59, 58, 0)},
        {"Zażółć gęślą jaźń.txt", 1000, Utc(2020, 10, 25, 3, 30, 0),
         EncodeDate(2020, 10, 25) + EncodeTime(4, 30, 0, 0)},
    };
    TempFolder sources, target;
    CurrentFolder current(temp.Path());
    cab.CABFile = HostFolder(CAB_OUT_DIR) + "roundtrip.cab";
    std::vector<std::string> contents;
    for (const RoundTripRow& row : rows) {
        contents.push_back(VariedBytes(row.size));
        WriteWholeFile(sources.Path() + row.name, contents.back());
        SetWriteTime(sources.Path() + row.name, row.utc);
        cab.CABFileContents()->Add()->Name = sources.Path() + row.name;
    }
    ASSERT_TRUE(cab.CreateCabinet());
    EXPECT_TRUE(EntriesMatching(temp.Path() + "*").empty()) << "temporary files left behind";

    cab.ListContents();
    cab.ListContents();  // the second listing replaces the first
    ASSERT_EQ(cab.CABFileContents()->Count(), static_cast<int>(std::size(rows)));
    cab.TargetPath = target.Path() + "nowy\\";
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        const RoundTripRow& row = rows[i];
        SCOPED_TRACE(row.name);
        TCABFileEntry* entry = cab.CABFileContents()->Items(i);
        EXPECT_EQ(entry->Name, row.name);
        EXPECT_EQ(entry->Size, row.size);
        EXPECT_NEAR(entry->DateTime, row.listed, 0.5 / 86400);

        // Looked up in another letter case; the missing folder level is made.
        ASSERT_TRUE(cab.ExtractFile(AnsiUpperCase(row.name)));
        std::string restored = cab.TargetPath + row.name;
        EXPECT_EQ(ReadWholeFile(restored), contents[i]);
        EXPECT_EQ(WriteTime(restored), Ticks(row.utc));
    }
    EXPECT_TRUE(cab.CABFileContents()->Find("JEDEN.BIN"));
    EXPECT_FALSE(cab.CABFileContents()->Find("jeden"));
}

TEST_F(CabFileTest, SameNameFromTwoFoldersIsStoredTwice)
{
    CurrentFolder current(temp.Path());
    CreateDirectoryA((temp.Path() + "a").c_str(), nullptr);
    CreateDirectoryA((temp.Path() + "b").c_str(), nullptr);
    WriteWholeFile(temp.Path() + "a\\dane.txt", "pierwszy");
    WriteWholeFile(temp.Path() + "b\\dane.txt", "drugi");
    cab.CABFile = HostFolder(CAB_OUT_DIR) + "samename.cab";
    cab.CABFileContents()->Add()->Name = "a\\dane.txt";  // relative to the current folder
    cab.CABFileContents()->Add()->Name = temp.Path() + "b\\dane.txt";
    ASSERT_TRUE(cab.CreateCabinet());

    cab.ListContents();
    ASSERT_EQ(cab.CABFileContents()->Count(), 2);
    EXPECT_EQ(cab.CABFileContents()->Items(0)->Name, "dane.txt");
    EXPECT_EQ(cab.CABFileContents()->Items(1)->Name, "dane.txt");
    EXPECT_EQ(cab.CABFileContents()->Items(0)->Size, 8u);
    EXPECT_EQ(cab.CABFileContents()->Items(1)->Size, 5u);
}

TEST_F(CabFileTest, CabinetOfAnotherMakerIsListedAndExtracted)
{
    std::string fixture = HostFolder(CAB_GCAB_DIR);
    cab.CABFile = fixture + "gcab.cab";
    cab.ListContents();
    ASSERT_EQ(cab.CABFileContents()->Count(), 2);
    EXPECT_EQ(cab.CABFileContents()->Items(0)->Name, "notatka.txt");
    EXPECT_EQ(cab.CABFileContents()->Items(1)->Name, "podkatalog\\liczby.dat");
    EXPECT_EQ(cab.CABFileContents()->Items(1)->Size, 70000u);

    cab.TargetPath = temp.Path();
    for (const char* name : {"notatka.txt", "podkatalog\\liczby.dat"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(cab.ExtractFile(name));
        EXPECT_EQ(ReadWholeFile(temp.Path() + name), ReadWholeFile(fixture + "src\\" + name));
    }
}

TEST_F(CabFileTest, WhatIsNoCabinet)
{
    WriteWholeFile(temp.Path() + "tekst.cab", "To nie jest plik CAB, tylko zwykły tekst.\r\n");
    cab.TargetPath = temp.Path() + "cel\\";
    struct Row {
        const char* what;
        std::string file;
        bool extracted;
    } rows[] = {
        {"not a cabinet", temp.Path() + "tekst.cab", true},
        {"missing", temp.Path() + "brak.cab", false},
        {"a folder", temp.Path(), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        cab.CABFile = row.file;
        cab.CABFileContents()->Add()->Name = "stary wpis";
        cab.ListContents();
        EXPECT_EQ(cab.CABFileContents()->Count(), 0);
        EXPECT_EQ(cab.ExtractFile("tekst.cab"), row.extracted);
    }
    EXPECT_FALSE(DirectoryExists(cab.TargetPath));
}

// A cabinet of ours with its stored names overwritten, as a foreign or
// damaged cabinet may hold them: the names are not checksummed.
TEST_F(CabFileTest, NamesLeavingTheTargetFolderAreRefused)
{
    struct Row {
        const char* stored;
        const char* forged;  // as long as stored
    } rows[] = {
        {"zz_a.txt", "..\\a.txt"},
        {"zz_b.txt", "C:\\b.txt"},
        {"zz_c.txt", "\\ccc.txt"},
        {"zzzzzzzzd.txt", "a/../../d.txt"},
        {"zzzze.txt", "...\\e.txt"},
        {"zzzzzzzf.txt", "xx\\..\\ff.txt"},
    };
    CurrentFolder current(temp.Path());
    TempFolder sources;
    cab.CABFile = temp.Path() + "obcy.cab";
    for (const Row& row : rows) {
        WriteWholeFile(sources.Path() + row.stored, "x");
        cab.CABFileContents()->Add()->Name = sources.Path() + row.stored;
    }
    WriteWholeFile(sources.Path() + "zwykly.txt", "zwykły");
    cab.CABFileContents()->Add()->Name = sources.Path() + "zwykly.txt";
    ASSERT_TRUE(cab.CreateCabinet());
    std::string bytes = ReadWholeFile(cab.CABFile);
    for (const Row& row : rows) {
        std::size_t at = bytes.find(std::string(row.stored) + '\0');
        ASSERT_NE(at, std::string::npos) << row.stored;
        bytes.replace(at, std::strlen(row.forged), row.forged);
    }
    WriteWholeFile(cab.CABFile, bytes);

    cab.ListContents();
    ASSERT_EQ(cab.CABFileContents()->Count(), static_cast<int>(std::size(rows)) + 1);
    cab.TargetPath = temp.Path() + "cel\\poziom\\";
    CreateDirectoryA((temp.Path() + "cel").c_str(), nullptr);
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        SCOPED_TRACE(rows[i].forged);
        EXPECT_EQ(cab.CABFileContents()->Items(i)->Name, rows[i].forged);
        try {
            cab.ExtractFile(rows[i].forged);
            ADD_FAILURE() << "extracted";
        } catch (const ECABFileError& e) {
            // Shown to the user as it is, so in the program's language.
            EXPECT_EQ(e.Message(), std::string("Niedozwolona nazwa pliku w archiwum!\r\n") + rows[i].forged);
        }
    }
    EXPECT_EQ(EntriesMatching(temp.Path() + "cel\\*").size(), 0u);
    EXPECT_FALSE(FileExists(temp.Path() + "a.txt"));
    EXPECT_FALSE(FileExists(temp.Path() + "d.txt"));
    EXPECT_FALSE(FileExists(temp.Path() + "cel\\ff.txt"));

    // The cabinet was let go on every failure, and sound names still come out.
    ASSERT_TRUE(cab.ExtractFile("zwykly.txt"));
    EXPECT_EQ(ReadWholeFile(cab.TargetPath + "zwykly.txt"), "zwykły");
    EXPECT_TRUE(DeleteFileA(cab.CABFile.c_str()));
}

// A size field is unsigned: the largest a cabinet can declare lists as it is.
TEST_F(CabFileTest, DeclaredSizesAreUnsigned)
{
    CurrentFolder current(temp.Path());
    WriteWholeFile(temp.Path() + "duzy.txt", "x");
    cab.CABFile = temp.Path() + "rozmiar.cab";
    cab.CABFileContents()->Add()->Name = "duzy.txt";
    ASSERT_TRUE(cab.CreateCabinet());
    std::string bytes = ReadWholeFile(cab.CABFile);
    // The file's entry: its size, 12 more bytes, then its name.
    const std::size_t at = bytes.find(std::string("duzy.txt") + '\0');
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at - 16, 4, "\xFF\xFF\xFF\xFF");
    WriteWholeFile(cab.CABFile, bytes);

    cab.ListContents();
    ASSERT_EQ(cab.CABFileContents()->Count(), 1);
    EXPECT_EQ(cab.CABFileContents()->Items(0)->Size, 0xFFFFFFFFu);
}

TEST_F(CabFileTest, TargetTwoLevelsDeepCannotBeCreated)
{
    CurrentFolder current(temp.Path());
    WriteWholeFile(temp.Path() + "plik.txt", "dane");
    cab.CABFile = temp.Path() + "a.cab";
    cab.CABFileContents()->Add()->Name = "plik.txt";
    ASSERT_TRUE(cab.CreateCabinet());
    cab.TargetPath = temp.Path() + "brak\\nowy\\";
    EXPECT_FALSE(cab.ExtractFile("plik.txt"));
    EXPECT_FALSE(DirectoryExists(temp.Path() + "brak"));
}

// A file held open by another without sharing cannot be stored; the
// compressor's context and temporary files go, and no cabinet is left.
TEST_F(CabFileTest, LockedSourceFileIsReported)
{
    CurrentFolder current(temp.Path());
    TempFolder sources;
    WriteWholeFile(sources.Path() + "wolny.txt", "wolny");
    WriteWholeFile(sources.Path() + "zajety.txt", "zajęty");
    HANDLE held = CreateFileA((sources.Path() + "zajety.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    cab.CABFile = sources.Path() + "kopia.cab";
    cab.CABFileContents()->Add()->Name = sources.Path() + "wolny.txt";
    cab.CABFileContents()->Add()->Name = sources.Path() + "zajety.txt";
    try {
        cab.CreateCabinet();
        ADD_FAILURE() << "no error";
    } catch (const ECABFileError& e) {
        EXPECT_EQ(e.Message(), "Failure opening file to be stored in cabinet");
    }
    CloseHandle(held);
    EXPECT_TRUE(EntriesMatching(temp.Path() + "*").empty()) << "temporary files left behind";
    EXPECT_FALSE(FileExists(cab.CABFile));
}

// Writes that fail inside the library's callbacks are raised as the system's
// message once the library has returned, with every handle and temporary
// file released. The host's full device (seen through Wine's Z: drive) makes
// every write fail with a full disk; it exists before the run, so nothing may
// delete it.
class CabFileFullDiskTest : public CabFileTest {
protected:
    void SetUp() override
    {
        CabFileTest::SetUp();
        if (!DeviceOpens())
            GTEST_SKIP() << "no full device at " << fullDevice;
    }
    void TearDown() override
    {
        if (!IsSkipped()) {
            EXPECT_TRUE(DeviceOpens()) << "the device was deleted";
        }
    }

    // Wine reports no attributes for a device, but opens it.
    bool DeviceOpens() const
    {
        HANDLE h = CreateFileA(fullDevice.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(h);
        return true;
    }

    static void ExpectDiskFull(const std::function<void()>& operation)
    {
        try {
            operation();
            ADD_FAILURE() << "no error";
        } catch (const ECABFileError& e) {
            ADD_FAILURE() << "the compressor's text instead of the system's: " << e.Message();
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message().rfind(SysErrorMessage(ERROR_DISK_FULL), 0), 0u) << e.Message();
        }
    }

    const std::string fullDevice = "Z:\\dev\\full";
};

TEST_F(CabFileFullDiskTest, CabinetThatCannotBeWritten)
{
    CurrentFolder current(temp.Path());
    TempFolder sources;
    std::string source = sources.Path() + "baza.dat";
    WriteWholeFile(source, VariedBytes(100000));
    cab.CABFile = fullDevice;
    cab.CABFileContents()->Add()->Name = source;
    ExpectDiskFull([&] { cab.CreateCabinet(); });
    EXPECT_TRUE(EntriesMatching(temp.Path() + "*").empty()) << "temporary files left behind";
    EXPECT_TRUE(DeleteFileA(source.c_str())) << "the source is still open";
}

TEST_F(CabFileFullDiskTest, FileThatCannotBeRestored)
{
    CurrentFolder current(temp.Path());
    WriteWholeFile(temp.Path() + "full", VariedBytes(100000));
    cab.CABFile = temp.Path() + "kopia.cab";
    cab.CABFileContents()->Add()->Name = "full";
    ASSERT_TRUE(cab.CreateCabinet());
    cab.TargetPath = "Z:\\dev\\";
    ExpectDiskFull([&] { cab.ExtractFile("full"); });
    EXPECT_TRUE(DeleteFileA(cab.CABFile.c_str())) << "the cabinet is still open";
}

} // namespace

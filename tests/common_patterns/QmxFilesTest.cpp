#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "common/QmxUtil.h"
#include "tests/support/TestUtil.h"

namespace {

// A file held open by the test, as another program holding it would.
class HeldFile {
public:
    HeldFile(const std::string& path, DWORD share)
        : h_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~HeldFile()
    {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// A file as the setup tools' LZ compression writes it: header, original size,
// and groups of a flag byte and eight items (all literals here).
std::string Compressed(const std::string& text)
{
    std::string s = std::string("SZDD\x88\xF0\x27\x33", 8) + "A" + '\0';
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>((text.size() >> (8 * i)) & 0xFF);
    for (std::size_t i = 0; i < text.size(); i += 8) {
        const std::size_t n = std::min<std::size_t>(8, text.size() - i);
        s += static_cast<char>((1 << n) - 1);
        s += text.substr(i, n);
    }
    return s;
}

TEST(QmxFiles, GetFileSizeBytes)
{
    TempFolder temp;
    const std::string five = temp.Path() + "pięć.dat", empty = temp.Path() + "pusty.dat";
    WriteWholeFile(five, "12345");
    WriteWholeFile(empty, "");
    EXPECT_EQ(GetFileSizeBytes(five), 5);
    EXPECT_EQ(GetFileSizeBytes(empty), 0);
    EXPECT_EQ(GetFileSizeBytes(temp.Path() + "brak.dat"), -1);
    EXPECT_EQ(GetFileSizeBytes(temp.Path()), -1);  // a folder
    {
        HeldFile reader(five, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(reader.Held());
        EXPECT_EQ(GetFileSizeBytes(five), 5);  // open elsewhere, but not locked
    }
    {
        HeldFile locker(five, 0);
        ASSERT_TRUE(locker.Held());
        EXPECT_EQ(GetFileSizeBytes(five), -1);
    }
    ASSERT_TRUE(SetFileAttributesA(five.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileSizeBytes(five), -1);
    SetFileAttributesA(five.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(QmxFiles, LZCopyFileCodes)
{
    TempFolder temp;
    const std::string source = temp.Path() + "źródło.txt", target = temp.Path() + "cel.txt";
    WriteWholeFile(source, "Zażółć gęślą jaźń");
    const std::string longName = temp.Path() + std::string(128 - temp.Path().size(), 'x');

    const struct {
        std::string source;
        std::string target;
        int code;
    } rows[] = {
        {"", target, -7},
        {source, "", -7},
        {temp.Path() + "brak.txt", target, -ERROR_FILE_NOT_FOUND},
        {longName, target, -7},
        {source, longName, -7},
        {source, temp.Path() + "brak\\cel.txt", -ERROR_PATH_NOT_FOUND},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "'" << r.source << "' -> '" << r.target << "'");
        EXPECT_EQ(LZCopyFile(r.source, r.target), r.code);
    }
    EXPECT_FALSE(FileExists(longName));

    EXPECT_EQ(LZCopyFile(source, target), 17);
    EXPECT_EQ(ReadWholeFile(target), "Zażółć gęślą jaźń");

    // A compressed file is expanded on the way.
    const std::string packed = temp.Path() + "spakowany.tx_";
    const std::string text = "Plik rozpakowany przez bibliotekę LZ.";
    WriteWholeFile(packed, Compressed(text));
    EXPECT_EQ(LZCopyFile(packed, target), static_cast<int>(text.size()));
    EXPECT_EQ(ReadWholeFile(target), text);
}

TEST(QmxFiles, MakeBackupCopy)
{
    TempFolder temp;
    const std::string file = temp.Path() + "Łódź.exe", backup = temp.Path() + "Kopia Łódź.exe";

    EXPECT_EQ(MakeBackupCopy(file), "");
    EXPECT_FALSE(FileExists(backup));

    WriteWholeFile(file, "pierwsza");
    EXPECT_EQ(MakeBackupCopy(file), backup);
    EXPECT_EQ(ReadWholeFile(backup), "pierwsza");
    WriteWholeFile(file, "druga wersja");
    EXPECT_EQ(MakeBackupCopy(file), backup);
    EXPECT_EQ(ReadWholeFile(backup), "druga wersja");

    {
        // An old copy that cannot be deleted: no copy, no error.
        HeldFile locker(backup, 0);
        ASSERT_TRUE(locker.Held());
        EXPECT_EQ(MakeBackupCopy(file), "");
    }
    EXPECT_EQ(ReadWholeFile(backup), "druga wersja");

    {
        // A file that cannot be read: the code is minus the open error that
        // the library reports (Wine's, after its retry under the compressed
        // name "Łódź.ex_", is "not found").
        HeldFile locker(file, 0);
        ASSERT_TRUE(locker.Held());
        try {
            MakeBackupCopy(file);
            FAIL() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message().rfind("Błąd biblioteki LZ -", 0), 0u) << e.Message();
        }
    }

    const std::string empty = temp.Path() + "pusty.dat";
    WriteWholeFile(empty, "");
    try {
        MakeBackupCopy(empty);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Błąd biblioteki LZ 0");
    }
    EXPECT_TRUE(FileExists(temp.Path() + "Kopia pusty.dat"));
}

TEST(QmxFiles, MoveFileReplacing)
{
    TempFolder temp;
    const std::string source = temp.Path() + "nowy.exe", target = temp.Path() + "brennik.exe";

    // No source: the target stays.
    WriteWholeFile(target, "stary");
    EXPECT_FALSE(MoveFileReplacing(source, target));
    EXPECT_EQ(ReadWholeFile(target), "stary");

    WriteWholeFile(source, "nowy");
    EXPECT_TRUE(MoveFileReplacing(source, target));
    EXPECT_FALSE(FileExists(source));
    EXPECT_EQ(ReadWholeFile(target), "nowy");

    const std::string fresh = temp.Path() + "podkatalog\\brennik.exe";
    ASSERT_TRUE(ForceDirectories(temp.Path() + "podkatalog"));
    EXPECT_TRUE(MoveFileReplacing(target, fresh));
    EXPECT_EQ(ReadWholeFile(fresh), "nowy");

    // The same file under another spelling is left as it is.
    EXPECT_TRUE(MoveFileReplacing(fresh, temp.Path() + "PODKATALOG\\.\\Brennik.EXE"));
    EXPECT_EQ(ReadWholeFile(fresh), "nowy");

    // A target in use cannot be replaced: the move fails and says so.
    WriteWholeFile(source, "jeszcze nowszy");
    {
        HeldFile locker(fresh, 0);
        ASSERT_TRUE(locker.Held());
        EXPECT_FALSE(MoveFileReplacing(source, fresh));
    }
    EXPECT_EQ(ReadWholeFile(source), "jeszcze nowszy");
    EXPECT_EQ(ReadWholeFile(fresh), "nowy");
}

} // namespace

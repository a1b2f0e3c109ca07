#include "classlib/Streams.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/TestUtil.h"

namespace {

std::string Contents(TMemoryStream& s)
{
    return std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

// Holds a file open so that nobody else may open it, as another program would.
class LockedFile {
public:
    explicit LockedFile(const std::string& path)
        : h_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr))
    {
    }
    ~LockedFile()
    {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    bool Ok() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

TEST(TMemoryStream, ReadWriteSeekAndSize)
{
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    EXPECT_EQ(s.Position(), 6);
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Seek(-2, soEnd), 4);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 2);  // a short read says how much it got
    EXPECT_STREQ(buf, "ef");
    EXPECT_EQ(s.Read(buf, 8), 0);
    s.SetPosition(1);
    s.WriteBuffer("XY", 2);
    EXPECT_EQ(Contents(s), "aXYdef");
    s.Seek(2, soCurrent);
    EXPECT_EQ(s.Position(), 5);
    s.Seek(3, soEnd);  // past the end: the gap fills with zeros on the next write
    s.WriteBuffer("Z", 1);
    EXPECT_EQ(Contents(s), std::string("aXYdef\0\0\0Z", 10));
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3);
    EXPECT_EQ(Contents(s), "aXY");
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(TMemoryStream, ReadBufferAndWriteBufferInsistOnAll)
{
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    s.SetPosition(1);
    char buf[4];
    try {
        s.ReadBuffer(buf, 3);
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    s.SetPosition(3);
    s.ReadBuffer(buf, 0);  // nothing asked, nothing missing

    TempFolder dir;
    TFileStream readOnly(dir.Path() + "r.bin", fmCreate | fmShareDenyNone);
    readOnly.WriteBuffer("x", 1);
    TFileStream reader(dir.Path() + "r.bin", fmOpenRead | fmShareDenyNone);
    EXPECT_THROW(reader.WriteBuffer("y", 1), EWriteError);
    EXPECT_THROW(readOnly.ReadBuffer(buf, 1), EReadError);  // at its end
}

TEST(TStream, CopyFromAndFileRoundTrip)
{
    TempFolder dir;
    const std::string path = dir.Path() + "Dane użytkownika.bin";
    std::string bytes;
    for (int i = 0; i < 70000; ++i)  // more than one copy buffer
        bytes += static_cast<char>(i * 7);

    TMemoryStream source;
    source.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
    {
        TFileStream out(path, fmCreate);
        EXPECT_EQ(out.CopyFrom(source, 0), 70000);  // 0: all of it, from the start
        EXPECT_EQ(out.Size(), 70000);
    }
    EXPECT_TRUE(ReadWholeFile(path) == bytes);

    TMemoryStream loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Position(), 0);
    EXPECT_TRUE(Contents(loaded) == bytes);

    source.SetPosition(10);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(source, 5), 5);
    EXPECT_EQ(Contents(part), bytes.substr(10, 5));
    EXPECT_EQ(source.Position(), 15);
    part.SaveToFile(dir.Path() + "part.bin");
    EXPECT_EQ(ReadWholeFile(dir.Path() + "part.bin"), bytes.substr(10, 5));
    EXPECT_THROW(part.CopyFrom(source, 70000), EReadError);  // the source runs short

    {
        TFileStream rw(path, fmOpenReadWrite);
        rw.Seek(-3, soEnd);
        rw.WriteBuffer("end", 3);
        rw.SetSize(100);
        EXPECT_EQ(rw.Size(), 100);
        EXPECT_EQ(rw.Position(), 100);
    }
    EXPECT_EQ(ReadWholeFile(path), bytes.substr(0, 100));
}

TEST(TFileStream, OpenAndCreateFailuresNameTheFile)
{
    TempFolder dir;
    const std::string missing = dir.Path() + "brak\\plik.txt";
    try {
        TFileStream s(missing, fmOpenRead);
        ADD_FAILURE() << "opened";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + missing);
    }
    try {
        TFileStream s(missing, fmCreate);
        ADD_FAILURE() << "created";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + missing);
    }
}

TEST(TFileStream, ShareModes)
{
    TempFolder dir;
    const std::string path = dir.Path() + "plik.bin";
    WriteWholeFile(path, "abc");
    {
        LockedFile lock(path);
        ASSERT_TRUE(lock.Ok());
        EXPECT_THROW(TFileStream(path, fmOpenRead | fmShareDenyNone), EFOpenError);
        EXPECT_THROW(TFileStream(path, fmCreate), EFCreateError);
        TMemoryStream m;
        EXPECT_THROW(m.LoadFromFile(path), EFOpenError);
        EXPECT_THROW(m.SaveToFile(path), EFCreateError);
    }
    const struct {
        unsigned first, second;
        bool secondOpens;
    } rows[] = {
        {fmOpenRead | fmShareDenyNone, fmOpenReadWrite | fmShareDenyNone, true},
        {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyNone, true},
        {fmOpenRead | fmShareDenyWrite, fmOpenWrite | fmShareDenyNone, false},
        {fmOpenRead | fmShareDenyRead, fmOpenRead | fmShareDenyNone, false},
        {fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyNone, false},
        {fmOpenRead, fmOpenRead | fmShareDenyNone, false},  // compatible mode shares nothing
        {fmCreate | fmShareDenyWrite, fmOpenRead | fmShareDenyNone, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.first << " then " << r.second);
        TFileStream first(path, r.first);
        bool opened = true;
        try {
            TFileStream second(path, r.second);
        } catch (const EFOpenError&) {
            opened = false;
        }
        EXPECT_EQ(opened, r.secondOpens);
    }
}

}  // namespace

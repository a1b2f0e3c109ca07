// One block of the send queue.
#include <gtest/gtest.h>

#include <string>

#include "common/WSockbuf.h"

namespace {

std::string Unsent(const TBuffer& b)
{
    int len = 0;
    const unsigned char* p = b.Peek(len);
    return p ? std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(len)) : std::string();
}

TEST(SendBuffer, WritesWhatFitsAndRefillsOnceSent)
{
    TBuffer b(0);
    EXPECT_EQ(b.Size(), 1514);
    TBuffer small(5);
    EXPECT_EQ(small.Write("abcdefg", 7), 5);
    EXPECT_EQ(small.Write("x", 1), 0);
    EXPECT_EQ(Unsent(small), "abcde");
    EXPECT_EQ(small.Remove(2), 2);
    EXPECT_EQ(Unsent(small), "cde");
    // Still full: the sent bytes make no room until everything is sent.
    EXPECT_EQ(small.Write("x", 1), 0);
    EXPECT_EQ(small.Remove(10), 3);
    EXPECT_EQ(Unsent(small), "");
    int len = -1;
    EXPECT_EQ(small.Peek(len), nullptr);
    EXPECT_EQ(len, 0);
    EXPECT_EQ(small.Write("12345", 5), 5);
    EXPECT_EQ(Unsent(small), "12345");
}

TEST(SendBuffer, ResizingKeepsTheUnsentBytes)
{
    TBuffer b(8);
    b.Write("abcdefgh", 8);
    b.Remove(3);
    b.SetSize(16);
    EXPECT_EQ(b.Size(), 16);
    EXPECT_EQ(Unsent(b), "defgh");
    EXPECT_EQ(b.Write("ijk", 3), 3);
    EXPECT_EQ(Unsent(b), "defghijk");
    b.SetSize(-1);
    EXPECT_EQ(b.Size(), 1514);
    EXPECT_EQ(Unsent(b), "defghijk");
}

} // namespace

#include <gtest/gtest.h>

#include <cstring>

#include "classlib/Clipbrd.h"

namespace {

// Puts raw bytes on the clipboard as another program would: a block of
// exactly that size, with or without a zero at its end.
void PutRaw(UINT format, const std::string &bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  ASSERT_NE(block, nullptr);
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(format, block);
  CloseClipboard();
}

TEST(Clipboard, TextRoundTripsWithPolishLettersAndLineBreaks) {
  const std::string text = "Zażółć gęślą jaźń\r\nb\tc";
  Clipboard()->SetAsText(text);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->GetAsText(), text);
}

// A block of exactly the bytes given, with or without a zero at its end, as
// another program may put one on the clipboard or in a data transfer.
HGLOBAL RawBlock(const std::string &bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}

TEST(Clipboard, BlockReadsStopAtTheBlocksSizeWhenNoZeroEndsIt) {
  using namespace std::string_literals;
  struct Row {
    std::string raw;
    std::string text;
  } rows[] = {
      {"abc"s, "abc"},   // no zero at all
      {"ab\0cd"s, "ab"}, // the text ends at its zero; the bytes go on
      {"\0"s, ""},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.text);
    HGLOBAL block = RawBlock(row.raw);
    EXPECT_EQ(TextOfGlobal(block), row.text);
    EXPECT_EQ(BytesOfGlobal(block), row.raw);
    GlobalFree(block);
  }
  EXPECT_EQ(TextOfGlobal(nullptr), "");
}

TEST(Clipboard, AFormatWithoutAZeroIsReadWithinItsBlock) {
  // A private format: the system leaves its bytes as they are (text
  // formats it may convert and end with a zero of its own).
  UINT format = RegisterClipboardFormatA("QmxTestBytes");
  PutRaw(format, "xyz");
  EXPECT_EQ(Clipboard()->GetAsBytes(format), "xyz");
}

TEST(Clipboard, FormatsPutWithinOneOpenMakeOneContent) {
  UINT rich = RegisterClipboardFormatA("Rich Text Format");
  Clipboard()->Open();
  Clipboard()->SetAsText("plain");
  Clipboard()->SetAsBytes(rich, "{\\rtf1 plain}");
  Clipboard()->Close();
  EXPECT_EQ(Clipboard()->GetAsText(), "plain");
  EXPECT_EQ(Clipboard()->GetAsBytes(rich).substr(0, 13), "{\\rtf1 plain}");

  // Outside an Open, a format put alone replaces the whole content.
  Clipboard()->SetAsBytes(rich, "{\\rtf1 only}");
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(rich));
  EXPECT_EQ(Clipboard()->GetAsText(), "");
}

TEST(Clipboard, CloseWithoutOpenDoesNothing) {
  Clipboard()->Close();
  Clipboard()->SetAsText("x");
  EXPECT_EQ(Clipboard()->GetAsText(), "x");
}

} // namespace

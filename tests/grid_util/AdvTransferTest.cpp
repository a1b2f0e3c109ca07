// The grid's text formats without a window: clipboard lines, CSV lines and
// separators, worksheet addresses.
#include <gtest/gtest.h>

#include "grid/AdvTransfer.h"

namespace {

std::string Lines(std::string_view text)
{
    TLineReader reader(text);
    std::string_view line;
    std::string joined;
    // A piece at a time: the compiler takes "[" + line + "]" for an overlap.
    while (reader.Next(line)) {
        joined += '[';
        joined += line;
        joined += ']';
    }
    return joined;
}

std::string Fields(std::string_view line, char sep)
{
    std::vector<std::string> fields;
    SplitCSVLine(line, sep, fields);
    std::string joined;
    for (const std::string& f : fields) {
        joined += '[';
        joined += f;
        joined += ']';
    }
    return joined;
}

} // namespace

TEST(AdvTransfer, LinesEndAtCrLfOrALoneCrAndAtTheZero)
{
    struct {
        std::string_view text;
        const char* lines;
    } cases[] = {
        {"a\tb\r\nc\td", "[a\tb][c\td]"},
        {"a\r\n", "[a]"},          // a final break ends the text
        {"a\r", "[a]"},            // a lone CR too, and nothing is read past it
        {"a\rb", "[a][b]"},
        {"a\nb\r\nc", "[a\nb][c]"},  // a bare LF stays in its line
        {"a\r\n\r\nb", "[a][][b]"},
        {std::string_view("a\r\nb\0c\r\nd", 10), "[a][b]"},  // nothing past the zero
        {"", ""},
        {"\r\n", "[]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lines(c.text), c.lines) << testing::PrintToString(std::string(c.text));
}

TEST(AdvTransfer, MeasuresLinesAndTheWidestLine)
{
    int lines = 0, fields = 0;
    MeasureLines("a\tb\r\nc\td\te\r\n", '\t', lines, fields);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(fields, 3);
    MeasureLines("", '\t', lines, fields);
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(fields, 0);
}

TEST(AdvTransfer, CSVFieldsReadTheUsualWay)
{
    struct {
        std::string_view line;
        const char* fields;
    } cases[] = {
        {"a;b;c", "[a][b][c]"},
        {"a;;c", "[a][][c]"},                        // empty fields
        {";", "[]"},                                 // nothing after a final separator
        {"a;b;", "[a][b]"},
        {"\"x;y\";z", "[x;y][z]"},                   // the separator inside quotes
        {"\"\"\"start\";2", "[\"start][2]"},         // a doubled quote at the start
        {"\"mid\"\"dle\";2", "[mid\"dle][2]"},       // in the middle
        {"\"end\"\"\";2", "[end\"][2]"},             // at the end: the field still closes
        {"\"a\"\"\"\"b\"", "[a\"\"b]"},              // two doubled quotes stay two quotes
        {"\"\";x", "[][x]"},                         // an empty quoted field
        {"1;15\"", "[1][15\"]"},                     // a bare trailing quote stays
        {"ab\"c;d", "[ab\"c][d]"},                   // quotes inside a plain field stay
        {"\"open;rest", "[open;rest]"},              // never closed: the rest of the line
        {"\"q\"junk;next", "[q][next]"},             // after the closing quote, up to the separator
        {"", ""},
        {"one", "[one]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fields(c.line, ';'), c.fields) << c.line;
}

TEST(AdvTransfer, WithoutASeparatorTheLineIsOneField)
{
    struct {
        std::string_view line;
        const char* fields;
    } cases[] = {
        {"\"Witaj\" rzekl", "[Witaj\" rzekl]"},  // only the opening quote goes
        {"\"Witaj\"", "[Witaj]"},
        {"\"a\"\"b\"", "[a\"b]"},
        {"\"a\"\"\"\"b\"", "[a\"\"b]"},
        {"\"\"", "[]"},
        {"\"", "[]"},
        {"\"open", "[open]"},
        {"plain \"x\" text", "[plain \"x\" text]"},  // a plain line stays as it is
        {"15\"", "[15\"]"},
        {"a;b,c", "[a;b,c]"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fields(c.line, 0), c.fields) << c.line;
}

TEST(AdvTransfer, SeparatorsCountOutsideQuotes)
{
    EXPECT_EQ(CountSeparators("a;;b;", ';'), 3);
    EXPECT_EQ(CountSeparators("\"a;b\";c", ';'), 1);
    EXPECT_EQ(CountSeparators("", ';'), 0);
}

TEST(AdvTransfer, SeparatorDetection)
{
    struct {
        const char* first;
        const char* second;
        bool hasSecond;
        char separator;
    } cases[] = {
        {"a;b,c;d", "e;f,g;h", true, ';'},   // two ";" in both beat one ","
        {"a,b;c", "d,e;f", true, ','},       // a tie: the first candidate wins
        {"a;b;c", "", false, ';'},           // a one-line file decides alone
        {"a;b;c", "", true, 0},              // an empty second line matches nothing
        {"a;;c", "d;e;f", true, ';'},        // empty fields count
        {"a#b", "c#d", true, '#'},
        {"a\tb", "c\td", true, '\t'},
        {"a|b", "c|d", true, '|'},
        {"abc", "def", true, 0},
        {"\"x,y\";z", "a;b", true, ';'},     // quoted separators do not count
    };
    for (const auto& c : cases)
        EXPECT_EQ(DetectCSVSeparator(c.first, c.second, c.hasSecond), c.separator) << c.first << " / " << c.second;
}

TEST(AdvTransfer, WorksheetAddresses)
{
    struct {
        const char* address;
        bool ok;
        int c1, r1, c2, r2;
    } cases[] = {
        {"$A$1:$C$4", true, 1, 1, 3, 4},
        {"$B$2:$AA$10", true, 2, 2, 27, 10},
        {"$AB$3:$AZ$4", true, 28, 3, 52, 4},
        {"A1:B2", true, 1, 1, 2, 2},
        {"$C$5", true, 3, 5, 3, 5},  // a single cell: a range of one
        {"", false, 0, 0, 0, 0},
        {"$A$0:$B$2", false, 0, 0, 0, 0},
        {"$1$A", false, 0, 0, 0, 0},
        {"$A:$B", false, 0, 0, 0, 0},
        {"$C$4:$A$1", false, 0, 0, 0, 0},
        {"#REF!", false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
        ASSERT_EQ(ParseRangeAddress(c.address, c1, r1, c2, r2), c.ok) << c.address;
        if (c.ok) {
            EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({c.c1, c.r1, c.c2, c.r2})) << c.address;
        }
    }
    EXPECT_EQ(ColumnName(1), "A");
    EXPECT_EQ(ColumnName(26), "Z");
    EXPECT_EQ(ColumnName(27), "AA");
    EXPECT_EQ(ColumnName(52), "AZ");
    EXPECT_EQ(ColumnName(703), "AAA");
}

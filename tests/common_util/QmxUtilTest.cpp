#include "common/QmxUtil.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "tests/support/TestUtil.h"

namespace {

struct FieldRow {
    const char* text;
    std::uint8_t n;
    const char* expected;
};

TEST(QmxUtil, KeyValueAndNthPart)
{
    const struct {
        const char* text;
        const char* key;
        const char* value;
    } rows[] = {
        {"abc", "abc", ""},
        {"=x", "", "x"},
        {"k=", "k", ""},
        {"", "", ""},
        {"a;b=c", "a", "c"},  // "=" wins over ";" wherever it stands
        {"a;b", "a", "b"},
        {"a=b;c", "a", "b;c"},
        {"plik.exe=Program główny", "plik.exe", "Program główny"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(KeyPart(r.text), r.key);
        EXPECT_EQ(ValuePart(r.text), r.value);
    }

    const FieldRow parts[] = {
        {"f1=f2;f3;f4", 0, "f1"}, {"f1=f2;f3;f4", 1, "f1"}, {"f1=f2;f3;f4", 2, "f2"},
        {"f1=f2;f3;f4", 3, "f3"}, {"f1=f2;f3;f4", 4, "f4"}, {"f1=f2;f3;f4", 5, ""},
    };
    for (const auto& r : parts) {
        SCOPED_TRACE(testing::Message() << r.text << " N=" << int(r.n));
        EXPECT_EQ(NthPart(r.n, r.text), r.expected);
    }
}

TEST(QmxUtil, KeyPartCountsInAByte)
{
    EXPECT_EQ(KeyPart(std::string(254, 'k')), std::string(254, 'k'));
    EXPECT_THROW(KeyPart(std::string(255, 'k')), EIntOverflow);
    EXPECT_THROW(KeyPart(std::string(300, 'k') + "=v"), EIntOverflow);
    EXPECT_EQ(KeyPart(std::string(254, 'k') + "=" + std::string(300, 'v')), std::string(254, 'k'));
    EXPECT_EQ(ValuePart(std::string(300, 'k') + "=v"), "v");
}

TEST(QmxUtil, NthField)
{
    const char bullet = '\x95';
    const std::string entry = std::string("Nazwa") + bullet + "c:\\src\\a.exe" + bullet + "c:\\qmx\\a.exe";
    const FieldRow rows[] = {
        {"a|b|c", 1, "a"}, {"a|b|c", 2, "b"}, {"a|b|c", 3, "c"}, {"a|b|c", 4, ""},
        {"a||c", 2, ""},   {"a||c", 3, "c"},  {"abc", 1, "abc"}, {"abc", 2, ""},
        {"a|", 1, "a"},    {"a|", 2, ""},     {"a|", 3, ""},     {"a|b", 0, ""},
        {"|b", 1, ""},     {"|b", 2, "b"},    {"", 1, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.text << " N=" << int(r.n));
        EXPECT_EQ(NthField('|', r.n, r.text), r.expected);
    }
    EXPECT_EQ(NthField(bullet, 2, entry), "c:\\src\\a.exe");
    EXPECT_EQ(NthField(bullet, 3, entry), "c:\\qmx\\a.exe");
}

TEST(QmxUtil, NthFieldKeepsDelimiterPositionsInAByte)
{
    const std::string f254(254, 'x'), f255(255, 'x');
    EXPECT_EQ(NthField('|', 1, f254 + "|b"), f254);       // delimiter at 255
    EXPECT_THROW(NthField('|', 1, f255 + "|b"), ERangeError);  // at 256
    EXPECT_THROW(NthField('|', 2, f255 + "|b"), ERangeError);
    EXPECT_EQ(NthField('|', 2, f254 + "|" + f254 + "|c"), f254);  // each step counts afresh
    EXPECT_EQ(NthField('|', 1, std::string(400, 'y')), std::string(400, 'y'));  // no delimiter to find
    EXPECT_EQ(NthField('|', 2, "a|" + std::string(400, 'y')), std::string(400, 'y'));
}

TEST(QmxUtil, CaseInsensitiveThroughTheLocale)
{
    EXPECT_TRUE(ContainsNoCase("ŁÓDŹ", "Jadę do łódź dziś"));
    EXPECT_TRUE(EqualNoCase("Żółw", "żÓŁW"));
    EXPECT_TRUE(EqualNoCase("ĄĆĘŁŃÓŚŹŻ", "ąćęłńóśźż"));
    EXPECT_FALSE(EqualNoCase("Łódź", "Lodz"));
    EXPECT_FALSE(EqualNoCase("abc", "abcd"));

    const struct {
        const char* sub;
        const char* text;
        int pos;
    } rows[] = {
        {"ŁÓDŹ", "w łódź", 3},
        {"exe", "PROGRAM.EXE", 9},
        {"x", "abc", 0},
        {"", "abc", 0},
        {"abc", "", 0},
        {"ść", "Gość", 3},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.sub << " in " << r.text);
        EXPECT_EQ(PosNoCase(r.sub, r.text), r.pos);
        EXPECT_EQ(ContainsNoCase(r.sub, r.text), r.pos != 0);
    }
}

TEST(QmxUtil, PosNoCaseReturnsAByte)
{
    EXPECT_EQ(PosNoCase("A.EXE", std::string(250, 'x') + "a.exe"), 251);
    EXPECT_EQ(PosNoCase("a", std::string(254, 'x') + "a"), 255);
    EXPECT_THROW(PosNoCase("a", std::string(255, 'x') + "a"), ERangeError);
    // A 300-character path searched for the name at its end.
    const std::string path = "c:\\" + std::string(288, 'k') + "\\brennik.exe";
    EXPECT_THROW(ContainsNoCase("BRENNIK.EXE", path), ERangeError);
    EXPECT_TRUE(ContainsNoCase("C:\\K", path));
}

TEST(QmxUtil, ReplaceAllNoCase)
{
    const struct {
        const char* oldText;
        const char* newText;
        const char* text;
        const char* expected;
    } rows[] = {
        {"aa", "a", "aaaa", "a"},        // created matches are replaced too
        {"a", "aa", "aXa", "aaXa"},      // the next match lies in the inserted text
        {"  ", " ", "a    b", "a b"},
        {"ŁÓDŹ", "Kraków", "z łódź i ŁÓDŹ", "z Kraków i Kraków"},
        {"x", "x", "xxx", "xxx"},        // equal texts: nothing happens
        {"X", "x", "XaX", "xaX"},        // the replacement matches again in place: stop
        {"", "y", "abc", "abc"},
        {"b", "", "abcb", "ac"},
        {"q", "z", "abc", "abc"},
        {"ab", "bba", "abb", "bbbba"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.oldText << " -> " << r.newText << " in " << r.text);
        std::string s = r.text;
        ReplaceAllNoCase(r.oldText, r.newText, s);
        EXPECT_EQ(s, r.expected);
    }
}

TEST(QmxUtil, TrimsAndCharacterClasses)
{
    const struct {
        const char* text;
        char ch;
        const char* expected;
    } trims[] = {
        {"xxabcxx", 'x', "abc"}, {"xxxx", 'x', ""}, {"", 'x', ""}, {"axa", 'x', "axa"}, {"  a b  ", ' ', "a b"},
    };
    for (const auto& r : trims) {
        SCOPED_TRACE(r.text);
        std::string s = r.text;
        TrimChar(s, r.ch);
        EXPECT_EQ(s, r.expected);
    }
    std::string blanks = "     ";
    TrimBlanks(blanks);
    EXPECT_EQ(blanks, "");

    std::string letters = "Nr 12: Łódź";
    KeepLettersOnly(letters);
    EXPECT_EQ(letters, "NrŁódź");
    std::string controls = "\t\r\na-1ż";
    KeepLettersOnly(controls);
    EXPECT_EQ(controls, "aż");

    EXPECT_FALSE(IsNotAlphaNumeric('a'));
    EXPECT_FALSE(IsNotAlphaNumeric('7'));
    EXPECT_FALSE(IsNotAlphaNumeric('\xB3'));  // ł
    EXPECT_FALSE(IsNotAlphaNumeric('\x8C'));  // Ś
    EXPECT_TRUE(IsNotAlphaNumeric('-'));
    EXPECT_TRUE(IsNotAlphaNumeric('\x95'));   // bullet
    EXPECT_TRUE(IsNotAlphaNumeric('\xA0'));   // no-break space
}

TEST(QmxUtil, SmallRoutines)
{
    const struct {
        const char* text;
        const char* expected;
    } rows[] = {{"c:\\qmx", "c:\\qmx\\"}, {"c:\\qmx\\", "c:\\qmx\\"}, {"", "\\"}};
    for (const auto& r : rows) {
        std::string s = r.text;
        AddBackslash(s);
        EXPECT_EQ(s, r.expected) << r.text;
    }
    EXPECT_EQ(PCharToString(nullptr), "");
    EXPECT_EQ(PCharToString("Żaba"), "Żaba");
    EXPECT_EQ(CountChar(';', "a;b;;c"), 3);
    EXPECT_EQ(CountChar(';', ""), 0);
}

// The program folder comes from the module's own path, in lower case.
TEST(QmxUtil, ProgramFolderOfAProgramStartedElsewhere)
{
    TempFolder temp;
    std::string folder = temp.Path() + "A B Ł\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string exe = folder + "X.EXE";
    ASSERT_TRUE(CopyFileA((TestProgramFolder() + "print_program_folder.exe").c_str(), exe.c_str(), FALSE));
    std::string out = temp.Path() + "out.txt";
    ASSERT_EQ(RunProgram("\"" + exe + "\" \"" + out + "\""), 0);

    std::string expected = temp.Path() + "a b ł\\";
    CharLowerBuffA(expected.data(), static_cast<DWORD>(expected.size()));
    EXPECT_EQ(ReadWholeFile(out), expected);
    EXPECT_EQ(GetProgramFolder(), AnsiLowerCase(TestProgramFolder()));
}

} // namespace

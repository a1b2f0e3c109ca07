// Word routines and path routines.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "components/FileUtil.h"
#include "components/StrUtils.h"
#include "tests/support/TestUtil.h"

namespace {

TEST(StrUtils, Words)
{
    struct Row {
        const char* s;
        const char* delims;
        int count;
        int n;
        int start;
        const char* word;
    } rows[] = {
        {"  a,,b  ", " ,", 2, 2, 6, "b"},
        {"  a,,b  ", " ,", 2, 1, 3, "a"},
        {"  a,,b  ", " ,", 2, 3, 0, ""},
        {"  a,,b  ", " ,", 2, 0, 0, ""},
        {"", ",", 0, 1, 0, ""},
        {",,,", ",", 0, 1, 0, ""},
        {"10,20,300,4000", ",", 4, 3, 7, "300"},
        {"10,20,300,4000", ",", 4, 4, 11, "4000"},
        {"Łódź;Kraków", ";", 2, 2, 6, "Kraków"},
        {"bez separatora", ",", 1, 1, 1, "bez separatora"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("\"") + r.s + "\" word " + std::to_string(r.n));
        EXPECT_EQ(CountWords(r.s, r.delims), r.count);
        EXPECT_EQ(WordStart(r.n, r.s, r.delims), r.start);
        EXPECT_EQ(NthWord(r.n, r.s, r.delims), r.word);
    }
    EXPECT_EQ(NthWord(2, "a b\tc", {' ', '\t'}), "b");
}

TEST(StrUtils, NextSubstrWalksTheParts)
{
    struct Step {
        const char* part;
        int pos;
    };
    struct Row {
        const char* s;
        std::vector<Step> steps;
    } rows[] = {
        {"a;b", {{"a", 3}, {"b", 4}}},
        {";b;", {{"", 2}, {"b", 4}}},
        {"c:\\x;;d:\\y", {{"c:\\x", 6}, {"", 7}, {"d:\\y", 11}}},
        {"", {{"", 1}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.s);
        int pos = 1;
        for (const Step& step : r.steps) {
            EXPECT_EQ(NextSubstr(r.s, pos, ";"), step.part);
            EXPECT_EQ(pos, step.pos);
        }
    }
}

TEST(StrUtils, ReplaceAll)
{
    struct Row {
        const char* s;
        const char* find;
        const char* replacement;
        const char* result;
    } rows[] = {
        {"aaa", "aa", "a", "aa"},  // the remaining single a cannot match
        {"aXa", "a", "aa", "aaXaa"},  // replacements are not searched again
        {"1,5", ",", ".", "1.5"},
        {"Ab ab", "ab", "x", "Ab x"},
        {"abc", "", "x", "abc"},
        {"abc", "abc", "", ""},
        {"", "a", "b", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.s) + " / " + r.find + " / " + r.replacement);
        EXPECT_EQ(ReplaceAll(r.s, r.find, r.replacement), r.result);
    }
}

TEST(FileUtil, StripTrailingBackslash)
{
    struct Row {
        const char* path;
        const char* result;
    } rows[] = {
        {"C:\\", "C:\\"}, {"c:\\", "c:\\"}, {"C:\\X\\", "C:\\X"}, {"\\", "\\"},       {"1:\\", "1:"},
        {"C:\\X", "C:\\X"}, {"", ""},       {"ab\\\\", "ab\\"},   {"\\\\srv\\", "\\\\srv"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(StripTrailingBackslash(r.path), r.result);
    }
}

class FileUtilPaths : public testing::Test {
protected:
    void SetUp() override
    {
        longDir = temp.Path() + "Długa nazwa katalogu";
        longFile = longDir + "\\plik z długą nazwą.txt";
        ASSERT_TRUE(CreateDirectoryA(longDir.c_str(), nullptr));
        WriteWholeFile(longFile, "x");
        char buffer[MAX_PATH];
        ASSERT_NE(GetShortPathNameA(longFile.c_str(), buffer, MAX_PATH), 0u);
        shortFile = buffer;
        // The folder itself may lie below long names: only the new elements
        // are compared.
        ASSERT_NE(GetShortPathNameA(temp.Path().c_str(), buffer, MAX_PATH), 0u);
        shortTemp = buffer;
    }

    TempFolder temp;
    std::string longDir, longFile, shortFile, shortTemp;
};

TEST_F(FileUtilPaths, FolderExists)
{
    EXPECT_TRUE(FolderExists(longDir));
    EXPECT_TRUE(FolderExists(longDir + "\\"));
    EXPECT_FALSE(FolderExists(longFile));
    EXPECT_FALSE(FolderExists(longDir + "\\brak"));
    EXPECT_FALSE(FolderExists(""));
}

TEST_F(FileUtilPaths, LongAndShortNames)
{
    ASSERT_NE(shortFile, longFile) << "the file system gave no short names";
    EXPECT_EQ(LongNameOf(shortFile), "plik z długą nazwą.txt");
    EXPECT_EQ(ShortNameOf(longFile), ExtractFileName(shortFile));
    EXPECT_EQ(LongNameOf(temp.Path() + "DŁUGA NAZWA KATALOGU"), "Długa nazwa katalogu");
    EXPECT_EQ(LongNameOf(temp.Path() + "brak"), "");
    EXPECT_EQ(ShortNameOf(temp.Path() + "brak"), "");
}

TEST_F(FileUtilPaths, WholePaths)
{
    std::string shortDir = ExtractFileDir(shortFile);
    struct Row {
        const char* what;
        std::string path;
        std::string longPath;
        std::string shortPath;
    } rows[] = {
        {"long", longFile, longFile, shortFile},
        {"short", shortFile, longFile, shortFile},
        {"other letter case", AnsiUpperCase(longFile), longFile, shortFile},
        {"trailing backslash", longDir + "\\", longDir + "\\", shortDir + "\\"},
        // Elements the file system does not know stay as they were given.
        {"missing element", longDir + "\\Brak Folderu\\x.txt", longDir + "\\Brak Folderu\\x.txt",
         shortDir + "\\Brak Folderu\\x.txt"},
        {"missing file", shortDir + "\\nowy plik.txt", longDir + "\\nowy plik.txt", shortDir + "\\nowy plik.txt"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.what) + ": " + r.path);
        // The temporary folder's own elements are converted as well; compare
        // the converted folder as the system gives it.
        std::string longPath = LongPathOf(r.path), shortPath = ShortPathOf(r.path);
        EXPECT_EQ(AnsiLowerCase(longPath.substr(0, temp.Path().size())), AnsiLowerCase(temp.Path()));
        EXPECT_EQ(longPath.substr(temp.Path().size()), r.longPath.substr(temp.Path().size()));
        EXPECT_EQ(shortPath, r.shortPath);
    }
    EXPECT_EQ(LongPathOf("\\\\serwer\\udział\\plik.txt"), "\\\\serwer\\udział\\plik.txt");
    EXPECT_EQ(LongPathOf("bez ukośnika"), "bez ukośnika");
    EXPECT_EQ(LongPathOf(""), "");
}

} // namespace

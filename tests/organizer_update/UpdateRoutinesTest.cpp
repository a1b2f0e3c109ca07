// The update's routines without a window: which local names the file list
// may use, its file lines, the information text's line breaks, the items'
// texts, the RunOnce command and the update host setting.
#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "organizer/autoakt.h"
#include "tests/common_reg/RegTestUtil.h"

namespace {

TEST(UpdateRoutines, LocalNamesStayInsideTheProgramFolder)
{
    const struct {
        const char* name;
        bool safe;
    } rows[] = {
        {"porady.dat", true},
        {"dane\\porady.dat", true},
        {"dane/porady.dat", true},
        {"Łódź z blankami.txt", true},
        {"a..b.dat", true},
        {".profil", true},
        {"com10.dat", true},
        {"lpt0", true},
        {"connect.exe", true},
        {"", false},
        {"..\\poza.dat", false},
        {"../poza.dat", false},
        {"dane\\..\\..\\poza.dat", false},
        {"dane/../../poza.dat", false},
        {"..", false},
        {"...\\poza.dat", false},
        {". .\\poza.dat", false},
        {"dane\\", false},
        {"dane\\\\porady.dat", false},
        {".\\porady.dat", false},
        {"\\poza.dat", false},
        {"/poza.dat", false},
        {"\\\\serwer\\udzial\\poza.dat", false},
        {"C:\\poza.dat", false},
        {"C:poza.dat", false},
        {"porady.dat:strumien", false},
        {"CON", false},
        {"con.txt", false},
        {"NUL.dat", false},
        {"aux", false},
        {"Prn.log", false},
        {"COM1", false},
        {"com9.exe", false},
        {"LPT1.txt", false},
        {"lpt9", false},
        {"dane\\nul.dat", false},
        {"con\\porady.dat", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.safe, IsSafeLocalName(row.name)) << '"' << row.name << '"';
}

TEST(UpdateRoutines, AFileLineNeedsFourFieldsAndASafeName)
{
    const struct {
        const char* line;
        bool listed;
        TUpdateFileLine file;
    } rows[] = {
        {"porady.dat=NOWE;Porady na dziś;pliki/porady.dat", true,
         {"porady.dat", "NOWE", "Porady na dziś", "pliki/porady.dat"}},
        {"a.dat=x;y;z;reszta", true, {"a.dat", "x", "y", "z"}},
        {"a.dat=notka;opis", false, {}},
        {"a.dat=", false, {}},
        {"a.dat=;opis;plik", false, {}},
        {"a.dat=notka;;plik", false, {}},
        {"a.dat=notka;opis;", false, {}},
        {"..\\a.dat=notka;opis;plik", false, {}},
        {"CON=notka;opis;plik", false, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        TUpdateFileLine file;
        EXPECT_EQ(row.listed, ParseUpdateFileLine(row.line, file));
        if (row.listed) {
            EXPECT_EQ(row.file.LocalName, file.LocalName);
            EXPECT_EQ(row.file.Note, file.Note);
            EXPECT_EQ(row.file.Description, file.Description);
            EXPECT_EQ(row.file.ServerPath, file.ServerPath);
        }
    }
}

TEST(UpdateRoutines, BlanksOfTheInformationTextBecomeLineBreaks)
{
    const struct {
        const char* text;
        const char* shown;
    } rows[] = {
        {"jeden dwa", "jeden dwa"},
        {"jeden  dwa", "jeden\r\ndwa"},
        {"jeden   dwa", "jeden\r\ndwa"},
        {"jeden    dwa", "jeden\r\ndwa"},
        {"jeden     dwa", "jeden\r\ndwa"},
        {"a  b   c    d", "a\r\nb\r\nc\r\nd"},
        {"  na początku", "\r\nna początku"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.shown, UpdateInformationText(row.text)) << '"' << row.text << '"';
}

TEST(UpdateRoutines, AnItemIsMarkedByItsDateAgainstTheLastUpdate)
{
    const TUpdateFileLine file{"porady.dat", "nowa wersja", "Porady na każdy dzień", "pliki/porady.dat"};
    const std::string plain = "<b>porady.dat</b> (nowa wersja)<br>Porady na każdy dzień";
    const double day = EncodeDate(2000, 1, 3);
    const double modified = day + EncodeTime(10, 0, 0, 0);
    const struct {
        const char* name;
        double fileDate, lastUpdate;
        std::string text;
    } rows[] = {
        {"never updated", modified, 0, "<b><u>NOWE!</u></b> " + plain},
        {"later the same day", modified, day, "<b><u>NOWE!</u></b> " + plain},
        {"updated the day after", modified, day + 1, "(już było ściągnięte) " + plain},
        {"no date read", 0, 0, plain},
        {"no date read, a damaged last update", 0, -5, plain},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.text, UpdateItemText(file, row.fileDate, row.lastUpdate)) << row.name;
}

TEST(UpdateRoutines, TheServersFieldsShowAsTextWithNoTagOfTheirs)
{
    const struct {
        TUpdateFileLine file;
        std::string text;
    } rows[] = {
        {{"a<b>.dat", "<i>ważne</i>", "<a href \"file:///C:/windows/notepad.exe\">Porady</a>", "p"},
         "<b>a‹b›.dat</b> (‹i›ważne‹/i›)<br>‹a href \"file:///C:/windows/notepad.exe\"›Porady‹/a›"},
        {{"b.dat", "<br><img src=\"file://C:\\x.bmp\">", "opis <", "p"},
         "<b>b.dat</b> (‹br›‹img src=\"file://C:\\x.bmp\"›)<br>opis ‹"},
        {{"c.dat", "1 > 0", "& &amp; ‹›", "p"}, "<b>c.dat</b> (1 › 0)<br>& &amp; ‹›"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.text, UpdateItemText(row.file, 0, 0)) << row.file.Description;
}

TEST(UpdateRoutines, TheRunOnceCommandQuotesTheProgramOnly)
{
    EXPECT_EQ("\"c:\\program files\\łódź\\setup.exe\" -o c:\\program files\\łódź\\",
              RunOnceCommand("c:\\program files\\łódź\\", "setup.exe"));
    EXPECT_EQ("\"c:\\qmx\\dane\\NOWY.EXE\" -o c:\\qmx\\", RunOnceCommand("c:\\qmx\\", "dane\\NOWY.EXE"));
}

TEST(UpdateRoutines, TheUpdateHostIsASettingWithAReservedDefault)
{
    const std::string codeName = "QMXTEST_AKTUALIZACJA";
    const std::string key = "Software\\QMX\\" + codeName;
    DeleteRawTree(HKEY_CURRENT_USER, key);
    EXPECT_EQ("aktualizacja.qmx.invalid", ReadUpdateHost(codeName));
    const struct {
        const char* value;
        const char* host;
    } rows[] = {
        {"", DefaultUpdateHost},
        {"   ", DefaultUpdateHost},
        {"127.0.0.1:8080", "127.0.0.1:8080"},
        {"  aktualizacje.example.invalid ", "aktualizacje.example.invalid"},
    };
    for (const auto& row : rows) {
        SetRawString(HKEY_CURRENT_USER, key, UpdateHostValue, row.value);
        EXPECT_EQ(row.host, ReadUpdateHost(codeName)) << '"' << row.value << '"';
    }
    DeleteRawTree(HKEY_CURRENT_USER, key);
    const std::string tld = ".invalid";
    const std::string host = DefaultUpdateHost;
    EXPECT_EQ(tld, host.substr(host.size() - tld.size()));

    EXPECT_EQ("127.0.0.1", UpdateHostName("127.0.0.1:8080"));
    EXPECT_EQ("aktualizacja.qmx.invalid", UpdateHostName("aktualizacja.qmx.invalid"));
}

} // namespace

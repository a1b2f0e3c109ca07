// The train item: its texts by number, direction and flags, the departure
// signal with the continuation of a split train, where it may stop, its
// stream form, and the timetable unit's start and end in each program's
// order of units.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "classlib/TypInfo.h"
#include "common/QmxGenericList.h"
#include "common/QmxList.h"
#include "common/QmxUtil.h"
#include "common/Upunkt.h"
#include "common/Upunkt_defpoc.h"
#include "tests/common_objmodel/QmxTestStream.h"

namespace {

TDateTime At(int hour, int minute)
{
    return EncodeTime(hour, minute, 0, 0);
}

// A train of the tests' timetable: arrives 7:05, departs 7:10.
struct TrainSpec {
    const char* number = "os 3421";
    int direction = 0;
    bool split = false, finished = false, manoeuvre = false, departing = false, passing = false, stops = false;
};

std::unique_ptr<TPociag> MakeTrain(const TrainSpec& s)
{
    auto t = std::make_unique<TPociag>();
    t->Strings[0] = "Brennów";
    t->Strings[1] = "Kelce";
    t->Strings[2] = "Lumów";
    t->Strings[4].assign(s.number, std::strlen(s.number));
    t->Strings[9] = "2";
    t->DateTimes[0] = At(7, 5);
    t->DateTimes[1] = At(7, 10);
    t->Kierunek = static_cast<std::uint8_t>(s.direction);
    t->BoolFields[1] = s.split;
    t->BoolFields[2] = s.finished;
    t->BoolFields[3] = s.manoeuvre;
    t->BoolFields[4] = s.departing;
    t->BoolFields[5] = s.passing;
    t->BoolFields[6] = s.stops;
    return t;
}

TEST(Pociag, NumberText)
{
    const struct {
        TrainSpec spec;
        bool category;
        const char* text;
    } rows[] = {
        {{.number = "1234"}, false, "-1234-"},
        {{.number = "1234", .direction = 1}, false, "-1234-"},
        {{.number = "12", .manoeuvre = true}, false, "-12-"},
        {{.number = "EX 12"}, true, "«EX 12"},
        {{.number = "EX 12", .direction = 1}, true, "EX 12»"},
        {{.number = "P1"}, true, "«P1"},
        {{.number = "ŁT 5"}, false, "-ŁT 5-"},
        {{.number = "os 3421", .manoeuvre = true}, true, "<os 3421"},
        {{.number = "os 3421", .direction = 1, .manoeuvre = true}, true, "os 3421>"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.spec.number << " direction " << r.spec.direction << " manoeuvre "
                                        << r.spec.manoeuvre);
        const auto t = MakeTrain(r.spec);
        EXPECT_EQ(t->HasCategoryLetter(), r.category);
        EXPECT_EQ(t->NumberText(), r.text);
    }
}

TEST(Pociag, TimesAndDescriptions)
{
    EXPECT_EQ(MakeTrain({})->TimeText(At(7, 5)), "7:05");
    EXPECT_EQ(MakeTrain({})->TimeText(At(17, 30)), "17:30");
    EXPECT_EQ(MakeTrain({.passing = true})->TimeText(At(7, 5)), "7.05");

    const struct {
        TrainSpec spec;
        const char* after;  // Strings[8]
        const char* pair5, *pair6;
        const char* text;
    } rows[] = {
        {{}, "", "", "", "7:05/7:10 «os 3421 Brennów Kelce-Lumów [2] -"},
        {{}, "uwaga", "a", "b", "7:05/7:10 «os 3421 Brennów Kelce-Lumów [2] uwagaa-b"},
        {{.passing = true}, "", "", "", "7.05/7.10 «os 3421 Brennów Kelce-Lumów [2]  (BEZ POSTOJU!)-"},
        {{.finished = true}, "", "", "", "«os 3421 (Brennów 7:05 Kelce) skończył bieg -"},
        {{.split = true, .finished = true}, "", "", "", "«os 3421 (Brennów 7:05 Kelce) skończył bieg -"},
        {{.number = "12", .direction = 1, .split = true}, "x", "", "3", "-12- (Brennów, 7:10 Lumów) rozdzielony x-3"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        auto t = MakeTrain(r.spec);
        t->Strings[8] = r.after;
        t->Strings[5] = r.pair5;
        t->Strings[6] = r.pair6;
        EXPECT_EQ(t->Description(), r.text);
    }
}

TEST(Pociag, ShortTexts)
{
    const struct {
        TrainSpec spec;
        const char* track;  // Strings[6]
        const char* form0, *form1, *form2;
    } rows[] = {
        {{}, "", "<7:05, 2", "<7:05 2", "<7:05 Brennów"},
        {{.direction = 1}, "", "7:05, 2>", "7:05 2>", "7:05 Brennów>"},
        {{.number = "1234"}, "", "7:05, 2", "7:05 2", "7:05 Brennów"},
        {{.departing = true}, "", "<7:10, k/b", "<7:10 k/b", "<7:10 Brennów"},
        {{.departing = true}, "4", "<7:10, 4", "<7:10 4", "<7:10 Brennów"},
        {{.passing = true}, "", "<7.05, (2)", "<7.05 (2)", "<7.05 Brennów"},
        {{.departing = true, .passing = true}, "", "<7.10, (k/b)", "<7.10 (k/b)", "<7.10 Brennów"},
        {{.manoeuvre = true}, "", "<(m) os 3421", "<(m) os 3421", "<(m) os 3421"},
        {{.direction = 1, .manoeuvre = true}, "", "(m) os 3421>", "(m) os 3421>", "(m) os 3421>"},
        {{.number = "12", .manoeuvre = true}, "", "-12-", "-12-", "-12-"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.form0);
        auto t = MakeTrain(r.spec);
        t->Strings[6] = r.track;
        EXPECT_EQ(t->ShortText(0), r.form0);
        EXPECT_EQ(t->ShortText(1), r.form1);
        EXPECT_EQ(t->ShortText(2), r.form2);
    }
}

TEST(Pociag, DepartureSignal)
{
    const struct {
        TrainSpec spec;
        int value;
        int state;
    } rows[] = {
        {{.number = "1234"}, 2, 1},
        {{.number = "1234", .manoeuvre = true}, 2, 1},
        {{.number = "EX 12"}, 2, 2},
        {{.number = "os 3421", .manoeuvre = true}, 2, 2},
        // A split train goes by its continuation, taken without lower-casing.
        {{.number = "ex 12", .split = true}, 2, 2},
        {{.number = "ex 12", .direction = 1, .split = true}, 2, 1},
        {{.number = "EX 12", .split = true}, 2, 1},
        {{.number = "12 os", .direction = 1, .split = true}, 2, 2},
        {{.number = "12 OS", .direction = 1, .split = true}, 2, 1},
        {{.number = "ex12", .direction = 1, .split = true}, 2, 2},
        {{.number = "ex 12 pn", .direction = 1, .split = true}, 2, 2},
        {{.number = "1234", .split = true}, 2, 1},
        // Other values are stored as they are.
        {{.number = "1234"}, 1, 1},
        {{.number = "EX 12"}, 0, 0},
        {{.number = "EX 12"}, 3, 3},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.spec.number << " split " << r.spec.split << " direction "
                                        << r.spec.direction << " value " << r.value);
        auto t = MakeTrain(r.spec);
        t->StanPociagu = 9;
        t->SetStanPociagu(static_cast<std::uint8_t>(r.value));
        EXPECT_EQ(t->StanPociagu, r.state);
        EXPECT_EQ(t->Strings[4], r.spec.number);
        EXPECT_EQ(t->Manoeuvre(), r.spec.manoeuvre);
    }
    auto t = MakeTrain({});
    t->SetKierunek(1);
    EXPECT_EQ(t->Kierunek, 1);
}

TEST(Pociag, WhereATrainMayStop)
{
    // Each string runs over (manoeuvre, passing, may stop at track points)
    // as eight bits, from (no, no, no) to (yes, yes, yes).
    const struct {
        const char* kind;
        TComponent* (*make)(TComponent*);
        const char* results;
    } rows[] = {
        {"entry", NewComponent<TWlot>, "TTTTTTTT"},
        {"siding", NewComponent<TBocznica>, "TTTTTTTT"},
        {"platform", NewComponent<TPeron>, "TTFFTTTT"},
        {"track point", NewComponent<TPunktTorowy>, "FTFFTTTT"},
        {"announcement point", NewComponent<TZapowiedz>, "FFFFFFFF"},
        {"track", NewComponent<TTor>, "FFFFFFFF"},
        {"switch", NewComponent<TZwrotnica>, "FFFFFFFF"},
        {"signal", NewComponent<TSemafor>, "FFFFFFFF"},
        {"plain point", NewComponent<TPunkt>, "FFFFFFFF"},
        {"barrier", NewComponent<TRogatka>, "FFFFFFFF"},
        {"crossing light", NewComponent<TPrzejazd>, "FFFFFFFF"},
    };
    for (const auto& r : rows) {
        std::unique_ptr<TComponent> element(r.make(nullptr));
        for (int bits = 0; bits < 8; ++bits) {
            SCOPED_TRACE(testing::Message() << r.kind << " manoeuvre " << (bits >> 2) << " passing "
                                            << ((bits >> 1) & 1) << " stops " << (bits & 1));
            const auto t = MakeTrain({.manoeuvre = (bits & 4) != 0, .passing = (bits & 2) != 0, .stops = (bits & 1) != 0});
            EXPECT_EQ(t->MayStopAt(element.get()), r.results[bits] == 'T');
        }
    }
    EXPECT_FALSE(MakeTrain({.manoeuvre = true})->MayStopAt(nullptr));
    TObject notAnElement;
    EXPECT_FALSE(MakeTrain({.manoeuvre = true})->MayStopAt(&notAnElement));
}

// The timetable unit after the object-model units, as the programs start
// them: the organizer QmxList, QmxGenericList, then Upunkt_defpoc; the
// installer has its own definitions unit between (its tests start it too).
class TimetableUnit : public testing::Test {
protected:
    void SetUp() override
    {
        FinalizeQmxList();
        InitializeQmxList();
        InitializeQmxGenericList();
        InitializeUpunkt_defpoc();
    }
    void TearDown() override
    {
        FinalizeUpunkt_defpoc();
        FinalizeQmxList();
    }
};

TEST_F(TimetableUnit, StartAndEnd)
{
    const tQmxRecObject* rec = FindQmxClassById(748);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->ItemClass, TPociag::Class());
    std::unique_ptr<TObject> made(rec->ItemClass->Create());
    EXPECT_NE(dynamic_cast<TPociag*>(made.get()), nullptr);
    EXPECT_EQ(FindQmxClassById(712)->ItemClass, tQmxGenericLIst::Class());

    ASSERT_NE(Rozklad, nullptr);
    EXPECT_EQ(Rozklad->Count(), 0);
    for (tQmxList* list : RozkladListy) {
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->Count(), 0);
    }
    EXPECT_EQ(RozkladPlik, GetProgramFolder() + "rozklad.dat");
    EXPECT_EQ(RozkladPlik, AnsiLowerCase(RozkladPlik));

    // The end frees the timetable with its trains and the lists without
    // theirs (they only refer to the timetable's).
    auto* train = new TPociag;
    Rozklad->Add(static_cast<TObject*>(train));
    RozkladListy[0]->Add(static_cast<TObject*>(train));
    FinalizeUpunkt_defpoc();
    EXPECT_EQ(Rozklad, nullptr);
    for (tQmxList* list : RozkladListy)
        EXPECT_EQ(list, nullptr);
    EXPECT_EQ(RozkladPlik, "");
}

TEST_F(TimetableUnit, TheGenericFieldsTravelAndTheTwoBytesDoNot)
{
    auto t = MakeTrain({.number = "EX 12", .direction = 1, .departing = true, .stops = true});
    t->StanPociagu = 2;
    t->Strings[6] = "4";
    t->Integers[3] = -7;
    tQmxGenericLIst list;
    list.Add(static_cast<TObject*>(t.release()));
    TQmxTestStream stream;
    list.Store(stream);
    stream.Seek(0, soBeginning);
    tQmxGenericLIst back;
    back.Load(stream);
    ASSERT_EQ(back.Count(), 1);
    auto* read = dynamic_cast<TPociag*>(static_cast<TObject*>(back.Items(0)));
    ASSERT_NE(read, nullptr);
    const auto* written = static_cast<TPociag*>(static_cast<TObject*>(list.Items(0)));
    for (int i = 0; i < tQmxGenericItem::FieldCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read->Strings[i], written->Strings[i]);
        EXPECT_EQ(read->Integers[i], written->Integers[i]);
        EXPECT_EQ(read->BoolFields[i], written->BoolFields[i]);
        EXPECT_EQ(read->DateTimes[i], written->DateTimes[i]);
    }
    EXPECT_EQ(read->StanPociagu, 0);
    EXPECT_EQ(read->Kierunek, 0);
    EXPECT_EQ(read->Description(), "7:05/7:10 «EX 12 Brennów Kelce-Lumów [2] -4");
}

} // namespace

// Unit Upunkt_defpoc: one train of a station timetable (TPociag), kept in the
// generic record of the object model, and the timetable objects of the
// process. The railway elements (Upunkt) show trains at their points and ask
// them for their texts and departure rules.
//
// This header knows nothing of the elements: MayStopAt takes any object and
// looks at its kind in the .cpp, the only place that includes Upunkt.h.
#pragma once

#include <cstdint>
#include <string>

#include "common/QmxGenericList.h"

// The generic fields a train uses:
//   Strings[0] first station, [1] and [2] the route, [4] the number (two
//   numbers and a space for a split train), [5]-[6] a pair appended to the
//   description ([6] also the track of a departing train), [8] a text after
//   the description, [9] the stop text;
//   BoolFields[1] split, [2] finished its run, [3] manoeuvre, [4] departing,
//   [5] passes without stopping, [6] may stop at a track point;
//   DateTimes[0] arrival, [1] departure.
class TPociag : public tQmxGenericItem {
public:
    static tQmxClass Class();

    // 1 waiting, 2 departure signal given; not streamed.
    std::uint8_t StanPociagu = 0;
    // Direction of travel, 0 or 1; not streamed.
    std::uint8_t Kierunek = 0;

    const std::string& Number() const { return Strings[4]; }
    bool Split() const { return BoolFields[1]; }
    bool Finished() const { return BoolFields[2]; }
    bool Manoeuvre() const { return BoolFields[3]; }
    bool Departing() const { return BoolFields[4]; }
    bool Passing() const { return BoolFields[5]; }
    bool StopsAtTrackPoints() const { return BoolFields[6]; }

    // The number, lower-cased, holds one of s, p, e, n, a.
    bool HasCategoryLetter() const;
    // -1234- without a category letter; <12 / 12> for a manoeuvre; «12 / 12»
    // otherwise (direction 0 / 1).
    std::string NumberText() const;
    // "h.mm" for a train passing without stopping, "h:mm" otherwise.
    std::string TimeText(TDateTime Time) const;
    std::string Description() const;
    // Form 0 for announcement points, 1 for platforms, track points and
    // entries, 2 for other points.
    std::string ShortText(int Form) const;
    void SetKierunek(std::uint8_t Value);
    // 2 gives the departure signal, which a train takes only when its number
    // (or its continuation's, for a split train) has a category letter;
    // otherwise it stays waiting (1). Other values are stored as they are.
    void SetStanPociagu(std::uint8_t Value);
    // Whether the train may stop at an element: entries and sidings always,
    // platforms and track points by the train's flags; nothing else.
    bool MayStopAt(const TObject* Element) const;
};

// The process's timetable (nothing in the programs fills it), three further
// lists, and the timetable file: "rozklad.dat" in the program folder.
extern tQmxGenericLIst* Rozklad;
extern tQmxList* RozkladListy[3];
extern std::string RozkladPlik;

// Unit start: registers TPociag as 748, makes the timetable, the lists and
// the file path. Unit end: frees them (the lists without their items) and
// clears the path.
void InitializeUpunkt_defpoc();
void FinalizeUpunkt_defpoc();

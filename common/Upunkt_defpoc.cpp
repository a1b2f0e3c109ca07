#include "common/Upunkt_defpoc.h"

#include <memory>

#include "common/QmxUtil.h"
#include "common/Upunkt.h"

tQmxGenericLIst* Rozklad = nullptr;
tQmxList* RozkladListy[3] = {};
std::string RozkladPlik;

namespace {

constexpr const char* CategoryLetters = "spena";

bool HasAnyOf(const std::string& text, const char* letters)
{
    return text.find_first_of(letters) != std::string::npos;
}

} // namespace

tQmxClass TPociag::Class()
{
    static const tQmxClassInfo info{"TPociag", typeid(TPociag), QmxCreateInstance<TPociag>};
    return &info;
}

bool TPociag::HasCategoryLetter() const
{
    return HasAnyOf(AnsiLowerCase(Number()), CategoryLetters);
}

std::string TPociag::NumberText() const
{
    if (!HasCategoryLetter())
        return "-" + Number() + "-";
    if (Manoeuvre())
        return Kierunek == 0 ? "<" + Number() : Number() + ">";
    return Kierunek == 0 ? "«" + Number() : Number() + "»";
}

std::string TPociag::TimeText(TDateTime Time) const
{
    return FormatDateTime(Passing() ? "h.mm" : "h:mm", Time);
}

std::string TPociag::Description() const
{
    std::string text;
    if (Finished())
        text = Format("%s (%s %s %s) skończył bieg", NumberText(), Strings[0], TimeText(DateTimes[0]), Strings[1]);
    else if (Split())
        text = Format("%s (%s, %s %s) rozdzielony", NumberText(), Strings[0], TimeText(DateTimes[1]), Strings[2]);
    else
        text = Format("%s/%s %s %s %s-%s [%s]", TimeText(DateTimes[0]), TimeText(DateTimes[1]), NumberText(),
                      Strings[0], Strings[1], Strings[2], Strings[9]);
    text += " " + Strings[8];
    if (Passing())
        text += " (BEZ POSTOJU!)";
    return text + Format("%s-%s", Strings[5], Strings[6]);
}

std::string TPociag::ShortText(int Form) const
{
    const std::string time = TimeText(Departing() ? DateTimes[1] : DateTimes[0]);
    std::string stop = Departing() ? (Strings[6].empty() ? "k/b" : Strings[6]) : Strings[9];
    if (Passing())
        stop = "(" + stop + ")";
    std::string text;
    if (Manoeuvre())
        text = HasCategoryLetter() ? "(m) " + Number() : "-" + Number() + "-";
    else if (Form == 0)
        text = Format("%s, %s", time, stop);
    else if (Form == 1)
        text = Format("%s %s", time, stop);
    else
        text = Format("%s %s", time, Strings[0]);
    if (HasCategoryLetter())
        text = Kierunek == 0 ? "<" + text : text + ">";
    return text;
}

void TPociag::SetKierunek(std::uint8_t Value)
{
    Kierunek = Value;
}

void TPociag::SetStanPociagu(std::uint8_t Value)
{
    if (Value != 2) {
        StanPociagu = Value;
        return;
    }
    if (!Split()) {
        StanPociagu = HasCategoryLetter() ? 2 : 1;
        return;
    }
    // The continuation: the number on the train's side of the first space.
    // Its test does not lower-case the text, unlike HasCategoryLetter.
    std::string part = Number();
    const size_t space = part.find(' ');
    if (space != std::string::npos)
        part = Kierunek == 1 ? part.substr(space + 1) : part.substr(0, space);
    TrimBlanks(part);
    std::unique_ptr<TPociag> continuation;
    if (HasAnyOf(part, CategoryLetters)) {
        continuation = std::make_unique<TPociag>();
        continuation->Kierunek = Kierunek;
        continuation->Strings[4] = part;
        continuation->SetStanPociagu(2);
        continuation->BoolFields[3] = true;
    }
    StanPociagu = continuation && continuation->HasCategoryLetter() ? 2 : 1;
}

bool TPociag::MayStopAt(const TObject* Element) const
{
    if (!dynamic_cast<const TPunkt*>(Element))
        return false;
    const bool entryOrSiding = dynamic_cast<const TBocznica*>(Element) != nullptr;
    const bool platform = dynamic_cast<const TPeron*>(Element) != nullptr;
    const bool trackPoint = dynamic_cast<const TPunktTorowy*>(Element) != nullptr;
    if (Manoeuvre())
        return entryOrSiding || platform || trackPoint;
    return entryOrSiding || (platform && !Passing()) || (trackPoint && StopsAtTrackPoints() && !Passing());
}

void InitializeUpunkt_defpoc()
{
    RegisterQmxClass(TPociag::Class(), 748);
    Rozklad = new tQmxGenericLIst;
    for (auto& list : RozkladListy)
        list = new tQmxList;
    RozkladPlik = GetProgramFolder() + "rozklad.dat";
}

void FinalizeUpunkt_defpoc()
{
    // The three lists only ever refer to trains of the timetable.
    for (auto& list : RozkladListy) {
        if (list)
            list->Clear();
        delete list;
        list = nullptr;
    }
    delete Rozklad;
    Rozklad = nullptr;
    RozkladPlik.clear();
}

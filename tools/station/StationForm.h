// The sample station: a small station diagram read from its form description
// (TStationForm.dfm), with a button for every element, and the scenes that
// tools/station-picture saves as pictures.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "common/Upunkt.h"

class TStationForm : public TForm {
public:
    explicit TStationForm(TComponent* owner) : TForm(owner) {}
    ~TStationForm() override;

    // The element or button of that name and class; EComponentError when
    // the station has none.
    template <class T>
    T* Find(const std::string& name) const
    {
        auto* c = dynamic_cast<T*>(FindComponent(name));
        if (!c)
            MissingComponent(name);
        return c;
    }

    // A new train of the station (it lives as long as the station), put at
    // a point.
    TPociag* PutTrain(const std::string& at, const std::string& number, int direction, int arrivalHour,
                      int arrivalMinute, int waitMinutes);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    [[noreturn]] static void MissingComponent(const std::string& name);
    std::vector<std::unique_ptr<TPociag>> trains_;
};

// A scene of the station: what is done to a station just read, and the name
// of its picture ("station-" + Name + ".png").
struct TStationScene {
    const char* Name;
    void (*Apply)(TStationForm& station);
};

// All free; a route set; a train at the platform; the substitute signal;
// barriers down with the light blinking; a switch flipped. The scenes answer
// the elements' questions with Yes themselves.
const std::vector<TStationScene>& StationScenes();

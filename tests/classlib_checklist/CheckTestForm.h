// A form read from TCheckTestForm.dfm: a check-list box with three items and
// a searching animation. It records what its handlers hear.
#pragma once

#include <string>
#include <vector>

#include "classlib/Animate.h"
#include "classlib/CheckLst.h"
#include "classlib/Forms.h"

class TCheckTestForm : public TForm {
public:
    explicit TCheckTestForm(TComponent* owner) : TForm(owner) {}

    TCheckListBox* lbUsun = nullptr;
    TAnimate* aniSzukaj = nullptr;

    std::vector<std::string> Events;
    void lbUsunClick(TObject*);
    void lbUsunClickCheck(TObject*);

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();
};

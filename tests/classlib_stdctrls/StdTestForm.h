// A form read from TStdTestForm.dfm: a notebook of three pages holding
// standard controls, and a timer. It records what its handlers hear.
#pragma once

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

class TStdTestForm : public TForm {
public:
    explicit TStdTestForm(TComponent* owner) : TForm(owner) {}

    TNotebook* nb = nullptr;
    TPage* pgPierwsza = nullptr;
    TPage* pgDruga = nullptr;
    TPage* pgTrzecia = nullptr;
    TEdit* eImie = nullptr;
    TListBox* lbLista = nullptr;
    TMemo* mNotatki = nullptr;
    TCheckBox* cbZgoda = nullptr;
    TRadioButton* rbA = nullptr;
    TRadioButton* rbB = nullptr;
    TPanel* pnRamka = nullptr;
    TLabel* lbOpis = nullptr;
    TTimer* tmZegar = nullptr;

    std::vector<std::string> Events;
    void FormCreate(TObject*);
    void nbPageChanged(TObject*);
    void eImieChange(TObject*);
    void cbZgodaClick(TObject*);
    void tmZegarTimer(TObject*);

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();
};

// The program the driver's tests drive: one form with a control of each kind
// the driver handles, a modal question form, a system message box and a
// shell copy that asks before it replaces a file, and the class library's
// own standard controls with a message dialog beside them, a list view with
// check boxes and a string grid. Everything the
// controls hear goes into the log (xLog.Lines), which the tests read back.
//   uidriver_target.exe        ends with exit code 3 when its form closes
// Environment: QMX_PROBA (shown in lSrodowisko), QMX_ZRODLO and QMX_CEL (the
// file bKopiuj copies and where to).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <map>
#include <memory>
#include <utility>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/Grids.h"
#include "classlib/ListView.h"
#include "classlib/Lists.h"
#include "classlib/StdCtrls.h"
#include "classlib/TypInfo.h"

namespace {

TStringList* Log = nullptr;

void Note(const std::string& line)
{
    if (Log)
        Log->Add(line);
}

std::string Env(const char* name)
{
    char buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// The log, a windowless control whose lines are published.
class TTargetLog : public TGraphicControl {
public:
    explicit TTargetLog(TComponent* owner) : TGraphicControl(owner), lines_(new TStringList) {}
    TStrings* Lines() const { return lines_.get(); }
    TStringList* List() const { return lines_.get(); }

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TTargetLog", &TGraphicControl::StaticClass(), nullptr,
                                     {PublishStrings<&TTargetLog::Lines>("Lines")});
        return info;
    }

private:
    std::unique_ptr<TStringList> lines_;
};

// A windowless control that logs its clicks.
class TTargetBox : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    void Click() override
    {
        Note("click " + Name());
        TGraphicControl::Click();
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clYellow);
        Canvas()->FillRect(ClientRect());
    }
};

// The system's push button (or, with CheckBox, check box); a click gives
// the form the button's modal result.
class TTargetButton : public TWinControl {
public:
    explicit TTargetButton(TComponent* owner, bool checkBox = false) : TWinControl(owner), checkBox_(checkBox)
    {
        // The system button presses and clicks itself.
        SetControlStyle(csDoubleClicks);
        SetTabStop(true);
    }
    TModalResult ModalResult = mrNone;

    bool Checked() const
    {
        return handle_ ? SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
    }
    void SetChecked(bool value)
    {
        checked_ = value;
        if (handle_)
            SendMessageA(handle_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void Click() override
    {
        Note("click " + Name());
        TWinControl::Click();
        if (TCustomForm* form = GetParentForm(this); form && ModalResult != mrNone)
            form->SetModalResult(ModalResult);
    }

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TTargetButton", &TWinControl::StaticClass(), nullptr,
                                     {PublishBoolean<&TTargetButton::Checked, &TTargetButton::SetChecked>("Checked")});
        return info;
    }

protected:
    void CreateParams(TCreateParams& p) override
    {
        TWinControl::CreateParams(p);
        CreateSubClass(p, "BUTTON");
        p.Style |= checkBox_ ? BS_AUTOCHECKBOX : BS_PUSHBUTTON;
    }
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
            Click();
            return;
        }
        TWinControl::Dispatch(m);
    }

private:
    bool checkBox_;
    bool checked_ = false;
};

// The system's edit, logging the changes the system announces.
class TTargetEdit : public TWinControl {
public:
    explicit TTargetEdit(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

protected:
    void CreateParams(TCreateParams& p) override
    {
        TWinControl::CreateParams(p);
        CreateSubClass(p, "EDIT");
        p.Style |= WS_BORDER | ES_AUTOHSCROLL;
    }
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
            Note("change " + Name() + "=" + Text());
            return;
        }
        TWinControl::Dispatch(m);
    }
};

// The system's list box with a tick per item kept beside it; a selection
// the user makes is a click.
class TTargetList : public TWinControl {
public:
    explicit TTargetList(TComponent* owner) : TWinControl(owner), items_(new TStringList) { SetTabStop(true); }
    TStrings* Items() const { return items_.get(); }
    int ItemIndex() const { return handle_ ? static_cast<int>(SendMessageA(handle_, LB_GETCURSEL, 0, 0)) : -1; }
    void SetItemIndex(int index) { SendMessageA(Handle(), LB_SETCURSEL, index, 0); }
    void Click() override
    {
        Note("select " + std::to_string(ItemIndex()));
        TWinControl::Click();
    }

    bool ProbeState(TStrings& lines, bool change) override
    {
        if (!change) {
            for (int i = 0; i < items_->Count(); ++i)
                lines.Add("Checked[" + std::to_string(i) + "]=" + (ticks_[i] ? "1" : "0"));
            return true;
        }
        for (int i = 0; i < lines.Count(); ++i) {
            const std::string key = lines.Names(i);
            const std::string value = lines.Values(key);
            int index = 0;
            if (key == "ItemIndex") {
                SetItemIndex(StrToInt(value));
                Click();
            } else if (std::sscanf(key.c_str(), "Checked[%d]", &index) == 1 && index >= 0 && index < items_->Count()) {
                ticks_[index] = value == "1";
                Note("tick " + std::to_string(index) + " " + value);
            } else {
                return false;
            }
        }
        return true;
    }

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TTargetList", &TWinControl::StaticClass(), nullptr,
                                     {
                                         PublishStrings<&TTargetList::Items>("Items"),
                                         PublishInteger<&TTargetList::ItemIndex, &TTargetList::SetItemIndex>("ItemIndex"),
                                     });
        return info;
    }

protected:
    void CreateParams(TCreateParams& p) override
    {
        TWinControl::CreateParams(p);
        CreateSubClass(p, "LISTBOX");
        p.Style |= WS_BORDER | LBS_NOTIFY | WS_VSCROLL;
    }
    void CreateHandle() override
    {
        TWinControl::CreateHandle();
        for (int i = 0; i < items_->Count(); ++i)
            SendMessageA(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Strings(i).c_str()));
    }
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == LBN_SELCHANGE) {
            Click();
            return;
        }
        TWinControl::Dispatch(m);
    }

private:
    std::unique_ptr<TStringList> items_;
    std::map<int, bool> ticks_;
};

// A grid of texts that paints itself; its cells are state, not properties.
class TTargetGrid : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

    bool ProbeState(TStrings& lines, bool change) override
    {
        if (!change) {
            for (const auto& [place, text] : cells_)
                lines.Add("Cells[" + std::to_string(place.first) + "," + std::to_string(place.second) + "]=" + text);
            return true;
        }
        for (int i = 0; i < lines.Count(); ++i) {
            const std::string key = lines.Names(i);
            int col = 0, row = 0;
            if (std::sscanf(key.c_str(), "Cells[%d,%d]", &col, &row) != 2)
                return false;
            cells_[{col, row}] = lines.Values(key);
            Note("cell " + std::to_string(col) + "," + std::to_string(row) + "=" + lines.Values(key));
            Invalidate();
        }
        return true;
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(ClientRect());
        for (const auto& [place, text] : cells_)
            Canvas()->TextOut(place.first * 40 + 2, place.second * 18 + 2, text);
    }

private:
    std::map<std::pair<int, int>, std::string> cells_;
};

class TPytanieForm : public TForm {
public:
    explicit TPytanieForm(TComponent* owner) : TForm(owner)
    {
        SetName("dPytanie");
        SetCaption("Pytanie");
        SetBorderStyle(bsDialog);
        SetBounds(200, 200, 240, 110);
        auto* text = new TTargetBox(this);
        text->SetName("lTekst");
        text->SetCaption("Czy na pewno?");
        text->SetBounds(10, 10, 200, 16);
        text->SetParent(this);
        int left = 10;
        for (auto [name, caption, result] : {std::tuple("Yes", "&Tak", mrYes), std::tuple("No", "&Nie", mrNo)}) {
            auto* b = new TTargetButton(this);
            b->SetName(name);
            b->SetCaption(caption);
            b->ModalResult = result;
            b->SetBounds(left, 40, 75, 25);
            b->SetParent(this);
            left += 85;
        }
    }
};

class TProbaForm : public TForm {
public:
    explicit TProbaForm(TComponent* owner) : TForm(owner)
    {
        SetName("fProba");
        SetCaption("Próba sterownika");
        SetBorderStyle(bsSingle);
        SetBounds(20, 20, 580, 420);
        SetColor(clBtnFace);

        auto* log = new TTargetLog(this);
        log->SetName("xLog");
        log->SetBounds(0, 0, 1, 1);
        log->SetParent(this);
        Log = log->List();

        int top = 8;
        auto button = [&](const char* name, const char* caption, void (TProbaForm::*handler)(TObject*)) {
            auto* b = new TTargetButton(this);
            b->SetName(name);
            b->SetCaption(caption);
            b->SetBounds(8, top, 90, 25);
            b->SetParent(this);
            if (handler)
                b->OnClick = TNotifyEvent(this, handler);
            top += 30;
            return b;
        };
        button("bDodaj", "&Dodaj", nullptr);
        button("bWylaczony", "Wyłączony", nullptr)->SetEnabled(false);
        button("bPytaj", "&Pytaj", &TProbaForm::bPytajClick);
        button("bSystem", "&Systemowe", &TProbaForm::bSystemClick);
        button("bKopiuj", "&Kopiuj", &TProbaForm::bKopiujClick);
        button("bZamknij", "&Zamknij", &TProbaForm::bZamknijClick);

        auto* check = new TTargetButton(this, true);
        check->SetName("cZgoda");
        check->SetCaption("Zgoda");
        check->SetBounds(8, top, 120, 20);
        check->SetParent(this);

        auto* edit = new TTargetEdit(this);
        edit->SetName("eImie");
        edit->SetBounds(110, 8, 140, 22);
        edit->SetParent(this);

        auto* list = new TTargetList(this);
        list->SetName("lbLista");
        for (const char* item : {"Pierwszy", "Drugi", "Trzeci"})
            list->Items()->Add(item);
        list->SetBounds(110, 106, 140, 60);
        list->SetParent(this);

        auto* grid = new TTargetGrid(this);
        grid->SetName("gSiatka");
        grid->SetBounds(260, 8, 150, 90);
        grid->SetParent(this);

        auto* box = new TTargetBox(this);
        box->SetName("xPudelko");
        box->SetBounds(260, 106, 40, 40);
        box->SetParent(this);

        auto* env = new TTargetBox(this);
        env->SetName("lSrodowisko");
        env->SetCaption(Env("QMX_PROBA"));
        env->SetBounds(260, 150, 100, 16);
        env->SetParent(this);

        AddStandardControls();
    }

    // The class library's controls, which the programs are made of.
    void AddStandardControls()
    {
        auto* usun = new TButton(this);
        usun->SetName("bUsun");
        usun->SetCaption("&Usuń");
        usun->SetBounds(420, 8, 150, 25);
        usun->SetParent(this);
        usun->OnClick = TNotifyEvent(this, &TProbaForm::bUsunClick);
        auto* name = new TEdit(this);
        name->SetName("eNazwa");
        name->SetBounds(420, 40, 150, 22);
        name->SetParent(this);
        name->OnChange = TNotifyEvent(this, &TProbaForm::Changed);
        auto* memo = new TMemo(this);
        memo->SetName("mOpis");
        memo->SetBounds(420, 68, 150, 50);
        memo->SetParent(this);
        memo->OnChange = TNotifyEvent(this, &TProbaForm::Changed);
        auto* check = new TCheckBox(this);
        check->SetName("cPotwierdz");
        check->SetCaption("Potwierdź");
        check->SetBounds(420, 124, 150, 20);
        check->SetParent(this);
        check->OnClick = TNotifyEvent(this, &TProbaForm::Clicked);
        auto* list = new TListBox(this);
        list->SetName("lbPliki");
        list->SetBounds(420, 150, 150, 60);
        list->SetParent(this);
        for (const char* item : {"a.txt", "b.txt", "ć.txt"})
            list->Items()->Add(item);
        list->OnClick = TNotifyEvent(this, &TProbaForm::Clicked);
        auto* info = new TLabel(this);
        info->SetName("lInfo");
        info->SetCaption("Gotowe");
        info->SetBounds(420, 216, 150, 16);
        info->SetParent(this);

        // As on the installer's pages: applications to tick, personal data
        // to type.
        auto* programs = new TListView(this);
        programs->SetName("lvProgramy");
        programs->SetBounds(8, 245, 280, 130);
        programs->SetViewStyle(vsReport);
        programs->SetCheckboxes(true);
        programs->SetReadOnly(true);
        programs->SetRowSelect(true);
        programs->SetParent(this);
        for (const char* caption : {"aplikacja", "rozmiar"})
            programs->Columns()->Add()->SetCaption(caption);
        for (const auto& [caption, size] : {std::pair("Edytor", "12 MB"), std::pair("Przeglądarka", "30 MB")}) {
            TListItem* item = programs->Items()->Add();
            item->SetCaption(caption);
            item->SubItems()->Add(size);
        }
        programs->Items()->Item(1)->SetChecked(true);
        programs->OnChange = TLVChangeEvent(this, &TProbaForm::ProgramChanged);
        programs->OnClick = TNotifyEvent(this, &TProbaForm::Clicked);

        auto* data = new TStringGrid(this);
        data->SetName("sgDane");
        data->SetBounds(300, 245, 270, 130);
        data->SetColCount(2);
        data->SetRowCount(3);
        data->SetFixedCols(1);
        data->SetFixedRows(0);
        data->SetOptions(data->Options() | goEditing | goAlwaysShowEditor);
        data->SetParent(this);
        for (int row = 0; row < 3; ++row)
            data->SetCells(0, row, std::string("pole ") + char('a' + row));
        data->SetCells(1, 2, "stare");
        data->OnSetEditText = TSetEditEvent(this, &TProbaForm::CellEdited);
        data->OnSelectCell = TSelectCellEvent(this, &TProbaForm::CellSelecting);
        data->OnClick = TNotifyEvent(this, &TProbaForm::Clicked);
    }

    void ProgramChanged(TObject*, TListItem* item, TItemChange change)
    {
        if (change == ctState)
            Note("state " + item->Caption() + (item->Checked() ? " ticked" : "") + (item->Selected() ? " selected" : ""));
    }
    void CellEdited(TObject*, int col, int row, const std::string& value)
    {
        Note("edit " + std::to_string(col) + "," + std::to_string(row) + "=" + value);
    }
    // The last row is locked.
    void CellSelecting(TObject*, int, int row, bool& can) { can = row != 2; }

    void Changed(TObject* sender) { Note("change " + static_cast<TComponent*>(sender)->Name()); }
    void Clicked(TObject* sender) { Note("click " + static_cast<TComponent*>(sender)->Name()); }
    void bUsunClick(TObject*)
    {
        Note("usun " + std::to_string(MessageDlg("Usunąć plik?", mtConfirmation, {mbYes, mbNo}, 0)));
    }

    void bPytajClick(TObject*)
    {
        auto* dialog = TForm::Create<TPytanieForm>(this);
        const int result = dialog->ShowModal();
        dialog->Free();
        Note("dialog " + std::to_string(result));
    }
    void bSystemClick(TObject*)
    {
        Note("system " + std::to_string(Application->MessageBox("Zastąpić plik?", "Pytanie systemu", MB_YESNO | MB_ICONQUESTION)));
    }
    void bKopiujClick(TObject*)
    {
        // The shell asks before it replaces the file.
        const std::string from = Env("QMX_ZRODLO") + '\0';
        const std::string to = Env("QMX_CEL") + '\0';
        SHFILEOPSTRUCTA op{};
        op.hwnd = Handle();
        op.wFunc = FO_COPY;
        op.pFrom = from.c_str();
        op.pTo = to.c_str();
        op.fFlags = FOF_NOCONFIRMMKDIR | FOF_SILENT;
        Note("copy " + std::to_string(SHFileOperationA(&op)));
    }
    void bZamknijClick(TObject*) { Close(); }
};

} // namespace

int main()
{
    StartUnit(InitFormsUnit, DoneFormsUnit);
    StartUnit(InitListViewUnit, nullptr);
    StartUnit(InitGridsUnit, nullptr);
    TProbaForm* form = nullptr;
    Application->CreateForm(form);
    Application->Run();
    Log = nullptr;
    FinalizeUnits();
    return 3;
}

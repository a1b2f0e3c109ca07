#include "TestForm.h"


#include <gtest/gtest.h>

#include "classlib/ListView.h"
#include "classlib/RichEdit.h"
#include "tests/support/TestUtil.h"

TForm* TestForm()
{
    static TForm* form = nullptr;
    if (!form) {
        InitFormsUnit();
        InitRichEditUnit();
        InitListViewUnit();
        InitGridsUnit();
        form = new TForm(Application);
        form->SetBounds(20, 20, 640, 480);
        form->SetCaption("Listy i siatki");
        form->Show();
        PumpMessages(50);
    }
    return form;
}

void FocusWindow(HWND wnd)
{
    SetForegroundWindow(GetAncestor(wnd, GA_ROOT));
    SetFocus(wnd);
    // A control may hand the focus on to a child of its own (a grid to its
    // editor).
    PumpUntil([wnd] {
        if (GetFocus() == wnd || IsChild(wnd, GetFocus()))
            return true;
        SetFocus(wnd);
        return false;
    });
}

void PressKey(WORD key, TShiftState shift, HWND target)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = (shift & ssShift) ? 0x80 : 0;
    keys[VK_CONTROL] = (shift & ssCtrl) ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(target ? target : GetFocus(), WM_KEYDOWN, key, 1);
    PumpMessages(30);
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

void TypeText(const std::string& text)
{
    for (char c : text) {
        PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
        PumpMessages(10);
    }
}

const char* const DataLabels[14] = {"Imię", "Nazwisko", "Firma", "Adres",   "Kod",  "Miasto",      "E-mail",
                                    "WWW",  "Telefon",  "Faks",  "Bank",    "Numer konta", "NIP", "Regon"};

TDataGrid::TDataGrid(TComponent* owner) : TStringGrid(owner)
{
    SetRowCount(15);
    SetColCount(2);
    SetColWidths(0, 80);
    SetColWidths(1, Width() - ColWidths(0) - 16);
    SetOptions(Options() | goEditing | goTabs | goThumbTracking | goAlwaysShowEditor);
    SetFixedRows(0);
    SetFixedCols(1);
    for (int row = 0; row < 14; ++row)
        SetCells(0, row, DataLabels[row]);
    SetDefaultRowHeight(17);
}

#include "ComponentsForm.h"

#include "classlib/ListView.h"
#include "classlib/Menus.h"
#include "classlib/RichEdit.h"
#include "installer/RXCtrls.h"
#include "installer/ToolEdit.h"
#include "installer/advlistv.h"
#include "tests/support/TestUtil.h"

TForm* ComponentsForm()
{
    static TForm* form = nullptr;
    if (!form) {
        InitFormsUnit();
        InitRichEditUnit();
        InitListViewUnit();
        InitMenusUnit();
        InitAdvListViewUnit();
        InitRXCtrlsUnit();
        InitToolEditUnit();
        form = new TForm(Application);
        form->SetBounds(20, 20, 640, 480);
        form->SetCaption("Komponenty instalatora");
        form->Show();
        PumpMessages(50);
    }
    return form;
}

#include "ComponentsForm.h"

#include "classlib/ListView.h"
#include "classlib/Menus.h"
#include "classlib/PngWriter.h"
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

std::unique_ptr<TBitmap> ClientPicture(TWinControl* control)
{
    const std::unique_ptr<TBitmap> window = CaptureWindow(control->Handle());
    POINT origin{0, 0};
    ClientToScreen(control->Handle(), &origin);
    RECT frame{};
    GetWindowRect(control->Handle(), &frame);
    auto client = std::make_unique<TBitmap>(control->ClientWidth(), control->ClientHeight());
    BitBlt(client->Canvas()->Handle(), 0, 0, control->ClientWidth(), control->ClientHeight(),
           window->Canvas()->Handle(), origin.x - frame.left, origin.y - frame.top, SRCCOPY);
    return client;
}

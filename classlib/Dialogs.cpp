#include "classlib/Dialogs.h"

#include <algorithm>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"

TMessageDlgHook MessageDlgHook;

namespace {

struct ButtonKind {
    const char* caption;
    const char* name;
    TModalResult result;
};

// In the order the buttons stand in the dialog.
const ButtonKind& Kind(TMsgDlgBtn button)
{
    static const ButtonKind kinds[] = {
        {"&Tak", "Yes", mrYes},         {"&Nie", "No", mrNo},
        {"OK", "OK", mrOk},             {"Anuluj", "Cancel", mrCancel},
        {"&Przerwij", "Abort", mrAbort}, {"Powtó&rz", "Retry", mrRetry},
        {"&Ignoruj", "Ignore", mrIgnore}, {"&Wszystkie", "All", mrAll},
        {"Pomo&c", "Help", mrNone},
    };
    return kinds[button];
}

constexpr TMsgDlgBtn AllButtons[] = {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp};

// Pixels of the dialog's layout.
constexpr int Margin = 10;
constexpr int IconSize = 32;
constexpr int IconGap = 12;
constexpr int ButtonGap = 8;
constexpr int ButtonHeight = 25;
constexpr int MinButtonWidth = 75;
constexpr int TextToButtons = 16;

std::string WithoutAccel(const std::string& caption)
{
    std::string s;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        s += caption[i];
    }
    return s;
}

// Owns a form until the end of the scope.
class TFormHolder {
public:
    explicit TFormHolder(TForm* form) : form_(form) {}
    ~TFormHolder() { form_->Free(); }
    TFormHolder(const TFormHolder&) = delete;
    TFormHolder& operator=(const TFormHolder&) = delete;

private:
    TForm* form_;
};

} // namespace

// The dialog's form. Its window class is named after it, so it stays
// outside any namespace.
class TMessageForm : public TForm {
public:
    using TForm::TForm;
    void HelpButtonClick(TObject*)
    {
        if (Application)
            Application->HelpContext(HelpContext());
    }

protected:
    void Dispatch(TMessage& m) override
    {
        TForm::Dispatch(m);
        // Escape with no button to take it: nothing chosen.
        if (m.Msg == CM_DIALOGKEY && m.Result == 0 && m.WParam == VK_ESCAPE) {
            SetModalResult(mrCancel);
            m.Result = 1;
        }
    }
};

std::string MessageDlgCaption(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return "Ostrzeżenie";
    case mtError:
        return "Błąd";
    case mtInformation:
        return "Informacja";
    case mtConfirmation:
        return "Potwierdź";
    default:
        return Application ? Application->Title() : std::string();
    }
}

std::string MessageDlgButtonCaption(TMsgDlgBtn button)
{
    return Kind(button).caption;
}

std::string MessageDlgButtonName(TMsgDlgBtn button)
{
    return Kind(button).name;
}

TForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    if (buttons.Empty())
        buttons = {mbOK};
    auto* form = new TMessageForm(Application);
    try {
        form->SetBorderStyle(bsDialog);
        form->SetPosition(poScreenCenter);
        form->SetCaption(MessageDlgCaption(type));
        form->Font()->SetName("Tahoma");
        form->Font()->SetSize(8);

        std::vector<TMsgDlgBtn> shown;
        for (TMsgDlgBtn b : AllButtons)
            if (buttons.Contains(b))
                shown.push_back(b);
        const TMsgDlgBtn defaultButton = buttons.Contains(mbOK) ? mbOK : buttons.Contains(mbYes) ? mbYes : shown[0];
        const int cancelButton = buttons.Contains(mbCancel) ? mbCancel
                                 : buttons.Contains(mbNo)   ? mbNo
                                 : buttons.Contains(mbOK)   ? mbOK
                                                            : -1;

        // Measured in the dialog's font: the text at most half the screen
        // wide, the buttons as wide as their widest caption needs.
        RECT textRect{0, 0, std::max(200, GetSystemMetrics(SM_CXSCREEN) / 2), 0};
        int buttonWidth = MinButtonWidth;
        {
            TWindowDC screen;
            TSelectObject font(screen.Get(), form->Font()->Handle());
            DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &textRect,
                      DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
            for (TMsgDlgBtn b : shown) {
                const std::string caption = WithoutAccel(Kind(b).caption);
                SIZE size{};
                GetTextExtentPoint32A(screen.Get(), caption.c_str(), static_cast<int>(caption.size()), &size);
                buttonWidth = std::max(buttonWidth, static_cast<int>(size.cx) + 16);
            }
        }
        const bool icon = type != mtCustom;
        const int textLeft = Margin + (icon ? IconSize + IconGap : 0);
        const int textWidth = textRect.right - textRect.left;
        const int textHeight = textRect.bottom - textRect.top;
        const int bodyHeight = std::max(textHeight, icon ? IconSize : 0);
        const int count = static_cast<int>(shown.size());
        const int buttonsWidth = count * buttonWidth + (count - 1) * ButtonGap;
        const int clientWidth = std::max(textLeft + textWidth + Margin, buttonsWidth + 2 * Margin);
        const int buttonTop = Margin + bodyHeight + TextToButtons;
        form->SetClientWidth(clientWidth);
        form->SetClientHeight(buttonTop + ButtonHeight + Margin);

        if (icon) {
            static const LPCSTR icons[] = {IDI_EXCLAMATION, IDI_HAND, IDI_ASTERISK, IDI_QUESTION};
            TBitmap picture(IconSize, IconSize, pf24bit);
            picture.Canvas()->Brush()->SetColor(form->Color());
            picture.Canvas()->FillRect(Rect(0, 0, IconSize, IconSize));
            DrawIconEx(picture.Canvas()->Handle(), 0, 0, LoadIconA(nullptr, icons[type]), IconSize, IconSize, 0,
                       nullptr, DI_NORMAL);
            auto* image = new TImage(form);
            image->SetName("Image");
            image->SetBounds(Margin, Margin, IconSize, IconSize);
            image->Picture()->Assign(&picture);
            image->SetParent(form);
        }

        auto* message = new TLabel(form);
        message->SetName("Message");
        message->SetAutoSize(false);
        message->SetWordWrap(true);
        message->SetShowAccelChar(false);
        message->SetCaption(text);
        message->SetBounds(textLeft, Margin + (bodyHeight - textHeight) / 2, textWidth, textHeight);
        message->SetParent(form);

        int x = (clientWidth - buttonsWidth) / 2;
        for (TMsgDlgBtn b : shown) {
            auto* button = new TButton(form);
            button->SetName(Kind(b).name);
            button->SetCaption(Kind(b).caption);
            button->SetModalResult(Kind(b).result);
            if (b == mbHelp)
                button->OnClick = TNotifyEvent(form, &TMessageForm::HelpButtonClick);
            button->SetDefault(b == defaultButton);
            button->SetCancel(static_cast<int>(b) == cancelButton);
            button->SetBounds(x, buttonTop, buttonWidth, ButtonHeight);
            button->SetParent(form);
            if (b == defaultButton)
                form->SetActiveControl(button);
            x += buttonWidth + ButtonGap;
        }
        form->InitForm();
    } catch (...) {
        form->Free();
        throw;
    }
    return form;
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext)
{
    TMsgDlgRequest request;
    request.Caption = MessageDlgCaption(type);
    request.Text = text;
    request.DlgType = type;
    request.Buttons = buttons.Empty() ? TMsgDlgButtons{mbOK} : buttons;
    request.HelpContext = helpContext;
    int result = mrNone;
    MessageDlgHook(request, result);
    if (result != mrNone)
        return result;

    if (!Application)
        throw EInvalidOperation("A message dialog needs the application (InitFormsUnit)");
    static const UINT beeps[] = {MB_ICONEXCLAMATION, MB_ICONHAND, MB_ICONASTERISK, MB_ICONQUESTION};
    if (type != mtCustom)
        MessageBeep(beeps[type]);
    TForm* form = CreateMessageDialog(text, type, buttons);
    TFormHolder holder(form);
    form->SetHelpContext(helpContext);
    return form->ShowModal();
}

void ShowMessage(const std::string& text)
{
    MessageDlg(text, mtCustom, {mbOK}, 0);
}

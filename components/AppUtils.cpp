#include "components/AppUtils.h"

#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/IniFiles.h"
#include "components/StrUtils.h"

namespace {

TCustomIniFile* IniOf(TObject* storage)
{
    return dynamic_cast<TCustomIniFile*>(storage);
}

// The profile functions drop one pair of quotes around a value.
bool NeedsQuotes(const std::string& value)
{
    if (value.empty())
        return false;
    const char first = value.front();
    return (first == '"' || first == '\'') && value.back() == first;
}

std::string FourNumbers(int a, int b, int c, int d)
{
    return Format("%d,%d,%d,%d", a, b, c, d);
}

int Word(const std::string& text, int n, int defaultValue)
{
    return StrToIntDef(NthWord(n, text, ","), defaultValue);
}

TWindowState StateOfShowCmd(int showCmd, TWindowState defaultState)
{
    switch (showCmd) {
    case SW_SHOWNORMAL:
    case SW_SHOW:
    case SW_RESTORE:
        return wsNormal;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        return wsMinimized;
    case SW_SHOWMAXIMIZED:
        return wsMaximized;
    default:
        return defaultState;
    }
}

} // namespace

std::string DefaultSectionOf(TComponent* Component)
{
    if (!Component)
        return "";
    if (dynamic_cast<TCustomForm*>(Component))
        return Component->ClassName();
    if (auto* control = dynamic_cast<TControl*>(Component)) {
        if (TCustomForm* form = GetParentForm(control))
            return form->ClassName() + Component->Name();
        if (control->Parent())
            return control->Parent()->Name() + Component->Name();
        return Component->Name();
    }
    if (dynamic_cast<TCustomForm*>(Component->Owner()))
        return Format("%s.%s", Component->Owner()->ClassName(), Component->Name());
    return Component->Name();
}

std::string DefaultIniFileName()
{
    return ChangeFileExt(ExtractFileName(ParamStr(0)), ".INI");
}

std::string DefaultRegistryKey()
{
    return "Software\\" + ChangeFileExt(ExtractFileName(ParamStr(0)), "");
}

std::string StorageReadString(TObject* Storage, const std::string& Section, const std::string& Ident,
                              const std::string& Default)
{
    TCustomIniFile* ini = IniOf(Storage);
    return ini ? ini->ReadString(Section, Ident, Default) : Default;
}

int StorageReadInt(TObject* Storage, const std::string& Section, const std::string& Ident, int Default)
{
    return StrToIntDef(StorageReadString(Storage, Section, Ident, IntToStr(Default)), Default);
}

void StorageWriteString(TObject* Storage, const std::string& Section, const std::string& Ident,
                        const std::string& Value)
{
    TCustomIniFile* ini = IniOf(Storage);
    if (!ini)
        return;
    if (dynamic_cast<TIniFile*>(ini) && NeedsQuotes(Value))
        ini->WriteString(Section, Ident, '"' + Value + '"');
    else
        ini->WriteString(Section, Ident, Value);
}

void StorageWriteInt(TObject* Storage, const std::string& Section, const std::string& Ident, int Value)
{
    StorageWriteString(Storage, Section, Ident, IntToStr(Value));
}

std::string ScreenSizeSuffix()
{
    return Format("(%dx%d)", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

std::string ReadSizedValue(TObject* Storage, const std::string& Section, const std::string& Ident)
{
    std::string value = StorageReadString(Storage, Section, Ident + ScreenSizeSuffix(), "");
    if (value.empty())
        value = StorageReadString(Storage, Section, Ident, "");
    return value;
}

void WriteSizedValue(TObject* Storage, const std::string& Section, const std::string& Ident, const std::string& Value)
{
    StorageWriteString(Storage, Section, Ident + ScreenSizeSuffix(), Value);
    StorageWriteString(Storage, Section, Ident, Value);
}

WINDOWPLACEMENT PlacementToSetBack(HWND Wnd)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(Wnd, &wp);
    if (!IsWindowVisible(Wnd))
        wp.showCmd = SW_HIDE;
    return wp;
}

void WriteWindowPlacement(TCustomForm* Form, TObject* Storage, const std::string& Section)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(Form->Handle(), &wp);
    // A minimized program hides its main form behind the application window.
    if (Application && Application->MainForm() == Form && IsIconic(Application->Handle()))
        wp.showCmd = SW_SHOWMINIMIZED;
    StorageWriteInt(Storage, Section, "Flags", static_cast<int>(wp.flags));
    StorageWriteInt(Storage, Section, "ShowCmd", static_cast<int>(wp.showCmd));
    StorageWriteInt(Storage, Section, "PixelsPerInch", Screen->PixelsPerInch());
    WriteSizedValue(Storage, Section, "MinMaxPos",
                    FourNumbers(wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y));
    WriteSizedValue(Storage, Section, "NormPos",
                    FourNumbers(wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                                wp.rcNormalPosition.bottom));
}

void ReadWindowPlacement(TCustomForm* Form, TObject* Storage, const std::string& Section, bool LoadState,
                         bool LoadPosition)
{
    if (!LoadState && !LoadPosition)
        return;
    HWND wnd = Form->Handle();
    WINDOWPLACEMENT wp = PlacementToSetBack(wnd);
    if (LoadPosition) {
        bool found = false;
        wp.flags = static_cast<UINT>(StorageReadInt(Storage, Section, "Flags", static_cast<int>(wp.flags)));
        std::string text = ReadSizedValue(Storage, Section, "MinMaxPos");
        if (!text.empty()) {
            wp.ptMinPosition.x = Word(text, 1, 0);
            wp.ptMinPosition.y = Word(text, 2, 0);
            wp.ptMaxPosition.x = Word(text, 3, 0);
            wp.ptMaxPosition.y = Word(text, 4, 0);
            found = true;
        }
        text = ReadSizedValue(Storage, Section, "NormPos");
        if (!text.empty()) {
            wp.rcNormalPosition.left = Word(text, 1, Form->Left());
            wp.rcNormalPosition.top = Word(text, 2, Form->Top());
            wp.rcNormalPosition.right = Word(text, 3, Form->Left() + Form->Width());
            wp.rcNormalPosition.bottom = Word(text, 4, Form->Top() + Form->Height());
            found = true;
        }
        const int ppi = Screen->PixelsPerInch();
        if (found && StorageReadInt(Storage, Section, "PixelsPerInch", ppi) == ppi) {
            // A form the user cannot size keeps its own size.
            if (Form->BorderStyle() != bsSizeable && Form->BorderStyle() != bsSizeToolWin) {
                wp.rcNormalPosition.right = wp.rcNormalPosition.left + Form->Width();
                wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + Form->Height();
            }
            if (wp.rcNormalPosition.right > wp.rcNormalPosition.left) {
                if (Form->Position() == poScreenCenter)
                    Form->SetPosition(poDesigned);
                SetWindowPlacement(wnd, &wp);
            }
        }
    }
    if (LoadState) {
        const bool mainForm = Application && Application->MainForm() == Form;
        const TWindowState defaultState =
            Form->FormStyle() == fsNormal && Form->Position() == poDefault ? wsMaximized : wsNormal;
        const TWindowState state = StateOfShowCmd(StorageReadInt(Storage, Section, "ShowCmd", SW_HIDE), defaultState);
        if (state == wsMinimized && mainForm) {
            // The program minimizes through its application window.
            Form->SetWindowState(wsNormal);
            PostMessageA(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        Form->SetWindowState(state);
    }
    Form->Update();
}

// Contracts of the standard controls: buttons with the form's dialog keys
// and modal results, the owner-drawn button's hooks, check box and radio
// button toggling, label sizes, edits and memos with their change events and
// lines, and list boxes whose items and selection live with the window.
#include <gtest/gtest.h>

#include "StdTestSupport.h"
#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"

namespace {

class StdControls : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        form = new TForm(Application);
        form->SetBounds(40, 40, 420, 300);
        form->Font()->SetName("Tahoma");
        form->Font()->SetHeight(-11);
    }
    void TearDown() override
    {
        if (form)
            form->Free();
        Application->OnException.Clear();
    }
    TForm* form = nullptr;
};

// Counts the events it hears, by kind and sender name.
struct Recorder {
    std::vector<std::string> log;
    void Click(TObject* s) { log.push_back("click " + dynamic_cast<TComponent*>(s)->Name()); }
    void DblClick(TObject* s) { log.push_back("dblclick " + dynamic_cast<TComponent*>(s)->Name()); }
    void Change(TObject* s)
    {
        auto* c = dynamic_cast<TControl*>(s);
        log.push_back("change " + c->Name() + " '" + c->Text() + "'");
    }
};

// ---------------------------------------------------------------------------
// Buttons

// A dialog: an edit that has the focus first, OK (default, mrOk) and
// "&Anuluj" (cancel, mrCancel).
struct ButtonDialog {
    TForm* form;
    TEdit* edit;
    TButton* ok;
    TButton* cancel;

    ButtonDialog()
    {
        form = new TForm(Application);
        form->SetBounds(150, 150, 300, 150);
        form->SetBorderStyle(bsDialog);
        edit = new TEdit(form);
        edit->SetName("ePole");
        edit->SetBounds(10, 10, 200, 21);
        edit->SetParent(form);
        ok = new TButton(form);
        ok->SetName("bOK");
        ok->SetCaption("OK");
        ok->SetBounds(100, 80, 75, 25);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        ok->SetParent(form);
        cancel = new TButton(form);
        cancel->SetName("bAnuluj");
        cancel->SetCaption("&Anuluj");
        cancel->SetBounds(190, 80, 75, 25);
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        cancel->SetParent(form);
        form->SetActiveControl(edit);
        form->InitForm();
        form->HandleNeeded();
    }
    ~ButtonDialog() { form->Free(); }
    ButtonDialog(const ButtonDialog&) = delete;
    ButtonDialog& operator=(const ButtonDialog&) = delete;
};

struct KeyRow {
    const char* name;
    bool focusCancel;
    bool moveDefault;  // the cancel button made the default one
    UINT message;
    WPARAM key;
    TModalResult expected;
};

TEST_F(StdControls, DialogKeysPressTheDefaultAndTheCancelButton)
{
    const KeyRow rows[] = {
        {"Enter in the edit presses the default button", false, false, WM_KEYDOWN, VK_RETURN, mrOk},
        {"Escape in the edit presses the cancel button", false, false, WM_KEYDOWN, VK_ESCAPE, mrCancel},
        {"Enter on the focused cancel button presses it", true, false, WM_KEYDOWN, VK_RETURN, mrCancel},
        {"Alt and the accelerator press the button", false, false, WM_SYSCHAR, 'a', mrCancel},
        {"Enter follows Default when it moves", false, true, WM_KEYDOWN, VK_RETURN, mrCancel},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.name);
        ButtonDialog d;
        if (row.moveDefault) {
            d.ok->SetDefault(false);
            d.cancel->SetDefault(true);
        }
        TWinControl* target = row.focusCancel ? static_cast<TWinControl*>(d.cancel) : d.edit;
        Later key(50, [&] {
            target->SetFocus();
            PostMessageA(target->Handle(), row.message, row.key, 1);
        });
        Watchdog dog(d.form, 10000);
        EXPECT_EQ(d.form->ShowModal(), row.expected);
    }
}

TEST_F(StdControls, AClickGivesTheFormTheModalResultBeforeOnClickWhichMayTakeItBack)
{
    ButtonDialog d;
    struct Judge {
        TForm* form;
        std::vector<int> seen;
        void Click(TObject*)
        {
            seen.push_back(form->ModalResult());
            if (seen.size() == 1)
                form->SetModalResult(mrNone);  // not yet
        }
    } judge{d.form, {}};
    d.ok->OnClick = TNotifyEvent(&judge, &Judge::Click);
    PostMessageA(d.ok->Handle(), BM_CLICK, 0, 0);
    PostMessageA(d.ok->Handle(), BM_CLICK, 0, 0);
    Watchdog dog(d.form, 10000);
    EXPECT_EQ(d.form->ShowModal(), mrOk);
    EXPECT_EQ(judge.seen, (std::vector<int>{mrOk, mrOk}));

    // A button without a modal result leaves the form's alone.
    d.cancel->SetModalResult(mrNone);
    d.form->SetModalResult(mrNone);
    SendMessageA(d.cancel->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(d.form->ModalResult(), mrNone);
}

TEST_F(StdControls, TheDefaultLookFollowsTheFocus)
{
    ButtonDialog d;
    d.form->Show();
    auto style = [](TButton* b) { return GetWindowLongA(b->Handle(), GWL_STYLE) & BS_TYPEMASK; };
    d.edit->SetFocus();
    EXPECT_EQ(style(d.ok), BS_DEFPUSHBUTTON);
    EXPECT_EQ(style(d.cancel), BS_PUSHBUTTON);
    d.cancel->SetFocus();
    EXPECT_EQ(style(d.ok), BS_PUSHBUTTON);
    EXPECT_EQ(style(d.cancel), BS_DEFPUSHBUTTON);
    d.edit->SetFocus();
    EXPECT_EQ(style(d.ok), BS_DEFPUSHBUTTON);
    d.form->Hide();
}

// An owner-drawn button as the colour button builds it: its own face, its
// own default look, the mouse entering and leaving.
class TFaceButton : public TButton {
public:
    using TButton::TButton;
    std::vector<std::string> Heard;
    int Draws = 0;
    bool OwnLook = true;

protected:
    void CreateParams(TCreateParams& p) override
    {
        TButton::CreateParams(p);
        p.Style |= BS_OWNERDRAW;
    }
    void SetButtonStyle(bool isDefault) override
    {
        if (OwnLook)
            Heard.push_back(isDefault ? "default" : "plain");
        else
            TButton::SetButtonStyle(isDefault);
    }
    void Dispatch(TMessage& m) override
    {
        switch (m.Msg) {
        case CN_DRAWITEM: {
            ++Draws;
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
            TGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(0, 255, 0)));
            FillRect(item->hDC, &item->rcItem, brush.Get());
            m.Result = TRUE;
            return;
        }
        case CM_MOUSEENTER:
            Heard.push_back("enter");
            break;
        case CM_MOUSELEAVE:
            Heard.push_back("leave");
            break;
        }
        TButton::Dispatch(m);
    }
};

TEST_F(StdControls, AnOwnerDrawnButtonPaintsItsFaceAndKeepsItsStyle)
{
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    auto* face = new TFaceButton(form);
    face->SetName("bTwarz");
    face->SetBounds(10, 60, 80, 25);
    face->SetDefault(true);
    face->SetParent(form);
    auto* plain = new TFaceButton(form);  // leaves the look to TButton
    plain->OwnLook = false;
    plain->SetBounds(100, 60, 80, 25);
    plain->SetParent(form);
    form->Show();
    edit->SetFocus();
    face->SetFocus();
    plain->SetFocus();
    form->Update();
    PumpMessages(100);
    EXPECT_GT(face->Draws, 0);
    EXPECT_GT(plain->Draws, 0);
    // Default while another control has the focus, plain once a button has it.
    EXPECT_EQ(face->Heard, (std::vector<std::string>{"default", "default", "plain"}));
    EXPECT_EQ(GetWindowLongA(plain->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

    face->Heard.clear();
    SendMessageA(face->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(face->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(face->Heard, (std::vector<std::string>{"enter", "leave"}));
    form->Hide();
}

// ---------------------------------------------------------------------------
// Check boxes and radio buttons

struct CheckRow {
    const char* name;
    bool allowGrayed;
    TCheckBoxState start;
    std::vector<TCheckBoxState> afterClicks;
};

TEST_F(StdControls, ACheckBoxToggles)
{
    const CheckRow rows[] = {
        {"checked and unchecked", false, cbUnchecked, {cbChecked, cbUnchecked, cbChecked}},
        {"through grayed when allowed", true, cbUnchecked, {cbGrayed, cbChecked, cbUnchecked}},
        {"grayed goes to checked", true, cbGrayed, {cbChecked, cbUnchecked}},
    };
    for (const CheckRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto* box = new TCheckBox(form);
        box->SetName("cbPole");
        box->SetAllowGrayed(row.allowGrayed);
        box->SetState(row.start);
        box->SetParent(form);
        Recorder rec;
        box->OnClick = TNotifyEvent(&rec, &Recorder::Click);
        for (size_t i = 0; i < row.afterClicks.size(); ++i) {
            SCOPED_TRACE(i);
            SendMessageA(box->Handle(), BM_CLICK, 0, 0);
            EXPECT_EQ(box->State(), row.afterClicks[i]);
            EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), row.afterClicks[i]);
            EXPECT_EQ(rec.log.size(), i + 1);
        }
        delete box;
    }
}

TEST_F(StdControls, ACheckBoxChangedByTheProgramFiresOnClickAndKeepsItsStateInANewWindow)
{
    auto* box = new TCheckBox(form);
    box->SetName("cbPole");
    Recorder rec;
    box->OnClick = TNotifyEvent(&rec, &Recorder::Click);
    box->SetChecked(true);  // no window yet
    box->SetChecked(true);
    box->SetParent(form);
    EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box->RecreateWnd();
    EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box->SetChecked(false);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"click cbPole", "click cbPole"}));
}

TEST_F(StdControls, RadioButtonsOfOneParentExcludeEachOther)
{
    auto radio = [&](const char* name, TWinControl* parent, int top) {
        auto* r = new TRadioButton(form);
        r->SetName(name);
        r->SetTop(top);
        r->SetParent(parent);
        return r;
    };
    auto* panel = new TPanel(form);
    panel->SetBounds(200, 0, 150, 100);
    panel->SetParent(form);
    TRadioButton* a = radio("rbA", form, 0);
    TRadioButton* b = radio("rbB", form, 20);
    TRadioButton* c = radio("rbC", panel, 0);
    c->SetChecked(true);
    Recorder rec;
    for (TRadioButton* r : {a, b, c})
        r->OnClick = TNotifyEvent(&rec, &Recorder::Click);

    a->SetChecked(true);
    SendMessageA(b->Handle(), BM_CLICK, 0, 0);
    SendMessageA(b->Handle(), BM_CLICK, 0, 0);  // already checked: nothing
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(c->Checked());  // another parent, another group
    EXPECT_EQ(SendMessageA(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(b->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"click rbA", "click rbB"}));
    // Tab goes to the choice made.
    EXPECT_FALSE(a->TabStop());
    EXPECT_TRUE(b->TabStop());
}

TEST_F(StdControls, TabEntersAGroupOfRadioButtonsAtTheCheckedOne)
{
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    auto* a = new TRadioButton(form);
    a->SetTop(30);
    a->SetParent(form);
    auto* b = new TRadioButton(form);
    b->SetTop(50);
    b->SetParent(form);
    b->SetChecked(true);
    form->Show();
    edit->SetFocus();
    form->SelectNext(edit, true, true);
    EXPECT_EQ(form->ActiveControl(), b);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    form->Hide();
}

// ---------------------------------------------------------------------------
// Label

struct LabelRow {
    const char* name;
    std::string caption;
    bool wordWrap;
    bool showAccel;
    TAlignment alignment;
    std::string measured;  // what the width is measured on
};

TEST_F(StdControls, AnAutoSizedLabelTakesTheSizeOfItsText)
{
    const LabelRow rows[] = {
        {"one line", "Imię i nazwisko", false, true, taLeftJustify, "Imię i nazwisko"},
        {"the accelerator's ampersand takes no room", "&Plik", false, true, taLeftJustify, "Plik"},
        {"without accelerators the ampersand shows", "&Plik", false, false, taLeftJustify, "&Plik"},
        {"an empty label is one blank wide", "", false, true, taLeftJustify, " "},
        {"a right-aligned label keeps its right edge", "Kwota", false, true, taRightJustify, "Kwota"},
    };
    TWindowDC screen;
    TSelectObject font(screen.Get(), form->Font()->Handle());
    TEXTMETRICA tm{};
    GetTextMetricsA(screen.Get(), &tm);
    for (const LabelRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto* label = new TLabel(form);
        label->SetParent(form);
        label->SetAutoSize(false);
        label->SetBounds(100, 10, 50, 17);
        label->SetShowAccelChar(row.showAccel);
        label->SetAlignment(row.alignment);
        label->SetCaption(row.caption);
        label->SetAutoSize(true);
        SIZE size{};
        GetTextExtentPoint32A(screen.Get(), row.measured.c_str(), static_cast<int>(row.measured.size()), &size);
        EXPECT_EQ(label->Width(), size.cx);
        EXPECT_EQ(label->Height(), tm.tmHeight);
        EXPECT_EQ(label->Left() + label->Width(), row.alignment == taRightJustify ? 150 : 100 + size.cx);
        delete label;
    }

    // Word wrap: the width stays, the height holds whole lines.
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 60, 17);
    label->SetWordWrap(true);
    label->SetCaption("jeden dwa trzy cztery pięć sześć siedem");
    label->SetAutoSize(true);
    EXPECT_EQ(label->Width(), 60);
    EXPECT_GE(label->Height(), 3 * tm.tmHeight);
    EXPECT_EQ(label->Height() % tm.tmHeight, 0);
    // Without AutoSize nothing moves.
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 30, 30);
    label->SetCaption("krótko");
    EXPECT_EQ(label->Width(), 30);
    EXPECT_EQ(label->Height(), 30);
}

// ---------------------------------------------------------------------------
// Edit and memo

TEST_F(StdControls, AnEditReportsEveryChangeOfItsTextOnce)
{
    auto* edit = new TEdit(form);
    edit->SetName("eNazwa");
    Recorder rec;
    edit->OnChange = TNotifyEvent(&rec, &Recorder::Change);
    edit->SetText("a");  // no window yet
    edit->SetText("a");
    edit->SetParent(form);
    edit->SetText("b");
    SendMessageA(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ż"));  // from outside
    SendMessageA(edit->Handle(), EM_SETSEL, 1, 1);
    SendMessageA(edit->Handle(), WM_CHAR, 'x', 1);  // typed
    edit->SetSelStart(0);
    edit->SetSelText("<");
    const std::vector<std::string> expected{"change eNazwa 'a'", "change eNazwa 'b'", "change eNazwa 'ż'",
                                            "change eNazwa 'żx'", "change eNazwa '<żx'"};
    EXPECT_EQ(rec.log, expected);
}

TEST_F(StdControls, AnEditKeepsItsSelectionAndLimitAndHonoursThem)
{
    auto* edit = new TEdit(form);
    edit->SetText("Warszawa");
    edit->SetSelStart(2);
    edit->SetSelLength(3);
    EXPECT_EQ(edit->SelText(), "rsz");  // no window yet
    edit->SetParent(form);
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 3);
    edit->SetSelStart(4);
    edit->SetSelLength(4);
    edit->SetModified(true);
    edit->RecreateWnd();
    EXPECT_EQ(edit->SelText(), "zawa");
    EXPECT_TRUE(edit->Modified());
    edit->SetSelText("");
    EXPECT_EQ(edit->Text(), "Wars");

    // The limit stops typing, not the program.
    edit->SetMaxLength(5);
    edit->SetSelStart(4);
    for (char c : std::string("xyz"))
        SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    EXPECT_EQ(edit->Text(), "Warsx");
    edit->SetText("dłuższy tekst");
    EXPECT_EQ(edit->Text(), "dłuższy tekst");
}

TEST_F(StdControls, MemoLinesAreTheLinesOfItsText)
{
    for (bool window : {false, true}) {
        SCOPED_TRACE(window ? "with its window" : "without a window");
        auto* memo = new TMemo(form);
        memo->SetName("mNotatki");
        Recorder rec;
        memo->OnChange = TNotifyEvent(&rec, &Recorder::Change);
        if (window)
            memo->SetParent(form);
        TStrings* lines = memo->Lines();
        lines->Add("Zakończyłem instalowanie programów.");
        lines->Add("");
        lines->Add("trzecia");
        EXPECT_EQ(lines->Count(), 3);
        EXPECT_EQ(lines->Strings(1), "");
        EXPECT_EQ(memo->Text(), "Zakończyłem instalowanie programów.\r\n\r\ntrzecia\r\n");
        lines->Insert(0, "zero");
        lines->Delete(2);
        lines->SetStrings(2, "3");
        EXPECT_EQ(lines->Text(), "zero\r\nZakończyłem instalowanie programów.\r\n3\r\n");
        EXPECT_THROW(lines->Strings(3), EListError);
        EXPECT_EQ(rec.log.size(), 6u);

        TStringList other;
        other.Add("a");
        other.Add("b");
        lines->Assign(&other);  // one change, not one per line
        EXPECT_EQ(rec.log.size(), 7u);
        memo->SetText("x\r\ny");  // a text without a final line break
        EXPECT_EQ(lines->Count(), 2);
        EXPECT_EQ(lines->Strings(1), "y");
        delete memo;
    }
}

TEST_F(StdControls, AMemoTakesEnterUnlessToldOtherwise)
{
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    const LRESULT wants = SendMessageA(memo->Handle(), WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(wants & DLGC_WANTALLKEYS);
    EXPECT_FALSE(wants & DLGC_WANTTAB);
    memo->SetWantReturns(false);
    memo->SetWantTabs(true);
    const LRESULT now = SendMessageA(memo->Handle(), WM_GETDLGCODE, 0, 0);
    EXPECT_FALSE(now & DLGC_WANTALLKEYS);
    EXPECT_TRUE(now & DLGC_WANTTAB);
}

// ---------------------------------------------------------------------------
// List box

// The list box's items, with their objects' tags.
std::vector<std::string> ItemsOf(TCustomListBox* box)
{
    std::vector<std::string> items;
    for (int i = 0; i < box->Count(); ++i) {
        auto* tag = dynamic_cast<TComponent*>(box->Items()->Objects(i));
        items.push_back(box->Items()->Strings(i) + (tag ? "/" + std::to_string(tag->Tag) : ""));
    }
    return items;
}

TEST_F(StdControls, AListBoxKeepsItsItemsAndSelectionWithoutAndAcrossWindows)
{
    auto* box = new TListBox(form);
    box->SetBounds(10, 10, 150, 150);
    TComponent tags(nullptr);
    auto* one = new TComponent(&tags);
    one->Tag = 1;
    auto* two = new TComponent(&tags);
    two->Tag = 2;
    box->SetSorted(true);
    box->Items()->AddObject("żółw", one);
    box->Items()->Add("Ala");
    box->Items()->AddObject("łoś", two);
    box->Items()->Insert(0, "Ęta");  // sorted: goes to its place
    box->Items()->Add("bąk");
    box->SetItemIndex(3);
    const std::vector<std::string> expected{"Ala", "bąk", "Ęta", "łoś/2", "żółw/1"};
    EXPECT_EQ(ItemsOf(box), expected);  // in the locale's order, not the bytes'

    box->SetParent(form);
    box->HandleNeeded();
    EXPECT_EQ(ItemsOf(box), expected);
    EXPECT_EQ(box->ItemIndex(), 3);
    box->SetStyle(lbOwnerDrawFixed);  // a new window
    EXPECT_EQ(ItemsOf(box), expected);
    EXPECT_EQ(box->ItemIndex(), 3);
    box->Items()->SetStrings(3, "łania");  // stays selected, in its place
    EXPECT_EQ(box->ItemIndex(), 3);
    EXPECT_EQ(box->Items()->Strings(3), "łania");

    box->SetMultiSelect(true);  // the selected item stays selected
    EXPECT_TRUE(box->Selected(3));
    box->SetSelected(3, false);
    box->SetSelected(0, true);
    box->SetSelected(4, true);
    box->RecreateWnd();
    EXPECT_EQ(box->SelCount(), 2);
    EXPECT_TRUE(box->Selected(0));
    EXPECT_FALSE(box->Selected(1));
    EXPECT_TRUE(box->Selected(4));
    box->DestroyHandle();
    EXPECT_EQ(box->SelCount(), 2);
    box->Items()->Delete(0);
    EXPECT_EQ(box->SelCount(), 1);
    EXPECT_TRUE(box->Selected(3));
}

TEST_F(StdControls, AListBoxReportsTheUsersChoiceNotTheProgramsOne)
{
    auto* box = new TListBox(form);
    box->SetName("lbWybor");
    box->SetBounds(10, 10, 150, 150);
    box->SetParent(form);
    for (const char* s : {"jeden", "dwa", "trzy"})
        box->Items()->Add(s);
    Recorder rec;
    box->OnClick = TNotifyEvent(&rec, &Recorder::Click);
    box->OnDblClick = TNotifyEvent(&rec, &Recorder::DblClick);
    box->SetItemIndex(0);
    const TRect r = box->ItemRect(1);
    const LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
    SendMessageA(box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(box->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(box->ItemAtPos(Point(r.left + 5, r.top + 1), true), 1);
    EXPECT_EQ(box->ItemAtPos(Point(5, 140), true), -1);
    EXPECT_EQ(box->ItemAtPos(Point(5, 140), false), 3);
    SendMessageA(box->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(box->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"click lbWybor", "dblclick lbWybor"}));

    // A test driver reads and makes the choice as the user would.
    TStringList state;
    box->ProbeState(state, false);
    EXPECT_EQ(state.Text(), "ItemIndex=1\r\n");
    rec.log.clear();
    state.Clear();
    state.Add("ItemIndex=2");
    EXPECT_TRUE(box->ProbeState(state, true));
    EXPECT_EQ(box->ItemIndex(), 2);
    box->SetMultiSelect(true);
    state.Clear();
    state.Add("Selected[0]=1");
    EXPECT_TRUE(box->ProbeState(state, true));
    state.Clear();
    box->ProbeState(state, false);
    EXPECT_EQ(state.Text(), "ItemIndex=0\r\nSelected[0]=1\r\nSelected[2]=1\r\n");
    state.Clear();
    state.Add("Checked[0]=1");
    EXPECT_FALSE(box->ProbeState(state, true));
    EXPECT_EQ(rec.log, (std::vector<std::string>{"click lbWybor", "click lbWybor"}));
}

TEST_F(StdControls, OwnerDrawnListBoxesAskForHeightsAndDrawEachItem)
{
    struct Artist {
        std::vector<std::string> drawn;
        void Measure(TWinControl*, int index, int& height) { height = 14 + 3 * index; }
        void Draw(TWinControl* control, int index, TRect rect, TOwnerDrawState state)
        {
            auto* box = static_cast<TListBox*>(control);
            drawn.push_back(std::to_string(index) + " h" + std::to_string(rect.bottom - rect.top) +
                            ((state & odSelected) ? " selected" : ""));
            box->Canvas()->FillRect(rect);
        }
    } artist;
    auto* box = new TListBox(form);
    box->SetBounds(10, 10, 150, 200);
    box->SetStyle(lbOwnerDrawVariable);
    box->OnMeasureItem = TMeasureItemEvent(&artist, &Artist::Measure);
    box->OnDrawItem = TDrawItemEvent(&artist, &Artist::Draw);
    box->Items()->Add("przed oknem");
    box->SetParent(form);
    box->Items()->Add("w oknie");
    box->Items()->Add("trzecia");
    box->SetItemIndex(1);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(SendMessageA(box->Handle(), LB_GETITEMHEIGHT, i, 0), 14 + 3 * i);
    }
    form->Show();
    box->Repaint();
    PumpMessages(50);
    form->Hide();
    std::sort(artist.drawn.begin(), artist.drawn.end());
    artist.drawn.erase(std::unique(artist.drawn.begin(), artist.drawn.end()), artist.drawn.end());
    EXPECT_EQ(artist.drawn, (std::vector<std::string>{"0 h14", "1 h17 selected", "2 h20"}));
}

} // namespace

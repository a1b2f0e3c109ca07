// Controls of the class library: windowless controls painted by their parent
// (TGraphicControl), controls over real windows (TWinControl), and windowed
// controls that paint themselves through a canvas (TCustomControl).
//
// Messages. Every control has one entry, WndProc, which takes a TMessage
// record; it passes the message to Dispatch, whose overrides handle the
// messages their class cares about (a switch on the message, calling the base
// class's Dispatch for "inherited" and for everything else); what nobody
// handles ends in DefaultHandler, which for a windowed control is the window
// procedure its window class had (DefWindowProc, or the system class's own
// procedure when the control wraps BUTTON, EDIT, ...). Perform sends a message
// straight to WndProc without going through Windows.
//
// Besides the Windows messages, controls exchange the class library's
// notifications (CM_xxx) and the messages a parent reflects to the child they
// concern (CN_xxx = CN_BASE + the Windows message: WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLORxxx, WM_HSCROLL, WM_VSCROLL, and the
// keys the message loop offers a control before dispatching them).
//
// Finding a control from outside the program: every control window carries
// the window property "QmxComponentName"; its value is a global atom whose
// name is the component's Name (no property while the name is empty).
// GetPropA and GlobalGetAtomNameA read it from any process;
// FindComponentWindow below does the search. Window classes of the library's
// own windows are named after the control's class ("TButton", "TeMain").
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Events.h"
#include "classlib/Graphics.h"

class TWinControl;
class TCustomForm;
class TStrings;

// ---------------------------------------------------------------------------
// Messages

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 1;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 2;   // WParam: the new visibility
constexpr UINT CM_COLORCHANGED = CM_BASE + 3;
constexpr UINT CM_FONTCHANGED = CM_BASE + 4;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 5;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 6;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 7;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 9;
// LParam: the control the mouse entered or left.
constexpr UINT CM_MOUSEENTER = CM_BASE + 10;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 11;
// WParam: the virtual key (CM_DIALOGKEY) or the character (CM_DIALOGCHAR),
// LParam: the key data. A control that acts on it answers 1, which stops
// the broadcast.
constexpr UINT CM_DIALOGKEY = CM_BASE + 12;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 13;
// WParam: a virtual key; a control that wants it instead of the form answers 1.
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 14;
// Broadcast to all controls of a form when the focus moves; LParam: the
// control that has it now.
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 15;
// LParam: THintInfo*; a control answers 0 to let the hint show.
constexpr UINT CM_HINTSHOW = CM_BASE + 16;
// WParam: a group index, LParam: the control pressed; for grouped buttons.
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 17;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 18;
// Posted to a form that is to be freed once the current message is done.
constexpr UINT CM_RELEASE = CM_BASE + 19;
// Sent to a control whose Cursor was changed.
constexpr UINT CM_CURSORCHANGED = CM_BASE + 20;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
// Keys offered to the focused control by the message loop before they are
// dispatched; a control that answers 1 has used the key.
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// ---------------------------------------------------------------------------
// Types of the controls' properties and events

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Horizontal placement of a text (labels, panels, list-view columns, grids);
// shared by the controls' units.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Scroll bars of a memo, rich edit or grid.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys and mouse buttons held during an input event, as bits.
using TShiftState = unsigned;
enum : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };

// Border of a form; edits and panels take the first two.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = 8;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;

// What a hint will show; CM_HINTSHOW and the application's OnShowHint may
// change it. Positions are in screen coordinates, CursorRect in the
// control's client coordinates.
struct THintInfo {
    class TControl* HintControl = nullptr;
    TPoint HintPos{};
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect{};
    TPoint CursorPos{};
    std::string HintStr;
};

// The shift state of a key message's moment (from the keyboard state) and of
// a mouse message's WParam.
TShiftState KeyboardShiftState();
TShiftState MouseShiftState(WPARAM keys);
// True when Text has an accelerator ("&" before a character) that is Key,
// compared without regard to letter case; "&&" is a plain "&".
bool IsAccel(char key, const std::string& text);

// Runs f; an exception it raises goes to the application's exception
// handling instead of unwinding further. For code called by Windows (window
// procedures, timers, hooks, enumerations): a C++ exception must never
// travel through a Windows frame. Gives false when f raised.
bool CallbackGuard(TObject* sender, void (*f)(void*), void* context) noexcept;
template <class F>
bool CallbackGuard(TObject* sender, F&& f) noexcept
{
    return CallbackGuard(sender, [](void* c) { (*static_cast<F*>(c))(); }, &f);
}

// ---------------------------------------------------------------------------
// Canvas of a control: while the control paints, the paint device context;
// otherwise a device context of the control's window (or, for a windowless
// control, of its parent's window, moved and clipped to the control), taken
// when first drawn on and let go after the current message.

class TControl;

class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : control_(control) {}
    ~TControlCanvas() override;
    TControl* Control() const { return control_; }
    // Lets a device context taken by the canvas itself go.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* control_;
    HWND window_ = nullptr;
    HDC ownDC_ = nullptr;
};

// Lends a device context to a control's canvas while it lives: the canvas
// lets its own go first, and holds none again when this goes, on every way
// out, so that it never keeps a context that belongs to someone else.
class TCanvasDCLoan {
public:
    TCanvasDCLoan(TControlCanvas* canvas, HDC dc) : canvas_(canvas)
    {
        canvas_->FreeHandle();
        canvas_->SetHandle(dc);
    }
    ~TCanvasDCLoan() { canvas_->SetHandle(nullptr); }
    TCanvasDCLoan(const TCanvasDCLoan&) = delete;
    TCanvasDCLoan& operator=(const TCanvasDCLoan&) = delete;

private:
    TControlCanvas* canvas_;
};

// ---------------------------------------------------------------------------
// TControl

enum TControlStyleFlag : unsigned {
    csAcceptsControls = 1u << 0,  // may be the parent of other controls
    csCaptureMouse = 1u << 1,     // captures the mouse while a button is held
    csClickEvents = 1u << 2,      // a press and release on it is a click
    csOpaque = 1u << 3,           // paints all of its area itself
    csDoubleClicks = 1u << 4,     // double clicks are double clicks, not a second press
};

enum TControlStateFlag : unsigned {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,
    csFocusing = 1u << 2,
    csCustomPaint = 1u << 3,  // paints through its canvas (WM_PAINT is handled)
    csAlignmentNeeded = 1u << 4,
    csCreatingHandle = 1u << 5,
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Parentage: the parent shows the control and frees it when it goes
    // (whoever owns it).
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;

    // Bounds in the parent's client coordinates (a form: on the screen).
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    virtual void SetBounds(int left, int top, int width, int height);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* font) { font_->Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }

    // Caption and Text are one text; a window that the user can type into
    // is asked for it.
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& text) { SetText(text); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& text);

    unsigned ControlStyle() const { return controlStyle_; }
    void SetControlStyle(unsigned style) { controlStyle_ = style; }
    unsigned ControlState() const { return controlState_; }

    // Visible, and every parent up to the form visible too.
    virtual bool Showing() const;
    // The client area in the control's own coordinates.
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    virtual void SetClientWidth(int value) { SetWidth(value); }
    virtual void SetClientHeight(int value) { SetHeight(value); }
    TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;

    virtual void Invalidate();
    // Paints what is invalid now.
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    virtual void BringToFront();

    // The windowless control that has the mouse captured, if any; a windowed
    // one uses the system's capture.
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

    virtual void Click();
    virtual void DblClick();

    // State that no published property shows, for the test probe
    // (UiProbe.h), as "Key=Value" lines: "Checked[2]=1", "Cells[1,3]=Jan",
    // "Selected[0]=1". Reading (change false) adds the control's lines.
    // Changing makes each line's change as the user would (a tick fires
    // what a tick fires) and answers whether every key was known.
    virtual bool ProbeState(TStrings& lines, bool change)
    {
        (void)lines;
        (void)change;
        return false;
    }

protected:
    friend class TWinControl;
    friend class TCustomForm;
    friend class TApplication;

    // Handles the messages of the class; the base passes the rest to
    // DefaultHandler.
    virtual void Dispatch(TMessage& message);
    virtual std::string GetText() const { return text_; }
    virtual void TextChanged() {}

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // The bounds changed (size or place); fires OnResize when the size did.
    virtual void Resize();
    // The control sits in a parent that is realigning it.
    virtual void RequestAlign();
    // Sends a message to the control only while it is not being destroyed.
    void Changed(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // After the bounds changed: the parent realigns an aligned control, a
    // resized windowed control realigns its children, Resize.
    void AfterBoundsChange(bool sized);
    void SetControlState(unsigned flags, bool on);

    // The canvas used while painting (windowless and custom controls).
    TControlCanvas* ControlCanvas();

    std::string text_;

private:
    void FontChanged(TObject*);
    void MouseButtonMessage(TMessage& message, TMouseButton button, bool down, bool dbl);
    void TakeParentFont();

    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = true;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool takingParentFont_ = false;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    int helpContext_ = 0;
    unsigned controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
    unsigned controlState_ = 0;
    std::unique_ptr<TControlCanvas> canvas_;
};

// ---------------------------------------------------------------------------
// TWinControl

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // The window class: registered under WinClassName with the library's
    // window procedure. CreateSubClass fills it from a system class.
    WNDCLASSA WindowClass{};
    std::string WinClassName;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The window, made on first demand together with those of its visible
    // children; EInvalidOperation when the control has no parent window.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window (and its children's); it is made again on demand,
    // with the control's state (text, bounds, visibility) kept.
    void DestroyHandle();
    void RecreateWnd();
    // A window outside the library to hold this control (a control without a
    // parent control).
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND wnd);

    // Children, in the order they were inserted (the later ones on top).
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }
    // The topmost visible, enabled child (with allowDisabled also a disabled
    // one) at a point of the client area; windowed children only with
    // allWindowed.
    TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allWindowed = false) const;
    bool ContainsControl(const TControl* control) const;
    // Sends a message to every child until one answers non-zero.
    void Broadcast(TMessage& message);

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    int TabOrder() const;
    void SetTabOrder(int value);
    // The windowed descendants in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // Focuses the next (or previous) control of the tab order after
    // current, wrapping around; only tab stops with checkTabStop.
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    // Alignment of the children is held while the count is above zero.
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    void Realign();
    // Places the aligned children in the client area: top ones down from
    // the top, bottom ones up from the bottom, then left, right, and client
    // ones in what is left. Within one kind, by their position (top, bottom,
    // left, right), the control that moved first.
    virtual void AlignControls(TControl* moved, TRect& rect);
    // The area the children are aligned in; a control with a border of its
    // own makes it smaller.
    virtual void AdjustClientRect(TRect& rect) { (void)rect; }

    TBrush* Brush() { return &brush_; }

    void SetName(const std::string& name) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetClientWidth(int value) override;
    void SetClientHeight(int value) override;
    void SetVisible(bool visible) override;
    bool Showing() const override;
    TRect ClientRect() const override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void BringToFront() override;
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void Loaded() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    friend class TControl;
    friend class TCustomForm;

    virtual void CreateParams(TCreateParams& params);
    // Makes the params' class a copy of a system window class, so the
    // control's window is that class's window with the library's procedure
    // in front of it.
    void CreateSubClass(TCreateParams& params, const char* systemClass);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    // After the window exists: its font, the children's windows.
    virtual void CreateHandle();
    virtual void DestroyWnd();
    void Dispatch(TMessage& message) override;
    std::string GetText() const override;

    virtual void DoEnter() { OnEnter(this); }
    virtual void DoExit() { OnExit(this); }
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void KeyUp(WORD& key, TShiftState shift);
    // Paints through the canvas (custom controls, forms).
    virtual void PaintWindow(HDC dc);
    // Paints the windowless children into a device context of this window.
    void PaintControls(HDC dc, const TRect& clip);
    // Control identifier of the window among its siblings.
    int ControlId() const { return controlId_; }
    // A window of its own on the desktop (forms, hint windows) rather than a
    // child window.
    virtual bool IsTopLevel() const { return false; }
    // Sends a message to every child.
    void NotifyControls(UINT msg);

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;

private:
    friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void AlignControl(TControl* moved);
    void UpdateShowing();
    void UpdateBoundsFromWindow();
    bool RouteMouseToChild(TMessage& message);
    void Reflect(TMessage& message, HWND child);
    bool DoKeyDown(TMessage& message);
    bool DoKeyPress(TMessage& message);
    bool DoKeyUp(TMessage& message);
    void DialogKeyMessage(TMessage& message);
    void DialogCharMessage(TMessage& message);
    void WmSetCursor(TMessage& message);
    void WmPaint(TMessage& message);
    void Detach();
    void UpdateNameProperty();
    void SortTabList();
    void FrameSize(int& dx, int& dy) const;

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    HWND parentWindow_ = nullptr;
    bool tabStop_ = false;
    int tabOrderRequest_ = -1;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    int clientWidthRequest_ = -1;
    int clientHeightRequest_ = -1;
    int controlId_ = 0;
    ATOM nameAtom_ = 0;
    TBrush brush_;
};

// A windowless control, drawn by Paint on its parent's window.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    TCanvas* Canvas() { return ControlCanvas(); }

protected:
    friend class TWinControl;
    virtual void Paint() {}
    void Dispatch(TMessage& message) override;
};

// A windowed control of the library's own class that paints itself in Paint.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    TCanvas* Canvas() { return ControlCanvas(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
};

// The library's control whose window this is, or nullptr.
TControl* FindControl(HWND wnd);
// The control of the library under a point of the screen, windowless ones
// included; nullptr when none is there.
TControl* FindDragTarget(TPoint pos, bool allowDisabled);
// A window of any process with this component name (see the top of this
// file): among the children of parent (all descendants), or, for no parent,
// among the top-level windows. Names compare without regard to letter case.
HWND FindComponentWindow(HWND parent, const std::string& name);
// The component name a window carries, empty when none.
std::string ComponentNameOfWindow(HWND wnd);

// A control used where it cannot be (no parent window, an invisible window
// made modal, a disabled control focused).
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

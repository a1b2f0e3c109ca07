// The grid's construction, settings, column-size store, update lock, the
// owner form's resize hook and the published table.
#include "grid/AdvGrid.h"

#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/RichEdit.h"
#include "classlib/TypInfo.h"
#include "common/GridInc.h"
#include "grid/AdvGridDrop.h"
#include "grid/AdvObj.h"

namespace {

int ReadCommCtrlVersion()
{
    return GetFileVersionMS("comctl32.dll");
}

TAdvStringGrid::TVersionReader commCtrlVersion = &ReadCommCtrlVersion;

// The largest version without the date and time picker: 4.69.
constexpr int LastVersionWithoutPicker = 0x00040045;

} // namespace

TAdvStringGrid::TVersionReader TAdvStringGrid::SetCommCtrlVersionReader(TVersionReader reader)
{
    const TVersionReader old = commCtrlVersion;
    commCtrlVersion = reader ? reader : &ReadCommCtrlVersion;
    return old;
}

TAdvStringGrid::TAdvStringGrid(TComponent* owner)
    : TStringGrid(owner), printSettings_(std::make_unique<TPrintsettings>()),
      htmlSettings_(std::make_unique<THTMLSettings>()), navigation_(std::make_unique<TNavigation>()),
      columnSize_(std::make_unique<TColumnSize>(this)), cellNode_(std::make_unique<TCellNode>(this)),
      sizeWhileTyping_(std::make_unique<TSizeWhileTyping>()), mouseActions_(std::make_unique<TMouseActions>()),
      columnHeaders_(std::make_unique<TStringList>()), rowHeaders_(std::make_unique<TStringList>()),
      fixedFont_(std::make_unique<TFont>()), lookupItems_(std::make_unique<TStringList>()),
      sortUpGlyph_(std::make_unique<TBitmap>()), sortDownGlyph_(std::make_unique<TBitmap>()),
      backGround_(std::make_unique<TBackGround>(this)),
      hiddenRows_(std::make_unique<TCollection>(&CollectionItemClass<TGridItem>, this)),
      filter_(std::make_unique<TFilter>(this)), intList_(std::make_unique<TIntList>(0, 0)),
      scratch_(std::make_unique<TStringList>())
{
    columnHeaders_->OnChange = TNotifyEvent(this, &TAdvStringGrid::HeadersChanged);
    rowHeaders_->OnChange = TNotifyEvent(this, &TAdvStringGrid::HeadersChanged);
    fixedFont_->OnChange = TNotifyEvent(this, &TAdvStringGrid::FixedFontChanged);
    hintWindow_ = new THintWindow(this);

    SetAutoSize(false);
    hintColor_ = 0x0000FFFF;
    selectionColor_ = clHighlight;
    selectionTextColor_ = clHighlightText;
    vAlignment_ = vtaTop;

    for (int direction = 0; direction < 4; ++direction) {
        arrows_[direction] = new TArrowWindow(this, direction);
        arrows_[direction]->SetVisible(false);
    }

    if (auto* form = dynamic_cast<TCustomForm*>(owner)) {
        ownerForm_ = form;
        formResize_ = form->OnResize;
        form->OnResize = TNotifyEvent(this, &TAdvStringGrid::FormResized);
        formWidth_ = form->Width();
        formHeight_ = form->Height();
    }

    SetDefaultRowHeight(21);
    zoom_ = 0;
    stretching_ = true;

    // The grid's cursors, where the program carries them.
    LoadGridCursors();
    DetectWheel();

    scrollType_ = ssNormal;
    scrollColor_ = clNone;
    scrollWidth_ = GetSystemMetrics(SM_CXVSCROLL);

    richEdit_ = new TRichEdit(this);
    richEdit_->SetVisible(false);
    richEdit_->SetBorderStyle(bsNone);

    hasDatePicker_ = commCtrlVersion() > LastVersionWithoutPicker;
    CreateControlEditors();
    editorType_ = etText;
}

TAdvStringGrid::~TAdvStringGrid()
{
    if (ownerForm_ && !ownerForm_->IsDestroying() && ownerForm_->OnResize.Object() == this)
        ownerForm_->OnResize = formResize_;
    if (columnSize_->Save)
        SaveColumnSizes();
    ClearAll();
    Destroying();
    columnHeaders_->OnChange.Clear();
    rowHeaders_->OnChange.Clear();
    fixedFont_->OnChange.Clear();
    SetCursor(normalCursor_);
}

int TAdvStringGrid::VersionNumber()
{
    return 1 | (86 << 16);
}

std::string TAdvStringGrid::VersionText()
{
    return "1.86, Nov 22 1999";
}

// ---------------------------------------------------------------------------
// Update lock

void TAdvStringGrid::BeginUpdate()
{
    ++updateCount_;
}

void TAdvStringGrid::EndUpdate()
{
    if (updateCount_ <= 0)
        return;
    if (--updateCount_ == 0)
        Invalidate();
}

// ---------------------------------------------------------------------------
// Column sizes

void TAdvStringGrid::SaveColumnSizes()
{
    const TColumnSize& cs = *columnSize_;
    if (cs.Key.empty() || cs.Section.empty())
        return;
    for (int col = 0; col < ColCount(); ++col)
        WritePrivateProfileStringA(cs.Section.c_str(), ("col" + std::to_string(col)).c_str(),
                                   std::to_string(ColWidths(col)).c_str(), cs.Key.c_str());
}

void TAdvStringGrid::LoadColumnSizes()
{
    const TColumnSize& cs = *columnSize_;
    if (cs.Key.empty() || cs.Section.empty())
        return;
    for (int col = 0; col < ColCount(); ++col) {
        const int width = static_cast<int>(
            GetPrivateProfileIntA(cs.Section.c_str(), ("col" + std::to_string(col)).c_str(), -1, cs.Key.c_str()));
        if (width != -1)
            SetColWidths(col, width);
    }
}

void TAdvStringGrid::StretchLastColumn()
{
    if (!columnSize_->Stretch() || ColCount() <= 0 || !stretching_)
        return;
    stretching_ = false;
    try {
        const int client = ClientWidth();
        if (ColCount() == 1) {
            SetColWidths(0, client);
        } else {
            int sum = 0;
            for (int col = 0; col <= ColCount() - 2; ++col)
                sum += ColWidths(col) + GridLineWidth();
            if (sum < client)
                SetColWidths(ColCount() - 1, client - sum - 1);
        }
    } catch (...) {
        stretching_ = true;
        throw;
    }
    stretching_ = true;
}

void TAdvStringGrid::FormResized(TObject* sender)
{
    auto* form = dynamic_cast<TCustomForm*>(sender);
    if (sizeWithForm_ && form) {
        const int width = form->Width() + Width() - formWidth_;
        const int height = form->Height() + Height() - formHeight_;
        if (width > 0 && height > 0) {
            SetBounds(Left(), Top(), width, height);
            formWidth_ = form->Width();
            formHeight_ = form->Height();
        }
    }
    if (formResize_) {
        try {
            formResize_(sender);
        } catch (...) {
            // The form's own handler may fail; the grid still follows the form.
        }
    }
    StretchLastColumn();
}

// ---------------------------------------------------------------------------
// Setters

void TAdvStringGrid::SetAutoSize(bool v)
{
    autoSize_ = v;
    if (v)
        FitAllColumns(false, 10);
}

void TAdvStringGrid::SetVAlignment(TVAlignment v)
{
    vAlignment_ = v;
    Invalidate();
}

void TAdvStringGrid::SetSortShow(bool v)
{
    sortShow_ = v;
    Invalidate();
}

void TAdvStringGrid::SetSortColumn(int v)
{
    sortColumn_ = v;
    Invalidate();
}

void TAdvStringGrid::SetSelectionColor(TColor v)
{
    selectionColor_ = v;
    Invalidate();
}

void TAdvStringGrid::SetSelectionTextColor(TColor v)
{
    selectionTextColor_ = v;
    Invalidate();
}

void TAdvStringGrid::SetSelectionRectangle(bool v)
{
    selectionRectangle_ = v;
    Invalidate();
}

void TAdvStringGrid::SetGridImages(TCustomImageList* v)
{
    if (gridImages_)
        gridImages_->RemoveFreeNotification(this);
    gridImages_ = v;
    if (v)
        v->FreeNotification(this);
}

void TAdvStringGrid::SetFixedFooters(int v)
{
    fixedFooters_ = v;
    Invalidate();
}

void TAdvStringGrid::SetFixedRightCols(int v)
{
    fixedRightCols_ = v;
    Invalidate();
}

void TAdvStringGrid::SetFixedFont(TFont* v)
{
    fixedFont_->Assign(v);
    Invalidate();
}

void TAdvStringGrid::FixedFontChanged(TObject*)
{
    Invalidate();
}

void TAdvStringGrid::SetWordWrap(bool v)
{
    wordWrap_ = v;
    if (TAdvInplaceEdit* editor = AdvEditor())
        editor->Setwordwrap(v);
    Invalidate();
}

void TAdvStringGrid::SetLookupItems(TStrings* v)
{
    if (v)
        lookupItems_->Assign(v);
}

void TAdvStringGrid::SetBackGround(TBackGround* v)
{
    backGround_->Assign(v);
    Invalidate();
}

// ---------------------------------------------------------------------------
// The window and the component

void TAdvStringGrid::Loaded()
{
    TStringGrid::Loaded();
    normalCursor_ = Cursor();
    ApplyColumnHeaders();
    ApplyRowHeaders();
}

void TAdvStringGrid::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == gridImages_)
        gridImages_ = nullptr;
    TStringGrid::Notification(component, operation);
}

void TAdvStringGrid::CreateWnd()
{
    TStringGrid::CreateWnd();
    ScrollWindowCreated();
    richEdit_->SetParent(this);
    richEdit_->SetBounds(0, richEdit_->Top(), 0, richEdit_->Height());
    if (columnSize_->Save)
        LoadColumnSizes();
    MouseWindowCreated();
    DropWindowCreated();
}

void TAdvStringGrid::DestroyWnd()
{
    DropWindowDestroying();
    TStringGrid::DestroyWnd();
}

void TAdvStringGrid::Dispatch(TMessage& m)
{
    if (m.Msg == WM_DESTROY)
        DropWindowDestroying();
    if (ScrollMessage(m) || MouseMessage(m))
        return;
    switch (m.Msg) {
    case WM_PAINT:
        if (updateCount_ > 0) {
            // Ignored, but the window is valid again: no paint message loops.
            ValidateRect(handle_, nullptr);
            m.Result = 0;
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (updateCount_ > 0) {
            m.Result = 1;
            return;
        }
        break;
    case WM_SETFOCUS:
        TStringGrid::Dispatch(m);
        WindowFocusGained(reinterpret_cast<HWND>(m.WParam));
        return;
    }
    TStringGrid::Dispatch(m);
}

void TAdvStringGrid::Resize()
{
    TStringGrid::Resize();
    StretchLastColumn();
    ScrollExtentChanged(true);
}

void TAdvStringGrid::ColWidthsChanged()
{
    TStringGrid::ColWidthsChanged();
    StretchLastColumn();
    ColumnSized();
}

void TAdvStringGrid::SizeChanged(int oldColCount, int oldRowCount)
{
    TStringGrid::SizeChanged(oldColCount, oldRowCount);
    if (Parent() && columnSize_->Stretch())
        StretchLastColumn();
    ScrollExtentChanged(true);
}

// ---------------------------------------------------------------------------
// Published table

const TClassInfo* TAdvStringGrid::ClassInfo() const
{
    return &StaticClass();
}

#define QMX_PROP(Kind, name) Publish##Kind<&TAdvStringGrid::name, &TAdvStringGrid::Set##name>(#name)
#define QMX_EVENT(name) PublishEvent<&TAdvStringGrid::name>(#name)

const TClassInfo& TAdvStringGrid::StaticClass()
{
    static const TClassInfo info(
        "TAdvStringGrid", &TStringGrid::StaticClass(), &NewComponent<TAdvStringGrid>,
        {
            QMX_PROP(Boolean, AutoNumAlign),
            QMX_PROP(Boolean, AutoSize),
            PublishEnum<&TAdvStringGrid::VAlignment, &TAdvStringGrid::SetVAlignment>(
                "VAlignment", {"vtaCenter", "vtaTop", "vtaBottom"}),
            QMX_PROP(Boolean, EnhTextSize),
            QMX_PROP(Boolean, EnhRowColMove),
            QMX_PROP(Boolean, SortFixedCols),
            QMX_PROP(Boolean, SizeWithForm),
            QMX_PROP(Boolean, Multilinecells),
            PublishEnum<&TAdvStringGrid::SortDirection, &TAdvStringGrid::SetSortDirection>(
                "SortDirection", {"sdAscending", "sdDescending"}),
            QMX_PROP(Boolean, SortFull),
            QMX_PROP(Boolean, SortAutoFormat),
            QMX_PROP(Boolean, SortShow),
            QMX_PROP(Integer, SortColumn),
            QMX_PROP(Boolean, EnableGraphics),
            QMX_PROP(Color, HintColor),
            QMX_PROP(Boolean, HintShowCells),
            QMX_PROP(Color, SelectionColor),
            QMX_PROP(Color, SelectionTextColor),
            QMX_PROP(Boolean, SelectionRectangle),
            QMX_PROP(Boolean, SelectionRTFKeep),
            QMX_PROP(Boolean, OleDropTarget),
            QMX_PROP(Boolean, OleDropSource),
            QMX_PROP(Boolean, OleDropRTF),
            QMX_PROP(Object, PrintSettings),
            QMX_PROP(Object, HTMLSettings),
            QMX_PROP(Object, Navigation),
            QMX_PROP(Object, ColumnSize),
            QMX_PROP(Object, CellNode),
            QMX_PROP(Object, SizeWhileTyping),
            QMX_PROP(Object, MouseActions),
            QMX_PROP(Component, GridImages),
            PublishEnum<&TAdvStringGrid::IntelliPan, &TAdvStringGrid::SetIntelliPan>(
                "IntelliPan", {"ipVertical", "ipHorizontal", "ipBoth"}),
            QMX_PROP(Color, URLColor),
            QMX_PROP(Boolean, URLShow),
            QMX_PROP(Boolean, URLFull),
            QMX_PROP(Boolean, URLEdit),
            PublishEnum<&TAdvStringGrid::ScrollType, &TAdvStringGrid::SetScrollType>(
                "ScrollType", {"ssNormal", "ssFlat", "ssEncarta"}),
            QMX_PROP(Color, ScrollColor),
            QMX_PROP(Integer, ScrollWidth),
            QMX_PROP(Boolean, ScrollProportional),
            PublishEnum<&TAdvStringGrid::ScrollHints, &TAdvStringGrid::SetScrollHints>(
                "ScrollHints", {"shNone", "shVertical", "shHorizontal", "shBoth"}),
            QMX_PROP(Boolean, OemConvert),
            QMX_PROP(Integer, FixedFooters),
            QMX_PROP(Integer, FixedRightCols),
            QMX_PROP(Integer, FixedColWidth),
            QMX_PROP(Integer, FixedRowHeight),
            QMX_PROP(Object, FixedFont),
            QMX_PROP(Boolean, WordWrap),
            QMX_PROP(Strings, ColumnHeaders),
            QMX_PROP(Strings, RowHeaders),
            QMX_PROP(Strings, LookupItems),
            QMX_PROP(Boolean, Lookup),
            QMX_PROP(Boolean, LookupCaseSensitive),
            QMX_PROP(Boolean, LookupHistory),
            QMX_PROP(Object, SortUpGlyph),
            QMX_PROP(Object, SortDownGlyph),
            QMX_PROP(Object, BackGround),
            QMX_PROP(Boolean, Hovering),
            QMX_PROP(Object, Filter),
            QMX_PROP(Boolean, FilterActive),
            QMX_EVENT(OnGetCellColor),
            QMX_EVENT(OnGetCellPrintColor),
            QMX_EVENT(OnGetCellBorder),
            QMX_EVENT(OnGetCellPrintBorder),
            QMX_EVENT(OnGetAlignment),
            QMX_EVENT(OnGetFormat),
            QMX_EVENT(OnGridHint),
            QMX_EVENT(OnRowChanging),
            QMX_EVENT(OnColChanging),
            QMX_EVENT(OnCellChanging),
            QMX_EVENT(OnAutoInsertRow),
            QMX_EVENT(OnAutoInsertCol),
            QMX_EVENT(OnAutoDeleteRow),
            QMX_EVENT(OnClickSort),
            QMX_EVENT(OnCanSort),
            QMX_EVENT(OnExpandNode),
            QMX_EVENT(OnContractNode),
            QMX_EVENT(OnCustomCompare),
            QMX_EVENT(OnRawCompare),
            QMX_EVENT(OnClickCell),
            QMX_EVENT(OnRightClickCell),
            QMX_EVENT(OnDblClickCell),
            QMX_EVENT(OnCanEditCell),
            QMX_EVENT(OnIsFixedCell),
            QMX_EVENT(OnIsPasswordCell),
            QMX_EVENT(OnAnchorClick),
            QMX_EVENT(OnCellValidate),
            QMX_EVENT(OnGetEditorType),
            QMX_EVENT(OnEllipsClick),
            QMX_EVENT(OnCheckBoxClick),
            QMX_EVENT(OnRadioClick),
            QMX_EVENT(OnComboChange),
            QMX_EVENT(OnSpinClick),
            QMX_EVENT(OnScrollHint),
            QMX_EVENT(OnEndColumnSize),
            QMX_EVENT(OnPrintPage),
            QMX_EVENT(OnPrintStart),
            QMX_EVENT(OnFitToPage),
            QMX_EVENT(OnPrintNewPage),
            QMX_EVENT(OnPrintSetColumnWidth),
            QMX_EVENT(OnPrintSetRowHeight),
        });
    return info;
}

void InitAdvGridUnit()
{
    StartAdvGridOleOrHalt();
    RegisterComponentClass(TAdvStringGrid::StaticClass());
    InitAdvSpinUnit();
    InitASGEditUnit();
    InitAdvComboUnit();
}

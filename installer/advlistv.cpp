#include "installer/advlistv.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/IniFiles.h"
#include "classlib/TypInfo.h"
#include "common/HtmlDraw.h"

namespace {

constexpr UINT_PTR ScrollTimerId = 1222;
constexpr TCursor crURLCursor = 8019;

// The sort's data column and direction, shared by all views of the program
// (one sort runs at a time, on the one GUI thread).
int sortDataColumn = -2;
int sortFactor = 1;

const std::string& ItemText(TListItem* item, int dataColumn, std::string& buffer)
{
    if (dataColumn < 0)
        return item->Caption();
    TStrings* sub = item->SubItems();
    buffer = dataColumn < sub->Count() ? sub->Strings(dataColumn) : std::string();
    return buffer;
}

int AdvCompare(TListItem* item1, TListItem* item2, LPARAM data)
{
    auto* view = reinterpret_cast<TAdvListView*>(data);
    std::string b1, b2;
    const std::string& t1 = ItemText(item1, sortDataColumn, b1);
    const std::string& t2 = ItemText(item2, sortDataColumn, b2);
    return CompareCells(view, sortDataColumn, t1, t2, view->OnGetFormat, view->OnCustomCompare) * sortFactor;
}

bool ShiftDown(int key)
{
    return GetKeyState(key) < 0;
}

const char* const EditViewProp = "QmxAdvListViewEdit";

} // namespace

// ---------------------------------------------------------------------------
// Option classes

void TColumnSize::Assign(const TPersistent* source)
{
    if (auto* o = dynamic_cast<const TColumnSize*>(source)) {
        Save = o->Save;
        Key = o->Key;
        Section = o->Section;
        Stretch = o->Stretch;
        Storage = o->Storage;
        return;
    }
    TPersistent::Assign(source);
}

const TClassInfo* TColumnSize::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TColumnSize::StaticClass()
{
    static const TClassInfo info("TColumnSize", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishBoolean<&TColumnSize::Save, &TColumnSize::Save>("Save"),
                                     PublishString<&TColumnSize::Key, &TColumnSize::Key>("Key"),
                                     PublishString<&TColumnSize::Section, &TColumnSize::Section>("Section"),
                                     PublishBoolean<&TColumnSize::Stretch, &TColumnSize::Stretch>("Stretch"),
                                     PublishEnum<&TColumnSize::Storage, &TColumnSize::Storage>(
                                         "Storage", {"stInifile", "stRegistry"}),
                                 });
    return info;
}

TPrintsettings::TPrintsettings()
    : font_(std::make_unique<TFont>()), headerFont_(std::make_unique<TFont>()), footerFont_(std::make_unique<TFont>())
{
}

void TPrintsettings::Assign(const TPersistent* source)
{
    if (auto* o = dynamic_cast<const TPrintsettings*>(source)) {
        Time = o->Time;
        Date = o->Date;
        PageNr = o->PageNr;
        Title = o->Title;
        DateFormat = o->DateFormat;
        TitleText = o->TitleText;
        font_->Assign(o->font_.get());
        headerFont_->Assign(o->headerFont_.get());
        footerFont_->Assign(o->footerFont_.get());
        Borders = o->Borders;
        BorderStyle = o->BorderStyle;
        Centered = o->Centered;
        RepeatHeaders = o->RepeatHeaders;
        UseFixedHeight = o->UseFixedHeight;
        UseFixedWidth = o->UseFixedWidth;
        FooterSize = o->FooterSize;
        HeaderSize = o->HeaderSize;
        LeftSize = o->LeftSize;
        RightSize = o->RightSize;
        ColumnSpacing = o->ColumnSpacing;
        RowSpacing = o->RowSpacing;
        FixedWidth = o->FixedWidth;
        FixedHeight = o->FixedHeight;
        Orientation = o->Orientation;
        PagePrefix = o->PagePrefix;
        PageSuffix = o->PageSuffix;
        FitToPage = o->FitToPage;
        JobName = o->JobName;
        PageNumSep = o->PageNumSep;
        return;
    }
    TPersistent::Assign(source);
}

const TClassInfo* TPrintsettings::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPrintsettings::StaticClass()
{
    using P = TPrintsettings;
    static const std::vector<std::string> positions = {"ppNone",       "ppTopLeft",     "ppTopRight",
                                                       "ppTopCenter",  "ppBottomLeft",  "ppBottomRight",
                                                       "ppBottomCenter"};
    static const TClassInfo info(
        "TPrintsettings", &TPersistent::StaticClass(), nullptr,
        {
            PublishEnum<&P::Time, &P::Time>("Time", positions),
            PublishEnum<&P::Date, &P::Date>("Date", positions),
            PublishEnum<&P::PageNr, &P::PageNr>("PageNr", positions),
            PublishEnum<&P::Title, &P::Title>("Title", positions),
            PublishString<&P::DateFormat, &P::DateFormat>("DateFormat"),
            PublishString<&P::TitleText, &P::TitleText>("TitleText"),
            PublishObject<&P::Font, &P::SetFont>("Font"),
            PublishObject<&P::HeaderFont, &P::SetHeaderFont>("HeaderFont"),
            PublishObject<&P::FooterFont, &P::SetFooterFont>("FooterFont"),
            PublishEnum<&P::Borders, &P::Borders>("Borders",
                                                  {"pbNoborder", "pbSingle", "pbDouble", "pbVertical", "pbHorizontal"}),
            PublishEnum<&P::BorderStyle, &P::BorderStyle>(
                "BorderStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}),
            PublishBoolean<&P::Centered, &P::Centered>("Centered"),
            PublishBoolean<&P::RepeatHeaders, &P::RepeatHeaders>("RepeatHeaders"),
            PublishBoolean<&P::UseFixedHeight, &P::UseFixedHeight>("UseFixedHeight"),
            PublishBoolean<&P::UseFixedWidth, &P::UseFixedWidth>("UseFixedWidth"),
            PublishInteger<&P::FooterSize, &P::FooterSize>("FooterSize"),
            PublishInteger<&P::HeaderSize, &P::HeaderSize>("HeaderSize"),
            PublishInteger<&P::LeftSize, &P::LeftSize>("LeftSize"),
            PublishInteger<&P::RightSize, &P::RightSize>("RightSize"),
            PublishInteger<&P::ColumnSpacing, &P::ColumnSpacing>("ColumnSpacing"),
            PublishInteger<&P::RowSpacing, &P::RowSpacing>("RowSpacing"),
            PublishInteger<&P::FixedWidth, &P::FixedWidth>("FixedWidth"),
            PublishInteger<&P::FixedHeight, &P::FixedHeight>("FixedHeight"),
            PublishEnum<&P::Orientation, &P::Orientation>("Orientation", {"poPortrait", "poLandscape"}),
            PublishString<&P::PagePrefix, &P::PagePrefix>("PagePrefix"),
            PublishString<&P::PageSuffix, &P::PageSuffix>("PageSuffix"),
            PublishEnum<&P::FitToPage, &P::FitToPage>("FitToPage",
                                                      {"fpNever", "fpGrow", "fpShrink", "fpAlways", "fpCustom"}),
            PublishString<&P::JobName, &P::JobName>("JobName"),
            PublishString<&P::PageNumSep, &P::PageNumSep>("PageNumSep"),
        });
    return info;
}

// ---------------------------------------------------------------------------
// Construction

TAdvListView::TAdvListView(TComponent* owner)
    : TListView(owner),
      printSettings_(std::make_unique<TPrintsettings>()),
      htmlSettings_(std::make_unique<THTMLSettings>()),
      columnSize_(std::make_unique<TColumnSize>(this)),
      wallpaper_(std::make_unique<TBitmap>()),
      sortUpGlyph_(std::make_unique<TBitmap>()),
      sortDownGlyph_(std::make_unique<TBitmap>()),
      headerFont_(std::make_unique<TFont>())
{
    headerFont_->OnChange = TNotifyEvent(this, &TAdvListView::HeaderFontChanged);
    headerImageLink_.OnChange = TNotifyEvent(this, &TAdvListView::HeaderImagesChanged);
    // One hidden rich edit for the view's whole life; its window comes and
    // goes with the view's.
    richEdit_ = new TAdvRichEdit(this);
    richEdit_->SetVisible(false);
    richEdit_->SetBorderStyle(bsNone);
    richEdit_->SetBounds(0, 0, 0, 20);
    richEdit_->SetParent(this);
    if (Screen)
        Screen->SetCursors(crURLCursor, LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(crURLCursor)));
    form_ = dynamic_cast<TCustomForm*>(owner);
    if (form_) {
        formResize_ = form_->OnResize;
        form_->OnResize = TNotifyEvent(this, &TAdvListView::FormResize);
        formWidth_ = form_->Width();
        formHeight_ = form_->Height();
    }
}

TAdvListView::~TAdvListView()
{
    Destroying();
    try {
        SaveColumnWidths();
    } catch (...) {
        // The view reports nothing of its own, least of all while it goes.
    }
    // The form's resize handler goes back to the one the view took it from,
    // so a form that outlives the view calls nothing freed.
    if (form_ && !form_->IsDestroying()) {
        const TNotifyEvent mine(this, &TAdvListView::FormResize);
        if (form_->OnResize == mine) {
            form_->OnResize = formResize_;
        } else {
            for (int i = 0; i < form_->ComponentCount(); ++i)
                if (auto* other = dynamic_cast<TAdvListView*>(form_->Components(i)))
                    if (other != this && other->formResize_ == mine)
                        other->formResize_ = formResize_;
        }
    }
    if (headerImages_)
        headerImages_->UnRegisterChanges(&headerImageLink_);
    if (editWnd_ && editProc_ && IsWindow(editWnd_)) {
        SetWindowLongPtrA(editWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
        RemovePropA(editWnd_, EditViewProp);
    }
}

const TClassInfo* TAdvListView::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TAdvListView::StaticClass()
{
    using V = TAdvListView;
    static const TClassInfo info(
        "TAdvListView", &TListView::StaticClass(), &NewComponent<TAdvListView>,
        {
            PublishObject<&V::PrintSettings, &V::SetPrintSettings>("PrintSettings"),
            PublishObject<&V::HTMLSettings, &V::SetHTMLSettings>("HTMLSettings"),
            PublishBoolean<&V::HeaderHotTrack, &V::SetHeaderHotTrack>("HeaderHotTrack"),
            PublishBoolean<&V::HeaderDragDrop, &V::SetHeaderDragDrop>("HeaderDragDrop"),
            PublishBoolean<&V::HeaderFlatStyle, &V::SetHeaderFlatStyle>("HeaderFlatStyle"),
            PublishComponent<&V::HeaderImages, &V::SetHeaderImages>("HeaderImages"),
            PublishObject<&V::HeaderFont, &V::SetHeaderFont>("HeaderFont"),
            PublishBoolean<&V::OwnerDraw, &V::SetOwnerDraw>("OwnerDraw"),
            PublishBoolean<&V::SubImages, &V::SetSubImages>("SubImages"),
            PublishObject<&V::Wallpaper, &V::SetWallpaper>("Wallpaper"),
            PublishBoolean<&V::FlatScrollBar, &V::SetFlatScrollBar>("FlatScrollBar"),
            PublishInteger<&V::ItemHeight, &V::SetItemHeight>("ItemHeight"),
            PublishEnum<&V::SortDirection, &V::SetSortDirection>("SortDirection", {"sdAscending", "sdDescending"}),
            PublishBoolean<&V::SortShow, &V::SetSortShow>("SortShow"),
            PublishEnum<&V::SortIndicator, &V::SetSortIndicator>("SortIndicator", {"siLeft", "siRight"}),
            PublishObject<&V::SortUpGlyph, &V::SetSortUpGlyph>("SortUpGlyph"),
            PublishObject<&V::SortDownGlyph, &V::SetSortDownGlyph>("SortDownGlyph"),
            PublishBoolean<&V::SaveHeader, &V::SaveHeader>("SaveHeader"),
            PublishBoolean<&V::LoadHeader, &V::LoadHeader>("LoadHeader"),
            PublishInteger<&V::HoverTime, &V::SetHoverTime>("HoverTime"),
            PublishInteger<&V::FilterTimeOut, &V::SetFilterTimeOut>("FilterTimeOut"),
            PublishBoolean<&V::WordWrap, &V::SetWordWrap>("WordWrap"),
            PublishColor<&V::URLColor, &V::URLColor>("URLColor"),
            PublishBoolean<&V::URLShow, &V::URLShow>("URLShow"),
            PublishBoolean<&V::URLFull, &V::URLFull>("URLFull"),
            PublishObject<&V::ColumnSize, &V::SetColumnSize>("ColumnSize"),
            PublishBoolean<&V::SizeWithForm, &V::SizeWithForm>("SizeWithForm"),
            PublishEnum<&V::VAlignment, &V::SetVAlignment>("VAlignment", {"vtaCenter", "vtaTop", "vtaBottom"}),
            PublishBoolean<&V::AutoHint, &V::AutoHint>("AutoHint"),
            PublishBoolean<&V::SelectionRTFKeep, &V::SelectionRTFKeep>("SelectionRTFKeep"),
            PublishColor<&V::SelectionColor, &V::SelectionColor>("SelectionColor"),
            PublishColor<&V::SelectionTextColor, &V::SelectionTextColor>("SelectionTextColor"),
            PublishBoolean<&V::ScrollHint, &V::ScrollHint>("ScrollHint"),
            PublishBoolean<&V::ReArrangeItems, &V::ReArrangeItems>("ReArrangeItems"),
            PublishBoolean<&V::SubItemEdit, &V::SubItemEdit>("SubItemEdit"),
            PublishBoolean<&V::SubItemSelect, &V::SubItemSelect>("SubItemSelect"),
            PublishBoolean<&V::ClipboardEnable, &V::ClipboardEnable>("ClipboardEnable"),
            PublishBoolean<&V::FilterBar, &V::SetFilterBar>("FilterBar"),
            PublishEvent<&V::OnDrawItemProp>("OnDrawItemProp"),
            PublishEvent<&V::OnDrawItem>("OnDrawItem"),
            PublishEvent<&V::OnGetFormat>("OnGetFormat"),
            PublishEvent<&V::OnCustomCompare>("OnCustomCompare"),
            PublishEvent<&V::OnSortStart>("OnSortStart"),
            PublishEvent<&V::OnSortDone>("OnSortDone"),
            PublishEvent<&V::OnColumnSized>("OnColumnSized"),
            PublishEvent<&V::OnColumnRClick>("OnColumnRClick"),
            PublishEvent<&V::OnStartColumnTrack>("OnStartColumnTrack"),
            PublishEvent<&V::OnEndColumnTrack>("OnEndColumnTrack"),
            PublishEvent<&V::OnLeftClickCell>("OnLeftClickCell"),
            PublishEvent<&V::OnRightClickCell>("OnRightClickCell"),
            PublishEvent<&V::OnCanEditCell>("OnCanEditCell"),
            PublishEvent<&V::OnFilterChange>("OnFilterChange"),
            PublishEvent<&V::OnFilterBtnClick>("OnFilterBtnClick"),
            PublishEvent<&V::OnAnchorClick>("OnAnchorClick"),
            PublishEvent<&V::OnAnchorEnter>("OnAnchorEnter"),
            PublishEvent<&V::OnAnchorExit>("OnAnchorExit"),
            PublishEvent<&V::OnPrintPage>("OnPrintPage"),
            PublishEvent<&V::OnPrintNewPage>("OnPrintNewPage"),
            PublishEvent<&V::OnFitToPage>("OnFitToPage"),
            PublishEvent<&V::OnPrintSetColumnWidth>("OnPrintSetColumnWidth"),
        });
    return info;
}

// ---------------------------------------------------------------------------
// The window

void TAdvListView::CreateParams(TCreateParams& p)
{
    TListView::CreateParams(p);
    if (ownerDraw_)
        p.Style |= LVS_OWNERDRAWFIXED;
    else
        p.Style &= ~LVS_OWNERDRAWFIXED;
}

void TAdvListView::CreateWnd()
{
    TListView::CreateWnd();
    // Wine draws flat scroll bars as plain ones.
    SetLvExStyle(LVS_EX_FLATSB, flatScrollBar_);
    SetLvExStyle(LVS_EX_SUBITEMIMAGES, subImages_);
    SetLvExStyle(LVS_EX_HEADERDRAGDROP, headerDragDrop_);
    if (headerImages_ && HeaderHandle())
        SendMessageA(HeaderHandle(), HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(headerImages_->Handle()));
    hoverTime_ = static_cast<int>(SendMessageA(handle_, LVM_GETHOVERTIME, 0, 0));
    SetFilterTimeOut(500);
    if (!scrollTimer_)
        scrollTimer_ = SetTimer(handle_, ScrollTimerId, 300, nullptr) != 0;
}

void TAdvListView::CreateHandle()
{
    TListView::CreateHandle();
    // The view's own font reached the header with the window; the header's
    // settings and its own font come after it.
    SetHeaderStyle(HDS_BUTTONS, !headerFlatStyle_);
    SetHeaderStyle(HDS_HOTTRACK, headerHotTrack_);
    if (filterBar_)
        SetHeaderStyle(HDS_FILTERBAR, true);
    HeaderFontChanged(nullptr);
    if (noToolTips_)
        DropToolTips();
    ApplyBackground();
    RemeasureRows();
}

void TAdvListView::DestroyWnd()
{
    KillTimer(handle_, ScrollTimerId);
    scrollTimer_ = false;
    TListView::DestroyWnd();
}

void TAdvListView::Loaded()
{
    TListView::Loaded();
    normalCursor_ = Cursor();
    RemeasureRows();
    SetViewStyle(vsReport);
    ApplyBackground();
    // A view read from a form has no tool tips of the control's own, in
    // this window and any made later.
    DropToolTips();
}

// Wine 8 answers by making a new tool tip window for the control; Windows
// leaves it without one.
void TAdvListView::DropToolTips()
{
    noToolTips_ = true;
    if (HandleAllocated())
        SendMessageA(handle_, LVM_SETTOOLTIPS, 0, 0);
}

void TAdvListView::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == headerImages_)
        headerImages_ = nullptr;
    TListView::Notification(component, operation);
}

HWND TAdvListView::HeaderHandle()
{
    return HandleAllocated() ? reinterpret_cast<HWND>(SendMessageA(handle_, LVM_GETHEADER, 0, 0)) : nullptr;
}

void TAdvListView::SetHeaderStyle(DWORD style, bool on)
{
    HWND header = HeaderHandle();
    if (!header)
        return;
    const LONG_PTR old = GetWindowLongPtrA(header, GWL_STYLE);
    const LONG_PTR now = on ? (old | style) : (old & ~static_cast<LONG_PTR>(style));
    if (now != old) {
        SetWindowLongPtrA(header, GWL_STYLE, now);
        InvalidateRect(header, nullptr, TRUE);
    }
}

void TAdvListView::SetLvExStyle(DWORD style, bool on)
{
    if (HandleAllocated())
        SendMessageA(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, style, on ? style : 0);
}

// The common control asks an owner-drawn view for its row height when its
// size changes.
void TAdvListView::RemeasureRows()
{
    if (!HandleAllocated())
        return;
    const TRect r = BoundsRect();
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top + 1);
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TAdvListView::ApplyBackground()
{
    Brush()->SetBitmap(nullptr);
    if (wallpaper_->Empty()) {
        if (HandleAllocated())
            SendMessageA(handle_, LVM_SETTEXTBKCOLOR, 0, ColorToRGB(Color()));
        Brush()->SetColor(Color());
    } else {
        if (HandleAllocated())
            SendMessageA(handle_, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
        Brush()->SetBitmap(wallpaper_.get());
    }
    Invalidate();
}

// ---------------------------------------------------------------------------
// Properties

void TAdvListView::SetHeaderHotTrack(bool value)
{
    headerHotTrack_ = value;
    SetHeaderStyle(HDS_HOTTRACK, value);
}

void TAdvListView::SetHeaderDragDrop(bool value)
{
    headerDragDrop_ = value;
    SetLvExStyle(LVS_EX_HEADERDRAGDROP, value);
}

void TAdvListView::SetHeaderFlatStyle(bool value)
{
    headerFlatStyle_ = value;
    SetHeaderStyle(HDS_BUTTONS, !value);
}

void TAdvListView::HeaderFontChanged(TObject*)
{
    if (HWND header = HeaderHandle())
        SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(headerFont_->Handle()), TRUE);
}

void TAdvListView::SetHeaderImages(TCustomImageList* value)
{
    if (value == headerImages_)
        return;
    if (headerImages_) {
        headerImages_->UnRegisterChanges(&headerImageLink_);
        headerImages_->RemoveFreeNotification(this);
    }
    headerImages_ = value;
    if (value) {
        value->RegisterChanges(&headerImageLink_);
        value->FreeNotification(this);
    }
    HeaderImagesChanged(nullptr);
}

void TAdvListView::HeaderImagesChanged(TObject*)
{
    if (HWND header = HeaderHandle())
        SendMessageA(header, HDM_SETIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(headerImages_ ? headerImages_->Handle() : nullptr));
}

void TAdvListView::SetOwnerDraw(bool value)
{
    if (value == ownerDraw_)
        return;
    ownerDraw_ = value;
    // The extended styles come back with the new window (CreateWnd).
    RecreateWnd();
}

void TAdvListView::SetSubImages(bool value)
{
    subImages_ = value;
    SetLvExStyle(LVS_EX_SUBITEMIMAGES, value);
}

void TAdvListView::SetWallpaper(TBitmap* value)
{
    wallpaper_->Assign(value);
    ApplyBackground();
}

void TAdvListView::SetFlatScrollBar(bool value)
{
    flatScrollBar_ = value;
    SetLvExStyle(LVS_EX_FLATSB, value);
}

void TAdvListView::SetItemHeight(int value)
{
    if (value <= 0 || value == itemHeight_)
        return;
    itemHeight_ = value;
    RemeasureRows();
}

void TAdvListView::SetSortDirection(TSortDirection value)
{
    sortDirection_ = value;
    sortFactor = value == sdDescending ? -1 : 1;
}

void TAdvListView::SetHoverTime(int value)
{
    if (value == hoverTime_)
        return;
    hoverTime_ = value;
    if (HandleAllocated())
        SendMessageA(handle_, LVM_SETHOVERTIME, 0, value);
}

void TAdvListView::SetFilterTimeOut(int value)
{
    filterTimeOut_ = value;
    if (HWND header = HeaderHandle())
        SendMessageA(header, HDM_SETFILTERCHANGETIMEOUT, 0, value);
}

void TAdvListView::SetWordWrap(bool value)
{
    wordWrap_ = value;
    Invalidate();
}

void TAdvListView::SetVAlignment(TVAlignment value)
{
    vAlignment_ = value;
    Invalidate();
}

void TAdvListView::SetFilterBar(bool value)
{
    if (value == filterBar_)
        return;
    filterBar_ = value;
    // Wine's header ignores the style: no bar shows and no filter
    // notifications come; Windows shows the bar.
    SetHeaderStyle(HDS_FILTERBAR, value);
    if (HWND header = HeaderHandle())
        SetWindowPos(header, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Items()->BeginUpdate();
    RemeasureRows();
    Items()->EndUpdate();
}

// ---------------------------------------------------------------------------
// Cells

std::string TAdvListView::CellText(int col, int row) const
{
    if (col < 0)
        return std::string();
    if (row == -1)
        return col < Columns()->Count() ? Columns()->Items(col)->Caption() : std::string();
    if (row < 0 || row >= Items()->Count())
        return std::string();
    TListItem* item = Items()->Item(row);
    if (col == 0)
        return item->Caption();
    TStrings* sub = item->SubItems();
    return col - 1 < sub->Count() ? sub->Strings(col - 1) : std::string();
}

void TAdvListView::SetCellText(int col, int row, const std::string& text)
{
    if (col < 0 || row < 0 || col >= Columns()->Count() || row >= Items()->Count())
        return;
    TListItem* item = Items()->Item(row);
    if (col == 0) {
        item->SetCaption(text);
        return;
    }
    TStrings* sub = item->SubItems();
    while (sub->Count() < col)
        sub->Add(std::string());
    sub->SetStrings(col - 1, text);
}

// Wine's sub-item hit test misses rows once the columns were reordered
// (header drag and drop); Windows finds them in any order.
bool TAdvListView::CellAtPoint(int x, int y, int& col, int& row)
{
    if (!HandleAllocated())
        return false;
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    SendMessageA(handle_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem < 0 || hit.iItem >= Items()->Count())
        return false;
    row = hit.iItem;
    col = hit.iSubItem;
    return true;
}

std::string TAdvListView::TextAtPoint(int x, int y)
{
    int col = 0, row = 0;
    if (!HandleAllocated() || !CellAtPoint(x, y, col, row))
        return std::string();
    return CellText(col, row);
}

TRect TAdvListView::CellRect(int row, int col)
{
    TRect r{};
    if (!HandleAllocated())
        return r;
    r.top = col;
    r.left = LVIR_LABEL;
    SendMessageA(handle_, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    return r;
}

int TAdvListView::SubItemImage(int row, int col)
{
    if (!subImages_ || !HandleAllocated())
        return -1;
    LVITEMA it{};
    it.mask = LVIF_IMAGE;
    it.iItem = row;
    it.iSubItem = col + 1;
    if (!SendMessageA(handle_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)))
        return -1;
    return it.iImage;
}

// ---------------------------------------------------------------------------
// Sorting

void TAdvListView::ColClick(TListColumn* column)
{
    if (!sortShow_) {
        TListView::ColClick(column);
        return;
    }
    const int index = column->Index();
    if (index == sortColumn_)
        SetSortDirection(sortDirection_ == sdAscending ? sdDescending : sdAscending);
    bool enable = true;
    OnSortStart(this, index, enable);
    if (!enable)
        return;
    SortByColumn(index);
    OnSortDone(this, index);
    TListView::ColClick(column);
}

void TAdvListView::SortByColumn(int column)
{
    if (column < 0)
        return;
    if (sortShow_ && sortColumn_ >= 0 && sortColumn_ != column)
        ShowIndicator(sortColumn_, false);
    if (column >= Columns()->Count())
        return;
    sortColumn_ = column;
    sortDataColumn = column - 1;
    ShowIndicator(column, true);
    CustomSort(&AdvCompare, reinterpret_cast<LPARAM>(this));
}

void TAdvListView::ShowIndicator(int column, bool on)
{
    if (!HandleAllocated() || column < 0 || column >= Columns()->Count())
        return;
    const int align = static_cast<int>(Columns()->Items(column)->Alignment());
    if (!sortUpGlyph_->Empty() && !sortDownGlyph_->Empty()) {
        HWND header = HeaderHandle();
        HDITEMA hd{};
        hd.mask = HDI_FORMAT;
        hd.fmt = align | HDF_STRING;
        if (on) {
            hd.mask |= HDI_BITMAP;
            hd.fmt |= HDF_BITMAP;
            if (sortIndicator_ == siRight)
                hd.fmt |= HDF_BITMAP_ON_RIGHT;
            TBitmap* glyph = sortDirection_ == sdDescending ? sortDownGlyph_.get() : sortUpGlyph_.get();
            hd.hbm = glyph->Handle();
        }
        SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&hd));
    } else if (headerImages_) {
        LVCOLUMNA c{};
        c.mask = LVCF_FMT | LVCF_IMAGE;
        c.fmt = align;
        c.iImage = -1;
        if (on) {
            c.fmt |= LVCFMT_IMAGE;
            if (sortIndicator_ == siRight)
                c.fmt |= LVCFMT_BITMAP_ON_RIGHT;
            c.iImage = sortDirection_ == sdDescending ? 1 : 0;
        }
        SendMessageA(handle_, LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&c));
    }
}

// ---------------------------------------------------------------------------
// Rows

void TAdvListView::MoveItem(int from, int to)
{
    const int count = Items()->Count();
    if (from == to || from < 0 || from >= count)
        return;
    TListItem* item = Items()->Item(from);
    const bool selected = item->Selected();
    item->SetSelected(false);
    const std::string caption = item->Caption();
    TStringList subItems;
    subItems.Assign(item->SubItems());
    void* data = item->Data();
    const int image = item->ImageIndex();
    const bool checked = item->Checked();
    Items()->Delete(from);
    TListItem* moved = to < 0 || to >= Items()->Count() ? Items()->Add() : Items()->Insert(to);
    moved->SetCaption(caption);
    moved->SetSubItems(&subItems);
    moved->SetData(data);
    moved->SetImageIndex(image);
    moved->SetChecked(checked);
    moved->SetSelected(selected);
    moved->SetFocused(true);
    SetCheckboxes(Checkboxes());
    // Measured again at the height the rows have, not a fixed one.
    RemeasureRows();
}

void TAdvListView::SaveColumnWidths()
{
    if (!columnSize_->Save || columnSize_->Key.empty() || columnSize_->Section.empty())
        return;
    std::unique_ptr<TCustomIniFile> store;
    if (columnSize_->Storage == stInifile)
        store = std::make_unique<TIniFile>(columnSize_->Key);
    else
        store = std::make_unique<TRegIniFile>(columnSize_->Key);
    for (int i = 0; i < Columns()->Count(); ++i)
        store->WriteInteger(columnSize_->Section, "col" + std::to_string(i), Columns()->Items(i)->Width());
    store->UpdateFile();
}

void TAdvListView::FormResize(TObject* sender)
{
    if (SizeWithForm && form_) {
        const int width = Width() + form_->Width() - formWidth_;
        const int height = Height() + form_->Height() - formHeight_;
        if (width > 0 && height > 0) {
            SetBounds(Left(), Top(), width, height);
            formWidth_ = form_->Width();
            formHeight_ = form_->Height();
        }
    }
    if (formResize_) {
        try {
            formResize_(sender);
        } catch (...) {
            // An error of the form's own handler is not the view's to report.
        }
    }
}

// ---------------------------------------------------------------------------
// Messages

void TAdvListView::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        LeftButtonDown(m);
        return;
    case WM_LBUTTONUP:
        LeftButtonUp(m);
        return;
    case WM_KEYDOWN:
        KeyDownMessage(m);
        return;
    case WM_TIMER:
        if (m.WParam == ScrollTimerId) {
            TimerTick();
            return;
        }
        break;
    case WM_VSCROLL:
        if (!m.LParam) {
            VScroll(m);
            return;
        }
        break;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom == HeaderHandle()) {
            HeaderNotify(m);
            return;
        }
        break;
    case CN_NOTIFY:
        CNNotify(m);
        return;
    case CN_DRAWITEM:
        DrawItemMessage(m);
        return;
    case CN_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemHeight = itemHeight_;
        m.Result = TRUE;
        return;
    case CM_MOUSELEAVE:
        dragRow_ = -1;
        break;
    case CM_HINTSHOW:
        HintShow(m);
        return;
    case CM_COLORCHANGED:
        TListView::Dispatch(m);
        ApplyBackground();
        return;
    case CM_FONTCHANGED:
        // The control hands its new font on to its header.
        TListView::Dispatch(m);
        HeaderFontChanged(nullptr);
        return;
    }
    TListView::Dispatch(m);
}

void TAdvListView::LeftButtonDown(TMessage& m)
{
    const int x = GET_X_LPARAM(m.LParam);
    const int y = GET_Y_LPARAM(m.LParam);
    // A press below the rows changes nothing, not even the selection.
    if (!editingCell_ && !CellAtPoint(x, y, currentColumn_, currentRow_))
        return;
    ClickLinks(x, y);
    if (ReArrangeItems)
        dragRow_ = currentRow_;
    if (!SubItemEdit && !SubItemSelect)
        currentColumn_ = 0;
    const int row = currentRow_;
    const bool ticked = row >= 0 && row < Items()->Count() && Items()->Item(row)->Checked();
    TListView::Dispatch(m);
    if (IsDestroying() || !HandleAllocated())
        return;
    // An owner-drawn view flips its own box; Wine's control may have done it
    // already on the press.
    if (ownerDraw_ && Checkboxes() && x <= 14 && row >= 0 && row < Items()->Count()) {
        TListItem* item = Items()->Item(row);
        if (item->Checked() == ticked)
            item->SetChecked(!ticked);
    }
    CellAtPoint(x, y, currentColumn_, currentRow_);
    if (SubItemEdit || SubItemSelect)
        RepaintFocusedRow();
}

void TAdvListView::LeftButtonUp(TMessage& m)
{
    if (dragRow_ >= 0) {
        int col = 0, row = -1;
        if (!CellAtPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam), col, row))
            row = -1;
        const int from = dragRow_;
        dragRow_ = -1;
        MoveItem(from, row);
    }
    TListView::Dispatch(m);
}

void TAdvListView::RepaintFocusedRow()
{
    if (TListItem* item = ItemFocused()) {
        const bool selected = item->Selected();
        item->SetSelected(false);
        item->SetSelected(selected);
        item->Update();
    }
}

void TAdvListView::TimerTick()
{
    if (dragRow_ < 0 || !HandleAllocated())
        return;
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    RECT client;
    GetClientRect(handle_, &client);
    RECT header{};
    if (HWND h = HeaderHandle())
        GetWindowRect(h, &header);
    const int headerHeight = header.bottom - header.top;
    if (p.y < client.top + itemHeight_ + headerHeight)
        SendMessageA(handle_, WM_VSCROLL, SB_LINEUP, 0);
    else if (p.y > client.bottom - itemHeight_)
        SendMessageA(handle_, WM_VSCROLL, SB_LINEDOWN, 0);
}

void TAdvListView::KeyDownMessage(TMessage& m)
{
    const WORD key = static_cast<WORD>(m.WParam);
    if (ClipboardEnable) {
        const bool ctrl = ShiftDown(VK_CONTROL);
        const bool shift = ShiftDown(VK_SHIFT);
        if ((ctrl && (key == 'C' || key == VK_INSERT))) {
            CopyToClipboard();
            return;
        }
        if ((ctrl && key == 'X') || (shift && key == VK_DELETE)) {
            CutToClipboard();
            return;
        }
        if ((ctrl && key == 'V') || (shift && key == VK_INSERT)) {
            PasteFromClipboard();
            return;
        }
    }
    if (SubItemEdit || SubItemSelect) {
        if (key == VK_LEFT && currentColumn_ > 0)
            --currentColumn_;
        if (key == VK_RIGHT && currentColumn_ < Columns()->Count() - 1)
            ++currentColumn_;
        if (key == VK_LEFT || key == VK_RIGHT || key == VK_SPACE)
            RepaintFocusedRow();
        if (key == VK_SPACE && SubItemEdit) {
            if (TListItem* item = ItemFocused()) {
                currentRow_ = item->Index();
                SendMessageA(handle_, LVM_EDITLABELA, currentRow_, 0);
            }
        }
    }
    TListView::Dispatch(m);
}

void TAdvListView::HeaderNotify(TMessage& m)
{
    auto* nm = reinterpret_cast<NMHDR*>(m.LParam);
    switch (nm->code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
        if (OnStartColumnTrack) {
            bool allow = true;
            OnStartColumnTrack(this, reinterpret_cast<NMHEADERA*>(m.LParam)->iItem, allow);
            if (!allow) {
                m.Result = TRUE;
                return;
            }
        }
        break;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW: {
        const int column = reinterpret_cast<NMHEADERA*>(m.LParam)->iItem;
        OnEndColumnTrack(this, column);
        TListView::Dispatch(m);
        for (int i = 0; i < Columns()->Count(); ++i)
            if (i == sortColumn_ || sortShow_)
                ShowIndicator(i, i == sortColumn_);
        OnColumnSized(this, column);
        return;
    }
    case NM_RCLICK: {
        HDHITTESTINFO hit{};
        GetCursorPos(&hit.pt);
        ::ScreenToClient(nm->hwndFrom, &hit.pt);
        SendMessageA(nm->hwndFrom, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        OnColumnRClick(this, hit.iItem);
        break;
    }
    case HDN_FILTERCHANGE:
        OnFilterChange(this, reinterpret_cast<NMHEADERA*>(m.LParam)->iItem);
        break;
    case HDN_FILTERBTNCLICK:
        OnFilterBtnClick(this, reinterpret_cast<NMHDFILTERBTNCLICK*>(m.LParam)->iItem);
        break;
    }
    TListView::Dispatch(m);
}

LRESULT CALLBACK CellEditProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* view = static_cast<TAdvListView*>(GetPropA(wnd, EditViewProp));
    if (!view)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    const WNDPROC old = view->editProc_;
    if (msg == WM_WINDOWPOSCHANGING) {
        // The edit box covers the current cell, whatever the control wants.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        TRect r = view->CellRect(view->currentRow_, view->currentColumn_);
        if (view->currentColumn_ == 0)
            r.left -= 20;
        pos->x = r.left;
        pos->y = r.top;
        pos->cx = r.right - r.left;
        pos->cy = r.bottom - r.top;
    } else if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropA(wnd, EditViewProp);
        view->editWnd_ = nullptr;
    }
    return CallWindowProcA(old, wnd, msg, wParam, lParam);
}

void TAdvListView::CNNotify(TMessage& m)
{
    auto* nm = reinterpret_cast<NMHDR*>(m.LParam);
    switch (nm->code) {
    case NM_CLICK:
    case NM_RCLICK: {
        auto* act = reinterpret_cast<NMITEMACTIVATE*>(m.LParam);
        if (nm->code == NM_CLICK)
            LeftClickCell(act->iItem, act->iSubItem);
        else
            RightClickCell(act->iItem, act->iSubItem);
        break;
    }
    case LVN_BEGINLABELEDITA: {
        if (SubItemEdit) {
            bool allow = true;
            OnCanEditCell(this, currentRow_, currentColumn_, allow);
            if (!allow) {
                m.Result = TRUE;
                return;
            }
        }
        TListView::Dispatch(m);
        if (m.Result || !SubItemEdit)
            return;
        editWnd_ = reinterpret_cast<HWND>(SendMessageA(handle_, LVM_GETEDITCONTROL, 0, 0));
        if (!editWnd_)
            return;
        SetPropA(editWnd_, EditViewProp, this);
        editProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(editWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CellEditProc)));
        SetWindowTextA(editWnd_, CellText(currentColumn_, currentRow_).c_str());
        editCaption_ = CellText(0, currentRow_);
        editingCell_ = true;
        return;
    }
    case LVN_ENDLABELEDITA: {
        auto* di = reinterpret_cast<NMLVDISPINFOA*>(m.LParam);
        TListView::Dispatch(m);
        const bool was = editingCell_;
        editingCell_ = false;
        if (!was || !SubItemEdit)
            return;
        std::string text;
        if (editWnd_) {
            char buffer[256] = "";
            GetWindowTextA(editWnd_, buffer, sizeof buffer);
            text = buffer;
            SetWindowLongPtrA(editWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
            RemovePropA(editWnd_, EditViewProp);
            editWnd_ = nullptr;
        }
        // Esc ends the edit without a text: the cell keeps what it had.
        if (!di->item.pszText)
            return;
        SetCellText(currentColumn_, currentRow_, text);
        if (currentColumn_ > 0)
            SetCellText(0, currentRow_, editCaption_);
        return;
    }
    }
    TListView::Dispatch(m);
}

// ---------------------------------------------------------------------------
// Mouse over links and anchors

bool TAdvListView::HtmlHitTest(int col, int row, int x, int y, std::string& anchor)
{
    const TRect r = CellRect(row, col);
    TControlCanvas canvas(this);
    TWindowDC dc(handle_);
    TCanvasDCLoan loan(&canvas, dc.Get());
    canvas.Font()->Assign(Font());
    std::string plain;
    int xs = 0, ys = 0;
    return DrawHtmlText(&canvas, CellText(col, row), r, SmallImages(), x, y, true, false, false, 0, URLColor, anchor,
                        plain, xs, ys) &&
           !anchor.empty();
}

namespace {

bool LooksLikeLink(const std::string& text)
{
    return text.find("://") != std::string::npos || text.find("mailto:") != std::string::npos;
}

bool IsHtml(const std::string& text)
{
    return text.find("</") != std::string::npos;
}

void ShellOpen(HWND owner, const std::string& link)
{
    // Nothing is reported when the shell cannot open it.
    ShellExecuteA(owner, "open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TAdvListView::TLinkOpener linkOpener = &ShellOpen;

} // namespace

void TAdvListView::MouseMove(TShiftState shift, int x, int y)
{
    const std::string text = TextAtPoint(x, y);
    bool overLink = false;
    if (URLShow && dragRow_ < 0 && LooksLikeLink(text) && !IsHtml(text)) {
        overLink = true;
        SetCursor(crURLCursor);
    }
    int col = 0, row = 0;
    if (IsHtml(text) && CellAtPoint(x, y, col, row)) {
        std::string anchor;
        if (HtmlHitTest(col, row, x, y, anchor)) {
            overLink = true;
            SetCursor(crURLCursor);
            if (!inAnchor_ && anchor != anchor_) {
                OnAnchorEnter(this, anchor);
                inAnchor_ = true;
                anchor_ = anchor;
            }
        }
    }
    if (inAnchor_ && !overLink) {
        const std::string left = anchor_;
        inAnchor_ = false;
        anchor_.clear();
        OnAnchorExit(this, left);
    }
    if (dragRow_ >= 0)
        SetCursor(crDrag);
    else if (!overLink && Cursor() != normalCursor_)
        SetCursor(normalCursor_);
    if (hintCol_ >= 0 || hintRow_ >= 0) {
        int hc = -1, hr = -1;
        if (!CellAtPoint(x, y, hc, hr) || hc != hintCol_ || hr != hintRow_) {
            if (Application)
                Application->CancelHint();
            hintCol_ = hintRow_ = -1;
        }
    }
    TListView::MouseMove(shift, x, y);
}

TAdvListView::TLinkOpener TAdvListView::SetLinkOpener(TLinkOpener opener)
{
    const TLinkOpener old = linkOpener;
    linkOpener = opener ? opener : &ShellOpen;
    return old;
}

// Only web and mail links go to the shell, as in the other controls of the
// programs: the shell runs whatever another scheme names. Another anchor is
// the form's; another cell text opens nothing.
void TAdvListView::ClickLinks(int x, int y)
{
    const std::string text = CellText(currentColumn_, currentRow_);
    if (IsHtml(text)) {
        std::string anchor;
        if (HtmlHitTest(currentColumn_, currentRow_, x, y, anchor)) {
            if (anchor.find("://") != std::string::npos && IsWebOrMailLink(anchor))
                linkOpener(nullptr, anchor);
            else
                OnAnchorClick(this, anchor);
        }
    }
    if (URLShow && LooksLikeLink(text) && !IsHtml(text) && IsWebOrMailLink(text))
        linkOpener(Application ? Application->Handle() : nullptr, text);
}

// ---------------------------------------------------------------------------
// Hints

void TAdvListView::HintShow(TMessage& m)
{
    auto* info = reinterpret_cast<THintInfo*>(m.LParam);
    if (!info || info->HintControl != this || !AutoHint || !HandleAllocated()) {
        TListView::Dispatch(m);
        return;
    }
    m.Result = 0;
    int col = 0, row = 0;
    const std::string cell = TextAtPoint(info->CursorPos.x, info->CursorPos.y);
    if (cell.empty() || !CellAtPoint(info->CursorPos.x, info->CursorPos.y, col, row))
        return;
    TRect r = CellRect(row, col);
    if (col == 0)
        r.left = 0;
    info->HintPos = ClientToScreen(Point(r.left, r.top));
    hintCol_ = col;
    hintRow_ = row;
    TControlCanvas canvas(this);
    TWindowDC dc(handle_);
    TCanvasDCLoan loan(&canvas, dc.Get());
    canvas.Font()->Assign(Font());
    DoDrawItemProp(row, col, cell, canvas.Font(), canvas.Brush(), 0);
    std::string text = cell;
    if (text.rfind("{\\", 0) == 0) {
        richEdit_->Lines()->SetText(text);
        text = richEdit_->Lines()->Text();
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
    } else if (IsHtml(text)) {
        std::string anchor, plain;
        int xs = 0, ys = 0;
        DrawHtmlText(&canvas, cell, Rect(0, 0, 1000, 1000), SmallImages(), 0, 0, true, true, false, 0, URLColor,
                     anchor, plain, xs, ys);
        text = plain;
    }
    const int width = col < Columns()->Count() ? Columns()->Items(col)->Width() : 0;
    if (width < canvas.TextWidth(text) + 4)
        info->HintStr = text;
    else
        m.Result = 1;
}

void TAdvListView::VScroll(TMessage& m)
{
    TListView::Dispatch(m);
    if (!wallpaper_->Empty() && wallpaper_->Height() != itemHeight_)
        Invalidate();
    if (!ScrollHint)
        return;
    const int code = LOWORD(m.WParam);
    if (code == SB_ENDSCROLL) {
        if (scrollHint_)
            scrollHint_->ReleaseHandle();
        return;
    }
    if (code != SB_THUMBTRACK)
        return;
    const int index = HIWORD(m.WParam);
    if (index < 0 || index >= Items()->Count())
        return;
    if (!scrollHint_)
        scrollHint_ = new THintWindow(this);
    if (Application)
        scrollHint_->SetColor(Application->HintColor());
    const std::string caption = Items()->Item(index)->Caption();
    TRect r = scrollHint_->CalcHintRect(100, caption);
    POINT p;
    GetCursorPos(&p);
    OffsetRect(&r, p.x + 10, p.y);
    scrollHint_->ActivateHint(r, caption);
}

// ---------------------------------------------------------------------------
// Clipboard

void TAdvListView::CopyToClipboard()
{
    TListItem* selected = Selected();
    std::string text;
    if ((SubItemSelect || SubItemEdit) && selected) {
        text = currentColumn_ < 1 ? selected->Caption() : CellText(currentColumn_, selected->Index());
    } else {
        for (int i = 0; i < Items()->Count(); ++i) {
            TListItem* item = Items()->Item(i);
            if (!item->Selected())
                continue;
            text += item->Caption();
            for (int j = 0; j < item->SubItems()->Count(); ++j) {
                text += '\t';
                text += item->SubItems()->Strings(j);
            }
            text += "\r\n";
        }
    }
    Clipboard()->SetAsText(text);
}

void TAdvListView::CutToClipboard()
{
    CopyToClipboard();
    if ((SubItemSelect || SubItemEdit)) {
        // In cell mode only the cell was copied: only the cell is emptied.
        if (TListItem* selected = Selected())
            SetCellText(std::max(currentColumn_, 0), selected->Index(), std::string());
        return;
    }
    Items()->BeginUpdate();
    for (int i = Items()->Count() - 1; i >= 0; --i)
        if (Items()->Item(i)->Selected())
            Items()->Delete(i);
    Items()->EndUpdate();
}

void TAdvListView::PasteFromClipboard()
{
    if (!Clipboard()->HasFormat(CF_TEXT))
        return;
    const std::string text = Clipboard()->GetAsText();
    if (SubItemSelect || SubItemEdit) {
        if (TListItem* selected = Selected())
            SetCellText(std::max(currentColumn_, 0), selected->Index(), text);
        return;
    }
    // Whole lines only (ended by CR LF), split at tabs.
    std::vector<std::vector<std::string>> lines;
    size_t pos = 0;
    for (size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2) {
        const std::string line = text.substr(pos, end - pos);
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        lines.push_back(std::move(fields));
    }
    // The columns the widest line needs, added at once.
    size_t widest = 0;
    for (const auto& fields : lines)
        widest = std::max(widest, fields.size());
    if (static_cast<int>(widest) > Columns()->Count()) {
        Columns()->BeginUpdate();
        while (static_cast<int>(widest) > Columns()->Count())
            Columns()->Add();
        Columns()->EndUpdate();
    }
    TListItem* last = nullptr;
    Items()->BeginUpdate();
    for (const auto& fields : lines) {
        TListItem* item = Items()->Add();
        item->SetImageIndex(-1);
        item->SetCaption(fields[0]);
        for (size_t f = 1; f < fields.size(); ++f)
            item->SubItems()->Add(fields[f]);
        item->SetSelected(true);
        last = item;
    }
    Items()->EndUpdate();
    if (last) {
        Scroll(0, 65535);
        last->SetFocused(true);
    }
}

void InitAdvListViewUnit()
{
    RegisterComponentClass(TAdvListView::StaticClass());
}

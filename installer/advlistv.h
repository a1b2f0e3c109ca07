// Unit advlistv: the extended list view of the installer's program-choice
// page. A report list view with cell-level access (texts by column and row,
// hit-testing of cells), sorting by a click on a column header with a style
// per column and an indicator in the header, column widths saved to an INI
// file or the registry, an owner-drawn mode (plain, HTML, link and rich-text
// cells, advlistvpaint.cpp), in-place editing and selection of single cells,
// rows moved by dragging, the clipboard keys, and a view that follows its
// form's size.
//
// The comparisons of a sort are a model of their own without windows
// (advlistvsort.h); painting a row is advlistvpaint.cpp; this unit is the
// window glue.
#pragma once

#include <memory>
#include <string>

#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/ListView.h"
#include "common/HtmlSettings.h"
#include "classlib/RichEdit.h"
#include "classlib/StdCtrls.h"
#include "installer/advlistvsort.h"

class TAdvListView;

enum TSortIndicator { siLeft, siRight };
enum TSizeStorage { stInifile, stRegistry };
enum TVAlignment { vtaCenter, vtaTop, vtaBottom };
enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders { pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal };
enum TPrinterOrientation { poPortrait, poLandscape };
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

// Where the column widths are saved when the view goes.
class TColumnSize : public TPersistent {
public:
    explicit TColumnSize(TAdvListView* owner) : owner_(owner) {}
    bool Save = false;
    std::string Key;
    std::string Section;
    // Held only.
    bool Stretch = false;
    TSizeStorage Storage = stInifile;

    TAdvListView* Owner() const { return owner_; }
    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    TAdvListView* owner_;
};

// Print options: held and streamed only; the view has no printing.
class TPrintsettings : public TPersistent {
public:
    TPrintsettings();
    TPrintPosition Time = ppNone, Date = ppNone, PageNr = ppNone, Title = ppNone;
    std::string DateFormat = "dd/mm/yyyy";
    std::string TitleText;
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* value) { font_->Assign(value); }
    TFont* HeaderFont() const { return headerFont_.get(); }
    void SetHeaderFont(TFont* value) { headerFont_->Assign(value); }
    TFont* FooterFont() const { return footerFont_.get(); }
    void SetFooterFont(TFont* value) { footerFont_->Assign(value); }
    TPrintBorders Borders = pbNoborder;
    TPenStyle BorderStyle = psSolid;
    bool Centered = false, RepeatHeaders = false, UseFixedHeight = false, UseFixedWidth = false;
    int FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0, ColumnSpacing = 0, RowSpacing = 0;
    int FixedWidth = 0, FixedHeight = 0;
    TPrinterOrientation Orientation = poPortrait;
    std::string PagePrefix, PageSuffix;
    TFitToPage FitToPage = fpNever;
    std::string JobName;
    std::string PageNumSep = "/";

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    std::unique_ptr<TFont> font_, headerFont_, footerFont_;
};

// The hidden rich edit that renders rich-text cells.
class TAdvRichEdit : public TRichEdit {
public:
    using TRichEdit::TRichEdit;
};

// (Sender, itemindex, subitemindex, AState, ABrush, AFont, ItemText)
using TDrawItemProp = TEvent<TObject*, int, int, TOwnerDrawState, TBrush*, TFont*, std::string>;
// (Sender, acanvas, itemindex, Rect, State); the classlib's owner-draw event of
// list boxes has the name TDrawItemEvent.
using TLVDrawItemEvent = TEvent<TObject*, TCanvas*, int, TRect, TOwnerDrawState>;
using TSortStartEvent = TEvent<TObject*, int, bool&>;
using TSortDoneEvent = TEvent<TObject*, int>;
using TColumnSizeEvent = TEvent<TObject*, int>;
using TStartColumnTrackEvent = TEvent<TObject*, int, bool&>;
using TEndColumnTrackEvent = TEvent<TObject*, int>;
using TClickCellEvent = TEvent<TObject*, int, int>;
using TEditCellEvent = TEvent<TObject*, int, int, bool&>;
using TFilterChange = TEvent<TObject*, int>;
using TFilterBtnClick = TEvent<TObject*, int>;
using TLVAnchorClick = TEvent<TObject*, std::string>;
// Printing events: declared for forms, never fired.
using TPrintPageEvent = TEvent<TObject*, TCanvas*, int, int>;
using TPrintNewPageEvent = TEvent<TObject*, int, bool&>;
using TDoFitToPageEvent = TEvent<TObject*, double&, int, int>;
using TPrintColumnWidthEvent = TEvent<TObject*, int, int&>;

class TAdvListView : public TListView {
public:
    explicit TAdvListView(TComponent* owner);
    ~TAdvListView() override;

    // Cells: column 0 is the caption, column n the sub-item n - 1; row -1 the
    // column captions.
    std::string CellText(int col, int row) const;
    void SetCellText(int col, int row, const std::string& text);
    bool CellAtPoint(int x, int y, int& col, int& row);
    std::string TextAtPoint(int x, int y);
    TRect CellRect(int row, int col);
    int SubItemImage(int row, int col);

    // Sorts by a header column (header index) in SortDirection.
    void SortByColumn(int column);
    // Moves a row (to -1: to the end).
    void MoveItem(int from, int to);
    void SaveColumnWidths();

    TPrintsettings* PrintSettings() const { return printSettings_.get(); }
    void SetPrintSettings(TPrintsettings* value) { printSettings_->Assign(value); }
    THTMLSettings* HTMLSettings() const { return htmlSettings_.get(); }
    void SetHTMLSettings(THTMLSettings* value) { htmlSettings_->Assign(value); }
    TColumnSize* ColumnSize() const { return columnSize_.get(); }
    void SetColumnSize(TColumnSize* value) { columnSize_->Assign(value); }

    bool HeaderHotTrack() const { return headerHotTrack_; }
    void SetHeaderHotTrack(bool value);
    bool HeaderDragDrop() const { return headerDragDrop_; }
    void SetHeaderDragDrop(bool value);
    bool HeaderFlatStyle() const { return headerFlatStyle_; }
    void SetHeaderFlatStyle(bool value);
    TCustomImageList* HeaderImages() const { return headerImages_; }
    void SetHeaderImages(TCustomImageList* value);
    TFont* HeaderFont() const { return headerFont_.get(); }
    void SetHeaderFont(TFont* value) { headerFont_->Assign(value); }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);
    bool SubImages() const { return subImages_; }
    void SetSubImages(bool value);
    TBitmap* Wallpaper() const { return wallpaper_.get(); }
    void SetWallpaper(TBitmap* value);
    bool FlatScrollBar() const { return flatScrollBar_; }
    void SetFlatScrollBar(bool value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    TSortDirection SortDirection() const { return sortDirection_; }
    void SetSortDirection(TSortDirection value);
    bool SortShow() const { return sortShow_; }
    void SetSortShow(bool value) { sortShow_ = value; }
    TSortIndicator SortIndicator() const { return sortIndicator_; }
    void SetSortIndicator(TSortIndicator value) { sortIndicator_ = value; }
    TBitmap* SortUpGlyph() const { return sortUpGlyph_.get(); }
    void SetSortUpGlyph(TBitmap* value) { sortUpGlyph_->Assign(value); }
    TBitmap* SortDownGlyph() const { return sortDownGlyph_.get(); }
    void SetSortDownGlyph(TBitmap* value) { sortDownGlyph_->Assign(value); }
    bool SaveHeader = false;
    bool LoadHeader = false;
    int HoverTime() const { return hoverTime_; }
    void SetHoverTime(int value);
    int FilterTimeOut() const { return filterTimeOut_; }
    void SetFilterTimeOut(int value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TColor URLColor = clBlack;
    bool URLShow = false;
    bool URLFull = false;
    bool SizeWithForm = false;
    TVAlignment VAlignment() const { return vAlignment_; }
    void SetVAlignment(TVAlignment value);
    bool AutoHint = false;
    bool SelectionRTFKeep = false;
    TColor SelectionColor = clHighlight;
    TColor SelectionTextColor = clHighlightText;
    bool ScrollHint = false;
    bool ReArrangeItems = false;
    bool SubItemEdit = false;
    bool SubItemSelect = false;
    bool ClipboardEnable = false;
    bool FilterBar() const { return filterBar_; }
    void SetFilterBar(bool value);

    // The cell the last click or key made current.
    int CurrentColumn() const { return currentColumn_; }
    int CurrentRow() const { return currentRow_; }
    // The header index of the last sort; -1 before the first.
    int SortColumn() const { return sortColumn_; }
    int DragRow() const { return dragRow_; }
    TAdvRichEdit* RichEdit() const { return richEdit_; }

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

    TDrawItemProp OnDrawItemProp;
    TLVDrawItemEvent OnDrawItem;
    TFormatEvent OnGetFormat;
    TCustomCompareEvent OnCustomCompare;
    TSortStartEvent OnSortStart;
    TSortDoneEvent OnSortDone;
    TColumnSizeEvent OnColumnSized;
    TColumnSizeEvent OnColumnRClick;
    TStartColumnTrackEvent OnStartColumnTrack;
    TEndColumnTrackEvent OnEndColumnTrack;
    TClickCellEvent OnLeftClickCell;
    TClickCellEvent OnRightClickCell;
    TEditCellEvent OnCanEditCell;
    TFilterChange OnFilterChange;
    TFilterBtnClick OnFilterBtnClick;
    TLVAnchorClick OnAnchorClick;
    TLVAnchorClick OnAnchorEnter;
    TLVAnchorClick OnAnchorExit;
    TPrintPageEvent OnPrintPage;
    TPrintNewPageEvent OnPrintNewPage;
    TDoFitToPageEvent OnFitToPage;
    TPrintColumnWidthEvent OnPrintSetColumnWidth;

    // Paints one row of an owner-drawn view on Canvas (advlistvpaint.cpp).
    virtual void DrawRow(int index, TRect rect, TOwnerDrawState state);
    virtual void ReservedStep(int& value) { value = 48; }
    virtual void LeftClickCell(int item, int subItem) { OnLeftClickCell(this, item, subItem); }
    virtual void RightClickCell(int item, int subItem) { OnRightClickCell(this, item, subItem); }
    virtual void DoDrawItemProp(int itemIndex, int subItemIndex, const std::string& text, TFont* font, TBrush* brush,
                                TOwnerDrawState state)
    {
        OnDrawItemProp(this, itemIndex, subItemIndex, state, brush, font, text);
    }

    TCanvas* Canvas() { return ControlCanvas(); }

    // Where a web or mail link that a press opens goes: the shell's "open"
    // (Owner: the window its messages belong to) by default; a test may
    // record instead. Gives the one it replaced; nullptr restores the shell.
    using TLinkOpener = void (*)(HWND Owner, const std::string& Link);
    static TLinkOpener SetLinkOpener(TLinkOpener opener);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CreateHandle() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void ColClick(TListColumn* column) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    friend struct TAdvListViewAccess;
    void FormResize(TObject* sender);
    void HeaderFontChanged(TObject*);
    void DropToolTips();
    void HeaderImagesChanged(TObject*);
    void ShowIndicator(int column, bool on);
    void RemeasureRows();
    void ApplyBackground();
    HWND HeaderHandle();
    void SetHeaderStyle(DWORD style, bool on);
    void SetLvExStyle(DWORD style, bool on);
    void LeftButtonDown(TMessage& message);
    void LeftButtonUp(TMessage& message);
    void KeyDownMessage(TMessage& message);
    void HeaderNotify(TMessage& message);
    void CNNotify(TMessage& message);
    void DrawItemMessage(TMessage& message);
    void HintShow(TMessage& message);
    void VScroll(TMessage& message);
    void TimerTick();
    void ClickLinks(int x, int y);
    void RepaintFocusedRow();
    bool HtmlHitTest(int col, int row, int x, int y, std::string& anchor);
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    std::unique_ptr<TPrintsettings> printSettings_;
    std::unique_ptr<THTMLSettings> htmlSettings_;
    std::unique_ptr<TColumnSize> columnSize_;
    std::unique_ptr<TBitmap> wallpaper_;
    std::unique_ptr<TBitmap> sortUpGlyph_;
    std::unique_ptr<TBitmap> sortDownGlyph_;
    std::unique_ptr<TFont> headerFont_;
    TAdvRichEdit* richEdit_ = nullptr;
    TChangeLink headerImageLink_;
    TCustomImageList* headerImages_ = nullptr;
    bool headerHotTrack_ = false;
    bool headerDragDrop_ = false;
    bool headerFlatStyle_ = false;
    bool ownerDraw_ = false;
    bool subImages_ = false;
    bool flatScrollBar_ = false;
    int itemHeight_ = 13;
    TSortDirection sortDirection_ = sdAscending;
    bool sortShow_ = false;
    TSortIndicator sortIndicator_ = siLeft;
    int hoverTime_ = 0;
    int filterTimeOut_ = 500;
    bool wordWrap_ = false;
    TVAlignment vAlignment_ = vtaCenter;
    bool filterBar_ = false;
    bool noToolTips_ = false;

    int currentColumn_ = 0;
    int currentRow_ = 0;
    int sortColumn_ = -1;
    int dragRow_ = -1;
    bool editingCell_ = false;
    std::string editCaption_;
    HWND editWnd_ = nullptr;
    WNDPROC editProc_ = nullptr;
    TCursor normalCursor_ = crDefault;
    int hintCol_ = -1;
    int hintRow_ = -1;
    bool scrollTimer_ = false;
    std::string anchor_;
    bool inAnchor_ = true;
    THintWindow* scrollHint_ = nullptr;
    TCustomForm* form_ = nullptr;
    TNotifyEvent formResize_;
    int formWidth_ = 0;
    int formHeight_ = 0;

    friend LRESULT CALLBACK CellEditProc(HWND, UINT, WPARAM, LPARAM);
};

// Registers TAdvListView for forms and loads the link cursor (8019).
void InitAdvListViewUnit();

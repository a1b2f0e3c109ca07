// Unit AdvGrid: TAdvStringGrid, the system's string grid. On the class
// library's string grid it adds cells that are fixed anywhere (footer rows,
// fixed right-hand columns, cells an event declares fixed), per-cell
// editability, alignment and colours through events, graphic cell objects,
// hidden rows with nodes and a row filter, per-cell editor kinds, Enter
// navigation and cell validation, sorting with per-column styles, row and
// column operations, column widths kept in an INI file and a stretched last
// column.
//
// The layers, each in files of its own:
//   AdvModel    what needs no window: text comparison by sort style, the
//               cell Enter advances to, hidden-row indexes, row flags
//   AdvGeometry where the cell painting puts objects, marks and tiles
//   AdvPaint    the painter of one cell on a canvas
//   AdvGrid*.cpp the grid itself, by subject: construction and options,
//               cells and editor choice, sorting and row operations,
//               keyboard and the text editor, painting
//
// Unit start: InitAdvGridUnit starts OLE for the program (drag and drop, a
// failure ends the program; OLE stops with the unit's shutdown) and registers
// the class for forms; a program starts it after the grids unit and the
// rich-edit unit (every grid keeps a hidden rich edit for rich-text cells).
#pragma once

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Grids.h"
#include "classlib/ImgList.h"
#include "grid/AdvModel.h"
#include "grid/AdvOptions.h"

class TRichEdit;
class THintWindow;
class TGridButton;
class TGridCheckBox;
class TGridSpin;
class TGridCombo;
class TGridDatePicker;
class TGridEditBtn;
class TGridUnitEditBtn;
class TArrowWindow;
class TIntList;
class TAdvStringGrid;
struct TCellPaint;

// The grid's own failures, with English texts.
class EAdvGridError : public Exception {
public:
    using Exception::Exception;
};

enum TVAlignment { vtaCenter, vtaTop, vtaBottom };
enum TSortDirection { sdAscending, sdDescending };
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth };
enum TScrollType { ssNormal, ssFlat, ssEncarta };
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };

// The editor a cell gets. 0, 11 to 15, 17 and 18 use the text editor; the
// others are controls (kinds 1-9 and 16), 10 is none.
enum TEditorType : unsigned char {
    etText,
    etSpin,
    etComboEdit,
    etComboList,
    etEditButton,
    etCheckBox,
    etDate,
    etDateUpDown,
    etTime,
    etButton,
    etNone,
    etDigits,
    etNumber,
    etUpperTyped,
    etNameCase,
    etPassword,
    etUnitButton,
    etLowerCase,
    etUpperCase
};

// Sides of a cell border, as bits: cbTop bit 0, cbLeft 1, cbRight 2, cbBottom 3.
enum TCellBorder : unsigned { cbTop = 1u << 0, cbLeft = 1u << 1, cbRight = 1u << 2, cbBottom = 1u << 3 };
using TCellBorders = unsigned;

// Events, their parameters as the component declares them.
using TGridColorEvent = TEvent<TObject*, int, int, TGridDrawState, TBrush*, TFont*>;  // ARow, ACol
using TGridBorderEvent = TEvent<TObject*, int, int, TPen*, TCellBorders&>;             // ARow, ACol
using TGridAlignEvent = TEvent<TObject*, int, int, TAlignment&>;                      // ARow, ACol
using TGridFormatEvent = TEvent<TObject*, int, TSortStyle&, std::string&, std::string&>;
using TGridHintEvent = TEvent<TObject*, int, int, std::string&>;       // ARow, ACol
using TChangingEvent = TEvent<TObject*, int, int, bool&>;              // Old, New
using TCellChangingEvent = TEvent<TObject*, int, int, int, int, bool&>;  // OldRow, OldCol, NewRow, NewCol
using TIndexEvent = TEvent<TObject*, int>;                            // a row or column
using TCanSortEvent = TEvent<TObject*, int, bool&>;
using TNodeClickEvent = TEvent<TObject*, int, int>;  // arow, arowreal
using TCustomCompareEvent = TEvent<TObject*, const std::string&, const std::string&, int&>;
using TRawCompareEvent = TEvent<TObject*, int, int, int, int&>;  // col, row1, row2
using TClickCellEvent = TEvent<TObject*, int, int>;              // Arow, Acol
using TCellQueryEvent = TEvent<TObject*, int, int, bool&>;       // Arow, Acol
using TAnchorClickEvent = TEvent<TObject*, int, int, const std::string&, bool&>;
using TCellValidateEvent = TEvent<TObject*, int, int, std::string&, bool&>;  // Col, Row
using TGetEditorTypeEvent = TEvent<TObject*, int, int, TEditorType&>;        // aCol, aRow
using TEllipsClickEvent = TEvent<TObject*, int, int, std::string&>;          // aCol, aRow
using TCheckBoxClickEvent = TEvent<TObject*, int, int, bool>;
using TRadioClickEvent = TEvent<TObject*, int, int, int>;
using TComboChangeEvent = TEvent<TObject*, int, int, int, const std::string&>;
using TSpinClickEvent = TEvent<TObject*, int, int, int, bool>;
using TScrollHintEvent = TEvent<TObject*, int, std::string&>;
// Printing is not present: these are declared and never fired.
using TPrintPageEvent = TEvent<TObject*, TCanvas*, int, int, int>;
using TPrintStartEvent = TEvent<TObject*, int, int&, int&>;
using TFitToPageEvent = TEvent<TObject*, bool&>;
using TPrintNewPageEvent = TEvent<TObject*, int, bool&>;
using TPrintSizeEvent = TEvent<TObject*, int, int&>;

// The text in-place editor: filters typed and pasted characters by the
// grid's editor kind, completes from LookupItems, limits the length and
// validates the cell on Enter.
class TAdvInplaceEdit : public TInplaceEdit {
public:
    explicit TAdvInplaceEdit(TComponent* owner);
    // 0 or less: no limit.
    short LengthLimit() const { return lengthLimit_; }
    void SetLengthLimit(short value) { lengthLimit_ = value; }
    // The text right-aligned; setting re-creates the window.
    bool valign() const { return valign_; }
    void Setvalign(bool value);
    bool wordwrap() const { return wordwrap_; }
    void Setwordwrap(bool value);

    std::string EditText();
    TAdvStringGrid* AdvGrid() const;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    friend class TAdvStringGrid;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;

private:
    void CharMessage(TMessage& message);
    void Paste();
    void Complete();
    void FocusGained();
    void FocusLost();

    short lengthLimit_ = 0;
    bool valign_ = false;
    bool wordwrap_ = false;
    bool completionEnabled_ = true;
    bool completionMatched_ = false;
    bool password_ = false;  // the window was made for kind 15
};

class TAdvStringGrid : public TStringGrid {
public:
    explicit TAdvStringGrid(TComponent* owner);
    ~TAdvStringGrid() override;

    // ---- Introduced operations, in slot order.
    // Major number 1 in the low word, minor 86 in the high word.
    virtual int VersionNumber();
    virtual std::string VersionText();
    // Ends the edit of the remembered cell: an unchanged cell passes; a
    // changed one goes to OnCellValidate, which may refuse it (the cell
    // gets its starting text back and becomes current again) or correct it.
    // The remembered cell is the one the user edited wherever rows and
    // columns moved it since; gone (removed, hidden), nothing is validated.
    virtual bool ValidateCell(const std::string& Value);
    // Rows by displayed index. A hidden row keeps its place after the shown
    // row above it: rows inserted at Index come after the hidden rows there,
    // and the hidden rows of removed rows stay where they were among the
    // others.
    virtual void RemoveRows(int Index, int Count);
    virtual void InsertRows(int Index, int Count);
    virtual void RemoveCols(int Index, int Count);
    virtual void InsertCols(int Index, int Count);
    virtual void ClearCellRange(int FromCol, int FromRow, int ToCol, int ToRow);
    // Called at the end of a text paste; does nothing.
    virtual void PasteDone(TGridCoord TopLeft, TGridRect Range);
    // The text shown for a cell that starts with "="; the cell's text.
    virtual std::string GetDisplayText(int ACol, int ARow);
    // Called by ValidateCell for a changed cell; does nothing.
    virtual void CellTextChanged(int ACol, int ARow);
    virtual void StartCellEdit(int ACol, int ARow);
    virtual void EllipsisClick();

    // ---- Construction and settings.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    void SaveColumnSizes();
    void LoadColumnSizes();
    void StretchLastColumn();

    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int value) { SetColWidths(0, value); }
    int FixedRowHeight() const { return RowHeights(0); }
    void SetFixedRowHeight(int value) { SetRowHeights(0, value); }

    // ---- Cells.
    bool IsFixedCell(int ACol, int ARow);
    bool CanEditCell(int ACol, int ARow);
    bool IsPasswordCell(int ACol, int ARow);
    TAlignment GetCellAlignment(int ACol, int ARow);
    int GetCellInt(int ACol, int ARow);
    void SetCellInt(int ACol, int ARow, int Value);
    // Columns are all visible: both are identities (RealCol of 256 or more too).
    int RealCol(int ACol) const { return ACol; }
    int DisplayCol(int ACol) const { return ACol; }

    TCellGraphic* GetCellGraphic(int ACol, int ARow);
    int GetCellGraphicKind(int ACol, int ARow);
    TIndexList* GetCellImageList(int ACol, int ARow);
    TSize GetCellGraphicSize(int ACol, int ARow);
    bool IsCheckBoxCell(int ACol, int ARow) { return Kind4or5(GetCellGraphicKind(ACol, ARow)); }
    bool IsRadioCell(int ACol, int ARow) { return GetCellGraphicKind(ACol, ARow) == 9; }
    bool IsToggleCell(int ACol, int ARow) { return IsCheckBoxCell(ACol, ARow) || IsRadioCell(ACol, ARow); }
    bool GetCheckBoxState(int ACol, int ARow, bool& State);
    bool ToggleCheckBox(int ACol, int ARow, bool AskEvent);

    // Hidden rows and nodes (rows by real index unless said otherwise).
    void HideRow(int ARow);
    void HideRows(int FromRow, int ToRow);
    void ShowRow(int ARow);
    void ShowRows(int FromRow, int ToRow);
    void ShowAllRows();
    bool IsRowHidden(int ARow);
    int DisplayRow(int ARow);
    int RealRow(int ARow);
    int NumHiddenRows() const;
    bool IsNodeRow(int DisplayedRow);
    // A node covers real rows: contracting hides those of them that show,
    // expanding brings them back except the rows of a node inside that stays
    // contracted. A node in a hidden row is left alone.
    void ExpandNode(int ARow);
    void ContractNode(int ARow);

    // Row-selection flags.
    bool IsRowSelected(int ARow);
    void SelectRow(int ARow, bool State);
    void ClearRowSelection();
    void SelectRowsInSelection();

    void ApplyColumnHeaders();
    void ApplyRowHeaders();
    void ApplyFilter();
    bool RowMatchesFilter(int ARow);

    // The editor's choice.
    TEditorType EditorType() const { return editorType_; }
    bool ControlShowing() const { return controlShowing_; }
    void ShowCellControl(int ACol, int ARow);
    void HideCellControl(int ACol, int ARow);
    void CancelCellEdit();

    // ---- Sorting, rows and columns.
    // The shown rows are sorted; a hidden row goes with the shown row above
    // it (a contracted node's rows with the node, a filtered-out row with
    // the row it followed), so that showing it again puts it back there.
    // Moved and swapped rows (MoveRow, SwapRows) take theirs along too.
    void SortRows();
    void SortRowGroups();
    int CompareCells(int Col, int RowA, int RowB);
    int CompareRows(int Col, int RowA, int RowB);
    void QuickSortRows(int Col, int Left, int Right);
    void SwapRows(int Row1, int Row2);
    void ClearRows(int Row, int Count);
    void ClearCols(int Col, int Count);
    void ClearAll();
    void FitAllColumns(bool WithFixed, int Extra);
    void FitColumn(int Col, bool OnlyGrow = false);
    void FitRowHeight(int Row);
    void SetRowLines(int Row, int Lines, int Base);
    int RowLineCount(int Row);
    void PlaceRotatedText(TRect& Rect, int Angle, TAlignment Alignment, const std::string& Text);
    bool IsInSelection(int Col, int Row);
    void InvalidateSelection();

    // ---- Keyboard.
    void AdvanceEdit(int ACol, int ARow, bool Forward, bool ShowEditor, bool Force);
    static std::string CapitalizeName(const std::string& S);
    int FindIncrementalRow(const std::string& Prefix);
    TAdvInplaceEdit* AdvEditor() const;

    // ---- Painting.
    void GetCellTextSize(int ACol, int ARow, int& Width, int& Height);
    std::string GetCellPlainText(int ACol, int ARow);
    void LoadRichText(int ACol, int ARow, TRichEdit* RichEdit);

    // ---- Clipboard and import.
    // Rich text of a cell (its text holds "{\") put on the clipboard beside
    // what is there.
    void CopyCellRTF(int Col, int Row);
    void CopyRangeToClipboard(TGridRect Rect);
    void CopySelectionToClipboard();
    void CutSelectionToClipboard();
    // Pastes at the selection's top-left cell; with
    // Navigation.AllowSmartClipboard one value fills the selection and two
    // start a series over it.
    void PasteSelectionFromClipboard();
    int PasteFromClipboardAt(int Col, int Row);
    // Lines to rows, TAB-separated fields to cells from (Col, Row); the grid
    // grows to take them; refused cells are skipped and counted. Gives the
    // number of fields; reads up to the text's first zero byte.
    int PasteText(int Col, int Row, const std::string& Text);
    // The selection in the clipboard's text format.
    std::string SelectionAsText();
    // The range in the clipboard's text format.
    std::string RangeAsText(const TGridRect& Rect);
    // A worksheet through the spreadsheet program's automation server.
    void ImportWorksheet(const std::string& FileName);
    void ReadCSVFile(const std::string& FileName, bool Append);
    void LoadCSVFile(const std::string& FileName) { ReadCSVFile(FileName, false); }
    // The top-left cell of the last copied range (-1, -1 before any copy).
    TGridCoord CopyOrigin() const { return copyOrigin_; }
    // 0: detected for each file.
    char CSVSeparator() const { return csvSeparator_; }
    void SetCSVSeparator(char v) { csvSeparator_ = v; }
    bool TildeLineBreaks() const { return tildeLineBreaks_; }
    void SetTildeLineBreaks(bool v) { tildeLineBreaks_ = v; }
    bool ImportIntoFixedCells() const { return importIntoFixedCells_; }
    void SetImportIntoFixedCells(bool v) { importIntoFixedCells_ = v; }
    bool QuoteMultiLineCells() const { return quoteMultiLineCells_; }
    void SetQuoteMultiLineCells(bool v) { quoteMultiLineCells_ = v; }

    // ---- Control editors: made hidden at construction; the button shows a
    // dragged header during a row or column move.
    TGridButton* ButtonEditor() const { return button_; }
    TGridButton* DragButton() const { return dragButton_; }
    TGridCombo* ComboEditor() const { return combo_; }
    TGridSpin* SpinEditor() const { return spin_; }
    // nullptr without the common controls' date picker (before 4.70).
    TGridDatePicker* DateEditor() const { return datePicker_; }
    TGridCheckBox* CheckBoxEditor() const { return checkBox_; }
    TGridEditBtn* EditButtonEditor() const { return editBtn_; }
    TGridUnitEditBtn* UnitEditor() const { return unitEditBtn_; }

    // ---- Published properties.
    bool AutoNumAlign() const { return autoNumAlign_; }
    void SetAutoNumAlign(bool v) { autoNumAlign_ = v; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TVAlignment VAlignment() const { return vAlignment_; }
    void SetVAlignment(TVAlignment v);
    bool EnhTextSize() const { return enhTextSize_; }
    void SetEnhTextSize(bool v) { enhTextSize_ = v; }
    bool EnhRowColMove() const { return enhRowColMove_; }
    void SetEnhRowColMove(bool v) { enhRowColMove_ = v; }
    bool SortFixedCols() const { return sortFixedCols_; }
    void SetSortFixedCols(bool v) { sortFixedCols_ = v; }
    bool SizeWithForm() const { return sizeWithForm_; }
    void SetSizeWithForm(bool v) { sizeWithForm_ = v; }
    bool Multilinecells() const { return multilinecells_; }
    void SetMultilinecells(bool v) { multilinecells_ = v; }
    TSortDirection SortDirection() const { return sortDirection_; }
    void SetSortDirection(TSortDirection v) { sortDirection_ = v; }
    bool SortFull() const { return sortFull_; }
    void SetSortFull(bool v) { sortFull_ = v; }
    bool SortAutoFormat() const { return sortAutoFormat_; }
    void SetSortAutoFormat(bool v) { sortAutoFormat_ = v; }
    bool SortShow() const { return sortShow_; }
    void SetSortShow(bool v);
    int SortColumn() const { return sortColumn_; }
    void SetSortColumn(int v);
    bool EnableGraphics() const { return enableGraphics_; }
    void SetEnableGraphics(bool v) { enableGraphics_ = v; }
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor v) { hintColor_ = v; }
    bool HintShowCells() const { return hintShowCells_; }
    void SetHintShowCells(bool v) { hintShowCells_ = v; }
    TColor SelectionColor() const { return selectionColor_; }
    void SetSelectionColor(TColor v);
    TColor SelectionTextColor() const { return selectionTextColor_; }
    void SetSelectionTextColor(TColor v);
    bool SelectionRectangle() const { return selectionRectangle_; }
    void SetSelectionRectangle(bool v);
    bool SelectionRTFKeep() const { return selectionRTFKeep_; }
    void SetSelectionRTFKeep(bool v) { selectionRTFKeep_ = v; }
    bool OleDropTarget() const { return oleDropTarget_; }
    // The drop target itself comes with drag and drop; the flag is kept.
    void SetOleDropTarget(bool v);
    bool OleDropSource() const { return oleDropSource_; }
    void SetOleDropSource(bool v) { oleDropSource_ = v; }
    bool OleDropRTF() const;
    void SetOleDropRTF(bool v);
    TPrintsettings* PrintSettings() const { return printSettings_.get(); }
    void SetPrintSettings(TPrintsettings* v) { printSettings_->Assign(v); }
    THTMLSettings* HTMLSettings() const { return htmlSettings_.get(); }
    void SetHTMLSettings(THTMLSettings* v) { htmlSettings_->Assign(v); }
    TNavigation* Navigation() const { return navigation_.get(); }
    void SetNavigation(TNavigation* v) { navigation_->Assign(v); }
    TColumnSize* ColumnSize() const { return columnSize_.get(); }
    void SetColumnSize(TColumnSize* v) { columnSize_->Assign(v); }
    TCellNode* CellNode() const { return cellNode_.get(); }
    void SetCellNode(TCellNode* v) { cellNode_->Assign(v); }
    TSizeWhileTyping* SizeWhileTyping() const { return sizeWhileTyping_.get(); }
    void SetSizeWhileTyping(TSizeWhileTyping* v) { sizeWhileTyping_->Assign(v); }
    TMouseActions* MouseActions() const { return mouseActions_.get(); }
    void SetMouseActions(TMouseActions* v) { mouseActions_->Assign(v); }
    TCustomImageList* GridImages() const { return gridImages_; }
    void SetGridImages(TCustomImageList* v);
    TIntelliPan IntelliPan() const { return intelliPan_; }
    void SetIntelliPan(TIntelliPan v) { intelliPan_ = v; }
    TColor URLColor() const { return urlColor_; }
    void SetURLColor(TColor v) { urlColor_ = v; }
    bool URLShow() const { return urlShow_; }
    void SetURLShow(bool v) { urlShow_ = v; }
    bool URLFull() const { return urlFull_; }
    void SetURLFull(bool v) { urlFull_ = v; }
    bool URLEdit() const { return urlEdit_; }
    void SetURLEdit(bool v) { urlEdit_ = v; }
    // The look of the flat scroll bars (with ScrollProportional).
    TScrollType ScrollType() const { return scrollType_; }
    void SetScrollType(TScrollType v);
    TColor ScrollColor() const { return scrollColor_; }
    void SetScrollColor(TColor v);
    int ScrollWidth() const { return scrollWidth_; }
    void SetScrollWidth(int v);
    bool ScrollProportional() const { return scrollProportional_; }
    void SetScrollProportional(bool v);
    TScrollHintType ScrollHints() const { return scrollHints_; }
    void SetScrollHints(TScrollHintType v) { scrollHints_ = v; }
    bool OemConvert() const { return oemConvert_; }
    void SetOemConvert(bool v) { oemConvert_ = v; }
    int FixedFooters() const { return fixedFooters_; }
    void SetFixedFooters(int v);
    int FixedRightCols() const { return fixedRightCols_; }
    void SetFixedRightCols(int v);
    TFont* FixedFont() const { return fixedFont_.get(); }
    void SetFixedFont(TFont* v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TStrings* ColumnHeaders() const { return columnHeaders_.get(); }
    void SetColumnHeaders(TStrings* v);
    TStrings* RowHeaders() const { return rowHeaders_.get(); }
    void SetRowHeaders(TStrings* v);
    TStrings* LookupItems() const { return lookupItems_.get(); }
    void SetLookupItems(TStrings* v);
    bool Lookup() const { return lookup_; }
    void SetLookup(bool v) { lookup_ = v; }
    bool LookupCaseSensitive() const { return lookupCaseSensitive_; }
    void SetLookupCaseSensitive(bool v) { lookupCaseSensitive_ = v; }
    bool LookupHistory() const { return lookupHistory_; }
    void SetLookupHistory(bool v) { lookupHistory_ = v; }
    TBitmap* SortUpGlyph() const { return sortUpGlyph_.get(); }
    void SetSortUpGlyph(TBitmap* v) { sortUpGlyph_->Assign(v); }
    TBitmap* SortDownGlyph() const { return sortDownGlyph_.get(); }
    void SetSortDownGlyph(TBitmap* v) { sortDownGlyph_->Assign(v); }
    TBackGround* BackGround() const { return backGround_.get(); }
    void SetBackGround(TBackGround* v);
    // Timer 111 makes the data cell under a resting pointer current.
    bool Hovering() const { return hovering_; }
    void SetHovering(bool v);
    TFilter* Filter() const { return filter_.get(); }
    void SetFilter(TFilter* v) { filter_->Assign(v); }
    bool FilterActive() const { return filterActive_; }
    void SetFilterActive(bool v);

    // Where the common-controls library's version is read: the date and time
    // editors need 4.70 or later (a test may put another reader in place).
    using TVersionReader = int (*)();
    static TVersionReader SetCommCtrlVersionReader(TVersionReader reader);
    bool HasDatePicker() const { return hasDatePicker_; }

    // The beep of a refused character; a test may put a counter in its
    // place. Gives the one it replaced.
    using TBeeper = void (*)();
    static TBeeper SetBeeper(TBeeper beeper);

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

    // ---- Published events.
    TGridColorEvent OnGetCellColor;
    TGridColorEvent OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderEvent OnGetCellPrintBorder;
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TGridHintEvent OnGridHint;
    TChangingEvent OnRowChanging;
    TChangingEvent OnColChanging;
    TCellChangingEvent OnCellChanging;
    TIndexEvent OnAutoInsertRow;
    TIndexEvent OnAutoInsertCol;
    TIndexEvent OnAutoDeleteRow;
    TIndexEvent OnClickSort;
    TCanSortEvent OnCanSort;
    TNodeClickEvent OnExpandNode;
    TNodeClickEvent OnContractNode;
    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;
    TClickCellEvent OnClickCell;
    TClickCellEvent OnRightClickCell;
    TClickCellEvent OnDblClickCell;
    TCellQueryEvent OnCanEditCell;
    TCellQueryEvent OnIsFixedCell;
    TCellQueryEvent OnIsPasswordCell;
    TAnchorClickEvent OnAnchorClick;
    TCellValidateEvent OnCellValidate;
    TGetEditorTypeEvent OnGetEditorType;
    TEllipsClickEvent OnEllipsClick;
    TCheckBoxClickEvent OnCheckBoxClick;
    TRadioClickEvent OnRadioClick;
    TComboChangeEvent OnComboChange;
    TSpinClickEvent OnSpinClick;
    TScrollHintEvent OnScrollHint;
    TIndexEvent OnEndColumnSize;
    TPrintPageEvent OnPrintPage;
    TPrintStartEvent OnPrintStart;
    TFitToPageEvent OnFitToPage;
    TPrintNewPageEvent OnPrintNewPage;
    TPrintSizeEvent OnPrintSetColumnWidth;
    TPrintSizeEvent OnPrintSetRowHeight;

protected:
    friend class TAdvInplaceEdit;
    friend class TColumnSize;
    template <class>
    friend class TGridControl;
    friend class TGridButton;
    friend class TGridCheckBox;
    friend class TGridSpin;
    friend class TGridCombo;
    friend class TGridDatePicker;
    template <class>
    friend class TGridEditBox;

    void Notification(TComponent* component, TOperation operation) override;
    void Dispatch(TMessage& message) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Paint() override;
    void Resize() override;
    TInplaceEdit* CreateEditor() override;
    // MayShowEditor: the platform's test, then the editor kind's choice.
    bool CanEditShow() override;
    void DrawCell(int col, int row, TRect rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;
    void ColWidthsChanged() override;
    void SizeChanged(int oldColCount, int oldRowCount) override;
    // Rows and columns cut off by a smaller count are gone, hidden rows with
    // them: their cell graphics are freed and an edit among them ends.
    void CellsCut(const std::vector<TObject*>& objects) override;
    void TopLeftChanged() override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;
    void Click() override;
    void DoEnter() override;
    void DoExit() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void KeyUp(WORD& key, TShiftState shift) override;

    // The owner form's resize handler while the grid lives.
    void FormResized(TObject* sender);
    // The grid's window got the focus (not from its own editor).
    void WindowFocusGained(HWND from);
    // Moves the current row without validating a cell (a sort).
    void SetRowQuietly(int row);
    // A beep for a refused character (a test may silence it).
    static void Beep();

    // ---- Painting: extra declarations (AdvGridPaint.cpp) ----
    // Invalidates the union of the rectangles of a cell range (no erase).
    void InvalidateGridRect(const TGridRect& r);
    // A rich-text cell rendered by the hidden rich edit into a canvas.
    void DrawRichTextCell(int ACol, int ARow, TRect Rect, TCanvas* Canvas);
    // ---- end of painting ----

    // ---- Scrolling, wheel, zoom and panning (AdvGridScroll.cpp) ----
public:
    // The zoom offset (-10 to 10) grows by Step, every column and row that
    // stays wider (higher) than 0 by Step pixels; a step beyond the range
    // does nothing.
    void ZoomGrid(int Step);
    int Zoom() const { return zoom_; }
    // The flat bars take the scroll settings and show where not everything
    // is visible.
    void ApplyFlatScrollBars();
    // The flat bar's thumb from the platform's position, in proportion.
    void UpdateVertThumb();
    void UpdateHorzThumb();
    // The flat scroll bars are initialised for the grid's window.
    bool FlatScrollBarsOn() const { return flatOn_; }
    // What the wheel is, decided at construction: the message the grid
    // takes for it (0: none, and no panning) and the lines of one step
    // (WHEEL_PAGESCROLL for a page).
    UINT WheelMessage() const { return wheelMessage_; }
    UINT WheelLines() const { return wheelLines_; }
    bool Panning() const { return panning_; }

    // Where the wheel detection reads the system: its version and the
    // wheel-scroll-lines setting (a test may put others in place; nullptr
    // members: the system's). Gives the ones replaced.
    struct TWheelSystem {
        void (*Version)(OSVERSIONINFOA& info) = nullptr;
        UINT (*ScrollLines)() = nullptr;
    };
    static TWheelSystem SetWheelSystem(const TWheelSystem& system);

protected:
    // A message of scrolling, the wheel, panning or timer 999; true when
    // it was handled in full (the platform does not see it).
    bool ScrollMessage(TMessage& m);
    // The window is new: the flat bars again where they are wanted.
    void ScrollWindowCreated();
    // The size or the counts changed (shows: the flat bars' show state is
    // decided again).
    void ScrollExtentChanged(bool shows);
    // The grid's cursors 8000-8012 named in the screen's list, each made
    // when it is first asked for.
    static void LoadGridCursors();
    void DrawPanMark();
    // ---- end of scrolling ----

    // ---- Mouse input, hints and cursors (AdvGridMouse.cpp) ----
    // A mouse, timer 111, hint or cursor message; true when it was handled
    // in full.
    bool MouseMessage(TMessage& m);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void DblClick() override;
    void RowHeightsChanged() override;
    // The width change of ColWidthsChanged as the mouse sees it: the end of
    // a user's sizing fires OnEndColumnSize.
    void ColumnSized();
    // The window exists: the hover timer starts when Hovering is on.
    void MouseWindowCreated();
    // A press on a radio group at (X, Y) from the cell's top-left corner.
    void RadioClick(int ACol, int ARow, int Y, int X);
    // A press with MouseActions.CaretPositioning left a caret placement for
    // the editor that gets the focus next: when the pointer lies inside the
    // window `inside`, the caret of `edit` goes to the character under it,
    // nothing selected, and the placement is done.
    void PlacePendingCaret(HWND inside, HWND edit);

public:
    // Where an anchor the grid opens by itself goes: the shell ("open") by
    // default; a test may record instead. Gives the one it replaced.
    using TLinkOpener = void (*)(const std::string& anchor);
    static TLinkOpener SetLinkOpener(TLinkOpener opener);
    // Only web and mail links open by themselves (http://, https://, ftp://,
    // mailto:, any case); OnAnchorClick sees every anchor.
    static bool IsOpenableLink(const std::string& anchor);
    // The time the last header-click sort took, in milliseconds.
    unsigned LastSortTime() const { return sortTime_; }

protected:
    // ---- end of mouse ----

    // ---- OLE drag and drop (AdvGridDrop.cpp) ----
    // A press at (x, y) in cell (col, row) that starts a drag of the
    // selection; true when it did (the press is then done).
    bool TryStartOleDrag(int col, int row, int x, int y);
    // The grid's window was created, or is about to go.
    void DropWindowCreated();
    void DropWindowDestroying();
    // The drop target registered for the window when OleDropTarget is on
    // and the window exists; revoked.
    void RegisterDropTarget();
    void RevokeDropTarget();
    // ---- end of drag and drop ----

private:
    static bool Kind4or5(int kind) { return kind == 4 || kind == 5; }
    // The real indexes of the hidden rows, ascending.
    std::vector<int> HiddenIndexes() const;
    TGridItem* HiddenItem(int realRow) const;
    void StoreRow(int displayRow, int realRow);
    void RestoreRow(TGridItem* item, int displayRow);
    int NodeEnd(int displayRow, int span);
    int NodeLastRow(int realRow, int span);
    void HideShownRows(int FromRow, int ToRow);
    // Shown rows were inserted, removed or moved: each hidden row stays with
    // the shown row above it (MoveHiddenRows), except while rows are hidden
    // or shown, which moves no real index.
    void HiddenRowsFollow(const std::function<int(int)>& newGap);
    // Columns were inserted, removed or moved: the same change to the cells
    // of every hidden row.
    void HiddenCellsFollow(const std::function<void(TStrings*)>& change);
    // Takes Count of a hidden row's cells out from the column on (all of
    // them by default; fewer where the row ends), freeing their cell
    // graphics.
    void CutHiddenCells(TStrings* cells, int fromCol, int count = INT_MAX);
    // The shown rows were reordered, row r going to newRow[r]: the hidden
    // rows and the edit cell go with them.
    void RowsReordered(const std::vector<int>& newRow);
    // After rows or columns moved under the edit cell (editCol_, editRow_
    // set where it went, -1 when it is gone): an edit that changed its cell
    // goes on there; else the edit starts over on the current cell. The
    // editor shows the current cell's text.
    void SettleEditCell();
    void RepaintRowLine(int row);
    void HeadersChanged(TObject* sender);
    void FixedFontChanged(TObject* sender);
    int SortLastColumn() const;
    void SortWith(bool groups);
    void ForgetPivotObjects();
    void ChooseCellFont(int col, int row, TCanvas* canvas);
    void FillCellPaint(int col, int row, TRect rect, TGridDrawState state, TCellPaint& paint);

    std::unique_ptr<TPrintsettings> printSettings_;
    std::unique_ptr<THTMLSettings> htmlSettings_;
    std::unique_ptr<TNavigation> navigation_;
    std::unique_ptr<TColumnSize> columnSize_;
    std::unique_ptr<TCellNode> cellNode_;
    std::unique_ptr<TSizeWhileTyping> sizeWhileTyping_;
    std::unique_ptr<TMouseActions> mouseActions_;
    std::unique_ptr<TStringList> columnHeaders_;
    std::unique_ptr<TStringList> rowHeaders_;
    std::unique_ptr<TFont> fixedFont_;
    std::unique_ptr<TStringList> lookupItems_;
    std::unique_ptr<TBitmap> sortUpGlyph_;
    std::unique_ptr<TBitmap> sortDownGlyph_;
    std::unique_ptr<TBackGround> backGround_;
    std::unique_ptr<TCollection> hiddenRows_;
    std::unique_ptr<TFilter> filter_;
    std::unique_ptr<TIntList> intList_;
    std::unique_ptr<TStringList> scratch_;
    TRowFlags rowFlags_;
    THintWindow* hintWindow_ = nullptr;  // owned as a component
    TRichEdit* richEdit_ = nullptr;      // owned as a component
    TArrowWindow* arrows_[4] = {};       // owned as components

    bool autoNumAlign_ = false, autoSize_ = false, enhTextSize_ = false, enhRowColMove_ = false;
    bool sortFixedCols_ = false, sizeWithForm_ = false, multilinecells_ = false;
    TVAlignment vAlignment_ = vtaTop;
    TSortDirection sortDirection_ = sdAscending;
    bool sortFull_ = true, sortAutoFormat_ = true, sortShow_ = false;
    int sortColumn_ = 0;
    bool enableGraphics_ = false;
    TColor hintColor_ = 0x0000FFFF;
    bool hintShowCells_ = false;
    TColor selectionColor_ = clHighlight;
    TColor selectionTextColor_ = clHighlightText;
    bool selectionRectangle_ = false, selectionRTFKeep_ = false;
    bool oleDropTarget_ = false, oleDropSource_ = false;
    TCustomImageList* gridImages_ = nullptr;
    TIntelliPan intelliPan_ = ipVertical;
    TColor urlColor_ = clBlack;
    bool urlShow_ = false, urlFull_ = false, urlEdit_ = false;
    TScrollType scrollType_ = ssNormal;
    TColor scrollColor_ = clNone;
    int scrollWidth_ = 0;
    bool scrollProportional_ = false;
    TScrollHintType scrollHints_ = shNone;
    bool oemConvert_ = false;
    int fixedFooters_ = 0, fixedRightCols_ = 0;
    bool wordWrap_ = false;
    bool lookup_ = false, lookupCaseSensitive_ = false, lookupHistory_ = false;
    bool hovering_ = false;
    bool filterActive_ = false;

    // State beyond the properties.
    int editCol_ = -1, editRow_ = -1;
    std::string editText_;        // the edit cell's text when its edit began
    std::string cancelText_;      // the current cell's text when an editor could last open
    TEditorType editorType_ = etText;
    bool controlShowing_ = false;
    bool editBegun_ = false;      // an edit began since the grid got the focus
    std::string searchText_;      // the incremental search
    int updateCount_ = 0;
    int zoom_ = 0;
    bool stretching_ = true;      // off while StretchLastColumn sets a width
    bool moved_ = false;          // a mouse move happened: the release does not sort
    bool hasDatePicker_ = false;
    TGridRect lastSelection_{-1, -1, -1, -1};
    int sortCurrentRow_ = -1;     // the current row while a sort moves rows
    std::vector<int> sortOrder_;  // while a sort moves rows: the row each row came from
    int hidingRows_ = 0;          // rows are being hidden or shown
    std::string passwordChar_ = "*";
    std::string checkTrue_ = "Y", checkFalse_ = "N";
    TNotifyEvent formResize_;     // the owner form's own resize handler
    TCustomForm* ownerForm_ = nullptr;
    int formWidth_ = 0, formHeight_ = 0;
    TCursor normalCursor_ = crDefault;

    // Clipboard and import.
    void SmartPaste(int pasted);
    void FillSeries(const TGridRect& s, const std::string& a, const std::string& b);
    std::string RichPlainText(int col, int row);
    // Stores a text read from outside (paste, import) without repainting;
    // EndBulkWrite repaints once.
    void BulkWrite(int col, int row, const std::string& text);
    void EndBulkWrite();
    TGridCoord copyOrigin_{-1, -1};

    // Control editors.
    void CreateControlEditors();
    // The control of the current editor kind (nullptr for the text kinds).
    TWinControl* CurrentControl() const;
    // What the control of the current kind holds, as the cell's text.
    std::string ControlValue();
    // That control hidden and disabled, with (store) or without its value
    // written into the cell.
    void HideControl(int col, int row, bool store);
    // Enter (and the keys that act as it): the value written into the cell
    // and validated; on a refusal the control stays and false comes back.
    bool ControlEnter(TWinControl* control);
    // The control hands the keyboard back: hidden (storing unless Escape),
    // the editing mode left, Up and Down (Left and Right too with
    // arrowsAcross) passed on, the grid focused without AlwaysEdit, and
    // Enter moves on. quiet: the grid neither validates nor starts an edit
    // as the focus comes back.
    void ControlReturn(WORD key, bool store, bool arrowsAcross, bool quiet);
    // The control lost the focus while it showed: stored and hidden.
    void ControlExit(TWinControl* control);
    // A key of an edit with a button; false when it is the edit's own.
    bool EditButtonKey(TWinControl* edit, WORD& key);
    // Owned as components.
    TGridCombo* combo_ = nullptr;
    TGridSpin* spin_ = nullptr;
    TGridDatePicker* datePicker_ = nullptr;
    TGridCheckBox* checkBox_ = nullptr;
    TGridEditBtn* editBtn_ = nullptr;
    TGridUnitEditBtn* unitEditBtn_ = nullptr;
    TGridButton* button_ = nullptr;
    TGridButton* dragButton_ = nullptr;
    // A control editor is handing the focus back: the grid neither
    // validates nor starts an edit on the way.
    bool controlFocusChange_ = false;
    char csvSeparator_ = 0;
    bool tildeLineBreaks_ = false, importIntoFixedCells_ = false, quoteMultiLineCells_ = false;

    // ---- Painting: state ----
    // What the content drawing leaves for the cell object: the width of the
    // drawn line and the height of a line of the cell's font.
    struct TDrawnText {
        int Width = 0;
        int LineHeight = 0;
    };
    // The cell's content (HTML moves the rectangle in for what follows).
    void DrawCellContent(int col, int row, TRect& rect, TGridDrawState state, TDrawnText& drawn);
    void DrawCellObject(int col, int row, const TRect& rect, TGridDrawState state, const TDrawnText& drawn);
    void DrawBackGroundIn(int col, int row, const TRect& rect);
    // The widths of the data columns before col (heights of the data rows
    // before row, when !horizontal): what a tiled background is offset by.
    int DataSpanBefore(bool horizontal, int index);
    // Within one paint: the span before the first scrolled-in column and
    // row, so each cell adds only the ones in view (-1: not yet known).
    struct TSpanMemo {
        int Index = -1;
        int Span = 0;
    };
    TSpanMemo tileSpan_[2];
    bool ShowsSortMark(int col, int row);
    // A data cell of a row whose selection flag is set, while whole rows are
    // selected: it shows as selected.
    bool InFlaggedRow(int col, int row);
    // The sort mark of the sort direction centred at a point.
    void DrawSortMarkAt(TPoint at);
    // A cell object's own size (kinds 4 and 5: the 15 x 15 square), whatever
    // room it takes beside the text.
    TSize CellObjectSize(const TCellGraphic& object) const;
    // The rich edit's rendering did not reach the canvas: the edit prints its
    // client area there, else the plain text is drawn.
    void DrawRichTextFallback(int col, int row, const TRect& rect, TCanvas* canvas);
    // ---- end of painting state ----

    // ---- Scrolling: state ----
    void InitFlatScrollBars();
    void DoneFlatScrollBars();
    bool FlatReady() const;
    void SetFlatProp(UINT index, int value);
    void ShowFlatBar(int bar, bool show);
    void ShowFlatBars();
    bool BarAllowed(int bar) const;
    void UpdateThumb(bool horizontal);
    void DetectWheel();
    void WheelTurned(int delta, bool ctrl);
    bool ScrollBarMessage(TMessage& m, bool horizontal);
    void ShowScrollHint(bool horizontal, int position);
    TGridRect BackGroundCells();
    void StartPanning(int x, int y);
    void StopPanning();
    void PanTick();
    bool flatOn_ = false;
    UINT wheelMessage_ = 0;
    UINT wheelLines_ = 0;
    bool panning_ = false;
    TPoint panStart_{0, 0};
    TCursor panCursor_ = crDefault;  // the cursor before panning
    bool panShowHint_ = false, panParentShowHint_ = false;
    // The pan mark of this panning on white, made when it starts (none when
    // the program carries no mark).
    std::unique_ptr<TBitmap> panMark_;
    // ---- end of scrolling state ----

    // ---- Mouse: state ----
    // WM_SETREDRAW off on the grid's window while a move paints; unlocking
    // twice does nothing.
    void LockWindowUpdates();
    void UnlockWindowUpdates();
    // The grid sets its own cursor: not taken as the normal cursor.
    void SetGridCursor(TCursor cursor);
    // The anchor under (x, y) in cell (col, row), empty when none.
    std::string AnchorAt(int col, int row, int x, int y, bool linkTexts);
    void LeftPress(TShiftState shift, int x, int y);
    void RightPress(TShiftState shift, int x, int y);
    void LeftRelease(TShiftState shift, int x, int y);
    void HeaderClickSort(int pc, int pr, int x);
    void FollowEnhancedMove(int x, int y, int pc, int pr);
    void PlaceMoveArrows();
    void HoverTick();
    void HintShow(THintInfo& info);
    void EndColumnSize();

    TPoint pressPoint_{-1, -1};
    TGridCoord sizingCell_{-1, -1};
    int sizeOffsetX_ = 0, sizeOffsetY_ = 0;  // the press minus the sizing cell's right and bottom
    int movingIndex_ = -1;
    TPoint moveOffset_{};                    // the press inside the moved header
    TGridCoord prevMoveCell_{-1, -1};
    TGridCoord hintCell_{-1, -1};
    bool userSized_ = false;       // the platform sized a column while the mouse moved
    bool sizeChanged_ = false;
    bool borderDblClick_ = false;
    bool clickSelecting_ = false;  // a click without Ctrl began a row selection
    bool ctrlOnSelected_ = false;  // a Ctrl-press on a flagged row unflags it at the release
    bool caretPending_ = false;
    bool updatesLocked_ = false;
    bool settingCursor_ = false;
    bool allColumnSizing_ = false;  // AllColumnSize sets the widths
    unsigned sortTime_ = 0;
    // ---- end of mouse state ----

    // ---- Drag and drop: state ----
    // The grid's drop target (made when first registered) and the window it
    // is registered for; both let go when the grid goes.
    struct TDropRegistration {
        class TGridDropTarget* target = nullptr;
        HWND window = nullptr;
        TDropRegistration() = default;
        TDropRegistration(const TDropRegistration&) = delete;
        TDropRegistration& operator=(const TDropRegistration&) = delete;
        ~TDropRegistration();
    };
    TDropRegistration drop_;
    // ---- end of drag and drop state ----
};

void InitAdvGridUnit();

#include "grid/AdvGridEditors.h"

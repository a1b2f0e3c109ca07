// Grids: TCustomGrid paints a table of cells (fixed rows and columns at the
// top and left, which never scroll), keeps a current cell and a selection,
// scrolls, sizes columns and rows with the mouse, moves with the keyboard and
// edits the current cell in an in-place editor; TStringGrid adds a text and
// an object reference for every cell.
//
// Unit start: InitGridsUnit registers TStringGrid for forms; a program starts
// it after the forms unit: StartUnit(InitGridsUnit, nullptr).
//
// Geometry. Column c is ColWidths(c) pixels wide and followed by a grid line
// of GridLineWidth pixels (when the options draw lines there); rows alike.
// The fixed columns and rows always show; then the columns from LeftCol and
// the rows from TopRow, as many as fit. CellRect gives a cell's rectangle in
// client coordinates, the empty rectangle when the cell does not show.
//
// Moving. With goColMoving (goRowMoving) a press on a fixed-row cell of a
// column (a fixed-column cell of a row) picks the column (row) up: the mouse
// state is gsColMoving (gsRowMoving), the drag cursor shows, a line marks
// where it would land, timer 1 scrolls one step a tick while the mouse is
// beyond the view, and the release moves it there (MoveColumn, MoveRow).
//
// Scroll bars run from 0 to 127 over the whole range, whatever the number of
// rows and columns; a derived grid that reads the bars relies on that.
//
// Editing. With goEditing, F2, Enter, a typed character or a click on the
// current cell open the in-place editor (TInplaceEdit) on the current cell;
// with goAlwaysShowEditor it opens as soon as the grid gets the focus and
// follows the current cell (it hides while the focus is elsewhere, until the
// grid shows it again: focus, a move of the current cell, a scroll). The editor's text comes from GetEditText and
// every change of it goes straight to SetEditText, so a TStringGrid's cell
// always holds what the editor shows. The focus in the editor counts as the
// grid's: DoEnter and DoExit of the grid run when the focus enters or leaves
// the pair, not when it moves between them.
//
// The virtual steps a derived grid overrides: DrawCell (each visible cell,
// from Paint's drawing loop), SelectCell (may the current cell move there),
// CanEditShow (may the editor show now), GetEditText and SetEditText,
// CreateEditor, Click (after the current cell moved by mouse or keyboard),
// ColWidthsChanged, RowHeightsChanged, SizeChanged (counts), TopLeftChanged,
// ColumnMoved and RowMoved, and the input steps of TWinControl.
#pragma once

#include <string>
#include <vector>

#include "classlib/Controls.h"

class TCustomGrid;

// An index outside the grid, fixed counts that leave no other cell.
class EInvalidGridOperation : public Exception {
public:
    using Exception::Exception;
};

// Options, as bits: bit N is member N of the published set.
enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,
    goColMoving = 1u << 9,
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13,
    goThumbTracking = 1u << 14,
};
using TGridOptions = unsigned;

// How a cell is drawn, as bits.
enum TGridDrawStateFlag : unsigned { gdSelected = 1u << 0, gdFocused = 1u << 1, gdFixed = 1u << 2 };
using TGridDrawState = unsigned;

// What the mouse is doing in the grid.
enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

struct TGridCoord {
    int X = 0;
    int Y = 0;
};

// A block of cells, both corners included.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// (Sender, ACol, ARow, Rect, State)
using TDrawCellEvent = TEvent<TObject*, int, int, TRect, TGridDrawState>;
// (Sender, ACol, ARow, CanSelect)
using TSelectCellEvent = TEvent<TObject*, int, int, bool&>;
// (Sender, ACol, ARow, Value): the text the editor starts with.
using TGetEditEvent = TEvent<TObject*, int, int, std::string&>;
// (Sender, ACol, ARow, Value): the editor's text changed.
using TSetEditEvent = TEvent<TObject*, int, int, const std::string&>;
// (Sender, FromIndex, ToIndex)
using TMovedEvent = TEvent<TObject*, int, int>;

// The text editor shown over the current cell: a borderless edit, child of
// the grid. Keys that move between cells go to the grid; the characters it
// gets go to the grid's KeyPress first.
class TInplaceEdit : public TWinControl {
public:
    explicit TInplaceEdit(TComponent* owner);
    TCustomGrid* Grid() const { return grid_; }

    int SelStart();
    int SelLength();
    void SetSel(int start, int length);
    void SelectAll() { SetSel(0, -1); }
    void Deselect();

protected:
    friend class TCustomGrid;

    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void DoEnter() override;
    void DoExit() override;
    // The text changed (by typing or by the program): hands it to the grid.
    virtual void Change();
    // The grid places the editor over a cell and shows it.
    virtual void MoveTo(const TRect& rect);
    // Loads the grid's edit text for the current cell.
    virtual void UpdateContents();

private:
    TCustomGrid* grid_;
    bool loading_ = false;
};

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;

    int ColCount() const { return colCount_; }
    void SetColCount(int value);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int value);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int value);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int value);

    int DefaultColWidth() const { return defaultColWidth_; }
    // Sets every column to that width.
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    // Sets every row to that height.
    void SetDefaultRowHeight(int value);
    int ColWidths(int index) const;
    void SetColWidths(int index, int value);
    int RowHeights(int index) const;
    void SetRowHeights(int index, int value);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int value);

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions value);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor value);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool value) { defaultDrawing_ = value; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);

    // The current cell. Setting it asks SelectCell, scrolls it into view and
    // takes the selection (and the editor) with it.
    int Col() const { return current_.X; }
    void SetCol(int value);
    int Row() const { return current_.Y; }
    void SetRow(int value);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& value);

    // The first non-fixed column and row shown, and how many show whole.
    int LeftCol() const { return topLeft_.X; }
    void SetLeftCol(int value);
    int TopRow() const { return topLeft_.Y; }
    void SetTopRow(int value);
    int VisibleColCount();
    int VisibleRowCount();

    TRect CellRect(int col, int row);
    // The cell under a client point; -1, -1 outside the cells.
    TGridCoord MouseCoord(int x, int y);
    void MouseToCell(int x, int y, int& col, int& row);

    bool EditorMode() const { return editorMode_; }
    void SetEditorMode(bool value);
    void ShowEditor();
    void HideEditor();
    TInplaceEdit* InplaceEditor() const { return inplaceEdit_; }

    void InvalidateCell(int col, int row);
    void InvalidateRow(int row);
    void InvalidateCol(int col);
    void InvalidateGrid() { Invalidate(); }

    // Moves a column or row with its size (and, in a string grid, its cells).
    void MoveColumn(int fromIndex, int toIndex);
    void MoveRow(int fromIndex, int toIndex);

    // Col and Row; setting one moves the current cell as a click on a cell
    // of that column or row does.
    bool ProbeState(TStrings& lines, bool change) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TNotifyEvent OnTopLeftChanged;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;

protected:
    friend class TInplaceEdit;

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void Paint() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Resize() override;

    virtual void DrawCell(int col, int row, TRect rect, TGridDrawState state);
    virtual bool SelectCell(int col, int row);
    virtual bool CanEditShow();
    virtual std::string GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const std::string& value);
    virtual TInplaceEdit* CreateEditor();
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    virtual void TopLeftChanged();
    virtual void ColumnMoved(int fromIndex, int toIndex);
    virtual void RowMoved(int fromIndex, int toIndex);

    // Moves the current cell as the user does: asks SelectCell, scrolls it
    // into view, moves the editor, then Click.
    void FocusCell(int col, int row, bool moveAnchor);
    // Makes a cell current as a click on it does; raises
    // EInvalidGridOperation when a click could not (a fixed cell, a cell
    // outside, SelectCell refusing).
    void ClickCell(int col, int row);
    // Moves the current cell without Click; false when SelectCell refused.
    bool MoveCurrent(int col, int row, bool moveAnchor, bool show);
    // The editor's place and text follow the current cell.
    void UpdateEdit();
    // The editor takes the edit text of its cell again.
    void InvalidateEditor();
    // The grid or its editor has the input focus.
    bool GridFocused() const;
    // What the mouse is doing; a derived grid that finishes a move itself
    // resets it so that the release moves nothing more.
    TGridState GridState() const { return gridState_; }
    // Ends what the mouse started (sizing, selecting, moving: the move timer
    // stops and nothing is moved).
    void ResetGridState();
    // Whether a row or column move paints its landing mark; a derived grid
    // that marks the place its own way turns it off.
    void SetMoveMarkShown(bool value) { moveMarkShown_ = value; }
    // Rows and columns the editor is on (-1 while it shows nowhere).
    int InplaceCol() const { return inplaceCol_; }
    int InplaceRow() const { return inplaceRow_; }
    // The position (0 to 127) the grid gives its scroll bar for the first
    // visible column (row).
    int ScrollBarPosition(bool horizontal);

    // A row or column taken out (the ones after it move up or left) or put
    // in (empty, of the default size) with its size and, in a string grid,
    // its cells, without ColumnMoved or RowMoved: a derived grid whose move
    // hooks do more (exchange sizes) deletes and inserts through these.
    virtual void DeleteRow(int index);
    virtual void DeleteColumn(int index);
    virtual void InsertRow(int index);
    virtual void InsertColumn(int index);

private:
    struct TAxis;
    void Initialize();
    void Axis(bool horizontal, TAxis& axis);
    int LinePos(bool horizontal, int index);
    int LastFullyVisible(bool horizontal);
    int MaxTopLeft(bool horizontal);
    void ClampInView(TGridCoord cell);
    void MoveTopLeft(int col, int row);
    void UpdateScrollRange();
    void ScrollMessage(bool horizontal, int code, int thumb);
    void SelectionMoved(const TGridRect& old);
    void InvalidateRange(const TGridRect& range);
    bool VisibleSpan(bool horizontal, int from, int to, int& low, int& high);
    void ChangeSize(int colCount, int rowCount);
    bool SizingBorder(int x, int y, TGridState& state, int& index, int& pos);
    int FixedExtent(bool horizontal);
    // The column (row) at a client position along one axis; -1 when none.
    int IndexAt(bool horizontal, int at);
    void BeginMove(TGridState state, int index, int x, int y);
    void FollowMove(int x, int y);
    void MoveTimer();
    void SetMoveTarget(int index);
    TRect MoveMarkRect();
    void EditorLostFocus(HWND to);
    void TabTo(bool forward);

    int colCount_ = 0;
    int rowCount_ = 0;
    int fixedCols_ = 0;
    int fixedRows_ = 0;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    int gridLineWidth_ = 1;
    TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    TColor fixedColor_ = clBtnFace;
    bool defaultDrawing_ = true;
    TScrollStyle scrollBars_ = ssBoth;
    TBorderStyle borderStyle_ = bsSingle;
    bool ctl3D_ = true;

    TGridCoord current_;
    TGridCoord anchor_;
    TGridCoord topLeft_;
    bool editorMode_ = false;
    TInplaceEdit* inplaceEdit_ = nullptr;
    int inplaceCol_ = -1;
    int inplaceRow_ = -1;
    bool updatingScrollBars_ = false;

    TGridState gridState_ = gsNormal;
    int sizingIndex_ = -1;
    int sizingPos_ = 0;     // where the line being dragged is now
    int sizingOffset_ = 0;  // press point minus the line's position
    // A row or column being moved with the mouse: where it was pressed, where
    // it would go now, and the last mouse position (the move timer scrolls
    // from it).
    int moveFrom_ = -1;
    int moveTo_ = -1;
    TPoint moveMouse_{};
    bool moveMarkShown_ = true;
};

// The grid of texts: every cell has a text and an object reference (never
// owned by the grid).
class TStringGrid : public TCustomGrid {
public:
    explicit TStringGrid(TComponent* owner);

    // Outside the grid a cell reads as empty; writing there raises
    // EListError.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& value);
    TObject* Objects(int col, int row) const;
    void SetObjects(int col, int row, TObject* value);

    // Adds Cells[col,row] for every cell. Setting one makes the cell current
    // as a click does and gives it the text as typed into the editor: one
    // SetEditText with the whole text.
    bool ProbeState(TStrings& lines, bool change) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void DrawCell(int col, int row, TRect rect, TGridDrawState state) override;
    std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;
    void SizeChanged(int oldColCount, int oldRowCount) override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;
    void DeleteRow(int index) override;
    void DeleteColumn(int index) override;
    void InsertRow(int index) override;
    void InsertColumn(int index) override;
    // The text of a cell inside the grid, without a copy; stored without
    // repainting anything (the caller repaints).
    const std::string& CellText(int col, int row) const { return cells_[row][col].text; }
    void StoreCellText(int col, int row, const std::string& text) { cells_[row][col].text = text; }
    // Exchanges two rows' texts and objects (not their heights).
    void ExchangeRows(int row1, int row2) { cells_[row1].swap(cells_[row2]); }
    // A smaller column or row count cut cells off the end (deleting a row or
    // column cuts none): objects are those the cut cells held, which this
    // grid does not own. Called with the new counts in place.
    virtual void CellsCut(const std::vector<TObject*>& objects);

private:
    struct TCell {
        std::string text;
        TObject* object = nullptr;
    };
    TCell& CellAt(int col, int row);
    // Rows of cells, each ColCount long.
    std::vector<std::vector<TCell>> cells_;
    int editUpdate_ = 0;  // the editor's own change is being stored
};

void InitGridsUnit();

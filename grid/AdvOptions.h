// The grid's settings objects and small persistent classes (unit AdvGrid):
// each option class is created and owned by its grid for the grid's whole
// life, and a form description sets its fields as sub-properties of the
// grid ("Navigation.AdvanceOnEnter = True").
#pragma once

#include <memory>
#include <string>

#include "classlib/Graphics.h"
#include "classlib/Lists.h"
#include "common/HtmlSettings.h"

class TAdvStringGrid;

enum TAdvanceDirection { adLeftRight, adTopBottom };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum TNodeType { cnFlat, cn3D, cnGlyph };
enum TBackGroundDisplay { bdTile, bdFixed };
enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders {
    pbNoborder,
    pbSingle,
    pbDouble,
    pbVertical,
    pbHorizontal,
    pbAround,
    pbAroundVertical,
    pbAroundHorizontal,
    pbCustom
};
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
enum TPrinterOrientation { poPortrait, poLandscape };

// Keyboard settings (their effects: keyboard input and sorting).
class TNavigation : public TPersistent {
public:
    bool AllowInsertRow = false;
    bool AllowDeleteRow = false;
    bool AdvanceOnEnter = false;
    bool AdvanceInsert = false;
    bool AutoGotoWhenSorted = false;
    bool AutoGotoIncremental = false;
    bool AutoComboDropSize = false;
    bool AllowClipboardShortCuts = false;
    bool AllowRTFClipboard = false;
    bool AllowSmartClipboard = false;
    bool AdvanceAuto = false;
    bool CursorWalkEditor = false;
    bool MoveRowOnSort = false;
    bool ImproveMaskSel = false;
    bool AlwaysEdit = false;
    TAdvanceDirection AdvanceDirection = adLeftRight;
    TInsertPosition InsertPosition = pInsertBefore;

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

class TMouseActions : public TPersistent {
public:
    bool ColSelect = false;
    bool RowSelect = false;
    bool AllSelect = false;
    bool DirectEdit = false;
    bool DisjunctRowSelect = false;
    bool AllColumnSize = false;
    bool CaretPositioning = false;

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

class TSizeWhileTyping : public TPersistent {
public:
    bool Height = false;
    bool Width = false;

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// The column-size store (an INI file Key, section Section) and stretching.
class TColumnSize : public TPersistent {
public:
    explicit TColumnSize(TAdvStringGrid* grid) : grid_(grid) {}
    bool Save = false;
    std::string Key;
    std::string Section;
    bool Stretch() const { return stretch_; }
    // Stores the flag and stretches the grid's last column at once.
    void SetStretch(bool value);

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    TAdvStringGrid* grid_;
    bool stretch_ = false;
};

// The look of node cells.
class TCellNode : public TPersistent {
public:
    explicit TCellNode(TAdvStringGrid* grid);
    TColor Color = 0xC0C0C0;
    TColor NodeColor = 0;
    TNodeType NodeType() const { return nodeType_; }
    // A different value repaints the grid.
    void SetNodeType(TNodeType value);
    TBitmap* ExpandGlyph() const { return expandGlyph_.get(); }
    void SetExpandGlyph(TBitmap* value) { expandGlyph_->Assign(value); }
    TBitmap* ContractGlyph() const { return contractGlyph_.get(); }
    void SetContractGlyph(TBitmap* value) { contractGlyph_->Assign(value); }

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    TAdvStringGrid* grid_;
    TNodeType nodeType_ = cnFlat;
    std::unique_ptr<TBitmap> expandGlyph_;
    std::unique_ptr<TBitmap> contractGlyph_;
};

// The background bitmap of normal cells; every setter repaints the grid.
class TBackGround : public TPersistent {
public:
    explicit TBackGround(TAdvStringGrid* grid);
    int Top() const { return top_; }
    void SetTop(int value);
    int Left() const { return left_; }
    void SetLeft(int value);
    TBackGroundDisplay Display() const { return display_; }
    void SetDisplay(TBackGroundDisplay value);
    TBitmap* Bitmap() const { return bitmap_.get(); }
    // Copies the picture.
    void SetBitmap(TBitmap* value);

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    void Changed();
    TAdvStringGrid* grid_;
    int top_ = 0;
    int left_ = 0;
    TBackGroundDisplay display_ = bdTile;
    std::unique_ptr<TBitmap> bitmap_;
};

// Print settings: carried, nothing prints.
class TPrintsettings : public TPersistent {
public:
    TPrintsettings();
    ~TPrintsettings() override;
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* value) { font_->Assign(value); }
    TFont* HeaderFont() const { return headerFont_.get(); }
    void SetHeaderFont(TFont* value) { headerFont_->Assign(value); }
    TFont* FooterFont() const { return footerFont_.get(); }
    void SetFooterFont(TFont* value) { footerFont_->Assign(value); }
    TStrings* TitleLines() const { return titleLines_.get(); }
    void SetTitleLines(TStrings* value) { titleLines_->Assign(value); }

    std::string PageNumSep = "/";
    std::string DateFormat = "dd/mm/yyyy";
    std::string PagePrefix, PageSuffix, TitleText, JobName;
    int TitleSpacing = 0, FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0;
    int ColumnSpacing = 0, RowSpacing = 0, FixedWidth = 0, FixedHeight = 0;
    TPrintPosition Time = ppNone, Date = ppNone, PageNr = ppNone, Title = ppNone;
    TPrintBorders Borders = pbNoborder;
    TPenStyle BorderStyle = psSolid;
    TPrinterOrientation Orientation = poPortrait;
    TFitToPage FitToPage = fpNever;
    bool Centered = false, RepeatFixedRows = false, RepeatFixedCols = false, UseFixedHeight = false;
    bool UseFixedWidth = false, NoAutoSize = false, PrintGraphics = false;

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    std::unique_ptr<TFont> font_, headerFont_, footerFont_;
    std::unique_ptr<TStringList> titleLines_;
};

// One condition of the row filter: the text of a row's cell in Column
// must match Condition (MatchFilter of AdvUtil).
class TFilterData : public TCollectionItem {
public:
    explicit TFilterData(TCollection* collection) : TCollectionItem(collection) {}
    short Column = 0;
    std::string Condition;

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

class TFilter : public TCollection {
public:
    explicit TFilter(TAdvStringGrid* grid);
    TFilterData* Add() { return static_cast<TFilterData*>(TCollection::Add()); }
    TFilterData* Items(int index) const { return static_cast<TFilterData*>(TCollection::Items(index)); }
    TAdvStringGrid* Grid() const { return grid_; }

private:
    TAdvStringGrid* grid_;
};

// A hidden row in the grid's store: its real index and a copy of its cell
// texts with their objects.
class TGridItem : public TCollectionItem {
public:
    explicit TGridItem(TCollection* collection);
    ~TGridItem() override;
    int Idx = 0;
    TStrings* Items() const { return items_.get(); }
    // Copies the lines with their objects: the item keeps its own list.
    void SetItems(TStrings* value);

    void Assign(const TPersistent* source) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    std::unique_ptr<TStringList> items_;
};

// A graphic cell object; the grid acts on it only while EnableGraphics is
// on. Kinds: 0 bitmap, 1 graphic, 3 image of GridImages, 4 check box, 5 data
// check box, 6 rotated text, 7 data image, 8 node, 9 radio group, 11 row of
// images, 12 picture; 10 is what a cell without one reports.
class TCellGraphic : public TObject {
public:
    ~TCellGraphic() override;
    unsigned char Kind = 0;
    // By kind: the bitmap, picture, list of item texts or (kind 11, owned)
    // the list of image indexes.
    TObject* Object = nullptr;
    TGraphic* Graphic = nullptr;  // kind 1
    // 0 top, 1 bottom, 2 centre, 3 under the text, 4 over the text.
    unsigned char VerticalPosition = 0;
    // 0 left, 1 right, 2 centre, 3 before the text, 4 after the text.
    unsigned char HorizontalPosition = 0;
    int Number = 0;  // image index, offset, span or selected item
    bool Transparent = false;
    bool State = false;  // set, contracted, laid out horizontally
    short Count = 0;     // radio items, or the angle of rotated text
};

// The index list of a kind 11 cell object.
class TIndexList : public TObject {
public:
    std::vector<int> Indexes;
};

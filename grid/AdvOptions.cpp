#include "grid/AdvOptions.h"

#include "classlib/TypInfo.h"
#include "grid/AdvGrid.h"

// A data member published under its own name, written once.
#define QMX_BOOL(C, f) PublishBoolean<&C::f, &C::f>(#f)
#define QMX_INT(C, f) PublishInteger<&C::f, &C::f>(#f)
#define QMX_STR(C, f) PublishString<&C::f, &C::f>(#f)
#define QMX_COLOR(C, f) PublishColor<&C::f, &C::f>(#f)

namespace {

const std::vector<std::string> PrintPositionNames = {"ppNone",       "ppTopLeft",     "ppTopRight",
                                                     "ppTopCenter",  "ppBottomLeft",  "ppBottomRight",
                                                     "ppBottomCenter"};

// Copies every published simple property of source's class into target.
void CopySimpleProps(TPersistent* target, const TPersistent* source)
{
    const TClassInfo* info = target->ClassInfo();
    for (const TPropInfo* p : info->Props()) {
        if (p->GetOrd && p->SetOrd)
            p->SetOrd(target, p->GetOrd(source));
        else if (p->GetStr && p->SetStr)
            p->SetStr(target, p->GetStr(source));
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TNavigation, TMouseActions, TSizeWhileTyping

void TNavigation::Assign(const TPersistent* source)
{
    if (auto* s = dynamic_cast<const TNavigation*>(source))
        *this = *s;
    else
        TPersistent::Assign(source);
}

const TClassInfo* TNavigation::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TNavigation::StaticClass()
{
    using C = TNavigation;
    static const TClassInfo info(
        "TNavigation", &TPersistent::StaticClass(), nullptr,
        {
            QMX_BOOL(C, AllowInsertRow),
            QMX_BOOL(C, AllowDeleteRow),
            QMX_BOOL(C, AdvanceOnEnter),
            QMX_BOOL(C, AdvanceInsert),
            QMX_BOOL(C, AutoGotoWhenSorted),
            QMX_BOOL(C, AutoGotoIncremental),
            QMX_BOOL(C, AutoComboDropSize),
            QMX_BOOL(C, AllowClipboardShortCuts),
            QMX_BOOL(C, AllowRTFClipboard),
            QMX_BOOL(C, AllowSmartClipboard),
            QMX_BOOL(C, AdvanceAuto),
            QMX_BOOL(C, CursorWalkEditor),
            QMX_BOOL(C, MoveRowOnSort),
            QMX_BOOL(C, ImproveMaskSel),
            QMX_BOOL(C, AlwaysEdit),
            PublishEnum<&C::AdvanceDirection, &C::AdvanceDirection>("AdvanceDirection",
                                                                    {"adLeftRight", "adTopBottom"}),
            PublishEnum<&C::InsertPosition, &C::InsertPosition>("InsertPosition",
                                                                {"pInsertBefore", "pInsertAfter"}),
        });
    return info;
}

void TMouseActions::Assign(const TPersistent* source)
{
    if (auto* s = dynamic_cast<const TMouseActions*>(source))
        *this = *s;
    else
        TPersistent::Assign(source);
}

const TClassInfo* TMouseActions::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TMouseActions::StaticClass()
{
    using C = TMouseActions;
    static const TClassInfo info("TMouseActions", &TPersistent::StaticClass(), nullptr,
                                 {
                                     QMX_BOOL(C, ColSelect),
                                     QMX_BOOL(C, RowSelect),
                                     QMX_BOOL(C, AllSelect),
                                     QMX_BOOL(C, DirectEdit),
                                     QMX_BOOL(C, DisjunctRowSelect),
                                     QMX_BOOL(C, AllColumnSize),
                                     QMX_BOOL(C, CaretPositioning),
                                 });
    return info;
}

void TSizeWhileTyping::Assign(const TPersistent* source)
{
    if (auto* s = dynamic_cast<const TSizeWhileTyping*>(source))
        *this = *s;
    else
        TPersistent::Assign(source);
}

const TClassInfo* TSizeWhileTyping::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TSizeWhileTyping::StaticClass()
{
    using C = TSizeWhileTyping;
    static const TClassInfo info("TSizeWhileTyping", &TPersistent::StaticClass(), nullptr,
                                 {QMX_BOOL(C, Height), QMX_BOOL(C, Width)});
    return info;
}

// ---------------------------------------------------------------------------
// TColumnSize

void TColumnSize::SetStretch(bool value)
{
    stretch_ = value;
    if (grid_)
        grid_->StretchLastColumn();
}

void TColumnSize::Assign(const TPersistent* source)
{
    if (auto* s = dynamic_cast<const TColumnSize*>(source)) {
        Save = s->Save;
        Key = s->Key;
        Section = s->Section;
        SetStretch(s->stretch_);
    } else {
        TPersistent::Assign(source);
    }
}

const TClassInfo* TColumnSize::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TColumnSize::StaticClass()
{
    using C = TColumnSize;
    static const TClassInfo info("TColumnSize", &TPersistent::StaticClass(), nullptr,
                                 {
                                     QMX_BOOL(C, Save),
                                     QMX_STR(C, Key),
                                     QMX_STR(C, Section),
                                     PublishBoolean<&C::Stretch, &C::SetStretch>("Stretch"),
                                 });
    return info;
}

// ---------------------------------------------------------------------------
// TCellNode

TCellNode::TCellNode(TAdvStringGrid* grid)
    : grid_(grid), expandGlyph_(std::make_unique<TBitmap>()), contractGlyph_(std::make_unique<TBitmap>())
{
}

void TCellNode::SetNodeType(TNodeType value)
{
    if (value == nodeType_)
        return;
    nodeType_ = value;
    if (grid_)
        grid_->Invalidate();
}

void TCellNode::Assign(const TPersistent* source)
{
    if (auto* s = dynamic_cast<const TCellNode*>(source)) {
        Color = s->Color;
        NodeColor = s->NodeColor;
        SetNodeType(s->nodeType_);
        expandGlyph_->Assign(s->expandGlyph_.get());
        contractGlyph_->Assign(s->contractGlyph_.get());
    } else {
        TPersistent::Assign(source);
    }
}

const TClassInfo* TCellNode::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCellNode::StaticClass()
{
    using C = TCellNode;
    static const TClassInfo info("TCellNode", &TPersistent::StaticClass(), nullptr,
                                 {
                                     QMX_COLOR(C, Color),
                                     PublishEnum<&C::NodeType, &C::SetNodeType>("NodeType",
                                                                                {"cnFlat", "cn3D", "cnGlyph"}),
                                     QMX_COLOR(C, NodeColor),
                                     PublishObject<&C::ExpandGlyph, &C::SetExpandGlyph>("ExpandGlyph"),
                                     PublishObject<&C::ContractGlyph, &C::SetContractGlyph>("ContractGlyph"),
                                 });
    return info;
}

// ---------------------------------------------------------------------------
// TBackGround

TBackGround::TBackGround(TAdvStringGrid* grid) : grid_(grid), bitmap_(std::make_unique<TBitmap>()) {}

void TBackGround::Changed()
{
    if (grid_)
        grid_->Invalidate();
}

void TBackGround::SetTop(int value)
{
    top_ = value;
    Changed();
}

void TBackGround::SetLeft(int value)
{
    left_ = value;
    Changed();
}

void TBackGround::SetDisplay(TBackGroundDisplay value)
{
    display_ = value;
    Changed();
}

void TBackGround::SetBitmap(TBitmap* value)
{
    bitmap_->Assign(value);
    Changed();
}

void TBackGround::Assign(const TPersistent* source)
{
    if (auto* s = dynamic_cast<const TBackGround*>(source)) {
        top_ = s->top_;
        left_ = s->left_;
        display_ = s->display_;
        bitmap_->Assign(s->bitmap_.get());
        Changed();
    } else {
        TPersistent::Assign(source);
    }
}

const TClassInfo* TBackGround::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TBackGround::StaticClass()
{
    using C = TBackGround;
    static const TClassInfo info("TBackGround", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishInteger<&C::Top, &C::SetTop>("Top"),
                                     PublishInteger<&C::Left, &C::SetLeft>("Left"),
                                     PublishEnum<&C::Display, &C::SetDisplay>("Display", {"bdTile", "bdFixed"}),
                                     PublishObject<&C::Bitmap, &C::SetBitmap>("Bitmap"),
                                 });
    return info;
}

// ---------------------------------------------------------------------------
// TPrintsettings

TPrintsettings::TPrintsettings()
    : font_(std::make_unique<TFont>()), headerFont_(std::make_unique<TFont>()), footerFont_(std::make_unique<TFont>()),
      titleLines_(std::make_unique<TStringList>())
{
}

TPrintsettings::~TPrintsettings() = default;

void TPrintsettings::Assign(const TPersistent* source)
{
    if (auto* s = dynamic_cast<const TPrintsettings*>(source)) {
        CopySimpleProps(this, s);
        font_->Assign(s->font_.get());
        headerFont_->Assign(s->headerFont_.get());
        footerFont_->Assign(s->footerFont_.get());
        titleLines_->Assign(s->titleLines_.get());
    } else {
        TPersistent::Assign(source);
    }
}

const TClassInfo* TPrintsettings::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPrintsettings::StaticClass()
{
    using C = TPrintsettings;
    static const TClassInfo info(
        "TPrintsettings", &TPersistent::StaticClass(), nullptr,
        {
            PublishObject<&C::Font, &C::SetFont>("Font"),
            PublishObject<&C::HeaderFont, &C::SetHeaderFont>("HeaderFont"),
            PublishObject<&C::FooterFont, &C::SetFooterFont>("FooterFont"),
            PublishStrings<&C::TitleLines, &C::SetTitleLines>("TitleLines"),
            QMX_STR(C, PageNumSep),
            QMX_STR(C, DateFormat),
            QMX_STR(C, PagePrefix),
            QMX_STR(C, PageSuffix),
            QMX_INT(C, TitleSpacing),
            QMX_INT(C, FooterSize),
            QMX_INT(C, HeaderSize),
            PublishEnum<&C::Time, &C::Time>("Time", PrintPositionNames),
            PublishEnum<&C::Date, &C::Date>("Date", PrintPositionNames),
            PublishEnum<&C::PageNr, &C::PageNr>("PageNr", PrintPositionNames),
            PublishEnum<&C::Title, &C::Title>("Title", PrintPositionNames),
            QMX_STR(C, TitleText),
            PublishEnum<&C::Borders, &C::Borders>(
                "Borders", {"pbNoborder", "pbSingle", "pbDouble", "pbVertical", "pbHorizontal", "pbAround",
                            "pbAroundVertical", "pbAroundHorizontal", "pbCustom"}),
            PublishEnum<&C::BorderStyle, &C::BorderStyle>(
                "BorderStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}),
            QMX_BOOL(C, Centered),
            QMX_BOOL(C, RepeatFixedRows),
            QMX_BOOL(C, RepeatFixedCols),
            QMX_INT(C, LeftSize),
            QMX_INT(C, RightSize),
            QMX_INT(C, ColumnSpacing),
            QMX_INT(C, RowSpacing),
            PublishEnum<&C::Orientation, &C::Orientation>("Orientation", {"poPortrait", "poLandscape"}),
            QMX_INT(C, FixedWidth),
            QMX_INT(C, FixedHeight),
            QMX_BOOL(C, UseFixedHeight),
            QMX_BOOL(C, UseFixedWidth),
            PublishEnum<&C::FitToPage, &C::FitToPage>("FitToPage",
                                                      {"fpNever", "fpGrow", "fpShrink", "fpAlways", "fpCustom"}),
            QMX_STR(C, JobName),
            QMX_BOOL(C, NoAutoSize),
            QMX_BOOL(C, PrintGraphics),
        });
    return info;
}

// ---------------------------------------------------------------------------
// TFilterData, TFilter, TGridItem, TCellGraphic

void TFilterData::Assign(const TPersistent* source)
{
    if (auto* s = dynamic_cast<const TFilterData*>(source)) {
        Column = s->Column;
        Condition = s->Condition;
    } else {
        TCollectionItem::Assign(source);
    }
}

const TClassInfo* TFilterData::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TFilterData::StaticClass()
{
    using C = TFilterData;
    static const TClassInfo info("TFilterData", &TPersistent::StaticClass(), nullptr,
                                 {QMX_INT(C, Column), QMX_STR(C, Condition)});
    return info;
}

TFilter::TFilter(TAdvStringGrid* grid) : TCollection(&CollectionItemClass<TFilterData>, grid), grid_(grid) {}

TGridItem::TGridItem(TCollection* collection) : TCollectionItem(collection), items_(std::make_unique<TStringList>())
{
}

TGridItem::~TGridItem() = default;

void TGridItem::SetItems(TStrings* value)
{
    // A copy with the objects: the caller keeps its list and the item its own.
    if (value)
        items_->Assign(value);
    else
        items_->Clear();
}

void TGridItem::Assign(const TPersistent* source)
{
    if (auto* s = dynamic_cast<const TGridItem*>(source)) {
        Idx = s->Idx;
        items_->Assign(s->items_.get());
    } else {
        TCollectionItem::Assign(source);
    }
}

const TClassInfo* TGridItem::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TGridItem::StaticClass()
{
    using C = TGridItem;
    static const TClassInfo info("TGridItem", &TPersistent::StaticClass(), nullptr,
                                 {QMX_INT(C, Idx), PublishStrings<&C::Items, &C::SetItems>("Items")});
    return info;
}

TCellGraphic::~TCellGraphic()
{
    // Only the index list of kind 11 belongs to the object.
    if (Kind == 11)
        delete Object;
}

#include "classlib/ExtCtrls.h"

#include <algorithm>
#include <map>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

void InitExtCtrlsUnit()
{
    RegisterComponentClass(TPanel::StaticClass());
    RegisterComponentClass(TBevel::StaticClass());
    RegisterComponentClass(TImage::StaticClass());
    RegisterComponentClass(TPage::StaticClass());
    RegisterComponentClass(TNotebook::StaticClass());
    RegisterComponentClass(TTimer::StaticClass());
}

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    TBrush* brush = canvas->Brush();
    const TColor oldColor = brush->Color();
    const TBrushStyle oldStyle = brush->Style();
    brush->SetStyle(bsSolid);
    for (int i = 0; i < width; ++i) {
        const TRect& r = rect;
        brush->SetColor(topColor);
        canvas->FillRect(Rect(r.left, r.top, r.right - 1, r.top + 1));
        canvas->FillRect(Rect(r.left, r.top, r.left + 1, r.bottom - 1));
        brush->SetColor(bottomColor);
        canvas->FillRect(Rect(r.left, r.bottom - 1, r.right, r.bottom));
        canvas->FillRect(Rect(r.right - 1, r.top, r.right, r.bottom));
        InflateRect(&rect, -1, -1);
    }
    brush->SetColor(oldColor);
    brush->SetStyle(oldStyle);
}

namespace {

std::vector<std::string> BevelCutNames()
{
    return {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
}

void BevelColors(TBevelCut bevel, TColor face, TColor& top, TColor& bottom)
{
    switch (bevel) {
    case bvLowered:
        top = clBtnShadow;
        bottom = clBtnHighlight;
        break;
    case bvRaised:
        top = clBtnHighlight;
        bottom = clBtnShadow;
        break;
    default:
        top = bottom = face;
        break;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

const TClassInfo* TCustomPanel::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TCustomPanel::StaticClass()
{
    static const TClassInfo info(
        "TCustomPanel", &TCustomControl::StaticClass(), nullptr,
        {
            PublishEnum<&TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner>("BevelInner", BevelCutNames()),
            PublishEnum<&TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter>("BevelOuter", BevelCutNames()),
            PublishInteger<&TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth>("BevelWidth"),
            PublishInteger<&TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth>("BorderWidth"),
            PublishEnum<&TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle>("BorderStyle",
                                                                                   {"bsNone", "bsSingle"}),
            PublishEnum<&TCustomPanel::Alignment, &TCustomPanel::SetAlignment>(
                "Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}),
        });
    return info;
}

const TClassInfo* TPanel::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPanel::StaticClass()
{
    static const TClassInfo info("TPanel", &TCustomPanel::StaticClass(), &NewComponent<TPanel>);
    return info;
}

void TCustomPanel::BordersChanged()
{
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value)
{
    if (value == bevelInner_)
        return;
    bevelInner_ = value;
    BordersChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut value)
{
    if (value == bevelOuter_)
        return;
    bevelOuter_ = value;
    BordersChanged();
}

void TCustomPanel::SetBevelWidth(int value)
{
    if (value == bevelWidth_ || value < 1)
        return;
    bevelWidth_ = value;
    BordersChanged();
}

void TCustomPanel::SetBorderWidth(int value)
{
    if (value == borderWidth_ || value < 0)
        return;
    borderWidth_ = value;
    BordersChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    RecreateWnd();
    Realign();
}

void TCustomPanel::SetAlignment(TAlignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    if (borderStyle_ == bsSingle)
        p.Style |= WS_BORDER;
}

void TCustomPanel::AdjustClientRect(TRect& rect)
{
    TCustomControl::AdjustClientRect(rect);
    int edge = borderWidth_;
    if (bevelOuter_ != bvNone)
        edge += bevelWidth_;
    if (bevelInner_ != bvNone)
        edge += bevelWidth_;
    InflateRect(&rect, -edge, -edge);
}

void TCustomPanel::Paint()
{
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    TColor top, bottom;
    if (bevelOuter_ != bvNone) {
        BevelColors(bevelOuter_, Color(), top, bottom);
        Frame3D(canvas, r, top, bottom, bevelWidth_);
    }
    Frame3D(canvas, r, Color(), Color(), borderWidth_);
    if (bevelInner_ != bvNone) {
        BevelColors(bevelInner_, Color(), top, bottom);
        Frame3D(canvas, r, top, bottom, bevelWidth_);
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    const std::string caption = Caption();
    if (caption.empty())
        return;
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    DrawTextA(canvas->TextHandle(), caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | alignments[alignment_]);
}

// ---------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 50, 50);
}

const TClassInfo* TBevel::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TBevel::StaticClass()
{
    static const TClassInfo info(
        "TBevel", &TGraphicControl::StaticClass(), &NewComponent<TBevel>,
        {
            PublishEnum<&TBevel::Shape, &TBevel::SetShape>(
                "Shape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}),
            PublishEnum<&TBevel::Style, &TBevel::SetStyle>("Style", {"bsLowered", "bsRaised"}),
        });
    return info;
}

void TBevel::SetShape(TBevelShape value)
{
    if (value == shape_)
        return;
    shape_ = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    Invalidate();
}

void TBevel::Paint()
{
    TCanvas* canvas = Canvas();
    const TColor dark = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor light = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width();
    const int h = Height();
    auto strip = [canvas](int l, int t, int r, int b, TColor c) {
        canvas->Brush()->SetColor(c);
        canvas->FillRect(Rect(l, t, r, b));
    };
    canvas->Brush()->SetStyle(bsSolid);
    TRect r = ClientRect();
    switch (shape_) {
    case bsBox:
        Frame3D(canvas, r, dark, light, 1);
        break;
    case bsFrame: {
        TRect outer = Rect(0, 0, w - 1, h - 1);
        Frame3D(canvas, outer, dark, dark, 1);
        TRect inner = Rect(1, 1, w, h);
        Frame3D(canvas, inner, light, light, 1);
        break;
    }
    case bsTopLine:
        strip(0, 0, w, 1, dark);
        strip(0, 1, w, 2, light);
        break;
    case bsBottomLine:
        strip(0, h - 2, w, h - 1, dark);
        strip(0, h - 1, w, h, light);
        break;
    case bsLeftLine:
        strip(0, 0, 1, h, dark);
        strip(1, 0, 2, h, light);
        break;
    case bsRightLine:
        strip(w - 2, 0, w - 1, h, dark);
        strip(w - 1, 0, w, h, light);
        break;
    case bsSpacer:
        break;
    }
}

// ---------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>())
{
    picture_->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage()
{
    picture_->OnChange.Clear();
}

const TClassInfo* TImage::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TImage::StaticClass()
{
    static const TClassInfo info("TImage", &TGraphicControl::StaticClass(), &NewComponent<TImage>,
                                 {
                                     PublishBoolean<&TImage::AutoSize, &TImage::SetAutoSize>("AutoSize"),
                                     PublishBoolean<&TImage::Center, &TImage::SetCenter>("Center"),
                                     PublishBoolean<&TImage::Stretch, &TImage::SetStretch>("Stretch"),
                                     PublishBoolean<&TImage::Transparent, &TImage::SetTransparent>("Transparent"),
                                 });
    return info;
}

void TImage::SetPicture(TPicture* value)
{
    picture_->Assign(value);
}

void TImage::SetStretch(bool value)
{
    if (value == stretch_)
        return;
    stretch_ = value;
    Invalidate();
}

void TImage::SetCenter(bool value)
{
    if (value == center_)
        return;
    center_ = value;
    Invalidate();
}

void TImage::SetTransparent(bool value)
{
    if (value == transparent_)
        return;
    transparent_ = value;
    PictureChanged(nullptr);
}

void TImage::SetAutoSize(bool value)
{
    if (value == autoSize_)
        return;
    autoSize_ = value;
    PictureChanged(nullptr);
}

void TImage::PictureChanged(TObject*)
{
    if (TGraphic* graphic = picture_->Graphic()) {
        // Announces itself again only when it changes.
        graphic->SetTransparent(transparent_);
        if (autoSize_ && graphic->Width() > 0 && graphic->Height() > 0)
            SetBounds(Left(), Top(), graphic->Width(), graphic->Height());
    }
    Invalidate();
}

TRect TImage::DestRect() const
{
    const int w = picture_->Width();
    const int h = picture_->Height();
    if (stretch_)
        return Rect(0, 0, Width(), Height());
    if (center_)
        return Bounds((Width() - w) / 2, (Height() - h) / 2, w, h);
    return Rect(0, 0, w, h);
}

void TImage::Paint()
{
    TGraphic* graphic = picture_->Graphic();
    if (!graphic || graphic->Empty())
        return;
    Canvas()->StretchDraw(DestRect(), graphic);
}

// ---------------------------------------------------------------------------
// TPage and TNotebook

// The notebook's pages by caption; each line's object is its page.
class TNotebookPages : public TStrings {
public:
    explicit TNotebookPages(TNotebook* notebook) : notebook_(notebook) {}

    int Count() const override { return notebook_->PageCount(); }
    std::string Strings(int index) const override { return Page(index)->Caption(); }
    void SetStrings(int index, const std::string& s) override { Page(index)->SetCaption(s); }
    TObject* Objects(int index) const override { return Page(index); }
    void Insert(int index, const std::string& s) override
    {
        if (index < 0 || index > Count())
            ListIndexError(index);
        const int current = notebook_->pageIndex_;
        auto* page = new TPage(notebook_);
        page->SetCaption(s);
        page->SetParent(notebook_);  // appended, and shown when it is the only page
        auto& list = notebook_->list_;
        list.pop_back();
        list.insert(list.begin() + index, page);
        if (current < 0)
            notebook_->pageIndex_ = notebook_->pageIndex_ < 0 ? -1 : index;
        else if (current >= index)
            notebook_->pageIndex_ = current + 1;
    }
    void Delete(int index) override { delete Page(index); }
    void Clear() override
    {
        while (Count() > 0)
            Delete(Count() - 1);
    }
    void Exchange(int index1, int index2) override
    {
        Page(index1);
        Page(index2);
        auto& list = notebook_->list_;
        std::swap(list[index1], list[index2]);
        int& current = notebook_->pageIndex_;
        if (current == index1)
            current = index2;
        else if (current == index2)
            current = index1;
    }

protected:
    // Pages are the notebook's children; they cannot be put back elsewhere.
    bool KeepsOrder() const override { return true; }

private:
    TPage* Page(int index) const
    {
        if (index < 0 || index >= Count())
            ListIndexError(index);
        return notebook_->Page(index);
    }
    TNotebook* notebook_;
};

TPage::TPage(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetVisible(false);
    SetAlign(alClient);
}

TPage::~TPage()
{
    Destroying();
    if (TNotebook* notebook = Notebook())
        notebook->RemovePage(this);
}

const TClassInfo* TPage::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPage::StaticClass()
{
    static const TClassInfo info("TPage", &TCustomControl::StaticClass(), &NewComponent<TPage>);
    return info;
}

TNotebook* TPage::Notebook() const
{
    return dynamic_cast<TNotebook*>(Parent());
}

void TPage::SetParent(TWinControl* parent)
{
    if (parent == Parent())
        return;
    if (TNotebook* old = Notebook())
        old->RemovePage(this);
    TCustomControl::SetParent(parent);
    if (auto* notebook = dynamic_cast<TNotebook*>(parent))
        notebook->AddPage(this);
}

TNotebook::TNotebook(TComponent* owner) : TCustomControl(owner), pages_(std::make_unique<TNotebookPages>(this))
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetBounds(0, 0, 150, 150);
}

TNotebook::~TNotebook()
{
    Destroying();
    // The pages go with the window, before the page list.
    while (!list_.empty())
        delete list_.back();
}

const TClassInfo* TNotebook::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TNotebook::StaticClass()
{
    static const TClassInfo info("TNotebook", &TCustomControl::StaticClass(), &NewComponent<TNotebook>,
                                 {
                                     PublishStrings<&TNotebook::Pages, &TNotebook::SetPages>("Pages"),
                                     PublishInteger<&TNotebook::PageIndex, &TNotebook::SetPageIndex>("PageIndex"),
                                     PublishString<&TNotebook::ActivePage, &TNotebook::SetActivePage>("ActivePage"),
                                     PublishEvent<&TNotebook::OnPageChanged>("OnPageChanged"),
                                 });
    return info;
}

void TNotebook::SetPages(TStrings* value)
{
    if (value)
        pages_->Assign(value);
    else
        pages_->Clear();
}

TPage* TNotebook::Page(int index) const
{
    return index >= 0 && index < PageCount() ? list_[index] : nullptr;
}

int TNotebook::IndexOfPage(const TPage* page) const
{
    auto it = std::find(list_.begin(), list_.end(), page);
    return it == list_.end() ? -1 : static_cast<int>(it - list_.begin());
}

void TNotebook::AddPage(TPage* page)
{
    list_.push_back(page);
    // The first page of an empty notebook shows at once.
    if (pageIndex_ < 0 && !IsLoading() && !page->IsLoading()) {
        pageIndex_ = static_cast<int>(list_.size()) - 1;
        page->SetVisible(true);
    } else {
        page->SetVisible(false);
    }
}

void TNotebook::RemovePage(TPage* page)
{
    const int index = IndexOfPage(page);
    if (index < 0)
        return;
    list_.erase(list_.begin() + index);
    if (IsDestroying())
        return;
    if (index < pageIndex_) {
        --pageIndex_;
    } else if (index == pageIndex_) {
        // Another page takes the place, without a page change being told.
        pageIndex_ = -1;
        if (!list_.empty()) {
            pageIndex_ = std::min(index, PageCount() - 1);
            list_[pageIndex_]->SetVisible(true);
        }
    }
}

void TNotebook::Loaded()
{
    TCustomControl::Loaded();
    // The page written in the form shows, without a page change being told.
    int index = loadedPageIndex_ >= 0 ? loadedPageIndex_ : pageIndex_;
    if (index < 0 || index >= PageCount())
        index = PageCount() > 0 ? 0 : -1;
    loadedPageIndex_ = -1;
    pageIndex_ = index;
    for (int i = 0; i < PageCount(); ++i)
        list_[i]->SetVisible(i == index);
}

void TNotebook::SetPageIndex(int value)
{
    if (IsLoading()) {
        loadedPageIndex_ = value;
        return;
    }
    if (value == pageIndex_ || value < 0 || value >= PageCount())
        return;
    TPage* old = Page(pageIndex_);
    TPage* page = list_[value];
    TCustomForm* form = GetParentForm(this);
    const bool focusOnOld = form && old && form->ActiveControl() && old->ContainsControl(form->ActiveControl());
    page->BringToFront();
    page->SetVisible(true);
    if (old)
        old->SetVisible(false);
    pageIndex_ = value;
    if (focusOnOld && form->Visible())
        page->SelectNext(nullptr, true, true);
    // Last: the handler may change the page again.
    OnPageChanged(this);
}

std::string TNotebook::ActivePage() const
{
    const TPage* page = Page(pageIndex_);
    return page ? page->Caption() : std::string();
}

void TNotebook::SetActivePage(const std::string& caption)
{
    const int index = pages_->IndexOf(caption);
    if (index >= 0)
        SetPageIndex(index);
}

// ---------------------------------------------------------------------------
// TTimer

struct TTimerAccess {
    static void Fire(TTimer* timer) { timer->Timer(); }
};

namespace {

// The running timers by the identifier the system gave them.
std::map<UINT_PTR, TTimer*>& Timers()
{
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = Timers().find(id);
    if (it == Timers().end())
        return;
    TTimer* timer = it->second;
    CallbackGuard(timer, [timer] { TTimerAccess::Fire(timer); });
}

} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    UpdateTimer();
}

TTimer::~TTimer()
{
    KillIt();
}

const TClassInfo* TTimer::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TTimer::StaticClass()
{
    static const TClassInfo info("TTimer", &TComponent::StaticClass(), &NewComponent<TTimer>,
                                 {
                                     PublishBoolean<&TTimer::Enabled, &TTimer::SetEnabled>("Enabled"),
                                     PublishInteger<&TTimer::Interval, &TTimer::SetInterval>("Interval"),
                                     PublishEvent<&TTimer::OnTimer>("OnTimer"),
                                 });
    return info;
}

void TTimer::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value)
{
    if (value == interval_)
        return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::Timer()
{
    OnTimer(this);
}

void TTimer::KillIt()
{
    if (!id_)
        return;
    KillTimer(nullptr, id_);
    Timers().erase(id_);
    id_ = 0;
}

void TTimer::UpdateTimer()
{
    KillIt();
    if (!enabled_ || interval_ == 0 || IsLoading() || IsDestroying())
        return;
    id_ = SetTimer(nullptr, 0, interval_, TimerProc);
    if (!id_)
        throw Exception("Not enough timers available");
    Timers()[id_] = this;
}

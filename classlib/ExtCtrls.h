// More controls: the panel with its bevels, the bevel, the image, the
// notebook (a stack of pages of which one shows) and the timer.
//
// Classes are registered for forms by InitExtCtrlsUnit, which the forms
// unit's start-up (InitFormsUnit) calls.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Lists.h"

void InitExtCtrlsUnit();

// Draws a raised or lowered frame of width pixels just inside rect: the top
// and left edges in topColor, the bottom and right ones in bottomColor; rect
// comes back narrowed by the frame.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// ---------------------------------------------------------------------------
// Panel

// A bevel of a panel: none, sunk, raised, or a blank band of the panel's
// colour.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A container that paints, from its edge inwards, the outer bevel, a band
// of BorderWidth in its own colour and the inner bevel, each bevel
// BevelWidth wide, and its caption in the middle. Aligned children stay
// inside the bevels and the band.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);

    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    // bsSingle: a window border around everything.
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    void AdjustClientRect(TRect& rect) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    void BordersChanged();

    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// ---------------------------------------------------------------------------
// Bevel

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

// A windowless 3-D box, frame or line.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// ---------------------------------------------------------------------------
// Image

// A windowless picture: drawn in its own size at the top left (or in the
// middle with Center), or stretched over the whole control. With AutoSize
// the control takes the picture's size; Transparent leaves the picture's
// transparent colour unpainted.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;

private:
    void PictureChanged(TObject*);
    TRect DestRect() const;

    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
};

// ---------------------------------------------------------------------------
// Notebook

class TNotebook;

// One page of a notebook: a container filling the notebook, shown while it
// is the notebook's current page. Its Caption is the page's name; its
// HelpContext the page's help topic.
class TPage : public TCustomControl {
public:
    explicit TPage(TComponent* owner);
    ~TPage() override;

    TNotebook* Notebook() const;
    // Putting the page into a notebook makes it that notebook's last page.
    void SetParent(TWinControl* parent) override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// A stack of pages of which one shows. PageIndex and ActivePage (the current
// page's caption) choose it; setting the page already shown, or an index
// outside the pages, does nothing. A change shows the new page, hides the old
// one, and fires OnPageChanged last, so its handler may change the page
// again: the notebook then ends on the page the handler chose. A focus on
// the old page moves to the new page's first control.
//
// Pages are the TPage children in order; Pages also lists them by caption
// (each line's object is its TPage): adding a line makes a page, deleting
// one frees it.
class TNotebook : public TCustomControl {
public:
    explicit TNotebook(TComponent* owner);
    ~TNotebook() override;

    TStrings* Pages() const { return pages_.get(); }
    // Copies the lines given: as many pages as lines, with their captions.
    void SetPages(TStrings* value);
    int PageCount() const { return static_cast<int>(list_.size()); }
    TPage* Page(int index) const;
    int IndexOfPage(const TPage* page) const;

    int PageIndex() const { return pageIndex_; }
    void SetPageIndex(int value);
    // The caption of the current page (empty for none); setting it shows the
    // first page of that caption, compared without regard to letter case.
    std::string ActivePage() const;
    void SetActivePage(const std::string& caption);

    TNotifyEvent OnPageChanged;

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    friend class TPage;
    friend class TNotebookPages;
    void AddPage(TPage* page);
    void RemovePage(TPage* page);

private:
    std::vector<TPage*> list_;
    std::unique_ptr<TStrings> pages_;
    int pageIndex_ = -1;
    int loadedPageIndex_ = -1;
};

// ---------------------------------------------------------------------------
// Timer

// Fires OnTimer every Interval milliseconds while Enabled (from the message
// loop; not before the form holding it has been read). Changing Interval,
// or disabling and enabling, starts the count anew. An exception of the
// handler goes to the application's exception handling.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);

    TNotifyEvent OnTimer;

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    friend struct TTimerAccess;
    virtual void Timer();

private:
    void UpdateTimer();
    void KillIt();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    UINT_PTR id_ = 0;
};

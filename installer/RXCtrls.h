// Unit RXCtrls, the installer's part: the speed button, a windowless push
// button that paints itself off-screen, shows a glyph from a strip of up to
// five pictures (one per state) with a caption, can be flat or transparent,
// one of a group of which one stays down, open a drop-down menu and repeat
// its click while held.
//
// The glyph object lays out and draws glyph and caption; the pictures of the
// states live in image lists shared by all buttons of one glyph size, handed
// out by the program-wide glyph cache.
#pragma once

#include <bitset>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
// TButtonStyle, the frame style shared with the colour button.
#include "common/qmxcolorbutton.h"

// The state of a button; also the index of its picture in the strip.
enum TRxButtonState { gsUp, gsDisabled, gsDown, gsExclusive, gsInactive };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TRxDropDownMenuPos { dmpBottom, dmpRight };
using TRxNumGlyphs = int;

// An image list of one picture size whose slots are handed out and given back.
class TGlyphList : public TImageList {
public:
    TGlyphList(int width, int height);
    // The first free slot; an empty image is added when none is free.
    int AllocateIndex();
    int AddImage(TBitmap* image, TBitmap* mask);
    int AddImageMasked(TBitmap* image, TColor maskColor);
    void ReleaseIndex(int index);
    int UsedCount() const { return count_; }

private:
    std::vector<bool> used_;
    int count_ = 0;
};

class TGlyphCache {
public:
    ~TGlyphCache();
    // A list of that size: the last made one that fits, or a new one.
    TGlyphList* GetList(int width, int height);
    // Frees the list when nothing uses it any more.
    void ReturnList(TGlyphList* list);
    bool IsEmpty() const { return lists_.empty(); }
    int Count() const { return static_cast<int>(lists_.size()); }

private:
    std::vector<TGlyphList*> lists_;
};

// The program's glyph cache, made on first need (also after it was freed);
// nullptr while there is none when asked without making it.
TGlyphCache* GlyphCache(bool make = true);

class TRxButtonGlyph : public TObject {
public:
    TRxButtonGlyph();
    ~TRxButtonGlyph() override;

    TBitmap* Strip() const { return strip_.get(); }
    void SetStrip(TBitmap* value) { strip_->Assign(value); }
    TColor TransparentColor() const { return transparentColor_; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { alignment_ = value; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { wordWrap_ = value; }
    TGlyphList* GlyphList() const { return glyphList_; }
    // The cached picture index of a state, -1 when not made.
    int CachedIndex(TRxButtonState state) const { return indexes_[state]; }

    // Releases the cached pictures and gives the glyph list back.
    void Invalidate();
    // The picture of a state, made on first use.
    int CreateButtonGlyph(TRxButtonState state);

    // The glyph position and the caption's rectangle inside client for a
    // layout (pure geometry but for measuring the caption on the canvas);
    // caption comes back fitted to the room.
    void CalcButtonLayout(TCanvas* canvas, const TRect& client, std::string& caption, TButtonLayout layout, int margin,
                          int spacing, bool popupMark, TPoint& glyphPos, TRect& textBounds);
    // Lays out and draws glyph, caption and, with popupMark, the drop-down
    // mark; gives the caption's rectangle.
    TRect Draw(TCanvas* canvas, const TRect& client, const std::string& caption, TButtonLayout layout, int margin,
               int spacing, bool popupMark, TRxButtonState state);

    TNotifyEvent OnChange;

private:
    void StripChanged(TObject*);
    void DrawPopupMark(TCanvas* canvas, int x, int y, TRxButtonState state);

    std::unique_ptr<TBitmap> strip_;
    TColor transparentColor_ = clFuchsia;
    TAlignment alignment_ = taCenter;
    int numGlyphs_ = 1;
    bool wordWrap_ = false;
    int indexes_[5] = {-1, -1, -1, -1, -1};
    TGlyphList* glyphList_ = nullptr;
};

class TRxSpeedButton : public TGraphicControl {
public:
    explicit TRxSpeedButton(TComponent* owner);
    ~TRxSpeedButton() override;

    TAlignment Alignment() const { return glyph_->Alignment(); }
    void SetAlignment(TAlignment value);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    bool AllowTimer() const { return allowTimer_; }
    void SetAllowTimer(bool value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* value);
    TRxDropDownMenuPos MenuPosition() const { return menuPosition_; }
    void SetMenuPosition(TRxDropDownMenuPos value) { menuPosition_ = value; }
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    TBitmap* Glyph() const { return glyph_->Strip(); }
    void SetGlyph(TBitmap* value);
    bool GrayedInactive() const { return grayedInactive_; }
    void SetGrayedInactive(bool value);
    int InitPause() const { return initPause_; }
    void SetInitPause(int value) { initPause_ = value; }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    bool MarkDropDown() const { return markDropDown_; }
    void SetMarkDropDown(bool value);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    TRxNumGlyphs NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(TRxNumGlyphs value);
    int RepeatInterval() const { return repeatInterval_; }
    void SetRepeatInterval(int value) { repeatInterval_ = value; }
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return glyph_->WordWrap(); }
    void SetWordWrap(bool value);

    TRxButtonState State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }
    bool MenuTracking() const { return menuTracking_; }
    TRxButtonGlyph* ButtonGlyph() const { return glyph_.get(); }
    // The repeat timer, nullptr until first needed.
    TTimer* RepeatTimer() const { return repeatTimer_; }

    void Click() override;
    // A double click counts only on a button that is down.
    void DblClick() override
    {
        if (down_)
            TGraphicControl::DblClick();
    }
    void Loaded() override;
    // Lays out and draws glyph and caption into rect.
    virtual void PaintFace(TCanvas* canvas, const TRect& rect, bool popupMark, TRxButtonState state);
    // The point the drop-down menu opens at, in client coordinates.
    TPoint MenuPoint() const;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    virtual void MouseEnter() { OnMouseEnter(this); }
    virtual void MouseLeave() { OnMouseLeave(this); }
    bool Dragging() const { return dragging_; }

private:
    void GlyphChanged(TObject*);
    void TimerExpired(TObject*);
    void UpdateExclusive();
    void UpdateTracking();
    void DropPendingPress();
    bool CheckMenuDropDown(int x, int y);
    void ButtonPressed(TMessage& message);
    bool UsesNewStyle() const;

    std::unique_ptr<TRxButtonGlyph> glyph_;
    TRxButtonState state_ = gsUp;
    bool mouseInControl_ = false;
    bool dragging_ = false;
    bool menuTracking_ = false;
    bool allowAllUp_ = false;
    bool allowTimer_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    TPopupMenu* dropDownMenu_ = nullptr;
    TRxDropDownMenuPos menuPosition_ = dmpBottom;
    bool flat_ = false;
    bool grayedInactive_ = true;
    int initPause_ = 500;
    TButtonLayout layout_ = blGlyphTop;
    int margin_ = -1;
    bool markDropDown_ = true;
    TModalResult modalResult_ = mrNone;
    int repeatInterval_ = 100;
    int spacing_ = 1;
    TButtonStyle style_ = bsAutoDetect;
    bool transparent_ = false;
    TTimer* repeatTimer_ = nullptr;
};

// Registers TRxSpeedButton for forms.
void InitRXCtrlsUnit();

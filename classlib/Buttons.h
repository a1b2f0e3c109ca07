// Buttons drawn by the library: the speed button, a windowless push button
// with a glyph and a caption.
//
// Classes are registered for forms by InitButtonsUnit.
#pragma once

#include <memory>

#include "classlib/Controls.h"

void InitButtonsUnit();

// The state a speed button shows; also the index of its picture in a glyph
// strip of NumGlyphs pictures side by side.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// A windowless button. A left press pushes it down (it holds the mouse until
// the release) and it comes up again when the mouse leaves it; the release
// over it clicks it. The glyph's pixels of its bottom-left colour are
// transparent. Flat: no frame at rest, a raised one while the mouse is over
// it, a sunken one while it is down.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    TBitmap* Glyph() const { return glyph_.get(); }
    // Copies the picture (nullptr empties it).
    void SetGlyph(TBitmap* value);
    // 1 to 4 pictures in the strip: up, disabled, down, exclusive.
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);

    TButtonState State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;
    // The face inside the frame: the glyph and the caption, centred,
    // one pixel down and right while the button is down.
    virtual void PaintFace(const TRect& rect, bool down);
    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // The left button went down on it and has not come up yet.
    bool Dragging() const { return dragging_; }
    void SetState(TButtonState state);

private:
    void GlyphChanged(TObject*);

    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    bool flat_ = false;
    TButtonState state_ = bsUp;
    bool dragging_ = false;
    bool mouseInControl_ = false;
};

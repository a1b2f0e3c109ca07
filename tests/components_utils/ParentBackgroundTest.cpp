// What lies behind a windowless control, painted onto another canvas.
#include <windows.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "components/VCLUtils.h"

namespace {

// A parent that erases in its colour and paints a blue square at its top left.
class TPicturePanel : public TCustomControl {
public:
    explicit TPicturePanel(TComponent* owner) : TCustomControl(owner)
    {
        SetControlStyle(ControlStyle() | csAcceptsControls);
        SetBounds(0, 0, 100, 100);
        SetColor(clYellow);
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(0, 0, 30, 30));
    }
};

// A windowless block of one colour that counts how often it is painted.
class TBlock : public TGraphicControl {
public:
    TBlock(TWinControl* parent, TRect bounds, TColor color) : TGraphicControl(parent)
    {
        SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
        SetColor(color);
        SetParent(parent);
    }
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

TEST(VCLUtils, PaintParentBackground)
{
    std::unique_ptr<TForm> form(new TForm(nullptr));
    form->SetBounds(0, 0, 200, 200);
    auto* panel = new TPicturePanel(form.get());
    panel->SetParent(form.get());
    panel->HandleNeeded();
    auto* beneath = new TBlock(panel, Rect(40, 40, 60, 60), clRed);
    auto* apart = new TBlock(panel, Rect(0, 70, 10, 80), clAqua);
    auto* hidden = new TBlock(panel, Rect(20, 20, 30, 30), clFuchsia);
    hidden->SetVisible(false);
    auto* target = new TBlock(panel, Rect(20, 20, 60, 60), clBlack);
    auto* above = new TBlock(panel, Rect(30, 30, 40, 40), clLime);

    TBitmap picture(40, 40, pf24bit);
    picture.Canvas()->Brush()->SetColor(clWhite);
    picture.Canvas()->FillRect(Rect(0, 0, 40, 40));
    PaintParentBackground(target, picture.Canvas());

    struct Row {
        int x, y;
        TColor color;
        const char* what;
    } rows[] = {
        {0, 0, clBlue, "the parent's picture"},
        {5, 5, clBlue, "an invisible sibling leaves it"},
        {15, 15, clYellow, "a sibling above the control is not painted"},
        {25, 25, clRed, "a sibling beneath"},
        {39, 0, clYellow, "the parent's background"},
        {39, 39, clRed, "a sibling beneath, to its edge"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(static_cast<unsigned>(picture.Canvas()->Pixels(r.x, r.y)), static_cast<unsigned>(r.color));
    }
    EXPECT_EQ(beneath->Paints, 1);
    EXPECT_EQ(apart->Paints, 0);
    EXPECT_EQ(hidden->Paints, 0);
    EXPECT_EQ(target->Paints, 0);
    EXPECT_EQ(above->Paints, 0);

    // A control without a parent has nothing behind it.
    TBlock loose(panel, Rect(0, 0, 10, 10), clRed);
    loose.SetParent(nullptr);
    PaintParentBackground(&loose, picture.Canvas());
    EXPECT_EQ(static_cast<unsigned>(picture.Canvas()->Pixels(0, 0)), static_cast<unsigned>(clBlue));
}

} // namespace

// PaintParentBackground, apart from the other drawing routines because it
// needs the controls.
#include "classlib/Controls.h"
#include "components/VCLUtils.h"

namespace {

// The parent's own picture, without its windowless children (the control
// asking is one of them): what the parent paints in its window procedure
// before them.
struct ParentPainter : TWinControl {
    static void PaintWindowOf(TWinControl* parent, HDC dc) { (parent->*(&ParentPainter::PaintWindow))(dc); }
};

// A windowless control painted into a device context that is not its
// parent's window.
struct GraphicPainter : TGraphicControl {
    static void PaintInto(TGraphicControl* control, HDC dc)
    {
        TCanvasDCLoan loan((control->*(&GraphicPainter::ControlCanvas))(), dc);
        (control->*(&GraphicPainter::Paint))();
    }
};

} // namespace

void PaintParentBackground(TControl* Control, TCanvas* Canvas)
{
    TWinControl* parent = Control->Parent();
    if (!parent)
        return;
    HDC dc = Canvas->Handle();
    POINT origin;
    GetViewportOrgEx(dc, &origin);

    // The parent paints as if the canvas were its own client area, moved so
    // that the control's place lands on the canvas.
    int saved = SaveDC(dc);
    SetViewportOrgEx(dc, origin.x - Control->Left(), origin.y - Control->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    try {
        ParentPainter::PaintWindowOf(parent, dc);
    } catch (...) {
        RestoreDC(dc, saved);
        throw;
    }
    RestoreDC(dc, saved);

    // Then the windowless siblings beneath the control.
    TRect bounds = Control->BoundsRect();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* sibling = parent->Controls(i);
        if (sibling == Control)
            break;
        auto* graphic = dynamic_cast<TGraphicControl*>(sibling);
        TRect siblingBounds = sibling->BoundsRect(), overlap;
        if (!graphic || !sibling->Visible() || !IntersectRect(&overlap, &bounds, &siblingBounds))
            continue;
        saved = SaveDC(dc);
        SetViewportOrgEx(dc, origin.x + sibling->Left() - Control->Left(), origin.y + sibling->Top() - Control->Top(),
                         nullptr);
        IntersectClipRect(dc, 0, 0, sibling->Width(), sibling->Height());
        try {
            GraphicPainter::PaintInto(graphic, dc);
        } catch (...) {
            RestoreDC(dc, saved);
            throw;
        }
        RestoreDC(dc, saved);
    }
    Canvas->Refresh();
}

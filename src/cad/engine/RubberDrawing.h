#pragma once

// Transient drawings of the interaction states: squares (apertures, markers)
// and lines drawn on the view's window picture with the xor rubber pen, and
// the bookkeeping that keeps every erase paired with its drawing. A copy of
// the bitmap to the window wipes whatever was drawn, so a mark counts as shown
// only while no copy came between; drawing it again then erases it exactly.

#include "cad/geometry/CADBaseTypes.h"
#include "cad/view/CADViewport2DCore.h"

// The square of half-side `halfSide` pixels around the world point's screen position.
void DrawRubberSquare(TCADViewport2DCore& view, TPoint2D world, int halfSide);
void DrawRubberLine(TCADViewport2DCore& view, TPoint2D first, TPoint2D second);

class TXorMark {
public:
    bool Shown(const TCADViewportCore& view) const { return Drawn && Generation == view.WindowGeneration(); }

    // Draws unless the mark is on the window already.
    template <class TDraw>
    void Show(const TCADViewportCore& view, TDraw draw)
    {
        if (Shown(view))
            return;
        draw();
        Drawn = true;
        Generation = view.WindowGeneration();
    }

    // Draws again (erasing) only when the mark is still on the window.
    template <class TDraw>
    void Hide(const TCADViewportCore& view, TDraw draw)
    {
        if (Shown(view))
            draw();
        Drawn = false;
    }

private:
    bool Drawn = false;
    unsigned Generation = 0;
};

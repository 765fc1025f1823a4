#pragma once

// The task runner bound to a 2D view: window positions become world points,
// the current point is kept for the states, a cursor cross can follow the
// pointer, and points snap to the grid and to the drawing's objects.

#include <functional>

#include "cad/engine/CADPrg.h"
#include "cad/view/CADViewport2DCore.h"

class TCADPrg2D : public TCADPrg {
public:
    TCADPrg2D();
    ~TCADPrg2D() override;

    TCADViewport2DCore* Viewport2D() const { return static_cast<TCADViewport2DCore*>(Viewport()); }
    // Takes over the view's input; none lets the view go.
    void SetViewport2D(TCADViewport2DCore* viewport);

    // May change the world point of a mouse event before the state sees it.
    using TMouse2DButtonFilter = std::function<void(TCADPrg2D& sender, TCADState* state, TMouseButton button,
                                                    TPoint2D& point, int x, int y)>;
    using TMouse2DMoveFilter =
        std::function<void(TCADPrg2D& sender, TCADState* state, TPoint2D& point, int x, int y)>;
    // Gets the last fixed point and may change the snapped one.
    using TSnapFilter =
        std::function<void(TCADPrg2D& sender, TCADState* state, const TPoint2D& lastPoint, TPoint2D& snapped)>;
    TMouse2DButtonFilter MouseButtonFilter;
    TMouse2DMoveFilter MouseMoveFilter;
    TSnapFilter SnapFilter;

    TPoint2D GetCurrentPoint() const override { return CurrentPoint; }
    // Stored in Cartesian form.
    void SetCurrentPoint(TPoint2D point) override;
    void DrawCursorCross() override;
    void HideCursorCross() override;

    // The current point, rounded to the snap steps with UseSnap, then moved
    // onto an object when object snap is on, then through SnapFilter.
    void SnapPoint(TPoint2D& point);
    void SnapToObjects(TPoint2D& point);

    // The last point fixed by a drawing state.
    TPoint2D LastPt = {1e8f, 1e8f, 1.0f};

    bool HookMouseMove(TShiftState shift, int x, int y) override;
    bool HookMouseDown(int button, TShiftState shift, int x, int y) override;
    bool HookMouseUp(int button, TShiftState shift, int x, int y) override;

private:
    void XorCross(TPoint2D at);
    void TakePointer(int x, int y);

    TPoint2D CurrentPoint = {0.0f, 0.0f, 1.0f};
    TPoint2D CrossPosition = {0.0f, 0.0f, 1.0f};
    bool CrossDrawn = false;
    unsigned CrossGeneration = 0;
};

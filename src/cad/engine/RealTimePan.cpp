#include "cad/engine/RealTimePan.h"

#include <cmath>

#include "cad/engine/EngineGlobals.h"
#include "cad/geometry/Geometry2D.h"

TCADPrgRealTimePan::TCADPrgRealTimePan(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                       TCADStateClass& nextState)
    : TCADPrgZoomState(engine, std::move(param), nextState), StartRect(View().VisualRect())
{
    SetPrompt(472);
    ObjectSnapActive = true;
}

void TCADPrgRealTimePan::Drag(TPoint2D point)
{
    TCADViewport2DCore& view = View();
    view.StopRepaint();
    const float moved = Point2DDistance2D(LastPoint, point);
    const TRect2D visible = view.VisualRect();
    const float diagonal = Point2DDistance2D(visible.FirstEdge, visible.SecondEdge);
    // A jitter, or a jump (the pointer came back into the view elsewhere), only
    // takes the point as the new reference.
    if (diagonal * 0.0001f > moved || moved > 2.0f * diagonal) {
        LastPoint = point;
        return;
    }
    const TPoint2D screen = view.WorldToScreen(point);
    view.PanWindow(LastPoint.X - point.X, LastPoint.Y - point.Y);
    LastPoint = CartesianPoint2D(view.ScreenToWorld(screen));
}

bool TCADPrgRealTimePan::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                      TCADStateClass& nextState)
{
    switch (kind) {
    case TCADPrgEvent::MouseDown:
        if (IsLeft(button)) {
            Dragging = true;
            LastPoint = RawPoint();
        }
        return false;
    case TCADPrgEvent::MouseMove:
        if (Dragging)
            Drag(RawPoint());
        return false;
    case TCADPrgEvent::MouseUp:
    case TCADPrgEvent::DblClick:
        if (kind == TCADPrgEvent::MouseUp && !IsLeft(button))
            return false;
        if (View().UsePaintingThread())
            View().Repaint();
        else
            View().InvalidateView();
        Dragging = false;
        return false;
    case TCADPrgEvent::UserEvent:
        if (key == CADPRG_ACCEPT)
            return AcceptWithFullRepaint(nextState);
        if (key == CADPRG_CANCEL) {
            nextState = Engine().DefaultState();
            View().ZoomWindow(StartRect);
            return true;
        }
        return false;
    default:
        return false;
    }
}

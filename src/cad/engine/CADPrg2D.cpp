#include "cad/engine/CADPrg2D.h"

#include <cmath>

#include "cad/engine/EngineGlobals.h"
#include "cad/engine/ObjectSnap.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/view/ScreenCursor.h"

namespace {

// The aperture of object snap, in pixels.
constexpr int SnapAperture = 10;

TMouseButton ButtonOf(int button)
{
    return button == 0 ? TMouseButton::Left : TMouseButton::Right;
}

float RoundToStep(float value, float step)
{
    // Nearest multiple, halves to even.
    return step * static_cast<float>(std::nearbyint(static_cast<double>(value) / step));
}

} // namespace

TCADPrg2D::TCADPrg2D()
{
    XSnap = 10.0f;
    YSnap = 10.0f;
}

TCADPrg2D::~TCADPrg2D()
{
    Shutdown();
}

void TCADPrg2D::SetViewport2D(TCADViewport2DCore* viewport)
{
    HookViewport(viewport);
}

void TCADPrg2D::SetCurrentPoint(TPoint2D point)
{
    CurrentPoint = CartesianPoint2D(point);
}

void TCADPrg2D::TakePointer(int x, int y)
{
    CurrentPoint = CartesianPoint2D(
        Viewport2D()->ScreenToWorld(MakePoint2D(static_cast<float>(x), static_cast<float>(y))));
}

void TCADPrg2D::XorCross(TPoint2D at)
{
    TCADViewport2DCore* viewport = Viewport2D();
    {
        TImageCanvas::TScope window(viewport->OnScreen());
        TDecorativeCanvas& canvas = window.Canvas();
        canvas.Pen = {CursorColor() ^ viewport->BackGroundColor(), TPenStyle::Solid, TPenMode::Xor, 1};
        canvas.DecorativePen.SetPattern("");
        const TWindowPoint p = Point2DToWindowPoint(viewport->WorldToScreen(at));
        canvas.MoveTo(0, p.Y);
        canvas.LineTo(viewport->ClientWidth(), p.Y);
        canvas.MoveTo(p.X, 0);
        canvas.LineTo(p.X, viewport->ClientHeight());
    }
    if (viewport->OnWindowChanged)
        viewport->OnWindowChanged();
}

void TCADPrg2D::HideCursorCross()
{
    TCADViewport2DCore* viewport = Viewport2D();
    if (!viewport || viewport->IsRepainting())
        return;
    try {
        // A copy of the bitmap since it was drawn has wiped it already.
        if (CrossDrawn && CrossGeneration == viewport->WindowGeneration())
            XorCross(CrossPosition);
    } catch (...) {
        // The cross is a hint only.
    }
    CrossDrawn = false;
}

void TCADPrg2D::DrawCursorCross()
{
    TCADViewport2DCore* viewport = Viewport2D();
    if (!viewport || viewport->IsRepainting())
        return;
    HideCursorCross();
    try {
        TPoint2D point;
        SnapPoint(point);
        CrossPosition = point;
        XorCross(point);
        CrossDrawn = true;
        CrossGeneration = viewport->WindowGeneration();
    } catch (...) {
        // The cross is a hint only.
    }
}

void TCADPrg2D::SnapPoint(TPoint2D& point)
{
    point = CurrentPoint;
    if (UseSnap) {
        if (XSnap != 0.0f)
            point.X = RoundToStep(point.X, XSnap);
        if (YSnap != 0.0f)
            point.Y = RoundToStep(point.Y, YSnap);
        point.W = 1.0f;
    }
    if (SnapMode != SNAP_OFF && ObjectSnapActive)
        SnapToObjects(point);
    if (SnapFilter)
        SnapFilter(*this, CurrentState(), LastPt, point);
}

void TCADPrg2D::SnapToObjects(TPoint2D& point)
{
    TCADViewport2DCore* viewport = Viewport2D();
    if (!viewport)
        return;
    int code = PICK_NOOBJECT;
    const TObject2D* picked = viewport->PickObject(point, SnapAperture, code, false);
    const TObjectSnap snap = SnapToObject(picked, code, point, SnapMode);
    if (snap.Cursor != TObjectSnap::KeepCursor)
        SetScreenCursor(snap.Cursor);
    if (snap.Moved)
        point = snap.Point;
}

bool TCADPrg2D::HookMouseMove(TShiftState shift, int x, int y)
{
    TakePointer(x, y);
    if (!MouseMoveFilter)
        return TCADPrg::HookMouseMove(shift, x, y);
    MouseMoveFilter(*this, CurrentState(), CurrentPoint, x, y);
    Viewport2D()->FireMouseMove2D(shift, CurrentPoint, x, y);
    TCADPrg::HookMouseMove(shift, x, y);
    return false;
}

bool TCADPrg2D::HookMouseDown(int button, TShiftState shift, int x, int y)
{
    TakePointer(x, y);
    if (!MouseButtonFilter)
        return TCADPrg::HookMouseDown(button, shift, x, y);
    MouseButtonFilter(*this, CurrentState(), ButtonOf(button), CurrentPoint, x, y);
    Viewport2D()->FireMouseDown2D(ButtonOf(button), shift, CurrentPoint, x, y);
    TCADPrg::HookMouseDown(button, shift, x, y);
    return false;
}

bool TCADPrg2D::HookMouseUp(int button, TShiftState shift, int x, int y)
{
    TakePointer(x, y);
    if (!MouseButtonFilter)
        return TCADPrg::HookMouseUp(button, shift, x, y);
    MouseButtonFilter(*this, CurrentState(), ButtonOf(button), CurrentPoint, x, y);
    Viewport2D()->FireMouseUp2D(ButtonOf(button), shift, CurrentPoint, x, y);
    TCADPrg::HookMouseUp(button, shift, x, y);
    return false;
}

#include "cad/engine/RubberDrawing.h"

#include "cad/geometry/Geometry2D.h"

namespace {

template <class TDraw>
void DrawWithRubberPen(TCADViewport2DCore& view, TDraw draw)
{
    {
        TImageCanvas::TScope window(view.OnScreen());
        TDecorativeCanvas& canvas = window.Canvas();
        canvas.Pen = view.RubberPen();
        canvas.DecorativePen.SetPattern("");
        draw(canvas);
    }
    if (view.OnWindowChanged)
        view.OnWindowChanged();
}

} // namespace

void DrawRubberSquare(TCADViewport2DCore& view, TPoint2D world, int halfSide)
{
    // The corners are found before rounding, which holds a point far off the
    // window to the pixel range; adding to a held pixel would overflow.
    const TPoint2D c = view.WorldToScreen(world);
    const float h = static_cast<float>(halfSide);
    const auto corner = [&](float dx, float dy) { return Point2DToWindowPoint(MakePoint2D(c.X + dx, c.Y + dy)); };
    const TWindowPoint square[5] = {corner(-h, -h), corner(h, -h), corner(h, h), corner(-h, h), corner(-h, -h)};
    DrawWithRubberPen(view, [&](TDecorativeCanvas& canvas) { canvas.Polyline(square, 5); });
}

void DrawRubberLine(TCADViewport2DCore& view, TPoint2D first, TPoint2D second)
{
    const TWindowPoint a = Point2DToWindowPoint(view.WorldToScreen(first));
    const TWindowPoint b = Point2DToWindowPoint(view.WorldToScreen(second));
    DrawWithRubberPen(view, [&](TDecorativeCanvas& canvas) {
        canvas.MoveTo(a.X, a.Y);
        canvas.LineTo(b.X, b.Y);
    });
}

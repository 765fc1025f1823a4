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
    const TWindowPoint c = Point2DToWindowPoint(view.WorldToScreen(world));
    const TWindowPoint square[5] = {{c.X - halfSide, c.Y - halfSide},
                                    {c.X + halfSide, c.Y - halfSide},
                                    {c.X + halfSide, c.Y + halfSide},
                                    {c.X - halfSide, c.Y + halfSide},
                                    {c.X - halfSide, c.Y - halfSide}};
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

#include "cad/shapes/Bitmap2D.h"

#include <algorithm>
#include <cmath>

#include <QPaintDevice>
#include <QRectF>

#include "cad/canvas/DecorativeCanvas.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Frame2D.h"

QPainter::CompositionMode CopyModeToComposition(std::int32_t copyMode)
{
    switch (copyMode) {
    case cmSrcPaint: return QPainter::RasterOp_SourceOrDestination;
    case cmSrcAnd: return QPainter::RasterOp_SourceAndDestination;
    case cmSrcInvert: return QPainter::RasterOp_SourceXorDestination;
    case cmSrcErase: return QPainter::RasterOp_SourceAndNotDestination;
    case cmNotSrcCopy: return QPainter::RasterOp_NotSource;
    case cmNotSrcErase: return QPainter::RasterOp_NotSourceAndNotDestination;
    case cmMergePaint: return QPainter::RasterOp_NotSourceOrDestination;
    case cmDstInvert: return QPainter::RasterOp_NotDestination;
    case cmBlackness: return QPainter::RasterOp_ClearDestination;
    case cmWhiteness: return QPainter::RasterOp_SetDestination;
    default: break;
    }
    return QPainter::CompositionMode_SourceOver;
}

TBitmap2D::TBitmap2D() : TPrimitive2D(0, 2)
{
    Points()->GrowingEnabled = false;
}

TBitmap2D::TBitmap2D(std::int32_t id, TPoint2D firstCorner, TPoint2D secondCorner, const QImage& bitmap)
    : TPrimitive2D(id, 2), Bitmap(bitmap.copy())
{
    const TPoint2D points[] = {firstCorner, secondCorner};
    InitPoints(points, false);
}

void TBitmap2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TPrimitive2D::Assign(other);
    if (const auto* source = dynamic_cast<const TBitmap2D*>(&other)) {
        StreamValue1 = source->StreamValue1;
        StreamValue2 = source->StreamValue2;
        CopyMode = source->CopyMode;
        Bitmap = source->Bitmap.copy();
        CopyPointsFrom(*source, 0, 1, true);
    } else if (const auto* frame = dynamic_cast<const TFrame2D*>(&other)) {
        CopyPointsFrom(*frame, 0, 1, true);
    }
}

void TBitmap2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D&, int)
{
    QPainter* painter = canvas.GetPainter();
    if (!HasRequiredPoints() || Bitmap.isNull() || !painter || !painter->device())
        return;
    const TTransform2D t = MultiplyTransforms2D(GetTransform(), viewTransform);
    const TPoint2D a = CartesianPoint2D(ApplyTransform2D((*Points())[0], t));
    const TPoint2D b = CartesianPoint2D(ApplyTransform2D((*Points())[1], t));
    // Corners far off the device stay exact in double, where whole pixels
    // would overflow; a corner that is no number at all places nothing.
    if (!std::isfinite(a.X) || !std::isfinite(a.Y) || !std::isfinite(b.X) || !std::isfinite(b.Y))
        return;
    const auto pixel = [](float v) { return std::nearbyint(static_cast<double>(v)); };
    const double left = std::min(pixel(a.X), pixel(b.X));
    const double top = std::min(pixel(a.Y), pixel(b.Y));
    const QRectF target(left, top, std::max(pixel(a.X), pixel(b.X)) - left, std::max(pixel(a.Y), pixel(b.Y)) - top);
    // Zoomed far in, the whole stretched picture would be huge: copy only the
    // part of the source that lands on the device.
    const QPaintDevice& device = *painter->device();
    const QRectF visible = target.intersected(QRectF(0, 0, device.width(), device.height()));
    if (visible.isEmpty())
        return;
    const double sx = Bitmap.width() / target.width();
    const double sy = Bitmap.height() / target.height();
    const QRectF source((visible.left() - target.left()) * sx, (visible.top() - target.top()) * sy,
                        visible.width() * sx, visible.height() * sy);
    painter->save();
    painter->setCompositionMode(CopyModeToComposition(CopyMode));
    painter->drawImage(visible, Bitmap, source);
    painter->restore();
}

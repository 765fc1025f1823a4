#include "cad/shapes/PrimitiveHandler.h"

#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/geometry/Clipping2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Primitive2D.h"

void TPrimitive2DHandler::DrawControlPoints(const TObject2D& object, const TTransform2D& viewTransform,
                                            TDecorativeCanvas& canvas, int markerSize) const
{
    const auto* primitive = dynamic_cast<const TPrimitive2D*>(&object);
    if (!primitive || !primitive->Points())
        return;
    const TTransform2D t =
        primitive->HasTransform() ? MultiplyTransforms2D(primitive->GetTransform(), viewTransform) : viewTransform;
    const TPointsSet2D& points = *primitive->Points();
    for (int i = 0; i < points.Count(); ++i) {
        const TWindowPoint pixel = Point2DToWindowPoint(ApplyTransform2D(points[i], t));
        DrawControlPointMarker2D(canvas, pixel.X, pixel.Y, markerSize);
    }
}

int TPrimitive2DHandler::OnMe(const TObject2D& object, TPoint2D point, float aperture, float& distance) const
{
    int result = PICK_NOOBJECT;
    const auto* primitive = dynamic_cast<const TPrimitive2D*>(&object);
    if (!primitive || !primitive->Points())
        return result;
    const bool transformed = primitive->HasTransform();
    const TTransform2D t = primitive->GetTransform();
    const TPointsSet2D& points = *primitive->Points();
    for (int i = 0; i < points.Count(); ++i) {
        const TPoint2D p = transformed ? ApplyTransform2D(points[i], t) : points[i];
        float d = 0.0f;
        if (PointNearPoint2D(p, point, d, aperture) && d <= distance) {
            result = i;
            distance = d;
        }
    }
    return result;
}

const std::shared_ptr<TPrimitive2DHandler>& PrimitiveHandler()
{
    static const std::shared_ptr<TPrimitive2DHandler> handler = std::make_shared<TPrimitive2DHandler>();
    return handler;
}

#pragma once

// Draws and picks the control points of every primitive. One instance is
// shared by all of them.

#include <memory>

#include "cad/model/GraphicObject.h"

class TPrimitive2DHandler : public TObject2DHandler {
public:
    // Each control point through the object's transform and the view, as a
    // marker of the given size. Objects that are not primitives draw nothing.
    void DrawControlPoints(const TObject2D& object, const TTransform2D& viewTransform, TDecorativeCanvas& canvas,
                           int markerSize) const override;
    // The index of the nearest control point within the aperture box whose
    // distance does not exceed the given one (a later point wins a tie), else
    // -200; the distance is updated with the hit.
    int OnMe(const TObject2D& object, TPoint2D point, float aperture, float& distance) const override;
};

// The instance every primitive is given; made on first use.
const std::shared_ptr<TPrimitive2DHandler>& PrimitiveHandler();

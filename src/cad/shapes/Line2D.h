#pragma once

// A straight segment between two control points.

#include "cad/shapes/Primitive2D.h"

class TLine2D : public TPrimitive2D {
public:
    TLine2D();
    TLine2D(std::int32_t id, TPoint2D start, TPoint2D end);

    std::string ClassName() const override { return "TLine2D"; }
    void Assign(const TGraphicObject& other) override;
    // Also reports the line to the main window (ShapeDrawHooks().InfoLinea).
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
    int MinimumPointCount() const override { return 2; }
};

#pragma once

// A single point, drawn as a small cross.

#include "cad/shapes/Primitive2D.h"

class TPunto2D : public TPrimitive2D {
public:
    TPunto2D();
    TPunto2D(std::int32_t id, TPoint2D point);

    std::string ClassName() const override { return "TPunto2D"; }
    void Assign(const TGraphicObject& other) override;
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
    int MinimumPointCount() const override { return 1; }
};

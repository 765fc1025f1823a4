#pragma once

// An axis-aligned ellipse inscribed in the box of two corner points: the
// outline (TEllipse2D) and the filled one (TFilledEllipse2D).

#include "cad/shapes/BoxCurve2D.h"

class TEllipse2D : public TBoxCurve2D {
public:
    TEllipse2D();
    TEllipse2D(std::int32_t id, TPoint2D first, TPoint2D second);

    std::string ClassName() const override { return "TEllipse2D"; }

protected:
    // CurvePrecision + 1 points, clockwise from angle 0 back to it.
    TRect2D BuildProfilePoints() override;
};

class TFilledEllipse2D : public TEllipse2D {
public:
    using TEllipse2D::TEllipse2D;

    std::string ClassName() const override { return "TFilledEllipse2D"; }
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
};

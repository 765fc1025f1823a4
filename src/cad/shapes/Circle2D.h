#pragma once

// A circle given by its centre (control point 0) and a point on it (1):
// the outline (TCerchio2D) and the filled one (TFilledCerchio2D).

#include "cad/shapes/Curve2D.h"

class TCerchio2D : public TCurve2D {
public:
    TCerchio2D();
    TCerchio2D(std::int32_t id, TPoint2D centre, TPoint2D onCircle);

    std::string ClassName() const override { return "TCerchio2D"; }
    // From an ellipse, frame, elliptic arc or circle: points 0-1.
    void Assign(const TGraphicObject& other) override;
    int MinimumPointCount() const override { return 2; }

protected:
    // CurvePrecision + 1 points, clockwise from angle 0 back to it.
    TRect2D BuildProfilePoints() override;
};

// Picked by its outline like the circle; only drawn filled.
class TFilledCerchio2D : public TCerchio2D {
public:
    using TCerchio2D::TCerchio2D;

    std::string ClassName() const override { return "TFilledCerchio2D"; }
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
};

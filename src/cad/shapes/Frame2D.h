#pragma once

// An axis-aligned rectangle given by two opposite corners: the outline
// (TFrame2D) and the filled one (TRectangle2D).

#include "cad/shapes/BoxCurve2D.h"

class TFrame2D : public TBoxCurve2D {
public:
    TFrame2D();
    TFrame2D(std::int32_t id, TPoint2D first, TPoint2D second);

    std::string ClassName() const override { return "TFrame2D"; }

protected:
    // The closed five-point outline P0, (P0.x, P1.y), P1, (P1.x, P0.y), P0.
    TRect2D BuildProfilePoints() override;
};

class TRectangle2D : public TFrame2D {
public:
    using TFrame2D::TFrame2D;

    std::string ClassName() const override { return "TRectangle2D"; }
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
};

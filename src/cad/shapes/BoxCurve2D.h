#pragma once

// What frames and ellipses share: a curve drawn in the box of two opposite
// corners, control points 0 and 1. Not a class of its own in drawings.

#include "cad/shapes/Curve2D.h"

class TBoxCurve2D : public TCurve2D {
public:
    // From a frame, ellipse or elliptic arc: points 0-1.
    void Assign(const TGraphicObject& other) override;
    int MinimumPointCount() const override { return 2; }

protected:
    explicit TBoxCurve2D(std::int32_t id);
    // For the constructors of the classes: their own profile is built from
    // the corners, which it cannot be while this base is being constructed.
    void InitCorners(TPoint2D first, TPoint2D second);
};

#pragma once

// A B-spline over any number of control points, with integer knots clamped at
// both ends (the curve starts at the first control point and ends at the last).

#include <span>

#include "cad/shapes/Curve2D.h"

class TBSpline2D : public TCurve2D {
public:
    static constexpr std::int16_t DefaultSplinePrecision = 200;
    static constexpr std::uint8_t DefaultOrder = 3;

    TBSpline2D();
    TBSpline2D(std::int32_t id, std::span<const TPoint2D> controlPoints);

    std::string ClassName() const override { return "TBSpline2D"; }
    // From a B-spline: Order and all points.
    void Assign(const TGraphicObject& other) override;
    // Order; a record of order 0 is refused (ECADRecordRejected) once read.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    void SaveToStream(TCADStreamWriter& stream) override;

    // The stream record's field. An order below 1, or above the number of
    // control points, gives the control polygon as the profile.
    std::uint8_t Order = DefaultOrder;

protected:
    std::int16_t UsualPrecision() const override { return DefaultSplinePrecision; }
    // CurvePrecision points at evenly spaced parameters, then the last control point.
    TRect2D BuildProfilePoints() override;
};

// The spline point at parameter t in [0, n - order + 1] (n control points,
// 1 <= order <= n), evaluated in single precision without recursion.
TPoint2D BSplinePoint2D(std::span<const TPoint2D> controlPoints, int order, float t);

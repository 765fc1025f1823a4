#pragma once

// Open (TPolyline2D) and closed, filled (TPolygon2D) runs of control points.

#include "cad/shapes/Outline2D.h"

class TPolyline2D : public TOutline2D {
public:
    TPolyline2D();
    TPolyline2D(std::int32_t id, std::span<const TPoint2D> points);

    std::string ClassName() const override { return "TPolyline2D"; }
    // From a line, polyline or polygon: all points.
    void Assign(const TGraphicObject& other) override;
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    int HitTest(TPoint2D point, float& distance, float aperture) const override;

    const TPointsSet2D& ProfilePoints() const override { return *Points(); }
    int ProfilePointCount() const override { return PointCount(); }
};

class TPolygon2D : public TPolyline2D {
public:
    using TPolyline2D::TPolyline2D;

    std::string ClassName() const override { return "TPolygon2D"; }
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    // A click inside the outline gives -2.
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
    bool IsClosed() const override { return true; }
};

#pragma once

// Arcs: of an ellipse given by its box corners (TArc2D) and of a circle given
// by its centre and a point on it (TArco2D). Control points 2 and 3 lie on the
// curve at the start and end angle; every profile build takes the angles back
// from them, so those points are what persists.

#include "cad/shapes/Curve2D.h"

// Centre and radii of the full curve an arc belongs to.
struct TArcFrame {
    double CX = 0.0;
    double CY = 0.0;
    double RX = 0.0;
    double RY = 0.0;
};

// What the two arc classes share; not a class of its own in drawings.
class TArcCurve2D : public TCurve2D {
public:
    // When the angle (radians) differs: stored, and control point 2 (start) or
    // 3 (end) moved onto the curve at (cx + rx cos a, cy + ry sin a).
    void SetStartAngle(float angle);
    void SetEndAngle(float angle);
    float StartAngle() const { return StartAngleValue; }
    float EndAngle() const { return EndAngleValue; }
    int MinimumPointCount() const override { return 2; }
    TArcFrame Frame() const;
    // Direction only: the angles come back from control points 2 and 3.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    void SaveToStream(TCADStreamWriter& stream) override;

    // 1 counter-clockwise; 0 the profile's Y mirrored about the centre.
    std::uint8_t Direction = 1;

protected:
    explicit TArcCurve2D(std::int32_t id);
    // The two given points and two on the curve at the given angles; an end
    // angle of one full turn becomes 0, so the arc is the whole curve.
    void InitArc(TPoint2D first, TPoint2D second, float startAngle, float endAngle);
    // Angles, direction and points 0-3.
    void CopyArc(const TArcCurve2D& source);
    // Points 0-1 of a frame or ellipse, and the whole curve: both angle points at angle 0.
    void CopyFullTurn(const TPrimitive2D& source);
    TRect2D BuildProfilePoints() override;

    virtual TArcFrame ComputeFrame(TPoint2D first, TPoint2D second) const = 0;
    // Reports the live dimensions to the main window.
    virtual void ShowDimensions(const TArcFrame& frame) const = 0;

private:
    void PlaceAnglePoint(int index, float angle);

    float StartAngleValue = 0.0f;
    float EndAngleValue = 0.0f;
};

class TArc2D : public TArcCurve2D {
public:
    TArc2D();
    TArc2D(std::int32_t id, TPoint2D firstCorner, TPoint2D secondCorner, float startAngle, float endAngle);

    std::string ClassName() const override { return "TArc2D"; }
    // From an arc of an ellipse: all of it; from an ellipse or frame: the whole ellipse.
    void Assign(const TGraphicObject& other) override;

protected:
    TArcFrame ComputeFrame(TPoint2D first, TPoint2D second) const override;
    void ShowDimensions(const TArcFrame& frame) const override;
};

class TArco2D : public TArcCurve2D {
public:
    TArco2D();
    TArco2D(std::int32_t id, TPoint2D centre, TPoint2D onCircle, float startAngle, float endAngle);

    std::string ClassName() const override { return "TArco2D"; }
    // From a circular arc: all of it; from an ellipse or frame: the whole circle.
    void Assign(const TGraphicObject& other) override;
    // A change is stored and the extension updated.
    void SetDirection(std::uint8_t direction);

protected:
    TArcFrame ComputeFrame(TPoint2D first, TPoint2D second) const override;
    void ShowDimensions(const TArcFrame& frame) const override;
};
